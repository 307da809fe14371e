// The printed sheet of the generated busy line (60 stations over 300 km,
// 1000 trains): the whole day at 100 % written as a PDF, from recording at
// the sheet's scale to the last byte, and the file's size. The argument is
// 1 to show the minute labels (about 60 000 texts), 0 to leave them out.
// Also the picture files of a 1920 x 1080 view: PNG against BMP.
#include "editing/Diagram.h"
#include "editing/LabelGeneration.h"
#include "editing/PrintSheet.h"
#include "io/PictureFile.h"
#include "io/PngFile.h"
#include "render/HeadlessWindow.h"

#include "SampleLine.h"

#include <QBuffer>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

Document &busyLine()
{
    static Document doc;
    if (doc.noDocument) {
        SampleLine::fill(doc);
        MakeTrainLabels(doc, 2.0);
    }
    return doc;
}

void wholeDaySheetAsPdf(benchmark::State &state)
{
    Document &doc = busyLine();
    const bool minuteLabels = state.range(0) != 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        const PrintSheet sheet(doc, PrintPlan::Choice{}, {minuteLabels, true});
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        PictureFile::writePdf(pdf, {sheet.pixels(), [&sheet](QPainter &p) { sheet.paint(p); }, {}},
                              QStringLiteral("Trať"), 300);
        bytes = pdf.size();
    }
    state.counters["MiB"] = static_cast<double>(bytes) / (1 << 20);
}

// The surface of a 1920 x 1080 render of the busy line.
const QImage &busyView()
{
    static const QImage view = [] {
        Document &doc = busyLine();
        HeadlessWindow window(QSize(1920, 1080));
        Diagram diagram(doc, window);
        diagram.view().updateScale(doc.settings);
        diagram.render(RenderRequest::rebuildAll());
        return diagram.renderer().surface().copy();
    }();
    return view;
}

void viewAsPng(benchmark::State &state)
{
    const QImage &view = busyView();
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        PngFile::write(view, png);
        bytes = png.size();
    }
    state.counters["KiB"] = static_cast<double>(bytes) / 1024;
}

void viewAsBmp(benchmark::State &state)
{
    const QImage &view = busyView();
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer bmp;
        bmp.open(QIODevice::WriteOnly);
        view.convertToFormat(QImage::Format_RGB888).save(&bmp, "BMP");
        bytes = bmp.size();
    }
    state.counters["KiB"] = static_cast<double>(bytes) / 1024;
}

} // namespace

BENCHMARK(wholeDaySheetAsPdf)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(viewAsPng)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(viewAsBmp)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
