#include "TimetableDiff.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Document.h"
#include "model/StationMatch.h"

#include <QHash>

#include <algorithm>

namespace TimetableDiff {

namespace {

constexpr int32_t day = 86400;

// One stay at a station: the first and the last row there.
struct Visit
{
    QByteArray key;  // the station's name, or a kilometre point's "km N"
    QString station; // as the row shows it
    int32_t arrival = 0;
    int32_t departure = 0;
};

int32_t secondOfDay(const TrainRow &row)
{
    const ClockParts p = decodeTime(row.time);
    return p.hours * 3600 + p.minutes * 60 + p.seconds + (row.halfMinute ? 30 : 0);
}

// The visits of a train at the stations both documents have (`shared`: the
// station indices of its own document the other one holds too).
std::vector<Visit> visits(const Document &doc, const std::vector<bool> &shared, const Train &train)
{
    std::vector<Visit> out;
    for (int k = 0; k < train.rowCount(); ++k) {
        const TrainRow row = train.row(k);
        Visit v;
        if (row.station > 0 && static_cast<size_t>(row.station) < shared.size()
            && shared[static_cast<size_t>(row.station)]) {
            const QByteArrayView name = doc.stations[static_cast<size_t>(row.station - 1)].name.view();
            v.key = StationMatch::key(name);
            v.station = cp1250::toUnicode(v.key);
        } else if (row.station < 0) {
            v.station = QStringLiteral("km %1").arg(int64_t{row.station} + 1000);
            v.key = v.station.toLatin1();
        } else {
            continue;
        }
        const int32_t second = secondOfDay(row);
        if (!out.empty() && out.back().key == v.key) {
            out.back().departure = second;
            continue;
        }
        v.arrival = v.departure = second;
        out.push_back(std::move(v));
    }
    return out;
}

// Current minus compared, the shorter way round the day.
int32_t difference(int32_t current, int32_t compared)
{
    int32_t d = (current - compared) % day;
    if (d > day / 2)
        d -= day;
    else if (d <= -day / 2)
        d += day;
    return d;
}

// Fills in how a pair differs; false when it does not.
bool differs(const std::vector<Visit> &a, const std::vector<Visit> &b, Row &row)
{
    const size_t n = std::max(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        if (i >= a.size() || i >= b.size() || a[i].key != b[i].key) {
            row.otherRoute = true;
            row.station = i < a.size() ? a[i].station : b[i].station;
            return true;
        }
        const int32_t d = a[i].arrival != b[i].arrival ? difference(a[i].arrival, b[i].arrival)
                                                       : difference(a[i].departure, b[i].departure);
        if (d != 0) {
            row.station = a[i].station;
            row.seconds = d;
            return true;
        }
    }
    return false;
}

// [i] for station i of `doc`: whether the other document has a station of
// its name. `match` is StationMatch::of(other, doc).
std::vector<bool> sharedStations(const std::vector<int32_t> &match)
{
    std::vector<bool> shared(match.size());
    for (size_t i = 1; i < match.size(); ++i)
        shared[i] = match[i] != 0;
    return shared;
}

} // namespace

Result compare(const Document &current, const Document &compared)
{
    const std::vector<bool> sharedA = sharedStations(StationMatch::of(compared, current));
    const std::vector<bool> sharedB = sharedStations(StationMatch::of(current, compared));

    // The compared trains of each name in list order, and how often each
    // name stands in either document.
    QHash<QByteArray, std::vector<int32_t>> byName;
    QHash<QByteArray, int> countA;
    for (size_t j = 0; j < compared.trains.size(); ++j)
        byName[StationMatch::key(compared.trains[j].name.view())].push_back(static_cast<int32_t>(j));
    for (const Train &t : current.trains)
        ++countA[StationMatch::key(t.name.view())];
    const auto shared = [&](const QByteArray &name) { return countA.value(name) > 1 || byName.value(name).size() > 1; };

    Result result;
    std::vector<bool> paired(compared.trains.size(), false);
    QHash<QByteArray, int> seen;
    for (size_t i = 0; i < current.trains.size(); ++i) {
        Row row;
        row.name = StationMatch::key(current.trains[i].name.view());
        row.current = static_cast<int32_t>(i);
        row.occurrence = ++seen[row.name];
        row.sharedName = shared(row.name);
        result.sharedNames = result.sharedNames || row.sharedName;
        const std::vector<int32_t> &others = byName[row.name];
        if (static_cast<size_t>(row.occurrence) > others.size()) {
            row.kind = Kind::Added;
            ++result.added;
            result.rows.push_back(std::move(row));
            continue;
        }
        row.compared = others[static_cast<size_t>(row.occurrence - 1)];
        paired[static_cast<size_t>(row.compared)] = true;
        if (!differs(visits(current, sharedA, current.trains[i]),
                     visits(compared, sharedB, compared.trains[static_cast<size_t>(row.compared)]), row)) {
            ++result.unchanged;
            continue;
        }
        row.kind = Kind::Changed;
        ++result.changed;
        result.rows.push_back(std::move(row));
    }
    QHash<QByteArray, int> seenB;
    for (size_t j = 0; j < compared.trains.size(); ++j) {
        const QByteArray name = StationMatch::key(compared.trains[j].name.view());
        const int occurrence = ++seenB[name];
        result.sharedNames = result.sharedNames || shared(name);
        if (paired[j])
            continue;
        Row row;
        row.kind = Kind::Removed;
        row.name = name;
        row.compared = static_cast<int32_t>(j);
        row.occurrence = occurrence;
        row.sharedName = shared(name);
        ++result.removed;
        result.rows.push_back(std::move(row));
    }
    return result;
}

QString word(Kind kind)
{
    switch (kind) {
    case Kind::Added:
        return QStringLiteral("přidán");
    case Kind::Removed:
        return QStringLiteral("zrušen");
    case Kind::Changed:
        return QStringLiteral("změněn");
    }
    return {};
}

QString shift(int32_t seconds)
{
    QString number;
    if (seconds % 60 == 0)
        number = QString::number(seconds / 60);
    else
        number = QString::number(seconds / 60.0, 'f', 1).replace(u'.', u',');
    return (seconds > 0 ? QStringLiteral("+") : QString()) + number + QStringLiteral(" min");
}

QString detail(const Row &row)
{
    QStringList parts;
    if (row.kind == Kind::Changed)
        parts << row.station + QStringLiteral(": ")
                     + (row.otherRoute ? QStringLiteral("jiná trasa") : shift(row.seconds));
    if (row.sharedName)
        parts << QStringLiteral("%1. vlak toho jména, porovnán v pořadí seznamu").arg(row.occurrence);
    return parts.join(QStringLiteral("; "));
}

QString line(const Row &row)
{
    QString text = cp1250::toUnicode(row.name) + u'\t' + word(row.kind);
    const QString more = detail(row);
    if (!more.isEmpty())
        text += u'\t' + more;
    return text;
}

QString summary(const Result &result)
{
    return QStringLiteral("Přidáno %1, zrušeno %2, změněno %3, beze změny %4")
        .arg(result.added)
        .arg(result.removed)
        .arg(result.changed)
        .arg(result.unchanged);
}

} // namespace TimetableDiff
