#include "PictureFile.h"

#include "BitmapFile.h"
#include "PngFile.h"
#include "SafeFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>

namespace PictureFile {

std::optional<Format> formatOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return Format::Pdf;
    if (suffix == QLatin1String("svg"))
        return Format::Svg;
    if (suffix == QLatin1String("png"))
        return Format::Png;
    if (suffix == QLatin1String("bmp"))
        return Format::Bmp;
    return std::nullopt;
}

QString suffixOf(Format format)
{
    switch (format) {
    case Format::Pdf:
        return QStringLiteral("pdf");
    case Format::Svg:
        return QStringLiteral("svg");
    case Format::Png:
        return QStringLiteral("png");
    case Format::Bmp:
        break;
    }
    return QStringLiteral("bmp");
}

int64_t millimetres(int64_t pixels)
{
    return static_cast<int64_t>(std::nearbyint(static_cast<double>(pixels) * 3.0 / 13.0));
}

QSize millimetres(QSize pixels)
{
    return QSize(static_cast<int>(millimetres(pixels.width())), static_cast<int>(millimetres(pixels.height())));
}

bool writePdf(QIODevice &device, const Picture &picture, const QString &title, int dpi)
{
    const QSize pixels = picture.pixels;
    if (pixels.isEmpty())
        return false;
    const QSize mm = millimetres(pixels).expandedTo(QSize(1, 1));
    QPdfWriter writer(&device);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Vlakorys"));
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(mm), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    // The page as it is written (PDF counts in points): the picture fills it.
    const QRect page = writer.pageLayout().fullRectPixels(dpi);
    painter.scale(double(page.width()) / pixels.width(), double(page.height()) / pixels.height());
    picture.paint(painter);
    return painter.end();
}

bool writeSvg(QIODevice &device, const Picture &picture, const QString &title)
{
    const QSize pixels = picture.pixels;
    if (pixels.isEmpty())
        return false;
    // At 254 dots an inch a dot is a tenth of a millimetre, so the file
    // states the sheet's millimetres exactly.
    const QSize mm = millimetres(pixels).expandedTo(QSize(1, 1));
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setTitle(title);
    generator.setResolution(254);
    generator.setSize(mm * 10);
    generator.setViewBox(QRect(QPoint(0, 0), pixels));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    picture.paint(painter);
    return painter.end();
}

std::optional<QSize> rasterSize(QSize pixels, int dpi)
{
    const QSize mm = millimetres(pixels);
    const auto dots = [dpi](int m) { return static_cast<int64_t>(std::nearbyint(m * dpi / 25.4)); };
    const int64_t w = std::max<int64_t>(1, dots(mm.width()));
    const int64_t h = std::max<int64_t>(1, dots(mm.height()));
    if (w * h > maxRasterPixels || w > 32767 || h > 32767)
        return std::nullopt;
    return QSize(static_cast<int>(w), static_cast<int>(h));
}

QImage raster(const Picture &picture, int dpi)
{
    const QSize pixels = picture.pixels;
    const std::optional<QSize> size = rasterSize(pixels, dpi);
    if (!size || pixels.isEmpty())
        return {};
    QImage image(*size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    const int dotsPerMetre = static_cast<int>(std::nearbyint(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(double(size->width()) / pixels.width(), double(size->height()) / pixels.height());
    picture.paint(painter);
    return image;
}

Outcome write(const QString &path, Format format, const Picture &picture, const QString &title, int dpi)
{
    QImage image = picture.image;
    if ((format == Format::Png || format == Format::Bmp) && image.isNull()) {
        image = raster(picture, dpi);
        if (image.isNull())
            return {rasterSize(picture.pixels, dpi) ? Status::CannotWrite : Status::TooLarge, {}};
    }
    // PDF and SVG are made in memory: their writers do not say whether
    // their device took every byte. The file is then written and checked
    // as every other.
    QBuffer vector;
    if (format == Format::Pdf || format == Format::Svg) {
        vector.open(QIODevice::WriteOnly);
        const bool drawn =
            format == Format::Pdf ? writePdf(vector, picture, title, dpi) : writeSvg(vector, picture, title);
        if (!drawn)
            return {Status::CannotWrite, {}};
    }
    const SafeFile::Result written = SafeFile::write(path, [&](QIODevice &device) {
        switch (format) {
        case Format::Pdf:
        case Format::Svg:
            return device.write(vector.data()) == vector.size();
        case Format::Png:
            return PngFile::write(image, device);
        case Format::Bmp:
            break;
        }
        return BitmapFile::write(image, device);
    });
    if (!written)
        return {Status::CannotWrite, written.cause};
    return {};
}

} // namespace PictureFile
