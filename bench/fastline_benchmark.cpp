// The scrolling graph's costs: the once-a-second cycle (drop the oldest point, renumber the X
// values, append the new sample) on a one-minute and a one-day plot.
#include <benchmark/benchmark.h>

#include "series/FastLineSeries.h"

namespace varnel {
namespace {

void BM_SecondCycle(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TFastLineSeries series;
  for (int i = 0; i < n; ++i) series.AppendY(i % 101);
  int load = 0;
  for (auto _ : state) {
    series.Delete(0);
    series.XValues().Renumber();
    series.AppendY(load, "", clAutoColor);
    load = (load + 37) % 101;
  }
  benchmark::DoNotOptimize(series.Count());
}
BENCHMARK(BM_SecondCycle)->Arg(60)->Arg(86400)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varnel
