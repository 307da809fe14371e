#include "io/czptt/CzpttMessage.h"
#include "io/czptt/CzpttTrainTypes.h"
#include "io/czptt/Sr70Codebook.h"
#include "model/Cp1250.h"

#include "CzpttTestData.h"
#include "TestPaths.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <tuple>

namespace {

using CzpttTestData::replaced;

using Positions = std::vector<std::pair<int32_t, QString>>;

Positions positionsOf(const Sr70Codebook::Entry &e)
{
    Positions p;
    for (const Sr70Codebook::Position &pos : e.positions)
        p.emplace_back(pos.metres, pos.section);
    return p;
}

// An entry's name, kind, positions and coordinates; none for a code the book lacks.
using EntryRow = std::tuple<QString, DayPointKind, Positions, std::optional<double>, std::optional<double>>;

std::optional<EntryRow> entryOf(const Sr70Codebook &book, const char *code)
{
    const Sr70Codebook::Entry *e = book.find(QString::fromUtf8(code));
    return e ? std::optional(EntryRow(e->name, e->kind, positionsOf(*e), e->latitude, e->longitude)) : std::nullopt;
}

const char *header = "Evidenční číslo;Název;Kvalifikátor - popis;Stav - popis;Km poloha;TUDU;Km polohy další;"
                     "TUDU další;GPS N (DEG);GPS E (DEG)\n";

CzpttMessage read(const QByteArray &xml)
{
    CzpttReadResult r = readCzpttMessage(xml);
    EXPECT_TRUE(r.message.has_value()) << r.error.toStdString();
    return r.message ? *r.message : CzpttMessage{};
}

int32_t at(int h, int m, int s, int dayOffset = 0)
{
    return dayOffset * 86400 + h * 3600 + m * 60 + s;
}

// (code, name, arrival, departure, stops, public stop, short dwell); -1: no time
using LocationRow = std::tuple<QString, QString, int32_t, int32_t, bool, bool, bool>;

LocationRow rowOf(const CzpttLocation &l)
{
    return {l.code, l.name, l.arrival.value_or(-1), l.departure.value_or(-1), l.stops, l.publicStop, l.shortDwell};
}

} // namespace

TEST(CzpttMessage, PathAsPublished)
{
    // Os 13254: Velké Karlovice to Valašské Meziříčí through Vsetín.
    const CzpttMessage m = read(CzpttTestData::bytes(CzpttTestData::linePath("16571A")));
    EXPECT_EQ(std::tuple(m.kind, m.pathKey(), m.trainName()),
              std::tuple(CzpttMessage::Kind::Path, QStringLiteral("PA|0054|KT----16571A|00|2026"),
                         QStringLiteral("Os 13254")));
    ASSERT_NE(m.identifier(u"TR"), nullptr);
    EXPECT_EQ(m.identifier(u"TR")->core, QStringLiteral("KASO---51801"));
    EXPECT_EQ(std::tuple(m.calendar.start, m.calendar.end, m.calendar.bitmap.size()),
              std::tuple(QDate(2026, 2, 16), QDate(2026, 12, 11), qsizetype{299}));

    ASSERT_EQ(m.locations.size(), 21u);
    const std::vector<std::pair<size_t, LocationRow>> expected = {
        // The first call has its departure only.
        {0, {"35312", "Velké Karlovice", -1, at(5, 45, 0), true, true, false}},
        // A stop under half a minute, arrival and departure alike.
        {1, {"35332", "Velké Karlovice zastávka", at(5, 47, 30), at(5, 47, 30), true, true, true}},
        // A stop with a dwell.
        {6, {"33492", "Halenkov", at(6, 5, 0), at(6, 6, 0), true, true, false}},
        // A timing point the train passes.
        {13, {"35443", "Vsetín-Bečva", at(6, 30, 0), at(6, 30, 0), false, false, false}},
        {14, {"35442", "Vsetín", at(6, 31, 0), at(6, 37, 0), true, true, false}},
        {16, {"37136", "km 33,600 -0,042", at(6, 45, 30), at(6, 45, 30), false, false, false}},
        {20, {"35162", "Valašské Meziříčí", at(6, 53, 0), -1, true, true, false}},
    };
    for (const auto &[index, row] : expected)
        EXPECT_EQ(rowOf(m.locations[index]), row) << index;
}

TEST(CzpttMessage, OffsetsCountMidnightsFromTheCalendarDay)
{
    const CzpttMessage pastMidnight =
        read(CzpttTestData::bytes(CzpttTestData::edgePath("PA_0054_KT-----7002A_00_2026.xml")));
    EXPECT_EQ(pastMidnight.trainName(), QStringLiteral("Os 5957"));
    EXPECT_EQ(rowOf(pastMidnight.locations.front()),
              LocationRow("53414", "Kolín", -1, at(23, 59, 0), true, true, false));
    EXPECT_EQ(rowOf(pastMidnight.locations.back()),
              LocationRow("54044", "Čáslav", at(0, 21, 0, 1), -1, true, true, false));

    // A foreign section on the evening before the calendar day.
    const CzpttMessage fromAbroad =
        read(CzpttTestData::bytes(CzpttTestData::edgePath("PA_0054_KT----57832A_00_2026.xml")));
    EXPECT_EQ(fromAbroad.locations.front().country, QStringLiteral("DE"));
    EXPECT_EQ(rowOf(fromAbroad.locations.front()),
              LocationRow("10533", "Bad Schandau", -1, at(23, 50, 0, -1), true, true, false));
    EXPECT_EQ(rowOf(fromAbroad.locations[4]),
              LocationRow("19433", "Schöna", at(0, 0, 30), at(0, 1, 30), true, true, false));
    // The name is the Czech section's even though the header names a
    // foreign origin.
    EXPECT_EQ(fromAbroad.trainName(), QStringLiteral("Os 5271"));
}

TEST(CzpttMessage, ElementOrderIsNotRelied)
{
    const QByteArray original = CzpttTestData::bytes(CzpttTestData::linePath("16555A"));
    // The calendar before the locations, the identifiers last, a timing's
    // offset before its time and the arrival after the departure.
    QByteArray shuffled = original;
    const auto cut = [&shuffled](const QByteArray &element) {
        const qsizetype start = shuffled.indexOf("<" + element + ">");
        const qsizetype end = shuffled.indexOf("</" + element + ">") + element.size() + 3;
        const QByteArray part = shuffled.mid(start, end - start);
        shuffled.remove(start, end - start);
        return part;
    };
    shuffled.replace("<CZPTTInformation>", "<CZPTTInformation>" + cut("PlannedCalendar"));
    shuffled.replace("</CZPTTCISMessage>", cut("Identifiers") + "</CZPTTCISMessage>");
    shuffled.replace("<Offset>0</Offset>\r\n        </Timing>", "</Timing>");
    shuffled.replace("<Time>", "<Offset>0</Offset><Time>");
    ASSERT_NE(shuffled, original);

    const CzpttMessage a = read(original);
    const CzpttMessage b = read(shuffled);
    EXPECT_EQ(std::pair(b.pathKey(), b.calendar.bitmap), std::pair(a.pathKey(), a.calendar.bitmap));
    ASSERT_EQ(b.locations.size(), a.locations.size());
    for (size_t i = 0; i < a.locations.size(); ++i)
        EXPECT_EQ(rowOf(b.locations[i]), rowOf(a.locations[i])) << i;
}

TEST(CzpttMessage, DamagedOrForeignInputIsRefusedWithItsReason)
{
    const QByteArray good = CzpttTestData::bytes(CzpttTestData::linePath("16555A"));
    const QByteArray firstTime = "<Time>03:50:00.0000000+01:00</Time>";
    const std::tuple<const char *, QByteArray, QString> cases[] = {
        {"empty", "", "prázdný soubor"},
        {"cut short", good.left(good.size() / 2), "poškozené XML (řádek 413)"},
        {"binary", QByteArray("\x00\x01\x02PK\x03\x04", 7), "poškozené XML (řádek 1)"},
        {"foreign document", "<?xml version=\"1.0\"?><html><body/></html>", "není zpráva CZPTT (kořen „html“)"},
        {"impossible time", replaced(good, firstTime, "<Time>25:61:00.0000000+01:00</Time>"),
         "neplatný čas „25:61:00.0000000+01:00“"},
        {"time without seconds", replaced(good, firstTime, "<Time>03:50</Time>"), "neplatný čas „03:50“"},
        {"offset not a number", replaced(good, "<Offset>0</Offset>", "<Offset>x</Offset>"), "neplatný posun dne „x“"},
        {"offset of a month", replaced(good, "<Offset>0</Offset>", "<Offset>30</Offset>"), "neplatný posun dne „30“"},
        {"calendar not bits", replaced(good, "<BitmapDays>1111", "<BitmapDays>1121"), "neplatný kalendář"},
        {"calendar date", replaced(good, "2025-12-15T00:00:00", "2025-13-15T00:00:00"),
         "neplatné datum kalendáře „2025-13-15T00:00:00“"},
        {"no calendar", replaced(good, "PlannedCalendar>", "SomethingElse>"), "zpráva bez kalendáře"},
        {"no identifiers", replaced(good, "PlannedTransportIdentifiers>", "Other>"), "zpráva bez identifikátoru trasy"},
        {"no location with a time", replaced(good, "TimingAtLocation>", "Elsewhere>"), "vlak bez místa s časem"},
        {"text after the root", good + "<extra/>", "poškozené XML (řádek 819)"},
    };
    for (const auto &[what, xml, reason] : cases) {
        const CzpttReadResult r = readCzpttMessage(xml);
        EXPECT_EQ(std::pair(r.message.has_value(), r.error), std::pair(false, reason)) << what;
    }
}

TEST(CzpttTrainTypes, NamesOfTrainsAndEveryTypeOfTheCodeList)
{
    const std::tuple<const char16_t *, const char16_t *, const char16_t *, const char16_t *> cases[] = {
        {u"84", u"11", u"13250", u"Os 13250"},
        {u"9004", u"C1", u"1042", u"RJ 1042"},
        // A code the list does not know: the traffic type.
        {u"1234", u"C3", u"1821", u"Sp 1821"},
        // Freight and service trains by their traffic type, in the
        // program's category codes.
        {u"", u"C4", u"30001", u"Sv 30001"},
        {u"", u"C5", u"40001", u"NEx 40001"},
        {u"", u"C6", u"45300", u"Pn 45300"},
        {u"", u"C7", u"82000", u"Mn 82000"},
        {u"", u"C9", u"91000", u"Vleč 91000"},
        {u"", u"CA", u"99001", u"Služ 99001"},
        {u"", u"", u" 42 ", u"42"},
        {u"209", u"C1", u"123456789012345678901", u"rj 12345678901234567"},
    };
    for (const auto &[commercial, traffic, number, name] : cases)
        EXPECT_EQ(CzpttTrainTypes::trainName(commercial, traffic, number), QStringView(name));

    // The program knows every type of the code list.
    QFile file(TestPaths::sourceDir() + QStringLiteral("/src/io/czptt/komercni_druhy.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    int types = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"KomercniDruhVlaku")
            continue;
        ++types;
        EXPECT_EQ(CzpttTrainTypes::commercialAbbreviation(xml.attributes().value(QLatin1StringView("KodTAF"))),
                  xml.attributes().value(QLatin1StringView("Kod")).toString());
    }
    EXPECT_EQ(types, 18);
}

TEST(Sr70Codebook, TheCodebookAsExported)
{
    Sr70Codebook book;
    const Sr70Codebook::ReadResult r = book.readFile(CzpttTestData::sr70Path());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(std::tuple(r.entries, r.skippedRows), std::tuple(4367, 0));

    const std::pair<const char *, std::optional<EntryRow>> cases[] = {
        {"35442", EntryRow("Vsetín", DayPointKind::Station, {{37877, "2362C5"}}, 49.334866, 17.994348)},
        // A further position without a section is of no use.
        {"35443", EntryRow("Vsetín-Bečva", DayPointKind::TimingPoint, {{36169, "2362C1"}}, 49.320358, 17.994585)},
        {"35332", EntryRow("Velké Karlovice zastávka", DayPointKind::Halt, {{26100, "237110"}}, 49.358689, 18.285997)},
        {"33522", EntryRow("Nový Hrozenkov", DayPointKind::FreightPoint, {{19501, "2371D1"}}, 49.340750, 18.204118)},
        {"35162",
         EntryRow("Valašské Meziříčí", DayPointKind::Station, Positions(4, {25057, "2361G1"}), 49.474507, 17.960638)},
        {"99999", std::nullopt},
    };
    for (const auto &[code, entry] : cases)
        EXPECT_EQ(entryOf(book, code), entry) << code;
}

TEST(Sr70Codebook, RowsItCannotReadAreSkippedAndCountedInEitherEncoding)
{
    const QString text = QString::fromUtf8(header)
                         // A name in quotes with a line break, a ";" and doubled quotes.
                         + "100016;\"Dlouhá \"\"Ves\"\";\nhoření\";Zastávka;Aktivní;1,5;1000A1;-;-;N50,1°;E15,2°\n"
                         // Not a number, a code too short, too few columns.
                         + "1000X2;Špatné číslo;Zastávka;Aktivní;1;1000A1;-;-;-;-\n" + "1234;Krátké;Zastávka\n"
                         + "100032;Málo sloupců\n"
                         + "\n"
                         // A cancelled point and an active one of the same five digits.
                         + "100040;Stará;Zastávka;Zrušen;0,000;-;-;-;-;-\n"
                         + "100041;Nová;Hláska a zastávka;Aktivní;-2,25;1000B1;-;-;S10,5°;W20,25°\n"
                         // Kilometres that are no number; a row over the limit; a quote never closed.
                         + "100057;Bez polohy;Odbočka (dopravna);Aktivní;abc;1000A1;3,1; 1000C1;-;-\n" + "100060;"
                         + QString(Sr70Codebook::recordLimit, u'x') + ";Zastávka\n"
                         + "100065;\"Neukončená;Zastávka;Aktivní;1;1000A1;-;-;-;-\n";
    Sr70Codebook book;
    const Sr70Codebook::ReadResult r = book.read(cp1250::fromUnicode(text));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(std::tuple(r.entries, r.skippedRows), std::tuple(3, 5));

    EXPECT_EQ(entryOf(book, "10001"),
              EntryRow("Dlouhá \"Ves\";\nhoření", DayPointKind::Halt, {{1500, "1000A1"}}, 50.1, 15.2));
    EXPECT_EQ(entryOf(book, "10004"), EntryRow("Nová", DayPointKind::SignalPost, {{-2250, "1000B1"}}, -10.5, -20.25));
    EXPECT_EQ(entryOf(book, "10005"),
              EntryRow("Bez polohy", DayPointKind::Junction, {{3100, "1000C1"}}, std::nullopt, std::nullopt));

    // Not a codebook at all.
    const Sr70Codebook::ReadResult foreign = book.read("stop_id,stop_name\n1,A\n");
    EXPECT_FALSE(foreign.ok);
    EXPECT_TRUE(foreign.error.startsWith(QStringLiteral("Soubor není číselník SR70"))) << foreign.error.toStdString();
    EXPECT_TRUE(book.isEmpty());
    EXPECT_FALSE(book.readFile(QStringLiteral("/nonexistent/SR70.csv")).ok);

    // Saved as UTF-8, with or without its mark, it reads the same.
    const QString row = QString::fromUtf8(header) + "100016;Dlouhá Ves-hoření;Zastávka;Aktivní;1,5;1000A1;-;-;-;-\n";
    const QByteArray utf8 = row.toUtf8();
    for (const QByteArray &bytes : {cp1250::fromUnicode(row), utf8, "\xEF\xBB\xBF" + utf8}) {
        Sr70Codebook book;
        ASSERT_TRUE(book.read(bytes).ok) << bytes.left(3).toHex().toStdString();
        EXPECT_EQ(book.find(QStringLiteral("10001"))->name, QStringLiteral("Dlouhá Ves-hoření"));
    }
}
