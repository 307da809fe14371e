#pragma once

#include "SheetLayout.h"
#include "StationColumn.h"
#include "VectorLabels.h"

#include <cstdint>
#include <vector>

class DisplayList;
class QPainter;

// Draws a sheet (or a picture of the window's view) through a QPainter, in
// sheet pixels: for each layer the recorded diagram in its area (the
// painter back end of the display list) with the train labels as turned
// text, the station column, the time axis and the hour numbers; then the
// station legend. The caller scales the painter to its device.
class SheetPainter
{
public:
    // What was recorded for the picture: the display list at the layout's
    // scale, the station column's numbers with the bottom of its axis, the
    // train labels placed at that scale, and whether the minute labels show.
    struct Recording
    {
        const DisplayList *list = nullptr;
        std::vector<StationColumn::Number> numbers;
        int32_t columnAxisBottom = 0;
        std::vector<VectorLabel> labels;
        bool timeLabels = true;
    };

    static void paint(QPainter &painter, const SheetLayout &layout, const Recording &recording);
};
