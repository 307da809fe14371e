#include "RealImportSource.h"

#include "editing/ImportTracks.h"

#include "io/gtfs/GtfsMessages.h"
#include "model/Document.h"

std::shared_ptr<RealImportSource> RealImportSource::read(Format format, const QStringList &sources,
                                                         const Progress &progress)
{
    std::shared_ptr<RealImportSource> source(new RealImportSource(format));
    if (sources.isEmpty()) {
        source->m_error = QStringLiteral("Není zvolen žádný zdroj.");
        return source;
    }
    if (format == Format::Czptt) {
        CzpttTimetable::ScanOptions options;
        options.progress = progress;
        source->m_czptt = CzpttTimetable::scan(sources, options);
        source->m_cancelled = source->m_czptt->cancelled();
        source->m_firstDay = source->m_czptt->firstDay();
        source->m_lastDay = source->m_czptt->lastDay();
        if (!source->m_cancelled && source->m_czptt->paths().empty()) {
            ImportSummary leftOut;
            leftOut.skipped = source->m_czptt->skipped();
            leftOut.duplicates = source->m_czptt->duplicates();
            source->m_error =
                leftOut.refusedText(QStringLiteral("Ve zvolených zdrojích není žádná trasa vlaku CZPTT."));
        }
        return source;
    }

    source->m_feed = GtfsFeed::open(sources.front(), source->m_error);
    if (!source->m_feed) {
        if (source->m_error.isEmpty())
            source->m_error = GtfsMessages::notFeed(sources.front());
        return source;
    }
    GtfsRouteList routes = GtfsDayReader::routes(*source->m_feed);
    source->m_routes = std::move(routes.routes);
    if (source->m_routes.empty()) {
        ImportSummary leftOut;
        leftOut.skipped = std::move(routes.skipped);
        source->m_error = leftOut.refusedText(GtfsMessages::notFeed(sources.front()));
        return source;
    }
    if (const auto dates = GtfsDayReader::serviceDates(*source->m_feed)) {
        source->m_firstDay = dates->first;
        source->m_lastDay = dates->second;
    }
    return source;
}

DayTimetable RealImportSource::day(QDate date, const QStringList &routes, const Sr70Codebook *codebook,
                                   bool *straightLine) const
{
    if (straightLine)
        *straightLine = false;
    if (m_czptt) {
        DayTimetable day = m_czptt->day(date);
        if (codebook)
            codebook->describe(day);
        return day;
    }
    if (!m_feed)
        return {};
    GtfsDay read = GtfsDayReader::readDay(*m_feed, {date, routes});
    if (straightLine)
        *straightLine = read.positions == GtfsLinePositions::Source::StraightLine;
    return std::move(read.timetable);
}

RealTimetableImport::Preview RealImportChoice::preview(const Document &doc) const
{
    return newLine ? RealTimetableImport::previewNewLine(day, from, to)
                   : RealTimetableImport::previewIntoLine(doc, day);
}

RealTimetableImport::Result RealImportChoice::apply(Document &doc) const
{
    RealTimetableImport::Result result =
        newLine ? RealTimetableImport::newLine(doc, day, from, to, place) : RealTimetableImport::intoLine(doc, day);
    if (result.ok() && newLine)
        result.notes << notes;
    ImportTracks::complete(doc, day, newLine, result);
    return result;
}
