#pragma once

// A new line's points placed by the SR70 codebook: the kilometre of the
// line's own track section, the four-character TUDU prefix most of its
// points share; a point chained on another section (a junction station at
// the line's end) is placed from its distance on the ground to its
// neighbour on the line, or between its neighbours in proportion to those
// distances. A point neither way can place keeps no metres, for the plan
// to fill in from running times (LinePlanner::plan).

#include "io/czptt/Sr70Codebook.h"
#include "io/sources/DayTimetable.h"

#include <QString>

#include <vector>

namespace CodebookPlacement {

struct Placement
{
    QString section;   // the line's own track section (four characters)
    int onSection = 0; // points with a kilometre on it
    int chained = 0;   // points placed from their coordinates
    int unplaced = 0;  // left for the caller to place
};

// Metres of a line's points (indices into day.points, in line order).
Placement place(const Sr70Codebook &book, DayTimetable &day, const std::vector<int> &line);

} // namespace CodebookPlacement
