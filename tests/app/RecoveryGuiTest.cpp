#include "../io/FileBytes.h"
#include "FileSizeLimit.h"
#include "ScriptedPrompter.h"
#include "TestPaths.h"
#include "app/Application.h"
#include "app/Editor.h"
#include "app/MainWindow.h"
#include "app/RecoveryKeeper.h"
#include "io/RecoveryStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The recovery copy: written a little after a change, gone after a save or
// "Neukládat", and, when the editor is killed, offered at the next start
// and restored. Editors to kill run as processes of their own.
class RecoveryGuiTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QString stateDir() const { return path("state/vlakorys"); }
    QStringList copies() const { return QDir(stateDir()).entryList({QStringLiteral("*.recovery")}, QDir::Files); }
    QStringList stateFiles() const { return QDir(stateDir()).entryList(QDir::Files, QDir::Name); }
    static QString restoreQuestion(const QString &file)
    {
        return QStringLiteral("question: Obnovit neuložené změny dokumentu „%1“?\nOdpověď Ne kopii těchto změn "
                              "natrvalo smaže.")
            .arg(QDir::toNativeSeparators(file));
    }

    void change(Editor &editor)
    {
        EditStep step(editor.session().history, QStringLiteral("změna nastavení"));
        ++editor.session().document.settings.penMedium;
    }

    // An editor of its own that opens the document, makes an import and,
    // once its copy is written, runs on; the path of its copy.
    QString startChild(QProcess &child, const char *expected, const char *document = "trať.vrs")
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), path("state"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(VLAKORYS_RECOVERY_CHILD), {path(document), path("import.txt"), path(expected)});
        if (!child.waitForStarted())
            return {};
        QByteArray out;
        while (!out.contains('\n') && child.waitForReadyRead(30000))
            out += child.readAllStandardOutput();
        if (!out.startsWith("written "))
            qWarning() << out << child.readAllStandardError();
        return QString::fromLocal8Bit(out.mid(8).trimmed());
    }

private slots:
    void initTestCase()
    {
        FileBytes::write(path("import.txt"), "Os 99\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\n");
    }
    // Every case starts with its documents as they were and no copies.
    void init()
    {
        for (const char *name : {"trať.vrs", "jiná.vrs"}) {
            QFile::remove(path(name));
            QVERIFY(QFile::copy(TestPaths::examplesDir() + QStringLiteral("/liberec-tanvald.vrs"), path(name)));
        }
        QDir(stateDir()).removeRecursively();
    }

    void copyFollowsTheDocument()
    {
        ScriptedPrompter prompter;
        Editor editor(prompter, stateDir());
        editor.recovery().setDelays(20, 100);
        editor.start({path("trať.vrs")});
        const QString copy = editor.recoveryStore().path();
        QVERIFY(copy.startsWith(stateDir()) && !QFile::exists(copy));

        QSignalSpy written(&editor.recovery(), &RecoveryKeeper::written);
        change(editor);
        QVERIFY(written.wait());
        const std::optional<RecoveryStore::Copy> read = RecoveryStore::read(copy);
        QVERIFY(read);
        QCOMPARE(read->originalPath, path("trať.vrs"));
        Document back;
        QVERIFY(read->snapshot.restore(back, DocumentSnapshot::View::Take));
        QCOMPARE(FileBytes::of(back), FileBytes::of(editor.session().document));

        // A save that fails (the disk is full; its message is the file
        // commands' test) keeps the copy; a save removes it; so does
        // "Neukládat" before New.
        {
            const FileSizeLimit full(100);
            editor.mainWindow()->Uloit1Click();
        }
        QVERIFY(editor.mainWindow()->isWindowModified() && QFile::exists(copy));
        editor.mainWindow()->Uloit1Click();
        QVERIFY(!QFile::exists(copy));
        change(editor);
        QVERIFY(written.wait());
        QVERIFY(QFile::exists(copy));
        prompter.saveChoices = {Prompter::SaveChoice::Discard};
        editor.mainWindow()->Nov1Click();
        QVERIFY(!QFile::exists(copy));
        QVERIFY(!editor.recovery().writePending());
    }

    // A copy that cannot be written is told once, with the folder and the
    // cause, and marked in the caption until one is written again, which is
    // told too: a folder that cannot be made, then a full disk.
    void unprotectedWorkIsToldOnce()
    {
        FileBytes::write(path("blocker"), "a file where the folder should be");
        const QString folder = path("blocker/vlakorys");
        ScriptedPrompter prompter;
        Editor editor(prompter, folder);
        editor.recovery().setDelays(20, 100);
        editor.start({path("trať.vrs")});
        const QString unprotected = QStringLiteral("error: Kopii neuložených změn nelze zapsat do složky „%1“: %2. "
                                                   "Práce není chráněna pro případ pádu programu.");
        const QString again = QStringLiteral("information: Kopie neuložených změn se opět zapisuje do složky „%1“. "
                                             "Práce je znovu chráněna pro případ pádu programu.");
        QCOMPARE(prompter.log, QStringList{unprotected.arg(folder, qt_error_string(ENOTDIR))});
        QVERIFY(editor.mainWindow()->windowTitle().endsWith(MainWindow::unprotectedCaption));

        QFile::remove(path("blocker"));
        QSignalSpy written(&editor.recovery(), &RecoveryKeeper::written);
        change(editor);
        QVERIFY(written.wait());
        {
            const FileSizeLimit full(100);
            for (int twice = 0; twice < 2; ++twice) {
                change(editor);
                QVERIFY(written.wait());
            }
        }
        change(editor);
        QVERIFY(written.wait());
        QCOMPARE(prompter.log, (QStringList{unprotected.arg(folder, qt_error_string(ENOTDIR)), again.arg(folder),
                                            unprotected.arg(folder, qt_error_string(EFBIG)), again.arg(folder)}));
        QVERIFY(!editor.mainWindow()->windowTitle().endsWith(MainWindow::unprotectedCaption));
    }

    // A killed editor's copy is not offered while it runs; at the next start
    // with the same document named (as a file manager starts it), the copy
    // is offered by the document's full path, taken over under the new
    // editor's name, and stands: the file is not opened over it. The file's
    // stamp came with it: the file written meanwhile is not overwritten
    // without a question.
    void killedEditorsWorkComesBackOverItsDocument()
    {
        QProcess child;
        const QString copy = startChild(child, "expected.vrs");
        QVERIFY(QFile::exists(copy));
        QVERIFY(RecoveryStore(stateDir()).leftCopies().empty());
        child.kill(); // SIGKILL: no clean-up at all
        QVERIFY(child.waitForFinished());
        ScriptedPrompter prompter;
        prompter.yesNoAnswers = {true};
        Editor editor(prompter, stateDir());
        editor.start({path("trať.vrs")});
        QCOMPARE(prompter.log, QStringList{restoreQuestion(path("trať.vrs"))});
        QCOMPARE(FileBytes::of(editor.session().document), FileBytes::read(path("expected.vrs")));
        QCOMPARE(editor.session().fileName, path("trať.vrs"));
        QVERIFY(editor.mainWindow()->isWindowModified());
        QCOMPARE(copies(), QStringList{QFileInfo(editor.recoveryStore().path()).fileName()});

        FileBytes::write(path("trať.vrs"), "jiný program");
        prompter.yesNoAnswers = {false};
        editor.mainWindow()->Uloit1Click();
        QCOMPARE(prompter.log.last(),
                 QStringLiteral("question: Soubor „%1“ byl mezitím změněn jiným programem. Přepsat jej?")
                     .arg(QDir::toNativeSeparators(path("trať.vrs"))));
        QCOMPARE(FileBytes::read(path("trať.vrs")), QByteArray("jiný program"));
        QVERIFY(editor.mainWindow()->isWindowModified());
    }

    // Two left copies: the named document's is offered first though it is
    // the older one. Declined, the other document's is offered; restored,
    // the named document is not opened over it without the usual question,
    // and Zrušit keeps the restored work.
    void anotherDocumentsCopyIsNotDroppedForTheNamedOne()
    {
        QString older;
        for (const char *document : {"trať.vrs", "jiná.vrs"}) {
            QProcess child;
            const QString copy = startChild(child, "expected.vrs", document);
            QVERIFY(!copy.isEmpty());
            child.kill();
            QVERIFY(child.waitForFinished());
            // Kept out of the next child's sight: it would be offered there.
            if (older.isEmpty())
                QVERIFY(QFile::rename(copy, older = copy + QStringLiteral(".jinde")));
        }
        QVERIFY(QFile::rename(older, older.chopped(6)));
        ScriptedPrompter prompter;
        prompter.yesNoAnswers = {false, true};
        prompter.saveChoices = {Prompter::SaveChoice::Cancel};
        Editor editor(prompter, stateDir());
        editor.start({path("trať.vrs")});
        QCOMPARE(prompter.log, (QStringList{restoreQuestion(path("trať.vrs")), restoreQuestion(path("jiná.vrs")),
                                            QStringLiteral("save question: Uložit změny v dokumentu „jiná.vrs“?")}));
        QCOMPARE(FileBytes::of(editor.session().document), FileBytes::read(path("expected.vrs")));
        QCOMPARE(editor.session().fileName, path("jiná.vrs"));
        QVERIFY(editor.mainWindow()->isWindowModified());
        QCOMPARE(copies(), QStringList{QFileInfo(editor.recoveryStore().path()).fileName()});
    }

    // A copy that cannot be read is not deleted: the user is told, and it
    // is kept aside where it is not offered again.
    void damagedCopyIsKeptAsideAndTold()
    {
        QVERIFY(QDir().mkpath(stateDir()));
        const QString copy = stateDir() + QStringLiteral("/editor-1-0000dead.recovery");
        // Its head names the document; the rest is cut.
        const QByteArray whole =
            RecoveryStore::encode(path("trať.vrs"), FileStamp{}, DocumentSnapshot::take(Document{}));
        FileBytes::write(copy, whole.left(whole.size() - 4));
        ScriptedPrompter prompter;
        {
            Editor editor(prompter, stateDir());
            editor.start({});
        }
        QCOMPARE(prompter.log, QStringList{QStringLiteral("error: Kopii neuložených změn „%1“ nelze přečíst. Byla "
                                                          "odložena jako „%1.damaged“. Patří k dokumentu „%2“.")
                                               .arg(QDir::toNativeSeparators(copy), path("trať.vrs"))});
        QCOMPARE(stateFiles(), QStringList{QStringLiteral("editor-1-0000dead.recovery.damaged")});
        prompter.log.clear();
        Editor editor(prompter, stateDir());
        editor.start({});
        QVERIFY(prompter.log.isEmpty());
    }

    // SIGTERM ends an editor as a session's end does: its work in the copy,
    // its lock released; the copy is offered at the next start.
    void terminatedEditorKeepsItsWorkAndReleasesItsLock()
    {
        QProcess child;
        const QString copy = startChild(child, "expected.vrs");
        QVERIFY(QFile::exists(copy));
        child.terminate();
        QVERIFY(child.waitForFinished());
        QCOMPARE(std::pair(child.exitStatus(), child.exitCode()), std::pair(QProcess::NormalExit, 0));
        QCOMPARE(stateFiles(), QStringList{QFileInfo(copy).fileName()});
        QCOMPARE(RecoveryStore(stateDir()).leftCopies(), std::vector<QString>{copy});

        // Ended while it asks whether to restore that copy: the question is
        // not taken for No, the copy stays, and the editor ends at once.
        QProcess asked;
        asked.setProcessEnvironment(child.processEnvironment());
        asked.start(QStringLiteral(VLAKORYS_RECOVERY_CHILD),
                    {path("trať.vrs"), path("import.txt"), path("unused.vrs"), QStringLiteral("term-at-question")});
        QVERIFY(asked.waitForFinished());
        QCOMPARE(std::pair(asked.exitStatus(), asked.exitCode()), std::pair(QProcess::NormalExit, 0));
        QCOMPARE(stateFiles(), QStringList{QFileInfo(copy).fileName()});
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    RecoveryGuiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RecoveryGuiTest.moc"
