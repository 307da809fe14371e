#pragma once

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <deque>

// The rotated box of a placed train label, through which the mouse picks
// labels. The renderer keeps one per placed label, newest at the head.
struct LabelOutline
{
    // The unrotated text box (left, top, right, bottom) in diagram pixels.
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t number = 0; // 1-based position of the label in the train-label list
    double angle = 0.0;
    QPoint p1, p2, p3, p4; // corners of the rotated text box

    // Makes box and corners for a text box of w x h at (x, y). imageHeight
    // is the height of the label's cached image: a label rising to the right
    // (angle < 0) hangs its corners from the bottom of that image.
    static LabelOutline make(int32_t x, int32_t y, int32_t w, int32_t h, double angle, int32_t imageHeight,
                             int32_t number);
};

// head = front
using LabelOutlineList = std::deque<LabelOutline>;

// The outline with this number, or null.
LabelOutline *findOutline(LabelOutlineList &outlines, int32_t number);

// Keep the numbers in step with the train-label list between full rebuilds:
// a label put at the head moves every other label one place down; a removed
// label takes its outline with it and moves the labels behind it up.
void outlinesAfterLabelInsertedAtHead(LabelOutlineList &outlines);
void outlinesAfterLabelRemoved(LabelOutlineList &outlines, int32_t number);
