#include "io/import/ImportSources.h"

#include "ZipBuilder.h"

#include <QDir>
#include <QTemporaryDir>

#include "../FileBytes.h"

#include <gtest/gtest.h>

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
