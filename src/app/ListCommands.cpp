#include "ListCommands.h"

#include "dialogs/Prompter.h"
#include "dialogs/StationListDialog.h"
#include "dialogs/TrainListDialog.h"

#include "editing/Diagram.h"

#include <stdexcept>

namespace ListCommands {

void stationList(Diagram &diagram, Prompter &prompter, StationListDialog &dialog)
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
    diagram.contentChanged(Diagram::TrainLabels::Keep, false);
}

void trainList(Diagram &diagram, Prompter &prompter, TrainListDialog &dialog)
{
    if (diagram.document().noDocument) {
        prompter.information(noStationsMessage);
        return;
    }
    dialog.fill();
    dialog.exec();
    afterTrainList(diagram, prompter, dialog.editor().trainCount());
}

void afterTrainList(Diagram &diagram, Prompter &prompter, int trainCount)
{
    Document &doc = diagram.document();
    doc.trainCount = trainCount;
    Diagram::TrainLabels labels = Diagram::TrainLabels::Keep;
    if (prompter.askYesNo(newTrainLabelsQuestion))
        labels = Diagram::TrainLabels::ForNewTrains;
    else if (prompter.askYesNo(allTrainLabelsQuestion))
        labels = Diagram::TrainLabels::AllAnew;
    diagram.contentChanged(labels);
}

} // namespace ListCommands
