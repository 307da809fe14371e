#pragma once

#include "DisplayList.h"
#include "RingSides.h"

#include "model/Conflict.h"

#include <cstdint>
#include <vector>

class Document;

// Where the diagram marks the conflicts between trains, in diagram pixels
// (x 0 is midnight, y as the train lines have it), and the red lines that
// draw the marks, so that a replay draws them as it draws every other line:
//
//   Ring  where two lines meet (a meet or an overtaking with its point): a
//         ring of ringRadius pixels round the point, ringSides straight sides
//   Bar   a span without a point: over a section (a headway) the box from
//         the span's first to its last minute between the section's two
//         station lines; at a station a bar barThickness pixels high along
//         the station's line. A span shorter than minBarLength pixels is
//         widened to that length about its middle; one running past
//         midnight is two bars, to the end of the day and from its start.
//
// An error is drawn solid, a warning (a train that runs only as required)
// dashed, both red.
namespace ConflictMarks {

constexpr int32_t ringRadius = 7;
constexpr int ringSides = RingSides::count;
constexpr int32_t barThickness = 5; // odd: the station's line in the middle
constexpr int32_t minBarLength = 6;
constexpr uint8_t penWidth = 2;

// What the marks need of the view: the scale and the vertical geometry of
// the rebuild they go with.
struct Frame
{
    double scale = 2.0; // pixels per minute
    int zoom = 4;
    int32_t maxMetres = 0;
    std::vector<int32_t> stationY; // [i] for the 1-based station i; [0] unused

    static Frame of(const Document &doc, double scale);
};

struct Mark
{
    enum class Shape : uint8_t { Ring, Bar };

    Shape shape = Shape::Ring;
    bool warning = false;
    int32_t conflict = 0; // the conflict's index in the list marked
    // A ring: the centre (x0, y0) and radius. A bar: the box from (x0, y0)
    // (left, top) to (x1, y1) (right, bottom), both corners inside it.
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int32_t radius = 0;

    bool operator==(const Mark &) const = default;
};

// The marks of a list of conflicts, in its order; a conflict whose stations
// the frame does not hold gets none.
std::vector<Mark> of(const std::vector<Conflict> &conflicts, const Frame &frame);

// The lines that draw one mark: a ring's sides from the point right of the
// centre counter-clockwise; a bar's outline (top, right, bottom, left), or,
// for a bar no higher than barThickness, one horizontal line a pixel row.
std::vector<LinePrimitive> lines(const Mark &mark);

// Every mark's lines into a display list, after what it holds; marks alike
// (trains running together) drawn once.
void record(const std::vector<Mark> &marks, DisplayList &list);

} // namespace ConflictMarks
