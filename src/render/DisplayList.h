#pragma once

#include "DiagramView.h"

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// One recorded line of the diagram, in diagram coordinates.
struct LinePrimitive
{
    enum Style : uint8_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3 };
    // A ring stands for its straight sides (RingSides) round the middle of
    // the square from (x0, y0) to (x1, y1): each side is kept, filed and
    // drawn as a line of its own would be.
    enum Kind : uint8_t { Line = 1, Ring = 2 };

    uint8_t kind = Line;
    uint8_t style = Solid;
    uint8_t width = 1;
    uint8_t done = 0; // a primitive with done != 0 is skipped by replay
    int32_t colour = 0;
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = 0;
    int32_t y1 = 0;
    // Position in the recording: keeps the recorded order when a line that
    // crosses strips is replayed together with a strip's own lines.
    uint32_t order = 0;

    bool samePen(const LinePrimitive &o) const { return style == o.style && width == o.width && colour == o.colour; }
};

// One recorded text (the minute labels). Its font is an entry of the display
// list's font table, its characters (as they are drawn) an entry of the text
// table: a busy day records hundreds of thousands of a few distinct texts.
struct TextPrimitive
{
    enum BrushStyle : uint8_t { SolidBrush = 0, ClearBrush = 1 };

    int32_t brushColour = 0;
    int32_t fontColour = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t text = 0; // index into DisplayList::texts()
    uint16_t font = 0; // index into DisplayList::fonts()
    uint8_t brushStyle = ClearBrush;
    uint8_t done = 0;
};

// A font of recorded texts: name (code page 1250), size in points and style
// bits, with the QFont made from them and its ascent on the diagram bitmap.
struct TextFont
{
    QByteArray name;
    int32_t size = 0;
    uint8_t style = 0;
    QFont font;
    int ascent = 0;
};

// The recorded drawing of the whole diagram, filed into vertical strips 500
// pixels wide, one set of strips for lines and one for texts (strip k holds
// what touches diagram x from (k - 1) * 500 to k * 500 - 1; strips are
// numbered from 1 and clamped to 1..stripCount). Strips grow as primitives
// arrive: nothing is ever dropped for lack of room.
//
// A line that crosses strips belongs to each of them. It is stored once, in
// a list of its own with the range of strips it belongs to, and merged into
// each of those strips by its recording order when a strip is read; so a day
// of long lines at a large zoom costs one primitive each, not thousands.
class DisplayList
{
public:
    struct CrossingLine
    {
        LinePrimitive line;
        int32_t firstStrip = 1;
        int32_t lastStrip = 1;
    };

    // Rebuild: Wc and H of the new drawing, strip count Wc div 500 + 1. Lines
    // are always discarded; texts only when asked (the keep-time-text flag
    // keeps them).
    void startRebuild(int32_t cullWidth, int32_t fullHeight, bool discardTexts);
    void discardAll();

    int32_t stripCount() const { return m_stripCount; }
    int32_t cullWidth() const { return m_cullWidth; }
    int32_t fullHeight() const { return m_fullHeight; }

    // RecordLine: drops a line that lies wholly left of 0, above 0, right of
    // Wc or below H; files it in every strip it touches.
    void recordLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t style, int32_t colour, uint8_t width);
    // A ring (a primitive of kind Ring with its square and pen): filed once,
    // in the strips its sides touch; the sides recordLine would drop are
    // left out when it is drawn.
    void recordRing(const LinePrimitive &ring);
    // Whether recordLine drops a line with these ends.
    bool culled(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const
    {
        return (x0 < 0 && x1 < 0) || (y0 < 0 && y1 < 0) || (x0 > m_cullWidth && x1 > m_cullWidth)
               || (y0 > m_fullHeight && y1 > m_fullHeight);
    }
    // Each line a primitive draws, with the first and last strip it
    // touches: a line itself, a ring's sides that are kept.
    template <typename F> void eachLineOf(const LinePrimitive &p, F &&f) const
    {
        if (p.kind != LinePrimitive::Ring) {
            f(p, stripOf(std::min(p.x0, p.x1)), stripOf(std::max(p.x0, p.x1)));
            return;
        }
        std::array<KeptLine, ringSides> sides;
        const int kept = keptSides(p, sides);
        for (int i = 0; i < kept; ++i)
            f(sides[static_cast<size_t>(i)].line, sides[static_cast<size_t>(i)].first,
              sides[static_cast<size_t>(i)].last);
    }

    // Every line of another list of the same geometry (Wc and H), after
    // what this one holds and in that list's order: a recording kept from
    // one rebuild to the next is filed again without being made again.
    void appendLines(const DisplayList &other);

    // The font of texts to come; returns its index in the font table.
    uint16_t fontIndex(const QByteArray &name, int32_t size, uint8_t style, const QFont &font, int ascent);
    // The index of drawn characters in the text table, entered the first
    // time they come. The table is emptied with the font table.
    uint32_t textIndex(const QString &drawable);
    // RecordText: files the text in every strip from x div 500 + 1 to
    // (x + width) div 500 + 1.
    void recordText(const TextPrimitive &text);
    // Texts of one strip, recorded strip by strip, after the strip's own.
    void recordTextsInStrip(int32_t strip, std::vector<TextPrimitive> &&texts);

    // Strip k's lines in recorded order: its own and the crossing lines that
    // belong to it.
    std::vector<LinePrimitive> linesInStrip(int32_t strip) const;
    const std::vector<LinePrimitive> &ownLines(int32_t strip) const;
    const std::vector<CrossingLine> &crossingLines() const { return m_crossing; }
    const std::vector<TextPrimitive> &textsInStrip(int32_t strip) const;
    const std::vector<TextFont> &fonts() const { return m_fonts; }
    const std::vector<QString> &texts() const { return m_texts; }

    size_t lineCount() const { return m_lineCount; }
    // Texts recorded; one recorded strip by strip counts once per strip.
    size_t textCount() const { return m_textCount; }
    // Changes whenever the font and text tables are emptied, so that what
    // was kept for their entries (the replay's shaped texts) can be let go.
    uint32_t fontGeneration() const { return m_fontGeneration; }

    // Strip of a diagram x, clamped to 1..stripCount.
    int32_t stripOf(int64_t x) const { return stripOf(x, m_stripCount); }
    // The same for a list of stripCount strips.
    static int32_t stripOf(int64_t x, int32_t stripCount)
    {
        // div truncates toward zero, so x from -499 to 499 is strip 1.
        const int64_t k = x / Geometry::stripWidth + 1;
        return static_cast<int32_t>(k < 1 ? 1 : k > stripCount ? stripCount : k);
    }

private:
    struct KeptLine
    {
        LinePrimitive line;
        int32_t first = 1;
        int32_t last = 1;
    };
    static constexpr int ringSides = 16;
    // A ring's sides that a recording of them one by one would keep, in
    // their order; returns how many.
    int keptSides(const LinePrimitive &ring, std::array<KeptLine, ringSides> &sides) const;

    std::vector<TextPrimitive> *textStrip(int32_t strip);

    std::vector<std::vector<LinePrimitive>> m_lineStrips; // [k - 1]
    std::vector<CrossingLine> m_crossing;
    std::vector<std::vector<TextPrimitive>> m_textStrips; // [k - 1]
    std::vector<TextFont> m_fonts;
    std::vector<QString> m_texts;
    QHash<QString, uint32_t> m_textIndex;
    int32_t m_cullWidth = 0;
    int32_t m_fullHeight = 0;
    int32_t m_stripCount = 1;
    uint32_t m_order = 0;
    size_t m_lineCount = 0;
    size_t m_textCount = 0;
    uint32_t m_fontGeneration = 0;
};
