#include "CzpttImportCommand.h"

#include "CliOutput.h"
#include "DayImportSteps.h"
#include "DumpCommand.h"

#include "editing/DocumentOpen.h"
#include "editing/ImportTracks.h"
#include "io/czptt/CzpttTimetable.h"
#include "io/czptt/Sr70Codebook.h"
#include "io/import/LineSteps.h"
#include "io/import/RealTimetableImport.h"
#include "model/Cp1250.h"
#include "model/Document.h"

#include <optional>

namespace {

// The paths of the sources that name at least minNames of the names.
CzpttTimetable scan(const QStringList &sources, const QStringList &names, int minNames)
{
    CzpttTimetable::ScanOptions options;
    options.names = names;
    options.minNames = minNames;
    return CzpttTimetable::scan(sources, options);
}

} // namespace

int CzpttImportCommand::run(const QStringList &args, std::FILE *out, std::FILE *err) const
{
    const QString sr70Option = QStringLiteral("--sr70");
    const DayImportSteps::Args parsed = DayImportSteps::parse(args, {"--into", "--sr70", "--from", "--to", "--day"});
    if (!parsed.error.isEmpty())
        return CliOutput::fail(err, QString(), parsed.error);
    DayImportSteps::Common c;
    if (const QString problem = DayImportSteps::common(parsed, c, false); !problem.isEmpty())
        return CliOutput::fail(err, QString(), problem);
    if (!c.into.isEmpty() && parsed.has(sr70Option))
        return CliOutput::fail(err, QString(), QStringLiteral("--sr70: nelze s --into (stanice dává dokument)"));
    if (parsed.positional.size() < 2)
        return CliOutput::usageError(err, QString::fromUtf8(usage));
    const QStringList sources = parsed.positional.mid(0, parsed.positional.size() - 1);
    const QString target = parsed.positional.back();
    if (CliOutput::outputIsNoInput(err, target, sources + parsed.values.value("--into") + parsed.values.value(sr70Option))
        != CliOutput::success)
        return CliOutput::failure;
    for (const QString &source : sources) {
        if (DayImportSteps::requireExisting(err, source) != CliOutput::success)
            return CliOutput::failure;
    }

    std::optional<Sr70Codebook> book;
    if (parsed.has(sr70Option)) {
        const QString path = parsed.value(sr70Option);
        if (DayImportSteps::requireExisting(err, path) != CliOutput::success)
            return CliOutput::failure;
        book.emplace();
        const Sr70Codebook::ReadResult read = book->readFile(path);
        if (!read.ok)
            return CliOutput::fail(err, path, read.error);
    }

    Document doc;
    if (!c.into.isEmpty()) {
        QString warning;
        if (const QString error = DocumentOpen::open(doc, c.into, m_labels, &warning); !error.isEmpty())
            return CliOutput::fail(err, c.into, error);
        // Only a message naming two of the line's stations can bring a train.
        QStringList names;
        for (const Station &s : doc.stations)
            names << cp1250::toUnicode(s.name.view()).simplified();
        const DayTimetable day = scan(sources, names, 2).day(c.day);
        // Only trains of the line were read: none means none of them runs.
        if (day.trains.empty())
            return CliOutput::fail(
                err, QString(),
                ImportSummary::leftOutOf(day).refusedText(RealTimetableImport::noTrainOnLineText(c.day)));
        RealTimetableImport::Result result = RealTimetableImport::intoLine(doc, day);
        ImportTracks::complete(doc, day, false, result);
        if (!result.ok())
            return CliOutput::fail(err, QString(), result.text());
        return DayImportSteps::finish(doc, result, {}, target, m_labels, out, err, c.into, warning);
    }

    // Without ends named, the two most of the day's trains run between, as
    // the dialog takes them.
    QStringList notes;
    if (c.from.isEmpty()) {
        DayTimetable whole = scan(sources, {}, 1).day(c.day);
        if (book)
            book->describe(whole);
        const std::optional<LineSteps::Ends> ends = LineSteps::defaultEnds(whole);
        if (!ends)
            return CliOutput::fail(err, QString(), LineSteps::noTrainsText(c.day));
        c.from = whole.points[static_cast<size_t>(ends->from)].name;
        c.to = whole.points[static_cast<size_t>(ends->to)].name;
        notes << QStringLiteral("Trať mezi stanicemi „%1“ a „%2“, mezi nimiž jezdí nejvíc vlaků dne.").arg(c.from, c.to);
    }

    // The line from the messages that name either end; then its trains from
    // every message naming two of its stations, those that reach neither end
    // too.
    const CzpttTimetable withEnds = scan(sources, {c.from.simplified(), c.to.simplified()}, 1);
    DayTimetable day = withEnds.day(c.day);
    if (withEnds.paths().empty())
        return CliOutput::fail(
            err, QString(),
            ImportSummary::leftOutOf(day).refusedText(
                QStringLiteral("Stanice „%1“ ani „%2“ v jízdním řádu není.").arg(c.from.trimmed(), c.to.trimmed())));
    if (book)
        book->describe(day);
    const LineSteps::LineChoice choice = LineSteps::lineBetween(day, c.from, c.to);
    if (!choice.error.isEmpty())
        return CliOutput::fail(err, QString(), ImportSummary::leftOutOf(day).refusedText(choice.error));
    QStringList names;
    for (int p : choice.line)
        names << day.points[static_cast<size_t>(p)].name.simplified();
    day = scan(sources, names, 2).day(c.day);
    if (book)
        book->describe(day);

    RealTimetableImport::Placer place;
    if (book)
        place = [&book](DayTimetable &d, const std::vector<int> &line) { book->place(d, line); };
    RealTimetableImport::Result result = RealTimetableImport::newLine(doc, day, c.from, c.to, place);
    ImportTracks::complete(doc, day, true, result);
    if (!result.ok())
        return CliOutput::fail(err, QString(), result.text());
    return DayImportSteps::finish(doc, result, notes, target, m_labels, out, err);
}
