#pragma once

#include "DiagramEditView.h"
#include "InsertToolInput.h"
#include "LabelDrag.h"
#include "MouseEvent.h"
#include "Panning.h"

class Diagram;
class EditHistory;

// The one mouse entry of the diagram view PaintBox1. The main window only
// turns Qt's events into MouseEvents and calls the handler of the same name;
// this class decides who gets them:
//
// - a press does nothing while a render runs, and ends panning otherwise;
//   a left press goes to the insert-train tool while it is active, and picks
//   a label (LabelDrag) otherwise; a right press starts panning (Panning);
// - a move goes to the insert-train tool (active or not), then to the label
//   drag, then to panning;
// - a release finishes the label drag and ends panning. A release that
//   drops a dragged label is one step of the undo history, named for what
//   the drop did.
//
// Qt keeps sending a button's moves and release to the paint box when the
// pointer leaves it: a move outside counts as one over the window (or over
// the vertical scroll bar) and ends panning; a release outside counts as one
// over the window, which drops a dragged label far above the diagram.
class DiagramMouse
{
public:
    DiagramMouse(Diagram &diagram, DiagramEditView &edit, EditHistory &history, InsertToolInput &insertTool);

    void PaintBox1MouseDown(const MouseEvent &e);
    void PaintBox1MouseMove(const MouseEvent &e);
    void PaintBox1MouseUp(const MouseEvent &e);
    // The pointer moved over the main window outside the diagram view.
    void FormMouseMove();
    // A button was released over the main window outside the diagram view.
    void FormMouseUp(const MouseEvent &e);
    // Something is dragged over the vertical scroll bar.
    void ScrollBar2DragOver();

    LabelDrag &labelDrag() { return m_drag; }
    const LabelDrag &labelDrag() const { return m_drag; }
    Panning &panning() { return m_panning; }

private:
    bool insideView(QPoint pos) const;
    // A release of the label drag, as one step when it drops a moved label.
    template <typename Release> void dropStep(Release release);

    Diagram &m_diagram;
    EditHistory &m_history;
    InsertToolInput &m_insertTool;
    LabelDrag m_drag;
    Panning m_panning;
};
