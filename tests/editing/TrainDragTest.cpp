// Moving trains: the shift rules on rows, the series copies, and the mouse
// and keys that pick and drag a train on a diagram without a window.
#include "editing/DiagramMouse.h"
#include "editing/EditHistory.h"
#include "editing/HeadlessDiagram.h"
#include "editing/TrainShift.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using DocumentFixtures::addLabel;

// Rows as (station, half-minutes from midnight).
using HalfRows = std::vector<std::pair<int32_t, int>>;

Train trainOf(const HalfRows &rows)
{
    Train t;
    t.name = "Os 1";
    for (const auto &[station, half] : rows)
        Document::addRow(t, station, makeTime(0, half / 2), 0, static_cast<uint8_t>(half % 2), 0);
    return t;
}

HalfRows halvesOf(const Train &t)
{
    HalfRows rows;
    for (int k = 0; k < t.rowCount(); ++k)
        rows.emplace_back(t.row(k).station, int(TrainShift::halfMinutes(t.row(k).time, t.row(k).halfMinute)));
    return rows;
}

constexpr int h(int hours, int minutes, int half = 0)
{
    return (hours * 60 + minutes) * 2 + half;
}

TEST(TrainShift, MovesRowsByHalfMinutesHeldToTheirOrderAroundMidnight)
{
    const HalfRows stop = {{1, h(8, 0)}, {2, h(8, 20)}, {2, h(8, 21)}, {3, h(8, 40)}};
    const HalfRows through = {{1, h(8, 0)}, {2, h(8, 10)}, {3, h(8, 20)}};
    const std::tuple<const char *, HalfRows, int, int, HalfRows, int> cases[] = {
        {"whole train", stop, 0, 20, {{1, h(8, 10)}, {2, h(8, 30)}, {2, h(8, 31)}, {3, h(8, 50)}}, 20},
        {":30 takes the flag", {{1, h(8, 0)}, {2, h(8, 9, 1)}}, 0, 1, {{1, h(8, 0, 1)}, {2, h(8, 10)}}, 1},
        {"earlier", {{1, h(8, 0)}}, 0, -3, {{1, h(7, 58, 1)}}, -3},
        {"dwell end on", stop, 2, 10, {{1, h(8, 0)}, {2, h(8, 20)}, {2, h(8, 26)}, {3, h(8, 45)}}, 10},
        {"never before arrival", stop, 2, -10, {{1, h(8, 0)}, {2, h(8, 20)}, {2, h(8, 20)}, {3, h(8, 39)}}, -2},
        {"waits where it passed", through, 1, 10, {{1, h(8, 0)}, {2, h(8, 10)}, {2, h(8, 15)}, {3, h(8, 25)}}, 10},
        {"runs there sooner", through, 1, -4, {{1, h(8, 0)}, {2, h(8, 8)}, {3, h(8, 18)}}, -4},
        {"past midnight", {{1, h(23, 50)}, {2, h(23, 58)}}, 0, 20, {{1, h(0, 0)}, {2, h(0, 8)}}, 20},
        {"before midnight", {{1, h(0, 5)}}, 0, -20, {{1, h(23, 55)}}, -20},
        {"limit over midnight", {{1, h(23, 58)}, {2, h(0, 2)}}, 1, -10, {{1, h(23, 58)}, {2, h(23, 58)}}, -8},
        {"counted past 24:00", {{1, h(23, 58)}, {2, h(24, 10)}}, 1, 2, {{1, h(23, 58)}, {2, h(24, 11)}}, 2},
        {"less than a day", {{1, h(8, 0)}}, 0, 3000, {{1, h(7, 59, 1)}}, 2879},
    };
    for (const auto &[what, rows, from, amount, expected, moved] : cases) {
        Document doc;
        doc.trains.push_back(trainOf(rows));
        EXPECT_EQ(TrainShift::shift(doc, 0, from, amount), moved) << what;
        EXPECT_EQ(halvesOf(doc.trains[0]), expected) << what;
    }
}

TEST(TrainShift, SeriesCopiesAreNumberedOnWithTheirLabels)
{
    Document doc;
    doc.trains.push_back(trainOf({{1, h(6, 0)}, {2, h(6, 30)}}));
    doc.trains[0].name = "Os 13262";
    addLabel(doc, "Os 13262", makeTime(6, 10), 3);
    EXPECT_EQ(TrainShift::copySeries(doc, 0, 2, h(1, 0), 2), 2);
    ASSERT_EQ(doc.trains.size(), size_t{3});
    EXPECT_EQ(doc.trains[1].name.view(), QByteArrayView("Os 13264"));
    EXPECT_EQ(doc.trains[2].name.view(), QByteArrayView("Os 13266"));
    EXPECT_EQ(halvesOf(doc.trains[2]), (HalfRows{{1, h(8, 0)}, {2, h(8, 30)}}));
    ASSERT_EQ(doc.trainLabels.size(), size_t{3});
    EXPECT_EQ(doc.trainLabels.front().text.view(), QByteArrayView("Os 13266"));
    EXPECT_DOUBLE_EQ(doc.trainLabels.front().time, makeTime(8, 10));
    EXPECT_EQ(TrainShift::renumbered("Sv 9 A", 1), QByteArray("Sv 10 A"));
    EXPECT_EQ(TrainShift::renumbered("Služ", 1), QByteArray("Služ"));
}

struct NoTool : InsertToolInput
{
    bool active = false;
    bool isActive() const override { return active; }
    void leftPress(const MouseEvent &) override {}
    void pointerMove(const MouseEvent &) override {}
};

struct QuietView : DiagramEditView
{
    void surfaceAreaChanged(const QRect &) override {}
    bool askYesNo(const QString &) override { return false; }
};

// Dolní (0 km, y = 420) and Horní (50 km, y = 20) at s = 2, z = 4: Os 1 up
// from 8:00 to 8:50 crosses Os 2 down at (1010, 220); Os 3 stands in Horní
// from 10:20 to 10:25. View points are diagram points 40 to the right.
class TrainDragTest : public ::testing::Test
{
protected:
    HeadlessDiagram scene{QSize(1600, 900)};
    Document &doc = scene.doc;
    QuietView edit;
    EditHistory history{doc};
    NoTool tool;
    DiagramMouse mouse{scene.diagram, edit, history, tool};
    TrainDrag &drag = mouse.trainDrag();

    void SetUp() override
    {
        SampleLine::addStation(doc, "Dolní", 0);
        SampleLine::addStation(doc, "Horní", 50);
        DocumentFixtures::addTrain(doc, "Os 1", {{1, 8, 0}, {2, 8, 50}});
        DocumentFixtures::addTrain(doc, "Os 2", {{2, 8, 0}, {1, 8, 50}});
        DocumentFixtures::addTrain(doc, "Os 3", {{1, 10, 0}, {2, 10, 20}, {2, 10, 25}, {1, 10, 45}});
        addLabel(doc, "Os 1", makeTime(9, 30), 40);
        doc.noDocument = false;
        scene.view.updateScale(doc.settings);
        scene.diagram.render(RenderRequest::rebuildAll());
    }

    static QPoint view(int x, int y) { return {x + 40, y}; }
    void press(QPoint p, Qt::KeyboardModifiers keys = {})
    {
        mouse.PaintBox1MouseDown({Qt::LeftButton, Qt::LeftButton, keys, p});
    }
    void moveTo(QPoint p) { mouse.PaintBox1MouseMove({Qt::NoButton, Qt::LeftButton, {}, p}); }
    void release(QPoint p) { mouse.PaintBox1MouseUp({Qt::LeftButton, Qt::NoButton, {}, p}); }
    HalfRows rowsOf(int train) const { return halvesOf(doc.trains[size_t(train)]); }
};

TEST_F(TrainDragTest, PressPicksTheNearestLineWithinFourPixels)
{
    // The middle of Os 1's label, with a train laid through it.
    const LabelOutline &o = scene.renderer.labelOutlines().front();
    const QPoint label = (o.p1 + o.p3) / 2;
    const int x0 = label.x() - (420 - label.y()) / 4;
    DocumentFixtures::addTrain(doc, "Os 9", {{1, 0, x0 / 2, 0, x0 % 2}, {2, 0, x0 / 2 + 50, 0, x0 % 2}});
    scene.diagram.render(RenderRequest::redraw(RenderRequest::Labels::none()));
    // at: diagram pixels
    const std::tuple<const char *, QPoint, Qt::KeyboardModifiers, bool, TrainPick::Hit> cases[] = {
        {"3.9 px beside Os 1", {984, 340}, {}, false, {0, 0}},
        {"4.9 px beside", {985, 340}, {}, false, {-1, 0}},
        {"at the crossing: drawn last", {1010, 220}, {}, false, {1, 0}},
        {"nearer Os 1 by the crossing", {1012, 217}, {}, false, {0, 0}},
        {"Shift at the dwell's end", {1251, 21}, Qt::ShiftModifier, false, {2, 2}},
        {"Shift at its arrival", {1241, 21}, Qt::ShiftModifier, false, {2, 1}},
        {"no Shift: the whole train", {1251, 21}, {}, false, {2, 0}},
        {"on a label", label, {}, false, {-1, 0}},
        {"insert tool open", {984, 340}, {}, true, {-1, 0}},
    };
    for (const auto &[what, at, keys, toolOpen, hit] : cases) {
        drag.forget();
        scene.diagram.highlightOff();
        tool.active = toolOpen;
        press(view(at.x(), at.y()), keys);
        EXPECT_EQ((TrainPick::Hit{drag.picked() ? drag.train() : -1, drag.picked() ? drag.fromRow() : 0}), hit) << what;
        EXPECT_EQ(scene.diagram.highlighting().on && scene.diagram.highlighting().found == QByteArray("Os 1"),
                  hit.train == 0)
            << what;
        release(view(at.x(), at.y()));
    }
    EXPECT_EQ(history.count(), 0);
}

TEST_F(TrainDragTest, ReleaseIsOneStepAndEscPutsTheTrainBack)
{
    const HalfRows before = rowsOf(0);
    const double labelBefore = doc.trainLabels.front().time;
    press(view(980, 340));
    moveTo(view(990, 340));
    moveTo(view(1001, 340)); // 21 px: 10.5 minutes, drawn already
    EXPECT_EQ(rowsOf(0), (HalfRows{{1, h(8, 10, 1)}, {2, h(9, 0, 1)}}));
    EXPECT_EQ(std::tuple(drag.status(), history.count()), std::tuple(QStringLiteral("Os 1   8:20:30  +10,5 min"), 0));
    EXPECT_TRUE(mouse.trainKey(Qt::Key_Escape, {}, false));
    release(view(1001, 340));
    EXPECT_EQ(std::tuple(rowsOf(0), history.count()), std::tuple(before, 0));

    press(view(980, 340));
    moveTo(view(1000, 340));
    release(view(1000, 340));
    EXPECT_EQ(rowsOf(0), (HalfRows{{1, h(8, 10)}, {2, h(9, 0)}}));
    EXPECT_DOUBLE_EQ(doc.trainLabels.front().time, labelBefore + makeTime(0, 10));
    EXPECT_EQ(history.undoText(), QStringLiteral("posun vlaku Os 1 o +10 min"));
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(rowsOf(0), before);
    EXPECT_DOUBLE_EQ(doc.trainLabels.front().time, labelBefore);
    // Esc with no drag leaves the pick to the view's Esc.
    EXPECT_FALSE(mouse.trainKey(Qt::Key_Escape, {}, false));
    EXPECT_FALSE(drag.picked());
}

TEST_F(TrainDragTest, AltArrowsMoveThePickOneStepPerPressOrHeldKey)
{
    EXPECT_FALSE(mouse.trainKey(Qt::Key_Right, Qt::AltModifier, false)); // nothing picked
    press(view(980, 340));
    release(view(980, 340));
    EXPECT_FALSE(mouse.trainKey(Qt::Key_Right, {}, false)); // the view's scroll key
    for (bool repeat : {false, true, true})
        EXPECT_TRUE(mouse.trainKey(Qt::Key_Right, Qt::AltModifier, repeat));
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(history.undoText(), QStringLiteral("posun vlaku Os 1 o +1,5 min"));
    EXPECT_EQ(rowsOf(0), (HalfRows{{1, h(8, 1, 1)}, {2, h(8, 51, 1)}}));
    EXPECT_TRUE(mouse.trainKey(Qt::Key_Left, Qt::AltModifier | Qt::ShiftModifier, false));
    EXPECT_EQ(std::tuple(rowsOf(0), history.count()), std::tuple((HalfRows{{1, h(7, 56, 1)}, {2, h(8, 46, 1)}}), 2));
}

} // namespace
