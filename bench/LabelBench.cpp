// Label generation and label images on the generated busy line: 60
// stations over 300 km, 1000 trains of about 40 rows, at z = 4 (s = 2).
#include "SampleLine.h"

#include "editing/LabelGeneration.h"
#include "model/Document.h"
#include "render/LabelImage.h"
#include "render/LabelOutline.h"
#include "render/ProgressSink.h"
#include "render/TrainLabelPlacement.h"

#include <QImage>

#include <benchmark/benchmark.h>

namespace {

constexpr double scale = 2.0;

Document &busyLine()
{
    static Document doc;
    static bool filled = false;
    if (!filled) {
        SampleLine::fill(doc, {60, 300, 1000, 40});
        doc.settings.zoom = 4;
        filled = true;
    }
    return doc;
}

void BM_MakeTimeLabels(benchmark::State &state)
{
    Document &doc = busyLine();
    NullProgress progress;
    for (auto _ : state) {
        MakeTimeLabels(doc, scale, progress);
        benchmark::DoNotOptimize(doc.timeLabels.front());
    }
    state.counters["labels"] = doc.timeLabelCount();
}
BENCHMARK(BM_MakeTimeLabels)->Unit(benchmark::kMillisecond);

void BM_MakeTrainLabels(benchmark::State &state)
{
    Document &doc = busyLine();
    for (auto _ : state)
        MakeTrainLabels(doc, scale);
    state.counters["labels"] = doc.trainLabelCount();
}
BENCHMARK(BM_MakeTrainLabels)->Unit(benchmark::kMillisecond);

// The train-label step of a rebuild that images every label (stale images),
// without and with smoothing.
void BM_ImageAllTrainLabels(benchmark::State &state)
{
    Document &doc = busyLine();
    MakeTrainLabels(doc, scale);
    doc.settings.smoothing = static_cast<uint8_t>(state.range(0));
    NullProgress progress;
    LabelOutlineList outlines;
    for (auto _ : state) {
        outlines.clear();
        doc.labelImagesStale = true;
        PlaceTrainLabels(doc, scale, 0, doc.settings.smoothing, doc.settings.showCategory, outlines, progress);
    }
    doc.labelImagesStale = false;
    doc.settings.smoothing = 0;
    state.counters["labels"] = doc.trainLabelCount();
}
BENCHMARK(BM_ImageAllTrainLabels)->Arg(0)->Arg(1)->ArgName("smoothing")->Unit(benchmark::kMillisecond);

// The same step when every label already has its image: what a plain
// rebuild pays for the train labels.
void BM_PlaceTrainLabelsWithImages(benchmark::State &state)
{
    Document &doc = busyLine();
    MakeTrainLabels(doc, scale);
    NullProgress progress;
    LabelOutlineList outlines;
    PlaceTrainLabels(doc, scale, 0, doc.settings.smoothing, doc.settings.showCategory, outlines, progress);
    for (auto _ : state) {
        outlines.clear();
        PlaceTrainLabels(doc, scale, 0, doc.settings.smoothing, doc.settings.showCategory, outlines, progress);
    }
}
BENCHMARK(BM_PlaceTrainLabelsWithImages)->Unit(benchmark::kMillisecond);

// Composing the images into a full-screen viewport at noon.
void BM_ComposeLabelImages(benchmark::State &state)
{
    Document &doc = busyLine();
    MakeTrainLabels(doc, scale);
    NullProgress progress;
    LabelOutlineList outlines;
    PlaceTrainLabels(doc, scale, 0, doc.settings.smoothing, doc.settings.showCategory, outlines, progress);
    QImage bitmap(1880, 1000, QImage::Format_RGB32);
    for (auto _ : state) {
        bitmap.fill(Qt::white);
        ComposeLabelImages(doc.trainLabels, bitmap, 1440, 0, 1440 + 1880, 999);
    }
}
BENCHMARK(BM_ComposeLabelImages)->Unit(benchmark::kMillisecond);

} // namespace
