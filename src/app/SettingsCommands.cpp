#include "SettingsCommands.h"

#include "dialogs/SettingsDialog.h"

#include "editing/Diagram.h"
#include "io/FileMessages.h"
#include "io/SettingsFile.h"
#include "model/Cp1250.h"
#include "model/Document.h"
#include "model/Tracks.h"

namespace {

// Takes a font that differs into the document's name and size.
bool takeFont(const Prompter::Font &chosen, QByteArray &name, int32_t &size)
{
    const QByteArray chosenName = cp1250::fromUnicode(chosen.name);
    if (chosenName == name && chosen.size == size)
        return false;
    name = chosenName;
    size = chosen.size;
    return true;
}

} // namespace

namespace SettingsCommands {

Outcome apply(Diagram &diagram, SettingsFile &file, const SettingsChoice &choice)
{
    Document &doc = diagram.document();
    DocumentSettings &s = doc.settings;
    Outcome outcome;
    auto written = [&outcome](const SafeFile::Result &result) {
        if (!result && !outcome.writeFailed) {
            outcome.writeFailed = true;
            outcome.writeCause = result.cause;
        }
    };
    // What changed decides what the diagram does again.
    bool timeFont = false, trainFont = false, drawing = false;
    if (takeFont(choice.timeFont, s.timeFontName, s.timeFontSize)) {
        timeFont = true;
        written(file.writeTimeFont(s.timeFontName, s.timeFontSize));
    }
    if (takeFont(choice.smallTrainFont, s.trainFontSmallName, s.trainFontSmallSize)) {
        trainFont = true;
        written(file.writeSmallTrainFont(s.trainFontSmallName, s.trainFontSmallSize));
    }
    if (takeFont(choice.largeTrainFont, s.trainFontLargeName, s.trainFontLargeSize)) {
        trainFont = true;
        written(file.writeLargeTrainFont(s.trainFontLargeName, s.trainFontLargeSize));
    }

    const struct
    {
        int chosen;
        uint8_t &current;
        SafeFile::Result (SettingsFile::*write)(uint8_t);
    } widths[] = {{choice.penThin, s.penThin, &SettingsFile::writePenThin},
                  {choice.penMedium, s.penMedium, &SettingsFile::writePenMedium},
                  {choice.penThick, s.penThick, &SettingsFile::writePenThick}};
    for (const auto &w : widths) {
        if (w.chosen == w.current)
            continue;
        w.current = static_cast<uint8_t>(w.chosen);
        written((file.*w.write)(w.current));
        drawing = true;
    }

    if (choice.saveLabelImages != (s.saveLabelImages != 0)) {
        s.saveLabelImages = choice.saveLabelImages ? 1 : 0;
        written(file.writeSaveLabelImages(choice.saveLabelImages));
    }

    LineTracks tracks = doc.lineTracks;
    tracks.mainTracks = static_cast<uint8_t>(choice.mainTracks);
    tracks.minHeadway = choice.minHeadway;
    if (tracks != doc.lineTracks && Tracks::validLine(tracks)) {
        doc.lineTracks = tracks;
        drawing = true;
    }

    outcome.rendered = diagram.settingsChanged(timeFont, trainFont, drawing);
    return outcome;
}

void settingsCommand(Diagram &diagram, SettingsFile &file, Prompter &prompter, SettingsDialog &dialog)
{
    dialog.fill(SettingsChoice::of(diagram.document().settings, diagram.document().lineTracks));
    dialog.exec();
    if (!dialog.ok())
        return;
    const Outcome outcome = apply(diagram, file, dialog.choice());
    if (outcome.writeFailed)
        prompter.error(FileMessages::naming(SettingsFile::writeErrorMessage, file.path(), outcome.writeCause));
}

} // namespace SettingsCommands
