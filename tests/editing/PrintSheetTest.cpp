// The printed sheet as a PDF or SVG reader sees it: its page size, its
// texts, where its lines fall, its layers and its elements.
#include "editing/PrintSheet.h"

#include "DocumentFixtures.h"
#include "Poppler.h"
#include "SampleLine.h"

#include "editing/LabelGeneration.h"
#include "io/PictureFile.h"
#include "model/ClockTime.h"
#include "model/Document.h"
#include "render/Colours.h"
#include "render/DisplayList.h"
#include "render/ProgressSink.h"
#include "render/Replay.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using C = PrintPlan::Choice;

// Praha (km 0), Kolín (10), Český Brod (18), Poříčany (25), each a
// traffic point; three stopping trains, a fast one that passes the middle
// stations without a row there, and train labels where the test puts them.
class PrintSheetTest : public ::testing::Test
{
protected:
    Document doc;
    QTemporaryDir dir;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (auto [name, km] : {std::pair("Praha", 0), {"Kolín", 10}, {"Český Brod", 18}, {"Poříčany", 25}})
            SampleLine::addStation(doc, name, km);
        using DocumentFixtures::addTrain;
        addTrain(doc, "Os 5401", {{1, 6, 0}, {2, 6, 20}, {3, 6, 40}, {4, 7, 0}});
        addTrain(doc, "Os 5402", {{4, 8, 0}, {3, 8, 13}, {2, 8, 31}, {1, 9, 0}});
        addTrain(doc, "Os 5403", {{1, 13, 7}, {2, 13, 29}, {3, 13, 53}, {4, 14, 11}});
        addTrain(doc, "R 601", {{1, 10, 0}, {4, 10, 45}}); // width 3, crossing two lines mid-segment
    }
    // Centred on its time.
    void addLabel(const char *text, int hour) { DocumentFixtures::addLabel(doc, text, makeTime(hour, 0), 12); }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    // The sheet written as a PDF.
    QString pdf(const PrintSheet &sheet, const char *name) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        PictureFile::Picture picture{sheet.pixels(), [&sheet](QPainter &p) { sheet.paint(p); }, {}};
        EXPECT_TRUE(PictureFile::writePdf(file, picture, QStringLiteral("Trať"), 300));
        return file.fileName();
    }
    static C layers(int count, int overlap)
    {
        C c;
        c.layers = count;
        c.overlap = overlap;
        return c;
    }
};

// x of the middle of each run of dark pixels along a row, from column
// `from` on.
std::vector<double> darkRuns(const QImage &image, int row, int from, int to)
{
    std::vector<double> runs;
    int start = -1;
    for (int x = from; x <= to; ++x) {
        const QRgb p = x < to ? image.pixel(x, row) : qRgb(255, 255, 255);
        const bool dark = qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80;
        if (dark && start < 0)
            start = x;
        if (!dark && start >= 0) {
            runs.push_back((start + x - 1) / 2.0 - from);
            start = -1;
        }
    }
    return runs;
}

} // namespace

TEST_F(PrintSheetTest, ThePageIsTheSheetThePlanMeasures)
{
    C stations;
    stations.kmRange = PrintPlan::KmRange::Stations;
    stations.fromStation = 1;
    stations.toStation = 2;
    C span;
    span.timeRange = PrintPlan::TimeRange::Span;
    span.fromMinute = 6 * 60;
    span.toMinute = 18 * 60;
    span.scale = 200;
    const C choices[] = {C{}, layers(2, 30), stations, span};
    int n = 0;
    for (const C &c : choices) {
        const PrintSheet sheet(doc, c, {true, true});
        const PrintPlan plan(doc);
        EXPECT_EQ(sheet.pixels(), QSize(plan.widthPixels(c), plan.heightPixels(c)));
        const QSizeF page = Poppler::pageSizeMm(pdf(sheet, qPrintable(QStringLiteral("sheet%1.pdf").arg(++n))));
        EXPECT_EQ(std::lround(page.width()), PrintPlan::millimetres(plan.widthPixels(c))) << n;
        EXPECT_EQ(std::lround(page.height()), PrintPlan::millimetres(plan.heightPixels(c))) << n;
    }
}

TEST_F(PrintSheetTest, MinuteLabelsAcrossTheDayAndTheDocumentComesOutAsItWentIn)
{
    NullProgress progress;
    MakeTimeLabels(doc, 2.0, progress); // the window's, at 100 %
    const auto labels = doc.timeLabels;
    const DocumentSettings settings = doc.settings;
    doc.redrawNeeded = false;
    const int32_t afternoon = PrintSheet(doc, C{}, {true, true}).recording().list->stripOf(13 * 60 * 4 + 7 * 4);
    {
        const PrintSheet sheet(doc, C{}, {true, true});
        // The sheet has 4 pixels a minute: the afternoon train's minutes lie
        // in a strip its recording's one-pixel window never showed.
        EXPECT_FALSE(sheet.recording().list->textsInStrip(afternoon).empty());
        EXPECT_TRUE(PrintSheet(doc, C{}, {false, true}).recording().list->textsInStrip(afternoon).empty());
    }
    EXPECT_EQ(doc.timeLabels.size(), labels.size());
    EXPECT_EQ(doc.timeLabels.front().x, labels.front().x);
    EXPECT_EQ(doc.settings, settings);
    EXPECT_FALSE(doc.redrawNeeded);
}

TEST_F(PrintSheetTest, TrainsCrossStationLinesWhereThePixelRendererDrawsThem)
{
    const PrintSheet sheet(doc, C{}, {false, true});
    const SheetLayout::Layer &layer = sheet.layout().layers.front();
    const QImage printed = Poppler::raster(pdf(sheet, "lines.pdf"), sheet.pixels(), path("lines"));
    ASSERT_EQ(printed.size(), sheet.pixels());

    QImage screen(layer.width, layer.height, QImage::Format_RGB32);
    Replayer().replay(*sheet.recording().list, screen,
                      {layer.vx0, layer.vy0, layer.vx0 + layer.width, layer.vy0 + layer.height}, false);

    // Kolín and Český Brod: every train crosses them, the fast one between
    // its rows. The screen draws a station line again over the trains of
    // earlier strips, so the trains are compared just above and below it.
    for (const int km : {10, 18})
        for (const int off : {-3, 3}) {
            const int y = Geometry::y(km, 4, doc.maxKm) - layer.vy0 + off;
            const std::vector<double> expected = darkRuns(screen, y, 0, layer.width);
            const std::vector<double> drawn =
                darkRuns(printed, static_cast<int>(layer.top) + y, layer.left, layer.left + layer.width);
            ASSERT_EQ(expected.size(), 4u) << km;
            ASSERT_EQ(drawn.size(), expected.size()) << km;
            for (size_t i = 0; i < drawn.size(); ++i)
                EXPECT_LE(std::abs(drawn[i] - expected[i]), 1.0) << "km " << km << off << " crossing " << i;
        }
}

// Station and train names are text, standing text too. Two layers
// overlapping by 30 minutes: the first ends at 12:15, the second begins at
// 11:45.
TEST_F(PrintSheetTest, NamesAreTextAndTheOverlapIsInBothLayers)
{
    addLabel("Os 5401", 6);
    addLabel("R 1200", 12);
    addLabel("R 1800", 18);
    doc.trainLabels.back().angle = -std::numbers::pi / 2;
    const QString text = Poppler::text(pdf(PrintSheet(doc, layers(2, 30), {true, true}), "layers.pdf"));
    for (const char *name : {"Praha", "Kolín", "Český Brod", "Poříčany"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(name))) << name << "\n" << text.toStdString();
    for (auto [label, times] : {std::pair("Os 5401", 1), {"R 1200", 2}, {"R 1800", 1}})
        EXPECT_EQ(text.count(QString::fromLatin1(label) + u'\n'), times) << label;
}

TEST_F(PrintSheetTest, AnSvgHasOnePathForEveryTrainSegment)
{
    for (Train &t : doc.trains)
        t.rusici = 1; // red, as nothing else is
    const PrintSheet sheet(doc, C{}, {false, true});
    size_t segments = 0;
    const DisplayList &list = *sheet.recording().list;
    for (int32_t k = 1; k <= list.stripCount(); ++k)
        for (const LinePrimitive &p : list.ownLines(k))
            segments += p.colour == Colours::red;
    for (const DisplayList::CrossingLine &c : list.crossingLines())
        segments += c.line.colour == Colours::red;
    ASSERT_EQ(segments, 10u);

    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    ASSERT_TRUE(PictureFile::writeSvg(svg, {sheet.pixels(), [&sheet](QPainter &p) { sheet.paint(p); }, {}},
                                      QStringLiteral("Trať")));
    QXmlStreamReader xml(svg.data());
    std::vector<QString> strokes{QString()};
    size_t redPaths = 0;
    QString width;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString stroke = xml.attributes().value(QStringLiteral("stroke")).toString();
            strokes.push_back(stroke.isEmpty() ? strokes.back() : stroke);
            if (xml.name() == QLatin1String("svg"))
                width = xml.attributes().value(QStringLiteral("width")).toString();
            redPaths += xml.name() == QLatin1String("path") && strokes.back() == QLatin1String("#ff0000");
        } else if (xml.isEndElement()) {
            strokes.pop_back();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(redPaths, segments);
    EXPECT_EQ(width, QStringLiteral("%1mm").arg(PrintPlan::millimetres(sheet.pixels().width())));
}
