#pragma once

#include <QImage>
#include <QString>

class QIODevice;

// Pictures of the diagram written as PNG files, fast and small. A diagram
// has a few colours: its lines, white, and the shades of smoothed text,
// some two hundred at most on a busy day. Such a picture is written with an
// exact palette (a byte a pixel instead of three, so a third of the data to
// compress, and nothing lost), its rows unfiltered and compressed by zlib
// at its fastest level with run-length matching, in four bands of rows at
// once on the cores there are (each band a deflate stream of its own, joined
// into one). The file is a twentieth of the bitmap's size and costs about
// what writing the bitmap costs. A picture of more colours is written as it
// is by Qt's writer at zlib's fastest level.
namespace PngFile {

// The image with an exact palette of its colours, or a null image when it
// has more than 256.
QImage withPalette(const QImage &image);

bool write(const QImage &image, QIODevice &device);
// Through a temporary file beside path that replaces it only once written.
bool write(const QImage &image, const QString &path);

} // namespace PngFile
