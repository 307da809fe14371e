#include "BuildCommand.h"

#include "CliOutput.h"
#include "DocumentJson.h"

#include "io/DocumentFile.h"
#include "io/FileMessages.h"
#include "model/Document.h"

#include <QFile>

int BuildCommand::run(const QStringList &args, std::FILE *, std::FILE *err) const
{
    if (args.size() != 2)
        return CliOutput::usageError(err, QString::fromLatin1(usage));
    const QString &source = args[0];
    const QString &target = args[1];

    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return CliOutput::fail(err, source, FileMessages::cannotOpen + u' ' + file.errorString());
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return CliOutput::fail(err, source, FileMessages::cannotOpen + u' ' + file.errorString());

    Document doc;
    const QString error = DocumentJson::fromText(text, doc);
    if (!error.isEmpty())
        return CliOutput::fail(err, source, error);

    const DocumentFile::Status status = DocumentFile::save(doc, target);
    if (status != DocumentFile::Status::Ok)
        return CliOutput::fail(err, target, DocumentFile::message(status));
    return CliOutput::success;
}
