#include "import/LineTrains.h"
#include "io/czptt/CzpttTimetable.h"
#include "model/Cp1250.h"

#include "../io/czptt/CzpttTestData.h"
#include "DayBuilder.h"
#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using DocumentFixtures::Rows;

const QDate wednesday(2026, 3, 4);

using SampleLine::addStations;

// The line as its stations would be entered, Vsetín first.
void fillVsetinLine(Document &doc)
{
    addStations(doc, CzpttTestData::lineFromVsetin);
}

const Train *trainNamed(const Document &doc, const char *name)
{
    for (const Train &t : doc.trains) {
        if (t.name == QByteArrayView(cp1250::fromUnicode(QString::fromUtf8(name))))
            return &t;
    }
    return nullptr;
}

DayTimetable dayOf(const QStringList &sources, QDate date)
{
    return CzpttTimetable::scan(sources).day(date);
}

} // namespace

TEST(LineTrains, RowsOfATrainAsItsMessageGivesThem)
{
    Document doc;
    fillVsetinLine(doc);
    LineTrains::appendTo(doc, dayOf({CzpttTestData::linePath("16571A")}, wednesday));
    ASSERT_EQ(doc.trains.size(), 1u);
    const Train &t = doc.trains.front();
    EXPECT_EQ(t.name, QByteArrayView("Os 13254"));
    // (station, hours, minutes, mark, half minute, short dwell): stops under
    // half a minute are one row, stops with a dwell two; the train goes on
    // to Valašské Meziříčí but its rows end with the arrival at Vsetín.
    const Rows expected = {
        {14, 5, 45, 0, 0, 0}, {13, 5, 47, 0, 1, 1}, {12, 5, 52, 0, 0, 1}, {11, 5, 54, 0, 1, 1},
        {10, 5, 58, 0, 0, 1}, {9, 6, 1, 0, 1, 1},   {8, 6, 5, 0, 0, 0},   {8, 6, 6, 0, 0, 0},
        {7, 6, 8, 0, 1, 1},   {6, 6, 12, 0, 0, 1},  {5, 6, 15, 0, 1, 1},  {4, 6, 19, 0, 1, 0},
        {4, 6, 20, 0, 1, 0},  {3, 6, 25, 0, 0, 1},  {2, 6, 27, 0, 1, 1},  {1, 6, 31, 0, 0, 0},
    };
    EXPECT_EQ(DocumentFixtures::rowsOf(t), expected);
}

TEST(LineTrains, TrainsAcrossMidnightKeepTheirTimesOfDay)
{
    const QStringList sources{CzpttTestData::edgePath("PA_0054_KT-----7002A_00_2026.xml"),
                              CzpttTestData::edgePath("PA_0054_KT----57832A_00_2026.xml")};
    Document doc;
    addStations(doc, {"Kolín", "Kutná Hora hl. n.", "Čáslav", "Bad Schandau", "Schöna", "Děčín hl. n."});
    const ImportSummary s = LineTrains::appendTo(doc, dayOf(sources, wednesday));
    EXPECT_EQ(s.added, 2);
    ASSERT_NE(trainNamed(doc, "Os 5957"), nullptr);
    ASSERT_NE(trainNamed(doc, "Os 5271"), nullptr);
    // Offset 1: the rows after midnight are times of the next day's clock.
    EXPECT_EQ(DocumentFixtures::rowsOf(*trainNamed(doc, "Os 5957")),
              (Rows{{1, 23, 59, 0, 0, 0}, {2, 0, 9, 0, 1, 0}, {2, 0, 10, 0, 0, 0}, {3, 0, 21, 0, 0, 0}}));
    // Offset -1: the foreign start the evening before.
    EXPECT_EQ(DocumentFixtures::rowsOf(*trainNamed(doc, "Os 5271")),
              (Rows{{4, 23, 50, 0, 0, 0}, {5, 0, 0, 0, 1, 0}, {5, 0, 1, 0, 1, 0}, {6, 0, 18, 0, 0, 0}}));
}

TEST(LineTrains, ImportAgainReplacesTrainsOfTheSameName)
{
    const DayTimetable day = dayOf({CzpttTestData::lineDir()}, wednesday);
    Document doc;
    fillVsetinLine(doc);
    DocumentFixtures::addTrain(doc, "Sv 1", {{1, 5, 0}, {14, 5, 40}});
    LineTrains::appendTo(doc, day);
    Train &marked = doc.trains[1];
    ASSERT_EQ(marked.name, QByteArrayView("Os 13250"));
    const Rows rows = DocumentFixtures::rowsOf(marked);
    marked.rusici = 1;
    marked.stops.clear();

    const ImportSummary again = LineTrains::appendTo(doc, day);
    EXPECT_EQ(std::tuple(again.added, again.replaced), std::tuple(0, 37));
    EXPECT_EQ(std::tuple(doc.trains.size(), doc.trains[0].name), std::tuple(38u, QByteArrayView("Sv 1")));
    // Replaced in its place, with its rows back and the user's flag kept.
    EXPECT_EQ(
        std::tuple(doc.trains[1].name.toByteArray(), DocumentFixtures::rowsOf(doc.trains[1]), doc.trains[1].rusici),
        std::tuple(QByteArray("Os 13250"), rows, uint8_t{1}));
}

TEST(LineTrains, NamesAreMatchedTrimmedAndTheFirstOfANameWins)
{
    DayTimetable day;
    DayBuilder::addTrain(day, "Os 1", {{"A", -1, DayBuilder::hm(6, 0)}, {"B", DayBuilder::hm(6, 10)}});
    Document doc;
    addStations(doc, {"  A ", "B", "A"});
    LineTrains::appendTo(doc, day);
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(DocumentFixtures::rowsOf(doc.trains.front()), (Rows{{1, 6, 0, 0, 0, 0}, {2, 6, 10, 0, 0, 0}}));
}

// What RealTimetableImport's summaries do not show: a replacement, and the
// skipped input past the first named.
TEST(ImportSummary, Texts)
{
    ImportSummary s;
    s.added = 35;
    s.replaced = 2;
    s.skipped = {{"a.xml", "poškozené XML (řádek 3)"}, {"b.zip", "poškozený archiv"}, {"c.xml", "x"}};
    EXPECT_EQ(s.text(), QStringLiteral("Přidáno 35 vlaků, nahrazeno 2.\nPřeskočeno 3 souborů: a.xml (poškozené XML "
                                       "(řádek 3)), b.zip (poškozený archiv), c.xml (x)"));
    EXPECT_EQ(s.skippedText(1), QStringLiteral("Přeskočeno 3 souborů: a.xml (poškozené XML (řádek 3)) a dalších 2"));
}
