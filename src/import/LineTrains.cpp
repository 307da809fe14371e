#include "LineTrains.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Document.h"

#include <QHash>

namespace {

constexpr int32_t secondsPerDay = 86400;

struct RowTime
{
    double time = 0.0;
    uint8_t halfMinute = 0;
};

// The time of day of seconds counted from the chosen day's midnight, as a
// whole minute and the half-minute flag.
RowTime rowTime(int32_t seconds)
{
    const int32_t ofDay = ((seconds % secondsPerDay) + secondsPerDay) % secondsPerDay;
    RowTime t;
    t.time = makeTime(ofDay / 3600, ofDay % 3600 / 60);
    t.halfMinute = ofDay % 60 >= 30 ? 1 : 0;
    return t;
}

void addRow(Train &train, int32_t station, int32_t seconds, bool shortDwell)
{
    const RowTime t = rowTime(seconds);
    Document::addRow(train, station, t.time, 0, t.halfMinute, shortDwell ? 1 : 0);
}

struct Match
{
    const DayCall *call;
    int32_t station;
};

Train trainOf(const DayTrain &day, const std::vector<Match> &matches)
{
    Train train;
    train.name = cp1250::fromUnicode(day.name);
    for (size_t k = 0; k < matches.size(); ++k) {
        const DayCall &c = *matches[k].call;
        const int32_t station = matches[k].station;
        const std::optional<int32_t> leaves = c.departure ? c.departure : c.arrival;
        const std::optional<int32_t> reaches = c.arrival ? c.arrival : c.departure;
        if (k == 0) {
            addRow(train, station, *leaves, false);
        } else if (k + 1 == matches.size()) {
            addRow(train, station, *reaches, false);
        } else if (c.stops && c.arrival && c.departure && *c.arrival != *c.departure) {
            addRow(train, station, *c.arrival, false);
            addRow(train, station, *c.departure, false);
        } else {
            addRow(train, station, *leaves, c.shortDwell);
        }
    }
    return train;
}

} // namespace

namespace LineTrains {

std::vector<int32_t> stationsByName(const QStringList &stationNames, const DayTimetable &day)
{
    QHash<QString, int32_t> stationByName;
    for (qsizetype i = 0; i < stationNames.size(); ++i) {
        const QString name = stationNames[i].trimmed();
        if (!stationByName.contains(name))
            stationByName.insert(name, static_cast<int32_t>(i + 1));
    }
    std::vector<int32_t> stationOfPoint(day.points.size(), 0);
    for (size_t p = 0; p < day.points.size(); ++p)
        stationOfPoint[p] = stationByName.value(day.points[p].name.trimmed(), 0);
    return stationOfPoint;
}

} // namespace LineTrains

namespace {

// The calls of a train at stations of the line, in running order.
std::vector<Match> matchesOf(const DayTrain &train, const std::vector<int32_t> &stationOfPoint)
{
    std::vector<Match> matches;
    for (const DayCall &c : train.calls) {
        if (c.point < 0 || static_cast<size_t>(c.point) >= stationOfPoint.size() || (!c.arrival && !c.departure))
            continue;
        if (const int32_t station = stationOfPoint[static_cast<size_t>(c.point)])
            matches.push_back({&c, station});
    }
    return matches;
}

bool reachesTwoStations(const std::vector<Match> &matches)
{
    for (const Match &m : matches) {
        if (m.station != matches.front().station)
            return true;
    }
    return false;
}

} // namespace

namespace LineTrains {

int countTrains(const QStringList &stationNames, const DayTimetable &day)
{
    return countTrains(stationsByName(stationNames, day), day);
}

int countTrains(const std::vector<int32_t> &stationOfPoint, const DayTimetable &day)
{
    int count = 0;
    for (const DayTrain &t : day.trains)
        count += reachesTwoStations(matchesOf(t, stationOfPoint)) ? 1 : 0;
    return count;
}

ImportSummary appendTo(Document &doc, const DayTimetable &day)
{
    QStringList names;
    for (const Station &s : doc.stations)
        names << cp1250::toUnicode(s.name.view());
    return appendTo(doc, day, stationsByName(names, day));
}

ImportSummary appendTo(Document &doc, const DayTimetable &day, const std::vector<int32_t> &stations)
{
    ImportSummary summary = ImportSummary::leftOutOf(day);
    // A row may only name a station the document has.
    std::vector<int32_t> stationOfPoint = stations;
    const auto count = static_cast<int32_t>(doc.stations.size());
    for (int32_t &s : stationOfPoint) {
        if (s < 0 || s > count)
            s = 0;
    }

    QHash<QByteArray, size_t> trainByName;
    for (size_t t = doc.trains.size(); t-- > 0;)
        trainByName.insert(doc.trains[t].name.toByteArray(), t);

    for (const DayTrain &dayTrain : day.trains) {
        const std::vector<Match> matches = matchesOf(dayTrain, stationOfPoint);
        if (!reachesTwoStations(matches)) {
            if (!matches.empty())
                ++summary.oneStation;
            continue;
        }
        Train train = trainOf(dayTrain, matches);
        const auto existing = trainByName.constFind(train.name.toByteArray());
        if (existing != trainByName.constEnd()) {
            Train &old = doc.trains[existing.value()];
            train.rusici = old.rusici;
            train.podlePotreby = old.podlePotreby;
            old = std::move(train);
            trainByName.erase(existing);
            ++summary.replaced;
        } else {
            doc.trains.push_back(std::move(train));
            ++summary.added;
        }
    }
    doc.trainCount = static_cast<int32_t>(doc.trains.size());
    return summary;
}

} // namespace LineTrains
