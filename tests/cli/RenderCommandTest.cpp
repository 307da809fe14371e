// vlakorys-cli render: the options and the pictures it writes.
#include "CliTest.h"

#include "../io/FileBytes.h"

#include "cli/RenderCommand.h"
#include "editing/Diagram.h"
#include "editing/DocumentOpen.h"
#include "io/DocumentFile.h"
#include "render/Colours.h"
#include "render/HeadlessWindow.h"
#include "render/Renderer.h"

#include "Pixels.h"
#include "SampleLine.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class RenderCommandTest : public CliTest
{
protected:
    static CommandRun render(const QStringList &args) { return cli(QStringList{"render"} + args); }
    void saveLine(Document &doc, const SampleLine::Shape &shape = {10, 60, 40, 10})
    {
        SampleLine::fill(doc, shape);
        ASSERT_EQ(DocumentFile::save(doc, path("line.vrs")).status, DocumentFile::Status::Ok);
    }
};

} // namespace

TEST_F(RenderCommandTest, Options)
{
    RenderCommand::Options o;
    EXPECT_TRUE(RenderCommand::parse({"--size", "1920x1080", "a.vrs", "--zoom=7", "b.BMP", "--ratio", "2:3", "--scroll",
                                      "40,12", "--time-labels", "on", "--find", "os 12"},
                                     o)
                    .isEmpty());
    EXPECT_EQ(std::tuple(o.input, o.output, o.size, *o.zoom, *o.ratio, o.hpos, o.vpos, *o.timeLabels, *o.find),
              std::tuple(QStringLiteral("a.vrs"), QStringLiteral("b.BMP"), QSize(1920, 1080), 7, std::make_pair(2, 3),
                         40, 12, true, QStringLiteral("os 12")));

    const std::pair<QStringList, const char *> bad[] = {
        {{"a.vrs", "b.png", "--size", "0x5"}, "--size:"},
        {{"a.vrs", "b.png", "--zoom", "22"}, "--zoom:"},
        {{"a.vrs", "b.png", "--ratio", "3"}, "--ratio:"},
        {{"a.vrs", "b.png", "--scroll", "-1,0"}, "--scroll:"},
        {{"a.vrs", "b.png", "--time-labels", "yes"}, "--time-labels:"},
        {{"a.vrs", "b.png", "--colour", "red"}, "neznámá volba --colour"},
        {{"a.vrs", "b.png", "--bogus"}, "neznámá volba --bogus"},
        {{"a.vrs", "b.png", "--zoom"}, "--zoom: chybí hodnota"},
        {{"a.vrs"}, "použití:"},
        {{"a.vrs", "b.pdf", "--sheet", "--layers", "31"}, "--layers:"},
        {{"a.vrs", "b.pdf", "--sheet", "--overlap", "61"}, "--overlap:"},
        {{"a.vrs", "b.pdf", "--sheet", "--scale", "110"}, "--scale:"},
        {{"a.vrs", "b.pdf", "--sheet", "--from", "24:00"}, "--from:"},
        {{"a.vrs", "b.pdf", "--sheet", "--from", "12:00", "--to", "11:59"}, "--from: očekává se čas před --to"},
        {{"a.vrs", "b.pdf", "--sheet", "--stations", "0-3"}, "--stations:"},
        {{"a.vrs", "b.pdf", "--sheet", "--km", "5-1000"}, "--km:"},
        {{"a.vrs", "b.pdf", "--sheet", "--km", "5-5"}, "--km: úsek od km 5 do km 5 je prázdný"},
        {{"a.vrs", "b.pdf", "--sheet", "--km", "5,5-5.500"}, "--km: úsek od km 5,5 do km 5,5 je prázdný"},
        {{"a.vrs", "b.pdf", "--sheet", "--km", "5-7.5621"}, "--km:"},
        {{"a.vrs", "b.pdf", "--sheet", "--km", "5-999.001"}, "--km:"},
        {{"a.vrs", "b.pdf", "--sheet", "--km", "5-7.5.6"}, "--km:"},
        {{"a.vrs", "b.pdf", "--sheet", "--km", "1-5", "--stations", "1-2"}, "--km: nelze s --stations"},
        {{"a.vrs", "b.pdf", "--sheet", "--legend", "yes"}, "--legend:"},
        {{"a.vrs", "b.png", "--sheet", "--dpi", "200"}, "--dpi:"},
        {{"a.vrs", "b.pdf", "--sheet", "--zoom", "5"}, "--zoom: nelze s --sheet"},
        {{"a.vrs", "b.pdf", "--layers", "2"}, "--layers: jen s --sheet"},
    };
    for (const auto &[args, starts] : bad) {
        RenderCommand::Options p;
        const QString said = RenderCommand::parse(args, p);
        EXPECT_TRUE(said.startsWith(QString::fromUtf8(starts)))
            << args.join(' ').toStdString() << ": " << said.toStdString();
    }

    RenderCommand::Options sheet;
    ASSERT_TRUE(RenderCommand::parse({"a.vrs",        "b.Svg",   "--sheet",    "--layers",      "3",
                                      "--overlap=20", "--scale", "150",        "--from",        "4:30",
                                      "--to",         "22:05",   "--stations", "2-5",           "--legend",
                                      "off",          "--dpi",   "75",         "--time-labels", "off"},
                                     sheet)
                    .isEmpty());
    const PrintPlan::Choice &c = sheet.choice;
    EXPECT_EQ(std::tuple(sheet.sheet, sheet.format, sheet.dpi, *sheet.timeLabels),
              std::tuple(true, PictureFile::Format::Svg, 75, false));
    EXPECT_EQ(std::tuple(c.layers, c.overlap, c.scale, c.timeRange, c.fromMinute, c.toMinute),
              std::tuple(3, 20, 150, PrintPlan::TimeRange::Span, 4 * 60 + 30, 22 * 60 + 5));
    EXPECT_EQ(std::tuple(c.kmRange, c.fromStation, c.toStation, c.legend),
              std::tuple(PrintPlan::KmRange::Stations, 2, 5, false));

    RenderCommand::Options k;
    ASSERT_TRUE(RenderCommand::parse({"a.vrs", "b.pdf", "--sheet", "--km", "7,562-999"}, k).isEmpty());
    EXPECT_EQ(std::pair(k.choice.fromMetres, k.choice.toMetres), std::pair(7562, 999000));
    ASSERT_TRUE(RenderCommand::parse({"a.vrs", "b.pdf", "--sheet", "--km", "40-12"}, k).isEmpty());
    EXPECT_EQ(
        std::tuple(k.choice.kmRange, k.choice.fromMetres, k.choice.toMetres, k.format, k.choice.timeRange),
        std::tuple(PrintPlan::KmRange::Kilometres, 40000, 12000, PictureFile::Format::Pdf, PrintPlan::TimeRange::All));
}

TEST_F(RenderCommandTest, TheSheetAsImagesAtTheChosenResolution)
{
    Document doc;
    ASSERT_TRUE(DocumentOpen::open(doc, example, LabelMakers::standard()).isEmpty());
    const PrintPlan plan(doc);
    const PrintPlan::Choice c{.layers = 2, .overlap = 30};
    // The sheet's millimetres at 75 / 25.4 dots each.
    const auto dots = [](int pixels) { return int(std::nearbyint(PrintPlan::millimetres(pixels) * 75 / 25.4)); };
    const QSize size(dots(plan.widthPixels(c)), dots(plan.heightPixels(c)));
    const QStringList sheet{"--sheet", "--layers", "2", "--overlap", "30", "--dpi", "75"};
    for (const char *name : {"sheet.png", "sheet.bmp"}) {
        ASSERT_EQ(render(QStringList{example, path(name)} + sheet).status, 0) << name;
        EXPECT_EQ(QImage(path(name)).size(), size) << name;
    }
    EXPECT_EQ(uint8_t(FileBytes::read(path("sheet.bmp")).at(28)), 24) << "bits a pixel";
}

TEST_F(RenderCommandTest, TheSameRenderAsTheEditor)
{
    // The surface the render entry leaves after Open, a zoom, a ratio and a
    // scroll to the end of both bars (the vertical range then includes the
    // legend gap, which the render's first pass does not have).
    Document doc;
    doc.settings.showTimeLabels = 1;
    saveLine(doc, {12, 80, 60, 12});
    const QStringList options{"--size", "900x300", "--scroll", "100000,100000", "--zoom", "6", "--ratio", "1:1"};
    ASSERT_EQ(render(QStringList{path("line.vrs"), path("cli.png")} + options).status, 0);

    Document opened; // as the editor's Open leaves it
    ASSERT_TRUE(DocumentOpen::open(opened, path("line.vrs"), LabelMakers::standard()).isEmpty());
    opened.settings.zoom = 6; // the time labels follow the new scale
    opened.settings.ratioX = 1;
    opened.settings.ratioY = 1;
    LabelMakers::standard().makeTimeLabels(opened);
    HeadlessWindow window(QSize(900, 300));
    opened.settings.showTimeLabels = 1;
    Diagram diagram(opened, window);
    DiagramView &view = diagram.view();
    view.updateScale(opened.settings);
    diagram.render(RenderRequest::rebuildAll()); // Open
    ASSERT_TRUE(window.scrollBarVisible(Qt::Vertical));
    view.hpos = 100000;
    view.vpos = 100000;
    diagram.render(); // the user scrolls to the end of both bars
    ASSERT_EQ(view.hpos, window.scrollMaximum(Qt::Horizontal));
    ASSERT_EQ(view.vpos, window.scrollMaximum(Qt::Vertical));
    EXPECT_EQ(QImage(path("cli.png")).convertToFormat(QImage::Format_RGB32), diagram.renderer().surface());
}

TEST_F(RenderCommandTest, FindHighlightsTheTrainOrSaysItIsMissing)
{
    Document doc;
    saveLine(doc);
    // The train that starts earliest, found by its number: its line is green.
    const auto early = std::min_element(doc.trains.begin(), doc.trains.end(),
                                        [](const Train &a, const Train &b) { return a.firstTime < b.firstTime; });
    const QString number = QString::fromLatin1(early->name.view().toByteArray()).section(u' ', 1);
    auto greenPixels = [](const QImage &picture) {
        const QRgb green = Colours::toQColor(Colours::green).rgb();
        return Pixels::count(picture, picture.rect(), [&](QRgb p) { return p == green; });
    };
    ASSERT_EQ(render({path("line.vrs"), path("plain.png")}).status, 0);
    const CommandRun found = render({path("line.vrs"), path("found.png"), "--find", number});
    ASSERT_EQ(std::pair(found.status, found.err), std::pair(0, QByteArray()));
    EXPECT_EQ(QImage(path("plain.png")).size(), QSize(1600, 900)); // the default size
    EXPECT_EQ(greenPixels(QImage(path("plain.png"))), 0);
    EXPECT_GT(greenPixels(QImage(path("found.png"))), 20);
    EXPECT_EQ(render({path("line.vrs"), path("missing.png"), "--find", "os " + number}).status, 1);
    EXPECT_FALSE(QFile::exists(path("missing.png")));
}

// The sheet marks the conflicts as the editor's print does (the view is
// compared with the editor's window in its own test); --no-conflicts leaves
// them out.
TEST_F(RenderCommandTest, SheetConflictMarksUnlessLeftOut)
{
    const auto redPixels = [](const QImage &picture) {
        return Pixels::count(picture, picture.rect(),
                             [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 90 && qBlue(p) < 90; });
    };
    const QStringList sheet{"--sheet", "--dpi", "75"};
    ASSERT_EQ(render(QStringList{example, path("marked.png")} + sheet).status, 0);
    ASSERT_EQ(render(QStringList{example, path("plain.png"), "--no-conflicts"} + sheet).status, 0);
    // Red is the colour of some trains too: the marks add to it.
    EXPECT_GT(redPixels(QImage(path("marked.png"))), redPixels(QImage(path("plain.png"))) + 200);
}
