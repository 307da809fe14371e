#pragma once

#include "editing/EditHistory.h"
#include "io/FileStamp.h"
#include "io/SettingsFile.h"
#include "model/Document.h"

#include <QString>

class Prompter;

// What the editor's commands work on: the one document with its undo
// history and modified state, the settings file, the way to ask the user,
// and the name the save dialog holds.
struct Session
{
    Session(Prompter &prompter, SettingsFile settingsFile) : prompter(prompter), settingsFile(std::move(settingsFile))
    {
    }

    Document document;
    EditHistory history{document};
    Prompter &prompter;
    SettingsFile settingsFile;
    // The save dialog's current file name: where Save writes without asking.
    QString fileName;
    // That file as it was when opened or last saved here (invalid: not
    // known); Save asks before overwriting a file that no longer matches.
    FileStamp fileStamp;
};
