#pragma once

#include "HeadList.h"
#include "Records.h"

#include <array>
#include <cstdint>
#include <deque>
#include <list>
#include <vector>

// The one document of the running program: the stations of a line, their
// kinds, the trains, the placed labels, the travel-time profiles and the
// settings that travel with the file.
//
// Orders matter and are kept here: stations, trains and rows are appended at
// the tail; train labels and time labels are put at the head (so a label's
// number is its 1-based position from the head); kind records go where the
// caller says, because the station editor uses both ends.
//
// Kind records live in a std::list so that a station's `kind` link stays
// valid while records are added around it. The document cannot be copied:
// those links would point into the original.
class Document
{
public:
    static constexpr int maxStations = 1000;

    Document() = default;
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    std::vector<Station> stations;
    std::list<StationKind> stationKinds;
    std::vector<Train> trains;
    std::deque<TrainLabel> trainLabels; // head = front
    HeadList<TimeLabel> timeLabels;     // head = front
    ProfileTable profiles;
    DocumentSettings settings;
    LineTracks lineTracks;

    // Filled only by the reader of old files: the Dopravna station indices
    // of versions 0.3 to 0.6, and a second list those files carry.
    std::vector<int32_t> legacyDopravna;
    std::vector<int32_t> legacyOther;

    // Derived data, rebuilt by rebuildStationTable: each station's position
    // in metres (1-based) and the largest of them (never below 0).
    std::array<int32_t, maxStations + 1> stationMetres{};
    int32_t maxMetres = 0;

    // Number of trains as label generation counts them for its progress.
    // Editors and the import set it; it need not equal trains.size().
    int32_t trainCount = 0;

    // State flags; never stored.
    bool noDocument = true;        // nothing to save, no diagram
    bool untitled = true;          // Save asks for a name
    bool redrawNeeded = true;      // the renderer re-records its drawing
    bool labelImagesStale = false; // the renderer images every label again

    int32_t trainLabelCount() const { return static_cast<int32_t>(trainLabels.size()); }
    int32_t timeLabelCount() const { return static_cast<int32_t>(timeLabels.size()); }

    // Clearing operations.
    void clearTrains(); // also clears the time labels when there was a train
    void clearStations();
    void clearStationKinds();
    void clearTrainLabels();
    void clearTimeLabels();
    void clearProfiles(); // counts 0, names empty, run times 0, dwells -1
    void clearLegacyLists();

    // Every train label loses its cached image, so the renderer images it
    // afresh (after its font changed).
    void dropLabelImages();

    TrainLabel &newTrainLabel(); // zeroed, at the head
    TimeLabel &newTimeLabel();   // zeroed, at the head

    // stationMetres[i] and maxMetres from the station list. More than 1000
    // stations raise RangeError with the table filled up to 1000.
    void rebuildStationTable();

    // Position in metres of a row's station reference: a negative reference
    // is the whole kilometre ref + 1000, held to 0..maxMetres; 1..1000 read
    // the table. Anything else raises RangeError.
    int32_t rowMetres(int32_t stationRef) const;

    // Appends a row: into the first-row fields of a train without rows,
    // otherwise as a new stop at the end.
    static void addRow(Train &train, int32_t stationRef, double time, int32_t mark, uint8_t halfMinute,
                       uint8_t shortDwell);

    // Kind records by station index.
    StationKind *findKind(int32_t stationIndex);
    const StationKind *findKind(int32_t stationIndex) const;
    StationKind &prependKind(const StationKind &kind);
    StationKind &appendKind(const StationKind &kind);

    // After a read: link every station to the first kind record with its
    // index; a station without one gets a new "Zastávka" record at the head.
    void relinkStationKinds();
    // Links without creating records; a station without one is left unlinked.
    void linkStationKinds();

    // Everything cleared: what New and a failed first read leave. The line's
    // track settings stay, as the other document settings do.
    void clearAll();
};
