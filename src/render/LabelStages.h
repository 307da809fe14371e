#pragma once

#include "model/Document.h"

#include <QFont>
#include <QImage>
#include <QPoint>

#include <cstdint>
#include <deque>

struct DiagramView;

// The rotated box of a placed train label, through which the mouse picks
// labels: the unrotated text box, the label's 1-based number in the
// train-label list, its angle and the four corners of the rotated box.
struct LabelOutline
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t number = 0;
    double angle = 0.0;
    QPoint p1, p2, p3, p4;
};

// The list of outlines the renderer owns, newest first.
using LabelOutlines = std::deque<LabelOutline>;

// What the train-label step of a rebuild hands to the label code for one
// label: the document and view, the diagram bitmap whose font measures the
// labels (it starts as the diagram font), the tool panel's "Vyhlazení" and
// "Zobr. druh vlaku", the label rebuild selector and the outline list.
struct TrainLabelStep
{
    Document &document;
    const DiagramView &view;
    QImage &diagramBitmap;
    QFont diagramFont;
    bool smoothing = false;
    bool showCategory = true;
    int32_t selector = 0;
    LabelOutlines &outlines;
};

// The label drawing the renderer runs at its two places: placing, imaging
// and outlining each selected train label during a rebuild, and composing
// the cached label images onto the diagram bitmap as the last step of every
// replay. The renderer chooses the labels (the selector), reports progress
// and keeps the flags; an implementation does the work for one label.
class LabelStages
{
public:
    virtual ~LabelStages() = default;

    // Position, image (when the label has none or labelImagesStale is set)
    // and outline of the label with 1-based number `number`.
    virtual void placeTrainLabel(TrainLabelStep &step, TrainLabel &label, int32_t number) = 0;

    // The cached images of the labels that meet the viewport, onto the
    // bitmap whose (0, 0) is diagram (vx0, vy0).
    virtual void composeLabelImages(const Document &doc, QImage &bitmap, int32_t vx0, int32_t vy0, int32_t vx1,
                                    int32_t vy1) = 0;
};
