#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFont>
#include <QImage>
#include <QSize>

// Small text helpers the two kinds of labels share: the surface their texts
// are measured on, the measured size of a document text, and the text a
// train label shows when "Zobr. druh vlaku" is off.
namespace LabelText {

// A 96-dpi RGB32 image, the kind the diagram is drawn on. Label fonts are
// sized in pixels, so measuring on it gives the sizes the diagram draws.
const QImage &measureSurface();

// Width (advance) and height (ascent + descent) of a code page 1250 text in
// a font, as the diagram measures text. The arrow "p" of "WINGDINGS 3" is
// measured as the glyph that is drawn for it.
QSize size(const QFont &font, QByteArrayView fontName, QByteArrayView text);

// The label text without its category: from the third character on, the
// first digit starts what is kept; with no digit only the last character is
// kept ("Os 5401" -> "5401", "Služ" -> "ž"). Texts shorter than three
// characters keep their last character too.
QByteArray withoutCategory(QByteArrayView text);

// What a train label shows: its text, or the text without the category.
inline QByteArray displayText(QByteArrayView text, bool showCategory)
{
    return showCategory ? text.toByteArray() : withoutCategory(text);
}

} // namespace LabelText
