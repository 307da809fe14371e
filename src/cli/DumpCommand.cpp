#include "DumpCommand.h"

#include "CliOutput.h"
#include "io/json/DocumentJson.h"

#include "editing/DocumentOpen.h"
#include "model/Document.h"

int DumpCommand::run(const QStringList &args, std::FILE *out, std::FILE *err) const
{
    if (const QString option = CliOutput::optionAmong(args); !option.isEmpty())
        return CliOutput::unknownOption(err, option);
    if (args.size() != 1)
        return CliOutput::usageError(err, QString::fromUtf8(usage));
    const QString &path = args.front();
    Document doc;
    QString warning;
    const QString error = DocumentOpen::open(doc, path, m_labels, &warning);
    if (!error.isEmpty())
        return CliOutput::fail(err, path, error);
    const QByteArray text = DocumentJson::toText(doc);
    if (!CliOutput::wroteAll(out, err, text))
        return CliOutput::failure;
    CliOutput::warn(err, path, warning);
    return CliOutput::success;
}
