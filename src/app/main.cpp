#include "AppWindows.h"
#include "Application.h"
#include "MainWindow.h"
#include "Session.h"
#include "dialogs/QtPrompter.h"

#include <QApplication>
#include <QScreen>

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
    // Without a window manager (a bare X server) maximising does nothing;
    // start at the screen's size then.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        windows.mainWindow()->resize(screen->availableGeometry().size());
    windows.mainWindow()->showMaximized();
    // A document named on the command line opens as Open opens it, as
    // desktop file managers expect.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        windows.mainWindow()->openFile(args.at(1));
    return app.exec();
}
