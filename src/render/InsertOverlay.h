#pragma once

#include "DiagramView.h"

#include <QImage>

#include <cstdint>
#include <optional>
#include <span>

class Document;
struct DiagramView;

// One point of the train the insert-train tool is laying: a station (index
// into the station list, 1-based), the time a click fixed there if one did
// (0:00 is a time like any other) and the time of the point, computed or
// fixed.
struct InsertPoint
{
    int32_t station = 0;
    std::optional<double> fixedTime;
    double time = 0.0;

    bool operator==(const InsertPoint &) const = default;
};

// The rectangle the preview is drawn in, edges included: the diagram right
// of the station column, down to the visible bottom.
struct OverlayClip
{
    int32_t left = DiagramView::stationColumn;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The insert-train tool's preview, drawn straight on PaintBox1's picture
// after every render: the points as a dark green line with the minute digit
// of each point (underlined for a half minute) on the side the line leaves
// or reaches the station by, and an arrow where a point repeats its
// predecessor's station and time (a stop shorter than half a minute). A
// single point is a short vertical tick with its digit. Nothing is drawn
// outside the clip rectangle, and a digit too near its edges is left out.
// direction is 1 or 2 (towards larger or smaller station indices).
void DrawInsertOverlay(QImage &surface, std::span<const InsertPoint> points, int direction, const Document &doc,
                       const DiagramView &view, const OverlayClip &clip);

// The minute digit of a time and whether it is a half minute.
struct OverlayDigit
{
    char digit = '0';
    bool halfMinute = false;
};
OverlayDigit overlayDigit(double time);
