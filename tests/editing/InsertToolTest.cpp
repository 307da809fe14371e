#include "editing/InsertTool.h"

#include "editing/Diagram.h"
#include "editing/EditHistory.h"
#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "render/HeadlessWindow.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <gtest/gtest.h>

#include <vector>

void PrintTo(const AddTrainRow &r, std::ostream *os)
{
    const QStringList cells{r.station, r.runTime, r.arrival, r.dwell, r.departure};
    *os << '{' << cells.join(u'|').toStdString() << '}';
}

namespace {

double hms(int h, int m, int s = 0)
{
    return makeTime(h, m, s);
}

int sec(int h, int m, int s = 0)
{
    return h * 3600 + m * 60 + s;
}

// (station, time in seconds) of the points, fixed times left out.
using Points = std::vector<std::pair<int, int>>;

// The window the tool draws on, noting each picture: a paint-only one (the
// preview follows) or another render.
class NotingWindow : public HeadlessWindow
{
public:
    NotingWindow(QStringList &calls) : m_calls(calls) {}
    const Diagram *diagram = nullptr;
    void surfaceChanged() override
    {
        m_calls << (diagram->lastRequest() == RenderRequest::paint() ? "paint" : "render");
    }

private:
    QStringList &m_calls;
};

// Three stations A, B, C at kilometres 0, 10 and 30, drawn at zoom 4 with
// 2 pixels a minute. Profile 1 of direction 1 runs 4 half-minutes to B,
// where it stands 2, and 6 to C.
class InsertToolTest : public ::testing::Test
{
protected:
    QStringList calls;
    Document doc;
    NotingWindow window{calls};
    Diagram diagram{doc, window,
                    LabelMakers(
                        {}, [this](Document &, double, ProgressSink &) { calls << "time labels"; },
                        [this](Document &, double) { calls << "new labels"; })};
    DiagramView &view = diagram.view();
    EditHistory history{doc};
    InsertTool tool{diagram, history};
    std::optional<NewTrainChoice> answer;
    std::vector<AddTrainRow> shownTable;

    void SetUp() override
    {
        for (auto [name, km] : {std::pair{"A", 0}, {"B", 10}, {"C", 30}})
            SampleLine::addStation(doc, name, km);
        TravelTimeProfile &p = doc.profiles.at(1, 1);
        p.name = "Os";
        p.runTimeAt(1) = 4;
        p.dwellAt(1) = 2;
        p.runTimeAt(2) = 6;
        doc.profiles.countOf(1) = 1;

        window.diagram = &diagram;
        QObject::connect(&tool, &InsertTool::editMenuWanted,
                         [this](bool on) { calls << (on ? "Editace on" : "Editace off"); });
        QObject::connect(&tool, &InsertTool::timerWanted,
                         [this](bool on) { calls << (on ? "timer on" : "timer off"); });
        QObject::connect(&tool, &InsertTool::windowWanted, [this] { calls << "show"; });
        QObject::connect(&tool, &InsertTool::windowCloseWanted, [this] { calls << "close"; });
        // The add-train dialog: its table, and the train added on OK.
        QObject::connect(&tool, &InsertTool::commitRequested, [this] {
            shownTable = tool.commitTable();
            calls << "confirm";
            if (answer)
                tool.addTrain(*answer);
        });
    }

    void open()
    {
        ASSERT_TRUE(tool.open());
        calls.clear();
    }

    // The pointer at a station's kilometre (thousandths added) and a time.
    MouseEvent at(int km, double time, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const int x = 40 + Geometry::round(time * 1440 * view.scale) - 5 * view.hpos;
        const int y = 20 + 2 * doc.settings.zoom * (doc.maxMetres / 1000 - km) - 2 * view.vpos;
        return MouseEvent{Qt::LeftButton, Qt::LeftButton, modifiers, QPoint(x, y)};
    }
    void move(int km, double time) { tool.pointerMove(at(km, time)); }
    void click(int km, double time, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        move(km, time);
        tool.leftPress(at(km, time, modifiers));
    }

    Points points() const
    {
        Points p;
        for (const InsertPoint &i : tool.points())
            p.emplace_back(i.station, Geometry::round(i.time * 86400));
        return p;
    }
};

TEST_F(InsertToolTest, OpeningNeedsAProfileAndTakesADirectionThatHasOne)
{
    doc.profiles.countOf(1) = 0;
    QString refusal;
    EXPECT_FALSE(tool.open(&refusal));
    EXPECT_EQ(std::tuple(refusal, tool.isActive(), calls),
              std::tuple(InsertTool::noProfilesMessage, false, QStringList()));

    doc.profiles.countOf(2) = 3;
    ASSERT_TRUE(tool.open());
    EXPECT_EQ(std::tuple(tool.direction(), tool.profileMaximum(), tool.isActive()), std::tuple(2, 3, true));
    EXPECT_EQ(calls, (QStringList{"timer on", "show", "Editace off"}));
    // Stations own the kilometres up to the midpoints.
    using B = InsertTool::StationBand;
    EXPECT_EQ(tool.bands(), (std::vector<B>{{0, 5000, 1}, {5001, 20000, 2}, {20001, 30000, 3}}));
}

TEST_F(InsertToolTest, ThePointerShowsItsTimeAndStation)
{
    open();
    // Past midnight the texts are the times the rows keep (24:00 and on);
    // left of midnight, where a click lays nothing, the tool shows no time.
    for (auto [time, text] : {std::pair{1.0 + hms(0, 12, 30), "24:12:30"},
                              {-hms(0, 10), ""},
                              {hms(9, 5, 30), " 9:05:30"},
                              {hms(12, 0), "12:00:00"}}) {
        move(10, time);
        EXPECT_EQ(tool.timeText(), QString::fromLatin1(text));
    }
    EXPECT_EQ(std::pair(tool.stationText(), tool.currentStation()), std::pair(QStringLiteral("B"), 2));
    // At 4/3 pixels a minute column 729 is 1093.5 half minutes: rounded to even.
    view.scale = 4.0 / 3.0;
    move(10, hms(9, 6, 45));
    EXPECT_EQ(tool.timeText(), QStringLiteral(" 9:07:00"));
}

TEST_F(InsertToolTest, TheTrainFollowsThePointerAndTheClicks)
{
    open();
    const std::vector<std::tuple<const char *, std::function<void()>, Points>> steps{
        {"origin", [&] { click(0, hms(8, 0)); }, {{1, sec(8, 0)}}},
        {"to C", [&] { move(30, hms(8, 20)); }, {{1, sec(8, 0)}, {2, sec(8, 2)}, {2, sec(8, 3)}, {3, sec(8, 6)}}},
        {"back to B", [&] { move(10, hms(8, 5)); }, {{1, sec(8, 0)}, {2, sec(8, 2)}}},
        {"stop at B", [&] { tool.leftPress(at(10, hms(8, 5))); }, {{1, sec(8, 0)}, {2, sec(8, 2)}, {2, sec(8, 5)}}},
        {"on to C", [&] { move(30, hms(8, 20)); }, {{1, sec(8, 0)}, {2, sec(8, 2)}, {2, sec(8, 5)}, {3, sec(8, 8)}}},
        {"behind the fixed stop", [&] { move(0, hms(8, 20)); }, {{1, sec(8, 0)}, {2, sec(8, 2)}, {2, sec(8, 5)}}},
        {"Ctrl at B",
         [&] { click(10, hms(8, 5), Qt::ControlModifier); },
         {{1, sec(8, 0)}, {2, sec(8, 2)}, {2, sec(8, 3)}}},
        {"B fixed again: its one departure moves",
         [&] { click(10, hms(8, 6)); },
         {{1, sec(8, 0)}, {2, sec(8, 2)}, {2, sec(8, 6)}}},
        {"Ctrl at B again",
         [&] { click(10, hms(8, 5), Qt::ControlModifier); },
         {{1, sec(8, 0)}, {2, sec(8, 2)}, {2, sec(8, 3)}}},
        {"Ctrl at the origin", [&] { click(0, hms(8, 0), Qt::ControlModifier); }, {}},
        // A departure fixed at 0:00 is fixed like any other: a second click
        // at the origin moves it and adds no second row there.
        {"origin at midnight", [&] { click(0, hms(0, 0)); }, {{1, sec(0, 0)}}},
        {"and again", [&] { click(0, hms(0, 5)); }, {{1, sec(0, 5)}}},
        {"Ctrl at the origin again", [&] { click(0, hms(0, 5), Qt::ControlModifier); }, {}},
        // A click at an earlier station fixes its departure and keeps the
        // later stops.
        {"C departs 8:10",
         [&] { click(0, hms(8, 0)), move(30, hms(8, 20)), tool.leftPress(at(30, hms(8, 10))); },
         {{1, sec(8, 0)}, {2, sec(8, 2)}, {2, sec(8, 3)}, {3, sec(8, 6)}, {3, sec(8, 10)}}},
        {"B, passed so far, departs 8:05",
         [&] { click(10, hms(8, 5)); },
         {{1, sec(8, 0)}, {2, sec(8, 2)}, {2, sec(8, 5)}, {3, sec(8, 8)}, {3, sec(8, 10)}}},
        {"the origin departs earlier",
         [&] { click(0, hms(7, 50)); },
         {{1, sec(7, 50)}, {2, sec(7, 52)}, {2, sec(8, 5)}, {3, sec(8, 8)}, {3, sec(8, 10)}}},
    };
    for (const auto &[what, act, expected] : steps) {
        act();
        EXPECT_EQ(points(), expected) << what;
    }
}

TEST_F(InsertToolTest, AStationWithoutRunningTimeIsLeftOut)
{
    doc.profiles.at(1, 1).runTimeAt(1) = 0;
    open();
    click(0, hms(8, 0));
    move(30, hms(8, 20));
    EXPECT_EQ(points(), (Points{{1, sec(8, 0)}, {3, sec(8, 3)}}));
}

TEST_F(InsertToolTest, AnOriginTheTrainCannotLeaveIsIgnored)
{
    doc.profiles.countOf(2) = 1;
    open();
    click(30, hms(8, 0)); // the top station in direction 1
    EXPECT_EQ(tool.count(), 0);
    EXPECT_EQ(tool.RadioGroup1Click(2), 2);
    click(0, hms(8, 0)); // kilometre 0 in direction 2
    EXPECT_EQ(tool.count(), 0);
    click(30, hms(8, 0));
    EXPECT_EQ(tool.count(), 1);
}

TEST_F(InsertToolTest, TheDirectionIsLockedFromTwoPointsAndAProfileChangeLaysTheRouteAgain)
{
    doc.profiles.countOf(2) = 1;
    TravelTimeProfile &fast = doc.profiles.at(1, 2);
    fast.runTimeAt(1) = 2;
    fast.dwellAt(1) = 0;
    fast.runTimeAt(2) = 2;
    doc.profiles.countOf(1) = 2;
    open();
    click(0, hms(8, 0));
    move(30, hms(8, 20));
    EXPECT_EQ(tool.RadioGroup1Click(2), 1);
    tool.SpinEdit1Change(2);
    EXPECT_TRUE(tool.recomputePending());
    calls.clear();
    tool.Timer1Timer();
    EXPECT_EQ(points(), (Points{{1, sec(8, 0)}, {2, sec(8, 1)}, {2, sec(8, 1)}, {3, sec(8, 2)}}));
    EXPECT_EQ(calls, QStringList{"paint"});
    EXPECT_FALSE(tool.recomputePending());
}

TEST_F(InsertToolTest, ARouteStopsAtTheLastPointThatFits)
{
    InsertTool small(diagram, history, 3);
    ASSERT_TRUE(small.open());
    for (auto [km, time] : {std::pair{0, sec(8, 0)}, {30, hms(8, 20)}}) {
        small.pointerMove(at(km, time));
        if (small.count() == 0)
            small.leftPress(at(km, time));
    }
    EXPECT_EQ(std::tuple(small.count(), small.points().back().station), std::tuple(3, 2));
}

TEST_F(InsertToolTest, ShiftClickHandsTheTimetableToTheDialogAndAddsTheTrain)
{
    doc.profiles.at(1, 1).runTimeAt(1) = 3; // B at 8:01:30
    doc.profiles.at(1, 1).dwellAt(1) = 0;   // a short stop there
    open();
    click(0, hms(8, 0), Qt::ShiftModifier); // no origin yet
    click(0, hms(8, 0));
    click(0, hms(8, 0), Qt::ShiftModifier); // one point
    EXPECT_FALSE(calls.contains("confirm"));
    move(30, hms(8, 20));
    const std::vector<InsertPoint> laid = tool.points();

    click(30, hms(8, 20), Qt::ShiftModifier); // the dialog is cancelled
    EXPECT_EQ(std::pair(tool.points(), tool.isActive()), std::pair(laid, true));
    EXPECT_EQ(shownTable, (std::vector<AddTrainRow>{{"A", "", "", "", " 8:00:00"},
                                                    {"B", "1,5", " 8:01:30", "0", " 8:01:30"},
                                                    {"C", "3", " 8:04:30", "", ""}}));

    answer = NewTrainChoice{QStringLiteral("Služ"), 12345, true, false};
    calls.clear();
    click(30, hms(8, 20), Qt::ShiftModifier);
    EXPECT_EQ(calls,
              (QStringList{"confirm", "Editace on", "close", "timer off", "new labels", "time labels", "render"}));
    EXPECT_EQ(std::tuple(tool.isActive(), tool.count(), doc.trainCount, diagram.lastRequest()),
              std::tuple(false, 0, 1, RenderRequest::rebuildAll()));
    // The train added is one step of the history; the cancelled dialog left none.
    EXPECT_EQ(std::pair(history.count(), history.undoText()), std::pair(1, QStringLiteral("vložení vlaku")));
    ASSERT_EQ(doc.trains.size(), 1u);
    const Train &t = doc.trains.back();
    EXPECT_EQ(std::tuple(cp1250::toUnicode(t.name.view()), t.name.size(), t.rusici, t.podlePotreby),
              std::tuple(QStringLiteral("Služ 12345"), 10, 1, 0));
    // B at 8:01:30 is 8:01 and its half minute: times are whole minutes.
    EXPECT_EQ(DocumentFixtures::rowsOf(t),
              (DocumentFixtures::Rows{{1, 8, 0, 0, 0, 0}, {2, 8, 1, 0, 1, 1}, {3, 8, 4, 0, 1, 0}}));
    for (int k = 0; k < t.rowCount(); ++k)
        EXPECT_EQ(decodeTime(t.row(k).time).seconds, 0) << k;
}

// A train laid past midnight keeps its times as shown.
TEST_F(InsertToolTest, TimesPastMidnightAreStoredAsShown)
{
    open();
    click(0, hms(23, 58));
    move(30, 1.0 + hms(0, 12, 30));
    click(30, 1.0 + hms(0, 12, 30), Qt::ShiftModifier); // the dialog is cancelled
    EXPECT_EQ(shownTable, (std::vector<AddTrainRow>{{"A", "", "", "", "23:58:00"},
                                                    {"B", "2", "24:00:00", "1", "24:01:00"},
                                                    {"C", "3", "24:04:00", "", ""}}));
    answer = NewTrainChoice{QStringLiteral("Os"), 1, false, false};
    click(30, 1.0 + hms(0, 12, 30), Qt::ShiftModifier);
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(formatTrainTime(doc.trains.back().row(3).time), QStringLiteral("24:04"));
}

TEST_F(InsertToolTest, TheTimerClosesWhatTheUserClosedAndThePointerEnablesEditace)
{
    open();
    click(0, hms(8, 0));
    tool.FormClose();
    EXPECT_EQ(tool.count(), 0);
    tool.Timer1Timer();
    EXPECT_EQ(calls, (QStringList{"paint", "Editace on", "close", "timer off", "paint"}));
    calls.clear();
    move(10, hms(8, 0));
    EXPECT_EQ(calls, QStringList{"Editace on"});
}

} // namespace
