#pragma once

#include "model/Document.h"

#include <QString>

#include <array>
#include <list>
#include <vector>

// The rules of the station list editor (TForm2), without a widget: the grid
// of names and kilometres as texts, the row maintenance that runs on every
// committed cell, the cursor with its row-change lookup of kind records, the
// seven kind check boxes with their rules, and filling from and storing into
// the document. The dialog shows this state and reports the user's actions;
// tests drive it directly.
//
// Rows and columns are numbered as the grid numbers them: row 0 is the header,
// column 0 the row number, column 1 the name, column 2 the kilometre, column
// 3 the main tracks of the section up to the next station up the line,
// column 4 the station's own tracks. A track cell left empty follows the
// default (the line's tracks, the station's kind); the two track cells
// belong to their row as its name and kilometre do, so they go with the row
// whatever is typed into it.
class StationListEditor
{
public:
    enum Column {
        NumberColumn = 0,
        NameColumn = 1,
        KmColumn = 2,
        SectionTracksColumn = 3,
        StationTracksColumn = 4,
        HeadwayColumn = 5,
        ColumnCount = 6
    };

    // The kind boxes in the dialog's order: BorCheck1, CheckBox1 ... CheckBox6.
    enum Kind { Dopravna, Hradlo, Hlaska, Odbocka, Zastavka, Nakladiste, Kilometr, KindCount };
    using KindBoxes = std::array<bool, KindCount>;

    // What the kilometre column lets a user type (a regular expression over
    // the whole text): blanks, a sign, digits and one decimal comma or
    // point. Whether the number is a position is decided when the cell
    // commits, so that a wrong one is refused with its reason.
    static inline const QString kmPattern = QStringLiteral("\\s*[-+]?\\d{0,7}([.,]\\d{0,6})?\\s*");
    // The text a row added by the maintenance holds in its kilometre cell.
    static inline const QString blankKm = QStringLiteral("    ");
    // A typed position lies within this many kilometres of 0.
    static constexpr int32_t kmLimit = 2000;

    // Why a typed kilometre was refused, as the editor tells the user.
    static inline const QString kmNotANumberMessage =
        QStringLiteral("Kilometr musí být číslo, například 24,151 nebo 24.151.");
    static inline const QString kmDecimalsMessage =
        QStringLiteral("Kilometr lze zadat nejvýše na tři desetinná místa (na metry).");
    static inline const QString kmRangeMessage = QStringLiteral("Kilometr musí ležet mezi -2000 a 2000.");

    // What the track columns let a user type, and why a number is refused.
    static inline const QString sectionTracksPattern = QStringLiteral("\\s*\\d?\\s*");
    static inline const QString stationTracksPattern = QStringLiteral("\\s*\\d{0,2}\\s*");
    static inline const QString sectionTracksMessage =
        QStringLiteral("Úsek má 1 nebo 2 koleje, 3 znamená tři a více; prázdné pole znamená počet kolejí celé "
                       "trati.");
    static inline const QString headwayPattern = QStringLiteral("\\s*\\d{0,2}\\s*");
    static inline const QString headwayMessage =
        QStringLiteral("Interval v úseku je 0 až 60 minut; prázdné pole znamená interval celé trati.");
    static inline const QString stationTracksMessage =
        QStringLiteral("Dopravních kolejí může být 0 až 99; prázdné pole znamená počet podle druhu stanice.");

    // Rows the grid may hold: one per station the document can take.
    static constexpr int maxDataRows = Document::maxStations;

    explicit StationListEditor(Document &doc);

    // --- The grid -------------------------------------------------------
    int rowCount() const { return static_cast<int>(m_cells.size()); } // header included
    int dataRowCount() const { return rowCount() - 1; }
    QString cell(int column, int row) const;
    int currentColumn() const { return m_column; }
    int currentRow() const { return m_row; }

    // The edit mask of a cell in the program's mask notation; empty for none.
    QString editMask(int column, int row) const;
    // The pattern of what may be typed into a cell without a mask; empty
    // for any text.
    QString editPattern(int column, int row) const;

    // The cursor moved (StringGrid1Click runs for every move).
    void setCurrentCell(int column, int row);

    // The in-place editor of (column, row) closed with this text: the text
    // goes into the cell and the row maintenance runs (append, trim,
    // advance). When the editor closed because the cursor moved, the grid
    // passes where it is now; the step to the next cell is then not taken.
    // Without `step` the cursor stays on the cell even when it is still
    // there: the editor closed because the user went to another control (a
    // kind box), which must then act on the row just typed. Nothing happens
    // while the maintenance itself runs.
    //
    // A kilometre is taken as a position to the metre ("24,151", "24.151",
    // "-0,5") and shown with a decimal comma ("24,151", "7,5", "12"). One
    // that is no number, has more than three decimals or lies beyond
    // kmLimit is refused: the cell keeps its text, the cursor goes back to
    // it, nothing else happens, and takeRefusal() holds the reason. A track
    // cell takes an empty text, 1 or 2 in the section's column and 0 to 99
    // in the station's, and refuses anything else the same way; Enter walks
    // from the section's tracks to the station's and on to the next row.
    void commitCell(int column, int row, const QString &text, int cursorColumn = -1, int cursorRow = -1,
                    bool step = true);
    // The reason the last commit was refused, once; empty when none was.
    QString takeRefusal();

    // --- Kind check boxes -----------------------------------------------
    const KindBoxes &kindBoxes() const { return m_boxes; }
    // The user clicked a box, which now shows `checked`.
    void clickKind(Kind kind, bool checked);

    // --- Driver ---------------------------------------------------------
    // Before showing: the grid from the document (or the first row kept
    // when there is no document), a copy of the kind list, the cursor.
    void fill();

    // Cancel: the kind list as it was when the dialog was filled.
    void restoreKinds();

    // OK with nothing to store: at most one data row and that row lacks its
    // name or kilometre.
    bool isEmptyInput() const;
    // OK, empty input: no stations, no document; trains stay.
    void storeEmpty();
    // OK: the rows as the new station list. With deleteTrains, the trains
    // with their labels and the travel-time profiles go first.
    void store(bool deleteTrains);
    // How many rows store() turns into stations.
    int rowsToStore() const;

    // New: the first data row's name and kilometre become empty.
    void clearFirstRow();

    // Whether a row lacks its name or its kilometre (texts trimmed).
    bool isIncomplete(int row) const;

private:
    void rowChanged();
    void moveCursor(int column, int row);
    void runMaintenance(int editColumn, int editRow, bool step);
    void appendRow();
    void setRowCount(int rows);
    void applyKindRule(Kind kind, bool checked);
    void storeKinds();
    static KindBoxes boxesOf(const StationKind &k);
    static void setFlags(StationKind &k, const KindBoxes &boxes);

    Document &m_doc;
    std::vector<std::array<QString, ColumnCount>> m_cells;
    int m_column = NameColumn;
    int m_row = 1;
    KindBoxes m_boxes{};
    bool m_inMaintenance = false;
    bool m_inKindUpdate = false;
    QString m_refusal;
    std::list<StationKind> m_savedKinds;
};
