// The mouse on the diagram without a window: label drags, drops, the delete
// question, panning and the insert tool's share of the events.
#include "editing/DiagramMouse.h"

#include "editing/EditHistory.h"
#include "editing/HeadlessDiagram.h"
#include "editing/StepNames.h"
#include "model/ClockTime.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>

namespace {

constexpr double pi = LabelDrag::pi;
using DocumentFixtures::addLabel;

class ScriptedView : public DiagramEditView
{
public:
    std::deque<bool> answers; // none left: the box was closed
    QStringList questions;
    std::function<void()> atQuestion;
    QRect changed;

    void surfaceAreaChanged(const QRect &area) override { changed |= area; }
    bool askYesNo(const QString &text) override
    {
        questions << text;
        if (atQuestion)
            atQuestion();
        if (answers.empty())
            return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
};

// The insert-train tool as far as the mouse hands it events.
struct CountingTool : InsertToolInput
{
    bool active = false;
    int presses = 0;
    int moves = 0;
    bool isActive() const override { return active; }
    void leftPress(const MouseEvent &) override { ++presses; }
    void pointerMove(const MouseEvent &) override { ++moves; }
};

MouseEvent pressAt(QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    return {b, b, Qt::NoModifier, p};
}
MouseEvent moveTo(QPoint p, Qt::MouseButtons held = Qt::LeftButton, Qt::KeyboardModifiers mods = {})
{
    return {Qt::NoButton, held, mods, p};
}
MouseEvent releaseAt(QPoint p, Qt::KeyboardModifiers mods = {}, Qt::MouseButton b = Qt::LeftButton)
{
    return {b, Qt::NoButton, mods, p};
}

// A line of 50 km at z = 4, s = 2 on a 1600 x 900 paint box: the bottom
// station line, and the visible bottom B, at y = 420. Three labels.
class DiagramMouseTest : public ::testing::Test
{
protected:
    HeadlessDiagram scene{QSize(1600, 900)};
    Document &doc = scene.doc;
    DiagramView &view = scene.view;
    const Renderer &renderer = scene.renderer;
    HeadlessWindow &window = scene.window;
    ScriptedView edit;
    EditHistory history{doc};
    CountingTool tool;
    DiagramMouse mouse{scene.diagram, edit, history, tool};

    void SetUp() override
    {
        SampleLine::addStation(doc, "Dolní", 0);
        SampleLine::addStation(doc, "Horní", 50);
        view.updateScale(doc.settings);
        // Put at the head in turn: "Os 1234" ends up number 1.
        addLabel(doc, "R 812", makeTime(9, 0, 0), 10, -0.4);
        addLabel(doc, "Sv 77", makeTime(7, 0, 0), 40, 0.3);
        addLabel(doc, "Os 1234", makeTime(8, 0, 40), 25, 0.0);
        doc.redrawNeeded = true;
        scene.diagram.render();
    }

    TrainLabel &label(int number) { return doc.trainLabels[static_cast<size_t>(number - 1)]; }

    // The middle of a label's turned box in view pixels.
    QPoint centre(int number)
    {
        const LabelOutline *o = findOutline(scene.diagram.labelOutlines(), number);
        EXPECT_NE(o, nullptr);
        const QPoint middle = (o->p1 + o->p3) / 2;
        return QPoint(40 + middle.x() - 5 * view.hpos, middle.y() - 2 * view.vpos);
    }

    void expectOutlinesInStep()
    {
        ASSERT_EQ(renderer.labelOutlines().size(), doc.trainLabels.size());
        for (int n = 1; n <= doc.trainLabelCount(); ++n) {
            const LabelOutline *o = findOutline(scene.diagram.labelOutlines(), n);
            ASSERT_NE(o, nullptr) << n;
            EXPECT_EQ(QPoint(o->left, o->top), QPoint(label(n).x, label(n).y)) << n;
        }
    }
};

struct LabelState
{
    QByteArray text;
    double time, level, angle;
    bool operator==(const LabelState &) const = default;
};
LabelState stateOf(const TrainLabel &l)
{
    return {l.text.view().toByteArray(), l.time, l.level, l.angle};
}

} // namespace

TEST(LabelDrag, RotatedBoxesContainTheirEdges)
{
    const std::tuple<double, QPoint, bool> cases[] = {
        // Upright edges (a label turned by less than two degrees): inside
        // its box, the edges and corners included. A label rising to the
        // right hangs from its image's bottom (30). Turned both ways: the
        // middle of the turned box and its corners, and a corner of the
        // unturned box that the turn leaves out.
        {0.0, {100, 50}, true},  {0.0, {140, 62}, true},     {0.0001, {139, 51}, true},   {0.0, {99, 56}, false},
        {0.0, {120, 63}, false}, {-0.0001, {120, 74}, true}, {-0.0001, {120, 56}, false}, {0.5, {120, 65}, true},
        {0.5, {135, 80}, true},  {0.5, {140, 50}, false},    {-0.5, {106, 80}, true},     {-0.5, {100, 50}, false}};
    for (const auto &[angle, point, inside] : cases) {
        const LabelOutline o = LabelOutline::make(100, 50, 40, 12, angle, 30, 1);
        EXPECT_EQ(LabelDrag::contains(o, point), inside) << angle << " " << point.x() << "," << point.y();
    }
}

TEST(LabelDrag, TurningOneDegreePerPixel)
{
    // (start, pixels down, angle): turns back after the vertical, never 0.
    const std::tuple<double, int, double> cases[] = {{0.0, 100, pi - 100 * pi / 180},
                                                     {0.0, 0, 0.0001},
                                                     {0.0, -100, -100 * pi / 180 + pi},
                                                     {0.2, 10, 0.2 + 10 * pi / 180},
                                                     {0.0, 360, 0.0001}};
    for (const auto &[start, down, angle] : cases)
        EXPECT_DOUBLE_EQ(LabelDrag::turnedAngle(start, down), angle) << start << " " << down;
    // An angle from a damaged file ends in range too, with no endless loop.
    EXPECT_LE(std::abs(LabelDrag::turnedAngle(1e300, 0)), LabelDrag::halfPi + 1e-4);
}

TEST_F(DiagramMouseTest, APressPicksTheLastMatchInTheOutlineList)
{
    // Two labels on the same spot: the outline list holds the later label
    // first, so the earlier one (number 1) is the last match.
    label(2).time = label(1).time;
    label(2).level = label(1).level;
    label(2).angle = 0.0;
    doc.redrawNeeded = true;
    scene.diagram.render();
    mouse.PaintBox1MouseDown(pressAt(centre(1)));
    EXPECT_EQ(scene.diagram.pickedLabel(), 1);
    mouse.PaintBox1MouseUp(releaseAt(centre(1)));

    // Nowhere near a label, or while a render runs: nothing.
    mouse.PaintBox1MouseDown(pressAt(QPoint(60, 400)));
    EXPECT_FALSE(mouse.labelDrag().armed());
    const RenderGuard busy = scene.diagram.holdRenders();
    mouse.PaintBox1MouseDown(pressAt(centre(3)));
    EXPECT_FALSE(mouse.labelDrag().armed());
}

TEST_F(DiagramMouseTest, ADropPlacesTheLabelByTheOutlinesCentreOnAWholeMinute)
{
    // time < 0: at or beyond midnight (1439.5 minutes halve to 1440) a drop
    // or a copy changes nothing and asks nothing.
    // column, row: of the outline's centre after the drop
    const std::tuple<int, int, int, double, Qt::KeyboardModifiers> cases[] = {
        {0, 1480, 220, makeTime(12, 0), {}},    // (1480 - 40) / 2 minutes
        {100, 1481, 100, makeTime(16, 10), {}}, // 970.5 minutes: halves to even
        {100, 1483, 300, makeTime(16, 12), {}}, // 971.5
        {272, 1558, 200, makeTime(23, 59), {}}, // the last minute of the day
        {272, 1559, 200, -1, {}},
        {272, 1559, 200, -1, Qt::ControlModifier},
    };
    for (const auto &[hpos, column, row, time, keys] : cases) {
        view.hpos = hpos;
        scene.diagram.render();
        const LabelState before = stateOf(label(1));
        const QPoint p = centre(1);
        mouse.PaintBox1MouseDown(pressAt(p));
        const LabelDrag::Edges o = mouse.labelDrag().outline();
        const QPoint by(column - (o.left + o.right) / 2, row - (o.top + o.bottom) / 2);
        mouse.PaintBox1MouseMove(moveTo(p + by));
        mouse.PaintBox1MouseUp(releaseAt(p + by, keys));
        EXPECT_EQ(scene.diagram.pickedLabel(), 0);
        if (time < 0) {
            EXPECT_EQ(std::pair(stateOf(label(1)), doc.trainLabelCount()), std::pair(before, 3)) << column;
            continue;
        }
        EXPECT_DOUBLE_EQ(label(1).time, time) << column;
        EXPECT_DOUBLE_EQ(label(1).level, (2.0 * 4 * 50 + 20 - row) / 8) << row;
        EXPECT_EQ(label(1).visible, 1);
    }
    EXPECT_TRUE(edit.questions.isEmpty());
    expectOutlinesInStep();
}

TEST_F(DiagramMouseTest, KeysAtReleaseMoveCopyOrTurn)
{
    const std::tuple<Qt::KeyboardModifiers, bool, bool> cases[] = {
        {Qt::NoModifier, false, false},
        {Qt::ControlModifier, true, false},
        {Qt::ShiftModifier, false, true},
        {Qt::ShiftModifier | Qt::ControlModifier, false, false}};
    for (const auto &[keys, copies, turns] : cases) {
        SCOPED_TRACE(keys.toInt());
        const int count = doc.trainLabelCount();
        const LabelState picked = stateOf(label(2));
        const QPoint p = centre(2);
        const std::vector<uint8_t> image = label(2).imageCodes;
        mouse.PaintBox1MouseDown(pressAt(p));
        const LabelDrag::Edges origin = mouse.labelDrag().outline();
        mouse.PaintBox1MouseMove(moveTo(p + QPoint(0, 30), Qt::LeftButton, Qt::ShiftModifier)); // turned
        const double turned = mouse.labelDrag().angle();
        EXPECT_DOUBLE_EQ(turned, LabelDrag::turnedAngle(picked.angle, 30));
        EXPECT_EQ(mouse.labelDrag().outline(), origin) << "turning does not move the outline";
        mouse.PaintBox1MouseMove(moveTo(p + QPoint(120, 30))); // and moved
        // 120 pixels right: an hour later, on the whole minute.
        const double later = (minuteOfDay(picked.time) + 60) / 1440.0;
        mouse.PaintBox1MouseUp(releaseAt(p + QPoint(120, 30), keys));

        if (copies) {
            ASSERT_EQ(doc.trainLabelCount(), count + 1);
            EXPECT_EQ(stateOf(label(3)), picked) << "the picked label, one place down, stays";
            EXPECT_EQ(std::pair(label(1).text.view().toByteArray(), label(1).angle),
                      std::pair(picked.text, picked.angle));
            EXPECT_DOUBLE_EQ(label(1).time, later);
        } else {
            ASSERT_EQ(doc.trainLabelCount(), count);
            EXPECT_DOUBLE_EQ(label(2).time, later);
            EXPECT_EQ(label(2).angle, turns ? turned : picked.angle);
            EXPECT_EQ(label(2).imageCodes != image, turns) << "imaged again at a new angle";
        }
        expectOutlinesInStep();
        // The drop is one step of the history, named for what it did.
        EXPECT_EQ(history.undoText(), copies  ? QStringLiteral("kopie popisku")
                                      : turns ? QStringLiteral("otočení popisku")
                                              : QStringLiteral("přesun popisku"));
    }
}

TEST_F(DiagramMouseTest, DroppingOutsideTheDiagramAsksToDelete)
{
    using To = QPoint (*)(QPoint p, LabelDrag::Edges o);
    const std::pair<To, bool> cases[] = {
        {[](QPoint p, LabelDrag::Edges o) { return p + QPoint(42 - o.left, 0); }, true}, // left edge at 42
        {[](QPoint p, LabelDrag::Edges o) { return p + QPoint(42 - o.left, 0); }, false},
        {[](QPoint p, LabelDrag::Edges o) { return p + QPoint(0, -o.top); }, true},          // above
        {[](QPoint p, LabelDrag::Edges o) { return p + QPoint(0, 421 - o.bottom); }, false}, // below
        {[](QPoint, LabelDrag::Edges) { return QPoint(800, 950); }, true}, // released over the scroll bar
    };
    for (const auto &[to, answer] : cases) {
        if (doc.trainLabelCount() < 3)
            addLabel(doc, "Os 9", makeTime(10, 0), 30, 0.2), doc.redrawNeeded = true, scene.diagram.render();
        const LabelState picked = stateOf(label(2));
        const LabelState last = stateOf(label(3));
        const QImage picture = renderer.surface().copy();
        edit.questions.clear();
        edit.answers = {answer};
        bool clean = false;
        edit.atQuestion = [&] { clean = renderer.surface() == picture; };

        const QPoint p = centre(2);
        mouse.PaintBox1MouseDown(pressAt(p));
        const QPoint at = to(p, mouse.labelDrag().outline());
        mouse.PaintBox1MouseMove(moveTo(at));
        mouse.PaintBox1MouseUp(releaseAt(at));

        ASSERT_EQ(edit.questions, QStringList{QStringLiteral("Odstranit popisek?")}) << at.x() << "," << at.y();
        EXPECT_TRUE(clean) << "the picture as it was, outline gone, while the question is up";
        ASSERT_EQ(doc.trainLabelCount(), answer ? 2 : 3);
        EXPECT_EQ(stateOf(label(2)), answer ? last : picked);
        expectOutlinesInStep();
    }
}

TEST_F(DiagramMouseTest, TheOutlineLeavesNoTrace)
{
    const QImage picture = renderer.surface().copy();
    // Only the pixels under the outline differ from the picture, wherever it
    // has been before.
    auto onlyTheOutline = [&](const char *step) {
        const QRect area = mouse.labelDrag().outlineArea();
        int inked = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (renderer.surface().pixel(x, y) != picture.pixel(x, y)) {
                    ASSERT_TRUE(area.contains(x, y)) << step << " " << x << "," << y;
                    ++inked;
                }
        EXPECT_GT(inked, 8) << step;
        EXPECT_TRUE(edit.changed.contains(area)) << step << ": shown on the screen";
    };
    // A click without moving, Ctrl held too, changes nothing.
    const LabelState before = stateOf(label(1));
    const int rebuilds = renderer.stats().rebuilds;
    mouse.PaintBox1MouseDown(pressAt(centre(1)));
    onlyTheOutline("clicked");
    mouse.PaintBox1MouseUp(releaseAt(centre(1), Qt::ControlModifier));
    EXPECT_EQ(stateOf(label(1)), before);
    EXPECT_EQ(std::tuple(doc.trainLabelCount(), renderer.stats().rebuilds, renderer.surface() == picture,
                         mouse.labelDrag().armed(), history.count()),
              std::tuple(3, rebuilds, true, false, 0));

    const QPoint p = centre(3);
    mouse.PaintBox1MouseDown(pressAt(p));
    onlyTheOutline("pressed");
    for (const QPoint by : {QPoint(3, 2), QPoint(-5, 1), QPoint(400, -30), QPoint(-p.x() + 5, 0), QPoint(0, 40)}) {
        edit.changed = QRect();
        mouse.PaintBox1MouseMove(moveTo(p + by));
        onlyTheOutline("moved");
    }
    mouse.PaintBox1MouseMove(moveTo(p + QPoint(0, 70), Qt::LeftButton, Qt::ShiftModifier));
    onlyTheOutline("turned");
}

TEST_F(DiagramMouseTest, RightButtonPanning)
{
    window.setPaintBoxSize(QSize(1600, 300)); // ScrollBar2 shown
    view.hpos = 10;
    view.vpos = 10;
    scene.diagram.render();
    ASSERT_TRUE(window.scrollBarVisible(Qt::Vertical));
    const int hmax = window.scrollMaximum(Qt::Horizontal);

    mouse.PaintBox1MouseDown(pressAt(QPoint(500, 200), Qt::RightButton));
    // 4 pixels: nothing yet; 2 more: one step; right: back by 26 div 5.
    const std::pair<QPoint, QPoint> steps[] = {{{496, 200}, {10, 10}}, {{494, 200}, {11, 10}}, {{494, 198}, {11, 10}},
                                               {{494, 197}, {11, 11}}, {{520, 197}, {6, 11}},  {{520, 210}, {6, 5}}};
    for (const auto &[to, pos] : steps) {
        const int renders = renderer.stats().renders;
        mouse.PaintBox1MouseMove(moveTo(to, Qt::RightButton));
        EXPECT_EQ(QPoint(view.hpos, view.vpos), pos) << to.x() << "," << to.y();
        EXPECT_EQ(renderer.stats().renders, renders + 1);
    }

    // At the end of the bar the pointer still becomes the new start.
    view.hpos = hmax;
    mouse.PaintBox1MouseMove(moveTo({510, 210}, Qt::RightButton));
    EXPECT_EQ(view.hpos, hmax);
    mouse.PaintBox1MouseMove(moveTo({516, 210}, Qt::RightButton));
    EXPECT_EQ(view.hpos, hmax - 1);

    // Every way panning ends: the release, the pointer over the form, over
    // ScrollBar2 or the tool panel, released there, a left press.
    const QPoint above(500, -5);
    const MouseEvent rightUp = releaseAt({516, 210}, {}, Qt::RightButton);
    const std::function<void()> enders[] = {
        [&] { mouse.PaintBox1MouseUp(rightUp); },
        [&] { mouse.FormMouseMove(); },
        [&] { mouse.PaintBox1MouseMove(moveTo(QPoint(1610, 100), Qt::RightButton)); },
        [&] { mouse.PaintBox1MouseMove(moveTo(above, Qt::RightButton)); },
        [&] { mouse.FormMouseUp(releaseAt(above, {}, Qt::RightButton)); },
        [&] { mouse.PaintBox1MouseDown(pressAt(QPoint(60, 250))); },
    };
    for (const auto &end : enders) {
        mouse.PaintBox1MouseDown(pressAt({500, 200}, Qt::RightButton));
        end();
        EXPECT_FALSE(mouse.panning().active());
    }
    const RenderGuard busy = scene.diagram.holdRenders();
    mouse.PaintBox1MouseDown(pressAt({500, 200}, Qt::RightButton));
    EXPECT_FALSE(mouse.panning().active()) << "presses during a render do nothing";
}

TEST_F(DiagramMouseTest, TheInsertToolTakesLeftPressesWhileActiveAndEveryMove)
{
    const QPoint p = centre(1);
    mouse.PaintBox1MouseDown(pressAt(p));
    EXPECT_TRUE(mouse.labelDrag().armed()) << "an inactive tool leaves labels to the mouse";
    mouse.PaintBox1MouseMove(moveTo(p));
    mouse.PaintBox1MouseUp(releaseAt(p));
    EXPECT_EQ(tool.moves, 1);

    tool.active = true;
    mouse.PaintBox1MouseDown(pressAt(p));
    EXPECT_EQ(std::pair(mouse.labelDrag().armed(), tool.presses), std::pair(false, 1));
    mouse.PaintBox1MouseDown(pressAt(p, Qt::RightButton));
    mouse.PaintBox1MouseMove(moveTo(p - QPoint(20, 0), Qt::RightButton));
    EXPECT_EQ(std::pair(tool.moves, view.hpos), std::pair(2, 4)) << "panning still works";
}
