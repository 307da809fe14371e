#include "render/InsertOverlay.h"
#include "render/Colours.h"
#include "render/DiagramView.h"
#include "render/LineRaster.h"

#include "model/ClockTime.h"

#include "Pixels.h"
#include "SampleLine.h"

#include <gtest/gtest.h>

namespace {

// Stations at kilometres 0, 10 and 30 at z = 4 and s = 2: a station at d
// lies on row 20 + 8 (30 - d), a time of m minutes on column 40 + 2 m.
class InsertOverlayTest : public ::testing::Test
{
protected:
    Document doc;
    DiagramView view;
    QImage surface = Pixels::filled(600, 300);
    const QRgb green = LineRaster::rgb(Colours::darkGreen);
    const OverlayClip clip{40, 0, 600, 262};

    void SetUp() override
    {
        for (int km : {0, 10, 30})
            SampleLine::addStation(doc, "S", km);
    }

    void draw(std::vector<InsertPoint> points, int direction = 1)
    {
        DrawInsertOverlay(surface, points, direction, doc, view, clip);
    }

    bool isGreen(int x, int y) const { return surface.pixel(x, y) == green; }
    // Pixels of green ink, the smoothed edges of the digits included.
    int greenIn(QRect r) const
    {
        return Pixels::count(surface, r, [](QRgb p) { return qGreen(p) > qRed(p) + 20 && qRed(p) == qBlue(p); });
    }
};

TEST_F(InsertOverlayTest, ASinglePointIsATickWithItsDigitAboveIt)
{
    draw({{2, {}, makeTime(1, 7)}}); // x = 174, y = 180
    for (int y = 176; y <= 184; ++y)
        EXPECT_EQ(isGreen(174, y), y >= 178 && y <= 182) << y;
    EXPECT_GT(greenIn(QRect(176, 150, 20, 28)), 0); // the digit, right of the tick and above it
    EXPECT_EQ(std::tuple(greenIn(QRect(150, 184, 60, 40)), greenIn(QRect(150, 150, 22, 28))), std::tuple(0, 0));
}

TEST_F(InsertOverlayTest, AHalfMinuteDigitIsUnderlined)
{
    EXPECT_EQ(overlayDigit(makeTime(10, 7, 30)).digit, '7');
    EXPECT_TRUE(overlayDigit(makeTime(10, 7, 30)).halfMinute);
    EXPECT_EQ(overlayDigit(makeTime(12, 0)).digit, '0');
    EXPECT_FALSE(overlayDigit(makeTime(12, 0)).halfMinute);

    // The same digit with and without its underline, 100 columns apart.
    draw({{2, {}, makeTime(1, 7)}});
    draw({{2, {}, makeTime(1, 57, 30)}}); // x = 275
    const int plain = greenIn(QRect(176, 150, 20, 28));
    const int underlined = greenIn(QRect(277, 150, 20, 28));
    EXPECT_GT(underlined, plain);
}

TEST_F(InsertOverlayTest, TheLineIsClippedAndDigitsNearTheEdgesAreLeftOut)
{
    // From before the time axis at kilometre 0 (on the bottom edge) up to
    // kilometre 30 at 2:00.
    view.hpos = 4; // columns 20 pixels to the left
    draw({{1, {}, makeTime(0, 5)}, {3, {}, makeTime(2, 0)}});
    // Nothing left of the column, where the origin's digit would begin,
    // and nothing below the bottom edge.
    EXPECT_EQ(std::tuple(greenIn(QRect(0, 0, 40, 300)), greenIn(QRect(0, 263, 600, 37))), std::tuple(0, 0));
    EXPECT_GT(greenIn(QRect(40, 20, 220, 242)), 200); // the line
    EXPECT_GT(greenIn(QRect(230, 22, 30, 30)), 10);   // the arrival's digit below the top station
}

} // namespace
