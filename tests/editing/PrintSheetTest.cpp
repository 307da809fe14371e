// The printed sheet: its size, its minute labels, and as a PDF or SVG
// reader sees it, its texts and its layers.
#include "editing/PrintSheet.h"

#include "DocumentFixtures.h"
#include "Poppler.h"
#include "SampleLine.h"

#include "editing/LabelGeneration.h"
#include "io/PictureFile.h"
#include "model/ClockTime.h"
#include "model/Document.h"
#include "render/DisplayList.h"
#include "render/ProgressSink.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <numbers>

namespace {

using C = PrintPlan::Choice;

// Praha (km 0), Kolín (10), Český Brod (18), Poříčany (25); three stopping
// trains, and train labels where the test puts them.
class PrintSheetTest : public ::testing::Test
{
protected:
    Document doc;
    QTemporaryDir dir;

    void SetUp() override
    {
        for (auto [name, km] : {std::pair("Praha", 0), {"Kolín", 10}, {"Český Brod", 18}, {"Poříčany", 25}})
            SampleLine::addStation(doc, name, km);
        using DocumentFixtures::addTrain;
        addTrain(doc, "Os 5401", {{1, 6, 0}, {2, 6, 20}, {3, 6, 40}, {4, 7, 0}});
        addTrain(doc, "Os 5402", {{4, 8, 0}, {3, 8, 13}, {2, 8, 31}, {1, 9, 0}});
        addTrain(doc, "Os 5403", {{1, 13, 7}, {2, 13, 29}, {3, 13, 53}, {4, 14, 11}});
    }
    void addLabel(const char *text, int hour) { DocumentFixtures::addLabel(doc, text, makeTime(hour, 0), 12); }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString pdf(const PrintSheet &sheet, const char *name) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        PictureFile::Picture picture{sheet.pixels(), [&sheet](QPainter &p) { sheet.paint(p); }, {}};
        EXPECT_TRUE(PictureFile::writePdf(file, picture, QStringLiteral("Trať"), 300));
        return file.fileName();
    }
};

} // namespace

TEST_F(PrintSheetTest, TheSheetIsWhatThePlanMeasures)
{
    const C choices[] = {
        C{},
        C{.layers = 2, .overlap = 30},
        C{.kmRange = PrintPlan::KmRange::Stations, .fromStation = 1, .toStation = 2},
        C{.scale = 200, .timeRange = PrintPlan::TimeRange::Span, .fromMinute = 6 * 60, .toMinute = 18 * 60},
    };
    const PrintPlan plan(doc);
    for (const C &c : choices)
        EXPECT_EQ(PrintSheet(doc, c, {true, true}).pixels(), QSize(plan.widthPixels(c), plan.heightPixels(c)));
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
    EXPECT_EQ(std::tuple(doc.timeLabels.size(), doc.timeLabels.front().x, doc.settings == settings, doc.redrawNeeded),
              std::tuple(labels.size(), labels.front().x, true, false));
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
    const QString text = Poppler::text(pdf(PrintSheet(doc, C{.layers = 2, .overlap = 30}, {true, true}), "layers.pdf"));
    for (const char *name : {"Praha", "Kolín", "Český Brod", "Poříčany"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(name))) << name << "\n" << text.toStdString();
    for (auto [label, times] : {std::pair("Os 5401", 1), {"R 1200", 2}, {"R 1800", 1}})
        EXPECT_EQ(text.count(QString::fromLatin1(label) + u'\n'), times) << label;
}

// An SVG of the sheet's size, with its texts. The SVG generator writes no
// clip: what crosses the left edge of a layer
// is cut where the station column begins, as in a PDF. Two layers, the
// second from 11:45: the station lines begin at midnight, left of it, and a
// train runs across 11:45. In the column (left of the numbers' ticks) there
// is no long run of line pixels and nothing of the train's black.
TEST_F(PrintSheetTest, AnSvgOfTheSheetsSizeCutAtTheStationColumnAsAPdfIs)
{
    DocumentFixtures::addTrain(doc, "Os 5405", {{1, 11, 30}, {4, 12, 0}});
    const PrintSheet sheet(doc, C{.layers = 2, .overlap = 30}, {true, true});
    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    ASSERT_TRUE(PictureFile::writeSvg(svg, {sheet.pixels(), [&sheet](QPainter &p) { sheet.paint(p); }, {}},
                                      QStringLiteral("Trať")));
    const QString text = QString::fromUtf8(svg.data());
    EXPECT_TRUE(text.contains(QStringLiteral("width=\"%1mm\"").arg(PrintPlan::millimetres(sheet.pixels().width()))));
    EXPECT_TRUE(text.contains(QStringLiteral("Poříčany")));
    QSvgRenderer reader(svg.data());
    ASSERT_TRUE(reader.isValid());
    QImage image(sheet.pixels(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    reader.render(&painter, QRectF(QPointF(0, 0), QSizeF(sheet.pixels())));
    painter.end();

    ASSERT_EQ(sheet.layout().layers.size(), 2u);
    const SheetLayout::Layer &second = sheet.layout().layers[1];
    int trainPixels = 0;
    int longestRun = 0;
    for (int64_t y = second.top; y < second.top + second.height; ++y) {
        int run = 0;
        for (int x = 0; x < 36; ++x) {
            const QRgb c = image.pixel(x, static_cast<int>(y));
            // The column's own drawing is olive (blue below red); black
            // and grey have as much blue as red.
            trainPixels += c != qRgb(255, 255, 255) && qBlue(c) >= qRed(c);
            run = c != qRgb(255, 255, 255) ? run + 1 : 0;
            longestRun = std::max(longestRun, run);
        }
    }
    EXPECT_EQ(trainPixels, 0);
    EXPECT_LT(longestRun, 20);
    // The diagram itself is drawn: its station lines cross the layer.
    int drawn = 0;
    for (int x = second.left; x < second.left + 20; ++x)
        for (int64_t y = second.top; y < second.top + second.height; ++y)
            drawn += image.pixel(x, static_cast<int>(y)) != qRgb(255, 255, 255);
    EXPECT_GT(drawn, 20);
}
