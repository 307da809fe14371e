#pragma once

#include "GtfsPolyline.h"

#include <cstdint>
#include <optional>
#include <vector>

// Where the stations of the chosen routes lie along one line, in metres,
// worked out from what the feed has, best first:
//
// 1. Distances: shape_dist_traveled of the stop times. Its unit (metres,
//    kilometres, miles, feet) is guessed from geometry: the shapes' own
//    lengths against their distances, else the stations' straight-line
//    distances against the trips'. Feeds start every trip at 0 and may
//    measure the two directions from opposite ends, so each stopping
//    pattern is laid onto the line where it meets stations already placed:
//    its direction from the order of those stations (or, meeting only one,
//    from direction_id), its offset the one that fits them best, which for
//    a pattern that begins at a placed station is that station's position.
//    The longest pattern is laid first. Stations no pattern with distances
//    reaches are projected onto the placed stations' line.
// 2. Shape: the stations' coordinates projected onto the longest shape.
// 3. Straight line: the stations' straight-line distances along the
//    pattern that is longest so measured; other stations projected onto it.
//
// The line starts at 0 at its lowest station; it runs the way the first
// pattern laid (1) or the longest shape (2, 3) runs.
class GtfsLinePositions
{
public:
    enum class Source { None, Distances, Shape, StraightLine };

    // A stopping pattern: the stations of a trip in order.
    struct Pattern
    {
        std::vector<int32_t> stations;
        // shape_dist_traveled per station in the feed's unit, NaN where the
        // feed has none; empty when it has none at all.
        std::vector<double> distances;
        int direction = -1; // direction_id, -1 when not given
        int shape = -1;     // index into the shapes, -1 when none
    };

    struct Shape
    {
        std::vector<GeoPoint> points;
        // shape_dist_traveled per point, NaN where none; empty when none.
        std::vector<double> distances;
    };

    struct Result
    {
        std::vector<std::optional<double>> metres; // per station
        Source source = Source::None;
        double metresPerUnit = 1.0; // of the distances, when they were used
    };

    // stations: coordinates per station index (nullopt: unknown).
    static Result compute(const std::vector<std::optional<GeoPoint>> &stations, const std::vector<Pattern> &patterns,
                          const std::vector<Shape> &shapes);

    // Metres per unit of shape_dist_traveled: 1, 1000, 1609.344 or 0.3048.
    static double guessUnit(const std::vector<std::optional<GeoPoint>> &stations, const std::vector<Pattern> &patterns,
                            const std::vector<Shape> &shapes);
};
