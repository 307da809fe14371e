#pragma once

#include <QString>

class Diagram;
class DocumentSnapshot;
struct FileStamp;
struct Session;
struct ImportChoice;

// What the editor around the diagram does when another document takes the
// place of the one shown (Open, a recovered copy, New). The main window
// implements it; tests record the calls.
class DocumentViews
{
public:
    virtual ~DocumentViews() = default;
    // Reading has cleared the document: whatever held on to the old one lets
    // go (the label drag its label, the insert tool its train).
    virtual void documentReplaced() = 0;
    // A 1.2 file's settings were read: SpinEdit1 and SpinEdit2 take ratioX
    // and ratioY, Label1 the scale text, CheckBox1..3 the three flags (with
    // the render-in-progress flag set, so their handlers do nothing), and
    // the view's scale is recomputed as ratioX * zoom / ratioY.
    virtual void showDocumentSettings() = 0;
};

// The file commands of the main window: Open, Save, Save as and Import.
// Every dialog and message goes through the session's Prompter; the
// hourglass cursor is shown while a file is read or written and is restored
// on every path, before any message. A document read or imported is drawn
// as the diagram draws a new document: Open makes the train labels when the
// file had none, Import makes them anew; both make the minute labels and
// ask for a full rebuild (also after a failed Open, to redraw the diagram).
namespace FileCommands {

extern const QString documentFilter;
extern const QString documentSuffix;
extern const QString timetableFilter;
extern const QString timetableSuffix;

// Open: the open dialog, then openFile.
void open(Session &session, Diagram &diagram, DocumentViews &views);

// Opens a named file with every step and message of Open; the editor calls
// it for a file named on its command line. True when the file was read.
bool openFile(Session &session, Diagram &diagram, DocumentViews &views, const QString &path);

// Save (saveAs false) and Save as (true). Nothing happens while there is no
// document. The file is written to a temporary file beside the target and
// replaces it only when everything was written, so a failed save leaves the
// previous file as it was. With saveLabelImages on, the label images the
// renderer has not drawn yet are drawn first, so the file holds every one.
// A saved document is unmodified. True when the document was saved.
// Writing over the document's own file when another program has changed it
// since it was opened or saved here asks first (changedByAnotherQuestion);
// No leaves the file and the document as they are.
bool save(Session &session, bool saveAs);

// Import: the text-file dialog, then importFile.
void importTimetable(Session &session, Diagram &diagram);

// Imports a named text timetable with every step and message of Import.
bool importFile(Session &session, Diagram &diagram, const QString &path);

// A day of real trains as the import dialog chose it: the trains into the
// document's stations, or the document made a new line of them; then the
// labels as after Import, the diagram drawn anew and what was done told
// (the trains, the input skipped, how the line was placed). The caller
// makes it one step of the history. False, with the document unchanged,
// when the import is refused.
bool importRealTimetable(Session &session, Diagram &diagram, DocumentViews &views, const ImportChoice &choice);

inline const QString untitledName = QStringLiteral("Bez názvu");
inline const QString saveChangesQuestion = QStringLiteral("Uložit změny v dokumentu „%1“?");
inline const QString changedByAnotherQuestion =
    QStringLiteral("Soubor „%1“ byl mezitím změněn jiným programem. Přepsat jej?");

// The document's name as the caption and the questions show it: its file's
// name, or "Bez názvu".
QString documentName(const Session &session);

// Whether the document holds changes no file has. A document that cannot
// be saved (noDocument) holds none.
bool hasUnsavedChanges(const Session &session);

// Before New, Open and closing: with unsaved changes, asks "Uložit změny v
// dokumentu ...?" with Uložit, Neukládat and Zrušit. Uložit saves (asking
// for a name when the document has none). True when the caller may go on:
// nothing to save, saved, or Neukládat; false after Zrušit or a save that
// was cancelled or failed.
bool settleUnsavedChanges(Session &session);

// A recovered copy of a document the editor lost (it was killed, or the
// session ended): opened as Open opens a file, its settings shown and its
// minute labels made (its train labels are its own), bound to the file it
// came from (none: untitled) as that file was when the copy was made, and
// modified. False, with the document as it was, when the copy cannot be
// read.
bool openRecovered(Session &session, Diagram &diagram, DocumentViews &views, const DocumentSnapshot &snapshot,
                   const QString &originalPath, const FileStamp &stamp);

} // namespace FileCommands
