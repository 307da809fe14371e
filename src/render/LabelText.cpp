#include "LabelText.h"

#include "Fonts.h"

#include <QFontMetrics>

namespace LabelText {

const QImage &measureSurface()
{
    static const QImage surface = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        constexpr int dotsPerMeterAt96Dpi = 3780; // 96 / 0.0254, rounded
        image.setDotsPerMeterX(dotsPerMeterAt96Dpi);
        image.setDotsPerMeterY(dotsPerMeterAt96Dpi);
        return image;
    }();
    return surface;
}

QSize size(const QFont &font, QByteArrayView fontName, QByteArrayView text)
{
    const QFontMetrics metrics(font, &measureSurface());
    return {metrics.horizontalAdvance(Fonts::drawableText(fontName, text)), metrics.height()};
}

QByteArray withoutCategory(QByteArrayView text)
{
    const qsizetype length = text.size();
    if (length == 0)
        return {};
    // 0-based index of the third character, held to the last one.
    qsizetype i = std::min<qsizetype>(2, length - 1);
    while (i < length - 1 && !(text[i] >= '0' && text[i] <= '9'))
        ++i;
    return text.sliced(i).toByteArray();
}

} // namespace LabelText
