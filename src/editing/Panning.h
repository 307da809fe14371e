#pragma once

#include <QPoint>

class Diagram;

// Dragging the diagram with the right button. The pointer's travel since the
// last step is turned into whole scroll units (5 pixels across, 2 down);
// smaller moves accumulate until they make one, so the picture follows the
// pointer. Every move while panning sets both scroll bars and renders.
class Panning
{
public:
    explicit Panning(Diagram &diagram) : m_diagram(diagram) {}

    void start(QPoint pos);
    void stop() { m_active = false; }
    bool active() const { return m_active; }
    // A pointer move; nothing unless panning.
    void move(QPoint pos);

private:
    Diagram &m_diagram;
    bool m_active = false;
    QPoint m_last;
};
