#include "io/gtfs/GtfsFeed.h"
#include "io/gtfs/GtfsDayReader.h"

#include "GtfsTestFeeds.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>

#include <gtest/gtest.h>

#include <algorithm>

using namespace GtfsTestFeeds;

namespace {

// Writes a zip archive of the given members (path → bytes).
void writeZip(const QString &path, const std::vector<std::pair<QByteArray, QByteArray>> &members)
{
    archive *a = archive_write_new();
    archive_write_set_format_zip(a);
    ASSERT_EQ(archive_write_open_filename(a, QFile::encodeName(path).constData()), ARCHIVE_OK);
    for (const auto &[name, bytes] : members) {
        archive_entry *e = archive_entry_new();
        archive_entry_set_pathname(e, name.constData());
        archive_entry_set_size(e, bytes.size());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        ASSERT_EQ(archive_write_header(a, e), ARCHIVE_OK);
        ASSERT_EQ(archive_write_data(a, bytes.constData(), size_t(bytes.size())), bytes.size());
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
}

// The trains and stations of a reading, as text.
std::vector<std::string> summary(const GtfsDay &read)
{
    std::vector<std::string> out;
    for (const DayPoint &p : read.timetable.points)
        out.push_back(QStringLiteral("%1 %2").arg(p.name).arg(p.metres.value_or(-1)).toStdString());
    for (const DayTrain &t : read.timetable.trains)
        out.push_back(QStringLiteral("%1 (%2 calls)").arg(t.name).arg(t.calls.size()).toStdString());
    for (const DaySkipped &s : read.timetable.skipped)
        out.push_back((s.source + QStringLiteral(": ") + s.reason).toStdString());
    return out;
}

GtfsDay readFeed(const GtfsFeed &feed)
{
    return GtfsDayReader::readDay(feed, {QDate(2026, 3, 4), {}});
}

} // namespace

// The same feed read from memory, a directory and a zip whose tables stand
// in a folder (beside a stray deeper copy of one) gives the same day.
TEST(GtfsFeed, DirectoryAndZip)
{
    const Tables tables = smallLine();
    const std::vector<std::string> expected = summary(readFeed(*GtfsFeed::fromTables(tables)));
    ASSERT_EQ(expected.size(), 8u);

    QTemporaryDir dir;
    const QString feedDir = dir.filePath(QStringLiteral("feed"));
    QDir().mkpath(feedDir);
    std::vector<std::pair<QByteArray, QByteArray>> members;
    for (const auto &[name, bytes] : tables) {
        QFile f(feedDir + u'/' + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        members.emplace_back("gtfs/" + name.toUtf8(), bytes);
    }
    members.emplace_back("gtfs/old/stops.txt", "nothing,of,use\n");
    const QString zipPath = dir.filePath(QStringLiteral("feed.zip"));
    writeZip(zipPath, members);

    for (const QString &path : {feedDir, zipPath}) {
        QString error;
        const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(path, error);
        ASSERT_TRUE(feed) << error.toStdString();
        EXPECT_EQ(summary(readFeed(*feed)), expected) << path.toStdString();
    }

    // A member's size in its header is checked before it is read.
    QString error;
    const std::unique_ptr<GtfsFeed> zip = GtfsFeed::open(zipPath, error);
    zip->setSizeLimit(500);
    EXPECT_EQ(summary(readFeed(*zip)), std::vector<std::string>{"stop_times.txt: soubor je větší než 500 B, nečte se"});

    // A member that unpacks to far more than it takes is a zip bomb.
    const QString bombPath = dir.filePath(QStringLiteral("bomb.zip"));
    std::vector<std::pair<QByteArray, QByteArray>> bombMembers;
    for (const auto &[name, bytes] : tables)
        bombMembers.emplace_back(name.toUtf8(), name == u"stop_times.txt"
                                                    ? bytes + QByteArray("N1,5:00:00,5:00:00,A1,10\n").repeated(1000000)
                                                    : bytes);
    writeZip(bombPath, bombMembers);
    const std::vector<std::string> bomb = summary(readFeed(*GtfsFeed::open(bombPath, error)));
    EXPECT_NE(std::find(bomb.begin(), bomb.end(),
                        "stop_times.txt: chyba při čtení: podezřele vysoký kompresní poměr (zip bomb?)"),
              bomb.end())
        << bomb.back();
}

// Damaged archives and paths that are no feed: a message, never a crash.
TEST(GtfsFeed, NotAFeed)
{
    QTemporaryDir dir;
    const QString zipPath = dir.filePath(QStringLiteral("feed.zip"));
    std::vector<std::pair<QByteArray, QByteArray>> members;
    for (const auto &[name, bytes] : smallLine())
        members.emplace_back(name.toUtf8(), bytes.repeated(40));
    writeZip(zipPath, members);
    QFile zip(zipPath);
    ASSERT_TRUE(zip.open(QIODevice::ReadOnly));
    const QByteArray whole = zip.readAll();

    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    QFile textFile(text);
    ASSERT_TRUE(textFile.open(QIODevice::WriteOnly));
    textFile.write("stop_id,stop_name\n");
    textFile.close();

    QString error;
    EXPECT_FALSE(GtfsFeed::open(dir.filePath(QStringLiteral("none")), error));
    EXPECT_EQ(error, QStringLiteral("„%1“ není složka ani archiv ZIP s jízdním řádem GTFS.")
                         .arg(dir.filePath(QStringLiteral("none"))));
    EXPECT_FALSE(GtfsFeed::open(text, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Archiv „%1“ nelze přečíst: ").arg(text))) << error.toStdString();

    // Cut anywhere, the archive opens with a message or reads what it can
    // and counts the rest.
    for (const qsizetype cut : {whole.size() / 5, whole.size() / 2, whole.size() - 30}) {
        const QString cutPath = dir.filePath(QStringLiteral("cut-%1.zip").arg(cut));
        QFile out(cutPath);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(whole.left(cut));
        out.close();
        const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(cutPath, error);
        if (!feed) {
            EXPECT_FALSE(error.isEmpty());
            continue;
        }
        EXPECT_FALSE(readFeed(*feed).timetable.skipped.empty()) << cut;
    }
}
