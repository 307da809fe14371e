#include "editing/TrainListEditor.h"
#include "model/ClockTime.h"
#include "model/Cp1250.h"

#include "SampleLine.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using E = TrainListEditor;
// A timetable row as (station, time, mark, half minute, short dwell).
using Row = std::tuple<int, double, int, int, int>;
using Rows = std::vector<Row>;

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

double hm(int h, int m)
{
    return makeTime(h, m);
}

Rows rowsOf(const Train &t)
{
    Rows rows;
    for (int k = 0; k < t.rowCount(); ++k) {
        const TrainRow r = t.row(k);
        rows.emplace_back(r.station, r.time, r.mark, r.halfMinute, r.shortDwell);
    }
    return rows;
}

// A line of five points: Praha (Dopravna), Zastávka, Odbočka, Hradlo,
// Kolín (Dopravna).
class TrainEditorTest : public ::testing::Test
{
protected:
    Document doc;
    TrainListEditor editor{doc};

    void SetUp() override { SampleLine::fillEditorLine(doc); }

    void addTrain(const char *name, std::initializer_list<TrainRow> rows)
    {
        Train t;
        t.name = name;
        for (const TrainRow &r : rows)
            Document::addRow(t, r.station, r.time, r.mark, r.halfMinute, r.shortDwell);
        doc.trains.push_back(t);
    }

    // Opens the editor; with a grid row, on the train of that row.
    void open(int trainRow = 0)
    {
        editor.fill();
        editor.show();
        if (trainRow > 0)
            editor.setTrainCursor(trainRow);
    }

    // One column of the row grid, the header left out.
    QStringList shown(int column)
    {
        QStringList cells;
        for (int r = 1; r < editor.rowCount(); ++r)
            cells << editor.rowCell(column, r);
        return cells;
    }

    QStringList names()
    {
        QStringList cells;
        for (int r = 1; r < editor.trainRowCount(); ++r)
            cells << editor.trainCell(E::TrainNameColumn, r);
        return cells;
    }
};

// --- Filling and showing ------------------------------------------------------

TEST_F(TrainEditorTest, WithoutTrainsTheCursorIsOnTheTrailingRowAndNoTrainIsCurrent)
{
    open();
    EXPECT_EQ(editor.stationItems(),
              (QStringList{u("+Praha"), u("-Zastávka"), u("+Odbočka"), u("-Hradlo"), u("+Kolín")}));
    EXPECT_EQ(names(), QStringList{QString()});
    EXPECT_EQ(editor.trainCursorRow(), 1);
    EXPECT_EQ(editor.currentTrain(), nullptr);
    EXPECT_FALSE(editor.rowsEnabled());
    EXPECT_EQ(shown(E::StationColumn), QStringList{QString()});
    EXPECT_EQ(shown(E::TimeColumn), QStringList{u("0:00")});
    EXPECT_EQ(editor.trainCount(), 0);
    EXPECT_EQ(editor.rowCell(E::TimeColumn, 0), u("Čas odj."));
    EXPECT_EQ(editor.trainCell(E::TrainNameColumn, 0), u("Číslo vlaku"));
}

TEST_F(TrainEditorTest, TheLastTrainIsCurrentAndAnotherShowsItsRowsFromTheTop)
{
    addTrain("A", {{1, hm(8, 0)}, {2, hm(8, 10), 0, 1, 0}});
    // Kilometre points, and references past a station list that became
    // shorter (kept trains may hold them).
    addTrain("R 2", {{5, hm(7, 5), 0, 0, 1}, {-975, hm(7, 30)}, {-1999}, {-1000}, {0}, {6}, {1000000}, {2}});
    open();
    EXPECT_EQ(editor.trainCursorRow(), 2);
    EXPECT_EQ(editor.currentTrainRow(), 2);
    EXPECT_TRUE(editor.rowsEnabled());
    EXPECT_EQ(shown(E::StationColumn),
              (QStringList{u("Kolín"), u("Km: 25"), u("Km: -999"), u("Km: 0"), "", "", "", u("Zastávka")}));
    EXPECT_EQ(shown(E::RowNumberColumn).last(), u("8"));
    EXPECT_EQ(shown(E::TimeColumn).mid(0, 3), (QStringList{" 7:05", " 7:30", " 0:00"}));

    editor.setTrainCursor(1);
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

// --- Train names --------------------------------------------------------------

TEST_F(TrainEditorTest, ANameInTheTrailingRowCreatesATrain)
{
    open();
    editor.commitTrainName(1, u("  Os 5401 "));
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(doc.trains[0].name, QByteArrayView("Os 5401"));
    EXPECT_TRUE(doc.trains[0].isEmpty());
    EXPECT_EQ(doc.trains[0].firstTime, 0.0);
    EXPECT_EQ(editor.trainCell(E::TrainNumberColumn, 2), u("2"));
    EXPECT_EQ(editor.trainCursorRow(), 2) << "Enter moves on";
    EXPECT_EQ(editor.currentTrain(), nullptr);

    // Committed while the focus left the grid: the new train stays current.
    editor.commitTrainName(2, u("Os 3"), 2, false);
    EXPECT_EQ(doc.trains.size(), 2u);
    EXPECT_EQ(editor.trainCursorRow(), 2);
    EXPECT_EQ(editor.currentTrainRow(), 2);
    EXPECT_TRUE(editor.rowsEnabled());
    EXPECT_EQ(shown(E::TimeColumn), QStringList{u(" 0:00")});
}

TEST_F(TrainEditorTest, RenamingKeepsBlanksAndCutsAndABlankNameIsNotStored)
{
    addTrain("Os 1", {{1, hm(8, 0)}});
    addTrain("Os 3", {{1, hm(9, 0)}});
    open();
    editor.commitTrainName(1, u(" Sp 1234 Ústí nad Labem"));
    EXPECT_EQ(cp1250::toUnicode(doc.trains[0].name.view()), u(" Sp 1234 Ústí nad La"));
    EXPECT_EQ(doc.trains[0].firstStation, 1) << "the rows stay";

    editor.commitTrainName(1, u("   "), 1);
    EXPECT_EQ(doc.trains.size(), 2u);
    EXPECT_EQ(doc.trains[0].name.size(), 20);
    EXPECT_EQ(editor.trainCursorRow(), 1) << "no step after a name that was not stored";
    EXPECT_EQ(editor.currentTrainRow(), 1);
}

// Blank names at the end of the list take their trains, rows and all.
TEST_F(TrainEditorTest, ClearingNamesAtTheEndRemovesTrains)
{
    addTrain("A", {{1, hm(8, 0)}});
    addTrain("B", {});
    addTrain("C", {{1, hm(9, 0)}, {2, hm(9, 10)}});
    open();
    editor.commitTrainName(2, QString()); // B is kept: C follows it
    EXPECT_EQ(doc.trains.size(), 3u);
    editor.commitTrainName(3, QString());
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(doc.trains[0].name, QByteArrayView("A"));
    EXPECT_EQ(names(), (QStringList{"A", ""}));
    EXPECT_EQ(editor.trainCursorRow(), 2);
    EXPECT_EQ(editor.currentTrain(), nullptr);
    EXPECT_EQ(editor.trainCount(), 1);

    editor.commitTrainName(1, u(" "));
    EXPECT_TRUE(doc.trains.empty());
    EXPECT_EQ(names(), QStringList{u(" ")});
    EXPECT_EQ(editor.trainCursorRow(), 1);
    EXPECT_EQ(editor.trainCount(), 0);
}

// --- Times --------------------------------------------------------------------

// Row 2 is entered below a row at 8:55; its old time is 9:30 with both flags.
TEST_F(TrainEditorTest, TimeEntriesBelowFiveToNine)
{
    struct Case
    {
        const char *entry;
        int hours, minutes; // -1: the old time stays
        bool half, shortDwell;
    };
    const Case cases[] = {{"14", 8, 14, false, false},
                          {"14+", 8, 14, true, false},
                          {"14-", 8, 14, false, true},
                          {"14*", 8, 14, true, true},
                          {"7", 8, 7, false, false},
                          {" 7 ", 8, 7, false, false},
                          {"1+", 8, 1, true, false},
                          {"+", 8, 55, true, false},
                          {"1430", 14, 30, false, false},
                          {"1430-", 14, 30, false, true},
                          {"0705*", 7, 5, true, true},
                          {"2359", 23, 59, false, false},
                          // Entries that are no time keep the old one; flags typed with them
                          // are stored all the same.
                          {"2561", -1, 0, false, false},
                          {"705", -1, 0, false, false},
                          {"60", -1, 0, false, false},
                          {"$9", -1, 0, false, false}, // digits only: no hexadecimal or sign
                          {"+5", -1, 0, false, false},
                          {"12 5", -1, 0, false, false},
                          {"9a+", -1, 0, true, false},
                          {"ab", -1, 0, false, false},
                          {"-", -1, 0, false, false},
                          {"", -1, 0, false, false},
                          {"1260-", -1, 0, false, true},
                          {"2400", -1, 0, false, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entry);
        doc.trains.clear();
        addTrain("Os 1", {{1, hm(8, 55)}, {2, hm(9, 30), 0, 1, 1}, {3, hm(9, 40)}});
        open(1);
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
}

TEST_F(TrainEditorTest, ALonePlusTwiceGivesTheHalfMinuteThenTheNextMinute)
{
    addTrain("Os 1", {{1, hm(8, 14)}, {2, 0.0}, {3, 0.0}});
    open(1);
    editor.setRowCursor(2);
    editor.commitTime(2, u("+"));
    EXPECT_DOUBLE_EQ(doc.trains[0].stops[0].time, hm(8, 14));
    EXPECT_EQ(doc.trains[0].stops[0].halfMinute, 1);
    editor.commitTime(3, u("+"));
    EXPECT_DOUBLE_EQ(doc.trains[0].stops[1].time, hm(8, 15));
    EXPECT_EQ(doc.trains[0].stops[1].halfMinute, 0);
    EXPECT_EQ(shown(E::TimeColumn), (QStringList{" 8:14", " 8:14", " 8:15"}));
    // The last row keeps the cursor, and the boxes show its flags.
    EXPECT_EQ(editor.rowCursor(), 3);
    EXPECT_FALSE(editor.halfMinute());
    editor.setRowCursor(2);
    EXPECT_TRUE(editor.halfMinute());
}

// Rows are never checked against each other: a minute takes the hour of the
// row above even when that makes it earlier, and the first row has none.
TEST_F(TrainEditorTest, ShortEntriesTakeTheHourOfTheRowAbove)
{
    addTrain("Os 1", {{1, hm(23, 58)}, {2, 0.0}});
    open(1);
    editor.setRowCursor(2);
    editor.commitTime(2, u("3"));
    EXPECT_DOUBLE_EQ(doc.trains[0].stops[0].time, hm(23, 3));
    editor.setRowCursor(1);
    editor.commitTime(1, u("14+"));
    EXPECT_EQ(rowsOf(doc.trains[0])[0], Row(1, 0.0, 0, 1, 0));
    editor.setRowCursor(1);
    editor.commitTime(1, u("0812"));
    EXPECT_EQ(rowsOf(doc.trains[0])[0], Row(1, hm(8, 12), 0, 0, 0));
}

TEST_F(TrainEditorTest, ACommitAfterTheCursorMovedDoesNotStepAgain)
{
    addTrain("Os 1", {{1, hm(8, 0)}, {2, hm(8, 5)}, {3, hm(8, 9)}});
    open(1);
    editor.setRowCursor(1);
    editor.commitTime(1, u("0810"), 2);
    EXPECT_EQ(editor.rowCursor(), 2);
    // Committed on the way to the flag boxes: the cursor stays.
    editor.commitTime(2, u("0811"), -1, false);
    EXPECT_EQ(editor.rowCursor(), 2);
    EXPECT_DOUBLE_EQ(doc.trains[0].stops[0].time, hm(8, 11));
}

// --- Inserting rows -----------------------------------------------------------

TEST_F(TrainEditorTest, AStationFillsAnEmptyTrainInEitherModeAndIsThenAppended)
{
    addTrain("Os 1", {});
    open(1);
    EXPECT_EQ(shown(E::TimeColumn), QStringList{u(" 0:00")});
    editor.setInsertPosition(E::InsertPosition::AtCursor);
    editor.insertStation(2);
    EXPECT_EQ(rowsOf(doc.trains[0]), (Rows{{3, 0.0, 0, 0, 0}}));
    EXPECT_EQ(shown(E::StationColumn), QStringList{u("Odbočka")});

    editor.setInsertPosition(E::InsertPosition::AtEnd);
    editor.insertStation(4);
    EXPECT_EQ(rowsOf(doc.trains[0]), (Rows{{3, 0.0, 0, 0, 0}, {5, 0.0, 0, 0, 0}}));
    EXPECT_EQ(shown(E::StationColumn), (QStringList{u("Odbočka"), u("Kolín")}));
    EXPECT_EQ(shown(E::TimeColumn), (QStringList{" 0:00", " 0:00"}));
    EXPECT_EQ(editor.rowCursor(), 2);

    // Shift+Enter at the cursor: arrival and departure before row 2.
    editor.setInsertPosition(E::InsertPosition::AtCursor);
    editor.insertStation(1, true);
    EXPECT_EQ(shown(E::StationColumn), (QStringList{u("Odbočka"), u("Zastávka"), u("Zastávka"), u("Kolín")}));
    EXPECT_EQ(editor.rowCursor(), 2);
}

TEST_F(TrainEditorTest, AtTheCursorTheStationGoesBeforeTheCursorRow)
{
    addTrain("Os 1", {{1, hm(8, 0), 3, 1, 1}, {2, hm(8, 5)}, {3, hm(8, 9)}});
    open(1);
    editor.setInsertPosition(E::InsertPosition::AtCursor);
    // On row 1 the old first row moves down with its flags.
    editor.setRowCursor(1);
    editor.insertStation(4);
    EXPECT_EQ(rowsOf(doc.trains[0]),
              (Rows{{5, 0.0, 0, 0, 0}, {1, hm(8, 0), 3, 1, 1}, {2, hm(8, 5), 0, 0, 0}, {3, hm(8, 9), 0, 0, 0}}));
    EXPECT_EQ(shown(E::StationColumn), (QStringList{u("Kolín"), u("Praha"), u("Zastávka"), u("Odbočka")}));
    EXPECT_EQ(shown(E::TimeColumn), (QStringList{" 0:00", " 8:00", " 8:05", " 8:09"}));
    EXPECT_EQ(editor.rowCursor(), 1);

    editor.setRowCursor(4);
    editor.insertStation(3);
    EXPECT_EQ(shown(E::StationColumn), (QStringList{u("Kolín"), u("Praha"), u("Zastávka"), u("Hradlo"), u("Odbočka")}));
    EXPECT_EQ(doc.trains[0].stops[2].station, 4);
    EXPECT_EQ(editor.rowCursor(), 4);
}

TEST_F(TrainEditorTest, AKilometreIsAlwaysAppended)
{
    addTrain("Os 1", {});
    addTrain("Os 3", {{1, hm(8, 0)}, {2, hm(8, 5)}});
    for (auto position : {E::InsertPosition::AtEnd, E::InsertPosition::AtCursor}) {
        open(1);
        editor.setInsertPosition(position);
        editor.insertKilometre(25);
        EXPECT_EQ(rowsOf(doc.trains[0]), (Rows{{-975, 0.0, 0, 0, 0}}));
        EXPECT_EQ(shown(E::StationColumn), QStringList{u("Km: 25")});
        doc.trains[0].firstStation = 0;

        editor.setTrainCursor(2);
        editor.setInsertPosition(position);
        editor.setRowCursor(1);
        editor.insertKilometre(25);
        EXPECT_EQ(shown(E::StationColumn), (QStringList{u("Praha"), u("Zastávka"), u("Km: 25")}));
        EXPECT_EQ(doc.trains[1].stops.back().station, -975);
        EXPECT_EQ(editor.rowCursor(), 3);
        doc.trains[1].stops.pop_back();
    }
    // Outside the dialog's range nothing is inserted.
    open(1);
    editor.insertKilometre(1000);
    editor.insertKilometre(-1000);
    EXPECT_TRUE(doc.trains[0].isEmpty());
    editor.insertKilometre(-999);
    EXPECT_EQ(doc.trains[0].firstStation, -1999);
}

TEST_F(TrainEditorTest, NothingChangesWithoutACurrentTrain)
{
    addTrain("Os 1", {});
    open(2);
    editor.insertStation(0);
    editor.insertKilometre(5);
    editor.commitTime(1, u("0800"));
    editor.deleteRow();
    editor.setHalfMinute(true);
    editor.setRusici(true);
    EXPECT_TRUE(doc.trains[0].isEmpty());
    EXPECT_EQ(doc.trains[0].rusici, 0);
    EXPECT_FALSE(editor.halfMinute());
    EXPECT_FALSE(editor.rusici());
    open(1);
    editor.insertStation(99);
    EXPECT_TRUE(doc.trains[0].isEmpty());
}

// --- Deleting rows ------------------------------------------------------------

TEST_F(TrainEditorTest, CtrlDelTakesTheCursorRow)
{
    addTrain("Os 1", {{1, hm(8, 0)}, {2, hm(8, 5), -2, 1, 1}, {3, hm(8, 9)}});
    open(1);
    editor.setRowCursor(3);
    editor.deleteRow();
    EXPECT_EQ(rowsOf(doc.trains[0]), (Rows{{1, hm(8, 0), 0, 0, 0}, {2, hm(8, 5), -2, 1, 1}}));
    EXPECT_EQ(editor.rowCursor(), 2) << "the cursor stays inside the grid";

    // Row 1: row 2 moves up with its flags.
    editor.setRowCursor(1);
    editor.deleteRow();
    EXPECT_EQ(rowsOf(doc.trains[0]), (Rows{{2, hm(8, 5), -2, 1, 1}}));
    EXPECT_EQ(shown(E::StationColumn), QStringList{u("Zastávka")});
    EXPECT_TRUE(editor.halfMinute());

    // The only row: an empty train, and then nothing left to take.
    editor.deleteRow();
    EXPECT_TRUE(doc.trains[0].isEmpty());
    EXPECT_EQ(doc.trains[0].firstTime, 0.0);
    EXPECT_EQ(shown(E::StationColumn), QStringList{QString()});
    EXPECT_EQ(shown(E::TimeColumn), QStringList{u(" 0:00")});
    editor.deleteRow();
    EXPECT_TRUE(doc.trains[0].isEmpty());
}

// --- Station list navigation --------------------------------------------------

TEST_F(TrainEditorTest, DopravnyAOdbockySkipOtherPointsOnArrowKeysOnly)
{
    open();
    editor.setNavigation(E::Navigation::TrafficPoints);
    editor.stationKeyDown(E::Arrow::Up);
    EXPECT_EQ(editor.selectStation(3), 2);
    EXPECT_EQ(editor.selectStation(1), 0);
    editor.stationKeyUp();
    EXPECT_EQ(editor.selectStation(1), 1) << "a mouse click: no arrow key is down";
    editor.setNavigation(E::Navigation::All);
    editor.stationKeyDown(E::Arrow::Down);
    EXPECT_EQ(editor.selectStation(1), 1);

    // No traffic point below: nothing selected; going up stops at the first
    // item whatever it is.
    doc.findKind(5)->dopravna = 0;
    doc.findKind(1)->dopravna = 0;
    doc.findKind(3)->odbocka = 0;
    open();
    editor.setNavigation(E::Navigation::TrafficPoints);
    editor.stationKeyDown(E::Arrow::Down);
    EXPECT_EQ(editor.selectStation(3), -1);
    editor.stationKeyDown(E::Arrow::Up);
    EXPECT_EQ(editor.selectStation(3), 0);
}

} // namespace
