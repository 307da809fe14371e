// Open, Save, Save as and Import as the user meets them: dialogs, messages,
// the hourglass, the steps handed to the window and the state each path
// leaves.
#include "app/FileCommands.h"
#include "SampleLine.h"
#include "ScriptedPrompter.h"
#include "app/Session.h"
#include "io/DocumentWriter.h"
#include "model/Errors.h"

#include <QBuffer>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {

class RecordingWindow : public DocumentWindow
{
public:
    explicit RecordingWindow(Document &doc) : m_doc(doc) {}

    QStringList steps;
    bool hourglassWhileReading = false;
    bool cursorFreeAtRender = true;
    std::function<void()> onTimeLabels;

    void documentCleared() override { steps << QStringLiteral("cleared"); }
    void showDocumentSettings() override
    {
        steps << QStringLiteral("settings");
        const QCursor *c = QGuiApplication::overrideCursor();
        hourglassWhileReading = c && c->shape() == Qt::WaitCursor;
    }
    void makeTrainLabels() override { steps << QStringLiteral("trainLabels"); }
    void makeTimeLabels() override
    {
        steps << QStringLiteral("timeLabels");
        if (onTimeLabels)
            onTimeLabels();
    }
    void prepareFullRebuild() override { steps << QStringLiteral("rebuild"); }
    void render() override
    {
        steps << (m_doc.redrawNeeded ? QStringLiteral("render") : QStringLiteral("render without redraw"));
        cursorFreeAtRender = cursorFreeAtRender && !QGuiApplication::overrideCursor();
        m_doc.redrawNeeded = false;
    }

private:
    Document &m_doc;
};

class FileCommandsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    Session session{prompter, SettingsFile(dir.filePath(QStringLiteral("Vlakorys.ini")))};
    Document &doc = session.document;
    RecordingWindow window{session.document};

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    static QByteArray bytesOf(const Document &d)
    {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        DocumentWriter::write(d, b);
        return b.data();
    }
    static void writeFile(const QString &p, const QByteArray &bytes)
    {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray readFile(const QString &p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A small line with two trains and, when asked, two labels.
    static void fillSmall(Document &d, bool labels)
    {
        SampleLine::fill(d, {5, 20, 2, 4});
        d.settings.ratioX = 3;
        d.settings.zoom = 6;
        if (labels) {
            d.newTrainLabel().text = "Os 1";
            d.newTrainLabel().text = "Os 2";
        }
    }

    void TearDown() override { EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); }
};

} // namespace

// ---------------------------------------------------------------- Open

TEST_F(FileCommandsTest, OpenDialogFilterAndCancel)
{
    prompter.fileAnswers = {std::nullopt};
    FileCommands::open(session, window);
    EXPECT_EQ(prompter.log,
              QStringList{QStringLiteral("open: Soubory s vlakorysem (*.vrs)|*.vrs|Všechny soubory (*.*)|*.*")});
    EXPECT_EQ(prompter.lastFileDialog.defaultSuffix, QStringLiteral("vrs"));
    EXPECT_TRUE(window.steps.isEmpty());
    EXPECT_TRUE(doc.untitled);
}

TEST_F(FileCommandsTest, OpenReadsFinishesAndRenders)
{
    Document source;
    fillSmall(source, true);
    writeFile(path("trať.vrs"), bytesOf(source));
    doc.redrawNeeded = false;
    prompter.fileAnswers = {path("trať.vrs")};
    FileCommands::open(session, window);

    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.log.join(u'\n').toStdString();
    EXPECT_EQ(window.steps, (QStringList{"cleared", "settings", "timeLabels", "rebuild", "render"}));
    EXPECT_TRUE(window.hourglassWhileReading);
    EXPECT_TRUE(window.cursorFreeAtRender);
    EXPECT_FALSE(doc.noDocument);
    EXPECT_FALSE(doc.untitled);
    EXPECT_EQ(session.fileName, path("trať.vrs"));
    EXPECT_EQ(doc.trains.size(), 2u);
    EXPECT_EQ(doc.settings.ratioX, 3);
    EXPECT_EQ(doc.maxKm, 20);
    for (const Station &s : doc.stations)
        EXPECT_NE(s.kind, nullptr);
}

TEST_F(FileCommandsTest, OpenMakesTrainLabelsOnlyWhenTheFileHasNone)
{
    Document source;
    fillSmall(source, false);
    writeFile(path("a.vrs"), bytesOf(source));
    ASSERT_TRUE(FileCommands::openFile(session, window, path("a.vrs")));
    EXPECT_EQ(window.steps, (QStringList{"cleared", "settings", "trainLabels", "timeLabels", "rebuild", "render"}));
}

TEST_F(FileCommandsTest, OpenFailures)
{
    fillSmall(doc, true);
    doc.noDocument = false;
    doc.untitled = false;
    session.fileName = QStringLiteral("/before.vrs");
    writeFile(path("new.vrs"), QByteArray("\x0DVlakorys 1.3!", 14) + QByteArray(40, '\0'));

    struct Case
    {
        QString file;
        QString message;
    };
    for (const Case &c : {Case{path("missing.vrs"), QStringLiteral("Chyba při otevírání souboru.")},
                          Case{dir.path(), QStringLiteral("Chyba při otevírání souboru.")},
                          Case{path("new.vrs"), QStringLiteral("Toto není soubor s vlakorysem.")}}) {
        prompter.log.clear();
        window.steps.clear();
        doc.redrawNeeded = false;
        EXPECT_FALSE(FileCommands::openFile(session, window, c.file));
        EXPECT_EQ(prompter.messages(), QStringList{c.message}) << c.file.toStdString();
        EXPECT_EQ(window.steps, QStringList{"render"});
        // Nothing of the document changed.
        EXPECT_EQ(doc.trains.size(), 2u);
        EXPECT_FALSE(doc.noDocument);
        EXPECT_FALSE(doc.untitled);
        EXPECT_EQ(session.fileName, QStringLiteral("/before.vrs"));
    }
}

TEST_F(FileCommandsTest, ReadErrorKeepsThePartDocumentUnsaveable)
{
    Document source;
    fillSmall(source, true);
    const QByteArray whole = bytesOf(source);
    writeFile(path("cut.vrs"), whole.left(whole.size() - 3));
    doc.untitled = false;
    session.fileName = path("before.vrs");

    EXPECT_FALSE(FileCommands::openFile(session, window, path("cut.vrs")));
    EXPECT_EQ(prompter.messages(), QStringList{"Chyba při načítání souboru"});
    // The settings block was read before the cut, so the controls show it.
    EXPECT_EQ(window.steps, (QStringList{"cleared", "settings", "render"}));
    EXPECT_TRUE(doc.noDocument);
    EXPECT_EQ(doc.trains.size(), 2u);
    EXPECT_EQ(session.fileName, path("before.vrs"));

    // Save does nothing now: the file opened before is safe.
    prompter.log.clear();
    EXPECT_FALSE(FileCommands::save(session, false));
    EXPECT_TRUE(prompter.log.isEmpty());
    EXPECT_FALSE(QFile::exists(path("before.vrs")));
}

TEST_F(FileCommandsTest, OldestFormatBecomesTheFileSaveWritesTo)
{
    QByteArray v01("\x0DVlakorys 0.1!", 14);
    v01 += QByteArray("\x01\x00\x00\x00", 4)
           + QByteArray("\x01"
                        "A",
                        2)
           + QByteArray(49, '\0') + QByteArray("\x05\x00\x00\x00", 4);
    writeFile(path("old.vrs"), v01);
    doc.untitled = false;
    session.fileName = path("other.vrs");
    ASSERT_TRUE(FileCommands::openFile(session, window, path("old.vrs")));
    EXPECT_EQ(doc.stations.size(), 1u);
    EXPECT_EQ(doc.maxKm, 5);
    EXPECT_EQ(session.fileName, path("old.vrs"));
    EXPECT_EQ(window.steps, (QStringList{"cleared", "trainLabels", "timeLabels", "rebuild", "render"}));
}

TEST_F(FileCommandsTest, ErrorOfAStepAfterReadingIsShownWithItsOwnWords)
{
    Document source;
    fillSmall(source, true);
    writeFile(path("a.vrs"), bytesOf(source));
    window.onTimeLabels = [] { throw RangeError(); };
    EXPECT_FALSE(FileCommands::openFile(session, window, path("a.vrs")));
    EXPECT_EQ(prompter.messages(), QStringList{"Range check error"});
    EXPECT_FALSE(doc.untitled);
}

// ---------------------------------------------------------------- Save

TEST_F(FileCommandsTest, SaveDoesNothingWithoutADocument)
{
    fillSmall(doc, false);
    doc.noDocument = true;
    EXPECT_FALSE(FileCommands::save(session, true));
    EXPECT_TRUE(prompter.log.isEmpty());
}

TEST_F(FileCommandsTest, UntitledSaveAsksThenWritesBackWithoutAsking)
{
    fillSmall(doc, true);
    doc.noDocument = false;
    prompter.fileAnswers = {path("nový.vrs")};
    ASSERT_TRUE(FileCommands::save(session, false));
    EXPECT_EQ(prompter.log, QStringList{"save: Soubory s vlakorysem (*.vrs)|*.vrs|Všechny soubory (*.*)|*.*"});
    EXPECT_TRUE(prompter.lastFileDialog.promptOverwrite);
    EXPECT_EQ(prompter.lastFileDialog.defaultSuffix, QStringLiteral("vrs"));
    EXPECT_FALSE(doc.untitled);
    EXPECT_EQ(readFile(path("nový.vrs")), bytesOf(doc));

    // Save again: the same file, no dialog.
    doc.trains.pop_back();
    prompter.log.clear();
    ASSERT_TRUE(FileCommands::save(session, false));
    EXPECT_TRUE(prompter.log.isEmpty());
    EXPECT_EQ(readFile(path("nový.vrs")), bytesOf(doc));

    // Save as asks, starting from the current name.
    prompter.fileAnswers = {std::nullopt};
    EXPECT_FALSE(FileCommands::save(session, true));
    EXPECT_EQ(prompter.lastFileDialog.initialFileName, path("nový.vrs"));
    EXPECT_EQ(session.fileName, path("nový.vrs"));
}

TEST_F(FileCommandsTest, SaveAfterOpenWritesToTheOpenedFile)
{
    Document source;
    fillSmall(source, true);
    writeFile(path("a.vrs"), bytesOf(source));
    ASSERT_TRUE(FileCommands::openFile(session, window, path("a.vrs")));
    doc.trains.clear();
    ASSERT_TRUE(FileCommands::save(session, false));
    EXPECT_TRUE(prompter.log.isEmpty());
    EXPECT_EQ(readFile(path("a.vrs")), bytesOf(doc));
}

TEST_F(FileCommandsTest, SaveThatCannotCreateTheFile)
{
    fillSmall(doc, false);
    doc.noDocument = false;
    prompter.fileAnswers = {path("no/such/dir/a.vrs")};
    EXPECT_FALSE(FileCommands::save(session, true));
    EXPECT_EQ(prompter.messages(), QStringList{"Chyba při vytváření souboru."});
    EXPECT_TRUE(doc.untitled);
}

TEST_F(FileCommandsTest, FailedWriteLeavesThePreviousFileIntact)
{
    const QByteArray previous("previous contents");
    writeFile(path("keep.vrs"), previous);
    SampleLine::fill(doc, {60, 300, 2000, 40}); // a few megabytes
    doc.noDocument = false;
    doc.untitled = false;
    session.fileName = path("keep.vrs");

    // The disk fills up: no file may grow beyond 64 KiB while saving.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = FileCommands::save(session, false);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(prompter.messages(), QStringList{"Chyba při ukládání do souboru."});
    EXPECT_EQ(readFile(path("keep.vrs")), previous);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.vrs"});
}

// ---------------------------------------------------------------- Import

TEST_F(FileCommandsTest, ImportDialogFilterAndCancel)
{
    prompter.fileAnswers = {std::nullopt};
    FileCommands::importTimetable(session, window);
    EXPECT_EQ(prompter.log, QStringList{"open: Textové soubory (*.txt)|*.txt|Všechny soubory (*.*)|*.*"});
    EXPECT_EQ(prompter.lastFileDialog.defaultSuffix, QStringLiteral("txt"));
    EXPECT_TRUE(window.steps.isEmpty());
}

TEST_F(FileCommandsTest, ImportAppendsTrainsAndMakesEveryLabelAnew)
{
    fillSmall(doc, true);
    doc.noDocument = false;
    doc.untitled = true;
    writeFile(path("jr.txt"), "Os 9;rus\nStanice 1\t\t 6:00\nStanice 2\t 6:05\t\n-\n");
    prompter.fileAnswers = {path("jr.txt")};
    doc.redrawNeeded = false;
    FileCommands::importTimetable(session, window);
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(window.steps, (QStringList{"trainLabels", "timeLabels", "render"}));
    ASSERT_EQ(doc.trains.size(), 3u);
    EXPECT_EQ(doc.trains.back().name.toByteArray(), "Os 9");
    EXPECT_TRUE(doc.untitled);
    EXPECT_TRUE(session.fileName.isEmpty());
}

TEST_F(FileCommandsTest, ImportFailures)
{
    fillSmall(doc, true);
    EXPECT_FALSE(FileCommands::importFile(session, window, path("missing.txt")));
    EXPECT_EQ(prompter.messages(), QStringList{"Chyba otevírání souboru."});
    EXPECT_TRUE(window.steps.isEmpty());
    EXPECT_EQ(doc.trains.size(), 2u);

    prompter.log.clear();
    writeFile(path("bad.txt"), "Os 9\nStanice 1\t\t 6:00\nStanice 2\t 6:x5\t\n-\n");
    EXPECT_FALSE(FileCommands::importFile(session, window, path("bad.txt")));
    EXPECT_EQ(prompter.messages(), QStringList{"'x5' is not a valid integer value"});
    EXPECT_TRUE(window.steps.isEmpty());
    EXPECT_EQ(doc.trains.size(), 2u);
}
