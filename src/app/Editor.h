#pragma once

#include "AppWindows.h"
#include "Session.h"

#include "io/RecoveryStore.h"

#include <QStringList>

#include <memory>

class MainWindow;
class Prompter;
class RecoveryKeeper;

// The running editor: the session, the windows and the recovery copy, made
// in that order and ended in the reverse one. main() is this and the event
// loop; tests that run the editor as a process of its own use it too.
class Editor
{
public:
    explicit Editor(Prompter &prompter, const QString &recoveryDirectory = RecoveryStore::defaultDirectory());
    ~Editor();

    Session &session() { return m_session; }
    AppWindows &windows() { return *m_windows; }
    MainWindow *mainWindow() const { return m_windows->mainWindow(); }
    RecoveryStore &recoveryStore() { return m_store; }
    RecoveryKeeper &recovery() { return *m_keeper; }

    // Shows the main window at the screen's size, offers the recovery copies
    // editors that no longer run have left, then opens the document named
    // in args (the program's arguments after its name), as Open does.
    void start(const QStringList &args);

private:
    Session m_session;
    std::unique_ptr<AppWindows> m_windows;
    RecoveryStore m_store;
    std::unique_ptr<RecoveryKeeper> m_keeper;
};
