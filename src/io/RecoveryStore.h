#pragma once

#include "DocumentSnapshot.h"
#include "FileStamp.h"
#include "SafeFile.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <vector>

class QLockFile;

// Recovery copies of unsaved documents in $XDG_STATE_HOME/vlakorys (by
// default ~/.local/state/vlakorys), never beside the user's files. Every
// running editor has a copy of its own, named for the process, and holds a
// lock file beside it while it runs (QLockFile); two editors never share a
// copy. A copy whose lock nobody holds was left by an editor that ended
// without cleaning up after itself (killed, crashed, its session gone) and
// is offered at the next start; while one editor offers it, it holds its
// lock, so no other editor offers it too. A copy that cannot be read is set
// aside under another name (suffix ".damaged") rather than deleted, and is
// not offered again. Lock files of editors that ended without a copy go at
// the next start.
//
// A copy holds the file the document came from (empty when untitled), that
// file's stamp as the editor knew it, and the document's snapshot; it is
// written whole through SafeFile, so it is either the old copy or the new
// one, never half of either.
class RecoveryStore
{
public:
    static QString defaultDirectory();

    explicit RecoveryStore(QString directory = defaultDirectory());
    // Releases this editor's lock; its copy stays where it is unless it was
    // removed (a session that ended without a question keeps it).
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // Makes the directory (readable by its owner only), takes this editor's
    // name and lock, and removes the lock files editors that no longer run
    // left without a copy. False when that is impossible; the editor then
    // runs without recovery copies; openCause() says why, in the program's
    // words ("systém souborů je jen pro čtení"), empty when the system gave
    // no cause.
    bool open();
    const QString &openCause() const { return m_openCause; }
    bool isOpen() const { return !m_path.isEmpty(); }
    const QString &directory() const { return m_directory; }
    // This editor's copy.
    const QString &path() const { return m_path; }

    // Copies left by editors that no longer run, the newest first. Each is
    // locked for this editor until it is removed or released.
    std::vector<QString> leftCopies();
    // A left copy and its lock go.
    void removeLeft(const QString &path);
    // A left copy that cannot be read is renamed (suffix ".damaged") and
    // its lock goes; the new name, empty when it could not be renamed.
    QString setAsideLeft(const QString &path);
    // The left copies not removed wait for the next start.
    void releaseLeft();

    struct Copy
    {
        QString originalPath; // empty: untitled
        FileStamp stamp;      // invalid: not known
        DocumentSnapshot snapshot;
    };
    static QByteArray encode(const QString &originalPath, const FileStamp &stamp, const DocumentSnapshot &snapshot);
    static std::optional<Copy> decode(const QByteArray &bytes);
    static std::optional<Copy> read(const QString &path);
    // The file a copy's document came from, read from its head alone;
    // nullopt when the head cannot be read.
    static std::optional<QString> originalPathOf(const QString &path);
    // Any thread.
    static SafeFile::Result write(const QString &path, const QByteArray &bytes);

    static constexpr char suffix[] = ".recovery";
    static constexpr char damagedSuffix[] = ".damaged";

private:
    static QString lockPathOf(const QString &copyPath);
    void removeStaleLocks();

    QString m_directory;
    QString m_path;
    QString m_openCause;
    std::unique_ptr<QLockFile> m_lock;
    std::map<QString, std::unique_ptr<QLockFile>> m_held;
};
