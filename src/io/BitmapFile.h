#pragma once

#include <QString>

class QImage;

// Pictures of the diagram written as Windows bitmap files (*.bmp), 24 bits
// a pixel, as image viewers and the program's users expect them.
namespace BitmapFile {

// Writes the image to path through a temporary file beside it that replaces
// the target only once everything was written: a failure (an empty image, a
// full disk, a directory that does not exist) leaves any previous file as it
// was. True when the file was written.
bool write(const QImage &image, const QString &path);

} // namespace BitmapFile
