#pragma once

// Small GTFS feeds written by the tests, and the Caltrain fixture.
//
// The small line Alfa – Beta – Gama – Delta – Epsilon runs north along the
// meridian 14° E from 50° N; its stations stand 0, 1000, 2500, 4000 and
// 6000 m from Alfa as the crow flies. Alfa, Beta, Delta and Epsilon are
// parent stations with a platform per direction; Gama's two platforms are
// stops of one name without a parent. Trips (Wednesday 2026-03-04 is a
// weekday of service "WD"):
//   N1  northbound Alfa 5:00 … Epsilon 5:20, direction 0
//   S1  southbound Epsilon 23:50 … Alfa 24:12, direction 1
//   S2  southbound Delta – Beta only, 7:00 … 7:09, direction 1
// With distances, the track is 5 % longer than the chords: the stations
// lie at 0, 1050, 2625, 4200 and 6300 m; N1 measures from Alfa, S1 from
// Epsilon and S2 from Delta, each starting at 0.

#include "TestPaths.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>
#include <tuple>

namespace GtfsTestFeeds {

using Tables = std::map<QString, QByteArray>;

inline QString caltrainDir()
{
    return TestPaths::sourceDir() + QStringLiteral("/tests/data/gtfs/caltrain-2017");
}

// Metres along the meridian to degrees of latitude (mean Earth radius).
inline QByteArray latitude(double metres)
{
    return QByteArray::number(50.0 + metres / 111195.0802, 'f', 7);
}

enum class Distances { None, Metres, Kilometres };

inline Tables smallLine(Distances distances = Distances::Metres)
{
    Tables t;
    t[QStringLiteral("agency.txt")] = "agency_id,agency_name,agency_url,agency_timezone\n"
                                      "X,Dráhy,https://example.org,Europe/Prague\n";
    t[QStringLiteral("routes.txt")] = "route_id,route_short_name,route_long_name,route_type\n"
                                      "R1,Os,Alfa – Epsilon,2\n"
                                      "BUS,,Náhradní doprava,3\n";
    QByteArray stops = "stop_id,stop_name,stop_lat,stop_lon,location_type,parent_station\n";
    // (id, name, metres from Alfa, a parent station)
    const std::tuple<const char *, const char *, double, bool> stations[] = {
        {"A", "Alfa", 0, true},     {"B", "Beta", 1000, true},    {"C", "Gama", 2500, false},
        {"D", "Delta", 4000, true}, {"E", "Epsilon", 6000, true},
    };
    for (const auto &[id, name, metres, parent] : stations) {
        const QByteArray lat = latitude(metres);
        if (parent)
            stops += QByteArray(id) + ',' + name + ',' + lat + ",14.0,1,\n";
        for (const char *platform : {"1", "2"}) {
            stops += QByteArray(id) + platform + ',' + (parent ? QByteArray(name) + " " + platform : QByteArray(name))
                     + ',' + lat + ",14.0,0," + (parent ? QByteArray(id) : QByteArray()) + '\n';
        }
    }
    t[QStringLiteral("stops.txt")] = stops;
    t[QStringLiteral("calendar.txt")] =
        "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,end_date\n"
        "WD,1,1,1,1,1,0,0,20260101,20261231\n";
    t[QStringLiteral("trips.txt")] = "route_id,service_id,trip_id,trip_short_name,direction_id\n"
                                     "R1,WD,N1,1001,0\n"
                                     "R1,WD,S1,1002,1\n"
                                     "R1,WD,S2,1004,1\n";
    // (trip, stop, arrival, departure, metres from the trip's own start)
    const std::tuple<const char *, const char *, const char *, const char *, double> rows[] = {
        {"N1", "A1", "5:00:00", "5:00:00", 0},      {"N1", "B1", "05:03:00", "05:04:00", 1050},
        {"N1", "C1", "05:07:00", "05:07:30", 2625}, {"N1", "D1", "05:11:00", "05:11:00", 4200},
        {"N1", "E1", "05:20:00", "05:20:00", 6300}, {"S1", "E2", "23:50:00", "23:50:00", 0},
        {"S1", "D2", "23:57:00", "23:58:00", 2100}, {"S1", "C2", "24:02:00", "24:02:00", 3675},
        {"S1", "B2", "24:06:00", "24:07:00", 5250}, {"S1", "A2", "24:12:00", "24:12:00", 6300},
        {"S2", "D2", "07:00:00", "07:00:00", 0},    {"S2", "C2", "07:04:00", "07:04:00", 1575},
        {"S2", "B2", "07:09:00", "07:09:00", 3150},
    };
    QByteArray stopTimes = "trip_id,arrival_time,departure_time,stop_id,stop_sequence";
    stopTimes += distances == Distances::None ? "\n" : ",shape_dist_traveled\n";
    int sequence = 0;
    const char *lastTrip = "";
    for (const auto &[trip, stop, arrival, departure, metres] : rows) {
        sequence = qstrcmp(lastTrip, trip) == 0 ? sequence + 1 : 1;
        lastTrip = trip;
        stopTimes +=
            QByteArray(trip) + ',' + arrival + ',' + departure + ',' + stop + ',' + QByteArray::number(sequence * 10);
        if (distances == Distances::Metres)
            stopTimes += ',' + QByteArray::number(metres, 'f', 1);
        else if (distances == Distances::Kilometres)
            stopTimes += ',' + QByteArray::number(metres / 1000, 'f', 4);
        stopTimes += '\n';
    }
    t[QStringLiteral("stop_times.txt")] = stopTimes;
    return t;
}

} // namespace GtfsTestFeeds
