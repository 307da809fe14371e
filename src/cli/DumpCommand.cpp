#include "DumpCommand.h"

#include "CliOutput.h"
#include "io/json/DocumentJson.h"

#include "io/DocumentFile.h"
#include "io/FileMessages.h"
#include "model/Document.h"

#include <exception>

QString DumpCommand::openDocument(Document &doc, const QString &path, const LabelMakers &labels, QString *warning)
{
    const DocumentFile::LoadOutcome outcome = DocumentFile::load(doc, path);
    if (outcome.status != DocumentFile::Status::Ok)
        return FileMessages::withCause(DocumentFile::message(outcome.status), outcome.cause);
    if (warning)
        *warning = outcome.read.warning;
    try {
        DocumentReader::finishLoading(doc);
        doc.untitled = false;
        if (doc.trainLabels.empty())
            labels.makeTrainLabels(doc);
        labels.makeTimeLabels(doc);
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

int DumpCommand::run(const QStringList &args, std::FILE *out, std::FILE *err) const
{
    if (const QString option = CliOutput::optionAmong(args); !option.isEmpty())
        return CliOutput::unknownOption(err, option);
    if (args.size() != 1)
        return CliOutput::usageError(err, QString::fromUtf8(usage));
    const QString &path = args.front();
    Document doc;
    QString warning;
    const QString error = openDocument(doc, path, m_labels, &warning);
    if (!error.isEmpty())
        return CliOutput::fail(err, path, error);
    const QByteArray text = DocumentJson::toText(doc);
    if (!CliOutput::wroteAll(out, err, text))
        return CliOutput::failure;
    CliOutput::warn(err, path, warning);
    return CliOutput::success;
}
