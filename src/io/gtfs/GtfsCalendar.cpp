#include "GtfsCalendar.h"

#include "GtfsFeed.h"
#include "GtfsMessages.h"
#include "GtfsSkipTally.h"
#include "GtfsTableReader.h"
#include "GtfsValues.h"

namespace {

const QString calendarFile = QStringLiteral("calendar.txt");
const QString datesFile = QStringLiteral("calendar_dates.txt");

constexpr std::string_view weekdays[7] = {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};

} // namespace

std::unordered_set<std::string> GtfsCalendar::servicesOn(const GtfsFeed &feed, QDate day, GtfsSkipTally &tally)
{
    std::unordered_set<std::string> services;
    if (!feed.hasTable(calendarFile) && !feed.hasTable(datesFile)) {
        tally.table(calendarFile, GtfsMessages::missingCalendar);
        return services;
    }

    GtfsTableReader calendar(feed, calendarFile, tally, {});
    if (calendar.require({"service_id", "start_date", "end_date"})
        && calendar.require(
            {weekdays[0], weekdays[1], weekdays[2], weekdays[3], weekdays[4], weekdays[5], weekdays[6]})) {
        const int id = calendar.column("service_id");
        const int start = calendar.column("start_date");
        const int end = calendar.column("end_date");
        const int weekday = calendar.column(weekdays[day.dayOfWeek() - 1]);
        while (calendar.next()) {
            const std::optional<QDate> from = GtfsValues::date(calendar.field(start));
            const std::optional<QDate> to = GtfsValues::date(calendar.field(end));
            const std::string_view runs = calendar.field(weekday);
            if (!from || !to) {
                calendar.skipRow(GtfsMessages::badDate);
                continue;
            }
            if (calendar.field(id).empty() || (runs != "0" && runs != "1")) {
                calendar.skipRow(GtfsMessages::badRow);
                continue;
            }
            if (runs == "1" && *from <= day && day <= *to)
                services.emplace(calendar.field(id));
        }
    }

    GtfsTableReader dates(feed, datesFile, tally, {});
    if (dates.require({"service_id", "date", "exception_type"})) {
        const int id = dates.column("service_id");
        const int date = dates.column("date");
        const int type = dates.column("exception_type");
        while (dates.next()) {
            const std::optional<QDate> d = GtfsValues::date(dates.field(date));
            const std::string_view t = dates.field(type);
            if (!d) {
                dates.skipRow(GtfsMessages::badDate);
                continue;
            }
            if (dates.field(id).empty() || (t != "1" && t != "2")) {
                dates.skipRow(GtfsMessages::badRow);
                continue;
            }
            if (*d != day)
                continue;
            if (t == "1")
                services.emplace(dates.field(id));
            else
                services.erase(std::string(dates.field(id)));
        }
    }
    return services;
}

std::optional<std::pair<QDate, QDate>> GtfsCalendar::dateRange(const GtfsFeed &feed)
{
    GtfsSkipTally ignored;
    QDate first;
    QDate last;
    const auto take = [&](QDate from, QDate to) {
        if (!first.isValid() || from < first)
            first = from;
        if (!last.isValid() || to > last)
            last = to;
    };
    GtfsTableReader calendar(feed, calendarFile, ignored, {});
    if (calendar.require({"start_date", "end_date"})) {
        const int start = calendar.column("start_date");
        const int end = calendar.column("end_date");
        while (calendar.next()) {
            const std::optional<QDate> from = GtfsValues::date(calendar.field(start));
            const std::optional<QDate> to = GtfsValues::date(calendar.field(end));
            if (from && to && *from <= *to)
                take(*from, *to);
        }
    }
    GtfsTableReader dates(feed, datesFile, ignored, {});
    if (dates.require({"date", "exception_type"})) {
        const int date = dates.column("date");
        const int type = dates.column("exception_type");
        while (dates.next()) {
            const std::optional<QDate> d = GtfsValues::date(dates.field(date));
            if (d && dates.field(type) == "1")
                take(*d, *d);
        }
    }
    if (!first.isValid())
        return std::nullopt;
    return std::make_pair(first, last);
}
