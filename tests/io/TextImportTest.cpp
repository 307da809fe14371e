// The text timetable import: the rules of its line-by-line algorithm.
#include "io/TextImport.h"
#include "model/ClockTime.h"
#include "model/Document.h"

#include <gtest/gtest.h>

namespace {

// A line with the three stations used by most cases; "Rochlice" twice, so
// that the first of a name is seen to win.
void fillStations(Document &doc)
{
    for (const char *name : {"Liberec", "Liberec-Rochlice", "Vesec u Liberce", "Jablonec n.N.", "Liberec-Rochlice"}) {
        Station s;
        s.name = name;
        doc.stations.push_back(s);
    }
}

TextImport::Result importText(Document &doc, const QByteArray &text)
{
    return TextImport::run(doc, TextImport::splitLines(text));
}

double hm(int h, int m)
{
    return makeTime(h, m);
}

} // namespace

TEST(TextImport, ExampleBlock)
{
    Document doc;
    fillStations(doc);
    const auto r = importText(doc, "Os 5401;pp\n"
                                   "Liberec\t\t 6:12\n"
                                   "Liberec-Rochlice\t 6:17\t 6:18+1;P\n"
                                   "-\n");
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.trainsAdded, 1);
    ASSERT_EQ(doc.trains.size(), 1u);
    const Train &t = doc.trains[0];
    EXPECT_EQ(t.name.toByteArray(), "Os 5401");
    EXPECT_EQ(t.podlePotreby, 1);
    EXPECT_EQ(t.rusici, 0);
    ASSERT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.row(0).station, 1);
    EXPECT_EQ(t.row(0).time, hm(6, 12));
    EXPECT_EQ(t.row(1).station, 2);
    EXPECT_EQ(t.row(1).time, hm(6, 17));
    EXPECT_EQ(t.row(1).mark, 0);
    EXPECT_EQ(t.row(2).station, 2);
    EXPECT_EQ(t.row(2).time, hm(6, 18));
    EXPECT_EQ(t.row(2).mark, 1);
    EXPECT_EQ(t.row(2).halfMinute, 1);
    EXPECT_EQ(t.row(2).shortDwell, 0);
    // Records created minus one: the last block made no further record.
    EXPECT_EQ(doc.trainCount, 0);
}

TEST(TextImport, ArrivalIsTakenOnlyOnceTheTrainHasARow)
{
    Document doc;
    fillStations(doc);
    // The first station's arrival is dropped even with a departure; an
    // arrival-only line before any departure is dropped too.
    const auto r = importText(doc, "R 1\n"
                                   "Liberec\t 5:00\t\n"
                                   "Liberec-Rochlice\t 5:58\t 6:00\n"
                                   "Vesec u Liberce\t 6:05\t\n"
                                   "Jablonec n.N.\t 6:20\t 6:22\n"
                                   "-\n");
    ASSERT_TRUE(r.ok);
    const Train &t = doc.trains.at(0);
    ASSERT_EQ(t.rowCount(), 4);
    EXPECT_EQ(t.row(0).station, 2);
    EXPECT_EQ(t.row(0).time, hm(6, 0));
    EXPECT_EQ(t.row(1).station, 3);
    EXPECT_EQ(t.row(1).time, hm(6, 5));
    EXPECT_EQ(t.row(2).time, hm(6, 20));
    EXPECT_EQ(t.row(3).time, hm(6, 22));
}

TEST(TextImport, SuffixesGiveMarksAndFlags)
{
    Document doc;
    fillStations(doc);
    const auto r = importText(doc, "Os 1\n"
                                   "Liberec\t\t 6:00+2;P\n"
                                   "Liberec-Rochlice\t\t 6:05;PB\n"
                                   "Vesec u Liberce\t 6:09-1;P;PB\t 6:10-1\n"
                                   "Jablonec n.N.\t\t 6:15+x;P\n"
                                   "Jablonec n.N.\t\t 6:16;pb;Q;P\n"
                                   "-\n");
    ASSERT_TRUE(r.ok);
    const Train &t = doc.trains.at(0);
    ASSERT_EQ(t.rowCount(), 6);
    EXPECT_EQ(t.row(0).mark, 2);
    EXPECT_EQ(t.row(0).halfMinute, 1);
    EXPECT_EQ(t.row(1).mark, 0);
    EXPECT_EQ(t.row(1).shortDwell, 1);
    EXPECT_EQ(t.row(1).halfMinute, 0);
    EXPECT_EQ(t.row(2).mark, -1);
    EXPECT_EQ(t.row(2).halfMinute, 1);
    EXPECT_EQ(t.row(2).shortDwell, 1);
    // The departure's flags start again from zero.
    EXPECT_EQ(t.row(3).mark, -1);
    EXPECT_EQ(t.row(3).halfMinute, 0);
    EXPECT_EQ(t.row(3).shortDwell, 0);
    // A sign without a number is no mark; keywords are case-sensitive.
    EXPECT_EQ(t.row(4).mark, 0);
    EXPECT_EQ(t.row(4).halfMinute, 1);
    EXPECT_EQ(t.row(5).shortDwell, 0);
    EXPECT_EQ(t.row(5).halfMinute, 1);
}

TEST(TextImport, TrainLineKeywords)
{
    Document doc;
    fillStations(doc);
    const auto r = importText(doc, "Sp 1234;rus;pp\nLiberec\t\t 7:00\nLiberec-Rochlice\t 7:05\t\n-\n"
                                   "Os 2;PP;Rus;x\nLiberec\t\t 8:00\nLiberec-Rochlice\t 8:05\t\n-\n"
                                   "Nex 123456789012345678901;rus\nLiberec\t\t 9:00\nLiberec-Rochlice\t 9:05\t\n-\n");
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(doc.trains.size(), 3u);
    EXPECT_EQ(doc.trains[0].name.toByteArray(), "Sp 1234");
    EXPECT_EQ(doc.trains[0].rusici, 1);
    EXPECT_EQ(doc.trains[0].podlePotreby, 1);
    EXPECT_EQ(doc.trains[1].name.toByteArray(), "Os 2");
    EXPECT_EQ(doc.trains[1].rusici, 0);
    EXPECT_EQ(doc.trains[1].podlePotreby, 0);
    EXPECT_EQ(doc.trains[2].name.toByteArray(), "Nex 1234567890123456");
    EXPECT_EQ(doc.trains[2].rusici, 1);
    EXPECT_EQ(doc.trainCount, 2);
}

TEST(TextImport, ShortBlocksGiveNoTrainAndTheirRecordIsReused)
{
    Document doc;
    fillStations(doc);
    Train existing;
    existing.name = "Old";
    doc.trains.push_back(existing);
    const auto r = importText(doc, "Os 1\n"
                                   "Liberec\t\t 6:00\n" // one row only
                                   "-\n"
                                   "Os 2;rus\n"
                                   "Praha\t\t 6:00\n" // unknown stations only
                                   "Brno\t 7:00\t 7:05\n"
                                   "-\n"
                                   "Os 3\n"
                                   "Liberec\t\t 9:00\n"
                                   "Unknown\t\t 9:02\n"
                                   "Liberec-Rochlice\t 9:04\t\n"
                                   "-\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.trainsAdded, 1);
    ASSERT_EQ(doc.trains.size(), 2u);
    EXPECT_EQ(doc.trains[1].name.toByteArray(), "Os 3");
    // The reused record was cleared of the keyword of the block before.
    EXPECT_EQ(doc.trains[1].rusici, 0);
    EXPECT_EQ(doc.trains[1].rowCount(), 2);
    // One record created; the train before the import does not count.
    EXPECT_EQ(doc.trainCount, 0);
}

TEST(TextImport, CounterCountsEveryRecordCreated)
{
    Document doc;
    fillStations(doc);
    const QByteArray block = "Os\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\n";
    const auto r = importText(doc, block + block + "Os 9\nLiberec\t\t 6:00\n-\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(doc.trains.size(), 2u);
    // Records: the first, one after each of the two full blocks; minus one.
    EXPECT_EQ(doc.trainCount, 2);
}

TEST(TextImport, EndOfFileEndsTheLastBlock)
{
    Document doc;
    fillStations(doc);
    ASSERT_TRUE(importText(doc, "Os 1\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t").ok);
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(doc.trains[0].rowCount(), 2);

    // A final train line without station lines is ignored.
    Document other;
    fillStations(other);
    ASSERT_TRUE(importText(other, "Os 1\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\nOs 2\n").ok);
    ASSERT_EQ(other.trains.size(), 1u);
    EXPECT_EQ(other.trains[0].name.toByteArray(), "Os 1");
}

TEST(TextImport, NothingToImport)
{
    for (const QByteArray &text :
         {QByteArray(), QByteArray("Os 1\n"), QByteArray("\n\n\n"), QByteArray("Os 1\nLiberec\t\t 6:00\n")}) {
        Document doc;
        fillStations(doc);
        const auto r = importText(doc, text);
        EXPECT_TRUE(r.ok);
        EXPECT_TRUE(doc.trains.empty()) << text.constData();
        EXPECT_EQ(doc.trainCount, 0);
    }
}

TEST(TextImport, FirstStationOfANameIsUsed)
{
    Document doc;
    fillStations(doc);
    ASSERT_TRUE(importText(doc, "Os\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n").ok);
    EXPECT_EQ(doc.trains.at(0).row(1).station, 2);
}

TEST(TextImport, EmptyLinesAreSkippedAndLineEndsMayBeCrLf)
{
    Document doc;
    fillStations(doc);
    ASSERT_TRUE(importText(doc, "\r\nOs 1\r\n\r\nLiberec\t\t 6:00\r\n\nLiberec-Rochlice\t 6:05\t\r\n-\r\n\r\n").ok);
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(doc.trains[0].name.toByteArray(), "Os 1");
    EXPECT_EQ(doc.trains[0].rowCount(), 2);
}

TEST(TextImport, ShortArrivalIsReadWithoutSuffix)
{
    Document doc;
    fillStations(doc);
    // " 6:05" with no TAB after it: an arrival, and nothing for the departure.
    ASSERT_TRUE(importText(doc, "Os 1\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\n-\n").ok);
    const Train &t = doc.trains.at(0);
    ASSERT_EQ(t.rowCount(), 2);
    EXPECT_EQ(t.row(1).time, hm(6, 5));
    // A shorter text: the minute digits that are there.
    Document other;
    fillStations(other);
    ASSERT_TRUE(importText(other, "Os 1\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:5\n-\n").ok);
    EXPECT_EQ(other.trains.at(0).row(1).time, hm(6, 5));
}

TEST(TextImport, LeadingBlankOfTheHourReadsAsZero)
{
    Document doc;
    fillStations(doc);
    ASSERT_TRUE(importText(doc, "Os\nLiberec\t\t 0:07\nLiberec-Rochlice\t23:59\t\n").ok);
    EXPECT_EQ(doc.trains.at(0).row(0).time, hm(0, 7));
    EXPECT_EQ(doc.trains.at(0).row(1).time, hm(23, 59));
}

TEST(TextImport, ConversionErrorRemovesTheIncompleteTrain)
{
    Document doc;
    fillStations(doc);
    const auto r = importText(doc, "Os 1\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\n"
                                   "Os 2\nLiberec\t\t 7:00\nLiberec-Rochlice\t 7:xx\t\n-\n"
                                   "Os 3\nLiberec\t\t 8:00\nLiberec-Rochlice\t 8:05\t\n-\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, QStringLiteral("'xx' is not a valid integer value"));
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(doc.trains[0].name.toByteArray(), "Os 1");
    EXPECT_EQ(r.trainsAdded, 1);
}

TEST(TextImport, HourWithoutItsBlankAndInvalidTimesAreErrors)
{
    for (const char *time : {"7:05", "24:00", "12:60", " x:00"}) {
        Document doc;
        fillStations(doc);
        const QByteArray text = QByteArray("Os\nLiberec\t\t") + time + "\nLiberec-Rochlice\t 6:05\t\n";
        const auto r = importText(doc, text);
        EXPECT_FALSE(r.ok) << time;
        EXPECT_FALSE(r.error.isEmpty());
        EXPECT_TRUE(doc.trains.empty()) << time;
    }
}

TEST(TextImport, Encodings)
{
    const auto stationsWith = [](Document &doc) {
        Station s;
        s.name = "Ko\x9Al\xE1\x9Ekovice"; // Košlákovice in code page 1250
        doc.stations.push_back(s);
        s.name = "\x8E"
                 "elezn\xFD Brod"; // Železný Brod
        doc.stations.push_back(s);
    };
    // Code page 1250 bytes as they are.
    Document cp;
    stationsWith(cp);
    ASSERT_TRUE(importText(cp, "Os \x9A\n\x8E"
                               "elezn\xFD Brod\t\t 6:00\nKo\x9Al\xE1\x9Ekovice\t 6:05\t\n")
                    .ok);
    ASSERT_EQ(cp.trains.size(), 1u);
    EXPECT_EQ(cp.trains[0].name.toByteArray(), "Os \x9A");
    EXPECT_EQ(cp.trains[0].row(0).station, 2);

    // Valid UTF-8 with a byte-order mark, as today's editors write it.
    Document utf;
    stationsWith(utf);
    const QByteArray text = "\xEF\xBB\xBFOs \xC5\xA1\n\xC5\xBD\x65lezn\xC3\xBD Brod\t\t 6:00\n"
                            "Ko\xC5\xA1l\xC3\xA1\xC5\xBEkovice\t 6:05\t\n";
    ASSERT_TRUE(importText(utf, text).ok);
    ASSERT_EQ(utf.trains.size(), 1u);
    EXPECT_EQ(utf.trains[0].name.toByteArray(), "Os \x9A");
    EXPECT_EQ(utf.trains[0].rowCount(), 2);

    // Plain ASCII is the same either way.
    EXPECT_EQ(TextImport::splitLines("a\nb"), (std::vector<QByteArray>{"a", "b"}));
}
