#include "editing/TrainListEditor.h"
#include "model/Cp1250.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <gtest/gtest.h>

namespace {

using namespace DocumentFixtures;
using E = TrainListEditor;

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// A line of five points: Praha (Dopravna), Zastávka, Odbočka, Hradlo,
// Kolín (Dopravna).
class TrainEditorTest : public ::testing::Test
{
protected:
    Document doc;
    TrainListEditor editor{doc};

    void SetUp() override { SampleLine::fillEditorLine(doc); }
    void add(const char *name, std::initializer_list<Row> rows) { doc.trains.push_back(train(name, rows)); }
    Rows rows(int i = 0) const { return rowsOf(doc.trains[size_t(i)]); }

    // Opens the editor; with a grid row, on the train of that row.
    void open(int trainRow = 0)
    {
        editor.fill();
        editor.show();
        if (trainRow > 0)
            editor.setTrainCursor(trainRow);
    }

    // One column of the row grid or of the train grid, the header left out.
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

// Without trains the cursor is on the trailing row and no train is current;
// a name there creates one.
TEST_F(TrainEditorTest, ANameInTheTrailingRowCreatesATrain)
{
    open();
    EXPECT_EQ(editor.stationItems(),
              (QStringList{u("+Praha"), u("-Zastávka"), u("+Odbočka"), u("-Hradlo"), u("+Kolín")}));
    EXPECT_EQ(std::tuple(names(), editor.trainCursorRow(), editor.currentTrain(), editor.rowsEnabled()),
              std::tuple(QStringList{QString()}, 1, nullptr, false));
    EXPECT_EQ(std::pair(shown(E::StationColumn), shown(E::TimeColumn)),
              std::pair(QStringList{QString()}, QStringList{u("0:00")}));

    editor.commitTrainName(1, u("  Os 5401 "));
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(std::pair(doc.trains[0].name.view().toByteArray(), doc.trains[0].isEmpty()),
              std::pair(QByteArray("Os 5401"), true));
    // Enter moves on to the new trailing row.
    EXPECT_EQ(std::tuple(editor.trainCell(E::TrainNumberColumn, 2), editor.trainCursorRow(), editor.currentTrain()),
              std::tuple(u("2"), 2, nullptr));

    // Committed while the focus left the grid: the new train stays current.
    editor.commitTrainName(2, u("Os 3"), 2, false);
    EXPECT_EQ(std::tuple(doc.trains.size(), editor.trainCursorRow(), editor.currentTrainRow()), std::tuple(2u, 2, 2));
    EXPECT_EQ(shown(E::TimeColumn), QStringList{u(" 0:00")});
}

TEST_F(TrainEditorTest, TheLastTrainIsCurrentAndAnotherShowsItsRowsFromTheTop)
{
    add("A", {{1, 8, 0}, {2, 8, 10, 0, 1}});
    // Kilometre points, and references past a station list that became
    // shorter (kept trains may hold them).
    add("R 2", {{5, 7, 5, 0, 0, 1}, {-975, 7, 30}, {-1999}, {-1000}, {0}, {6}, {1000000}, {2}});
    open();
    EXPECT_EQ(std::tuple(editor.trainCursorRow(), editor.currentTrainRow(), editor.rowsEnabled()),
              std::tuple(2, 2, true));
    EXPECT_EQ(shown(E::StationColumn),
              (QStringList{u("Kolín"), u("Km: 25"), u("Km: -999"), u("Km: 0"), "", "", "", u("Zastávka")}));
    EXPECT_EQ(shown(E::RowNumberColumn).last(), u("8"));
    EXPECT_EQ(shown(E::TimeColumn).mid(0, 3), (QStringList{" 7:05", " 7:30", " 0:00"}));

    editor.setTrainCursor(1);
    editor.setRowCursor(2);
    EXPECT_TRUE(editor.halfMinute());
    editor.setTrainCursor(2);
    EXPECT_EQ(std::tuple(editor.rowCursor(), editor.halfMinute(), editor.shortDwell()), std::tuple(1, false, true));
    editor.setTrainCursor(3);
    EXPECT_EQ(std::tuple(editor.currentTrain(), editor.rowsEnabled()), std::tuple(nullptr, false));
}

TEST_F(TrainEditorTest, RenamingKeepsBlanksAndCutsAndABlankNameIsNotStored)
{
    add("Os 1", {{1, 8, 0}});
    add("Os 3", {{1, 9, 0}});
    open();
    editor.commitTrainName(1, u(" Sp 1234 Ústí nad Labem"));
    EXPECT_EQ(std::pair(cp1250::toUnicode(doc.trains[0].name.view()), doc.trains[0].firstStation),
              std::pair(u(" Sp 1234 Ústí nad La"), 1))
        << "the rows stay";
    editor.commitTrainName(1, u("   "), 1);
    EXPECT_EQ(std::pair(doc.trains[0].name.size(), editor.trainCursorRow()), std::pair(20, 1))
        << "no step after a name that was not stored";
}

// Blank names at the end of the list take their trains, rows and all.
TEST_F(TrainEditorTest, ClearingNamesAtTheEndRemovesTrains)
{
    add("A", {{1, 8, 0}});
    add("B", {});
    add("C", {{1, 9, 0}, {2, 9, 10}});
    open();
    editor.commitTrainName(2, QString()); // B is kept: C follows it
    EXPECT_EQ(doc.trains.size(), 3u);
    editor.commitTrainName(3, QString());
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(std::tuple(names(), editor.trainCursorRow(), editor.currentTrain(), editor.trainCount()),
              std::tuple(QStringList{"A", ""}, 2, nullptr, 1));
    editor.commitTrainName(1, u(" "));
    EXPECT_EQ(std::tuple(doc.trains.size(), names(), editor.trainCount()), std::tuple(0u, QStringList{u(" ")}, 0));
}

// Row 2 is entered below a row at 8:55; its old time is 9:30 with both flags.
TEST_F(TrainEditorTest, TimeEntriesBelowFiveToNine)
{
    // (entry, hours or -1: the old time stays, minutes, half, short dwell). Entries
    // that are no time keep the old one; flags typed with them are stored all
    // the same. Digits only: no hexadecimal or sign.
    const std::tuple<const char *, int, int, int, int> cases[] = {
        {"14", 8, 14, 0, 0},    {"14+", 8, 14, 1, 0},    {"14-", 8, 14, 0, 1},   {"14*", 8, 14, 1, 1},
        {"7", 8, 7, 0, 0},      {" 7 ", 8, 7, 0, 0},     {"1+", 8, 1, 1, 0},     {"+", 8, 55, 1, 0},
        {"1430", 14, 30, 0, 0}, {"1430-", 14, 30, 0, 1}, {"0705*", 7, 5, 1, 1},  {"2359", 23, 59, 0, 0},
        {"2561", -1, 0, 0, 0},  {"705", -1, 0, 0, 0},    {"60", -1, 0, 0, 0},    {"$9", -1, 0, 0, 0},
        {"+5", -1, 0, 0, 0},    {"12 5", -1, 0, 0, 0},   {"9a+", -1, 0, 1, 0},   {"ab", -1, 0, 0, 0},
        {"-", -1, 0, 0, 0},     {"", -1, 0, 0, 0},       {"1260-", -1, 0, 0, 1}, {"2400", -1, 0, 0, 0}};
    for (const auto &[entry, hours, minutes, half, shortDwell] : cases) {
        SCOPED_TRACE(entry);
        doc.trains.clear();
        add("Os 1", {{1, 8, 55}, {2, 9, 30, 0, 1, 1}, {3, 9, 40}});
        open(1);
        editor.setRowCursor(2);
        editor.commitTime(2, u(entry));
        const int h = hours < 0 ? 9 : hours, m = hours < 0 ? 30 : minutes;
        EXPECT_EQ(rows()[1], std::tuple(2, h, m, 0, half, shortDwell));
        EXPECT_EQ(editor.rowCell(E::TimeColumn, 2), formatClockTime(makeTime(h, m)));
        EXPECT_EQ(editor.rowCursor(), 3) << "the cursor steps down after a commit";
    }
}

// A lone "+" gives the half minute, then the next minute; a minute takes
// the hour of the row above even when that makes it earlier (rows are never
// checked against each other), and the first row has none.
TEST_F(TrainEditorTest, ShortEntriesTakeTheRowAbove)
{
    add("Os 1", {{1, 8, 14}, {2}, {3}});
    open(1);
    editor.setRowCursor(2);
    editor.commitTime(2, u("+"));
    editor.commitTime(3, u("+"));
    EXPECT_EQ(rows(), (Rows{{1, 8, 14, 0, 0, 0}, {2, 8, 14, 0, 1, 0}, {3, 8, 15, 0, 0, 0}}));
    EXPECT_EQ(shown(E::TimeColumn), (QStringList{" 8:14", " 8:14", " 8:15"}));
    // The last row keeps the cursor, and the boxes show its flags.
    EXPECT_EQ(std::pair(editor.rowCursor(), editor.halfMinute()), std::pair(3, false));
    editor.setRowCursor(2);
    EXPECT_TRUE(editor.halfMinute());

    doc.trains.clear();
    add("Os 2", {{1, 23, 58}, {2}});
    open(1);
    editor.setRowCursor(2);
    editor.commitTime(2, u("3"), -1, false); // on the way to the flag boxes: the cursor stays
    EXPECT_EQ(std::pair(rows()[1], editor.rowCursor()), std::pair(std::tuple(2, 23, 3, 0, 0, 0), 2));
    editor.setRowCursor(1);
    editor.commitTime(1, u("14+"));
    EXPECT_EQ(rows()[0], std::tuple(1, 0, 0, 0, 1, 0));
}

TEST_F(TrainEditorTest, AStationFillsAnEmptyTrainInEitherModeAndIsThenAppended)
{
    add("Os 1", {});
    open(1);
    editor.setInsertPosition(E::InsertPosition::AtCursor);
    editor.insertStation(2);
    EXPECT_EQ(rows(), (Rows{{3, 0, 0, 0, 0, 0}}));
    editor.setInsertPosition(E::InsertPosition::AtEnd);
    editor.insertStation(4);
    EXPECT_EQ(rows(), (Rows{{3, 0, 0, 0, 0, 0}, {5, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(std::tuple(shown(E::StationColumn), shown(E::TimeColumn), editor.rowCursor()),
              std::tuple(QStringList{u("Odbočka"), u("Kolín")}, QStringList{" 0:00", " 0:00"}, 2));

    // Shift+Enter at the cursor: arrival and departure before row 2.
    editor.setInsertPosition(E::InsertPosition::AtCursor);
    editor.insertStation(1, true);
    EXPECT_EQ(std::pair(shown(E::StationColumn), editor.rowCursor()),
              std::pair(QStringList{u("Odbočka"), u("Zastávka"), u("Zastávka"), u("Kolín")}, 2));
}

TEST_F(TrainEditorTest, AtTheCursorTheStationGoesBeforeTheCursorRow)
{
    add("Os 1", {{1, 8, 0, 3, 1, 1}, {2, 8, 5}, {3, 8, 9}});
    open(1);
    editor.setInsertPosition(E::InsertPosition::AtCursor);
    // On row 1 the old first row moves down with its flags.
    editor.setRowCursor(1);
    editor.insertStation(4);
    EXPECT_EQ(rows(), (Rows{{5, 0, 0, 0, 0, 0}, {1, 8, 0, 3, 1, 1}, {2, 8, 5, 0, 0, 0}, {3, 8, 9, 0, 0, 0}}));
    EXPECT_EQ(std::pair(shown(E::TimeColumn), editor.rowCursor()),
              std::pair(QStringList{" 0:00", " 8:00", " 8:05", " 8:09"}, 1));
    editor.setRowCursor(4);
    editor.insertStation(3);
    EXPECT_EQ(std::pair(shown(E::StationColumn), editor.rowCursor()),
              std::pair(QStringList{u("Kolín"), u("Praha"), u("Zastávka"), u("Hradlo"), u("Odbočka")}, 4));
}

TEST_F(TrainEditorTest, AKilometreIsAlwaysAppended)
{
    add("Os 1", {{1, 8, 0}, {2, 8, 5}});
    for (auto position : {E::InsertPosition::AtEnd, E::InsertPosition::AtCursor}) {
        open(1);
        editor.setInsertPosition(position);
        editor.setRowCursor(1);
        editor.insertKilometre(25);
        EXPECT_EQ(std::pair(shown(E::StationColumn), editor.rowCursor()),
                  std::pair(QStringList{u("Praha"), u("Zastávka"), u("Km: 25")}, 3));
        doc.trains[0].stops.pop_back();
    }
    // Into an empty train; outside the dialog's range nothing is inserted.
    doc.trains[0] = train("Os 2", {});
    open(1);
    editor.insertKilometre(1000);
    editor.insertKilometre(-1000);
    EXPECT_TRUE(doc.trains[0].isEmpty());
    editor.insertKilometre(-999);
    EXPECT_EQ(doc.trains[0].firstStation, -1999);
}

TEST_F(TrainEditorTest, NothingChangesWithoutACurrentTrain)
{
    add("Os 1", {});
    open(2);
    editor.insertStation(0);
    editor.insertKilometre(5);
    editor.commitTime(1, u("0800"));
    editor.deleteRow();
    editor.setHalfMinute(true);
    editor.setRusici(true);
    EXPECT_EQ(std::tuple(doc.trains[0].isEmpty(), doc.trains[0].rusici, editor.halfMinute() || editor.rusici()),
              std::tuple(true, 0, false));
    open(1);
    editor.insertStation(99);
    EXPECT_TRUE(doc.trains[0].isEmpty());
}

TEST_F(TrainEditorTest, CtrlDelTakesTheCursorRow)
{
    add("Os 1", {{1, 8, 0}, {2, 8, 5, -2, 1, 1}, {3, 8, 9}});
    open(1);
    editor.setRowCursor(3);
    editor.deleteRow();
    EXPECT_EQ(rows(), (Rows{{1, 8, 0, 0, 0, 0}, {2, 8, 5, -2, 1, 1}}));
    EXPECT_EQ(editor.rowCursor(), 2) << "the cursor stays inside the grid";
    // Row 1: row 2 moves up with its flags.
    editor.setRowCursor(1);
    editor.deleteRow();
    EXPECT_EQ(std::pair(rows(), editor.halfMinute()), std::pair(Rows{{2, 8, 5, -2, 1, 1}}, true));
    // The only row: an empty train, and then nothing left to take.
    editor.deleteRow();
    EXPECT_EQ(
        std::tuple(doc.trains[0].isEmpty(), doc.trains[0].firstTime, shown(E::StationColumn), shown(E::TimeColumn)),
        std::tuple(true, 0.0, QStringList{QString()}, QStringList{u(" 0:00")}));
    editor.deleteRow();
    EXPECT_TRUE(doc.trains[0].isEmpty());
}

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
