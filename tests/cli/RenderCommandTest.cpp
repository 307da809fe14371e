// vlakorys-cli render: the options, the pictures it writes and its errors.
#include "CliTest.h"

#include "../io/FileBytes.h"

#include "cli/RenderCommand.h"
#include "io/DocumentFile.h"
#include "model/Document.h"
#include "render/Colours.h"
#include "render/HeadlessWindow.h"
#include "render/Renderer.h"

#include "SampleLine.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

const QString example = QStringLiteral(VLAKORYS_SOURCE_DIR "/examples/liberec-tanvald.vrs");

class RenderCommandTest : public CliTest
{
protected:
    static CommandRun render(const QStringList &args) { return cli(QStringList{"render"} + args); }
    // line.vrs: a small generated line.
    void saveLine(Document &doc, const SampleLine::Shape &shape = {10, 60, 40, 10})
    {
        SampleLine::fill(doc, shape);
        ASSERT_EQ(DocumentFile::save(doc, path("line.vrs")), DocumentFile::Status::Ok);
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
    EXPECT_EQ(o.input, QStringLiteral("a.vrs"));
    EXPECT_EQ(o.output, QStringLiteral("b.BMP"));
    EXPECT_EQ(o.size, QSize(1920, 1080));
    EXPECT_EQ(*o.zoom, 7);
    EXPECT_EQ(*o.ratio, std::make_pair(2, 3));
    EXPECT_EQ(o.hpos, 40);
    EXPECT_EQ(o.vpos, 12);
    EXPECT_TRUE(*o.timeLabels);
    EXPECT_EQ(*o.find, QStringLiteral("os 12"));

    const std::pair<QStringList, const char *> bad[] = {
        {{"a.vrs", "b.png", "--size", "0x5"}, "--size:"},
        {{"a.vrs", "b.png", "--size", "100000x900"}, "--size:"},
        {{"a.vrs", "b.png", "--zoom", "22"}, "--zoom:"},
        {{"a.vrs", "b.png", "--ratio", "3"}, "--ratio:"},
        {{"a.vrs", "b.png", "--scroll", "-1,0"}, "--scroll:"},
        {{"a.vrs", "b.png", "--time-labels", "yes"}, "--time-labels:"},
        {{"a.vrs", "b.png", "--colour", "red"}, "--colour: unknown"},
        {{"a.vrs", "b.png", "--zoom"}, "--zoom: a value is missing"},
        {{"a.vrs", "b.jpg"}, "b.jpg:"},
        {{"a.vrs"}, "usage:"},
    };
    for (const auto &[args, starts] : bad) {
        RenderCommand::Options p;
        EXPECT_TRUE(RenderCommand::parse(args, p).startsWith(QLatin1String(starts))) << args.join(' ').toStdString();
    }
}

TEST_F(RenderCommandTest, TheExampleBecomesATwentyFourBitPicture)
{
    const CommandRun r = render({example, path("example.bmp")});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.isEmpty());
    const QByteArray bytes = FileBytes::read(path("example.bmp"));
    ASSERT_GT(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24);
    const QImage picture(path("example.bmp"));
    ASSERT_EQ(picture.size(), QSize(1600, 900));
    // The top station's line: olive, width 3, a thin black line on it.
    EXPECT_EQ(picture.pixelColor(300, 20), Colours::toQColor(Colours::black));
    EXPECT_EQ(picture.pixelColor(300, 19), Colours::toQColor(Colours::olive));
    // Train lines cross the diagram: black or blue ink below the top line.
    int ink = 0;
    for (int y = 25; y < 400; ++y)
        for (int x = 40; x < 1600; ++x) {
            const QColor c = picture.pixelColor(x, y);
            ink += c == QColor(Qt::black) || c == Colours::toQColor(Colours::blue);
        }
    EXPECT_GT(ink, 500);
}

TEST_F(RenderCommandTest, OptionsChangeThePicture)
{
    Document doc;
    saveLine(doc);
    const std::pair<const char *, QStringList> pictures[] = {
        {"plain", {}}, {"zoomed", {"--zoom", "8"}}, {"ratio", {"--ratio", "1:1"}}, {"scrolled", {"--scroll", "60,0"}}};
    for (const auto &[name, options] : pictures) {
        const QStringList args{path("line.vrs"), path(name) + ".png", "--size", "800x500"};
        ASSERT_EQ(render(args + options).status, 0) << name;
    }
    const QImage plain(path("plain.png"));
    EXPECT_NE(QImage(path("zoomed.png")), plain);
    EXPECT_NE(QImage(path("ratio.png")), plain);
    // Scrolled by 60 units, the diagram stands 300 pixels further left.
    EXPECT_EQ(QImage(path("scrolled.png")).copy(40, 0, 400, 200), plain.copy(340, 0, 400, 200));
}

TEST_F(RenderCommandTest, ScrollPositionsAreHeldToTheBars)
{
    Document doc;
    saveLine(doc);
    // The paint box of 800 x 700: ScrollBar1.Max = (2960 - 800) div 5, and
    // the diagram (500 pixels) with its legend fits, so ScrollBar2 hides.
    for (const auto &[name, scroll] : {std::pair("far", "100000,100000"), {"max", "432,0"}, {"less", "431,0"}})
        ASSERT_EQ(render({path("line.vrs"), path(name) + ".png", "--size", "800x700", "--scroll", scroll}).status, 0);
    EXPECT_NE(QImage(path("less.png")), QImage(path("max.png")));
    EXPECT_EQ(QImage(path("far.png")), QImage(path("max.png")));
}

TEST_F(RenderCommandTest, TheVerticalPositionIsHeldToTheFinishedRender)
{
    // The editor after Open, scrolled to the bottom: the vertical range then
    // includes the legend gap, which the render's first pass does not have.
    const QSize box(900, 300);
    Document edited;
    SampleLine::fill(edited, {12, 80, 60, 12});
    HeadlessWindow window(box);
    window.setChecked(DiagramWindow::CheckBox::TimeLabels, edited.settings.showTimeLabels);
    DiagramView view;
    view.updateScale(edited.settings);
    Renderer renderer(edited, view);
    edited.redrawNeeded = true;
    renderer.render(window);
    ASSERT_TRUE(window.scrollBarVisible(Qt::Vertical));
    view.vpos = 100000;
    renderer.render(window);
    ASSERT_EQ(view.vpos, window.scrollMaximum(Qt::Vertical));

    Document rendered;
    SampleLine::fill(rendered, {12, 80, 60, 12});
    RenderCommand::Options options;
    options.size = box;
    options.vpos = 100000;
    EXPECT_EQ(RenderCommand::render(rendered, options), renderer.surface());
}

TEST_F(RenderCommandTest, TheSameRenderAsTheEditor)
{
    // What the command draws is the surface the render entry leaves after a
    // document was opened: here compared with a render of the same document
    // and window state set up by hand.
    Document doc;
    doc.settings.showTimeLabels = 1;
    saveLine(doc, {12, 80, 60, 12});
    ASSERT_EQ(render({path("line.vrs"), path("cli.png"), "--size", "900x400", "--scroll", "20,7"}).status, 0);

    Document opened;
    ASSERT_EQ(DocumentFile::load(opened, path("line.vrs")).status, DocumentFile::Status::Ok);
    DocumentReader::finishLoading(opened);
    const LabelSteps labels = LabelSteps::standard();
    labels.makeTrainLabels(opened); // the file has none
    labels.makeTimeLabels(opened);
    HeadlessWindow window(QSize(900, 400));
    window.setChecked(DiagramWindow::CheckBox::TimeLabels, true);
    DiagramView view;
    view.updateScale(opened.settings);
    Renderer renderer(opened, view);
    opened.redrawNeeded = true;
    renderer.render(window); // Open
    view.hpos = 20;
    view.vpos = 7;
    renderer.render(window); // the user scrolls
    EXPECT_EQ(QImage(path("cli.png")).convertToFormat(QImage::Format_RGB32), renderer.surface());
}

TEST_F(RenderCommandTest, FindHighlightsTheTrainOrSaysItIsMissing)
{
    Document doc;
    saveLine(doc);
    // The train that starts earliest, found by its number: its line is green.
    const Train *early = &doc.trains.front();
    for (const Train &t : doc.trains)
        if (t.firstTime < early->firstTime)
            early = &t;
    const QString number = QString::fromLatin1(early->name.view().toByteArray()).section(u' ', 1);
    auto greenPixels = [](const QImage &picture) {
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += picture.pixelColor(x, y) == Colours::toQColor(Colours::green);
        return n;
    };
    ASSERT_EQ(render({path("line.vrs"), path("plain.png")}).status, 0);
    const CommandRun found = render({path("line.vrs"), path("found.png"), "--find", number});
    ASSERT_EQ(found.status, 0);
    EXPECT_TRUE(found.err.isEmpty());
    EXPECT_EQ(greenPixels(QImage(path("plain.png"))), 0);
    EXPECT_GT(greenPixels(QImage(path("found.png"))), 20);

    const CommandRun missing = render({path("line.vrs"), path("missing.png"), "--find", "os " + number});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(QString::fromUtf8(missing.err),
              "vlakorys-cli: " + path("line.vrs") + ": Vlak os " + number + " nebyl nalezen\n");
    EXPECT_FALSE(QFile::exists(path("missing.png")));
}

TEST_F(RenderCommandTest, FailuresLeaveNoPicture)
{
    const struct
    {
        QStringList args;
        QString says; // on the one line of standard error
        const char *noFile;
    } cases[] = {
        {{path("missing.vrs"), path("out.png")},
         QStringLiteral("vlakorys-cli: ") + path("missing.vrs") + QStringLiteral(": Chyba při otevírání souboru.\n"),
         "out.png"},
        {{example, path("out.gif")}, QStringLiteral(".png, .bmp, .pdf or .svg"), "out.gif"},
        {{example, path("no/such/dir/out.png")}, QStringLiteral("cannot write the picture\n"), nullptr},
        {{example}, QStringLiteral("vlakorys-cli: usage: vlakorys-cli render"), nullptr},
    };
    for (const auto &c : cases) {
        const CommandRun r = render(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(c.says.toUtf8())) << r.err.constData();
        EXPECT_EQ(r.err.count('\n'), 1);
        if (c.noFile) {
            EXPECT_FALSE(QFile::exists(path(c.noFile)));
        }
    }
}
