#include "model/Document.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <cstdint>

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
