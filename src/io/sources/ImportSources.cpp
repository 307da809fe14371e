#include "ImportSources.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace {

enum class Kind { Document, Zip, Gzip, Other };

Kind kindOfName(const QString &name, const ImportSources::Options &options)
{
    if (name.endsWith(u".zip", Qt::CaseInsensitive))
        return Kind::Zip;
    if (name.endsWith(u".gz", Qt::CaseInsensitive))
        return Kind::Gzip;
    if (options.isDocument && options.isDocument(name))
        return Kind::Document;
    return Kind::Other;
}

// A file named directly is taken by its first bytes when its name says
// nothing: a zip, a gzip, else a document.
Kind kindOfNamedFile(const QString &path, const ImportSources::Options &options)
{
    const Kind byName = kindOfName(path, options);
    if (byName != Kind::Other)
        return byName;
    QFile f(path);
    QByteArray head;
    if (f.open(QIODevice::ReadOnly))
        head = f.read(4);
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06"))
        return Kind::Zip;
    if (head.startsWith("\x1f\x8b"))
        return Kind::Gzip;
    return Kind::Document;
}

QString sizeLimitText(const ImportSources::Limits &limits)
{
    return QStringLiteral("větší než %1 MiB po rozbalení").arg(limits.maxDocumentBytes / (1024 * 1024));
}

// Bytes held by work under way, within a limit: acquire waits until the
// bytes fit or nothing else is held (a single larger piece goes alone).
// Holders never wait on the same budget, so waiting ends.
class Budget
{
public:
    Budget(qint64 limit, const std::atomic<bool> &cancelled) : m_limit(limit), m_cancelled(cancelled) {}

    // False when the reading was cancelled meanwhile (nothing is held then).
    bool acquire(qint64 bytes, size_t maxHolders = SIZE_MAX)
    {
        std::unique_lock lock(m_mutex);
        m_freed.wait(lock, [&] {
            return m_cancelled.load() || m_used == 0 || (m_used + bytes <= m_limit && m_holders < maxHolders);
        });
        if (m_cancelled.load())
            return false;
        m_used += bytes;
        ++m_holders;
        return true;
    }

    void release(qint64 bytes)
    {
        {
            std::lock_guard lock(m_mutex);
            m_used -= bytes;
            --m_holders;
        }
        m_freed.notify_all();
    }

    void wake() { m_freed.notify_all(); }

private:
    const qint64 m_limit;
    const std::atomic<bool> &m_cancelled;
    std::mutex m_mutex;
    std::condition_variable m_freed;
    qint64 m_used = 0;
    size_t m_holders = 0;
};

struct Job
{
    Kind kind = Kind::Document;
    QString name;
    QByteArray bytes;
    int depth = 0; // of the archive the bytes came out of; 0 for a plain file
};

using ArchivePtr = std::unique_ptr<archive, decltype(&archive_read_free)>;

ArchivePtr newZipReader()
{
    ArchivePtr a(archive_read_new(), &archive_read_free);
    archive_read_support_format_zip(a.get());
    return a;
}

ArchivePtr newGzipReader()
{
    ArchivePtr a(archive_read_new(), &archive_read_free);
    archive_read_support_filter_gzip(a.get());
    archive_read_support_format_raw(a.get());
    return a;
}

QString memberName(archive_entry *entry)
{
    if (const char *utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    if (const char *raw = archive_entry_pathname(entry))
        return QString::fromLocal8Bit(raw);
    return QStringLiteral("?");
}

QString archiveError(archive *a)
{
    const char *text = archive_error_string(a);
    return text ? QString::fromLocal8Bit(text) : QStringLiteral("neznámá chyba");
}

// The current entry's data, bounded by the limits. The ratio is unpacked
// bytes against the bytes the reader consumed for them, checked once a
// member is large enough for the ratio to mean something.
enum class EntryRead { Ok, Refused, Fatal };

EntryRead readEntry(archive *a, archive_entry *entry, const ImportSources::Limits &limits, QByteArray &out,
                    QString &why)
{
    out.clear();
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > limits.maxDocumentBytes) {
        why = sizeLimitText(limits);
        return EntryRead::Refused;
    }
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > 0)
        out.reserve(static_cast<qsizetype>(archive_entry_size(entry)));
    const la_int64_t consumedAtStart = archive_filter_bytes(a, -1);
    const qint64 ratioCheckFrom = std::max<qint64>(limits.maxDocumentBytes / 64, 1);
    char buffer[64 * 1024];
    for (;;) {
        const la_ssize_t n = archive_read_data(a, buffer, sizeof buffer);
        if (n == 0)
            return EntryRead::Ok;
        if (n < 0) {
            why = QStringLiteral("poškozený nebo zkrácený archiv (%1)").arg(archiveError(a));
            return n == ARCHIVE_FATAL ? EntryRead::Fatal : EntryRead::Refused;
        }
        if (out.size() + n > limits.maxDocumentBytes) {
            why = sizeLimitText(limits);
            return EntryRead::Refused;
        }
        out.append(buffer, static_cast<qsizetype>(n));
        if (out.size() >= ratioCheckFrom) {
            const qint64 consumed = std::max<la_int64_t>(archive_filter_bytes(a, -1) - consumedAtStart, 0);
            // A block the reader has taken in but not yet used may belong
            // to this member: it counts for it.
            if (out.size() > qint64{limits.maxCompressionRatio} * (consumed + qint64{sizeof buffer})) {
                why = QStringLiteral("podezřele vysoký kompresní poměr (zip bomb?)");
                return EntryRead::Refused;
            }
        }
    }
}

class Reader
{
public:
    explicit Reader(const ImportSources::Options &options)
        : m_options(options), m_work(options.limits.maxBytesInFlight, m_cancelled),
          m_unpacked(options.limits.maxBytesInFlight, m_cancelled)
    {
        m_threads = ImportSources::threadCount(options);
    }

    ImportSources::Result run(const QStringList &sources)
    {
        std::vector<std::thread> workers;
        workers.reserve(static_cast<size_t>(m_threads));
        for (int i = 0; i < m_threads; ++i)
            workers.emplace_back([this, i] { work(i); });

        walk(sources);

        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_jobReady.notify_all();
        for (std::thread &t : workers)
            t.join();

        ImportSources::Result result;
        result.skipped = std::move(m_skipped);
        std::stable_sort(result.skipped.begin(), result.skipped.end(),
                         [](const DaySkipped &a, const DaySkipped &b) { return a.source < b.source; });
        result.documents = m_documents.load();
        result.cancelled = m_cancelled.load();
        return result;
    }

private:
    // Jobs handed over and not yet done, at most.
    static constexpr size_t queueJobs = 512;

    struct FileToRead
    {
        QString path;
        QString name; // as messages show it
        qint64 size = 0;
        bool named = false; // named directly, not found in a folder
    };

    void skip(const QString &source, const QString &reason)
    {
        std::lock_guard lock(m_skippedMutex);
        m_skipped.push_back({source, reason});
    }

    bool reportProgress()
    {
        if (m_cancelled.load())
            return false;
        if (m_options.progress && !m_options.progress(m_done, m_total)) {
            m_cancelled = true;
            m_work.wake();
            m_unpacked.wake();
        }
        return !m_cancelled.load();
    }

    void walk(const QStringList &sources)
    {
        std::vector<FileToRead> files;
        for (const QString &source : sources) {
            const QFileInfo info(source);
            if (info.isDir()) {
                const QString root = info.absoluteFilePath();
                const QString shown = info.fileName().isEmpty() ? root : info.fileName();
                std::vector<FileToRead> found;
                QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
                while (it.hasNext()) {
                    const QString path = it.next();
                    const QFileInfo fi = it.fileInfo();
                    if (kindOfName(path, m_options) == Kind::Other)
                        continue;
                    found.push_back({path, shown + u'/' + QDir(root).relativeFilePath(path), fi.size(), false});
                }
                std::sort(found.begin(), found.end(),
                          [](const FileToRead &a, const FileToRead &b) { return a.name < b.name; });
                files.insert(files.end(), found.begin(), found.end());
            } else if (info.isFile()) {
                files.push_back({info.absoluteFilePath(), info.fileName(), info.size(), true});
            } else {
                skip(info.fileName().isEmpty() ? source : info.fileName(), QStringLiteral("soubor nenalezen"));
            }
        }
        for (const FileToRead &f : files)
            m_total += f.size;

        for (const FileToRead &f : files) {
            if (!reportProgress())
                return;
            const Kind kind = f.named ? kindOfNamedFile(f.path, m_options) : kindOfName(f.path, m_options);
            if (kind == Kind::Zip)
                readZipFile(f);
            else
                readPlainFile(f, kind);
            m_done = std::min(m_done + f.size, m_total);
        }
        reportProgress();
    }

    void readPlainFile(const FileToRead &f, Kind kind)
    {
        if (f.size > m_options.limits.maxDocumentBytes) {
            skip(f.name, QStringLiteral("větší než %1 MiB").arg(m_options.limits.maxDocumentBytes / (1024 * 1024)));
            return;
        }
        QFile file(f.path);
        if (!file.open(QIODevice::ReadOnly)) {
            skip(f.name, QStringLiteral("nelze otevřít: %1").arg(file.errorString()));
            return;
        }
        QByteArray bytes = file.read(m_options.limits.maxDocumentBytes + 1);
        if (file.error() != QFileDevice::NoError) {
            skip(f.name, QStringLiteral("chyba čtení: %1").arg(file.errorString()));
            return;
        }
        if (bytes.size() > m_options.limits.maxDocumentBytes) {
            skip(f.name, QStringLiteral("větší než %1 MiB").arg(m_options.limits.maxDocumentBytes / (1024 * 1024)));
            return;
        }
        push({kind, f.name, std::move(bytes), 0});
    }

    void readZipFile(const FileToRead &f)
    {
        ArchivePtr a = newZipReader();
        if (archive_read_open_filename(a.get(), QFile::encodeName(f.path).constData(), 64 * 1024) != ARCHIVE_OK) {
            skip(f.name, QStringLiteral("poškozený archiv (%1)").arg(archiveError(a.get())));
            return;
        }
        const qint64 fileStart = m_done;
        archive_entry *entry = nullptr;
        for (;;) {
            if (!reportProgress())
                return;
            const int status = archive_read_next_header(a.get(), &entry);
            if (status == ARCHIVE_EOF)
                return;
            if (status < ARCHIVE_WARN) {
                skip(f.name, QStringLiteral("poškozený nebo zkrácený archiv (%1)").arg(archiveError(a.get())));
                return;
            }
            m_done = std::min(fileStart + archive_filter_bytes(a.get(), -1), m_total);
            if (archive_entry_filetype(entry) != AE_IFREG)
                continue;
            const QString member = memberName(entry);
            const QString name = f.name + u'/' + member;
            const Kind kind = kindOfName(member, m_options);
            if (kind == Kind::Other)
                continue;
            QByteArray bytes;
            QString why;
            const EntryRead read = readEntry(a.get(), entry, m_options.limits, bytes, why);
            if (read == EntryRead::Fatal) {
                skip(f.name, why);
                return;
            }
            if (read == EntryRead::Refused) {
                skip(name, why);
                continue;
            }
            push({kind, name, std::move(bytes), 1});
        }
    }

    // The job's bytes count until a worker has done it.
    void push(Job job)
    {
        if (!m_work.acquire(job.bytes.size(), queueJobs))
            return;
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back(std::move(job));
        }
        m_jobReady.notify_one();
    }

    void work(int worker)
    {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(m_mutex);
                m_jobReady.wait(lock, [&] { return !m_queue.empty() || m_finished; });
                if (m_queue.empty())
                    return;
                job = std::move(m_queue.front());
                m_queue.pop_front();
            }
            if (!m_cancelled.load())
                process(worker, job);
            const qint64 bytes = job.bytes.size();
            job = {};
            m_work.release(bytes);
        }
    }

    // A document unpacked by a worker waits its turn in the budget of
    // unpacked documents; an archive inside goes on at once (its own
    // documents wait).
    void processUnpacked(int worker, Job &inner, qint64 held = 0)
    {
        if (inner.kind != Kind::Document) {
            process(worker, inner);
            return;
        }
        const qint64 size = std::max<qint64>(held, inner.bytes.size());
        if (held == 0 && !m_unpacked.acquire(size))
            return;
        process(worker, inner);
        inner = {};
        m_unpacked.release(size);
    }

    void process(int worker, Job &job)
    {
        switch (job.kind) {
        case Kind::Document:
            handle(worker, job.name, job.bytes);
            break;
        case Kind::Zip:
            readZipMemory(worker, job);
            break;
        case Kind::Gzip:
            readGzipMemory(worker, job);
            break;
        case Kind::Other:
            break;
        }
    }

    void handle(int worker, const QString &name, const QByteArray &bytes)
    {
        ++m_documents;
        try {
            if (m_options.handle)
                m_options.handle(worker, name, bytes);
        } catch (const std::exception &e) {
            skip(name, QStringLiteral("chyba při čtení (%1)").arg(QString::fromLocal8Bit(e.what())));
        }
    }

    bool deeperAllowed(const Job &job)
    {
        if (job.depth + 1 <= m_options.limits.maxArchiveDepth)
            return true;
        skip(job.name, QStringLiteral("příliš mnoho archivů v sobě"));
        return false;
    }

    void readZipMemory(int worker, Job &job)
    {
        if (!deeperAllowed(job))
            return;
        ArchivePtr a = newZipReader();
        if (archive_read_open_memory(a.get(), job.bytes.constData(), static_cast<size_t>(job.bytes.size()))
            != ARCHIVE_OK) {
            skip(job.name, QStringLiteral("poškozený archiv (%1)").arg(archiveError(a.get())));
            return;
        }
        archive_entry *entry = nullptr;
        for (;;) {
            if (m_cancelled.load())
                return;
            const int status = archive_read_next_header(a.get(), &entry);
            if (status == ARCHIVE_EOF)
                return;
            if (status < ARCHIVE_WARN) {
                skip(job.name, QStringLiteral("poškozený nebo zkrácený archiv (%1)").arg(archiveError(a.get())));
                return;
            }
            if (archive_entry_filetype(entry) != AE_IFREG)
                continue;
            const QString member = memberName(entry);
            const QString name = job.name + u'/' + member;
            const Kind kind = kindOfName(member, m_options);
            if (kind == Kind::Other)
                continue;
            Job inner{kind, name, {}, job.depth + 1};
            // A document's size in its header is booked before it is read.
            qint64 held = 0;
            if (kind == Kind::Document && archive_entry_size_is_set(entry) && archive_entry_size(entry) > 0
                && archive_entry_size(entry) <= m_options.limits.maxDocumentBytes) {
                held = archive_entry_size(entry);
                if (!m_unpacked.acquire(held))
                    return;
            }
            QString why;
            const EntryRead read = readEntry(a.get(), entry, m_options.limits, inner.bytes, why);
            if (read != EntryRead::Ok && held > 0)
                m_unpacked.release(held);
            if (read == EntryRead::Fatal) {
                skip(job.name, why);
                return;
            }
            if (read == EntryRead::Refused) {
                skip(name, why);
                continue;
            }
            processUnpacked(worker, inner, held);
        }
    }

    void readGzipMemory(int worker, Job &job)
    {
        if (!deeperAllowed(job))
            return;
        ArchivePtr a = newGzipReader();
        archive_entry *entry = nullptr;
        if (archive_read_open_memory(a.get(), job.bytes.constData(), static_cast<size_t>(job.bytes.size()))
                != ARCHIVE_OK
            || archive_read_next_header(a.get(), &entry) != ARCHIVE_OK) {
            skip(job.name, QStringLiteral("poškozený soubor gzip (%1)").arg(archiveError(a.get())));
            return;
        }
        QString inner = job.name;
        if (inner.endsWith(u".gz", Qt::CaseInsensitive))
            inner.chop(3);
        Kind kind = kindOfName(inner, m_options);
        if (kind == Kind::Other)
            kind = Kind::Document;
        Job unpacked{kind, inner, {}, job.depth + 1};
        QString why;
        if (readEntry(a.get(), entry, m_options.limits, unpacked.bytes, why) != EntryRead::Ok) {
            skip(job.name, why);
            return;
        }
        processUnpacked(worker, unpacked);
    }

    const ImportSources::Options &m_options;
    int m_threads = 1;

    std::atomic<bool> m_cancelled{false};
    Budget m_work;     // what the walk handed over, queued or under way
    Budget m_unpacked; // documents unpacked by the workers

    std::mutex m_mutex;
    std::condition_variable m_jobReady;
    std::deque<Job> m_queue;
    bool m_finished = false;

    std::atomic<int> m_documents{0};
    qint64 m_done = 0;
    qint64 m_total = 0;

    std::mutex m_skippedMutex;
    std::vector<DaySkipped> m_skipped;
};

} // namespace

int ImportSources::threadCount(const Options &options)
{
    if (options.threads > 0)
        return std::min(options.threads, 64);
    return std::max(1, QThread::idealThreadCount());
}

ImportSources::Result ImportSources::read(const QStringList &sources, const Options &options)
{
    Reader reader(options);
    return reader.run(sources);
}
