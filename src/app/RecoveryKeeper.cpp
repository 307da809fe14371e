#include "RecoveryKeeper.h"

#include "FileCommands.h"
#include "Session.h"

#include "dialogs/Prompter.h"
#include "io/FileMessages.h"
#include "io/RecoveryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
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

void RecoveryKeeper::storeUnavailable()
{
    report(false, m_store.openCause());
}

void RecoveryKeeper::report(bool ok, const QString &cause)
{
    if (ok == !m_unprotected)
        return;
    m_unprotected = !ok;
    emit protectedChanged(ok);
    if (m_ending)
        return; // no question while the session ends
    const QString folder = QDir::toNativeSeparators(m_store.directory());
    if (ok)
        m_session.prompter.information(protectedAgain.arg(folder));
    else
        m_session.prompter.error(
            unprotected.arg(folder, cause.isEmpty() ? FileMessages::cause(EIO) : cause));
}

void RecoveryKeeper::timeout()
{
    if (!FileCommands::hasUnsavedChanges(m_session))
        return;
    if (!m_store.isOpen() && !m_store.open()) {
        storeUnavailable();
        return;
    }
    if (m_session.history.inCommand() || (busy && busy())) {
        m_timer.start(250); // once the command or the drag is over
        return;
    }
    std::shared_ptr<const DocumentSnapshot> snapshot = m_session.history.current();
    if (!snapshot)
        snapshot = std::make_shared<const DocumentSnapshot>(DocumentSnapshot::take(m_session.document));
    const QString original = m_session.document.untitled ? QString() : m_session.fileName;
    const FileStamp stamp = m_session.document.untitled ? FileStamp() : m_session.fileStamp;
    const QString path = m_store.path();
    m_copyExists = true;
    post([this, snapshot, original, stamp, path] {
        const SafeFile::Result result = RecoveryStore::write(path, RecoveryStore::encode(original, stamp, *snapshot));
        QMetaObject::invokeMethod(
            this,
            [this, result] {
                report(result.ok(), result.cause);
                emit written(result.ok());
            },
            Qt::QueuedConnection);
    });
}

void RecoveryKeeper::flush()
{
    if (!m_store.isOpen() || !FileCommands::hasUnsavedChanges(m_session))
        return;
    m_timer.stop();
    const DocumentSnapshot snapshot = DocumentSnapshot::take(m_session.document);
    const QString original = m_session.document.untitled ? QString() : m_session.fileName;
    const FileStamp stamp = m_session.document.untitled ? FileStamp() : m_session.fileStamp;
    const QString path = m_store.path();
    m_copyExists = true;
    SafeFile::Result result;
    post([&] { result = RecoveryStore::write(path, RecoveryStore::encode(original, stamp, snapshot)); }, true);
    report(result.ok(), result.cause);
    emit written(result.ok());
}

void RecoveryKeeper::endSession()
{
    m_ending = true;
    flush();
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

std::optional<QString> RecoveryKeeper::offerLeftCopies(Diagram &diagram, DocumentViews &views, const QString &preferred)
{
    std::vector<QString> left = m_store.leftCopies();
    // The document the editor was asked to open first: its copy is the one
    // the user most likely wants back.
    if (!preferred.isEmpty())
        std::stable_partition(left.begin(), left.end(), [&preferred](const QString &path) {
            const std::optional<QString> original = RecoveryStore::originalPathOf(path);
            return original && FileStamp::sameFile(*original, preferred);
        });
    for (const QString &path : left) {
        const std::optional<RecoveryStore::Copy> copy = RecoveryStore::read(path);
        if (!copy) {
            setAside(path);
            continue;
        }
        const QString name =
            copy->originalPath.isEmpty() ? FileCommands::untitledName : QDir::toNativeSeparators(copy->originalPath);
        const bool restore = m_session.prompter.askYesNo(restoreQuestion.arg(name));
        if (m_ending)
            break; // the question was closed by the end, not answered
        if (!restore) {
            m_store.removeLeft(path);
            continue;
        }
        if (!FileCommands::openRecovered(m_session, diagram, views, copy->snapshot, copy->originalPath, copy->stamp)) {
            setAside(path);
            continue;
        }
        // The document is this editor's now: its copy under this editor's
        // name first, then the old one goes.
        flush();
        m_store.removeLeft(path);
        m_store.releaseLeft();
        return copy->originalPath;
    }
    m_store.releaseLeft();
    return std::nullopt;
}

// Work that cannot be given back now may still be read by other means: it
// is kept, under a name that is not offered again, and the user is told.
void RecoveryKeeper::setAside(const QString &path)
{
    const std::optional<QString> original = RecoveryStore::originalPathOf(path);
    const QString kept = m_store.setAsideLeft(path);
    QString text = kept.isEmpty()
                       ? damagedCopyKept.arg(QDir::toNativeSeparators(path))
                       : damagedCopySetAside.arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(kept));
    if (original)
        text += damagedCopyOf.arg(original->isEmpty() ? FileCommands::untitledName
                                                      : QDir::toNativeSeparators(*original));
    m_session.prompter.error(text);
}
