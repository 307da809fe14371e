#include "CzpttImportCommand.h"

#include "CliOutput.h"
#include "DayImportCli.h"

#include "editing/DocumentOpen.h"
#include "import/ImportSession.h"
#include "model/Document.h"

#include <memory>

int CzpttImportCommand::run(const QStringList &args, std::FILE *out, std::FILE *err) const
{
    const QString sr70Option = QStringLiteral("--sr70");
    const DayImportCli::Args parsed = DayImportCli::parse(args, {"--into", "--sr70", "--from", "--to", "--day"});
    if (!parsed.error.isEmpty())
        return CliOutput::fail(err, QString(), parsed.error);
    DayImportCli::Common c;
    if (const QString problem = DayImportCli::common(parsed, c, false); !problem.isEmpty())
        return CliOutput::fail(err, QString(), problem);
    if (!c.into.isEmpty() && parsed.has(sr70Option))
        return CliOutput::fail(err, QString(), QStringLiteral("--sr70: nelze s --into (stanice dává dokument)"));
    if (parsed.positional.size() < 2)
        return CliOutput::usageError(err, QString::fromUtf8(usage));
    const QStringList sources = parsed.positional.mid(0, parsed.positional.size() - 1);
    const QString target = parsed.positional.back();
    if (CliOutput::outputIsNoInput(err, target,
                                   sources + parsed.values.value("--into") + parsed.values.value(sr70Option))
        != CliOutput::success)
        return CliOutput::failure;
    for (const QString &source : sources) {
        if (DayImportCli::requireExisting(err, source) != CliOutput::success)
            return CliOutput::failure;
    }

    std::shared_ptr<Sr70Codebook> book;
    if (parsed.has(sr70Option)) {
        const QString path = parsed.value(sr70Option);
        if (DayImportCli::requireExisting(err, path) != CliOutput::success)
            return CliOutput::failure;
        book = std::make_shared<Sr70Codebook>();
        const Sr70Codebook::ReadResult read = book->readFile(path);
        if (!read.ok)
            return CliOutput::fail(err, path, read.error);
    }

    Document doc;
    QString warning;
    if (!c.into.isEmpty()) {
        if (const QString error = DocumentOpen::open(doc, c.into, m_labels, &warning); !error.isEmpty())
            return CliOutput::fail(err, c.into, error);
    }
    const ImportSession::Outcome made =
        ImportSession::importCzptt(sources, book, {c.day, !c.into.isEmpty(), c.from, c.to}, doc);
    if (!made.error.isEmpty())
        return CliOutput::fail(err, QString(), made.error);
    return DayImportCli::finish(doc, made.result, made.notes, target, m_labels, out, err, c.into, warning);
}
