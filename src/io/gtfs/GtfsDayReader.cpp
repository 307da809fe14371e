#include "GtfsDayReader.h"

#include "GtfsCalendar.h"
#include "GtfsFeed.h"
#include "GtfsMessages.h"
#include "GtfsSkipTally.h"
#include "GtfsTableReader.h"
#include "GtfsValues.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace {

const QString stopsFile = QStringLiteral("stops.txt");
const QString routesFile = QStringLiteral("routes.txt");
const QString tripsFile = QStringLiteral("trips.txt");
const QString stopTimesFile = QStringLiteral("stop_times.txt");
const QString shapesFile = QStringLiteral("shapes.txt");

constexpr int32_t noTime = std::numeric_limits<int32_t>::min();

struct StringHash
{
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
// Feed identifiers to indices, looked up by the fields' views.
using IdMap = std::unordered_map<std::string, int32_t, StringHash, std::equal_to<>>;

int32_t find(const IdMap &map, std::string_view id)
{
    const auto it = map.find(id);
    return it == map.end() ? -2 : it->second;
}

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

struct Stop
{
    QString id;
    QString name;
    std::optional<GeoPoint> coordinates;
    std::string parentId;
    int32_t parent = -1;
    int32_t locationType = 0;
    int32_t station = -1; // the merged station, once a chosen trip calls here
};

struct Station
{
    QString key;
    QString name;
    double latitude = 0;
    double longitude = 0;
    int coordinateCount = 0;

    std::optional<GeoPoint> coordinates() const
    {
        if (coordinateCount == 0)
            return std::nullopt;
        return GeoPoint{latitude / coordinateCount, longitude / coordinateCount};
    }
};

struct Trip
{
    int32_t route = -1;
    int32_t shape = -1;
    int32_t direction = -1;
    bool runs = false;
    QString id;
    QString number;
};

struct Row
{
    int32_t trip;
    int32_t sequence;
    int32_t station;
    int32_t arrival;
    int32_t departure;
    float distance; // NaN: none
    uint8_t pickup;
    uint8_t dropOff;
};

// The state of one reading, table by table.
class DayReading
{
public:
    DayReading(const GtfsFeed &feed, const GtfsDayRequest &request, const GtfsDayReader::Progress &progress)
        : m_feed(feed), m_request(request), m_progress(progress)
    {
        for (const QString &t : {stopsFile, routesFile, tripsFile, stopTimesFile, shapesFile,
                                 QStringLiteral("calendar.txt"), QStringLiteral("calendar_dates.txt")})
            m_total += std::max<qint64>(0, feed.tableSize(t));
    }

    GtfsDay run();

private:
    GtfsTableReader::Progress progressFor();
    void finished(const QString &table) { m_done += std::max<qint64>(0, m_feed.tableSize(table)); }

    bool readStops();
    void readRoutes();
    void readTrips(const std::unordered_set<std::string> &services);
    bool readStopTimes();
    bool readShapes(std::vector<GtfsLinePositions::Shape> &shapes);
    int32_t stationOf(int32_t stop);
    std::vector<GtfsLinePositions::Pattern> patterns() const;
    void makeTrains(const std::vector<std::optional<double>> &metres, DayTimetable &day);

    const GtfsFeed &m_feed;
    const GtfsDayRequest &m_request;
    const GtfsDayReader::Progress &m_progress;
    qint64 m_total = 0;
    qint64 m_done = 0;
    bool m_cancelled = false;
    GtfsSkipTally m_tally;

    std::vector<Stop> m_stops;
    IdMap m_stopIndex;
    std::vector<Station> m_stations;
    QHash<QString, int32_t> m_stationByName;

    std::vector<GtfsRoute> m_routes;
    std::vector<bool> m_chosen;
    IdMap m_routeIndex;

    std::vector<Trip> m_trips;
    IdMap m_tripIndex; // every trip of the feed; -1 for those of other routes
    IdMap m_shapeIndex;

    std::vector<Row> m_rows;
    // m_rows[m_tripRows[t] .. m_tripRows[t + 1]) are trip t's, in order.
    std::vector<size_t> m_tripRows;
};

GtfsTableReader::Progress DayReading::progressFor()
{
    if (!m_progress)
        return {};
    return [this](qint64 bytes) {
        if (!m_progress(m_done + bytes, m_total))
            m_cancelled = true;
        return !m_cancelled;
    };
}

bool DayReading::readStops()
{
    GtfsTableReader t(m_feed, stopsFile, m_tally, {.required = true, .keptWhole = true}, progressFor());
    if (!t.require({"stop_id"}))
        return false;
    const int id = t.column("stop_id");
    const int name = t.column("stop_name");
    const int lat = t.column("stop_lat");
    const int lon = t.column("stop_lon");
    const int type = t.column("location_type");
    const int parent = t.column("parent_station");
    while (t.next()) {
        const std::string_view stopId = t.field(id);
        if (stopId.empty()) {
            t.skipRow(GtfsMessages::badRow);
            continue;
        }
        if (m_stopIndex.find(stopId) != m_stopIndex.end()) {
            t.skipRow(GtfsMessages::duplicateId);
            continue;
        }
        Stop s;
        s.id = text(stopId);
        s.name = text(t.field(name));
        if (s.name.isEmpty())
            s.name = s.id;
        const std::string_view latText = t.field(lat);
        const std::string_view lonText = t.field(lon);
        if (!latText.empty() || !lonText.empty()) {
            const std::optional<double> la = GtfsValues::number(latText);
            const std::optional<double> lo = GtfsValues::number(lonText);
            if (la && lo && GtfsValues::validCoordinates(*la, *lo))
                s.coordinates = GeoPoint{*la, *lo};
            else
                t.skipRow(GtfsMessages::badCoordinates);
        }
        s.locationType = GtfsValues::integer(t.field(type)).value_or(0);
        s.parentId = std::string(t.field(parent));
        m_stopIndex.emplace(std::string(stopId), static_cast<int32_t>(m_stops.size()));
        m_stops.push_back(std::move(s));
    }
    finished(stopsFile);
    for (Stop &s : m_stops) {
        if (s.parentId.empty())
            continue;
        s.parent = find(m_stopIndex, s.parentId);
        if (s.parent < 0) {
            m_tally.item(stopsFile, GtfsMessages::unknownParent, s.id);
            s.parent = -1;
        }
    }
    return !m_cancelled;
}

// A stop's station: its parent (or the parent's parent, for the boarding
// area of a platform), then every such of one name merged.
int32_t DayReading::stationOf(int32_t stopIndex)
{
    Stop &stop = m_stops[stopIndex];
    if (stop.station >= 0)
        return stop.station;
    int32_t top = stopIndex;
    for (int depth = 0; depth < 3 && m_stops[top].parent >= 0 && m_stops[top].locationType != 1; ++depth)
        top = m_stops[top].parent;
    const Stop &named = m_stops[top];
    const QString name = named.name.trimmed();
    int32_t station = m_stationByName.value(name, -1);
    if (station < 0) {
        station = static_cast<int32_t>(m_stations.size());
        m_stationByName.insert(name, station);
        m_stations.push_back({named.id, name});
    }
    const std::optional<GeoPoint> where = named.coordinates ? named.coordinates : stop.coordinates;
    if (where) {
        Station &s = m_stations[station];
        s.latitude += where->latitude;
        s.longitude += where->longitude;
        ++s.coordinateCount;
    }
    stop.station = station;
    return station;
}

void DayReading::readRoutes()
{
    GtfsTableReader t(m_feed, routesFile, m_tally, {.required = true, .keptWhole = true}, progressFor());
    if (t.require({"route_id", "route_type"})) {
        const int id = t.column("route_id");
        const int type = t.column("route_type");
        const int shortName = t.column("route_short_name");
        const int longName = t.column("route_long_name");
        while (t.next()) {
            const std::string_view routeId = t.field(id);
            const std::optional<int32_t> routeType = GtfsValues::integer(t.field(type));
            if (routeId.empty() || !routeType) {
                t.skipRow(GtfsMessages::badRow);
                continue;
            }
            if (m_routeIndex.find(routeId) != m_routeIndex.end()) {
                t.skipRow(GtfsMessages::duplicateId);
                continue;
            }
            m_routeIndex.emplace(std::string(routeId), static_cast<int32_t>(m_routes.size()));
            m_routes.push_back({text(routeId), text(t.field(shortName)), text(t.field(longName)), *routeType});
        }
    }
    finished(routesFile);

    m_chosen.assign(m_routes.size(), false);
    if (m_request.routes.isEmpty()) {
        bool any = false;
        for (size_t r = 0; r < m_routes.size(); ++r)
            any |= (m_chosen[r] = m_routes[r].isRail());
        if (!any && !m_routes.empty())
            m_tally.table(routesFile, GtfsMessages::noRailRoute);
        return;
    }
    for (const QString &wanted : m_request.routes) {
        const int32_t r = find(m_routeIndex, wanted.toStdString());
        if (r < 0)
            m_tally.table(routesFile, GtfsMessages::routeNotInFeed(wanted));
        else
            m_chosen[r] = true;
    }
}

void DayReading::readTrips(const std::unordered_set<std::string> &services)
{
    GtfsTableReader t(m_feed, tripsFile, m_tally, {.required = true, .keptWhole = true}, progressFor());
    if (t.require({"route_id", "service_id", "trip_id"})) {
        const int route = t.column("route_id");
        const int service = t.column("service_id");
        const int id = t.column("trip_id");
        const int number = t.column("trip_short_name");
        const int direction = t.column("direction_id");
        const int shape = t.column("shape_id");
        while (t.next()) {
            const std::string_view tripId = t.field(id);
            if (tripId.empty() || t.field(route).empty() || t.field(service).empty()) {
                t.skipRow(GtfsMessages::badRow);
                continue;
            }
            if (m_tripIndex.find(tripId) != m_tripIndex.end()) {
                t.skipRow(GtfsMessages::duplicateId);
                continue;
            }
            const int32_t r = find(m_routeIndex, t.field(route));
            if (r < 0)
                t.skipRow(GtfsMessages::unknownRoute);
            if (r < 0 || !m_chosen[r]) {
                // Known, so its stop times are not counted as unknown.
                m_tripIndex.emplace(std::string(tripId), -1);
                continue;
            }
            Trip trip;
            trip.route = r;
            trip.runs = services.count(std::string(t.field(service))) > 0;
            trip.id = text(tripId);
            trip.number = text(t.field(number));
            if (trip.number.isEmpty())
                trip.number = trip.id;
            const std::string_view d = t.field(direction);
            trip.direction = d == "0" ? 0 : d == "1" ? 1 : -1;
            const std::string_view shapeId = t.field(shape);
            if (!shapeId.empty()) {
                trip.shape = find(m_shapeIndex, shapeId);
                if (trip.shape < 0) {
                    trip.shape = static_cast<int32_t>(m_shapeIndex.size());
                    m_shapeIndex.emplace(std::string(shapeId), trip.shape);
                }
            }
            m_tripIndex.emplace(std::string(tripId), static_cast<int32_t>(m_trips.size()));
            m_trips.push_back(std::move(trip));
        }
    }
    finished(tripsFile);
}

bool DayReading::readStopTimes()
{
    GtfsTableReader t(m_feed, stopTimesFile, m_tally, {.required = true}, progressFor());
    if (t.require({"trip_id", "stop_id", "stop_sequence", "arrival_time", "departure_time"})) {
        const int tripColumn = t.column("trip_id");
        const int stopColumn = t.column("stop_id");
        const int sequenceColumn = t.column("stop_sequence");
        const int arrivalColumn = t.column("arrival_time");
        const int departureColumn = t.column("departure_time");
        const int distanceColumn = t.column("shape_dist_traveled");
        const int pickupColumn = t.column("pickup_type");
        const int dropOffColumn = t.column("drop_off_type");
        // Rows come grouped by trip: the last trip's lookup serves again.
        std::string lastTripId;
        int32_t lastTrip = -2;
        const auto time = [](std::string_view s, bool &bad) {
            if (s.empty())
                return noTime;
            const std::optional<int32_t> v = GtfsValues::time(s);
            bad |= !v;
            return v.value_or(noTime);
        };
        while (t.next()) {
            const std::string_view tripId = t.field(tripColumn);
            if (lastTrip == -2 || tripId != lastTripId) {
                lastTripId.assign(tripId);
                lastTrip = find(m_tripIndex, tripId);
            }
            if (lastTrip == -2) {
                t.skipRow(GtfsMessages::unknownTrip);
                continue;
            }
            // Another route's trip, or one that does not run on the day.
            if (lastTrip < 0 || !m_trips[lastTrip].runs)
                continue;
            if (m_rows.size() >= m_request.maxRows) {
                m_tally.table(stopTimesFile, GtfsMessages::tooManyRows(m_request.maxRows));
                m_rows.clear();
                break;
            }
            const int32_t stop = find(m_stopIndex, t.field(stopColumn));
            if (stop < 0) {
                t.skipRow(GtfsMessages::unknownStop);
                continue;
            }
            const std::optional<int32_t> sequence = GtfsValues::integer(t.field(sequenceColumn));
            if (!sequence || *sequence < 0) {
                t.skipRow(GtfsMessages::badRow);
                continue;
            }
            bool badTime = false;
            const int32_t arrival = time(t.field(arrivalColumn), badTime);
            const int32_t departure = time(t.field(departureColumn), badTime);
            if (badTime || (arrival != noTime && departure != noTime && arrival > departure)) {
                t.skipRow(GtfsMessages::badTime);
                continue;
            }
            float distance = std::numeric_limits<float>::quiet_NaN();
            const std::string_view distanceText = t.field(distanceColumn);
            if (!distanceText.empty()) {
                const std::optional<double> d = GtfsValues::number(distanceText);
                if (d && *d >= 0 && *d < 1e9)
                    distance = static_cast<float>(*d);
                else
                    t.skipRow(GtfsMessages::badDistance);
            }
            const auto boarding = [&](int column) {
                const std::optional<int32_t> v = GtfsValues::integer(t.field(column));
                return static_cast<uint8_t>(v && *v >= 0 && *v <= 3 ? *v : 0);
            };
            m_rows.push_back({lastTrip, *sequence, stationOf(stop), arrival, departure, distance,
                              boarding(pickupColumn), boarding(dropOffColumn)});
        }
    }
    finished(stopTimesFile);
    if (m_cancelled)
        return false;

    const auto before = [](const Row &a, const Row &b) {
        return a.trip != b.trip ? a.trip < b.trip : a.sequence < b.sequence;
    };
    if (!std::is_sorted(m_rows.begin(), m_rows.end(), before))
        std::stable_sort(m_rows.begin(), m_rows.end(), before);
    // One row per place in a trip's sequence: the first given.
    const auto same = [](const Row &a, const Row &b) { return a.trip == b.trip && a.sequence == b.sequence; };
    auto kept = m_rows.begin();
    for (auto it = m_rows.begin(); it != m_rows.end(); ++it) {
        if (kept != m_rows.begin() && same(*(kept - 1), *it)) {
            m_tally.item(stopTimesFile, GtfsMessages::duplicateSequence, m_trips[it->trip].id);
            continue;
        }
        *kept++ = *it;
    }
    m_rows.erase(kept, m_rows.end());
    m_rows.shrink_to_fit();

    m_tripRows.assign(m_trips.size() + 1, 0);
    for (const Row &r : m_rows)
        ++m_tripRows[r.trip + 1];
    for (size_t i = 1; i < m_tripRows.size(); ++i)
        m_tripRows[i] += m_tripRows[i - 1];
    return true;
}

bool DayReading::readShapes(std::vector<GtfsLinePositions::Shape> &shapes)
{
    shapes.resize(m_shapeIndex.size());
    if (m_shapeIndex.empty())
        return true;
    GtfsTableReader t(m_feed, shapesFile, m_tally, {}, progressFor());
    if (!t.require({"shape_id", "shape_pt_lat", "shape_pt_lon", "shape_pt_sequence"}))
        return !m_cancelled;
    const int idColumn = t.column("shape_id");
    const int latColumn = t.column("shape_pt_lat");
    const int lonColumn = t.column("shape_pt_lon");
    const int sequenceColumn = t.column("shape_pt_sequence");
    const int distanceColumn = t.column("shape_dist_traveled");
    struct Point
    {
        int32_t sequence;
        GeoPoint point;
        double distance;
    };
    std::vector<std::vector<Point>> points(shapes.size());
    while (t.next()) {
        const int32_t shape = find(m_shapeIndex, t.field(idColumn));
        if (shape < 0)
            continue;
        const std::optional<double> lat = GtfsValues::number(t.field(latColumn));
        const std::optional<double> lon = GtfsValues::number(t.field(lonColumn));
        const std::optional<int32_t> sequence = GtfsValues::integer(t.field(sequenceColumn));
        if (!sequence) {
            t.skipRow(GtfsMessages::badRow);
            continue;
        }
        if (!lat || !lon || !GtfsValues::validCoordinates(*lat, *lon)) {
            t.skipRow(GtfsMessages::badCoordinates);
            continue;
        }
        const std::optional<double> d = GtfsValues::number(t.field(distanceColumn));
        points[shape].push_back({*sequence, {*lat, *lon}, d ? *d : std::numeric_limits<double>::quiet_NaN()});
    }
    finished(shapesFile);
    for (size_t s = 0; s < shapes.size(); ++s) {
        std::vector<Point> &p = points[s];
        std::stable_sort(p.begin(), p.end(), [](const Point &a, const Point &b) { return a.sequence < b.sequence; });
        bool anyDistance = false;
        for (const Point &q : p) {
            shapes[s].points.push_back(q.point);
            shapes[s].distances.push_back(q.distance);
            anyDistance |= std::isfinite(q.distance);
        }
        if (!anyDistance)
            shapes[s].distances.clear();
    }
    return !m_cancelled;
}

// The distinct stopping patterns of the chosen routes' trips, whatever
// their day.
std::vector<GtfsLinePositions::Pattern> DayReading::patterns() const
{
    std::vector<GtfsLinePositions::Pattern> out;
    std::unordered_map<std::string, size_t> seen;
    std::string key;
    for (size_t trip = 0; trip < m_trips.size(); ++trip) {
        const size_t begin = m_tripRows[trip];
        const size_t end = m_tripRows[trip + 1];
        if (begin == end)
            continue;
        key.clear();
        const int32_t head[2] = {m_trips[trip].direction, m_trips[trip].shape};
        key.append(reinterpret_cast<const char *>(head), sizeof head);
        for (size_t i = begin; i < end; ++i) {
            key.append(reinterpret_cast<const char *>(&m_rows[i].station), sizeof(int32_t));
            key.append(reinterpret_cast<const char *>(&m_rows[i].distance), sizeof(float));
        }
        if (!seen.emplace(key, out.size()).second)
            continue;
        GtfsLinePositions::Pattern p;
        p.direction = m_trips[trip].direction;
        p.shape = m_trips[trip].shape;
        bool anyDistance = false;
        for (size_t i = begin; i < end; ++i) {
            p.stations.push_back(m_rows[i].station);
            p.distances.push_back(m_rows[i].distance);
            anyDistance |= std::isfinite(m_rows[i].distance);
        }
        if (!anyDistance)
            p.distances.clear();
        out.push_back(std::move(p));
    }
    return out;
}

void DayReading::makeTrains(const std::vector<std::optional<double>> &metres, DayTimetable &day)
{
    struct Call
    {
        int32_t station;
        int32_t arrival;
        int32_t departure;
        bool publicStop;
    };
    std::vector<bool> unplacedCounted(m_stations.size(), false);
    std::vector<Call> calls;
    for (size_t trip = 0; trip < m_trips.size(); ++trip) {
        const Trip &tr = m_trips[trip];
        // A trip without a single stop row is not counted: it is what a
        // stop_times.txt that could not be read leaves of every trip.
        if (!tr.runs || m_tripRows[trip] == m_tripRows[trip + 1])
            continue;
        calls.clear();
        int32_t lastTime = noTime;
        for (size_t i = m_tripRows[trip]; i < m_tripRows[trip + 1]; ++i) {
            const Row &r = m_rows[i];
            if (!metres[r.station]) {
                if (!unplacedCounted[r.station]) {
                    unplacedCounted[r.station] = true;
                    m_tally.item(stopTimesFile, GtfsMessages::unplacedStation, m_stations[r.station].name);
                }
                continue;
            }
            Call c{r.station, r.arrival, r.departure, !(r.pickup == 1 && r.dropOff == 1)};
            if (c.arrival == noTime)
                c.arrival = c.departure;
            if (c.departure == noTime)
                c.departure = c.arrival;
            // Times never run back along a trip; a row that does is wrong.
            if (c.arrival != noTime) {
                if (c.arrival < lastTime) {
                    m_tally.item(stopTimesFile, GtfsMessages::timeBackwards, tr.id);
                    continue;
                }
                lastTime = c.departure;
            }
            // Two stops of one station in a row (platforms merged by name)
            // are one call: the first arrival, the last departure.
            if (!calls.empty() && calls.back().station == c.station) {
                Call &b = calls.back();
                if (b.arrival == noTime) {
                    b.arrival = c.arrival;
                    b.departure = c.departure;
                } else if (c.departure != noTime) {
                    b.departure = std::max(b.departure, c.departure);
                }
                b.publicStop |= c.publicStop;
                continue;
            }
            calls.push_back(c);
        }
        // Calls without times at the ends cannot be placed in time.
        size_t first = 0;
        while (first < calls.size() && calls[first].arrival == noTime)
            ++first;
        size_t last = calls.size();
        while (last > first && calls[last - 1].arrival == noTime)
            --last;
        if (first > 0 || last < calls.size())
            m_tally.item(stopTimesFile, GtfsMessages::untimedEnd, tr.id);
        // Calls without times between timed ones: by position.
        for (size_t i = first; i < last; ++i) {
            if (calls[i].arrival != noTime)
                continue;
            size_t j = i;
            while (calls[j].arrival == noTime)
                ++j;
            const Call &a = calls[i - 1];
            const Call &b = calls[j];
            const double from = *metres[a.station];
            const double total = std::abs(*metres[b.station] - from);
            for (size_t k = i; k < j; ++k) {
                double share = double(k - i + 1) / double(j - i + 1);
                if (total > 0)
                    share = std::clamp(std::abs(*metres[calls[k].station] - from) / total, 0.0, 1.0);
                const auto t = static_cast<int32_t>(std::nearbyint(a.departure + share * (b.arrival - a.departure)));
                calls[k].arrival = calls[k].departure = t;
            }
            i = j;
        }
        if (last - first < 2) {
            m_tally.item(stopTimesFile, GtfsMessages::tooFewCalls, tr.id);
            continue;
        }
        DayTrain train;
        const GtfsRoute &route = m_routes[tr.route];
        // A trip without a number of its own is told by its id.
        const QString number = tr.number.trimmed().isEmpty() ? tr.id : tr.number;
        train.name = GtfsDayReader::trainName(GtfsDayReader::routeLabel(route.shortName, route.longName, number), number);
        train.source = tr.id;
        for (size_t i = first; i < last; ++i) {
            const Call &c = calls[i];
            DayCall call;
            call.point = c.station;
            call.publicStop = c.publicStop;
            call.stops = c.publicStop || c.departure > c.arrival;
            if (call.stops) {
                call.arrival = c.arrival;
                call.departure = c.departure;
                call.shortDwell = c.departure > c.arrival && c.departure - c.arrival < 30;
            } else {
                call.departure = c.departure;
            }
            train.calls.push_back(call);
        }
        day.trains.push_back(std::move(train));
    }
    const auto firstTime = [](const DayTrain &t) {
        const DayCall &c = t.calls.front();
        return c.departure ? *c.departure : *c.arrival;
    };
    std::stable_sort(day.trains.begin(), day.trains.end(), [&](const DayTrain &a, const DayTrain &b) {
        const int32_t ta = firstTime(a);
        const int32_t tb = firstTime(b);
        return ta != tb ? ta < tb : a.name < b.name;
    });
}

GtfsDay DayReading::run()
{
    GtfsDay result;
    DayTimetable &day = result.timetable;
    day.day = m_request.day;
    const auto done = [&]() -> GtfsDay & {
        result.cancelled = m_cancelled;
        day.skipped = m_tally.entries();
        return result;
    };

    if (!readStops())
        return done();
    readRoutes();
    if (m_cancelled)
        return done();
    const std::unordered_set<std::string> services = GtfsCalendar::servicesOn(m_feed, m_request.day, m_tally);
    finished(QStringLiteral("calendar.txt"));
    finished(QStringLiteral("calendar_dates.txt"));
    readTrips(services);
    if (m_cancelled || !readStopTimes())
        return done();
    std::vector<GtfsLinePositions::Shape> shapes;
    if (!readShapes(shapes))
        return done();

    std::vector<std::optional<GeoPoint>> coordinates;
    coordinates.reserve(m_stations.size());
    for (const Station &s : m_stations)
        coordinates.push_back(s.coordinates());
    const GtfsLinePositions::Result positions = GtfsLinePositions::compute(coordinates, patterns(), shapes);
    result.positions = positions.source;

    makeTrains(positions.metres, day);

    // The stations the day's trains call at, in line order.
    std::vector<int32_t> used;
    std::vector<int32_t> point(m_stations.size(), -1);
    for (const DayTrain &t : day.trains)
        for (const DayCall &c : t.calls)
            if (point[c.point] < 0) {
                point[c.point] = 0;
                used.push_back(c.point);
            }
    std::stable_sort(used.begin(), used.end(), [&](int32_t a, int32_t b) {
        const double ma = *positions.metres[a];
        const double mb = *positions.metres[b];
        return ma != mb ? ma < mb : m_stations[a].name < m_stations[b].name;
    });
    for (int32_t s : used) {
        point[s] = static_cast<int32_t>(day.points.size());
        const Station &st = m_stations[s];
        DayPoint p;
        p.key = st.key;
        p.name = st.name;
        if (const std::optional<GeoPoint> c = st.coordinates()) {
            p.latitude = c->latitude;
            p.longitude = c->longitude;
        }
        p.metres = static_cast<int32_t>(
            std::clamp(std::nearbyint(*positions.metres[s]), 0.0, double(std::numeric_limits<int32_t>::max())));
        day.points.push_back(std::move(p));
    }
    for (DayTrain &t : day.trains)
        for (DayCall &c : t.calls)
            c.point = point[c.point];
    return done();
}

} // namespace

GtfsRouteList GtfsDayReader::routes(const GtfsFeed &feed)
{
    GtfsRouteList list;
    GtfsSkipTally tally;
    GtfsTableReader t(feed, routesFile, tally, {.required = true, .keptWhole = true});
    if (t.require({"route_id", "route_type"})) {
        const int id = t.column("route_id");
        const int type = t.column("route_type");
        const int shortName = t.column("route_short_name");
        const int longName = t.column("route_long_name");
        while (t.next()) {
            const std::optional<int32_t> routeType = GtfsValues::integer(t.field(type));
            if (t.field(id).empty() || !routeType) {
                t.skipRow(GtfsMessages::badRow);
                continue;
            }
            list.routes.push_back({text(t.field(id)), text(t.field(shortName)), text(t.field(longName)), *routeType});
        }
    }
    std::stable_partition(list.routes.begin(), list.routes.end(), [](const GtfsRoute &r) { return r.isRail(); });
    list.skipped = tally.entries();
    return list;
}

std::optional<std::pair<QDate, QDate>> GtfsDayReader::serviceDates(const GtfsFeed &feed)
{
    return GtfsCalendar::dateRange(feed);
}

GtfsDay GtfsDayReader::readDay(const GtfsFeed &feed, const GtfsDayRequest &request, const Progress &progress)
{
    return DayReading(feed, request, progress).run();
}

QString GtfsDayReader::routeLabel(const QString &shortName, const QString &longName, const QString &number)
{
    if (!shortName.trimmed().isEmpty())
        return shortName;
    const QString name = longName.simplified();
    const qsizetype room = nameLength - 1 - number.trimmed().size();
    if (name.size() <= room)
        return name;
    // "Northeast Regional" is "NR"; a name of one word gives way to the number.
    QString initials;
    for (const QString &word : name.split(u' ', Qt::SkipEmptyParts))
        initials += word.front().toUpper();
    return initials.size() >= 2 && initials.size() <= room ? initials : QString();
}

QString GtfsDayReader::trainName(const QString &route, const QString &number)
{
    const QString r = route.trimmed();
    const QString n = number.trimmed();
    if (r.isEmpty())
        return n.left(nameLength);
    if (n.isEmpty())
        return r.left(nameLength);
    if (r.size() + 1 + n.size() <= nameLength)
        return r + u' ' + n;
    const qsizetype room = nameLength - 1 - n.size();
    if (room < 1)
        return n.left(nameLength);
    return r.left(room).trimmed() + u' ' + n;
}
