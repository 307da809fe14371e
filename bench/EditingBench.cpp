// The mouse on the generated busy line of the render benchmarks (60
// stations, 1000 trains with their labels) on a 1920 x 1080 diagram surface
// at 100 %: one pointer move of a label drag, the render after a drop, one
// panning step; one pointer move of a train drag and its release, with the
// conflicts marked.
#include "editing/DiagramMouse.h"
#include "editing/EditHistory.h"
#include "editing/HeadlessDiagram.h"
#include "editing/InsertToolInput.h"
#include "editing/TrainPick.h"
#include "render/TrainLines.h"

#include "SampleLine.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

// Shows a changed area as the editor's paint box does: the area of the
// surface copied to the screen.
class ScreenView : public DiagramEditView
{
public:
    explicit ScreenView(const Renderer &renderer) : m_renderer(renderer) {}
    QImage screen{1920, 1080, QImage::Format_RGB32};

    void surfaceAreaChanged(const QRect &area) override
    {
        const QImage &surface = m_renderer.surface();
        const QRect r = area & surface.rect() & screen.rect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(reinterpret_cast<QRgb *>(screen.scanLine(y)) + r.left(),
                        reinterpret_cast<const QRgb *>(surface.constScanLine(y)) + r.left(),
                        static_cast<size_t>(r.width()) * sizeof(QRgb));
    }
    bool askYesNo(const QString &) override { return false; }

private:
    const Renderer &m_renderer;
};

struct Scene : HeadlessDiagram
{
    ScreenView edit{renderer};
    EditHistory history{doc};
    NoInsertTool tool;
    DiagramMouse mouse{diagram, edit, history, tool};

    explicit Scene(int zoom = 4) : HeadlessDiagram(QSize(1920, 1080))
    {
        SampleLine::fill(doc, {60, 300, 1000, 40});
        doc.settings.zoom = static_cast<uint8_t>(zoom);
        view.updateScale(doc.settings);
        diagram.makeTrainLabels();
        diagram.makeTimeLabels();
        diagram.render(RenderRequest::rebuildAll());
    }

    // The middle of a label well inside the view that no other label
    // overlaps there, in view pixels.
    QPoint pickableLabel()
    {
        const QRect room(300, 100, 1300, 700);
        for (const LabelOutline &o : renderer.labelOutlines()) {
            const QPoint shift(40 - 5 * view.hpos, -2 * view.vpos);
            if (!room.contains(o.p1 + shift) || !room.contains(o.p3 + shift))
                continue;
            const QPoint middle = (o.p1 + o.p3) / 2;
            int hits = 0;
            for (const LabelOutline &other : renderer.labelOutlines())
                hits += LabelDrag::contains(other, middle);
            if (hits == 1)
                return middle + shift;
        }
        return {};
    }
};

// A point on a train's first line well inside the view, on no label, that
// picks that train, in view pixels.
QPoint pickableTrain(Scene &scene)
{
    const QRect room(300, 100, 1300, 700);
    const QPoint shift(40 - 5 * scene.view.hpos, -2 * scene.view.vpos);
    const TrainLines::Frame frame = TrainLines::frameOf(scene.doc, scene.view.scale);
    for (size_t i = 0; i < scene.doc.trains.size(); ++i) {
        QPoint found;
        TrainLines::walkTrain(
            scene.doc.trains[i], frame,
            [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1, int) {
                const QPoint m((x0 + x1) / 2, (y0 + y1) / 2);
                bool onLabel = false;
                for (const LabelOutline &o : scene.renderer.labelOutlines())
                    onLabel = onLabel || LabelDrag::contains(o, m);
                if (found.isNull() && room.contains(m + shift) && !onLabel
                    && TrainPick::at(scene.doc, scene.view.scale, m).train == int(i))
                    found = m + shift;
            },
            [](int, int32_t, int32_t) {});
        if (!found.isNull())
            return found;
    }
    return {};
}

MouseEvent event(Qt::MouseButton button, Qt::MouseButtons held, QPoint pos, Qt::KeyboardModifiers keys = {})
{
    return {button, held, keys, pos};
}

// Restore the pixels under the outline, save those under its new place,
// draw it, show both areas.
void labelDragMove(benchmark::State &state)
{
    Scene scene;
    const QPoint p = scene.pickableLabel();
    scene.mouse.PaintBox1MouseDown(event(Qt::LeftButton, Qt::LeftButton, p));
    int step = 0;
    for (auto _ : state) {
        ++step;
        scene.mouse.PaintBox1MouseMove(event(Qt::NoButton, Qt::LeftButton, p + QPoint(step % 37, step % 23)));
    }
    if (!scene.mouse.labelDrag().armed())
        state.SkipWithError("no label picked");
}

// The release of a drag: argument 0 a move (the image kept), 1 a turn with
// Shift (the one label imaged again). The label is placed, the drop taken
// as one step of the undo history, and the diagram rebuilt with only that
// label processed.
void dropRender(benchmark::State &state)
{
    Scene scene;
    const bool turn = state.range(0) == 1;
    // The label goes 10 pixels down and back: it stays under the pointer.
    QPoint at = scene.pickableLabel();
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++step;
        scene.mouse.PaintBox1MouseDown(event(Qt::LeftButton, Qt::LeftButton, at));
        const QPoint to = at + QPoint(0, step % 2 ? 10 : -10);
        scene.mouse.PaintBox1MouseMove(
            event(Qt::NoButton, Qt::LeftButton, to, turn ? Qt::ShiftModifier : Qt::NoModifier));
        if (!turn)
            at = to;
        const int rebuilds = scene.renderer.stats().rebuilds;
        state.ResumeTiming();
        scene.mouse.PaintBox1MouseUp(
            event(Qt::LeftButton, Qt::NoButton, to, turn ? Qt::ShiftModifier : Qt::NoModifier));
        if (scene.renderer.stats().rebuilds != rebuilds + 1) {
            state.SkipWithError("the drop did not render");
            break;
        }
    }
}

// One move of right-button panning that scrolls one unit each way, and the
// render it asks for.
void panningStep(benchmark::State &state)
{
    Scene scene;
    scene.view.hpos = 100;
    scene.view.vpos = 20;
    scene.diagram.render();
    const QPoint start(900, 500);
    scene.mouse.PaintBox1MouseDown(event(Qt::RightButton, Qt::RightButton, start));
    int step = 0;
    for (auto _ : state) {
        const QPoint to = start + (++step % 2 ? QPoint(-6, -3) : QPoint(0, 0));
        scene.mouse.PaintBox1MouseMove(event(Qt::NoButton, Qt::RightButton, to));
    }
    if (scene.view.hpos != 100 && scene.view.hpos != 101)
        state.SkipWithError("panning did not scroll back and forth");
}

// A pointer move of a train drag that moves the train a step: its rows and
// labels moved, the diagram rebuilt; argument 1 with the conflicts checked
// again and marked, 0 without them.
void trainDragMove(benchmark::State &state)
{
    Scene scene;
    scene.diagram.setConflictsShown(state.range(0) == 1);
    scene.diagram.render(RenderRequest::rebuildAll());
    const QPoint p = pickableTrain(scene);
    scene.mouse.PaintBox1MouseDown(event(Qt::LeftButton, Qt::LeftButton, p));
    int step = 0;
    for (auto _ : state)
        scene.mouse.PaintBox1MouseMove(event(Qt::NoButton, Qt::LeftButton, p + QPoint(++step % 2 ? 10 : 0, 0)));
    if (!scene.mouse.trainDrag().dragging())
        state.SkipWithError("no train picked");
}

// The release of a train drag: the train put back, moved again inside one
// undo step (the document's snapshots before and after), its conflicts
// checked again, the diagram rebuilt.
void trainDragRelease(benchmark::State &state)
{
    Scene scene;
    scene.diagram.setConflictsShown(true);
    scene.diagram.render(RenderRequest::rebuildAll());
    QPoint at = pickableTrain(scene);
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        scene.mouse.PaintBox1MouseDown(event(Qt::LeftButton, Qt::LeftButton, at));
        const QPoint to = at + QPoint(++step % 2 ? 10 : -10, 0);
        scene.mouse.PaintBox1MouseMove(event(Qt::NoButton, Qt::LeftButton, to));
        const int steps = scene.history.count();
        state.ResumeTiming();
        scene.mouse.PaintBox1MouseUp(event(Qt::LeftButton, Qt::NoButton, to));
        if (scene.history.count() != steps + 1 && scene.history.count() != EditHistory::maxSteps) {
            state.SkipWithError("the release recorded no step");
            break;
        }
        at = to;
    }
}

} // namespace

BENCHMARK(trainDragMove)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(trainDragRelease)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(labelDragMove)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(dropRender)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(panningStep)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
