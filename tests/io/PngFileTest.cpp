#include "io/PngFile.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// A picture of `colours` different colours, each in a run of pixels.
QImage picture(int colours, int height)
{
    QImage image(97, height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int c = (y * image.width() + x) / 3 % colours;
            image.setPixel(x, y, qRgb(c % 256, c / 256 * 40, 255 - c % 7));
        }
    return image;
}

} // namespace

TEST(PngFile, WrittenWithAPaletteWhenItHoldsEveryColour)
{
    const struct
    {
        int colours, height;
        bool indexed;
    } cases[] = {{2, 31, true}, {256, 40, true}, {257, 31, false}};
    for (const auto [colours, height, indexed] : cases) {
        const QImage source = picture(colours, height);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(PngFile::write(source, buffer)) << colours;
        QImage read;
        ASSERT_TRUE(read.loadFromData(buffer.data(), "PNG")) << colours;
        EXPECT_EQ(read.format() == QImage::Format_Indexed8, indexed) << colours;
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), source) << colours;
    }
}
