#include "PanelIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace PanelIcons {

QIcon icon(Glyph glyph)
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 40, 40);
    const QColor olive(128, 128, 0);
    p.setPen(QPen(ink, 1.2));
    switch (glyph) {
    case Glyph::New: {
        QPainterPath page;
        page.moveTo(4, 2);
        page.lineTo(12, 2);
        page.lineTo(16, 6);
        page.lineTo(16, 18);
        page.lineTo(4, 18);
        page.closeSubpath();
        p.fillPath(page, Qt::white);
        p.drawPath(page);
        p.drawLine(QPointF(12, 2), QPointF(12, 6));
        p.drawLine(QPointF(12, 6), QPointF(16, 6));
        break;
    }
    case Glyph::Open:
        p.setBrush(QColor(230, 200, 100));
        p.drawRect(QRectF(2, 6, 15, 11));
        p.drawRect(QRectF(2, 4, 6, 2));
        break;
    case Glyph::Save:
        p.setBrush(QColor(70, 90, 160));
        p.drawRect(QRectF(3, 3, 14, 14));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 3, 8, 5));
        p.drawRect(QRectF(5, 11, 10, 6));
        break;
    case Glyph::Stations:
        p.setPen(QPen(olive, 2));
        for (int y : {4, 10, 16})
            p.drawLine(2, y, 18, y);
        break;
    case Glyph::Trains:
        p.setPen(QPen(olive, 1));
        for (int y : {4, 16})
            p.drawLine(2, y, 18, y);
        p.setPen(QPen(ink, 2));
        p.drawLine(3, 16, 10, 4);
        p.setPen(QPen(Qt::blue, 2));
        p.drawLine(9, 16, 17, 4);
        break;
    case Glyph::ZoomIn:
    case Glyph::ZoomOut:
        p.setPen(QPen(ink, 1.8));
        p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
        p.drawLine(QPointF(12, 12), QPointF(18, 18));
        p.drawLine(QPointF(5, 8), QPointF(11, 8));
        if (glyph == Glyph::ZoomIn)
            p.drawLine(QPointF(8, 5), QPointF(8, 11));
        break;
    case Glyph::Exit:
        p.setPen(QPen(QColor(170, 30, 30), 2.2));
        p.drawLine(5, 5, 15, 15);
        p.drawLine(15, 5, 5, 15);
        break;
    }
    return QIcon(pm);
}

} // namespace PanelIcons
