#pragma once

#include "DiagramEditView.h"
#include "MouseEvent.h"

#include "render/LabelOutline.h"

#include <QImage>
#include <QPolygon>
#include <QRect>

#include <array>
#include <cstdint>

class Diagram;

// Moving, turning, copying and deleting a train label with the left button.
//
// A press on a label's rotated box arms the drag and draws the label's
// dotted outline over the view; every move puts back the pixels the outline
// covered, moves the outline with the pointer (or, with Shift and the left
// button alone held, turns it by one degree per pixel of vertical movement)
// and draws it again. The release puts the pixels back and acts on the drop:
// outside the diagram it asks "Odstranit popisek?"; otherwise the label goes
// where the outline's centre is, snapped to whole minutes, as a copy at the
// head of the list when Ctrl alone is held, turned to the shown angle when
// Shift alone is held. Then only that label is imaged and outlined again.
class LabelDrag
{
public:
    // An outline rectangle in view pixels, edges included.
    struct Edges
    {
        int32_t left = 0;
        int32_t top = 0;
        int32_t right = 0;
        int32_t bottom = 0;
        bool operator==(const Edges &) const = default;
    };

    // What a release did to the document.
    enum class Drop { None, Move, Turn, Copy, Delete };

    static constexpr double pi = 3.141592654;
    static constexpr double halfPi = 1.570796327;

    LabelDrag(Diagram &diagram, DiagramEditView &edit) : m_diagram(diagram), m_edit(edit) {}

    // A left press: arms the drag on the label under the pointer (the last
    // match of the outline list wins). Returns whether one was picked.
    bool press(const MouseEvent &e);
    void move(const MouseEvent &e);
    // A release in the view.
    void release(const MouseEvent &e);
    // A release outside the view: a drop far above it.
    void releaseOutside(const MouseEvent &e);

    bool armed() const { return m_armed; }
    // What the latest release did; None until a release changes something.
    Drop lastDrop() const { return m_lastDrop; }
    bool moved() const { return m_moved; }
    const Edges &outline() const { return m_outline; }
    double angle() const { return m_angle; }
    // The pixels the outline covers now (empty when none is drawn).
    QRect outlineArea() const { return m_saved.isNull() ? QRect() : m_savedAt; }

    // Whether a diagram point lies in an outline's rotated box; its edges
    // count as inside.
    static bool contains(const LabelOutline &outline, QPoint diagramPoint);
    // The closed dotted polyline drawn for an outline rectangle at an angle;
    // imageHeight is the label's image height (labels rising to the right
    // hang from it).
    static std::array<QPoint, 5> outlinePolyline(const Edges &outline, double angle, int32_t imageHeight);
    // The angle shown while turning: start + one degree per pixel, brought
    // back into -90..90 degrees, never exactly 0 or +-90.
    static double turnedAngle(double startAngle, int pixelsDown);

private:
    void drawOutline();
    void restoreBackground();
    void finish(const MouseEvent &e);
    void drop(const MouseEvent &e);
    void end();
    int32_t labelImageHeight() const;

    Diagram &m_diagram;
    DiagramEditView &m_edit;
    bool m_armed = false;
    bool m_moved = false;
    Drop m_lastDrop = Drop::None;
    int32_t m_number = 0; // the picked label, 1-based
    Edges m_outline;
    Edges m_origin;
    QPoint m_grab;
    int m_pressRow = 0;
    double m_startAngle = 0.0;
    double m_angle = 0.0;
    // The surface's pixels under the outline and where they came from.
    QImage m_saved;
    QRect m_savedAt;
};
