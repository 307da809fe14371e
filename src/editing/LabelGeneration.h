#pragma once

#include <cstdint>

class Document;
class ProgressSink;

// The labels the program places itself: a minute digit where a train line
// leaves or reaches a station line (time labels), and one train-number label
// along the first segment of every train. Labels are placed by these rules
// alone; nothing tests for overlaps.
//
// scale is the horizontal scale in pixels per minute (DiagramView::scale);
// the zoom level and the fonts come from the document's settings and the
// top kilometre from its station table. Texts are measured in the fonts the
// diagram draws them in, so positions follow whatever fonts are installed.
//
// A row whose station reference has no distance (0, or above the 1000
// entries of the station table) gets no time label, nor do the labels that
// measure against it; a train label is refused only when the rows it is
// made from are such rows, or hold times of more than a million days (only
// a damaged file has them; its anchor would not be a finite number).

// The vertical distance (kilometres, to the metre) of a row's station
// reference: the station's position for 1..1000, the whole kilometre
// reference + 1000 held to 0..D for a bare kilometre point. Any other
// reference raises RangeError.
double PointDistance(const Document &doc, int32_t index);

// Discards every time label and makes the complete set anew. Shows progress
// every 10 trains in the progress window.
void MakeTimeLabels(Document &doc, double scale, ProgressSink &progress);

// Discards every train label and makes one for every train that has at
// least one stop. Times of half-minute rows count 30 seconds later here.
void MakeTrainLabels(Document &doc, double scale);

// Keeps the existing train labels, passes each train's "Rušící" flag on to
// its labels, and makes a label for every train that has none. A label
// holds 15 characters of the name; trains whose names agree in those share
// the labels of that text in list order. Stored times are used, without the
// half-minute.
void MakeLabelsForNewTrains(Document &doc, double scale);
