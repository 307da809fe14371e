#include "ProfileCommands.h"

#include "dialogs/ProfileDialog.h"
#include "dialogs/Prompter.h"

namespace ProfileCommands {

void travelTimes(Document &doc, Prompter &prompter, ProfileDialog &dialog)
{
    if (doc.stations.size() < 2) {
        prompter.error(ProfileEditor::tooFewStationsMessage);
        return;
    }
    if (doc.stations.size() > static_cast<size_t>(ProfileEditor::maxStations))
        prompter.information(ProfileEditor::stationsBeyondMessage);
    dialog.fill();
    dialog.exec();
    if (!dialog.ok())
        dialog.editor().restore();
}

} // namespace ProfileCommands
