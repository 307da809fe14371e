#include "editing/ViewCommands.h"

#include "editing/Diagram.h"
#include "editing/HeadlessDiagram.h"
#include "render/HeadlessWindow.h"

#include "SampleLine.h"

#include <gtest/gtest.h>

namespace {

// A window whose scroll bars report their changes to the view commands as
// TForm1's do, so the programmatic-scroll guard is exercised.
class ReportingWindow : public HeadlessWindow
{
public:
    using HeadlessWindow::HeadlessWindow;
    ViewCommands *commands = nullptr;
    const Renderer *renderer = nullptr;
    int clicks = 0; // CheckBox1 click operations that ran

    void setScrollValue(Qt::Orientation bar, int value) override
    {
        const int old = scrollValue(bar);
        HeadlessWindow::setScrollValue(bar, value);
        if (commands && scrollValue(bar) != old)
            commands->scrollChanged(bar, scrollValue(bar));
    }
    void setScrollMaximum(Qt::Orientation bar, int maximum) override
    {
        const int old = scrollValue(bar);
        HeadlessWindow::setScrollMaximum(bar, maximum);
        if (commands && scrollValue(bar) != old)
            commands->scrollChanged(bar, scrollValue(bar));
    }
    void setChecked(CheckBox box, bool checked) override
    {
        const bool old = isChecked(box);
        HeadlessWindow::setChecked(box, checked);
        if (commands && old != checked && box == CheckBox::TimeLabels && !renderer->busy()) {
            ++clicks;
            commands->toggleTimeLabels();
        }
    }
    // The user drags a bar.
    void userScroll(Qt::Orientation bar, int value)
    {
        HeadlessWindow::setScrollValue(bar, value);
        commands->scrollChanged(bar, scrollValue(bar));
    }
};

class ViewCommandsTest : public ::testing::Test
{
protected:
    Document doc;
    ReportingWindow window{QSize(1000, 1200)};
    int timeLabelRuns = 0;
    Diagram diagram{doc, window, LabelMakers({}, [this](Document &, double, ProgressSink &) { ++timeLabelRuns; })};
    DiagramView &view = diagram.view();
    const Renderer &renderer = diagram.renderer();
    ViewCommands &commands = diagram.commands();

    void SetUp() override
    {
        SampleLine::fill(doc, {20, 100, 50, 20});
        view.updateScale(doc.settings);
        window.commands = &commands;
        window.renderer = &renderer;
        diagram.render(RenderRequest::rebuildAll());
    }
};

} // namespace

TEST_F(ViewCommandsTest, ZoomStepsRebuildOnceRescaleTheBarsAndSetTheTimeLabelBox)
{
    ASSERT_FALSE(window.scrollBarVisible(Qt::Vertical)); // the whole height fits: the bar keeps 0
    const int oldMax = window.scrollMaximum(Qt::Horizontal);
    window.userScroll(Qt::Horizontal, 100);
    const int rebuilds = renderer.stats().rebuilds;
    const int renders = renderer.stats().renders;
    commands.zoomIn();
    EXPECT_EQ(std::tuple(doc.settings.zoom, view.scale, window.zoomText), std::tuple(5, 2.5, QStringLiteral("125 %")));
    EXPECT_EQ(
        std::tuple(window.isChecked(DiagramWindow::CheckBox::TimeLabels), doc.settings.showTimeLabels, timeLabelRuns),
        std::tuple(true, 1, 1));
    // One rebuild at the new zoom: neither the check box's own render nor the
    // bars moved by the program run.
    EXPECT_EQ(std::tuple(window.clicks, renderer.stats().renders, renderer.stats().rebuilds),
              std::tuple(0, renders + 1, rebuilds + 1));
    const int newMax = window.scrollMaximum(Qt::Horizontal);
    EXPECT_EQ(std::tuple(view.hpos, window.scrollValue(Qt::Horizontal), view.vpos),
              std::tuple(Geometry::rescalePosition(100, oldMax, newMax), view.hpos, 0));

    commands.zoomOut();
    EXPECT_FALSE(window.isChecked(DiagramWindow::CheckBox::TimeLabels));
    // Zooming in from 3 to 4 leaves the box alone.
    commands.zoomOut();
    window.HeadlessWindow::setChecked(DiagramWindow::CheckBox::TimeLabels, true);
    commands.zoomIn();
    EXPECT_TRUE(window.isChecked(DiagramWindow::CheckBox::TimeLabels));

    // The steps stop at 50 % and 525 %; a step past the end does nothing.
    for (int i = 0; i < 30; ++i)
        commands.zoomOut();
    const int before = renderer.stats().renders;
    commands.zoomOut();
    EXPECT_EQ(std::pair(doc.settings.zoom, renderer.stats().renders), std::pair(uint8_t(2), before));
    for (int i = 0; i < 30; ++i)
        commands.zoomIn();
    EXPECT_EQ(doc.settings.zoom, 21);
}

// Steps whose rebuild waits (a held key, the wheel) end where the same
// steps taken one by one end, in one rebuild; a render asked for meanwhile
// (here a scroll key) makes the owed rebuild first.
TEST(ViewCommands, StepsRebuiltLaterEndAsStepsRebuiltAtOnce)
{
    using Rebuild = ViewCommands::Rebuild;
    HeadlessDiagram now(QSize(900, 500));
    HeadlessDiagram later(QSize(900, 500));
    for (HeadlessDiagram *d : {&now, &later}) {
        SampleLine::fill(d->doc, {20, 100, 80, 20});
        d->view.updateScale(d->doc.settings);
        d->diagram.makeTrainLabels();
        d->diagram.makeTimeLabels();
        d->diagram.render(RenderRequest::rebuildAll());
        d->view.hpos = d->window.scrollMaximum(Qt::Horizontal) / 3;
        d->view.vpos = d->window.scrollMaximum(Qt::Vertical) / 2;
        d->diagram.render();
    }
    const auto state = [](HeadlessDiagram &d) {
        return std::tuple(d.doc.settings.zoom, d.view.hpos, d.view.vpos, d.window.zoomText,
                          d.window.isChecked(DiagramWindow::CheckBox::TimeLabels), d.diagram.surface());
    };
    const int rebuilds = later.renderer.stats().rebuilds;
    for (int i = 0; i < 3; ++i) {
        now.commands.zoomIn();
        later.commands.zoomIn(Rebuild::Later);
    }
    now.commands.zoomOut();
    later.commands.zoomOut(Rebuild::Later);
    EXPECT_EQ(std::tuple(later.renderer.stats().rebuilds, later.commands.zoomOwed()), std::tuple(rebuilds, true));
    EXPECT_TRUE(later.commands.settleZoom());
    EXPECT_EQ(std::tuple(later.renderer.stats().rebuilds, later.commands.settleZoom()),
              std::tuple(rebuilds + 1, false));
    EXPECT_EQ(state(later), state(now));

    now.commands.zoomOut();
    later.commands.zoomOut(Rebuild::Later);
    now.commands.keyScroll(Qt::Key_Left, {});
    later.commands.keyScroll(Qt::Key_Left, {});
    EXPECT_EQ(std::tuple(later.renderer.stats().rebuilds, later.commands.zoomOwed()), std::tuple(rebuilds + 2, false));
    EXPECT_EQ(state(later), state(now));

    // A step of the wheel keeps the minute and the distance under the
    // pointer where they were, to half a scroll unit.
    const auto under = [&now](QPoint p) {
        return std::pair((p.x() - DiagramView::stationColumn + DiagramView::hUnit * static_cast<double>(now.view.hpos))
                             / now.view.scale,
                         (p.y() - DiagramView::topMargin + DiagramView::vUnit * static_cast<double>(now.view.vpos))
                             / now.doc.settings.zoom);
    };
    const QPoint pointer(600, 300);
    const auto before = under(pointer);
    now.commands.zoomAt(pointer, true, Rebuild::Now);
    EXPECT_NEAR(under(pointer).first, before.first, 2.5 / now.view.scale);
    EXPECT_NEAR(under(pointer).second, before.second, 1.0 / now.doc.settings.zoom);
}

TEST_F(ViewCommandsTest, OnlyAktAppliesARatio)
{
    doc.settings.ratioX = 2; // SpinEdit1 changed
    window.userScroll(Qt::Horizontal, 10);
    commands.toggleTimeLabels();
    commands.toggleSmoothing();
    EXPECT_EQ(std::pair(view.scale, timeLabelRuns), std::pair(2.0, 0));
    commands.refresh();
    EXPECT_EQ(std::pair(view.scale, timeLabelRuns), std::pair(4.0, 1));
    EXPECT_EQ(renderer.displayList().cullWidth(), Geometry::cullWidth(4.0));
}

TEST_F(ViewCommandsTest, UserScrollingRendersOnce)
{
    const int renders = renderer.stats().renders;
    window.userScroll(Qt::Horizontal, 40);
    EXPECT_EQ(std::pair(view.hpos, renderer.stats().renders), std::pair(40, renders + 1));
    {
        ProgrammaticScroll bars(window, view);
        bars.setValue(Qt::Horizontal, 60);
    }
    EXPECT_EQ(std::pair(view.hpos, renderer.stats().renders), std::pair(40, renders + 1)) << "moved by the program";
    window.userScroll(Qt::Horizontal, 70);
    EXPECT_EQ(std::pair(view.hpos, renderer.stats().renders), std::pair(70, renders + 2));
}

TEST_F(ViewCommandsTest, KeysScrollWithinTheBars)
{
    window.userScroll(Qt::Horizontal, 100);
    const std::pair<Qt::Key, Qt::KeyboardModifiers> steps[] = {{Qt::Key_Right, Qt::NoModifier},
                                                               {Qt::Key_Right, Qt::ShiftModifier},
                                                               {Qt::Key_Left, Qt::ShiftModifier},
                                                               {Qt::Key_Right, Qt::ShiftModifier},
                                                               {Qt::Key_Right, Qt::ShiftModifier}};
    std::vector<int> positions;
    for (const auto &[key, modifiers] : steps) {
        EXPECT_TRUE(commands.keyScroll(key, modifiers));
        positions.push_back(view.hpos);
    }
    EXPECT_EQ(positions, (std::vector<int>{95, 45, 95, 45, 0})) << "held to the bar's range";
    const int max = window.scrollMaximum(Qt::Horizontal);
    window.userScroll(Qt::Horizontal, max - 2);
    commands.keyScroll(Qt::Key_Left, Qt::NoModifier);
    EXPECT_EQ(view.hpos, max);
    EXPECT_FALSE(commands.keyScroll(Qt::Key_A, Qt::NoModifier));

    // Up and down need the vertical bar.
    const int renders = renderer.stats().renders;
    commands.keyScroll(Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(std::pair(view.vpos, renderer.stats().renders), std::pair(0, renders));
    window.setPaintBoxSize(QSize(1000, 300));
    diagram.render();
    ASSERT_GT(window.scrollMaximum(Qt::Vertical), 55);
    std::vector<int> rows;
    for (const auto &[key, modifiers] :
         {std::pair(Qt::Key_Up, Qt::NoModifier), {Qt::Key_Up, Qt::ShiftModifier}, {Qt::Key_Down, Qt::NoModifier}}) {
        commands.keyScroll(key, modifiers);
        rows.push_back(view.vpos);
    }
    EXPECT_EQ(rows, (std::vector<int>{5, 55, 50}));
}

TEST_F(ViewCommandsTest, EscapeSwitchesTheHighlightOff)
{
    const int renders = renderer.stats().renders;
    EXPECT_TRUE(commands.keyScroll(Qt::Key_Escape, Qt::NoModifier));
    EXPECT_EQ(renderer.stats().renders, renders) << "nothing highlighted: nothing to do";
    diagram.highlight(doc.trains.front().name.toByteArray());
    ASSERT_TRUE(renderer.highlightRecorded());
    commands.keyScroll(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(std::tuple(diagram.highlighting().on, renderer.highlightRecorded(), renderer.stats().rebuilds),
              std::tuple(false, false, 3));
}

TEST_F(ViewCommandsTest, CheckBoxesRebuildKeepingTheMinuteTexts)
{
    TrainLabel &label = doc.newTrainLabel();
    const auto giveImage = [&] {
        label.imageCodes = {3, 0};
        label.imageValues = {0};
    };
    giveImage();
    // The minute-text box keeps the images; smoothing and category make them again.
    commands.toggleTimeLabels();
    EXPECT_TRUE(label.hasImage());
    commands.toggleSmoothing();
    EXPECT_FALSE(label.hasImage());
    giveImage();
    commands.toggleCategory();
    EXPECT_EQ(std::pair(label.hasImage(), renderer.stats().rebuilds), std::pair(false, 4));

    // While the program sets the controls nothing runs.
    giveImage();
    {
        const RenderGuard guard = diagram.holdRenders();
        commands.toggleTimeLabels();
        commands.toggleSmoothing();
    }
    EXPECT_EQ(std::pair(label.hasImage(), renderer.stats().rebuilds), std::pair(true, 4));
}
