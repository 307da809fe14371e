#pragma once

// The import of a day of real trains, one flow for the editor's dialog
// (RealImportDialog) and vlakorys-cli import-czptt|import-gtfs: the
// sources read (CZPTT messages in files, folders and archives, or one GTFS
// feed with its routes), the day chosen (and a feed's routes), the line
// chosen (the document's stations, or a new line between two ends), planned
// and applied to the document in one step (RealTimetableImport, then
// ImportTracks), and the summary. When nothing comes in, what the sources
// left out is told before the reason (refusedText).

#include "RealTimetableImport.h"

#include "io/czptt/CzpttTimetable.h"
#include "io/czptt/Sr70Codebook.h"
#include "io/gtfs/GtfsDayReader.h"
#include "io/gtfs/GtfsFeed.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class Document;

// The line settled on: the day's trains as a new line between two ends, or
// into the document's stations.
struct ImportChoice
{
    DayTimetable day;
    bool newLine = false;
    QString from;
    QString to;
    // Places the new line's points (the codebook for CZPTT, from 0 for GTFS).
    RealTimetableImport::Placer place;
    // A word on how the line was made, told after the summary.
    QStringList notes;

    RealTimetableImport::Preview preview(const Document &doc) const;
    // The import with its tracks completed; the document unchanged when refused.
    RealTimetableImport::Result apply(Document &doc) const;
};

class ImportSession
{
public:
    enum class Format { Czptt, Gtfs };
    // Told the bytes read of the total; false cancels the reading.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    // Reads the sources whole: CZPTT files, folders and archives, or one
    // GTFS feed (its folder or zip). May run on any thread. A failure or a
    // cancelled reading leaves error() or cancelled() set.
    static std::shared_ptr<ImportSession> read(Format format, const QStringList &sources,
                                               const Progress &progress = {});
    // Opens a feed for the command line: the routes named must be in it,
    // and without a choice it must have railway routes. A failure names the
    // feed in errorSource() when it is the feed's content that fails.
    static std::shared_ptr<ImportSession> openFeed(const QString &path, const QStringList &routes);

    Format format() const { return m_format; }
    const QString &error() const { return m_error; }
    const QString &errorSource() const { return m_errorSource; }
    bool cancelled() const { return m_cancelled; }
    bool ok() const { return m_error.isEmpty() && !m_cancelled; }

    // The days the sources have trains for; invalid when none.
    QDate firstDay() const { return m_firstDay; }
    QDate lastDay() const { return m_lastDay; }
    // The train paths read (CZPTT).
    int trainPaths() const { return m_czptt ? static_cast<int>(m_czptt->paths().size()) : 0; }
    // The feed's routes, railway routes first; empty for CZPTT.
    const std::vector<GtfsRoute> &routes() const { return m_routes; }

    // The codebook that describes a CZPTT day's points and places a new
    // line's; none: the line is spaced by running times.
    void setCodebook(std::shared_ptr<const Sr70Codebook> codebook) { m_codebook = std::move(codebook); }

    // The trains of the day on the routes (GTFS; none named: every railway
    // route), their points described by the codebook (CZPTT).
    void chooseDay(QDate date, const QStringList &routes = {});
    // No day: nothing to import.
    void clearDay();
    const DayTimetable &day() const { return m_day; }
    // The names a new line of the day may end at: in line order for a
    // feed, alphabetical for CZPTT (the points of a whole country).
    QStringList endNames() const;
    // The ends offered: a feed's whole route, else the two ends most of the
    // day's trains run between.
    std::optional<std::pair<QString, QString>> defaultEnds() const;

    // What the import as chosen would bring, and the import itself, of the
    // day chosen.
    RealTimetableImport::Preview preview(const Document &doc, bool newLine, const QString &from,
                                         const QString &to) const;
    ImportChoice choice(bool newLine, const QString &from = {}, const QString &to = {}) const;

    // When nothing is imported: what the sources (or the day) left out,
    // then the reason.
    QString refusedText(const QString &reason) const { return m_leftOut.refusedText(reason); }

    // The command line's import of one day: into the document's stations,
    // or a new line between the ends named or, none named, those the dialog
    // offers, said in the notes. CZPTT reads only the messages that name
    // the line's stations (importCzptt); a feed is opened first (openFeed).
    struct Request
    {
        QDate day;
        bool into = false;
        QString from;
        QString to;
    };
    struct Outcome
    {
        QString error; // nothing imported: why
        RealTimetableImport::Result result;
        QStringList notes; // told after the summary
    };
    static Outcome importCzptt(const QStringList &sources, std::shared_ptr<const Sr70Codebook> codebook,
                               const Request &request, Document &doc);
    Outcome importDay(const Request &request, Document &doc);

private:
    ImportSession(Format format, const QStringList &sources) : m_format(format), m_sources(sources) {}

    // CZPTT: the messages naming at least minNames of the names (none:
    // every message).
    void scan(const QStringList &names, int minNames, const Progress &progress = {});
    Outcome applied(ImportChoice choice, Document &doc, QStringList notes) const;

    Format m_format;
    QStringList m_sources;
    QStringList m_routeIds; // the routes the command line named
    QString m_error;
    QString m_errorSource;
    bool m_cancelled = false;
    QDate m_firstDay;
    QDate m_lastDay;
    std::optional<CzpttTimetable> m_czptt;
    std::unique_ptr<GtfsFeed> m_feed;
    std::vector<GtfsRoute> m_routes;
    std::shared_ptr<const Sr70Codebook> m_codebook;
    DayTimetable m_day;
    bool m_straightLine = false;
    ImportSummary m_leftOut; // of the reading, then of the day chosen
};
