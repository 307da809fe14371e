#pragma once

#include <QPoint>
#include <Qt>

// One pointer event of the diagram view PaintBox1, as the widget reports it:
// the button that changed (none for a move), the buttons held after the
// event, the modifier keys, and the position in PaintBox1 pixels. The mouse
// code works on these alone, so it runs without a window.
struct MouseEvent
{
    Qt::MouseButton button = Qt::NoButton;
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers modifiers;
    QPoint pos;

    // The "shift" set of the program's mouse rules: Shift, Ctrl, Alt and the
    // held buttons. Other modifiers (Meta, keypad) are not part of it.
    enum Shift : unsigned {
        ShiftKey = 1u << 0,
        Ctrl = 1u << 1,
        Alt = 1u << 2,
        Left = 1u << 3,
        Right = 1u << 4,
        Middle = 1u << 5,
    };
    unsigned shift() const
    {
        unsigned s = 0;
        if (modifiers.testFlag(Qt::ShiftModifier))
            s |= ShiftKey;
        if (modifiers.testFlag(Qt::ControlModifier))
            s |= Ctrl;
        if (modifiers.testFlag(Qt::AltModifier))
            s |= Alt;
        if (buttons.testFlag(Qt::LeftButton))
            s |= Left;
        if (buttons.testFlag(Qt::RightButton))
            s |= Right;
        if (buttons.testFlag(Qt::MiddleButton))
            s |= Middle;
        return s;
    }
    bool shiftIsExactly(unsigned set) const { return shift() == set; }
};
