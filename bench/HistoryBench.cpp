// The undo history and the recovery copy on the busy document: 60 stations,
// 2000 trains of about 40 rows, every train with its label and every label
// with its image, drawn on a 1920 x 1080 surface at 100 %.
#include "editing/DiagramMouse.h"
#include "editing/EditHistory.h"
#include "editing/HeadlessDiagram.h"
#include "io/RecoveryStore.h"
#include "render/LabelImage.h"

#include "SampleLine.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

namespace {

class QuietView : public DiagramEditView
{
public:
    void surfaceAreaChanged(const QRect &) override {}
    bool askYesNo(const QString &) override { return false; }
};

struct Busy : HeadlessDiagram
{
    QuietView edit;
    EditHistory history{doc};
    NoInsertTool tool;
    DiagramMouse mouse{diagram, edit, history, tool};

    Busy() : HeadlessDiagram(QSize(1920, 1080))
    {
        SampleLine::fill(doc, {60, 300, 2000, 40});
        doc.noDocument = false;
        doc.trainCount = 2000;
        view.updateScale(doc.settings);
        diagram.makeTrainLabels();
        diagram.makeTimeLabels();
        diagram.render(RenderRequest::rebuildAll());
        DrawOwedLabelImages(doc.trainLabels); // every image, as a save with images has them
        // Undo and redo end as the editor ends them: minute labels, a
        // render as after Open.
        QObject::connect(&history, &EditHistory::restored, [this] {
            diagram.makeTimeLabels();
            diagram.render(RenderRequest::rebuildAll());
        });
    }

    // A command: one label a minute later.
    void moveALabel(int step)
    {
        history.begin();
        doc.trainLabels[static_cast<size_t>(step % 2000)].time += 1.0 / 1440;
        history.commit(QStringLiteral("přesun popisku"));
    }
};

// Both snapshots of a step (before and after the command), the comparison
// and the push.
void pushUndoStep(benchmark::State &state)
{
    Busy busy;
    int step = 0;
    for (auto _ : state)
        busy.moveALabel(++step);
    state.counters["steps"] = busy.history.count();
    state.counters["MiB"] = static_cast<double>(busy.history.bytesHeld()) / (1 << 20);
}

// An undo: the snapshot read back into the document, the minute labels made
// and the diagram rebuilt and drawn.
void undoWithRender(benchmark::State &state)
{
    Busy busy;
    busy.moveALabel(1);
    for (auto _ : state) {
        if (!busy.history.undo()) {
            state.SkipWithError("nothing to undo");
            break;
        }
        state.PauseTiming();
        busy.history.redo();
        state.ResumeTiming();
    }
}

// What the recovery copy costs the user's thread when the history does not
// hold the document already (a recovered document before its first edit):
// one snapshot.
void takeSnapshot(benchmark::State &state)
{
    Busy busy;
    for (auto _ : state)
        benchmark::DoNotOptimize(DocumentSnapshot::take(busy.doc));
}

// The part on the writer's thread: the copy put together and written
// through QSaveFile.
void recoveryWrite(benchmark::State &state)
{
    Busy busy;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("editor.recovery"));
    const DocumentSnapshot snapshot = DocumentSnapshot::take(busy.doc);
    for (auto _ : state) {
        if (!RecoveryStore::write(
                path, RecoveryStore::encode(QStringLiteral("/home/u/trať.vrs"), FileStamp{4096, 0}, snapshot))) {
            state.SkipWithError("write failed");
            break;
        }
    }
    state.counters["MiB"] = static_cast<double>(QFileInfo(path).size()) / (1 << 20);
}

// One pointer move of a label drag; argument 1 with recovery copies being
// written all the while on another thread, as the writer's thread does.
void labelDragMove(benchmark::State &state)
{
    Busy busy;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("editor.recovery"));
    const DocumentSnapshot snapshot = DocumentSnapshot::take(busy.doc);
    std::atomic<bool> stop{false};
    std::thread writer;
    if (state.range(0) == 1)
        writer = std::thread([&] {
            while (!stop)
                RecoveryStore::write(path, RecoveryStore::encode(QString(), FileStamp(), snapshot));
        });
    QPoint p;
    for (const LabelOutline &o : busy.renderer.labelOutlines()) {
        const QPoint m = (o.p1 + o.p3) / 2 + QPoint(40, 0);
        if (QRect(300, 100, 1300, 600).contains(m)) {
            p = m;
            break;
        }
    }
    busy.mouse.PaintBox1MouseDown({Qt::LeftButton, Qt::LeftButton, {}, p});
    int step = 0;
    for (auto _ : state) {
        ++step;
        busy.mouse.PaintBox1MouseMove({Qt::NoButton, Qt::LeftButton, {}, p + QPoint(step % 37, step % 23)});
    }
    stop = true;
    if (writer.joinable())
        writer.join();
    if (!busy.mouse.labelDrag().armed())
        state.SkipWithError("no label picked");
}

} // namespace

BENCHMARK(pushUndoStep)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(undoWithRender)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(takeSnapshot)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(recoveryWrite)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(labelDragMove)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
