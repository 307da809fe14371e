// The conflict check on two generated lines of 1000 and of 10,000 trains:
// the random busy single line (60 stations, 300 km, about 40 rows a train),
// the worst case with conflicts everywhere, and the periodic double line
// (GeneratedLines::periodic), a real line's shape with a few dozen. Each
// checked whole, and with one train moved by ten minutes and rechecked,
// by the check itself and as the editor's watch does it (finding first
// which train changed). heldMB: what the check holds between edits, after
// the runs.
#include "conflicts/ConflictCheck.h"
#include "conflicts/ConflictWatch.h"

#include "GeneratedLines.h"
#include "SampleLine.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

double heapMB()
{
    const struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

void fillLine(Document &doc, int64_t periodic, int64_t trains)
{
    if (periodic)
        GeneratedLines::periodic(doc, static_cast<int>(trains));
    else
        SampleLine::fill(doc, {60, 300, static_cast<int>(trains), 40});
}

constexpr double tenMinutes = 10.0 / 1440.0;

// The train moved by `shift`, and the next move the other way: the same
// train each time, back and forth.
void moveBackAndForth(Train &train, double &shift)
{
    train.firstTime += shift;
    for (TrainStop &s : train.stops)
        s.time += shift;
    shift = -shift;
}

void fullCheck(benchmark::State &state)
{
    Document doc;
    fillLine(doc, state.range(0), state.range(1));
    const double before = heapMB();
    ConflictCheck check(doc);
    for (auto _ : state) {
        check.recompute();
        benchmark::DoNotOptimize(check.conflicts().data());
    }
    state.counters["conflicts"] = static_cast<double>(check.total());
    state.counters["heldMB"] = heapMB() - before;
}
BENCHMARK(fullCheck)
    ->ArgNames({"periodic", "trains"})
    ->ArgsProduct({{0, 1}, {1000, 10000}})
    ->Unit(benchmark::kMillisecond);

void oneTrainRechecked(benchmark::State &state)
{
    Document doc;
    fillLine(doc, state.range(0), state.range(1));
    const double before = heapMB();
    ConflictCheck check(doc);
    check.recompute();
    const size_t moved = doc.trains.size() / 2;
    double shift = tenMinutes;
    for (auto _ : state) {
        moveBackAndForth(doc.trains[moved], shift);
        check.recheckTrain(static_cast<int32_t>(moved));
        benchmark::DoNotOptimize(check.conflicts().data());
    }
    state.counters["heldMB"] = heapMB() - before;
}
BENCHMARK(oneTrainRechecked)
    ->ArgNames({"periodic", "trains"})
    ->ArgsProduct({{0, 1}, {1000, 10000}})
    ->Unit(benchmark::kMicrosecond);

void oneTrainWatched(benchmark::State &state)
{
    Document doc;
    fillLine(doc, 1, state.range(0));
    ConflictWatch watch(doc);
    watch.refresh();
    double shift = tenMinutes;
    for (auto _ : state) {
        moveBackAndForth(doc.trains[doc.trains.size() / 2], shift);
        watch.refresh();
        benchmark::DoNotOptimize(watch.conflicts().data());
    }
    state.counters["trainChecks"] = watch.trainChecks();
}
BENCHMARK(oneTrainWatched)->ArgName("trains")->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
