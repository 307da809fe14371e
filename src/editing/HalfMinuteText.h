#pragma once

#include <QString>

#include <cstdint>

// Running and dwell times of the travel-time profiles are whole numbers of
// half-minutes. The editors show them as minutes with a "+" for the odd half
// ("3+" is 7) and "N/A" for an entry that has no value. A running time has
// no value at 0, a dwell at -1: the caller names its kind's none value.
namespace HalfMinuteText {

inline const QString noValue = QStringLiteral("N/A");

QString format(int32_t value, int32_t none);

enum class Reading { Value, None, Unreadable };

// Trimmed and upper-cased: empty, "N/A" or "N" is None; digits m give 2m,
// m followed by "+" gives 2m + 1, "+" alone 1. Any other text is
// Unreadable and leaves the value alone.
Reading parse(const QString &text, int32_t none, int32_t &value);

} // namespace HalfMinuteText
