#include "../io/FileBytes.h"
#include "FileSizeLimit.h"
#include "ScriptedPrompter.h"
#include "TestPaths.h"
#include "app/Application.h"
#include "app/Editor.h"
#include "app/MainWindow.h"
#include "app/RecoveryKeeper.h"
#include "io/RecoveryStore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
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

    void change(Editor &editor)
    {
        EditStep step(editor.session().history, QStringLiteral("změna nastavení"));
        ++editor.session().document.settings.penMedium;
    }

    // An editor of its own that opens the document, makes an import and,
    // once its copy is written, runs on; the path of its copy.
    QString startChild(QProcess &child, const char *expected)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), path("state"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(VLAKORYS_RECOVERY_CHILD), {path("trať.vrs"), path("import.txt"), path(expected)});
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
        QVERIFY(QFile::copy(TestPaths::examplesDir() + QStringLiteral("/liberec-tanvald.vrs"), path("trať.vrs")));
        FileBytes::write(path("import.txt"), "Os 99\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\n");
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

        // A save that fails (the disk is full) says so and keeps both the
        // modified state and the copy; a save removes it; so does
        // "Neukládat" before New.
        {
            const FileSizeLimit full(100);
            editor.mainWindow()->Uloit1Click();
        }
        QCOMPARE(prompter.messages(), QStringList{QStringLiteral("Chyba při ukládání do souboru „%1“: %2.")
                                                      .arg(path("trať.vrs"), qt_error_string(EFBIG))});
        QVERIFY(editor.mainWindow()->isWindowModified());
        QVERIFY(QFile::exists(copy));
        QCOMPARE(FileBytes::read(path("trať.vrs")),
                 FileBytes::read(TestPaths::examplesDir() + QStringLiteral("/liberec-tanvald.vrs")));
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

    // A killed editor's copy is not offered while it runs; at the next start
    // it is, and taken over under the new editor's name.
    void killedEditorsWorkComesBack()
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
        editor.start({});
        QCOMPARE(prompter.log, QStringList{QStringLiteral("question: Obnovit neuložené změny dokumentu „trať.vrs“?")});
        QCOMPARE(FileBytes::of(editor.session().document), FileBytes::read(path("expected.vrs")));
        QCOMPARE(editor.session().fileName, path("trať.vrs"));
        QVERIFY(editor.mainWindow()->isWindowModified());
        QCOMPARE(copies(), QStringList{QFileInfo(editor.recoveryStore().path()).fileName()});
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
