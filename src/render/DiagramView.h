#pragma once

#include "model/Records.h"

#include <cmath>
#include <cstdint>

// The view state of the diagram: the horizontal scale, the scroll positions
// and the gap above the station legend. The zoom level z and the axis ratio
// are document settings (DocumentSettings::zoom, ratioX, ratioY); the scale
// follows them only when updateScale runs (start-up, load, zoom steps and
// "Akt."), so a ratio typed into the panel takes effect on "Akt." alone.
struct DiagramView
{
    static constexpr int stationColumn = 40; // pixels left of the time axis
    static constexpr int topMargin = 20;     // pixels above the top station line
    static constexpr int hUnit = 5;          // pixels per horizontal scroll unit
    static constexpr int vUnit = 2;          // pixels per vertical scroll unit

    double scale = 2.0;        // s: pixels per minute
    int32_t hpos = 0;          // ScrollBar1 position
    int32_t vpos = 0;          // ScrollBar2 position
    int32_t legendGap = 0;     // g
    bool programmaticScroll = false;

    void updateScale(const DocumentSettings &settings)
    {
        scale = static_cast<double>(settings.ratioX * settings.zoom) / settings.ratioY;
    }
};

namespace Geometry {

// Round of the diagram code: to nearest, halves to even.
inline int32_t round(double v)
{
    return static_cast<int32_t>(std::nearbyint(v));
}

// x of a minute of the day (fractional minutes for half-minute rows).
inline int32_t x(double minutes, double scale)
{
    return round(minutes * scale);
}

// y of a distance d in kilometres with zoom z and top kilometre D.
inline double y(double distance, int zoom, int32_t maxKm)
{
    return 20.0 + 2.0 * zoom * (maxKm - distance);
}
inline int32_t y(int32_t distance, int zoom, int32_t maxKm)
{
    return 20 + 2 * zoom * (maxKm - distance);
}

// W: the day plus a 40-pixel margin on each side.
inline int32_t fullWidth(double scale)
{
    return round(1440.0 * scale + 80.0);
}

// H: from the top margin to the bottom station line.
inline int32_t fullHeight(int zoom, int32_t maxKm)
{
    return 2 * zoom * maxKm + 20;
}

} // namespace Geometry
