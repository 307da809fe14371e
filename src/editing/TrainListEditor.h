#pragma once

#include "model/Document.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// The rules of the train list editor (TForm3), without a widget. It works on
// the document's trains in place: every committed name, time, inserted or
// deleted row and flag is stored at once.
//
// It holds what the dialog shows: the train grid (names), the row grid of the
// current train (station and time texts), the station list items, the four
// flag boxes and the two option groups. Grid rows and columns are numbered as
// the grids number them: row 0 is the header, column 0 the row number.
// Train-grid row i is the i-th train; row-grid row 1 is the current train's
// first row, row k >= 2 its (k - 1)-th stop.
class TrainListEditor
{
public:
    enum TrainGridColumn { TrainNumberColumn = 0, TrainNameColumn = 1, TrainColumnCount = 2 };
    enum RowGridColumn { RowNumberColumn = 0, StationColumn = 1, TimeColumn = 2, RowColumnCount = 3 };

    enum class InsertPosition { AtEnd, AtCursor }; // "Na konec", "Na pozici kurzoru"
    enum class Navigation { All, TrafficPoints };  // "Všechno", "Dopravny a odbočky"
    enum class Arrow { Down, Up };

    // The mask of the time column: two optional characters, a colon, an
    // optional character, a digit and an optional suffix; the colon is not
    // part of the committed text.
    static inline const QString timeMask = QStringLiteral("!cc:c0c;0;_");

    static constexpr int maxKilometre = 999;
    static constexpr int maxNameLength = 20;

    explicit TrainListEditor(Document &doc);

    // --- Driver ---------------------------------------------------------
    // Before showing: the station items, the train grid with its trailing
    // empty row, the cursor on the last train, "Na konec".
    void fill();
    // FormShow: the current train from the cursor, its rows shown.
    void show();
    // After closing: the number of trains the grid holds.
    int trainCount() const { return trainRowCount() - 2; }

    // --- Train grid -----------------------------------------------------
    int trainRowCount() const { return static_cast<int>(m_trainCells.size()); }
    QString trainCell(int column, int row) const;
    int trainCursorRow() const { return m_trainCursor; }
    // The user moved the cursor of the train grid (StringGrid1Click).
    void setTrainCursor(int row);
    // The name editor of `row` closed with `text`; cursorRow is where the
    // grid's cursor is now (-1: unchanged). trainGridActive tells whether the
    // train grid still has the focus, which decides the step to the next row.
    void commitTrainName(int row, const QString &text, int cursorRow = -1, bool trainGridActive = true);

    // The grid row of the current train (0 when there is none) and the train.
    int currentTrainRow() const { return hasTrainAt(m_currentTrainRow) ? m_currentTrainRow : 0; }
    Train *currentTrain();

    // --- Row grid -------------------------------------------------------
    int rowCount() const { return static_cast<int>(m_rowCells.size()); } // header included
    QString rowCell(int column, int row) const;
    int rowCursor() const { return m_rowCursor; }
    QString editMask(int column, int row) const;
    // The row grid, the station list and "Vložit kilometr" take input only
    // while a train is current.
    bool rowsEnabled() const { return m_rowsEnabled; }
    // The user moved the cursor of the row grid (StringGrid2Click).
    void setRowCursor(int row);
    // The time editor of `row` closed with `text` as the mask commits it
    // (without the colon); cursorRow as for names. Without `step` the cursor
    // stays on the row even when it is still there.
    void commitTime(int row, const QString &text, int cursorRow = -1, bool step = true);
    // Odstranitpoloku1Click: the row under the cursor goes.
    void deleteRow();

    // --- Station list ---------------------------------------------------
    // One item per station: "+" (Dopravna or Odbočka) or "-", then the name.
    const QStringList &stationItems() const { return m_items; }
    static bool isTrafficPoint(const QString &item) { return item.startsWith(u'+'); }
    static QString itemText(const QString &item) { return item.mid(1); }
    int stationSelection() const { return m_selection; }
    void stationKeyDown(Arrow arrow);
    void stationKeyUp();
    // ListBox1Click: the selection moved to `index`; returns where it stays
    // (-1 for none) after the "Dopravny a odbočky" navigation.
    int selectStation(int index);
    // Double click or Enter on item `index`: the station as a new row; twice
    // for Shift+Enter (arrival and departure).
    void insertStation(int index, bool twice = false);
    // "Vložit kilometr" with the value of TForm4: always a new last row.
    void insertKilometre(int km);

    InsertPosition insertPosition() const { return m_insertPosition; }
    void setInsertPosition(InsertPosition p) { m_insertPosition = p; }
    Navigation navigation() const { return m_navigation; }
    void setNavigation(Navigation n);

    // --- Flag boxes -----------------------------------------------------
    bool rusici() const { return m_rusici; }             // CheckBox1
    bool podlePotreby() const { return m_podlePotreby; } // CheckBox2
    bool halfMinute() const { return m_halfMinute; }     // CheckBox3
    bool shortDwell() const { return m_shortDwell; }     // CheckBox4
    void setRusici(bool on);
    void setPodlePotreby(bool on);
    void setHalfMinute(bool on);
    void setShortDwell(bool on);

    // The station text of a row's reference.
    QString stationText(int32_t stationRef) const;

private:
    bool hasTrainAt(int gridRow) const;
    void setCurrentTrain(int gridRow);
    void showRows();
    void showRowFlags();
    void insertRow(int32_t stationRef, bool atCursor);
    static double shortEntryTime(QString t, int row, const TrainRow *previous, double oldTime, bool &half,
                                 bool &shortDwell);

    Document &m_doc;
    std::vector<std::array<QString, TrainColumnCount>> m_trainCells;
    std::vector<std::array<QString, RowColumnCount>> m_rowCells;
    QStringList m_items;
    int m_trainCursor = 1;
    int m_currentTrainRow = 0;
    int m_rowCursor = 1;
    int m_selection = -1;
    bool m_rowsEnabled = false;
    bool m_busy = false;
    bool m_movingDown = false;
    bool m_movingUp = false;
    InsertPosition m_insertPosition = InsertPosition::AtEnd;
    Navigation m_navigation = Navigation::All;
    bool m_rusici = false;
    bool m_podlePotreby = false;
    bool m_halfMinute = false;
    bool m_shortDwell = false;
};
