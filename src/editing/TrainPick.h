#pragma once

#include <QPoint>

class Document;

// Which train a left press on the diagram picks: the one whose line, as
// drawn, passes within `reach` pixels of the point; the nearest wins, and
// at a tie (a crossing) the one drawn last. With it comes the row whose
// point lies nearest the press (the later one at a tie, so a press at a
// dwell's end takes the departure): the row a Shift-drag moves on from.
namespace TrainPick {

constexpr double reach = 4.0;

struct Hit
{
    int train = -1; // index in the document's trains, -1 for none
    int row = 0;    // 0-based
    bool found() const { return train >= 0; }
    bool operator==(const Hit &) const = default;
};

// diagramPoint is in diagram pixels (the view's point with the station
// column and the scroll positions taken off).
Hit at(const Document &doc, double scale, QPoint diagramPoint);

} // namespace TrainPick
