#pragma once

#include <QImage>
#include <QPoint>

#include <cstdint>

// Solid lines written straight into the rows of a 32-bit image, without
// antialiasing: the diagram has tens of thousands of short lines, a third of
// them wide, and a painter strokes a wide line far too slowly for replays
// while scrolling.
//
// A line's pixels depend only on its end points: the Bresenham steps are
// computed exactly from the start even when the line is clipped, so the same
// line looks the same at every scroll position and however the display list
// culls around it.
//
// A 1-pixel line covers the Bresenham path without its last pixel (as a
// move-to/line-to pen draws it, so polylines do not double their joints). A
// line of width w sweeps a slice across the path, w pixels thick measured
// across the line, and has round caps at both ends.
//
// A dashed, dotted or dash-dotted line is 1 pixel wide; its pattern counts
// pixels along the line from its start (dash 4 on 2 off, dot 1 on 2 off,
// dash-dot 4, 2, 1, 2), so the pattern stays put when the line is clipped.
class LineRaster
{
public:
    enum Style : uint8_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3 };

    explicit LineRaster(QImage &image);

    void line(QPoint from, QPoint to, int width, int32_t packedColour);
    void line(QPoint from, QPoint to, int width, QRgb colour);
    void styledLine(QPoint from, QPoint to, uint8_t style, QRgb colour);

    static QRgb rgb(int32_t packedColour);

    bool isValid() const { return m_bits != nullptr; }

private:
    void thin(int64_t x0, int64_t y0, int64_t x1, int64_t y1, QRgb colour, uint8_t style);
    void wide(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width, QRgb colour);
    void disc(int64_t cx, int64_t cy, int width, QRgb colour);
    void hspan(int64_t y, int64_t xa, int64_t xb, QRgb colour);
    void vspan(int64_t x, int64_t ya, int64_t yb, QRgb colour);

    uchar *m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_width = 0;
    int m_height = 0;
};
