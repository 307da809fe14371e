#include "BuildCommand.h"

#include "CliOutput.h"
#include "io/json/DocumentJson.h"

#include "io/DocumentFile.h"
#include "io/FileMessages.h"
#include "io/WholeFile.h"
#include "model/Document.h"

int BuildCommand::run(const QStringList &args, std::FILE *, std::FILE *err) const
{
    if (const QString option = CliOutput::optionAmong(args); !option.isEmpty())
        return CliOutput::unknownOption(err, option);
    if (args.size() != 2)
        return CliOutput::usageError(err, QString::fromUtf8(usage));
    const QString &source = args[0];
    const QString &target = args[1];
    if (CliOutput::outputIsNoInput(err, target, {source}) != CliOutput::success)
        return CliOutput::failure;

    const WholeFile::Read read = WholeFile::read(source);
    if (read.status != WholeFile::Status::Ok)
        return CliOutput::readFailed(err, source, read);

    Document doc;
    const QString error = DocumentJson::fromText(read.bytes, doc);
    if (!error.isEmpty())
        return CliOutput::fail(err, source, error);

    return CliOutput::saved(err, target, DocumentFile::save(doc, target));
}
