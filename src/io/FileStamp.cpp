#include "FileStamp.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

FileStamp FileStamp::of(const QString &path)
{
    // A fresh QFileInfo asks the file system; a cached one would not see
    // the other program's write.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return {};
    return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
}

bool FileStamp::sameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo first(a);
    const QFileInfo second(b);
    const QString canonicalA = first.canonicalFilePath();
    const QString canonicalB = second.canonicalFilePath();
    if (!canonicalA.isEmpty() && !canonicalB.isEmpty())
        return canonicalA == canonicalB;
    return QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath());
}
