// Reading one route's day from a large GTFS feed: 20 railway routes of 30
// stations, 100,000 trips and 3,000,000 stop times with distances, written
// once under the build directory (as a folder and as a zip of it) and kept
// for later runs. The day chosen is a weekday, on which 3,000 trips of the
// route run; every one of the route's 5,000 trips goes into the positions.
// The counters give the day's trains and stations and the process's peak
// memory so far.
#include "io/gtfs/GtfsDayReader.h"
#include "io/gtfs/GtfsFeed.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <archive.h>
#include <archive_entry.h>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int routeCount = 20;
constexpr int stationsPerRoute = 30;
constexpr int tripsPerRoute = 5000;
constexpr int shapePoints = 300;
constexpr double stationSpacing = 2500; // metres
constexpr double metresPerDegree = 111195.0802;

QString dataDir()
{
    return QStringLiteral(VLAKORYS_BINARY_DIR "/bench-data/gtfs-100k");
}

// The folder, written table by table; a marker names it complete.
class Writer
{
public:
    explicit Writer(const QString &path) : m_file(path) {}
    ~Writer()
    {
        flush();
        if (!m_file.commit()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(m_file.fileName()));
            std::exit(1);
        }
    }
    bool open() { return m_file.open(QIODevice::WriteOnly); }
    template <typename... Args> void line(const char *format, Args... args)
    {
        char text[256];
        const int n = std::snprintf(text, sizeof text, format, args...);
        m_buffer.append(text, n);
        if (m_buffer.size() > (1 << 20))
            flush();
    }
    void flush()
    {
        m_file.write(m_buffer);
        m_buffer.clear();
    }

private:
    QSaveFile m_file;
    QByteArray m_buffer;
};

// Route r runs north along its own meridian, 0.05° apart.
double latitudeAt(double metres)
{
    return 45.0 + metres / metresPerDegree;
}
double longitudeOf(int route)
{
    return 5.0 + 0.05 * route;
}

void writeFeed(const QString &dir)
{
    QDir().mkpath(dir);
    {
        Writer w(dir + QStringLiteral("/routes.txt"));
        w.open();
        w.line("route_id,route_short_name,route_long_name,route_type\n");
        for (int r = 0; r < routeCount; ++r)
            w.line("R%02d,S%d,Line %d,2\n", r, r, r);
    }
    {
        Writer w(dir + QStringLiteral("/stops.txt"));
        w.open();
        w.line("stop_id,stop_name,stop_lat,stop_lon,location_type,parent_station\n");
        for (int r = 0; r < routeCount; ++r) {
            for (int s = 0; s < stationsPerRoute; ++s) {
                const double lat = latitudeAt(s * stationSpacing);
                const double lon = longitudeOf(r);
                w.line("P%02d_%02d,Station %d-%d,%.7f,%.7f,1,\n", r, s, r, s, lat, lon);
                for (int platform = 1; platform <= 2; ++platform)
                    w.line("P%02d_%02d_%d,Station %d-%d track %d,%.7f,%.7f,0,P%02d_%02d\n", r, s, platform, r, s,
                           platform, lat, lon + platform * 1e-5, r, s);
            }
        }
    }
    {
        Writer w(dir + QStringLiteral("/calendar.txt"));
        w.open();
        w.line("service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,end_date\n");
        w.line("WD,1,1,1,1,1,0,0,20260101,20261231\n");
        w.line("SA,0,0,0,0,0,1,0,20260101,20261231\n");
        w.line("SU,0,0,0,0,0,0,1,20260101,20261231\n");
    }
    {
        Writer w(dir + QStringLiteral("/calendar_dates.txt"));
        w.open();
        w.line("service_id,date,exception_type\n");
        w.line("WD,20260101,2\n");
        w.line("SU,20260101,1\n");
    }
    {
        Writer w(dir + QStringLiteral("/shapes.txt"));
        w.open();
        w.line("shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence,shape_dist_traveled\n");
        const double length = (stationsPerRoute - 1) * stationSpacing;
        for (int r = 0; r < routeCount; ++r)
            for (int d = 0; d < 2; ++d)
                for (int p = 0; p < shapePoints; ++p) {
                    const double along = length * p / (shapePoints - 1);
                    w.line("SH%02d_%d,%.7f,%.7f,%d,%.1f\n", r, d, latitudeAt(d ? length - along : along),
                           longitudeOf(r), p + 1, along);
                }
    }
    // Trips: 60 % weekdays, 20 % each weekend day; both directions; every
    // trip calls at all 30 stations, 2 minutes apart with a half-minute
    // dwell, its distances from its own start.
    Writer trips(dir + QStringLiteral("/trips.txt"));
    Writer times(dir + QStringLiteral("/stop_times.txt"));
    trips.open();
    times.open();
    trips.line("route_id,service_id,trip_id,trip_short_name,direction_id,shape_id\n");
    times.line("trip_id,arrival_time,departure_time,stop_id,stop_sequence,pickup_type,drop_off_type,"
               "shape_dist_traveled\n");
    for (int r = 0; r < routeCount; ++r) {
        for (int t = 0; t < tripsPerRoute; ++t) {
            const char *service = t % 5 < 3 ? "WD" : t % 5 == 3 ? "SA" : "SU";
            const int direction = t % 2;
            char id[48];
            std::snprintf(id, sizeof id, "R%02d-%05d-%s", r, t, service);
            trips.line("R%02d,%s,%s,%d,%d,SH%02d_%d\n", r, service, id, 10000 + t, direction, r, direction);
            int clock = 4 * 3600 + (t * 37) % (20 * 3600);
            for (int k = 0; k < stationsPerRoute; ++k) {
                const int s = direction ? stationsPerRoute - 1 - k : k;
                const int depart = clock + (k > 0 && k + 1 < stationsPerRoute ? 30 : 0);
                times.line("%s,%d:%02d:%02d,%d:%02d:%02d,P%02d_%02d_%d,%d,0,0,%.1f\n", id, clock / 3600,
                           clock / 60 % 60, clock % 60, depart / 3600, depart / 60 % 60, depart % 60, r, s,
                           direction + 1, k + 1, k * stationSpacing);
                clock = depart + 120;
            }
        }
    }
}

void writeZip(const QString &dir, const QString &zipPath)
{
    archive *a = archive_write_new();
    archive_write_set_format_zip(a);
    if (archive_write_open_filename(a, QFile::encodeName(zipPath + QStringLiteral(".part")).constData())
        != ARCHIVE_OK) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(zipPath));
        std::exit(1);
    }
    for (const QString &name : QDir(dir).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QFile f(dir + u'/' + name);
        f.open(QIODevice::ReadOnly);
        archive_entry *e = archive_entry_new();
        archive_entry_set_pathname(e, name.toUtf8().constData());
        archive_entry_set_size(e, f.size());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_write_header(a, e);
        while (!f.atEnd()) {
            const QByteArray chunk = f.read(1 << 20);
            archive_write_data(a, chunk.constData(), size_t(chunk.size()));
        }
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
    QFile::rename(zipPath + QStringLiteral(".part"), zipPath);
}

// The feed's folder and zip, made on the first run.
const QString &feedPath(bool zipped)
{
    static const QString dir = dataDir() + QStringLiteral("/feed");
    static const QString zip = dataDir() + QStringLiteral("/feed.zip");
    static const bool made = [] {
        const QString marker = dataDir() + QStringLiteral("/complete");
        if (!QFile::exists(marker)) {
            QDir(dataDir()).removeRecursively();
            writeFeed(dir);
            writeZip(dir, zip);
            QFile f(marker);
            f.open(QIODevice::WriteOnly);
        }
        return true;
    }();
    (void)made;
    return zipped ? zip : dir;
}

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_GtfsRouteDay(benchmark::State &state)
{
    const QString &path = feedPath(state.range(0) != 0);
    size_t trains = 0;
    size_t points = 0;
    for (auto _ : state) {
        QString error;
        const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(path, error);
        if (!feed) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        const GtfsDay day = GtfsDayReader::readDay(*feed, {QDate(2026, 3, 4), {QStringLiteral("R07")}});
        trains = day.timetable.trains.size();
        points = day.timetable.points.size();
        benchmark::DoNotOptimize(day);
    }
    state.counters["trains"] = double(trains);
    state.counters["stations"] = double(points);
    state.counters["peak_MiB"] = peakMiB();
}
BENCHMARK(BM_GtfsRouteDay)
    ->ArgName("zip")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
