#pragma once

#include <cstdint>
#include <tuple>
#include <vector>

// One place where two trains get in each other's way, as the conflict check
// finds it on the lines as drawn. Trains are their 0-based positions in the
// document's train list; stations their 1-based indices.
struct Conflict
{
    enum class Kind : uint8_t {
        Meet,              // opposite directions in one single-track section at once
        Overtaking,        // the same direction, the lines cross inside a section
        Headway,           // the same direction, entering or leaving a section too close
        StationMeet,       // opposite directions at a station without a track for both
        StationOvertaking, // the same direction at a station without a track for both
    };
    // A conflict of a train that runs only as required ("Podle potřeby") is
    // a warning.
    enum class Severity : uint8_t { Error, Warning };

    Kind kind = Kind::Meet;
    Severity severity = Severity::Error;
    int32_t trainA = 0; // the lower of the two positions
    int32_t trainB = 0;
    // At a station: the further trains there at once that do not fit
    // either (ascending); none for the other kinds.
    std::vector<int32_t> others;
    // The section from stationLow to stationHigh (lowStation's position is
    // the smaller), or the station itself when both are the same.
    int32_t stationLow = 0;
    int32_t stationHigh = 0;
    // The time span in minutes of the day: from in [0, 1440), to >= from
    // (past 1440 when the span runs over midnight). A meet or overtaking:
    // both trains in the section; a headway: between the two entries (or
    // leavings); a station: both trains at the station.
    double from = 0.0;
    double to = 0.0;
    // Where the two lines meet (meets and overtakings whose lines cross):
    // minute of the day in [0, 1440) and the position in metres.
    bool hasPoint = false;
    double pointMinute = 0.0;
    double pointMetres = 0.0;

    bool atStation() const { return stationLow == stationHigh; }
    bool isWarning() const { return severity == Severity::Warning; }

    // Time first, then the place, the kind and the trains.
    auto key() const
    {
        return std::tie(from, stationLow, stationHigh, kind, trainA, trainB, to, hasPoint, pointMinute, pointMetres,
                        severity, others);
    }
    // The key's order, each field compared once: lists of tens of
    // thousands are sorted by it.
    bool operator<(const Conflict &o) const
    {
        if (from != o.from)
            return from < o.from;
        if (stationLow != o.stationLow)
            return stationLow < o.stationLow;
        if (stationHigh != o.stationHigh)
            return stationHigh < o.stationHigh;
        if (kind != o.kind)
            return kind < o.kind;
        if (trainA != o.trainA)
            return trainA < o.trainA;
        if (trainB != o.trainB)
            return trainB < o.trainB;
        return std::tie(to, hasPoint, pointMinute, pointMetres, severity, others)
               < std::tie(o.to, o.hasPoint, o.pointMinute, o.pointMetres, o.severity, o.others);
    }
    bool operator==(const Conflict &o) const { return key() == o.key(); }
};
