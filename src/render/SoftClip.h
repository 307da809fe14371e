#pragma once

#include <QRectF>

class QBrush;
class QColor;
class QPainter;
class QPainterPath;
class QPointF;
class QString;

// The painter's clip rectangle on a device that does not apply it. Qt's SVG
// generator writes no clip at all, so a line or text drawn across a clip
// edge would show in full in an SVG (station lines and trains running
// through the station column), where a PDF or the screen cuts it. On such a
// device the drawing here cuts each line, text and fill itself: a shape
// wholly inside is drawn as it is (lines stay lines, texts stay texts), one
// wholly outside is left out, and one across an edge becomes its outline
// cut at the edge, filled in its colour. On any other device the painter
// clips and everything is drawn as it is.
class SoftClip
{
public:
    // The painter's clip as it stands, when its device ignores clips;
    // otherwise a clip that cuts nothing. Take it while the painter's
    // transform turns nothing (the rectangle is kept in device pixels), and
    // use it while that clip stands, under any transform.
    static SoftClip of(const QPainter &painter);

    bool cuts() const { return m_cuts; }

    // As QPainter::drawPath with the painter's pen and no brush.
    void strokePath(QPainter &painter, const QPainterPath &path) const;
    // As QPainter::drawText at a baseline point, in the painter's font and
    // pen colour.
    void drawText(QPainter &painter, const QPointF &baseline, const QString &text) const;
    // As QPainter::fillRect.
    void fillRect(QPainter &painter, const QRectF &rect, const QColor &colour) const;

private:
    enum class Place { Inside, Across, Outside };
    Place place(const QPainter &painter, const QRectF &bounds) const;
    void fillCut(QPainter &painter, const QPainterPath &shape, const QBrush &brush) const;

    bool m_cuts = false;
    QRectF m_device; // the clip in device pixels
};
