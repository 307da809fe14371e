// New, Open, Save, Save as and Import as the user meets them: dialogs, messages,
// the hourglass, the steps handed to the window and the state each path
// leaves.
#include "app/FileCommands.h"
#include "app/DocumentCommands.h"

#include "../io/ByteBuilder.h"
#include "../io/FileBytes.h"

#include "FileSizeLimit.h"
#include "RecordingDiagram.h"
#include "SampleLine.h"
#include "ScriptedPrompter.h"
#include "app/Session.h"
#include "editing/EditHistory.h"
#include "io/FileMessages.h"
#include "model/Errors.h"

#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>

namespace {

// The editor around the diagram as the file commands see it: the diagram,
// noting its label steps and pictures, and the views told of a new document.
class RecordingWindow : public DocumentViews
{
public:
    explicit RecordingWindow(Document &doc) : m_recording(doc)
    {
        m_recording.atRender = [this] {
            cursorFreeAtRender = cursorFreeAtRender && !QGuiApplication::overrideCursor();
        };
        m_recording.atTimeLabels = [this] {
            if (onTimeLabels)
                onTimeLabels();
        };
    }

    QStringList &steps = m_recording.calls;
    bool hourglassWhileReading = false;
    bool cursorFreeAtRender = true;
    std::function<void()> onTimeLabels;

    Diagram &diagram() { return m_recording.diagram(); }

    void documentReplaced() override { steps << QStringLiteral("cleared"); }
    void showDocumentSettings() override
    {
        steps << QStringLiteral("settings");
        const QCursor *c = QGuiApplication::overrideCursor();
        hourglassWhileReading = c && c->shape() == Qt::WaitCursor;
    }

private:
    RecordingDiagram m_recording;
};

const QString documentFilter = QStringLiteral("Soubory s vlakorysem (*.vrs)|*.vrs|Všechny soubory (*.*)|*.*");

class FileCommandsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    Session session{prompter, SettingsFile(dir.filePath(QStringLiteral("Vlakorys.ini")))};
    Document &doc = session.document;
    RecordingWindow window{session.document};

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    static void fillSmall(Document &d, bool labels)
    {
        SampleLine::fill(d, {5, 20, 2, 4});
        d.settings.ratioX = 3;
        if (labels) {
            d.newTrainLabel().text = "Os 1";
            d.newTrainLabel().text = "Os 2";
        }
    }
    QByteArray writeSmall(const char *name, bool labels)
    {
        Document d;
        fillSmall(d, labels);
        const QByteArray bytes = FileBytes::of(d);
        FileBytes::write(path(name), bytes);
        return bytes;
    }

    void TearDown() override { EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); }
};

} // namespace

TEST_F(FileCommandsTest, DialogsTheirFiltersAndCancel)
{
    fillSmall(doc, false);
    doc.noDocument = false;
    prompter.fileAnswers = {std::nullopt, std::nullopt, std::nullopt};
    FileCommands::open(session, window.diagram(), window);
    EXPECT_EQ(prompter.lastFileDialog.defaultSuffix, QStringLiteral("vrs"));
    FileCommands::importTimetable(session, window.diagram());
    EXPECT_EQ(prompter.lastFileDialog.defaultSuffix, QStringLiteral("txt"));
    EXPECT_FALSE(FileCommands::save(session, false)); // untitled: Save asks too
    EXPECT_EQ(prompter.lastFileDialog.defaultSuffix, QStringLiteral("vrs"));
    EXPECT_TRUE(prompter.lastFileDialog.promptOverwrite);
    EXPECT_EQ(prompter.log,
              (QStringList{"open: " + documentFilter, "open: Textové soubory (*.txt)|*.txt|Všechny soubory (*.*)|*.*",
                           "save: " + documentFilter}));
    EXPECT_TRUE(window.steps.isEmpty());
    EXPECT_EQ(doc.trains.size(), 2u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST_F(FileCommandsTest, OpenReadsFinishesAndRendersThenSaveWritesBack)
{
    for (bool labels : {true, false}) {
        writeSmall("trať.vrs", labels);
        window.steps.clear();
        doc.redrawNeeded = false;
        prompter.fileAnswers = {path("trať.vrs")};
        FileCommands::open(session, window.diagram(), window);
        EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.log.join(u'\n').toStdString();
        // Train labels are made only when the file has none.
        EXPECT_EQ(window.steps, (labels ? QStringList{"cleared", "settings", "time labels", "render"}
                                        : QStringList{"cleared", "settings", "train labels", "time labels", "render"}));
        EXPECT_TRUE(window.hourglassWhileReading && window.cursorFreeAtRender);
        EXPECT_FALSE(doc.noDocument || doc.untitled);
        EXPECT_EQ(session.fileName, path("trať.vrs"));
        EXPECT_EQ(std::tuple(doc.trains.size(), doc.settings.ratioX, doc.maxMetres), std::tuple(2u, 3, 20000));
    }

    doc.trains.clear();
    prompter.log.clear();
    ASSERT_TRUE(FileCommands::save(session, false));
    EXPECT_TRUE(prompter.log.isEmpty());
    EXPECT_EQ(FileBytes::read(path("trať.vrs")), FileBytes::of(doc));
}

TEST_F(FileCommandsTest, OpenFailures)
{
    fillSmall(doc, true);
    doc.noDocument = false;
    doc.untitled = false;
    session.fileName = QStringLiteral("/before.vrs");
    FileBytes::write(path("new.vrs"), ByteBuilder().header("Vlakorys 1.3!").raw(QByteArray(40, '\0')).bytes());

    const std::pair<QString, QString> cases[] = {
        {path("missing.vrs"), QStringLiteral("Chyba při otevírání souboru.")},
        {dir.path(), QStringLiteral("Chyba při otevírání souboru.")},
        {path("new.vrs"), QStringLiteral("Toto není soubor s vlakorysem.")},
    };
    for (const auto &[file, message] : cases) {
        prompter.log.clear();
        window.steps.clear();
        doc.redrawNeeded = false;
        EXPECT_FALSE(FileCommands::openFile(session, window.diagram(), window, file));
        EXPECT_EQ(prompter.messages(), QStringList{message}) << file.toStdString();
        EXPECT_EQ(window.steps, QStringList{"render"});
        // Nothing of the document changed.
        EXPECT_EQ(doc.trains.size(), 2u);
        EXPECT_FALSE(doc.noDocument || doc.untitled);
        EXPECT_EQ(session.fileName, QStringLiteral("/before.vrs"));
    }
}

TEST_F(FileCommandsTest, ReadErrorKeepsThePartDocumentUnsaveable)
{
    const QByteArray whole = writeSmall("cut.vrs", true);
    FileBytes::write(path("cut.vrs"), whole.left(whole.size() - 3));
    doc.untitled = false;
    session.fileName = path("before.vrs");

    EXPECT_FALSE(FileCommands::openFile(session, window.diagram(), window, path("cut.vrs")));
    EXPECT_EQ(prompter.messages(), QStringList{"Chyba při načítání souboru"});
    // The settings block was read before the cut, so the controls show it.
    EXPECT_EQ(window.steps, (QStringList{"cleared", "settings", "render"}));
    EXPECT_TRUE(doc.noDocument);
    EXPECT_EQ(doc.trains.size(), 2u);
    EXPECT_EQ(session.fileName, path("before.vrs"));

    // Save and Save as do nothing now: the file opened before is safe.
    prompter.log.clear();
    EXPECT_FALSE(FileCommands::save(session, false));
    EXPECT_FALSE(FileCommands::save(session, true));
    EXPECT_TRUE(prompter.log.isEmpty());
    EXPECT_FALSE(QFile::exists(path("before.vrs")));
}

// What Open meets after reading: the oldest format becomes the file Save
// writes to; positions to the metre damaged open at whole kilometres (the
// reader's DocumentExtension.DamageBehindTheProfiles) and say so once the
// document is there; a step after reading that fails says so in its words.
TEST_F(FileCommandsTest, WhatOpenMeetsAfterReading)
{
    FileBytes::write(path("old.vrs"), ByteBuilder().header("Vlakorys 0.1!").i32(1).sstr("A", 50).i32(5).bytes());
    doc.untitled = false;
    session.fileName = path("other.vrs");
    ASSERT_TRUE(FileCommands::openFile(session, window.diagram(), window, path("old.vrs")));
    EXPECT_EQ(session.fileName, path("old.vrs"));
    EXPECT_EQ(window.steps, (QStringList{"cleared", "train labels", "time labels", "render"}));

    Document d;
    fillSmall(d, true);
    d.stations[1].metres = 5250;
    FileBytes::write(path("metry.vrs"), FileBytes::withLastByteFlipped(FileBytes::of(d)));
    window.steps.clear();
    ASSERT_TRUE(FileCommands::openFile(session, window.diagram(), window, path("metry.vrs")));
    EXPECT_EQ(prompter.log, QStringList{QStringLiteral("information: ") + FileMessages::damagedExtension});
    EXPECT_EQ(std::pair(window.steps.back(), doc.noDocument), std::pair(QStringLiteral("render"), false));

    FileBytes::write(path("a.vrs"), FileBytes::of(d));
    prompter.log.clear();
    doc.untitled = true;
    window.onTimeLabels = [] { throw RangeError(); };
    EXPECT_FALSE(FileCommands::openFile(session, window.diagram(), window, path("a.vrs")));
    EXPECT_EQ(prompter.messages(), QStringList{"Range check error"});
    EXPECT_FALSE(doc.untitled);
}

TEST_F(FileCommandsTest, UntitledSaveAsksThenSaveAsStartsFromItsName)
{
    fillSmall(doc, true);
    doc.noDocument = false;
    // A file that cannot be made is reported; the document stays untitled.
    prompter.fileAnswers = {path("no/such/dir/a.vrs"), path("nový.vrs")};
    EXPECT_FALSE(FileCommands::save(session, false));
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("Chyba při vytváření souboru „%1“: soubor nebo adresář neexistuje.")
                              .arg(path("no/such/dir/a.vrs"))});
    EXPECT_TRUE(doc.untitled);
    prompter.log.clear();
    ASSERT_TRUE(FileCommands::save(session, false));
    EXPECT_EQ(prompter.log, QStringList{"save: " + documentFilter});
    EXPECT_FALSE(doc.untitled);
    EXPECT_EQ(FileBytes::read(path("nový.vrs")), FileBytes::of(doc));

    // Save as asks, starting from the current name; cancelled, or failed,
    // the name stays.
    prompter.fileAnswers = {std::nullopt, path("no/such/dir/b.vrs")};
    EXPECT_FALSE(FileCommands::save(session, true));
    EXPECT_EQ(prompter.lastFileDialog.initialFileName, path("nový.vrs"));
    EXPECT_FALSE(FileCommands::save(session, true));
    EXPECT_EQ(session.fileName, path("nový.vrs"));
}

// The question before a document is left: each answer, and the save it
// leads to (that save asks, fails and reports as Save itself does).
TEST_F(FileCommandsTest, UnsavedChangesAreSettledByTheAnswer)
{
    using C = Prompter::SaveChoice;
    struct Row
    {
        C answer;
        const char *file; // "" untitled, its save dialog cancelled
        bool goesOn, written;
    };
    fillSmall(doc, false);
    doc.noDocument = false;
    for (const Row &r :
         {Row{C::Save, "a.vrs", true, true}, Row{C::Save, "", false, false}, Row{C::Save, "gone/a.vrs", false, false},
          Row{C::Discard, "a.vrs", true, false}, Row{C::Cancel, "a.vrs", false, false}}) {
        SCOPED_TRACE(r.file);
        doc.untitled = !*r.file;
        session.fileName = *r.file ? path(r.file) : QString();
        QFile::remove(session.fileName);
        EXPECT_TRUE(FileCommands::settleUnsavedChanges(session)); // nothing changed: no question
        {
            EditStep step(session.history, QStringLiteral("změna"));
            ++doc.settings.penThin;
        }
        prompter.log.clear();
        prompter.saveChoices = {r.answer};
        prompter.fileAnswers = {std::nullopt};
        EXPECT_EQ(FileCommands::settleUnsavedChanges(session), r.goesOn);
        EXPECT_EQ(prompter.log.value(0), QStringLiteral("save question: Uložit změny v dokumentu „%1“?")
                                             .arg(*r.file ? QStringLiteral("a.vrs") : QStringLiteral("Bez názvu")));
        EXPECT_EQ(QFile::exists(session.fileName), r.written);
        EXPECT_EQ(FileCommands::hasUnsavedChanges(session), !r.written);
        session.history.reset();
    }
}

// Save over the document's own file asks when another program has written
// it (its size or time differs) since it was opened or saved here; No keeps
// that file and leaves the document modified. Save as onto another file, and
// a file gone meanwhile, do not ask.
TEST_F(FileCommandsTest, FileChangedByAnotherProgramIsOverwrittenOnlyWhenConfirmed)
{
    writeSmall("sdílený.vrs", true);
    ASSERT_TRUE(FileCommands::openFile(session, window.diagram(), window, path("sdílený.vrs")));
    const QString question = QStringLiteral("question: Soubor „%1“ byl mezitím změněn jiným programem. Přepsat jej?")
                                 .arg(QDir::toNativeSeparators(path("sdílený.vrs")));
    const QByteArray theirs("jiný program");
    const auto writeTheirs = [&] { FileBytes::write(path("sdílený.vrs"), theirs); };
    const auto olderTime = [&] {
        QFile f(path("sdílený.vrs"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite)
                    && f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    };
    const auto removed = [&] { QFile::remove(path("sdílený.vrs")); };
    struct Row
    {
        const char *what;
        std::function<void()> meanwhile;
        const char *saveAsTo; // nullptr: Save
        std::optional<bool> answer;
        bool saved;
    };
    const Row rows[] = {
        {"untouched", [] {}, nullptr, std::nullopt, true},
        {"written, No", writeTheirs, nullptr, false, false},
        {"still theirs, Yes", [] {}, nullptr, true, true},
        {"saved here since", [] {}, nullptr, std::nullopt, true},
        {"same size, another time", olderTime, nullptr, true, true},
        {"written, Save as elsewhere", writeTheirs, "kopie.vrs", std::nullopt, true},
        {"gone", removed, nullptr, std::nullopt, true},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        {
            EditStep step(session.history, QStringLiteral("změna"));
            ++doc.settings.penThin;
        }
        r.meanwhile();
        const QString target = session.fileName;
        const QByteArray before = FileBytes::read(target);
        prompter.log.clear();
        prompter.yesNoAnswers.clear();
        if (r.answer)
            prompter.yesNoAnswers = {*r.answer};
        if (r.saveAsTo)
            prompter.fileAnswers = {path(r.saveAsTo)};
        EXPECT_EQ(FileCommands::save(session, r.saveAsTo != nullptr), r.saved);
        EXPECT_EQ(prompter.log.filter(QStringLiteral("question")), r.answer ? QStringList{question} : QStringList{});
        EXPECT_EQ(FileCommands::hasUnsavedChanges(session), !r.saved);
        EXPECT_EQ(FileBytes::read(session.fileName), r.saved ? FileBytes::of(doc) : before);
        if (r.saveAsTo) {
            EXPECT_EQ(FileBytes::read(target), theirs);
            EXPECT_EQ(session.fileName, path(r.saveAsTo));
            session.fileName = target; // back to the shared file, which is gone next
        }
    }
}

TEST_F(FileCommandsTest, FailedWriteLeavesThePreviousFileIntact)
{
    const QByteArray previous("previous contents");
    FileBytes::write(path("keep.vrs"), previous);
    // A document of a few hundred bytes: once, all of it waited in a buffer
    // that failed unnoticed when the file was closed.
    fillSmall(doc, true);
    doc.noDocument = false;
    doc.untitled = false;
    session.fileName = path("keep.vrs");
    session.history.reset(true);

    bool saved = true;
    {
        const FileSizeLimit full(100); // the disk fills up
        saved = FileCommands::save(session, false);
    }

    EXPECT_GT(FileBytes::of(doc).size(), 100);
    EXPECT_FALSE(saved);
    EXPECT_EQ(
        prompter.messages(),
        QStringList{
            QStringLiteral("Chyba při ukládání do souboru „%1“: %2.").arg(path("keep.vrs"), qt_error_string(EFBIG))});
    EXPECT_TRUE(FileCommands::hasUnsavedChanges(session)) << "the document is still modified";
    EXPECT_EQ(FileBytes::read(path("keep.vrs")), previous); // no temporary file left: SafeFileTest's
}

// Import appends the trains and makes every label anew; a file it cannot
// take says why and changes nothing.
TEST_F(FileCommandsTest, ImportAppendsTrainsOrSaysWhyNot)
{
    fillSmall(doc, true);
    doc.noDocument = false;
    FileBytes::write(path("bad.txt"), "Os 9\nStanice 1\t\t 6:00\nStanice 2\t 6:x5\t\n-\n");
    // Larger than any timetable (and sparse: nothing of it is written).
    FileBytes::write(path("huge.txt"), "Os 1\n");
    ASSERT_TRUE(QFile::resize(path("huge.txt"), FileMessages::maxTextBytes + 1));
    const std::pair<const char *, QString> cases[] = {
        {"missing.txt", QStringLiteral("Chyba otevírání souboru.")},
        {"bad.txt", QStringLiteral("'x5' is not a valid integer value")},
        {"huge.txt",
         QStringLiteral("Chyba při načítání souboru „%1“: soubor je větší než 256 MiB.").arg(path("huge.txt"))},
    };
    for (const auto &[file, message] : cases) {
        prompter.log.clear();
        EXPECT_FALSE(FileCommands::importFile(session, window.diagram(), path(file)));
        EXPECT_EQ(prompter.messages(), QStringList{message});
        EXPECT_TRUE(window.steps.isEmpty());
        EXPECT_EQ(doc.trains.size(), 2u);
    }

    FileBytes::write(path("jr.txt"), "Os 9;rus\nStanice 1\t\t 6:00\nStanice 2\t 6:05\t\n-\n");
    prompter.fileAnswers = {path("jr.txt")};
    prompter.log.clear();
    doc.redrawNeeded = false;
    FileCommands::importTimetable(session, window.diagram());
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(window.steps, (QStringList{"train labels", "time labels", "render"}));
    ASSERT_EQ(doc.trains.size(), 3u);
    EXPECT_EQ(doc.trains.back().name.toByteArray(), "Os 9");
    EXPECT_TRUE(doc.untitled && session.fileName.isEmpty());
}

// New keeps the kind records for the next stations; closing writes the zoom
// alone.
TEST_F(FileCommandsTest, NewKeepsKindRecordsAndCloseWritesOnlyTheZoom)
{
    doc.appendKind({.stationIndex = 1, .hradlo = 1});
    doc.legacyDopravna = {1, 2};
    doc.noDocument = false;
    DocumentCommands::newDocument(session);
    EXPECT_EQ(doc.stationKinds.size(), 1u);
    EXPECT_TRUE(doc.legacyDopravna.empty());
    EXPECT_TRUE(doc.noDocument);

    doc.settings.zoom = 12;
    doc.settings.penThick = 9;
    DocumentCommands::writeCloseSettings(session);
    DocumentSettings s;
    SettingsFile(path("Vlakorys.ini")).readInto(s);
    EXPECT_EQ(std::pair(int(s.zoom), int(s.penThick)), std::pair(12, 3));
}
