#pragma once

#include "DisplayList.h"
#include "TextStamps.h"

#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <memory>
#include <vector>

class LineRaster;
class QPainter;

// The direction in which WideStyledLine repeats a styled line of width w:
// across the line, by the slope's octant.
struct StyledLineOffset
{
    int dx = 0;
    int dy = 0;
};
StyledLineOffset styledLineOffset(QPoint from, QPoint to);

// A dash, dot or dash-dot line of width w from `from` to `to`: the 1-pixel
// styled line and w - 1 copies on each side, 2 * w - 1 parallel lines that
// each carry the pattern. A line from a point to itself draws nothing.
void WideStyledLine(LineRaster &raster, QPoint from, QPoint to, uint8_t style, uint8_t width, QRgb colour);

// Replay: draws the strips of a display list that meet a viewport (vx0, vy0)
// .. (vx1, vy1) of diagram coordinates into a bitmap whose (0, 0) is
// (vx0, vy0). The pen, and for texts the font and colours, change only when
// a primitive needs other values than the last; consecutive solid lines of
// one pen are collected and written together. The buffers live as long as
// the replayer, so a replay allocates nothing of its own once it has run.
class Replayer
{
public:
    struct Viewport
    {
        int32_t vx0 = 0;
        int32_t vy0 = 0;
        int32_t vx1 = 0;
        int32_t vy1 = 0;
    };

    // Fills the viewport's part of the bitmap white, then draws the lines,
    // then (when `texts`) the texts.
    void replay(const DisplayList &list, QImage &bitmap, const Viewport &viewport, bool texts);

    // The bands a bitmap is drawn in: one per core, none under 128 rows.
    static int bandsOf(const QImage &bitmap);

    // Lines drawn by the last replay, counting a crossing line once per strip.
    size_t linesDrawn() const { return m_linesDrawn; }

    // Texts are written from their stamps (TextStamps) where they can be;
    // set this to draw every text with the painter, as the stamps are
    // checked against.
    bool paintEveryText = false;
    // Lines are drawn in horizontal bands of the bitmap on all cores; set
    // this to draw them in one band, on the calling thread.
    bool oneBand = false;
    // Texts the last replay wrote from stamps, and drew with the painter.
    size_t textsStamped() const { return m_textsStamped; }
    size_t textsPainted() const { return m_textsPainted; }

private:
    // The lines of one band of the bitmap's rows, with its own pen and
    // batch; a cache line of its own, as each band's thread bumps its
    // counters for every line.
    struct alignas(64) LinePass
    {
        int top = 0; // the band's rows
        int rows = 0;
        std::vector<QLine> batch;
        LineRaster *raster = nullptr;
        QRgb rgb = 0;
        // The pen of the lines being drawn, as recorded attributes.
        uint8_t style = 0;
        uint8_t width = 1;
        int32_t colour = 0;
        size_t linesDrawn = 0;

        void drawLine(const LinePrimitive &p, const Viewport &v);
        void flush();
    };
    struct Pixels
    {
        uchar *bits = nullptr;
        qsizetype stride = 0;
        int width = 0;
        int height = 0;
    };
    void drawBand(LinePass &pass, const DisplayList &list, const Pixels &bitmap, const Viewport &v, int32_t first,
                  int32_t last);
    // The texts of strips first..last meeting the viewport into m_placed;
    // true when every one has a usable stamp.
    bool placeTexts(const DisplayList &list, int32_t first, int32_t last, const Viewport &v);
    void writeStamps(const Pixels &bitmap, const QRect &rows) const;
    // The placed texts over the whole bitmap, those without a stamp with
    // the painter.
    void drawTexts(QImage &bitmap, const DisplayList &list);
    void paintText(QPainter &painter, const DisplayList &list, const TextPrimitive &t, QPoint topLeft);
    const TextStamps::Stamp *stamp(const DisplayList &list, const TextPrimitive &t);
    const QList<QGlyphRun> *shaped(const DisplayList &list, uint16_t font, const QString &text, QPaintDevice *device);
    void forgetTextsOfOtherLists(const DisplayList &list);

    std::vector<LinePass> m_passes;
    struct PlacedText
    {
        const TextStamps::Stamp *stamp = nullptr; // none: drawn with the painter
        const TextPrimitive *text = nullptr;
        QPoint topLeft;
    };
    std::vector<PlacedText> m_placed;
    std::vector<std::shared_ptr<const TextStamps::Stamp>> m_pinned; // let go by the tables during a replay
    std::vector<const DisplayList::CrossingLine *> m_crossing;
    size_t m_linesDrawn = 0;
    // Texts shaped once per font of the list's font table, with their
    // baseline at 0: the minute labels repeat a few texts thousands of times.
    std::vector<QHash<QString, QList<QGlyphRun>>> m_shaped;
    // The stamps of the list's fonts at hand (from TextStamps::shared()),
    // for the one colour each font was last drawn in.
    struct FontStamps
    {
        QString fontKey;
        int32_t colour = -1;
        std::vector<std::shared_ptr<const TextStamps::Stamp>> ofText; // by the list's text index
    };
    std::vector<FontStamps> m_fontStamps;
    uint32_t m_shapedGeneration = 0;
    const DisplayList *m_shapedList = nullptr;
    // The painter's font and colour while drawing texts.
    int m_painterFont = -1;
    int32_t m_painterColour = -1;
    size_t m_textsStamped = 0;
    size_t m_textsPainted = 0;
};
