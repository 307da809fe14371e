#pragma once

#include <QRect>
#include <QString>

// What the mouse code needs of the diagram view besides the diagram and its
// window: a way to show a changed part of the surface between renders (the
// dotted outline of a dragged label) and the delete question. The editor's
// DiagramScreen implements it with PaintBox1 and the session's Prompter;
// tests with a script.
class DiagramEditView
{
public:
    virtual ~DiagramEditView() = default;

    // Part of the renderer's surface changed outside a render: show it.
    virtual void surfaceAreaChanged(const QRect &area) = 0;
    // A question with Yes and No; true for Yes only. A box closed without
    // either answer gives false.
    virtual bool askYesNo(const QString &text) = 0;
};
