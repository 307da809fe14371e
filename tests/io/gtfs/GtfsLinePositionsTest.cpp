#include "io/gtfs/GtfsLinePositions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double metresPerDegree = 111195.0802; // of latitude, on the mean sphere

GeoPoint north(double metres)
{
    return {50.0 + metres / metresPerDegree, 14.0};
}

} // namespace

TEST(GtfsPolyline, Locate)
{
    EXPECT_NEAR(GtfsPolyline::distance({50, 14}, {51, 14}), metresPerDegree, 0.01);

    const GtfsPolyline line({north(0), north(1000), north(3000)});
    EXPECT_NEAR(line.length(), 3000, 0.01);
    for (const double at : {0.0, 500.0, 2999.0, -200.0, 3500.0})
        EXPECT_NEAR(line.locate(north(at)).measure, at, 0.01) << at;
    // 100 m east of the line: its foot, 100 m off.
    const GtfsPolyline::Location off = line.locate(
        {north(1500).latitude, 14.0 + 100 / (metresPerDegree * std::cos(50.0135 * std::numbers::pi / 180))});
    EXPECT_NEAR(off.measure, 1500, 0.5);
    EXPECT_NEAR(off.offset, 100, 0.5);

    // A line measured the other way: beyond its ends the measure goes on
    // the way it runs.
    const GtfsPolyline chained({north(0), north(1000)}, {7000, 6000});
    EXPECT_NEAR(chained.locate(north(250)).measure, 6750, 0.01);
    EXPECT_NEAR(chained.locate(north(-100)).measure, 7100, 0.01);
    EXPECT_NEAR(chained.locate(north(1100)).measure, 5900, 0.01);
}

// The unit of shape_dist_traveled, from a 5 km shape given in each unit,
// and from stations 2 km apart on trips without shapes.
TEST(GtfsLinePositions, Unit)
{
    const std::vector<std::optional<GeoPoint>> stations = {north(0), north(2000)};
    for (const double perUnit : {1.0, 1000.0, 1609.344, 0.3048}) {
        GtfsLinePositions::Shape shape;
        shape.points = {north(0), north(2500), north(5000)};
        shape.distances = {0, 2500 / perUnit, 5000 / perUnit};
        EXPECT_EQ(GtfsLinePositions::guessUnit(stations, {}, {shape}), perUnit);

        GtfsLinePositions::Pattern trip;
        trip.stations = {0, 1};
        trip.distances = {0, 2100 / perUnit}; // the track a little longer than the chord
        EXPECT_EQ(GtfsLinePositions::guessUnit(stations, {trip}, {}), perUnit);
    }
    // With no geometry at all, short numbers are kilometres.
    GtfsLinePositions::Pattern trip;
    trip.stations = {0, 1};
    trip.distances = {0, 12.5};
    EXPECT_EQ(GtfsLinePositions::guessUnit({std::nullopt, std::nullopt}, {trip}, {}), 1000.0);
    trip.distances = {0, 12500};
    EXPECT_EQ(GtfsLinePositions::guessUnit({std::nullopt, std::nullopt}, {trip}, {}), 1.0);
}

// Patterns laid onto the line: one that meets two placed stations takes its
// direction from them; a branch meeting the line at one station takes it
// from direction_id; a station no pattern with distances reaches is
// projected onto the placed stations.
TEST(GtfsLinePositions, LayingPatterns)
{
    // Stations 0–2 on the main line, 3 on a branch from station 2, 4 off
    // the distances, between 0 and 1.
    const std::vector<std::optional<GeoPoint>> stations = {north(0), north(1000), north(2000), north(2500), north(400)};
    GtfsLinePositions::Pattern up{{0, 1, 2}, {0, 1000, 2000}, 0, -1};
    GtfsLinePositions::Pattern down{{2, 1}, {0, 1000}, 1, -1};
    // Measured from its own start at the branch's end, running towards
    // the line: against the main line's sense.
    GtfsLinePositions::Pattern branch{{3, 2}, {0, 700}, 1, -1};
    GtfsLinePositions::Pattern untimed{{0, 4, 1}, {}, 0, -1};
    const GtfsLinePositions::Result r = GtfsLinePositions::compute(stations, {up, down, branch, untimed}, {});
    EXPECT_EQ(r.source, GtfsLinePositions::Source::Distances);
    ASSERT_EQ(r.metres.size(), 5u);
    const double expected[] = {0, 1000, 2000, 2700, 400};
    for (size_t i = 0; i < 5; ++i) {
        ASSERT_TRUE(r.metres[i]) << i;
        EXPECT_NEAR(*r.metres[i], expected[i], 0.5) << i;
    }
}
