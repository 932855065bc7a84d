// One whole tick of the main window on the headless window system at 332 x 190 with the default
// settings: the sampler's three registry reads, the caption, the series scroll, the size style,
// the gauge value, and the repaint the window system then asks for, in graph mode and in gauge
// mode; and the graph's tick with a day of noisy history (PlotSeconds=86400, each second a new
// random load 0..100) at 332 x 190 and 1920 x 1080, where the program draws its 2-pixel line,
// with and without the repaint, and the line's mapping of that day to pixels alone; and the
// graph's tick over 60 s to a day of noisy history at three window sizes; and the default
// tick at 192 pixels per inch in a window twice the default size, and the default tick after
// other programs have taken the caches (as the running program meets it each second). The load
// comes from an in-memory registry (a new value each tick), or from /proc/stat
// (whose load hardly changes between two reads microseconds apart, so the gauge seldom repaints).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/ProgramRig.h"
#include "platform/registry/MemoryRegistry.h"
#include "platform/registry/ProcStatRegistry.h"
#include "sampler/ReadSample.h"

namespace {

using namespace varnel;

// The registries a tick reads its load from, made before the program that reads them.
struct TTickRegistries {
  TTickRegistries() {
    Memory.SetBinary("PerfStats\\StartSrv", "KERNEL", {0, 0, 0, 0});
    Memory.SetBinary("PerfStats\\StartStat", "KERNEL\\CPUUsage", {0, 0, 0, 0});
    Memory.SetBinary("PerfStats\\StatData", "KERNEL\\CPUUsage", {0, 0, 0, 0});
  }
  TMemoryRegistry Memory;
  TProcStatRegistry ProcStat;
};

// The program reading its load from an in-memory registry (a load set per tick) or /proc/stat.
class TTickRig : private TTickRegistries, public TProgramRig {
 public:
  TTickRig(int display, bool procStat, int plotSeconds = 60, int width = 332, int height = 190, int ppi = 96)
      : TProgramRig(width, height, ppi,
                    "[FENDUL]\nDisplay=" + std::to_string(display) + "\nPlotSeconds=" + std::to_string(plotSeconds) + "\n",
                    [registry = procStat ? static_cast<TRegistryProvider*>(&ProcStat) : &Memory] {
                      const std::optional<int> total = ReadSample(*registry);
                      return total ? std::optional<TLoadReading>(TLoadReading{*total, {}}) : std::nullopt;
                    }) {}
  void SetLoad(int load) {
    Memory.SetBinary("PerfStats\\StatData", "KERNEL\\CPUUsage", {static_cast<std::uint8_t>(load), 0, 0, 0});
  }
};

// Other programs run between two ticks of the real program and take the caches: a buffer
// larger than the last-level cache written over, outside the timed part.
void EvictCaches() {
  static std::vector<char> other(64 << 20);
  static char round = 0;
  std::fill(other.begin(), other.end(), ++round);
  benchmark::DoNotOptimize(other.data());
}

void RunTicks(benchmark::State& state, int display, bool procStat, bool paint = true, int ppi = 96,
              bool cold = false) {
  // On a denser screen the window has the default size scaled to it.
  TTickRig rig(display, procStat, 60, 332 * ppi / 96, 190 * ppi / 96, ppi);
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    rig.SetLoad((n++ * 37) % 101);  // a different load each tick, set outside the timed part
    if (cold) EvictCaches();
    state.ResumeTiming();
    if (paint) {
      rig.Tick();
    } else {
      rig.Ws.Timer.Fire();
    }
  }
  // Paints per tick that reached the window (the gauge presents at once, the chart on flush).
  const int presents = rig.Ws.MeterHost.PresentCount + rig.Ws.ChartHost.PresentCount;
  state.counters["presents"] = benchmark::Counter(presents, benchmark::Counter::kAvgIterations);
  if (!rig.Ws.MessageBox.Texts.empty()) state.SkipWithError(rig.Ws.MessageBox.Texts.front().c_str());
}

// A history of n seconds: the plot is first filled with n random loads (untimed), then each
// timed tick adds another.
void FillDay(TTickRig& rig, std::mt19937& rng, int n = 86400) {
  for (int i = 0; i < n; ++i) {
    rig.SetLoad(static_cast<int>(rng() % 101));
    rig.Ws.Timer.Fire();
  }
  rig.Ws.Flush();
}

void RunDayTicks(benchmark::State& state, int width, int height, bool paint, int seconds = 86400) {
  TTickRig rig(0, false, seconds, width, height);
  std::mt19937 rng(7);
  FillDay(rig, rng, seconds);
  for (auto _ : state) {
    state.PauseTiming();
    rig.SetLoad(static_cast<int>(rng() % 101));
    state.ResumeTiming();
    if (paint)
      rig.Tick();
    else
      rig.Ws.Timer.Fire();
  }
  if (!rig.Ws.MessageBox.Texts.empty()) state.SkipWithError(rig.Ws.MessageBox.Texts.front().c_str());
}

void BM_TickGraphDay(benchmark::State& state) {
  RunDayTicks(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), true);
}
// The same tick without the repaint: the sampler, the window logic and the data cycle.
void BM_TickGraphDayWithoutPaint(benchmark::State& state) {
  RunDayTicks(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), false);
}
// The line's pass over the day with a clear pen after a tick has laid the chart out: the mapping
// of points to pixels (and what the series hands the canvas) without the painting.
void BM_TickGraphDayMapping(benchmark::State& state) {
  TTickRig rig(0, false, 86400, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  std::mt19937 rng(7);
  FillDay(rig, rng);
  TFastLineSeries& line = rig.Form->Series3;
  line.LinePen().SetStyle(psClear);
  for (auto _ : state) line.DrawAllPoints();
}
BENCHMARK(BM_TickGraphDay)->Args({332, 190})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

// The graph's tick with PlotSeconds of noisy history (a new random load 0..100 every second) at
// a window size: width, height, seconds. Each size's 60-second tick is the yardstick of its longer
// histories; 600 s and an hour put about one point in each pixel column of a small and a large
// plot, where every segment of the 2-pixel line is a stroke most of the plot's height.
void BM_TickGraphHistory(benchmark::State& state) {
  RunDayTicks(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), true,
              static_cast<int>(state.range(2)));
}
BENCHMARK(BM_TickGraphHistory)
    ->ArgsProduct({{332}, {190}, {60, 600, 3600, 86400}})
    ->ArgsProduct({{1920}, {1080}, {60, 600, 3600, 86400}})
    ->Args({3840, 2160, 60})
    ->Args({3840, 2160, 3600})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickGraphDayWithoutPaint)->Args({332, 190})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickGraphDayMapping)->Args({332, 190})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

void BM_TickGraph(benchmark::State& state) { RunTicks(state, 0, false); }
void BM_TickGauge(benchmark::State& state) { RunTicks(state, 1, false); }
// The program's tick as it runs once a second: with the caches taken by other programs first.
void BM_TickGraphCold(benchmark::State& state) { RunTicks(state, 0, false, true, 96, true); }
void BM_TickGraphProcStat(benchmark::State& state) { RunTicks(state, 0, true); }
// The tick without the chart's repaint: the window logic, the sampler and the series alone.
void BM_TickGraphWithoutPaint(benchmark::State& state) { RunTicks(state, 0, false, false); }
void BM_TickGaugeProcStat(benchmark::State& state) { RunTicks(state, 1, true); }

// At 192 pixels per inch in a window twice the default size (664 x 380): fonts, pens, line and
// needle twice as wide, four times the pixels.
void BM_TickGraphAt192(benchmark::State& state) { RunTicks(state, 0, false, true, 192); }
void BM_TickGaugeAt192(benchmark::State& state) { RunTicks(state, 1, false, true, 192); }

BENCHMARK(BM_TickGraph)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickGraphCold)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickGraphAt192)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickGauge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickGaugeAt192)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickGraphProcStat)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickGaugeProcStat)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickGraphWithoutPaint)->Unit(benchmark::kMicrosecond);

}  // namespace
