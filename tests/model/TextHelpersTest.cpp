#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Document.h"
#include "model/Errors.h"
#include "model/Kilometres.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

TEST(Cp1250, EveryByteSurvivesARoundTripAndCzechLettersHaveTheirBytes)
{
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, static_cast<char>(b));
        const QString text = cp1250::toUnicode(one);
        ASSERT_EQ(text.size(), 1) << b;
        bool ok = false;
        EXPECT_EQ(cp1250::fromUnicode(text, &ok), one) << b;
        EXPECT_TRUE(ok) << b;
    }
    EXPECT_EQ(cp1250::fromUnicode(QStringLiteral("řž")), QByteArray("\xF8\x9E"));
    EXPECT_EQ(cp1250::toUnicode(QByteArray("\x80\x8A\x8D")), QStringLiteral("€ŠŤ"));
}

TEST(Cp1250, CharactersOutsideTheCodePageAreReported)
{
    bool ok = true;
    EXPECT_EQ(cp1250::fromUnicode(QStringLiteral("a→b"), &ok), QByteArray("a?b"));
    EXPECT_FALSE(ok);
    EXPECT_FALSE(cp1250::canEncode(QStringLiteral("台北")));
    EXPECT_TRUE(cp1250::canEncode(QStringLiteral("Liberec-Rochlice")));
}

TEST(UpperCaseCz, AsciiAndEveryCzechLetter)
{
    EXPECT_EQ(upperCaseCz(QByteArrayView("os 1234 abc-z")), QByteArray("OS 1234 ABC-Z"));
    const QString lower = QStringLiteral("áčďéěíĺňóřšťúůâăäćęëîđńôőöűüýţž");
    const QString upper = QStringLiteral("ÁČĎÉĚÍĹŇÓŘŠŤÚŮÂĂÄĆĘËÎĐŃÔŐÖŰÜÝŢŽ");
    const QByteArray l = cp1250::fromUnicode(lower);
    const QByteArray u = cp1250::fromUnicode(upper);
    ASSERT_EQ(l.size(), u.size());
    for (qsizetype i = 0; i < l.size(); ++i)
        EXPECT_EQ(upperCaseCz(static_cast<uint8_t>(l[i])), static_cast<uint8_t>(u[i])) << lower.mid(i, 1).toStdString();
    // Capitals, digits and signs stay as they are.
    EXPECT_EQ(std::tuple(upperCaseCz(u), upperCaseCz(QByteArrayView("0-9 +;"))), std::tuple(u, QByteArray("0-9 +;")));
}

TEST(ClockTime, FormatRightAlignsTheHourAndWrapsTheDay)
{
    EXPECT_EQ(formatClockTime(makeTime(7, 5)), QStringLiteral(" 7:05"));
    EXPECT_EQ(formatClockTime(makeTime(12, 0)), QStringLiteral("12:00"));
    EXPECT_EQ(formatClockTime(makeTime(9, 5, 30), true), QStringLiteral(" 9:05:30"));
    EXPECT_EQ(formatClockTime(1.0 + makeTime(0, 10)), QStringLiteral(" 0:10"));
    // A value a hair below a minute boundary still reads as that minute.
    EXPECT_EQ(minuteOfDay(makeTime(8, 15) - 1e-12), 8 * 60 + 15);
    EXPECT_EQ(decodeTime(makeTime(12, 35, 30)).seconds, 30);
}

TEST(ClockTime, TrainTimesCountTheHoursOnPastMidnight)
{
    const std::tuple<double, bool, const char *> rows[] = {
        {makeTime(9, 5, 30), true, " 9:05:30"}, {1.0, false, "24:00"},   {1.0 + makeTime(0, 12, 30), true, "24:12:30"},
        {2.0 + makeTime(3, 0), false, "51:00"}, {-1.0 / 1440, true, ""}, {std::nan(""), true, ""},
    };
    for (const auto &[time, seconds, text] : rows)
        EXPECT_EQ(formatTrainTime(time, seconds), QString::fromLatin1(text)) << text;
}

TEST(ClockTime, ParseValidTexts)
{
    // digits: parseClockDigits, else parseClockText
    using Case = std::tuple<const char *, bool, bool, double>;
    for (const auto &[text, seconds, digits, expected] :
         {Case{"0705", false, true, makeTime(7, 5)}, Case{"1430", false, true, makeTime(14, 30)},
          Case{" 705", false, true, makeTime(7, 5)}, // leading blank
          Case{"235959", true, true, makeTime(23, 59, 59)}, Case{" 6:12", false, false, makeTime(6, 12)},
          Case{"12:30:15", true, false, makeTime(12, 30, 15)}, Case{"08.05", false, false, makeTime(8, 5)}}) {
        const double got =
            digits ? parseClockDigits(QByteArrayView(text), seconds) : parseClockText(QByteArrayView(text), seconds);
        EXPECT_EQ(got, expected) << text; // exact, not near
    }
}

TEST(ClockTime, InvalidTextsAreConversionErrors)
{
    // hour 25, hour 70, minute 60, letters, no minutes, nothing, "1-" is not a number
    for (const char *text : {"2561", "705", "1260", "ab12", "12", "", "1-05"})
        EXPECT_THROW(parseClockDigits(QByteArrayView(text)), ConversionError) << text;
    EXPECT_THROW(parseClockDigits(QByteArrayView("120099"), true), ConversionError);
    EXPECT_THROW(parseClockText(QByteArrayView("24:00")), ConversionError);
    EXPECT_THROW(parseClockText(QByteArrayView("6:12")), ConversionError); // "6:" is not a number
    EXPECT_THROW(parseClockText(QStringLiteral("1ř:00")), ConversionError);
    // Only decimal digits: no '$' (hexadecimal), sign or blank in a part,
    // but for the hour's first digit.
    for (const char *text : {"10:$9", "10:+5", "10: 5", "$A:05", "1 :05"})
        EXPECT_THROW(parseClockText(QByteArrayView(text)), ConversionError) << text;
    EXPECT_THROW(parseClockDigits(QByteArrayView("12 5")), ConversionError);
}

TEST(ClockTime, ParseIntegerAsTheRuntimeDoes)
{
    for (const auto &[text, value] :
         {std::pair{" 7", 7LL}, {"+12", 12LL}, {"$1F", 31LL}, {"-2147483648", -2147483648LL}})
        EXPECT_EQ(parseInteger(QByteArrayView(text)), value) << text;
    int32_t v = 0;
    for (const char *bad : {"7 ", "", "-", "2147483648", "1.5"})
        EXPECT_FALSE(tryParseInteger(QByteArrayView(bad), v)) << bad;
}

TEST(Kilometres, ShownWithADecimalCommaAndNoTrailingZeros)
{
    const std::pair<int64_t, const char *> cases[] = {
        {0, "0"},     {12000, "12"},   {7500, "7,5"},   {24151, "24,151"},          {7050, "7,05"},
        {3, "0,003"}, {-350, "-0,35"}, {-12000, "-12"}, {INT32_MAX, "2147483,647"}, {INT32_MIN, "-2147483,648"},
    };
    for (const auto &[metres, text] : cases)
        EXPECT_EQ(Kilometres::text(metres), QString::fromLatin1(text)) << metres;
}

// The whole kilometre a file's station record carries, and the metres a
// record's kilometre gives.
TEST(Kilometres, WholeKilometresBothWays)
{
    const std::pair<int64_t, int32_t> nearest[] = {{7562, 8},   {7499, 7},   {7500, 8},   {6500, 6},
                                                   {-6500, -6}, {-7500, -8}, {-7501, -8}, {0, 0}};
    for (const auto &[metres, km] : nearest)
        EXPECT_EQ(Kilometres::nearestWhole(metres), km) << metres;
    const std::pair<int64_t, int32_t> whole[] = {
        {27, 27000}, {-999, -999000}, {2147483, 2147483000}, {2147484, 2147483000}, {-3000000000LL, -2147483000}};
    for (const auto &[km, metres] : whole)
        EXPECT_EQ(Kilometres::wholeToMetres(km), metres) << km;
}

// What the editor's own limit does not decide: 32-bit metres, a sign, blanks.
TEST(Kilometres, ParseBeyondTheLimitOfAPosition)
{
    using E = Kilometres::ParseError;
    const auto p = [](const char *text) { return Kilometres::parse(QString::fromLatin1(text), 3000000); };
    EXPECT_EQ(std::pair(p("2147483,647").metres, p("2147483,647").error), std::pair(INT32_MAX, E::None));
    EXPECT_EQ(p("2147483,648").error, E::OutOfRange);
    EXPECT_EQ(p("99999999999999999999").error, E::OutOfRange);
    EXPECT_EQ(std::pair(p(" +7.5 ").metres, p("-,5").metres), std::pair(7500, -500));
    EXPECT_EQ(std::tuple(p("   ").error, p("-").error, p(",").error),
              std::tuple(E::Empty, E::NotANumber, E::NotANumber));
}

namespace {

void setStations(Document &doc, const std::vector<int32_t> &metres)
{
    doc.stations.clear();
    for (int32_t m : metres)
        doc.stations.push_back({"S", m});
}

} // namespace

TEST(TrainRows, TheFirstRowLivesInTheTrainRecordAndTheRestInItsStops)
{
    Train t;
    Document::addRow(t, 3, 0.25, 2, 1, 0);
    EXPECT_TRUE(t.stops.empty()) << "a one-row train has no stops";
    EXPECT_EQ(std::tuple(t.firstStation, t.firstTime, t.firstMark, t.firstHalfMinute, t.rowCount()),
              std::tuple(3, 0.25, 2, 1, 1));
    Document::addRow(t, 4, 0.26, 0, 0, 1);
    Document::addRow(t, -975, 0.27, -1, 0, 0);
    ASSERT_EQ(t.stops.size(), 2u);
    EXPECT_EQ(std::tuple(t.stops[0].station, t.stops[0].shortDwell, t.row(2).mark, t.rowCount()),
              std::tuple(4, 1, -1, 3));
    t.setRow(0, {5, 0.5, 1, 1, 1});
    t.setRow(1, {6, 0.6, 2, 0, 1});
    EXPECT_EQ(std::tuple(t.firstStation, t.firstShortDwell, t.stops[0].station, t.stops[0].mark),
              std::tuple(5, 1, 6, 2));
}

TEST(StationTable, MaxMetresIsTheLargestPositionAndNeverBelowZero)
{
    Document doc;
    const std::pair<std::vector<int32_t>, int32_t> cases[] = {
        {{}, 0}, {{-10000, -2000}, 0}, {{40000, 55000, 12000, -3000}, 55000}, {{7562, 7561, 3365}, 7562}};
    for (const auto &[metres, maxMetres] : cases) {
        setStations(doc, metres);
        doc.maxMetres = 99;
        doc.rebuildStationTable();
        EXPECT_EQ(doc.maxMetres, maxMetres);
    }
    EXPECT_EQ(std::pair(doc.stationMetres[1], doc.stationMetres[3]), std::pair(7562, 3365));
}

TEST(StationTable, TheThousandAndFirstStationIsARangeError)
{
    Document doc;
    for (int i = 1; i <= 1001; ++i)
        doc.stations.push_back({"S", i * 1000});
    EXPECT_THROW(doc.rebuildStationTable(), RangeError);
    doc.stations.pop_back();
    EXPECT_NO_THROW(doc.rebuildStationTable());
    EXPECT_EQ(doc.maxMetres, 1000000);
}

TEST(RowMetres, KilometrePointsAreWholeKilometresHeldToTheLine)
{
    Document doc;
    setStations(doc, {0, 50500});
    doc.rebuildStationTable();
    // Kilometres 0, -999 (below the line), 25, 50 and 999 (above it);
    // station 2; the lowest reference, far below.
    for (const auto &[ref, metres] :
         {std::pair(-1000, 0), {-1999, 0}, {-975, 25000}, {-950, 50000}, {-1, 50500}, {2, 50500}, {INT32_MIN, 0}})
        EXPECT_EQ(doc.rowMetres(ref), metres) << ref;
    EXPECT_THROW(doc.rowMetres(0), RangeError);
    EXPECT_THROW(doc.rowMetres(1001), RangeError);
}

TEST(Clearing, TimeLabelsGoWithTrainsOnlyWhenThereWereTrains)
{
    Document doc;
    doc.newTimeLabel().text = "5";
    doc.clearTrains();
    EXPECT_EQ(doc.timeLabelCount(), 1);
    doc.trains.emplace_back();
    doc.clearTrains();
    EXPECT_EQ(std::pair(doc.timeLabelCount(), doc.trains.size()), std::pair(0, size_t(0)));
}

TEST(Kinds, RelinkingFindsTheFirstRecordAndMakesHaltsForTheRest)
{
    Document doc;
    setStations(doc, {0, 5, 9});
    doc.appendKind({.stationIndex = 1, .dopravna = 1});
    doc.appendKind({.stationIndex = 3, .hradlo = 1});
    doc.appendKind({.stationIndex = 3, .odbocka = 1});
    doc.relinkStationKinds();
    ASSERT_EQ(doc.stationKinds.size(), 4u);
    EXPECT_EQ(std::pair(doc.stations[0].kind->dopravna, doc.stations[2].kind->hradlo),
              std::pair(uint8_t(1), uint8_t(1)));
    // Station 2 had none: a halt record, put at the head.
    const StationKind *made = doc.stations[1].kind;
    EXPECT_EQ(&doc.stationKinds.front(), made);
    EXPECT_EQ(std::tuple(made->stationIndex, made->zastavka, made->dopravna), std::tuple(2, 1, 0));

    // Plain linking makes nothing; clearing the kinds leaves no dangling link.
    doc.stationKinds.pop_front();
    doc.linkStationKinds();
    EXPECT_EQ(std::tuple(doc.stations[1].kind, doc.stationKinds.size()), std::tuple(nullptr, size_t(3)));
    doc.clearStationKinds();
    EXPECT_EQ(doc.stations[0].kind, nullptr);
}
