#include "DiagramMouse.h"

#include "Diagram.h"
#include "EditHistory.h"
#include "StepNames.h"

#include "render/DiagramWindow.h"

DiagramMouse::DiagramMouse(Diagram &diagram, DiagramEditView &edit, EditHistory &history, InsertToolInput &insertTool)
    : m_diagram(diagram), m_history(history), m_insertTool(insertTool), m_drag(diagram, edit),
      m_train(diagram, history), m_panning(diagram)
{
}

bool DiagramMouse::insideView(QPoint pos) const
{
    return QRect(QPoint(0, 0), m_diagram.window().paintBoxSize()).contains(pos);
}

void DiagramMouse::PaintBox1MouseDown(const MouseEvent &e)
{
    if (m_diagram.busy())
        return;
    m_panning.stop();
    if (e.button == Qt::LeftButton) {
        if (m_insertTool.isActive())
            m_insertTool.leftPress(e);
        else if (!m_drag.press(e))
            m_train.press(e);
    } else if (e.button == Qt::RightButton) {
        m_panning.start(e.pos);
    }
}

void DiagramMouse::PaintBox1MouseMove(const MouseEvent &e)
{
    m_insertTool.pointerMove(e);
    m_drag.move(e);
    m_train.move(e);
    const QSize box = m_diagram.window().paintBoxSize();
    if (insideView(e.pos))
        m_panning.move(e.pos);
    else if (e.pos.x() >= box.width() && e.pos.y() >= 0 && e.pos.y() < box.height())
        ScrollBar2DragOver();
    else
        FormMouseMove();
}

void DiagramMouse::PaintBox1MouseUp(const MouseEvent &e)
{
    if (!insideView(e.pos)) {
        FormMouseUp(e);
        return;
    }
    dropStep([&] { m_drag.release(e); });
    m_train.release();
    m_panning.stop();
}

void DiagramMouse::FormMouseMove()
{
    m_panning.stop();
}

void DiagramMouse::FormMouseUp(const MouseEvent &e)
{
    m_panning.stop();
    dropStep([&] { m_drag.releaseOutside(e); });
    m_train.release();
}

bool DiagramMouse::trainKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat)
{
    if (key == Qt::Key_Escape)
        return m_train.escape();
    // While a train is laid, the trains stay as they are.
    if (m_insertTool.isActive())
        return false;
    if ((key != Qt::Key_Left && key != Qt::Key_Right) || !modifiers.testFlag(Qt::AltModifier))
        return false;
    const int step = modifiers.testFlag(Qt::ShiftModifier) ? TrainDrag::shiftKeyStep : TrainDrag::keyStep;
    return m_train.nudge(key == Qt::Key_Right ? step : -step, autoRepeat);
}

void DiagramMouse::ScrollBar2DragOver()
{
    m_panning.stop();
}

template <typename Release> void DiagramMouse::dropStep(Release release)
{
    if (!m_drag.armed() || !m_drag.moved()) {
        release();
        return;
    }
    EditStep step(m_history);
    release();
    step.setName(StepNames::labelDrop(m_drag.lastDrop()));
}
