#include "editing/LabelGeneration.h"

#include "DocumentFixtures.h"
#include "RecordingProgress.h"
#include "SampleLine.h"

#include "model/ClockTime.h"
#include "model/Document.h"
#include "model/Errors.h"
#include "render/Fonts.h"

#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using DocumentFixtures::addTrain;
constexpr double minute = 1.0 / 1440.0;

// Stations: 1 "A" at km 0, 2 "B" at km 10, 3 "C" at km 20, 4 "D" at km 10
// (level with B). z = 4: one kilometre is 8 pixels. s = 2 pixels a minute.
// Text sizes are measured here as on the diagram surface, so the
// expectations hold with any installed font.
class LabelGeneration : public ::testing::Test
{
protected:
    static constexpr double s = 2.0;

    void SetUp() override
    {
        for (const int32_t km : {0, 10, 20, 10})
            SampleLine::addStation(doc, "", km);
    }

    // Time labels in the order they were made (the list holds the newest first).
    std::vector<TimeLabel> timeLabels(double scale = s)
    {
        NullProgress progress;
        MakeTimeLabels(doc, scale, progress);
        return {doc.timeLabels.rbegin(), doc.timeLabels.rend()};
    }

    QFontMetrics metrics(const QByteArray &name, int size, uint8_t style = 0) const
    {
        return QFontMetrics(Fonts::makeFont(name, size, style), &surface);
    }
    int digitHeight() const { return metrics(doc.settings.timeFontName, doc.settings.timeFontSize).height(); }
    int digitWidth(const char *text) const
    {
        return metrics(doc.settings.timeFontName, doc.settings.timeFontSize)
            .horizontalAdvance(QString::fromLatin1(text));
    }
    int nameWidth(const char *name) const
    {
        return metrics("ARIAL CE", 8, Fonts::Bold).horizontalAdvance(QString::fromLatin1(name));
    }

    static int32_t xOf(int hours, int minutes, bool half = false)
    {
        return static_cast<int32_t>(std::trunc((hours * 3600 + minutes * 60 + (half ? 30 : 0)) / 60.0 * s));
    }

    QImage surface{8, 8, QImage::Format_RGB32};
    Document doc;
};

QByteArray textOf(const TimeLabel &l)
{
    return l.text.toByteArray();
}

} // namespace

TEST_F(LabelGeneration, TextIsTheLastMinuteDigitWithTheMark)
{
    for (const auto &[mark, text] : std::vector<std::pair<int32_t, QByteArray>>{
             {0, "5"}, {2, "5+2"}, {-1, "5-1"}, {1234567, "5+12345"}, {-120, "5-120"}}) {
        doc.clearTrains();
        addTrain(doc, "Os 1", {{1, 12, 35, mark}, {2, 12, 47}});
        const auto labels = timeLabels();
        ASSERT_EQ(labels.size(), 2u);
        EXPECT_EQ(textOf(labels[0]), text) << "mark " << mark;
        EXPECT_EQ(textOf(labels[1]), QByteArray("7")) << "the hour is never part of the text";
    }
}

TEST_F(LabelGeneration, HalfMinuteCountsInXAndIsKept)
{
    // s = 4/3 (ratio 1:3 at z = 4): 755.5 minutes give 1007.33 pixels, 764
    // minutes 1018.67, cut to whole pixels.
    addTrain(doc, "Os 1", {{2, 12, 35, 0, 1}, {4, 12, 44}}); // level segment: no shift
    const auto labels = timeLabels(4.0 / 3.0);
    EXPECT_EQ(std::pair(labels[0].x, int(labels[0].halfMinute)), std::pair(1007, 1));
    EXPECT_EQ(std::pair(labels[1].x, int(labels[1].halfMinute)), std::pair(1018, 0));
}

TEST_F(LabelGeneration, DepartureAndArrivalSitBesideTheLine)
{
    const int dh = digitHeight();
    addTrain(doc, "Os 1", {{1, 10, 0}, {2, 10, 10}});
    const auto labels = timeLabels();
    ASSERT_EQ(labels.size(), 2u);
    // Departure: right of the line where it is one text height above the
    // station line, plus a pixel (the heights: EachLabelOnItsSideOfItsPoint).
    const double dxDep = (makeTime(10, 10) * 86400 + 0.001 - 36000) / 60 * s;
    EXPECT_EQ(labels[0].x, 1200 + static_cast<int>(std::nearbyint(dxDep / 80 * (dh + 1))) + 1);
    // Arrival: left of the incoming line, ending a pixel before it.
    const double dxArr = (36600 - makeTime(10, 0) * 86400 - 0.001) / 60 * s;
    EXPECT_EQ(labels[1].x, 1220 - static_cast<int>(std::nearbyint(dxArr / 80 * (dh + 1))) - digitWidth("0") - 1);
}

// Each label in the order made: its text, the point's time and which side
// of its column it takes (-1 ends left of it, 0 starts on it, 1 starts
// right of it), and its station line's kilometre and side (1 above, -1
// below, 0 not looked at).
TEST_F(LabelGeneration, EachLabelOnItsSideOfItsPoint)
{
    struct Label
    {
        const char *text;
        int hours, minutes, side;
        double km;
        int above;
    };
    const std::tuple<const char *, std::vector<DocumentFixtures::Row>, std::vector<Label>> cases[] = {
        {"a falling line swaps the sides",
         {{3, 10, 0}, {2, 10, 10}},
         {{"0", 10, 0, 1, 20, -1}, {"0", 10, 10, -1, 10, 1}}},
        {"a stop: arrival left, departure right; the last point an arrival",
         {{1, 10, 0}, {2, 10, 10}, {2, 10, 12}, {3, 10, 22}},
         {{"0", 10, 0, 1, 0, 1}, {"0", 10, 10, -1, 10, -1}, {"2", 10, 12, 1, 10, 1}, {"2", 10, 22, -1, 20, 0}}},
        {"no origin label at the first stop's station",
         {{1, 10, 0}, {1, 10, 5}, {2, 10, 16}},
         {{"5", 10, 5, 1, 0, 0}, {"6", 10, 16, -1, 10, 0}}},
        {"nor at a kilometre point", {{5 - 1000, 10, 0}, {2, 10, 16}}, {{"6", 10, 16, -1, 10, 0}}},
        {"a level segment gets no shift",
         {{2, 10, 0}, {4, 10, 10}},
         {{"0", 10, 0, 0, 10, -1}, {"0", 10, 10, 0, 10, 1}}},
        {"nor one back in time", {{1, 10, 10}, {2, 10, 0}}, {{"0", 10, 10, 0, 0, 0}, {"0", 10, 0, 0, 10, 0}}},
    };
    const int dh = digitHeight();
    for (const auto &[what, rows, expected] : cases) {
        doc.clearTrains();
        addTrain(doc, "Os 1", rows);
        const auto labels = timeLabels();
        ASSERT_EQ(labels.size(), expected.size()) << what;
        for (size_t i = 0; i < labels.size(); ++i) {
            const Label &e = expected[i];
            const TimeLabel &l = labels[i];
            const int32_t at = xOf(e.hours, e.minutes);
            const int side = l.x > at ? 1 : l.x == at ? 0 : l.x + digitWidth(e.text) < at ? -1 : 2;
            EXPECT_EQ(std::pair(textOf(l), side), std::pair(QByteArray(e.text), e.side)) << what << ", label " << i;
            if (e.above != 0) {
                EXPECT_DOUBLE_EQ(l.distance, e.km + (e.above > 0 ? (dh + 1) / 8.0 : -1 / 8.0)) << what << " " << i;
            }
        }
    }
}

TEST_F(LabelGeneration, AShortDwellGetsTheArrowAndTheDigitAtOnePoint)
{
    doc.settings.timeFontSize = 12; // the arrow and the digits differ in height at this size
    const QFontMetrics arrowFont = metrics("WINGDINGS 3", 12);
    addTrain(doc, "Os 1", {{1, 9, 50}, {2, 10, 10, 0, 1, 1}, {3, 10, 20}});
    const auto labels = timeLabels();
    ASSERT_EQ(labels.size(), 4u);
    const TimeLabel &arrow = labels[1];
    const TimeLabel &digit = labels[2];

    EXPECT_EQ(std::pair(textOf(arrow), int(arrow.halfMinute)), std::pair(QByteArray("p"), 0)) << "never underlined";
    // The arrow's offsets use the arrow's own size.
    const double dx = (36630 - makeTime(9, 50) * 86400 - 0.001) / 60 * s; // 10:10:30
    const int32_t x = xOf(10, 10, true);
    EXPECT_EQ(arrow.x, x - static_cast<int>(std::nearbyint(dx / 80 * (arrowFont.height() + 1)))
                           - arrowFont.horizontalAdvance(Fonts::drawableText("WINGDINGS 3", "p")) - 1);
    EXPECT_DOUBLE_EQ(arrow.distance, 10 - 1 / 8.0);

    EXPECT_EQ(std::pair(textOf(digit), int(digit.halfMinute)), std::pair(QByteArray("0"), 1));
    EXPECT_GT(digit.x, x);
    EXPECT_DOUBLE_EQ(digit.distance, 10 + (digitHeight() + 1) / 8.0);
}

// Rows without a station, as a damaged file may hold: labels stop before
// the first, and what would measure against it is left out.
TEST_F(LabelGeneration, TrainsWithoutRowsToLabelGetNone)
{
    addTrain(doc, "Os 1", {{1, 10, 0}}); // one row: no stops
    addTrain(doc, "Os 2", {});           // no rows at all
    addTrain(doc, "Os 3", {{1, 10, 0}, {2, 10, 10}}).stops[0].station = 0;
    addTrain(doc, "Os 4", {{1, 11, 0}, {2, 11, 10}, {3, 11, 20}, {1, 11, 40}}).stops[1].station = 0;
    const auto labels = timeLabels();
    ASSERT_EQ(labels.size(), 1u) << "the departure from A of Os 4";
    EXPECT_EQ(std::pair(textOf(labels[0]), labels[0].x > xOf(11, 0)), std::pair(QByteArray("0"), true));
    MakeTrainLabels(doc, s);
    ASSERT_EQ(doc.trainLabelCount(), 1);
    EXPECT_EQ(doc.trainLabels.front().text.toByteArray(), QByteArray("Os 4"));
    EXPECT_NEAR(doc.trainLabels.front().angle, -std::atan(80.0 / 20.0), 1e-12) << "its first segment alone";
}

TEST_F(LabelGeneration, MakeTimeLabelsReplacesTheWholeSetAndShowsProgressEveryTenTrains)
{
    for (int i = 0; i < 25; ++i)
        addTrain(doc, "Os 1", {{1, 10, i}, {2, 10, 30 + i}});
    timeLabels();
    RecordingProgress progress;
    MakeTimeLabels(doc, s, progress);
    EXPECT_EQ(doc.timeLabelCount(), 50);
    EXPECT_EQ(std::tuple(progress.calls.first(), progress.calls.count("max: 25"), progress.calls.count("show"),
                         progress.calls.back()),
              std::tuple(QStringLiteral("text: Vytvářím časové popisky vlaku"), 1, 1, QStringLiteral("hide")));
    EXPECT_EQ(progress.starting("progress"), QStringList({"progress: 0", "progress: 10", "progress: 20"}));

    // The count the editors keep, not the list, decides; with 0 no window.
    doc.trainCount = 0;
    RecordingProgress silent;
    MakeTimeLabels(doc, s, silent);
    EXPECT_EQ(std::tuple(silent.calls.contains("show"), silent.calls.contains("hide"), silent.starting("progress")),
              std::tuple(false, false, QStringList({"progress: 0"})));
    EXPECT_EQ(doc.timeLabelCount(), 50) << "every train is labelled all the same";
}

TEST_F(LabelGeneration, TrainLabelsOfARisingAndAFallingFirstSegment)
{
    Train &t = addTrain(doc, "Os 5401", {{1, 10, 0}, {2, 10, 10}, {3, 10, 30}});
    t.rusici = 1;
    MakeTrainLabels(doc, s);
    ASSERT_EQ(doc.trainLabelCount(), 1);
    const TrainLabel &l = doc.trainLabels.front();
    const int w = nameWidth("Os 5401");
    EXPECT_EQ(std::tuple(l.text.toByteArray(), l.ascending, l.rusici, l.visible, l.hasImage()),
              std::tuple(QByteArray("Os 5401"), 1, 1, 1, false));
    EXPECT_DOUBLE_EQ(l.angle, -std::atan(8.0 * 10 / 20.0)) << "10 km up over 10 minutes at 2 px/min";
    EXPECT_DOUBLE_EQ(l.level, w / 8.0) << "one text width above the origin station line";
    // On the line at that level, then 2 minutes to the left.
    EXPECT_NEAR(l.time, makeTime(10, 0) + (l.level / 10.0) * 10 * minute - 2 * minute, 1e-12);

    doc.clearTrains();
    addTrain(doc, "R 601", {{3, 10, 0}, {2, 10, 10}});
    MakeTrainLabels(doc, s);
    ASSERT_EQ(doc.trainLabelCount(), 1);
    const TrainLabel &falling = doc.trainLabels.front();
    EXPECT_DOUBLE_EQ(falling.angle, std::atan(4.0));
    EXPECT_DOUBLE_EQ(falling.level, 19.0) << "one kilometre below the origin station line";
    EXPECT_NEAR(falling.time, makeTime(10, 0) + 5 * minute + std::cos(falling.angle) * nameWidth("R 601") / (1440 * s),
                1e-12);
    EXPECT_EQ(falling.ascending, 0);
}

TEST_F(LabelGeneration, TrainLabelAngleOfTheFirstSegment)
{
    const std::tuple<std::vector<DocumentFixtures::Row>, double, uint8_t> cases[] = {
        {{{2, 10, 0}, {4, 10, 10}}, 0.0, 0},                          // level: the falling rule
        {{{1, 10, 0}, {2, 10, 0}}, 0.0, 0},                           // vertical: a horizontal label
        {{{1, 10, 0}, {1, 10, 5}, {2, 10, 15}}, -std::atan(4.0), 0},  // from the departure after a dwell
        {{{1, 10, 0}, {2, 10, 10}}, -std::atan(80.0 / (9.5 * 2)), 1}, // the half minute counts
    };
    for (const auto &[rows, angle, firstHalf] : cases) {
        doc.clearTrains();
        addTrain(doc, "Os 1", rows).firstHalfMinute = firstHalf;
        MakeTrainLabels(doc, s);
        ASSERT_EQ(doc.trainLabelCount(), 1);
        EXPECT_NEAR(doc.trainLabels.front().angle, angle, 1e-15) << rows.size();
        EXPECT_TRUE(std::isfinite(doc.trainLabels.front().time));
        if (rows.begin()->station == 2) { // level: the falling rule, a kilometre below
            EXPECT_EQ(std::pair(doc.trainLabels.front().level, int(doc.trainLabels.front().ascending)),
                      std::pair(9.0, 0));
        }
    }
    doc.clearTrainLabels();
    MakeLabelsForNewTrains(doc, s);
    EXPECT_DOUBLE_EQ(doc.trainLabels.front().angle, -std::atan(4.0)) << "only MakeTrainLabels counts the half minute";
    // Nothing after the dwell at the origin: no label.
    doc.clearTrains();
    addTrain(doc, "Os 2", {{1, 11, 0}, {1, 11, 5}});
    MakeTrainLabels(doc, s);
    EXPECT_EQ(doc.trainLabelCount(), 0);
}

// Names alike in their first fifteen characters get a label each, by the
// train, not by the text.
TEST_F(LabelGeneration, MakeTrainLabelsStartsAfreshAndNewTrainsKeepEveryPlacedLabel)
{
    addTrain(doc, "Os 1", {{1, 10, 0}, {2, 10, 10}});
    addTrain(doc, "Sp 1234567890123456", {{1, 12, 0}, {2, 12, 10}});
    addTrain(doc, "Sp 1234567890123457", {{1, 13, 0}, {2, 13, 10}}).rusici = 1;
    doc.newTrainLabel().text = "gone";
    MakeTrainLabels(doc, s);
    ASSERT_EQ(doc.trainLabelCount(), 3);
    EXPECT_EQ(std::tuple(doc.trainLabels[0].text.toByteArray(), doc.trainLabels[1].text.toByteArray(),
                         doc.trainLabels[2].text.toByteArray(), int(doc.trainLabels[0].rusici),
                         int(doc.trainLabels[1].rusici)),
              std::tuple(QByteArray("Sp 123456789012"), QByteArray("Sp 123456789012"), QByteArray("Os 1"), 1, 0))
        << "cut to 15, newest first, each with its train's flag";

    TrainLabel &placed = doc.trainLabels.back();
    placed.time = 0.75; // dragged by the user
    placed.level = 3.5;
    doc.trains.front().rusici = 1;
    addTrain(doc, "Os 2", {{1, 11, 0}, {2, 11, 10}});
    addTrain(doc, "Os 3", {{1, 13, 0}}); // no stops: no label
    MakeLabelsForNewTrains(doc, s);
    ASSERT_EQ(doc.trainLabelCount(), 4);
    EXPECT_EQ(doc.trainLabels.front().text.toByteArray(), QByteArray("Os 2"));
    const TrainLabel &kept = doc.trainLabels.back();
    EXPECT_EQ(std::tuple(kept.text.toByteArray(), kept.time, kept.level, int(kept.rusici)),
              std::tuple(QByteArray("Os 1"), 0.75, 3.5, 1))
        << "placed where it was, with the train's current flag";
    MakeLabelsForNewTrains(doc, s);
    EXPECT_EQ(doc.trainLabelCount(), 4) << "a second run adds nothing";
}
