#pragma once

#include <QHash>
#include <QMutex>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

// The minute labels repeat a few texts tens of thousands of times, and the
// painter lays out and blends each glyph anew. A stamp is what the painter
// does to the pixels of one text, learnt once: which pixels it changes
// (relative to the text's top-left) and, for each of them and each colour
// component, the value it leaves over every value that was there. Writing a
// stamp gives the painter's pixels without the painter.
//
// That holds while the painter changes the same pixels at every whole-pixel
// position, whatever lies under them, and blends each component on its own.
// Each stamp is checked against the painter on a speckled background when
// it is learnt; a text that fails, or reaches beyond the room it is learnt
// in, is left to the painter (usable() is false).
class TextStamps
{
public:
    // draw(painter, topLeft): the text drawn by the painter exactly as
    // replay draws it, its top-left at topLeft.
    using Draw = std::function<void(QPainter &painter, QPoint topLeft)>;

    class Stamp
    {
    public:
        // size: the text's measured box, to size the room it is learnt in.
        Stamp(const Draw &draw, QSize size);

        bool usable() const { return m_usable; }
        // The pixels the text changes, relative to its top-left.
        const QRect &box() const { return m_box; }

        // Writes the text with its top-left at topLeft into the RGB32 rows
        // at bits (stride bytes apart), changing only pixels inside bounds.
        void write(uchar *bits, qsizetype stride, const QRect &bounds, QPoint topLeft) const;

    private:
        struct Run
        {
            int32_t dx = 0;
            int32_t dy = 0;
            int32_t length = 0;
            uint32_t first = 0;  // its first pixel in m_onWhite and m_tables
            bool opaque = false; // every pixel left as on white, whatever was there
        };
        using Table = std::array<uint8_t, 256>; // value left over each value

        bool learn(const Draw &draw, QSize size);
        // Runs cut where pixels start or stop covering what was there.
        void splitOpaqueRuns();

        bool m_usable = false;
        QRect m_box;
        std::vector<Run> m_runs;
        std::vector<uint32_t> m_onWhite;                // per changed pixel
        std::vector<std::array<uint16_t, 3>> m_tableOf; // per changed pixel: red, green, blue
        std::vector<Table> m_tables;                    // the distinct tables
    };

    // The stamp of a text in a font (fontKey names everything the font is
    // made of) and colour; learnt with draw the first time it is asked for.
    std::shared_ptr<const Stamp> stamp(const QString &fontKey, int32_t colour, const QString &text, const Draw &draw,
                                       QSize size);

    size_t size() const;

    // The stamps every replayer of the process shares: a window opened
    // again, or a second one, does not learn them anew.
    static TextStamps &shared();

private:
    mutable QMutex m_mutex;
    QHash<QString, std::shared_ptr<const Stamp>> m_stamps;
};
