#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// A sheet larger than the printer's paper, printed on as many pages as it
// needs: the pages' areas laid over the sheet row by row from its top,
// each row from the left, neighbours sharing a strip of `overlap`
// millimetres so that the pages can be trimmed and glued together. Every
// page carries a line naming it (its number, row and column) above its
// part of the sheet, and the shared strips are marked.
namespace SheetTiles {

// The overlap of neighbouring pages, and the band above a page's part of
// the sheet that names the page.
constexpr double overlapMm = 10.0;
constexpr double headerMm = 6.0;

struct Tile
{
    int number = 1; // 1-based, in printing order
    int row = 1;    // 1-based from the top
    int column = 1; // 1-based from the left
    QRectF source;  // the part of the sheet, millimetres
};

struct Plan
{
    int rows = 0;
    int columns = 0;
    std::vector<Tile> tiles; // row by row, left to right
};

// The sheet cut into parts of at most `area` (the room a page has for the
// sheet), neighbours sharing `overlap`. An area no larger than the overlap
// in either direction cannot carry a sheet: the plan is then empty.
Plan plan(QSizeF sheet, QSizeF area, double overlap = overlapMm);

// Paints the sheet (in millimetres: paint draws the whole sheet with 1 mm
// as one unit) on the pages of a device, one page a tile, starting on the
// device's current page. The room on a page is its paint rectangle less
// the header. False when the paper has no room for the sheet or the device
// could not begin a new page.
bool print(QPagedPaintDevice &device, QPainter &painter, QSizeF sheet, const QString &title,
           const std::function<void(QPainter &)> &paint);

// The line that names a page: "<title> – list 3 z 8 (řádek 2, sloupec 1)".
QString pageName(const QString &title, const Tile &tile, int pages);

} // namespace SheetTiles
