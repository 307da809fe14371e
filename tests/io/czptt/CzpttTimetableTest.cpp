#include "io/czptt/CzpttTimetable.h"
#include "io/sources/ImportSources.h"

#include "CzpttTestData.h"
#include "ZipBuilder.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "../FileBytes.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>

namespace {

using ZipBuilder::Member;

const QDate wednesday(2026, 3, 4);
const QDate saturday(2026, 3, 7);

std::vector<QString> namesOf(const DayTimetable &day)
{
    std::vector<QString> names;
    for (const DayTrain &t : day.trains)
        names.push_back(t.name);
    return names;
}

// The line's messages as the published archives hold them: each zipped on
// its own, all of them in one zip.
QByteArray archiveOfZippedMessages()
{
    std::vector<Member> inner;
    for (const QString &n : QDir(CzpttTestData::lineDir()).entryList({QStringLiteral("*.xml")}, QDir::Files)) {
        const QByteArray xml = CzpttTestData::bytes(CzpttTestData::lineDir() + u'/' + n);
        inner.push_back(
            {QString(n).replace(QStringLiteral(".xml"), QStringLiteral(".zip")), ZipBuilder::zip({{n, xml}})});
    }
    return ZipBuilder::zip(inner, false);
}

QByteArray cancellationOf(const char *core, const char *variant, const char *bitmap, const char *start)
{
    return QByteArray("<?xml version=\"1.0\"?>\n<CZCanceledPTTMessage><PlannedTransportIdentifiers><ObjectType>PA"
                      "</ObjectType><Company>0054</Company><Core>")
           + core + "</Core><Variant>" + variant
           + "</Variant><TimetableYear>2026</TimetableYear></PlannedTransportIdentifiers><PlannedCalendar>"
             "<BitmapDays>"
           + bitmap + "</BitmapDays><ValidityPeriod><StartDateTime>" + start
           + "T00:00:00</StartDateTime></ValidityPeriod></PlannedCalendar></CZCanceledPTTMessage>";
}

} // namespace

TEST(CzpttTimetable, TheLineOnAWeekdayAndOnASaturday)
{
    const CzpttTimetable year = CzpttTimetable::scan({CzpttTestData::lineDir()});
    EXPECT_EQ(std::tuple(year.skipped().empty(), year.paths().size(), year.firstDay(), year.lastDay()),
              std::tuple(true, 39u, QDate(2025, 12, 14), QDate(2026, 12, 12)));

    const DayTimetable day = year.day(wednesday);
    EXPECT_EQ(std::tuple(day.day, day.trains.size()), std::tuple(wednesday, 37u));
    // In the order of the files; each train with where it came from.
    EXPECT_EQ(day.trains.front().name, QStringLiteral("Os 13250"));
    EXPECT_EQ(day.trains.front().source, QStringLiteral("vsetin-velke-karlovice/PA_0054_KT----16555A_00_2026.xml"));
    EXPECT_EQ(year.day(saturday).trains.size(), 34u);
    EXPECT_TRUE(year.day(QDate(2027, 1, 1)).trains.empty());
}

TEST(CzpttTimetable, OneZippedMessagePerTrainInOneZip)
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("2026.zip"));
    FileBytes::write(archive, archiveOfZippedMessages());
    const DayTimetable fromFolder = CzpttTimetable::scan({CzpttTestData::lineDir()}).day(wednesday);

    // The same trains whatever the number of threads reading them.
    for (int threads : {1, 3}) {
        CzpttTimetable::ScanOptions options;
        options.threads = threads;
        const CzpttTimetable year = CzpttTimetable::scan({archive}, options);
        EXPECT_TRUE(year.skipped().empty()) << threads;
        const DayTimetable day = year.day(wednesday);
        EXPECT_EQ(namesOf(day), namesOf(fromFolder)) << threads;
        EXPECT_EQ(day.trains.front().source,
                  QStringLiteral("2026.zip/PA_0054_KT----16555A_00_2026.zip/PA_0054_KT----16555A_00_2026.xml"));
    }
    // Given with the folder it was made of, each train comes once.
    const DayTimetable both = CzpttTimetable::scan({archive, CzpttTestData::lineDir()}).day(wednesday);
    EXPECT_EQ(std::tuple(namesOf(both), both.duplicates), std::tuple(namesOf(fromFolder), 39));
}

TEST(CzpttTimetable, CancellationTakesOutTheDaysItMarks)
{
    CzpttTimetable year;
    year.add(QStringLiteral("a.xml"), CzpttTestData::bytes(CzpttTestData::linePath("16555A")));
    // 2026-03-03 and 2026-03-04 cancelled; another variant's cancellation
    // does not touch this path.
    year.add(QStringLiteral("c.xml"), cancellationOf("KT----16555A", "00", "011", "2026-03-02"));
    year.add(QStringLiteral("d.xml"), cancellationOf("KT----16555A", "01", "1111111", "2026-03-01"));
    EXPECT_EQ(year.cancellations().size(), 2u);
    EXPECT_EQ(std::tuple(year.day({2026, 3, 2}).trains.size(), year.day({2026, 3, 3}).trains.size(),
                         year.day(wednesday).trains.size(), year.day({2026, 3, 5}).trains.size()),
              std::tuple(1u, 0u, 0u, 1u));
}

TEST(CzpttTimetable, DamagedInputIsSkippedWithItsNameAndTheRestRead)
{
    const QByteArray good = CzpttTestData::bytes(CzpttTestData::linePath("16555A"));
    const QByteArray other = CzpttTestData::bytes(CzpttTestData::linePath("16558A"));
    const QByteArray zeros(8 * 1024 * 1024, '\0');
    QByteArray noise(3 * 1024 * 1024, '\0');
    QRandomGenerator random(7);
    random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    const QByteArray zipped = ZipBuilder::zip({{"1.xml", other}, {"2.xml", good}, {"3.xml", other}});
    const QByteArray nested = ZipBuilder::zip({{"in.zip", ZipBuilder::zip({{"in.xml", other}})}});
    QByteArray deep = other;
    for (int level = 0; level < 5; ++level)
        deep = ZipBuilder::zip({{QStringLiteral("level%1.zip").arg(level), deep}});

    // The file, its bytes, the skipped input and the start of its reason, the
    // trains read on the day besides the good file, a bound of a document.
    const std::tuple<const char *, QByteArray, QString, QString, int, qint64> cases[] = {
        {"cut.xml", good.left(2000), "in/cut.xml", "poškozené XML (řádek 52)", 0, 0},
        // The members before the cut are read.
        {"cut.zip", zipped.left(zipped.size() * 2 / 5), "in/cut.zip", "poškozený nebo zkrácený archiv (", 1, 0},
        {"nested-cut.zip", ZipBuilder::zip({{"in.zip", nested.left(nested.size() - 120)}}, false),
         "in/nested-cut.zip/in.zip", "poškozený", 0, 0},
        {"bomb.zip", ZipBuilder::zip({{"bomb.xml", zeros}}), "in/bomb.zip/bomb.xml",
         "podezřele vysoký kompresní poměr (zip bomb?)", 0, 0},
        {"nested-bomb.zip", ZipBuilder::zip({{"in.zip", ZipBuilder::zip({{"bomb.xml", zeros}})}}, false),
         "in/nested-bomb.zip/in.zip/bomb.xml", "podezřele vysoký kompresní poměr (zip bomb?)", 0, 0},
        {"big.zip", ZipBuilder::zip({{"big.xml", noise}}), "in/big.zip/big.xml", "větší než 2 MiB po rozbalení", 0,
         2 * 1024 * 1024},
        {"big.xml", noise + noise, "in/big.xml", "větší než 2 MiB", 0, 2 * 1024 * 1024},
        {"deep.zip", deep, "in/deep.zip/level4.zip/level3.zip/level2.zip/level1.zip", "příliš mnoho archivů v sobě", 0,
         0},
        {"broken.xml.gz", QByteArray("\x1f\x8b\x08\x00garbage", 11), "in/broken.xml.gz", "poškozený soubor gzip", 0, 0},
        {"junk.zip", "PK\x03\x04 this is no archive", "in/junk.zip", "poškozený", 0, 0},
    };
    for (const auto &[file, bytes, source, reason, trains, maxDocumentBytes] : cases) {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in"));
        ASSERT_TRUE(QDir().mkpath(in));
        FileBytes::write(in + QStringLiteral("/good.xml"), good);
        FileBytes::write(in + u'/' + QLatin1StringView(file), bytes);
        CzpttTimetable::ScanOptions options;
        if (maxDocumentBytes)
            options.limits.maxDocumentBytes = maxDocumentBytes;
        const CzpttTimetable year = CzpttTimetable::scan({in}, options);
        EXPECT_EQ(year.day(wednesday).trains.size(), 1u + trains) << file;
        ASSERT_EQ(year.skipped().size(), 1u) << file;
        EXPECT_EQ(year.skipped().front().source, source) << file;
        EXPECT_TRUE(year.skipped().front().reason.startsWith(reason))
            << file << ": " << year.skipped().front().reason.toStdString();
    }

    // A source that is not there.
    const CzpttTimetable missing = CzpttTimetable::scan({QStringLiteral("/nonexistent/x.xml")});
    ASSERT_EQ(missing.skipped().size(), 1u);
    EXPECT_EQ(std::pair(missing.skipped().front().source, missing.skipped().front().reason),
              std::pair(QStringLiteral("x.xml"), QStringLiteral("soubor nenalezen")));
}

TEST(CzpttTimetable, NamedLinesPassOverOtherMessagesUnread)
{
    const QStringList sources{CzpttTestData::lineDir(), CzpttTestData::dir(QStringLiteral("czptt/edge-cases"))};
    const std::tuple<QStringList, int, size_t> cases[] = {
        {{}, 1, 42},
        {{"Vsetín", "Velké Karlovice"}, 2, 39},
        // Only Os 13254 of 16571A runs on to Valašské Meziříčí.
        {{"Vsetín", "Valašské Meziříčí"}, 2, 1},
        {{"Kolín", "Čáslav", "Hlízov", "Děčín hl. n."}, 1, 2},
        {{"Kolín", "Čáslav", "Hlízov", "Děčín hl. n."}, 3, 1},
        {{"  Bad   Schandau "}, 1, 1},
        {{"Praha hl. n."}, 1, 0},
    };
    for (const auto &[names, minNames, paths] : cases) {
        CzpttTimetable::ScanOptions options;
        options.names = names;
        options.minNames = minNames;
        EXPECT_EQ(CzpttTimetable::scan(sources, options).paths().size(), paths) << names.join(u',').toStdString();
    }

    // Escaped names are left to the reader; cancellations always matter.
    const QSet<QString> names{QStringLiteral("A & B")};
    EXPECT_TRUE(czpttMentionsNames("<CZPTTCISMessage><PrimaryLocationName>A &amp; B</PrimaryLocationName>", names, 1));
    EXPECT_FALSE(czpttMentionsNames("<CZPTTCISMessage><PrimaryLocationName>A and B</PrimaryLocationName>", names, 1));
    EXPECT_TRUE(czpttMentionsNames("<CZCanceledPTTMessage/>", names, 1));
}

TEST(CzpttTimetable, ProgressCanCancel)
{
    std::vector<std::pair<qint64, qint64>> seen;
    CzpttTimetable::ScanOptions options;
    options.progress = [&](qint64 done, qint64 total) {
        seen.emplace_back(done, total);
        return seen.size() < 5;
    };
    const CzpttTimetable year = CzpttTimetable::scan({CzpttTestData::lineDir()}, options);
    EXPECT_TRUE(year.cancelled());
    EXPECT_LT(year.paths().size(), 39u);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen.front().first, 0);
    EXPECT_GT(seen.back().first, 0);
    EXPECT_GT(seen.back().second, seen.back().first);
}

TEST(CzpttTimetable, AMessageReadTwiceCountsOnceAndTheNewerVersionWins)
{
    QTemporaryDir dir;
    const QByteArray old = CzpttTestData::bytes(CzpttTestData::linePath("16555A"));
    QByteArray newer = old; // the same path made again later, as another train
    newer.replace("2025-11-05T20:16:07", "2025-12-01T08:00:00").replace(">13250<", ">13999<");
    const QByteArray cancel = cancellationOf("KT----16555A", "00", "0", "2026-03-02");
    // Whichever version comes first; a cancellation read twice counts once too.
    for (const auto &[a, b] : {std::pair(old, newer), std::pair(newer, old)}) {
        for (const auto &[file, bytes] :
             {std::pair("a.xml", a), std::pair("b.xml", b), std::pair("c1.xml", cancel), std::pair("c2.xml", cancel)})
            FileBytes::write(dir.filePath(QLatin1StringView(file)), bytes);
        const DayTimetable day = CzpttTimetable::scan({dir.path()}).day(wednesday);
        ASSERT_EQ(day.trains.size(), 1u);
        EXPECT_EQ(std::tuple(day.duplicates, day.trains.front().name), std::tuple(2, QStringLiteral("Os 13999")));
    }
}

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
        qint64 held = 0, peak = 0;
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
