#pragma once

#include "model/Document.h"

#include <QString>

#include <algorithm>
#include <cstdint>

// The rules of the travel-time editor (TForm10 "Jízdní doby"), without a
// widget. It edits the document's profile table in place and keeps a copy
// for Cancel.
//
// A profile belongs to a direction: direction 1 lists the stations in
// station-list order, direction 2 in reverse. Grid row r (r >= 1) is the
// r-th station of the shown direction; rows from 2 hold the running time of
// the segment arriving there and the dwell there, which are entry r - 1 of
// the profile. Row 0 is the header.
//
// The numbers offered are the profiles in use plus one free slot: count()
// is the shown direction's live count and maximum() the largest number the
// spin edit offers. With all 99 profiles of a direction in use there is no
// free slot. The other direction's count lives in the document.
class ProfileEditor
{
public:
    enum Column { NameColumn = 0, RunTimeColumn = 1, DwellColumn = 2, ColumnCount = 3 };

    // Up to four characters of any kind, free positions blank.
    static inline const QString valueMask = QStringLiteral("cccc;0; ");
    static constexpr int maxNameLength = 20;
    // A profile covers at most 100 stations (99 segments); the grid lists
    // the first 100 stations of the shown direction.
    static constexpr int maxStations = TravelTimeProfile::entries + 1;
    static constexpr int maxProfiles = ProfileTable::perDirection;

    static inline const QString tooFewStationsMessage = QStringLiteral("Musite zadat alespoň dvě stanice.");
    static inline const QString stationsBeyondMessage =
        QStringLiteral("Jízdní doby lze zadat nejvýše pro 100 stanic. Stanice za stou stanicí ve směru jízdy "
                       "v jízdních dobách nejsou.");
    static QString noFreeNumberMessage(int direction);

    explicit ProfileEditor(Document &doc);

    // --- Command --------------------------------------------------------
    // Direction 1, profile 1, the grid, and a copy of the whole table.
    void fill();
    // Cancel: the table and both counts as fill() found them.
    void restore();
    // OK: the shown direction's count becomes the number of profiles in use.
    void store();

    // --- Direction and number -------------------------------------------
    int direction() const { return m_direction; }
    int number() const { return m_number; }
    int count() const { return m_count; }
    int maximum() const { return std::min(m_count + 1, maxProfiles); }
    // RadioGroup1Click: profile 1 of the other direction.
    void setDirection(int direction);
    // SpinEdit1Change: held to 1 ... maximum().
    void setNumber(int number);

    // --- Name (Edit1) ---------------------------------------------------
    QString name() const;
    void setName(const QString &text);

    // --- Grid -----------------------------------------------------------
    int rowCount() const; // header included
    QString cell(int column, int row) const;
    QString editMask(int column, int row) const;
    int cursorColumn() const { return m_cursorColumn; }
    int cursorRow() const { return m_cursorRow; }
    // StringGrid1Click: the cursor never stays on the first station's row.
    void setCursor(int column, int row);
    // The in-place editor of (column, row) closed with `text`; cursorRow and
    // cursorColumn are where the grid's cursor is now (-1: unchanged).
    void commitCell(int column, int row, const QString &text, int cursorColumn = -1, int cursorRow = -1);

    // --- Profile from a train (Button1Click after TForm11) -----------------
    enum class FromTrain { Made, NoDirection, NoFreeNumber };
    // Derives a profile from the train's rows: a new number in the train's
    // direction, shown afterwards. With dwellsFromTrain the stops give the
    // dwells; otherwise every station reached gets standardDwell.
    FromTrain profileFromTrain(const Train &train, bool dwellsFromTrain, int32_t standardDwell);
    // The direction profileFromTrain would take, or 0 when none can be told.
    int trainDirection(const Train &train, int *startRow = nullptr) const;

private:
    TravelTimeProfile &profile() { return m_doc.profiles.at(m_direction, m_number); }
    const TravelTimeProfile &profile() const { return m_doc.profiles.at(m_direction, m_number); }
    int stationCount() const { return static_cast<int>(m_doc.stations.size()); }
    // The station list index (1-based) of grid row r in the shown direction.
    int stationOfRow(int row) const;
    void recheck();
    void switchDirection(int direction, int number);

    Document &m_doc;
    ProfileTable m_saved;
    int m_direction = 1;
    int m_number = 1;
    int m_count = 0;
    int m_cursorColumn = RunTimeColumn;
    int m_cursorRow = 2;
};
