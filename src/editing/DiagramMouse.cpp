#include "DiagramMouse.h"

#include "render/DiagramWindow.h"
#include "render/Renderer.h"

DiagramMouse::DiagramMouse(const DiagramContext &context) : m_c(context), m_drag(context), m_panning(context)
{
}

bool DiagramMouse::insideView(QPoint pos) const
{
    return QRect(QPoint(0, 0), m_c.window.paintBoxSize()).contains(pos);
}

void DiagramMouse::PaintBox1MouseDown(const MouseEvent &e)
{
    if (m_c.renderer.renderInProgress)
        return;
    m_panning.stop();
    if (e.button == Qt::LeftButton) {
        if (m_insertTool && m_insertTool->isActive())
            m_insertTool->leftPress(e);
        else
            m_drag.press(e);
    } else if (e.button == Qt::RightButton) {
        m_panning.start(e.pos);
    }
}

void DiagramMouse::PaintBox1MouseMove(const MouseEvent &e)
{
    if (m_insertTool)
        m_insertTool->pointerMove(e);
    m_drag.move(e);
    if (insideView(e.pos))
        m_panning.move(e.pos);
    else if (e.pos.x() >= m_c.window.paintBoxSize().width() && e.pos.y() >= 0
             && e.pos.y() < m_c.window.paintBoxSize().height())
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
    m_drag.release(e);
    m_panning.stop();
}

void DiagramMouse::FormMouseMove()
{
    m_panning.stop();
}

void DiagramMouse::FormMouseUp(const MouseEvent &e)
{
    m_panning.stop();
    m_drag.releaseOutside(e);
}

void DiagramMouse::ScrollBar2DragOver()
{
    m_panning.stop();
}
