#include "render/TrainLines.h"
#include "render/Colours.h"
#include "render/DiagramView.h"
#include "render/DisplayList.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <QPoint>

#include <gtest/gtest.h>

using namespace TrainLines;

namespace {

struct Segment
{
    int32_t x0, y0, x1, y1;
    bool operator==(const Segment &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Segment &s)
{
    return os << "(" << s.x0 << "," << s.y0 << ")-(" << s.x1 << "," << s.y1 << ")";
}

using DocumentFixtures::Row;

// The segments a train records on a line of three stations at km 0, 10 and
// 30 (z = 4): y 260, 180 and 20. Each segment once, in recorded order.
std::vector<Segment> record(Train &train, double scale = 2.0)
{
    Document doc;
    for (int km : {0, 10, 30})
        SampleLine::addStation(doc, "", km);
    DisplayList list;
    list.startRebuild(Geometry::cullWidth(scale), Geometry::fullHeight(4, doc.maxMetres), true);
    RecordTrain(train, frameOf(doc, scale), trainPen(train, doc.settings, {}), list);
    std::vector<LinePrimitive> all;
    for (int k = 1; k <= list.stripCount(); ++k)
        for (const LinePrimitive &p : list.linesInStrip(k))
            if (std::none_of(all.begin(), all.end(), [&](const LinePrimitive &q) { return q.order == p.order; }))
                all.push_back(p);
    std::sort(all.begin(), all.end(), [](auto &a, auto &b) { return a.order < b.order; });
    std::vector<Segment> out;
    for (const LinePrimitive &p : all)
        out.push_back({p.x0, p.y0, p.x1, p.y1});
    return out;
}

} // namespace

TEST(TrainLines, OverridesInOrder)
{
    const DocumentSettings settings;
    Train t;
    t.name = "Rn 7";
    t.podlePotreby = 1;
    const auto pen = [&](Highlight h) {
        const Pen p = trainPen(t, settings, h);
        return std::tuple(p.style, p.colour, p.width);
    };
    EXPECT_EQ(pen({}), std::tuple(LinePrimitive::Dot, Colours::blue, settings.penMedium)) << "in its category colour";
    t.rusici = 1;
    EXPECT_EQ(trainPen(t, settings, {}).colour, Colours::red);
    // Found and highlighted: green even when rušící; only the exact name.
    const QByteArray found = "Rn 7";
    EXPECT_EQ(pen({true, found, {}}), std::tuple(LinePrimitive::Dot, Colours::green, settings.penMedium));
    EXPECT_EQ(trainPen(t, settings, {false, found, {}}).colour, Colours::red);
    EXPECT_EQ(trainPen(t, settings, {true, QByteArray("Rn 77"), {}}).colour, Colours::red);
}

TEST(TrainLines, SegmentsOfARunAndItsMidnightFlags)
{
    const int32_t halfWay = 260 - Geometry::round(2 * 4 * 30 * 0.5);
    const int32_t quarterWay = 20 - Geometry::round(2.0 * 4 * (0 - 30) * 120.0 / 180.0);
    struct Case
    {
        const char *what;
        std::vector<Row> rows;
        std::vector<Segment> segments;
        int wrapAt = -1; // the stop flagged past midnight, its screen point at (2880, wrapY)
        int32_t wrapY = 0;
        double scale = 2.0;
    } cases[] = {
        {"a dwell at S2 draws nothing",
         {{1, 10, 0}, {2, 10, 5}, {2, 10, 10}, {3, 10, 20}},
         {{1200, 260, 1210, 180}, {1220, 180, 1240, 20}}},
        {"23:50 to 00:10 crosses midnight half way up",
         {{1, 23, 50}, {3, 0, 10}},
         {{2860, 260, 2880, halfWay}, {0, halfWay, 20, 20}},
         0,
         halfWay},
        {"22:00 to 01:00 crosses a quarter of the way down",
         {{3, 22, 0}, {1, 1, 0}},
         {{2640, 20, 2880, quarterWay}, {0, quarterWay, 120, 260}},
         0,
         quarterWay},
        {"19:59 to 00:30 does not wrap: a line back to the left", {{1, 19, 59}, {3, 0, 30}}, {{2398, 260, 60, 20}}},
        {"a wrap during a dwell draws no dwell; the next segment starts at the departure",
         {{1, 23, 50}, {2, 23, 58}, {2, 0, 2}, {3, 0, 12}},
         {{2860, 260, 2876, 180}, {4, 180, 24, 20}},
         1,
         180},
        {"two rows at one bare kilometre point still draw",
         {{1, 10, 0}, {-990, 10, 5}, {-990, 10, 8}},
         {{1200, 260, 1210, 180}, {1210, 180, 1216, 180}}},
        {"a row beyond the station list is skipped", {{1, 10, 0}, {7, 10, 5}, {3, 10, 20}}, {{1200, 260, 1240, 20}}},
        {"a first row beyond the station list is skipped",
         {{9, 9, 0}, {1, 10, 0}, {2, 10, 5}},
         {{1200, 260, 1210, 180}}},
        // At 4/3 pixels a minute: 600.5 and 607 minutes.
        {"a half-minute row lies half a minute later",
         {{1, 10, 0, 0, 1}, {2, 10, 7}},
         {{801, 260, 809, 180}},
         -1,
         0,
         4.0 / 3},
        {"one row draws nothing", {{1, 10, 0}}, {}},
        {"no rows draw nothing", {}, {}},
    };
    for (const Case &c : cases) {
        Train t = DocumentFixtures::train("Os 1", c.rows);
        for (TrainStop &stop : t.stops)
            stop.pastMidnight = 1; // an earlier run's flags are cleared
        EXPECT_EQ(record(t, c.scale), c.segments) << c.what;
        for (size_t i = 0; i < t.stops.size(); ++i)
            EXPECT_EQ(t.stops[i].pastMidnight, int(i) == c.wrapAt ? 1 : 0) << c.what << " stop " << i;
        if (c.wrapAt >= 0) {
            EXPECT_EQ(QPoint(t.stops[c.wrapAt].screenPoint.x, t.stops[c.wrapAt].screenPoint.y), QPoint(2880, c.wrapY))
                << c.what;
        }
    }
}
