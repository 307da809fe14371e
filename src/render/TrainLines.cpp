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

bool runsPastMidnight(double previousEffective, const TrainStop &stop)
{
    return previousEffective > eightPm && stop.time < fourAm && stop.station > 0;
}

void RecordTrain(Train &train, const Frame &frame, const Pen &pen, DisplayList &list)
{
    for (TrainStop &s : train.stops)
        s.pastMidnight = 0;
    walkTrain(
        train, frame,
        [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1, int) {
            list.recordLine(x0, y0, x1, y1, pen.style, pen.colour, pen.width);
        },
        [&](int row, int32_t x, int32_t y) {
            TrainStop &s = train.stops[static_cast<size_t>(row - 1)];
            s.pastMidnight = 1;
            s.screenPoint = {x, y};
        });
}

} // namespace TrainLines
