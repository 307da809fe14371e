// Where the conflict marks stand on the diagram and the lines that draw them.
#include "render/ConflictMarks.h"

#include "render/Colours.h"
#include "render/PainterReplay.h"
#include "render/Replay.h"

#include "model/Document.h"

#include "Pixels.h"
#include "SampleLine.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using ConflictMarks::Mark;
using Shape = Mark::Shape;

// A 0 km, B 5 km, C 10 km at zoom 4 and 4 pixels a minute: the station lines
// at y 100, 60 and 20.
ConflictMarks::Frame frame()
{
    Document doc;
    SampleLine::addStation(doc, "A", 0);
    SampleLine::addStation(doc, "B", 5);
    SampleLine::addStation(doc, "C", 10);
    doc.rebuildStationTable();
    doc.settings.zoom = 4;
    return ConflictMarks::Frame::of(doc, 4.0);
}

Conflict conflict(int32_t low, int32_t high, double from, double to, bool warning = false)
{
    Conflict c;
    c.stationLow = low;
    c.stationHigh = high;
    c.from = from;
    c.to = to;
    c.severity = warning ? Conflict::Severity::Warning : Conflict::Severity::Error;
    return c;
}

Conflict withPoint(Conflict c, double minute, double metres)
{
    c.hasPoint = true;
    c.pointMinute = minute;
    c.pointMetres = metres;
    return c;
}

Mark ring(int32_t index, int32_t x, int32_t y, bool warning = false)
{
    return {Shape::Ring, warning, index, x, y, 0, 0, ConflictMarks::ringRadius};
}

Mark bar(int32_t index, int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool warning = false)
{
    return {Shape::Bar, warning, index, x0, y0, x1, y1, 0};
}

} // namespace

TEST(ConflictMarks, WhereEachMarkStands)
{
    const ConflictMarks::Frame f = frame();
    ASSERT_EQ(f.stationY, (std::vector<int32_t>{0, 100, 60, 20}));
    const std::tuple<const char *, Conflict, std::vector<Mark>> cases[] = {
        {"a meet at its point", withPoint(conflict(2, 3, 605, 607), 606, 6000), {ring(0, 2424, 52)}},
        {"a point between metres", withPoint(conflict(2, 3, 605, 607), 606.5, 6250), {ring(0, 2426, 50)}},
        {"a warning", withPoint(conflict(2, 3, 605, 607, true), 606, 6000), {ring(0, 2424, 52, true)}},
        {"a headway over a section", conflict(1, 2, 600, 607), {bar(0, 2400, 60, 2428, 100)}},
        {"a span shorter than a bar", conflict(1, 2, 600, 601), {bar(0, 2399, 60, 2405, 100)}},
        {"two trains at a station at once", conflict(2, 2, 605, 610, true), {bar(0, 2420, 58, 2440, 62, true)}},
        {"a moment at a station", conflict(3, 3, 605, 605), {bar(0, 2417, 18, 2423, 22)}},
        {"over midnight", conflict(1, 2, 1430, 1450), {bar(0, 5720, 60, 5760, 100), bar(0, 0, 60, 40, 100)}},
        {"just over midnight", conflict(3, 3, 1439.5, 1440.5), {bar(0, 5756, 18, 5762, 22), bar(0, -2, 18, 4, 22)}},
        {"a station the line does not hold", conflict(3, 4, 600, 610), {}},
    };
    for (const auto &[what, given, expected] : cases)
        EXPECT_EQ(ConflictMarks::of({given}, f), expected) << what;

    // Marks name their conflicts by position in the list.
    const std::vector<Mark> marks =
        ConflictMarks::of({conflict(3, 9, 0, 1), conflict(1, 2, 1430, 1450), conflict(2, 2, 605, 610)}, f);
    std::vector<int32_t> indices;
    for (const Mark &m : marks)
        indices.push_back(m.conflict);
    EXPECT_EQ(indices, (std::vector<int32_t>{1, 1, 2}));
}

TEST(ConflictMarks, TheLinesOfAMark)
{
    using Line = std::tuple<int32_t, int32_t, int32_t, int32_t>;
    auto ends = [](const std::vector<LinePrimitive> &lines) {
        std::vector<Line> out;
        for (const LinePrimitive &l : lines)
            out.emplace_back(l.x0, l.y0, l.x1, l.y1);
        return out;
    };

    const std::vector<LinePrimitive> ringLines = ConflictMarks::lines(ring(0, 100, 50));
    ASSERT_EQ(ringLines.size(), size_t(ConflictMarks::ringSides));
    const std::vector<Line> r = ends(ringLines);
    // From right of the centre up and round: 22.5 degrees is (6.47, 2.68); a
    // quarter round is straight above, half round left of it; closed.
    auto end = [&r](size_t i) { return std::pair(std::get<2>(r[i]), std::get<3>(r[i])); };
    EXPECT_EQ(std::tuple(r[0], end(3), end(7), end(15)),
              std::tuple(Line(107, 50, 106, 47), std::pair(100, 43), std::pair(93, 50), std::pair(107, 50)));
    for (const LinePrimitive &l : ringLines)
        EXPECT_EQ(std::tuple(l.colour, l.width, l.style),
                  std::tuple(Colours::red, ConflictMarks::penWidth, uint8_t(LinePrimitive::Solid)));

    EXPECT_EQ(ends(ConflictMarks::lines(bar(0, 10, 60, 40, 100))),
              (std::vector<Line>{{10, 60, 40, 60}, {40, 60, 40, 100}, {40, 100, 10, 100}, {10, 100, 10, 60}}));
    const std::vector<LinePrimitive> stationBar = ConflictMarks::lines(bar(0, 10, 58, 30, 62, true));
    EXPECT_EQ(
        ends(stationBar),
        (std::vector<Line>{{10, 58, 30, 58}, {10, 59, 30, 59}, {10, 60, 30, 60}, {10, 61, 30, 61}, {10, 62, 30, 62}}));
    EXPECT_EQ(stationBar[0].style, LinePrimitive::Dash);

    DisplayList list;
    list.startRebuild(6000, 200, true);
    // A mark alike to one before it is drawn once; a warning is another. A
    // ring is one primitive.
    ConflictMarks::record({ring(0, 100, 50), bar(1, 10, 60, 40, 100), ring(2, 100, 50), bar(3, 10, 60, 40, 100, true)},
                          list);
    EXPECT_EQ(list.lineCount(), size_t(1 + 4 + 4));
}

// A ring recorded as one primitive draws what its sides recorded one by one
// draw: across a strip's edge, partly off the drawing, between lines before
// and after it; replayed whole, from the second strip on, and by a painter.
TEST(ConflictMarks, ARingDrawsAsItsSidesWould)
{
    DisplayList rings;
    DisplayList sides;
    for (DisplayList *list : {&rings, &sides}) {
        list->startRebuild(1000, 200, true);
        list->recordLine(0, 190, 1000, 196, LinePrimitive::Solid, Colours::blue, 3);
    }
    for (const Mark &m : {ring(0, 500, 60, true), ring(1, 3, 2), ring(2, 996, 197), ring(3, 499, 58)}) {
        ConflictMarks::record({m}, rings);
        for (const LinePrimitive &l : ConflictMarks::lines(m))
            sides.recordLine(l.x0, l.y0, l.x1, l.y1, l.style, l.colour, l.width);
    }
    for (DisplayList *list : {&rings, &sides}) {
        list->recordLine(490, 50, 510, 70, LinePrimitive::Solid, Colours::black, 1);
        list->recordLine(480, 60, 498, 60, LinePrimitive::Solid, Colours::black, 1); // the first strip's own
    }
    ASSERT_EQ(std::pair(rings.lineCount(), rings.crossingLines().size()), std::pair(size_t(7), size_t(5)));

    for (const Replayer::Viewport v : {Replayer::Viewport{0, 0, 1010, 210}, Replayer::Viewport{501, 0, 1010, 210}}) {
        QImage a = Pixels::filled(v.vx1 - v.vx0, 210);
        QImage b = a;
        Replayer().replay(rings, a, v, false);
        Replayer().replay(sides, b, v, false);
        EXPECT_TRUE(a == b) << v.vx0;
    }
    QImage a = Pixels::filled(1010, 210);
    QImage b = a;
    for (auto [list, image] : {std::pair(&rings, &a), std::pair(&sides, &b)}) {
        QPainter painter(image);
        PainterReplay::replay(painter, *list, {0, 0, 1010, 210}, false);
    }
    EXPECT_TRUE(a == b);
}
