// A full repaint of the program's chart at its default window size (332 x 190) with its legend
// on: flat, in 3D with its walls, and both with the axes shown, with the program's 2-pixel line
// and (to tell the decorations' share from the line's) with a 1-pixel line; plus a full-panel
// gradient.
#include <benchmark/benchmark.h>

#include <vector>

#include "chart/Chart.h"
#include "platform/BitmapHost.h"
#include "series/FastLineSeries.h"
#include "tests/chart/ChartTestSupport.h"

namespace varnel {
namespace {

std::vector<double> LoadHistory() {
  std::vector<double> loads;
  for (int i = 0; i < 60; ++i) loads.push_back((i * 37) % 101);
  return loads;
}

void RunProgramChart(benchmark::State& state, bool view3D, bool axes, int lineWidth = 2) {
  TBitmapHost host(332, 190);
  TChart chart;
  test::ConfigureProgramChart(chart);
  TFastLineSeries series;
  test::ConfigureProgramSeries(series, chart, 60, LoadHistory());
  chart.SetHost(&host);
  chart.SetView3D(view3D);
  chart.SetAxisVisible(axes);
  series.LinePen().SetWidth(lineWidth);
  chart.Paint();  // the off-screen bitmap exists from now on, as after the first paint
  for (auto _ : state) {
    chart.Invalidate();
    chart.Paint();
    benchmark::ClobberMemory();
  }
}

void BM_ProgramChartLegend2D(benchmark::State& state) { RunProgramChart(state, false, false); }
void BM_ProgramChartLegend3DWalls(benchmark::State& state) { RunProgramChart(state, true, false); }
void BM_ProgramChartLegendAxes2D(benchmark::State& state) { RunProgramChart(state, false, true); }
void BM_ProgramChartLegendAxes3DWalls(benchmark::State& state) { RunProgramChart(state, true, true); }
void BM_ProgramChartLegend2DThinLine(benchmark::State& state) { RunProgramChart(state, false, false, 1); }
void BM_ProgramChartLegend3DWallsThinLine(benchmark::State& state) { RunProgramChart(state, true, false, 1); }
BENCHMARK(BM_ProgramChartLegend2D)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProgramChartLegend3DWalls)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProgramChartLegendAxes2D)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProgramChartLegendAxes3DWalls)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProgramChartLegend2DThinLine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProgramChartLegend3DWallsThinLine)->Unit(benchmark::kMicrosecond);

// The gradient over the whole panel: 190 rows, one band each.
void BM_GradientPanel(benchmark::State& state) {
  TBitmap bmp(332, 190);
  TChart chart;
  chart.Gradient().SetVisible(true);
  for (auto _ : state) {
    chart.Gradient().Draw(bmp.Canvas(), Rect(0, 0, 332, 190));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GradientPanel)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varnel
