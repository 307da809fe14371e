#include "LineRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

LineRaster::LineRaster(QImage &image)
{
    if (image.isNull() || image.depth() != 32)
        return;
    m_bits = image.bits();
    m_stride = image.bytesPerLine();
    m_width = image.width();
    m_height = image.height();
}

QRgb LineRaster::rgb(int32_t packedColour)
{
    return qRgb(packedColour & 0xFF, (packedColour >> 8) & 0xFF, (packedColour >> 16) & 0xFF);
}

void LineRaster::line(QPoint from, QPoint to, int width, int32_t packedColour)
{
    line(from, to, width, rgb(packedColour));
}

void LineRaster::styledLine(QPoint from, QPoint to, uint8_t style, QRgb colour)
{
    if (m_bits)
        thin(from.x(), from.y(), to.x(), to.y(), colour, style);
}

void LineRaster::line(QPoint from, QPoint to, int width, QRgb colour)
{
    if (!m_bits)
        return;
    if (width <= 1)
        thin(from.x(), from.y(), to.x(), to.y(), colour, Solid);
    else
        wide(from.x(), from.y(), to.x(), to.y(), width, colour);
}

void LineRaster::hspan(int64_t y, int64_t xa, int64_t xb, QRgb colour)
{
    if (y < 0 || y >= m_height)
        return;
    xa = std::max<int64_t>(xa, 0);
    xb = std::min<int64_t>(xb, m_width - 1);
    if (xa > xb)
        return;
    auto *row = reinterpret_cast<QRgb *>(m_bits + y * m_stride);
    std::fill(row + xa, row + xb + 1, colour);
}

void LineRaster::vspan(int64_t x, int64_t ya, int64_t yb, QRgb colour)
{
    if (x < 0 || x >= m_width)
        return;
    ya = std::max<int64_t>(ya, 0);
    yb = std::min<int64_t>(yb, m_height - 1);
    uchar *p = m_bits + ya * m_stride + x * 4;
    for (int64_t y = ya; y <= yb; ++y, p += m_stride)
        *reinterpret_cast<QRgb *>(p) = colour;
}

namespace {

// The Bresenham walk of a line along its major axis: at step i the minor
// coordinate is minor0 + s * floor((2 * |dminor| * i + |dmajor|) / (2 * |dmajor|)).
// `at` starts the walk at any step with the exact error term.
struct Walk
{
    int64_t major0, minor0, dmajor, dminor; // dmajor >= 0 after normalising the direction
    int64_t smajor, sminor;
    int64_t twoMinor, twoMajor;
    int64_t minor, err;

    Walk(int64_t a0, int64_t b0, int64_t a1, int64_t b1)
        : major0(a0), minor0(b0), dmajor(std::abs(a1 - a0)), dminor(std::abs(b1 - b0)), smajor(a1 >= a0 ? 1 : -1),
          sminor(b1 >= b0 ? 1 : -1), twoMinor(2 * dminor), twoMajor(2 * std::max<int64_t>(1, dmajor)), minor(b0), err(0)
    {
    }
    void at(int64_t i)
    {
        const int64_t num = twoMinor * i + std::max<int64_t>(1, dmajor);
        minor = minor0 + sminor * (num / twoMajor);
        err = num % twoMajor;
    }
    void step()
    {
        err += twoMinor;
        if (err >= twoMajor) {
            err -= twoMajor;
            minor += sminor;
        }
    }
};

// Steps i in [0, last] whose major coordinate lies in [lo, hi].
bool stepRange(const Walk &w, int64_t last, int64_t lo, int64_t hi, int64_t &first, int64_t &end)
{
    if (w.smajor > 0) {
        first = std::max<int64_t>(0, lo - w.major0);
        end = std::min<int64_t>(last, hi - w.major0);
    } else {
        first = std::max<int64_t>(0, w.major0 - hi);
        end = std::min<int64_t>(last, w.major0 - lo);
    }
    return first <= end;
}

// Whether pixel i of a line (counted from its start) is drawn.
struct Pattern
{
    uint32_t mask = ~0u; // bit j set: pixel j of the period is on
    int period = 1;

    explicit Pattern(uint8_t style)
    {
        switch (style) {
        case LineRaster::Dash: // 4 on, 2 off
            mask = 0b001111;
            period = 6;
            break;
        case LineRaster::Dot: // 1 on, 2 off
            mask = 0b001;
            period = 3;
            break;
        case LineRaster::DashDot: // 4 on, 2 off, 1 on, 2 off
            mask = 0b001001111;
            period = 9;
            break;
        default:
            break;
        }
    }
};

// Pixel i's place in the pattern, kept step by step: no division a pixel.
struct Phase
{
    const Pattern &pattern;
    int at;

    Phase(const Pattern &p, int64_t i) : pattern(p), at(static_cast<int>(i % p.period)) {}
    bool on() const { return (pattern.mask >> at) & 1u; }
    void step() { at = at + 1 == pattern.period ? 0 : at + 1; }
};

} // namespace

namespace {

// The steps first..end of a walk that the pattern draws, each handed to put
// with the walk at that step. A solid line keeps no phase.
template <typename Put> void eachDrawnStep(Walk &w, int64_t first, int64_t end, const Pattern &pattern, Put put)
{
    w.at(first);
    if (pattern.mask == ~0u) {
        for (int64_t i = first; i <= end; ++i, w.step())
            put(i);
        return;
    }
    Phase phase(pattern, first);
    for (int64_t i = first; i <= end; ++i, w.step(), phase.step())
        if (phase.on())
            put(i);
}

} // namespace

void LineRaster::thin(int64_t x0, int64_t y0, int64_t x1, int64_t y1, QRgb colour, uint8_t style)
{
    const Pattern pattern(style);
    const int64_t dx = std::abs(x1 - x0);
    const int64_t dy = std::abs(y1 - y0);
    if (dx == 0 && dy == 0)
        return; // the last pixel is not drawn, so nothing is
    if (dx >= dy) {
        Walk w(x0, y0, x1, y1);
        int64_t first = 0, end = 0;
        if (!stepRange(w, dx - 1, 0, m_width - 1, first, end))
            return;
        eachDrawnStep(w, first, end, pattern, [&](int64_t i) {
            if (w.minor >= 0 && w.minor < m_height)
                reinterpret_cast<QRgb *>(m_bits + w.minor * m_stride)[w.major0 + w.smajor * i] = colour;
        });
    } else {
        Walk w(y0, x0, y1, x1);
        int64_t first = 0, end = 0;
        if (!stepRange(w, dy - 1, 0, m_height - 1, first, end))
            return;
        eachDrawnStep(w, first, end, pattern, [&](int64_t i) {
            if (w.minor >= 0 && w.minor < m_width)
                reinterpret_cast<QRgb *>(m_bits + (w.major0 + w.smajor * i) * m_stride)[w.minor] = colour;
        });
    }
}

namespace {

// The rows of a disc of diameter `width` centred on the pixel (or between
// pixels for an even width): from row lo on, each row's first and last
// column relative to the centre.
struct DiscRows
{
    int lo = 0;
    std::vector<std::pair<int, int>> spans;

    explicit DiscRows(int width)
    {
        lo = -(width - 1) / 2;
        const int hi = width / 2;
        const double c = (lo + hi) / 2.0;
        const double r2 = width * width / 4.0 + 0.25;
        for (int dy = lo; dy <= hi; ++dy) {
            const double ry = dy - c;
            const double half = std::sqrt(std::max(0.0, r2 - ry * ry));
            const auto a = static_cast<int>(std::ceil(c - half - 1e-9));
            const auto b = static_cast<int>(std::floor(c + half + 1e-9));
            spans.emplace_back(std::max(a, lo), std::min(b, hi));
        }
    }
};

constexpr int smallWidths = 33;

// The widths lines are drawn in are few and small: their rows are worked
// out once.
const DiscRows &discRows(int width)
{
    static const std::vector<DiscRows> small = [] {
        std::vector<DiscRows> rows;
        for (int w = 0; w < smallWidths; ++w)
            rows.emplace_back(w);
        return rows;
    }();
    return small[static_cast<size_t>(width)];
}

} // namespace

void LineRaster::disc(int64_t cx, int64_t cy, int width, QRgb colour)
{
    const auto draw = [&](const DiscRows &rows) {
        int64_t y = cy + rows.lo;
        for (const auto &[a, b] : rows.spans)
            hspan(y++, cx + a, cx + b, colour);
    };
    if (width >= 0 && width < smallWidths)
        draw(discRows(width));
    else
        draw(DiscRows(width));
}

void LineRaster::wide(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width, QRgb colour)
{
    const int64_t dx = std::abs(x1 - x0);
    const int64_t dy = std::abs(y1 - y0);
    disc(x0, y0, width, colour);
    if (dx == 0 && dy == 0)
        return;
    disc(x1, y1, width, colour);
    // The slice across the major axis is w / cos of the line's angle long,
    // so the line is w pixels thick measured across it.
    const double length = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
    const int64_t major = std::max(dx, dy);
    const int64_t slice =
        std::max<int64_t>(width, static_cast<int64_t>(std::nearbyint(width * length / static_cast<double>(major))));
    const int64_t lo = -(slice - 1) / 2;
    const int64_t hi = lo + slice - 1;
    if (dx >= dy) {
        Walk w(x0, y0, x1, y1);
        int64_t first = 0, end = 0;
        if (!stepRange(w, dx, 0, m_width - 1, first, end))
            return;
        w.at(first);
        for (int64_t i = first; i <= end; ++i, w.step())
            vspan(w.major0 + w.smajor * i, w.minor + lo, w.minor + hi, colour);
    } else {
        Walk w(y0, x0, y1, x1);
        int64_t first = 0, end = 0;
        if (!stepRange(w, dy, 0, m_height - 1, first, end))
            return;
        w.at(first);
        // Every row here lies in the image: only the columns are held to it.
        for (int64_t i = first; i <= end; ++i, w.step()) {
            const int64_t xa = std::max<int64_t>(w.minor + lo, 0);
            const int64_t xb = std::min<int64_t>(w.minor + hi, m_width - 1);
            auto *row = reinterpret_cast<QRgb *>(m_bits + (w.major0 + w.smajor * i) * m_stride);
            for (int64_t x = xa; x <= xb; ++x)
                row[x] = colour;
        }
    }
}
