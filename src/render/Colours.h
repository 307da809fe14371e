#pragma once

#include <QColor>

#include <cstdint>

// Colours of the drawing, packed as red + green * 256 + blue * 65536, the
// way label images store them in files.
namespace Colours {

constexpr int32_t pack(int red, int green, int blue)
{
    return red + green * 256 + blue * 65536;
}

constexpr int32_t black = pack(0, 0, 0);
constexpr int32_t white = pack(255, 255, 255);
constexpr int32_t olive = pack(128, 128, 0);
constexpr int32_t blue = pack(0, 0, 255);
constexpr int32_t red = pack(255, 0, 0);
constexpr int32_t green = pack(0, 255, 0);     // a found train's line
constexpr int32_t darkGreen = pack(0, 128, 0); // the insert tool's preview

inline QColor toQColor(int32_t packed)
{
    return QColor(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
}

inline int32_t fromQColor(const QColor &c)
{
    return pack(c.red(), c.green(), c.blue());
}

} // namespace Colours
