#include "Application.h"
#include "Editor.h"
#include "MainWindow.h"
#include "dialogs/QtPrompter.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (!Application::checkDisplay())
        return 1;
    GuardedApplication app(argc, argv);
    Application::setup(app);

    QtPrompter prompter;
    app.report = [&prompter](const QString &text) { prompter.error(text); };
    Editor editor(prompter);
    prompter.setParent(editor.mainWindow());
    editor.endOnTerminationSignals();
    editor.start(QApplication::arguments().mid(1));
    if (editor.ending())
        return 0; // a termination signal came while it started
    return app.exec();
}
