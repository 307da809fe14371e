#pragma once

#include <vector>

struct GeoPoint
{
    double latitude = 0.0; // decimal degrees
    double longitude = 0.0;
};

// A line on the Earth's surface (a GTFS shape, or stations joined in order)
// with a measure at every vertex: by default the distance along it in
// metres, or any chainage the caller gives.
//
// locate() projects a point onto the nearest segment and reads the measure
// there, interpolated along the segment. Each segment is flattened on its
// own tangent plane, so a line of a thousand kilometres measures as well as
// a short one. A point beyond an end (its foot falls outside the end
// segment) lies before the start or past the end by its distance from that
// end.
class GtfsPolyline
{
public:
    static constexpr double earthRadius = 6371008.8; // metres, the mean radius

    // Great-circle distance in metres.
    static double distance(GeoPoint a, GeoPoint b);

    explicit GtfsPolyline(std::vector<GeoPoint> points);
    // measures.size() == points.size().
    GtfsPolyline(std::vector<GeoPoint> points, std::vector<double> measures);

    bool empty() const { return m_points.empty(); }
    // The length along the points in metres.
    double length() const { return m_length; }

    struct Location
    {
        double measure = 0.0;
        double offset = 0.0; // metres from the line
    };
    // An empty line gives measure 0 at no distance.
    Location locate(GeoPoint p) const;

private:
    std::vector<GeoPoint> m_points;
    std::vector<double> m_measures;
    double m_length = 0.0;
};
