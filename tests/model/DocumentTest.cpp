#include "model/Document.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

namespace {

Station station(const char *name, int32_t km)
{
    Station s;
    s.name = name;
    s.km = km;
    return s;
}

} // namespace

TEST(FixedString, CutsLongerTextWhenStored)
{
    FixedString<20> name("Os 5401 with a much longer tail");
    EXPECT_EQ(name.toByteArray(), QByteArray("Os 5401 with a much "));
    name = "R 601";
    EXPECT_EQ(name.toByteArray(), QByteArray("R 601"));
}

TEST(TrainRows, TheFirstRowLivesInTheTrainRecordAndTheRestInItsStops)
{
    Train t;
    Document::addRow(t, 3, 0.25, 2, 1, 0);
    EXPECT_TRUE(t.stops.empty()) << "a one-row train has no stops";
    EXPECT_EQ(t.firstStation, 3);
    EXPECT_EQ(t.firstTime, 0.25);
    EXPECT_EQ(t.firstMark, 2);
    EXPECT_EQ(t.firstHalfMinute, 1);
    EXPECT_EQ(t.rowCount(), 1);

    Document::addRow(t, 4, 0.26, 0, 0, 1);
    Document::addRow(t, -975, 0.27, -1, 0, 0);
    ASSERT_EQ(t.stops.size(), 2u);
    EXPECT_EQ(t.stops[0].station, 4);
    EXPECT_EQ(t.stops[0].shortDwell, 1);
    EXPECT_EQ(t.row(2).mark, -1);
    EXPECT_EQ(t.rowCount(), 3);

    t.setRow(0, {5, 0.5, 1, 1, 1});
    t.setRow(1, {6, 0.6, 2, 0, 1});
    EXPECT_EQ(t.firstStation, 5);
    EXPECT_EQ(t.firstShortDwell, 1);
    EXPECT_EQ(t.stops[0].station, 6);
    EXPECT_EQ(t.stops[0].mark, 2);
}

TEST(StationTable, MaxKmIsTheLargestPositionAndNeverBelowZero)
{
    Document doc;
    doc.maxKm = 99;
    doc.rebuildStationTable();
    EXPECT_EQ(doc.maxKm, 0) << "empty station list";

    doc.stations = {station("A", 40), station("B", 55), station("C", 12), station("D", -3)};
    doc.rebuildStationTable();
    EXPECT_EQ(doc.maxKm, 55) << "the largest, not the last";
    EXPECT_EQ(doc.stationKm[1], 40);
    EXPECT_EQ(doc.stationKm[4], -3);

    doc.stations = {station("A", -10), station("B", -2)};
    doc.rebuildStationTable();
    EXPECT_EQ(doc.maxKm, 0);
}

TEST(StationTable, TheThousandAndFirstStationIsARangeError)
{
    Document doc;
    for (int i = 1; i <= 1001; ++i)
        doc.stations.push_back(station("S", i));
    EXPECT_THROW(doc.rebuildStationTable(), RangeError);
    doc.stations.pop_back();
    EXPECT_NO_THROW(doc.rebuildStationTable());
    EXPECT_EQ(doc.maxKm, 1000);
}

TEST(RowKm, KilometrePointsAreHeldToTheLine)
{
    Document doc;
    doc.stations = {station("A", 0), station("B", 50)};
    doc.rebuildStationTable();
    EXPECT_EQ(doc.rowKm(-1000), 0); // kilometre 0
    EXPECT_EQ(doc.rowKm(-1999), 0); // kilometre -999, below the line
    EXPECT_EQ(doc.rowKm(-975), 25); // kilometre 25
    EXPECT_EQ(doc.rowKm(-1), 50);   // kilometre 999, above the line
    EXPECT_EQ(doc.rowKm(2), 50);
    EXPECT_THROW(doc.rowKm(0), RangeError);
    EXPECT_THROW(doc.rowKm(1001), RangeError);
}

TEST(Clearing, ClearProfilesLeavesDwellsAtMinusOne)
{
    Document doc;
    EXPECT_EQ(doc.profiles.at(1, 5).dwellAt(3), -1) << "a fresh document too";
    doc.profiles.at(2, 99).dwellAt(99) = 4;
    doc.profiles.at(1, 1).runTimeAt(1) = 7;
    doc.profiles.at(1, 1).name = "Os";
    doc.profiles.countOf(1) = 3;
    doc.profiles.countOf(2) = 99;
    doc.clearProfiles();
    EXPECT_EQ(doc.profiles.countOf(1), 0);
    EXPECT_EQ(doc.profiles.countOf(2), 0);
    for (int d = 1; d <= 2; ++d)
        for (int n = 1; n <= 99; ++n)
            for (int i = 1; i <= 99; ++i) {
                ASSERT_EQ(doc.profiles.at(d, n).dwellAt(i), -1);
                ASSERT_EQ(doc.profiles.at(d, n).runTimeAt(i), 0);
            }
    EXPECT_TRUE(doc.profiles.at(1, 1).name.isEmpty());
}

TEST(Clearing, TimeLabelsGoWithTrainsOnlyWhenThereWereTrains)
{
    Document doc;
    doc.newTimeLabel().text = "5";
    doc.clearTrains();
    EXPECT_EQ(doc.timeLabelCount(), 1);
    doc.trains.emplace_back();
    doc.clearTrains();
    EXPECT_EQ(doc.timeLabelCount(), 0);
    EXPECT_TRUE(doc.trains.empty());
}

TEST(Labels, NewLabelsGoToTheHead)
{
    Document doc;
    doc.newTrainLabel().text = "first";
    doc.newTrainLabel().text = "second";
    EXPECT_EQ(doc.trainLabels.front().text, QByteArrayView("second"));
    EXPECT_EQ(doc.trainLabels.back().text, QByteArrayView("first"));
    doc.newTimeLabel().text = "1";
    doc.newTimeLabel().text = "2";
    EXPECT_EQ(doc.timeLabels.front().text, QByteArrayView("2"));
    EXPECT_EQ(doc.timeLabelCount(), 2);
}

TEST(Kinds, RelinkingFindsTheFirstRecordAndMakesHaltsForTheRest)
{
    Document doc;
    doc.stations = {station("A", 0), station("B", 5), station("C", 9)};
    StationKind a;
    a.stationIndex = 1;
    a.dopravna = 1;
    doc.appendKind(a);
    StationKind c1;
    c1.stationIndex = 3;
    c1.hradlo = 1;
    doc.appendKind(c1);
    StationKind c2;
    c2.stationIndex = 3;
    c2.odbocka = 1;
    doc.appendKind(c2);

    doc.relinkStationKinds();
    ASSERT_EQ(doc.stationKinds.size(), 4u);
    EXPECT_EQ(doc.stations[0].kind->dopravna, 1);
    EXPECT_EQ(doc.stations[2].kind->hradlo, 1);
    // Station 2 had none: a halt record, put at the head.
    EXPECT_EQ(&doc.stationKinds.front(), doc.stations[1].kind);
    EXPECT_EQ(doc.stations[1].kind->stationIndex, 2);
    EXPECT_EQ(doc.stations[1].kind->zastavka, 1);
    EXPECT_EQ(doc.stations[1].kind->dopravna, 0);

    // Plain linking makes nothing; clearing the kinds leaves no dangling link.
    doc.stationKinds.pop_front();
    doc.linkStationKinds();
    EXPECT_EQ(doc.stations[1].kind, nullptr);
    EXPECT_EQ(doc.stationKinds.size(), 3u);
    doc.clearStationKinds();
    EXPECT_EQ(doc.stations[0].kind, nullptr);
}
