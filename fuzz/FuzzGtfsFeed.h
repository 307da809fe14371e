#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <map>

// How the GTFS target's input holds a feed: its tables one after another in
// a fixed order, separated by NUL bytes; a table the input does not reach
// is missing from the feed. The seeds are written the same way, a table the
// seed's feed lacks as an empty part.
namespace FuzzGtfsFeed {

inline const char *const tables[] = {"stops.txt",          "routes.txt",     "trips.txt", "calendar.txt",
                                     "calendar_dates.txt", "stop_times.txt", "shapes.txt"};

inline std::map<QString, QByteArray> split(const QByteArray &input)
{
    std::map<QString, QByteArray> feed;
    const QList<QByteArray> parts = input.split('\0');
    for (qsizetype i = 0; i < parts.size() && i < qsizetype(std::size(tables)); ++i)
        feed[QString::fromLatin1(tables[i])] = parts[i];
    return feed;
}

inline QByteArray join(const std::map<QString, QByteArray> &feed)
{
    QByteArray out;
    for (size_t i = 0; i < std::size(tables); ++i) {
        const auto it = feed.find(QString::fromLatin1(tables[i]));
        if (i > 0)
            out += '\0';
        if (it != feed.end())
            out += it->second;
    }
    return out;
}

} // namespace FuzzGtfsFeed
