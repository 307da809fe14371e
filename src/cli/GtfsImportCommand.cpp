#include "GtfsImportCommand.h"

#include "CliOutput.h"
#include "DayImportSteps.h"
#include "DumpCommand.h"

#include "editing/DocumentOpen.h"
#include "editing/ImportTracks.h"
#include "io/gtfs/GtfsDayReader.h"
#include "io/gtfs/GtfsFeed.h"
#include "io/gtfs/GtfsMessages.h"
#include "io/import/LineSteps.h"
#include "io/import/RealTimetableImport.h"
#include "model/Document.h"

#include <algorithm>
#include <memory>

namespace {

// Every route asked for is in the feed, and without a choice the feed has
// railway routes to take; empty, or why not.
QString checkRoutes(const GtfsFeed &feed, const QStringList &wanted)
{
    const GtfsRouteList list = GtfsDayReader::routes(feed);
    if (list.routes.empty() && !list.skipped.empty())
        return list.skipped.front().source + QStringLiteral(": ") + list.skipped.front().reason;
    for (const QString &id : wanted) {
        const bool known =
            std::any_of(list.routes.begin(), list.routes.end(), [&](const GtfsRoute &r) { return r.id == id; });
        if (!known)
            return GtfsMessages::routeNotInFeed(id);
    }
    if (wanted.isEmpty()
        && std::none_of(list.routes.begin(), list.routes.end(), [](const GtfsRoute &r) { return r.isRail(); }))
        return GtfsMessages::noRailRoute + QStringLiteral(" (--route ID)");
    return {};
}

} // namespace

int GtfsImportCommand::run(const QStringList &args, std::FILE *out, std::FILE *err) const
{
    const QString routeOption = QStringLiteral("--route");
    const DayImportSteps::Args parsed =
        DayImportSteps::parse(args, {"--into", "--route", "--from", "--to", "--day"}, {routeOption});
    if (!parsed.error.isEmpty())
        return CliOutput::fail(err, QString(), parsed.error);
    DayImportSteps::Common c;
    if (const QString problem = DayImportSteps::common(parsed, c, false); !problem.isEmpty())
        return CliOutput::fail(err, QString(), problem);
    if (parsed.positional.size() != 2)
        return CliOutput::usageError(err, QString::fromUtf8(usage));
    const QString &feedPath = parsed.positional[0];
    const QString &target = parsed.positional[1];
    if (CliOutput::outputIsNoInput(err, target, {feedPath, c.into}) != CliOutput::success)
        return CliOutput::failure;
    if (DayImportSteps::requireExisting(err, feedPath) != CliOutput::success)
        return CliOutput::failure;

    QString error;
    const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(feedPath, error);
    if (!feed)
        return CliOutput::fail(err, QString(), error);
    const QStringList routes = parsed.values.value(routeOption);
    if (const QString problem = checkRoutes(*feed, routes); !problem.isEmpty())
        return CliOutput::fail(err, feedPath, problem);

    Document doc;
    QString warning;
    if (!c.into.isEmpty()) {
        if (const QString failed = DocumentOpen::open(doc, c.into, m_labels, &warning); !failed.isEmpty())
            return CliOutput::fail(err, c.into, failed);
    }

    const GtfsDay read = GtfsDayReader::readDay(*feed, {c.day, routes});
    const DayTimetable &day = read.timetable;
    if (!c.into.isEmpty()) {
        RealTimetableImport::Result result = RealTimetableImport::intoLine(doc, day);
        ImportTracks::complete(doc, day, false, result);
        if (!result.ok())
            return CliOutput::fail(err, QString(), result.text());
        return DayImportSteps::finish(doc, result, {}, target, m_labels, out, err, c.into, warning);
    }

    QStringList notes;
    if (c.from.isEmpty() && !day.trains.empty()) {
        const std::optional<LineSteps::Ends> ends = LineSteps::routeEnds(day);
        if (!ends)
            return CliOutput::fail(err, QString(),
                                   ImportSummary::leftOutOf(day).refusedText(LineSteps::noTrainsText(day.day)));
        c.from = day.points[static_cast<size_t>(ends->from)].name;
        c.to = day.points[static_cast<size_t>(ends->to)].name;
        notes << QStringLiteral("Trať mezi stanicemi „%1“ a „%2“, celá trasa vlaků dne.").arg(c.from, c.to);
    }
    if (read.positions == GtfsLinePositions::Source::StraightLine)
        notes << GtfsMessages::straightLinePositions;
    RealTimetableImport::Result result =
        RealTimetableImport::newLine(doc, day, c.from, c.to, RealTimetableImport::startAtZero);
    ImportTracks::complete(doc, day, true, result);
    if (!result.ok())
        return CliOutput::fail(err, QString(), result.text());
    return DayImportSteps::finish(doc, result, notes, target, m_labels, out, err);
}
