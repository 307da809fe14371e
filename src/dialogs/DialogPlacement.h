#pragma once

class QWidget;

// Where the program's dialogs appear: at their place on the screen when they
// are created (most centred), and back on the screen whenever they are shown
// again.
namespace DialogPlacement {

// A place on the screen as the share of the free room left of and above
// the window: across/of and down/of.
struct Spot
{
    int across = 1;
    int down = 1;
    int of = 2;
};
inline constexpr Spot middle{1, 1, 2};

// Moves the window to its spot on its screen.
void place(QWidget *window, Spot spot = middle);
inline void centre(QWidget *window)
{
    place(window, middle);
}

// A window whose right edge lies beyond the screen's width goes to its
// spot horizontally, one whose bottom edge lies beyond its height
// vertically; a negative left or top becomes 0.
void keepOnScreen(QWidget *window, Spot spot = middle);

} // namespace DialogPlacement
