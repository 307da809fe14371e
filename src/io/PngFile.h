#pragma once

#include <QImage>
#include <QString>

class QIODevice;

// Pictures of the diagram written as PNG files, fast and small. A diagram
// has a few colours: its lines, white, and the shades of smoothed text,
// some two hundred at most on a busy day. Such a picture is written with an
// exact palette (a byte a pixel instead of three, so a quarter of the data
// to compress, and nothing lost) at zlib's fastest level, which keeps the
// file a twentieth of the bitmap's size at a fraction of the default
// level's time. A picture of more colours is written as it is, as fast.
namespace PngFile {

// The image with an exact palette of its colours, or a null image when it
// has more than 256.
QImage withPalette(const QImage &image);

bool write(const QImage &image, QIODevice &device);
// Through a temporary file beside path that replaces it only once written.
bool write(const QImage &image, const QString &path);

} // namespace PngFile
