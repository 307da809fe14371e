#pragma once

#include "io/sources/DayTimetable.h"

#include <QString>

#include <map>
#include <utility>
#include <vector>

// Input the GTFS import leaves out, counted by table and reason, so that a
// feed with a hundred thousand bad rows gives a summary of a few lines
// ("stop_times.txt: chybný čas: 3 řádky, první je řádek 17") and never
// holds one entry per row.
class GtfsSkipTally
{
public:
    // A whole table left out or read only in part.
    void table(const QString &table, const QString &reason);
    // A row of a table, by its line.
    void row(const QString &table, const QString &reason, qint64 line);
    // Something else named by an identifier: a trip, a station.
    void item(const QString &source, const QString &reason, const QString &name);

    // One entry per table and reason, in the order they first occurred.
    std::vector<DaySkipped> entries() const;
    // How many rows or items a reason counted.
    qint64 count(const QString &source, const QString &reason) const;

private:
    struct Entry
    {
        QString source;
        QString reason;
        qint64 count = 0;
        qint64 firstLine = 0; // rows; 0 otherwise
        QString firstName;    // items
        bool whole = false;   // tables
    };
    Entry &entry(const QString &source, const QString &reason);

    std::vector<Entry> m_entries;
    std::map<std::pair<QString, QString>, size_t> m_index;
};
