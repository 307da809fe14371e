#include "SheetTiles.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace SheetTiles {

namespace {

// Parts along one side: the first takes `area`, each further one
// area - overlap more. A hundredth of a millimetre is no reason for a page.
int parts(double sheet, double area, double overlap)
{
    constexpr double slack = 0.01;
    if (sheet <= area + slack)
        return 1;
    return static_cast<int>(std::ceil((sheet - overlap - slack) / (area - overlap)));
}

} // namespace

Plan plan(QSizeF sheet, QSizeF area, double overlap)
{
    Plan p;
    if (sheet.isEmpty() || area.width() <= overlap || area.height() <= overlap)
        return p;
    p.columns = parts(sheet.width(), area.width(), overlap);
    p.rows = parts(sheet.height(), area.height(), overlap);
    const double stepX = area.width() - overlap;
    const double stepY = area.height() - overlap;
    int number = 0;
    for (int r = 0; r < p.rows; ++r)
        for (int c = 0; c < p.columns; ++c) {
            Tile t;
            t.number = ++number;
            t.row = r + 1;
            t.column = c + 1;
            const double x = c * stepX;
            const double y = r * stepY;
            t.source =
                QRectF(x, y, std::min(area.width(), sheet.width() - x), std::min(area.height(), sheet.height() - y));
            p.tiles.push_back(t);
        }
    return p;
}

QString pageName(const QString &title, const Tile &tile, int pages)
{
    return QStringLiteral("%1 – list %2 z %3 (řádek %4, sloupec %5)")
        .arg(title)
        .arg(tile.number)
        .arg(pages)
        .arg(tile.row)
        .arg(tile.column);
}

bool print(QPagedPaintDevice &device, QPainter &painter, QSizeF sheet, const QString &title,
           const std::function<void(QPainter &)> &paint)
{
    const QPageLayout layout = device.pageLayout();
    const QRectF room = layout.paintRect(QPageLayout::Millimeter);
    const Plan p = plan(sheet, QSizeF(room.width(), room.height() - headerMm));
    if (p.tiles.empty())
        return false;
    // Millimetres on the device, from the top-left of the paint rectangle.
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    const double dotsPerMmY = device.logicalDpiY() / 25.4;
    // The painter counts in millimetres: a 3 mm line is about 8 points.
    QFont font(QStringLiteral("Arial CE"));
    font.setPixelSize(3);
    for (const Tile &t : p.tiles) {
        if (t.number > 1 && !device.newPage())
            return false;
        painter.save();
        painter.scale(dotsPerMm, dotsPerMmY);

        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, 0, room.width(), headerMm), Qt::AlignLeft | Qt::AlignVCenter,
                         pageName(title, t, static_cast<int>(p.tiles.size())));

        painter.translate(0, headerMm);
        painter.save();
        painter.setClipRect(QRectF(QPointF(0, 0), t.source.size()));
        painter.translate(-t.source.topLeft());
        paint(painter);
        painter.restore();

        // The strips this page shares with its neighbours: a dashed line
        // where the neighbour's part begins or ends, and the overlap's width
        // written beside the first.
        QPen mark(QColor(96, 96, 96));
        mark.setWidthF(0.2);
        mark.setStyle(Qt::DashLine);
        painter.setPen(mark);
        const double w = t.source.width();
        const double h = t.source.height();
        if (t.column < p.columns)
            painter.drawLine(QPointF(w - overlapMm, 0), QPointF(w - overlapMm, h));
        if (t.column > 1)
            painter.drawLine(QPointF(overlapMm, 0), QPointF(overlapMm, h));
        if (t.row < p.rows)
            painter.drawLine(QPointF(0, h - overlapMm), QPointF(w, h - overlapMm));
        if (t.row > 1)
            painter.drawLine(QPointF(0, overlapMm), QPointF(w, overlapMm));
        painter.restore();
    }
    return true;
}

} // namespace SheetTiles
