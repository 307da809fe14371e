#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QIODevice;
class QPainter;

// A sheet (or any picture drawn in sheet pixels) on the devices a sheet
// goes to: a PDF of one page of the sheet's size, an SVG, or an image of it
// at a resolution. The sheet is measured as the print dialog measures it:
// 13 sheet pixels are 3 millimetres.
namespace SheetFiles {

enum class Format { Pdf, Svg, Png, Bmp };

// By the file name's suffix, whatever its case.
std::optional<Format> formatOf(const QString &fileName);
QString suffixOf(Format format);

// The sheet's size in millimetres: pixels * 3 / 13, rounded.
QSize millimetres(QSize pixels);
int64_t millimetres(int64_t pixels);

// Paints the picture in sheet pixels; the painter is already scaled.
using Paint = std::function<void(QPainter &painter)>;

// One page of exactly the sheet's millimetres (as PDF measures pages, to
// the nearest point), the picture scaled to fill it; texts stay texts.
// False when the device cannot be written.
bool writePdf(QIODevice &device, QSize pixels, const QString &title, int dpi, const Paint &paint);

// An SVG whose width and height are the sheet's millimetres and whose user
// units are sheet pixels.
bool writeSvg(QIODevice &device, QSize pixels, const QString &title, const Paint &paint);

// The largest picture rasterSize allows: a sheet of more pixels at the
// chosen resolution would need more memory than an editor may take.
constexpr int64_t maxRasterPixels = int64_t{1} << 27;

// The image of a sheet at a resolution: its millimetres at dpi dots an
// inch, rounded; nullopt when that exceeds maxRasterPixels.
std::optional<QSize> rasterSize(QSize pixels, int dpi);
// The sheet drawn into an image of rasterSize (smoothed); a null image
// when it is too large.
QImage raster(QSize pixels, int dpi, const Paint &paint);

} // namespace SheetFiles
