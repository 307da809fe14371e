#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// Positions along the line are held in whole metres. People read and type
// them as kilometres with up to three decimals and a decimal comma ("24,151",
// "7,5", "12"); the diagram divides by a thousand where it needs kilometres.
namespace Kilometres {

constexpr int32_t metresPerKm = 1000;

inline double toKm(int64_t metres)
{
    return static_cast<double>(metres) / metresPerKm;
}

// The whole kilometres a position in 32-bit metres reaches either way.
constexpr int32_t maxWholeKm = 2147483;

// Metres of a whole kilometre, held to +-maxWholeKm.
int32_t wholeToMetres(int64_t km);

// The whole kilometre nearest a position, halves to even (7 500 m is 8,
// 6 500 m is 6): what a station record of the file carries.
int32_t nearestWhole(int64_t metres);

// The position as a person reads it: a decimal comma, no trailing zeros, no
// fraction for a whole kilometre ("24,151", "7,5", "12", "-0,35").
QString text(int64_t metres);

enum class ParseError {
    None,
    Empty,           // nothing but blanks
    NotANumber,      // letters, two separators, a sign alone ...
    TooManyDecimals, // more than metres
    OutOfRange,      // beyond the limit in either direction
};

struct Parsed
{
    int32_t metres = 0;
    ParseError error = ParseError::None;
    bool ok() const { return error == ParseError::None; }
};

// A kilometre as typed: blanks around it, an optional sign, digits, and a
// decimal comma or point followed by at most three digits. Positions beyond
// limitKm kilometres either way, or beyond 32-bit metres, are refused.
Parsed parse(QStringView text, int32_t limitKm);

} // namespace Kilometres
