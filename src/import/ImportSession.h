#pragma once

// What the import dialog of real timetables reads and decides, without its
// widgets: the sources read once (a CZPTT timetable, or a GTFS feed with
// its routes), the day taken out of them for the chosen date and routes,
// and the choice of line that is applied to the document in one step.

#include "io/czptt/CzpttTimetable.h"
#include "io/czptt/Sr70Codebook.h"
#include "io/gtfs/GtfsDayReader.h"
#include "io/gtfs/GtfsFeed.h"
#include "io/import/RealTimetableImport.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Document;

class RealImportSource
{
public:
    enum class Format { Czptt, Gtfs };
    // Told the bytes read of the total; false cancels the reading.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    // Reads the sources: CZPTT files, folders and archives, or one GTFS
    // feed (its folder or zip). May run on any thread. A failure or a
    // cancelled reading leaves error() or cancelled() set.
    static std::shared_ptr<RealImportSource> read(Format format, const QStringList &sources,
                                                  const Progress &progress = {});

    Format format() const { return m_format; }
    const QString &error() const { return m_error; }
    bool cancelled() const { return m_cancelled; }
    bool ok() const { return m_error.isEmpty() && !m_cancelled; }

    // The days the sources have trains for; invalid when none.
    QDate firstDay() const { return m_firstDay; }
    QDate lastDay() const { return m_lastDay; }
    // The train paths read (CZPTT).
    int trainPaths() const { return m_czptt ? static_cast<int>(m_czptt->paths().size()) : 0; }
    // The feed's routes, railway routes first; empty for CZPTT.
    const std::vector<GtfsRoute> &routes() const { return m_routes; }

    // The trains of the day on the routes (GTFS; none named: every railway
    // route), their points described by the codebook when there is one
    // (CZPTT). Whether the GTFS positions are straight-line estimates comes
    // back in straightLine.
    DayTimetable day(QDate date, const QStringList &routes, const Sr70Codebook *codebook,
                     bool *straightLine = nullptr) const;

private:
    explicit RealImportSource(Format format) : m_format(format) {}

    Format m_format;
    QString m_error;
    bool m_cancelled = false;
    QDate m_firstDay;
    QDate m_lastDay;
    std::optional<CzpttTimetable> m_czptt;
    std::unique_ptr<GtfsFeed> m_feed;
    std::vector<GtfsRoute> m_routes;
};

// The import the dialog settled on: the day's trains as a new line between
// two ends, or into the document's stations.
struct RealImportChoice
{
    DayTimetable day;
    bool newLine = false;
    QString from;
    QString to;
    // Places the new line's points (the codebook for CZPTT, from 0 for GTFS).
    RealTimetableImport::Placer place;
    // A word on how the line was made, shown after the import.
    QStringList notes;

    RealTimetableImport::Preview preview(const Document &doc) const;
    RealTimetableImport::Result apply(Document &doc) const;
};
