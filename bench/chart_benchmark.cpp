// Chart repaint costs: a full repaint of the program's chart (axes on) at the default window
// size and at full-HD, a repaint with nothing changed, and a plain bitmap copy for comparison.
#include <benchmark/benchmark.h>

#include "chart/Chart.h"
#include "platform/BitmapHost.h"
#include "tests/chart/ChartTestSupport.h"

namespace varnel {
namespace {

struct ProgramChart {
  TBitmapHost host;  // outlives the chart and its series
  TChart chart;
  TFastLineSeries series;
  ProgramChart(int w, int h) : host(w, h) {
    test::ConfigureProgramChart(chart);
    test::ConfigureProgramSeries(chart, series);
    chart.SetAxisVisible(true);
    chart.SetHost(&host);
    chart.Paint();
  }
};

void BM_ChartFullRepaint(benchmark::State& state) {
  ProgramChart p(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    p.chart.Invalidate();
    p.chart.Paint();
    benchmark::DoNotOptimize(p.host.Surface().Data());
  }
}
BENCHMARK(BM_ChartFullRepaint)->Args({332, 190})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

void BM_ChartUnchangedRepaint(benchmark::State& state) {
  ProgramChart p(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    p.chart.Paint();
    benchmark::DoNotOptimize(p.host.Surface().Data());
  }
}
BENCHMARK(BM_ChartUnchangedRepaint)->Args({332, 190})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

void BM_PlainBitmapCopy(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  const int h = static_cast<int>(state.range(1));
  TBitmap source(w, h);
  TBitmap target(w, h);
  for (auto _ : state) {
    target.Canvas().Draw(0, 0, source);
    benchmark::DoNotOptimize(target.Data());
  }
}
BENCHMARK(BM_PlainBitmapCopy)->Args({332, 190})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varnel
