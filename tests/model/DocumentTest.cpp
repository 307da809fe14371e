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
    EXPECT_EQ(name.size(), 20);
    EXPECT_EQ(name.toByteArray(), QByteArray("Os 5401 with a much "));
    name = "R 601";
    EXPECT_EQ(name.toByteArray(), QByteArray("R 601"));
    EXPECT_TRUE(name == QByteArrayView("R 601"));
    FixedString<7> empty;
    EXPECT_TRUE(empty.isEmpty());
}

TEST(TrainRows, OneRowTrainHoldsEverythingInTheTrainRecord)
{
    Train t;
    EXPECT_TRUE(t.isEmpty());
    EXPECT_EQ(t.rowCount(), 0);
    Document::addRow(t, 3, 0.25, 2, 1, 0);
    EXPECT_TRUE(t.stops.empty());
    EXPECT_EQ(t.firstStation, 3);
    EXPECT_DOUBLE_EQ(t.firstTime, 0.25);
    EXPECT_EQ(t.firstMark, 2);
    EXPECT_EQ(t.firstHalfMinute, 1);
    EXPECT_EQ(t.rowCount(), 1);

    Document::addRow(t, 4, 0.26, 0, 0, 1);
    Document::addRow(t, -975, 0.27, -1, 0, 0);
    ASSERT_EQ(t.stops.size(), 2u);
    EXPECT_EQ(t.stops[0].station, 4);
    EXPECT_EQ(t.stops[0].shortDwell, 1);
    EXPECT_EQ(t.stops[0].pastMidnight, 0);
    EXPECT_EQ(t.stops[1].station, -975);
    EXPECT_EQ(t.row(2).mark, -1);
    EXPECT_EQ(t.rowCount(), 3);
}

TEST(TrainRows, SetRowWritesTheRightRecord)
{
    Train t;
    Document::addRow(t, 1, 0.1, 0, 0, 0);
    Document::addRow(t, 2, 0.2, 0, 0, 0);
    t.setRow(0, {5, 0.5, 1, 1, 1});
    t.setRow(1, {6, 0.6, 2, 0, 1});
    EXPECT_EQ(t.firstStation, 5);
    EXPECT_EQ(t.firstShortDwell, 1);
    EXPECT_EQ(t.stops[0].station, 6);
    EXPECT_EQ(t.stops[0].mark, 2);
}

TEST(StationTable, EmptyListGivesMaxKmZero)
{
    Document doc;
    doc.maxKm = 99;
    doc.rebuildStationTable();
    EXPECT_EQ(doc.maxKm, 0);
}

TEST(StationTable, MaxKmIsTheLargestNotTheLast)
{
    Document doc;
    doc.stations = {station("A", 40), station("B", 55), station("C", 12), station("D", -3)};
    doc.rebuildStationTable();
    EXPECT_EQ(doc.maxKm, 55);
    EXPECT_EQ(doc.stationKm[1], 40);
    EXPECT_EQ(doc.stationKm[3], 12);
    EXPECT_EQ(doc.stationKm[4], -3);
}

TEST(StationTable, NegativePositionsNeverLowerMaxKm)
{
    Document doc;
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
    EXPECT_EQ(doc.stationKm[1000], 1000);
    doc.stations.pop_back();
    EXPECT_NO_THROW(doc.rebuildStationTable());
    EXPECT_EQ(doc.maxKm, 1000);
}

TEST(RowKm, KilometrePointsAreHeldToTheLine)
{
    Document doc;
    doc.stations = {station("A", 0), station("B", 50)};
    doc.rebuildStationTable();
    EXPECT_EQ(doc.rowKm(-1000), 0);   // kilometre 0
    EXPECT_EQ(doc.rowKm(-1999), 0);   // kilometre -999, below the line
    EXPECT_EQ(doc.rowKm(-975), 25);   // kilometre 25
    EXPECT_EQ(doc.rowKm(-1), 50);     // kilometre 999, above the line
    EXPECT_EQ(doc.rowKm(2), 50);
    EXPECT_THROW(doc.rowKm(0), RangeError);
    EXPECT_THROW(doc.rowKm(1001), RangeError);
}

TEST(Clearing, ClearProfilesLeavesDwellsAtMinusOne)
{
    Document doc;
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
    EXPECT_FALSE(doc.profiles.at(1, 1).inUse());
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

TEST(Clearing, ClearingKindsUnlinksStations)
{
    Document doc;
    doc.stations = {station("A", 0)};
    doc.relinkStationKinds();
    ASSERT_NE(doc.stations[0].kind, nullptr);
    doc.clearStationKinds();
    EXPECT_EQ(doc.stations[0].kind, nullptr);
}

TEST(Labels, NewLabelsGoToTheHead)
{
    Document doc;
    doc.newTrainLabel().text = "first";
    TrainLabel &second = doc.newTrainLabel();
    second.text = "second";
    EXPECT_EQ(doc.trainLabelCount(), 2);
    EXPECT_EQ(doc.trainLabels.front().text, QByteArrayView("second"));
    EXPECT_EQ(doc.trainLabels.back().text, QByteArrayView("first"));
    EXPECT_FALSE(second.hasImage());
    EXPECT_EQ(second.imageCodeCount(), 0);
    EXPECT_EQ(second.visible, 0);

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
}

TEST(Kinds, LinkingWithoutDefaultsLeavesUnknownStationsUnlinked)
{
    Document doc;
    doc.stations = {station("A", 0), station("B", 5)};
    StationKind b;
    b.stationIndex = 2;
    doc.prependKind(b);
    doc.linkStationKinds();
    EXPECT_EQ(doc.stations[0].kind, nullptr);
    EXPECT_EQ(doc.stations[1].kind, &doc.stationKinds.front());
    EXPECT_EQ(doc.stationKinds.size(), 1u);
}

TEST(Settings, DefaultsAreTheProgramDefaults)
{
    const DocumentSettings s;
    EXPECT_EQ(s.zoom, 4);
    EXPECT_EQ(s.timeFontName, QByteArray("Arial CE"));
    EXPECT_EQ(s.timeFontSize, 7);
    EXPECT_EQ(s.trainFontSmallName, QByteArray("Times New Roman CE"));
    EXPECT_EQ(s.trainFontSmallSize, 8);
    EXPECT_EQ(s.trainFontLargeSize, 12);
    EXPECT_EQ(s.penThin + s.penMedium * 10 + s.penThick * 100, 321);
    EXPECT_EQ(s.ratioX, 1);
    EXPECT_EQ(s.ratioY, 2);
    EXPECT_EQ(s.showCategory, 1);
    EXPECT_EQ(s.saveLabelImages, 0);
}

TEST(DocumentState, AFreshDocumentIsEmptyAndUntitled)
{
    Document doc;
    EXPECT_TRUE(doc.noDocument);
    EXPECT_TRUE(doc.untitled);
    EXPECT_FALSE(doc.labelImagesStale);
    EXPECT_EQ(doc.profiles.at(1, 5).dwellAt(3), -1);
}

#include "SampleLine.h"

TEST(SampleLine, BuildsABusyLineWithEveryKindOfRow)
{
    Document doc;
    SampleLine::fill(doc, {60, 300, 1000, 40});
    EXPECT_EQ(doc.stations.size(), 60u);
    EXPECT_EQ(doc.maxKm, 300);
    EXPECT_EQ(doc.trains.size(), 1000u);
    size_t rows = 0;
    bool pastMidnight = false;
    for (const Train &t : doc.trains) {
        rows += static_cast<size_t>(t.rowCount());
        for (const TrainStop &s : t.stops)
            pastMidnight |= s.time < t.firstTime;
    }
    EXPECT_GT(rows, 1000u * 30);
    EXPECT_TRUE(pastMidnight);
    for (const Station &s : doc.stations)
        ASSERT_NE(s.kind, nullptr);
}
