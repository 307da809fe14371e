#pragma once

class QWidget;

// Where the program's dialogs appear: centred on the screen when they are
// created, and back on the screen whenever they are shown again.
namespace DialogPlacement {

// Centres the window on its screen.
void centre(QWidget *window);

// A window whose right edge lies beyond the screen's width is centred
// horizontally, one whose bottom edge lies beyond its height vertically; a
// negative left or top becomes 0.
void keepOnScreen(QWidget *window);

} // namespace DialogPlacement
