#pragma once

#include "DiagramEditView.h"

#include <QPoint>

// Dragging the diagram with the right button. The pointer's travel since the
// last step is turned into whole scroll units (5 pixels across, 2 down);
// smaller moves accumulate until they make one, so the picture follows the
// pointer. Every move while panning sets both scroll bars and renders.
class Panning
{
public:
    explicit Panning(const DiagramContext &context) : m_c(context) {}

    void start(QPoint pos);
    void stop() { m_active = false; }
    bool active() const { return m_active; }
    // A pointer move; nothing unless panning.
    void move(QPoint pos);

private:
    DiagramContext m_c;
    bool m_active = false;
    QPoint m_last;
};
