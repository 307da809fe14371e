#include "editing/TrainListEditor.h"
#include "model/ClockTime.h"
#include "model/Cp1250.h"

#include <gtest/gtest.h>

namespace {

using E = TrainListEditor;

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

double hm(int h, int m)
{
    return makeTime(h, m);
}

// A line of five points: Praha (Dopravna), Zastávka, Odbočka, Hradlo,
// Kolín (Dopravna).
class TrainEditorTest : public ::testing::Test
{
protected:
    Document doc;
    TrainListEditor editor{doc};

    void SetUp() override
    {
        const char *names[] = {"Praha", "Zastávka", "Odbočka", "Hradlo", "Kolín"};
        for (int i = 0; i < 5; ++i) {
            Station s;
            s.name = cp1250::fromUnicode(u(names[i]));
            s.km = i * 10;
            doc.stations.push_back(s);
            StationKind k;
            k.stationIndex = i + 1;
            k.dopravna = i == 0 || i == 4;
            k.zastavka = i == 1;
            k.odbocka = i == 2;
            k.hradlo = i == 3;
            doc.appendKind(k);
        }
        doc.relinkStationKinds();
        doc.rebuildStationTable();
        doc.noDocument = false;
    }

    Train &addTrain(const char *name, std::initializer_list<TrainRow> rows)
    {
        Train t;
        t.name = name;
        for (const TrainRow &r : rows)
            Document::addRow(t, r.station, r.time, r.mark, r.halfMinute, r.shortDwell);
        doc.trains.push_back(t);
        return doc.trains.back();
    }

    void open()
    {
        editor.fill();
        editor.show();
    }

    // Opens the editor on the train of `gridRow`.
    void openOn(int gridRow)
    {
        open();
        editor.setTrainCursor(gridRow);
    }
};

// --- Filling and showing ----------------------------------------------------

TEST_F(TrainEditorTest, StationItemsMarkDopravnyAndOdbocky)
{
    open();
    const QStringList expected{u("+Praha"), u("-Zastávka"), u("+Odbočka"), u("-Hradlo"), u("+Kolín")};
    EXPECT_EQ(editor.stationItems(), expected);
    EXPECT_EQ(E::itemText(editor.stationItems()[1]), u("Zastávka"));
}

TEST_F(TrainEditorTest, WithoutTrainsTheCursorIsOnTheTrailingRowAndNoTrainIsCurrent)
{
    open();
    EXPECT_EQ(editor.trainRowCount(), 2);
    EXPECT_EQ(editor.trainCursorRow(), 1);
    EXPECT_EQ(editor.currentTrain(), nullptr);
    EXPECT_FALSE(editor.rowsEnabled());
    ASSERT_EQ(editor.rowCount(), 2);
    EXPECT_EQ(editor.rowCell(E::StationColumn, 1), QString());
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 1), u("0:00"));
    EXPECT_EQ(editor.trainCount(), 0);
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 0), u("Čas odj."));
    EXPECT_EQ(editor.trainCell(E::TrainNameColumn, 0), u("Číslo vlaku"));
}

TEST_F(TrainEditorTest, TheLastTrainIsCurrentWithItsRowsShown)
{
    addTrain("Os 1", {{1, hm(8, 0)}});
    addTrain("R 2", {{5, hm(7, 5)}, {-1000 + 25, hm(7, 30), 0, 1, 0}, {2, hm(8, 14)}});
    open();
    EXPECT_EQ(editor.trainCursorRow(), 2);
    EXPECT_EQ(editor.currentTrainRow(), 2);
    ASSERT_EQ(editor.rowCount(), 4);
    EXPECT_EQ(editor.rowCell(E::StationColumn, 1), u("Kolín"));
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 1), u(" 7:05"));
    EXPECT_EQ(editor.rowCell(E::StationColumn, 2), u("Km: 25"));
    EXPECT_EQ(editor.rowCell(E::RowNumberColumn, 3), u("3"));
    EXPECT_TRUE(editor.rowsEnabled());
}

TEST_F(TrainEditorTest, StationTextsOfReferences)
{
    EXPECT_EQ(editor.stationText(0), QString());
    EXPECT_EQ(editor.stationText(2), u("Zastávka"));
    EXPECT_EQ(editor.stationText(-1000), u("Km: 0"));
    EXPECT_EQ(editor.stationText(-1999), u("Km: -999"));
    // Kept trains may point past a station list that became shorter.
    EXPECT_EQ(editor.stationText(6), QString());
    EXPECT_EQ(editor.stationText(1000000), QString());
}

TEST_F(TrainEditorTest, AnotherTrainShowsItsRowsFromTheTop)
{
    addTrain("A", {{1, hm(8, 0)}, {2, hm(8, 10), 0, 1, 0}, {3, hm(8, 20)}});
    addTrain("B", {{5, hm(9, 0), 0, 0, 1}});
    openOn(1);
    editor.setRowCursor(2);
    EXPECT_TRUE(editor.halfMinute());
    editor.setTrainCursor(2);
    EXPECT_EQ(editor.rowCursor(), 1);
    EXPECT_FALSE(editor.halfMinute());
    EXPECT_TRUE(editor.shortDwell());
    editor.setTrainCursor(3);
    EXPECT_EQ(editor.currentTrain(), nullptr);
    EXPECT_FALSE(editor.rowsEnabled());
}

// --- Train names ------------------------------------------------------------

TEST_F(TrainEditorTest, ANameInTheTrailingRowCreatesATrainAndEnterMovesOn)
{
    open();
    editor.commitTrainName(1, u("  Os 5401 "));
    ASSERT_EQ(doc.trains.size(), 1u);
    const Train &t = doc.trains[0];
    EXPECT_EQ(t.name, QByteArrayView("Os 5401"));
    EXPECT_TRUE(t.isEmpty());
    EXPECT_EQ(t.firstTime, 0.0);
    EXPECT_EQ(editor.trainRowCount(), 3);
    EXPECT_EQ(editor.trainCell(E::TrainNumberColumn, 2), u("2"));
    EXPECT_EQ(editor.trainCell(E::TrainNameColumn, 2), QString());
    EXPECT_EQ(editor.trainCursorRow(), 2);
    EXPECT_EQ(editor.currentTrain(), nullptr);
    EXPECT_EQ(editor.trainCount(), 1);

    editor.commitTrainName(2, u("R 601"));
    EXPECT_EQ(doc.trains.size(), 2u);
    EXPECT_EQ(editor.trainCursorRow(), 3);
}

TEST_F(TrainEditorTest, ANewTrainStaysCurrentWhenTheFocusLeftTheGrid)
{
    open();
    editor.commitTrainName(1, u("Os 1"), 1, false);
    EXPECT_EQ(editor.trainCursorRow(), 1);
    EXPECT_EQ(editor.currentTrainRow(), 1);
    EXPECT_TRUE(editor.rowsEnabled());
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 1), u(" 0:00"));
}

TEST_F(TrainEditorTest, RenamingKeepsBlanksAndCutsToTwentyCharacters)
{
    addTrain("Os 1", {{1, hm(8, 0)}});
    open();
    editor.commitTrainName(1, u(" Sp 1234 Ústí nad Labem"));
    EXPECT_EQ(cp1250::toUnicode(doc.trains[0].name.view()), u(" Sp 1234 Ústí nad La"));
    EXPECT_EQ(doc.trains[0].firstStation, 1) << "the rows stay";
}

TEST_F(TrainEditorTest, ABlankNameOverATrainIsNotStored)
{
    addTrain("Os 1", {{1, hm(8, 0)}});
    addTrain("Os 3", {{1, hm(9, 0)}});
    open();
    editor.commitTrainName(1, u("   "), 1);
    EXPECT_EQ(doc.trains.size(), 2u);
    EXPECT_EQ(doc.trains[0].name, QByteArrayView("Os 1"));
    EXPECT_EQ(editor.trainCursorRow(), 1) << "no step after a name that was not stored";
    EXPECT_EQ(editor.currentTrainRow(), 1);
}

TEST_F(TrainEditorTest, ClearingTheLastNameRemovesTheTrainWithItsRows)
{
    addTrain("Os 1", {{1, hm(8, 0)}, {2, hm(8, 10)}});
    addTrain("Os 3", {{1, hm(9, 0)}, {2, hm(9, 10)}});
    open();
    editor.commitTrainName(2, QString());
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(doc.trains[0].name, QByteArrayView("Os 1"));
    EXPECT_EQ(editor.trainRowCount(), 3);
    EXPECT_EQ(editor.trainCursorRow(), 2);
    EXPECT_EQ(editor.currentTrain(), nullptr);
    EXPECT_EQ(editor.trainCount(), 1);
}

TEST_F(TrainEditorTest, ClearingTheOnlyTrainEmptiesTheList)
{
    addTrain("Os 1", {{1, hm(8, 0)}});
    open();
    editor.commitTrainName(1, u(" "));
    EXPECT_TRUE(doc.trains.empty());
    EXPECT_EQ(editor.trainRowCount(), 2);
    EXPECT_EQ(editor.trainCursorRow(), 1);
    EXPECT_EQ(editor.trainCount(), 0);
}

TEST_F(TrainEditorTest, BlankNamesAtTheEndGoTogether)
{
    addTrain("A", {});
    addTrain("B", {});
    addTrain("C", {});
    open();
    editor.commitTrainName(2, QString()); // B is kept, its cell is blank
    EXPECT_EQ(doc.trains.size(), 3u);
    editor.commitTrainName(3, QString());
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(doc.trains[0].name, QByteArrayView("A"));
    EXPECT_EQ(editor.trainRowCount(), 3);
    EXPECT_EQ(editor.trainCursorRow(), 2);
}

// --- Times ------------------------------------------------------------------

struct TimeCase
{
    const char *entry;
    int hours, minutes; // -1: the old time stays
    bool half, shortDwell;
};

void PrintTo(const TimeCase &c, std::ostream *os)
{
    *os << '"' << c.entry << '"';
}

// "14+" -> "e14plus": test names that say which entry failed.
std::string entryName(const ::testing::TestParamInfo<TimeCase> &info)
{
    std::string name = "e";
    for (const char *p = info.param.entry; *p; ++p) {
        const char c = *p;
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))
            name += c;
        else if (c == '+')
            name += "plus";
        else if (c == '-')
            name += "minus";
        else if (c == '*')
            name += "star";
        else
            name += "_";
    }
    return name + "_" + std::to_string(info.index);
}

class TimeEntryTest : public TrainEditorTest, public ::testing::WithParamInterface<TimeCase>
{
};

// Row 2 is entered below a row at 8:55; its old time is 9:30.
TEST_P(TimeEntryTest, EntryBelowAQuarterToNine)
{
    const TimeCase c = GetParam();
    addTrain("Os 1", {{1, hm(8, 55)}, {2, hm(9, 30), 0, 1, 1}, {3, hm(9, 40)}});
    openOn(1);
    editor.setRowCursor(2);
    editor.commitTime(2, u(c.entry));
    const TrainStop &s = doc.trains[0].stops[0];
    const double expected = c.hours < 0 ? hm(9, 30) : hm(c.hours, c.minutes);
    EXPECT_DOUBLE_EQ(s.time, expected);
    EXPECT_EQ(s.halfMinute, c.half);
    EXPECT_EQ(s.shortDwell, c.shortDwell);
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 2), formatClockTime(expected));
    EXPECT_EQ(editor.rowCursor(), 3) << "the cursor steps down after a commit";
}

INSTANTIATE_TEST_SUITE_P(Entries, TimeEntryTest,
                         ::testing::Values(TimeCase{"14", 8, 14, false, false}, TimeCase{"14+", 8, 14, true, false},
                                           TimeCase{"14-", 8, 14, false, true}, TimeCase{"14*", 8, 14, true, true},
                                           TimeCase{"7", 8, 7, false, false}, TimeCase{" 7 ", 8, 7, false, false},
                                           TimeCase{"1+", 8, 1, true, false}, TimeCase{"+", 8, 55, true, false},
                                           TimeCase{"1430", 14, 30, false, false},
                                           TimeCase{"1430-", 14, 30, false, true}, TimeCase{"0705*", 7, 5, true, true},
                                           TimeCase{"0705+", 7, 5, true, false}, TimeCase{"2359", 23, 59, false, false},
                                           // Entries that are no time keep the old one; flags typed with them are
                                           // stored all the same.
                                           TimeCase{"2561", -1, 0, false, false}, TimeCase{"705", -1, 0, false, false},
                                           TimeCase{"60", -1, 0, false, false}, TimeCase{"9a+", -1, 0, true, false},
                                           TimeCase{"ab", -1, 0, false, false}, TimeCase{"-", -1, 0, false, false},
                                           TimeCase{"", -1, 0, false, false}, TimeCase{"1260-", -1, 0, false, true},
                                           TimeCase{"2400", -1, 0, false, false}),
                         entryName);

TEST_F(TrainEditorTest, ALonePlusTwiceGivesTheHalfMinuteThenTheNextMinute)
{
    addTrain("Os 1", {{1, hm(8, 14)}, {2, hm(0, 0)}, {3, hm(0, 0)}});
    openOn(1);
    editor.setRowCursor(2);
    editor.commitTime(2, u("+"));
    EXPECT_DOUBLE_EQ(doc.trains[0].stops[0].time, hm(8, 14));
    EXPECT_EQ(doc.trains[0].stops[0].halfMinute, 1);
    EXPECT_EQ(editor.rowCursor(), 3);
    editor.commitTime(3, u("+"));
    EXPECT_DOUBLE_EQ(doc.trains[0].stops[1].time, hm(8, 15));
    EXPECT_EQ(doc.trains[0].stops[1].halfMinute, 0);
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 3), u(" 8:15"));
    // The last row keeps the cursor, and the boxes show its flags.
    EXPECT_EQ(editor.rowCursor(), 3);
    EXPECT_FALSE(editor.halfMinute());
    editor.setRowCursor(2);
    EXPECT_TRUE(editor.halfMinute());
}

TEST_F(TrainEditorTest, ShortEntriesOnTheFirstRowGiveMidnight)
{
    addTrain("Os 1", {{1, hm(8, 14)}, {2, hm(8, 20)}});
    openOn(1);
    editor.commitTime(1, u("14+"));
    EXPECT_DOUBLE_EQ(doc.trains[0].firstTime, 0.0);
    EXPECT_EQ(doc.trains[0].firstHalfMinute, 1);
    editor.setRowCursor(1);
    editor.commitTime(1, u("0812"));
    EXPECT_DOUBLE_EQ(doc.trains[0].firstTime, hm(8, 12));
    EXPECT_EQ(doc.trains[0].firstHalfMinute, 0);
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 1), u(" 8:12"));
}

TEST_F(TrainEditorTest, AMinuteTakesTheHourOfTheRowAboveEvenWhenEarlier)
{
    addTrain("Os 1", {{1, hm(23, 58)}, {2, hm(0, 0)}});
    openOn(1);
    editor.setRowCursor(2);
    editor.commitTime(2, u("3"));
    EXPECT_DOUBLE_EQ(doc.trains[0].stops[0].time, hm(23, 3)) << "rows are never checked against each other";
}

TEST_F(TrainEditorTest, ACommitAfterTheCursorMovedDoesNotStepAgain)
{
    addTrain("Os 1", {{1, hm(8, 0)}, {2, hm(8, 5)}, {3, hm(8, 9)}});
    openOn(1);
    editor.setRowCursor(1);
    editor.commitTime(1, u("0810"), 2);
    EXPECT_EQ(editor.rowCursor(), 2);
    // Committed on the way to the flag boxes: the cursor stays.
    editor.commitTime(2, u("0811"), -1, false);
    EXPECT_EQ(editor.rowCursor(), 2);
    EXPECT_DOUBLE_EQ(doc.trains[0].stops[0].time, hm(8, 11));
}

// --- Inserting rows ---------------------------------------------------------

TEST_F(TrainEditorTest, AStationGoesIntoTheFirstRowOfAnEmptyTrain)
{
    addTrain("Os 1", {});
    openOn(1);
    EXPECT_EQ(editor.rowCount(), 2);
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 1), u(" 0:00"));
    editor.setInsertPosition(E::InsertPosition::AtCursor);
    editor.insertStation(2);
    const Train &t = doc.trains[0];
    EXPECT_EQ(t.firstStation, 3);
    EXPECT_TRUE(t.stops.empty());
    EXPECT_EQ(editor.rowCell(E::StationColumn, 1), u("Odbočka"));
    EXPECT_EQ(editor.rowCursor(), 1);
}

TEST_F(TrainEditorTest, AtTheEndAStationIsAppendedAndTakesTheCursor)
{
    addTrain("Os 1", {{1, hm(8, 0)}, {2, hm(8, 5)}});
    openOn(1);
    editor.insertStation(4);
    const Train &t = doc.trains[0];
    ASSERT_EQ(t.stops.size(), 2u);
    EXPECT_EQ(t.stops[1].station, 5);
    EXPECT_EQ(t.stops[1].time, 0.0);
    EXPECT_EQ(editor.rowCount(), 4);
    EXPECT_EQ(editor.rowCell(E::RowNumberColumn, 3), u("3"));
    EXPECT_EQ(editor.rowCell(E::StationColumn, 3), u("Kolín"));
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 3), u(" 0:00"));
    EXPECT_EQ(editor.rowCursor(), 3);
}

TEST_F(TrainEditorTest, AtTheCursorOnRowOneTheOldFirstRowMovesDownWithItsFlags)
{
    addTrain("Os 1", {{1, hm(8, 0), 3, 1, 1}, {2, hm(8, 5)}});
    openOn(1);
    editor.setInsertPosition(E::InsertPosition::AtCursor);
    editor.setRowCursor(1);
    editor.insertStation(4);
    const Train &t = doc.trains[0];
    EXPECT_EQ(t.firstStation, 5);
    EXPECT_EQ(t.firstTime, 0.0);
    EXPECT_EQ(t.firstMark, 0);
    EXPECT_EQ(t.firstHalfMinute, 0);
    EXPECT_EQ(t.firstShortDwell, 0);
    ASSERT_EQ(t.stops.size(), 2u);
    EXPECT_EQ(t.stops[0].station, 1);
    EXPECT_DOUBLE_EQ(t.stops[0].time, hm(8, 0));
    EXPECT_EQ(t.stops[0].mark, 3);
    EXPECT_EQ(t.stops[0].halfMinute, 1);
    EXPECT_EQ(t.stops[0].shortDwell, 1);
    EXPECT_EQ(t.stops[1].station, 2);
    EXPECT_EQ(editor.rowCell(E::StationColumn, 1), u("Kolín"));
    EXPECT_EQ(editor.rowCell(E::StationColumn, 2), u("Praha"));
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 2), u(" 8:00"));
    EXPECT_EQ(editor.rowCursor(), 1);
}

TEST_F(TrainEditorTest, AtTheCursorFurtherDownTheRowGoesBeforeTheCursorRow)
{
    addTrain("Os 1", {{1, hm(8, 0)}, {2, hm(8, 5)}, {3, hm(8, 9)}});
    openOn(1);
    editor.setInsertPosition(E::InsertPosition::AtCursor);
    editor.setRowCursor(2);
    editor.insertStation(4);
    editor.setRowCursor(4);
    editor.insertStation(3);
    const Train &t = doc.trains[0];
    ASSERT_EQ(t.stops.size(), 4u);
    EXPECT_EQ(t.firstStation, 1);
    EXPECT_EQ(t.stops[0].station, 5);
    EXPECT_EQ(t.stops[1].station, 2);
    EXPECT_EQ(t.stops[2].station, 4);
    EXPECT_EQ(t.stops[3].station, 3);
    EXPECT_EQ(editor.rowCursor(), 4);
    EXPECT_EQ(editor.rowCell(E::StationColumn, 5), u("Odbočka"));
}

TEST_F(TrainEditorTest, ShiftEnterInsertsTheStationTwice)
{
    addTrain("Os 1", {});
    openOn(1);
    editor.insertStation(1, true);
    const Train &t = doc.trains[0];
    EXPECT_EQ(t.firstStation, 2);
    ASSERT_EQ(t.stops.size(), 1u);
    EXPECT_EQ(t.stops[0].station, 2);
    EXPECT_EQ(editor.rowCursor(), 2);

    editor.setInsertPosition(E::InsertPosition::AtCursor);
    editor.setRowCursor(2);
    editor.insertStation(2, true);
    ASSERT_EQ(t.stops.size(), 3u);
    EXPECT_EQ(t.stops[0].station, 3);
    EXPECT_EQ(t.stops[1].station, 3);
    EXPECT_EQ(t.stops[2].station, 2);
}

TEST_F(TrainEditorTest, AKilometreIsAlwaysAppended)
{
    addTrain("Os 1", {});
    addTrain("Os 3", {{1, hm(8, 0)}, {2, hm(8, 5)}});
    for (auto position : {E::InsertPosition::AtEnd, E::InsertPosition::AtCursor}) {
        openOn(1);
        editor.setInsertPosition(position);
        editor.insertKilometre(25);
        EXPECT_EQ(doc.trains[0].firstStation, -975);
        EXPECT_EQ(editor.rowCell(E::StationColumn, 1), u("Km: 25"));
        doc.trains[0].firstStation = 0;

        editor.setTrainCursor(2);
        editor.setInsertPosition(position);
        editor.setRowCursor(1);
        editor.insertKilometre(25);
        const Train &t = doc.trains[1];
        ASSERT_EQ(t.stops.size(), 2u);
        EXPECT_EQ(t.stops.back().station, -975);
        EXPECT_EQ(t.firstStation, 1);
        EXPECT_EQ(editor.rowCell(E::StationColumn, 3), u("Km: 25"));
        EXPECT_EQ(editor.rowCursor(), 3);
        doc.trains[1].stops.pop_back();
    }
}

TEST_F(TrainEditorTest, KilometresOutsideTheDialogsRangeAreRefused)
{
    addTrain("Os 1", {});
    openOn(1);
    editor.insertKilometre(1000);
    editor.insertKilometre(-1000);
    EXPECT_TRUE(doc.trains[0].isEmpty());
    editor.insertKilometre(-999);
    EXPECT_EQ(doc.trains[0].firstStation, -1999);
}

TEST_F(TrainEditorTest, NothingIsInsertedWithoutACurrentTrain)
{
    addTrain("Os 1", {});
    openOn(2);
    editor.insertStation(0);
    editor.insertKilometre(5);
    editor.insertStation(99);
    editor.commitTime(1, u("0800"));
    editor.deleteRow();
    editor.setHalfMinute(true);
    editor.setRusici(true);
    EXPECT_TRUE(doc.trains[0].isEmpty());
    EXPECT_EQ(doc.trains[0].rusici, 0);
    EXPECT_FALSE(editor.halfMinute());
    EXPECT_FALSE(editor.rusici());
}

// --- Deleting rows ----------------------------------------------------------

TEST_F(TrainEditorTest, DeletingRowOneMovesRowTwoUp)
{
    addTrain("Os 1", {{1, hm(8, 0)}, {2, hm(8, 5), -2, 1, 1}, {3, hm(8, 9)}});
    openOn(1);
    editor.setRowCursor(1);
    editor.deleteRow();
    const Train &t = doc.trains[0];
    EXPECT_EQ(t.firstStation, 2);
    EXPECT_DOUBLE_EQ(t.firstTime, hm(8, 5));
    EXPECT_EQ(t.firstMark, -2);
    EXPECT_EQ(t.firstHalfMinute, 1);
    EXPECT_EQ(t.firstShortDwell, 1);
    ASSERT_EQ(t.stops.size(), 1u);
    EXPECT_EQ(t.stops[0].station, 3);
    EXPECT_EQ(editor.rowCount(), 3);
    EXPECT_EQ(editor.rowCell(E::StationColumn, 1), u("Zastávka"));
    EXPECT_TRUE(editor.halfMinute());
}

TEST_F(TrainEditorTest, DeletingTheOnlyRowLeavesAnEmptyTrain)
{
    addTrain("Os 1", {{4, hm(8, 0)}});
    openOn(1);
    editor.deleteRow();
    const Train &t = doc.trains[0];
    EXPECT_TRUE(t.isEmpty());
    EXPECT_EQ(t.firstTime, 0.0);
    ASSERT_EQ(editor.rowCount(), 2);
    EXPECT_EQ(editor.rowCell(E::StationColumn, 1), QString());
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 1), u(" 0:00"));
    editor.deleteRow(); // again: nothing left to take
    EXPECT_TRUE(t.isEmpty());
}

TEST_F(TrainEditorTest, DeletingALaterRowClosesTheGap)
{
    addTrain("Os 1", {{1, hm(8, 0)}, {2, hm(8, 5)}, {3, hm(8, 9)}});
    openOn(1);
    editor.setRowCursor(3);
    editor.deleteRow();
    const Train &t = doc.trains[0];
    ASSERT_EQ(t.stops.size(), 1u);
    EXPECT_EQ(t.stops[0].station, 2);
    EXPECT_EQ(editor.rowCount(), 3);
    EXPECT_EQ(editor.rowCursor(), 2) << "the cursor stays inside the grid";
}

// --- Flags ------------------------------------------------------------------

TEST_F(TrainEditorTest, RowFlagsGoToTheCursorRowAndTrainFlagsToTheTrain)
{
    addTrain("Os 1", {{1, hm(8, 0)}, {2, hm(8, 5)}});
    openOn(1);
    editor.setRowCursor(2);
    editor.setHalfMinute(true);
    editor.setShortDwell(true);
    editor.setRusici(true);
    editor.setPodlePotreby(true);
    const Train &t = doc.trains[0];
    EXPECT_EQ(t.stops[0].halfMinute, 1);
    EXPECT_EQ(t.stops[0].shortDwell, 1);
    EXPECT_EQ(t.firstHalfMinute, 0);
    EXPECT_EQ(t.rusici, 1);
    EXPECT_EQ(t.podlePotreby, 1);
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 2), u(" 8:05")) << "the time text stays";
    editor.setRowCursor(1);
    editor.setHalfMinute(true);
    EXPECT_EQ(t.firstHalfMinute, 1);
    editor.setRusici(false);
    EXPECT_EQ(t.rusici, 0);
}

// --- Station list navigation ------------------------------------------------

TEST_F(TrainEditorTest, DopravnyAOdbockySkipOtherPointsOnArrowKeysOnly)
{
    open();
    editor.setNavigation(E::Navigation::TrafficPoints);
    // A mouse click: no arrow key is down.
    EXPECT_EQ(editor.selectStation(1), 1);

    editor.stationKeyDown(E::Arrow::Down);
    EXPECT_EQ(editor.selectStation(1), 2);
    editor.stationKeyUp();
    editor.stationKeyDown(E::Arrow::Down);
    EXPECT_EQ(editor.selectStation(3), 4);
    editor.stationKeyUp();

    editor.stationKeyDown(E::Arrow::Up);
    EXPECT_EQ(editor.selectStation(3), 2);
    EXPECT_EQ(editor.selectStation(1), 0);
    editor.stationKeyUp();

    editor.setNavigation(E::Navigation::All);
    editor.stationKeyDown(E::Arrow::Down);
    EXPECT_EQ(editor.selectStation(1), 1);
}

TEST_F(TrainEditorTest, NoTrafficPointBelowLeavesNothingSelected)
{
    doc.findKind(5)->dopravna = 0;
    doc.findKind(5)->hlaska = 1;
    open();
    editor.setNavigation(E::Navigation::TrafficPoints);
    editor.stationKeyDown(E::Arrow::Down);
    EXPECT_EQ(editor.selectStation(3), -1);
    editor.stationKeyUp();
    // Going up stops at the first item whatever it is.
    doc.findKind(1)->dopravna = 0;
    doc.findKind(3)->odbocka = 0;
    open();
    editor.setNavigation(E::Navigation::TrafficPoints);
    editor.stationKeyDown(E::Arrow::Up);
    EXPECT_EQ(editor.selectStation(3), 0);
}

} // namespace
