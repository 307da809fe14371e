#include "TableCommand.h"

#include "CliOutput.h"

#include "io/DocumentFile.h"
#include "io/DocumentReader.h"
#include "io/FileMessages.h"
#include "model/Document.h"
#include "table/TimetableFiles.h"

#include <QFileInfo>

#include <exception>

int TableCommand::run(const QStringList &args, std::FILE *, std::FILE *err) const
{
    QStringList files;
    int direction = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--direction")) {
            const QString value = i + 1 < args.size() ? args[++i] : QString();
            if (value != QLatin1String("1") && value != QLatin1String("2"))
                return CliOutput::usageError(err, QString::fromUtf8(usage));
            direction = value.toInt();
        } else if (arg.startsWith(QLatin1String("--"))) {
            return CliOutput::unknownOption(err, arg.section(u'=', 0, 0));
        } else {
            files << arg;
        }
    }
    if (files.size() != 2)
        return CliOutput::usageError(err, QString::fromUtf8(usage));
    const QString &path = files[0];
    const QString &output = files[1];
    const std::optional<TimetableFiles::Format> format = TimetableFiles::formatOf(output);
    if (!format)
        return CliOutput::fail(err, output, unknownSuffix);

    Document doc;
    const DocumentFile::LoadOutcome loaded = DocumentFile::load(doc, path);
    if (loaded.status != DocumentFile::Status::Ok)
        return CliOutput::fail(err, path, FileMessages::withCause(DocumentFile::message(loaded.status), loaded.cause));
    try {
        DocumentReader::finishLoading(doc);
    } catch (const std::exception &e) {
        return CliOutput::fail(err, path, QString::fromUtf8(e.what()));
    }
    CliOutput::warn(err, path, loaded.read.warning);
    const SafeFile::Result written = TimetableFiles::write(output, *format, TimetableFiles::tables(doc, direction),
                                                           QFileInfo(path).completeBaseName());
    if (!written)
        return CliOutput::fail(err, output, FileMessages::withCause(FileMessages::cannotWrite, written.cause));
    return CliOutput::success;
}
