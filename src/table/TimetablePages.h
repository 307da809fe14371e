#pragma once

#include "TimetableTable.h"

#include <QFont>
#include <QSizeF>
#include <QString>

#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPaintDevice;

// The timetable tables on paper: each direction on as many pages as it
// needs. Every page repeats the station columns (km, name, arrival or
// departure) at its left and carries whole train columns only, as many as
// its width holds; a line too long for a page goes on in row blocks with
// the column headings repeated. Above the table a line names the line and
// the direction, below it the page's number.
namespace TimetablePages {

// Sizes of a page's parts, in the units the pages are painted in.
struct Metrics
{
    QSizeF page;              // the room of a page
    double stationWidth = 0;  // the station columns together
    double columnWidth = 0;   // one train column
    double rowHeight = 0;     // one row of times
    double headingHeight = 0; // the train columns' headings
    double titleHeight = 0;   // the line above the table
    double footerHeight = 0;  // the page number below it
};

struct Page
{
    int table = 0; // index into the tables
    int firstColumn = 0;
    int columns = 0;
    int firstRow = 0;
    int rows = 0;
};

// The pages in printing order: the tables one after another, each by its
// train columns from the left and those by row blocks from the top. Empty
// when a page has no room for one train column or one row.
std::vector<Page> plan(const std::vector<TimetableTable> &tables, const Metrics &metrics);

// The metrics of the tables in the printing font measured on a device
// whose page has `page` units of room.
Metrics measure(const std::vector<TimetableTable> &tables, QPaintDevice &device, QSizeF page);

// "Trať Vsetín – Velké Karlovice: Vsetín → Velké Karlovice"; the line
// alone names it when it is empty.
QString title(const QString &line, const TimetableTable &table);
// "list 2 z 5"
QString pageNumber(int number, int pages);

enum class Result { Ok, NoRoom, Failed };

// Every page on the device, the first on its current page; the room of a
// page is the page layout's paint rectangle.
Result print(QPagedPaintDevice &device, const std::vector<TimetableTable> &tables, const QString &line);

// A PDF of A4 pages on their side, 10 mm margins.
QByteArray pdf(const std::vector<TimetableTable> &tables, const QString &line);

} // namespace TimetablePages
