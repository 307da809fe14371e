// The conflict check on the generated busy single line (60 stations, 300 km,
// about 40 rows a train): every conflict of 1000 and of 10,000 trains, and
// one train moved by ten minutes and rechecked among 1000.
#include "editing/ConflictCheck.h"

#include "SampleLine.h"

#include <benchmark/benchmark.h>

namespace {

void fullCheck(benchmark::State &state)
{
    Document doc;
    SampleLine::fill(doc, {60, 300, static_cast<int>(state.range(0)), 40});
    ConflictCheck check(doc);
    for (auto _ : state) {
        check.recompute();
        benchmark::DoNotOptimize(check.conflicts().data());
    }
    state.counters["conflicts"] = static_cast<double>(check.conflicts().size());
}
BENCHMARK(fullCheck)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void oneTrainRechecked(benchmark::State &state)
{
    Document doc;
    SampleLine::fill(doc, {60, 300, 1000, 40});
    ConflictCheck check(doc);
    check.recompute();
    Train &train = doc.trains[500];
    double shift = 10.0 / 1440.0;
    for (auto _ : state) {
        train.firstTime += shift;
        for (TrainStop &s : train.stops)
            s.time += shift;
        shift = -shift; // back and forth, the same train each time
        check.recheckTrain(500);
        benchmark::DoNotOptimize(check.conflicts().data());
    }
}
BENCHMARK(oneTrainRechecked)->Unit(benchmark::kMicrosecond);

} // namespace
