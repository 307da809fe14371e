// The editor started on a document: the main window (on the offscreen
// platform) is shown and opens the generated line, saved as a file of 1000
// or 10,000 trains without labels, as the editor does when it is started on
// a file, until the first complete picture of it is painted and the window
// has settled. Making the windows is not counted. The second argument is
// "Konflikty": 0 off, 1 on, 2 on and waiting until the marks are drawn too.
// The time and CPU are the whole process's (the check runs on a worker).
#include "SampleLine.h"

#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "app/PaintBox.h"
#include "app/Session.h"
#include "dialogs/QtPrompter.h"
#include "io/DocumentFile.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Counts the paint events of the diagram surface.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void openInEditor(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("line.vrs"));
    {
        Document doc;
        SampleLine::fill(doc, {60, 300, static_cast<int>(state.range(0)), 40});
        doc.settings.zoom = 5; // 125 %: minute labels on
        doc.settings.showTimeLabels = 1;
        if (DocumentFile::save(doc, file).status != DocumentFile::Status::Ok) {
            state.SkipWithError("the generated file could not be written");
            return;
        }
    }
    SettingsFile(dir.filePath(QStringLiteral("Vlakorys.ini"))).writeShowConflicts(state.range(1) != 0);
    QtPrompter prompter;
    int renders = 0;
    int replays = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<Session>(prompter, SettingsFile(dir.filePath(QStringLiteral("Vlakorys.ini"))));
        auto windows = std::make_unique<AppWindows>(*session);
        MainWindow *window = windows->mainWindow();
        PaintCounter counter;
        window->paintBox()->installEventFilter(&counter);
        const Renderer::Stats before = window->diagram().renderer().stats();
        state.ResumeTiming();

        window->resize(1920, 1080);
        window->showMaximized();
        window->openFile(file);
        // Until the document's picture has been painted and nothing the
        // open left behind is waiting.
        const int paintsAtOpen = counter.paints;
        while (counter.paints == paintsAtOpen)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
        QApplication::processEvents();
        while (state.range(1) == 2 && window->diagram().conflictsPending())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);

        state.PauseTiming();
        renders = window->diagram().renderer().stats().renders - before.renders;
        replays = window->diagram().renderer().stats().replays - before.replays;
        windows.reset();
        session.reset();
        state.ResumeTiming();
    }
    state.counters["renders"] = renders;
    state.counters["replays"] = replays;
}

} // namespace

BENCHMARK(openInEditor)
    ->ArgsProduct({{1000, 10000}, {0, 1, 2}})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
