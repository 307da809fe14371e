#include "io/sources/ImportSources.h"

#include "ZipBuilder.h"

#include <QDir>
#include <QTemporaryDir>

#include "../FileBytes.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>

TEST(ImportSources, EveryDocumentOnceWhateverItCameIn)
{
    QTemporaryDir dir;
    // Files named directly are taken by their first bytes when their name
    // says nothing; in a folder only documents and archives count.
    FileBytes::write(dir.filePath("zipped"), ZipBuilder::zip({{"a.txt", "A"}, {"skip.bin", "-"}}));
    FileBytes::write(dir.filePath("gzipped"), ZipBuilder::gzip("B"));
    FileBytes::write(dir.filePath("plain"), "C");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder/sub")));
    FileBytes::write(dir.filePath("folder/sub/d.txt"), "D");
    FileBytes::write(dir.filePath("folder/e.bin"), "-");
    FileBytes::write(dir.filePath("folder/f.txt.gz"), ZipBuilder::gzip("F"));
    FileBytes::write(dir.filePath("folder/throws.txt"), "!");

    std::mutex mutex;
    std::map<QString, QByteArray> seen;
    ImportSources::Options options;
    options.isDocument = [](const QString &name) { return name.endsWith(u".txt"); };
    options.handle = [&](int worker, const QString &name, const QByteArray &bytes) {
        if (bytes == "!")
            throw std::runtime_error("no such thing");
        EXPECT_LT(worker, ImportSources::threadCount(options));
        std::lock_guard lock(mutex);
        EXPECT_TRUE(seen.emplace(name, bytes).second) << name.toStdString();
    };
    const ImportSources::Result r = ImportSources::read(
        {dir.filePath("zipped"), dir.filePath("gzipped"), dir.filePath("plain"), dir.filePath("folder")}, options);

    const std::map<QString, QByteArray> expected = {
        {"zipped/a.txt", "A"}, {"gzipped", "B"}, {"plain", "C"}, {"folder/sub/d.txt", "D"}, {"folder/f.txt", "F"}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(std::tuple(r.documents, r.cancelled), std::tuple(6, false));
    ASSERT_EQ(r.skipped.size(), 1u);
    EXPECT_EQ(r.skipped.front().source, QStringLiteral("folder/throws.txt"));
    EXPECT_EQ(r.skipped.front().reason, QStringLiteral("chyba při čtení (no such thing)"));
}

TEST(ImportSources, TheBytesInFlightAreBoundedWhateverTheCores)
{
    // Six documents of 100 kB as files, and as three zips of two, read by
    // four workers with room for two documents: the handler never holds
    // more, though it waits a while for the others to come in.
    QTemporaryDir dir;
    const QByteArray doc(100000, 'x');
    ASSERT_TRUE(QDir().mkpath(dir.filePath("files")) && QDir().mkpath(dir.filePath("zips")));
    for (int i = 0; i < 6; ++i) {
        FileBytes::write(dir.filePath(QStringLiteral("files/%1.txt").arg(i)), doc);
        FileBytes::write(dir.filePath(QStringLiteral("zips/%1.zip").arg(i / 2)),
                         ZipBuilder::zip({{"a.txt", doc}, {"b.txt", doc}}));
    }
    for (const char *folder : {"files", "zips"}) {
        std::mutex mutex;
        std::condition_variable more;
        qint64 held = 0;
        qint64 peak = 0;
        ImportSources::Options options;
        options.threads = 4;
        options.limits.maxBytesInFlight = 250000;
        options.isDocument = [](const QString &name) { return name.endsWith(u".txt"); };
        options.handle = [&](int, const QString &, const QByteArray &bytes) {
            std::unique_lock lock(mutex);
            peak = std::max(peak, held += bytes.size());
            more.notify_all();
            more.wait_for(lock, std::chrono::milliseconds(30), [&] { return held > 250000; });
            held -= bytes.size();
        };
        const ImportSources::Result r = ImportSources::read({dir.filePath(folder)}, options);
        // Two at once as a rule; on a loaded machine the second may come
        // only after the first has gone.
        EXPECT_EQ(r.documents, 6) << folder;
        EXPECT_LE(peak, qint64{200000}) << folder;
    }
}
