#include "LabelDrag.h"

#include "Diagram.h"

#include "model/ClockTime.h"
#include "model/Document.h"
#include "model/Kilometres.h"
#include "render/DiagramView.h"
#include "render/LineRaster.h"
#include "render/Renderer.h"

#include <cmath>
#include <cstring>

namespace {

const QString deleteQuestion = QStringLiteral("Odstranit popisek?");

// The diagram area a label may be dropped in: right of the station column
// and the axis, below the top edge, above the visible bottom.
constexpr int32_t leftmostDrop = 43;
constexpr int32_t farAbove = -10000;

int32_t sat(int64_t v)
{
    return Geometry::saturate(v);
}

// Which side of the edge a -> b the point p lies on: > 0 to its right on the
// screen (rows grow downwards), 0 on the line.
int64_t side(QPoint a, QPoint b, QPoint p)
{
    return int64_t{b.x() - a.x()} * (p.y() - a.y()) - int64_t{b.y() - a.y()} * (p.x() - a.x());
}

} // namespace

// The label's rows along each edge, compared as the rows of the edges'
// lines at the point's column: the point must lie below the left and top
// edges and above the right and bottom ones (mirrored for a label rising to
// the right). Written with the sides of the edges, so that an edge standing
// exactly upright (a label turned less than about two degrees has integer
// corners straight above each other) tests the same way as a leaning one.
bool LabelDrag::contains(const LabelOutline &o, QPoint p)
{
    const QPoint c[5] = {o.p1, o.p2, o.p3, o.p4, o.p1};
    for (int i = 0; i < 4; ++i) {
        const int64_t s = side(c[i], c[i + 1], p);
        if (o.angle >= 0 ? s < 0 : s > 0)
            return false;
    }
    return true;
}

std::array<QPoint, 5> LabelDrag::outlinePolyline(const Edges &o, double angle, int32_t imageHeight)
{
    using Geometry::round;
    const double a = std::isfinite(angle) ? angle : 0.0;
    const double l = o.left;
    const double t = o.top;
    const double w = double(o.right) - o.left - 2;
    const double h = double(o.bottom) - o.top - 2;
    const int32_t x1 = sat(int64_t{o.left} + 1);
    int32_t y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
    if (a >= 0) {
        y1 = round(std::cos(a) * h + t + 1);
        y2 = sat(int64_t{o.top} + 1);
        x2 = round(std::sin(a) * h + l + 1);
        x3 = round(std::cos(a) * w + x2);
        y3 = round(std::sin(a) * w + y2);
    } else {
        const double b = -a;
        y1 = round(t + 1 + imageHeight - std::cos(b) * h);
        y2 = sat(int64_t{o.top} + 1 + imageHeight);
        x2 = round(std::sin(b) * h + l + 1);
        x3 = round(std::cos(b) * w + x2);
        y3 = round(y2 - std::sin(b) * w);
    }
    const int32_t x4 = sat(int64_t{x3} - x2 + x1);
    const int32_t y4 = sat(int64_t{y3} - y2 + y1);
    return {QPoint(x1, y1), QPoint(x2, y2), QPoint(x3, y3), QPoint(x4, y4), QPoint(x1, y1)};
}

double LabelDrag::turnedAngle(double startAngle, int pixelsDown)
{
    double a = (std::isfinite(startAngle) ? startAngle : 0.0) + pixelsDown * pi / 180;
    // An angle from a damaged file could be too large for the steps below to
    // ever bring it down.
    if (std::abs(a) > 1e6)
        a = std::fmod(a, pi);
    while (a > pi)
        a -= pi;
    while (a < -pi)
        a += pi;
    if (a > halfPi)
        a = pi - a;
    else if (a < -halfPi)
        a += pi;
    if (a == halfPi)
        a += 1e-05;
    if (a == -halfPi)
        a -= 0.0001;
    if (a == 0)
        a = 0.0001;
    return a;
}

int32_t LabelDrag::labelImageHeight() const
{
    const Document &doc = m_diagram.document();
    if (m_number < 1 || m_number > doc.trainLabelCount())
        return 0;
    return doc.trainLabels[static_cast<size_t>(m_number - 1)].height;
}

bool LabelDrag::press(const MouseEvent &e)
{
    m_lastDrop = Drop::None;
    if (m_armed) {
        restoreBackground();
        end();
    }
    const DiagramView &v = m_diagram.view();
    const QPoint point(sat(int64_t{e.pos.x()} - DiagramView::stationColumn + int64_t{DiagramView::hUnit} * v.hpos),
                       sat(int64_t{e.pos.y()} + int64_t{DiagramView::vUnit} * v.vpos));
    const LabelOutline *picked = nullptr;
    for (const LabelOutline &o : m_diagram.labelOutlines())
        if (contains(o, point))
            picked = &o;
    if (!picked || picked->number < 1 || picked->number > m_diagram.document().trainLabelCount())
        return false;

    const int64_t dx = DiagramView::stationColumn - int64_t{DiagramView::hUnit} * v.hpos;
    const int64_t dy = -int64_t{DiagramView::vUnit} * v.vpos;
    m_outline = {sat(picked->left - 1 + dx), sat(picked->top - 1 + dy), sat(picked->right + 1 + dx),
                 sat(picked->bottom + 1 + dy)};
    m_origin = m_outline;
    m_grab = QPoint(sat(int64_t{m_outline.left} - e.pos.x()), sat(int64_t{m_outline.top} - e.pos.y()));
    m_pressRow = e.pos.y();
    m_number = picked->number;
    m_diagram.pickLabel(m_number);
    m_startAngle = m_angle = m_diagram.document().trainLabels[static_cast<size_t>(m_number - 1)].angle;
    m_armed = true;
    m_moved = false;
    drawOutline();
    return true;
}

void LabelDrag::move(const MouseEvent &e)
{
    if (!m_armed)
        return;
    if (m_diagram.pickedLabel() <= 0) {
        // A render has replaced the picture, outline and all: the drag is over.
        end();
        return;
    }
    m_moved = true;
    restoreBackground();
    if (e.shiftIsExactly(MouseEvent::ShiftKey | MouseEvent::Left)) {
        m_outline = m_origin;
        m_angle = turnedAngle(m_startAngle, e.pos.y() - m_pressRow);
    } else {
        const int64_t width = int64_t{m_outline.right} - m_outline.left;
        const int64_t height = int64_t{m_outline.bottom} - m_outline.top;
        m_outline.left = sat(int64_t{e.pos.x()} + m_grab.x());
        m_outline.top = sat(int64_t{e.pos.y()} + m_grab.y());
        m_outline.right = sat(m_outline.left + width);
        m_outline.bottom = sat(m_outline.top + height);
    }
    drawOutline();
}

void LabelDrag::release(const MouseEvent &e)
{
    if (!m_armed)
        return;
    finish(e);
}

void LabelDrag::releaseOutside(const MouseEvent &e)
{
    if (!m_armed)
        return;
    m_outline.top = farAbove;
    finish(e);
}

void LabelDrag::finish(const MouseEvent &e)
{
    m_lastDrop = Drop::None;
    if (m_diagram.pickedLabel() <= 0) {
        end();
        return;
    }
    restoreBackground();
    if (m_moved) {
        drop(e);
    } else {
        // Nothing changed and the picture is whole again: show it.
        m_diagram.repaint();
    }
    end();
}

void LabelDrag::drop(const MouseEvent &e)
{
    Document &doc = m_diagram.document();
    const DiagramView &v = m_diagram.view();
    const size_t index = static_cast<size_t>(m_number - 1);
    RenderRequest::Labels placed = RenderRequest::Labels::none(); // unless the label moves

    if (m_outline.left < leftmostDrop || m_outline.top < 1 || m_outline.bottom > m_diagram.renderer().visibleBottom()) {
        if (m_edit.askYesNo(deleteQuestion) && index < doc.trainLabels.size()) {
            doc.trainLabels.erase(doc.trainLabels.begin() + static_cast<std::ptrdiff_t>(index));
            outlinesAfterLabelRemoved(m_diagram.labelOutlines(), m_number);
            m_lastDrop = Drop::Delete;
        }
    } else {
        // The label is placed by the outline's centre, snapped to a minute.
        const int64_t xc = (int64_t{m_outline.left} + m_outline.right) / 2;
        const int64_t yc = (int64_t{m_outline.top} + m_outline.bottom) / 2;
        const double minutes =
            std::nearbyint((xc - DiagramView::stationColumn + double(DiagramView::hUnit) * v.hpos) / v.scale);
        // The day ends at 24:00: a drop there or beyond has no time of day.
        if (minutes >= 0 && minutes < 1440 && index < doc.trainLabels.size()) {
            const int m = static_cast<int>(minutes);
            const int zoom = doc.settings.zoom;
            TrainLabel *label = &doc.trainLabels[index];
            placed = RenderRequest::Labels::one(m_number);
            m_lastDrop = Drop::Move;
            if (e.shiftIsExactly(MouseEvent::Ctrl)) {
                TrainLabel copy;
                copy.text = label->text;
                copy.angle = label->angle;
                copy.rusici = label->rusici;
                copy.ascending = label->ascending;
                doc.trainLabels.push_front(std::move(copy));
                outlinesAfterLabelInsertedAtHead(m_diagram.labelOutlines());
                label = &doc.trainLabels.front();
                placed = RenderRequest::Labels::one(1);
                m_lastDrop = Drop::Copy;
            } else if (e.shiftIsExactly(MouseEvent::ShiftKey)) {
                label->angle = m_angle;
                label->dropImage();
                m_lastDrop = Drop::Turn;
            }
            label->level = (2.0 * zoom * Kilometres::toKm(doc.maxMetres) + DiagramView::topMargin - yc
                            - double(DiagramView::vUnit) * v.vpos)
                           / (2.0 * zoom);
            label->time = makeTime(m / 60, m % 60, 0);
            label->visible = 1;
        }
    }
    m_diagram.trainsChanged(placed);
}

void LabelDrag::end()
{
    m_armed = false;
    m_moved = false;
    m_saved = QImage();
    m_savedAt = QRect();
}

void LabelDrag::drawOutline()
{
    QImage &surface = m_diagram.surface();
    const std::array<QPoint, 5> points = outlinePolyline(m_outline, m_angle, labelImageHeight());
    const QRect bounds = QPolygon(QList<QPoint>(points.begin(), points.end() - 1)).boundingRect();
    const QRect before = m_savedAt;
    m_savedAt = bounds & surface.rect();
    m_saved = m_savedAt.isEmpty() ? QImage() : surface.copy(m_savedAt);
    LineRaster raster(surface);
    for (size_t i = 0; i + 1 < points.size(); ++i)
        raster.styledLine(points[i], points[i + 1], LineRaster::Dot, qRgb(0, 0, 0));
    m_edit.surfaceAreaChanged(before | m_savedAt);
}

void LabelDrag::restoreBackground()
{
    QImage &surface = m_diagram.surface();
    if (m_saved.isNull() || !surface.rect().contains(m_savedAt))
        return;
    const size_t bytes = static_cast<size_t>(m_savedAt.width()) * sizeof(QRgb);
    for (int r = 0; r < m_savedAt.height(); ++r)
        std::memcpy(reinterpret_cast<QRgb *>(surface.scanLine(m_savedAt.top() + r)) + m_savedAt.left(),
                    m_saved.constScanLine(r), bytes);
    // m_savedAt stays: the next outline's area is shown together with it.
    m_saved = QImage();
}
