// vlakorys-cli render: the options, the pictures it writes and its errors.
#include "cli/RenderCommand.h"
#include "cli/CliApp.h"
#include "io/DocumentFile.h"
#include "model/Document.h"
#include "render/Colours.h"
#include "render/HeadlessWindow.h"
#include "render/Renderer.h"

#include "SampleLine.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

QString example()
{
    return QStringLiteral(VLAKORYS_SOURCE_DIR "/examples/liberec-tanvald.vrs");
}

// Standard error of a command, read back.
class Stream
{
public:
    Stream() : m_file(std::tmpfile()) {}
    ~Stream() { std::fclose(m_file); }
    std::FILE *file() const { return m_file; }
    QByteArray text() const
    {
        std::fflush(m_file);
        std::rewind(m_file);
        QByteArray out;
        char buffer[1024];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0)
            out.append(buffer, static_cast<qsizetype>(n));
        return out;
    }

private:
    std::FILE *m_file;
};

class RenderCommandTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    Stream out;
    Stream err;

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    int cli(QStringList args)
    {
        args.prepend(QStringLiteral("render"));
        return CliApp::run(args, out.file(), err.file());
    }
    QString parse(const QStringList &args, RenderCommand::Options &o) { return RenderCommand::parse(args, o); }
};

} // namespace

TEST_F(RenderCommandTest, OptionsAndTheirDefaults)
{
    RenderCommand::Options o;
    EXPECT_TRUE(parse({"a.vrs", "b.png"}, o).isEmpty());
    EXPECT_EQ(o.size, QSize(1600, 900));
    EXPECT_FALSE(o.zoom);
    EXPECT_FALSE(o.ratio);
    EXPECT_FALSE(o.timeLabels);
    EXPECT_EQ(o.hpos, 0);

    RenderCommand::Options p;
    EXPECT_TRUE(parse({"--size", "1920x1080", "a.vrs", "--zoom=7", "b.BMP", "--ratio", "2:3", "--scroll", "40,12",
                       "--time-labels", "on"},
                      p)
                    .isEmpty());
    EXPECT_EQ(p.input, QStringLiteral("a.vrs"));
    EXPECT_EQ(p.output, QStringLiteral("b.BMP"));
    EXPECT_EQ(p.size, QSize(1920, 1080));
    EXPECT_EQ(*p.zoom, 7);
    EXPECT_EQ(*p.ratio, std::make_pair(2, 3));
    EXPECT_EQ(p.hpos, 40);
    EXPECT_EQ(p.vpos, 12);
    EXPECT_TRUE(*p.timeLabels);
}

TEST_F(RenderCommandTest, BadOptionsAreNamed)
{
    const struct
    {
        QStringList args;
        const char *starts;
    } cases[] = {
        {{"a.vrs", "b.png", "--size", "0x5"}, "--size:"},
        {{"a.vrs", "b.png", "--size", "100000x900"}, "--size:"},
        {{"a.vrs", "b.png", "--size", "wide"}, "--size:"},
        {{"a.vrs", "b.png", "--zoom", "1"}, "--zoom:"},
        {{"a.vrs", "b.png", "--zoom", "22"}, "--zoom:"},
        {{"a.vrs", "b.png", "--ratio", "0:2"}, "--ratio:"},
        {{"a.vrs", "b.png", "--ratio", "3"}, "--ratio:"},
        {{"a.vrs", "b.png", "--scroll", "-1,0"}, "--scroll:"},
        {{"a.vrs", "b.png", "--time-labels", "yes"}, "--time-labels:"},
        {{"a.vrs", "b.png", "--colour", "red"}, "--colour: unknown"},
        {{"a.vrs", "b.png", "--zoom"}, "--zoom: a value is missing"},
        {{"a.vrs", "b.jpg"}, "b.jpg:"},
        {{"a.vrs"}, "usage:"},
    };
    for (const auto &c : cases) {
        RenderCommand::Options o;
        EXPECT_TRUE(parse(c.args, o).startsWith(QString::fromLatin1(c.starts))) << c.args.join(' ').toStdString();
    }
}

TEST_F(RenderCommandTest, TheExampleBecomesAPicture)
{
    ASSERT_EQ(cli({example(), path("example.png")}), 0);
    EXPECT_TRUE(err.text().isEmpty());
    const QImage picture(path("example.png"));
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

TEST_F(RenderCommandTest, ABitmapHasTwentyFourBitsAPixel)
{
    ASSERT_EQ(cli({example(), path("example.bmp"), "--size", "320x200"}), 0);
    QFile f(path("example.bmp"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_GT(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24);
    const QImage picture(path("example.bmp"));
    EXPECT_EQ(picture.size(), QSize(320, 200));
}

TEST_F(RenderCommandTest, OptionsChangeThePicture)
{
    Document doc;
    SampleLine::fill(doc, {10, 60, 40, 10});
    ASSERT_EQ(DocumentFile::save(doc, path("line.vrs")), DocumentFile::Status::Ok);
    ASSERT_EQ(cli({path("line.vrs"), path("plain.png"), "--size", "800x500"}), 0);
    ASSERT_EQ(cli({path("line.vrs"), path("zoomed.png"), "--size", "800x500", "--zoom", "8"}), 0);
    ASSERT_EQ(cli({path("line.vrs"), path("ratio.png"), "--size", "800x500", "--ratio", "1:1"}), 0);
    ASSERT_EQ(cli({path("line.vrs"), path("scrolled.png"), "--size", "800x500", "--scroll", "60,0"}), 0);
    const QImage plain(path("plain.png"));
    EXPECT_NE(QImage(path("zoomed.png")), plain);
    EXPECT_NE(QImage(path("ratio.png")), plain);
    // Scrolled by 60 units, the diagram stands 300 pixels further left.
    const QImage scrolled(path("scrolled.png"));
    EXPECT_EQ(scrolled.copy(40, 0, 400, 200), plain.copy(340, 0, 400, 200));
}

TEST_F(RenderCommandTest, ScrollPositionsAreHeldToTheBars)
{
    Document doc;
    SampleLine::fill(doc, {10, 60, 40, 10});
    ASSERT_EQ(DocumentFile::save(doc, path("line.vrs")), DocumentFile::Status::Ok);
    // The paint box of 800 x 700: ScrollBar1.Max = (2960 - 800) div 5, and
    // the diagram (500 pixels) with its legend fits, so ScrollBar2 hides.
    ASSERT_EQ(cli({path("line.vrs"), path("far.png"), "--size", "800x700", "--scroll", "100000,100000"}), 0);
    ASSERT_EQ(cli({path("line.vrs"), path("max.png"), "--size", "800x700", "--scroll", "432,0"}), 0);
    ASSERT_EQ(cli({path("line.vrs"), path("less.png"), "--size", "800x700", "--scroll", "431,0"}), 0);
    EXPECT_NE(QImage(path("less.png")), QImage(path("max.png")));
    EXPECT_EQ(QImage(path("far.png")), QImage(path("max.png")));
}

TEST_F(RenderCommandTest, TheSameRenderAsTheEditor)
{
    // What the command draws is the surface the render entry leaves after a
    // document was opened: here compared with a render of the same document
    // and window state set up by hand.
    Document doc;
    SampleLine::fill(doc, {12, 80, 60, 12});
    doc.settings.showTimeLabels = 1;
    ASSERT_EQ(DocumentFile::save(doc, path("line.vrs")), DocumentFile::Status::Ok);
    ASSERT_EQ(cli({path("line.vrs"), path("cli.png"), "--size", "900x400", "--scroll", "20,7"}), 0);

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

TEST_F(RenderCommandTest, FailuresLeaveNoPicture)
{
    EXPECT_EQ(cli({path("missing.vrs"), path("out.png")}), 1);
    EXPECT_EQ(err.text(), (QStringLiteral("vlakorys-cli: ") + path("missing.vrs")
                           + QStringLiteral(": Chyba při otevírání souboru.\n"))
                              .toUtf8());
    EXPECT_FALSE(QFile::exists(path("out.png")));

    Stream e2;
    EXPECT_EQ(CliApp::run({"render", example(), path("out.gif")}, out.file(), e2.file()), 1);
    EXPECT_EQ(e2.text().count('\n'), 1);
    EXPECT_TRUE(e2.text().contains(".png or .bmp"));

    Stream e3;
    EXPECT_EQ(CliApp::run({"render", example(), path("no/such/dir/out.png")}, out.file(), e3.file()), 1);
    EXPECT_TRUE(e3.text().endsWith("cannot write the picture\n"));
    EXPECT_EQ(e3.text().count('\n'), 1);

    Stream e4;
    EXPECT_EQ(CliApp::run({"render", example()}, out.file(), e4.file()), 1);
    EXPECT_TRUE(e4.text().startsWith("vlakorys-cli: usage: vlakorys-cli render"));
}
