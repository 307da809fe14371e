#pragma once

#include "model/Records.h"

#include <QByteArray>
#include <QFont>
#include <QFontMetrics>
#include <QHash>

#include <cstdint>
#include <optional>

class Document;

// The minute labels as texts of the recorded drawing: font, position and
// measured box of each, for the renderer's RecordText.
struct MinuteLabelText
{
    QByteArray text;     // code page 1250; "p" is the arrow of "WINGDINGS 3"
    QByteArray fontName; // the time-label font, or "WINGDINGS 3" for the arrow
    int32_t fontSize = 0;
    uint8_t fontStyle = 0;  // Fonts::Style bits: underline for a half-minute label
    int32_t fontColour = 0; // black
    bool clearBrush = true; // written without a background
    int32_t x = 0;          // top-left in diagram coordinates
    int32_t y = 0;
    int32_t width = 0; // measured text box
    int32_t height = 0;

    // The font to draw it with (Fonts::makeFont of name, size and style).
    QFont font() const;
};

// Lays out minute labels for one rebuild; fonts are made once and the width
// of each distinct text is measured once.
class MinuteLabelLayout
{
public:
    explicit MinuteLabelLayout(const Document &doc);

    // The label as recorded text, or nothing when its box misses the diagram
    // region 0..cullWidth x 0..fullHeight.
    std::optional<MinuteLabelText> layout(const TimeLabel &label, int32_t cullWidth, int32_t fullHeight);

private:
    struct Measured
    {
        Measured(const QByteArray &fontName, int32_t size, uint8_t style);
        int32_t width(const QByteArray &text);

        QByteArray name;
        QFont font;
        QFontMetrics metrics;
        QHash<QByteArray, int32_t> widths;
    };

    const Document &m_doc;
    Measured m_regular;
    Measured m_underlined;
    Measured m_arrow;
};
