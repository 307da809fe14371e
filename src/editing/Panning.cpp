#include "Panning.h"

#include "Diagram.h"

#include "render/DiagramWindow.h"

#include <algorithm>

void Panning::start(QPoint pos)
{
    m_active = true;
    m_last = pos;
}

void Panning::move(QPoint pos)
{
    if (!m_active)
        return;
    DiagramView &view = m_diagram.view();
    DiagramWindow &window = m_diagram.window();
    const int32_t hmax = std::max(0, window.scrollMaximum(Qt::Horizontal));
    const int32_t vmax = std::max(0, window.scrollMaximum(Qt::Vertical));
    const int32_t hpos = view.hpos;
    const int32_t vpos = view.vpos;

    // Moving the pointer left or up scrolls towards larger positions. A step
    // towards the end of a bar that is already there still takes the pointer
    // as the new start.
    const int dx = m_last.x() - pos.x();
    if (dx >= 6) {
        if (view.hpos < hmax)
            view.hpos += dx / DiagramView::hUnit;
        m_last.setX(pos.x());
    } else if (dx <= -6) {
        view.hpos += dx / DiagramView::hUnit;
        m_last.setX(pos.x());
    }
    const int dy = m_last.y() - pos.y();
    if (dy >= 3) {
        if (view.vpos < vmax)
            view.vpos += dy / DiagramView::vUnit;
        m_last.setY(pos.y());
    } else if (dy <= -3) {
        view.vpos += dy / DiagramView::vUnit;
        m_last.setY(pos.y());
    }
    view.hpos = std::clamp(view.hpos, 0, hmax);
    view.vpos = std::clamp(view.vpos, 0, vmax);

    {
        ProgrammaticScroll bars(window, view);
        bars.setValue(Qt::Horizontal, view.hpos);
        bars.setValue(Qt::Vertical, view.vpos);
    }
    // The picture of unchanged positions is the one on the screen: copying it
    // again is enough.
    m_diagram.viewChanged(view.hpos != hpos || view.vpos != vpos);
}
