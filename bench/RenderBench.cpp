// The renderer on the generated busy line (60 stations over 300 km, 1000
// trains of about 40 rows) with a 1920 x 1080 diagram surface. The argument
// is the zoom level (4 = 100 %). The plain benchmarks draw no labels; the
// WithLabels ones add the train labels (their images already made, as after
// the first rebuild) and, in the second, the minute labels.
#include "editing/HeadlessDiagram.h"

#include "SampleLine.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

struct Scene : HeadlessDiagram
{
    enum class Labels { None, Train, TrainAndMinute };

    explicit Scene(int zoom, Labels labels = Labels::None, int trains = 1000) : HeadlessDiagram(QSize(1920, 1080))
    {
        SampleLine::fill(doc, {60, 300, trains, 40});
        doc.settings.zoom = static_cast<uint8_t>(zoom);
        view.updateScale(doc.settings);
        if (labels != Labels::None) {
            diagram.makeTrainLabels();
            diagram.makeTimeLabels();
            doc.settings.showTimeLabels = labels == Labels::TrainAndMinute;
        }
        diagram.render(RenderRequest::rebuildAll()); // the first render of a document, with its second pass
    }
};

void fullRebuild(benchmark::State &state)
{
    Scene scene(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        scene.diagram.render(RenderRequest::rebuildAll());
    }
    state.counters["lines"] = static_cast<double>(scene.renderer.displayList().lineCount());
}

// Arguments: zoom level, and 1 to record the minute labels too.
void fullRebuildWithLabels(benchmark::State &state)
{
    Scene scene(static_cast<int>(state.range(0)),
                state.range(1) ? Scene::Labels::TrainAndMinute : Scene::Labels::Train);
    for (auto _ : state) {
        scene.diagram.render(RenderRequest::rebuildAll());
    }
    state.counters["trainLabels"] = scene.doc.trainLabelCount();
    state.counters["minuteLabels"] = state.range(1) ? scene.doc.timeLabelCount() : 0;
}

void replayAfterScrolling(benchmark::State &state)
{
    Scene scene(static_cast<int>(state.range(0)));
    const int32_t hmax = scene.window.scrollMaximum(Qt::Horizontal);
    const int32_t vmax = scene.window.scrollMaximum(Qt::Vertical);
    int step = 0;
    for (auto _ : state) {
        // Across the day and down the line, as dragging the bars does.
        scene.view.hpos = hmax ? (step * 37) % (hmax + 1) : 0;
        scene.view.vpos = vmax ? (step * 11) % (vmax + 1) : 0;
        ++step;
        scene.diagram.render();
    }
}

// Scrolling the day of 10,000 trains at 150 %, train and minute labels on:
// the part in view alone (at noon, a third down the line, 107,000 minute
// texts and 74,000 lines) is what any step that shows this line costs at
// least, a zoom step included.
void scrollDenseLine(benchmark::State &state)
{
    Scene scene(6, Scene::Labels::TrainAndMinute, 10000);
    const int32_t hmax = scene.window.scrollMaximum(Qt::Horizontal);
    const int32_t vmax = scene.window.scrollMaximum(Qt::Vertical);
    // The strips' minute texts and the label images are made on the first
    // visit of each part of the day: a few of the many steps.
    int step = 0;
    for (auto _ : state) {
        scene.view.hpos = (step * 37) % (hmax + 1);
        scene.view.vpos = (step * 11) % (vmax + 1);
        ++step;
        scene.diagram.render();
    }
}

void paintOnly(benchmark::State &state)
{
    Scene scene(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        scene.diagram.render(RenderRequest::paint());
    }
}

// A zoom step in and back out as the editor runs it: MakeTimeLabels, the
// rebuild and the replay, on the generated line of 1000 or 10,000 trains
// at 125 % and 150 %, train and minute labels on. The second argument is
// "Vyhlazení"; the third, the steps of a run (a held key, the wheel turned
// three notches), rebuilt once after it. The CPU is the whole process's,
// for a run in and a run out.
void zoomStep(benchmark::State &state)
{
    HeadlessDiagram scene(QSize(1920, 1080));
    Document &doc = scene.doc;
    DiagramView &view = scene.view;
    HeadlessWindow &window = scene.window;
    SampleLine::fill(doc, {60, 300, static_cast<int>(state.range(0)), 40});
    doc.settings.zoom = 5;
    doc.settings.smoothing = static_cast<uint8_t>(state.range(1));
    doc.settings.showTimeLabels = 1;
    view.updateScale(doc.settings);
    scene.diagram.makeTrainLabels();
    scene.diagram.makeTimeLabels();
    scene.diagram.render(RenderRequest::rebuildAll()); // the document's first render
    ViewCommands &commands = scene.commands;
    // Noon, a third of the way down the line.
    view.hpos = window.scrollMaximum(Qt::Horizontal) / 2;
    view.vpos = window.scrollMaximum(Qt::Vertical) / 3;
    scene.diagram.render();
    // Each step's wall time as well: a frame is the budget of one step.
    using Clock = std::chrono::steady_clock;
    double inMs = 0;
    double outMs = 0;
    const auto run = static_cast<int>(state.range(2));
    const ViewCommands::Rebuild rebuild = run > 1 ? ViewCommands::Rebuild::Later : ViewCommands::Rebuild::Now;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < run; ++i)
            commands.zoomIn(rebuild);
        commands.settleZoom();
        const Clock::time_point middle = Clock::now();
        for (int i = 0; i < run; ++i)
            commands.zoomOut(rebuild);
        commands.settleZoom();
        inMs += std::chrono::duration<double, std::milli>(middle - start).count();
        outMs += std::chrono::duration<double, std::milli>(Clock::now() - middle).count();
    }
    state.counters["minuteLabels"] = doc.timeLabelCount();
    state.counters["inMs"] = benchmark::Counter(inMs, benchmark::Counter::kAvgIterations);
    state.counters["outMs"] = benchmark::Counter(outMs, benchmark::Counter::kAvgIterations);
}

// Every zoom level measured, as medians of nine runs.
void atZoomLevels(benchmark::internal::Benchmark *b)
{
    for (int zoom : {2, 4, 8, 21})
        b->Arg(zoom);
    b->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(fullRebuild)->Apply(atZoomLevels);
BENCHMARK(fullRebuildWithLabels)
    ->Args({4, 0})
    ->Args({8, 0})
    ->Args({4, 1})
    ->Args({8, 1})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(zoomStep)
    ->Args({1000, 0, 1})
    ->Args({1000, 1, 1})
    ->Args({10000, 0, 1})
    ->Args({10000, 1, 1})
    ->Args({10000, 0, 3})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(replayAfterScrolling)->Apply(atZoomLevels);
BENCHMARK(scrollDenseLine)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(paintOnly)->Apply(atZoomLevels);
