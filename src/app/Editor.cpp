#include "Editor.h"

#include "MainWindow.h"
#include "RecoveryKeeper.h"
#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

Editor::Editor(Prompter &prompter, const QString &recoveryDirectory)
    : m_session(prompter, SettingsFile()), m_windows(std::make_unique<AppWindows>(m_session)),
      m_store(recoveryDirectory)
{
    // Without a place for the copies the editor works as before, without
    // them, and says so once it shows.
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
    if (!m_store.isOpen())
        m_keeper->storeUnavailable();
    const QString named = args.isEmpty() ? QString() : QFileInfo(args.front()).absoluteFilePath();
    const std::optional<QString> restored = m_keeper->offerLeftCopies(window->diagram(), *window, named);
    if (named.isEmpty() || ending())
        return;
    if (restored && FileStamp::sameFile(*restored, named))
        return;
    // A document named on the command line opens as Open opens it, as
    // desktop file managers expect; the document restored from another
    // file's copy is not dropped without the question.
    window->openFile(args.front());
}

void Editor::endOnTerminationSignals()
{
    if (m_signals)
        return;
    m_signals = std::make_unique<TerminationSignals>();
    QObject::connect(m_signals.get(), &TerminationSignals::received, mainWindow(), [this] { endWithoutQuestion(); });
}

void Editor::endWithoutQuestion()
{
    m_keeper->endSession();
    // Ends the loops running now, a modal dialog's too; until the main loop
    // runs, no other starts (main() does not start it when ending() says
    // so).
    QCoreApplication::exit(0);
}

bool Editor::ending() const
{
    return m_keeper->ending();
}
