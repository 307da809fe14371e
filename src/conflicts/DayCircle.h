#pragma once

#include "model/Conflict.h"
#include "model/Document.h"

#include <cmath>
#include <cstdint>
#include <tuple>

// What the tracing and the rules of the conflict check share: the day is a
// circle of 1440 minutes, a time is brought into [0, 1440) by a whole
// number of days, and passages and visits are ordered by their times, then
// train and sequence.
namespace DayCircle {

inline constexpr double day = 1440.0;

// The shift that brings a time into the day [0, 1440).
inline double shiftOf(double t)
{
    return -std::floor(t / day) * day;
}

inline bool before(double tIn, double tOut, int32_t train, int32_t seq, double tIn2, double tOut2, int32_t train2,
                   int32_t seq2)
{
    return std::tie(tIn, tOut, train, seq) < std::tie(tIn2, tOut2, train2, seq2);
}

// The span brought into the day, as every conflict holds it.
inline void setSpan(Conflict &c, double from, double to)
{
    const double shift = shiftOf(from);
    c.from = from + shift;
    c.to = to + shift;
}

// A conflict with a train that runs as required is a warning.
inline Conflict::Severity severity(const Document &doc, int32_t a, int32_t b)
{
    const bool asRequired =
        doc.trains[static_cast<size_t>(a)].podlePotreby != 0 || doc.trains[static_cast<size_t>(b)].podlePotreby != 0;
    return asRequired ? Conflict::Severity::Warning : Conflict::Severity::Error;
}

} // namespace DayCircle
