// Every writer on a disk that fills up: the old file stays, no temporary
// file is left, and the failure comes back with its cause. The disk is
// filled by a file size limit in-process (the tool on a real full tmpfs is
// tests/cli/FullDisk.sh).
#include "FileBytes.h"
#include "FileSizeLimit.h"
#include "SampleLine.h"

#include "io/BitmapFile.h"
#include "io/DocumentFile.h"
#include "io/PictureFile.h"
#include "io/PngFile.h"
#include "io/RecoveryStore.h"
#include "io/SafeFile.h"
#include "io/SettingsFile.h"
#include "io/WholeFile.h"
#include "model/Document.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <tuple>

namespace {

// A picture of `colours` different colours, each in a run of pixels.
QImage colourRuns(int colours, int height)
{
    QImage image(97, height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int c = (y * image.width() + x) / 3 % colours;
            image.setPixel(x, y, qRgb(c % 256, c / 256 * 40, 255 - c % 7));
        }
    return image;
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

SafeFile::Result resultOf(bool ok, const QString &cause)
{
    return {ok ? SafeFile::Failure::None : SafeFile::Failure::Write, cause};
}

std::vector<Writer> everyWriter()
{
    const auto picture = [](PictureFile::Format format) {
        return [format](const QString &path) {
            const PictureFile::Outcome out = PictureFile::write(path, format, ::picture(), QStringLiteral("Trať"), 75);
            return resultOf(out.status == PictureFile::Status::Ok, out.cause);
        };
    };
    return {
        {"trať.vrs", "old document",
         [](const QString &path) {
             Document doc;
             SampleLine::fill(doc, {4, 12, 2, 4}); // a few hundred bytes
             const DocumentFile::SaveOutcome out = DocumentFile::save(doc, path);
             return resultOf(out.status == DocumentFile::Status::Ok, out.cause);
         }},
        {"Vlakorys.ini", "[Nastaveni]\nMeritko=4\n",
         [](const QString &path) { return SettingsFile(path).writeZoom(9); }},
        {"editor.recovery", "old copy",
         [](const QString &path) {
             Document doc;
             SampleLine::fill(doc, {4, 12, 2, 4});
             const QByteArray copy = RecoveryStore::encode(path, FileStamp{}, DocumentSnapshot::take(doc));
             return RecoveryStore::write(path, copy);
         }},
        {"okno.bmp", "old bitmap", [](const QString &path) { return BitmapFile::write(colourRuns(2, 30), path); }},
        {"okno.png", "old png", [](const QString &path) { return PngFile::write(colourRuns(2, 30), path); }},
        {"list.pdf", "old pdf", picture(PictureFile::Format::Pdf)},
        {"list.svg", "old svg", picture(PictureFile::Format::Svg)},
        {"list.png", "old png", picture(PictureFile::Format::Png)},
        {"list.bmp", "old bmp", picture(PictureFile::Format::Bmp)},
    };
}

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
    EXPECT_EQ(std::pair(blocked.failure, blocked.cause.isEmpty()), std::pair(SafeFile::Failure::Write, false));
    ASSERT_TRUE(QDir(other).removeRecursively());
    leftAlone();

    const std::tuple<QString, QString> cannotCreate[] = {
        {dir.filePath(QStringLiteral("chybí/a.vrs")), QStringLiteral("soubor nebo adresář neexistuje")},
        {dir.path(), QStringLiteral("je to adresář")},
    };
    for (const auto &[path, cause] : cannotCreate) {
        const SafeFile::Result r = SafeFile::write(path, QByteArrayView("x"));
        EXPECT_EQ(std::pair(r.failure, r.cause), std::pair(SafeFile::Failure::Create, cause));
    }
    leftAlone();

    ASSERT_TRUE(SafeFile::write(path, QByteArrayView("new")));
    EXPECT_EQ(FileBytes::read(path), QByteArray("new"));
}

// Every writer writes over its old file on a disk that takes 16 bytes; each
// fails with the cause, keeps the old bytes and leaves nothing else behind.
TEST(SafeFile, EveryWriterKeepsTheOldFileWhenFilesCannotGrow)
{
    QTemporaryDir dir;
    const std::vector<Writer> writers = everyWriter();
    QStringList files;
    for (const Writer &w : writers) {
        FileBytes::write(dir.filePath(QString::fromUtf8(w.file)), w.old);
        files << QString::fromUtf8(w.file);
    }
    std::vector<SafeFile::Result> results;
    {
        const FileSizeLimit full(16);
        for (const Writer &w : writers)
            results.push_back(w.write(dir.filePath(QString::fromUtf8(w.file))));
    }
    for (size_t i = 0; i < writers.size(); ++i) {
        const Writer &w = writers[i];
        EXPECT_EQ(std::pair(results[i].ok(), results[i].cause), std::pair(false, qt_error_string(EFBIG))) << w.file;
        EXPECT_EQ(FileBytes::read(dir.filePath(QString::fromUtf8(w.file))), w.old) << w.file;
    }
    files.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), files) << "no temporary file is left";
}

TEST(WholeFile, ReadsUpToItsBoundAndNoFurther)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("jr.txt"));
    FileBytes::write(path, QByteArray(1000, 'a'));
    // A device that never ends is given up one byte past the bound.
    const std::tuple<QString, qint64, WholeFile::Status, qsizetype, QString> cases[] = {
        {path, 1000, WholeFile::Status::Ok, 1000, {}},
        {path, 999, WholeFile::Status::TooLarge, 0, QStringLiteral("soubor je větší než 999 bajtů")},
        {QStringLiteral("/dev/zero"), 3 << 20, WholeFile::Status::TooLarge, 0,
         QStringLiteral("soubor je větší než 3145728 bajtů")},
        {dir.filePath(QStringLiteral("chybí.txt")), 1000, WholeFile::Status::CannotOpen, 0,
         QStringLiteral("soubor nebo adresář neexistuje")},
        {dir.path(), 1000, WholeFile::Status::CannotOpen, 0, QStringLiteral("je to adresář")},
    };
    for (const auto &[path, limit, status, bytes, cause] : cases) {
        const WholeFile::Read r = WholeFile::read(path, limit);
        EXPECT_EQ(std::tuple(r.status, r.bytes.size(), r.cause), std::tuple(status, bytes, cause))
            << path.toStdString() << " " << limit;
    }
}

TEST(PngFile, WrittenWithAPaletteWhenItHoldsEveryColour)
{
    const std::tuple<int, int, bool> cases[] = {{2, 31, true}, {256, 40, true}, {257, 31, false}};
    for (const auto &[colours, height, indexed] : cases) {
        const QImage source = colourRuns(colours, height);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(PngFile::write(source, buffer)) << colours;
        QImage read;
        ASSERT_TRUE(read.loadFromData(buffer.data(), "PNG")) << colours;
        EXPECT_EQ(read.format() == QImage::Format_Indexed8, indexed) << colours;
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), source) << colours;
    }
}

namespace {

class SettingsFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vlakorys.ini"));

    DocumentSettings read() const
    {
        DocumentSettings s;
        s.zoom = 77; // to see that every key is written over
        s.penThick = 77;
        s.saveLabelImages = 1;
        SettingsFile(path).readInto(s);
        return s;
    }
    // The values of the file's keys, in its reading order.
    static auto keys(const DocumentSettings &s)
    {
        return std::tuple(int(s.zoom), int(s.saveLabelImages), s.timeFontName, s.timeFontSize, s.trainFontSmallName,
                          s.trainFontSmallSize, s.trainFontLargeName, s.trainFontLargeSize, int(s.penThin),
                          int(s.penMedium), int(s.penThick));
    }
};

} // namespace

// No file gives the defaults; written values read back, booleans as one and
// zero, and the codebook's path keeps its bytes beside the other keys.
TEST_F(SettingsFileTest, DefaultsAndWrittenValues)
{
    EXPECT_EQ(keys(read()), std::tuple(4, 0, QByteArray("Arial CE"), 7, QByteArray("Times New Roman CE"), 8,
                                       QByteArray("Arial CE"), 12, 1, 2, 3));
    EXPECT_FALSE(QFile::exists(path)) << "reading must not create the file";
    SettingsFile f(path);
    EXPECT_EQ(f.readCodebookPath(), QString());
    ASSERT_TRUE(f.writeZoom(9) && f.writeSaveLabelImages(true) && f.writeTimeFont("Courier", 9)
                && f.writeSmallTrainFont("Serif", 10) && f.writeLargeTrainFont("Sans", 14) && f.writePenThin(2)
                && f.writePenMedium(4) && f.writePenThick(6));
    EXPECT_EQ(keys(read()),
              std::tuple(9, 1, QByteArray("Courier"), 9, QByteArray("Serif"), 10, QByteArray("Sans"), 14, 2, 4, 6));
    // The sections and keys in the file: SettingsCommandsTest.
    ASSERT_TRUE(f.writeSaveLabelImages(false));
    EXPECT_EQ(read().saveLabelImages, 0);
    EXPECT_TRUE(FileBytes::read(path).replace(" = ", "=").contains("UlozitPopisky=0"));

    const QString codebook = QStringLiteral("/data/číselníky/SR70 ř.csv");
    ASSERT_TRUE(f.writeCodebookPath(codebook));
    EXPECT_EQ(f.readCodebookPath(), codebook);
    EXPECT_EQ(read().zoom, 9);
    EXPECT_TRUE(FileBytes::read(path).contains("[Import]"));

    EXPECT_TRUE(f.readShowConflicts());
    ASSERT_TRUE(f.writeShowConflicts(false));
    EXPECT_FALSE(f.readShowConflicts());
    EXPECT_TRUE(FileBytes::read(path).replace(" = ", "=").contains("Konflikty=0"));
}

TEST_F(SettingsFileTest, FilesFromTheWindowsWorld)
{
    const QByteArray a("Arial CE"), t("Times New Roman CE");
    const std::pair<const char *, decltype(keys(DocumentSettings()))> cases[] = {
        // Sections and keys ignore case; one pair of quotes is dropped.
        {"[NASTAVENI]\r\nmeritko=6\r\nulozitpopisky=1\r\n[cary]\r\nSILNA=5\r\n[casove POPISKY]\r\n"
         "name=\"Tahoma CE\"\r\nSIZE=8\r\n",
         {6, 1, "Tahoma CE", 8, t, 8, a, 12, 1, 2, 5}},
        // Non-numbers and bytes above 255 give the default.
        {"[Nastaveni]\nMeritko=300\nUlozitPopisky=ano\n[Cary]\nSlaba=-1\nStredni=abc\nSilna=255\n"
         "[Casove popisky]\nSize=7pt\nName='x'\n[Vlakove popisky]\nSizeM= 11\nSizeV=99999\n",
         {4, 0, "x", 7, t, 11, a, 99999, 1, 2, 255}},
    };
    for (const auto &[text, expected] : cases) {
        FileBytes::write(path, text);
        EXPECT_EQ(keys(read()), expected) << text;
    }
}

TEST_F(SettingsFileTest, WritingKeepsTheRestOfTheFileAndMakesItsDirectory)
{
    FileBytes::write(path, "; my settings\n[Nastaveni]\nMeritko=5\nUlozitPopisky=1\n[Jine]\nKlic=hodnota\n");
    ASSERT_TRUE(SettingsFile(path).writeZoom(7));
    const QByteArray text = FileBytes::read(path);
    EXPECT_TRUE(text.contains("Klic") && text.contains("; my settings")) << text.constData();
    EXPECT_EQ(std::pair(read().zoom, read().saveLabelImages), std::pair(uint8_t(7), uint8_t(1)));

    const QString nested = dir.filePath(QStringLiteral("a/b/Vlakorys.ini"));
    ASSERT_TRUE(SettingsFile(nested).writePenThin(3));
    EXPECT_TRUE(QFile::exists(nested));
}

TEST(SettingsFilePath, FollowsXdgConfigHome)
{
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/xdg-test-home");
    EXPECT_EQ(SettingsFile::defaultPath(), QStringLiteral("/tmp/xdg-test-home/Vlakorys.ini"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_TRUE(SettingsFile::defaultPath().endsWith(QStringLiteral("/.config/Vlakorys.ini")));
    qputenv("XDG_CONFIG_HOME", old);
}
