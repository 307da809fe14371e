#include "ImportCommand.h"

#include "CliOutput.h"
#include "DumpCommand.h"

#include "editing/DocumentOpen.h"
#include "io/DocumentFile.h"
#include "io/FileMessages.h"
#include "import/TextImport.h"
#include "model/Document.h"

#include <exception>

int ImportCommand::run(const QStringList &args, std::FILE *, std::FILE *err) const
{
    if (const QString option = CliOutput::optionAmong(args); !option.isEmpty())
        return CliOutput::unknownOption(err, option);
    if (args.size() != 3)
        return CliOutput::usageError(err, QString::fromUtf8(usage));
    const QString &documentPath = args[0];
    const QString &timetablePath = args[1];
    const QString &target = args[2];
    if (CliOutput::outputIsNoInput(err, target, {documentPath, timetablePath}) != CliOutput::success)
        return CliOutput::failure;

    Document doc;
    QString warning;
    const QString error = DocumentOpen::open(doc, documentPath, m_labels, &warning);
    if (!error.isEmpty())
        return CliOutput::fail(err, documentPath, error);

    std::vector<QByteArray> lines;
    const WholeFile::Read read = TextImport::readFile(timetablePath, doc, lines);
    if (read.status != WholeFile::Status::Ok)
        return CliOutput::readFailed(err, timetablePath, read, FileMessages::cannotOpenText);
    const TextImport::Result result = TextImport::run(doc, lines);
    if (!result.ok)
        return CliOutput::fail(err, timetablePath, result.error);
    try {
        m_labels.makeTrainLabels(doc);
        m_labels.makeTimeLabels(doc);
    } catch (const std::exception &e) {
        return CliOutput::fail(err, timetablePath, QString::fromUtf8(e.what()));
    }

    const int status = CliOutput::saved(err, target, DocumentFile::save(doc, target));
    if (status == CliOutput::success)
        CliOutput::warn(err, documentPath, warning);
    return status;
}
