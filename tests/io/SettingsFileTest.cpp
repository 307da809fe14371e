#include "io/SettingsFile.h"

#include "FileBytes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

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

TEST_F(SettingsFileTest, NoFileGivesTheDefaults)
{
    EXPECT_EQ(keys(read()), std::tuple(4, 0, QByteArray("Arial CE"), 7, QByteArray("Times New Roman CE"), 8,
                                       QByteArray("Arial CE"), 12, 1, 2, 3));
    EXPECT_FALSE(QFile::exists(path)) << "reading must not create the file";
}

TEST_F(SettingsFileTest, WrittenValuesReadBackWithBooleansAsOneAndZero)
{
    SettingsFile f(path);
    ASSERT_TRUE(f.writeZoom(9) && f.writeSaveLabelImages(true) && f.writeTimeFont("Courier", 9)
                && f.writeSmallTrainFont("Serif", 10) && f.writeLargeTrainFont("Sans", 14) && f.writePenThin(2)
                && f.writePenMedium(4) && f.writePenThick(6));
    EXPECT_EQ(keys(read()),
              std::tuple(9, 1, QByteArray("Courier"), 9, QByteArray("Serif"), 10, QByteArray("Sans"), 14, 2, 4, 6));
    // The sections and keys in the file: SettingsCommandsTest.
    ASSERT_TRUE(f.writeSaveLabelImages(false));
    EXPECT_EQ(read().saveLabelImages, 0);
    EXPECT_TRUE(FileBytes::read(path).replace(" = ", "=").contains("UlozitPopisky=0"));
}

TEST_F(SettingsFileTest, CodebookPathKeepsItsBytesBesideTheOtherKeys)
{
    SettingsFile f(path);
    EXPECT_EQ(f.readCodebookPath(), QString());
    ASSERT_TRUE(f.writeZoom(9));
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
    const struct
    {
        const char *text;
        decltype(keys(DocumentSettings())) expected;
    } cases[] = {
        // Sections and keys ignore case; one pair of quotes is dropped.
        {"[NASTAVENI]\r\nmeritko=6\r\nulozitpopisky=1\r\n[cary]\r\nSILNA=5\r\n[casove POPISKY]\r\n"
         "name=\"Tahoma CE\"\r\nSIZE=8\r\n",
         {6, 1, "Tahoma CE", 8, t, 8, a, 12, 1, 2, 5}},
        // Non-numbers and bytes above 255 give the default.
        {"[Nastaveni]\nMeritko=300\nUlozitPopisky=ano\n[Cary]\nSlaba=-1\nStredni=abc\nSilna=255\n"
         "[Casove popisky]\nSize=7pt\nName='x'\n[Vlakove popisky]\nSizeM= 11\nSizeV=99999\n",
         {4, 0, "x", 7, t, 11, a, 99999, 1, 2, 255}},
    };
    for (const auto &c : cases) {
        FileBytes::write(path, c.text);
        EXPECT_EQ(keys(read()), c.expected) << c.text;
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
