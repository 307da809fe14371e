#pragma once

#include "LabelOutline.h"

#include "model/Records.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFont>
#include <QFontMetrics>

#include <cstdint>

class Document;
class ProgressSink;

// The fonts of the train labels during one rebuild: the "M" and "V" fonts of
// the settings, chosen by the label's category, in the diagram font's style
// (bold when the zoom level is above 2).
class TrainLabelFonts
{
public:
    explicit TrainLabelFonts(const DocumentSettings &settings);

    const QFont &font(QByteArrayView labelText) const;
    const QFontMetrics &metrics(QByteArrayView labelText) const;

private:
    bool large(QByteArrayView labelText) const;

    QFont m_small;
    QFont m_large;
    QFontMetrics m_smallMetrics;
    QFontMetrics m_largeMetrics;
};

// Where a train label's text box goes on the diagram.
struct TrainLabelPlace
{
    QByteArray text; // what is shown: without the category when it is hidden
    int32_t x = 0;   // top-left of the text box, diagram coordinates
    int32_t y = 0;
    int32_t width = 0; // measured text box
    int32_t height = 0;
};

// A label with `visible` set is centred on its anchor; otherwise its text
// starts 4·z right of the anchor when ascending, or ends at it.
TrainLabelPlace placeTrainLabel(const TrainLabel &label, const TrainLabelFonts &fonts, const DocumentSettings &settings,
                                double scale, int32_t maxKm, bool showCategory);

// The train-label step of a rebuild. selector: 0 every label, -1 none, n
// only the n-th (1-based from the head of the list). Each processed label is
// placed (its x, y), imaged when it has no image or the document's images
// are stale, and outlined: with selector 0 a new outline goes to the head of
// outlines, otherwise the outline with the label's number is reused.
// labelImagesStale is read, not cleared: the renderer clears it when the
// rebuild is done.
// Shows the step in the progress window, advancing it every 5 labels.
// smoothing and showCategory are the tool panel's "Vyhlazení" and "Zobr.
// druh vlaku".
void PlaceTrainLabels(Document &doc, double scale, int32_t selector, bool smoothing, bool showCategory,
                      LabelOutlineList &outlines, ProgressSink &progress);
