#pragma once

#include "LabelOutline.h"

#include "model/Records.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFont>
#include <QFontMetrics>
#include <QHash>

#include <array>
#include <cstdint>

class Document;
class ProgressSink;

// The fonts of the train labels: the "M" and "V" fonts of the settings,
// chosen by the label's category, in the diagram font's style (bold when the
// zoom level is above 2). The width of each shown text is measured once and
// kept, and so is the size of its upright text in the image's font: the
// renderer keeps one of these from rebuild to rebuild while the settings
// give the same fonts.
class TrainLabelFonts
{
public:
    explicit TrainLabelFonts(const DocumentSettings &settings);

    // Whether these are the fonts the settings give.
    bool sameFonts(const DocumentSettings &settings) const;

    const QFont &font(QByteArrayView labelText) const;
    const QFontMetrics &metrics(QByteArrayView labelText) const;
    // The name, size and style the label's font is made from.
    QByteArray fontName(QByteArrayView labelText) const;
    int32_t fontSize(QByteArrayView labelText) const;
    uint8_t fontStyle() const { return m_style; }

    // Width and height of the shown text in the label's font.
    QSize textSize(QByteArrayView labelText, const QByteArray &shown);
    // The upright text of the label's image (labelTextFont).
    QSize imageTextSize(QByteArrayView labelText, const QByteArray &shown, bool smoothing);

private:
    bool large(QByteArrayView labelText) const;

    struct Measure
    {
        explicit Measure(const QFont &font);
        QSize size(const QByteArray &shown);
        QFontMetrics metrics;
        int height = 0;
        QHash<QByteArray, int> widths;
    };

    DocumentSettings m_settings; // the label fonts' part, as they were made
    uint8_t m_style = 0;
    QFont m_small;
    QFont m_large;
    // Label font, then the image's text font without and with smoothing,
    // for the small font and then the large one.
    std::array<Measure, 6> m_measures;
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
TrainLabelPlace placeTrainLabel(const TrainLabel &label, TrainLabelFonts &fonts, const DocumentSettings &settings,
                                double scale, int32_t maxMetres, bool showCategory);

// The train-label step of a rebuild. selector: 0 every label, -1 none, n
// only the n-th (1-based from the head of the list). Each processed label is
// placed (its x, y), given a new image when it has none (drawn or owed) or
// the document's images are stale, and outlined: with selector 0 a new
// outline goes to the head of outlines, otherwise the outline with the
// label's number is reused. A new image is only ordered: its colour and size
// are set at once, and it is drawn (DrawOwedLabelImage) when the label is
// first shown, or at once when drawImages is set.
// labelImagesStale is read, not cleared: the renderer clears it when the
// rebuild is done.
// Shows the step in the progress window, advancing it every 5 labels.
// smoothing and showCategory are the tool panel's "Vyhlazení" and "Zobr.
// druh vlaku".
void PlaceTrainLabels(Document &doc, double scale, int32_t selector, bool smoothing, bool showCategory,
                      LabelOutlineList &outlines, ProgressSink &progress, bool drawImages = true);
// The same with fonts (and their measured texts) kept by the caller.
void PlaceTrainLabels(Document &doc, TrainLabelFonts &fonts, double scale, int32_t selector, bool smoothing,
                      bool showCategory, LabelOutlineList &outlines, ProgressSink &progress, bool drawImages);
