#include "MinuteLabels.h"

#include "Colours.h"
#include "DiagramView.h"
#include "Fonts.h"
#include "LabelText.h"

#include "model/Document.h"

#include <algorithm>
#include <cmath>

namespace {

int32_t boundedRound(double v)
{
    if (!std::isfinite(v))
        return 0;
    return Geometry::round(std::clamp(v, -1.0e9, 1.0e9));
}

} // namespace

QFont MinuteLabelText::font() const
{
    return Fonts::makeFont(fontName, fontSize, fontStyle);
}

int32_t MinuteLabelLayout::Measured::width(const QByteArray &text)
{
    auto it = widths.constFind(text);
    if (it == widths.constEnd())
        it = widths.insert(text, metrics.horizontalAdvance(Fonts::drawableText(name, text)));
    return it.value();
}

MinuteLabelLayout::Measured::Measured(const QByteArray &fontName, int32_t size, uint8_t style)
    : name(fontName), font(Fonts::makeFont(fontName, size, style)), metrics(font, &LabelText::measureSurface())
{
}

MinuteLabelLayout::MinuteLabelLayout(const Document &doc)
    : m_doc(doc), m_regular(doc.settings.timeFontName, doc.settings.timeFontSize, 0),
      m_underlined(doc.settings.timeFontName, doc.settings.timeFontSize, Fonts::Underline),
      m_arrow(Fonts::arrowFontName, doc.settings.timeFontSize, 0)
{
}

std::optional<MinuteLabelText> MinuteLabelLayout::layout(const TimeLabel &label, int32_t cullWidth, int32_t fullHeight)
{
    const QByteArray text = label.text.toByteArray();
    const bool arrow = text == Fonts::arrowText;
    const bool underlined = label.halfMinute != 0;
    // The arrow of a short dwell never carries the half-minute flag; should a
    // text "p" carry it anyway, it is drawn underlined like any other.
    Measured &m = arrow ? m_arrow : underlined ? m_underlined : m_regular;

    MinuteLabelText t;
    t.text = text;
    t.fontName = m.name;
    t.fontSize = m_doc.settings.timeFontSize;
    t.fontStyle = underlined ? Fonts::Underline : 0;
    t.fontColour = Colours::black;
    t.width = m.width(text);
    t.height = m.metrics.height();
    t.x = label.x;
    const int zoom = m_doc.settings.zoom;
    t.y = boundedRound(20.0 + 2.0 * zoom * m_doc.maxKm - 2.0 * zoom * label.distance);

    const bool meets =
        int64_t(t.x) + t.width >= 0 && t.x <= cullWidth && int64_t(t.y) + t.height >= 0 && t.y <= fullHeight;
    if (!meets)
        return std::nullopt;
    return t;
}
