#pragma once

#include <QDate>

#include <optional>
#include <string>
#include <unordered_set>
#include <utility>

class GtfsFeed;
class GtfsSkipTally;

// Which services of a feed run on a day: calendar.txt's weekly patterns
// within their dates, then calendar_dates.txt's exceptions for that day
// (1 adds a service, 2 takes it away). A feed may have either file alone.
class GtfsCalendar
{
public:
    static std::unordered_set<std::string> servicesOn(const GtfsFeed &feed, QDate day, GtfsSkipTally &tally);

    // The first and last day on which the calendar can run a service, for
    // the choice of the day; nullopt when it names no day.
    static std::optional<std::pair<QDate, QDate>> dateRange(const GtfsFeed &feed);
};
