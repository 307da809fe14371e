#include "ConflictMarks.h"

#include "Colours.h"
#include "DiagramView.h"
#include "RingSides.h"

#include "model/Document.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

namespace ConflictMarks {

namespace {

constexpr double day = 1440.0;

// One span of x along the day, at least minBarLength long.
std::pair<int32_t, int32_t> widened(int32_t x0, int32_t x1)
{
    if (x1 - x0 >= minBarLength)
        return {x0, x1};
    const int32_t left = x0 - (minBarLength - (x1 - x0)) / 2;
    return {left, left + minBarLength};
}

} // namespace

Frame Frame::of(const Document &doc, double scale)
{
    Frame f;
    f.scale = scale;
    f.zoom = doc.settings.zoom;
    f.maxMetres = doc.maxMetres;
    const auto count = std::min<size_t>(doc.stations.size(), Document::maxStations);
    f.stationY.assign(count + 1, 0);
    for (size_t i = 1; i <= count; ++i)
        f.stationY[i] = Geometry::yOfMetres(doc.stationMetres[i], f.zoom, f.maxMetres);
    return f;
}

std::vector<Mark> of(const std::vector<Conflict> &conflicts, const Frame &frame)
{
    std::vector<Mark> marks;
    marks.reserve(conflicts.size());
    const auto known = [&frame](int32_t station) {
        return station >= 1 && static_cast<size_t>(station) < frame.stationY.size();
    };
    const int32_t dayEnd = Geometry::x(day, frame.scale);
    for (size_t i = 0; i < conflicts.size(); ++i) {
        const Conflict &c = conflicts[i];
        if (!known(c.stationLow) || !known(c.stationHigh))
            continue;
        Mark m;
        m.warning = c.isWarning();
        m.conflict = static_cast<int32_t>(i);
        if (c.hasPoint) {
            m.shape = Mark::Shape::Ring;
            m.x0 = Geometry::x(c.pointMinute, frame.scale);
            m.y0 =
                Geometry::yOfMetres(static_cast<int64_t>(std::nearbyint(c.pointMetres)), frame.zoom, frame.maxMetres);
            m.radius = ringRadius;
            marks.push_back(m);
            continue;
        }
        m.shape = Mark::Shape::Bar;
        if (c.atStation()) {
            const int32_t y = frame.stationY[static_cast<size_t>(c.stationLow)];
            m.y0 = y - barThickness / 2;
            m.y1 = y + barThickness / 2;
        } else {
            // The higher position is the upper line.
            m.y0 = frame.stationY[static_cast<size_t>(c.stationHigh)];
            m.y1 = frame.stationY[static_cast<size_t>(c.stationLow)];
        }
        const int32_t from = Geometry::x(c.from, frame.scale);
        if (c.to <= day) {
            std::tie(m.x0, m.x1) = widened(from, Geometry::x(c.to, frame.scale));
            marks.push_back(m);
        } else {
            std::tie(m.x0, m.x1) = widened(from, dayEnd);
            marks.push_back(m);
            std::tie(m.x0, m.x1) = widened(0, Geometry::x(c.to - day, frame.scale));
            marks.push_back(m);
        }
    }
    return marks;
}

namespace {

// Every line of a mark, handed to `line` as a primitive.
template <typename Line> void eachLine(const Mark &mark, Line &&line)
{
    LinePrimitive l;
    l.style = mark.warning ? LinePrimitive::Dash : LinePrimitive::Solid;
    l.width = penWidth;
    l.colour = Colours::red;
    auto draw = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        l.x0 = x0;
        l.y0 = y0;
        l.x1 = x1;
        l.y1 = y1;
        line(l);
    };
    if (mark.shape == Mark::Shape::Ring) {
        l.kind = LinePrimitive::Ring;
        l.x0 = Geometry::saturate(int64_t{mark.x0} - mark.radius);
        l.y0 = Geometry::saturate(int64_t{mark.y0} - mark.radius);
        l.x1 = Geometry::saturate(int64_t{mark.x0} + mark.radius);
        l.y1 = Geometry::saturate(int64_t{mark.y0} + mark.radius);
        line(l);
        return;
    }
    if (mark.y1 - mark.y0 < barThickness) {
        for (int32_t y = mark.y0; y <= mark.y1; ++y)
            draw(mark.x0, y, mark.x1, y);
        return;
    }
    draw(mark.x0, mark.y0, mark.x1, mark.y0);
    draw(mark.x1, mark.y0, mark.x1, mark.y1);
    draw(mark.x1, mark.y1, mark.x0, mark.y1);
    draw(mark.x0, mark.y1, mark.x0, mark.y0);
}

} // namespace

std::vector<LinePrimitive> lines(const Mark &mark)
{
    std::vector<LinePrimitive> out;
    eachLine(mark, [&out](const LinePrimitive &l) {
        if (l.kind == LinePrimitive::Ring)
            RingSides::each(l, [&out](const LinePrimitive &side) { out.push_back(side); });
        else
            out.push_back(l);
    });
    return out;
}

void record(const std::vector<Mark> &marks, DisplayList &list)
{
    // A day's marks are many thousands on a busy line: no list per mark, a
    // ring one primitive, and many conflicts of trains running together
    // are one mark, drawn once.
    std::set<std::tuple<Mark::Shape, bool, int32_t, int32_t, int32_t, int32_t, int32_t>> drawn;
    for (const Mark &m : marks) {
        if (!drawn.emplace(m.shape, m.warning, m.x0, m.y0, m.x1, m.y1, m.radius).second)
            continue;
        eachLine(m, [&list](const LinePrimitive &l) {
            if (l.kind == LinePrimitive::Ring)
                list.recordRing(l);
            else
                list.recordLine(l.x0, l.y0, l.x1, l.y1, l.style, l.colour, l.width);
        });
    }
}

} // namespace ConflictMarks
