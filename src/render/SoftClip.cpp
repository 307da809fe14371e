#include "SoftClip.h"

#include <QBrush>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>

SoftClip SoftClip::of(const QPainter &painter)
{
    SoftClip clip;
    const QPaintEngine *engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::SVG || !painter.hasClipping())
        return clip;
    clip.m_cuts = true;
    // The painter keeps the clip it was given in logical coordinates.
    clip.m_device = painter.combinedTransform().mapRect(painter.clipBoundingRect());
    return clip;
}

SoftClip::Place SoftClip::place(const QPainter &painter, const QRectF &bounds) const
{
    const QRectF device = painter.combinedTransform().mapRect(bounds);
    if (m_device.contains(device))
        return Place::Inside;
    if (!m_device.intersects(device))
        return Place::Outside;
    return Place::Across;
}

void SoftClip::fillCut(QPainter &painter, const QPainterPath &shape, const QBrush &brush) const
{
    QPainterPath clip;
    clip.addRect(m_device);
    const QPainterPath cut = shape.intersected(painter.combinedTransform().inverted().map(clip));
    if (!cut.isEmpty())
        painter.fillPath(cut, brush);
}

void SoftClip::strokePath(QPainter &painter, const QPainterPath &path) const
{
    if (!m_cuts) {
        painter.drawPath(path);
        return;
    }
    const QPen pen = painter.pen();
    if (pen.style() == Qt::NoPen)
        return;
    // Caps and joins reach at most a pen width past the path's points.
    const double reach = std::max(1.0, pen.widthF());
    switch (place(painter, path.controlPointRect().adjusted(-reach, -reach, reach, reach))) {
    case Place::Inside:
        painter.drawPath(path);
        break;
    case Place::Across:
        fillCut(painter, QPainterPathStroker(pen).createStroke(path), pen.brush());
        break;
    case Place::Outside:
        break;
    }
}

void SoftClip::drawText(QPainter &painter, const QPointF &baseline, const QString &text) const
{
    if (!m_cuts) {
        painter.drawText(baseline, text);
        return;
    }
    const QFont font = painter.font();
    const QFontMetricsF metrics(font, painter.device());
    // Glyphs may stand a little outside what the metrics say (italics,
    // accents); two pixels of room keep every whole text whole.
    const QRectF bounds = metrics.boundingRect(text).translated(baseline).adjusted(-2, -2, 2, 2);
    switch (place(painter, bounds)) {
    case Place::Inside:
        painter.drawText(baseline, text);
        break;
    case Place::Across: {
        QPainterPath glyphs;
        glyphs.addText(baseline, font, text);
        fillCut(painter, glyphs, painter.pen().brush());
        break;
    }
    case Place::Outside:
        break;
    }
}

void SoftClip::fillRect(QPainter &painter, const QRectF &rect, const QColor &colour) const
{
    if (!m_cuts) {
        painter.fillRect(rect, colour);
        return;
    }
    switch (place(painter, rect)) {
    case Place::Inside:
        painter.fillRect(rect, colour);
        break;
    case Place::Across: {
        QPainterPath area;
        area.addRect(rect);
        fillCut(painter, area, QBrush(colour));
        break;
    }
    case Place::Outside:
        break;
    }
}
