#include "GtfsLinePositions.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

namespace {

using Stations = std::vector<std::optional<GeoPoint>>;
using Pattern = GtfsLinePositions::Pattern;
using Shape = GtfsLinePositions::Shape;

// The candidate units of shape_dist_traveled, in metres.
constexpr double units[] = {1.0, 1000.0, 1609.344, 0.3048};

// Track runs a little longer than the chords between its stations.
constexpr double chordToTrack = 1.03;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A pattern's stations that have distances, with the distances in metres,
// when there are two or more and they never decrease.
struct Measured
{
    std::vector<int32_t> stations;
    std::vector<double> metres;
    int direction = -1;
    double span() const { return metres.back() - metres.front(); }
};

std::optional<Measured> measured(const Pattern &p, double unit)
{
    if (p.distances.size() != p.stations.size())
        return std::nullopt;
    Measured m;
    m.direction = p.direction;
    for (size_t i = 0; i < p.stations.size(); ++i) {
        if (!std::isfinite(p.distances[i]))
            continue;
        const double v = p.distances[i] * unit;
        if (!m.metres.empty() && v < m.metres.back())
            return std::nullopt;
        m.stations.push_back(p.stations[i]);
        m.metres.push_back(v);
    }
    if (m.stations.size() < 2)
        return std::nullopt;
    return m;
}

// Lays the measured patterns onto one line (see the class comment).
std::vector<std::optional<double>> layPatterns(size_t stationCount, const std::vector<Measured> &patterns)
{
    std::vector<std::optional<double>> pos(stationCount);
    if (patterns.empty())
        return pos;
    std::vector<std::vector<int32_t>> patternsAt(stationCount);
    for (size_t p = 0; p < patterns.size(); ++p)
        for (int32_t s : patterns[p].stations)
            patternsAt[s].push_back(static_cast<int32_t>(p));

    std::vector<int> known(patterns.size(), 0);
    std::vector<bool> laid(patterns.size(), false);
    std::deque<int32_t> ready;    // meeting two placed stations or more
    std::deque<int32_t> touching; // meeting one

    size_t first = 0;
    for (size_t p = 1; p < patterns.size(); ++p)
        if (patterns[p].span() > patterns[first].span())
            first = p;
    const int firstDirection = patterns[first].direction;

    const auto lay = [&](size_t p, double sign, double offset) {
        laid[p] = true;
        const Measured &m = patterns[p];
        for (size_t i = 0; i < m.stations.size(); ++i) {
            const int32_t s = m.stations[i];
            if (pos[s])
                continue;
            pos[s] = offset + sign * m.metres[i];
            for (int32_t q : patternsAt[s]) {
                if (laid[q])
                    continue;
                if (++known[q] == 2)
                    ready.push_back(q);
                else if (known[q] == 1)
                    touching.push_back(q);
            }
        }
    };
    const auto fit = [&](size_t p) {
        const Measured &m = patterns[p];
        std::vector<std::pair<double, double>> pairs; // (own metres, line position)
        for (size_t i = 0; i < m.stations.size(); ++i)
            if (pos[m.stations[i]])
                pairs.emplace_back(m.metres[i], *pos[m.stations[i]]);
        double sign = 1.0;
        if (pairs.size() >= 2) {
            double md = 0, mp = 0;
            for (const auto &[d, x] : pairs) {
                md += d;
                mp += x;
            }
            md /= double(pairs.size());
            mp /= double(pairs.size());
            double covariance = 0;
            for (const auto &[d, x] : pairs)
                covariance += (d - md) * (x - mp);
            sign = covariance < 0 ? -1.0 : 1.0;
        } else if (m.direction >= 0 && firstDirection >= 0 && m.direction != firstDirection) {
            sign = -1.0;
        }
        if (pairs.empty())
            return;
        double offset = 0;
        for (const auto &[d, x] : pairs)
            offset += x - sign * d;
        offset /= double(pairs.size());
        lay(p, sign, offset);
    };

    lay(first, 1.0, 0.0);
    for (;;) {
        if (!ready.empty()) {
            const int32_t p = ready.front();
            ready.pop_front();
            if (!laid[p])
                fit(p);
            continue;
        }
        if (!touching.empty()) {
            const int32_t p = touching.front();
            touching.pop_front();
            if (!laid[p])
                fit(p);
            continue;
        }
        break;
    }
    return pos;
}

// Projects every station that has coordinates and no position onto line.
void project(const Stations &stations, const GtfsPolyline &line, std::vector<std::optional<double>> &pos)
{
    for (size_t s = 0; s < stations.size(); ++s)
        if (!pos[s] && stations[s])
            pos[s] = line.locate(*stations[s]).measure;
}

// The placed stations that have coordinates, in line order, as a line
// measured by their positions.
std::optional<GtfsPolyline> placedLine(const Stations &stations, const std::vector<std::optional<double>> &pos)
{
    std::vector<std::pair<double, GeoPoint>> placed;
    for (size_t s = 0; s < stations.size(); ++s)
        if (pos[s] && stations[s])
            placed.emplace_back(*pos[s], *stations[s]);
    if (placed.size() < 2)
        return std::nullopt;
    std::stable_sort(placed.begin(), placed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<GeoPoint> points;
    std::vector<double> measures;
    for (const auto &[m, p] : placed) {
        points.push_back(p);
        measures.push_back(m);
    }
    return GtfsPolyline(std::move(points), std::move(measures));
}

// The coordinates of a pattern's stations, those that have them.
std::vector<GeoPoint> pointsOf(const Stations &stations, const Pattern &p)
{
    std::vector<GeoPoint> points;
    for (int32_t s : p.stations)
        if (stations[s])
            points.push_back(*stations[s]);
    return points;
}

} // namespace

double GtfsLinePositions::guessUnit(const Stations &stations, const std::vector<Pattern> &patterns,
                                    const std::vector<Shape> &shapes)
{
    // Metres per unit, from shapes that carry distances: exact but for
    // rounding.
    std::vector<double> ratios;
    for (const Shape &shape : shapes) {
        if (shape.distances.size() != shape.points.size())
            continue;
        size_t first = shape.points.size();
        size_t last = 0;
        for (size_t i = 0; i < shape.points.size(); ++i) {
            if (!std::isfinite(shape.distances[i]))
                continue;
            first = std::min(first, i);
            last = i;
        }
        if (first >= last)
            continue;
        const double span = shape.distances[last] - shape.distances[first];
        const std::vector<GeoPoint> part(shape.points.begin() + std::ptrdiff_t(first),
                                         shape.points.begin() + std::ptrdiff_t(last) + 1);
        const double length = GtfsPolyline(part).length();
        if (span > 0 && length > 0)
            ratios.push_back(length / span);
    }
    // Else from the chords between the stations of the trips.
    double longestSpan = 0;
    if (ratios.empty()) {
        for (const Pattern &p : patterns) {
            if (p.distances.size() != p.stations.size())
                continue;
            std::vector<GeoPoint> points;
            double firstDistance = std::numeric_limits<double>::quiet_NaN();
            double lastDistance = firstDistance;
            for (size_t i = 0; i < p.stations.size(); ++i) {
                if (!std::isfinite(p.distances[i]) || !stations[p.stations[i]])
                    continue;
                if (points.empty())
                    firstDistance = p.distances[i];
                lastDistance = p.distances[i];
                points.push_back(*stations[p.stations[i]]);
            }
            if (points.size() < 2)
                continue;
            const double span = lastDistance - firstDistance;
            const double length = GtfsPolyline(points).length() * chordToTrack;
            longestSpan = std::max(longestSpan, span);
            if (span > 0 && length > 0)
                ratios.push_back(length / span);
        }
    }
    if (ratios.empty()) {
        // No geometry at all: a railway shorter than a thousand metres is
        // less likely than one counted in kilometres.
        for (const Pattern &p : patterns)
            for (double d : p.distances)
                if (std::isfinite(d))
                    longestSpan = std::max(longestSpan, std::abs(d));
        return longestSpan > 0 && longestSpan < 1000 ? 1000.0 : 1.0;
    }
    const double ratio = median(ratios);
    double best = units[0];
    for (double u : units)
        if (std::abs(std::log(ratio / u)) < std::abs(std::log(ratio / best)))
            best = u;
    return best;
}

GtfsLinePositions::Result GtfsLinePositions::compute(const Stations &stations, const std::vector<Pattern> &patterns,
                                                     const std::vector<Shape> &shapes)
{
    Result r;
    r.metres.assign(stations.size(), std::nullopt);

    // 1. Distances.
    const double unit = guessUnit(stations, patterns, shapes);
    std::vector<Measured> withDistances;
    for (const Pattern &p : patterns)
        if (std::optional<Measured> m = measured(p, unit))
            withDistances.push_back(std::move(*m));
    if (!withDistances.empty()) {
        r.source = Source::Distances;
        r.metresPerUnit = unit;
        r.metres = layPatterns(stations.size(), withDistances);
        if (const std::optional<GtfsPolyline> line = placedLine(stations, r.metres))
            project(stations, *line, r.metres);
    } else {
        // 2. The longest shape; ties go to the shape named first.
        const Shape *longest = nullptr;
        double longestLength = 0;
        for (const Shape &shape : shapes) {
            if (shape.points.size() < 2)
                continue;
            const double length = GtfsPolyline(shape.points).length();
            if (!longest || length > longestLength + 1.0) {
                longest = &shape;
                longestLength = length;
            }
        }
        if (longest) {
            r.source = Source::Shape;
            project(stations, GtfsPolyline(longest->points), r.metres);
        } else {
            // 3. The longest pattern by straight lines between its stations.
            std::vector<GeoPoint> best;
            double bestLength = 0;
            for (const Pattern &p : patterns) {
                std::vector<GeoPoint> points = pointsOf(stations, p);
                if (points.size() < 2)
                    continue;
                const double length = GtfsPolyline(points).length();
                if (best.empty() || length > bestLength + 1.0) {
                    best = std::move(points);
                    bestLength = length;
                }
            }
            if (!best.empty()) {
                r.source = Source::StraightLine;
                project(stations, GtfsPolyline(std::move(best)), r.metres);
            }
        }
    }

    double lowest = std::numeric_limits<double>::infinity();
    for (const std::optional<double> &m : r.metres)
        if (m)
            lowest = std::min(lowest, *m);
    for (std::optional<double> &m : r.metres)
        if (m)
            *m -= lowest;
    return r;
}
