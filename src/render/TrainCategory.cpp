#include "TrainCategory.h"

#include "Colours.h"

namespace TrainCategory {

QByteArray key(QByteArrayView trainName)
{
    QByteArray k(trainName.data(), std::min<qsizetype>(2, trainName.size()));
    for (char &c : k)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return k;
}

Style style(QByteArrayView k)
{
    auto is = [&](std::initializer_list<const char *> keys) {
        for (const char *candidate : keys)
            if (k == QByteArrayView(candidate))
                return true;
        return false;
    };
    using enum LineWidth;
    using enum LabelFont;
    if (is({"R ", "EC", "IC", "SC", "EX", "SP"}))
        return {Colours::black, Thick, Large, Colours::black};
    if (is({"NE"}))
        return {Colours::blue, Thick, Large, Colours::blue};
    if (is({"EN"}))
        return {Colours::black, Thin, Large, Colours::black};
    if (is({"RN", "SN"}))
        return {Colours::blue, Medium, Large, Colours::blue};
    if (is({"PN", "MN", "VN", "PV", "VL", "SV", "LV"}))
        return {Colours::blue, Thin, Small, Colours::blue};
    return {Colours::black, Thin, Small, Colours::black};
}

uint8_t penWidth(const DocumentSettings &settings, LineWidth width)
{
    switch (width) {
    case LineWidth::Thin:
        return settings.penThin;
    case LineWidth::Medium:
        return settings.penMedium;
    case LineWidth::Thick:
        return settings.penThick;
    }
    return settings.penThin;
}

QByteArray labelFontName(const DocumentSettings &settings, LabelFont font)
{
    return font == LabelFont::Large ? settings.trainFontLargeName : settings.trainFontSmallName;
}

int32_t labelFontSize(const DocumentSettings &settings, LabelFont font)
{
    return font == LabelFont::Large ? settings.trainFontLargeSize : settings.trainFontSmallSize;
}

} // namespace TrainCategory
