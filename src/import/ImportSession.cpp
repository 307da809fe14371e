#include "ImportSession.h"

#include "CodebookPlacement.h"
#include "ImportTracks.h"
#include "LinePlanner.h"

#include "io/gtfs/GtfsMessages.h"
#include "model/Cp1250.h"
#include "model/Document.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <tuple>

RealTimetableImport::Preview ImportChoice::preview(const Document &doc) const
{
    return newLine ? RealTimetableImport::previewNewLine(day, from, to)
                   : RealTimetableImport::previewIntoLine(doc, day);
}

RealTimetableImport::Result ImportChoice::apply(Document &doc) const
{
    RealTimetableImport::Result result =
        newLine ? RealTimetableImport::newLine(doc, day, from, to, place) : RealTimetableImport::intoLine(doc, day);
    if (result.ok() && newLine)
        result.notes << notes;
    ImportTracks::complete(doc, day, newLine, result);
    return result;
}

std::shared_ptr<ImportSession> ImportSession::read(Format format, const QStringList &sources, const Progress &progress)
{
    std::shared_ptr<ImportSession> session(new ImportSession(format, sources));
    if (sources.isEmpty()) {
        session->m_error = QStringLiteral("Není zvolen žádný zdroj.");
        return session;
    }
    if (format == Format::Czptt) {
        session->scan({}, 1, progress);
        const CzpttTimetable &read = *session->m_czptt;
        session->m_cancelled = read.cancelled();
        session->m_firstDay = read.firstDay();
        session->m_lastDay = read.lastDay();
        session->m_leftOut.skipped = read.skipped();
        session->m_leftOut.duplicates = read.duplicates();
        if (!session->m_cancelled && read.paths().empty())
            session->m_error =
                session->refusedText(QStringLiteral("Ve zvolených zdrojích není žádná trasa vlaku CZPTT."));
        return session;
    }

    session->m_feed = GtfsFeed::open(sources.front(), session->m_error);
    if (!session->m_feed) {
        if (session->m_error.isEmpty())
            session->m_error = GtfsMessages::notFeed(sources.front());
        return session;
    }
    GtfsRouteList routes = GtfsDayReader::routes(*session->m_feed);
    session->m_routes = std::move(routes.routes);
    if (session->m_routes.empty()) {
        session->m_leftOut.skipped = std::move(routes.skipped);
        session->m_error = session->refusedText(GtfsMessages::notFeed(sources.front()));
        return session;
    }
    if (const auto dates = GtfsDayReader::serviceDates(*session->m_feed)) {
        session->m_firstDay = dates->first;
        session->m_lastDay = dates->second;
    }
    return session;
}

std::shared_ptr<ImportSession> ImportSession::openFeed(const QString &path, const QStringList &routes)
{
    std::shared_ptr<ImportSession> session(new ImportSession(Format::Gtfs, {path}));
    session->m_routeIds = routes;
    session->m_feed = GtfsFeed::open(path, session->m_error);
    if (!session->m_feed) {
        if (session->m_error.isEmpty())
            session->m_error = GtfsMessages::notFeed(path);
        return session;
    }
    GtfsRouteList list = GtfsDayReader::routes(*session->m_feed);
    session->m_routes = std::move(list.routes);
    const std::vector<GtfsRoute> &known = session->m_routes;
    QString &error = session->m_error;
    if (known.empty() && !list.skipped.empty())
        error = list.skipped.front().source + QStringLiteral(": ") + list.skipped.front().reason;
    for (const QString &id : routes) {
        if (error.isEmpty() && std::none_of(known.begin(), known.end(), [&](const GtfsRoute &r) { return r.id == id; }))
            error = GtfsMessages::routeNotInFeed(id);
    }
    if (error.isEmpty() && routes.isEmpty()
        && std::none_of(known.begin(), known.end(), [](const GtfsRoute &r) { return r.isRail(); }))
        error = GtfsMessages::noRailRoute + QStringLiteral(" (--route ID)");
    if (!error.isEmpty())
        session->m_errorSource = path;
    return session;
}

void ImportSession::scan(const QStringList &names, int minNames, const Progress &progress)
{
    CzpttTimetable::ScanOptions options;
    options.names = names;
    options.minNames = minNames;
    options.progress = progress;
    m_czptt = CzpttTimetable::scan(m_sources, options);
}

void ImportSession::chooseDay(QDate date, const QStringList &routes)
{
    m_straightLine = false;
    if (m_czptt) {
        m_day = m_czptt->day(date);
        if (m_codebook)
            m_codebook->describe(m_day);
    } else if (m_feed) {
        GtfsDay read = GtfsDayReader::readDay(*m_feed, {date, routes});
        m_straightLine = read.positions == GtfsLinePositions::Source::StraightLine;
        m_day = std::move(read.timetable);
    } else {
        m_day = {};
    }
    m_leftOut = ImportSummary::leftOutOf(m_day);
}

void ImportSession::clearDay()
{
    m_day = {};
    m_straightLine = false;
    m_leftOut = {};
}

QStringList ImportSession::endNames() const
{
    QStringList names;
    const std::vector<bool> publicStops = LinePlanner::publicStopsOf(m_day);
    for (size_t i = 0; i < m_day.points.size(); ++i) {
        if (LinePlanner::isLinePoint(m_day, static_cast<int>(i), publicStops))
            names << m_day.points[i].name;
    }
    names.removeDuplicates();
    if (m_format == Format::Czptt) {
        QCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        std::sort(names.begin(), names.end(), collator);
    }
    return names;
}

std::optional<std::pair<QString, QString>> ImportSession::defaultEnds() const
{
    const std::optional<LinePlanner::Ends> ends =
        m_format == Format::Gtfs ? LinePlanner::routeEnds(m_day) : LinePlanner::defaultEnds(m_day);
    if (!ends)
        return std::nullopt;
    return std::pair(m_day.points[static_cast<size_t>(ends->from)].name,
                     m_day.points[static_cast<size_t>(ends->to)].name);
}

RealTimetableImport::Preview ImportSession::preview(const Document &doc, bool newLine, const QString &from,
                                                    const QString &to) const
{
    return newLine ? RealTimetableImport::previewNewLine(m_day, from, to)
                   : RealTimetableImport::previewIntoLine(doc, m_day);
}

ImportChoice ImportSession::choice(bool newLine, const QString &from, const QString &to) const
{
    ImportChoice c;
    c.day = m_day;
    c.newLine = newLine;
    c.from = from;
    c.to = to;
    if (m_format == Format::Gtfs) {
        c.place = RealTimetableImport::startAtZero;
        if (m_straightLine)
            c.notes << GtfsMessages::straightLinePositions;
    } else if (m_codebook) {
        c.place = [book = m_codebook](DayTimetable &day, const std::vector<int> &line) {
            CodebookPlacement::place(*book, day, line);
        };
    }
    return c;
}

ImportSession::Outcome ImportSession::applied(ImportChoice choice, Document &doc, QStringList notes) const
{
    Outcome outcome;
    outcome.result = choice.apply(doc);
    if (!outcome.result.ok())
        outcome.error = outcome.result.text();
    outcome.notes = std::move(notes);
    return outcome;
}

ImportSession::Outcome ImportSession::importCzptt(const QStringList &sources,
                                                  std::shared_ptr<const Sr70Codebook> codebook, const Request &request,
                                                  Document &doc)
{
    ImportSession session(Format::Czptt, sources);
    session.setCodebook(std::move(codebook));
    return session.importDay(request, doc);
}

ImportSession::Outcome ImportSession::importDay(const Request &request, Document &doc)
{
    Outcome refused;
    const auto refuse = [&](const QString &error) {
        refused.error = error;
        return refused;
    };
    QString from = request.from;
    QString to = request.to;
    QStringList notes;

    if (m_format == Format::Gtfs) {
        chooseDay(request.day, m_routeIds);
        if (request.into)
            return applied(choice(false), doc, {});
        if (from.isEmpty() && !m_day.trains.empty()) {
            const std::optional<std::pair<QString, QString>> ends = defaultEnds();
            if (!ends)
                return refuse(refusedText(LinePlanner::noTrainsText(m_day.day)));
            std::tie(from, to) = *ends;
            notes << QStringLiteral("Trať mezi stanicemi „%1“ a „%2“, celá trasa vlaků dne.").arg(from, to);
        }
        ImportChoice line = choice(true, from, to);
        notes << line.notes;
        line.notes.clear();
        return applied(std::move(line), doc, notes);
    }

    // Only a message naming two of the line's stations can bring a train.
    if (request.into) {
        QStringList names;
        for (const Station &s : doc.stations)
            names << cp1250::toUnicode(s.name.view()).simplified();
        scan(names, 2);
        chooseDay(request.day);
        // Only trains of the line were read: none means none of them runs.
        if (m_day.trains.empty())
            return refuse(refusedText(RealTimetableImport::noTrainOnLineText(request.day)));
        return applied(choice(false), doc, {});
    }
    if (from.isEmpty()) {
        scan({}, 1);
        chooseDay(request.day);
        const std::optional<std::pair<QString, QString>> ends = defaultEnds();
        if (!ends)
            return refuse(LinePlanner::noTrainsText(request.day));
        std::tie(from, to) = *ends;
        notes << QStringLiteral("Trať mezi stanicemi „%1“ a „%2“, mezi nimiž jezdí nejvíc vlaků dne.").arg(from, to);
    }
    // The line from the messages that name either end; then its trains from
    // every message naming two of its stations, those that reach neither end
    // too.
    scan({from.simplified(), to.simplified()}, 1);
    chooseDay(request.day);
    if (m_czptt->paths().empty())
        return refuse(refusedText(
            QStringLiteral("Stanice „%1“ ani „%2“ v jízdním řádu není.").arg(from.trimmed(), to.trimmed())));
    const LinePlanner::LineChoice line = LinePlanner::lineBetween(m_day, from, to);
    if (!line.error.isEmpty())
        return refuse(refusedText(line.error));
    QStringList names;
    for (int p : line.line)
        names << m_day.points[static_cast<size_t>(p)].name.simplified();
    scan(names, 2);
    chooseDay(request.day);
    return applied(choice(true, from, to), doc, notes);
}
