#include "Diagram.h"

#include "render/DiagramWindow.h"

#include <QTimer>

Diagram::Diagram(Document &document, DiagramWindow &window, LabelSteps labels)
    : m_doc(document), m_window(window), m_labels(std::move(labels)), m_renderer(document, m_view), m_commands(*this)
{
}

void Diagram::render(const RenderRequest &request)
{
    m_lastRequest = request;
    m_renderer.draw(m_window, request);
    takeUpResize();
}

template <typename Step> void Diagram::withRendersHeld(Step step)
{
    {
        RenderGuard guard(m_renderer);
        step();
    }
    takeUpResize();
}

void Diagram::makeTimeLabels()
{
    withRendersHeld([this] { m_labels.makeTimeLabels(m_doc, m_view.scale, m_window.progress()); });
}

void Diagram::makeTrainLabels()
{
    withRendersHeld([this] { m_labels.makeTrainLabels(m_doc, m_view.scale); });
}

void Diagram::makeLabelsForNewTrains()
{
    withRendersHeld([this] { m_labels.makeLabelsForNewTrains(m_doc, m_view.scale); });
}

void Diagram::resized()
{
    if (m_renderer.renderInProgress) {
        m_resizePending = true;
        return;
    }
    m_resizePending = false;
    m_renderer.resizeDiagramBitmap(m_window.clientSize());
    m_commands.paint();
}

void Diagram::takeUpResize()
{
    if (m_resizePending && !m_renderer.renderInProgress)
        QTimer::singleShot(0, &m_later, [this] {
            if (m_resizePending)
                resized();
        });
}

void Diagram::documentReplaced()
{
    m_renderer.dragLabelNumber = -1;
}
