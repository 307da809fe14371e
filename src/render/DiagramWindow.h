#pragma once

#include "DiagramView.h"

#include <QSize>
#include <QString>
#include <Qt>

class ProgressSink;

// The main window as the renderer and the view commands see it: sizes, the
// two scroll bars, the three check boxes of the tool panel (the view
// commands read and set them; the renderer has their state in its options),
// whether there is a picture, the scale label and the progress window. The
// editor's TForm1 implements it with its widgets; tests and vlakorys-cli use
// HeadlessWindow, so the whole drawing runs with no window at all.
//
// Scroll bars behave as Qt's do: a value is held to 0..maximum, and a smaller
// maximum pulls the value down with it.
class DiagramWindow
{
public:
    enum class CheckBox {
        TimeLabels, // CheckBox1 "Časové popisky"
        Smoothing,  // CheckBox2 "Vyhlazení"
        Category,   // CheckBox3 "Zobr. druh vlaku"
    };

    virtual ~DiagramWindow() = default;

    // The main window's client area (the tool panel included): the size of
    // the off-screen DiagramBitmap.
    virtual QSize clientSize() const = 0;
    // PaintBox1, the diagram surface.
    virtual QSize paintBoxSize() const = 0;
    // The renderer's surface holds a new picture: show it (outside a paint).
    virtual void surfaceChanged() = 0;

    // Qt::Horizontal is ScrollBar1, Qt::Vertical ScrollBar2.
    virtual int scrollValue(Qt::Orientation bar) const = 0;
    virtual void setScrollValue(Qt::Orientation bar, int value) = 0;
    virtual int scrollMaximum(Qt::Orientation bar) const = 0;
    virtual void setScrollMaximum(Qt::Orientation bar, int maximum) = 0;
    virtual bool scrollBarVisible(Qt::Orientation bar) const = 0;
    virtual void setScrollBarVisible(Qt::Orientation bar, bool visible) = 0;

    virtual bool isChecked(CheckBox box) const = 0;
    // Sets a check box as the program does; its click operation runs only
    // when the render-in-progress flag is clear.
    virtual void setChecked(CheckBox box, bool checked) = 0;

    // After each render (Diagram): whether it drew a document, a picture to
    // print and export ("Tisk...", "Exportovat...", "Tisk do bitmapy..."),
    // or the empty axis.
    virtual void pictureExists(bool exists) = 0;
    virtual void setZoomText(const QString &text) = 0;
    virtual ProgressSink &progress() = 0;
};

// Moving a scroll bar from the program: the programmatic scroll flag is up
// only while the bar is set, so the bar's change handler ignores exactly
// this change and never a later one by the user.
class ProgrammaticScroll
{
public:
    ProgrammaticScroll(DiagramWindow &window, DiagramView &view) : m_window(window), m_view(view) {}

    void setValue(Qt::Orientation bar, int value)
    {
        Raise raise(m_view);
        m_window.setScrollValue(bar, value);
    }
    void setMaximum(Qt::Orientation bar, int maximum)
    {
        Raise raise(m_view);
        if (m_window.scrollMaximum(bar) != maximum)
            m_window.setScrollMaximum(bar, maximum);
    }
    void setVisible(Qt::Orientation bar, bool visible)
    {
        Raise raise(m_view);
        if (m_window.scrollBarVisible(bar) != visible)
            m_window.setScrollBarVisible(bar, visible);
    }

private:
    struct Raise
    {
        explicit Raise(DiagramView &view) : m_view(view), m_was(view.programmaticScroll)
        {
            m_view.programmaticScroll = true;
        }
        ~Raise() { m_view.programmaticScroll = m_was; }
        DiagramView &m_view;
        bool m_was;
    };

    DiagramWindow &m_window;
    DiagramView &m_view;
};
