#include "DisplayList.h"

#include "DiagramView.h"
#include "RingSides.h"

#include <algorithm>

namespace {

const std::vector<LinePrimitive> noLines;
const std::vector<TextPrimitive> noTexts;

} // namespace

void DisplayList::startRebuild(int32_t cullWidth, int32_t fullHeight, bool discardTexts)
{
    m_cullWidth = cullWidth;
    m_fullHeight = fullHeight;
    m_stripCount = Geometry::stripCount(cullWidth);
    // Strips keep their capacity from one rebuild to the next.
    m_lineStrips.resize(static_cast<size_t>(m_stripCount));
    for (auto &strip : m_lineStrips)
        strip.clear();
    m_crossing.clear();
    m_order = 0;
    m_lineCount = 0;
    if (discardTexts) {
        // Text strips keep their capacity too.
        for (auto &strip : m_textStrips)
            strip.clear();
        m_fonts.clear();
        m_texts.clear();
        m_textIndex.clear();
        ++m_fontGeneration;
        m_textCount = 0;
    }
}

void DisplayList::discardAll()
{
    m_lineStrips.clear();
    m_crossing.clear();
    m_textStrips.clear();
    m_fonts.clear();
    m_texts.clear();
    m_textIndex.clear();
    ++m_fontGeneration;
    m_order = 0;
    m_lineCount = 0;
    m_textCount = 0;
}

void DisplayList::recordLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t style, int32_t colour,
                             uint8_t width)
{
    if (culled(x0, y0, x1, y1))
        return;
    LinePrimitive p;
    p.style = style;
    p.colour = colour;
    p.width = width;
    p.x0 = x0;
    p.y0 = y0;
    p.x1 = x1;
    p.y1 = y1;
    p.order = m_order++;
    ++m_lineCount;
    const int32_t first = stripOf(std::min(x0, x1));
    const int32_t last = stripOf(std::max(x0, x1));
    if (first == last)
        m_lineStrips[static_cast<size_t>(first - 1)].push_back(p);
    else
        m_crossing.push_back({p, first, last});
}

void DisplayList::recordRing(const LinePrimitive &ring)
{
    // Wholly outside the drawing, every side is dropped.
    if (ring.x1 < 0 || ring.y1 < 0 || ring.x0 > m_cullWidth || ring.y0 > m_fullHeight)
        return;
    LinePrimitive p = ring;
    p.kind = LinePrimitive::Ring;
    int32_t first = m_stripCount + 1;
    int32_t last = 0;
    eachLineOf(p, [&first, &last](const LinePrimitive &, int32_t from, int32_t to) {
        first = std::min(first, from);
        last = std::max(last, to);
    });
    if (first > last)
        return;
    p.order = m_order++;
    ++m_lineCount;
    if (first == last)
        m_lineStrips[static_cast<size_t>(first - 1)].push_back(p);
    else
        m_crossing.push_back({p, first, last});
}

int DisplayList::keptSides(const LinePrimitive &ring, std::array<KeptLine, ringSides> &sides) const
{
    static_assert(ringSides == RingSides::count);
    int kept = 0;
    RingSides::each(ring, [&](const LinePrimitive &side) {
        if (!culled(side.x0, side.y0, side.x1, side.y1))
            sides[static_cast<size_t>(kept++)] = {side, stripOf(std::min(side.x0, side.x1)),
                                                  stripOf(std::max(side.x0, side.x1))};
    });
    return kept;
}

void DisplayList::appendLines(const DisplayList &other)
{
    const uint32_t base = m_order;
    const size_t strips = std::min(m_lineStrips.size(), other.m_lineStrips.size());
    for (size_t k = 0; k < strips; ++k) {
        std::vector<LinePrimitive> &to = m_lineStrips[k];
        const size_t from = to.size();
        to.insert(to.end(), other.m_lineStrips[k].begin(), other.m_lineStrips[k].end());
        for (size_t i = from; i < to.size(); ++i)
            to[i].order += base;
    }
    for (CrossingLine c : other.m_crossing) {
        c.line.order += base;
        c.lastStrip = std::min(c.lastStrip, m_stripCount);
        m_crossing.push_back(c);
    }
    m_order += other.m_order;
    m_lineCount += other.m_lineCount;
}

uint16_t DisplayList::fontIndex(const QByteArray &name, int32_t size, uint8_t style, const QFont &font, int ascent)
{
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        const TextFont &f = m_fonts[i];
        if (f.size == size && f.style == style && f.name == name)
            return static_cast<uint16_t>(i);
    }
    // Minute labels use two fonts in two styles; a table this long means
    // something else records texts, and the last entry is reused.
    if (m_fonts.size() >= 0xFFFF)
        return 0xFFFE;
    m_fonts.push_back({name, size, style, font, ascent});
    return static_cast<uint16_t>(m_fonts.size() - 1);
}

uint32_t DisplayList::textIndex(const QString &drawable)
{
    auto it = m_textIndex.constFind(drawable);
    if (it == m_textIndex.constEnd()) {
        it = m_textIndex.insert(drawable, static_cast<uint32_t>(m_texts.size()));
        m_texts.push_back(drawable);
    }
    return it.value();
}

void DisplayList::recordText(const TextPrimitive &text)
{
    if (m_textStrips.size() < static_cast<size_t>(m_stripCount))
        m_textStrips.resize(static_cast<size_t>(m_stripCount));
    const int32_t first = stripOf(text.x);
    const int32_t last = stripOf(int64_t{text.x} + text.width);
    for (int32_t k = first; k <= last; ++k)
        m_textStrips[static_cast<size_t>(k - 1)].push_back(text);
    ++m_textCount;
}

std::vector<TextPrimitive> *DisplayList::textStrip(int32_t strip)
{
    if (strip < 1)
        return nullptr;
    // Texts kept from a rebuild with more strips stay in theirs.
    const auto needed = static_cast<size_t>(std::max(strip, m_stripCount));
    if (m_textStrips.size() < needed)
        m_textStrips.resize(needed);
    return &m_textStrips[static_cast<size_t>(strip - 1)];
}

void DisplayList::recordTextsInStrip(int32_t strip, std::vector<TextPrimitive> &&texts)
{
    std::vector<TextPrimitive> *own = textStrip(strip);
    if (!own)
        return;
    m_textCount += texts.size();
    if (own->empty())
        own->swap(texts); // the strip's old room goes back with the caller's vector
    else
        own->insert(own->end(), std::make_move_iterator(texts.begin()), std::make_move_iterator(texts.end()));
}

const std::vector<LinePrimitive> &DisplayList::ownLines(int32_t strip) const
{
    if (strip < 1 || static_cast<size_t>(strip) > m_lineStrips.size())
        return noLines;
    return m_lineStrips[static_cast<size_t>(strip - 1)];
}

std::vector<LinePrimitive> DisplayList::linesInStrip(int32_t strip) const
{
    std::vector<LinePrimitive> lines = ownLines(strip);
    for (const CrossingLine &c : m_crossing)
        if (strip >= c.firstStrip && strip <= c.lastStrip)
            lines.push_back(c.line);
    std::sort(lines.begin(), lines.end(),
              [](const LinePrimitive &a, const LinePrimitive &b) { return a.order < b.order; });
    return lines;
}

const std::vector<TextPrimitive> &DisplayList::textsInStrip(int32_t strip) const
{
    if (strip < 1 || static_cast<size_t>(strip) > m_textStrips.size())
        return noTexts;
    return m_textStrips[static_cast<size_t>(strip - 1)];
}
