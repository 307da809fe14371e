#include "Tracks.h"

namespace Tracks {

int stationTracksOfKind(const StationKind *kind)
{
    return kind && kind->dopravna ? 2 : 0;
}

int stationTracks(const Station &station)
{
    return station.stationTracks == byKind ? stationTracksOfKind(station.kind) : station.stationTracks;
}

int sectionTracks(const LineTracks &line, const Station &lower)
{
    return lower.sectionTracks == lineDefault ? line.mainTracks : lower.sectionTracks;
}

int sectionHeadway(const LineTracks &line, const Station &lower)
{
    return lower.sectionHeadway == lineHeadway ? line.minHeadway : lower.sectionHeadway;
}

} // namespace Tracks
