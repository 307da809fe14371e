#include "Document.h"

#include "Errors.h"
#include "Kilometres.h"

#include <algorithm>

bool TravelTimeProfile::inUse() const
{
    if (!name.isEmpty())
        return true;
    for (int i = 0; i < entries; ++i)
        if (runTime[static_cast<size_t>(i)] != noRunTime || dwell[static_cast<size_t>(i)] != noDwell)
            return true;
    return false;
}

void Document::clearTrains()
{
    const bool hadTrains = !trains.empty();
    trains.clear();
    if (hadTrains)
        clearTimeLabels();
}

void Document::clearStations()
{
    stations.clear();
}

void Document::clearStationKinds()
{
    stationKinds.clear();
    // The links would dangle; whoever clears the kinds links them again.
    for (Station &s : stations)
        s.kind = nullptr;
}

void Document::clearTrainLabels()
{
    trainLabels.clear();
}

void Document::dropLabelImages()
{
    for (TrainLabel &l : trainLabels) {
        l.dropImage();
        l.imageCodes.shrink_to_fit(); // a big font's images are large; give them back
        l.imageValues.shrink_to_fit();
    }
}

void Document::clearTimeLabels()
{
    timeLabels.clear();
}

void Document::clearProfiles()
{
    for (auto &direction : profiles.profiles)
        for (TravelTimeProfile &p : direction)
            p.clear();
    profiles.count = {0, 0};
}

void Document::clearLegacyLists()
{
    legacyDopravna.clear();
    legacyOther.clear();
}

TrainLabel &Document::newTrainLabel()
{
    trainLabels.emplace_front();
    return trainLabels.front();
}

TimeLabel &Document::newTimeLabel()
{
    timeLabels.emplace_front();
    return timeLabels.front();
}

void Document::rebuildStationTable()
{
    maxMetres = 0;
    int i = 0;
    for (const Station &s : stations) {
        ++i;
        maxMetres = std::max(maxMetres, s.metres);
        if (i > maxStations)
            throw RangeError();
        stationMetres[static_cast<size_t>(i)] = s.metres;
    }
}

int32_t Document::rowMetres(int32_t stationRef) const
{
    if (stationRef < 0)
        return static_cast<int32_t>(
            std::clamp<int64_t>((int64_t{stationRef} + 1000) * Kilometres::metresPerKm, 0, std::max(0, maxMetres)));
    if (stationRef >= 1 && stationRef <= maxStations)
        return stationMetres[static_cast<size_t>(stationRef)];
    throw RangeError();
}

void Document::addRow(Train &train, int32_t stationRef, double time, int32_t mark, uint8_t halfMinute,
                      uint8_t shortDwell)
{
    if (train.firstStation == 0) {
        train.firstStation = stationRef;
        train.firstTime = time;
        train.firstMark = mark;
        train.firstHalfMinute = halfMinute;
        train.firstShortDwell = shortDwell;
        return;
    }
    TrainStop stop;
    stop.station = stationRef;
    stop.time = time;
    stop.mark = mark;
    stop.halfMinute = halfMinute;
    stop.shortDwell = shortDwell;
    train.stops.push_back(stop);
}

StationKind *Document::findKind(int32_t stationIndex)
{
    for (StationKind &k : stationKinds)
        if (k.stationIndex == stationIndex)
            return &k;
    return nullptr;
}

const StationKind *Document::findKind(int32_t stationIndex) const
{
    for (const StationKind &k : stationKinds)
        if (k.stationIndex == stationIndex)
            return &k;
    return nullptr;
}

StationKind &Document::prependKind(const StationKind &kind)
{
    stationKinds.push_front(kind);
    return stationKinds.front();
}

StationKind &Document::appendKind(const StationKind &kind)
{
    stationKinds.push_back(kind);
    return stationKinds.back();
}

void Document::relinkStationKinds()
{
    int32_t i = 0;
    for (Station &s : stations) {
        ++i;
        StationKind *k = findKind(i);
        if (!k) {
            StationKind fresh;
            fresh.stationIndex = i;
            fresh.zastavka = 1;
            k = &prependKind(fresh);
        }
        s.kind = k;
    }
}

void Document::linkStationKinds()
{
    int32_t i = 0;
    for (Station &s : stations)
        s.kind = findKind(++i);
}

void Document::clearAll()
{
    clearTrains();
    clearStations();
    clearLegacyLists();
    clearStationKinds();
    clearTrainLabels();
    clearTimeLabels();
    clearProfiles();
}
