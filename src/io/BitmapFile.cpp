#include "BitmapFile.h"

#include <QImage>
#include <QImageWriter>

namespace BitmapFile {

bool write(const QImage &image, QIODevice &device)
{
    if (image.isNull())
        return false;
    // Qt writes an image without alpha in 24 bits a pixel.
    QImageWriter writer(&device, "bmp");
    return writer.write(image.convertToFormat(QImage::Format_RGB888));
}

SafeFile::Result write(const QImage &image, const QString &path)
{
    if (image.isNull())
        return {SafeFile::Failure::Write, {}};
    return SafeFile::write(path, [&image](QIODevice &device) { return write(image, device); });
}

} // namespace BitmapFile
