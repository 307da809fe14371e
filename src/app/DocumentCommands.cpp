#include "DocumentCommands.h"

#include "Session.h"

namespace DocumentCommands {

void newDocument(Session &session)
{
    Document &doc = session.document;
    doc.clearTrains();
    doc.clearStations();
    doc.clearLegacyLists();
    doc.clearTrainLabels();
    doc.clearProfiles();
    // The line settings start from their defaults, not the last line's.
    doc.lineTracks = {};
    doc.noDocument = true;
    session.fileName.clear();
    session.fileStamp = {};
    doc.untitled = true;
    session.history.reset();
}

void readStartupSettings(Session &session)
{
    session.settingsFile.readInto(session.document.settings);
}

void writeCloseSettings(Session &session)
{
    session.settingsFile.writeZoom(session.document.settings.zoom);
}

} // namespace DocumentCommands
