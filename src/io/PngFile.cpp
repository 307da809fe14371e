#include "PngFile.h"

#include <QImageWriter>
#include <QList>
#include <QSaveFile>

#include <array>

namespace PngFile {

namespace {

// Qt's PNG writer turns a quality of 80 into zlib's level 1.
constexpr int fastest = 80;

} // namespace

QImage withPalette(const QImage &source)
{
    if (source.isNull())
        return {};
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    QImage out(image.size(), QImage::Format_Indexed8);
    if (out.isNull())
        return {};
    // An open-addressed table of the colours seen; runs of one colour,
    // the common case, skip it.
    constexpr size_t tableSize = 1024;
    std::array<QRgb, tableSize> keys{};
    std::array<int16_t, tableSize> values;
    values.fill(-1);
    QList<QRgb> palette;
    palette.reserve(256);
    QRgb last = 0;
    uchar lastIndex = 0;
    bool haveLast = false;
    for (int y = 0; y < image.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        uchar *to = out.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = in[x] | 0xFF000000u;
            if (haveLast && p == last) {
                to[x] = lastIndex;
                continue;
            }
            size_t slot = (p * 2654435761u) >> 22 & (tableSize - 1);
            while (values[slot] >= 0 && keys[slot] != p)
                slot = (slot + 1) & (tableSize - 1);
            if (values[slot] < 0) {
                if (palette.size() == 256)
                    return {};
                keys[slot] = p;
                values[slot] = static_cast<int16_t>(palette.size());
                palette.push_back(p);
            }
            last = p;
            lastIndex = static_cast<uchar>(values[slot]);
            haveLast = true;
            to[x] = lastIndex;
        }
    }
    out.setColorTable(palette);
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    return out;
}

bool write(const QImage &image, QIODevice &device)
{
    if (image.isNull())
        return false;
    const QImage indexed = withPalette(image);
    QImageWriter writer(&device, "png");
    writer.setQuality(fastest);
    return writer.write(indexed.isNull() ? image : indexed);
}

bool write(const QImage &image, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!write(image, static_cast<QIODevice &>(file))) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace PngFile
