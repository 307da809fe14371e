#pragma once

#include "DiagramView.h"
#include "model/Document.h"

#include <QByteArrayView>

#include <cstdint>
#include <vector>

class DisplayList;

// How every train becomes a polyline of the display list: its pen from the
// category table and the overrides, its points from its rows, and the split
// of a segment that runs past midnight.
namespace TrainLines {

struct Pen
{
    int32_t colour = 0;
    uint8_t width = 1;
    uint8_t style = 0; // LinePrimitive::Style
};

// The found train the find command highlights: the highlight is on and the
// train's name equals the found name exactly (or the other name, the second
// train of a conflict chosen in the list).
struct Highlight
{
    bool on = false;
    QByteArrayView name;
    QByteArrayView other;

    // An empty name marks nothing (a difference of a train only in the
    // compared document highlights none of the current ones).
    bool marks(QByteArrayView train) const
    {
        return on && ((!name.isEmpty() && train == name) || (!other.isEmpty() && train == other));
    }
};

// Category table, then the overrides in order: "Podle potřeby" dots the
// line, "Rušící" makes it red, the highlighted found train green.
Pen trainPen(const Train &train, const DocumentSettings &settings, const Highlight &highlight);

// The geometry a train's rows are placed by.
struct Frame
{
    double scale = 2.0;                     // s
    int zoom = 4;                           // z
    int32_t maxMetres = 0;                  // D, in metres
    const int32_t *stationMetres = nullptr; // 1-based table of the document
    int32_t stationCount = 0;
    std::vector<int32_t> stationY; // 1-based: y of each station, worked out once
};
Frame frameOf(const Document &doc, double scale);

// The point of a row and what the line through it needs.
struct RowPoint
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t station = 0; // the station, or 0 for none (a kilometre point)
    double minutes = 0;  // h * 60 + min (seconds ignored), + 0.5 with the half-minute flag
    double distance = 0; // kilometres of the station, or ref + 1000
    double effectiveTime = 0;
};

// False for a row whose station reference lies beyond the station list: it
// has no position and is left out of the line.
bool rowPoint(const Frame &frame, int32_t stationRef, double time, bool halfMinute, RowPoint &point);

// The segments of a train's line as RecordTrain draws them, in order, in
// diagram pixels: line(x0, y0, x1, y1, row) for each segment, row being the
// 0-based row it ends at, and midnight(row, x, y) before the segment to a
// row that is reached past midnight, at the point where the line leaves
// the day.
template <typename Line, typename Midnight>
void walkTrain(const Train &train, const Frame &frame, Line &&line, Midnight &&midnight);

// RecordTrain: every segment of one train into the display list. A dwell
// (two rows at one station) draws nothing; a segment from after 20:00 to a
// station before 04:00 is split at midnight, where the row gets
// pastMidnight and its screenPoint. A train without further rows records
// nothing.
void RecordTrain(Train &train, const Frame &frame, const Pen &pen, DisplayList &list);

bool runsPastMidnight(double previousEffective, const TrainStop &stop);

template <typename Line, typename Midnight>
void walkTrain(const Train &train, const Frame &frame, Line &&line, Midnight &&midnight)
{
    // The first row with a position starts the line.
    RowPoint prev;
    size_t next = 0;
    bool started = rowPoint(frame, train.firstStation, train.firstTime, train.firstHalfMinute, prev);
    while (!started && next < train.stops.size()) {
        const TrainStop &s = train.stops[next++];
        started = rowPoint(frame, s.station, s.time, s.halfMinute, prev);
    }
    if (!started)
        return;
    int32_t px = prev.x;
    int32_t py = prev.y;
    const int32_t dayEnd = Geometry::round(1440.0 * frame.scale);

    for (; next < train.stops.size(); ++next) {
        const TrainStop &s = train.stops[next];
        RowPoint q;
        if (!rowPoint(frame, s.station, s.time, s.halfMinute, q))
            continue;
        const int row = static_cast<int>(next) + 1;
        int32_t startX = px;
        int32_t startY = py;
        if (runsPastMidnight(prev.effectiveTime, s)) {
            const double rise = 2.0 * frame.zoom * (q.distance - prev.distance) * (1440.0 - prev.minutes)
                                / (q.minutes + 1440.0 - prev.minutes);
            const int32_t yEnd = Geometry::saturate(int64_t{py} - Geometry::round(rise));
            midnight(row, dayEnd, yEnd);
            if (q.station != prev.station)
                line(px, py, dayEnd, yEnd, row);
            startX = 0;
            startY = yEnd;
        }
        if (q.station == 0 || q.station != prev.station)
            line(startX, startY, q.x, q.y, row);
        px = q.x;
        py = q.y;
        prev = q;
    }
}

} // namespace TrainLines
