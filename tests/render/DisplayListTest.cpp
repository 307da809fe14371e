#include "render/DisplayList.h"
#include "render/Colours.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> stripsHolding(const DisplayList &list, int32_t x0, int32_t x1)
{
    std::vector<int> strips;
    for (int k = 1; k <= list.stripCount(); ++k)
        for (const LinePrimitive &p : list.linesInStrip(k))
            if (p.x0 == x0 && p.x1 == x1)
                strips.push_back(k);
    return strips;
}

TextPrimitive text(int32_t x, int32_t width)
{
    TextPrimitive t;
    t.x = x;
    t.width = width;
    return t;
}

} // namespace

TEST(DisplayList, PrimitivesAreFiledInEveryStripTheyTouchInRecordedOrder)
{
    DisplayList list;
    list.startRebuild(2930, 420, true); // z = 4, s = 2
    EXPECT_EQ(list.stripCount(), 6);
    list.recordLine(400, 100, 1200, 100, LinePrimitive::Solid, Colours::black, 1);
    EXPECT_EQ(stripsHolding(list, 400, 1200), (std::vector<int>{1, 2, 3}));
    list.recordLine(499, 0, 500, 10, LinePrimitive::Solid, Colours::black, 1);
    EXPECT_EQ(stripsHolding(list, 499, 500), (std::vector<int>{1, 2}));
    list.recordLine(2880, 10, 0, 10, LinePrimitive::Solid, Colours::black, 1); // a line back to the left
    EXPECT_EQ(stripsHolding(list, 2880, 0), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    list.recordLine(2900, 10, 2930, 20, LinePrimitive::Solid, Colours::black, 1); // clamped to the last strip
    EXPECT_EQ(stripsHolding(list, 2900, 2930), (std::vector<int>{6}));
    const std::vector<LinePrimitive> strip1 = list.linesInStrip(1);
    ASSERT_EQ(strip1.size(), 3u);
    EXPECT_EQ(std::tuple(strip1[1].x0, strip1[2].x0), std::tuple(499, 2880));

    list.recordText(text(490, 15));
    EXPECT_EQ(std::tuple(list.textsInStrip(1).size(), list.textsInStrip(2).size()), std::tuple(1u, 1u));
    EXPECT_EQ(list.textsInStrip(3).size(), 0u);
}

TEST(DisplayList, ARebuildKeepsTextsOnlyWhenAsked)
{
    DisplayList list;
    list.startRebuild(2930, 420, true);
    list.recordText(text(100, 5));
    list.recordLine(10, 1, 20, 1, 0, Colours::black, 1);
    list.startRebuild(2930, 420, false);
    EXPECT_EQ(std::tuple(list.linesInStrip(1).size(), list.textsInStrip(1).size()), std::tuple(0u, 1u));
    list.startRebuild(2930, 420, true);
    EXPECT_EQ(list.textsInStrip(1).size(), 0u);
}
