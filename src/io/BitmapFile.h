#pragma once

#include "SafeFile.h"

#include <QString>

class QImage;
class QIODevice;

// Pictures of the diagram written as Windows bitmap files (*.bmp), 24 bits
// a pixel, as image viewers and the program's users expect them.
namespace BitmapFile {

// False when the image is empty or the device fails.
bool write(const QImage &image, QIODevice &device);

// Writes the image to path through SafeFile: a failure (an empty image, a
// full disk, a directory that does not exist) leaves any previous file as
// it was.
SafeFile::Result write(const QImage &image, const QString &path);

} // namespace BitmapFile
