#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QIODevice;
class QPainter;

// Pictures of the diagram written to files: a PDF of one page of the
// picture's size, an SVG, a PNG or a 24-bit Windows bitmap. A picture is
// drawn by a painting function in its own pixels (the painter back end of
// the drawing, so PDF and SVG keep lines and texts), or is an image already
// (the window's view as it was rendered). Its size in millimetres is
// reckoned as the print dialog reckons it: 13 pixels are 3 millimetres.
namespace PictureFile {

enum class Format { Pdf, Svg, Png, Bmp };

// By the file name's suffix, whatever its case.
std::optional<Format> formatOf(const QString &fileName);
QString suffixOf(Format format);

// Pixels * 3 / 13, rounded.
int64_t millimetres(int64_t pixels);
QSize millimetres(QSize pixels);

struct Picture
{
    QSize pixels;
    // Paints the picture in its pixels; the painter is already scaled.
    std::function<void(QPainter &painter)> paint;
    // The picture as an image, for PNG and BMP; when null they are drawn
    // from paint at the chosen resolution.
    QImage image;
};

// One page of exactly the picture's millimetres (as PDF measures pages, to
// the nearest point), the picture scaled to fill it; texts stay texts.
bool writePdf(QIODevice &device, const Picture &picture, const QString &title, int dpi);
// An SVG whose width and height are the picture's millimetres and whose
// user units are its pixels.
bool writeSvg(QIODevice &device, const Picture &picture, const QString &title);

// The most pixels an image of a picture may have: more would need more
// memory than an editor may take.
constexpr int64_t maxRasterPixels = int64_t{1} << 27;
// The image of a picture at a resolution: its millimetres at dpi dots an
// inch, rounded; nullopt when it exceeds maxRasterPixels or 32767 a side.
std::optional<QSize> rasterSize(QSize pixels, int dpi);
// The picture drawn (smoothed) into an image of rasterSize; null when too
// large.
QImage raster(const Picture &picture, int dpi);

enum class Status { Ok, CannotWrite, TooLarge };

struct Outcome
{
    Status status = Status::Ok;
    QString cause; // why a write failed, in the program's words ("disk je plný")
};

// Writes the picture in the format to path through SafeFile: a failure
// leaves any previous file as it was.
Outcome write(const QString &path, Format format, const Picture &picture, const QString &title, int dpi);

} // namespace PictureFile
