#include "MinuteLabels.h"

#include "Colours.h"
#include "DiagramView.h"
#include "Fonts.h"
#include "LabelText.h"

#include "model/Document.h"
#include "model/Kilometres.h"

#include <algorithm>
#include <cmath>

#include <QtConcurrent/QtConcurrentMap>

namespace {

int32_t boundedRound(double v)
{
    if (!std::isfinite(v))
        return 0;
    return Geometry::round(std::clamp(v, -1.0e9, 1.0e9));
}

} // namespace

int32_t MinuteLabelLayout::Measured::width(QByteArrayView text)
{
    // Nearly every minute label is one digit.
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') {
        int32_t &w = digits[static_cast<size_t>(text[0] - '0')];
        if (w < 0)
            w = metrics.horizontalAdvance(Fonts::drawableText(name, text));
        return w;
    }
    const QByteArray key = text.toByteArray();
    auto it = widths.constFind(key);
    if (it == widths.constEnd())
        it = widths.insert(key, metrics.horizontalAdvance(Fonts::drawableText(name, text)));
    return it.value();
}

MinuteLabelLayout::Measured::Measured(const QByteArray &fontName, int32_t size, uint8_t style)
    : name(fontName), font(Fonts::makeFont(fontName, size, style)), metrics(font, &LabelText::measureSurface()),
      height(metrics.height())
{
}

MinuteLabelLayout::MinuteLabelLayout(const Document &doc)
    : m_timeFontName(doc.settings.timeFontName), m_fontSize(doc.settings.timeFontSize), m_zoom(doc.settings.zoom),
      m_maxKm(Kilometres::toKm(doc.maxMetres)), m_regular(doc.settings.timeFontName, doc.settings.timeFontSize, 0),
      m_underlined(doc.settings.timeFontName, doc.settings.timeFontSize, Fonts::Underline),
      m_arrow(Fonts::arrowFontName, doc.settings.timeFontSize, 0),
      m_top(DiagramView::topMargin + 2.0 * m_zoom * m_maxKm), m_kmHeight(2.0 * m_zoom)
{
}

QByteArray MinuteLabelLayout::fontName(uint8_t font) const
{
    return font & ArrowBit ? Fonts::arrowFontName : m_timeFontName;
}

bool MinuteLabelLayout::place(const TimeLabel &label, int32_t cullWidth, int32_t fullHeight, Box &box)
{
    const char first = label.text.size() > 0 ? label.text.at(0) : '\0';
    const bool arrow = label.text.size() == 1 && first == Fonts::arrowText[0];
    const bool underlined = label.halfMinute != 0;
    // The arrow of a short dwell never carries the half-minute flag; should a
    // text "p" carry it anyway, it is drawn underlined like any other.
    Measured &m = arrow ? m_arrow : underlined ? m_underlined : m_regular;
    box.font = static_cast<uint8_t>((arrow ? ArrowBit : 0) | (underlined ? UnderlineBit : 0));
    // Nearly every minute label is one digit.
    if (!arrow && label.text.size() == 1 && first >= '0' && first <= '9' && m.digits[size_t(first - '0')] >= 0)
        box.width = m.digits[size_t(first - '0')];
    else
        box.width = m.width(label.text.view());
    box.height = m.height;
    box.x = label.x;
    box.y = boundedRound(m_top - m_kmHeight * label.distance);
    return int64_t(box.x) + box.width >= 0 && box.x <= cullWidth && int64_t(box.y) + box.height >= 0
           && box.y <= fullHeight;
}

void MinuteTextStrips::clear()
{
    m_layout.reset();
    m_entries.clear();
    for (auto &strip : m_strips)
        strip.clear();
    m_recorded.clear();
    m_stripFonts.clear();
    m_texts.clear();
    m_textIndex.clear();
    m_oneByteText.fill(noText);
}

void MinuteTextStrips::prepare(const Document &doc, const DisplayList &list, int every,
                               const std::function<void(int)> &progress)
{
    clear();
    m_layout.emplace(doc);
    // The list's size is taken once: the list is being recorded into
    // meanwhile, and its counters share cache lines with these numbers.
    m_cullWidth = list.cullWidth();
    m_fullHeight = list.fullHeight();
    m_stripCount = list.stripCount();
    m_fontSize = doc.settings.timeFontSize;
    const auto strips = static_cast<size_t>(m_stripCount);
    // Strips keep their capacity from one rebuild to the next.
    m_strips.resize(strips);
    m_recorded.assign(strips, 0);
    m_stripFonts.assign(strips, StripFonts{});
    m_entries.reserve(doc.timeLabels.size());
    for (uint8_t f = 0; f < m_fonts.size(); ++f) {
        Font &font = m_fonts[f];
        font.name = m_layout->fontName(f);
        font.style = f & MinuteLabelLayout::UnderlineBit ? Fonts::Underline : 0;
        font.font = Fonts::makeFont(font.name, m_fontSize, font.style);
        font.ascent = QFontMetrics(font.font, &LabelText::measureSurface()).ascent();
    }

    int count = 0;
    int untilProgress = every;
    for (const TimeLabel &label : doc.timeLabels) {
        add(label);
        ++count;
        if (every > 0 && --untilProgress == 0) {
            untilProgress = every;
            if (progress)
                progress(count);
        }
    }
}

uint32_t MinuteTextStrips::textIndex(const TimeLabel &label, bool arrow)
{
    const QByteArrayView bytes = label.text.view();
    const uint8_t font = arrow ? MinuteLabelLayout::ArrowBit : 0;
    // One byte (a digit, the arrow) is the common case: its slot is fixed.
    uint32_t *slot = nullptr;
    if (bytes.size() == 1) {
        slot = &m_oneByteText[(arrow ? 256u : 0u) + static_cast<uint8_t>(bytes[0])];
        if (*slot != noText)
            return *slot;
    }
    const QByteArray key = bytes.toByteArray() + (arrow ? '\1' : '\0');
    auto it = m_textIndex.constFind(key);
    if (it == m_textIndex.constEnd()) {
        it = m_textIndex.insert(key, static_cast<uint32_t>(m_texts.size()));
        m_texts.push_back(Fonts::drawableText(m_layout->fontName(font), bytes));
    }
    if (slot)
        *slot = it.value();
    return it.value();
}

void MinuteTextStrips::add(const TimeLabel &label)
{
    // Laid out straight into its entry: a box copied field by field right
    // after it was written stalls on every label.
    Entry &e = m_entries.emplace_back();
    if (!m_layout->place(label, m_cullWidth, m_fullHeight, e.box)) {
        m_entries.pop_back();
        return;
    }
    const MinuteLabelLayout::Box &box = e.box;
    e.text = textIndex(label, box.font & MinuteLabelLayout::ArrowBit);
    const auto index = static_cast<uint32_t>(m_entries.size() - 1);
    // Filed as RecordText files it: every strip from x div 500 + 1 to
    // (x + width) div 500 + 1.
    const int32_t first = stripOf(box.x);
    const int32_t last = stripOf(int64_t{box.x} + box.width);
    for (int32_t k = first; k <= last; ++k) {
        m_strips[static_cast<size_t>(k - 1)].push_back(index);
        StripFonts &fonts = m_stripFonts[static_cast<size_t>(k - 1)];
        if (std::find(fonts.order.begin(), fonts.order.begin() + fonts.count, box.font)
            == fonts.order.begin() + fonts.count)
            fonts.order[fonts.count++] = box.font;
    }
}

bool MinuteTextStrips::owes(int32_t strip) const
{
    return strip >= 1 && static_cast<size_t>(strip) <= m_recorded.size() && !m_recorded[static_cast<size_t>(strip - 1)];
}

void MinuteTextStrips::record(int32_t strip, DisplayList &list)
{
    record(strip, strip, list, false);
}

void MinuteTextStrips::record(int32_t first, int32_t last, DisplayList &list, bool parallel)
{
    std::vector<int32_t> owed;
    for (int32_t k = first; k <= last; ++k)
        if (owes(k))
            owed.push_back(k);
    if (owed.empty())
        return;
    // The fonts enter the list's table in the order the strips use them.
    std::array<int, 4> fontIndex{-1, -1, -1, -1};
    for (int32_t k : owed) {
        const StripFonts &fonts = m_stripFonts[static_cast<size_t>(k - 1)];
        for (int j = 0; j < fonts.count; ++j) {
            int &index = fontIndex[fonts.order[static_cast<size_t>(j)]];
            if (index < 0) {
                const Font &f = m_fonts[fonts.order[static_cast<size_t>(j)]];
                index = list.fontIndex(f.name, m_fontSize, f.style, f.font, f.ascent);
            }
        }
    }
    // The texts enter the list's table once.
    std::vector<uint32_t> textIndex(m_texts.size());
    for (size_t i = 0; i < m_texts.size(); ++i)
        textIndex[i] = list.textIndex(m_texts[i]);
    std::vector<std::vector<TextPrimitive>> texts(owed.size());
    const auto build = [&](std::vector<TextPrimitive> &out) {
        const int32_t strip = owed[static_cast<size_t>(&out - texts.data())];
        const std::vector<uint32_t> &entries = m_strips[static_cast<size_t>(strip - 1)];
        out.reserve(entries.size());
        for (uint32_t i : entries) {
            const Entry &e = m_entries[i];
            const MinuteLabelLayout::Box &box = e.box;
            TextPrimitive &t = out.emplace_back();
            t.brushColour = Colours::white;
            t.fontColour = Colours::black;
            t.brushStyle = TextPrimitive::ClearBrush;
            t.x = box.x;
            t.y = box.y;
            t.text = textIndex[e.text];
            t.font = static_cast<uint16_t>(fontIndex[box.font]);
            t.width = box.width;
            t.height = box.height;
        }
    };
    if (parallel && texts.size() > 1)
        QtConcurrent::blockingMap(texts, build);
    else
        std::for_each(texts.begin(), texts.end(), build);
    for (size_t j = 0; j < owed.size(); ++j) {
        m_recorded[static_cast<size_t>(owed[j] - 1)] = 1;
        list.recordTextsInStrip(owed[j], std::move(texts[j]));
    }
}

void MinuteTextStrips::recordAll(DisplayList &list)
{
    for (int32_t k = 1; static_cast<size_t>(k) <= m_recorded.size(); ++k)
        record(k, list);
}
