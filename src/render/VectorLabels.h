#pragma once

#include "model/Records.h"

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <vector>

class Document;
class QPainter;

// The train labels as text for the painter back end: where the diagram
// places each label, its font and colour, and its angle. On the screen a
// label is a turned bitmap; on paper, in a PDF or an SVG it is real text
// turned by the painter, so a reader can select and find it.
struct VectorLabel
{
    QString text; // what the label shows (without the category when it is hidden)
    QFont font;
    int32_t colour = 0; // packed
    double angle = 0.0; // radians, negative rises to the right
    // The upright text box placed on the diagram (diagram coordinates): the
    // turned text stands in the box of the label's image, whose top-left
    // corner this is.
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int ascent = 0;

    // The box the turned text covers: the upright box turned about its
    // corner and moved so that it starts at (x, y).
    QRectF box() const;
    // Where the top-left corner of the upright text lands once turned.
    QPointF textOrigin() const;
};

// Every train label of the document, placed as a rebuild at this scale and
// zoom (settings.zoom) places it.
std::vector<VectorLabel> vectorLabels(const Document &doc, const DocumentSettings &settings, double scale,
                                      bool showCategory);

// Draws the label as turned text in its colour.
void drawVectorLabel(QPainter &painter, const VectorLabel &label);
