#pragma once

#include <QPoint>
#include <Qt>

#include <optional>

class Diagram;

// The view commands of the main window: zoom in and out (SpeedButton7 and
// SpeedButton8, the "+" and "-" keys), "Akt.", the three check boxes, the
// scroll bars, keyboard scrolling and paint. Each ends by asking the
// diagram to render; the window only forwards its events here.
class ViewCommands
{
public:
    explicit ViewCommands(Diagram &diagram);

    // A zoom step rebuilds the drawing at once, or (Later) moves the view
    // and its bars and leaves the rebuild to settleZoom(): steps that come
    // one after another (the "+" key held, the wheel turned) then end in
    // one rebuild, at the last step's zoom. Any other render settles first.
    enum class Rebuild { Now, Later };
    void zoomIn(Rebuild rebuild = Rebuild::Now);
    void zoomOut(Rebuild rebuild = Rebuild::Now);
    // A step of the wheel: the point of the diagram under the pointer (a
    // point of the paint box) stays under it as far as the bars allow.
    void zoomAt(QPoint pointer, bool in, Rebuild rebuild);
    // The rebuild owed by steps taken Later; false when none is owed.
    bool settleZoom();
    bool zoomOwed() const { return m_zoomOwed; }
    void refresh(); // "Akt.": the only way a changed axis ratio takes effect

    // The check boxes' click operations: each takes the box's state into the
    // document's settings and redraws, except while a render is in progress
    // (or while the program sets the controls).
    void toggleTimeLabels();
    void toggleSmoothing();
    void toggleCategory();

    // A scroll bar's change: the user's move is remembered and drawn; a move
    // made by the program is not drawn again.
    void scrollChanged(Qt::Orientation bar, int position);

    // Arrow keys (with Shift 50 units, else 5) and Esc. Returns whether the
    // key was one of them.
    bool keyScroll(int key, Qt::KeyboardModifiers modifiers);

    // Paint: the renderer copies its pictures without replaying them.
    void paint();

private:
    // Zooming in to 125 % checks "Časové popisky", zooming out to 100 %
    // unchecks it.
    void zoomStep(bool in, Rebuild rebuild, std::optional<QPoint> anchor);
    void zoomTo(int zoom, int switchAt, bool timeLabels, Rebuild rebuild, std::optional<QPoint> anchor);
    // Smoothing and the category change every label's image.
    void redrawLabelImages();

    Diagram &m_diagram;
    bool m_zoomOwed = false;
};
