#include "RecoveryStore.h"

#include "SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QtEndian>

namespace {

constexpr char magic[] = "Vlakorys recovery 1\n";
constexpr qsizetype magicSize = sizeof magic - 1;

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
    if (!QDir().mkpath(m_directory))
        return false;
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
        if (!lock->tryLock(0))
            continue;
        m_lock = std::move(lock);
        m_path = path;
        return true;
    }
    return false;
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

void RecoveryStore::releaseLeft()
{
    m_held.clear();
}

QByteArray RecoveryStore::encode(const QString &originalPath, const DocumentSnapshot &snapshot)
{
    const QByteArray name = originalPath.toUtf8();
    const QByteArray body = snapshot.serialize();
    QByteArray out;
    out.reserve(magicSize + 4 + name.size() + body.size());
    out.append(magic, magicSize);
    const int32_t length = qToLittleEndian(static_cast<int32_t>(name.size()));
    out.append(reinterpret_cast<const char *>(&length), 4);
    out.append(name);
    out.append(body);
    return out;
}

std::optional<RecoveryStore::Copy> RecoveryStore::decode(const QByteArray &bytes)
{
    if (!bytes.startsWith(QByteArrayView(magic, magicSize)) || bytes.size() < magicSize + 4)
        return std::nullopt;
    const int32_t length = qFromLittleEndian<int32_t>(bytes.constData() + magicSize);
    if (length < 0 || length > bytes.size() - magicSize - 4)
        return std::nullopt;
    std::optional<DocumentSnapshot> snapshot = DocumentSnapshot::deserialize(bytes.sliced(magicSize + 4 + length));
    if (!snapshot)
        return std::nullopt;
    return Copy{QString::fromUtf8(bytes.sliced(magicSize + 4, length)), std::move(*snapshot)};
}

std::optional<RecoveryStore::Copy> RecoveryStore::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decode(file.readAll());
}

bool RecoveryStore::write(const QString &path, const QByteArray &bytes)
{
    return SafeFile::write(path, bytes).ok();
}
