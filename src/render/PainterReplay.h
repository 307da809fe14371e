#pragma once

#include "DisplayList.h"
#include "Replay.h"

#include <QPen>

class QPainter;

// The painter back end of the display list: the recorded lines and texts
// that meet a viewport, drawn through a QPainter onto any paint device (a
// PDF or SVG file, a printer, an image) in diagram coordinates; the caller
// sets the painter's transform and clip (which holds on an SVG too, see
// SoftClip). The pixel back end (Replayer)
// draws the same recording for the screen.
//
// Every primitive is drawn once, in recorded order, however many strips it
// was filed in. Lines keep their colour, width and style: a solid line is a
// line of its width with round ends, a dashed, dotted or dash-dotted one
// carries the pattern the pixel back end draws (dash 4 on 2 off, dot 1 on 2
// off, dash-dot 4, 2, 1, 2 pixels from its start) across the 2w - 1 pixels
// its parallel lines cover on the screen. A pixel's centre is half a pixel
// in from its corner, so a line drawn here covers the pixels the screen's
// line covers. Texts stay texts.
namespace PainterReplay {

// The pen of a recorded line.
QPen penOf(const LinePrimitive &line);

void replay(QPainter &painter, const DisplayList &list, const Replayer::Viewport &viewport, bool texts);

} // namespace PainterReplay
