#include "BitmapFile.h"

#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

namespace BitmapFile {

bool write(const QImage &image, const QString &path)
{
    if (image.isNull())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Qt writes an image without alpha in 24 bits a pixel.
    QImageWriter writer(&file, "bmp");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB888))) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace BitmapFile
