#pragma once

#include "AppWindows.h"
#include "Session.h"

#include "io/RecoveryStore.h"

#include <QStringList>

#include <memory>

class MainWindow;
class Prompter;
class RecoveryKeeper;
class TerminationSignals;

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
    // editors that no longer run have left (a copy of the document named in
    // args first), then opens the document named in args (the program's
    // arguments after its name), as Open does: not when the copy restored is
    // that document's (opening the file would only offer to throw the
    // restored work away), and after the usual question when it is another
    // document's.
    void start(const QStringList &args);

    // SIGTERM, SIGHUP and SIGINT end the editor as the end of a session
    // does when no question may be asked: unsaved work goes into the
    // recovery copy, the event loop ends, and the lock is released on the
    // way out. The program calls this; tests that run an editor in their
    // own process leave the signals alone.
    void endOnTerminationSignals();
    // The copy written, every event loop told to end; a question open
    // meanwhile counts as not answered. The caller of start() does not run
    // the main loop when the editor is ending() by then.
    void endWithoutQuestion();
    bool ending() const;

private:
    Session m_session;
    std::unique_ptr<AppWindows> m_windows;
    RecoveryStore m_store;
    std::unique_ptr<RecoveryKeeper> m_keeper;
    std::unique_ptr<TerminationSignals> m_signals;
};
