#pragma once

#include "io/sources/DayTimetable.h"

#include <QString>

#include <optional>
#include <vector>

// Small days of trains written out in tests: points by name, calls by point
// name and clock times.
namespace DayBuilder {

struct Call
{
    const char *point;
    int arrival = -1; // seconds from the day's midnight; -1 none
    int departure = -1;
    bool publicStop = true;
    bool shortDwell = false;
};

inline int hm(int hours, int minutes, int seconds = 0)
{
    return hours * 3600 + minutes * 60 + seconds;
}

inline int pointOf(DayTimetable &day, const QString &name)
{
    for (size_t i = 0; i < day.points.size(); ++i) {
        if (day.points[i].name == name)
            return static_cast<int>(i);
    }
    DayPoint p;
    p.key = name;
    p.name = name;
    day.points.push_back(p);
    return static_cast<int>(day.points.size() - 1);
}

inline DayTrain &addTrain(DayTimetable &day, const char *name, const std::vector<Call> &calls)
{
    DayTrain t;
    t.name = QString::fromUtf8(name);
    t.source = t.name + QStringLiteral(".xml");
    for (const Call &c : calls) {
        DayCall d;
        d.point = pointOf(day, QString::fromUtf8(c.point));
        if (c.arrival >= 0)
            d.arrival = c.arrival;
        if (c.departure >= 0)
            d.departure = c.departure;
        d.publicStop = c.publicStop;
        d.stops = c.publicStop || (c.arrival >= 0 && c.departure > c.arrival);
        d.shortDwell = c.shortDwell;
        t.calls.push_back(d);
    }
    day.trains.push_back(t);
    return day.trains.back();
}

inline std::vector<QString> names(const DayTimetable &day, const std::vector<int> &points)
{
    std::vector<QString> n;
    for (int p : points)
        n.push_back(day.points[static_cast<size_t>(p)].name);
    return n;
}

} // namespace DayBuilder
