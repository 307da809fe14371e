#include "GtfsImportCommand.h"

#include "CliOutput.h"
#include "DayImportCli.h"

#include "editing/DocumentOpen.h"
#include "import/ImportSession.h"
#include "model/Document.h"

int GtfsImportCommand::run(const QStringList &args, std::FILE *out, std::FILE *err) const
{
    const QString routeOption = QStringLiteral("--route");
    const DayImportCli::Args parsed =
        DayImportCli::parse(args, {"--into", "--route", "--from", "--to", "--day"}, {routeOption});
    if (!parsed.error.isEmpty())
        return CliOutput::fail(err, QString(), parsed.error);
    DayImportCli::Common c;
    if (const QString problem = DayImportCli::common(parsed, c, false); !problem.isEmpty())
        return CliOutput::fail(err, QString(), problem);
    if (parsed.positional.size() != 2)
        return CliOutput::usageError(err, QString::fromUtf8(usage));
    const QString &feedPath = parsed.positional[0];
    const QString &target = parsed.positional[1];
    if (CliOutput::outputIsNoInput(err, target, {feedPath, c.into}) != CliOutput::success)
        return CliOutput::failure;
    if (DayImportCli::requireExisting(err, feedPath) != CliOutput::success)
        return CliOutput::failure;

    const std::shared_ptr<ImportSession> session = ImportSession::openFeed(feedPath, parsed.values.value(routeOption));
    if (!session->ok())
        return CliOutput::fail(err, session->errorSource(), session->error());

    Document doc;
    QString warning;
    if (!c.into.isEmpty()) {
        if (const QString failed = DocumentOpen::open(doc, c.into, m_labels, &warning); !failed.isEmpty())
            return CliOutput::fail(err, c.into, failed);
    }
    const ImportSession::Outcome made = session->importDay({c.day, !c.into.isEmpty(), c.from, c.to}, doc);
    if (!made.error.isEmpty())
        return CliOutput::fail(err, QString(), made.error);
    return DayImportCli::finish(doc, made.result, made.notes, target, m_labels, out, err, c.into, warning);
}
