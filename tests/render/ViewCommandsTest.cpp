#include "render/ViewCommands.h"
#include "render/HeadlessWindow.h"
#include "render/Renderer.h"

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
    Renderer *renderer = nullptr;
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
        if (commands && old != checked && box == CheckBox::TimeLabels && !renderer->renderInProgress) {
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
    DiagramView view;
    Renderer renderer{doc, view};
    ReportingWindow window{QSize(1000, 1200)};
    ViewCommands commands{doc, view, renderer, window};
    int timeLabelRuns = 0;

    void SetUp() override
    {
        SampleLine::fill(doc, {20, 100, 50, 20});
        view.updateScale(doc.settings);
        window.commands = &commands;
        window.renderer = &renderer;
        commands.makeTimeLabels = [this] { ++timeLabelRuns; };
        doc.redrawNeeded = true;
        commands.render();
    }
};

} // namespace

TEST_F(ViewCommandsTest, ZoomingInToHundredTwentyFivePercent)
{
    const int rebuilds = renderer.stats.rebuilds;
    const int renders = renderer.stats.renders;
    commands.zoomIn();
    EXPECT_EQ(doc.settings.zoom, 5);
    EXPECT_DOUBLE_EQ(view.scale, 2.5);
    EXPECT_EQ(window.zoomText, QStringLiteral("125 %"));
    EXPECT_TRUE(window.isChecked(DiagramWindow::CheckBox::TimeLabels));
    EXPECT_TRUE(doc.settings.showTimeLabels);
    EXPECT_EQ(timeLabelRuns, 1);
    // One rebuild at the new zoom; the check box's own render does not run.
    EXPECT_EQ(window.clicks, 0);
    EXPECT_EQ(renderer.stats.renders, renders + 1);
    EXPECT_EQ(renderer.stats.rebuilds, rebuilds + 1);
    EXPECT_EQ(renderer.displayList().cullWidth(), Geometry::cullWidth(2.5));

    commands.zoomOut();
    EXPECT_EQ(window.zoomText, QStringLiteral("100 %"));
    EXPECT_FALSE(window.isChecked(DiagramWindow::CheckBox::TimeLabels));
    // Zooming in from 3 to 4 leaves the box alone.
    commands.zoomOut();
    window.HeadlessWindow::setChecked(DiagramWindow::CheckBox::TimeLabels, true);
    commands.zoomIn();
    EXPECT_TRUE(window.isChecked(DiagramWindow::CheckBox::TimeLabels));
}

TEST_F(ViewCommandsTest, ZoomStopsAtFiftyAndFiveHundredTwentyFivePercent)
{
    for (int i = 0; i < 30; ++i)
        commands.zoomOut();
    EXPECT_EQ(doc.settings.zoom, 2);
    EXPECT_EQ(window.zoomText, QStringLiteral("50 %"));
    const int renders = renderer.stats.renders;
    commands.zoomOut(); // nothing happens
    EXPECT_EQ(renderer.stats.renders, renders);
    for (int i = 0; i < 30; ++i)
        commands.zoomIn();
    EXPECT_EQ(doc.settings.zoom, 21);
    EXPECT_EQ(window.zoomText, QStringLiteral("525 %"));
}

TEST_F(ViewCommandsTest, ScrollPositionsAreRescaledByZoom)
{
    const int oldMax = window.scrollMaximum(Qt::Horizontal);
    ASSERT_GT(oldMax, 0);
    window.userScroll(Qt::Horizontal, 100);
    const int renders = renderer.stats.renders;
    commands.zoomIn();
    const int newMax = window.scrollMaximum(Qt::Horizontal);
    EXPECT_EQ(newMax, (Geometry::fullWidth(2.5) - 1000) / 5);
    EXPECT_EQ(view.hpos, Geometry::round(100.0 / oldMax * newMax));
    EXPECT_EQ(window.scrollValue(Qt::Horizontal), view.hpos);
    // The bars moved by the program caused no render of their own.
    EXPECT_EQ(renderer.stats.renders, renders + 1);
}

TEST_F(ViewCommandsTest, ABarWithoutRangeKeepsPositionZero)
{
    // The whole diagram fits: ScrollBar2 is hidden with maximum 0.
    ASSERT_FALSE(window.scrollBarVisible(Qt::Vertical));
    commands.zoomIn();
    EXPECT_EQ(view.vpos, 0);
}

TEST_F(ViewCommandsTest, OnlyAktAppliesARatio)
{
    doc.settings.ratioX = 2; // SpinEdit1 changed
    window.userScroll(Qt::Horizontal, 10);
    commands.toggleTimeLabels();
    commands.toggleSmoothing();
    EXPECT_DOUBLE_EQ(view.scale, 2.0);
    EXPECT_EQ(timeLabelRuns, 0);
    commands.refresh();
    EXPECT_DOUBLE_EQ(view.scale, 4.0);
    EXPECT_EQ(timeLabelRuns, 1);
    EXPECT_EQ(renderer.displayList().cullWidth(), Geometry::cullWidth(4.0));
}

TEST_F(ViewCommandsTest, UserScrollingRendersOnce)
{
    const int renders = renderer.stats.renders;
    window.userScroll(Qt::Horizontal, 40);
    EXPECT_EQ(view.hpos, 40);
    EXPECT_EQ(renderer.stats.renders, renders + 1);
    // Moved by the program: no render.
    {
        ProgrammaticScroll bars(window, view);
        bars.setValue(Qt::Horizontal, 60);
    }
    EXPECT_EQ(renderer.stats.renders, renders + 1);
    EXPECT_EQ(view.hpos, 40); // the remembered position stays
    // The next move by the user is drawn again.
    window.userScroll(Qt::Horizontal, 70);
    EXPECT_EQ(view.hpos, 70);
    EXPECT_EQ(renderer.stats.renders, renders + 2);
}

TEST_F(ViewCommandsTest, ArrowKeysMoveTheDiagram)
{
    window.userScroll(Qt::Horizontal, 100);
    EXPECT_TRUE(commands.keyScroll(Qt::Key_Right, Qt::NoModifier));
    EXPECT_EQ(view.hpos, 95);
    EXPECT_TRUE(commands.keyScroll(Qt::Key_Right, Qt::ShiftModifier));
    EXPECT_EQ(view.hpos, 45);
    EXPECT_TRUE(commands.keyScroll(Qt::Key_Left, Qt::ShiftModifier));
    EXPECT_EQ(view.hpos, 95);
    EXPECT_EQ(window.scrollValue(Qt::Horizontal), 95);
    // Held to the bar's range.
    commands.keyScroll(Qt::Key_Right, Qt::ShiftModifier);
    commands.keyScroll(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view.hpos, 0);
    const int max = window.scrollMaximum(Qt::Horizontal);
    window.userScroll(Qt::Horizontal, max - 2);
    commands.keyScroll(Qt::Key_Left, Qt::NoModifier);
    EXPECT_EQ(view.hpos, max);
    EXPECT_FALSE(commands.keyScroll(Qt::Key_A, Qt::NoModifier));
}

TEST_F(ViewCommandsTest, UpAndDownNeedTheVerticalBar)
{
    ASSERT_FALSE(window.scrollBarVisible(Qt::Vertical));
    const int renders = renderer.stats.renders;
    commands.keyScroll(Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(view.vpos, 0);
    EXPECT_EQ(renderer.stats.renders, renders);

    window.setPaintBoxSize(QSize(1000, 300));
    commands.render();
    ASSERT_TRUE(window.scrollBarVisible(Qt::Vertical));
    commands.keyScroll(Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(view.vpos, 5);
    commands.keyScroll(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(view.vpos, std::min(55, window.scrollMaximum(Qt::Vertical)));
    commands.keyScroll(Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(view.vpos, std::min(55, window.scrollMaximum(Qt::Vertical)) - 5);
}

TEST_F(ViewCommandsTest, EscapeSwitchesTheHighlightOff)
{
    const int renders = renderer.stats.renders;
    EXPECT_TRUE(commands.keyScroll(Qt::Key_Escape, Qt::NoModifier));
    EXPECT_EQ(renderer.stats.renders, renders); // nothing highlighted: nothing to do
    renderer.highlightOn = true;
    renderer.foundName = doc.trains.front().name.toByteArray();
    commands.keyScroll(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_FALSE(renderer.highlightOn);
    EXPECT_EQ(renderer.stats.renders, renders + 1);
    EXPECT_EQ(renderer.stats.rebuilds, 2);
}

TEST_F(ViewCommandsTest, CheckBoxesRebuildKeepingTheMinuteTexts)
{
    doc.newTrainLabel().imageCodes = {3, 0};
    doc.trainLabels.front().imageValues = {0};
    commands.toggleTimeLabels();
    EXPECT_TRUE(doc.trainLabels.front().hasImage());
    commands.toggleSmoothing();
    EXPECT_FALSE(doc.trainLabels.front().hasImage());
    doc.trainLabels.front().imageCodes = {3, 0};
    commands.toggleCategory();
    EXPECT_FALSE(doc.trainLabels.front().hasImage());
    EXPECT_EQ(renderer.stats.rebuilds, 4);

    // While the program sets the controls nothing runs.
    doc.trainLabels.front().imageCodes = {3, 0};
    {
        RenderGuard guard(renderer);
        commands.toggleTimeLabels();
        commands.toggleSmoothing();
    }
    EXPECT_TRUE(doc.trainLabels.front().hasImage());
    EXPECT_EQ(renderer.stats.rebuilds, 4);
}

TEST_F(ViewCommandsTest, PaintDoesNotReplay)
{
    const int replays = renderer.stats.replays;
    commands.paint();
    EXPECT_EQ(renderer.stats.replays, replays);
    EXPECT_FALSE(renderer.paintOnly);
    window.setPaintBoxSize(QSize(1100, 650));
    commands.resize();
    EXPECT_EQ(renderer.diagramBitmap().size(), window.clientSize());
    EXPECT_EQ(renderer.stats.replays, replays); // resize does not render
    commands.paint();
    EXPECT_EQ(renderer.stats.replays, replays + 1);
}
