#include "RecoveryStore.h"

#include "FileMessages.h"
#include "SafeFile.h"
#include "WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QtEndian>

#include <cerrno>
#include <new>

namespace {

// Layout 2: magic, the original's name (int32 length, UTF-8), its stamp
// (int64 size, int64 modification time in ms), the snapshot. Layout 1, as
// editors before the stamp wrote it, has no stamp.
constexpr char magic1[] = "Vlakorys recovery 1\n";
constexpr char magic2[] = "Vlakorys recovery 2\n";
constexpr qsizetype magicSize = sizeof magic2 - 1;
static_assert(sizeof magic1 == sizeof magic2);

struct Head
{
    QString originalPath;
    FileStamp stamp;
    qsizetype bodyOffset = 0;
};

// The head of a copy from its first bytes (all of it, or at least the head);
// nullopt when they are no copy's head.
std::optional<Head> readHead(QByteArrayView bytes)
{
    const bool second = bytes.startsWith(QByteArrayView(magic2, magicSize));
    if ((!second && !bytes.startsWith(QByteArrayView(magic1, magicSize))) || bytes.size() < magicSize + 4)
        return std::nullopt;
    const int32_t length = qFromLittleEndian<int32_t>(bytes.data() + magicSize);
    const qsizetype stampSize = second ? 16 : 0;
    if (length < 0 || length > bytes.size() - magicSize - 4 - stampSize)
        return std::nullopt;
    Head head;
    head.originalPath = QString::fromUtf8(bytes.sliced(magicSize + 4, length));
    head.bodyOffset = magicSize + 4 + length;
    if (second) {
        head.stamp.size = qFromLittleEndian<qint64>(bytes.data() + head.bodyOffset);
        head.stamp.modified = qFromLittleEndian<qint64>(bytes.data() + head.bodyOffset + 8);
        if (!head.stamp.isValid())
            head.stamp = {};
        head.bodyOffset += stampSize;
    }
    return head;
}

// A lock counts as held only while its process runs: a live editor's lock
// never grows stale with age.
std::unique_ptr<QLockFile> lockFile(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

QString RecoveryStore::defaultDirectory()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // XDG leaves a relative XDG_STATE_HOME unused, as if it were not set.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/vlakorys");
}

RecoveryStore::RecoveryStore(QString directory) : m_directory(std::move(directory))
{
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::lockPathOf(const QString &copyPath)
{
    return copyPath.left(copyPath.size() - qsizetype(sizeof suffix - 1)) + QStringLiteral(".lock");
}

bool RecoveryStore::open()
{
    if (isOpen())
        return true;
    errno = 0;
    if (!QDir().mkpath(m_directory)) {
        m_openCause = FileMessages::cause(errno);
        return false;
    }
    QFile::setPermissions(m_directory, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The process number makes the name unique among running editors; the
    // random part keeps it unique when a number comes round again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QString base = QStringLiteral("%1/editor-%2-%3")
                                 .arg(m_directory)
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const QString path = base + QLatin1String(suffix);
        if (QFile::exists(path))
            continue;
        auto lock = lockFile(lockPathOf(path));
        errno = 0;
        if (!lock->tryLock(0)) {
            m_openCause = FileMessages::cause(errno);
            continue;
        }
        m_lock = std::move(lock);
        m_path = path;
        m_openCause.clear();
        removeStaleLocks();
        return true;
    }
    return false;
}

// A lock without a copy belongs to a running editor with nothing unsaved, or
// to one that ended before it wrote a copy (killed, or ended by a signal
// before it could clean up). Only locks whose process no longer runs can be
// taken; taking and releasing one removes it.
void RecoveryStore::removeStaleLocks()
{
    const QDir dir(m_directory);
    for (const QString &name : dir.entryList({QStringLiteral("*.lock")}, QDir::Files)) {
        const QString lockPath = dir.filePath(name);
        const QString copyPath = lockPath.left(lockPath.size() - 5) + QLatin1String(suffix);
        if (copyPath == m_path || QFile::exists(copyPath))
            continue; // this editor's own, or a copy offered through its lock
        auto lock = lockFile(lockPath);
        if (lock->tryLock(0))
            lock->unlock();
    }
}

std::vector<QString> RecoveryStore::leftCopies()
{
    std::vector<QString> out;
    const QFileInfoList files =
        QDir(m_directory).entryInfoList({QStringLiteral("*") + QLatin1String(suffix)}, QDir::Files, QDir::Time);
    for (const QFileInfo &file : files) {
        const QString path = file.absoluteFilePath();
        if (path == m_path || m_held.count(path))
            continue;
        auto lock = lockFile(lockPathOf(path));
        if (!lock->tryLock(0))
            continue; // its editor is running (or runs on another machine)
        m_held.emplace(path, std::move(lock));
        out.push_back(path);
    }
    return out;
}

void RecoveryStore::removeLeft(const QString &path)
{
    QFile::remove(path);
    m_held.erase(path); // unlocking removes the lock file
}

QString RecoveryStore::setAsideLeft(const QString &path)
{
    QString target = path + QLatin1String(damagedSuffix);
    for (int n = 2; QFile::exists(target) && n < 100; ++n)
        target = path + QLatin1String(damagedSuffix) + QString::number(n);
    const bool renamed = QFile::rename(path, target);
    m_held.erase(path);
    return renamed ? target : QString();
}

void RecoveryStore::releaseLeft()
{
    m_held.clear();
}

QByteArray RecoveryStore::encode(const QString &originalPath, const FileStamp &stamp, const DocumentSnapshot &snapshot)
{
    const QByteArray name = originalPath.toUtf8();
    const QByteArray body = snapshot.serialize();
    QByteArray out;
    out.reserve(magicSize + 4 + name.size() + 16 + body.size());
    out.append(magic2, magicSize);
    const auto append = [&out](auto value) {
        const auto little = qToLittleEndian(value);
        out.append(reinterpret_cast<const char *>(&little), sizeof little);
    };
    append(static_cast<int32_t>(name.size()));
    out.append(name);
    append(static_cast<qint64>(stamp.isValid() ? stamp.size : -1));
    append(static_cast<qint64>(stamp.isValid() ? stamp.modified : 0));
    out.append(body);
    return out;
}

std::optional<RecoveryStore::Copy> RecoveryStore::decode(const QByteArray &bytes)
{
    const std::optional<Head> head = readHead(bytes);
    if (!head)
        return std::nullopt;
    std::optional<DocumentSnapshot> snapshot = DocumentSnapshot::deserialize(bytes.sliced(head->bodyOffset));
    if (!snapshot)
        return std::nullopt;
    return Copy{head->originalPath, head->stamp, std::move(*snapshot)};
}

std::optional<QString> RecoveryStore::originalPathOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(magicSize + 4);
    if (bytes.size() < magicSize + 4)
        return std::nullopt;
    const int32_t length = qFromLittleEndian<int32_t>(bytes.constData() + magicSize);
    if (length < 0 || length > file.size())
        return std::nullopt;
    bytes += file.read(qint64{length} + 16);
    const std::optional<Head> head = readHead(bytes);
    if (!head)
        return std::nullopt;
    return head->originalPath;
}

std::optional<RecoveryStore::Copy> RecoveryStore::read(const QString &path)
{
    // A copy is a document: one beyond a document's bound is not read.
    const WholeFile::Read read = WholeFile::read(path, FileMessages::maxDocumentBytes);
    if (read.status != WholeFile::Status::Ok)
        return std::nullopt;
    try {
        return decode(read.bytes);
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

SafeFile::Result RecoveryStore::write(const QString &path, const QByteArray &bytes)
{
    return SafeFile::write(path, bytes);
}
