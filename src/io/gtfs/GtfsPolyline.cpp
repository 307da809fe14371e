#include "GtfsPolyline.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double radian = std::numbers::pi / 180.0;

} // namespace

double GtfsPolyline::distance(GeoPoint a, GeoPoint b)
{
    const double dLat = (b.latitude - a.latitude) * radian;
    const double dLon = (b.longitude - a.longitude) * radian;
    const double s =
        std::sin(dLat / 2) * std::sin(dLat / 2)
        + std::cos(a.latitude * radian) * std::cos(b.latitude * radian) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * earthRadius * std::asin(std::sqrt(std::min(1.0, s)));
}

GtfsPolyline::GtfsPolyline(std::vector<GeoPoint> points) : m_points(std::move(points))
{
    m_measures.reserve(m_points.size());
    for (size_t i = 0; i < m_points.size(); ++i) {
        if (i > 0)
            m_length += distance(m_points[i - 1], m_points[i]);
        m_measures.push_back(m_length);
    }
}

GtfsPolyline::GtfsPolyline(std::vector<GeoPoint> points, std::vector<double> measures)
    : m_points(std::move(points)), m_measures(std::move(measures))
{
    for (size_t i = 1; i < m_points.size(); ++i)
        m_length += distance(m_points[i - 1], m_points[i]);
}

GtfsPolyline::Location GtfsPolyline::locate(GeoPoint p) const
{
    if (m_points.empty())
        return {};
    if (m_points.size() == 1)
        return {m_measures[0], distance(m_points[0], p)};
    Location best{0.0, std::numeric_limits<double>::infinity()};
    const size_t last = m_points.size() - 2;
    for (size_t i = 0; i <= last; ++i) {
        const GeoPoint a = m_points[i];
        const GeoPoint b = m_points[i + 1];
        // The segment's tangent plane at its middle latitude, origin a.
        const double kx = earthRadius * std::cos((a.latitude + b.latitude) / 2 * radian) * radian;
        const double ky = earthRadius * radian;
        const double bx = (b.longitude - a.longitude) * kx;
        const double by = (b.latitude - a.latitude) * ky;
        const double px = (p.longitude - a.longitude) * kx;
        const double py = (p.latitude - a.latitude) * ky;
        const double length2 = bx * bx + by * by;
        const double t = length2 > 0 ? (px * bx + py * by) / length2 : 0.0;
        const double clamped = std::clamp(t, 0.0, 1.0);
        const double offset = std::hypot(px - clamped * bx, py - clamped * by);
        if (offset >= best.offset)
            continue;
        best.offset = offset;
        const double m0 = m_measures[i];
        const double m1 = m_measures[i + 1];
        const double segment = std::sqrt(length2);
        // Before the first vertex or past the last: the distance beyond it,
        // in the direction the measure runs there.
        if (i == 0 && t < 0) {
            const double beyond = -t * segment;
            best.measure = m0 - (m1 >= m0 ? beyond : -beyond);
        } else if (i == last && t > 1) {
            const double beyond = (t - 1) * segment;
            best.measure = m1 + (m1 >= m0 ? beyond : -beyond);
        } else {
            best.measure = m0 + clamped * (m1 - m0);
        }
    }
    return best;
}
