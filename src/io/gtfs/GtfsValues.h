#pragma once

// The value forms of a GTFS feed's fields, read strictly: a field that does
// not have its form is no value, and the caller counts the row it came from.

#include <QDate>

#include <cstdint>
#include <optional>
#include <string_view>

namespace GtfsValues {

// "H:MM:SS" or "HH:MM:SS" (hours of one to three digits, past 24 on trips
// that run after midnight) as seconds from the service day's midnight.
// "25:61:00", "5:0:00" and "-1:00:00" are no times.
std::optional<int32_t> time(std::string_view text);

// "YYYYMMDD".
std::optional<QDate> date(std::string_view text);

// A decimal number as GTFS writes it ("12.5", "-122.39", "1e3"); never
// infinite or NaN.
std::optional<double> number(std::string_view text);

// A whole number in the range of int32_t, digits with an optional sign.
std::optional<int32_t> integer(std::string_view text);

// A latitude and longitude that can be a place on Earth; (0, 0), the value
// of a field left at zero, is not.
bool validCoordinates(double latitude, double longitude);

} // namespace GtfsValues
