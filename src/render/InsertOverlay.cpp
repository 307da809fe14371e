#include "InsertOverlay.h"

#include "Colours.h"
#include "DiagramView.h"
#include "Fonts.h"
#include "LabelText.h"
#include "LineRaster.h"

#include "model/Document.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <optional>

namespace {

const QRgb previewColour = LineRaster::rgb(Colours::darkGreen);

struct Segment
{
    QPoint from;
    QPoint to;
};

// The part of a segment inside the clip rectangle (edges included), or
// nothing when it lies wholly outside. Cut along the segment's own slope,
// so a clipped line keeps its direction.
std::optional<Segment> clipSegment(QPointF a, QPointF b, const OverlayClip &c)
{
    auto inside = [&c](QPointF p) { return p.x() > c.left && p.x() < c.right && p.y() > c.top && p.y() < c.bottom; };
    if (inside(a) && inside(b))
        return Segment{a.toPoint(), b.toPoint()};
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0.0;
    double t1 = 1.0;
    // Liang-Barsky: each edge narrows the parameter range of the segment.
    auto edge = [&](double p, double q) {
        if (p == 0.0)
            return q >= 0.0;
        const double r = q / p;
        if (p < 0.0) {
            if (r > t1)
                return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0)
                return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    if (!edge(-dx, a.x() - c.left) || !edge(dx, c.right - a.x()) || !edge(-dy, a.y() - c.top)
        || !edge(dy, c.bottom - a.y()))
        return std::nullopt;
    auto at = [&](double t) { return QPoint(Geometry::round(a.x() + t * dx), Geometry::round(a.y() + t * dy)); };
    return Segment{at(t0), at(t1)};
}

class Preview
{
public:
    Preview(QImage &surface, const Document &doc, const OverlayClip &clip)
        : m_surface(surface), m_lines(surface), m_painter(&surface), m_clip(clip)
    {
        const QByteArray &name = doc.settings.timeFontName;
        const int size = doc.settings.timeFontSize;
        m_regular = Font(name, Fonts::makeFont(name, size, 0));
        m_underlined = Font(name, Fonts::makeFont(name, size, Fonts::Underline));
        m_arrow = Font(Fonts::arrowFontName, Fonts::makeFont(Fonts::arrowFontName, size, 0));
    }

    void line(QPointF from, QPointF to)
    {
        if (const std::optional<Segment> s = clipSegment(from, to, m_clip))
            m_lines.line(s->from, s->to, 1, previewColour);
    }

    // A vertical tick, both ends drawn.
    void tick(int x, int top, int bottom)
    {
        if (x < m_clip.left || x > m_clip.right)
            return;
        top = std::max(top, m_clip.top);
        bottom = std::min(bottom, m_clip.bottom);
        if (top <= bottom)
            m_lines.line(QPoint(x, top), QPoint(x, bottom + 1), 1, previewColour);
    }

    // The text of a point and its measured size.
    struct Text
    {
        const QFont *font = nullptr;
        QString drawable;
        int ascent = 0;
        int width = 0;
        int height = 0;
    };

    Text digit(double time)
    {
        const OverlayDigit d = overlayDigit(time);
        return text(d.halfMinute ? m_underlined : m_regular, QByteArray(1, d.digit));
    }
    Text arrow() { return text(m_arrow, Fonts::arrowText); }

    // Written on a white box, and only with room to spare inside the clip.
    void write(const Text &t, int x, int y)
    {
        if (x < m_clip.left || x + 8 > m_clip.right || y < m_clip.top || y + 8 > m_clip.bottom)
            return;
        m_painter.fillRect(QRect(x, y, t.width, t.height), Qt::white);
        m_painter.setFont(*t.font);
        m_painter.setPen(QColor::fromRgb(previewColour));
        m_painter.drawText(x, y + t.ascent, t.drawable);
    }

private:
    struct Font
    {
        Font() = default;
        Font(const QByteArray &name, const QFont &font) : name(name), font(font) {}
        QByteArray name;
        QFont font;
    };

    Text text(const Font &f, const QByteArray &bytes)
    {
        Text t;
        t.font = &f.font;
        t.drawable = Fonts::drawableText(f.name, bytes);
        const QSize size = LabelText::size(f.font, f.name, bytes);
        t.width = size.width();
        t.height = size.height();
        t.ascent = QFontMetrics(f.font, &m_surface).ascent();
        return t;
    }

    QImage &m_surface;
    LineRaster m_lines;
    QPainter m_painter;
    OverlayClip m_clip;
    Font m_regular;
    Font m_underlined;
    Font m_arrow;
};

} // namespace

OverlayDigit overlayDigit(double time)
{
    const int64_t sec = static_cast<int64_t>(std::nearbyint(std::clamp(time * 86400.0 + 0.00001, -1e15, 1e15)));
    OverlayDigit d;
    d.digit = static_cast<char>('0' + std::abs(sec / 60 % 60 % 10));
    d.halfMinute = sec % 60 > 0;
    return d;
}

void DrawInsertOverlay(QImage &surface, std::span<const InsertPoint> points, int direction, const Document &doc,
                       const DiagramView &view, const OverlayClip &clip)
{
    if (points.empty() || surface.isNull())
        return;
    const int n = static_cast<int>(doc.stations.size());
    for (const InsertPoint &p : points)
        if (p.station < 1 || p.station > n)
            return; // points of another station list: nothing sensible to draw
    const int z = doc.settings.zoom;
    auto xOf = [&view](const InsertPoint &p) {
        return DiagramView::stationColumn + Geometry::round(p.time * 1440.0 * view.scale - 5.0 * view.hpos);
    };
    auto yOf = [&](const InsertPoint &p) {
        const int32_t metres = doc.stations[static_cast<size_t>(p.station - 1)].metres;
        return Geometry::saturate(int64_t{Geometry::yOfMetres(metres, z, doc.maxMetres)} - int64_t{2} * view.vpos);
    };
    const bool up = direction != 2;
    Preview preview(surface, doc, clip);

    if (points.size() == 1) {
        const int x = xOf(points[0]);
        const int y = yOf(points[0]) - 2;
        preview.tick(x, y, y + 4);
        const Preview::Text t = preview.digit(points[0].time);
        if (up)
            preview.write(t, x + 2, y - t.height);
        else
            preview.write(t, x - 2 - t.width, y + 4);
        return;
    }

    for (size_t i = 0; i < points.size(); ++i) {
        const InsertPoint &p = points[i];
        const InsertPoint *prev = i > 0 ? &points[i - 1] : nullptr;
        const int x = xOf(p);
        const int y = yOf(p);
        if (prev && prev->station != p.station)
            preview.line(QPointF(xOf(*prev), yOf(*prev)), QPointF(x, y));

        if (prev && prev->station == p.station && prev->time == p.time) {
            const Preview::Text t = preview.arrow();
            if (up)
                preview.write(t, x + 5, y - t.height - 2);
            else
                preview.write(t, x - t.width, y + 2);
            continue;
        }
        const Preview::Text t = preview.digit(p.time);
        const int32_t nextStation = i + 1 < points.size() ? points[i + 1].station : 0;
        const bool arrival = prev && prev->station != p.station && (nextStation == 0 || nextStation == p.station);
        if (arrival) {
            if (up)
                preview.write(t, x - t.width - 5, y + 2);
            else
                preview.write(t, x - t.width - 5, y - 2 - t.height);
        } else {
            if (up)
                preview.write(t, x + 5, y - t.height - 2);
            else
                preview.write(t, x + 5, y + 2);
        }
    }
}
