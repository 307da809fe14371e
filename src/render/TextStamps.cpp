#include "TextStamps.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <map>

namespace {

constexpr QRgb white = 0xFFFFFFFFu;

// Colours that change from pixel to pixel, the same every time.
void speckle(QImage &image)
{
    uint32_t seed = 0x9E3779B9u;
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = 0xFF000000u | (seed >> 8);
        }
    }
}

} // namespace

TextStamps::Stamp::Stamp(const Draw &draw, QSize size)
{
    m_usable = learn(draw, size);
    if (!m_usable) {
        m_runs.clear();
        m_onWhite.clear();
        m_tableOf.clear();
        m_tables.clear();
    }
}

bool TextStamps::Stamp::learn(const Draw &draw, QSize size)
{
    // Room all round the text's box: ink at its edge may reach further.
    const int margin = std::clamp(std::max(size.width(), size.height()), 8, 200);
    const QSize room(std::clamp(size.width(), 0, 400) + 2 * margin, std::clamp(size.height(), 0, 400) + 2 * margin);
    const QPoint at(margin, margin);

    QImage onWhite(room, QImage::Format_RGB32);
    onWhite.fill(white);
    {
        QPainter painter(&onWhite);
        draw(painter, at);
    }
    // The changed pixels, as runs along the rows.
    for (int y = 0; y < room.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(onWhite.constScanLine(y));
        for (int x = 0; x < room.width(); ++x) {
            if (row[x] == white)
                continue;
            if (x == 0 || y == 0 || x == room.width() - 1 || y == room.height() - 1)
                return false; // it may reach beyond the room
            const int dx = x - at.x();
            const int dy = y - at.y();
            if (m_runs.empty() || m_runs.back().dy != dy || m_runs.back().dx + m_runs.back().length != dx)
                m_runs.push_back({dx, dy, 0, static_cast<uint32_t>(m_onWhite.size())});
            ++m_runs.back().length;
            m_onWhite.push_back(row[x]);
            m_box |= QRect(dx, dy, 1, 1);
        }
    }
    if (m_runs.empty())
        return true; // nothing to draw

    // The text over each grey, in tiles of the box's size: each changed
    // pixel's components over every value.
    const QSize tile = m_box.size();
    QImage greys(tile.width() * 16, tile.height() * 16, QImage::Format_RGB32);
    for (int g = 0; g < 256; ++g) {
        const QRect r(QPoint((g % 16) * tile.width(), (g / 16) * tile.height()), tile);
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(greys.scanLine(y));
            std::fill(row + r.left(), row + r.right() + 1, qRgb(g, g, g));
        }
    }
    {
        QPainter painter(&greys);
        for (int g = 0; g < 256; ++g)
            draw(painter, QPoint((g % 16) * tile.width(), (g / 16) * tile.height()) - m_box.topLeft());
    }
    std::map<Table, uint16_t> distinct;
    m_tableOf.resize(m_onWhite.size());
    for (const Run &run : m_runs) {
        for (int i = 0; i < run.length; ++i) {
            std::array<Table, 3> components;
            const QPoint p(run.dx + i - m_box.left(), run.dy - m_box.top());
            for (int g = 0; g < 256; ++g) {
                const QRgb c = greys.pixel(p + QPoint((g % 16) * tile.width(), (g / 16) * tile.height()));
                if (qAlpha(c) != 255)
                    return false;
                components[0][static_cast<size_t>(g)] = static_cast<uint8_t>(qRed(c));
                components[1][static_cast<size_t>(g)] = static_cast<uint8_t>(qGreen(c));
                components[2][static_cast<size_t>(g)] = static_cast<uint8_t>(qBlue(c));
            }
            for (size_t k = 0; k < 3; ++k) {
                auto [it, added] = distinct.emplace(components[k], static_cast<uint16_t>(m_tables.size()));
                if (added) {
                    if (m_tables.size() >= 0xFFFF)
                        return false;
                    m_tables.push_back(components[k]);
                }
                m_tableOf[run.first + static_cast<uint32_t>(i)][k] = it->second;
            }
            // Over white it must leave what it left on white.
            const QRgb w = m_onWhite[run.first + static_cast<uint32_t>(i)];
            if (qRed(w) != components[0][255] || qGreen(w) != components[1][255] || qBlue(w) != components[2][255])
                return false;
        }
    }

    splitOpaqueRuns();

    // The check: on speckles the painter changes the same pixels, and to
    // what the tables say.
    QImage speckled(room, QImage::Format_RGB32);
    speckle(speckled);
    QImage expected = speckled.copy();
    write(expected.bits(), expected.bytesPerLine(), expected.rect(), at);
    {
        QPainter painter(&speckled);
        draw(painter, at);
    }
    return speckled == expected;
}

void TextStamps::Stamp::splitOpaqueRuns()
{
    // A table that gives one value over every value covers what was there.
    std::vector<uint8_t> constant(m_tables.size());
    for (size_t t = 0; t < m_tables.size(); ++t)
        constant[t] =
            std::all_of(m_tables[t].begin(), m_tables[t].end(), [&](uint8_t v) { return v == m_tables[t][0]; });
    std::vector<Run> runs;
    for (const Run &run : m_runs) {
        for (int i = 0; i < run.length; ++i) {
            const uint32_t pixel = run.first + static_cast<uint32_t>(i);
            const std::array<uint16_t, 3> &t = m_tableOf[pixel];
            const bool opaque = constant[t[0]] && constant[t[1]] && constant[t[2]];
            if (i == 0 || runs.back().opaque != opaque)
                runs.push_back({run.dx + i, run.dy, 0, pixel, opaque});
            ++runs.back().length;
        }
    }
    m_runs = std::move(runs);
}

void TextStamps::Stamp::write(uchar *bits, qsizetype stride, const QRect &bounds, QPoint topLeft) const
{
    const QRect box = m_box.translated(topLeft);
    if (!box.intersects(bounds))
        return;
    const bool inside = bounds.contains(box);
    for (const Run &run : m_runs) {
        const int y = topLeft.y() + run.dy;
        int x0 = topLeft.x() + run.dx;
        int x1 = x0 + run.length;
        uint32_t i = run.first;
        if (!inside) {
            if (y < bounds.top() || y > bounds.bottom())
                continue;
            if (x0 < bounds.left()) {
                i += static_cast<uint32_t>(bounds.left() - x0);
                x0 = bounds.left();
            }
            x1 = std::min(x1, bounds.right() + 1);
        }
        auto *row = reinterpret_cast<QRgb *>(bits + y * stride);
        if (run.opaque) {
            if (x1 > x0)
                std::copy_n(m_onWhite.begin() + i, x1 - x0, row + x0);
            continue;
        }
        for (int x = x0; x < x1; ++x, ++i) {
            const QRgb d = row[x];
            if (d == white) {
                row[x] = m_onWhite[i];
                continue;
            }
            const std::array<uint16_t, 3> &t = m_tableOf[i];
            row[x] = qRgb(m_tables[t[0]][static_cast<size_t>(qRed(d))], m_tables[t[1]][static_cast<size_t>(qGreen(d))],
                          m_tables[t[2]][static_cast<size_t>(qBlue(d))]);
        }
    }
}

std::shared_ptr<const TextStamps::Stamp> TextStamps::stamp(const QString &fontKey, int32_t colour, const QString &text,
                                                           const Draw &draw, QSize size)
{
    const QString key = fontKey + QChar(0) + QString::number(colour) + QChar(0) + text;
    const QMutexLocker lock(&m_mutex);
    auto it = m_stamps.constFind(key);
    if (it == m_stamps.constEnd()) {
        // The texts of minute labels are few; anything else that records
        // texts must not make this grow without end.
        if (m_stamps.size() >= 4096)
            m_stamps.clear();
        it = m_stamps.insert(key, std::make_shared<const Stamp>(draw, size));
    }
    return *it;
}

size_t TextStamps::size() const
{
    const QMutexLocker lock(&m_mutex);
    return static_cast<size_t>(m_stamps.size());
}

TextStamps &TextStamps::shared()
{
    static TextStamps stamps;
    return stamps;
}
