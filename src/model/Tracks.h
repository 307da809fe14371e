#pragma once

#include "Records.h"

#include <cstdint>

// The track layout the conflict check reads: how many main tracks a section
// has and how many tracks a station offers for trains to stand or pass each
// other. A station or section nobody set follows a default (the line's
// number of main tracks, the station's kind), so a document says only what
// differs from it.
namespace Tracks {

constexpr uint8_t singleTrack = 1;
constexpr uint8_t doubleTrack = 2;
constexpr uint8_t manyTracks = 3;  // "3 and more": trains may overtake between stations
constexpr uint8_t lineDefault = 0; // Station::sectionTracks that follows the line
constexpr int8_t byKind = -1;      // Station::stationTracks that follows the kind
constexpr int8_t maxStationTracks = 99;
constexpr int32_t maxHeadway = 60;
constexpr int8_t lineHeadway = -1; // Station::sectionHeadway that follows the line

// A traffic point (Dopravna) has a track to pass on; any other point has
// none of its own. A station without a kind record is such a point.
int stationTracksOfKind(const StationKind *kind);

// The station's own number, or its kind's.
int stationTracks(const Station &station);

// The main tracks of the section above `lower` (the section's lower end).
int sectionTracks(const LineTracks &line, const Station &lower);
// The least headway in minutes on the section above `lower`.
int sectionHeadway(const LineTracks &line, const Station &lower);

// Values a document may hold.
inline bool validSectionTracks(int v)
{
    return v == lineDefault || v == singleTrack || v == doubleTrack || v == manyTracks;
}
inline bool validSectionHeadway(int v)
{
    return v == lineHeadway || (v >= 0 && v <= maxHeadway);
}
inline bool validStationTracks(int v)
{
    return v == byKind || (v >= 0 && v <= maxStationTracks);
}
inline bool validLine(const LineTracks &line)
{
    return (line.mainTracks == singleTrack || line.mainTracks == doubleTrack) && line.minHeadway >= 0
           && line.minHeadway <= maxHeadway;
}

} // namespace Tracks
