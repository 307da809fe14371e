#include "TrainLines.h"

#include "Colours.h"
#include "DiagramView.h"
#include "DisplayList.h"
#include "TrainCategory.h"

#include "model/ClockTime.h"
#include "model/Kilometres.h"

namespace TrainLines {

namespace {

const double eightPm = makeTime(20, 0);
const double fourAm = makeTime(4, 0);

} // namespace

Pen trainPen(const Train &train, const DocumentSettings &settings, const Highlight &highlight)
{
    const TrainCategory::Style category = TrainCategory::style(TrainCategory::key(train.name.view()));
    Pen pen;
    pen.colour = category.lineColour;
    pen.width = TrainCategory::penWidth(settings, category.lineWidth);
    pen.style = train.podlePotreby ? LinePrimitive::Dot : LinePrimitive::Solid;
    if (train.rusici)
        pen.colour = Colours::red;
    if (highlight.marks(train.name.view()))
        pen.colour = Colours::green;
    return pen;
}

Frame frameOf(const Document &doc, double scale)
{
    Frame f;
    f.scale = scale;
    f.zoom = doc.settings.zoom;
    f.maxMetres = doc.maxMetres;
    f.stationMetres = doc.stationMetres.data();
    f.stationCount = static_cast<int32_t>(std::min<size_t>(doc.stations.size(), Document::maxStations));
    f.stationY.resize(static_cast<size_t>(f.stationCount) + 1);
    for (int32_t r = 1; r <= f.stationCount; ++r)
        f.stationY[static_cast<size_t>(r)] = Geometry::yOfMetres(f.stationMetres[r], f.zoom, f.maxMetres);
    return f;
}

bool rowPoint(const Frame &frame, int32_t stationRef, double time, bool halfMinute, RowPoint &p)
{
    if (stationRef > frame.stationCount)
        return false;
    p.minutes = minuteOfDay(time) + (halfMinute ? 0.5 : 0.0);
    p.x = Geometry::x(p.minutes, frame.scale);
    p.station = stationRef > 0 ? stationRef : 0;
    // A kilometre point stands at the whole kilometre ref + 1000.
    const int64_t metres = stationRef > 0 ? int64_t{frame.stationMetres[stationRef]}
                                          : (int64_t{stationRef} + 1000) * Kilometres::metresPerKm;
    p.distance = Kilometres::toKm(metres);
    if (stationRef > 0 && static_cast<size_t>(stationRef) < frame.stationY.size())
        p.y = frame.stationY[static_cast<size_t>(stationRef)];
    else
        p.y = Geometry::yOfMetres(metres, frame.zoom, frame.maxMetres);
    p.effectiveTime = time + (halfMinute ? 30.0 / 86400.0 : 0.0);
    return true;
}

void RecordTrain(Train &train, const Frame &frame, const Pen &pen, DisplayList &list)
{
    // The first row with a position starts the line.
    RowPoint prev;
    size_t next = 0;
    bool started = rowPoint(frame, train.firstStation, train.firstTime, train.firstHalfMinute, prev);
    while (!started && next < train.stops.size()) {
        TrainStop &s = train.stops[next++];
        s.pastMidnight = 0;
        started = rowPoint(frame, s.station, s.time, s.halfMinute, prev);
    }
    if (!started)
        return;
    int32_t px = prev.x;
    int32_t py = prev.y;
    const int32_t dayEnd = Geometry::round(1440.0 * frame.scale);

    for (; next < train.stops.size(); ++next) {
        TrainStop &s = train.stops[next];
        s.pastMidnight = 0;
        RowPoint q;
        if (!rowPoint(frame, s.station, s.time, s.halfMinute, q))
            continue;
        int32_t startX = px;
        int32_t startY = py;
        if (prev.effectiveTime > eightPm && s.time < fourAm && s.station > 0) {
            s.pastMidnight = 1;
            const double rise = 2.0 * frame.zoom * (q.distance - prev.distance) * (1440.0 - prev.minutes)
                                / (q.minutes + 1440.0 - prev.minutes);
            const int32_t yEnd = Geometry::saturate(int64_t{py} - Geometry::round(rise));
            if (q.station != prev.station)
                list.recordLine(px, py, dayEnd, yEnd, pen.style, pen.colour, pen.width);
            s.screenPoint = {dayEnd, yEnd};
            startX = 0;
            startY = yEnd;
        }
        if (q.station == 0 || q.station != prev.station)
            list.recordLine(startX, startY, q.x, q.y, pen.style, pen.colour, pen.width);
        px = q.x;
        py = q.y;
        prev = q;
    }
}

} // namespace TrainLines
