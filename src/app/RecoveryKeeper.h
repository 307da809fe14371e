#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

#include <functional>
#include <optional>

class Diagram;
class DocumentViews;
class RecoveryStore;
struct Session;

// Keeps this editor's recovery copy (RecoveryStore) in step with the
// document: a few seconds after the document changes (quietDelay after the
// last change, at most longestDelay after the first one not yet written) a
// copy is written; once nothing is unsaved any more (a save, undo back to
// the saved state, New, Open) it goes. The document's snapshot comes from
// the undo history, which holds it already; the copy is put together and
// written on a thread of its own, so the user's work never waits for the
// disk. Nothing is written while a command runs or while `busy` says so (a
// label being dragged).
//
// At start-up it offers the copies editors that no longer run have left:
// "Obnovit neuložené změny dokumentu ...?" with the document's full path.
// Yes opens the copy as a modified document bound to the file it came from;
// No removes it for good, as the question says. A copy that cannot be read or opened is set aside, not
// deleted, and the user is told where it is.
//
// A copy that cannot be written (the folder on a full or read-only file
// system, the folder not to be made) is told once, with the folder and the
// cause: the work is not protected against a crash. protectedChanged says
// so for the caption meanwhile; the next copy written is told too.
class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    static constexpr int quietDelay = 2000;    // ms
    static constexpr int longestDelay = 10000; // ms

    RecoveryKeeper(Session &session, RecoveryStore &store, QObject *parent = nullptr);
    // Waits for the copy being written.
    ~RecoveryKeeper() override;

    void setDelays(int quiet, int longest);
    std::function<bool()> busy;

    // Writes the copy now, if there is anything unsaved, and waits for it:
    // the session ends without a question.
    void flush();
    // The copy goes (the editor closes after the question was answered).
    void discard();
    // The editor is being ended without a question (a termination signal):
    // the copy is written now, and a question about a left copy that was
    // open meanwhile counts as not answered (the copies stay).
    void endSession();
    bool ending() const { return m_ending; }

    // Offers the left copies until one is taken: those of the document
    // `preferred` names first (the one the editor is about to open), then
    // the newest first. The file the restored document came from (empty:
    // untitled); nullopt when none was restored.
    std::optional<QString> offerLeftCopies(Diagram &diagram, DocumentViews &views, const QString &preferred = {});

    inline static const QString restoreQuestion =
        QStringLiteral("Obnovit neuložené změny dokumentu „%1“?\nOdpověď Ne kopii těchto změn natrvalo smaže.");
    inline static const QString unprotected =
        QStringLiteral("Kopii neuložených změn nelze zapsat do složky „%1“: %2. Práce není chráněna pro případ "
                       "pádu programu.");
    inline static const QString protectedAgain =
        QStringLiteral("Kopie neuložených změn se opět zapisuje do složky „%1“. Práce je znovu chráněna pro "
                       "případ pádu programu.");
    // The copy, then the document when its head names one.
    inline static const QString damagedCopySetAside =
        QStringLiteral("Kopii neuložených změn „%1“ nelze přečíst. Byla odložena jako „%2“.");
    inline static const QString damagedCopyKept = QStringLiteral("Kopii neuložených změn „%1“ nelze přečíst.");
    inline static const QString damagedCopyOf = QStringLiteral(" Patří k dokumentu „%1“.");

    bool writePending() const { return m_timer.isActive(); }

    // The recovery store could not be opened: told as a copy that cannot be
    // written; the store is tried again at the next change.
    void storeUnavailable();
    // False from the first copy that could not be written until one is.
    bool protects() const { return !m_unprotected; }

signals:
    // A copy was written (ok) or could not be; a copy was removed.
    void written(bool ok);
    void removed();
    void protectedChanged(bool protects);

private:
    void documentChanged();
    void stateChanged();
    void timeout();
    void post(std::function<void()> task, bool wait = false);
    void setAside(const QString &path);
    // The user told when a copy first fails and when one is written again.
    void report(bool ok, const QString &cause);

    Session &m_session;
    RecoveryStore &m_store;
    QTimer m_timer;
    QElapsedTimer m_firstChange;
    int m_quiet = quietDelay;
    int m_longest = longestDelay;
    bool m_copyExists = false;
    bool m_ending = false;
    bool m_unprotected = false;
    QThread m_thread;
    QObject *m_worker = nullptr; // lives in m_thread
};
