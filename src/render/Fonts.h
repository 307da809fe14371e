#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFont>
#include <QString>

// The program names the fonts of its Windows origins ("Arial CE", "Times New
// Roman CE", "WINGDINGS 3"). These are mapped once, at start-up, onto fonts a
// Debian desktop has, so every text is measured and drawn in a real font.
//
// Every font of the diagram is made by makeFont, so all code measures and
// draws the same pixels; measure with QFontMetrics(font, &image) on the
// 96-dpi image that is drawn on.
namespace Fonts {

// Font style bits as the drawing code records them.
enum Style : uint8_t { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

void installSubstitutions();

// A font by name (code page 1250 bytes) and size in points, with the pixel
// height a 96-dpi Windows screen gives that size (size * 96 / 72, rounded).
QFont makeFont(QByteArrayView name, int pointSize, uint8_t style = 0);

// Pixel height of a point size on a 96-dpi screen; sizes beyond
// maxPointSize count as maxPointSize.
constexpr int maxPointSize = 1000;
int pixelSize(int pointSize);

// The arrow of the minute labels is the character "p" in "WINGDINGS 3".
inline const QByteArray arrowFontName = QByteArrayLiteral("WINGDINGS 3");
inline const QByteArray arrowText = QByteArrayLiteral("p");

// The font with the family it is drawn in ("Liberation Sans" for "Arial
// CE"): what a vector file names, so that a reader without the program's
// substitutions shows the same face.
QFont drawnFamily(const QFont &font);

// The text to hand to QPainter for a text of the document: code page 1250
// bytes as Unicode, and the arrow character of "WINGDINGS 3" as an arrow
// glyph the substituted font has.
QString drawableText(QByteArrayView fontName, QByteArrayView text);

} // namespace Fonts
