#include "FileCommands.h"

#include "import/ImportSession.h"

#include "Session.h"
#include "WaitCursor.h"

#include "dialogs/Prompter.h"
#include "editing/Diagram.h"
#include "editing/DocumentOpen.h"
#include "io/DocumentFile.h"
#include "io/DocumentSnapshot.h"
#include "io/FileMessages.h"
#include "import/TextImport.h"
#include "io/WholeFile.h"
#include "render/LabelImage.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

namespace FileCommands {

const QString documentFilter = QStringLiteral("Soubory s vlakorysem (*.vrs)|*.vrs|Všechny soubory (*.*)|*.*");
const QString documentSuffix = QStringLiteral("vrs");
const QString timetableFilter = QStringLiteral("Textové soubory (*.txt)|*.txt|Všechny soubory (*.*)|*.*");
const QString timetableSuffix = QStringLiteral("txt");

namespace {

// A range or conversion error from the steps after reading (label
// generation meets a row that names no station) ends the command with the
// error's own message, leaving the document as far as it got.
template <typename Steps> bool guarded(Session &session, Steps steps)
{
    try {
        return steps();
    } catch (const std::exception &e) {
        session.prompter.error(QString::fromUtf8(e.what()));
        return false;
    }
}

bool openFileSteps(Session &session, Diagram &diagram, DocumentViews &views, const QString &path)
{
    Document &doc = session.document;
    WaitCursor cursor;
    // Taken before reading: a file written while it is read counts as
    // changed by the next save.
    const FileStamp stamp = FileStamp::of(path);
    const DocumentFile::LoadOutcome outcome = DocumentOpen::read(doc, path);
    if (outcome.read.cleared)
        views.documentReplaced();
    if (outcome.read.settingsRead)
        views.showDocumentSettings();
    if (outcome.status != DocumentFile::Status::Ok) {
        // A read that failed after clearing leaves a document no step of
        // the history belongs to.
        if (outcome.read.cleared)
            session.history.reset();
        cursor.restore();
        // A file too large, or memory that ran out, is said with its cause.
        const QString message = DocumentFile::message(outcome.status);
        session.prompter.error(outcome.status == DocumentFile::Status::ReadError && !outcome.cause.isEmpty()
                                   ? FileMessages::naming(message, path, outcome.cause)
                                   : message);
        diagram.contentChanged(Diagram::TrainLabels::Keep, false);
        return false;
    }
    session.history.reset();
    cursor.restore();
    // Save writes back to this file without asking; that holds for the
    // stations-only files of 0.1 too, so Save never overwrites the file
    // opened before them.
    session.fileName = QFileInfo(path).absoluteFilePath();
    session.fileStamp = stamp;

    diagram.documentOpened();
    // What the file held in part (positions to the metre it had damaged) is
    // told once the document it did give is on the screen.
    if (!outcome.read.warning.isEmpty())
        session.prompter.information(outcome.read.warning);
    return true;
}

// The file the document came from is there, and is not what was read or
// last written here. Another file (Save as elsewhere) is the save dialog's
// business; a file gone since is written anew without a question.
bool changedByAnother(const Session &session, const QString &target)
{
    if (!session.fileStamp.isValid() || !FileStamp::sameFile(target, session.fileName))
        return false;
    const FileStamp now = FileStamp::of(target);
    return now.isValid() && now != session.fileStamp;
}

bool saveSteps(Session &session, bool saveAs)
{
    Document &doc = session.document;
    if (doc.noDocument)
        return false;
    // The document takes the chosen name only once it is written there: a
    // Save as that fails leaves the next Save writing where it did before.
    QString target = session.fileName;
    if (saveAs || doc.untitled) {
        Prompter::FileDialog dialog;
        dialog.filter = documentFilter;
        dialog.defaultSuffix = documentSuffix;
        dialog.initialFileName = session.fileName;
        dialog.promptOverwrite = true;
        const std::optional<QString> chosen = session.prompter.saveFileName(dialog);
        if (!chosen)
            return false;
        target = *chosen;
    }
    if (changedByAnother(session, target)
        && !session.prompter.askYesNo(changedByAnotherQuestion.arg(QDir::toNativeSeparators(target))))
        return false;
    WaitCursor cursor;
    // The renderer draws a label's image when the label is first shown; a
    // file that keeps the images must hold every one, so the rest are drawn
    // now. The writer only writes what the labels hold.
    if (doc.settings.saveLabelImages == 1)
        DrawOwedLabelImages(doc.trainLabels);
    const DocumentFile::SaveOutcome saved = DocumentFile::save(doc, target);
    cursor.restore();
    if (saved.status != DocumentFile::Status::Ok) {
        // The document stays modified, and so its recovery copy stays too.
        session.prompter.error(FileMessages::naming(DocumentFile::message(saved.status), target, saved.cause));
        return false;
    }
    session.fileName = target;
    session.fileStamp = FileStamp::of(target);
    doc.untitled = false;
    session.history.markSaved();
    return true;
}

bool importFileSteps(Session &session, Diagram &diagram, const QString &path)
{
    Document &doc = session.document;
    std::vector<QByteArray> lines;
    const WholeFile::Read read = TextImport::readFile(path, doc, lines);
    if (read.status == WholeFile::Status::CannotOpen) {
        session.prompter.error(FileMessages::cannotOpenText);
        return false;
    }
    if (read.status != WholeFile::Status::Ok) {
        session.prompter.error(FileMessages::naming(FileMessages::cannotRead, path, read.cause));
        return false;
    }
    const TextImport::Result result = TextImport::run(doc, lines);
    if (!result.ok) {
        // The trains before the bad one are in; labels are not made again.
        diagram.changedUndrawn();
        session.prompter.error(result.error);
        return false;
    }
    diagram.contentChanged(Diagram::TrainLabels::AllAnew);
    return true;
}

} // namespace

void open(Session &session, Diagram &diagram, DocumentViews &views)
{
    Prompter::FileDialog dialog;
    dialog.filter = documentFilter;
    dialog.defaultSuffix = documentSuffix;
    dialog.initialFileName = session.fileName;
    const std::optional<QString> chosen = session.prompter.openFileName(dialog);
    if (chosen)
        openFile(session, diagram, views, *chosen);
}

bool openFile(Session &session, Diagram &diagram, DocumentViews &views, const QString &path)
{
    return guarded(session, [&] { return openFileSteps(session, diagram, views, path); });
}

bool save(Session &session, bool saveAs)
{
    return guarded(session, [&] { return saveSteps(session, saveAs); });
}

void importTimetable(Session &session, Diagram &diagram)
{
    Prompter::FileDialog dialog;
    dialog.filter = timetableFilter;
    dialog.defaultSuffix = timetableSuffix;
    const std::optional<QString> chosen = session.prompter.openFileName(dialog);
    if (chosen)
        importFile(session, diagram, *chosen);
}

bool importFile(Session &session, Diagram &diagram, const QString &path)
{
    return guarded(session, [&] { return importFileSteps(session, diagram, path); });
}

bool importRealTimetable(Session &session, Diagram &diagram, DocumentViews &views, const ImportChoice &choice)
{
    return guarded(session, [&] {
        Document &doc = session.document;
        WaitCursor cursor;
        const RealTimetableImport::Result result = choice.apply(doc);
        if (!result.ok()) {
            cursor.restore();
            session.prompter.error(result.text());
            return false;
        }
        // A new line: every station is new, so nothing picked or laid on the
        // old ones stays.
        if (choice.newLine)
            views.documentReplaced();
        diagram.contentChanged(Diagram::TrainLabels::AllAnew);
        cursor.restore();
        session.prompter.information(result.text());
        return true;
    });
}

QString documentName(const Session &session)
{
    if (session.document.untitled || session.fileName.isEmpty())
        return untitledName;
    return QFileInfo(session.fileName).fileName();
}

bool hasUnsavedChanges(const Session &session)
{
    return session.history.isModified() && !session.document.noDocument;
}

bool settleUnsavedChanges(Session &session)
{
    if (!hasUnsavedChanges(session))
        return true;
    switch (session.prompter.askSaveChanges(saveChangesQuestion.arg(documentName(session)))) {
    case Prompter::SaveChoice::Save:
        return save(session, false);
    case Prompter::SaveChoice::Discard:
        return true;
    case Prompter::SaveChoice::Cancel:
        break;
    }
    return false;
}

bool openRecovered(Session &session, Diagram &diagram, DocumentViews &views, const DocumentSnapshot &snapshot,
                   const QString &originalPath, const FileStamp &stamp)
{
    return guarded(session, [&] {
        Document &doc = session.document;
        if (!snapshot.restore(doc, DocumentSnapshot::View::Take))
            return false;
        views.documentReplaced();
        views.showDocumentSettings();
        session.fileName = originalPath;
        session.fileStamp = stamp;
        doc.untitled = originalPath.isEmpty();
        session.history.reset(true);
        diagram.contentChanged();
        return true;
    });
}

} // namespace FileCommands
