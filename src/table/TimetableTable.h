#pragma once

#include <QString>

#include <cstdint>
#include <vector>

class Document;

// The line's trains of one direction as a published timetable prints them:
// a row for every station in the order the direction passes it (direction 1
// runs down the station list, direction 2 up it), a column for every train
// of the direction.
//
// A train's direction is that of its first and last rows at stations
// (kilometre points are no stations and show nowhere); a train that reaches
// fewer than two stations runs in neither. Consecutive rows at one station
// are one call: its first row is the arrival, its last the departure. The
// columns are ordered by the time a train's first row enters the line, a
// tie by the train list's order; times are times of day, so a train running
// past midnight stays where its entry time puts it.
//
// A station has an arrival row above its departure row when a train of the
// direction stands there a minute or more (a call neither first nor last of
// its train). A cell holds the departure; the arrival in the arrival row of
// such a train; a train's last call its arrival, in the arrival row where
// the station has one. "|" marks a station the train passes between its
// calls without a row, in both rows of the station; outside its run the
// cells are empty.
//
// Times are written H:MM (the hour without a leading zero, 0 to 23), a row
// with the half-minute flag with "½" after it ("7:05½"); for spreadsheets
// H:MM:SS with 30 seconds instead ("7:05:30").
class TimetableTable
{
public:
    struct Cell
    {
        enum class Kind : uint8_t { Empty, Time, Pass };
        Kind kind = Kind::Empty;
        int16_t halfMinutes = 0; // of the day, 0..2879, for a Time

        QString text() const;
        QString spreadsheetText() const;
    };

    struct Row
    {
        int station = 0; // 1-based index into the station list
        bool arrival = false;
    };

    struct Column
    {
        int train = 0; // 0-based index into the document's trains
        QString name;  // the train's label text: category and number
    };

    // direction 1 or 2.
    TimetableTable(const Document &doc, int direction);

    int direction() const { return m_direction; }
    // "Vsetín → Velké Karlovice": the direction's first and last stations.
    const QString &title() const { return m_title; }

    const std::vector<Row> &rows() const { return m_rows; }
    const std::vector<Column> &columns() const { return m_columns; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    const Cell &cell(int row, int column) const
    {
        return m_cells[static_cast<size_t>(row) * m_columns.size() + static_cast<size_t>(column)];
    }

    // What the station columns of a row show.
    QString stationName(int row) const;
    QString kilometreText(int row) const;
    QString rowKind(int row) const; // "příj." or "odj."

    // A time of the day in half-minutes as the cells write it.
    static QString timeText(int halfMinutes);

private:
    int m_direction;
    QString m_title;
    std::vector<QString> m_stationNames;
    std::vector<int32_t> m_stationMetres;
    std::vector<Row> m_rows;
    std::vector<Column> m_columns;
    std::vector<Cell> m_cells;
};
