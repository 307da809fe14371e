#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QRect>

// Pictures in the tests: images filled with one colour, pixels counted,
// texts measured as the renderer measures them.
namespace Pixels {

inline QImage filled(int width, int height, QRgb colour = qRgb(255, 255, 255))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Pixels of the area (clipped to the image) for which `is` holds.
template <typename Is> int count(const QImage &image, QRect area, Is is)
{
    area &= image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += is(image.pixel(x, y)) ? 1 : 0;
    return n;
}

inline int notWhite(const QImage &image, QRect area = QRect(0, 0, 1 << 20, 1 << 20))
{
    return count(image, area, [](QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; });
}

inline QSize measured(const QFont &font, const QString &text)
{
    const QImage surface(8, 8, QImage::Format_RGB32);
    const QFontMetrics m(font, &surface);
    return {m.horizontalAdvance(text), m.height()};
}

} // namespace Pixels
