#include "render/LabelImage.h"

#include "render/Colours.h"
#include "render/Fonts.h"

#include "Pixels.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <vector>

namespace {

using Pixels::filled;
using Pixels::measured;

QFont labelFont(int size = 8, uint8_t style = Fonts::Bold)
{
    return Fonts::makeFont("Times New Roman CE", size, style);
}

// Mean row of the text pixels in the columns from..to.
double meanRow(const QImage &image, int from, int to)
{
    double sum = 0;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = from; x < to; ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                sum += y;
                ++n;
            }
    return n ? sum / n : -1;
}

TrainLabel synthetic(std::vector<uint8_t> codes, std::vector<uint8_t> values, int x, int y, int w, int h,
                     int32_t colour)
{
    TrainLabel l;
    l.imageCodes = std::move(codes);
    l.imageValues = std::move(values);
    l.x = x;
    l.y = y;
    l.width = w;
    l.height = h;
    l.imageColour = colour;
    return l;
}

TrainLabel encoded(const LabelImage &made, bool smooth, int x, int y)
{
    TrainLabel l;
    l.imageColour = made.colour;
    const QSize size = EncodeLabelImage(l, made.bitmap, made.channel, smooth);
    l.width = size.width();
    l.height = size.height();
    l.x = x;
    l.y = y;
    return l;
}

int blend(int old, int v, int colour)
{
    return static_cast<int>(std::nearbyint(old * (v / 255.0) + colour * (1 - v / 255.0)));
}

} // namespace

TEST(MakeLabelImage, UprightTextIsCopiedExactlyButForItsFirstColumn)
{
    const QFont font = labelFont();
    const LabelImage image = MakeLabelImage("Os 5401", false, 0.0, font, false, true);
    const QSize size = measured(font, "Os 5401");
    ASSERT_EQ(image.bitmap.size(), size);

    // The same text drawn upright, without font smoothing.
    QImage upright = filled(size.width(), size.height());
    {
        QFont f = font;
        f.setStyleStrategy(QFont::NoAntialias);
        QPainter p(&upright);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(0, QFontMetrics(f, &upright).ascent(), QStringLiteral("Os 5401"));
    }
    const QRect copied(1, 0, size.width() - 1, size.height());
    EXPECT_TRUE(image.bitmap.copy(copied) == upright.copy(copied));
    EXPECT_EQ(Pixels::notWhite(image.bitmap, QRect(0, 0, 1, size.height())), 0) << "column 0 is not copied";
    EXPECT_GT(Pixels::notWhite(image.bitmap), 20);
}

TEST(MakeLabelImage, ColourAndChannelFollowCategoryAndRusici)
{
    using Case = std::tuple<const char *, bool, int32_t, LabelChannel>;
    for (const auto &[text, rusici, colour, channel] : {Case{"Os 5401", false, Colours::black, LabelChannel::Red},
                                                        Case{"Sv 9", false, Colours::blue, LabelChannel::Red},
                                                        Case{"Sv 9", true, Colours::red, LabelChannel::Blue}}) {
        const LabelImage image = MakeLabelImage(text, rusici, -0.3, labelFont(), false, true);
        EXPECT_EQ(std::pair(image.colour, image.channel), std::pair(colour, channel)) << text;
        // Every pixel white or the colour, which has nothing in the kept channel.
        const QRgb ink = Colours::toQColor(colour).rgb();
        const QRect all = image.bitmap.rect();
        EXPECT_EQ(Pixels::count(image.bitmap, all, [&](QRgb p) { return p != qRgb(255, 255, 255) && p != ink; }), 0);
        EXPECT_GT(Pixels::count(image.bitmap, all, [&](QRgb p) { return p == ink; }), 0) << text;
    }
}

TEST(MakeLabelImage, RotatedTextRisesOrFallsAndKeepsItsPixels)
{
    const QFont font = labelFont(12);
    const int upright = Pixels::notWhite(MakeLabelImage("R 601 Praha", false, 0.0, font, false, true).bitmap);
    for (const double angle : {-0.5, 0.5, -1.2, 1.2}) {
        const LabelImage image = MakeLabelImage("R 601 Praha", false, angle, font, false, true);
        const int w = image.bitmap.width();
        const double left = meanRow(image.bitmap, 0, w / 3);
        const double right = meanRow(image.bitmap, 2 * w / 3, w);
        if (angle < 0)
            EXPECT_GT(left, right) << "negative angles rise to the right";
        else
            EXPECT_LT(left, right) << "positive angles fall to the right";
        EXPECT_GT(Pixels::notWhite(image.bitmap), upright * 7 / 10) << "angle " << angle;
    }
}

TEST(MakeLabelImage, TextsFromTheDocument)
{
    const QFont font = labelFont();
    // A hidden category leaves the number.
    EXPECT_EQ(MakeLabelImage("Os 5401", false, 0.0, font, false, false).bitmap.width(), measured(font, "5401").width());
    // A nonsense angle from a file draws upright.
    EXPECT_EQ(MakeLabelImage("Os 1", false, std::nan(""), font, false, true).bitmap.size(), measured(font, "Os 1"));
    const LabelImage empty = MakeLabelImage("", false, 0.4, font, true, true);
    EXPECT_TRUE(empty.bitmap.isNull());
    TrainLabel label;
    EXPECT_EQ(EncodeLabelImage(label, empty.bitmap, empty.channel, true), QSize(0, 0));
    EXPECT_FALSE(label.hasImage());
}

TEST(EncodeLabelImage, RunsLongerThan255AreSplit)
{
    QImage image = filled(600, 2);
    for (int x = 0; x < 300; ++x)
        image.setPixel(x, 0, qRgb(0, 0, 0));
    TrainLabel label;
    EXPECT_EQ(EncodeLabelImage(label, image, LabelChannel::Red, false), QSize(600, 2));
    EXPECT_EQ(label.imageCodes, (std::vector<uint8_t>{255, 45, 255, 45, 0, 255, 255, 90, 0}));
    EXPECT_EQ(label.imageValues, (std::vector<uint8_t>{0, 0, 255, 255, 255, 255, 255}));
    EXPECT_EQ(label.imageCodeCount(), 9);
}

TEST(ComposeLabelImages, ComposedOntoWhiteEqualsTheBlendedSource)
{
    // A red label kept in the blue channel and a blue one kept in the red.
    for (const bool rusici : {true, false}) {
        const LabelImage made = MakeLabelImage("Rn 1234", rusici, -0.35, labelFont(), true, true);
        std::deque<TrainLabel> labels{encoded(made, true, 10, 5)};
        const TrainLabel &l = labels.front();
        const QSize size(l.width, l.height);

        QImage bitmap = filled(200, 100);
        ComposeLabelImages(labels, bitmap, 0, 0, 199, 99);
        const QColor c = Colours::toQColor(made.colour);
        int coloured = 0;
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x) {
                const QRgb got = bitmap.pixel(x, y);
                const int i = y - l.y;
                const int j = x - l.x;
                if (i < 0 || j < 0 || i >= size.height() || j >= size.width()) {
                    ASSERT_EQ(got, qRgb(255, 255, 255)) << "outside the image at " << x << "," << y;
                    continue;
                }
                int sum = 0;
                for (int k = 0; k < 9; ++k) {
                    const QRgb p = made.bitmap.pixel(j * 3 + k % 3, i * 3 + k / 3);
                    sum += made.channel == LabelChannel::Blue ? qBlue(p) : qRed(p);
                }
                const int v = sum / 9;
                ASSERT_EQ(got, qRgb(blend(255, v, c.red()), blend(255, v, c.green()), blend(255, v, c.blue())))
                    << rusici << " at " << x << "," << y;
                coloured += v < 255;
            }
        EXPECT_GT(coloured, 20) << rusici;
    }
}

TEST(ComposeLabelImages, ALabelPartlyAboveOrLeftOfTheViewIsDrawnFromItsFirstVisibleRow)
{
    const LabelImage made = MakeLabelImage("Os 5401", false, 0.6, labelFont(10), false, true);
    std::deque<TrainLabel> labels{encoded(made, false, 1000, 500)};

    QImage whole = filled(120, 120);
    ComposeLabelImages(labels, whole, 1000, 500, 1119, 619);
    const int dy = 7;
    const int dx = 4;
    QImage part = filled(120, 120);
    ComposeLabelImages(labels, part, 1000 + dx, 500 + dy, 1119 + dx, 619 + dy);
    for (int y = 0; y + dy < 120; ++y)
        for (int x = 0; x + dx < 120; ++x)
            ASSERT_EQ(part.pixel(x, y), whole.pixel(x + dx, y + dy)) << x << "," << y;
    EXPECT_GT(Pixels::notWhite(part), 0);
}

TEST(ComposeLabelImages, NothingIsWrittenPastTheBitmapOrTheViewport)
{
    // 600 pixels of label colour in each of two rows, longer than one run:
    // composed onto bitmaps narrower and lower than the label.
    std::deque<TrainLabel> labels{
        synthetic({255, 255, 90, 0, 255, 255, 90, 0}, {0, 0, 0, 0, 0, 0}, 0, 0, 600, 2, Colours::blue)};
    const auto blueInRow = [](const QImage &image, int y) {
        return Pixels::count(image, QRect(0, y, image.width(), 1), [](QRgb p) { return p == qRgb(0, 0, 255); });
    };
    QImage small = filled(50, 1);
    ComposeLabelImages(labels, small, 0, 0, 5000, 5000);
    EXPECT_EQ(blueInRow(small, 0), 50);
    // A row's pixels end at the bitmap width: nothing spills into the next row.
    std::deque<TrainLabel> oneRow{synthetic({255, 255, 90, 0}, {0, 0, 0}, 0, 0, 600, 1, Colours::blue)};
    QImage twoRows = filled(50, 2);
    ComposeLabelImages(oneRow, twoRows, 0, 0, 5000, 5000);
    EXPECT_EQ(std::pair(blueInRow(twoRows, 0), blueInRow(twoRows, 1)), std::pair(50, 0));

    // A viewport smaller than the bitmap: its last column and row are included.
    QImage wide = filled(700, 3);
    ComposeLabelImages(labels, wide, 0, 0, 9, 0);
    EXPECT_EQ(std::pair(blueInRow(wide, 0), blueInRow(wide, 1)), std::pair(10, 0));
    ComposeLabelImages(labels, wide, 0, 0, 9, 1);
    EXPECT_EQ(blueInRow(wide, 1), 10);
    QImage all = filled(700, 3);
    ComposeLabelImages(labels, all, 0, 0, 699, 2);
    EXPECT_EQ(std::pair(blueInRow(all, 0), blueInRow(all, 1)), std::pair(600, 600))
        << "consecutive runs continue one another";
}

TEST(ComposeLabelImages, BlendsWithWhatIsUnderneathAndSkipsWhatIsNotThere)
{
    std::deque<TrainLabel> labels{synthetic({1, 1, 1, 0}, {0, 128, 255}, 2, 1, 3, 1, Colours::red)};
    QImage bitmap = filled(8, 4, qRgb(101, 151, 200)); // blends to fractions above and below one half
    ComposeLabelImages(labels, bitmap, 0, 0, 7, 3);
    EXPECT_EQ(bitmap.pixel(2, 1), qRgb(255, 0, 0)) << "0: the label colour";
    EXPECT_EQ(bitmap.pixel(3, 1), qRgb(blend(101, 128, 255), blend(151, 128, 0), blend(200, 128, 0)));
    EXPECT_EQ(Pixels::count(bitmap, bitmap.rect(), [](QRgb p) { return p == qRgb(101, 151, 200); }), 30)
        << "255 and the rest: unchanged";

    // Labels without an image or outside the view draw nothing; a damaged
    // image with fewer values than runs draws what it has.
    labels = {synthetic({}, {}, 0, 0, 4, 1, Colours::black), synthetic({4, 0}, {0}, 200, 0, 4, 1, Colours::black),
              synthetic({4, 0}, {0}, -10, 0, 4, 1, Colours::black),
              synthetic({4, 0}, {0}, 0, 300, 4, 1, Colours::black),
              synthetic({2, 2, 0}, {0}, 0, 0, 4, 1, Colours::black)};
    QImage white = filled(20, 5);
    ComposeLabelImages(labels, white, 0, 0, 19, 4);
    EXPECT_EQ(Pixels::notWhite(white), 2);
}
