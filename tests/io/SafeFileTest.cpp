// Every writer on a disk that fills up: the old file stays, no temporary
// file is left, and the failure comes back with its cause. The disk is
// filled by a file size limit in-process, and, where the system lets the
// test mount one in a namespace of its own, on a real tmpfs of 256 KiB.
#include "FileBytes.h"

#include "io/BitmapFile.h"
#include "io/DocumentFile.h"
#include "io/PictureFile.h"
#include "io/PngFile.h"
#include "io/RecoveryStore.h"
#include "io/SafeFile.h"
#include "io/SettingsFile.h"
#include "io/WholeFile.h"
#include "model/Document.h"

#include "FileSizeLimit.h"
#include "SampleLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <unistd.h>

namespace {

// Takes `room` bytes and fails every write after them, the first one short,
// as write(2) does on a full disk.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override
    {
        const qint64 taken = std::min(len, m_room - m_taken);
        if (taken <= 0)
            return -1;
        m_taken += taken;
        return taken;
    }

private:
    qint64 m_room;
    qint64 m_taken = 0;
};

QImage manyColours()
{
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) % 256));
    return image;
}

QImage fewColours()
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(3, 4, qRgb(0, 0, 255));
    return image;
}

// Four stations and two trains: a few hundred bytes.
QByteArray smallDocumentBytes()
{
    Document doc;
    SampleLine::fill(doc, {4, 12, 2, 4});
    return FileBytes::of(doc);
}

void fillSmall(Document &doc)
{
    SampleLine::fill(doc, {4, 12, 2, 4});
}

PictureFile::Picture picture()
{
    return {QSize(40, 30),
            [](QPainter &p) {
                p.drawLine(0, 0, 40, 30);
                p.drawText(5, 20, QStringLiteral("Os 1"));
            },
            {}};
}

// A writer of the program by its file, with the bytes of an older file of
// that name it must leave alone.
struct Writer
{
    const char *file;
    QByteArray old;
    std::function<SafeFile::Result(const QString &path)> write;
};

std::vector<Writer> everyWriter()
{
    const auto picture = [](PictureFile::Format format) {
        return [format](const QString &path) {
            const PictureFile::Outcome out = PictureFile::write(path, format, ::picture(), QStringLiteral("Trať"), 75);
            return SafeFile::Result{
                out.status == PictureFile::Status::Ok ? SafeFile::Failure::None : SafeFile::Failure::Write, out.cause};
        };
    };
    return {
        {"trať.vrs", smallDocumentBytes(),
         [](const QString &path) {
             Document doc;
             fillSmall(doc);
             const DocumentFile::SaveOutcome out = DocumentFile::save(doc, path);
             return SafeFile::Result{out.status == DocumentFile::Status::Ok ? SafeFile::Failure::None
                                                                            : SafeFile::Failure::Write,
                                     out.cause};
         }},
        {"Vlakorys.ini", "[Nastaveni]\nMeritko=4\n",
         [](const QString &path) { return SettingsFile(path).writeZoom(9); }},
        {"editor.recovery", "old copy",
         [](const QString &path) {
             Document doc;
             fillSmall(doc);
             const QByteArray copy = RecoveryStore::encode(path, FileStamp{}, DocumentSnapshot::take(doc));
             return RecoveryStore::write(path, copy);
         }},
        {"okno.bmp", "old bitmap", [](const QString &path) { return BitmapFile::write(fewColours(), path); }},
        {"okno.png", "old png", [](const QString &path) { return PngFile::write(fewColours(), path); }},
        {"list.pdf", "old pdf", picture(PictureFile::Format::Pdf)},
        {"list.svg", "old svg", picture(PictureFile::Format::Svg)},
        {"list.png", "old png", picture(PictureFile::Format::Png)},
        {"list.bmp", "old bmp", picture(PictureFile::Format::Bmp)},
    };
}

// Every writer writes over its old file in dir after fillDisk; each fails
// with the cause, keeps the old bytes and leaves nothing else behind.
void everyWriterKeepsItsOldFile(const QString &dir, const std::function<void(const std::function<void()> &)> &fullDisk,
                                const QString &cause)
{
    const std::vector<Writer> writers = everyWriter();
    QStringList files;
    for (const Writer &w : writers) {
        FileBytes::write(QDir(dir).filePath(QString::fromUtf8(w.file)), w.old);
        files << QString::fromUtf8(w.file);
    }
    std::vector<SafeFile::Result> results;
    fullDisk([&] {
        for (const Writer &w : writers)
            results.push_back(w.write(QDir(dir).filePath(QString::fromUtf8(w.file))));
    });
    ASSERT_EQ(results.size(), writers.size());
    for (size_t i = 0; i < writers.size(); ++i) {
        const Writer &w = writers[i];
        const SafeFile::Result &r = results[i];
        EXPECT_FALSE(r.ok()) << w.file;
        EXPECT_EQ(r.cause, cause) << w.file;
        EXPECT_EQ(FileBytes::read(QDir(dir).filePath(QString::fromUtf8(w.file))), w.old) << w.file;
    }
    files.sort();
    QStringList left = QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    left.removeAll(QStringLiteral("fill"));
    EXPECT_EQ(left, files) << "no temporary file is left";
}

// The name of the environment variable that holds the mounted tmpfs in the
// copy of this test run inside a mount namespace.
constexpr const char *tmpfsVariable = "VLAKORYS_TEST_FULL_TMPFS";

} // namespace

TEST(SafeFile, WritesAndReplacesWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.vrs"));
    FileBytes::write(path, "old");
    const auto leftAlone = [&] {
        EXPECT_EQ(FileBytes::read(path), QByteArray("old"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.vrs"});
    };

    // Content that cannot be made: no cause of the system's.
    const SafeFile::Result refused = SafeFile::write(path, [](QIODevice &d) { return d.write("half") == 4 && false; });
    EXPECT_EQ(std::pair(refused.failure, refused.cause), std::pair(SafeFile::Failure::Write, QString()));
    leftAlone();

    // The replacement itself fails: a directory has taken the file's place
    // (the temporary file is made before it came).
    const QString other = dir.filePath(QStringLiteral("b.vrs"));
    const SafeFile::Result blocked = SafeFile::write(
        other, [&](QIODevice &d) { return QDir(dir.path()).mkpath(QStringLiteral("b.vrs/x")) && d.write("new") == 3; });
    EXPECT_EQ(blocked.failure, SafeFile::Failure::Write);
    EXPECT_FALSE(blocked.cause.isEmpty());
    ASSERT_TRUE(QDir(other).removeRecursively());
    leftAlone();

    const struct
    {
        QString path;
        QString cause;
    } cannotCreate[] = {
        {dir.filePath(QStringLiteral("chybí/a.vrs")), QStringLiteral("soubor nebo adresář neexistuje")},
        {dir.path(), QStringLiteral("je to adresář")},
    };
    for (const auto &c : cannotCreate) {
        const SafeFile::Result r = SafeFile::write(c.path, QByteArrayView("x"));
        EXPECT_EQ(std::pair(r.failure, r.cause), std::pair(SafeFile::Failure::Create, c.cause));
    }
    leftAlone();

    ASSERT_TRUE(SafeFile::write(path, QByteArrayView("new")));
    EXPECT_EQ(FileBytes::read(path), QByteArray("new"));
}

TEST(SafeFile, EveryWriterSaysWhenItsDeviceFails)
{
    Document doc;
    fillSmall(doc);
    const std::pair<const char *, std::function<bool(QIODevice &)>> writers[] = {
        {"document", [&](QIODevice &d) { return DocumentWriter::write(doc, d); }},
        {"png of a palette", [](QIODevice &d) { return PngFile::write(fewColours(), d); }},
        {"png of many colours", [](QIODevice &d) { return PngFile::write(manyColours(), d); }},
        {"bitmap", [](QIODevice &d) { return BitmapFile::write(fewColours(), d); }},
    };
    for (const auto &[name, write] : writers) {
        for (qint64 room : {0, 100}) {
            FailingDevice device(room);
            EXPECT_FALSE(write(device)) << name << " with room for " << room << " bytes";
        }
    }
}

TEST(SafeFile, EveryWriterKeepsTheOldFileWhenFilesCannotGrow)
{
    QTemporaryDir dir;
    everyWriterKeepsItsOldFile(
        dir.path(),
        [](const std::function<void()> &write) {
            const FileSizeLimit full(16);
            write();
        },
        qt_error_string(EFBIG));
}

TEST(SafeFile, EveryWriterKeepsTheOldFileOnAFullTmpfs)
{
    const QString mounted = qEnvironmentVariable(tmpfsVariable);
    if (!mounted.isEmpty()) {
        // This is the copy in the namespace: the tmpfs is mounted; the old
        // files are written first, then the disk is filled.
        everyWriterKeepsItsOldFile(
            mounted,
            [&](const std::function<void()> &write) {
                QFile fill(QDir(mounted).filePath(QStringLiteral("fill")));
                ASSERT_TRUE(fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
                const QByteArray block(4096, 'x');
                while (fill.write(block) == block.size()) {
                }
                while (fill.write(block.constData(), 1) == 1) {
                }
                write();
            },
            QStringLiteral("disk je plný"));
        return;
    }

    // A mount namespace of this test's own (never the system's mounts):
    // as an unprivileged user with a user namespace, or as root.
    QTemporaryDir dir;
    const QStringList tries[] = {{QStringLiteral("-rm")}, {QStringLiteral("-m")}};
    QStringList unshare;
    for (const QStringList &t : tries) {
        if (QProcess::execute(QStringLiteral("unshare"), t + QStringList{QStringLiteral("true")}) == 0) {
            unshare = t;
            break;
        }
    }
    if (unshare.isEmpty())
        GTEST_SKIP() << "unshare cannot make a mount namespace here (no user namespaces, not root): the full tmpfs "
                        "is not tried";
    QProcess copy;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(tmpfsVariable), dir.path());
    copy.setProcessEnvironment(env);
    copy.setProcessChannelMode(QProcess::MergedChannels);
    copy.start(QStringLiteral("unshare"),
               unshare
                   + QStringList{QStringLiteral("sh"), QStringLiteral("-c"),
                                 QStringLiteral("mount -t tmpfs -o size=256k vlakorys \"$1\" || exit 77; shift; "
                                                "exec \"$@\""),
                                 QStringLiteral("sh"), dir.path(), QCoreApplication::applicationFilePath(),
                                 QStringLiteral("--gtest_filter=SafeFile.EveryWriterKeepsTheOldFileOnAFullTmpfs")});
    ASSERT_TRUE(copy.waitForFinished(120000));
    const QByteArray output = copy.readAll();
    if (copy.exitCode() == 77)
        GTEST_SKIP() << "a tmpfs cannot be mounted here: " << output.constData();
    EXPECT_EQ(copy.exitCode(), 0) << output.constData();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.constData();
}

TEST(WholeFile, ReadsUpToItsBoundAndNoFurther)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("jr.txt"));
    FileBytes::write(path, QByteArray(1000, 'a'));
    // A device that never ends is given up one byte past the bound.
    const struct
    {
        QString path;
        qint64 limit;
        WholeFile::Status status;
        qsizetype bytes;
        QString cause;
    } cases[] = {
        {path, 1000, WholeFile::Status::Ok, 1000, {}},
        {path, 999, WholeFile::Status::TooLarge, 0, QStringLiteral("soubor je větší než 999 bajtů")},
        {QStringLiteral("/dev/zero"), 3 << 20, WholeFile::Status::TooLarge, 0,
         QStringLiteral("soubor je větší než 3145728 bajtů")},
        {dir.filePath(QStringLiteral("chybí.txt")), 1000, WholeFile::Status::CannotOpen, 0,
         QStringLiteral("soubor nebo adresář neexistuje")},
        {dir.path(), 1000, WholeFile::Status::CannotOpen, 0, QStringLiteral("je to adresář")},
    };
    for (const auto &c : cases) {
        const WholeFile::Read r = WholeFile::read(c.path, c.limit);
        EXPECT_EQ(std::tuple(r.status, r.bytes.size(), r.cause), std::tuple(c.status, c.bytes, c.cause))
            << c.path.toStdString() << " " << c.limit;
    }
}
