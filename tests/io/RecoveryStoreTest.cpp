#include "io/RecoveryStore.h"

#include "FileBytes.h"
#include "SampleLine.h"

#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

DocumentSnapshot smallSnapshot()
{
    Document doc;
    SampleLine::fill(doc, {4, 20, 3, 4});
    return DocumentSnapshot::take(doc);
}

// Lock files as editors leave them when they end without their clean-up:
// taken by a process that is gone.
void leaveLocksOfAnEndedEditor(const QStringList &paths)
{
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // Never unlocked: the locks die with the process, their files stay.
        for (const QString &path : paths)
            if (!(new QLockFile(path))->tryLock(0))
                _exit(1);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace

// The file the document came from and its stamp come back with the
// snapshot; a copy of the layout written before the stamp has none; a cut
// or foreign file is no copy.
TEST(RecoveryStore, CopyHoldsTheOriginalItsStampAndTheSnapshot)
{
    const DocumentSnapshot snapshot = smallSnapshot();
    const struct
    {
        QString original;
        FileStamp stamp;
    } rows[] = {{QStringLiteral("/home/u/tratě/lt.vrs"), FileStamp{1234, 1700000000123}}, {QString(), FileStamp()}};
    for (const auto &r : rows) {
        const QByteArray bytes = RecoveryStore::encode(r.original, r.stamp, snapshot);
        const std::optional<RecoveryStore::Copy> copy = RecoveryStore::decode(bytes);
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->originalPath, r.original);
        EXPECT_EQ(copy->stamp, r.stamp);
        EXPECT_EQ(copy->snapshot.serialize(), snapshot.serialize());
        for (qsizetype cut : {qsizetype(0), qsizetype(10), qsizetype(24), qsizetype(30), bytes.size() - 1})
            EXPECT_FALSE(RecoveryStore::decode(bytes.left(cut))) << cut;
    }

    const QByteArray name = QStringLiteral("/a/b.vrs").toUtf8();
    QByteArray earlier("Vlakorys recovery 1\n");
    const int32_t length = qToLittleEndian(static_cast<int32_t>(name.size()));
    earlier.append(reinterpret_cast<const char *>(&length), 4).append(name).append(snapshot.serialize());
    const std::optional<RecoveryStore::Copy> old = RecoveryStore::decode(earlier);
    ASSERT_TRUE(old);
    EXPECT_EQ(std::pair(old->originalPath, old->stamp.isValid()), std::pair(QStringLiteral("/a/b.vrs"), false));
    EXPECT_EQ(old->snapshot.serialize(), snapshot.serialize());

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("c.recovery"));
    FileBytes::write(file, RecoveryStore::encode(QStringLiteral("/x/ý.vrs"), FileStamp{1, 2}, snapshot));
    EXPECT_EQ(RecoveryStore::originalPathOf(file), QStringLiteral("/x/ý.vrs"));
    FileBytes::write(file, earlier);
    EXPECT_EQ(RecoveryStore::originalPathOf(file), QStringLiteral("/a/b.vrs"));
    FileBytes::write(file, "Vlakorys recovery 2\n\xff\xff\xff\x7f");
    EXPECT_FALSE(RecoveryStore::originalPathOf(file));
}

// A copy nothing can be read from is kept under another name and never
// offered again.
TEST(RecoveryStore, DamagedCopyIsSetAsideNotDeleted)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("editor-1-0000dead.recovery"));
    FileBytes::write(copy, "Vlakorys recovery 2\npoškozeno");
    RecoveryStore store(dir.path());
    ASSERT_TRUE(store.open());
    ASSERT_EQ(store.leftCopies(), std::vector<QString>{copy});
    const QString aside = store.setAsideLeft(copy);
    EXPECT_EQ(aside, copy + QStringLiteral(".damaged"));
    EXPECT_EQ(FileBytes::read(aside), QByteArray("Vlakorys recovery 2\npoškozeno"));
    EXPECT_FALSE(QFile::exists(copy));
    store.releaseLeft();
    EXPECT_TRUE(RecoveryStore(dir.path()).leftCopies().empty());
    // A second damaged copy of the same name does not replace the first.
    FileBytes::write(copy, "x");
    ASSERT_EQ(store.leftCopies(), std::vector<QString>{copy});
    EXPECT_EQ(store.setAsideLeft(copy), copy + QStringLiteral(".damaged2"));
}

// Opening the store removes the locks of editors that ended without a copy;
// a running editor's lock stays, and so does the lock of a left copy until
// the copy is offered.
TEST(RecoveryStore, LocksOfEndedEditorsGoAtTheNextStart)
{
    QTemporaryDir dir;
    const QString ended = dir.filePath(QStringLiteral("editor-7-00000001.lock"));
    const QString leftLock = dir.filePath(QStringLiteral("editor-8-00000002.lock"));
    const QString leftCopy = dir.filePath(QStringLiteral("editor-8-00000002.recovery"));
    leaveLocksOfAnEndedEditor({ended, leftLock});
    FileBytes::write(leftCopy, RecoveryStore::encode(QString(), FileStamp(), smallSnapshot()));
    QLockFile running(dir.filePath(QStringLiteral("editor-9-00000003.lock")));
    running.setStaleLockTime(0);
    ASSERT_TRUE(running.tryLock(0));
    ASSERT_TRUE(QFile::exists(ended));

    RecoveryStore store(dir.path());
    ASSERT_TRUE(store.open());
    const QString own = QFileInfo(store.path()).completeBaseName() + QStringLiteral(".lock");
    QStringList expected{QStringLiteral("editor-8-00000002.lock"), QStringLiteral("editor-8-00000002.recovery"),
                         QStringLiteral("editor-9-00000003.lock"), own};
    expected.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
    EXPECT_EQ(store.leftCopies(), std::vector<QString>{leftCopy});
}
