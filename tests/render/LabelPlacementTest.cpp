#include "render/LabelOutline.h"
#include "render/LabelText.h"
#include "render/MinuteLabels.h"
#include "render/TrainLabelPlacement.h"

#include "RecordingProgress.h"

#include "model/ClockTime.h"
#include "model/Document.h"
#include "render/Colours.h"
#include "render/Fonts.h"

#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

QSize measured(const QFont &font, const QString &text)
{
    QImage surface(8, 8, QImage::Format_RGB32);
    const QFontMetrics m(font, &surface);
    return {m.horizontalAdvance(text), m.height()};
}

// A line of 20 km at z = 4 (s = 2): the bottom station line at y = 180.
class TrainLabelPlacing : public ::testing::Test
{
protected:
    static constexpr double s = 2.0;

    void SetUp() override
    {
        for (const int32_t km : {0, 20}) {
            Station st;
            st.name = "X";
            st.km = km;
            doc.stations.push_back(st);
        }
        doc.relinkStationKinds();
        doc.rebuildStationTable();
        doc.settings.zoom = 4;
        doc.noDocument = false;
    }

    TrainLabel &add(const char *text, int hours, int minutes, double level, double angle = 0.0)
    {
        TrainLabel &l = doc.newTrainLabel();
        l.text = text;
        l.time = makeTime(hours, minutes);
        l.level = level;
        l.angle = angle;
        l.visible = 1;
        return l;
    }

    // The "M" font of the settings in the diagram style (bold above z = 2).
    QFont smallFont() const
    {
        return Fonts::makeFont(doc.settings.trainFontSmallName, doc.settings.trainFontSmallSize,
                               doc.settings.zoom > 2 ? Fonts::Bold : 0);
    }
    QFont largeFont() const
    {
        return Fonts::makeFont(doc.settings.trainFontLargeName, doc.settings.trainFontLargeSize,
                               doc.settings.zoom > 2 ? Fonts::Bold : 0);
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
    EXPECT_EQ(LabelText::withoutCategory("Os 5401"), QByteArray("5401"));
    EXPECT_EQ(LabelText::withoutCategory("R 601"), QByteArray("601"));
    EXPECT_EQ(LabelText::withoutCategory("NEx 12 b"), QByteArray("12 b"));
    EXPECT_EQ(LabelText::withoutCategory("EC12"), QByteArray("12")) << "the search starts at the third character";
    EXPECT_EQ(LabelText::withoutCategory("1 23"), QByteArray("23"));
    EXPECT_EQ(LabelText::withoutCategory("Slu\x9e"), QByteArray("\x9e")) << "no digit: the last character";
    EXPECT_EQ(LabelText::withoutCategory("Os"), QByteArray("s"));
    EXPECT_EQ(LabelText::withoutCategory(""), QByteArray());
    EXPECT_EQ(LabelText::displayText("Os 5401", true), QByteArray("Os 5401"));
}

TEST_F(TrainLabelPlacing, AnchorAndTheVisibleAndAscendingRules)
{
    TrainLabel &l = add("Os 5401", 10, 0, 5.0);
    l.time += 40.0 / 86400; // seconds do not count
    const TrainLabelFonts fonts(doc.settings);
    const QSize size = measured(smallFont(), "Os 5401");
    const int w = size.width();

    l.visible = 0;
    l.ascending = 1;
    TrainLabelPlace p = placeTrainLabel(l, fonts, doc.settings, s, doc.maxKm, doc.settings.showCategory);
    EXPECT_EQ(p.x, 1216) << "4 z right of the anchor at 1200";
    EXPECT_EQ(p.x, 1200 - w / 2 + w / 2 + 16);
    EXPECT_EQ(p.y, 20 + 8 * 20 - 8 * 5 - size.height() / 2);
    EXPECT_EQ(p.width, w);
    EXPECT_EQ(p.height, size.height());

    l.ascending = 0;
    p = placeTrainLabel(l, fonts, doc.settings, s, doc.maxKm, doc.settings.showCategory);
    EXPECT_EQ(p.x, 1200 - 2 * (w / 2)) << "ends at the anchor";

    l.visible = 1;
    p = placeTrainLabel(l, fonts, doc.settings, s, doc.maxKm, doc.settings.showCategory);
    EXPECT_EQ(p.x, 1200 - w / 2) << "centred";

    l.level = 4.3; // y rounds half to even: 140 + 5.6
    p = placeTrainLabel(l, fonts, doc.settings, s, doc.maxKm, doc.settings.showCategory);
    EXPECT_EQ(p.y, static_cast<int>(std::nearbyint(20 + 160 - 8 * 4.3)) - size.height() / 2);
}

TEST_F(TrainLabelPlacing, FontFollowsTheCategoryAndTheZoom)
{
    const TrainLabel &r = add("R 601", 10, 0, 5.0);
    const TrainLabel &os = add("Os 601", 10, 0, 5.0);
    const TrainLabel &nex = add("NEx 12", 10, 0, 5.0);
    const TrainLabelFonts fonts(doc.settings);
    EXPECT_EQ(placeTrainLabel(r, fonts, doc.settings, s, doc.maxKm, doc.settings.showCategory).width, measured(largeFont(), "R 601").width());
    EXPECT_EQ(placeTrainLabel(r, fonts, doc.settings, s, doc.maxKm, doc.settings.showCategory).height, measured(largeFont(), "R 601").height());
    EXPECT_EQ(placeTrainLabel(nex, fonts, doc.settings, s, doc.maxKm, doc.settings.showCategory).width, measured(largeFont(), "NEx 12").width());
    EXPECT_EQ(placeTrainLabel(os, fonts, doc.settings, s, doc.maxKm, doc.settings.showCategory).width, measured(smallFont(), "Os 601").width());
    EXPECT_TRUE(fonts.font("R 601").bold());

    doc.settings.zoom = 2;
    const TrainLabelFonts regular(doc.settings);
    EXPECT_FALSE(regular.font("R 601").bold());
    EXPECT_EQ(placeTrainLabel(os, regular, doc.settings, s, doc.maxKm, doc.settings.showCategory).width, measured(smallFont(), "Os 601").width());
}

TEST_F(TrainLabelPlacing, HiddenCategoryIsCutBeforeMeasuring)
{
    doc.settings.showCategory = 0;
    const TrainLabel &l = add("Os 5401", 10, 0, 5.0);
    const TrainLabel &service = add("Slu\x9e", 10, 0, 5.0);
    const TrainLabelFonts fonts(doc.settings);
    const TrainLabelPlace p = placeTrainLabel(l, fonts, doc.settings, s, doc.maxKm, doc.settings.showCategory);
    EXPECT_EQ(p.text, QByteArray("5401"));
    EXPECT_EQ(p.width, measured(smallFont(), "5401").width());
    EXPECT_EQ(placeTrainLabel(service, fonts, doc.settings, s, doc.maxKm, doc.settings.showCategory).text, QByteArray("\x9e"));
}

TEST_F(TrainLabelPlacing, UprightLabelOutlineIsItsTextBox)
{
    add("Os 5401", 10, 0, 5.0, 0.0);
    placeAll();
    ASSERT_EQ(outlines.size(), 1u);
    const TrainLabel &l = doc.trainLabels.front();
    const LabelOutline &o = outlines.front();
    const QSize size = measured(smallFont(), "Os 5401");
    const int x = l.x;
    const int y = l.y;
    EXPECT_EQ(o.number, 1);
    EXPECT_EQ(QRect(QPoint(o.left, o.top), QPoint(o.right, o.bottom)),
              QRect(QPoint(x, y), QPoint(x + size.width(), y + size.height())));
    EXPECT_EQ(o.p1, QPoint(x, y + size.height()));
    EXPECT_EQ(o.p2, QPoint(x, y));
    EXPECT_EQ(o.p3, QPoint(x + size.width(), y));
    EXPECT_EQ(o.p4, QPoint(x + size.width(), y + size.height()));
    EXPECT_EQ(l.width, size.width()) << "the upright image is the text box";
    EXPECT_EQ(l.height, size.height());
}

TEST_F(TrainLabelPlacing, TurnedOutlinesFollowTheImage)
{
    for (const double angle : {-0.6, 0.6}) {
        doc.clearTrainLabels();
        outlines.clear();
        add("R 601 Praha", 10, 0, 5.0, angle);
        placeAll();
        const TrainLabel &l = doc.trainLabels.front();
        const LabelOutline &o = outlines.front();
        const int w = o.right - o.left;
        const int h = o.bottom - o.top;
        EXPECT_EQ(o.p4, o.p1 + (o.p3 - o.p2));
        EXPECT_NEAR(std::hypot(o.p3.x() - o.p2.x(), o.p3.y() - o.p2.y()), w, 1.5) << angle;
        EXPECT_NEAR(std::hypot(o.p1.x() - o.p2.x(), o.p1.y() - o.p2.y()), h, 1.5) << angle;
        // The turned box lies in the turned image.
        for (const QPoint &p : {o.p1, o.p2, o.p3, o.p4}) {
            EXPECT_GE(p.x(), l.x - 1) << angle;
            EXPECT_LE(p.x(), l.x + l.width + 1) << angle;
            EXPECT_GE(p.y(), l.y - 1) << angle;
            EXPECT_LE(p.y(), l.y + l.height + 1) << angle;
        }
        if (angle < 0) {
            EXPECT_EQ(o.p2.y(), l.y + l.height) << "a rising label hangs from the image bottom";
            EXPECT_LT(o.p3.y(), o.p2.y());
        } else {
            EXPECT_EQ(o.p2.y(), l.y);
            EXPECT_GT(o.p3.y(), o.p2.y());
        }
    }
}

TEST_F(TrainLabelPlacing, EveryLabelIsImagedAndOutlinedNewestFirst)
{
    add("Os 1", 8, 0, 5.0);
    add("Sv 2", 9, 0, 6.0, -0.4);
    add("R 3", 10, 0, 7.0, 0.3).rusici = 1;
    placeAll();
    ASSERT_EQ(outlines.size(), 3u);
    EXPECT_EQ(outlines[0].number, 3);
    EXPECT_EQ(outlines[2].number, 1);
    for (const TrainLabel &l : doc.trainLabels) {
        EXPECT_TRUE(l.hasImage());
        EXPECT_GT(l.width, 0);
        EXPECT_GT(l.height, 0);
    }
    EXPECT_EQ(doc.trainLabels[0].imageColour, Colours::red);
    EXPECT_EQ(doc.trainLabels[1].imageColour, Colours::blue);
    EXPECT_EQ(doc.trainLabels[2].imageColour, Colours::black);
    EXPECT_EQ(outlines[1].angle, -0.4);
}

TEST_F(TrainLabelPlacing, ChangingOneLabelLeavesTheOthersUntouched)
{
    add("Os 1", 8, 0, 5.0);
    add("Os 2", 9, 0, 6.0, -0.4);
    add("Os 3", 10, 0, 7.0, 0.3);
    placeAll();
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
            EXPECT_EQ(o.angle, 0.5);
            EXPECT_EQ(o.left, doc.trainLabels[1].x);
            EXPECT_NE(o.left, before[i].left);
            continue;
        }
        EXPECT_EQ(o.left, before[i].left);
        EXPECT_EQ(o.p3, before[i].p3);
        EXPECT_EQ(o.angle, before[i].angle);
    }
    for (const size_t i : {0u, 2u}) {
        EXPECT_EQ(doc.trainLabels[i].imageCodes, labelsBefore[i].imageCodes);
        EXPECT_EQ(doc.trainLabels[i].x, labelsBefore[i].x);
    }
    EXPECT_TRUE(doc.trainLabels[1].hasImage());
    EXPECT_NE(doc.trainLabels[1].imageCodes, labelsBefore[1].imageCodes);

    // A copy put at the head has no outline yet: it gets a new one.
    outlinesAfterLabelInsertedAtHead(outlines);
    TrainLabel &copy = doc.newTrainLabel();
    copy.text = "Os 2";
    copy.time = makeTime(14, 0);
    placeAll(1);
    ASSERT_EQ(outlines.size(), 4u);
    EXPECT_EQ(outlines.front().number, 1);
    EXPECT_EQ(findOutline(outlines, 3)->left, doc.trainLabels[2].x);
}

TEST_F(TrainLabelPlacing, SelectorMinusOneAndExistingImages)
{
    TrainLabel &l = add("Os 1", 8, 0, 5.0);
    l.imageCodes = {1, 0}; // an image read from a file
    l.imageValues = {0};
    l.width = 1;
    l.height = 1;
    placeAll(-1);
    EXPECT_TRUE(outlines.empty());
    EXPECT_EQ(l.x, 0) << "not placed";

    placeAll();
    EXPECT_EQ(l.imageCodes, (std::vector<uint8_t>{1, 0})) << "an image that exists is kept";
    EXPECT_EQ(l.width, 1);
    EXPECT_NE(l.x, 0);

    doc.labelImagesStale = true;
    placeAll();
    EXPECT_GT(l.imageCodeCount(), 2) << "stale images are made again";
    EXPECT_GT(l.width, 1);
}

TEST_F(TrainLabelPlacing, SmoothingShrinksTheSupersampledImage)
{
    doc.settings.smoothing = 1;
    add("Os 5401", 8, 0, 5.0, -0.3);
    placeAll();
    const TrainLabel &l = doc.trainLabels.front();
    const QSize text = measured(smallFont(), "Os 5401");
    EXPECT_NEAR(
        l.height,
        std::sin(std::atan(double(text.height()) / text.width()) + 0.3) * std::hypot(text.width(), text.height()), 3.0);
    int between = 0;
    for (uint8_t v : l.imageValues)
        between += v > 0 && v < 255;
    EXPECT_GT(between, 0);
}

TEST_F(TrainLabelPlacing, ProgressEveryFiveLabels)
{
    for (int i = 0; i < 12; ++i)
        add("Os 1", 8, i, 5.0);
    RecordingProgress progress;
    PlaceTrainLabels(doc, s, 0, doc.settings.smoothing, doc.settings.showCategory, outlines, progress);
    EXPECT_EQ(progress.calls.first(), QStringLiteral("text: Vytvářím popisky vlaků..."));
    EXPECT_TRUE(progress.calls.contains("max: 12"));
    EXPECT_EQ(progress.starting("progress"), QStringList({"progress: 0", "progress: 5", "progress: 10"}));
}

TEST(LabelOutlines, NumbersFollowInsertionsAndRemovals)
{
    LabelOutlineList list;
    for (int n = 3; n >= 1; --n) {
        LabelOutline o;
        o.number = n;
        o.left = 100 * n;
        list.push_back(o);
    }
    outlinesAfterLabelRemoved(list, 2);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(findOutline(list, 2)->left, 300);
    EXPECT_EQ(findOutline(list, 1)->left, 100);
    EXPECT_EQ(findOutline(list, 3), nullptr);
    outlinesAfterLabelInsertedAtHead(list);
    EXPECT_EQ(findOutline(list, 3)->left, 300);
    EXPECT_EQ(findOutline(list, 2)->left, 100);
    EXPECT_EQ(findOutline(list, 1), nullptr);
}

namespace {

// Minute labels on a line of 20 km at z = 4: H = 180.
class MinuteLabelRecording : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const int32_t km : {0, 20}) {
            Station st;
            st.km = km;
            doc.stations.push_back(st);
        }
        doc.relinkStationKinds();
        doc.rebuildStationTable();
        doc.settings.zoom = 4;
        doc.settings.showTimeLabels = 1;
    }

    TimeLabel &add(const char *text, int32_t x, double distance, uint8_t half = 0)
    {
        TimeLabel &t = doc.newTimeLabel();
        t.text = text;
        t.x = x;
        t.distance = distance;
        t.halfMinute = half;
        return t;
    }

    std::vector<MinuteLabelText> record()
    {
        std::vector<MinuteLabelText> out;
        MinuteLabelLayout layout(doc);
        for (const TimeLabel &label : doc.timeLabels)
            if (const auto text = layout.layout(label, cullWidth, 180))
                out.push_back(*text);
        return out;
    }

    QFont timeFont(uint8_t style = 0) const
    {
        return Fonts::makeFont(doc.settings.timeFontName, doc.settings.timeFontSize, style);
    }

    Document doc;
    int32_t cullWidth = 2930;
};

} // namespace

TEST_F(MinuteLabelRecording, DigitArrowAndHalfMinute)
{
    add("5+2", 300, 10.0);
    add("p", 400, 10.0);
    add("7", 500, 12.3, 1);
    const auto texts = record();
    ASSERT_EQ(texts.size(), 3u);
    const MinuteLabelText &half = texts[0];
    const MinuteLabelText &arrow = texts[1];
    const MinuteLabelText &digits = texts[2];

    EXPECT_EQ(digits.text, QByteArray("5+2"));
    EXPECT_EQ(digits.fontName, doc.settings.timeFontName);
    EXPECT_EQ(digits.fontSize, doc.settings.timeFontSize);
    EXPECT_EQ(digits.fontStyle, 0);
    EXPECT_EQ(digits.fontColour, Colours::black);
    EXPECT_TRUE(digits.clearBrush);
    EXPECT_EQ(digits.width, measured(timeFont(), "5+2").width());
    EXPECT_EQ(digits.height, measured(timeFont(), "5+2").height());
    EXPECT_EQ(digits.x, 300);
    EXPECT_EQ(digits.y, 20 + 160 - 80);

    EXPECT_EQ(arrow.fontName, QByteArray("WINGDINGS 3"));
    EXPECT_EQ(arrow.width, measured(Fonts::makeFont("WINGDINGS 3", doc.settings.timeFontSize),
                                    Fonts::drawableText("WINGDINGS 3", "p"))
                               .width());
    EXPECT_EQ(arrow.font().family(), Fonts::makeFont("WINGDINGS 3", 7).family());

    EXPECT_EQ(half.fontStyle, Fonts::Underline);
    EXPECT_TRUE(half.font().underline());
    EXPECT_EQ(half.y, static_cast<int>(std::nearbyint(180 - 8 * 12.3)));
}

TEST_F(MinuteLabelRecording, OnlyBoxesMeetingTheDiagramAreRecorded)
{
    const int w = measured(timeFont(), "1").width();
    const int h = measured(timeFont(), "1").height();
    add("1", -w, 10.0);                  // touches x = 0
    add("1", -w - 1, 10.0);              // wholly left
    add("1", cullWidth, 10.0);           // touches Wc
    add("1", cullWidth + 1, 10.0);       // beyond
    add("1", 10, 20.0 + (20.0 + h) / 8); // its bottom at y = 0
    add("1", 10, 20.0 + (21.0 + h) / 8); // above
    add("1", 10, -1.0);                  // y = 188: below H
    const auto texts = record();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].y + h, 0);
    EXPECT_EQ(texts[1].x, cullWidth);
    EXPECT_EQ(texts[2].x, -w);
}
