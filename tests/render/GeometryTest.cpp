#include "render/DiagramView.h"

#include <gtest/gtest.h>

TEST(Geometry, CoordinatesAtHundredPercent)
{
    DiagramView view;
    view.updateScale(DocumentSettings()); // ratio 1:2, zoom 4
    EXPECT_DOUBLE_EQ(view.scale, 2.0);
    // The width, noon, the bottom and the top station line, the height.
    EXPECT_EQ(std::tuple(Geometry::fullWidth(view.scale), Geometry::x(720, view.scale), Geometry::y(0, 4, 50),
                         Geometry::y(50, 4, 50), Geometry::fullHeight(4, 50)),
              std::tuple(2960, 1440, 420, 20, 420));
    EXPECT_DOUBLE_EQ(Geometry::y(25.5, 4, 50), 20.0 + 8.0 * 24.5);
    view.hpos = 10;
    view.vpos = 7;
    EXPECT_EQ(std::pair(view.screenX(1440), view.screenY(420)), std::pair(40 + 1440 - 50, 420 - 14));
}

TEST(Geometry, ScaleFromRatioAndZoom)
{
    EXPECT_DOUBLE_EQ(DiagramView::scaleOf(2, 2, 4), 4.0);
    EXPECT_DOUBLE_EQ(DiagramView::scaleOf(1, 3, 4), 4.0 / 3.0);
    // A damaged file's ratio of 0 or 1000 is held to 1..100: never a
    // division by zero or a scale of millions.
    EXPECT_DOUBLE_EQ(DiagramView::scaleOf(1, 0, 4), 4.0);
    EXPECT_DOUBLE_EQ(DiagramView::scaleOf(1000, 1, 4), 400.0);
    for (const auto &[zoom, text] : {std::pair{2, "50 %"}, {4, "100 %"}, {5, "125 %"}, {7, "175 %"}, {21, "525 %"}})
        EXPECT_EQ(DiagramView::zoomText(zoom), QString::fromLatin1(text));
}

TEST(Geometry, ScrollRangeEdges)
{
    EXPECT_EQ(Geometry::horizontalMaximum(2960, 1603), 271) << "div truncates";
    EXPECT_EQ(Geometry::horizontalMaximum(2960, 3000), 0);
    // T = H + g + L + 5; hidden when the paint box has room for T + 20.
    const auto range = [](auto r) { return std::pair(r.visible, r.maximum); };
    EXPECT_EQ(range(Geometry::verticalRange(480, 500)), std::pair(false, 0));
    EXPECT_EQ(range(Geometry::verticalRange(481, 500)), std::pair(true, (481 - 250) / 2));
    EXPECT_EQ(std::pair(Geometry::emptyVerticalRange(4, 60).visible, Geometry::emptyVerticalRange(4, 59).visible),
              std::pair(false, true));
}

TEST(Geometry, VisibleBottomStopsAboveTheLegend)
{
    // 2 z D + 20 - 2 vpos, reduced to the paint box height less the gap.
    EXPECT_EQ(std::tuple(Geometry::visibleBottom(4, 50, 10, 900, 35), Geometry::visibleBottom(4, 300, 0, 900, 35),
                         Geometry::visibleBottom(4, 300, 0, 900, 0)),
              std::tuple(400, 865, 900));
}

TEST(Geometry, ScrollPositionsCarryOverZoomSteps)
{
    EXPECT_EQ(Geometry::rescalePosition(100, 272, 420), 154); // 154.4
    EXPECT_EQ(Geometry::rescalePosition(272, 272, 420), 420);
    // A bar whose old maximum was 0 keeps the position 0.
    EXPECT_EQ(Geometry::rescalePosition(5, 0, 420), 0);
}

TEST(Geometry, StripsOfTheDisplayList)
{
    EXPECT_EQ(std::tuple(Geometry::cullWidth(2.0), Geometry::stripCount(499), Geometry::stripCount(500)),
              std::tuple(2930, 1, 2));
    // The largest scale (ratio 100:1 at 525 %) needs 6049 strips.
    EXPECT_EQ(Geometry::stripCount(Geometry::cullWidth(DiagramView::scaleOf(100, 1, 21))), 6049);
}

TEST(Geometry, RoundIsHalfToEvenAndBounded)
{
    constexpr int32_t max = std::numeric_limits<int32_t>::max();
    for (const auto &[v, r] : {std::pair{600.5, 600}, {601.5, 602}, {-2.5, -2}, {1e300, max}, {-1e300, -max - 1}})
        EXPECT_EQ(Geometry::round(v), r) << v;
    EXPECT_EQ(Geometry::round(std::nan("")), 0);
}

TEST(Geometry, AbsurdKilometresDoNotWrap)
{
    EXPECT_EQ(Geometry::fullHeight(21, 2000000000), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Geometry::y(-2000000000, 21, 2000000000), std::numeric_limits<int32_t>::max());
    EXPECT_GT(Geometry::visibleBottom(21, 2000000000, 0, 900, 35), 0);
    // Scroll ranges stay small enough for 2 * vpos and 5 * hpos.
    EXPECT_EQ(Geometry::verticalRange(int64_t{1} << 40, 900).maximum, Geometry::maxScrollPosition);
    EXPECT_EQ(Geometry::horizontalMaximum(std::numeric_limits<int32_t>::max(), 900), Geometry::maxScrollPosition);
}

TEST(Geometry, DiagramFontByZoom)
{
    for (const auto &[zoom, size, bold] :
         {std::tuple{2, 6, false}, {3, 8, true}, {6, 8, true}, {7, 10, true}, {21, 10, true}}) {
        EXPECT_EQ(Geometry::diagramFontSize(zoom), size) << zoom;
        EXPECT_EQ(Geometry::diagramFontBold(zoom), bold) << zoom;
    }
}
