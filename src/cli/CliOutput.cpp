#include "CliOutput.h"

namespace CliOutput {

int fail(std::FILE *err, const QString &file, const QString &message)
{
    const QString line =
        QStringLiteral("vlakorys-cli: ") + (file.isEmpty() ? QString() : file + QStringLiteral(": ")) + message + u'\n';
    std::fputs(line.toUtf8().constData(), err);
    return failure;
}

int usageError(std::FILE *err, const QString &usage)
{
    std::fputs(("vlakorys-cli: usage: " + usage + u'\n').toUtf8().constData(), err);
    return failure;
}

} // namespace CliOutput
