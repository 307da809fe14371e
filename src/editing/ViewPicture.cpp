#include "ViewPicture.h"

#include "Diagram.h"

#include "render/DiagramWindow.h"
#include "render/Renderer.h"
#include "render/VectorLabels.h"

ViewPicture::ViewPicture(Diagram &diagram) : m_diagram(diagram)
{
    diagram.viewChanged();
    m_picture.pixels = diagram.window().paintBoxSize();
    m_picture.image = diagram.renderer().surface();
    m_picture.paint = [this](QPainter &p) { paint(p); };
}

void ViewPicture::paint(QPainter &painter)
{
    const Document &doc = m_diagram.document();
    const DiagramView &view = m_diagram.view();
    const Renderer &renderer = m_diagram.renderer();
    const QSize box = m_picture.pixels;
    m_layout = SheetLayout::view(doc, view, box.width(), box.height(), renderer.visibleBottom(),
                                 renderer.legendLines());
    m_recording.list = &renderer.displayList();
    m_recording.numbers = renderer.stationColumn().numbers();
    m_recording.columnAxisBottom = Geometry::fullHeight(doc.settings.zoom, doc.maxMetres);
    m_recording.labels = vectorLabels(doc, doc.settings, view.scale, renderer.options().category);
    m_recording.timeLabels = renderer.options().timeLabels;
    SheetPainter::paint(painter, m_layout, m_recording);
}
