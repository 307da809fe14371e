#pragma once

#include "DisplayList.h"

#include <array>
#include <cstdint>
#include <utility>

// A ring of the display list (LinePrimitive::Ring) is one primitive for
// its straight sides: the sides go from the point right of the centre
// counter-clockwise round it, up the screen being a smaller y, each
// corner rounded to a pixel.
namespace RingSides {

constexpr int count = 16;

using Corners = std::array<std::pair<int32_t, int32_t>, count>;

// The corners round (0, 0) for a radius, worked out once per radius.
const Corners &corners(int32_t radius);

// Each side of a ring primitive as a line with the ring's pen and order.
template <typename F> void each(const LinePrimitive &ring, F &&f)
{
    const int32_t radius = (ring.x1 - ring.x0) / 2;
    const int32_t cx = ring.x0 + radius;
    const int32_t cy = ring.y0 + radius;
    const Corners &c = corners(radius);
    LinePrimitive side = ring;
    side.kind = LinePrimitive::Line;
    for (int k = 0; k < count; ++k) {
        const auto &p = c[static_cast<size_t>(k)];
        const auto &q = c[static_cast<size_t>((k + 1) % count)];
        side.x0 = cx + p.first;
        side.y0 = cy + p.second;
        side.x1 = cx + q.first;
        side.y1 = cy + q.second;
        f(side);
    }
}

} // namespace RingSides
