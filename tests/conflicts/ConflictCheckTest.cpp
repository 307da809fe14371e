// The conflict check on small lines of two or three trains, its
// incremental recheck against a full one on the generated busy line, the
// list cut short, and the watch in the foreground and beside the work.
#include "conflicts/ConflictCheck.h"
#include "conflicts/ConflictText.h"
#include "conflicts/ConflictWatch.h"
#include "editing/TrainShift.h"
#include "io/DocumentFile.h"
#include "io/DocumentReader.h"

#include "model/Document.h"
#include "model/Tracks.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using DocumentFixtures::Row;
using Kind = Conflict::Kind;

// A (0 km, Dopravna), B (5 km, the kind given), C (10 km, Dopravna).
void fillLine(Document &doc, uint8_t StationKind::*middle = &StationKind::dopravna)
{
    SampleLine::addStation(doc, "A", 0);
    SampleLine::addStation(doc, "B", 5, middle);
    SampleLine::addStation(doc, "C", 10);
}

struct TrainSpec
{
    const char *name;
    std::vector<Row> rows;
    bool asRequired = false;
};

// What a conflict says, in the words of the list, with the meeting point.
std::string describe(const Document &doc, const Conflict &c)
{
    std::string s = ConflictText::line(doc, c).toStdString();
    if (c.hasPoint)
        s += "\t@" + ConflictText::clock(c.pointMinute).toStdString() + " " + std::to_string(int(c.pointMetres));
    return s;
}

std::vector<std::string> check(Document &doc, const std::vector<TrainSpec> &trains)
{
    doc.clearTrains();
    for (const TrainSpec &t : trains)
        DocumentFixtures::addTrain(doc, t.name, t.rows).podlePotreby = t.asRequired;
    ConflictCheck check(doc);
    check.recompute();
    std::vector<std::string> out;
    for (const Conflict &c : check.conflicts())
        out.push_back(describe(doc, c));
    return out;
}

using Lines = std::vector<std::string>;

std::vector<Conflict> fullCheck(const Document &doc)
{
    ConflictCheck check(doc);
    check.recompute();
    return check.conflicts();
}

// Os 1 runs up A 10:00 - C 10:10, Os 2 down C 10:02 - A 10:12: their lines
// cross at 10:06 at 6 km, between B and C.
const TrainSpec up = {"Os 1", {{1, 10, 0}, {3, 10, 10}}};
const TrainSpec down = {"Os 2", {{3, 10, 2}, {1, 10, 12}}};
const std::string meetBC = "10:05–10:07\tB – C\tOs 1\tOs 2\tkřižování na jednokolejné trati\tchyba\t@10:06 6000";
// Os 1 and Os 2 stand at B together from 10:06 to 10:07.
const std::vector<TrainSpec> meetAtB = {{"Os 1", {{1, 10, 0}, {2, 10, 5}, {2, 10, 7}, {3, 10, 12}}},
                                        {"Os 2", {{3, 10, 1}, {2, 10, 6}, {2, 10, 8}, {1, 10, 13}}}};
// R 2 passes Os 1 standing at B at 10:08.
const std::vector<TrainSpec> overtakeAtB = {{"Os 1", {{1, 10, 0}, {2, 10, 5}, {2, 10, 15}, {3, 10, 20}}},
                                            {"R 2", {{1, 10, 3}, {2, 10, 8}, {3, 10, 12}}}};
// R 2 overtakes Os 1 at 10:08 at 4 km, between A and B.
const std::vector<TrainSpec> overtakeInAB = {{"Os 1", {{1, 10, 0}, {3, 10, 20}}}, {"R 2", {{1, 10, 4}, {3, 10, 14}}}};

} // namespace

TEST(ConflictCheck, EachKindOnASmallLine)
{
    const Lines overtakenInAB = {"10:04–10:09\tA – B\tOs 1\tR 2\tpředjíždění mezi stanicemi\tchyba\t@10:08 4000",
                                 "10:09–10:10\tA – B\tOs 1\tR 2\tnedodržené následné mezidobí\tchyba",
                                 "10:09–10:10\tB – C\tOs 1\tR 2\tnedodržené následné mezidobí\tchyba"};
    const TrainSpec os1 = {"Os 1", {{1, 10, 0}, {2, 10, 5}}}; // A to B
    const std::string meetAtHalt = "10:06–10:07\tB\tOs 1\tOs 2\tkřižování bez volné koleje\tchyba";
    const std::string overtakenAtHalt = "10:08\tB\tOs 1\tR 2\tpředjíždění bez volné koleje\tchyba";
    const auto dop = &StationKind::dopravna;
    const auto halt = &StationKind::zastavka;
    const struct
    {
        const char *what;
        std::vector<TrainSpec> trains;
        Lines expected;
        uint8_t StationKind::*middle = &StationKind::dopravna;
        uint8_t mainTracks = Tracks::singleTrack;
        uint8_t belowB = 0, aboveB = 0; // the sections' own tracks
        int8_t atB = Tracks::byKind;    // B's own tracks
    } cases[] = {
        {"a meet in a section", {up, down}, {meetBC}},
        // A section set on its own follows its number, whatever the line's
        // is; the meet is above B.
        {"B – C set double", {up, down}, {}, dop, Tracks::singleTrack, 0, Tracks::doubleTrack},
        {"A – B set double", {up, down}, {meetBC}, dop, Tracks::singleTrack, Tracks::doubleTrack, 0},
        {"B – C set single on a double line", {up, down}, {meetBC}, dop, Tracks::doubleTrack, 0, Tracks::singleTrack},
        {"A – B set single on a double line", {up, down}, {}, dop, Tracks::doubleTrack, Tracks::singleTrack, 0},
        {"the same trains listed the other way",
         {down, up},
         {"10:05–10:07\tB – C\tOs 2\tOs 1\tkřižování na jednokolejné trati\tchyba\t@10:06 6000"}},
        {"a meet on double track", {up, down}, {}, dop, Tracks::doubleTrack},
        {"a train as required",
         {up, {"Os 2", down.rows, true}},
         {"10:05–10:07\tB – C\tOs 1\tOs 2\tkřižování na jednokolejné trati\tvarování\t@10:06 6000"}},
        {"a meet across midnight",
         {{"Os 1", {{1, 23, 58}, {3, 0, 8}}}, {"Os 2", {{3, 23, 59}, {1, 0, 9}}}},
         {"0:03–0:04\tB – C\tOs 1\tOs 2\tkřižování na jednokolejné trati\tchyba\t@0:03:30 5500"}},
        {"a meet over midnight, one train wholly after it",
         {{"Os 1", {{1, 23, 55}, {3, 0, 5}}}, {"Os 2", {{3, 0, 0}, {1, 0, 10}}}},
         {"0:00–0:05\tB – C\tOs 1\tOs 2\tkřižování na jednokolejné trati\tchyba\t@0:02:30 7500"}},
        {"trains meeting at a Dopravna", meetAtB, {}},
        {"trains meeting at a halt", meetAtB, {meetAtHalt}, halt},
        {"trains meeting at a halt of a double line", meetAtB, {}, halt, Tracks::doubleTrack},
        {"one passes as the other leaves a halt",
         {{"Os 1", {{1, 10, 0}, {2, 10, 5}, {2, 10, 7}, {3, 10, 12}}}, {"Os 2", {{3, 10, 2}, {1, 10, 12}}}},
         {"10:07\tB\tOs 1\tOs 2\tkřižování bez volné koleje\tchyba"},
         halt},
        {"an overtaking at a halt", overtakeAtB, {overtakenAtHalt}, halt},
        {"an overtaking at a halt of a double line", overtakeAtB, {overtakenAtHalt}, halt, Tracks::doubleTrack},
        {"an overtaking at a Dopravna", overtakeAtB, {}},
        {"a third train at a Dopravna",
         {overtakeAtB[0], overtakeAtB[1], {"Os 3", {{3, 10, 0}, {2, 10, 8}, {1, 10, 20}}}},
         {"10:08\tB\tR 2\tOs 3, Os 1\tkřižování bez volné koleje\tchyba"}},
        {"an overtaking between stations", overtakeInAB, overtakenInAB},
        {"an overtaking on double track", overtakeInAB, overtakenInAB, dop, Tracks::doubleTrack},
        {"a headway of exactly the minimum", {os1, {"Os 3", {{1, 10, 3}, {2, 10, 8}}}}, {}},
        {"a headway a minute short",
         {os1, {"Os 3", {{1, 10, 2}, {2, 10, 7}}}},
         {"10:00–10:07\tA – B\tOs 1\tOs 3\tnedodržené následné mezidobí\tchyba"}},
        {"a headway short only at the end",
         {{"Os 1", {{1, 10, 0}, {2, 10, 6}}}, {"Os 3", {{1, 10, 3}, {2, 10, 7}}}},
         {"10:06–10:07\tA – B\tOs 1\tOs 3\tnedodržené následné mezidobí\tchyba"}},
        {"a headway short over midnight, down the line",
         {{"Os 1", {{2, 23, 59}, {1, 0, 4}}}, {"Os 3", {{2, 0, 1}, {1, 0, 6}}}},
         {"23:59–0:06\tA – B\tOs 1\tOs 3\tnedodržené následné mezidobí\tchyba"}},
        {"a headway of a half minute more", {os1, {"Os 3", {{1, 10, 3, 0, 1}, {2, 10, 8, 0, 1}}}}, {}},
        {"trains passing B at the same moment meet there",
         {{"Os 1", {{1, 10, 0}, {3, 10, 10}}}, {"Os 2", {{3, 10, 0}, {1, 10, 10}}}},
         {"10:05\tB\tOs 1\tOs 2\tkřižování bez volné koleje\tchyba"},
         halt},
        // The station's own number of tracks counts instead of its kind's.
        {"a Dopravna of one track", meetAtB, {meetAtHalt}, dop, Tracks::singleTrack, 0, 0, 1},
        {"a Dopravna of no track", meetAtB, {meetAtHalt}, dop, Tracks::singleTrack, 0, 0, 0},
        {"a halt of two tracks", meetAtB, {}, halt, Tracks::singleTrack, 0, 0, 2},
        // Rows at kilometre points inside a section, a line drawn back to
        // the left and rows beyond the station list are no runs.
        {"Os 5 standing at km 7 from 10:00 to 10:20",
         {{"Os 5", {{-993, 10, 0}, {-993, 10, 20}, {3, 10, 23}}}, down},
         {"10:02–10:07\tB – C\tOs 5\tOs 2\tkřižování na jednokolejné trati\tchyba\t@10:05 7000"}},
        // A line bent at a kilometre point crosses on its bent part.
        {"Os 1 bending at km 7 between B and C",
         {{"Os 1", {{2, 10, 0}, {-993, 10, 1}, {3, 10, 10}}}, down},
         {"10:02–10:07\tB – C\tOs 1\tOs 2\tkřižování na jednokolejné trati\tchyba\t@10:04 8000"}},
        {"19:59 to 0:30, drawn back", {{"Os 1", {{1, 19, 59}, {3, 0, 30}}}, {"Os 2", {{3, 0, 0}, {1, 0, 40}}}}, {}},
        {"a row beyond the stations", {{"Os 1", {{1, 10, 0}, {4, 10, 5}, {3, 10, 10}}}, down}, {meetBC}},
    };
    for (const auto &c : cases) {
        Document doc;
        fillLine(doc, c.middle);
        doc.lineTracks.mainTracks = c.mainTracks;
        doc.stations[0].sectionTracks = c.belowB;
        doc.stations[1].sectionTracks = c.aboveB;
        doc.stations[1].stationTracks = c.atB;
        EXPECT_EQ(check(doc, c.trains), c.expected) << c.what;
    }
}

// A station list out of order by position keeps its sections by position:
// C, A, B: the sections are still A-B and B-C; B-C is held by B.
TEST(ConflictCheck, TheOrderOfTheList)
{
    Document shuffled;
    for (auto [name, km] : {std::pair{"C", 10}, {"A", 0}, {"B", 5}})
        SampleLine::addStation(shuffled, name, km);
    const std::vector<TrainSpec> trains = {{"Os 1", {{2, 10, 0}, {1, 10, 10}}}, {"Os 2", {{1, 10, 2}, {2, 10, 12}}}};
    shuffled.stations[2].sectionTracks = Tracks::doubleTrack;
    EXPECT_EQ(check(shuffled, trains), Lines{});
    shuffled.stations[2].sectionTracks = 0;
    EXPECT_EQ(check(shuffled, trains), Lines{meetBC});
}

// Any edit of one train rechecked alone gives what a full check gives,
// also when the check keeps fewer conflicts than it finds.
TEST(ConflictCheck, RecheckingOneTrainEqualsAFullCheck)
{
    for (const int32_t kept : {ConflictCheck::maxKept, 40}) {
        Document doc;
        SampleLine::fill(doc, {20, 100, 300, 20});
        doc.stations[5].sectionTracks = Tracks::doubleTrack;
        doc.stations[8].stationTracks = 3;
        ConflictCheck incremental(doc, kept);
        incremental.recompute();
        ASSERT_GT(incremental.total(), 100);

        auto expectFull = [&doc, &incremental, kept](const char *what) {
            ConflictCheck full(doc, kept);
            full.recompute();
            EXPECT_EQ(incremental.conflicts(), full.conflicts()) << what << " " << kept;
            EXPECT_EQ(incremental.total(), full.total()) << what << " " << kept;
        };
        const double tenMinutes = 10.0 / 1440.0;
        for (int32_t t : {0, 7, 150, 299}) {
            Train &train = doc.trains[static_cast<size_t>(t)];
            train.firstTime += tenMinutes;
            for (TrainStop &s : train.stops)
                s.time += tenMinutes;
            incremental.recheckTrain(t);
            expectFull("ten minutes later");
        }
        doc.trains[3].podlePotreby = !doc.trains[3].podlePotreby;
        incremental.recheckTrain(3);
        expectFull("as required");
        doc.trains[4].stops.clear();
        incremental.recheckTrain(4);
        expectFull("one row left");
        const Train copies[] = {doc.trains[10], doc.trains[11]};
        doc.trains.insert(doc.trains.end(), std::begin(copies), std::end(copies));
        incremental.recheckTrain(static_cast<int32_t>(doc.trains.size()) - 1);
        expectFull("two appended");
        doc.trains.erase(doc.trains.begin() + 2);
        incremental.recheckTrain(2);
        expectFull("one removed");
    }
}

// Twenty identical trains are 380 headways over two sections: a check
// keeping 40 lists the first 40 of them and counts the other 340 (most of
// them only counted once the sections' lists were first cut).
TEST(ConflictCheck, AListCutShortCountsTheRest)
{
    Document doc;
    fillLine(doc);
    doc.clearTrains();
    for (int i = 0; i < 20; ++i)
        DocumentFixtures::addTrain(doc, "Os", {{1, 10, 0}, {3, 10, 10}});
    ConflictCheck all(doc);
    ConflictCheck first(doc, 40);
    all.recompute();
    first.recompute();
    ASSERT_EQ(all.total(), 380);
    EXPECT_EQ(std::tuple(first.total(), first.rest(), first.warningCount()), std::tuple(380, 340, 0));
    EXPECT_EQ(first.conflicts(), std::vector<Conflict>(all.conflicts().begin(), all.conflicts().begin() + 40));
    EXPECT_EQ(ConflictText::rest(1237500), QStringLiteral("… a dalších 1 237 500"));
    EXPECT_EQ(ConflictText::rest(50), QStringLiteral("… a dalších 50"));
}

// While the line is checked its sections share a bound: five trains A–B at
// 6:00 are the first ten conflicts, so B–C keeps none of its 45 at 7:00.
// One of the five moved away, a recheck of A–B alone must bring four back.
TEST(ConflictCheck, ARecheckReachesPastTheSharedBound)
{
    Document doc;
    fillLine(doc);
    doc.clearTrains();
    for (int i = 0; i < 15; ++i)
        DocumentFixtures::addTrain(doc, "Os", {{1 + (i >= 5), 6 + (i >= 5), 0}, {2 + (i >= 5), 6 + (i >= 5), 10}});
    ConflictCheck incremental(doc, 10);
    incremental.setPool(nullptr); // the sections in their order
    incremental.recompute();
    const double threeHours = 3.0 / 24.0;
    doc.trains[0].firstTime += threeHours;
    doc.trains[0].stops[0].time += threeHours;
    incremental.recheckTrain(0);
    ConflictCheck full(doc, 10);
    full.recompute();
    EXPECT_EQ(std::tuple(incremental.total(), incremental.conflicts()), std::tuple(full.total(), full.conflicts()));
    EXPECT_EQ(full.conflicts().back().stationLow, 2);
}

// A full check beside the work: an edit while it runs starts another, and
// the one in flight is dropped; the worker's check of every document of the
// fuzz corpus gives what the foreground check gives.
TEST(ConflictWatch, BesideTheWorkAsInTheForeground)
{
    Document doc;
    fillLine(doc);
    ASSERT_EQ(check(doc, {up, down}).size(), 1u);
    doc.trains.push_back(doc.trains[0]);
    ConflictWatch watch(doc);
    int checked = 0;
    watch.setBeside([&checked] { ++checked; });
    ASSERT_TRUE(watch.refresh());
    ASSERT_TRUE(watch.pending());
    doc.trains.erase(doc.trains.begin());
    ASSERT_TRUE(watch.refresh());
    for (QDeadlineTimer deadline(60000); watch.pending() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(std::tuple(checked, watch.fullChecks(), watch.pending()), std::tuple(1, 2, false));
    EXPECT_EQ(watch.conflicts(), fullCheck(doc));
    EXPECT_EQ(watch.conflicts().size(), 1u);

    // More conflicts than the list keeps: a moved train goes to the worker.
    Document busy;
    fillLine(busy);
    busy.clearTrains();
    for (int i = 0; i < 150; ++i)
        DocumentFixtures::addTrain(busy, "Os", {{1, 10, 0}, {3, 10, 10}});
    ConflictWatch crowded(busy);
    crowded.setBeside({});
    crowded.refresh();
    crowded.wait();
    ASSERT_GT(crowded.check().rest(), 0);
    TrainShift::shiftRows(busy.trains[7], 0, 2);
    ASSERT_TRUE(crowded.refresh());
    EXPECT_EQ(std::tuple(crowded.pending(), crowded.trainChecks()), std::tuple(true, 0));
    crowded.wait();
    // Its index let go, the check still counts what it found.
    ConflictCheck busyFull(busy);
    busyFull.recompute();
    EXPECT_EQ(std::tuple(crowded.conflicts(), crowded.check().total(), crowded.check().warningCount(),
                         crowded.check().holdsIndex()),
              std::tuple(busyFull.conflicts(), busyFull.total(), busyFull.warningCount(), false));

    int withConflicts = 0;
    for (const QFileInfo &file : QDir(QStringLiteral(VLAKORYS_SOURCE_DIR "/fuzz/corpus/document")).entryInfoList()) {
        Document read;
        if (DocumentFile::load(read, file.filePath()).status != DocumentFile::Status::Ok)
            continue;
        try {
            DocumentReader::finishLoading(read);
        } catch (const std::exception &) {
            continue;
        }
        // As read, and with every train twice: trains in each other's way.
        for (int pass = 0; pass < 2; ++pass) {
            ConflictWatch beside(read);
            beside.setBeside({});
            beside.refresh();
            beside.wait();
            EXPECT_EQ(beside.conflicts(), fullCheck(read)) << file.fileName().toStdString();
            withConflicts += !beside.conflicts().empty();
            const std::vector<Train> trains = read.trains;
            read.trains.insert(read.trains.end(), trains.begin(), trains.end());
        }
    }
    EXPECT_GT(withConflicts, 0);
}

// The watch checks what changed alone: nothing the check reads (a label
// moved), one train (its rows moved, as a drag moves them), or everything
// (a section's tracks); each time with the list a full check gives.
TEST(ConflictWatch, ChecksWhatChanged)
{
    Document doc;
    fillLine(doc);
    ASSERT_EQ(check(doc, {up, {"Os 2", {{3, 10, 30}, {1, 10, 40}}}}), Lines{});
    ConflictWatch watch(doc);
    ASSERT_TRUE(watch.refresh());
    doc.redrawNeeded = true;
    EXPECT_FALSE(watch.refresh());
    TrainShift::shiftRows(doc.trains[1], 0, -56); // 28 minutes earlier: Os 2 is `down`
    ASSERT_TRUE(watch.refresh());
    EXPECT_EQ(std::tuple(watch.fullChecks(), watch.trainChecks(), watch.conflicts().size()), std::tuple(1, 1, 1u));
    EXPECT_EQ(watch.conflicts(), fullCheck(doc));
    doc.stations[1].sectionTracks = Tracks::doubleTrack;
    ASSERT_TRUE(watch.refresh());
    EXPECT_EQ(std::tuple(watch.fullChecks(), watch.trainChecks(), watch.conflicts().size()), std::tuple(2, 1, 0u));
}

TEST(ConflictCheck, TheTextsOfTimes)
{
    const std::pair<double, const char *> cases[] = {{0.0, "0:00"},      {605.0, "10:05"},    {605.5, "10:05:30"},
                                                     {1439.999, "0:00"}, {1443.5, "0:03:30"}, {-1.0, "23:59"}};
    for (auto [minute, text] : cases)
        EXPECT_EQ(ConflictText::clock(minute).toStdString(), text) << minute;
}
