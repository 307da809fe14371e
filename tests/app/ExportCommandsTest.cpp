// "Tisk do bitmapy...": the diagram as the window shows it, in a 24-bit
// Windows bitmap, and the previous file kept when writing fails.
#include "app/ExportCommands.h"

#include "SampleLine.h"
#include "ScriptedPrompter.h"
#include "io/BitmapFile.h"
#include "render/HeadlessWindow.h"
#include "render/Renderer.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ExportCommandsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    Document doc;
    DiagramView view;
    Renderer renderer{doc, view};
    HeadlessWindow window{QSize(900, 500)};
    QString fileName;

    void SetUp() override
    {
        SampleLine::fill(doc, {8, 40, 30, 6});
        doc.noDocument = false;
        view.updateScale(doc.settings);
        renderer.render(window);
    }
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    bool run() { return ExportCommands::exportBitmap(prompter, renderer, window, fileName); }
};

} // namespace

TEST_F(ExportCommandsTest, WritesTheRenderedDiagramAs24BitBitmap)
{
    view.hpos = 40; // scrolled: the picture is what the window shows now
    prompter.fileAnswers = {path("vlakorys.bmp")};
    const int renders = renderer.stats.renders;
    ASSERT_TRUE(run());
    EXPECT_EQ(renderer.stats.renders, renders + 1);
    EXPECT_TRUE(prompter.lastFileDialog.promptOverwrite);
    EXPECT_EQ(prompter.lastFileDialog.defaultSuffix, QStringLiteral("bmp"));
    EXPECT_EQ(fileName, path("vlakorys.bmp")) << "SaveDialog2 keeps the name for the next export";

    QFile f(path("vlakorys.bmp"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray header = f.read(30);
    EXPECT_TRUE(header.startsWith("BM"));
    EXPECT_EQ(uint8_t(header[28]) | uint8_t(header[29]) << 8, 24) << "bits a pixel";
    f.close();

    QImageReader reader(path("vlakorys.bmp"));
    EXPECT_EQ(reader.size(), window.clientSize());
    const QImage read = reader.read().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(read, renderer.diagramBitmap().convertToFormat(QImage::Format_RGB32));
}

TEST_F(ExportCommandsTest, CancelWritesNothingAndDoesNotRender)
{
    const int renders = renderer.stats.renders;
    EXPECT_FALSE(run());
    EXPECT_EQ(renderer.stats.renders, renders);
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(ExportCommandsTest, AFileThatCannotBeWrittenIsReported)
{
    prompter.fileAnswers = {path("chybí/vlakorys.bmp")};
    EXPECT_FALSE(run());
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("Chyba při ukládání bitmapy vlakorysu.")});
}

TEST(BitmapFile, AFailedWriteLeavesThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vlakorys.bmp"));
    QImage old(7, 5, QImage::Format_RGB32);
    old.fill(Qt::red);
    ASSERT_TRUE(BitmapFile::write(old, path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    EXPECT_FALSE(BitmapFile::write(QImage(), path)); // the encoder refuses an empty picture
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("vlakorys.bmp")});
}
