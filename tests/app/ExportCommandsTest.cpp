// "Tisk do bitmapy...": the diagram as the window shows it, in a 24-bit
// Windows bitmap. "Tisk..." and "Exportovat...": the sheet on pages and in
// files, and the view.
#include "app/ExportCommands.h"

#include "../io/FileBytes.h"
#include "Poppler.h"
#include "SampleLine.h"
#include "ScriptedPrompter.h"
#include "editing/HeadlessDiagram.h"
#include "io/PictureFile.h"
#include "render/SheetTiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ExportCommandsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    HeadlessDiagram scene{QSize(900, 500)};
    Document &doc = scene.doc;
    DiagramView &view = scene.view;
    const Renderer &renderer = scene.renderer;
    HeadlessWindow &window = scene.window;
    QString fileName;

    void SetUp() override
    {
        SampleLine::fill(doc, {8, 40, 30, 6});
        doc.noDocument = false;
        view.updateScale(doc.settings);
        scene.diagram.render();
    }
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    bool run() { return ExportCommands::exportBitmap(prompter, scene.diagram, fileName); }
};

} // namespace

TEST_F(ExportCommandsTest, WritesTheRenderedDiagramAs24BitBitmapOrSaysWhyNot)
{
    view.hpos = 40; // scrolled: the picture is what the window shows now
    prompter.fileAnswers = {path("vlakorys.bmp")};
    const int renders = renderer.stats().renders;
    ASSERT_TRUE(run());
    EXPECT_EQ(renderer.stats().renders, renders + 1);
    EXPECT_TRUE(prompter.lastFileDialog.promptOverwrite);
    EXPECT_EQ(prompter.lastFileDialog.defaultSuffix, QStringLiteral("bmp"));
    EXPECT_EQ(fileName, path("vlakorys.bmp")) << "SaveDialog2 keeps the name for the next export";

    const QByteArray bytes = FileBytes::read(path("vlakorys.bmp"));
    EXPECT_EQ(uint8_t(bytes[28]) | uint8_t(bytes[29]) << 8, 24) << "bits a pixel";
    const QImage read = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(read.size(), window.clientSize());
    EXPECT_EQ(read, renderer.diagramBitmap().convertToFormat(QImage::Format_RGB32));

    // Cancelled: nothing written, nothing drawn; a failed write is reported.
    EXPECT_FALSE(run());
    EXPECT_EQ(renderer.stats().renders, renders + 1);
    EXPECT_TRUE(prompter.messages().isEmpty());
    prompter.fileAnswers = {path("chybí/vlakorys.bmp")};
    EXPECT_FALSE(run());
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("Chyba při ukládání bitmapy vlakorysu do souboru „%1“: "
                                                              "soubor nebo adresář neexistuje.")
                                                   .arg(path("chybí/vlakorys.bmp"))});
}

namespace {

class SheetCommandsTest : public ExportCommandsTest
{
protected:
    const PrintSheet::Options options{true, true};
    bool print(const PrintPlan::Choice &choice)
    {
        return ExportCommands::printSheet(prompter, doc, choice, options, QStringLiteral("Trať"));
    }
};

} // namespace

TEST_F(SheetCommandsTest, TheSheetIsPrintedOnPagesThatFitTogether)
{
    // The scripted printer is A4 with 10 mm margins: 190 x 271 mm for the
    // sheet under the line that names the page.
    PrintPlan::Choice choice;
    const PrintPlan plan(doc);
    const QSizeF sheet(plan.widthPixels(choice) * 3.0 / 13, plan.heightPixels(choice) * 3.0 / 13);
    const SheetTiles::Plan pages = SheetTiles::plan(sheet, {190, 277 - SheetTiles::headerMm});
    ASSERT_GT(pages.columns, 1);
    EXPECT_FALSE(print(choice)); // the print dialog cancelled
    EXPECT_TRUE(prompter.messages().isEmpty());
    prompter.log.clear();

    prompter.printAnswers = {path("tisk.pdf")};
    ASSERT_TRUE(print(choice));
    EXPECT_EQ(prompter.log, QStringList{QStringLiteral("print")});
    ASSERT_EQ(Poppler::pages(path("tisk.pdf")), int(pages.tiles.size()));
    for (const SheetTiles::Tile &t : pages.tiles)
        EXPECT_TRUE(Poppler::text(path("tisk.pdf"), t.number)
                        .startsWith(SheetTiles::pageName(QStringLiteral("Trať"), t, int(pages.tiles.size()))))
            << t.number;
}

TEST_F(SheetCommandsTest, TheSuffixTypedDecidesTheFormatElseTheFilterChosen)
{
    const std::tuple<int, const char *, QByteArray> rows[] =
        {
            {0, "arch.pdf", "%PDF"},         {1, "arch.svg", "<?xml"}, {2, "arch.png", "\x89PNG"},
            {3, "arch.bmp", "BM"},           {0, "view.svg", "<?xml"}, {1, "view.PNG", "\x89PNG"},
            {0, "arch-bez-pripony", "%PDF"}, // no suffix: the filter's
        };
    for (const auto &[filter, name, starts] : rows) {
        prompter.fileAnswers = {path(name)};
        prompter.filterAnswers = {filter};
        ASSERT_TRUE(ExportCommands::exportSheet(prompter, doc, {}, options, 75, QStringLiteral("Trať"), fileName))
            << name;
        EXPECT_TRUE(FileBytes::read(path(name)).startsWith(starts)) << name;
    }
    // The dialog opens with the format of the name it was last given.
    EXPECT_EQ(ExportCommands::pictureSaveDialog(path("arch.png")).filterIndex, 2);
    // Any other suffix is refused and nothing is written.
    prompter.fileAnswers = {path("view.xyz")};
    prompter.filterAnswers = {0};
    EXPECT_FALSE(ExportCommands::exportSheet(prompter, doc, {}, options, 75, QStringLiteral("Trať"), fileName));
    EXPECT_EQ(prompter.messages(), QStringList{ExportCommands::unknownPictureSuffix(path("view.xyz"))});
    EXPECT_TRUE(
        ExportCommands::unknownPictureSuffix(path("view.xyz")).startsWith(u"Neznámá přípona souboru „view.xyz“."));
    EXPECT_FALSE(QFile::exists(path("view.xyz")));
    // A sheet too large for an image is reported.
    prompter.log.clear();
    prompter.fileAnswers = {path("obri.png")};
    prompter.filterAnswers = {2};
    const PrintPlan::Choice huge{.layers = 30, .scale = 525};
    EXPECT_FALSE(ExportCommands::exportSheet(prompter, doc, huge, options, 360, QStringLiteral("Trať"), fileName));
    EXPECT_EQ(prompter.messages(), QStringList{ExportCommands::tooLargeForImage(360)});
    EXPECT_FALSE(QFile::exists(path("obri.png")));
}

TEST_F(SheetCommandsTest, TheViewAsPictures)
{
    // PNG: the surface's pixels; PDF: the same drawing as vectors, of the
    // paint box's size.
    prompter.fileAnswers = {path("pohled.png"), path("pohled.pdf")};
    prompter.filterAnswers = {2, 0};
    ASSERT_TRUE(ExportCommands::exportView(prompter, scene.diagram, QStringLiteral("Trať"), fileName));
    EXPECT_EQ(QImage(path("pohled.png")).convertToFormat(QImage::Format_RGB32), renderer.surface());
    ASSERT_TRUE(ExportCommands::exportView(prompter, scene.diagram, QStringLiteral("Trať"), fileName));
    const QSizeF page = Poppler::pageSizeMm(path("pohled.pdf"));
    EXPECT_EQ(QSize(int(std::nearbyint(page.width())), int(std::nearbyint(page.height()))),
              PictureFile::millimetres(window.paintBoxSize()));
    EXPECT_TRUE(Poppler::text(path("pohled.pdf")).contains(QStringLiteral("Stanice 1")));
}
