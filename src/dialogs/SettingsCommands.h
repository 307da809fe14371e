#pragma once

#include "Prompter.h"

#include "model/Records.h"

#include <QString>

#include <cstdint>

class Diagram;
class Document;
class SettingsDialog;
class SettingsFile;

// What the settings dialog TForm9 holds: the three label fonts as the texts
// of its labels, the three line widths and the label-image check box; and
// the line's track settings, which belong to the document alone (saved with
// it, never to the settings file).
struct SettingsChoice
{
    Prompter::Font timeFont;       // minute labels
    Prompter::Font smallTrainFont; // train labels "M" (Os, Pn ...)
    Prompter::Font largeTrainFont; // train labels "V" (R, Sn, Nex ...)
    int penThin = 1;
    int penMedium = 2;
    int penThick = 3;
    bool saveLabelImages = false;
    int mainTracks = 1; // "Jednokolejná trať" 1, "Dvoukolejná trať" 2
    int minHeadway = 3; // minutes

    static SettingsChoice of(const DocumentSettings &settings, const LineTracks &tracks = {});
};

// The menu command "Nastavení" (Ctrl+Shift+N).
namespace SettingsCommands {

// Shown naming the file and the cause (FileMessages::naming).
inline const QString writeErrorMessage = QStringLiteral("Nastavení nelze zapsat do souboru.");

// Fills the dialog from the document's settings and shows it; on OK, apply.
// The settings file is written at once; a write that fails is reported once.
void settingsCommand(Diagram &diagram, SettingsFile &file, Prompter &prompter, SettingsDialog &dialog);

struct Outcome
{
    bool rendered = false;
    bool writeFailed = false;
    QString writeCause; // of the first write that failed
};

// Takes what differs from the document's settings, in this order: the
// minute-label font (its labels made again), the small and the large
// train-label font (every cached label image dropped, every label imaged
// again), the thin, medium and thick line width, and whether label images
// are stored in documents, then the line's main tracks and minimum headway
// (the document's own, not written to the settings file). Each other change
// is written to the settings file as it is taken. A font counts as changed
// when its name differs exactly (case included) or its size differs. The
// document's redrawNeeded is cleared first; the diagram is rebuilt when
// anything but the check box changed (the track settings move the conflict
// marks), keeping its minute-label texts unless their font changed and
// placing train labels again only for a new train-label font.
Outcome apply(Diagram &diagram, SettingsFile &file, const SettingsChoice &choice);

} // namespace SettingsCommands
