#include "ByteBuilder.h"
#include "DocumentFixtures.h"
#include "FileBytes.h"

#include "io/DocumentSnapshot.h"
#include "io/RecoveryStore.h"
#include "model/Document.h"

#include "SampleLine.h"

#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// A line with labels whose images are set by hand (rows of runs no
// imaging makes), profiles beyond the counts in use, and a station without
// a kind record.
void fillDocument(Document &doc)
{
    SampleLine::fill(doc, {6, 40, 5, 6});
    doc.settings.saveLabelImages = 1; // a save writes the images
    int n = 0;
    for (const Train &t : doc.trains) {
        TrainLabel &l =
            DocumentFixtures::addLabel(doc, t.name.toByteArray().constData(), t.firstTime, 3.25 + n, -0.5 + 0.1 * n);
        if (n++ % 2 == 0) {
            l.imageCodes = {2, uint8_t(n), 0, 1, 0};
            l.imageValues = {200, uint8_t(10 * n), 7};
            l.imageColour = 0x0000FF * n;
            l.width = 3;
            l.height = 2;
        }
    }
    doc.profiles.countOf(1) = 1;
    doc.profiles.at(1, 1).name = "Osobní";
    doc.profiles.at(1, 1).runTimeAt(2) = 7;
    doc.profiles.at(1, 3).name = "Mimo"; // beyond the count: not in a file
    doc.profiles.at(1, 3).dwellAt(5) = 0;
    doc.profiles.at(2, 99).runTimeAt(99) = 3;
    doc.settings.penThick = 5;
    doc.settings.timeFontName = "Liberation Sans";
    doc.stationKinds.pop_front(); // station 1 without a kind record
    doc.linkStationKinds();
}

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

// Restored over another document, through its bytes, with the view kept or
// taken.
TEST(DocumentSnapshotTest, RestoresTheDocumentExactlyThroughItsBytes)
{
    Document doc;
    fillDocument(doc);
    const QByteArray before = FileBytes::of(doc);
    const std::optional<DocumentSnapshot> snapshot =
        DocumentSnapshot::deserialize(DocumentSnapshot::take(doc).serialize());
    ASSERT_TRUE(snapshot);
    const DocumentSettings view{
        .zoom = 9, .ratioX = 3, .ratioY = 7, .showTimeLabels = 1, .smoothing = 1, .showCategory = 0};
    const auto viewOf = [](const DocumentSettings &s) {
        return std::tuple(s.zoom, s.ratioX, s.ratioY, s.showTimeLabels, s.smoothing, s.showCategory);
    };
    for (const bool keep : {true, false}) {
        Document other;
        SampleLine::fill(other, {9, 90, 12, 8});
        other.newTrainLabel().text = "X";
        other.settings = view;
        ASSERT_TRUE(snapshot->restore(other, keep ? DocumentSnapshot::View::Keep : DocumentSnapshot::View::Take));
        EXPECT_EQ(viewOf(other.settings), viewOf(keep ? view : doc.settings));
        // The document's own settings come back either way.
        EXPECT_EQ(std::tuple(other.settings.penThick, other.settings.timeFontName),
                  std::tuple(uint8_t(5), QByteArray("Liberation Sans")));
        // Images drawn without "Vyhlazení" do not fit a view that smooths.
        EXPECT_EQ(other.trainLabels.back().hasImage(), !keep);
        if (!keep) {
            EXPECT_EQ(FileBytes::of(other), before); // labels in their order, with their images
        }
        // And what no file holds: profiles beyond the counts, a station without
        // a kind record (none is made for it), the derived tables.
        EXPECT_EQ(std::tuple(other.profiles.at(1, 3).name.toByteArray(), other.profiles.at(1, 3).dwellAt(5),
                             other.profiles.at(2, 99).runTimeAt(99), other.profiles.countOf(1)),
                  std::tuple(QByteArray("Mimo"), 0, 3, 1));
        EXPECT_EQ(std::tuple(other.stations.front().kind, other.stations[1].kind),
                  std::tuple(nullptr, other.findKind(2)));
        EXPECT_EQ(std::tuple(other.maxMetres, other.trainCount, other.noDocument, other.timeLabels.size()),
                  std::tuple(40000, 5, false, 0u));
    }
}

// Changes to what the program makes again count for nothing; edits count.
// Every cut of the bytes is refused, and so is a damaged content.
TEST(DocumentSnapshotTest, ContentAloneCountsAndDamagedBytesAreRefused)
{
    Document doc;
    fillDocument(doc);
    const DocumentSnapshot first = DocumentSnapshot::take(doc);
    const std::tuple<const char *, bool, std::function<void(Document &)>> changes[]{
        {"an image drawn", true, [](Document &d) { d.trainLabels[1].imageCodes.assign(2, 1); }},
        {"time labels", true, [](Document &d) { d.newTimeLabel(); }},
        {"label position on screen", true, [](Document &d) { d.trainLabels[0].x = 77; }},
        {"a label moved", false, [](Document &d) { d.trainLabels[2].time += 1.0 / 1440; }},
        {"a profile count", false, [](Document &d) { d.profiles.countOf(1) = 2; }},
        {"a profile beyond the count", false, [](Document &d) { d.profiles.at(1, 7).runTimeAt(1) = 1; }},
        {"no document", false, [](Document &d) { d.noDocument = true; }},
        {"a pen", false, [](Document &d) { d.settings.penThin = 4; }},
    };
    for (const auto &[what, same, change] : changes) {
        Document d;
        ASSERT_TRUE(first.restore(d, DocumentSnapshot::View::Take));
        change(d);
        EXPECT_EQ(DocumentSnapshot::take(d).sameContent(first), same) << what;
    }
    const QByteArray bytes = first.serialize();
    for (qsizetype cut : {qsizetype(0), qsizetype(5), bytes.size() / 2, bytes.size() - 1})
        EXPECT_FALSE(DocumentSnapshot::deserialize(bytes.left(cut))) << cut;
    QByteArray damaged = bytes;
    damaged[30] = char(0x7F); // inside the content's header
    const std::optional<DocumentSnapshot> bad = DocumentSnapshot::deserialize(damaged);
    ASSERT_TRUE(bad);
    const QByteArray kept = FileBytes::of(doc);
    EXPECT_FALSE(bad->restore(doc, DocumentSnapshot::View::Take));
    EXPECT_EQ(FileBytes::of(doc), kept);
}

// The file the document came from and its stamp come back with the
// snapshot; a copy of the layout written before the stamp has none; a cut
// or foreign file is no copy.
TEST(RecoveryStore, CopyHoldsTheOriginalItsStampAndTheSnapshot)
{
    const DocumentSnapshot snapshot = smallSnapshot();
    const std::tuple<QString, FileStamp> rows[] = {
        {QStringLiteral("/home/u/tratě/lt.vrs"), FileStamp{1234, 1700000000123}}, {QString(), FileStamp()}};
    for (const auto &[original, stamp] : rows) {
        const QByteArray bytes = RecoveryStore::encode(original, stamp, snapshot);
        const std::optional<RecoveryStore::Copy> copy = RecoveryStore::decode(bytes);
        ASSERT_TRUE(copy);
        EXPECT_EQ(std::tuple(copy->originalPath, copy->stamp, copy->snapshot.serialize()),
                  std::tuple(original, stamp, snapshot.serialize()));
        for (qsizetype cut : {qsizetype(0), qsizetype(10), qsizetype(24), qsizetype(30), bytes.size() - 1})
            EXPECT_FALSE(RecoveryStore::decode(bytes.left(cut))) << cut;
    }

    const QByteArray earlier =
        ByteBuilder().raw("Vlakorys recovery 1\n").i32(8).raw("/a/b.vrs").raw(snapshot.serialize()).bytes();
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
