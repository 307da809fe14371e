#pragma once

#include <QString>

class DocumentSnapshot;
struct FileStamp;
struct Session;
struct RealImportChoice;

// The steps of Open and Import that belong to the main window, the label
// code and the renderer. The main window implements this; tests record the
// calls. In the order Open calls them:
//
//   documentCleared       reading has cleared the document: the label drag
//                         forgets its label (labelNumber -1)
//   showDocumentSettings  a 1.2 file's settings were read: SpinEdit1 and
//                         SpinEdit2 take ratioX and ratioY, Label1 the scale
//                         text, CheckBox1..3 the three flags (with the
//                         render-in-progress flag set, so their handlers do
//                         nothing), and the view's scale is recomputed as
//                         ratioX * zoom / ratioY
//   makeTrainLabels       MakeTrainLabels: all train labels discarded and
//                         made anew (Open: only when the file had none;
//                         Import: always)
//   makeTimeLabels        MakeTimeLabels
//   prepareFullRebuild    the renderer's keep-time-text flag cleared and its
//                         label rebuild selector set to 0 (Open only)
//   render                Render with the document's redrawNeeded set (also
//                         after a failed Open, to redraw the diagram)
class DocumentWindow
{
public:
    virtual ~DocumentWindow() = default;
    virtual void documentCleared() = 0;
    virtual void showDocumentSettings() = 0;
    virtual void makeTrainLabels() = 0;
    virtual void makeTimeLabels() = 0;
    virtual void prepareFullRebuild() = 0;
    virtual void render() = 0;
};

// The file commands of the main window: Open, Save, Save as and Import.
// Every dialog and message goes through the session's Prompter; the
// hourglass cursor is shown while a file is read or written and is restored
// on every path, before any message.
namespace FileCommands {

extern const QString documentFilter;
extern const QString documentSuffix;
extern const QString timetableFilter;
extern const QString timetableSuffix;

// Open: the open dialog, then openFile.
void open(Session &session, DocumentWindow &window);

// Opens a named file with every step and message of Open; the editor calls
// it for a file named on its command line. True when the file was read.
bool openFile(Session &session, DocumentWindow &window, const QString &path);

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
void importTimetable(Session &session, DocumentWindow &window);

// Imports a named text timetable with every step and message of Import.
bool importFile(Session &session, DocumentWindow &window, const QString &path);

// A day of real trains as the import dialog chose it: the trains into the
// document's stations, or the document made a new line of them; then the
// labels as after Import, the diagram drawn anew and what was done told
// (the trains, the input skipped, how the line was placed). The caller
// makes it one step of the history. False, with the document unchanged,
// when the import is refused.
bool importRealTimetable(Session &session, DocumentWindow &window, const RealImportChoice &choice);

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
bool openRecovered(Session &session, DocumentWindow &window, const DocumentSnapshot &snapshot,
                   const QString &originalPath, const FileStamp &stamp);

} // namespace FileCommands
