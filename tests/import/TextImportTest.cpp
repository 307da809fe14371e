#include "import/TextImport.h"
#include "model/Document.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// A line used by most cases; "Liberec-Rochlice" twice, so that the first of
// a name is seen to win.
void fillStations(Document &doc)
{
    for (const char *name : {"Liberec", "Liberec-Rochlice", "Vesec u Liberce", "Jablonec n.N.", "Liberec-Rochlice"})
        SampleLine::addStation(doc, name, 0);
}

TextImport::Result importText(Document &doc, const QByteArray &text)
{
    return TextImport::run(doc, TextImport::splitLines(text, doc));
}

using DocumentFixtures::Rows;

std::vector<QByteArray> namesOf(const Document &doc)
{
    std::vector<QByteArray> names;
    for (const Train &t : doc.trains)
        names.push_back(t.name.toByteArray());
    return names;
}

} // namespace

TEST(TextImport, RowsOfATrain)
{
    // rows: (station, hours, minutes, mark, half minute, short dwell)
    const std::tuple<const char *, Rows> cases[] = {
        // The format's example.
        {"Liberec\t\t 6:12\nLiberec-Rochlice\t 6:17\t 6:18+1;P\n",
         {{1, 6, 12, 0, 0, 0}, {2, 6, 17, 0, 0, 0}, {2, 6, 18, 1, 1, 0}}},
        // The first station's arrival is dropped even with a departure; an
        // arrival-only line before any departure is dropped too.
        {"Liberec\t 5:00\t\nLiberec-Rochlice\t 5:58\t 6:00\nVesec u Liberce\t 6:05\t\nJablonec n.N.\t 6:20\t 6:22\n",
         {{2, 6, 0, 0, 0, 0}, {3, 6, 5, 0, 0, 0}, {4, 6, 20, 0, 0, 0}, {4, 6, 22, 0, 0, 0}}},
        // A departure's flags start again from zero; a sign without a number
        // is no mark; keywords are case-sensitive.
        {"Liberec\t\t 6:00+2;P\nLiberec-Rochlice\t\t 6:05;PB\nVesec u Liberce\t 6:09-1;P;PB\t 6:10-1\n"
         "Jablonec n.N.\t\t 6:15+x;P\nJablonec n.N.\t\t 6:16;pb;Q;P\n",
         {{1, 6, 0, 2, 1, 0},
          {2, 6, 5, 0, 0, 1},
          {3, 6, 9, -1, 1, 1},
          {3, 6, 10, -1, 0, 0},
          {4, 6, 15, 0, 1, 0},
          {4, 6, 16, 0, 1, 0}}},
        // A short arrival without TAB is read without suffix, with the
        // minute digits that are there; the hour's blank reads as zero.
        {"Liberec\t\t 0:07\nLiberec-Rochlice\t 6:5", {{1, 0, 7, 0, 0, 0}, {2, 6, 5, 0, 0, 0}}},
        {"Liberec\t\t 6:00\nLiberec-Rochlice\t23:59", {{1, 6, 0, 0, 0, 0}, {2, 23, 59, 0, 0, 0}}},
        // The marks at the ends of the range; one past them is no mark.
        {"Liberec\t\t 6:00-2147483648\nLiberec-Rochlice\t 6:05+2147483647\t 6:06-2147483649",
         {{1, 6, 0, INT32_MIN, 0, 0}, {2, 6, 5, INT32_MAX, 0, 0}, {2, 6, 6, 0, 0, 0}}},
    };
    for (const auto &[stationLines, rows] : cases) {
        Document doc;
        fillStations(doc);
        ASSERT_TRUE(importText(doc, QByteArray("Os 1\n") + stationLines + "\n-\n").ok) << stationLines;
        ASSERT_EQ(doc.trains.size(), 1u);
        EXPECT_EQ(DocumentFixtures::rowsOf(doc.trains[0]), rows) << stationLines;
    }
}

TEST(TextImport, TrainLineKeywords)
{
    Document doc;
    fillStations(doc);
    const QByteArray rows = "\nLiberec\t\t 7:00\nLiberec-Rochlice\t 7:05\t\n-\n";
    ASSERT_TRUE(
        importText(doc, "Sp 1234;rus;pp" + rows + "Os 2;PP;Rus;x" + rows + "Nex 123456789012345678901;rus" + rows).ok);
    EXPECT_EQ(namesOf(doc), (std::vector<QByteArray>{"Sp 1234", "Os 2", "Nex 1234567890123456"}));
    EXPECT_EQ(std::tuple(doc.trains[0].rusici, doc.trains[0].podlePotreby, doc.trains[1].rusici,
                         doc.trains[1].podlePotreby, doc.trains[2].rusici),
              std::tuple(1, 1, 0, 0, 1));
}

TEST(TextImport, BlocksAndTheTrainCounter)
{
    const QByteArray block = "Os 1\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\n";
    // trains: each with two rows
    const std::tuple<QByteArray, std::vector<QByteArray>, int32_t> cases[] = {
        {"", {}, 0},
        {"Os 1\n", {}, 0},
        {"\n\n\n", {}, 0},
        {"Os 1\nLiberec\t\t 6:00\n", {}, 0},                                // one row is no train
        {"Os 1\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t", {"Os 1"}, 0}, // the end of the file ends it
        {block + "Os 2\n", {"Os 1"}, 0},                                    // a last train line without station lines
        {"\r\nOs 1\r\n\r\nLiberec\t\t 6:00\r\n\nLiberec-Rochlice\t 6:05\t\r\n-\r\n\r\n", {"Os 1"}, 0},
        // Records: the first, one after each of the two full blocks; minus one.
        {block + block + "Os 9\nLiberec\t\t 6:00\n-\n", {"Os 1", "Os 1"}, 2},
    };
    for (const auto &[text, trains, counter] : cases) {
        Document doc;
        fillStations(doc);
        EXPECT_TRUE(importText(doc, text).ok);
        EXPECT_EQ(std::pair(namesOf(doc), doc.trainCount), std::pair(trains, counter)) << text.constData();
        for (const Train &t : doc.trains)
            EXPECT_EQ(t.rowCount(), 2) << text.constData();
    }
}

TEST(TextImport, ShortBlocksGiveNoTrainAndTheirRecordIsReused)
{
    Document doc;
    fillStations(doc);
    doc.trains.resize(1);
    doc.trains[0].name = "Old";
    const auto r = importText(doc, "Os 1\nLiberec\t\t 6:00\n-\n"                       // one row only
                                   "Os 2;rus\nPraha\t\t 6:00\nBrno\t 7:00\t 7:05\n-\n" // unknown stations only
                                   "Os 3\nLiberec\t\t 9:00\nUnknown\t\t 9:02\nLiberec-Rochlice\t 9:04\t\n-\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(namesOf(doc), (std::vector<QByteArray>{"Old", "Os 3"}));
    // The reused record was cleared of the keyword of the block before; one
    // record created, and the train before the import does not count.
    EXPECT_EQ(std::tuple(r.trainsAdded, doc.trains[1].rusici, doc.trains[1].rowCount(), doc.trainCount),
              std::tuple(1, 0, 2, 0));
}

TEST(TextImport, ConversionErrorRemovesTheIncompleteTrain)
{
    Document doc;
    fillStations(doc);
    const auto r = importText(doc, "Os 1\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\n"
                                   "Os 2\nLiberec\t\t 7:00\nLiberec-Rochlice\t 7:xx\t\n-\n"
                                   "Os 3\nLiberec\t\t 8:00\nLiberec-Rochlice\t 8:05\t\n-\n");
    EXPECT_EQ(std::tuple(r.ok, r.error, r.trainsAdded),
              std::tuple(false, QStringLiteral("'xx' is not a valid integer value"), 1));
    EXPECT_EQ(namesOf(doc), std::vector<QByteArray>{"Os 1"});
}

TEST(TextImport, TheReadingThatFindsTheStationsWins)
{
    // Úšovice, Železný Brod and Liberec in code page 1250.
    const QByteArray uSovice = "\xDA\x9Aovice", zelezny = "\x8E"
                                                          "elezn\xFD Brod";
    // train: the name it gets
    const std::tuple<QByteArray, QByteArray> cases[] = {
        // Code page 1250: "Ú" and "š" also make a valid UTF-8 pair.
        {"Os 1\n" + uSovice + "\t\t 6:00\nLiberec\t 6:05\t\n", "Os 1"},
        // Not valid UTF-8 at all.
        {"Os \x9A\n" + zelezny + "\t\t 6:00\nLiberec\t 6:05\t\n", "Os \x9A"},
        // UTF-8, with and without the byte-order mark.
        {"Os \xC5\xA1\n\xC5\xBD\x65lezn\xC3\xBD Brod\t\t 6:00\nLiberec\t 6:05\t\n", "Os \x9A"},
        {"\xEF\xBB\xBFOs \xC5\xA1\n\xC3\x9A\xC5\xA1ovice\t\t 6:00\nLiberec\t 6:05\t\n", "Os \x9A"},
    };
    for (const auto &[text, train] : cases) {
        Document doc;
        for (const char *name : {"Úšovice", "Železný Brod", "Liberec"})
            SampleLine::addStation(doc, name, 0);
        EXPECT_TRUE(importText(doc, text).ok);
        ASSERT_EQ(namesOf(doc), std::vector<QByteArray>{train}) << text.toHex(' ').constData();
        EXPECT_EQ(doc.trains[0].rowCount(), 2);
    }
}
