#include "render/DiagramView.h"

#include <gtest/gtest.h>

TEST(Geometry, CoordinatesAtHundredPercent)
{
    DiagramView view;
    view.updateScale(DocumentSettings()); // ratio 1:2, zoom 4
    EXPECT_DOUBLE_EQ(view.scale, 2.0);
    // The width, noon, the bottom and the top station line, the height.
    EXPECT_EQ(std::tuple(Geometry::fullWidth(view.scale), Geometry::x(720, view.scale),
                         Geometry::yOfMetres(0, 4, 50000), Geometry::yOfMetres(50000, 4, 50000),
                         Geometry::fullHeight(4, 50000)),
              std::tuple(2960, 1440, 420, 20, 420));
    EXPECT_DOUBLE_EQ(Geometry::y(25.5, 4, 50), 20.0 + 8.0 * 24.5);
    view.hpos = 10;
    view.vpos = 7;
    EXPECT_EQ(std::pair(view.screenX(1440), view.screenY(420)), std::pair(40 + 1440 - 50, 420 - 14));
}

// y = Round(20 + 2 z (D - d)) with kilometres to the metre: a station at
// 7.562 km under a top station at 27.348 km, and half pixels to even.
TEST(Geometry, RowsOfPositionsToTheMetre)
{
    for (const auto &[zoom, row] : {std::pair(2, 99), {4, 178}, {21, 851}}) { // 99.144, 178.288, 851.012
        EXPECT_EQ(Geometry::yOfMetres(7562, zoom, 27348), row) << zoom;
        EXPECT_EQ(Geometry::yOfMetres(7562, zoom, 27348), Geometry::round(Geometry::y(7.562, zoom, 27.348))) << zoom;
    }
    // 20.5 and 21.5 at z = 5; -0.5 and -1.5 above the top.
    EXPECT_EQ(std::tuple(Geometry::yOfMetres(10050, 5, 10100), Geometry::yOfMetres(9950, 5, 10100),
                         Geometry::yOfMetres(12050, 5, 10000), Geometry::yOfMetres(12150, 5, 10000)),
              std::tuple(20, 22, 0, -2));
    EXPECT_EQ(std::tuple(Geometry::fullHeight(4, 27348), Geometry::fullHeight(5, 100)), std::tuple(239, 21));
}

TEST(Geometry, ScaleFromRatioAndZoom)
{
    // A damaged file's ratio of 0 or 1000 is held to 1..100: never a
    // division by zero or a scale of millions.
    for (const auto &[x, y, scale] : {std::tuple{2, 2, 4.0}, {1, 3, 4.0 / 3.0}, {1, 0, 4.0}, {1000, 1, 400.0}})
        EXPECT_DOUBLE_EQ(DiagramView::scaleOf(x, y, 4), scale) << x << ":" << y;
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
    EXPECT_EQ(std::tuple(Geometry::visibleBottom(4, 50000, 10, 900, 35), Geometry::visibleBottom(4, 300000, 0, 900, 35),
                         Geometry::visibleBottom(4, 300000, 0, 900, 0)),
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
    constexpr int32_t max = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(Geometry::fullHeight(21, max), 90194333); // 20 + 42 * 2147483.647
    // A kilometre point of a damaged file: ref + 1000 whole kilometres.
    EXPECT_EQ(Geometry::yOfMetres((int64_t{std::numeric_limits<int32_t>::min()} + 1000) * 1000, 21, max), max);
    EXPECT_EQ(Geometry::yOfMetres(int64_t{max} * 1000, 21, -max), std::numeric_limits<int32_t>::min());
    EXPECT_GT(Geometry::visibleBottom(21, max, 0, 900, 35), 0);
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
