#include "io/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SettingsFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Vlakorys.ini")); }

    void writeFile(const QByteArray &text)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray readFile()
    {
        QFile f(path());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    DocumentSettings read()
    {
        DocumentSettings s;
        s.zoom = 77; // to see that every key is written over
        s.penThick = 77;
        s.saveLabelImages = 1;
        SettingsFile(path()).readInto(s);
        return s;
    }
};

} // namespace

TEST_F(SettingsFileTest, NoFileGivesTheDefaults)
{
    const DocumentSettings s = read();
    EXPECT_EQ(s.zoom, 4);
    EXPECT_EQ(s.saveLabelImages, 0);
    EXPECT_EQ(s.timeFontName, QByteArray("Arial CE"));
    EXPECT_EQ(s.timeFontSize, 7);
    EXPECT_EQ(s.trainFontSmallName, QByteArray("Times New Roman CE"));
    EXPECT_EQ(s.trainFontSmallSize, 8);
    EXPECT_EQ(s.trainFontLargeName, QByteArray("Arial CE"));
    EXPECT_EQ(s.trainFontLargeSize, 12);
    EXPECT_EQ(s.penThin, 1);
    EXPECT_EQ(s.penMedium, 2);
    EXPECT_EQ(s.penThick, 3);
    EXPECT_FALSE(QFile::exists(path())) << "reading must not create the file";
}

TEST_F(SettingsFileTest, WrittenValuesReadBack)
{
    SettingsFile f(path());
    ASSERT_TRUE(f.writeZoom(9));
    ASSERT_TRUE(f.writeSaveLabelImages(true));
    ASSERT_TRUE(f.writeTimeFont("Courier", 9));
    ASSERT_TRUE(f.writeSmallTrainFont("Serif", 10));
    ASSERT_TRUE(f.writeLargeTrainFont("Sans", 14));
    ASSERT_TRUE(f.writePenThin(2));
    ASSERT_TRUE(f.writePenMedium(4));
    ASSERT_TRUE(f.writePenThick(6));
    const DocumentSettings s = read();
    EXPECT_EQ(s.zoom, 9);
    EXPECT_EQ(s.saveLabelImages, 1);
    EXPECT_EQ(s.timeFontName, QByteArray("Courier"));
    EXPECT_EQ(s.timeFontSize, 9);
    EXPECT_EQ(s.trainFontSmallName, QByteArray("Serif"));
    EXPECT_EQ(s.trainFontSmallSize, 10);
    EXPECT_EQ(s.trainFontLargeName, QByteArray("Sans"));
    EXPECT_EQ(s.trainFontLargeSize, 14);
    EXPECT_EQ(s.penThin, 2);
    EXPECT_EQ(s.penMedium, 4);
    EXPECT_EQ(s.penThick, 6);

    const QByteArray text = readFile();
    EXPECT_TRUE(text.contains("[Nastaveni]"));
    EXPECT_TRUE(text.contains("[Casove popisky]"));
    EXPECT_TRUE(text.contains("[Vlakove popisky]"));
    EXPECT_TRUE(text.contains("[Cary]"));
    EXPECT_TRUE(text.contains("UlozitPopisky = 1") || text.contains("UlozitPopisky=1")) << text.constData();
}

TEST_F(SettingsFileTest, BooleansAreWrittenAsOneAndZero)
{
    SettingsFile f(path());
    ASSERT_TRUE(f.writeSaveLabelImages(false));
    EXPECT_TRUE(readFile().contains("0"));
    EXPECT_FALSE(readFile().contains("false"));
    EXPECT_EQ(read().saveLabelImages, 0);
}

TEST_F(SettingsFileTest, SectionsAndKeysIgnoreCase)
{
    writeFile("[NASTAVENI]\r\nmeritko=6\r\nulozitpopisky=1\r\n[cary]\r\nSILNA=5\r\n"
              "[casove POPISKY]\r\nname=\"Tahoma CE\"\r\nSIZE=8\r\n");
    const DocumentSettings s = read();
    EXPECT_EQ(s.zoom, 6);
    EXPECT_EQ(s.saveLabelImages, 1);
    EXPECT_EQ(s.penThick, 5);
    EXPECT_EQ(s.timeFontName, QByteArray("Tahoma CE"));
    EXPECT_EQ(s.timeFontSize, 8);
}

TEST_F(SettingsFileTest, NonNumbersAndBytesAbove255GiveTheDefault)
{
    writeFile("[Nastaveni]\nMeritko=300\nUlozitPopisky=ano\n[Cary]\nSlaba=-1\nStredni=abc\nSilna=255\n"
              "[Casove popisky]\nSize=7pt\n[Vlakove popisky]\nSizeM= 11\nSizeV=99999\n");
    const DocumentSettings s = read();
    EXPECT_EQ(s.zoom, 4);
    EXPECT_EQ(s.saveLabelImages, 0);
    EXPECT_EQ(s.penThin, 1);
    EXPECT_EQ(s.penMedium, 2);
    EXPECT_EQ(s.penThick, 255);
    EXPECT_EQ(s.timeFontSize, 7);
    EXPECT_EQ(s.trainFontSmallSize, 11);
    EXPECT_EQ(s.trainFontLargeSize, 99999);
}

TEST_F(SettingsFileTest, WritingKeepsTheRestOfTheFile)
{
    writeFile("; my settings\n[Nastaveni]\nMeritko=5\nUlozitPopisky=1\n[Jine]\nKlic=hodnota\n");
    ASSERT_TRUE(SettingsFile(path()).writeZoom(7));
    const QByteArray text = readFile();
    EXPECT_TRUE(text.contains("Klic")) << text.constData();
    EXPECT_TRUE(text.contains("; my settings"));
    const DocumentSettings s = read();
    EXPECT_EQ(s.zoom, 7);
    EXPECT_EQ(s.saveLabelImages, 1);
}

TEST_F(SettingsFileTest, WritingCreatesTheDirectory)
{
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
