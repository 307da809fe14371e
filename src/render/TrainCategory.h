#pragma once

#include "model/Records.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

// How a train's category decides its drawing: line colour and width, and the
// font and colour of its train label. The category is not stored; it is the
// first two characters of the train's name, a-z upper-cased ("R 123" has the
// key "R ", "Služ 9" the key "SL").
namespace TrainCategory {

enum class LineWidth { Thin, Medium, Thick };
enum class LabelFont { Small, Large }; // "M" and "V" fonts of the settings

struct Style
{
    int32_t lineColour;
    LineWidth lineWidth;
    LabelFont labelFont;
    int32_t labelColour;
};

QByteArray key(QByteArrayView trainName);

// The table; keys it does not list (OS, SL, ...) draw black, thin, "M".
Style style(QByteArrayView key);

// The pen width in pixels a category's line takes from the settings.
uint8_t penWidth(const DocumentSettings &settings, LineWidth width);

// Name and size of a category's label font.
QByteArray labelFontName(const DocumentSettings &settings, LabelFont font);
int32_t labelFontSize(const DocumentSettings &settings, LabelFont font);

} // namespace TrainCategory
