#include "ListCommands.h"

#include "Prompter.h"
#include "StationListDialog.h"
#include "TrainListDialog.h"

#include <stdexcept>

namespace {

void run(const std::function<void()> &action)
{
    if (action)
        action();
}

} // namespace

namespace ListCommands {

void stationList(Document &doc, Prompter &prompter, StationListDialog &dialog, const DiagramActions &actions)
{
    dialog.fill();
    dialog.exec();
    StationListEditor &editor = dialog.editor();
    if (dialog.cancelled()) {
        editor.restoreKinds();
        return;
    }
    try {
        if (editor.isEmptyInput()) {
            editor.storeEmpty();
        } else {
            const bool deleteTrains = prompter.askYesNo(deleteTrainsQuestion);
            editor.store(deleteTrains);
        }
    } catch (const std::runtime_error &e) {
        // The document keeps what was stored so far; the user hears why.
        prompter.error(QString::fromUtf8(e.what()));
    }
    doc.redrawNeeded = true;
    run(actions.render);
}

void trainList(Document &doc, Prompter &prompter, TrainListDialog &dialog, const DiagramActions &actions)
{
    if (doc.noDocument) {
        prompter.information(noStationsMessage);
        return;
    }
    dialog.fill();
    dialog.exec();
    afterTrainList(doc, prompter, dialog.editor().trainCount(), actions);
}

void afterTrainList(Document &doc, Prompter &prompter, int trainCount, const DiagramActions &actions)
{
    doc.trainCount = trainCount;
    if (prompter.askYesNo(newTrainLabelsQuestion)) {
        run(actions.makeLabelsForNewTrains);
    } else if (prompter.askYesNo(allTrainLabelsQuestion)) {
        run(actions.makeTrainLabels);
        doc.labelImagesStale = true;
    }
    run(actions.makeTimeLabels);
    doc.redrawNeeded = true;
    run(actions.render);
}

} // namespace ListCommands
