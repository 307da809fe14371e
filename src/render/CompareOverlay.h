#pragma once

#include "Colours.h"
#include "DisplayList.h"
#include "TrainLines.h"

#include <cstdint>
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

// Every drawable train of `compared` into the list at the current line's
// geometry (frame); train `emphasised` (0-based, or -1) darker and wider.
// Returns whether that train was drawn.
bool record(const Document &compared, const std::vector<int32_t> &match, const TrainLines::Frame &frame,
            int32_t emphasised, DisplayList &list);

} // namespace CompareOverlay
