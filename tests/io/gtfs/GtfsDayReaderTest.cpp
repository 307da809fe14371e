#include "../FileBytes.h"
#include "GtfsTestFeeds.h"
#include "ZipBuilder.h"

#include "io/gtfs/FeedTable.h"
#include "io/gtfs/GtfsCalendar.h"
#include "io/gtfs/GtfsDayReader.h"
#include "io/gtfs/GtfsFeed.h"
#include "io/gtfs/GtfsLinePositions.h"
#include "io/gtfs/GtfsSkipTally.h"
#include "io/gtfs/GtfsValues.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <vector>

using namespace GtfsTestFeeds;

namespace {

std::string clock(int32_t seconds)
{
    QString t = QStringLiteral("%1:%2").arg(seconds / 3600).arg(seconds / 60 % 60, 2, 10, QChar(u'0'));
    if (seconds % 60)
        t += QStringLiteral(":%1").arg(seconds % 60, 2, 10, QChar(u'0'));
    return t.toStdString();
}

// "Os 1001: Alfa 5:00, Beta 5:03-5:04, Gama >5:07" with "k" after a short
// dwell and "(n)" after a stop where nobody boards or alights.
std::string describe(const DayTimetable &day, const DayTrain &train)
{
    std::string s = train.name.toStdString() + ':';
    for (const DayCall &c : train.calls) {
        s += (&c == &train.calls.front() ? " " : ", ") + day.points[c.point].name.toStdString() + ' ';
        if (!c.stops)
            s += '>' + clock(*c.departure);
        else if (*c.arrival == *c.departure)
            s += clock(*c.arrival);
        else
            s += clock(*c.arrival) + '-' + clock(*c.departure);
        if (c.shortDwell)
            s += 'k';
        if (c.stops && !c.publicStop)
            s += "(n)";
    }
    return s;
}

const DayTrain *trainNamed(const DayTimetable &day, const QString &name)
{
    const auto it =
        std::find_if(day.trains.begin(), day.trains.end(), [&](const DayTrain &t) { return t.name == name; });
    return it == day.trains.end() ? nullptr : &*it;
}

// Each item of a list through f.
template <typename List, typename F> auto mapped(const List &list, F f)
{
    std::vector<decltype(f(*list.begin()))> out;
    for (const auto &item : list)
        out.push_back(f(item));
    return out;
}

std::vector<std::string> skipped(const DayTimetable &day)
{
    return mapped(day.skipped,
                  [](const DaySkipped &s) { return (s.source + QStringLiteral(": ") + s.reason).toStdString(); });
}

std::vector<std::string> pointNames(const DayTimetable &day)
{
    return mapped(day.points, [](const DayPoint &p) { return p.name.toStdString(); });
}

// The trains and stations of a reading, as text.
std::vector<std::string> summary(const GtfsDay &read)
{
    const DayTimetable &day = read.timetable;
    std::vector<std::string> out = mapped(day.points, [](const DayPoint &p) {
        return QStringLiteral("%1 %2").arg(p.name).arg(p.metres.value_or(-1)).toStdString();
    });
    for (const DayTrain &t : day.trains)
        out.push_back(QStringLiteral("%1 (%2 calls)").arg(t.name).arg(t.calls.size()).toStdString());
    for (const std::string &s : skipped(day))
        out.push_back(s);
    return out;
}

GtfsDay readFeed(const GtfsFeed &feed)
{
    return GtfsDayReader::readDay(feed, {QDate(2026, 3, 4), {}});
}

GtfsDay readSmall(const Tables &tables, QStringList routes = {}, QDate day = QDate(2026, 3, 4))
{
    return GtfsDayReader::readDay(*GtfsFeed::fromTables(tables), {day, routes});
}

struct Caltrain : ::testing::Test
{
    static std::unique_ptr<GtfsFeed> open()
    {
        QString error;
        std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(caltrainDir(), error);
        EXPECT_TRUE(feed) << error.toStdString();
        return feed;
    }
    static GtfsDay read(QDate day, QStringList routes = {}) { return GtfsDayReader::readDay(*open(), {day, routes}); }
};

} // namespace

TEST_F(Caltrain, Weekday)
{
    const GtfsDay read = Caltrain::read(QDate(2017, 7, 24));
    const DayTimetable &day = read.timetable;
    EXPECT_EQ(std::make_tuple(day.trains.size(), skipped(day), read.positions, read.cancelled),
              std::make_tuple(size_t{92}, std::vector<std::string>{}, GtfsLinePositions::Source::Shape, false));

    // Every weekday station, in line order from Gilroy, where the longest
    // shape (Gilroy – San Francisco) begins; Atherton and Broadway are
    // served at weekends only.
    const std::vector<std::string> names = pointNames(day);
    EXPECT_EQ(std::tuple(names.size(), names.front(), names[6], names.back()),
              std::tuple(size_t{29}, "Gilroy Caltrain", "San Jose Diridon Caltrain", "San Francisco Caltrain"));
    EXPECT_EQ(std::count(names.begin(), names.end(), "Atherton Caltrain"), 0);
    // San Francisco 4th & King (milepost 0.2) to Gilroy (milepost 77.4):
    // 77.2 miles of track.
    const double real = 77.2 * 1609.344;
    const int32_t length = *day.points.back().metres - *day.points.front().metres;
    EXPECT_NEAR(length, real, real * 0.01);
    EXPECT_EQ(day.points.front().metres, 0);

    // A Bullet has no calls where it passes without stopping.
    const DayTrain *bullet = trainNamed(day, QStringLiteral("Baby Bullet 371"));
    ASSERT_TRUE(bullet);
    EXPECT_EQ(describe(day, *bullet),
              "Baby Bullet 371: San Jose Diridon Caltrain 16:45, Mt View Caltrain 16:57, Palo Alto Caltrain 17:05, "
              "Redwood City Caltrain 17:11, Hillsdale Caltrain 17:18, Millbrae Caltrain 17:30, "
              "22nd St Caltrain 17:45, San Francisco Caltrain 17:51");
    EXPECT_EQ(bullet->source, QStringLiteral("6512015-CT-17JUL-Combo-Weekday-01"));
}

TEST_F(Caltrain, TripsOfADay)
{
    const QStringList everyRoute = {QStringLiteral("Bu-129"), QStringLiteral("Li-129"), QStringLiteral("Lo-129"),
                                    QStringLiteral("TaSj-129")};
    const std::tuple<QDate, QStringList, size_t, size_t> cases[] = {
        {QDate(2017, 7, 24), {QStringLiteral("Bu-129")}, 22, 13},
        // Sunday: 24 railway trips and 22 of the Tamien – San José shuttle,
        // a bus, which only a choice of routes takes.
        {QDate(2017, 7, 30), {}, 24, 24},
        {QDate(2017, 7, 30), everyRoute, 46, 26},
        {QDate(2017, 7, 29), {}, 28, 24},
    };
    for (const auto &[date, routes, trains, points] : cases) {
        const DayTimetable day = read(date, routes).timetable;
        EXPECT_EQ(std::make_pair(day.trains.size(), day.points.size()), std::make_pair(trains, points))
            << date.toString(Qt::ISODate).toStdString() << ' ' << routes.join(u',').toStdString();
    }
}

TEST_F(Caltrain, Routes)
{
    const std::unique_ptr<GtfsFeed> feed = open();
    ASSERT_TRUE(feed);
    const GtfsRouteList list = GtfsDayReader::routes(*feed);
    std::vector<std::string> routes;
    for (const GtfsRoute &r : list.routes)
        routes.push_back(
            QStringLiteral("%1 %2 / %3 (%4)").arg(r.id, r.shortName, r.longName).arg(r.type).toStdString());
    EXPECT_EQ(routes,
              (std::vector<std::string>{"Bu-129 Baby Bullet / Bullet (2)", "Li-129 Limited / Limited (2)",
                                        "Lo-129 Local / Local (2)", "TaSj-129 TaSJ-Shuttle / TaSJ-Shuttle (3)"}));
    EXPECT_EQ(GtfsDayReader::serviceDates(*feed), std::make_pair(QDate(2017, 7, 15), QDate(2019, 7, 20)));
}

// The small line's three ways to its positions: distances in metres or
// kilometres, each direction measured from its own end; no distances, so
// straight lines between the stations' coordinates.
TEST(GtfsDayReader, Positions)
{
    const std::tuple<Distances, GtfsLinePositions::Source, std::vector<int32_t>> cases[] = {
        {Distances::Metres, GtfsLinePositions::Source::Distances, {0, 1050, 2625, 4200, 6300}},
        {Distances::Kilometres, GtfsLinePositions::Source::Distances, {0, 1050, 2625, 4200, 6300}},
        {Distances::None, GtfsLinePositions::Source::StraightLine, {0, 1000, 2500, 4000, 6000}},
    };
    for (const auto &[distances, source, metres] : cases) {
        const GtfsDay read = readSmall(smallLine(distances));
        const DayTimetable &day = read.timetable;
        EXPECT_EQ(read.positions, source);
        EXPECT_EQ(mapped(day.points, [](const DayPoint &p) { return p.metres.value_or(-1); }), metres);
        // Platforms of a parent station are the station; Gama's two stops
        // of one name are one station, keyed by the first.
        EXPECT_EQ(mapped(day.points, [](const DayPoint &p) { return (p.name + u' ' + p.key).toStdString(); }),
                  (std::vector<std::string>{"Alfa A", "Beta B", "Gama C1", "Delta D", "Epsilon E"}));
        EXPECT_EQ(skipped(day), std::vector<std::string>{});
    }
}

TEST(GtfsDayReader, Trains)
{
    const DayTimetable day = readSmall(smallLine()).timetable;
    // Sorted by their first time; the night train's times run on past
    // 24:00.
    EXPECT_EQ(mapped(day.trains, [&](const DayTrain &t) { return describe(day, t); }),
              (std::vector<std::string>{
                  "Os 1001: Alfa 5:00, Beta 5:03-5:04, Gama 5:07-5:07:30, Delta 5:11, Epsilon 5:20",
                  "Os 1004: Delta 7:00, Gama 7:04, Beta 7:09",
                  "Os 1002: Epsilon 23:50, Delta 23:57-23:58, Gama 24:02, Beta 24:06-24:07, Alfa 24:12",
              }));
}

// What a stop row says of a call: passes, short dwells, rows without
// times, a station listed twice in a row.
TEST(GtfsDayReader, Calls)
{
    const std::tuple<const char *, QByteArray, QByteArray, std::string> cases[] = {
        {"nobody boards or alights, no dwell: a pass", "N1,05:11:00,05:11:00,D1,40,4200.0",
         "N1,05:11:00,05:11:00,D1,40,4200.0,1,1",
         "Os 1001: Alfa 5:00, Beta 5:03-5:04, Gama 5:07-5:07:30, Delta >5:11, Epsilon 5:20"},
        {"nobody boards or alights, but the train stands", "N1,05:03:00,05:04:00,B1,20,1050.0",
         "N1,05:03:00,05:04:00,B1,20,1050.0,1,1",
         "Os 1001: Alfa 5:00, Beta 5:03-5:04(n), Gama 5:07-5:07:30, Delta 5:11, Epsilon 5:20"},
        {"a dwell under half a minute", "N1,05:07:00,05:07:30,C1", "N1,05:07:00,05:07:20,C1",
         "Os 1001: Alfa 5:00, Beta 5:03-5:04, Gama 5:07-5:07:20k, Delta 5:11, Epsilon 5:20"},
        {"no times: by position between the timed neighbours", "N1,05:07:00,05:07:30,C1", "N1,,,C1",
         "Os 1001: Alfa 5:00, Beta 5:03-5:04, Gama 5:07:30, Delta 5:11, Epsilon 5:20"},
        {"only an arrival", "N1,05:11:00,05:11:00,D1", "N1,05:11:00,,D1",
         "Os 1001: Alfa 5:00, Beta 5:03-5:04, Gama 5:07-5:07:30, Delta 5:11, Epsilon 5:20"},
        {"two platforms of Gama one after the other", "N1,05:11:00,05:11:00,D1,40,4200.0",
         "N1,05:08:00,05:08:00,C2,35,2625.0\nN1,05:11:00,05:11:00,D1,40,4200.0",
         "Os 1001: Alfa 5:00, Beta 5:03-5:04, Gama 5:07-5:08, Delta 5:11, Epsilon 5:20"},
    };
    for (const auto &[what, from, to, described] : cases) {
        Tables t = smallLine();
        QByteArray &stopTimes = t[QStringLiteral("stop_times.txt")];
        // Rows without the boarding columns read them as empty: allowed.
        stopTimes.replace("shape_dist_traveled\n", "shape_dist_traveled,pickup_type,drop_off_type\n");
        ASSERT_TRUE(stopTimes.contains(from)) << what;
        stopTimes.replace(from, to);
        const DayTimetable day = readSmall(t).timetable;
        const DayTrain *n1 = trainNamed(day, QStringLiteral("Os 1001"));
        ASSERT_TRUE(n1) << what;
        EXPECT_EQ(describe(day, *n1), described) << what;
        EXPECT_EQ(skipped(day), std::vector<std::string>{}) << what;
    }
}

// The number stays whole within the label's 15 characters; a route without
// a short name gives its long name where it fits, else its initials, else
// nothing.
TEST(GtfsDayReader, TrainNames)
{
    const std::tuple<const char *, const char *, const char *, const char *> cases[] = {
        {"Baby Bullet", "Bullet", "305", "Baby Bullet 305"},
        {"", "", "305", "305"},
        {"Os", "", "", "Os"},
        {"Regionalexpress Nord", "", "4711", "Regionalex 4711"},
        {"Regionalexpress", "", "12345678901234567890", "123456789012345"},
        {"Regio ", "", "1234567890123", "R 1234567890123"},
        {"", "Local", "196", "Local 196"},
        {"", "Northeast Regional", "171", "NR 171"},
        {"", "Intercityexpress", "171", "171"},
    };
    for (const auto &[shortName, longName, digits, name] : cases) {
        const QString number = QString::fromUtf8(digits);
        const QString route =
            GtfsDayReader::routeLabel(QString::fromUtf8(shortName), QString::fromUtf8(longName), number);
        EXPECT_EQ(GtfsDayReader::trainName(route, number), QString::fromUtf8(name)) << shortName << longName;
    }
}

TEST(GtfsCalendar, ServicesOfADay)
{
    Tables t;
    t[QStringLiteral("calendar.txt")] =
        "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,end_date\n"
        "WD,1,1,1,1,1,0,0,20260101,20261231\n"
        "SA,0,0,0,0,0,1,0,20260101,20261231\n";
    t[QStringLiteral("calendar_dates.txt")] = "service_id,date,exception_type\n"
                                              "WD,20260504,2\n"
                                              "SA,20260504,1\n"
                                              "X,20260505,1\n"
                                              "WD,20270104,1\n";
    const std::pair<QDate, std::set<std::string>> cases[] = {
        {QDate(2026, 3, 4), {"WD"}}, {QDate(2026, 3, 7), {"SA"}},      {QDate(2026, 3, 8), {}},
        {QDate(2026, 5, 4), {"SA"}}, {QDate(2026, 5, 5), {"WD", "X"}}, {QDate(2025, 12, 31), {}},
        {QDate(2027, 1, 4), {"WD"}},
    };
    // Nothing in these calendars is left out.
    const auto servicesOn = [&t](QDate day) {
        GtfsSkipTally tally;
        const std::unordered_set<std::string> s = GtfsCalendar::servicesOn(*GtfsFeed::fromTables(t), day, tally);
        EXPECT_TRUE(tally.entries().empty());
        return std::set<std::string>(s.begin(), s.end());
    };
    for (const auto &[day, services] : cases)
        EXPECT_EQ(servicesOn(day), services) << day.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(GtfsCalendar::dateRange(*GtfsFeed::fromTables(t)), std::make_pair(QDate(2026, 1, 1), QDate(2027, 1, 4)));

    // calendar_dates.txt alone is a calendar too.
    t.erase(QStringLiteral("calendar.txt"));
    EXPECT_EQ(servicesOn(QDate(2026, 5, 4)), std::set<std::string>{"SA"});
}

// Bad input is left out and counted, never a failure of the whole.
TEST(GtfsDayReader, BadInput)
{
    // The table, replacements in it (none: the table is taken away), what is
    // left out and the trains read.
    const std::tuple<const char *, std::vector<std::pair<QByteArray, QByteArray>>, std::vector<std::string>, size_t>
        cases[] = {
            {"stops.txt", {}, {"stops.txt: soubor chybí"}, 0},
            {"stop_times.txt", {{"stop_sequence", "seq"}}, {"stop_times.txt: chybí sloupec stop_sequence"}, 0},
            // Text after a closing quote.
            {"stop_times.txt", {{"N1,05:03:00", "\"N1\"x,05:03:00"}}, {"stop_times.txt: chybný řádek: řádek 3"}, 3},
            {"stop_times.txt", {{"N1,05:07:00", "N1,25:61:00"}}, {"stop_times.txt: chybný čas: řádek 4"}, 3},
            // An arrival after the departure.
            {"stop_times.txt",
             {{"05:03:00,05:04:00", "05:04:00,05:03:00"}},
             {"stop_times.txt: chybný čas: řádek 3"},
             3},
            {"stop_times.txt",
             {{"05:07:00,05:07:30", "05:01:00,05:01:30"}},
             {"stop_times.txt: spoj s časem dřívějším než na předchozí zastávce: N1"},
             3},
            {"stop_times.txt", {{":00,", ":0,"}}, {"stop_times.txt: chybný čas: 13 řádků, první je řádek 2"}, 0},
            {"stop_times.txt", {{",D1,", ",Z9,"}}, {"stop_times.txt: neznámá zastávka: řádek 5"}, 3},
            {"stop_times.txt", {{"S2,07:00:00", "S9,07:00:00"}}, {"stop_times.txt: neznámý spoj: řádek 12"}, 3},
            // A trip left with one stop.
            {"stop_times.txt",
             {{"S2,07:00:00", "S9,07:00:00"}, {"S2,07:04:00", "S9,07:04:00"}},
             {"stop_times.txt: neznámý spoj: 2 řádky, první je řádek 12",
              "stop_times.txt: spoj s méně než dvěma zastávkami: S2"},
             2},
            {"stop_times.txt",
             {{"B1,20,1050.0", "B1,20,1050.0\nN1,05:03:30,05:03:30,C1,20,1050.0"}},
             {"stop_times.txt: opakované pořadí zastávky ve spoji: N1"},
             3},
            {"trips.txt", {{"R1,WD,S2", "R7,WD,S2"}}, {"trips.txt: neznámá linka: řádek 4"}, 2},
            {"stops.txt",
             {{"B2,Beta 2", "B1,Beta 2"}},
             {"stops.txt: opakovaný identifikátor: řádek 7",
              "stop_times.txt: neznámá zastávka: 2 řádky, první je řádek 10"},
             3},
            {"stops.txt", {{"E,Epsilon,5", "E,Epsilon,x5"}}, {"stops.txt: chybné souřadnice: řádek 13"}, 3},
            {"calendar.txt", {{"20261231", "2026-12-31"}}, {"calendar.txt: chybné datum: řádek 2"}, 0},
            {"calendar.txt", {}, {"calendar.txt: chybí calendar.txt i calendar_dates.txt"}, 0},
            {"routes.txt", {{"Epsilon,2", "Epsilon,0"}}, {"routes.txt: žádná železniční linka; vyberte linky"}, 0},
            // The byte-order mark, CR LF and empty lines are no fault.
            {"trips.txt", {{"route_id", "\xEF\xBB\xBF\r\nroute_id"}, {"\n", "\r\n\r\n"}}, {}, 3},
        };
    for (const auto &[file, edits, leftOut, trains] : cases) {
        Tables t = smallLine();
        const QString table = QString::fromUtf8(file);
        const std::string what = file + (edits.empty() ? std::string() : ' ' + edits[0].second.toStdString());
        if (edits.empty())
            t.erase(table);
        for (const auto &[from, to] : edits) {
            ASSERT_TRUE(t[table].contains(from)) << what;
            t[table].replace(from, to);
        }
        const DayTimetable day = readSmall(t).timetable;
        EXPECT_EQ(std::make_pair(skipped(day), day.trains.size()), std::make_pair(leftOut, trains)) << what;
    }

    const GtfsDay chosen = readSmall(smallLine(), {QStringLiteral("R9")});
    EXPECT_EQ(skipped(chosen.timetable), std::vector<std::string>{"routes.txt: linka „R9“ v jízdním řádu není"});

    // Only the stop rows of the day's trips are kept (on the Saturday none
    // runs), and no more of them than the limit.
    const QDate wednesday(2026, 3, 4);
    for (const auto &[day, maxRows, trains] :
         {std::tuple(wednesday, 13, size_t{3}), std::tuple(wednesday, 12, size_t{0}),
          std::tuple(QDate(2026, 3, 7), 0, size_t{0})}) {
        const DayTimetable read =
            GtfsDayReader::readDay(*GtfsFeed::fromTables(smallLine()), {day, {}, size_t(maxRows)}).timetable;
        const std::vector<std::string> tooMany{"stop_times.txt: zvolený den má víc než 12 řádků, nečte se"};
        EXPECT_EQ(std::make_pair(skipped(read), read.trains.size()),
                  std::make_pair(maxRows == 12 ? tooMany : std::vector<std::string>{}, trains));
    }
}

TEST(GtfsDayReader, Cancel)
{
    const std::unique_ptr<GtfsFeed> feed = GtfsFeed::fromTables(smallLine());
    int calls = 0;
    qint64 lastTotal = 0;
    const GtfsDay read = GtfsDayReader::readDay(*feed, {QDate(2026, 3, 4), {}}, [&](qint64 done, qint64 total) {
        lastTotal = total;
        return ++calls < 2;
    });
    EXPECT_EQ(std::make_tuple(read.cancelled, read.timetable.trains.size(), calls),
              std::make_tuple(true, size_t{0}, 2));
    EXPECT_GT(lastTotal, 0);
}

// The same feed read from memory, a directory and a zip whose tables stand
// in a folder (beside a stray deeper copy of one) gives the same day.
// Damaged archives and paths that are no feed: a message, never a crash.
TEST(GtfsFeed, DirectoryAndZipAndWhatIsNoFeed)
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

    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    FileBytes::write(text, "stop_id,stop_name\n");
    EXPECT_FALSE(GtfsFeed::open(dir.filePath(QStringLiteral("none")), error));
    EXPECT_EQ(error, QStringLiteral("„%1“ není složka ani archiv ZIP s jízdním řádem GTFS.")
                         .arg(dir.filePath(QStringLiteral("none"))));
    EXPECT_FALSE(GtfsFeed::open(text, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Archiv „%1“ nelze přečíst: ").arg(text))) << error.toStdString();

    // Cut anywhere, the archive opens with a message or reads what it can
    // and counts the rest.
    std::vector<ZipBuilder::Member> longer;
    for (const auto &[name, bytes] : tables)
        longer.push_back({name, bytes.repeated(40)});
    const QByteArray whole = ZipBuilder::zip(longer);
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

namespace {

// A sequential device giving its bytes a few at a time, as a pipe or an
// archive member may: records cross every read.
class Trickle : public QIODevice
{
public:
    Trickle(QByteArray bytes, int step) : m_bytes(std::move(bytes)), m_step(step) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>({maxSize, m_step, m_bytes.size() - m_at});
        memcpy(data, m_bytes.constData() + m_at, size_t(n));
        m_at += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    int m_step;
    qint64 m_at = 0;
};

// Every record as "line:field|field…", a left out one as "line:!", and how
// the table ended.
std::vector<std::string> walk(QIODevice &device, qint64 limit = qint64{1} << 30)
{
    FeedTable table(device, limit);
    std::vector<std::string> out;
    FeedTable::Status s = table.readHeader();
    if (s == FeedTable::Status::Row) {
        out.push_back("header:" + std::to_string(table.header().size()));
        s = table.next();
    }
    for (; s == FeedTable::Status::Row || s == FeedTable::Status::Malformed; s = table.next()) {
        std::string row = std::to_string(table.line()) + ':';
        if (s == FeedTable::Status::Malformed) {
            row += '!';
        } else {
            for (int i = 0; i < table.fieldCount(); ++i)
                row += (i ? "|" : "") + std::string(table.field(i));
        }
        out.push_back(row);
    }
    out.push_back(s == FeedTable::Status::End ? "end" : s == FeedTable::Status::TooLarge ? "too large" : "error");
    return out;
}

std::vector<std::string> walkBytes(const QByteArray &bytes, qint64 limit = qint64{1} << 30)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return walk(buffer, limit);
}

} // namespace

TEST(FeedTable, Records)
{
    using Rows = std::vector<std::string>;
    const std::tuple<const char *, QByteArray, Rows> cases[] = {
        {"byte-order mark, CR LF, no end of line at the end",
         "\xEF\xBB\xBFid,name\r\n1,Alfa\r\n2,Beta",
         {"header:2", "2:1|Alfa", "3:2|Beta", "end"}},
        {"quotes: commas, doubled quotes, a line break; blanks trimmed",
         "a,b\n\"x,y\",\"say \"\"hi\"\"\"\n\"two\nlines\", c \n3,\"\"\n",
         {"header:2", "2:x,y|say \"hi\"", "3:two\nlines|c", "5:3|", "end"}},
        {"empty lines left out, lone CR line ends", "a\r\r\n\n1\r2\n\n", {"header:1", "4:1", "5:2", "end"}},
        {"ragged rows: missing fields read as empty, extra ones kept",
         "a,b,c\n1\n1,2,3,4\n",
         {"header:3", "2:1", "3:1|2|3|4", "end"}},
        {"a quote inside an unquoted field is text", "a,b\n5\" gauge,x\n", {"header:2", "2:5\" gauge|x", "end"}},
        {"text after a closing quote: that line is left out",
         "a,b\n\"x\"y,1\n2,3\n",
         {"header:2", "2:!", "3:2|3", "end"}},
        {"a quote never closed costs its own line only",
         "a,b\n1,2\n\"open,3\n4,5\n",
         {"header:2", "2:1|2", "3:!", "4:4|5", "end"}},
        {"an empty table", "", {"end"}},
    };
    for (const auto &[what, bytes, rows] : cases) {
        EXPECT_EQ(walkBytes(bytes), rows) << what;
        for (int step : {1, 3}) {
            Trickle trickle(bytes, step);
            EXPECT_EQ(walk(trickle), rows) << what << " (read " << step << " bytes at a time)";
        }
    }
}

TEST(FeedTable, ColumnsByName)
{
    Trickle buffer("stop_id, stop_name ,stop_lat\nX,Alfa\n", 1000);
    FeedTable table(buffer, 1000);
    ASSERT_EQ(table.readHeader(), FeedTable::Status::Row);
    ASSERT_EQ(table.next(), FeedTable::Status::Row);
    EXPECT_EQ(std::make_tuple(table.field(table.column("stop_name")), table.column("stop_lat"),
                              table.field(table.column("stop_lat")), table.column("parent_station"),
                              table.field(table.column("parent_station"))),
              std::make_tuple("Alfa", 2, "", -1, ""));
}

// Records longer than a read, one longer than any record may be, and a
// table that passes its limit.
TEST(FeedTable, Bounds)
{
    QByteArray big = "a,b\n";
    const QByteArray longField(300000, 'x');
    big += "\"" + longField + "\",1\n";
    big += QByteArray(FeedTable::recordLimit + 10, 'y') + ",2\n";
    big += "\"" + QByteArray(FeedTable::recordLimit + 10, 'z') + "\n";
    big += "last,3\n";
    EXPECT_EQ(walkBytes(big), (std::vector<std::string>{"header:2", "2:" + longField.toStdString() + "|1", "3:!", "4:!",
                                                        "5:last|3", "end"}));

    const QByteArray table = "a\n" + QByteArray(5000, '1') + "\n";
    Trickle unsized(table, 1000);
    EXPECT_EQ(walkBytes(table, 4000), std::vector<std::string>{"too large"});
    EXPECT_EQ(walk(unsized, 4000), (std::vector<std::string>{"header:1", "too large"}));
}

TEST(GtfsValues, TimesDatesAndNumbers)
{
    const std::tuple<const char *, std::optional<int32_t>> cases[] = {
        {"05:00:00", 18000}, {"5:00:00", 18000}, {"25:43:00", 92580}, {"0:00:00", 0}, {"123:00:01", 442801},
        {"25:61:00", {}},    {"24:00:60", {}},   {"5:0:00", {}},      {"05:00", {}},  {"1234:00:00", {}},
        {"-1:00:00", {}},    {":00:00", {}},     {"5:00:00 ", {}},    {"", {}},
    };
    for (const auto &[text, seconds] : cases)
        EXPECT_EQ(GtfsValues::time(text), seconds) << text;
    EXPECT_EQ(GtfsValues::date("20170724"), QDate(2017, 7, 24));
    for (const char *bad : {"2017-07-24", "20170230", "2017072", "201707245", "2017O724"})
        EXPECT_EQ(GtfsValues::date(bad), std::nullopt) << bad;
    EXPECT_EQ(GtfsValues::number("-122.394992"), -122.394992);
    EXPECT_EQ(GtfsValues::number("+1e3"), 1000.0);
    for (const char *bad : {"", "1,5", "nan", "inf", "1e999", "+-1", "12 km"})
        EXPECT_EQ(GtfsValues::number(bad), std::nullopt) << bad;
    EXPECT_EQ(GtfsValues::integer("-7"), -7);
    for (const char *bad : {"", "1.0", "2147483648", "+-1"})
        EXPECT_EQ(GtfsValues::integer(bad), std::nullopt) << bad;
    EXPECT_EQ(std::tuple(GtfsValues::validCoordinates(0, 0), GtfsValues::validCoordinates(91, 14),
                         GtfsValues::validCoordinates(0, 14)),
              std::tuple(false, false, true));
}

namespace {

constexpr double metresPerDegree = 111195.0802; // of latitude, on the mean sphere

GeoPoint north(double metres)
{
    return {50.0 + metres / metresPerDegree, 14.0};
}

} // namespace

TEST(GtfsPolyline, Locate)
{
    EXPECT_NEAR(GtfsPolyline::distance({50, 14}, {51, 14}), metresPerDegree, 0.01);

    const GtfsPolyline line({north(0), north(1000), north(3000)});
    EXPECT_NEAR(line.length(), 3000, 0.01);
    for (const double at : {0.0, 500.0, 2999.0, -200.0, 3500.0})
        EXPECT_NEAR(line.locate(north(at)).measure, at, 0.01) << at;
    // 100 m east of the line: its foot, 100 m off.
    const GtfsPolyline::Location off = line.locate(
        {north(1500).latitude, 14.0 + 100 / (metresPerDegree * std::cos(50.0135 * std::numbers::pi / 180))});
    EXPECT_NEAR(off.measure, 1500, 0.5);
    EXPECT_NEAR(off.offset, 100, 0.5);

    // A line measured the other way: beyond its ends the measure goes on
    // the way it runs.
    const GtfsPolyline chained({north(0), north(1000)}, {7000, 6000});
    for (const auto &[at, measure] : {std::pair(250, 6750), std::pair(-100, 7100), std::pair(1100, 5900)})
        EXPECT_NEAR(chained.locate(north(at)).measure, measure, 0.01) << at;
}

// The unit of shape_dist_traveled, from a 5 km shape given in each unit,
// and from stations 2 km apart on trips without shapes.
TEST(GtfsLinePositions, Unit)
{
    const std::vector<std::optional<GeoPoint>> stations = {north(0), north(2000)};
    for (const double perUnit : {1.0, 1000.0, 1609.344, 0.3048}) {
        GtfsLinePositions::Shape shape;
        shape.points = {north(0), north(2500), north(5000)};
        shape.distances = {0, 2500 / perUnit, 5000 / perUnit};
        EXPECT_EQ(GtfsLinePositions::guessUnit(stations, {}, {shape}), perUnit);

        GtfsLinePositions::Pattern trip;
        trip.stations = {0, 1};
        trip.distances = {0, 2100 / perUnit}; // the track a little longer than the chord
        EXPECT_EQ(GtfsLinePositions::guessUnit(stations, {trip}, {}), perUnit);
    }
    // With no geometry at all, short numbers are kilometres.
    GtfsLinePositions::Pattern trip;
    trip.stations = {0, 1};
    for (const auto &[last, unit] : {std::pair(12.5, 1000.0), std::pair(12500.0, 1.0)}) {
        trip.distances = {0, last};
        EXPECT_EQ(GtfsLinePositions::guessUnit({std::nullopt, std::nullopt}, {trip}, {}), unit) << last;
    }
}

// Patterns laid onto the line: one that meets two placed stations takes its
// direction from them; a branch meeting the line at one station takes it
// from direction_id; a station no pattern with distances reaches is
// projected onto the placed stations.
TEST(GtfsLinePositions, LayingPatterns)
{
    // Stations 0–2 on the main line, 3 on a branch from station 2, 4 off
    // the distances, between 0 and 1.
    const std::vector<std::optional<GeoPoint>> stations = {north(0), north(1000), north(2000), north(2500), north(400)};
    GtfsLinePositions::Pattern up{{0, 1, 2}, {0, 1000, 2000}, 0, -1};
    GtfsLinePositions::Pattern down{{2, 1}, {0, 1000}, 1, -1};
    // Measured from its own start at the branch's end, running towards
    // the line: against the main line's sense.
    GtfsLinePositions::Pattern branch{{3, 2}, {0, 700}, 1, -1};
    GtfsLinePositions::Pattern untimed{{0, 4, 1}, {}, 0, -1};
    const GtfsLinePositions::Result r = GtfsLinePositions::compute(stations, {up, down, branch, untimed}, {});
    EXPECT_EQ(r.source, GtfsLinePositions::Source::Distances);
    ASSERT_EQ(r.metres.size(), 5u);
    const double expected[] = {0, 1000, 2000, 2700, 400};
    for (size_t i = 0; i < 5; ++i) {
        ASSERT_TRUE(r.metres[i]) << i;
        EXPECT_NEAR(*r.metres[i], expected[i], 0.5) << i;
    }
}
