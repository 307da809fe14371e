// The timetable tables of the generated busy line (60 stations, 1000 or
// 10,000 trains): both directions made from the document, as every edit
// makes them while the window is open; the window shown with them until
// painted; one page of train columns scrolled and painted again; and the
// CSV of both directions.
#include "SampleLine.h"

#include "dialogs/QtPrompter.h"
#include "dialogs/TimetableWindow.h"
#include "table/TimetableFiles.h"

#include <QApplication>
#include <QScrollBar>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

const Document &busyLine(int trains)
{
    static std::map<int, std::unique_ptr<Document>> docs;
    std::unique_ptr<Document> &doc = docs[trains];
    if (!doc) {
        doc = std::make_unique<Document>();
        SampleLine::fill(*doc, {60, 300, trains, 40});
    }
    return *doc;
}

void tablesMade(benchmark::State &state)
{
    const Document &doc = busyLine(static_cast<int>(state.range(0)));
    int columns = 0;
    for (auto _ : state) {
        const std::vector<TimetableTable> tables = TimetableFiles::tables(doc);
        columns = tables[0].columnCount() + tables[1].columnCount();
    }
    state.counters["columns"] = columns;
}

void windowShown(benchmark::State &state)
{
    const Document &doc = busyLine(static_cast<int>(state.range(0)));
    QtPrompter prompter;
    for (auto _ : state) {
        TimetableWindow window(prompter);
        window.resize(1600, 900);
        window.setDocument(doc, QStringLiteral("Trať"));
        window.show();
        QApplication::processEvents();
        window.trainView(1)->viewport()->repaint();
    }
}

void pageScrolled(benchmark::State &state)
{
    const Document &doc = busyLine(static_cast<int>(state.range(0)));
    QtPrompter prompter;
    TimetableWindow window(prompter);
    window.resize(1600, 900);
    window.setDocument(doc, QStringLiteral("Trať"));
    window.show();
    QApplication::processEvents();
    QTableView *view = window.trainView(1);
    QScrollBar *bar = view->horizontalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->value() + bar->pageStep() > bar->maximum() ? 0 : bar->value() + bar->pageStep());
        view->viewport()->repaint();
    }
}

void csvWritten(benchmark::State &state)
{
    const std::vector<TimetableTable> tables = TimetableFiles::tables(busyLine(static_cast<int>(state.range(0))));
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = TimetableFiles::csv(tables).size();
    state.counters["KiB"] = static_cast<double>(bytes) / 1024;
}

} // namespace

BENCHMARK(tablesMade)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(windowShown)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(pageScrolled)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(csvWritten)->Arg(1000)->Unit(benchmark::kMillisecond);
