#include "ViewCommands.h"

#include "Diagram.h"

#include "model/Document.h"
#include "render/DiagramWindow.h"
#include "render/Renderer.h"

#include <algorithm>
#include <cmath>

ViewCommands::ViewCommands(Diagram &diagram) : m_diagram(diagram)
{
}

void ViewCommands::zoomIn(Rebuild rebuild)
{
    zoomStep(true, rebuild, {});
}

void ViewCommands::zoomOut(Rebuild rebuild)
{
    zoomStep(false, rebuild, {});
}

void ViewCommands::zoomAt(QPoint pointer, bool in, Rebuild rebuild)
{
    zoomStep(in, rebuild, pointer);
}

void ViewCommands::zoomStep(bool in, Rebuild rebuild, std::optional<QPoint> anchor)
{
    const int zoom = m_diagram.document().settings.zoom;
    if (in ? zoom >= DiagramView::maxZoom : zoom <= DiagramView::minZoom)
        return;
    if (in)
        zoomTo(zoom + 1, 5, true, rebuild, anchor);
    else
        zoomTo(zoom - 1, 4, false, rebuild, anchor);
}

bool ViewCommands::settleZoom()
{
    // Within a render held back the rebuild would be dropped: it stays owed.
    if (!m_zoomOwed || m_diagram.busy())
        return false;
    m_zoomOwed = false;
    m_diagram.contentChanged();
    return true;
}

void ViewCommands::zoomTo(int zoom, int switchAt, bool timeLabels, Rebuild rebuild, std::optional<QPoint> anchor)
{
    Document &doc = m_diagram.document();
    DiagramView &view = m_diagram.view();
    DiagramWindow &window = m_diagram.window();
    // Positions and maxima before anything changes them.
    const int32_t oldH = view.hpos;
    const int32_t oldV = view.vpos;
    const int32_t oldHMax = window.scrollMaximum(Qt::Horizontal);
    const int32_t oldVMax = window.scrollMaximum(Qt::Vertical);

    const int oldZoom = doc.settings.zoom;
    const double oldScale = view.scale;
    doc.settings.zoom = static_cast<uint8_t>(zoom);
    view.updateScale(doc.settings);

    const Renderer::ScrollRanges ranges = m_diagram.scrollRanges(zoom);
    ProgrammaticScroll bars(window, view);
    bars.setMaximum(Qt::Horizontal, ranges.horizontal);
    bars.setMaximum(Qt::Vertical, ranges.vertical.maximum);
    view.hpos = std::clamp(Geometry::rescalePosition(oldH, oldHMax, ranges.horizontal), 0, ranges.horizontal);
    view.vpos =
        std::clamp(Geometry::rescalePosition(oldV, oldVMax, ranges.vertical.maximum), 0, ranges.vertical.maximum);
    if (anchor) {
        // The minute and the distance under the pointer, and where they
        // come at the new zoom.
        const double x = anchor->x() - DiagramView::stationColumn;
        const double minute = (x + DiagramView::hUnit * static_cast<double>(oldH)) / oldScale;
        view.hpos = static_cast<int32_t>(std::clamp(std::nearbyint((minute * view.scale - x) / DiagramView::hUnit), 0.0,
                                                    static_cast<double>(ranges.horizontal)));
        const double y = anchor->y() - DiagramView::topMargin;
        const double fromTop = (y + DiagramView::vUnit * static_cast<double>(oldV)) / oldZoom; // 2 (D - d)
        view.vpos = static_cast<int32_t>(std::clamp(std::nearbyint((fromTop * zoom - y) / DiagramView::vUnit), 0.0,
                                                    static_cast<double>(ranges.vertical.maximum)));
    }
    bars.setValue(Qt::Horizontal, view.hpos);
    bars.setValue(Qt::Vertical, view.vpos);

    // Crossing 125 % switches "Časové popisky". The box is set without its
    // own render: that render would keep the old minute texts and leave the
    // train labels where the old zoom put them, and this step's rebuild,
    // which records and places everything at the new zoom, would then find
    // nothing left to do.
    if (zoom == switchAt) {
        const RenderGuard guard = m_diagram.holdRenders();
        window.setChecked(DiagramWindow::CheckBox::TimeLabels, timeLabels);
        doc.settings.showTimeLabels = timeLabels;
    }
    window.setZoomText(DiagramView::zoomText(zoom));
    m_zoomOwed = rebuild == Rebuild::Later;
    if (!m_zoomOwed)
        m_diagram.contentChanged();
}

void ViewCommands::refresh()
{
    m_diagram.view().updateScale(m_diagram.document().settings);
    m_diagram.contentChanged();
}

void ViewCommands::toggleTimeLabels()
{
    m_diagram.document().settings.showTimeLabels = m_diagram.window().isChecked(DiagramWindow::CheckBox::TimeLabels);
    if (m_diagram.busy())
        return;
    m_diagram.trainsChanged();
}

void ViewCommands::toggleSmoothing()
{
    m_diagram.document().settings.smoothing = m_diagram.window().isChecked(DiagramWindow::CheckBox::Smoothing);
    redrawLabelImages();
}

void ViewCommands::toggleCategory()
{
    m_diagram.document().settings.showCategory = m_diagram.window().isChecked(DiagramWindow::CheckBox::Category);
    redrawLabelImages(); // the label images show the category
}

void ViewCommands::redrawLabelImages()
{
    if (m_diagram.busy())
        return;
    for (TrainLabel &label : m_diagram.document().trainLabels)
        label.dropImage();
    m_diagram.trainsChanged(RenderRequest::Labels::all());
}

void ViewCommands::scrollChanged(Qt::Orientation bar, int position)
{
    DiagramView &view = m_diagram.view();
    if (view.programmaticScroll)
        return;
    (bar == Qt::Horizontal ? view.hpos : view.vpos) = position;
    m_diagram.viewChanged();
}

bool ViewCommands::keyScroll(int key, Qt::KeyboardModifiers modifiers)
{
    DiagramView &view = m_diagram.view();
    DiagramWindow &window = m_diagram.window();
    if (key == Qt::Key_Escape) {
        // A green line left from a search that found nothing goes too.
        m_diagram.highlightOff();
        return true;
    }
    const int32_t step = modifiers.testFlag(Qt::ShiftModifier) ? 50 : 5;
    const int32_t hmax = window.scrollMaximum(Qt::Horizontal);
    const int32_t vmax = window.scrollMaximum(Qt::Vertical);
    // The arrows move the diagram, not the view.
    switch (key) {
    case Qt::Key_Right:
        if (view.hpos >= 1)
            view.hpos -= step;
        break;
    case Qt::Key_Left:
        if (view.hpos <= hmax)
            view.hpos += step;
        break;
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (!window.scrollBarVisible(Qt::Vertical))
            return true;
        if (key == Qt::Key_Down && view.vpos >= 1)
            view.vpos -= step;
        else if (key == Qt::Key_Up && view.vpos <= vmax)
            view.vpos += step;
        break;
    default:
        return false;
    }
    view.hpos = std::clamp(view.hpos, 0, hmax);
    view.vpos = std::clamp(view.vpos, 0, vmax);
    ProgrammaticScroll bars(window, view);
    bars.setValue(Qt::Horizontal, view.hpos);
    bars.setValue(Qt::Vertical, view.vpos);
    m_diagram.viewChanged();
    return true;
}

void ViewCommands::paint()
{
    m_diagram.repaint();
}
