#include "render/LabelOutline.h"
#include "render/LabelText.h"
#include "render/MinuteLabels.h"
#include "render/TrainLabelPlacement.h"

#include "DocumentFixtures.h"
#include "Pixels.h"
#include "RecordingProgress.h"
#include "SampleLine.h"

#include "model/ClockTime.h"
#include "model/Document.h"
#include "render/Fonts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using Pixels::measured;

// Labels on a line of 20 km at z = 4, s = 2: the bottom station line at y = 180.
class LabelsOnALine : public ::testing::Test
{
protected:
    static constexpr double s = 2.0;

    void SetUp() override
    {
        for (const int32_t km : {0, 20})
            SampleLine::addStation(doc, "S", km);
    }

    TrainLabel &add(const char *text, int hours, int minutes, double level, double angle = 0.0)
    {
        return DocumentFixtures::addLabel(doc, text, makeTime(hours, minutes), level, angle);
    }

    // The settings' train-label fonts in the diagram style (bold above z = 2).
    QFont font(bool large) const
    {
        const DocumentSettings &st = doc.settings;
        return Fonts::makeFont(large ? st.trainFontLargeName : st.trainFontSmallName,
                               large ? st.trainFontLargeSize : st.trainFontSmallSize, st.zoom > 2 ? Fonts::Bold : 0);
    }

    TrainLabelPlace place(const TrainLabel &l) const
    {
        TrainLabelFonts fonts(doc.settings);
        return placeTrainLabel(l, fonts, doc.settings, s, doc.maxMetres, doc.settings.showCategory);
    }

    void placeAll(int32_t selector = 0)
    {
        NullProgress progress;
        PlaceTrainLabels(doc, s, selector, doc.settings.smoothing, doc.settings.showCategory, outlines, progress);
    }

    Document doc;
    LabelOutlineList outlines;
};

} // namespace

TEST(LabelText, CategoryCutKeepsTheNumber)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Os 5401", "5401"},
        {"NEx 12 b", "12 b"},
        {"EC12", "12"}, // the search starts at the third character
        {"R1 5", "5"},
        {"1 23", "23"},
        {"Slu\x9e", "\x9e"},
        {"Os", "s"}, // no digit: the last character
        {"", ""},
    };
    for (const auto &[text, cut] : cases)
        EXPECT_EQ(LabelText::withoutCategory(text), QByteArray(cut)) << text;
    EXPECT_EQ(LabelText::displayText("Os 5401", true), QByteArray("Os 5401"));
}

TEST_F(LabelsOnALine, AnchorAndTheVisibleAndAscendingRules)
{
    TrainLabel &l = add("Os 5401", 10, 0, 5.0);
    l.time += 40.0 / 86400; // seconds do not count
    const QSize size = measured(font(false), "Os 5401");
    const int w = size.width();

    l.visible = 0;
    l.ascending = 1;
    TrainLabelPlace p = place(l);
    // 4 z right of the anchor at 1200.
    EXPECT_EQ(QRect(p.x, p.y, p.width, p.height),
              QRect(1216, 20 + 8 * 20 - 8 * 5 - size.height() / 2, w, size.height()));
    l.ascending = 0;
    EXPECT_EQ(place(l).x, 1200 - 2 * (w / 2)) << "ends at the anchor";
    l.visible = 1;
    EXPECT_EQ(place(l).x, 1200 - w / 2) << "centred";
    l.level = 4.3; // y rounds half to even: 140 + 5.6
    EXPECT_EQ(place(l).y, static_cast<int>(std::nearbyint(20 + 160 - 8 * 4.3)) - size.height() / 2);
}

TEST_F(LabelsOnALine, FontFollowsTheCategoryAndTheZoomAndTheCategoryIsCutBeforeMeasuring)
{
    const TrainLabel &r = add("R 601", 10, 0, 5.0);
    const TrainLabel &os = add("Os 601", 10, 0, 5.0);
    EXPECT_EQ(QSize(place(r).width, place(r).height), measured(font(true), "R 601"));
    EXPECT_EQ(place(os).width, measured(font(false), "Os 601").width());
    EXPECT_TRUE(TrainLabelFonts(doc.settings).font("R 601").bold());
    doc.settings.zoom = 2;
    EXPECT_FALSE(TrainLabelFonts(doc.settings).font("R 601").bold());

    doc.settings.showCategory = 0;
    EXPECT_EQ(place(os).text, QByteArray("601"));
    EXPECT_EQ(place(os).width, measured(font(false), "601").width());
}

TEST_F(LabelsOnALine, OutlinesFollowTheImage)
{
    for (const double angle : {0.0, -0.6, 0.6}) {
        doc.clearTrainLabels();
        outlines.clear();
        add("R 601 Praha", 10, 0, 5.0, angle);
        placeAll();
        ASSERT_EQ(outlines.size(), 1u);
        const TrainLabel &l = doc.trainLabels.front();
        const LabelOutline &o = outlines.front();
        const QSize text = measured(font(true), "R 601 Praha");
        EXPECT_EQ(o.number, 1);
        EXPECT_EQ(std::tuple(o.left, o.top, o.right, o.bottom),
                  std::tuple(l.x, l.y, l.x + text.width(), l.y + text.height()))
            << angle;
        EXPECT_EQ(o.p4, o.p1 + (o.p3 - o.p2));
        EXPECT_NEAR(std::hypot(o.p3.x() - o.p2.x(), o.p3.y() - o.p2.y()), text.width(), 1.5) << angle;
        EXPECT_NEAR(std::hypot(o.p1.x() - o.p2.x(), o.p1.y() - o.p2.y()), text.height(), 1.5) << angle;
        // The turned box lies in the turned image; a rising label hangs from
        // the image's bottom, an upright one is its image.
        for (const QPoint &p : {o.p1, o.p2, o.p3, o.p4})
            EXPECT_TRUE(QRect(l.x - 1, l.y - 1, l.width + 3, l.height + 3).contains(p)) << angle;
        EXPECT_EQ(o.p2.y(), angle < 0 ? l.y + l.height : l.y) << angle;
        EXPECT_EQ(o.p3.y() < o.p2.y(), angle < 0) << angle;
        if (angle == 0) {
            EXPECT_EQ(std::tuple(o.p1, o.p2, o.p3),
                      std::tuple(QPoint(l.x, l.y + text.height()), QPoint(l.x, l.y), QPoint(l.x + text.width(), l.y)));
            EXPECT_EQ(QSize(l.width, l.height), text);
        }
    }
}

TEST_F(LabelsOnALine, ChangingOneLabelLeavesTheOthersUntouched)
{
    add("Os 1", 8, 0, 5.0);
    add("Sv 2", 9, 0, 6.0, -0.4);
    add("R 3", 10, 0, 7.0, 0.3).rusici = 1;
    placeAll();
    ASSERT_EQ(outlines.size(), 3u);
    EXPECT_EQ(std::pair(outlines[0].number, outlines[2].number), std::pair(3, 1)) << "newest first";
    const LabelOutlineList before = outlines;
    const std::deque<TrainLabel> labelsBefore = doc.trainLabels;

    // The user turned label 2 and dragged it.
    TrainLabel &changed = doc.trainLabels[1];
    changed.angle = 0.5;
    changed.dropImage();
    changed.time = makeTime(12, 0);
    placeAll(2);
    ASSERT_EQ(outlines.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const LabelOutline &o = outlines[i];
        if (o.number == 2) {
            EXPECT_EQ(std::tuple(o.angle, o.left), std::tuple(0.5, doc.trainLabels[1].x));
            EXPECT_NE(o.left, before[i].left);
        } else {
            EXPECT_EQ(std::tuple(o.left, o.p3, o.angle), std::tuple(before[i].left, before[i].p3, before[i].angle));
            EXPECT_EQ(std::pair(doc.trainLabels[i].imageCodes, doc.trainLabels[i].x),
                      std::pair(labelsBefore[i].imageCodes, labelsBefore[i].x));
        }
    }
    EXPECT_TRUE(doc.trainLabels[1].hasImage());
    EXPECT_NE(doc.trainLabels[1].imageCodes, labelsBefore[1].imageCodes);
}

TEST_F(LabelsOnALine, ImagesFromAFileAreKeptUnlessStale)
{
    TrainLabel &l = add("Os 1", 8, 0, 5.0);
    l.imageCodes = {1, 0}; // an image read from a file
    l.imageValues = {0};
    l.width = 1;
    l.height = 1;
    placeAll(-1);
    EXPECT_EQ(std::pair(outlines.size(), l.x), std::pair(size_t(0), 0)) << "selector -1: not placed";

    placeAll();
    EXPECT_EQ(std::pair(l.imageCodes, l.width), std::pair(std::vector<uint8_t>{1, 0}, 1)) << "an image that is kept";
    EXPECT_NE(l.x, 0);

    doc.labelImagesStale = true;
    doc.settings.smoothing = 1;
    placeAll();
    EXPECT_GT(l.width, 1) << "stale images are made again";
    EXPECT_TRUE(std::any_of(l.imageValues.begin(), l.imageValues.end(), [](uint8_t v) { return v > 0 && v < 255; }))
        << "smoothed";
}

TEST_F(LabelsOnALine, ProgressEveryFiveLabels)
{
    for (int i = 0; i < 12; ++i)
        add("Os 1", 8, i, 5.0);
    RecordingProgress progress;
    PlaceTrainLabels(doc, s, 0, false, true, outlines, progress);
    EXPECT_TRUE(progress.calls.contains("max: 12"));
    EXPECT_EQ(progress.starting("progress"), QStringList({"progress: 0", "progress: 5", "progress: 10"}));
}

TEST_F(LabelsOnALine, MinuteLabelBoxesInTheirFontsAndOnlyWhereTheyMeetTheDiagram)
{
    // Boxes at z = 4 on the 20 km line: y = 180 - 8 d; the diagram is 2930 x 180.
    const QFont timeFont = Fonts::makeFont(doc.settings.timeFontName, doc.settings.timeFontSize);
    const QFont arrowFont = Fonts::makeFont("WINGDINGS 3", doc.settings.timeFontSize);
    const QSize one = measured(timeFont, "1");
    const int w = one.width();
    const int h = one.height();
    using Bits = MinuteLabelLayout::FontBits;
    const std::tuple<const char *, int32_t, double, uint8_t, std::optional<QRect>, uint8_t> cases[] = {
        {"5+2", 300, 10.0, 0, QRect(QPoint(300, 100), measured(timeFont, "5+2")), 0},
        {"p", 400, 10.0, 0, QRect(QPoint(400, 100), measured(arrowFont, Fonts::drawableText("WINGDINGS 3", "p"))),
         Bits::ArrowBit},
        {"7", 500, 12.3, 1, QRect(500, static_cast<int>(std::nearbyint(180 - 8 * 12.3)), w, h), Bits::UnderlineBit},
        {"1", -w, 10.0, 0, QRect(-w, 100, w, h), 0}, // touches x = 0
        {"1", -w - 1, 10.0, 0, std::nullopt, 0},     // wholly left
        {"1", 2930, 10.0, 0, QRect(2930, 100, w, h), 0},
        {"1", 2931, 10.0, 0, std::nullopt, 0},
        {"1", 10, 20.0 + (20.0 + h) / 8, 0, QRect(10, -h, w, h), 0}, // its bottom at y = 0
        {"1", 10, 20.0 + (21.0 + h) / 8, 0, std::nullopt, 0},
        {"1", 10, -1.0, 0, std::nullopt, 0}, // y = 188: below the diagram
    };
    MinuteLabelLayout layout(doc);
    for (const auto &[text, x, distance, half, expected, font] : cases) {
        TimeLabel label;
        label.text = text;
        label.x = x;
        label.distance = distance;
        label.halfMinute = half;
        MinuteLabelLayout::Box box;
        ASSERT_EQ(layout.place(label, 2930, 180, box), expected.has_value()) << text << " at " << x;
        if (expected) {
            EXPECT_EQ(QRect(box.x, box.y, box.width, box.height), *expected) << text << " at " << x;
            EXPECT_EQ(box.font, font) << text;
        }
    }
    EXPECT_EQ(layout.fontName(Bits::ArrowBit), QByteArray("WINGDINGS 3"));
    EXPECT_EQ(layout.fontName(Bits::UnderlineBit), doc.settings.timeFontName);
}
