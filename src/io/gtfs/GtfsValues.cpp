#include "GtfsValues.h"

#include <charconv>
#include <cmath>

namespace GtfsValues {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Exactly two digits below 60.
std::optional<int32_t> sexagesimal(std::string_view text)
{
    if (text.size() != 2 || !isDigit(text[0]) || !isDigit(text[1]))
        return std::nullopt;
    const int32_t v = (text[0] - '0') * 10 + (text[1] - '0');
    if (v >= 60)
        return std::nullopt;
    return v;
}

} // namespace

std::optional<int32_t> time(std::string_view text)
{
    const size_t first = text.find(':');
    if (first == std::string_view::npos || first == 0 || first > 3)
        return std::nullopt;
    int32_t hours = 0;
    for (size_t i = 0; i < first; ++i) {
        if (!isDigit(text[i]))
            return std::nullopt;
        hours = hours * 10 + (text[i] - '0');
    }
    const std::string_view rest = text.substr(first + 1);
    if (rest.size() != 5 || rest[2] != ':')
        return std::nullopt;
    const std::optional<int32_t> minutes = sexagesimal(rest.substr(0, 2));
    const std::optional<int32_t> seconds = sexagesimal(rest.substr(3, 2));
    if (!minutes || !seconds)
        return std::nullopt;
    return hours * 3600 + *minutes * 60 + *seconds;
}

std::optional<QDate> date(std::string_view text)
{
    if (text.size() != 8)
        return std::nullopt;
    int v[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    size_t pos = 0;
    for (int part = 0; part < 3; ++part) {
        for (int i = 0; i < widths[part]; ++i, ++pos) {
            if (!isDigit(text[pos]))
                return std::nullopt;
            v[part] = v[part] * 10 + (text[pos] - '0');
        }
    }
    const QDate d(v[0], v[1], v[2]);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

std::optional<double> number(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    // from_chars takes no leading '+'.
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-')
            return std::nullopt;
    }
    double v = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int32_t> integer(std::string_view text)
{
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    int32_t v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return v;
}

bool validCoordinates(double latitude, double longitude)
{
    return std::abs(latitude) <= 90.0 && std::abs(longitude) <= 180.0 && (latitude != 0.0 || longitude != 0.0);
}

} // namespace GtfsValues
