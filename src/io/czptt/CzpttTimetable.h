#pragma once

// The train paths of CZPTT sources, read once: every path with its calendar
// and every cancellation, held compactly (a whole timetable year is a few
// tens of megabytes), so that any day can be taken out as a DayTimetable
// without reading the sources again.
//
// A path runs on day D when its calendar has a 1 for D and no cancellation
// of the same path identifier has a 1 for D. Its times count from the
// midnight that starts D: a location with Offset -1 lies before it, one
// with Offset 1 past the next midnight.
//
// A path is one message per identifier: a message read twice (a folder
// named together with its zip) counts once, and of two versions of one
// path the newer (by its creation time) is kept. A cancellation read twice
// likewise. How many messages were passed over so is duplicates().

#include "CzpttMessage.h"

#include "io/sources/DayTimetable.h"
#include "io/sources/ImportSources.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

class CzpttTimetable
{
public:
    static constexpr int32_t noTime = std::numeric_limits<int32_t>::min();

    struct Point
    {
        QString key; // the SR70 code for a Czech location, "DE:10533" for a foreign one
        QString name;
    };

    struct Call
    {
        int32_t point = -1;
        int32_t arrival = noTime;
        int32_t departure = noTime;
        bool stops = false;
        bool publicStop = false;
        bool shortDwell = false;
    };

    struct Path
    {
        QString source;
        QString name;
        QString key; // CzpttMessage::pathKey
        QDateTime created;
        CzpttCalendar calendar;
        std::vector<Call> calls;
    };

    struct Cancellation
    {
        QString source;
        QString key;
        QDateTime created;
        CzpttCalendar calendar;
    };

    struct ScanOptions
    {
        // When not empty, a path message is read only when its location
        // names include at least minNames of these (compared as the reader
        // compares them: trimmed, inner blanks simplified). The others
        // cannot give a train of the line and are passed over unread, which
        // makes picking one line out of the whole country's archive fast.
        // Cancellations are always read.
        QStringList names;
        int minNames = 1;
        std::function<bool(qint64 done, qint64 total)> progress; // false cancels
        int threads = 0;                                         // 0: one per core
        ImportSources::Limits limits;
    };

    // Reads .xml files, folders, zip archives (a zipped message per train
    // inside one zip too) and .gz files. Unreadable input is in skipped().
    static CzpttTimetable scan(const QStringList &sources, const ScanOptions &options);
    static CzpttTimetable scan(const QStringList &sources);

    // One message, read as scan reads it; a message that cannot be used is
    // skipped with its source.
    void add(const QString &source, const QByteArray &xml);

    // The trains running on the day, in the order of their sources, with
    // the points they call at. The skipped input comes along.
    DayTimetable day(QDate date) const;

    // The span of days the calendars cover (for choosing a day); invalid
    // dates when there is no path.
    QDate firstDay() const;
    QDate lastDay() const;

    const std::vector<Point> &points() const { return m_points; }
    const std::vector<Path> &paths() const { return m_paths; }
    const std::vector<Cancellation> &cancellations() const { return m_cancellations; }
    const std::vector<DaySkipped> &skipped() const { return m_skipped; }
    bool cancelled() const { return m_scanCancelled; } // the scan was cancelled
    int duplicates() const { return m_duplicates; }

private:
    int32_t pointIndex(const CzpttLocation &location);
    void merge(CzpttTimetable &&other);
    void sortBySource();
    void dropDuplicates();

    std::vector<Point> m_points;
    QHash<QString, int32_t> m_pointIndex;
    std::vector<Path> m_paths;
    std::vector<Cancellation> m_cancellations;
    std::vector<DaySkipped> m_skipped;
    bool m_scanCancelled = false;
    int m_duplicates = 0;
};

// Whether a message can matter to a line with these names: it is a
// cancellation, or at least minNames of the names stand in it as location
// names. Errs towards yes (a name written with XML escapes counts as
// present); the reader decides the rest.
bool czpttMentionsNames(const QByteArray &xml, const QSet<QString> &names, int minNames);
