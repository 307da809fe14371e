#include "ViewCommands.h"

#include "DiagramWindow.h"
#include "Renderer.h"

#include "model/Document.h"

ViewCommands::ViewCommands(Document &document, DiagramView &view, Renderer &renderer, DiagramWindow &window)
    : m_doc(document), m_view(view), m_renderer(renderer), m_window(window)
{
}

void ViewCommands::render()
{
    m_renderer.render(m_window);
}

void ViewCommands::zoomIn()
{
    if (m_doc.settings.zoom >= DiagramView::maxZoom)
        return;
    zoomTo(m_doc.settings.zoom + 1, 5, true);
}

void ViewCommands::zoomOut()
{
    if (m_doc.settings.zoom <= DiagramView::minZoom)
        return;
    zoomTo(m_doc.settings.zoom - 1, 4, false);
}

void ViewCommands::zoomTo(int zoom, int switchAt, bool timeLabels)
{
    // Positions and maxima before anything changes them.
    const int32_t oldH = m_view.hpos;
    const int32_t oldV = m_view.vpos;
    const int32_t oldHMax = m_window.scrollMaximum(Qt::Horizontal);
    const int32_t oldVMax = m_window.scrollMaximum(Qt::Vertical);

    m_doc.settings.zoom = static_cast<uint8_t>(zoom);
    m_view.updateScale(m_doc.settings);

    const Renderer::ScrollRanges ranges = m_renderer.scrollRanges(zoom, m_view.scale, m_window.paintBoxSize());
    ProgrammaticScroll bars(m_window, m_view);
    bars.setMaximum(Qt::Horizontal, ranges.horizontal);
    bars.setMaximum(Qt::Vertical, ranges.vertical.maximum);
    m_view.hpos = std::clamp(Geometry::rescalePosition(oldH, oldHMax, ranges.horizontal), 0, ranges.horizontal);
    m_view.vpos =
        std::clamp(Geometry::rescalePosition(oldV, oldVMax, ranges.vertical.maximum), 0, ranges.vertical.maximum);
    bars.setValue(Qt::Horizontal, m_view.hpos);
    bars.setValue(Qt::Vertical, m_view.vpos);

    m_doc.redrawNeeded = true;
    // Crossing 125 % switches "Časové popisky". The box is set without its
    // own render: that render would keep the old minute texts and leave the
    // train labels where the old zoom put them, and this step's rebuild,
    // which records and places everything at the new zoom, would then find
    // nothing left to do.
    if (zoom == switchAt) {
        RenderGuard guard(m_renderer);
        m_window.setChecked(DiagramWindow::CheckBox::TimeLabels, timeLabels);
        m_doc.settings.showTimeLabels = timeLabels;
    }
    if (makeTimeLabels)
        makeTimeLabels();
    render();
    m_window.setZoomText(DiagramView::zoomText(zoom));
}

void ViewCommands::refresh()
{
    m_view.updateScale(m_doc.settings);
    m_doc.redrawNeeded = true;
    if (makeTimeLabels)
        makeTimeLabels();
    render();
}

void ViewCommands::toggleTimeLabels()
{
    if (m_renderer.renderInProgress)
        return;
    m_doc.redrawNeeded = true;
    m_renderer.keepTimeText = true;
    m_renderer.labelSelector = -1;
    render();
}

void ViewCommands::toggleSmoothing()
{
    if (m_renderer.renderInProgress)
        return;
    m_doc.redrawNeeded = true;
    m_renderer.keepTimeText = true;
    for (TrainLabel &label : m_doc.trainLabels)
        label.dropImage();
    render();
}

void ViewCommands::toggleCategory()
{
    toggleSmoothing(); // the same steps: the label images show the category
}

void ViewCommands::scrollChanged(Qt::Orientation bar, int position)
{
    if (m_view.programmaticScroll)
        return;
    (bar == Qt::Horizontal ? m_view.hpos : m_view.vpos) = position;
    render();
}

bool ViewCommands::keyScroll(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_Escape) {
        // A green line left from a search that found nothing goes too.
        if (!m_renderer.highlightOn && !m_renderer.highlightRecorded())
            return true;
        m_renderer.highlightOn = false;
        m_renderer.labelSelector = -1;
        m_renderer.keepTimeText = true;
        m_doc.redrawNeeded = true;
        render();
        return true;
    }
    const int32_t step = modifiers.testFlag(Qt::ShiftModifier) ? 50 : 5;
    const int32_t hmax = m_window.scrollMaximum(Qt::Horizontal);
    const int32_t vmax = m_window.scrollMaximum(Qt::Vertical);
    // The arrows move the diagram, not the view.
    switch (key) {
    case Qt::Key_Right:
        if (m_view.hpos >= 1)
            m_view.hpos -= step;
        break;
    case Qt::Key_Left:
        if (m_view.hpos <= hmax)
            m_view.hpos += step;
        break;
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (!m_window.scrollBarVisible(Qt::Vertical))
            return true;
        if (key == Qt::Key_Down && m_view.vpos >= 1)
            m_view.vpos -= step;
        else if (key == Qt::Key_Up && m_view.vpos <= vmax)
            m_view.vpos += step;
        break;
    default:
        return false;
    }
    m_view.hpos = std::clamp(m_view.hpos, 0, hmax);
    m_view.vpos = std::clamp(m_view.vpos, 0, vmax);
    ProgrammaticScroll bars(m_window, m_view);
    bars.setValue(Qt::Horizontal, m_view.hpos);
    bars.setValue(Qt::Vertical, m_view.vpos);
    render();
    return true;
}

void ViewCommands::resize()
{
    m_renderer.resizeDiagramBitmap(m_window.clientSize());
}

void ViewCommands::paint()
{
    m_renderer.paintOnly = true;
    render();
}
