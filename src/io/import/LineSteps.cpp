#include "LineSteps.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace {

constexpr double earthRadiusMetres = 6371008.8;

// Positions stay far inside 32 bits whatever the data.
int32_t wholeMetres(double metres)
{
    return static_cast<int32_t>(std::nearbyint(std::clamp(metres, -1.0e9, 1.0e9)));
}

// When the train leaves a call and when it reaches it.
std::optional<int32_t> leaves(const DayCall &c)
{
    return c.departure ? c.departure : c.arrival;
}

std::optional<int32_t> reaches(const DayCall &c)
{
    return c.arrival ? c.arrival : c.departure;
}

// The first call of a train at each point of a set.
std::vector<int> callsAt(const DayTrain &train, const QHash<int, int> &lineIndex, size_t lineSize)
{
    std::vector<int> calls(lineSize, -1);
    for (size_t c = 0; c < train.calls.size(); ++c) {
        const auto it = lineIndex.constFind(train.calls[c].point);
        if (it != lineIndex.constEnd() && calls[static_cast<size_t>(it.value())] < 0)
            calls[static_cast<size_t>(it.value())] = static_cast<int>(c);
    }
    return calls;
}

// Seconds the fastest train needs between neighbouring points of the line:
// 0 where no train runs between them.
std::vector<double> fastestRunningTimes(const DayTimetable &day, const std::vector<int> &line)
{
    QHash<int, int> lineIndex;
    for (size_t i = 0; i < line.size(); ++i)
        lineIndex.insert(line[i], static_cast<int>(i));
    std::vector<double> fastest(line.size() > 0 ? line.size() - 1 : 0, 0.0);
    std::vector<bool> runs(fastest.size(), false);
    for (const DayTrain &train : day.trains) {
        const std::vector<int> calls = callsAt(train, lineIndex, line.size());
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            const int a = calls[i];
            const int b = calls[i + 1];
            if (a < 0 || b < 0 || a == b)
                continue;
            const DayCall &first = train.calls[static_cast<size_t>(std::min(a, b))];
            const DayCall &second = train.calls[static_cast<size_t>(std::max(a, b))];
            const std::optional<int32_t> from = leaves(first);
            const std::optional<int32_t> to = reaches(second);
            if (!from || !to)
                continue;
            runs[i] = true;
            const double seconds = static_cast<double>(*to) - *from;
            if (seconds > 0 && (fastest[i] == 0.0 || seconds < fastest[i]))
                fastest[i] = seconds;
        }
    }
    for (size_t i = 0; i < fastest.size(); ++i) {
        // Trains within one minute of each other, or none between them.
        if (fastest[i] == 0.0)
            fastest[i] = runs[i] ? 30.0 : 60.0;
    }
    return fastest;
}

} // namespace

namespace LineSteps {

double groundMetres(double latitude1, double longitude1, double latitude2, double longitude2)
{
    const double toRadians = std::numbers::pi / 180.0;
    const double p1 = latitude1 * toRadians;
    const double p2 = latitude2 * toRadians;
    const double dp = p2 - p1;
    const double dl = (longitude2 - longitude1) * toRadians;
    const double h =
        std::sin(dp / 2) * std::sin(dp / 2) + std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
    return 2.0 * earthRadiusMetres * std::asin(std::min(1.0, std::sqrt(h)));
}

int findPoint(const DayTimetable &day, const QString &name)
{
    const QString wanted = name.trimmed();
    for (size_t i = 0; i < day.points.size(); ++i) {
        if (day.points[i].name.trimmed() == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<Ends> defaultEnds(const DayTimetable &day)
{
    struct Count
    {
        int trains = 0;
        int order = 0;             // the first train with this pair
        std::map<int, int> starts; // trains starting at each end
    };
    std::map<std::pair<int, int>, Count> pairs;
    int order = 0;
    for (const DayTrain &t : day.trains) {
        ++order;
        if (t.calls.empty())
            continue;
        const int first = t.calls.front().point;
        const int last = t.calls.back().point;
        if (first == last)
            continue;
        Count &c = pairs[{std::min(first, last), std::max(first, last)}];
        if (c.trains++ == 0)
            c.order = order;
        ++c.starts[first];
    }
    const Count *best = nullptr;
    std::pair<int, int> bestPair;
    for (const auto &[pair, count] : pairs) {
        if (!best || count.trains > best->trains || (count.trains == best->trains && count.order < best->order)) {
            best = &count;
            bestPair = pair;
        }
    }
    if (!best)
        return std::nullopt;
    const int startsAtFirst = best->starts.count(bestPair.first) ? best->starts.at(bestPair.first) : 0;
    const int startsAtSecond = best->starts.count(bestPair.second) ? best->starts.at(bestPair.second) : 0;
    Ends ends;
    ends.trains = best->trains;
    const bool firstLeads = startsAtFirst > startsAtSecond
                            || (startsAtFirst == startsAtSecond
                                && day.points[static_cast<size_t>(bestPair.first)].name
                                       <= day.points[static_cast<size_t>(bestPair.second)].name);
    ends.from = firstLeads ? bestPair.first : bestPair.second;
    ends.to = firstLeads ? bestPair.second : bestPair.first;
    return ends;
}

std::vector<bool> publicStopsOf(const DayTimetable &day)
{
    std::vector<bool> stops(day.points.size(), false);
    for (const DayTrain &t : day.trains) {
        for (const DayCall &c : t.calls) {
            if (c.publicStop && c.point >= 0 && static_cast<size_t>(c.point) < stops.size())
                stops[static_cast<size_t>(c.point)] = true;
        }
    }
    return stops;
}

bool isLinePoint(const DayTimetable &day, int point, const std::vector<bool> &publicStops)
{
    switch (day.points[static_cast<size_t>(point)].kind) {
    case DayPointKind::Station:
    case DayPointKind::Junction:
    case DayPointKind::BlockPost:
    case DayPointKind::SignalPost:
    case DayPointKind::FreightPoint:
        return true;
    case DayPointKind::Unknown:
    case DayPointKind::Halt:
    case DayPointKind::TimingPoint:
        break;
    }
    return publicStops[static_cast<size_t>(point)];
}

std::vector<int> pointsBetween(const DayTimetable &day, int from, int to)
{
    if (from < 0 || to < 0 || from == to)
        return {};
    // Each train's points from one end to the other, in its running order.
    struct Run
    {
        std::vector<int> points;
        bool reversed = false; // runs from `to` to `from`
    };
    std::vector<Run> runs;
    for (const DayTrain &t : day.trains) {
        int a = -1;
        int b = -1;
        for (size_t c = 0; c < t.calls.size(); ++c) {
            if (t.calls[c].point == from && a < 0)
                a = static_cast<int>(c);
            if (t.calls[c].point == to && b < 0)
                b = static_cast<int>(c);
        }
        if (a < 0 || b < 0)
            continue;
        Run run;
        run.reversed = b < a;
        for (int c = std::min(a, b); c <= std::max(a, b); ++c) {
            const int p = t.calls[static_cast<size_t>(c)].point;
            if (run.points.empty() || run.points.back() != p)
                run.points.push_back(p);
        }
        runs.push_back(std::move(run));
    }
    if (runs.empty())
        return {};
    std::stable_sort(runs.begin(), runs.end(),
                     [](const Run &x, const Run &y) { return x.points.size() > y.points.size(); });

    // The longest run is the line; a point another train calls at goes in
    // right after the point it follows in that train's running order, so
    // the order is the same whichever end the line is asked from.
    std::vector<int> order = runs.front().points;
    if (runs.front().reversed)
        std::reverse(order.begin(), order.end());
    for (size_t r = 1; r < runs.size(); ++r) {
        const Run &run = runs[r];
        if (run.reversed)
            std::reverse(order.begin(), order.end());
        QHash<int, int> position;
        for (size_t i = 0; i < order.size(); ++i)
            position.insert(order[i], static_cast<int>(i));
        // The run's new points, each after the known point it follows.
        int after = -1;
        std::vector<std::vector<int>> inserts(order.size());
        for (int p : run.points) {
            const auto it = position.constFind(p);
            if (it != position.constEnd()) {
                after = it.value();
            } else if (after >= 0) {
                inserts[static_cast<size_t>(after)].push_back(p);
                position.insert(p, after); // once, should the train come by again
            }
        }
        std::vector<int> merged;
        merged.reserve(order.size() + run.points.size());
        for (size_t i = 0; i < order.size(); ++i) {
            merged.push_back(order[i]);
            merged.insert(merged.end(), inserts[i].begin(), inserts[i].end());
        }
        order = std::move(merged);
        if (run.reversed)
            std::reverse(order.begin(), order.end());
    }

    const std::vector<bool> publicStops = publicStopsOf(day);
    std::vector<int> line;
    for (int p : order) {
        if (p == from || p == to || isLinePoint(day, p, publicStops))
            line.push_back(p);
    }
    return line;
}

QString noTrainsText(QDate day)
{
    return QStringLiteral("Dne %1 nejede žádný vlak.").arg(day.toString(QStringLiteral("d. M. yyyy")));
}

LineChoice lineBetween(const DayTimetable &day, const QString &from, const QString &to)
{
    LineChoice choice;
    if (day.trains.empty()) {
        choice.error = noTrainsText(day.day);
        return choice;
    }
    const int a = findPoint(day, from);
    const int b = findPoint(day, to);
    for (const auto &[point, name] : {std::pair(a, from), std::pair(b, to)}) {
        if (point < 0) {
            choice.error = QStringLiteral("Stanice „%1“ v jízdním řádu dne %2 není.")
                               .arg(name.trimmed(), day.day.toString(QStringLiteral("d. M. yyyy")));
            return choice;
        }
    }
    if (a == b) {
        choice.error = QStringLiteral("Počáteční a koncová stanice je táž: „%1“.").arg(from.trimmed());
        return choice;
    }
    choice.line = pointsBetween(day, a, b);
    if (choice.line.empty())
        choice.error = QStringLiteral("Mezi stanicemi „%1“ a „%2“ dne %3 nejede žádný vlak.")
                           .arg(from.trimmed(), to.trimmed(), day.day.toString(QStringLiteral("d. M. yyyy")));
    return choice;
}

QString estimatedText(const LinePlan &plan)
{
    if (plan.spacedByRunningTimes)
        return QStringLiteral("Polohy stanic nejsou známy: vzdálenosti jsou odhadnuty z jízdních dob nejrychlejšího "
                              "vlaku (minuta jízdy je kilometr).");
    if (plan.estimated > 0)
        return QStringLiteral("Polohu %1 stanic zdroj neurčil: jsou odhadnuty z jízdních dob nejrychlejšího vlaku.")
            .arg(plan.estimated);
    return {};
}

void guessKinds(DayTimetable &day, const std::vector<int> &line)
{
    std::vector<bool> terminus(day.points.size(), false);
    const auto mark = [&](int point) {
        if (point >= 0 && static_cast<size_t>(point) < terminus.size())
            terminus[static_cast<size_t>(point)] = true;
    };
    for (const DayTrain &t : day.trains) {
        if (!t.calls.empty()) {
            mark(t.calls.front().point);
            mark(t.calls.back().point);
        }
    }
    if (!line.empty()) {
        mark(line.front());
        mark(line.back());
    }
    for (int p : line) {
        if (p < 0 || static_cast<size_t>(p) >= day.points.size())
            continue;
        DayPoint &point = day.points[static_cast<size_t>(p)];
        if (point.kind == DayPointKind::Unknown)
            point.kind = terminus[static_cast<size_t>(p)] ? DayPointKind::Station : DayPointKind::Halt;
    }
}

StationKind stationKindOf(DayPointKind kind, bool publicStop)
{
    StationKind k;
    switch (kind) {
    case DayPointKind::Station:
        k.dopravna = 1;
        return k;
    case DayPointKind::Junction:
        k.odbocka = 1;
        break;
    case DayPointKind::BlockPost:
        k.hradlo = 1;
        break;
    case DayPointKind::SignalPost:
        k.hlaska = 1;
        break;
    case DayPointKind::FreightPoint:
        k.nakladiste = 1;
        break;
    case DayPointKind::Halt:
    case DayPointKind::Unknown:
    case DayPointKind::TimingPoint:
        k.zastavka = 1;
        return k;
    }
    if (publicStop)
        k.zastavka = 1;
    return k;
}

LinePlan plan(const DayTimetable &day, const std::vector<int> &line)
{
    LinePlan result;
    const size_t n = line.size();
    if (n == 0)
        return result;
    std::vector<std::optional<double>> metres(n);
    std::vector<size_t> placed;
    for (size_t i = 0; i < n; ++i) {
        if (const std::optional<int32_t> m = day.points[static_cast<size_t>(line[i])].metres) {
            metres[i] = *m;
            placed.push_back(i);
        }
    }
    const std::vector<double> seconds = fastestRunningTimes(day, line);
    const auto secondsBetween = [&](size_t a, size_t b) {
        double s = 0.0;
        for (size_t i = a; i < b; ++i)
            s += seconds[i];
        return s;
    };

    std::vector<bool> estimated(n, false);
    if (placed.empty()) {
        result.spacedByRunningTimes = true;
        metres[0] = 0.0;
        for (size_t i = 1; i < n; ++i)
            metres[i] = *metres[i - 1] + seconds[i - 1] * metresPerSecondOfRunning;
        estimated.assign(n, true);
    } else {
        // Between placed points: their distance shared out by running time.
        for (size_t k = 0; k + 1 < placed.size(); ++k) {
            const size_t a = placed[k];
            const size_t b = placed[k + 1];
            const double total = secondsBetween(a, b);
            for (size_t i = a + 1; i < b; ++i) {
                metres[i] = *metres[a] + (*metres[b] - *metres[a]) * secondsBetween(a, i) / total;
                estimated[i] = true;
            }
        }
        // Beyond them: at the speed the placed part gives, or a kilometre a
        // minute, in the direction the kilometres grow.
        const size_t first = placed.front();
        const size_t last = placed.back();
        double speed = metresPerSecondOfRunning;
        double sign = 1.0;
        if (last > first) {
            const double span = *metres[last] - *metres[first];
            sign = span >= 0 ? 1.0 : -1.0;
            if (std::fabs(span) > 0)
                speed = std::fabs(span) / secondsBetween(first, last);
        }
        for (size_t i = first; i-- > 0;) {
            metres[i] = *metres[i + 1] - sign * speed * seconds[i];
            estimated[i] = true;
        }
        for (size_t i = last + 1; i < n; ++i) {
            metres[i] = *metres[i - 1] + sign * speed * seconds[i - 1];
            estimated[i] = true;
        }
    }

    const std::vector<bool> publicStops = publicStopsOf(day);
    double lowest = 0.0;
    for (size_t i = 0; i < n; ++i)
        lowest = std::min(lowest, static_cast<double>(wholeMetres(*metres[i])));
    result.shiftMetres = wholeMetres(-lowest);
    for (size_t i = 0; i < n; ++i) {
        const DayPoint &p = day.points[static_cast<size_t>(line[i])];
        PlanStation s;
        s.point = line[i];
        s.name = p.name;
        s.metres = wholeMetres(*metres[i]) + result.shiftMetres;
        s.kind = stationKindOf(p.kind, publicStops[static_cast<size_t>(line[i])]);
        s.estimated = estimated[i];
        result.estimated += estimated[i] ? 1 : 0;
        result.stations.push_back(std::move(s));
    }
    return result;
}

} // namespace LineSteps
