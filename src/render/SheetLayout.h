#pragma once

#include "DiagramView.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <vector>

class Document;
struct VectorLabel;

// Where everything of a printed sheet goes. A sheet is the chosen time
// range cut into layers stacked top to bottom, each a band of the diagram
// with its station column on the left, the time axis under it and the hour
// numbers under that; the station legend, when asked for, follows the last
// layer. Sizes are pixels of the diagram at the sheet's scale; a sheet
// pixel is 3/13 of a millimetre.
//
// The same layout describes a picture of the diagram as the window shows
// it (one layer: the visible rectangle), so that both are drawn by one
// painter back end (SheetPainter).
struct SheetLayout
{
    // What the print dialog TForm5 asks for, with the scale as a zoom level
    // (100 % is 4): the sheet has `zoom` pixels a minute and 2 * zoom a
    // kilometre.
    struct Request
    {
        int layers = 1;
        int overlap = 0; // minutes
        int zoom = 4;
        bool wholeDay = true; // else fromMinute .. toMinute
        int fromMinute = 0;
        int toMinute = 23 * 60 + 59;
        bool wholeLine = true; // else lowMetres .. highMetres
        int32_t lowMetres = 0;
        int32_t highMetres = 0;
        bool legend = true;       // "Přidat legendu stanic"
        bool showCategory = true; // train labels with their category ("Zobr. druh vlaku")
    };

    struct Layer
    {
        // The diagram area: sheet rectangle (left, top, width, height) that
        // shows the diagram from the point (vx0, vy0) on.
        int32_t left = DiagramView::stationColumn;
        int64_t top = 0;
        int32_t width = 0;
        int32_t height = 0;
        int32_t vx0 = 0;
        int32_t vy0 = 0;
        int64_t axisY = 0;     // sheet y of the time axis (the lowest station line shown)
        int64_t hoursTop = 0;  // sheet y of the top of the hour numbers
        int64_t columnEnd = 0; // the station column is shown from top to here
    };

    int zoom = 4;
    double scale = 4.0; // pixels a minute
    int64_t width = 0;
    int64_t height = 0;
    std::vector<Layer> layers;
    std::vector<QString> legend;
    int64_t legendTop = 0;

    // The fonts the sheet's texts are drawn and measured in: the diagram
    // font of the zoom level, and the hour numbers' 14-point font.
    QFont diagramFont;
    QFont hourFont;

    // The sheet for a request. Its width is one layer's share of the time
    // range and the 40-pixel station column:
    //   (zoom * span + (L - 1) * zoom * O) div L + 40,
    // span being the day, the range "Od:" .. "do:", or with several layers
    // that range and one overlap more (the last layer runs on by it). Each
    // layer's height is, for the whole line, the top margin of 20 pixels,
    // the station lines, room for the train labels that stand beyond the top
    // or the bottom station line within the layer's time, and the hour
    // numbers; for a range of stations or kilometres, the range's station
    // lines and a margin of 5 widths of "asaas" and 13 pixels (at least
    // what the top margin and the hour numbers need), the diagram cut at
    // the range. The legend, in lines no wider than the sheet less 60
    // pixels, takes its lines and 20 pixels.
    static SheetLayout plan(const Document &doc, const Request &request);
    // The same with the train labels already placed at the sheet's scale.
    static SheetLayout plan(const Document &doc, const Request &request, const std::vector<VectorLabel> &labels);

    // The picture the diagram surface shows: one layer, the visible part of
    // the diagram beside the station column, the axis at the visible bottom
    // B, the hour numbers 19 pixels under it and the legend at B + g + 5.
    static SheetLayout view(const Document &doc, const DiagramView &view, int paintBoxWidth, int paintBoxHeight,
                            int32_t visibleBottom, const std::vector<QString> &legend);

    // Diagram x of the hour lines 0 .. 24 as the grid records them: every
    // ten minutes Round(x + 10 s), the rounding accumulated.
    std::vector<int32_t> hourPositions() const;
};
