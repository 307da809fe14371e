#include "render/TrainCategory.h"
#include "render/Colours.h"

#include <gtest/gtest.h>

using namespace TrainCategory;

TEST(TrainCategory, KeyIsTheFirstTwoCharactersUpperCased)
{
    EXPECT_EQ(std::tuple(key("R 123"), key("Os 5401")), std::tuple(QByteArray("R "), QByteArray("OS")));
    EXPECT_EQ(std::tuple(key("R"), key("")), std::tuple(QByteArray("R"), QByteArray("")));
    EXPECT_EQ(key("\xE8x"), QByteArray("\xE8X")); // only a-z change
}

TEST(TrainCategory, TableByCategory)
{
    DocumentSettings s;
    s.penThin = 1;
    s.penMedium = 2;
    s.penThick = 3;
    const std::tuple<const char *, int32_t, int, LabelFont> rows[] = {
        {"Os 5401", Colours::black, 1, LabelFont::Small}, {"R 601", Colours::black, 3, LabelFont::Large},
        {"Rn 1234", Colours::blue, 2, LabelFont::Large},  {"Sv 9", Colours::blue, 1, LabelFont::Small},
        {"EN 447", Colours::black, 1, LabelFont::Large},  {"NEx 3", Colours::blue, 3, LabelFont::Large},
        {"Ex 100", Colours::black, 3, LabelFont::Large},  {"Sn 7", Colours::blue, 2, LabelFont::Large},
        {"Lv 2", Colours::blue, 1, LabelFont::Small},     {"Slu\x9E 1", Colours::black, 1, LabelFont::Small},
        {"Rx 5", Colours::black, 1, LabelFont::Small},
    };
    for (const auto &[name, colour, width, font] : rows) {
        const Style st = style(key(name));
        EXPECT_EQ(std::tuple(st.lineColour, st.labelColour, penWidth(s, st.lineWidth), st.labelFont),
                  std::tuple(colour, colour, width, font))
            << name;
    }
    EXPECT_EQ(labelFontName(s, LabelFont::Large), QByteArray("Arial CE"));
    EXPECT_EQ(labelFontSize(s, LabelFont::Small), 8);
}

TEST(Colours, PackedAsRedGreenBlue)
{
    EXPECT_EQ(Colours::toQColor(Colours::olive), QColor(128, 128, 0));
    EXPECT_EQ(Colours::toQColor(Colours::blue), QColor(0, 0, 255));
    EXPECT_EQ(Colours::fromQColor(QColor(1, 2, 3)), 1 + 2 * 256 + 3 * 65536);
}
