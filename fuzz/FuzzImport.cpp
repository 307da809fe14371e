// The text timetable import on any bytes, into a document that holds the
// stations of the example line (Liberec - Tanvald). Whatever the import
// leaves must save and open again; a complete import is followed by the
// label generation the command runs.
#include "FuzzLine.h"
#include "FuzzSupport.h"

#include "editing/LabelGeneration.h"
#include "import/TextImport.h"
#include "model/Document.h"
#include "model/Errors.h"
#include "render/DiagramView.h"
#include "render/ProgressSink.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Document doc;
    FuzzLine::fill(doc);
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const TextImport::Result result = TextImport::run(doc, TextImport::splitLines(text, doc));
    if (result.ok != result.error.isEmpty())
        FuzzSupport::fault("an import's outcome and its message disagree");
    if (result.trainsAdded != static_cast<int>(doc.trains.size()))
        FuzzSupport::fault("the import counted trains it did not add");
    // A block gives a train only with two rows or more, every row at a
    // station of the document.
    const auto known = [&](int32_t ref) { return ref >= 1 && ref <= static_cast<int32_t>(doc.stations.size()); };
    for (const Train &t : doc.trains) {
        if (t.rowCount() < 2)
            FuzzSupport::fault("the import added a train of fewer than two rows");
        for (int k = 0; k < t.rowCount(); ++k)
            if (!known(t.row(k).station))
                FuzzSupport::fault("the import added a row at no station of the document");
    }
    if (result.ok) {
        try {
            DiagramView view;
            view.updateScale(doc.settings);
            MakeTrainLabels(doc, view.scale);
            NullProgress progress;
            MakeTimeLabels(doc, view.scale, progress);
        } catch (const RangeError &) {
        } catch (const ConversionError &) {
        }
    }
    FuzzSupport::checkSaveReopens(doc);
    return 0;
}
