#include "Editor.h"

#include "MainWindow.h"
#include "RecoveryKeeper.h"

#include <QGuiApplication>
#include <QScreen>

Editor::Editor(Prompter &prompter, const QString &recoveryDirectory)
    : m_session(prompter, SettingsFile()), m_windows(std::make_unique<AppWindows>(m_session)),
      m_store(recoveryDirectory)
{
    // Without a place for the copies the editor works as before, without
    // them.
    m_store.open();
    m_keeper = std::make_unique<RecoveryKeeper>(m_session, m_store);
    mainWindow()->setRecoveryKeeper(m_keeper.get());
}

Editor::~Editor()
{
    mainWindow()->setRecoveryKeeper(nullptr);
    m_keeper.reset();
    m_windows.reset();
}

void Editor::start(const QStringList &args)
{
    MainWindow *window = mainWindow();
    // Without a window manager (a bare X server) maximising does nothing;
    // start at the screen's size then.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        window->resize(screen->availableGeometry().size());
    window->showMaximized();
    m_keeper->offerLeftCopies(*window);
    // A document named on the command line opens as Open opens it, as
    // desktop file managers expect.
    if (!args.isEmpty())
        window->openFile(args.front());
}
