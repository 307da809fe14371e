#include "FileMessages.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace FileMessages {

namespace {

QString withoutFullStop(const QString &message)
{
    return message.endsWith(u'.') ? message.chopped(1) : message;
}

} // namespace

QString cause(int error)
{
    switch (error) {
    case 0:
        return {};
    case ENOSPC:
        return QStringLiteral("disk je plný");
    case EACCES:
    case EPERM:
        return QStringLiteral("přístup odepřen");
    case EROFS:
        return QStringLiteral("systém souborů je jen pro čtení");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("překročena kvóta");
#endif
    case ENOENT:
        return QStringLiteral("soubor nebo adresář neexistuje");
    case EISDIR:
        return QStringLiteral("je to adresář");
    default:
        break;
    }
    return qt_error_string(error);
}

QString openCause(const QString &path, int error, const QString &described)
{
    if (QFileInfo(path).isDir())
        error = EISDIR;
    return error != 0 ? cause(error) : described;
}

QString naming(const QString &message, const QString &path, const QString &cause)
{
    QString text = withoutFullStop(message);
    if (!text.endsWith(QLatin1String("souboru")))
        text += QStringLiteral(" do souboru");
    text += QStringLiteral(" „") + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) + u'“';
    if (!cause.isEmpty())
        text += QStringLiteral(": ") + cause;
    return text + u'.';
}

QString withCause(const QString &message, const QString &cause)
{
    return cause.isEmpty() ? message : withoutFullStop(message) + QStringLiteral(": ") + cause;
}

} // namespace FileMessages
