#include "StationColumn.h"

#include "Colours.h"
#include "Fonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

// Rows drawn beyond what a copy needs, so that scrolling seldom redraws.
constexpr int margin = 1024;

} // namespace

void StationColumn::rebuild(int32_t height, int32_t axisBottom, std::vector<Number> numbers)
{
    m_height = std::max(0, height);
    m_axisBottom = axisBottom;
    m_numbers = std::move(numbers);
    // Size 7, regular, olive.
    m_font = Fonts::makeFont("Arial CE", 7);
    QImage probe(1, 1, QImage::Format_RGB32);
    const QFontMetrics fm(m_font, &probe);
    m_ascent = fm.ascent();
    m_textHeight = fm.height();
    m_windowValid = false;
}

void StationColumn::clear()
{
    m_numbers.clear();
    m_height = 0;
    m_window = QImage();
    m_windowValid = false;
}

void StationColumn::paintWindow(int64_t top, int rows)
{
    if (m_window.height() != rows)
        m_window = QImage(width, rows, QImage::Format_RGB32);
    m_window.fill(Qt::white);
    m_windowTop = top;
    m_windowValid = true;
    if (top >= m_height)
        return;

    QPainter p(&m_window);
    p.translate(0, static_cast<qreal>(-top));
    p.setClipRect(QRectF(0, 0, width, m_height));
    const QColor olive = Colours::toQColor(Colours::olive);
    QPen pen(olive);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setFont(m_font);
    // The left axis, from the bottom station line up to the top margin.
    p.drawLine(width - 1, m_axisBottom, width - 1, DiagramView::topMargin);
    const int64_t bottom = top + rows;
    for (const Number &n : m_numbers) {
        if (int64_t{n.y} + 10 < top || int64_t{n.y} - 10 > bottom)
            continue;
        p.drawLine(width - 3, n.y, width, n.y);
        p.drawText(n.x, n.y - 5 + m_ascent, n.text);
    }
}

void StationColumn::copyTo(QImage &target, int64_t sourceTop, int rows)
{
    rows = std::min(rows, target.height());
    if (rows <= 0 || target.isNull())
        return;
    if (!m_windowValid || sourceTop < m_windowTop || sourceTop + rows > m_windowTop + m_window.height()) {
        const int64_t top = std::max<int64_t>(0, sourceTop - margin);
        const int64_t end = sourceTop + rows + margin;
        paintWindow(top, static_cast<int>(end - top));
    }
    const int columns = std::min(width, target.width());
    for (int r = 0; r < rows; ++r) {
        const int64_t source = sourceTop + r;
        auto *dst = reinterpret_cast<QRgb *>(target.scanLine(r));
        if (source < 0) {
            std::fill(dst, dst + columns, qRgb(255, 255, 255));
            continue;
        }
        const auto *src =
            reinterpret_cast<const QRgb *>(m_window.constScanLine(static_cast<int>(source - m_windowTop)));
        std::memcpy(dst, src, static_cast<size_t>(columns) * sizeof(QRgb));
    }
}
