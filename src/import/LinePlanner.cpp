#include "LinePlanner.h"

#include <QHash>
#include <QStringList>

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


// A train's points in running order, a point called at again in a row
// once; empty when it comes back to a point it left, which no line order
// can hold.
std::vector<int> pathOf(const DayTrain &train)
{
    std::vector<int> path;
    for (const DayCall &c : train.calls) {
        if (c.point < 0 || (!path.empty() && path.back() == c.point))
            continue;
        if (std::find(path.begin(), path.end(), c.point) != path.end())
            return {};
        path.push_back(c.point);
    }
    return path;
}

enum class Merge { TooFew, Merged, Contradicts };

// A train's points into the line's order: a point it calls at between two
// known points goes in after the first of them in the train's running order
// (a train from a branch joins the line where the branch meets it).
Merge mergeInto(std::vector<int> &chain, const std::vector<int> &path)
{
    QHash<int, int> position;
    for (size_t i = 0; i < chain.size(); ++i)
        position.insert(chain[i], static_cast<int>(i));
    std::vector<int> known; // indices into path
    for (size_t i = 0; i < path.size(); ++i)
        if (position.contains(path[i]))
            known.push_back(static_cast<int>(i));
    if (known.size() < 2)
        return Merge::TooFew;
    const auto at = [&](int k) { return position.value(path[static_cast<size_t>(known[static_cast<size_t>(k)])]); };
    const bool down = at(1) < at(0);
    for (size_t k = 1; k < known.size(); ++k)
        if ((at(static_cast<int>(k)) < at(static_cast<int>(k - 1))) != down)
            return Merge::Contradicts;
    if (down) {
        // Taken the train's way, so that the order is the same whichever
        // way the line is asked for.
        std::reverse(chain.begin(), chain.end());
        const Merge m = mergeInto(chain, path);
        std::reverse(chain.begin(), chain.end());
        return m;
    }
    std::vector<std::vector<int>> after(chain.size());
    for (size_t k = 0; k + 1 < known.size(); ++k)
        after[static_cast<size_t>(at(static_cast<int>(k)))].assign(path.begin() + known[k] + 1,
                                                                     path.begin() + known[k + 1]);
    if (std::all_of(after.begin(), after.end(), [](const auto &v) { return v.empty(); }))
        return Merge::Merged;
    std::vector<int> merged;
    for (size_t i = 0; i < chain.size(); ++i) {
        merged.push_back(chain[i]);
        merged.insert(merged.end(), after[i].begin(), after[i].end());
    }
    chain = std::move(merged);
    return Merge::Merged;
}

// The points a train runs on beyond the line's last point (its first, with
// `atFront`), nearest first; none unless it runs along the line at two or
// more points in line order and leaves it at that end.
std::vector<int> beyondEnd(const std::vector<int> &chain, std::vector<int> path, bool atFront)
{
    std::vector<int> known; // chain positions, in the train's order
    size_t firstKnown = path.size();
    size_t lastKnown = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto it = std::find(chain.begin(), chain.end(), path[i]);
        if (it == chain.end())
            continue;
        known.push_back(static_cast<int>(it - chain.begin()));
        firstKnown = std::min(firstKnown, i);
        lastKnown = i;
    }
    if (known.size() < 2)
        return {};
    const bool down = known[1] < known[0];
    for (size_t k = 1; k < known.size(); ++k)
        if ((known[k] < known[k - 1]) != down)
            return {};
    // Taken up the line: the points after the last known one lie beyond it.
    std::vector<int> after(path.begin() + static_cast<std::ptrdiff_t>(lastKnown) + 1, path.end());
    std::vector<int> before(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(firstKnown));
    std::reverse(before.begin(), before.end());
    const int lowest = std::min(known.front(), known.back());
    const int highest = std::max(known.front(), known.back());
    if (atFront)
        return lowest == 0 ? (down ? after : before) : std::vector<int>{};
    return highest + 1 == static_cast<int>(chain.size()) ? (down ? before : after) : std::vector<int>{};
}

// Grows the line at each end by the branch most trains running on beyond
// it take (its longest run); whether it grew.
bool growEnds(std::vector<int> &chain, const std::vector<std::vector<int>> &paths)
{
    bool grew = false;
    for (const bool atFront : {false, true}) {
        std::map<int, std::pair<int, size_t>> votes; // next point: trains, the longest run's train
        std::vector<std::vector<int>> runs(paths.size());
        for (size_t i = 0; i < paths.size(); ++i) {
            runs[i] = beyondEnd(chain, paths[i], atFront);
            if (runs[i].empty() || std::find(chain.begin(), chain.end(), runs[i].front()) != chain.end())
                continue;
            auto &[count, longest] = votes.try_emplace(runs[i].front(), 0, i).first->second;
            ++count;
            if (runs[i].size() > runs[longest].size())
                longest = i;
        }
        const auto best = std::max_element(votes.begin(), votes.end(), [](const auto &a, const auto &b) {
            return a.second.first < b.second.first;
        });
        if (best == votes.end())
            continue;
        std::vector<int> run;
        for (int p : runs[best->second.second]) {
            if (std::find(chain.begin(), chain.end(), p) != chain.end())
                break;
            run.push_back(p);
        }
        if (atFront)
            chain.insert(chain.begin(), run.rbegin(), run.rend());
        else
            chain.insert(chain.end(), run.begin(), run.end());
        grew = true;
    }
    return grew;
}

struct Chain
{
    std::vector<int> points;
    QStringList unplaced;
};

// The line's order from a first shape and every train of the day that runs
// along it at two or more of its points, longest first, as often as trains
// placed since bring others onto it; with `extend`, grown at its ends
// (growEnds) whenever no train adds a point between.
Chain chainOf(const DayTimetable &day, std::vector<int> seed, bool extend)
{
    Chain chain;
    chain.points = std::move(seed);
    std::vector<std::pair<std::vector<int>, size_t>> pending;
    std::vector<size_t> turning; // trains that come back to a point
    for (size_t t = 0; t < day.trains.size(); ++t) {
        std::vector<int> path = pathOf(day.trains[t]);
        if (path.empty() && !day.trains[t].calls.empty())
            turning.push_back(t);
        else
            pending.emplace_back(std::move(path), t);
    }
    std::stable_sort(pending.begin(), pending.end(),
                     [](const auto &x, const auto &y) { return x.first.size() > y.first.size(); });
    std::vector<std::vector<int>> paths; // every train's, for growing the ends
    for (const auto &[path, t] : pending)
        paths.push_back(path);
    for (bool placed = true; placed;) {
        placed = false;
        for (auto it = pending.begin(); it != pending.end();) {
            const Merge m = mergeInto(chain.points, it->first);
            if (m == Merge::TooFew) {
                ++it;
                continue;
            }
            if (m == Merge::Contradicts)
                chain.unplaced << day.trains[it->second].name;
            placed = true;
            it = pending.erase(it);
        }
        if (extend && !placed)
            placed = growEnds(chain.points, paths);
    }
    // Those of them that meet the line are named; others are not its trains.
    for (size_t t : turning) {
        int met = 0;
        for (const DayCall &c : day.trains[t].calls)
            met += std::find(chain.points.begin(), chain.points.end(), c.point) != chain.points.end() ? 1 : 0;
        if (met >= 2)
            chain.unplaced << day.trains[t].name;
    }
    chain.unplaced.removeDuplicates();
    return chain;
}

} // namespace

namespace LinePlanner {

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
    return lineOrder(day, from, to).points;
}

LineOrder lineOrder(const DayTimetable &day, int from, int to)
{
    LineOrder result;
    if (from < 0 || to < 0 || from == to)
        return result;
    // The longest run of a train from one end to the other is the line's
    // first shape; without one, the longest train through `from`, grown
    // beyond its ends by the trains that run on, until both ends are on it.
    std::vector<int> seed;
    for (const DayTrain &t : day.trains) {
        const std::vector<int> path = pathOf(t);
        const auto a = std::find(path.begin(), path.end(), from);
        const auto b = std::find(path.begin(), path.end(), to);
        if (a == path.end() || b == path.end())
            continue;
        if (static_cast<size_t>(std::abs(b - a)) + 1 > seed.size())
            seed.assign(std::min(a, b), std::max(a, b) + 1);
    }
    const bool endToEnd = !seed.empty();
    if (!endToEnd) {
        for (const DayTrain &t : day.trains) {
            const std::vector<int> path = pathOf(t);
            if (path.size() > seed.size() && std::find(path.begin(), path.end(), from) != path.end())
                seed = path;
        }
    }
    if (seed.empty())
        return result;
    const Chain chain = chainOf(day, std::move(seed), !endToEnd);
    const auto a = std::find(chain.points.begin(), chain.points.end(), from);
    const auto b = std::find(chain.points.begin(), chain.points.end(), to);
    if (a == chain.points.end() || b == chain.points.end())
        return result;
    std::vector<int> order(std::min(a, b), std::max(a, b) + 1);
    if (b < a)
        std::reverse(order.begin(), order.end());
    result.unplaced = chain.unplaced;

    const std::vector<bool> publicStops = publicStopsOf(day);
    for (int p : order) {
        if (p == from || p == to || isLinePoint(day, p, publicStops))
            result.points.push_back(p);
    }
    return result;
}

std::optional<Ends> routeEnds(const DayTimetable &day)
{
    // The line the most trains share, grown at both ends by every train
    // that runs on beyond them.
    const std::optional<Ends> common = defaultEnds(day);
    if (!common)
        return std::nullopt;
    std::vector<int> seed;
    for (const DayTrain &t : day.trains) {
        const std::vector<int> path = pathOf(t);
        if (path.size() > seed.size() && !path.empty()
            && std::minmax(path.front(), path.back()) == std::minmax(common->from, common->to))
            seed = path;
    }
    if (seed.empty())
        return common;
    const Chain chain = chainOf(day, std::move(seed), true);
    std::map<int, int> starts;
    for (const DayTrain &t : day.trains) {
        if (!t.calls.empty())
            ++starts[t.calls.front().point];
    }
    const int a = chain.points.front();
    const int b = chain.points.back();
    Ends ends;
    ends.trains = common->trains;
    const bool aLeads = starts[a] > starts[b]
                        || (starts[a] == starts[b]
                            && day.points[static_cast<size_t>(a)].name <= day.points[static_cast<size_t>(b)].name);
    ends.from = aLeads ? a : b;
    ends.to = aLeads ? b : a;
    return ends;
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
    LineOrder order = lineOrder(day, a, b);
    choice.line = std::move(order.points);
    choice.unplaced = std::move(order.unplaced);
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
    if (plan.estimated == 0)
        return {};
    QStringList named;
    for (const PlanStation &s : plan.stations)
        if (s.estimated && named.size() < 10)
            named << s.name.trimmed();
    QString text =
        QStringLiteral("Polohu %1 stanic zdroj neurčil: jsou odhadnuty z jízdních dob nejrychlejšího vlaku")
            .arg(plan.estimated);
    if (!named.isEmpty())
        text += QStringLiteral(" (%1%2)")
                    .arg(named.join(QStringLiteral(", ")),
                         plan.estimated > named.size() ? QStringLiteral(", …") : QString());
    return text + u'.';
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

} // namespace LinePlanner
