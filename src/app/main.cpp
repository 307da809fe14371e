#include "AppWindows.h"
#include "Application.h"
#include "MainWindow.h"
#include "Session.h"
#include "dialogs/QtPrompter.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (!Application::checkDisplay())
        return 1;
    QApplication app(argc, argv);
    Application::setup(app);

    QtPrompter prompter;
    Session session(prompter, SettingsFile());
    AppWindows windows(session);
    prompter.setParent(windows.mainWindow());
    windows.mainWindow()->showMaximized();
    return app.exec();
}
