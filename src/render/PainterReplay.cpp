#include "PainterReplay.h"

#include "Colours.h"
#include "Fonts.h"
#include "SoftClip.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <optional>

namespace {

bool outside(const LinePrimitive &p, const Replayer::Viewport &v)
{
    return (p.x0 > v.vx1 && p.x1 > v.vx1) || (p.y0 > v.vy1 && p.y1 > v.vy1) || (p.x0 < v.vx0 && p.x1 < v.vx0)
           || (p.y0 < v.vy0 && p.y1 < v.vy0);
}

void drawLines(QPainter &painter, const SoftClip &clip, const DisplayList &list, const Replayer::Viewport &v,
               int32_t first, int32_t last)
{
    std::vector<const LinePrimitive *> lines;
    for (int32_t k = first; k <= last; ++k)
        for (const LinePrimitive &p : list.ownLines(k))
            if (p.done == 0 && !outside(p, v))
                lines.push_back(&p);
    for (const DisplayList::CrossingLine &c : list.crossingLines())
        if (c.lastStrip >= first && c.firstStrip <= last && c.line.done == 0 && !outside(c.line, v))
            lines.push_back(&c.line);
    std::sort(lines.begin(), lines.end(),
              [](const LinePrimitive *a, const LinePrimitive *b) { return a->order < b->order; });

    std::optional<LinePrimitive> pen;
    const auto stroke = [&](const LinePrimitive &p) {
        if (!pen || !pen->samePen(p)) {
            painter.setPen(PainterReplay::penOf(p));
            pen = p;
        }
        // One path a line: a vector file keeps every recorded line as an
        // element of its own.
        QPainterPath path(QPointF(p.x0 + 0.5, p.y0 + 0.5));
        path.lineTo(p.x1 + 0.5, p.y1 + 0.5);
        clip.strokePath(painter, path);
    };
    for (const LinePrimitive *p : lines) {
        if (p->kind != LinePrimitive::Ring) {
            stroke(*p);
            continue;
        }
        // A ring's sides, each as a line of its own.
        list.eachLineOf(*p, [&](const LinePrimitive &side, int32_t, int32_t) {
            if (!outside(side, v))
                stroke(side);
        });
    }
}

void drawTexts(QPainter &painter, const SoftClip &clip, const DisplayList &list, const Replayer::Viewport &v,
               int32_t first, int32_t last)
{
    const std::vector<TextFont> &fonts = list.fonts();
    std::vector<QFont> drawn;
    drawn.reserve(fonts.size());
    for (const TextFont &f : fonts)
        drawn.push_back(Fonts::drawnFamily(f.font));
    int fontIndex = -1;
    int32_t fontColour = -1;
    for (int32_t k = first; k <= last; ++k) {
        for (const TextPrimitive &t : list.textsInStrip(k)) {
            if (t.done != 0 || t.font >= fonts.size() || t.text >= list.texts().size())
                continue;
            // A text is filed in every strip it touches; it is drawn in the
            // first of them that the viewport meets.
            if (std::max(first, list.stripOf(t.x)) != k)
                continue;
            const int64_t right = int64_t{t.x} + t.width;
            const int64_t bottom = int64_t{t.y} + t.height;
            if (t.x > v.vx1 || right < v.vx0 || t.y > v.vy1 || bottom < v.vy0)
                continue;
            if (t.font != fontIndex) {
                fontIndex = t.font;
                painter.setFont(drawn[t.font]);
            }
            if (t.fontColour != fontColour) {
                fontColour = t.fontColour;
                painter.setPen(Colours::toQColor(fontColour));
            }
            if (t.brushStyle == TextPrimitive::SolidBrush)
                clip.fillRect(painter, QRectF(t.x, t.y, t.width, t.height), Colours::toQColor(t.brushColour));
            clip.drawText(painter, QPointF(t.x, t.y + fonts[t.font].ascent), list.texts()[t.text]);
        }
    }
}

} // namespace

namespace PainterReplay {

QPen penOf(const LinePrimitive &line)
{
    QPen pen(Colours::toQColor(line.colour));
    pen.setJoinStyle(Qt::RoundJoin);
    const int w = std::max<int>(1, line.width);
    if (line.style == LinePrimitive::Solid) {
        pen.setWidthF(w);
        pen.setCapStyle(Qt::RoundCap);
        return pen;
    }
    // The screen draws 2w - 1 parallel 1-pixel lines, each with the pattern.
    const double width = 2.0 * w - 1.0;
    pen.setWidthF(width);
    pen.setCapStyle(Qt::FlatCap);
    QList<qreal> pattern;
    switch (line.style) {
    case LinePrimitive::Dash:
        pattern = {4, 2};
        break;
    case LinePrimitive::Dot:
        pattern = {1, 2};
        break;
    default:
        pattern = {4, 2, 1, 2};
        break;
    }
    // A pattern counts in pen widths.
    for (qreal &d : pattern)
        d /= width;
    pen.setDashPattern(pattern);
    return pen;
}

void replay(QPainter &painter, const DisplayList &list, const Replayer::Viewport &v, bool texts)
{
    const int32_t first = list.stripOf(v.vx0);
    const int32_t last = list.stripOf(v.vx1);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    const SoftClip clip = SoftClip::of(painter);
    drawLines(painter, clip, list, v, first, last);
    if (texts)
        drawTexts(painter, clip, list, v, first, last);
    painter.restore();
}

} // namespace PainterReplay
