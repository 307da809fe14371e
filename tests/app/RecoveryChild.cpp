// An editor for the recovery test to kill: it opens the document named
// first, imports the timetable named second, and once its recovery copy is
// written, writes the document to the third, prints "written <copy>" and
// runs on. SIGTERM ends it as it ends the editor. With a fourth argument
// "term-at-question" it gets SIGTERM while a question is open (as a
// shutdown that comes while the editor asks whether to restore a copy).
#include "ScriptedPrompter.h"
#include "app/Application.h"
#include "app/Editor.h"
#include "app/MainWindow.h"
#include "app/RecoveryKeeper.h"
#include "io/DocumentWriter.h"

#include <QApplication>
#include <QEventLoop>
#include <QSaveFile>

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

class TerminatedAtQuestion : public ScriptedPrompter
{
public:
    bool askYesNo(const QString &text) override
    {
        log << QStringLiteral("question: ") + text;
        std::raise(SIGTERM);
        QEventLoop box; // as a message box's loop, ended by the editor's end
        box.exec();
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    const QStringList args = QApplication::arguments();
    const std::unique_ptr<ScriptedPrompter> asking = args.value(4) == QLatin1String("term-at-question")
                                                         ? std::make_unique<TerminatedAtQuestion>()
                                                         : std::make_unique<ScriptedPrompter>();
    ScriptedPrompter &prompter = *asking;
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
    if (editor.ending())
        return 0;
    editor.mainWindow()->menu().Import1->trigger();
    return app.exec();
}
