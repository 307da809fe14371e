#include "Replay.h"

#include "Colours.h"
#include "LineRaster.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <optional>

namespace {

// Slope limits of the octants: tan 22.5 and tan 67.5 degrees.
constexpr double tan22 = 0.414213562373;
constexpr double tan67 = 2.41421356237;

constexpr size_t batchSize = 1024;

// A coordinate relative to the viewport; a far-away end point of an absurd
// document stays a number the rasteriser can clip.
int shifted(int32_t v, int32_t origin)
{
    constexpr int64_t limit = int64_t{1} << 30;
    return static_cast<int>(std::clamp<int64_t>(int64_t{v} - origin, -limit, limit));
}

} // namespace

StyledLineOffset styledLineOffset(QPoint from, QPoint to)
{
    if (to.y() == from.y())
        return {0, 1};
    if (to.x() == from.x())
        return {1, 0};
    const double k = static_cast<double>(to.y() - from.y()) / (to.x() - from.x());
    if (std::abs(k) <= tan22)
        return {0, 1};
    if (k > tan67 || k <= -tan67)
        return {1, 0};
    if (k > tan22) // up to tan 67.5
        return {1, -1};
    return {1, 1}; // between -tan 67.5 and -tan 22.5
}

void WideStyledLine(LineRaster &raster, QPoint from, QPoint to, uint8_t style, uint8_t width, QRgb colour)
{
    if (from == to)
        return;
    const StyledLineOffset o = styledLineOffset(from, to);
    raster.styledLine(from, to, style, colour);
    for (int j = 1; j < width; ++j) {
        const QPoint d(j * o.dx, j * o.dy);
        raster.styledLine(from + d, to + d, style, colour);
        raster.styledLine(from - d, to - d, style, colour);
    }
}

void Replayer::flush()
{
    if (m_batch.empty())
        return;
    for (const QLine &l : m_batch)
        m_raster->line(l.p1(), l.p2(), m_width, m_rgb);
    m_batch.clear();
}

void Replayer::drawLine(const LinePrimitive &p, const Viewport &v)
{
    if (p.done != 0)
        return;
    if ((p.x0 > v.vx1 && p.x1 > v.vx1) || (p.y0 > v.vy1 && p.y1 > v.vy1) || (p.x0 < v.vx0 && p.x1 < v.vx0)
        || (p.y0 < v.vy0 && p.y1 < v.vy0))
        return;
    ++m_linesDrawn;
    const QPoint from(shifted(p.x0, v.vx0), shifted(p.y0, v.vy0));
    const QPoint to(shifted(p.x1, v.vx0), shifted(p.y1, v.vy0));
    if (p.style != m_style || p.width != m_width || p.colour != m_colour) {
        flush();
        m_style = p.style;
        m_width = p.width;
        m_colour = p.colour;
        m_rgb = LineRaster::rgb(p.colour);
    }
    if (p.style == LinePrimitive::Solid) {
        m_batch.emplace_back(from, to);
        if (m_batch.size() >= batchSize)
            flush();
        return;
    }
    WideStyledLine(*m_raster, from, to, p.style, p.width, m_rgb);
}

void Replayer::replay(const DisplayList &list, QImage &bitmap, const Viewport &v, bool texts)
{
    m_linesDrawn = 0;
    if (bitmap.isNull())
        return;
    if (m_batch.capacity() < batchSize)
        m_batch.reserve(batchSize);
    const int32_t first = list.stripOf(v.vx0);
    const int32_t last = list.stripOf(v.vx1);

    // White over the viewport.
    const int w = static_cast<int>(std::clamp<int64_t>(int64_t{v.vx1} - v.vx0, 0, bitmap.width()));
    const int h = static_cast<int>(std::clamp<int64_t>(int64_t{v.vy1} - v.vy0, 0, bitmap.height()));
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(bitmap.scanLine(y));
        std::fill(row, row + w, qRgb(255, 255, 255));
    }
    LineRaster raster(bitmap);
    m_raster = &raster;
    // The pen a white fill leaves.
    m_style = LinePrimitive::Solid;
    m_width = 1;
    m_colour = Colours::white;
    m_rgb = qRgb(255, 255, 255);

    // Crossing lines of the viewport's strips, in recorded order.
    m_crossing.clear();
    for (const DisplayList::CrossingLine &c : list.crossingLines())
        if (c.lastStrip >= first && c.firstStrip <= last)
            m_crossing.push_back(&c);

    for (int32_t k = first; k <= last; ++k) {
        const std::vector<LinePrimitive> &own = list.ownLines(k);
        auto next = own.begin();
        for (const DisplayList::CrossingLine *c : m_crossing) {
            if (k < c->firstStrip || k > c->lastStrip)
                continue;
            for (; next != own.end() && next->order < c->line.order; ++next)
                drawLine(*next, v);
            drawLine(c->line, v);
        }
        for (; next != own.end(); ++next)
            drawLine(*next, v);
    }
    flush();
    m_raster = nullptr;

    m_textsStamped = 0;
    m_textsPainted = 0;
    if (texts)
        drawTexts(bitmap, list, first, last, v);
}

void Replayer::forgetTextsOfOtherLists(const DisplayList &list)
{
    if (m_shapedList != &list || m_shapedGeneration != list.fontGeneration()) {
        m_shaped.clear();
        m_fontStamps.clear();
        m_shapedList = &list;
        m_shapedGeneration = list.fontGeneration();
    }
}

// A text drawn as glyphs shaped once gives the pixels QPainter::drawText
// gives, except for the underline, which drawText lays out itself: underlined
// fonts are drawn with drawText.
const QList<QGlyphRun> *Replayer::shaped(const DisplayList &list, uint16_t font, const QString &text,
                                         QPaintDevice *device)
{
    const TextFont &f = list.fonts()[font];
    if (f.font.underline() || f.font.strikeOut())
        return nullptr;
    forgetTextsOfOtherLists(list);
    if (m_shaped.size() <= font)
        m_shaped.resize(static_cast<size_t>(font) + 1);
    QHash<QString, QList<QGlyphRun>> &cache = m_shaped[font];
    auto it = cache.constFind(text);
    if (it == cache.constEnd()) {
        QTextLayout layout(text, f.font, device);
        layout.setCacheEnabled(true);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        QList<QGlyphRun> runs = line.isValid() ? line.glyphRuns() : QList<QGlyphRun>();
        const qreal baseline = line.isValid() ? line.ascent() : 0;
        for (QGlyphRun &run : runs) {
            QList<QPointF> positions = run.positions();
            for (QPointF &p : positions)
                p.ry() -= baseline;
            run.setPositions(positions);
        }
        it = cache.insert(text, runs);
    }
    return &it.value();
}

void Replayer::paintText(QPainter &painter, const DisplayList &list, const TextPrimitive &t, QPoint topLeft)
{
    const TextFont &f = list.fonts()[t.font];
    if (t.font != m_painterFont) {
        m_painterFont = t.font;
        painter.setFont(f.font);
    }
    if (t.fontColour != m_painterColour) {
        m_painterColour = t.fontColour;
        painter.setPen(Colours::toQColor(m_painterColour));
    }
    if (t.brushStyle == TextPrimitive::SolidBrush)
        painter.fillRect(topLeft.x(), topLeft.y(), t.width, t.height, Colours::toQColor(t.brushColour));
    const QPoint baseline(topLeft.x(), topLeft.y() + f.ascent);
    if (const QList<QGlyphRun> *runs = shaped(list, t.font, t.drawable, painter.device()))
        for (const QGlyphRun &run : *runs)
            painter.drawGlyphRun(baseline, run);
    else
        painter.drawText(baseline, t.drawable);
}

const TextStamps::Stamp *Replayer::stamp(const DisplayList &list, const TextPrimitive &t)
{
    forgetTextsOfOtherLists(list);
    if (m_fontStamps.size() <= t.font)
        m_fontStamps.resize(static_cast<size_t>(t.font) + 1);
    FontStamps &font = m_fontStamps[t.font];
    if (font.fontKey.isNull()) {
        const TextFont &f = list.fonts()[t.font];
        font.fontKey = QString::fromLatin1(f.name) + QLatin1Char('/') + QString::number(f.size) + QLatin1Char('/')
                       + QString::number(f.style);
    }
    if (font.colour != t.fontColour) {
        font.colour = t.fontColour;
        font.single.fill(nullptr);
        font.others.clear();
    }
    const bool single = t.drawable.size() == 1 && t.drawable[0].unicode() < font.single.size();
    std::shared_ptr<const TextStamps::Stamp> *slot =
        single ? &font.single[t.drawable[0].unicode()] : &font.others[t.drawable];
    if (!*slot) {
        TextPrimitive clear = t;
        clear.brushStyle = TextPrimitive::ClearBrush;
        const auto draw = [&](QPainter &painter, QPoint topLeft) {
            const int font = m_painterFont;
            const int32_t colour = m_painterColour;
            m_painterFont = -1;
            m_painterColour = -1;
            paintText(painter, list, clear, topLeft);
            m_painterFont = font;
            m_painterColour = colour;
        };
        *slot = m_stamps.stamp(font.fontKey, t.fontColour, t.drawable, draw, QSize(t.width, t.height));
    }
    return slot->get();
}

void Replayer::drawTexts(QImage &bitmap, const DisplayList &list, int32_t first, int32_t last, const Viewport &v)
{
    const std::vector<TextFont> &fonts = list.fonts();
    std::optional<QPainter> painter;
    uchar *const bits = bitmap.bits();
    const qsizetype stride = bitmap.bytesPerLine();
    const QRect bounds = bitmap.rect();
    m_painterFont = -1;
    m_painterColour = -1;
    for (int32_t k = first; k <= last; ++k) {
        for (const TextPrimitive &t : list.textsInStrip(k)) {
            if (t.done != 0 || t.font >= fonts.size())
                continue;
            const int64_t right = int64_t{t.x} + t.width;
            const int64_t bottom = int64_t{t.y} + t.height;
            if (t.x > v.vx1 || right < v.vx0 || t.y > v.vy1 || bottom < v.vy0)
                continue;
            const QPoint topLeft(shifted(t.x, v.vx0), shifted(t.y, v.vy0));
            if (!paintEveryText && t.brushStyle == TextPrimitive::ClearBrush) {
                const TextStamps::Stamp *s = stamp(list, t);
                if (s->usable()) {
                    s->write(bits, stride, bounds, topLeft);
                    ++m_textsStamped;
                    continue;
                }
            }
            if (!painter)
                painter.emplace(&bitmap);
            paintText(*painter, list, t, topLeft);
            ++m_textsPainted;
        }
    }
}
