#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

// Times of day are day fractions (one minute = 1/1440). These helpers turn
// them into clock parts and texts and back. Parsing raises ConversionError
// for a text that is not a number or not a valid time of day.

struct ClockParts
{
    int hours = 0; // 0..23
    int minutes = 0;
    int seconds = 0;
    int milliseconds = 0;
};

// The time of day of a day fraction: whole milliseconds (rounded half to
// even), days dropped.
ClockParts decodeTime(double time);

// hours * 60 + minutes of a time, seconds ignored.
int minuteOfDay(double time);

// The day fraction of a clock time; no range check.
double makeTime(int hours, int minutes, int seconds = 0);

// " 7:05", "12:00", with seconds " 9:05:30".
QString formatClockTime(double time, bool withSeconds = false);

// A time of a train's run, which goes on past midnight: the hours count on
// ("24:12:30" is 0:12:30 of the next day) instead of starting the day
// again. Otherwise as formatClockTime. A time before the day's midnight
// (or not a number) has no text.
QString formatTrainTime(double time, bool withSeconds = false);

// Hours from characters 1-2, minutes from 3-4, seconds from 5-6 when asked.
// Each part is decimal digits; the hours may have a blank for their first
// digit. A sign, '$' or a blank anywhere else is a conversion error.
double parseClockDigits(QByteArrayView text, bool withSeconds = false);
double parseClockDigits(const QString &text, bool withSeconds = false);

// The same from text with separators: characters 1-2, 4-5 and 7-8.
double parseClockText(QByteArrayView text, bool withSeconds = false);
double parseClockText(const QString &text, bool withSeconds = false);

// A part of a clock time: decimal digits and nothing else (no sign, '$' or
// blank); false for anything else.
bool tryParseClockNumber(QByteArrayView text, int &value);

// An integer as the classic runtime reads it: leading blanks, an optional
// sign, decimal digits or '$' and hex digits, nothing after them.
int32_t parseInteger(QByteArrayView text);
bool tryParseInteger(QByteArrayView text, int32_t &value);
