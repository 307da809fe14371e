#pragma once

#include "Colours.h"
#include "DisplayList.h"
#include "TrainLines.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class Document;

// The trains of another document ("Soubor › Porovnat s...") drawn behind
// the current ones: each at the current line's stations, matched by name
// (StationMatch); rows at stations the current line lacks are left out, and
// a train left with fewer than two rows is not drawn. The lines go into the
// display list before the current trains, light grey and dashed, so that a
// replay draws them underneath in the window, on the sheet and in the
// pictures alike; they get no label and no conflict mark. The counterpart
// of a difference chosen in the list is drawn darker and wider.
namespace CompareOverlay {

constexpr int32_t colour = Colours::pack(192, 192, 192);
constexpr int32_t emphasisColour = Colours::pack(64, 64, 64);
constexpr uint8_t width = 1;
constexpr uint8_t emphasisWidth = 2;
constexpr uint8_t style = LinePrimitive::Dash;

// A compared train with its rows moved to the current line's stations
// (match: StationMatch::of(current, compared)); kilometre points stay where
// they are. False when fewer than two rows remain.
bool place(const Train &train, const std::vector<int32_t> &match, Train &placed);

// The document compared with the current one, with its trains as last
// placed on the current line and their lines as last recorded: placed again
// only when the stations match otherwise, recorded again only when the
// geometry changed too (a zoom step, a station moved), and otherwise filed
// into the list as they were.
class Compared
{
public:
    explicit Compared(std::unique_ptr<const Document> document);
    ~Compared();
    const Document &document() const { return *m_document; }

    // Every drawable train into the list (after its startRebuild) at the
    // current line's geometry (frame); train `emphasised` (0-based in the
    // compared document, or -1) drawn again over its grey line, darker and
    // wider. Returns whether that train was drawn.
    bool record(const Document &current, const TrainLines::Frame &frame, int32_t emphasised, DisplayList &list);

private:
    std::unique_ptr<const Document> m_document;
    std::vector<int32_t> m_match;
    bool m_placedOnce = false;
    std::vector<Train> m_placed;
    std::vector<int32_t> m_source; // [k]: the compared train placed as m_placed[k]

    // What the kept lines were recorded at.
    struct Recording
    {
        double scale = 0;
        int zoom = 0;
        int32_t maxMetres = 0;
        std::vector<int32_t> stationMetres;
        int32_t cullWidth = 0;
        int32_t fullHeight = 0;
        bool operator==(const Recording &) const = default;
    };
    std::optional<Recording> m_recordedAt;
    DisplayList m_lines;
};

} // namespace CompareOverlay
