#pragma once

// One day of real trains as a published timetable gives them (CZPTT
// messages of the Czech national timetable, a GTFS feed), before any of it
// becomes a document: the points the trains pass and every train running on
// that day, with its calls in running order.
//
// A reader fills it for the day the user chose; the line planner then picks
// the points between two end stations and gives them positions (each source
// its own way: a codebook's kilometres, a feed's shapes), and the trains are
// turned into the document's rows. Nothing here knows the document.

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// What a point of the line is, as far as the source knows. Timing points
// (kilometre posts, boundaries, chainage jumps, sidings on the open line)
// never become stations.
enum class DayPointKind : uint8_t {
    Unknown,
    Station,      // a traffic point: station or dopravna
    Halt,         // zastávka
    Junction,     // odbočka
    FreightPoint, // nákladiště
    BlockPost,    // hradlo
    SignalPost,   // hláska
    TimingPoint,
};

struct DayPoint
{
    QString key;  // the source's identifier: SR70 primary code, GTFS stop or parent-station id
    QString name; // as published, trimmed
    DayPointKind kind = DayPointKind::Unknown;
    std::optional<double> latitude; // decimal degrees
    std::optional<double> longitude;
    // Position on the chosen line in metres, once a source has worked it out.
    std::optional<int32_t> metres;
};

struct DayCall
{
    int32_t point = -1; // index into DayTimetable::points
    // Seconds from midnight at the start of the chosen day, as the clock
    // shows them: negative before it, 86400 and more after the next
    // midnight. A train passing without stopping has one time (the
    // departure, or the arrival where the source gives only that).
    std::optional<int32_t> arrival;
    std::optional<int32_t> departure;
    bool stops = false;       // the train stands here
    bool publicStop = false;  // passengers board or alight here
    bool shortDwell = false;  // a stop under half a minute
};

struct DayTrain
{
    QString name;   // as the document names it ("Os 28400", "Bullet 305")
    QString source; // what it was read from (file, archive member, trip id), for messages
    std::vector<DayCall> calls; // in running order
};

// Input left out of the day, with its source named, for the summary the
// user sees ("Přeskočeno 2 souborů: …").
struct DaySkipped
{
    QString source;
    QString reason;
};

struct DayTimetable
{
    QDate day;
    std::vector<DayPoint> points;
    std::vector<DayTrain> trains;
    std::vector<DaySkipped> skipped;
    int duplicates = 0; // messages read twice (or older versions), left out
};
