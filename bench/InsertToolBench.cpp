// The insert-train tool on the generated busy line of RenderBench (60
// stations over 300 km, 1000 trains of about 40 rows) with a 1920 x 1080
// diagram surface at z = 4: a pointer move that lays the train again across
// all 60 stations and draws the preview (a paint-only render), and the
// commit of a 60-station train with its undo step, label generation and the
// full render.
// The argument says whether the minute labels are shown ("Časové popisky").
#include "editing/InsertTool.h"

#include "editing/EditHistory.h"
#include "editing/HeadlessDiagram.h"

#include "SampleLine.h"

#include <benchmark/benchmark.h>

namespace {

struct Scene : HeadlessDiagram
{
    EditHistory history{doc};
    InsertTool tool{diagram, history};
    NewTrainChoice choice;

    explicit Scene(bool minuteLabels) : HeadlessDiagram(QSize(1920, 1080))
    {
        SampleLine::fill(doc, {60, 300, 1000, 40});
        doc.settings.zoom = 4;
        view.updateScale(doc.settings);
        // Every segment 3 minutes, a one-minute stop everywhere.
        TravelTimeProfile &p = doc.profiles.at(1, 1);
        for (int i = 1; i < 60; ++i) {
            p.runTimeAt(i) = 6;
            p.dwellAt(i) = 2;
        }
        doc.profiles.countOf(1) = 1;
        choice.number = 99999; // a name no train of the line has, so it gets its own label
        diagram.makeTrainLabels();
        diagram.makeTimeLabels();
        doc.settings.showTimeLabels = minuteLabels;
        // The add-train dialog's OK.
        QObject::connect(&tool, &InsertTool::commitRequested, [this] { tool.addTrain(choice); });
        diagram.render(RenderRequest::rebuildAll());
    }

    // The pointer over a station (1-based) at 8:00 + minutes.
    MouseEvent at(int station, int minutes, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        const int32_t metres = doc.stations[size_t(station - 1)].metres;
        const int x = 40 + Geometry::round((480 + minutes) * view.scale) - 5 * view.hpos;
        const int y = Geometry::yOfMetres(metres, doc.settings.zoom, doc.maxMetres) - 2 * view.vpos;
        return MouseEvent{Qt::LeftButton, Qt::LeftButton, modifiers, QPoint(x, y)};
    }

    // The origin at the first station at 8:00, the pointer at the last one.
    void layTrain()
    {
        tool.open();
        tool.pointerMove(at(1, 0));
        tool.leftPress(at(1, 0));
        tool.pointerMove(at(60, 300));
    }
};

void pointerMoveReroutes(benchmark::State &state)
{
    Scene scene(state.range(0) != 0);
    scene.layTrain();
    int step = 0;
    for (auto _ : state) {
        // Between the last two stations: each move lays the route from the
        // origin to the end of the line again and redraws the preview.
        scene.tool.pointerMove(scene.at(++step % 2 ? 59 : 60, 300));
    }
    state.counters["points"] = scene.tool.count();
}

void commitTrain(benchmark::State &state)
{
    Scene scene(state.range(0) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        scene.layTrain();
        state.ResumeTiming();
        scene.tool.leftPress(scene.at(60, 300, Qt::ShiftModifier));
        state.PauseTiming();
        // The document as it was, so every commit adds the same train.
        scene.doc.trains.pop_back();
        scene.doc.trainLabels.pop_front();
        --scene.doc.trainCount;
        state.ResumeTiming();
    }
}

void configure(benchmark::internal::Benchmark *b)
{
    b->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(pointerMoveReroutes)->Apply(configure);
BENCHMARK(commitTrain)->Apply(configure);
