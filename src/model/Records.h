#pragma once

// The plain records of a document. They hold data only; the orders of the
// lists that hold them and every operation on them belong to Document.

#include "FixedString.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The kind flags of one station, matched to the station by stationIndex
// (1-based), never by position in the kind list.
struct StationKind
{
    int32_t stationIndex = 0;
    uint8_t dopravna = 0;   // traffic point
    uint8_t hradlo = 0;     // block post
    uint8_t hlaska = 0;     // signal post
    uint8_t odbocka = 0;    // junction
    uint8_t nakladiste = 0; // freight loading point
    uint8_t zastavka = 0;   // halt
    uint8_t kilometr = 0;   // bare kilometre marker

    bool sameFlags(const StationKind &o) const
    {
        return dopravna == o.dopravna && hradlo == o.hradlo && hlaska == o.hlaska && odbocka == o.odbocka
               && nakladiste == o.nakladiste && zastavka == o.zastavka && kilometr == o.kilometr;
    }
};

struct Station
{
    FixedString<50> name;
    int32_t metres = 0; // position along the line
    // The kind record of this station; set by relinking after a read and by
    // the station editor, never stored in files.
    StationKind *kind = nullptr;
    // Main tracks of the section from this station to the next one up the
    // line (the nearest greater position): 1, 2 or 3 for "3 and more"
    // (trains in one direction may overtake on the open line), or 0 for the
    // line's own number (LineTracks::mainTracks).
    uint8_t sectionTracks = 0;
    // Tracks where trains stand or pass each other, 0..99, or -1 for the
    // number its kind gives (model/Tracks.h).
    int8_t stationTracks = -1;
    // The least time between trains following each other through that
    // section, 0..60 minutes, or -1 for the line's (LineTracks::minHeadway).
    int8_t sectionHeadway = -1;
};

// Screen position a renderer leaves on a row; working data, never stored.
struct RowPoint
{
    int32_t x = 0;
    int32_t y = 0;
};

// Rows 2..n of a train. The first row lives in the Train record itself.
struct TrainStop
{
    int32_t station = 0; // > 0 station index, < 0 kilometre point at ref + 1000, 0 none
    double time = 0.0;   // day fraction
    int32_t mark = 0;    // minute-label mark
    uint8_t pastMidnight = 0;
    uint8_t halfMinute = 0;
    uint8_t shortDwell = 0;
    RowPoint screenPoint;
};

// One timetable row as the editors see it, whichever record holds it.
struct TrainRow
{
    int32_t station = 0;
    double time = 0.0;
    int32_t mark = 0;
    uint8_t halfMinute = 0;
    uint8_t shortDwell = 0;
};

struct Train
{
    uint8_t rusici = 0;
    FixedString<20> name;
    int32_t firstStation = 0;
    double firstTime = 0.0;
    int32_t firstMark = 0;
    uint8_t podlePotreby = 0;
    uint8_t firstHalfMinute = 0;
    uint8_t firstShortDwell = 0;
    std::vector<TrainStop> stops; // rows 2..n in timetable order

    // A train whose first row has no station has no rows yet.
    bool isEmpty() const { return firstStation == 0 && stops.empty(); }
    int rowCount() const { return isEmpty() ? 0 : 1 + static_cast<int>(stops.size()); }

    // Row k, 0-based: row 0 is the train's own first row.
    TrainRow row(int k) const
    {
        if (k == 0)
            return {firstStation, firstTime, firstMark, firstHalfMinute, firstShortDwell};
        const TrainStop &s = stops[static_cast<size_t>(k - 1)];
        return {s.station, s.time, s.mark, s.halfMinute, s.shortDwell};
    }
    void setRow(int k, const TrainRow &r)
    {
        if (k == 0) {
            firstStation = r.station;
            firstTime = r.time;
            firstMark = r.mark;
            firstHalfMinute = r.halfMinute;
            firstShortDwell = r.shortDwell;
            return;
        }
        TrainStop &s = stops[static_cast<size_t>(k - 1)];
        s.station = r.station;
        s.time = r.time;
        s.mark = r.mark;
        s.halfMinute = r.halfMinute;
        s.shortDwell = r.shortDwell;
    }
};

// What a train label's image is to be drawn from. The renderer places a
// label and works out the size of its image at once, but draws the image
// only when the label is first shown (or the document is saved with its
// images); until then the label holds this order instead of the codes.
struct LabelImageOrder
{
    FixedString<15> text;
    uint8_t rusici = 0;
    double angle = 0.0;
    QByteArray fontName; // code page 1250
    int32_t fontSize = 0;
    uint8_t fontStyle = 0;
    uint8_t smoothing = 0;
    uint8_t showCategory = 1;
};

// A train-number label. Its cached image is the rotated text, run-length
// coded: imageCodes holds run lengths (0 ends a pixel row), imageValues one
// transparency byte for every non-zero code.
struct TrainLabel
{
    FixedString<15> text;
    double time = 0.0;  // anchor, time of day
    double level = 0.0; // anchor, kilometres
    int32_t x = 0;      // working pixel position of the image, not stored
    int32_t y = 0;
    int32_t width = 0; // size of the cached image
    int32_t height = 0;
    uint8_t ascending = 0;
    uint8_t rusici = 0;
    uint8_t visible = 0;
    double angle = 0.0; // radians, negative rises to the right
    int32_t imageColour = 0;
    std::vector<uint8_t> imageValues;
    std::vector<uint8_t> imageCodes;
    // An image placed but not drawn yet: imageColour, width and height
    // already hold what drawing it gives.
    std::optional<LabelImageOrder> imageOrder;

    int32_t imageCodeCount() const { return static_cast<int32_t>(imageCodes.size()); }
    bool hasImage() const { return !imageCodes.empty(); }
    bool imageOwed() const { return imageOrder.has_value(); }
    // Drops the image, drawn or owed.
    void dropImage()
    {
        imageCodes.clear();
        imageValues.clear();
        imageOrder.reset();
    }
};

// A minute label beside a train line; derived data, never stored.
struct TimeLabel
{
    FixedString<7> text;
    int32_t x = 0;         // pixels from the diagram's left edge
    double distance = 0.0; // kilometres, top edge of the text
    uint8_t halfMinute = 0;
};

// Running and dwell times of one direction, in half-minutes. Entry i
// (1-based, 1..99) is held at index i - 1: use runTimeAt/dwellAt.
struct TravelTimeProfile
{
    static constexpr int entries = 99;
    static constexpr int32_t noRunTime = 0;
    static constexpr int32_t noDwell = -1;

    std::array<int32_t, entries> runTime;
    std::array<int32_t, entries> dwell;
    FixedString<23> name;

    TravelTimeProfile() { clear(); }
    void clear()
    {
        runTime.fill(noRunTime);
        dwell.fill(noDwell);
        name.clear();
    }
    int32_t &runTimeAt(int i) { return runTime.at(static_cast<size_t>(i - 1)); }
    int32_t runTimeAt(int i) const { return runTime.at(static_cast<size_t>(i - 1)); }
    int32_t &dwellAt(int i) { return dwell.at(static_cast<size_t>(i - 1)); }
    int32_t dwellAt(int i) const { return dwell.at(static_cast<size_t>(i - 1)); }
    bool inUse() const;
};

// The fixed table of 2 directions x 99 profiles with a count per direction.
struct ProfileTable
{
    static constexpr int directions = 2;
    static constexpr int perDirection = 99;

    std::array<std::array<TravelTimeProfile, perDirection>, directions> profiles;
    std::array<uint8_t, directions> count{0, 0};

    // direction 1 or 2, number 1..99
    TravelTimeProfile &at(int direction, int number)
    {
        return profiles.at(static_cast<size_t>(direction - 1)).at(static_cast<size_t>(number - 1));
    }
    const TravelTimeProfile &at(int direction, int number) const
    {
        return profiles.at(static_cast<size_t>(direction - 1)).at(static_cast<size_t>(number - 1));
    }
    uint8_t &countOf(int direction) { return count.at(static_cast<size_t>(direction - 1)); }
    uint8_t countOf(int direction) const { return count.at(static_cast<size_t>(direction - 1)); }
};

// What the line's track layout gives every section and train that says no
// more: the main tracks of a section nobody set, and the least time between
// two trains following each other. Saved with the document.
struct LineTracks
{
    uint8_t mainTracks = 1; // 1 "Jednokolejná trať", 2 "Dvoukolejná trať"
    int32_t minHeadway = 3; // minutes; 0 checks no headway

    bool operator==(const LineTracks &) const = default;
};

// Appearance and view settings that travel in every document file. The
// defaults are the settings file's defaults.
struct DocumentSettings
{
    QByteArray trainFontSmallName = "Times New Roman CE";
    int32_t trainFontSmallSize = 8;
    QByteArray trainFontLargeName = "Arial CE";
    int32_t trainFontLargeSize = 12;
    QByteArray timeFontName = "Arial CE";
    int32_t timeFontSize = 7;
    uint8_t penThin = 1;
    uint8_t penMedium = 2;
    uint8_t penThick = 3;
    uint8_t saveLabelImages = 0;
    uint8_t zoom = 4; // the scale shown is zoom x 25 %
    int32_t ratioX = 1;
    int32_t ratioY = 2;
    uint8_t showTimeLabels = 0;
    uint8_t smoothing = 0;
    uint8_t showCategory = 1;

    bool operator==(const DocumentSettings &) const = default;
};
