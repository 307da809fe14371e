#include "RingSides.h"

#include "DiagramView.h"

#include <cmath>
#include <numbers>

namespace RingSides {

const Corners &corners(int32_t radius)
{
    // Rings of one size, from any thread.
    thread_local int32_t made = -1;
    thread_local Corners c{};
    if (radius != made) {
        made = radius;
        for (int k = 0; k < count; ++k) {
            const double a = 2.0 * std::numbers::pi * k / count;
            c[static_cast<size_t>(k)] = {Geometry::round(radius * std::cos(a)), -Geometry::round(radius * std::sin(a))};
        }
    }
    return c;
}

} // namespace RingSides
