#include "LabelOutline.h"

#include "DiagramView.h"

#include <cmath>

LabelOutline LabelOutline::make(int32_t x, int32_t y, int32_t w, int32_t h, double angle, int32_t imageHeight,
                                int32_t number)
{
    using Geometry::round;
    LabelOutline o;
    o.left = x;
    o.top = y;
    o.right = x + w;
    o.bottom = y + h;
    o.number = number;
    o.angle = angle;
    if (angle >= 0) {
        o.p1 = QPoint(x, round(y + h * std::cos(angle)));
        o.p2 = QPoint(round(x + h * std::sin(angle)), y);
        o.p3 = QPoint(round(o.p2.x() + w * std::cos(angle)), round(o.p2.y() + w * std::sin(angle)));
    } else {
        const double b = -angle;
        o.p1 = QPoint(x, round(y + imageHeight - h * std::cos(b)));
        o.p2 = QPoint(round(x + h * std::sin(b)), y + imageHeight);
        o.p3 = QPoint(round(o.p2.x() + w * std::cos(b)), round(o.p2.y() - w * std::sin(b)));
    }
    o.p4 = o.p1 + (o.p3 - o.p2);
    return o;
}

LabelOutline *findOutline(LabelOutlineList &outlines, int32_t number)
{
    for (LabelOutline &o : outlines)
        if (o.number == number)
            return &o;
    return nullptr;
}

void outlinesAfterLabelInsertedAtHead(LabelOutlineList &outlines)
{
    for (LabelOutline &o : outlines)
        ++o.number;
}

void outlinesAfterLabelRemoved(LabelOutlineList &outlines, int32_t number)
{
    std::erase_if(outlines, [number](const LabelOutline &o) { return o.number == number; });
    for (LabelOutline &o : outlines)
        if (o.number > number)
            --o.number;
}
