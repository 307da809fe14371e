#include "Replay.h"

#include "Colours.h"
#include "LineRaster.h"

#include <QPainter>
#include <QTextLayout>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

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

void Replayer::LinePass::flush()
{
    if (batch.empty())
        return;
    for (const QLine &l : batch)
        raster->line(l.p1(), l.p2(), width, rgb);
    batch.clear();
}

void Replayer::LinePass::drawLine(const LinePrimitive &p, const Viewport &v)
{
    if (p.done != 0)
        return;
    if ((p.x0 > v.vx1 && p.x1 > v.vx1) || (p.y0 > v.vy1 && p.y1 > v.vy1) || (p.x0 < v.vx0 && p.x1 < v.vx0)
        || (p.y0 < v.vy0 && p.y1 < v.vy0))
        return;
    ++linesDrawn;
    // Rows are counted from the band's top. A line whose pixels (ends, caps
    // and the copies of a wide styled line all lie within twice its width
    // of its ends' rows) miss the band is left to the other bands.
    const int y0 = shifted(p.y0, v.vy0) - top;
    const int y1 = shifted(p.y1, v.vy0) - top;
    const int margin = 2 * p.width + 2;
    if (std::max(y0, y1) + margin < 0 || std::min(y0, y1) - margin >= rows)
        return;
    const QPoint from(shifted(p.x0, v.vx0), y0);
    const QPoint to(shifted(p.x1, v.vx0), y1);
    if (p.style != style || p.width != width || p.colour != colour) {
        flush();
        style = p.style;
        width = p.width;
        colour = p.colour;
        rgb = LineRaster::rgb(p.colour);
    }
    if (p.style == LinePrimitive::Solid) {
        batch.emplace_back(from, to);
        if (batch.size() >= batchSize)
            flush();
        return;
    }
    WideStyledLine(*raster, from, to, p.style, p.width, rgb);
}

void Replayer::drawBand(LinePass &pass, const DisplayList &list, const Pixels &bitmap, const Viewport &v, int32_t first,
                        int32_t last)
{
    // The band's rows as an image of their own: the raster clips to them,
    // and a line's pixels depend only on its ends, so each band gets the
    // rows the whole bitmap would.
    QImage rows(bitmap.bits + qsizetype{pass.top} * bitmap.stride, bitmap.width, pass.rows, bitmap.stride,
                QImage::Format_RGB32);

    // White over the viewport.
    const int w = static_cast<int>(std::clamp<int64_t>(int64_t{v.vx1} - v.vx0, 0, bitmap.width));
    const int h = static_cast<int>(std::clamp<int64_t>(int64_t{v.vy1} - v.vy0, 0, bitmap.height));
    for (int y = 0; y < std::min(pass.rows, h - pass.top); ++y) {
        auto *row = reinterpret_cast<QRgb *>(rows.scanLine(y));
        std::fill(row, row + w, qRgb(255, 255, 255));
    }
    LineRaster raster(rows);
    pass.raster = &raster;
    pass.linesDrawn = 0;
    if (pass.batch.capacity() < batchSize)
        pass.batch.reserve(batchSize);
    // The pen a white fill leaves.
    pass.style = LinePrimitive::Solid;
    pass.width = 1;
    pass.colour = Colours::white;
    pass.rgb = qRgb(255, 255, 255);

    for (int32_t k = first; k <= last; ++k) {
        // A ring draws the sides that touch this strip, as they would be
        // drawn had each been recorded alone.
        const auto draw = [&pass, &list, &v, k](const LinePrimitive &p) {
            if (p.kind != LinePrimitive::Ring) {
                pass.drawLine(p, v);
                return;
            }
            if (p.done != 0)
                return;
            list.eachLineOf(p, [&pass, &v, k](const LinePrimitive &side, int32_t from, int32_t to) {
                if (from <= k && k <= to)
                    pass.drawLine(side, v);
            });
        };
        const std::vector<LinePrimitive> &own = list.ownLines(k);
        auto next = own.begin();
        for (const DisplayList::CrossingLine *c : m_crossing) {
            if (k < c->firstStrip || k > c->lastStrip)
                continue;
            for (; next != own.end() && next->order < c->line.order; ++next)
                draw(*next);
            draw(c->line);
        }
        for (; next != own.end(); ++next)
            draw(*next);
    }
    pass.flush();
    pass.raster = nullptr;
}

int Replayer::bandsOf(const QImage &bitmap)
{
    constexpr int minimumRows = 128;
    const int threads = std::clamp(QThreadPool::globalInstance()->maxThreadCount(), 1, 8);
    return std::clamp(bitmap.height() / minimumRows, 1, threads);
}

void Replayer::replay(const DisplayList &list, QImage &bitmap, const Viewport &v, bool texts)
{
    m_linesDrawn = 0;
    if (bitmap.isNull() || bitmap.depth() != 32)
        return;
    // Its rows as the bands share them (a QImage is not to be touched from
    // several threads).
    const Pixels pixels{bitmap.bits(), bitmap.bytesPerLine(), bitmap.width(), bitmap.height()};
    const int32_t first = list.stripOf(v.vx0);
    const int32_t last = list.stripOf(v.vx1);

    // Crossing lines of the viewport's strips, in recorded order.
    m_crossing.clear();
    for (const DisplayList::CrossingLine &c : list.crossingLines())
        if (c.lastStrip >= first && c.firstStrip <= last)
            m_crossing.push_back(&c);

    // The texts meeting the viewport, each with its stamp where it has a
    // usable one; when every text has, they are written in the bands too.
    m_textsStamped = 0;
    m_textsPainted = 0;
    m_placed.clear();
    const bool textsInBands = texts && placeTexts(list, first, last, v);

    // Horizontal bands of the bitmap on all cores: each band writes only its
    // own rows, in the order one pass over the whole bitmap writes them.
    const int bands = oneBand ? 1 : bandsOf(bitmap);
    m_passes.resize(static_cast<size_t>(bands));
    for (int b = 0; b < bands; ++b) {
        LinePass &pass = m_passes[static_cast<size_t>(b)];
        pass.top = static_cast<int>(int64_t{bitmap.height()} * b / bands);
        pass.rows = static_cast<int>(int64_t{bitmap.height()} * (b + 1) / bands) - pass.top;
    }
    const auto draw = [&](LinePass &pass) {
        drawBand(pass, list, pixels, v, first, last);
        if (textsInBands)
            writeStamps(pixels, QRect(0, pass.top, pixels.width, pass.rows));
    };
    if (bands == 1)
        draw(m_passes.front());
    else
        QtConcurrent::blockingMap(m_passes, draw);
    // Every band sees every line meeting the viewport.
    m_linesDrawn = m_passes.front().linesDrawn;

    if (texts && !textsInBands)
        drawTexts(bitmap, list);
    m_placed.clear();
    m_pinned.clear();
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
    const QString &drawable = list.texts()[t.text];
    if (const QList<QGlyphRun> *runs = shaped(list, t.font, drawable, painter.device()))
        for (const QGlyphRun &run : *runs)
            painter.drawGlyphRun(baseline, run);
    else
        painter.drawText(baseline, drawable);
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
        // Stamps already placed by this replay are kept until it ends.
        font.colour = t.fontColour;
        for (std::shared_ptr<const TextStamps::Stamp> &p : font.ofText)
            if (p)
                m_pinned.push_back(std::move(p));
        font.ofText.clear();
    }
    if (font.ofText.size() <= t.text)
        font.ofText.resize(list.texts().size());
    std::shared_ptr<const TextStamps::Stamp> *slot = &font.ofText[t.text];
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
        *slot = TextStamps::shared().stamp(font.fontKey, t.fontColour, list.texts()[t.text], draw,
                                           QSize(t.width, t.height));
    }
    return slot->get();
}

bool Replayer::placeTexts(const DisplayList &list, int32_t first, int32_t last, const Viewport &v)
{
    const std::vector<TextFont> &fonts = list.fonts();
    bool allStamped = true;
    for (int32_t k = first; k <= last; ++k) {
        for (const TextPrimitive &t : list.textsInStrip(k)) {
            if (t.done != 0 || t.font >= fonts.size() || t.text >= list.texts().size())
                continue;
            const int64_t right = int64_t{t.x} + t.width;
            const int64_t bottom = int64_t{t.y} + t.height;
            if (t.x > v.vx1 || right < v.vx0 || t.y > v.vy1 || bottom < v.vy0)
                continue;
            const TextStamps::Stamp *s = nullptr;
            if (!paintEveryText && t.brushStyle == TextPrimitive::ClearBrush) {
                s = stamp(list, t);
                if (!s->usable())
                    s = nullptr;
            }
            allStamped = allStamped && s;
            m_placed.push_back({s, &t, QPoint(shifted(t.x, v.vx0), shifted(t.y, v.vy0))});
            ++(s ? m_textsStamped : m_textsPainted);
        }
    }
    return allStamped;
}

void Replayer::writeStamps(const Pixels &bitmap, const QRect &rows) const
{
    for (const PlacedText &p : m_placed)
        p.stamp->write(bitmap.bits, bitmap.stride, rows, p.topLeft);
}

void Replayer::drawTexts(QImage &bitmap, const DisplayList &list)
{
    std::optional<QPainter> painter;
    uchar *const bits = bitmap.bits();
    const qsizetype stride = bitmap.bytesPerLine();
    const QRect bounds = bitmap.rect();
    m_painterFont = -1;
    m_painterColour = -1;
    for (const PlacedText &p : m_placed) {
        if (p.stamp) {
            p.stamp->write(bits, stride, bounds, p.topLeft);
            continue;
        }
        if (!painter)
            painter.emplace(&bitmap);
        paintText(*painter, list, *p.text, p.topLeft);
    }
}
