#include "LabelSteps.h"

#include "editing/LabelGeneration.h"
#include "model/Document.h"
#include "render/DiagramView.h"
#include "render/ProgressSink.h"

namespace {

// The scale the editor has right after opening: the document's zoom and
// axis ratio.
double openingScale(const Document &doc)
{
    DiagramView view;
    view.updateScale(doc.settings);
    return view.scale;
}

} // namespace

LabelSteps LabelSteps::standard()
{
    return LabelSteps{
        [](Document &doc) { MakeTrainLabels(doc, openingScale(doc)); },
        [](Document &doc) {
            NullProgress progress;
            MakeTimeLabels(doc, openingScale(doc), progress);
        },
    };
}
