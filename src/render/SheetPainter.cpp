#include "SheetPainter.h"

#include "Colours.h"
#include "DiagramView.h"
#include "Fonts.h"
#include "LabelText.h"
#include "PainterReplay.h"
#include "SoftClip.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

QColor olive()
{
    return Colours::toQColor(Colours::olive);
}

QPen olivePen(double width)
{
    QPen pen(olive());
    pen.setWidthF(width);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void paintDiagram(QPainter &p, const SheetLayout::Layer &layer, const SheetPainter::Recording &r)
{
    if (layer.width <= 0 || layer.height <= 0)
        return;
    p.save();
    p.setClipRect(QRectF(layer.left, layer.top, layer.width, layer.height));
    p.translate(layer.left - double(layer.vx0), double(layer.top) - layer.vy0);
    const Replayer::Viewport viewport{layer.vx0, layer.vy0, layer.vx0 + layer.width, layer.vy0 + layer.height};
    if (r.list)
        PainterReplay::replay(p, *r.list, viewport, r.timeLabels);
    const QRectF area(layer.vx0, layer.vy0, layer.width, layer.height);
    for (const VectorLabel &label : r.labels)
        if (label.box().intersects(area))
            drawVectorLabel(p, label);
    p.restore();
}

void paintColumn(QPainter &p, const SheetLayout::Layer &layer, const SheetPainter::Recording &r)
{
    p.save();
    p.setClipRect(QRectF(0, layer.top, StationColumn::width, double(layer.columnEnd - layer.top)));
    p.translate(0, double(layer.top) - layer.vy0);
    const SoftClip clip = SoftClip::of(p);
    const auto line = [&](QPointF from, QPointF to) {
        if (!clip.cuts()) {
            p.drawLine(from, to);
            return;
        }
        QPainterPath path(from);
        path.lineTo(to);
        clip.strokePath(p, path);
    };
    p.setPen(olivePen(1));
    // The left axis from the bottom station line up to the top margin.
    constexpr double axisX = StationColumn::width - 0.5;
    line(QPointF(axisX, r.columnAxisBottom + 0.5), QPointF(axisX, DiagramView::topMargin + 0.5));
    const QFont font = Fonts::drawnFamily(Fonts::makeFont("Arial CE", 7));
    const int ascent = QFontMetrics(font, &LabelText::measureSurface()).ascent();
    p.setFont(font);
    const int64_t shownTop = layer.vy0 - 10;
    const int64_t shownBottom = layer.vy0 + (layer.columnEnd - layer.top) + 10;
    for (const StationColumn::Number &n : r.numbers) {
        if (n.y < shownTop || n.y > shownBottom)
            continue;
        line(QPointF(StationColumn::width - 3, n.y + 0.5), QPointF(StationColumn::width, n.y + 0.5));
        clip.drawText(p, QPointF(n.x, n.y - 5 + ascent), n.text);
    }
    p.restore();
}

void paintAxisAndHours(QPainter &p, const SheetLayout &s, const SheetLayout::Layer &layer,
                       const std::vector<int32_t> &hours)
{
    // The time axis ends with the layer, or with the day.
    const int64_t dayEnd = Geometry::round(1440.0 * s.scale);
    const double end = layer.left + double(std::clamp<int64_t>(dayEnd - layer.vx0, 0, layer.width));
    p.setPen(olivePen(2));
    p.drawLine(QPointF(layer.left, layer.axisY + 0.5), QPointF(end, layer.axisY + 0.5));

    p.setFont(Fonts::drawnFamily(s.hourFont));
    p.setPen(olive());
    const QFontMetrics fm(s.hourFont, &LabelText::measureSurface());
    for (size_t h = 0; h < hours.size(); ++h) {
        const int32_t x = hours[h];
        if (x < layer.vx0 || int64_t{x} > int64_t{layer.vx0} + layer.width)
            continue;
        const QString text = QString::number(h);
        const int w = fm.horizontalAdvance(text);
        // Centred under its hour line, and held on the sheet.
        const double centred = Geometry::round(layer.left + x - layer.vx0 - w / 2.0);
        const double left = std::clamp(centred, 0.0, std::max(0.0, double(s.width) - w));
        p.drawText(QPointF(left, layer.hoursTop + fm.ascent()), text);
    }
}

} // namespace

void SheetPainter::paint(QPainter &p, const SheetLayout &s, const Recording &r)
{
    p.save();
    p.fillRect(QRectF(0, 0, double(s.width), double(s.height)), Qt::white);
    const std::vector<int32_t> hours = s.hourPositions();
    for (const SheetLayout::Layer &layer : s.layers) {
        paintDiagram(p, layer, r);
        paintColumn(p, layer, r);
        paintAxisAndHours(p, s, layer, hours);
    }
    if (!s.legend.empty()) {
        p.setFont(Fonts::drawnFamily(s.diagramFont));
        p.setPen(olive());
        const QFontMetrics fm(s.diagramFont, &LabelText::measureSurface());
        double y = double(s.legendTop);
        for (const QString &line : s.legend) {
            p.drawText(QPointF(DiagramView::stationColumn, y + fm.ascent()), line);
            y += fm.height();
        }
    }
    p.restore();
}
