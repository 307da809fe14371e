#include "Fonts.h"

#include "model/Cp1250.h"

#include <QFontInfo>
#include <QStringList>

#include <algorithm>
#include <cstdint>

namespace Fonts {

void installSubstitutions()
{
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                              QStringLiteral("DejaVu Sans")};
    const QStringList serif = {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                               QStringLiteral("DejaVu Serif")};
    QFont::insertSubstitutions(QStringLiteral("Arial CE"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
    QFont::insertSubstitutions(QStringLiteral("Times New Roman CE"), serif);
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), serif);
    // The arrow of the minute labels comes from a font that has the arrows.
    QFont::insertSubstitutions(QStringLiteral("WINGDINGS 3"), {QStringLiteral("DejaVu Sans")});
}

int pixelSize(int pointSize)
{
    // A size from a damaged file or settings file is held to what a font
    // dialog offers, so no text, and no label image, grows without bound.
    const int64_t points = std::clamp<int64_t>(pointSize, -maxPointSize, maxPointSize);
    // MulDiv(size, 96, 72): rounded to nearest, halves away from zero.
    const int64_t num = points * 96;
    return static_cast<int>(num >= 0 ? (2 * num + 72) / 144 : -((-2 * num + 72) / 144));
}

QFont makeFont(QByteArrayView name, int pointSize, uint8_t style)
{
    QFont font(cp1250::toUnicode(name));
    font.setPixelSize(std::max(1, pixelSize(pointSize)));
    font.setBold(style & Bold);
    font.setItalic(style & Italic);
    font.setUnderline(style & Underline);
    font.setStrikeOut(style & StrikeOut);
    return font;
}

QFont drawnFamily(const QFont &font)
{
    QFont drawn = font;
    drawn.setFamilies({QFontInfo(font).family()});
    return drawn;
}

QString drawableText(QByteArrayView fontName, QByteArrayView text)
{
    if (text == arrowText && fontName.compare(arrowFontName, Qt::CaseInsensitive) == 0)
        return QStringLiteral("\u25B2");
    return cp1250::toUnicode(text);
}

} // namespace Fonts
