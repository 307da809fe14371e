#pragma once

// From a day of real trains to the stations of one line, the
// same whichever timetable the day was read from: the two ends most of the
// day's trains share, the points between two ends in line order, and a
// plan of stations with their positions in metres and their kinds.
//
// A source places what it can first (a codebook's kilometres, a feed's
// shapes: DayPoint::metres); the plan fills in the rest from the fastest
// train's running times, and spaces the whole line that way when nothing
// was placed, saying so.

#include "io/sources/DayTimetable.h"

#include "model/Records.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace LinePlanner {

// The distance on the ground between two points given in degrees, in
// metres (on a sphere of the earth's mean radius).
double groundMetres(double latitude1, double longitude1, double latitude2, double longitude2);

// The first point of this name, compared trimmed; -1 when there is none.
int findPoint(const DayTimetable &day, const QString &name);

struct Ends
{
    int from = -1; // indices into DayTimetable::points
    int to = -1;
    int trains = 0; // trains running from one end to the other
};

// The two points most of the day's trains run between (their first and
// last calls, either way round); from is the one more of them start at.
// None when no train has two different ends.
std::optional<Ends> defaultEnds(const DayTimetable &day);

// Whether a point belongs on a line of stations: a traffic point (station,
// junction, block post, signal post, freight point), or a point where at
// least one of the day's trains stops for passengers. Timing points and
// points the trains only pass are left out.
bool isLinePoint(const DayTimetable &day, int point, const std::vector<bool> &publicStops);
// Points at which at least one train of the day stops for passengers.
std::vector<bool> publicStopsOf(const DayTimetable &day);

// The points between two ends, both included, in line order from `from`
// to `to`. The line's shape is the longest run of a train from one end to
// the other (without one, the longest train through `from`, grown at its
// ends by the trains running on); every train of the day that runs along it
// at two or more of its points then adds the points it calls at between
// two of them, after the first, whether or not it reaches either end. Only
// line points (isLinePoint) are kept. Empty when the ends are not both on
// such a line.
std::vector<int> pointsBetween(const DayTimetable &day, int from, int to);

struct LineOrder
{
    std::vector<int> points; // as pointsBetween gives them
    // Trains that meet the line but could not be placed on it: one coming
    // back to a point it left, or passing its points in another order.
    QStringList unplaced;
};
LineOrder lineOrder(const DayTimetable &day, int from, int to);

// The whole route of a feed's chosen routes: the line the most trains
// share (defaultEnds), grown at both ends by every train that runs on
// beyond them, and its two outermost points; from is the one more trains
// start at. None when no train has two different ends.
std::optional<Ends> routeEnds(const DayTimetable &day);

struct LineChoice
{
    std::vector<int> line; // as pointsBetween gives it
    QStringList unplaced;  // as lineOrder names them
    QString error;         // why there is none, as the dialog and the command line show it
};

// The line between two ends named as the user names them (compared
// trimmed): the day has no train, an end is not a point of the day, the
// ends are one point, or no train runs from one to the other.
LineChoice lineBetween(const DayTimetable &day, const QString &from, const QString &to);

// "Dne 4. 3. 2026 nejede žádný vlak."
QString noTrainsText(QDate day);

struct PlanStation
{
    int point = -1; // into DayTimetable::points
    QString name;
    int32_t metres = 0;
    StationKind kind;       // stationIndex left 0
    bool estimated = false; // placed from running times, not by the source
};

struct LinePlan
{
    std::vector<PlanStation> stations; // in line order
    int estimated = 0;                 // stations placed from running times
    bool spacedByRunningTimes = false; // the source placed none: the whole line is
    // Added to every position so that none lies below 0 (a point chained on
    // beyond the line's zero).
    int32_t shiftMetres = 0;
};

// Running times are turned into distance at this speed where nothing else
// gives one: a minute of the fastest train is a kilometre.
constexpr double metresPerSecondOfRunning = 1000.0 / 60.0;

// The stations of a line (points in line order, as pointsBetween gives
// them), with the metres the source gave and the rest from running times.
LinePlan plan(const DayTimetable &day, const std::vector<int> &line);

// What the user is told about positions a plan estimated: the whole line
// spaced by running times, or some of its stations; empty when the source
// placed every station.
QString estimatedText(const LinePlan &plan);

// Kinds for the points of a line (as pointsBetween gives it) that the
// source left Unknown (a GTFS feed, CZPTT without a codebook): a station
// where the line ends or some train of the day starts or ends, trains being
// turned, stabled or overtaken there; a halt elsewhere.
void guessKinds(DayTimetable &day, const std::vector<int> &line);

// The document's kind flags for a point of the line: a station is a
// Dopravna alone; other traffic points carry Zastávka too when trains stop
// there for passengers; a point of unknown kind is a Zastávka.
StationKind stationKindOf(DayPointKind kind, bool publicStop);

} // namespace LinePlanner
