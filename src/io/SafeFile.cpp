#include "SafeFile.h"

#include "FileMessages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// A QSaveFile (opened unbuffered, so that every write reaches the system at
// once) on which a write that does not take its whole length fails the file
// for good, keeping the system's error number of that moment.
class CheckedSaveFile : public QSaveFile
{
public:
    using QSaveFile::QSaveFile;

    bool failed() const { return m_failed; }
    int systemError() const { return m_error; }

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        if (m_failed)
            return -1;
        errno = 0;
        const qint64 written = QSaveFile::writeData(data, len);
        if (written != len) {
            m_failed = true;
            m_error = errno;
            return -1;
        }
        return written;
    }

private:
    bool m_failed = false;
    int m_error = 0;
};

// The cause of a failure: by the error number when the system gave one,
// otherwise Qt's description of it.
QString causeOf(int error, const QString &described)
{
    return error != 0 ? FileMessages::cause(error) : described;
}

} // namespace

SafeFile::Result SafeFile::write(const QString &path, const std::function<bool(QIODevice &)> &content)
{
    // On every failure below the temporary file goes with `file`, and the
    // target is left as it was.
    CheckedSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        errno = 0;
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            // QSaveFile refuses a directory and a file it may not replace
            // before asking the system, which then gives no error number.
            const int error = errno;
            const QFileInfo target(path);
            if (target.isDir())
                return {Failure::Create, FileMessages::cause(EISDIR)};
            if (target.exists() && !target.isWritable()) {
#ifdef Q_OS_UNIX
                // The system's own reason: a read-only file system is not
                // a refused access.
                if (::access(QFile::encodeName(path).constData(), W_OK) != 0 && errno != 0)
                    return {Failure::Create, FileMessages::cause(errno)};
#endif
                return {Failure::Create, FileMessages::cause(EACCES)};
            }
            return {Failure::Create, causeOf(error, file.errorString())};
        }
    }
    const bool made = content(file);
    if (file.failed())
        return {Failure::Write, causeOf(file.systemError(), file.errorString())};
    if (!made)
        return {Failure::Write, {}};
    errno = 0;
    if (!file.flush())
        return {Failure::Write, causeOf(errno, file.errorString())};
#ifdef Q_OS_UNIX
    // Some file systems (network ones among them) report a full disk only
    // when the data is written out; QSaveFile syncs too but does not look at
    // the answer.
    if (::fsync(file.handle()) != 0)
        return {Failure::Write, FileMessages::cause(errno)};
#endif
    errno = 0;
    if (!file.commit())
        return {Failure::Write, causeOf(errno, file.errorString())};
    return {};
}

SafeFile::Result SafeFile::write(const QString &path, QByteArrayView bytes)
{
    return write(path, [bytes](QIODevice &device) { return device.write(bytes.data(), bytes.size()) == bytes.size(); });
}
