#include "WholeFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

namespace WholeFile {

namespace {

constexpr qint64 chunkSize = qint64(1) << 20;

// The cause limit bytes stand for, in the words of FileMessages::tooLarge
// when they are its bound.
QString tooLargeCause(qint64 limit)
{
    return limit == FileMessages::maxTextBytes ? FileMessages::tooLarge
                                               : QStringLiteral("soubor je větší než %1 bajtů").arg(limit);
}

} // namespace

Read read(QIODevice &device, qint64 limit)
{
    Read out;
    if (!device.isSequential() && device.size() > limit) {
        out.status = Status::TooLarge;
        out.cause = tooLargeCause(limit);
        return out;
    }
    // In chunks, so that an endless device is given up one byte past the
    // bound instead of filling the memory.
    QByteArray &bytes = out.bytes;
    for (;;) {
        const qint64 want = std::min(chunkSize, limit + 1 - bytes.size());
        if (want <= 0)
            break;
        const qsizetype had = bytes.size();
        bytes.resize(had + want);
        errno = 0;
        const qint64 got = device.read(bytes.data() + had, want);
        bytes.resize(had + std::max<qint64>(got, 0));
        if (got < 0) {
            out.status = Status::ReadError;
            out.cause = errno != 0 ? FileMessages::cause(errno) : device.errorString();
            out.bytes.clear();
            return out;
        }
        if (got == 0)
            break; // the end
    }
    if (bytes.size() > limit) {
        out.status = Status::TooLarge;
        out.cause = tooLargeCause(limit);
        out.bytes.clear();
    }
    return out;
}

Read read(const QString &path, qint64 limit)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        Read out;
        out.status = Status::CannotOpen;
        out.cause = FileMessages::openCause(path, errno, file.errorString());
        return out;
    }
    return read(file, limit);
}

} // namespace WholeFile
