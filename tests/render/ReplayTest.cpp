#include "render/Replay.h"
#include "render/Colours.h"
#include "render/DiagramView.h"
#include "render/DisplayList.h"
#include "render/LineRaster.h"
#include "render/TrainLines.h"

#include "Pixels.h"
#include "SampleLine.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

using Pixels::filled;

bool isColour(const QImage &image, int x, int y, int32_t packed)
{
    return image.pixelColor(x, y) == Colours::toQColor(packed);
}

// Columns of `image` in which row range [y0, y1] has at least one pixel of
// the colour.
std::vector<int> columnsWith(const QImage &image, int y0, int y1, int32_t packed)
{
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = y0; y <= y1; ++y)
            if (isColour(image, x, y, packed)) {
                columns.push_back(x);
                break;
            }
    return columns;
}

// n pixels from `from` in steps of `step`: '#' where the colour is, '.' elsewhere.
std::string pixels(const QImage &image, QPoint from, QPoint step, int n, int32_t packed)
{
    std::string s;
    for (int i = 0; i < n; ++i, from += step)
        s += isColour(image, from.x(), from.y(), packed) ? '#' : '.';
    return s;
}

} // namespace

TEST(WideStyledLine, OffsetByOctant)
{
    using P = std::pair<int, int>;
    const std::pair<QPoint, P> cases[] = {
        {{10, 0}, {0, 1}},     {{0, 10}, {1, 0}},                           // horizontal, vertical
        {{100, 41}, {0, 1}},   {{100, -41}, {0, 1}},                        // |k| <= tan 22.5
        {{100, 42}, {1, -1}},  {{100, 241}, {1, -1}},                       // falls right and down, k <= tan 67.5
        {{100, 242}, {1, 0}},  {{100, -242}, {1, 0}},                       // steeper
        {{100, -241}, {1, 1}}, {{100, -42}, {1, 1}},  {{-100, 50}, {1, 1}}, // k = -0.5 whichever way it runs
    };
    for (const auto &[to, expected] : cases) {
        const StyledLineOffset o = styledLineOffset(QPoint(0, 0), to);
        EXPECT_EQ(P(o.dx, o.dy), expected) << to.x() << "," << to.y();
    }
}

TEST(WideStyledLine, AVerticalDottedLineOfWidthTwoIsThreeDottedLines)
{
    QImage image = filled(40, 60);
    LineRaster raster(image);
    WideStyledLine(raster, QPoint(20, 5), QPoint(20, 55), LinePrimitive::Dot, 2, LineRaster::rgb(Colours::olive));
    EXPECT_EQ(columnsWith(image, 0, 59, Colours::olive), (std::vector<int>{19, 20, 21}));
    // Each of them carries the dots from its own start: one pixel on, two
    // off, side by side.
    std::string dots;
    for (int i = 0; i < 50; ++i)
        dots += i % 3 == 0 ? '#' : '.';
    for (int x : {19, 20, 21})
        EXPECT_EQ(pixels(image, {x, 5}, {0, 1}, 50, Colours::olive), dots) << x;

    // Width 3 is five lines; a point draws nothing.
    image = filled(60, 40);
    LineRaster wide(image);
    WideStyledLine(wide, QPoint(5, 20), QPoint(55, 20), LinePrimitive::Dash, 3, LineRaster::rgb(Colours::olive));
    WideStyledLine(wide, QPoint(10, 5), QPoint(10, 5), LinePrimitive::Dot, 3, qRgb(0, 0, 0));
    EXPECT_EQ(pixels(image, {30, 15}, {0, 1}, 10, Colours::olive), "...#####..");
    EXPECT_EQ(pixels(image, {8, 5}, {1, 0}, 5, Colours::black), ".....");
}

TEST(LineRaster, LinePixels)
{
    QImage image = filled(40, 40);
    LineRaster raster(image);
    // A thin line leaves out its last pixel; a diagonal steps one row per column.
    raster.line(QPoint(2, 5), QPoint(10, 5), 1, Colours::black);
    EXPECT_EQ(pixels(image, {0, 5}, {1, 0}, 12, Colours::black), "..########..");
    EXPECT_EQ(pixels(image, {5, 3}, {0, 1}, 5, Colours::black), "..#..");
    raster.line(QPoint(0, 10), QPoint(5, 15), 1, Colours::blue);
    EXPECT_EQ(pixels(image, {0, 10}, {1, 1}, 6, Colours::blue), "#####.");
    // Width 3 is thick across the line, with round caps at 4 and 31; width 2
    // lies on the line and one pixel below it.
    raster.line(QPoint(5, 20), QPoint(30, 20), 3, Colours::olive);
    EXPECT_EQ(pixels(image, {17, 17}, {0, 1}, 7, Colours::olive), "..###..");
    EXPECT_EQ(columnsWith(image, 19, 21, Colours::olive).size(), 28u);
    raster.line(QPoint(5, 30), QPoint(30, 30), 2, Colours::blue);
    EXPECT_EQ(pixels(image, {17, 28}, {0, 1}, 5, Colours::blue), "..##.");
    // Steep lines sweep their slice along the rows.
    raster.line(QPoint(35, 2), QPoint(35, 38), 3, Colours::blue);
    EXPECT_EQ(pixels(image, {32, 20}, {1, 0}, 6, Colours::blue), "..###.");
}

TEST(LineRaster, PatternsCountPixelsFromTheStart)
{
    QImage image = filled(40, 10);
    LineRaster raster(image);
    raster.styledLine(QPoint(0, 1), QPoint(18, 1), LineRaster::Dash, LineRaster::rgb(Colours::black));
    raster.styledLine(QPoint(0, 3), QPoint(18, 3), LineRaster::DashDot, LineRaster::rgb(Colours::black));
    raster.styledLine(QPoint(18, 5), QPoint(0, 5), LineRaster::Dot, LineRaster::rgb(Colours::black));
    EXPECT_EQ(pixels(image, {0, 1}, {1, 0}, 19, Colours::black), "####..####..####..."); // no last pixel
    EXPECT_EQ(pixels(image, {0, 3}, {1, 0}, 19, Colours::black), "####..#..####..#...");
    EXPECT_EQ(pixels(image, {0, 5}, {1, 0}, 19, Colours::black), "...#..#..#..#..#..#"); // from the right end
}

TEST(Replay, CullingLeavesThePictureAsItWas)
{
    // Viewports that cull by strip and by box and clip what they draw show
    // exactly their part of the whole line replayed at once.
    Document doc;
    SampleLine::fill(doc, {20, 100, 300, 20});
    DiagramView view;
    view.updateScale(doc.settings);
    const int32_t wc = Geometry::cullWidth(view.scale);
    const int32_t h = Geometry::fullHeight(doc.settings.zoom, doc.maxMetres);
    DisplayList list;
    list.startRebuild(wc, h, true);
    for (int x = 60; x < wc; x += 120) // dashed lines, their pattern counted from the top
        list.recordLine(x, 20, x, h, LinePrimitive::Dash, Colours::olive, 1);
    const TrainLines::Frame frame = TrainLines::frameOf(doc, view.scale);
    for (Train &t : doc.trains)
        TrainLines::RecordTrain(t, frame, TrainLines::trainPen(t, doc.settings, {}), list);

    Replayer replayer;
    QImage whole = filled(wc + 10, h + 10);
    replayer.replay(list, whole, {0, 0, wc + 10, h + 10}, false);
    const size_t all = replayer.linesDrawn();
    for (const QRect v : {QRect(0, 0, 700, 300), QRect(480, 100, 600, 500), QRect(1995, 37, 900, 400)}) {
        QImage part = filled(v.width(), v.height());
        replayer.replay(list, part, {v.x(), v.y(), v.x() + v.width(), v.y() + v.height()}, false);
        EXPECT_LT(replayer.linesDrawn(), all);
        EXPECT_TRUE(part == whole.copy(v)) << v.x() << "," << v.y();
    }
}
