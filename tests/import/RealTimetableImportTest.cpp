#include "import/RealTimetableImport.h"
#include "model/Cp1250.h"
#include "model/Document.h"

#include "../io/czptt/CzpttTestData.h"
#include "DayBuilder.h"
#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

namespace {

using DayBuilder::hm;
using DocumentFixtures::Rows;

const QDate wednesday(2026, 3, 4);

// The small line A – B – C – E – D. Os 3 turns at B; C is a junction by
// its kind, which the source gave; the others are of no known kind.
DayTimetable smallDay()
{
    DayTimetable day;
    day.day = wednesday;
    DayBuilder::addTrain(day, "Os 1",
                         {{"A", -1, hm(6, 0)},
                          {"B", hm(6, 10), hm(6, 11)},
                          {"C", hm(6, 20), hm(6, 21)},
                          {"E", hm(6, 25), hm(6, 26)},
                          {"D", hm(6, 30, 30)}});
    DayBuilder::addTrain(
        day, "Os 2", {{"D", -1, hm(7, 0)}, {"C", hm(7, 9), hm(7, 10)}, {"B", hm(7, 19), hm(7, 20)}, {"A", hm(7, 30)}});
    DayBuilder::addTrain(day, "Os 3", {{"A", -1, hm(8, 0)}, {"B", hm(8, 10)}});
    day.points[static_cast<size_t>(DayBuilder::pointOf(day, "C"))].kind = DayPointKind::Junction;
    return day;
}

// Metres by point name, for the line's points.
RealTimetableImport::Placer placing(std::map<QString, int32_t> metres)
{
    return [metres](DayTimetable &day, const std::vector<int> &line) {
        for (int p : line) {
            DayPoint &point = day.points[static_cast<size_t>(p)];
            if (const auto it = metres.find(point.name); it != metres.end())
                point.metres = it->second;
        }
    };
}

// D(opravna) Z(astávka) O(dbočka) per station, in the document's order.
std::vector<std::tuple<std::string, int32_t, std::string>> stationsOf(const Document &doc)
{
    std::vector<std::tuple<std::string, int32_t, std::string>> out;
    for (const Station &s : doc.stations) {
        std::string kind;
        if (s.kind) {
            kind += s.kind->dopravna ? "D" : "";
            kind += s.kind->zastavka ? "Z" : "";
            kind += s.kind->odbocka ? "O" : "";
        }
        out.emplace_back(cp1250::toUnicode(s.name.view()).toStdString(), s.metres, kind);
    }
    return out;
}

// A document with something in it: stations, trains, a label, a setting.
void fillOld(Document &doc)
{
    SampleLine::fill(doc, {4, 12, 2, 4});
    doc.newTrainLabel().text = "Os 1";
    doc.settings.zoom = 8;
    doc.noDocument = false;
    doc.untitled = false;
}

} // namespace

TEST(RealTimetableImport, NewLineFromTheDay)
{
    const DayTimetable day = smallDay();
    const auto place = placing({{"A", 1000}, {"B", 5500}, {"C", 9250}, {"E", 12000}, {"D", 14000}});
    EXPECT_EQ(RealTimetableImport::previewNewLine(day, "D", "A").text(), QStringLiteral("Nalezeno 3 vlaků, 5 stanic"));

    Document doc;
    fillOld(doc);
    const RealTimetableImport::Result r = RealTimetableImport::newLine(doc, day, QStringLiteral(" D "), "A", place);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(std::tuple(r.summary.added, r.trains(), r.stations, r.notes), std::tuple(3, 3, 5, QStringList()));
    // Named from D, listed from the lowest kilometre up. The ends and B,
    // where Os 3 turns, are stations, E a halt; C keeps the kind the source
    // gave.
    const std::vector<std::tuple<std::string, int32_t, std::string>> stations = {
        {"A", 1000, "D"}, {"B", 5500, "D"}, {"C", 9250, "ZO"}, {"E", 12000, "Z"}, {"D", 14000, "D"}};
    EXPECT_EQ(stationsOf(doc), stations);
    int32_t index = 0;
    for (const Station &s : doc.stations)
        EXPECT_EQ(s.kind->stationIndex, ++index);
    EXPECT_EQ(doc.stationKinds.size(), 5u);
    EXPECT_EQ(std::tuple(doc.maxMetres, doc.stationMetres[2], doc.noDocument, doc.untitled),
              std::tuple(14000, 5500, false, true));
    // New's clearing: the old trains and label are gone, the settings stay.
    EXPECT_EQ(std::tuple(doc.trains.size(), doc.trainCount, doc.trainLabels.size(), doc.settings.zoom),
              std::tuple(3u, 3, 0u, uint8_t{8}));
    EXPECT_EQ(DocumentFixtures::rowsOf(doc.trains[0]), (Rows{{1, 6, 0, 0, 0, 0},
                                                             {2, 6, 10, 0, 0, 0},
                                                             {2, 6, 11, 0, 0, 0},
                                                             {3, 6, 20, 0, 0, 0},
                                                             {3, 6, 21, 0, 0, 0},
                                                             {4, 6, 25, 0, 0, 0},
                                                             {4, 6, 26, 0, 0, 0},
                                                             {5, 6, 30, 0, 1, 0}}));
}

// A name longer than the document's 50 characters, or in letters code page
// 1250 lacks, is kept as well as it can be, and the trains still find it.
TEST(RealTimetableImport, NamesTheDocumentHoldsOtherwiseKeepTheirTrains)
{
    const QByteArray longName = "Nádraží s názvem tak dlouhým, že se do pole nevejde celý";
    DayTimetable day;
    day.day = wednesday;
    DayBuilder::addTrain(day, "R 1", {{longName.constData(), -1, hm(9, 0)}, {"São Bento", hm(9, 30)}});
    Document doc;
    const RealTimetableImport::Result r =
        RealTimetableImport::newLine(doc, day, QString::fromUtf8(longName), "São Bento");
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(doc.stations[0].name.view(), cp1250::fromUnicode(QString::fromUtf8(longName)).left(50));
    EXPECT_EQ(doc.stations[1].name.view(), QByteArrayView("S?o Bento"));
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(DocumentFixtures::rowsOf(doc.trains[0]), (Rows{{1, 9, 0, 0, 0, 0}, {2, 9, 30, 0, 0, 0}}));
}

// What is refused leaves the document as it was.
TEST(RealTimetableImport, RefusalsLeaveTheDocument)
{
    DayTimetable empty;
    empty.day = wednesday;
    // One train through 1001 points.
    DayTimetable crowded;
    crowded.day = wednesday;
    std::vector<std::string> names;
    for (int i = 0; i <= Document::maxStations; ++i)
        names.push_back("P" + std::to_string(i));
    std::vector<DayBuilder::Call> calls;
    for (size_t i = 0; i < names.size(); ++i)
        calls.push_back({names[i].c_str(), int(i) * 60, int(i) * 60});
    DayBuilder::addTrain(crowded, "Nx 1", calls);

    const struct
    {
        const char *what;
        DayTimetable day;
        QString from, to;
        RealTimetableImport::Placer place;
        QString error;
        bool previewed; // the preview, which places nothing, sees no fault
    } cases[] = {
        {"no train", empty, "A", "D", {}, QStringLiteral("Dne 4. 3. 2026 nejede žádný vlak."), false},
        {"an unknown end",
         smallDay(),
         "A",
         "X",
         {},
         QStringLiteral("Stanice „X“ v jízdním řádu dne 4. 3. 2026 není."),
         false},
        {"2000 km is the limit", smallDay(), "A", "D", placing({{"A", 0}, {"D", 2000000}}), {}, true},
        {"a metre beyond it", smallDay(), "A", "D", placing({{"A", 0}, {"D", 2000001}}),
         QStringLiteral("Stanice „D“ by ležela na km 2000,001, dál než 2000 km od začátku trati; zvolte kratší úsek."),
         true},
        {"more stations than a document holds",
         crowded,
         "P0",
         "P1000",
         {},
         QStringLiteral("Trať by měla 1001 stanic, dokument jich pojme nejvýše 1000; zvolte kratší úsek."),
         false},
    };
    for (const auto &[what, day, from, to, place, error, previewed] : cases) {
        Document doc;
        fillOld(doc);
        const RealTimetableImport::Result r = RealTimetableImport::newLine(doc, day, from, to, place);
        EXPECT_EQ(r.error, error) << what;
        EXPECT_EQ(RealTimetableImport::previewNewLine(day, from, to).ok(), previewed) << what;
        if (!error.isEmpty()) {
            EXPECT_EQ(std::tuple(doc.stations.size(), doc.trains.size(), doc.trainLabels.size(), doc.untitled),
                      std::tuple(4u, 2u, 1u, false))
                << what;
        }
    }
}

TEST(RealTimetableImport, IntoTheLine)
{
    DayTimetable empty;
    empty.day = wednesday;
    DayTimetable damaged = empty;
    damaged.skipped = {{"a.xml", "poškozené XML (řádek 3)"}};
    damaged.duplicates = 2;
    DayTimetable twice = smallDay();
    twice.duplicates = 3;
    const std::tuple<const char *, std::vector<const char *>, DayTimetable, QString> cases[] = {
        {"no train", {"A", "D"}, empty, QStringLiteral("Dne 4. 3. 2026 nejede žádný vlak.")},
        {"no train through two stations",
         {"A", "X"},
         smallDay(),
         QStringLiteral("Dne 4. 3. 2026 nejede žádný vlak přes dvě stanice trati.")},
        // What was left out is told first, whether or not a train came in.
        {"nothing but a damaged file",
         {"A", "D"},
         damaged,
         QStringLiteral("Přeskočeno 1 souborů: a.xml (poškozené XML (řádek 3))\nVynecháno 2 duplicitních zpráv.\n"
                        "Dne 4. 3. 2026 nejede žádný vlak.")},
        {"three trains", {"A", "B"}, twice, QStringLiteral("Přidáno 3 vlaků.\nVynecháno 3 duplicitních zpráv.")},
        {"two reach C",
         {"C", "A"},
         smallDay(),
         QStringLiteral("Přidáno 2 vlaků.\nVynecháno 1 vlaků, které trať potkávají jen v jedné stanici.")},
    };
    for (const auto &[what, stations, day, text] : cases) {
        Document doc;
        for (const char *name : stations)
            SampleLine::addStation(doc, name, 0);
        const RealTimetableImport::Preview preview = RealTimetableImport::previewIntoLine(doc, day);
        const RealTimetableImport::Result r = RealTimetableImport::intoLine(doc, day);
        EXPECT_EQ(r.text(), text) << what;
        if (!r.ok()) {
            EXPECT_EQ(preview.text(), text) << what;
        }
        EXPECT_EQ(std::tuple(preview.ok(), preview.trains), std::tuple(r.ok(), r.trains())) << what;
        EXPECT_EQ(doc.trains.size(), size_t(r.trains())) << what;
    }
}
