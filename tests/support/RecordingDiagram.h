#pragma once

#include "editing/Diagram.h"
#include "render/HeadlessWindow.h"

#include <QStringList>

#include <functional>

// A diagram on a window without widgets that notes in `calls` what the
// commands ask of it: the label makers ("train labels", "time labels", "new
// labels") and each picture ("render" for a rebuild, "paint" for a
// paint-only one, "replay" otherwise). The label makers only note; the
// renders draw.
class RecordingDiagram
{
public:
    explicit RecordingDiagram(Document &doc, QSize paintBox = QSize(800, 500))
        : m_window(*this, paintBox),
          m_diagram(doc, m_window,
                    LabelMakers([this](Document &, double) { calls << QStringLiteral("train labels"); },
                                [this](Document &, double, ProgressSink &) {
                                    calls << QStringLiteral("time labels");
                                    if (atTimeLabels)
                                        atTimeLabels();
                                },
                                [this](Document &, double) { calls << QStringLiteral("new labels"); }))
    {
    }

    QStringList calls;
    std::function<void()> atTimeLabels;
    std::function<void()> atRender;

    Diagram &diagram() { return m_diagram; }
    HeadlessWindow &window() { return m_window; }

private:
    class Window : public HeadlessWindow
    {
    public:
        Window(RecordingDiagram &owner, QSize paintBox) : HeadlessWindow(paintBox), m_owner(owner) {}
        void surfaceChanged() override
        {
            HeadlessWindow::surfaceChanged();
            const RenderRequest &r = m_owner.m_diagram.lastRequest();
            m_owner.calls << (r.rebuild     ? QStringLiteral("render")
                              : r.paintOnly ? QStringLiteral("paint")
                                            : QStringLiteral("replay"));
            if (m_owner.atRender)
                m_owner.atRender();
        }

    private:
        RecordingDiagram &m_owner;
    };

    Window m_window;
    Diagram m_diagram;
};
