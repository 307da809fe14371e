// An editor for the recovery test to kill: it opens the document named
// first, imports the timetable named second, and once its recovery copy is
// written, writes the document to the third, prints "written <copy>" and
// runs on. SIGTERM ends it as it ends the editor.
#include "ScriptedPrompter.h"
#include "app/Application.h"
#include "app/Editor.h"
#include "app/MainWindow.h"
#include "app/RecoveryKeeper.h"
#include "io/DocumentWriter.h"

#include <QApplication>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    const QStringList args = QApplication::arguments();
    ScriptedPrompter prompter;
    prompter.fileAnswers = {args[2]};
    Editor editor(prompter);
    editor.recovery().setDelays(50, 200);
    bool reported = false;
    QObject::connect(&editor.recovery(), &RecoveryKeeper::written, [&](bool ok) {
        if (reported || !ok)
            return;
        reported = true;
        QSaveFile expected(args[3]);
        if (!expected.open(QIODevice::WriteOnly) || !DocumentWriter::write(editor.session().document, expected)
            || !expected.commit())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(args[3]));
        std::printf("written %s\n", qPrintable(editor.recoveryStore().path()));
        std::fflush(stdout);
    });
    editor.endOnTerminationSignals();
    editor.start({args[1]});
    editor.mainWindow()->Import1Click();
    return app.exec();
}
