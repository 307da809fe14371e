#pragma once

// The infrastructure manager's codebook of operational points (SR70) as it
// is exported: a CSV file in code page 1250 (or UTF-8, with or without a
// byte-order mark, once an editor has saved it), ";" between fields,
// decimal commas, quoted fields that may hold line breaks and doubled
// quotes; a record over recordLimit bytes is skipped and counted. It
// gives a CZPTT location (by the first five digits of the point's number)
// its kind, its coordinates and its kilometres, each kilometre with the
// track section (TUDU) it is chained on.

#include "io/sources/DayTimetable.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class Sr70Codebook
{
public:
    // The longest row of the real codebook is under a kilobyte.
    static constexpr qsizetype recordLimit = qsizetype{1} << 20;

    struct Position
    {
        int32_t metres = 0;
        QString section; // TUDU, e.g. "2371C1"; a line's own section is its first four characters
    };

    struct Entry
    {
        QString code; // the five digits CZPTT messages use
        QString name;
        QString kindText; // "Kvalifikátor - popis"
        DayPointKind kind = DayPointKind::Unknown;
        bool active = true;
        std::vector<Position> positions; // the main one first, then the further ones
        std::optional<double> latitude;
        std::optional<double> longitude;
    };

    struct ReadResult
    {
        bool ok = false;
        QString error; // when not ok
        int entries = 0;
        int skippedRows = 0; // rows that could not be read
    };

    // Replaces what the codebook holds. Fails only when the text has none
    // of the columns a codebook must have; a bad row is skipped and counted.
    ReadResult read(const QByteArray &bytes);
    ReadResult readFile(const QString &path);

    bool isEmpty() const { return m_entries.empty(); }
    int size() const { return static_cast<int>(m_entries.size()); }
    // By the five-digit code; an active point wins over a cancelled one
    // with the same code.
    const Entry *find(const QString &code) const;

    // The point kind a description names ("Železniční stanice" is a
    // station, "Skok ve staničení" a timing point ...).
    static DayPointKind kindOf(const QString &description);

    // Gives the day's points the codebook knows their kind and coordinates.
    void describe(DayTimetable &day) const;

private:
    std::vector<Entry> m_entries;
    QHash<QString, int> m_byCode;
};
