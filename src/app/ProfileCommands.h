#pragma once

class Document;
class Prompter;
class ProfileDialog;

// The command "&Jízdní doby" of the main window: refused on a line of fewer
// than two stations; otherwise the travel-time editor on direction 1,
// profile 1, and on Cancel the profile table as it was. The diagram does
// not change, so nothing is drawn.
namespace ProfileCommands {

void travelTimes(Document &doc, Prompter &prompter, ProfileDialog &dialog);

} // namespace ProfileCommands
