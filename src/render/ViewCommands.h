#pragma once

#include "DiagramView.h"

#include <Qt>

#include <functional>

class DiagramWindow;
class Document;
class Renderer;

// The view commands of the main window: zoom in and out (SpeedButton7 and
// SpeedButton8, the "+" and "-" keys), "Akt.", the three check boxes, the
// scroll bars, keyboard scrolling, resize and paint. Each ends by asking the
// renderer to draw; the window only forwards its events here.
class ViewCommands
{
public:
    ViewCommands(Document &document, DiagramView &view, Renderer &renderer, DiagramWindow &window);

    // Label generation's MakeTimeLabels, run before a render that follows a
    // change of the scale; empty until label generation is wired in.
    std::function<void()> makeTimeLabels;

    void zoomIn();
    void zoomOut();
    void refresh(); // "Akt.": the only way a changed axis ratio takes effect

    // The check boxes' click operations; they do nothing while a render is
    // in progress (or while the program sets the controls).
    void toggleTimeLabels();
    void toggleSmoothing();
    void toggleCategory();

    // A scroll bar's change: the user's move is remembered and drawn; a move
    // made by the program is not drawn again.
    void scrollChanged(Qt::Orientation bar, int position);

    // Arrow keys (with Shift 50 units, else 5) and Esc. Returns whether the
    // key was one of them.
    bool keyScroll(int key, Qt::KeyboardModifiers modifiers);

    // Window resize: DiagramBitmap to the client size; no render.
    void resize();
    // Paint: the renderer copies its pictures without replaying them.
    void paint();
    void render();

private:
    // Zooming in to 125 % checks "Časové popisky", zooming out to 100 %
    // unchecks it.
    void zoomTo(int zoom, int switchAt, bool timeLabels);

    Document &m_doc;
    DiagramView &m_view;
    Renderer &m_renderer;
    DiagramWindow &m_window;
};
