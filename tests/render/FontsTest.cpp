#include "render/Fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

TEST(Fonts, PointSizesBecomeWindowsPixelHeights)
{
    for (const auto &[points, pixels] : {std::pair{7, 9}, {8, 11}, {9, 12}, {12, 16}, {14, 19}, {-8, -11}})
        EXPECT_EQ(Fonts::pixelSize(points), pixels) << points;
    // A size from a damaged file neither overflows nor makes a giant font.
    EXPECT_EQ(Fonts::pixelSize(2147483647), Fonts::pixelSize(Fonts::maxPointSize));
    EXPECT_EQ(Fonts::pixelSize(-2147483647 - 1), -Fonts::pixelSize(Fonts::maxPointSize));
    const QFont font = Fonts::makeFont("Arial CE", 8, Fonts::Bold | Fonts::Underline);
    EXPECT_EQ(std::tuple(font.pixelSize(), font.bold(), font.underline()), std::tuple(11, true, true));
}

TEST(Fonts, WindowsNamesResolveToInstalledFonts)
{
    EXPECT_EQ(QFontInfo(Fonts::makeFont("Arial CE", 12)).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(QFontInfo(Fonts::makeFont("ARIAL CE", 8, Fonts::Bold)).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(QFontInfo(Fonts::makeFont("Times New Roman CE", 12)).family(), QStringLiteral("Liberation Serif"));
}

TEST(Fonts, TheArrowIsAGlyphTheFontHas)
{
    const QString arrow = Fonts::drawableText("WINGDINGS 3", "p");
    EXPECT_NE(arrow, QStringLiteral("p"));
    EXPECT_EQ(Fonts::drawableText("Arial CE", "p\x8A"), QStringLiteral("pŠ"));
    QImage image(10, 10, QImage::Format_RGB32);
    const QFontMetrics fm(Fonts::makeFont("WINGDINGS 3", 7), &image);
    EXPECT_TRUE(fm.inFont(arrow.front()));
    EXPECT_GT(fm.horizontalAdvance(arrow), 0);
}
