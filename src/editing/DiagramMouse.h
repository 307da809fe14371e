#pragma once

#include "DiagramEditView.h"
#include "InsertToolInput.h"
#include "LabelDrag.h"
#include "MouseEvent.h"
#include "Panning.h"
#include "TrainDrag.h"

class Diagram;
class EditHistory;

// The one mouse entry of the diagram view PaintBox1. The main window only
// turns Qt's events into MouseEvents and calls the handler of the same name;
// this class decides who gets them:
//
// - a press does nothing while a render runs, and ends panning otherwise;
//   a left press goes to the insert-train tool while it is active, and picks
//   a label (LabelDrag) otherwise, and a train when no label is under the
//   pointer (TrainDrag); a right press starts panning (Panning);
// - a move goes to the insert-train tool (active or not), then to the label
//   drag, the train drag, then to panning;
// - a release finishes the label drag and the train drag and ends panning.
//   A release that drops a dragged label is one step of the undo history,
//   named for what the drop did; the train drag records its own.
// Keys for the picked train (Esc, Alt+arrows) come through trainKey.
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
    // Esc and Alt+arrows for the picked train; true when the key was taken.
    // An Esc that ends no drag is not taken: the view drops the highlight.
    bool trainKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat);

    LabelDrag &labelDrag() { return m_drag; }
    const LabelDrag &labelDrag() const { return m_drag; }
    Panning &panning() { return m_panning; }
    TrainDrag &trainDrag() { return m_train; }

private:
    bool insideView(QPoint pos) const;
    // A release of the label drag, as one step when it drops a moved label.
    template <typename Release> void dropStep(Release release);

    Diagram &m_diagram;
    EditHistory &m_history;
    InsertToolInput &m_insertTool;
    LabelDrag m_drag;
    TrainDrag m_train;
    Panning m_panning;
};
