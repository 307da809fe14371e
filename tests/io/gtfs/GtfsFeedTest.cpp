#include "io/gtfs/GtfsFeed.h"
#include "io/gtfs/GtfsDayReader.h"

#include "../FileBytes.h"
#include "GtfsTestFeeds.h"
#include "ZipBuilder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace GtfsTestFeeds;

namespace {

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
    std::vector<ZipBuilder::Member> members;
    for (const auto &[name, bytes] : tables) {
        FileBytes::write(feedDir + u'/' + name, bytes);
        members.push_back({"gtfs/" + name, bytes});
    }
    members.push_back({"gtfs/old/stops.txt", "nothing,of,use\n"});
    const QString zipPath = dir.filePath(QStringLiteral("feed.zip"));
    FileBytes::write(zipPath, ZipBuilder::zip(members));

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
    std::vector<ZipBuilder::Member> bombMembers;
    for (const auto &[name, bytes] : tables)
        bombMembers.push_back({name, name == u"stop_times.txt"
                                         ? bytes + QByteArray("N1,5:00:00,5:00:00,A1,10\n").repeated(1000000)
                                         : bytes});
    FileBytes::write(bombPath, ZipBuilder::zip(bombMembers));
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
    std::vector<ZipBuilder::Member> members;
    for (const auto &[name, bytes] : smallLine())
        members.push_back({name, bytes.repeated(40)});
    const QByteArray whole = ZipBuilder::zip(members);
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    FileBytes::write(text, "stop_id,stop_name\n");

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
        FileBytes::write(cutPath, whole.left(cut));
        const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(cutPath, error);
        if (!feed) {
            EXPECT_FALSE(error.isEmpty());
            continue;
        }
        EXPECT_FALSE(readFeed(*feed).timetable.skipped.empty()) << cut;
    }
}
