#pragma once

#include "model/Records.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

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
    static constexpr int minZoom = 2;        // 50 %
    static constexpr int maxZoom = 21;       // 525 %
    static constexpr int legendGapAfterFirstRender = 35;

    double scale = 2.0;    // s: pixels per minute
    int32_t hpos = 0;      // ScrollBar1 position
    int32_t vpos = 0;      // ScrollBar2 position
    int32_t legendGap = 0; // g
    // Set while the program itself moves a scroll bar, so that the bar's
    // change handler does not draw.
    bool programmaticScroll = false;

    void updateScale(const DocumentSettings &settings)
    {
        scale = scaleOf(settings.ratioX, settings.ratioY, settings.zoom);
    }

    // s = x part * z / y part. A ratio part outside 1..100 (a damaged file)
    // is held to that range, so the scale is always a finite positive number.
    static double scaleOf(int32_t ratioX, int32_t ratioY, int zoom)
    {
        const int32_t x = std::clamp(ratioX, 1, 100);
        const int32_t y = std::clamp(ratioY, 1, 100);
        return static_cast<double>(x) * std::clamp(zoom, 1, 255) / y;
    }

    // Screen position in PaintBox1 of a diagram point.
    int32_t screenX(int32_t x) const { return stationColumn + x - hUnit * hpos; }
    int32_t screenY(int32_t y) const { return y - vUnit * vpos; }

    // The scale label: zoom * 100 div 4 and " %".
    static QString zoomText(int zoom) { return QString::number(zoom * 100 / 4) + QStringLiteral(" %"); }
};

namespace Geometry {

// A 64-bit intermediate held to the 32-bit range. Diagram sizes of an
// absurd document (a kilometre of two milliards from a damaged file) stay
// numbers instead of wrapping.
inline int32_t saturate(int64_t v)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Round of the diagram code: to nearest, halves to even; values beyond the
// 32-bit range are held to it, and NaN gives 0.
inline int32_t round(double v)
{
    const double r = std::nearbyint(v);
    if (!(r == r))
        return 0;
    if (r >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (r <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

// x of a minute of the day (fractional minutes for half-minute rows).
inline int32_t x(double minutes, double scale)
{
    return round(minutes * scale);
}

// n / d rounded to nearest, halves to even, for d > 0.
inline int64_t divideRounded(int64_t n, int64_t d)
{
    int64_t q = n / d;
    const int64_t r = n % d; // takes the sign of n
    const int64_t twice = 2 * (r < 0 ? -r : r);
    if (twice > d || (twice == d && q % 2 != 0))
        q += n < 0 ? -1 : 1;
    return q;
}

// y of a distance d in kilometres with zoom z and top kilometre D.
inline double y(double distance, int zoom, double maxKm)
{
    return DiagramView::topMargin + 2.0 * zoom * (maxKm - distance);
}

// The pixel row of a position in metres, the top position D in metres:
// Round(20 + 2 z (D - d) / 1000), worked in whole numbers so that a half
// pixel is exactly half and goes to even. Whole kilometres give the row
// 20 + 2 z (D - d) itself.
inline int32_t yOfMetres(int64_t metres, int zoom, int32_t maxMetres)
{
    const int64_t n = int64_t{2} * zoom * (int64_t{maxMetres} - metres) + DiagramView::topMargin * int64_t{1000};
    return saturate(divideRounded(n, 1000));
}

// W: the day plus a margin of the station column's width on each side.
inline int32_t fullWidth(double scale)
{
    return round(1440.0 * scale + 2.0 * DiagramView::stationColumn);
}

// H: from the top margin to the bottom station line (distance 0).
inline int32_t fullHeight(int zoom, int32_t maxMetres)
{
    return yOfMetres(0, zoom, maxMetres);
}

// Wc: the width past which recorded lines are dropped; fixed at each rebuild.
inline int32_t cullWidth(double scale)
{
    return round(1440.0 * scale + 50.0);
}

// The display list's strips are 500 pixels wide.
constexpr int stripWidth = 500;
inline int32_t stripCount(int32_t cullWidth)
{
    return std::max(0, cullWidth) / stripWidth + 1;
}

// The largest scroll position. The largest real diagram (9999 km at 525 %,
// ratio 100:1) needs about 600 000 units; the bound keeps 5 * hpos and
// 2 * vpos, plus a window, inside 32 bits for any document.
constexpr int32_t maxScrollPosition = 1 << 28;

// ScrollBar1.Max = (W - PaintBox1.Width) div 5, held at 0 when the paint box
// is wider than the diagram.
inline int32_t horizontalMaximum(int32_t fullWidth, int paintBoxWidth)
{
    return std::clamp<int64_t>((int64_t{fullWidth} - paintBoxWidth) / DiagramView::hUnit, 0, maxScrollPosition);
}

struct VerticalRange
{
    bool visible = false;
    int32_t maximum = 0; // 0 while hidden
};

// ScrollBar2 of a document: T = H + g + L + 5 is the diagram with its
// legend; hidden when the paint box has room for T + 20.
inline VerticalRange verticalRange(int64_t totalHeight, int paintBoxHeight)
{
    if (paintBoxHeight >= totalHeight + 20)
        return {false, 0};
    return {true,
            static_cast<int32_t>(std::clamp<int64_t>((totalHeight - paintBoxHeight / 2) / 2, 0, maxScrollPosition))};
}

// The empty time axis uses the zoom level itself as pixels per minute.
inline int32_t emptyWidth(int zoom)
{
    return zoom * 1440 + 2 * DiagramView::stationColumn;
}
inline int32_t emptyHeight(int zoom)
{
    return 10 * zoom + DiagramView::topMargin;
}
inline VerticalRange emptyVerticalRange(int zoom, int paintBoxHeight)
{
    const int32_t t0 = emptyHeight(zoom);
    if (paintBoxHeight >= t0)
        return {false, 0};
    return {true, std::max(0, t0 / 2 - 1)};
}

// B: the visible bottom of the diagram on the paint box.
inline int32_t visibleBottom(int zoom, int32_t maxMetres, int32_t vpos, int paintBoxHeight, int32_t legendGap)
{
    const int64_t b = int64_t{fullHeight(zoom, maxMetres)} - int64_t{DiagramView::vUnit} * vpos;
    return saturate(std::min<int64_t>(b, int64_t{paintBoxHeight} - legendGap));
}

// A scroll position carried over a zoom step: the same fraction of the new
// maximum. A bar whose old maximum was 0 keeps the position 0.
inline int32_t rescalePosition(int32_t position, int32_t oldMaximum, int32_t newMaximum)
{
    if (oldMaximum <= 0)
        return 0;
    return round(static_cast<double>(position) / oldMaximum * newMaximum);
}

// The diagram font: "ARIAL CE", 6 points at z = 2, 8 at 3..6, 10 from 7,
// bold above z = 2.
inline int diagramFontSize(int zoom)
{
    return zoom <= 2 ? 6 : zoom <= 6 ? 8 : 10;
}
inline bool diagramFontBold(int zoom)
{
    return zoom > 2;
}

} // namespace Geometry
