#pragma once

struct Session;

// Whole-document commands that need no window. The main window runs the
// steps around them (the station editor's grid, the render).
namespace DocumentCommands {

// New: clears trains, stations, legacy lists, train labels and profiles;
// kind records stay, to be matched by index again. The document becomes
// empty, untitled and unmodified, without undo steps, and the save dialog
// forgets its file name.
void newDocument(Session &session);

// Start-up: the settings file's values into the document settings.
void readStartupSettings(Session &session);

// Close: the zoom back into the settings file.
void writeCloseSettings(Session &session);

} // namespace DocumentCommands
