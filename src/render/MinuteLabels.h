#pragma once

#include "DisplayList.h"

#include "model/Records.h"

#include <QByteArray>
#include <QFont>
#include <QFontMetrics>
#include <QHash>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class Document;

// Lays out minute labels for one rebuild; fonts are made once and the width
// of each distinct text is measured once. The settings it lays out by are
// taken when it is made.
class MinuteLabelLayout
{
public:
    explicit MinuteLabelLayout(const Document &doc);

    // The box a label is drawn in: which of the four fonts (bit 0 the
    // underline of a half-minute label, bit 1 the arrow's font) and where.
    struct Box
    {
        int32_t x = 0;
        int32_t y = 0;
        int32_t width = 0;
        int32_t height = 0;
        uint8_t font = 0;
    };
    bool place(const TimeLabel &label, int32_t cullWidth, int32_t fullHeight, Box &box);

    enum FontBits : uint8_t { UnderlineBit = 1, ArrowBit = 2 };
    QByteArray fontName(uint8_t font) const;
    int32_t fontSize() const { return m_fontSize; }

private:
    struct Measured
    {
        Measured(const QByteArray &fontName, int32_t size, uint8_t style);
        int32_t width(QByteArrayView text);

        QByteArray name;
        QFont font;
        QFontMetrics metrics;
        int32_t height = 0;
        std::array<int32_t, 10> digits{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
        QHash<QByteArray, int32_t> widths;
    };

    QByteArray m_timeFontName;
    int32_t m_fontSize = 0;
    int m_zoom = 4;
    double m_maxKm = 0; // D
    Measured m_regular;
    Measured m_underlined;
    Measured m_arrow;
    // y of a label's top is m_top - m_kmHeight * distance.
    double m_top = 0;
    double m_kmHeight = 0;
};

// The minute labels of one recording rebuild, laid out at once and written
// into the display list strip by strip: a strip's texts are recorded the
// first time a replay needs that strip. What the texts are made from is
// taken when they are laid out, so a strip recorded later shows what the
// rebuild saw, whatever happened to the document's labels since.
class MinuteTextStrips
{
public:
    // Lays out every time label of the document (every label, in list
    // order, whose box meets the diagram region) and files it under every
    // strip its box touches; nothing is recorded yet. progress is called
    // with the number of labels laid out, every `every` labels (never when
    // `every` is 0). It reads only the document's time labels and settings
    // and the list's size, so it may run on another thread meanwhile.
    void prepare(const Document &doc, const DisplayList &list, int every, const std::function<void(int)> &progress);
    // Nothing is owed any more (the texts were discarded).
    void clear();

    bool owes(int32_t strip) const;
    // Records the strip's texts into the list, once.
    void record(int32_t strip, DisplayList &list);
    // The same for strips first..last, made on all cores when `parallel`.
    void record(int32_t first, int32_t last, DisplayList &list, bool parallel);
    void recordAll(DisplayList &list);

private:
    void add(const TimeLabel &label);
    // The list's strip of x, for its size at prepare.
    int32_t stripOf(int64_t x) const { return DisplayList::stripOf(x, m_stripCount); }
    uint32_t textIndex(const TimeLabel &label, bool arrow);

    struct Entry
    {
        MinuteLabelLayout::Box box;
        uint32_t text = 0; // index into m_texts
    };
    struct Font
    {
        QByteArray name;
        uint8_t style = 0;
        QFont font;
        int ascent = 0;
    };

    std::optional<MinuteLabelLayout> m_layout;
    int32_t m_cullWidth = 0;
    int32_t m_fullHeight = 0;
    int32_t m_stripCount = 1;
    int32_t m_fontSize = 0;
    std::vector<Entry> m_entries;
    std::vector<std::vector<uint32_t>> m_strips; // [k - 1]: entries in list order
    std::vector<uint8_t> m_recorded;             // [k - 1]
    // The fonts of a strip's texts in the order they first come.
    struct StripFonts
    {
        uint8_t count = 0;
        std::array<uint8_t, 4> order{};
    };
    std::vector<StripFonts> m_stripFonts; // [k - 1]
    // The distinct texts as the arrow's font or the time-label font draws them.
    std::vector<QString> m_texts;
    QHash<QByteArray, uint32_t> m_textIndex;
    static constexpr uint32_t noText = 0xFFFFFFFF;
    // Texts of one byte, [byte] in the time-label font and [256 + byte] in
    // the arrow's.
    std::array<uint32_t, 512> m_oneByteText = [] {
        std::array<uint32_t, 512> none;
        none.fill(noText);
        return none;
    }();
    std::array<Font, 4> m_fonts;
};
