// A document compared with another one on the generated busy line (60
// stations over 300 km, 1000 trains of about 40 rows, a 1920 x 1080 surface
// at 100 %): the full rebuild and a zoom step, each without (argument 0) and
// with (1) the other document's 1000 trains drawn behind, and the list of
// differences between the two.
#include "editing/HeadlessDiagram.h"
#include "editing/TimetableDiff.h"

#include "SampleLine.h"

#include <benchmark/benchmark.h>

namespace {

const SampleLine::Shape line{60, 300, 1000, 40};

// The other variant: the same line, every train five minutes later.
std::unique_ptr<Document> laterVariant()
{
    auto other = std::make_unique<Document>();
    SampleLine::fill(*other, line);
    for (Train &t : other->trains) {
        t.firstTime += 5.0 / 1440.0;
        for (TrainStop &s : t.stops)
            s.time += 5.0 / 1440.0;
    }
    return other;
}

struct Scene : HeadlessDiagram
{
    // labels: the train and minute labels made and shown.
    Scene(bool compared, bool labels) : HeadlessDiagram(QSize(1920, 1080))
    {
        SampleLine::fill(doc, line);
        doc.settings.zoom = 4;
        view.updateScale(doc.settings);
        if (labels) {
            diagram.makeTrainLabels();
            diagram.makeTimeLabels();
            doc.settings.showTimeLabels = 1;
        }
        if (compared)
            diagram.setCompared(laterVariant());
        diagram.render(RenderRequest::rebuildAll());
    }
};

// Arguments: overlay, labels.
void rebuild(benchmark::State &state)
{
    Scene scene(state.range(0) != 0, state.range(1) != 0);
    for (auto _ : state)
        scene.diagram.render(RenderRequest::rebuildAll());
    state.counters["lines"] = static_cast<double>(scene.renderer.displayList().lineCount());
}

// In and back out at 125 %, labels made as the editor makes them.
void zoomStep(benchmark::State &state)
{
    Scene scene(state.range(0) != 0, true);
    scene.commands.zoomIn();
    scene.view.hpos = scene.window.scrollMaximum(Qt::Horizontal) / 2;
    scene.view.vpos = scene.window.scrollMaximum(Qt::Vertical) / 3;
    scene.diagram.render();
    for (auto _ : state) {
        scene.commands.zoomIn();
        scene.commands.zoomOut();
    }
}

void differences(benchmark::State &state)
{
    Document current;
    SampleLine::fill(current, line);
    const std::unique_ptr<Document> other = laterVariant();
    for (auto _ : state)
        benchmark::DoNotOptimize(TimetableDiff::compare(current, *other).rows.data());
}

} // namespace

BENCHMARK(rebuild)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(zoomStep)
    ->Arg(0)
    ->Arg(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(differences)->Unit(benchmark::kMillisecond);
