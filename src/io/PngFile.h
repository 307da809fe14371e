#pragma once

#include "SafeFile.h"

#include <QImage>
#include <QString>

class QIODevice;

// Pictures of the diagram written as PNG files, fast and small. A diagram
// has a few colours: its lines, white, and the shades of smoothed text,
// some two hundred at most on a busy day. Such a picture is written with an
// exact palette (a byte a pixel instead of three, so a third of the data to
// compress, and nothing lost), its rows unfiltered and compressed at once by
// libdeflate's fast level 2, which is both faster and tighter than zlib's
// fastest. The output depends on the pixels alone. A picture of more colours
// is written as it is by Qt's writer at zlib's fastest level.
namespace PngFile {

bool write(const QImage &image, QIODevice &device);
// Through SafeFile: a failure leaves any previous file as it was.
SafeFile::Result write(const QImage &image, const QString &path);

} // namespace PngFile
