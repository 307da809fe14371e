#include "ClockTime.h"

#include "Errors.h"

#include <cmath>
#include <limits>

namespace {

constexpr int64_t msPerDay = 86400000;

std::string quoted(QByteArrayView text)
{
    return "'" + std::string(text.data(), static_cast<size_t>(text.size())) + "' is not a valid integer value";
}

double encodeTime(int h, int m, int s)
{
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        throw ConversionError("Invalid argument to time encode");
    return makeTime(h, m, s);
}

QByteArrayView part(QByteArrayView text, qsizetype from, qsizetype length)
{
    if (from >= text.size())
        return {};
    return text.sliced(from, std::min(length, text.size() - from));
}

// An hour, minute or second of a clock text. The hour may have a blank for
// its first digit, as formatClockTime writes it.
int clockNumber(QByteArrayView text, bool isHour)
{
    int value = 0;
    const bool blank = isHour && text.size() == 2 && text[0] == ' ';
    if (!tryParseClockNumber(blank ? text.sliced(1) : text, value))
        throw ConversionError(quoted(text));
    return value;
}

} // namespace

namespace {

// Whole milliseconds of the day.
int64_t millisecondOfDay(double time)
{
    double scaled = std::nearbyint(std::fabs(time) * static_cast<double>(msPerDay));
    if (!std::isfinite(scaled))
        scaled = 0;
    // Nearly every time lies within its day, where the remainder is the
    // number itself.
    if (scaled < static_cast<double>(msPerDay))
        return static_cast<int64_t>(scaled);
    return static_cast<int64_t>(std::fmod(scaled, static_cast<double>(msPerDay)));
}

} // namespace

ClockParts decodeTime(double time)
{
    ClockParts p;
    const int64_t ms = millisecondOfDay(time);
    p.hours = static_cast<int>(ms / 3600000);
    p.minutes = static_cast<int>(ms / 60000 % 60);
    p.seconds = static_cast<int>(ms / 1000 % 60);
    p.milliseconds = static_cast<int>(ms % 1000);
    return p;
}

int minuteOfDay(double time)
{
    return static_cast<int>(millisecondOfDay(time) / 60000); // hours * 60 + minutes
}

double makeTime(int hours, int minutes, int seconds)
{
    return static_cast<double>(hours * 3600 + minutes * 60 + seconds) / 86400.0;
}

QString formatClockTime(double time, bool withSeconds)
{
    const ClockParts p = decodeTime(time);
    QString text =
        QString::number(p.hours).rightJustified(2, u' ') + u':' + QString::number(p.minutes).rightJustified(2, u'0');
    if (withSeconds)
        text += u':' + QString::number(p.seconds).rightJustified(2, u'0');
    return text;
}

QString formatTrainTime(double time, bool withSeconds)
{
    const double ms = std::nearbyint(time * static_cast<double>(msPerDay));
    // Past what 64 bits of milliseconds hold there is no time of a train.
    if (!(ms >= 0) || ms > 1e18)
        return {};
    const auto total = static_cast<int64_t>(ms);
    QString text = QString::number(total / 3600000).rightJustified(2, u' ') + u':'
                   + QString::number(total / 60000 % 60).rightJustified(2, u'0');
    if (withSeconds)
        text += u':' + QString::number(total / 1000 % 60).rightJustified(2, u'0');
    return text;
}

double parseClockDigits(QByteArrayView text, bool withSeconds)
{
    const int h = clockNumber(part(text, 0, 2), true);
    const int m = clockNumber(part(text, 2, 2), false);
    const int s = withSeconds ? clockNumber(part(text, 4, 2), false) : 0;
    return encodeTime(h, m, s);
}

double parseClockDigits(const QString &text, bool withSeconds)
{
    return parseClockDigits(QByteArrayView(text.toLatin1()), withSeconds);
}

double parseClockText(QByteArrayView text, bool withSeconds)
{
    const int h = clockNumber(part(text, 0, 2), true);
    const int m = clockNumber(part(text, 3, 2), false);
    const int s = withSeconds ? clockNumber(part(text, 6, 2), false) : 0;
    return encodeTime(h, m, s);
}

double parseClockText(const QString &text, bool withSeconds)
{
    return parseClockText(QByteArrayView(text.toLatin1()), withSeconds);
}

bool tryParseClockNumber(QByteArrayView text, int &value)
{
    if (text.isEmpty() || text.size() > 9) // nine digits stay within an int
        return false;
    int v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    value = v;
    return true;
}

bool tryParseInteger(QByteArrayView text, int32_t &value)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i >= text.size())
        return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        v = v * base + digit;
        if (v > int64_t(std::numeric_limits<int32_t>::max()) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int32_t>::max() || v < std::numeric_limits<int32_t>::min())
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

int32_t parseInteger(QByteArrayView text)
{
    int32_t v = 0;
    if (!tryParseInteger(text, v))
        throw ConversionError(quoted(text));
    return v;
}
