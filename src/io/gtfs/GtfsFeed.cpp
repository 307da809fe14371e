#include "GtfsFeed.h"

#include "GtfsMessages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <archive.h>
#include <archive_entry.h>

namespace {

constexpr size_t archiveBlock = 1 << 16;

struct ArchiveCloser
{
    void operator()(archive *a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveCloser>;

QString archiveError(archive *a)
{
    const char *text = archive_error_string(a);
    return text ? QString::fromUtf8(text) : QStringLiteral("neznámá chyba");
}

// A zip archive opened for reading, its headers read one by one.
ArchivePtr openZip(const QString &path, QString &error)
{
    ArchivePtr a(archive_read_new());
    archive_read_support_format_zip(a.get());
    if (archive_read_open_filename(a.get(), QFile::encodeName(path).constData(), archiveBlock) != ARCHIVE_OK) {
        error = archiveError(a.get());
        return nullptr;
    }
    return a;
}

// One archive member as a sequential device; it owns the archive it reads.
// A member that unpacks to more than maxRatio times the bytes it takes in
// the archive (checked from ratioCheckFrom bytes on) fails as a zip bomb.
class ArchiveMemberDevice : public QIODevice
{
public:
    ArchiveMemberDevice(ArchivePtr archive, int maxRatio)
        : m_archive(std::move(archive)), m_maxRatio(maxRatio),
          m_consumedAtStart(archive_filter_bytes(m_archive.get(), -1))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const la_ssize_t got = archive_read_data(m_archive.get(), data, static_cast<size_t>(maxSize));
        if (got < 0) {
            setErrorString(archiveError(m_archive.get()));
            return -1;
        }
        m_unpacked += got;
        if (m_unpacked >= ratioCheckFrom) {
            // A block taken in but not yet used may belong to this member.
            const qint64 consumed =
                std::max<qint64>(archive_filter_bytes(m_archive.get(), -1) - m_consumedAtStart, 0) + archiveBlock;
            if (m_unpacked > qint64{m_maxRatio} * consumed) {
                setErrorString(GtfsMessages::compressionRatio);
                return -1;
            }
        }
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    static constexpr qint64 ratioCheckFrom = qint64{1} << 20;

    ArchivePtr m_archive;
    int m_maxRatio;
    qint64 m_consumedAtStart;
    qint64 m_unpacked = 0;
};

class DirectoryFeed : public GtfsFeed
{
public:
    explicit DirectoryFeed(const QString &path) : GtfsFeed(path), m_dir(path) {}

    bool hasTable(const QString &name) const override { return QFileInfo(m_dir.filePath(name)).isFile(); }
    qint64 tableSize(const QString &name) const override
    {
        const QFileInfo info(m_dir.filePath(name));
        return info.isFile() ? info.size() : -1;
    }
    std::unique_ptr<QIODevice> openTable(const QString &name, QString &error) const override
    {
        if (!hasTable(name))
            return nullptr;
        auto file = std::make_unique<QFile>(m_dir.filePath(name));
        if (!file->open(QIODevice::ReadOnly)) {
            error = GtfsMessages::cannotOpenTable;
            return nullptr;
        }
        return file;
    }

private:
    QDir m_dir;
};

class ZipFeed : public GtfsFeed
{
public:
    struct Member
    {
        QByteArray path; // as the archive spells it
        int depth = 0;
        qint64 size = -1;
    };

    ZipFeed(const QString &path, std::map<QString, Member> members) : GtfsFeed(path), m_members(std::move(members)) {}

    bool hasTable(const QString &name) const override { return m_members.count(name) > 0; }
    qint64 tableSize(const QString &name) const override
    {
        const auto it = m_members.find(name);
        return it == m_members.end() ? -1 : it->second.size;
    }
    std::unique_ptr<QIODevice> openTable(const QString &name, QString &error) const override
    {
        const auto it = m_members.find(name);
        if (it == m_members.end())
            return nullptr;
        ArchivePtr a = openZip(path(), error);
        if (!a)
            return nullptr;
        archive_entry *entry = nullptr;
        for (;;) {
            const int r = archive_read_next_header(a.get(), &entry);
            if (r == ARCHIVE_EOF) {
                error = GtfsMessages::cannotOpenTable;
                return nullptr;
            }
            if (r < ARCHIVE_WARN) {
                error = archiveError(a.get());
                return nullptr;
            }
            if (it->second.path == archive_entry_pathname(entry))
                return std::make_unique<ArchiveMemberDevice>(std::move(a), maxCompressionRatio);
        }
    }

    // The members of the archive by file name; where a name occurs in
    // several folders, the one nearest the top.
    static bool list(const QString &path, std::map<QString, Member> &members, QString &error)
    {
        ArchivePtr a = openZip(path, error);
        if (!a)
            return false;
        archive_entry *entry = nullptr;
        for (;;) {
            const int r = archive_read_next_header(a.get(), &entry);
            if (r == ARCHIVE_EOF)
                return true;
            if (r < ARCHIVE_WARN) {
                error = archiveError(a.get());
                return false;
            }
            if (archive_entry_filetype(entry) != AE_IFREG)
                continue;
            Member m;
            m.path = archive_entry_pathname(entry);
            m.depth = static_cast<int>(m.path.count('/'));
            m.size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1;
            const QString name = QString::fromUtf8(m.path.mid(m.path.lastIndexOf('/') + 1));
            const auto found = members.find(name);
            if (found == members.end() || found->second.depth > m.depth)
                members[name] = m;
        }
    }

private:
    std::map<QString, Member> m_members;
};

class MemoryFeed : public GtfsFeed
{
public:
    explicit MemoryFeed(std::map<QString, QByteArray> tables)
        : GtfsFeed(QStringLiteral("(paměť)")), m_tables(std::move(tables))
    {
    }

    bool hasTable(const QString &name) const override { return m_tables.count(name) > 0; }
    qint64 tableSize(const QString &name) const override
    {
        const auto it = m_tables.find(name);
        return it == m_tables.end() ? -1 : it->second.size();
    }
    std::unique_ptr<QIODevice> openTable(const QString &name, QString &) const override
    {
        const auto it = m_tables.find(name);
        if (it == m_tables.end())
            return nullptr;
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(it->second);
        buffer->open(QIODevice::ReadOnly);
        return buffer;
    }

private:
    std::map<QString, QByteArray> m_tables;
};

} // namespace

std::unique_ptr<GtfsFeed> GtfsFeed::open(const QString &path, QString &error)
{
    const QFileInfo info(path);
    if (info.isDir())
        return std::make_unique<DirectoryFeed>(path);
    if (!info.isFile()) {
        error = GtfsMessages::notFeed(path);
        return nullptr;
    }
    std::map<QString, ZipFeed::Member> members;
    QString detail;
    if (!ZipFeed::list(path, members, detail)) {
        error = GtfsMessages::cannotReadArchive(path, detail);
        return nullptr;
    }
    return std::make_unique<ZipFeed>(path, std::move(members));
}

std::unique_ptr<GtfsFeed> GtfsFeed::fromTables(std::map<QString, QByteArray> tables)
{
    return std::make_unique<MemoryFeed>(std::move(tables));
}
