#include "TimetablePages.h"

#include "render/Fonts.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

constexpr int pointSize = 8;
constexpr int pdfResolution = 300;

QFont printingFont(QPaintDevice &device)
{
    QFont font = Fonts::drawnFamily(Fonts::makeFont("Arial CE", pointSize));
    font.setPointSize(pointSize);
    return QFont(font, &device);
}

// A heading's two lines: the category and the number ("Os", "13262").
QStringList headingLines(const QString &name)
{
    const qsizetype blank = name.indexOf(u' ');
    if (blank < 0)
        return {name};
    return {name.left(blank), name.mid(blank + 1).trimmed()};
}

struct StationWidths
{
    double km = 0, name = 0, kind = 0, pad = 0;
};

StationWidths stationWidths(const std::vector<TimetableTable> &tables, const QFontMetricsF &fm)
{
    StationWidths w;
    w.pad = fm.averageCharWidth();
    w.kind = fm.horizontalAdvance(QStringLiteral("příj."));
    for (const TimetableTable &t : tables) {
        for (int r = 0; r < t.rowCount(); ++r) {
            w.km = std::max(w.km, fm.horizontalAdvance(t.kilometreText(r)));
            w.name = std::max(w.name, fm.horizontalAdvance(t.stationName(r)));
        }
    }
    return w;
}

void paintPage(QPainter &p, const TimetableTable &t, const TimetablePages::Page &page, const TimetablePages::Metrics &m,
               const StationWidths &sw, const QString &title, const QString &number)
{
    const QFontMetricsF fm(p.font());
    const double top = m.titleHeight;
    const double headBottom = top + m.headingHeight;
    const double right = m.stationWidth + page.columns * m.columnWidth;
    const double bottom = headBottom + page.rows * m.rowHeight;
    p.drawText(QRectF(0, 0, m.page.width(), m.titleHeight), Qt::AlignLeft | Qt::AlignTop, title);
    p.drawText(QRectF(0, m.page.height() - m.footerHeight, m.page.width(), m.footerHeight),
               Qt::AlignHCenter | Qt::AlignBottom, number);

    p.drawText(QRectF(0, top, sw.km + sw.pad, m.headingHeight), Qt::AlignRight | Qt::AlignBottom, QStringLiteral("km"));
    p.drawText(QRectF(sw.km + 2 * sw.pad, top, sw.name, m.headingHeight), Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("Stanice"));
    for (int c = 0; c < page.columns; ++c) {
        const QRectF box(m.stationWidth + c * m.columnWidth, top, m.columnWidth, m.headingHeight);
        p.drawText(box, Qt::AlignHCenter | Qt::AlignBottom,
                   headingLines(t.columns()[static_cast<size_t>(page.firstColumn + c)].name).join(u'\n'));
    }
    for (int r = 0; r < page.rows; ++r) {
        const int row = page.firstRow + r;
        const double y = headBottom + r * m.rowHeight;
        const bool arrival = t.rows()[static_cast<size_t>(row)].arrival;
        // A station's name stands once, on its first row of the page.
        if (r == 0 || t.rows()[static_cast<size_t>(row - 1)].station != t.rows()[static_cast<size_t>(row)].station) {
            p.drawText(QRectF(0, y, sw.km + sw.pad, m.rowHeight), Qt::AlignRight | Qt::AlignVCenter,
                       t.kilometreText(row));
            p.drawText(QRectF(sw.km + 2 * sw.pad, y, sw.name, m.rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                       t.stationName(row));
        }
        p.drawText(QRectF(m.stationWidth - sw.kind - sw.pad, y, sw.kind, m.rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   t.rowKind(row));
        for (int c = 0; c < page.columns; ++c) {
            const QString text = t.cell(row, page.firstColumn + c).text();
            if (!text.isEmpty())
                p.drawText(QRectF(m.stationWidth + c * m.columnWidth, y, m.columnWidth, m.rowHeight),
                           Qt::AlignHCenter | Qt::AlignVCenter, text);
        }
        // A line under every station, none between its arrival and departure.
        if (!arrival)
            p.drawLine(QPointF(0, y + m.rowHeight), QPointF(right, y + m.rowHeight));
    }
    QPen pen = p.pen();
    pen.setWidthF(fm.lineWidth() * 2);
    p.setPen(pen);
    p.drawLine(QPointF(0, headBottom), QPointF(right, headBottom));
    p.drawLine(QPointF(m.stationWidth, top), QPointF(m.stationWidth, bottom));
    pen.setWidthF(fm.lineWidth());
    p.setPen(pen);
    for (int c = 1; c <= page.columns; ++c) {
        const double x = m.stationWidth + c * m.columnWidth;
        p.drawLine(QPointF(x, top), QPointF(x, bottom));
    }
}

} // namespace

namespace TimetablePages {

std::vector<Page> plan(const std::vector<TimetableTable> &tables, const Metrics &m)
{
    const double across = std::floor((m.page.width() - m.stationWidth) / m.columnWidth);
    const double down = std::floor((m.page.height() - m.titleHeight - m.footerHeight - m.headingHeight) / m.rowHeight);
    if (!(across >= 1) || !(down >= 1))
        return {};
    const int perPage = static_cast<int>(std::min(across, 1e6));
    const int rowsPerPage = static_cast<int>(std::min(down, 1e6));
    std::vector<Page> pages;
    for (size_t i = 0; i < tables.size(); ++i) {
        const TimetableTable &t = tables[i];
        int column = 0;
        do {
            const int columns = std::min(perPage, t.columnCount() - column);
            int row = 0;
            do {
                const int rows = std::min(rowsPerPage, t.rowCount() - row);
                pages.push_back({static_cast<int>(i), column, columns, row, rows});
                row += rows;
            } while (row < t.rowCount());
            column += columns;
        } while (column < t.columnCount());
    }
    return pages;
}

Metrics measure(const std::vector<TimetableTable> &tables, QPaintDevice &device, QSizeF page)
{
    const QFontMetricsF fm(printingFont(device));
    const StationWidths sw = stationWidths(tables, fm);
    Metrics m;
    m.page = page;
    m.stationWidth = sw.km + sw.name + sw.kind + 5 * sw.pad;
    double widest = fm.horizontalAdvance(TimetableTable::timeText(2 * (23 * 60 + 59) + 1));
    for (const TimetableTable &t : tables)
        for (const TimetableTable::Column &c : t.columns())
            for (const QString &line : headingLines(c.name))
                widest = std::max(widest, fm.horizontalAdvance(line));
    m.columnWidth = widest + 2 * sw.pad;
    m.rowHeight = fm.height() * 1.25;
    m.headingHeight = fm.height() * 2.5;
    m.titleHeight = fm.height() * 2;
    m.footerHeight = fm.height() * 1.5;
    return m;
}

QString title(const QString &line, const TimetableTable &table)
{
    return line.isEmpty() ? table.title() : line + QStringLiteral(": ") + table.title();
}

QString pageNumber(int number, int pages)
{
    return QStringLiteral("list %1 z %2").arg(number).arg(pages);
}

Result print(QPagedPaintDevice &device, const std::vector<TimetableTable> &tables, const QString &line)
{
    const QRect room = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const Metrics m = measure(tables, device, QSizeF(room.size()));
    const std::vector<Page> pages = plan(tables, m);
    if (pages.empty())
        return Result::NoRoom;
    QPainter p;
    if (!p.begin(&device))
        return Result::Failed;
    p.setFont(printingFont(device));
    const QFontMetricsF fm(p.font());
    const StationWidths sw = stationWidths(tables, fm);
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return Result::Failed;
        const Page &page = pages[i];
        const TimetableTable &t = tables[static_cast<size_t>(page.table)];
        paintPage(p, t, page, m, sw, title(line, t),
                  pageNumber(static_cast<int>(i) + 1, static_cast<int>(pages.size())));
    }
    return p.end() ? Result::Ok : Result::Failed;
}

QByteArray pdf(const std::vector<TimetableTable> &tables, const QString &line)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(line);
        writer.setCreator(QStringLiteral("Vlakorys"));
        writer.setResolution(pdfResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10)));
        if (print(writer, tables, line) != Result::Ok)
            return {};
    }
    return buffer.data();
}

} // namespace TimetablePages
