#include "render/TrainLines.h"
#include "render/Colours.h"
#include "render/DiagramView.h"
#include "render/DisplayList.h"

#include "model/ClockTime.h"

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

// A line of three stations at km 0, 10 and 30 (z = 4, s = 2): y 260, 180, 20.
class TrainLinesTest : public ::testing::Test
{
protected:
    Document doc;
    DisplayList list;

    void SetUp() override
    {
        for (int km : {0, 10, 30}) {
            Station s;
            s.name = "S";
            s.km = km;
            doc.stations.push_back(s);
        }
        doc.rebuildStationTable();
        list.startRebuild(Geometry::cullWidth(2.0), Geometry::fullHeight(4, doc.maxKm), true);
    }

    std::vector<Segment> record(Train &train, double scale = 2.0)
    {
        list.startRebuild(Geometry::cullWidth(scale), Geometry::fullHeight(4, doc.maxKm), true);
        RecordTrain(train, frameOf(doc, scale), trainPen(train, doc.settings, {}), list);
        std::vector<Segment> out;
        std::vector<LinePrimitive> all;
        for (int k = 1; k <= list.stripCount(); ++k)
            for (const LinePrimitive &p : list.linesInStrip(k))
                if (std::find_if(all.begin(), all.end(), [&](const LinePrimitive &q) { return q.order == p.order; })
                    == all.end())
                    all.push_back(p);
        std::sort(all.begin(), all.end(), [](auto &a, auto &b) { return a.order < b.order; });
        for (const LinePrimitive &p : all)
            out.push_back({p.x0, p.y0, p.x1, p.y1});
        return out;
    }

    static Train train(std::initializer_list<std::tuple<int32_t, int, int, uint8_t>> rows, const char *name = "Os 1")
    {
        Train t;
        t.name = name;
        for (const auto &[station, h, m, half] : rows)
            Document::addRow(t, station, makeTime(h, m), 0, half, 0);
        return t;
    }
};

} // namespace

TEST_F(TrainLinesTest, CategoryTableGivesThePen)
{
    DocumentSettings s;
    s.penThin = 1;
    s.penMedium = 2;
    s.penThick = 3;
    struct Row
    {
        const char *name;
        int32_t colour;
        int width;
    };
    for (const Row &r :
         {Row{"Os 5401", Colours::black, 1}, Row{"R 601", Colours::black, 3}, Row{"Rn 1234", Colours::blue, 2},
          Row{"Sv 9", Colours::blue, 1}, Row{"EN 447", Colours::black, 1}}) {
        Train t;
        t.name = r.name;
        const Pen pen = trainPen(t, s, {});
        EXPECT_EQ(pen.colour, r.colour) << r.name;
        EXPECT_EQ(pen.width, r.width) << r.name;
        EXPECT_EQ(pen.style, LinePrimitive::Solid) << r.name;
    }
}

TEST_F(TrainLinesTest, OverridesInOrder)
{
    Train t;
    t.name = "Rn 7";
    t.podlePotreby = 1;
    Pen pen = trainPen(t, doc.settings, {});
    EXPECT_EQ(pen.style, LinePrimitive::Dot);
    EXPECT_EQ(pen.colour, Colours::blue); // dotted in its category colour
    EXPECT_EQ(pen.width, doc.settings.penMedium);

    t.rusici = 1;
    EXPECT_EQ(trainPen(t, doc.settings, {}).colour, Colours::red);

    // Found and highlighted: green even when rušící; only the exact name.
    const QByteArray found = "Rn 7";
    EXPECT_EQ(trainPen(t, doc.settings, {true, found}).colour, Colours::green);
    EXPECT_EQ(trainPen(t, doc.settings, {false, found}).colour, Colours::red);
    const QByteArray other = "Rn 77";
    EXPECT_EQ(trainPen(t, doc.settings, {true, other}).colour, Colours::red);
    EXPECT_EQ(trainPen(t, doc.settings, {true, found}).style, LinePrimitive::Dot);
}

TEST_F(TrainLinesTest, ADwellDrawsNothing)
{
    // 10:00 at S1, arrival 10:05 and departure 10:10 at S2, 10:20 at S3.
    Train t = train({{1, 10, 0, 0}, {2, 10, 5, 0}, {2, 10, 10, 0}, {3, 10, 20, 0}});
    EXPECT_EQ(record(t), (std::vector<Segment>{{1200, 260, 1210, 180}, {1220, 180, 1240, 20}}));
}

TEST_F(TrainLinesTest, AHalfMinuteRowLiesHalfAMinuteLater)
{
    const double scale = DiagramView::scaleOf(1, 3, 4); // 4/3 pixel per minute
    Train t = train({{1, 10, 0, 1}, {2, 10, 7, 0}});
    const std::vector<Segment> s = record(t, scale);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].x0, Geometry::round(600.5 * scale));
    EXPECT_EQ(s[0].x1, Geometry::round(607 * scale));
}

TEST_F(TrainLinesTest, MidnightSplitsTheSegment)
{
    // 23:50 at S1 (km 0) to 00:10 at S3 (km 30): the line crosses midnight
    // at half the height difference.
    Train t = train({{1, 23, 50, 0}, {3, 0, 10, 0}});
    const int32_t yEnd = 260 - Geometry::round(2 * 4 * 30 * 0.5);
    EXPECT_EQ(record(t), (std::vector<Segment>{{2860, 260, 2880, yEnd}, {0, yEnd, 20, 20}}));
    EXPECT_EQ(t.stops[0].pastMidnight, 1);
    EXPECT_EQ(t.stops[0].screenPoint.x, 2880);
    EXPECT_EQ(t.stops[0].screenPoint.y, yEnd);
}

TEST_F(TrainLinesTest, MidnightWithUnevenMinutes)
{
    // 22:00 (m = 1320) at S3 to 01:00 (m = 60) at S1: a quarter of the way.
    Train t = train({{3, 22, 0, 0}, {1, 1, 0, 0}});
    const int32_t yEnd = 20 - Geometry::round(2.0 * 4 * (0 - 30) * 120.0 / 180.0);
    EXPECT_EQ(record(t), (std::vector<Segment>{{2640, 20, 2880, yEnd}, {0, yEnd, 120, 260}}));
}

TEST_F(TrainLinesTest, BeforeEightInTheEveningThereIsNoWrap)
{
    // 19:59 then 00:30: drawn as a line going back to the left.
    Train t = train({{1, 19, 59, 0}, {3, 0, 30, 0}});
    EXPECT_EQ(record(t), (std::vector<Segment>{{2398, 260, 60, 20}}));
    EXPECT_EQ(t.stops[0].pastMidnight, 0);
}

TEST_F(TrainLinesTest, AWrapDuringADwellDrawsNoDwell)
{
    // Arrival 23:58 and departure 00:02 at S2: the departure row wraps, but
    // both its halves lie on the station line, so neither is drawn; the next
    // segment starts at the departure.
    Train t = train({{1, 23, 50, 0}, {2, 23, 58, 0}, {2, 0, 2, 0}, {3, 0, 12, 0}});
    EXPECT_EQ(record(t), (std::vector<Segment>{{2860, 260, 2876, 180}, {4, 180, 24, 20}}));
    EXPECT_EQ(t.stops[1].pastMidnight, 1);
    EXPECT_EQ(t.stops[1].screenPoint.x, 2880);
    EXPECT_EQ(t.stops[1].screenPoint.y, 180);
}

TEST_F(TrainLinesTest, KilometrePointsAlwaysDraw)
{
    // Rows at bare kilometre points (reference km - 1000) have no station, so
    // even two in a row draw a segment.
    Train t = train({{1, 10, 0, 0}, {-990, 10, 5, 0}, {-990, 10, 8, 0}});
    EXPECT_EQ(record(t), (std::vector<Segment>{{1200, 260, 1210, 180}, {1210, 180, 1216, 180}}));
}

TEST_F(TrainLinesTest, RowsBeyondTheStationListAreSkipped)
{
    Train t = train({{1, 10, 0, 0}, {7, 10, 5, 0}, {3, 10, 20, 0}});
    EXPECT_EQ(record(t), (std::vector<Segment>{{1200, 260, 1240, 20}}));
    Train first = train({{9, 9, 0, 0}, {1, 10, 0, 0}, {2, 10, 5, 0}});
    EXPECT_EQ(record(first), (std::vector<Segment>{{1200, 260, 1210, 180}}));
}

TEST_F(TrainLinesTest, ATrainWithOneRowDrawsNothing)
{
    Train t = train({{1, 10, 0, 0}});
    EXPECT_TRUE(record(t).empty());
    Train empty;
    EXPECT_TRUE(record(empty).empty());
}

TEST_F(TrainLinesTest, RecordingClearsOldMidnightFlags)
{
    Train t = train({{1, 10, 0, 0}, {2, 10, 5, 0}});
    t.stops[0].pastMidnight = 1;
    record(t);
    EXPECT_EQ(t.stops[0].pastMidnight, 0);
}
