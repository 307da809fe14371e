#pragma once

#include "GtfsLinePositions.h"

#include "io/sources/DayTimetable.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class GtfsFeed;

struct GtfsRoute
{
    QString id;
    QString shortName;
    QString longName;
    int type = -1; // route_type

    // Railway service: route_type 2 and the extended types 100–117.
    bool isRail() const { return type == 2 || (type >= 100 && type <= 117); }
};

struct GtfsRouteList
{
    std::vector<GtfsRoute> routes; // railway routes first, each group in the feed's order
    std::vector<DaySkipped> skipped;
};

struct GtfsDayRequest
{
    QDate day;
    QStringList routes; // route_id; none: every railway route of the feed
    // Stop rows of the day's trips kept at most (28 bytes each): a feed
    // with more gets a message, not an exhausted memory.
    size_t maxRows = size_t{8} << 20;
};

struct GtfsDay
{
    DayTimetable timetable;
    // Where the stations' positions came from (the distances, the longest
    // shape, straight lines), for a word to the user when it is not the best.
    GtfsLinePositions::Source positions = GtfsLinePositions::Source::None;
    bool cancelled = false;
};

// Reads one day of a GTFS feed into a DayTimetable: the trips of the chosen
// routes whose service runs that day, as trains with their calls, and the
// stations they call at, each with its position along the line in metres.
//
// Stations: a stop belongs to its parent station; stops without one are
// merged by name (a feed that gives each direction's platform as a stop of
// its own), so every station of a name is one point, keyed by the parent's
// or the first stop's id. Positions come from GtfsLinePositions, over the
// day's trips of the chosen routes (only their stop rows are kept, so the
// memory follows the day, not the feed). The points are in line order.
//
// Trains: named "route trip" from route_short_name (else route_long_name)
// and trip_short_name (else trip_id), cut to the document's 20 characters
// with the number kept whole; sorted by their first time. Times are seconds
// from the day's midnight, 86400 and more after the next one. A stop row
// without times between timed ones gets a time interpolated by position. A
// row where passengers may neither board nor alight and the train does not
// stand is a pass. A trip of fewer than two calls is left out.
//
// Nothing a feed holds makes it fail: a missing table or column, a bad row,
// a bad time, a row naming an unknown stop or trip is left out and counted
// in the timetable's skipped list, one entry per table and reason.
class GtfsDayReader
{
public:
    // A train's label shows this much of its name: the number must be in it.
    static constexpr int nameLength = 15;

    // Told the bytes read so far of the total the feed's tables hold (when
    // known); returning false cancels the reading.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    static GtfsRouteList routes(const GtfsFeed &feed);
    // The days the feed's calendar covers, for the choice of the day.
    static std::optional<std::pair<QDate, QDate>> serviceDates(const GtfsFeed &feed);

    static GtfsDay readDay(const GtfsFeed &feed, const GtfsDayRequest &request, const Progress &progress = {});

    // "Baby Bullet 305": the route's name and the trip's number, the route
    // cut first so the number stays whole.
    static QString trainName(const QString &route, const QString &number);
    // The route as a train's name gives it: its short name; without one the
    // long name where it fits beside the number, else the long name's
    // initials ("Northeast Regional" is "NR"), else nothing, so that the
    // number stands alone.
    static QString routeLabel(const QString &shortName, const QString &longName, const QString &number);
};
