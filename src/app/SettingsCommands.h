#pragma once

#include "dialogs/SettingsChoice.h"

#include <QString>

class Diagram;
class SettingsDialog;
class SettingsFile;

// The menu command "Nastavení" (Ctrl+Shift+N).
namespace SettingsCommands {

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
