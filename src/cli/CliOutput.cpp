#include "CliOutput.h"

#include <QFileInfo>

#include <cerrno>

namespace CliOutput {

int fail(std::FILE *err, const QString &file, const QString &message)
{
    const QString line =
        QStringLiteral("vlakorys-cli: ") + (file.isEmpty() ? QString() : file + QStringLiteral(": ")) + message + u'\n';
    std::fputs(line.toUtf8().constData(), err);
    return failure;
}

void warn(std::FILE *err, const QString &file, const QString &message)
{
    if (!message.isEmpty())
        fail(err, file, message);
}

int usageError(std::FILE *err, const QString &usage)
{
    std::fputs((QStringLiteral("vlakorys-cli: použití: ") + usage + u'\n').toUtf8().constData(), err);
    return failure;
}

int unknownOption(std::FILE *err, const QString &option)
{
    return fail(err, QString(), unknownOptionMessage + option);
}

FilesAndJson filesAndJson(const QStringList &args, std::FILE *err, qsizetype count, const char *usage)
{
    FilesAndJson a;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--json")) {
            a.json = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            a.status = unknownOption(err, arg.section(u'=', 0, 0));
            return a;
        } else {
            a.files << arg;
        }
    }
    if (a.files.size() != count)
        a.status = usageError(err, QString::fromUtf8(usage));
    return a;
}

QString optionAmong(const QStringList &args)
{
    for (const QString &arg : args) {
        if (arg.startsWith(QLatin1String("--")))
            return arg.section(u'=', 0, 0);
    }
    return {};
}

int readFailed(std::FILE *err, const QString &file, const WholeFile::Read &read, const QString &cannotOpen)
{
    const QString &message = read.status == WholeFile::Status::CannotOpen ? cannotOpen : FileMessages::cannotRead;
    return fail(err, file, FileMessages::withCause(message, read.cause));
}

int outputIsNoInput(std::FILE *err, const QString &target, const QStringList &inputs)
{
    const QFileInfo output(target);
    if (!output.exists())
        return success;
    for (const QString &input : inputs) {
        const QFileInfo in(input);
        if (in.exists() && in.canonicalFilePath() == output.canonicalFilePath())
            return fail(err, target, outputIsInputMessage);
    }
    return success;
}

int outputFailed(std::FILE *err)
{
    return fail(err, QString(), FileMessages::withCause(cannotWriteOutput, FileMessages::cause(errno)));
}

bool wroteAll(std::FILE *out, std::FILE *err, const QByteArray &text)
{
    errno = 0;
    if (std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), out) == static_cast<size_t>(text.size())
        && std::fflush(out) == 0)
        return true;
    outputFailed(err);
    return false;
}

int flushed(std::FILE *out, std::FILE *err, int status)
{
    if (status == failure)
        return status;
    // A write that failed earlier left its cause in errno; a failing flush
    // gives its own.
    const int earlier = errno;
    errno = 0;
    if (std::fflush(out) != 0)
        return outputFailed(err);
    if (std::ferror(out)) {
        errno = earlier;
        return outputFailed(err);
    }
    return status;
}

int saved(std::FILE *err, const QString &file, const DocumentFile::SaveOutcome &outcome)
{
    if (outcome.status == DocumentFile::Status::Ok)
        return success;
    return fail(err, file, FileMessages::withCause(DocumentFile::message(outcome.status), outcome.cause));
}

} // namespace CliOutput
