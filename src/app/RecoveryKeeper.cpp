#include "RecoveryKeeper.h"

#include "FileCommands.h"
#include "Session.h"

#include "dialogs/Prompter.h"
#include "io/RecoveryStore.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>

RecoveryKeeper::RecoveryKeeper(Session &session, RecoveryStore &store, QObject *parent)
    : QObject(parent), m_session(session), m_store(store)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::timeout);
    connect(&session.history, &EditHistory::documentChanged, this, &RecoveryKeeper::documentChanged);
    connect(&session.history, &EditHistory::changed, this, &RecoveryKeeper::stateChanged);
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("RecoveryWriter"));
    m_thread.start(QThread::LowPriority);
}

RecoveryKeeper::~RecoveryKeeper()
{
    post([] {}, true); // what was asked for is done
    m_thread.quit();
    m_thread.wait();
}

void RecoveryKeeper::setDelays(int quiet, int longest)
{
    m_quiet = quiet;
    m_longest = longest;
}

void RecoveryKeeper::post(std::function<void()> task, bool wait)
{
    QMetaObject::invokeMethod(m_worker, std::move(task), wait ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

void RecoveryKeeper::documentChanged()
{
    if (!FileCommands::hasUnsavedChanges(m_session))
        return;
    if (!m_timer.isActive())
        m_firstChange.start();
    const qint64 left = m_longest - m_firstChange.elapsed();
    m_timer.start(static_cast<int>(std::clamp<qint64>(left, 0, m_quiet)));
}

void RecoveryKeeper::stateChanged()
{
    if (FileCommands::hasUnsavedChanges(m_session))
        return;
    m_timer.stop();
    if (m_copyExists)
        discard();
}

void RecoveryKeeper::timeout()
{
    if (!m_store.isOpen() || !FileCommands::hasUnsavedChanges(m_session))
        return;
    if (m_session.history.inCommand() || (busy && busy())) {
        m_timer.start(250); // once the command or the drag is over
        return;
    }
    std::shared_ptr<const DocumentSnapshot> snapshot = m_session.history.current();
    if (!snapshot)
        snapshot = std::make_shared<const DocumentSnapshot>(DocumentSnapshot::take(m_session.document));
    const QString original = m_session.document.untitled ? QString() : m_session.fileName;
    const QString path = m_store.path();
    m_copyExists = true;
    post([this, snapshot, original, path] {
        const bool ok = RecoveryStore::write(path, RecoveryStore::encode(original, *snapshot));
        QMetaObject::invokeMethod(
            this, [this, ok] { emit written(ok); }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::flush()
{
    if (!m_store.isOpen() || !FileCommands::hasUnsavedChanges(m_session))
        return;
    m_timer.stop();
    const DocumentSnapshot snapshot = DocumentSnapshot::take(m_session.document);
    const QString original = m_session.document.untitled ? QString() : m_session.fileName;
    const QString path = m_store.path();
    m_copyExists = true;
    bool ok = false;
    post([&] { ok = RecoveryStore::write(path, RecoveryStore::encode(original, snapshot)); }, true);
    emit written(ok);
}

void RecoveryKeeper::discard()
{
    m_timer.stop();
    if (!m_store.isOpen())
        return;
    const QString path = m_store.path();
    m_copyExists = false;
    post([path] { QFile::remove(path); }, true);
    emit removed();
}

bool RecoveryKeeper::offerLeftCopies(DocumentWindow &window)
{
    for (const QString &path : m_store.leftCopies()) {
        const std::optional<RecoveryStore::Copy> copy = RecoveryStore::read(path);
        if (!copy) {
            m_store.removeLeft(path); // nothing in it can be given back
            continue;
        }
        const QString name =
            copy->originalPath.isEmpty() ? FileCommands::untitledName : QFileInfo(copy->originalPath).fileName();
        if (!m_session.prompter.askYesNo(restoreQuestion.arg(name))
            || !FileCommands::openRecovered(m_session, window, copy->snapshot, copy->originalPath)) {
            m_store.removeLeft(path);
            continue;
        }
        // The document is this editor's now: its copy under this editor's
        // name first, then the old one goes.
        flush();
        m_store.removeLeft(path);
        m_store.releaseLeft();
        return true;
    }
    m_store.releaseLeft();
    return false;
}
