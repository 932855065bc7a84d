// The scrolling graph's costs: the once-a-second cycle (drop the oldest point, renumber the X
// values, append the new sample) on a one-minute and a one-day plot, and one drawing pass of the
// fast line over a 1920-pixel plot for 10^3 to 10^6 points with the program's two pens (1 and 2
// pixels wide), and the 2-pixel line over noisy histories of 60 points to a day at three plot
// sizes, alone and over the background the chart fills first.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "chart/Chart.h"
#include "platform/BitmapHost.h"
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

// One pass of the line over the values on a 2D chart whose plot spans all but the margins of a
// width x height picture, every point visible.
// With a background, each pass first fills the picture (as the chart does before its series)
// and ends with the picture read (as a window takes it).
void DrawPasses(benchmark::State& state, const std::vector<double>& values, TPenStyle style, int penWidth,
                int width = 1920, int height = 1080, const TRect& plot = Rect(0, 20, 1920, 1060),
                bool background = false) {
  const int n = static_cast<int>(values.size());
  TBitmapHost host(width, height);
  TChart chart;
  chart.SetHost(&host);
  chart.SetView3D(false);
  TFastLineSeries line;
  line.SetParentChart(&chart);
  line.SetSeriesColor(clMaroon);
  line.LinePen().SetStyle(style);
  line.LinePen().SetWidth(penWidth);
  for (double v : values) line.AppendY(v);
  chart.SetPlotRect(plot);
  chart.BottomAxis().SetRange(0, n - 1);
  chart.BottomAxis().AdjustRange();
  chart.LeftAxis().SetRange(0, 100);
  chart.LeftAxis().AdjustRange();
  line.FindVisibleRange();
  TCanvas& canvas = host.Surface().Canvas();
  canvas.Brush().SetColor(clSilver);
  for (auto _ : state) {
    if (background) canvas.FillRect(Rect(0, 0, width, height));
    line.DrawAllPoints();
    if (background) benchmark::DoNotOptimize(host.Surface().Data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// A load-like random walk (0..100, steps of a few percent) or a smooth curve over a 1920 x 1040
// plot.
enum class TShape { Walk, Smooth };

void RunFastLine(benchmark::State& state, TPenStyle style, TShape shape, int width = 1) {
  const int n = static_cast<int>(state.range(0));
  std::vector<double> values(static_cast<std::size_t>(n));
  std::mt19937 rng(42);
  double y = 50;
  for (int i = 0; i < n; ++i) {
    if (shape == TShape::Walk)
      y = std::clamp(y + static_cast<double>(static_cast<int>(rng() % 9) - 4), 0.0, 100.0);
    else
      y = 50 + 40 * std::sin(6.283185307179586 * 3 * i / n);
    values[static_cast<std::size_t>(i)] = y;
  }
  DrawPasses(state, values, style, width);
}
void BM_FastLineDraw(benchmark::State& state) { RunFastLine(state, psSolid, TShape::Walk); }
BENCHMARK(BM_FastLineDraw)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same with the 2-pixel pen the program uses on windows over 300 x 150.
void BM_FastLineDrawWide(benchmark::State& state) { RunFastLine(state, psSolid, TShape::Walk, 2); }
BENCHMARK(BM_FastLineDrawWide)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same pass with a clear pen: the series' own work (mapping, same-pixel skip, one move-to
// or line-to call per point) without the rasteriser's.
void BM_FastLinePassOnly(benchmark::State& state) { RunFastLine(state, psClear, TShape::Walk); }
BENCHMARK(BM_FastLinePassOnly)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A smooth curve (three sine periods): with many points per pixel column most points land on the
// previous pixel and are skipped.
void BM_FastLineDrawSmooth(benchmark::State& state) { RunFastLine(state, psSolid, TShape::Smooth); }
BENCHMARK(BM_FastLineDrawSmooth)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The 2-pixel line alone over a noisy history (a new random load 0..100 each point, as a busy
// machine gives) on a plot of width x height: 60 points to a day, at one point in tens of
// columns to tens of points a column.
void RunNoisy(benchmark::State& state, bool background) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  std::vector<double> values(static_cast<std::size_t>(state.range(2)));
  std::mt19937 rng(7);
  for (double& v : values) v = static_cast<double>(rng() % 101);
  DrawPasses(state, values, psSolid, 2, width, height, Rect(30, 10, width - 10, height - 20), background);
}
void BM_FastLineDrawNoisy(benchmark::State& state) { RunNoisy(state, false); }
// The same over the picture's background, filled each pass: what the line adds to a repaint.
void BM_FastLineDrawNoisyOnBackground(benchmark::State& state) { RunNoisy(state, true); }
BENCHMARK(BM_FastLineDrawNoisy)
    ->ArgsProduct({{332}, {190}, {60, 600, 3600, 86400}})
    ->ArgsProduct({{1920}, {1080}, {60, 600, 3600, 86400}})
    ->Args({3840, 2160, 60})
    ->Args({3840, 2160, 3600})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FastLineDrawNoisyOnBackground)
    ->ArgsProduct({{332}, {190}, {60, 600, 3600, 86400}})
    ->ArgsProduct({{1920}, {1080}, {60, 600, 3600, 86400}})
    ->Args({3840, 2160, 60})
    ->Args({3840, 2160, 3600})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varnel
