#include "render/Fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

TEST(Fonts, PointSizesBecomeWindowsPixelHeights)
{
    EXPECT_EQ(Fonts::pixelSize(7), 9);
    EXPECT_EQ(Fonts::pixelSize(8), 11);
    EXPECT_EQ(Fonts::pixelSize(9), 12);
    EXPECT_EQ(Fonts::pixelSize(12), 16);
    EXPECT_EQ(Fonts::pixelSize(14), 19);
    EXPECT_EQ(Fonts::makeFont("Arial CE", 8, Fonts::Bold | Fonts::Underline).pixelSize(), 11);
    EXPECT_TRUE(Fonts::makeFont("Arial CE", 8, Fonts::Bold).bold());
}

TEST(Fonts, WindowsNamesResolveToInstalledFonts)
{
    const QFontInfo arial(Fonts::makeFont("Arial CE", 12));
    EXPECT_EQ(arial.family(), QStringLiteral("Liberation Sans"));
    const QFontInfo times(Fonts::makeFont("Times New Roman CE", 12));
    EXPECT_EQ(times.family(), QStringLiteral("Liberation Serif"));
}

TEST(Fonts, TheArrowIsAGlyphTheFontHas)
{
    const QString arrow = Fonts::drawableText("WINGDINGS 3", "p");
    EXPECT_NE(arrow, QStringLiteral("p"));
    EXPECT_EQ(Fonts::drawableText("Arial CE", "p"), QStringLiteral("p"));
    EXPECT_EQ(Fonts::drawableText("Arial CE", "\x8A"), QStringLiteral("Š"));
    QImage image(10, 10, QImage::Format_RGB32);
    const QFontMetrics fm(Fonts::makeFont("WINGDINGS 3", 7), &image);
    EXPECT_TRUE(fm.inFont(arrow.front()));
    EXPECT_GT(fm.horizontalAdvance(arrow), 0);
}
