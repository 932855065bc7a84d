// Full repaints of the needle gauge as this program configures it, at the default window size
// and at full-screen size: compose off screen, copy onto the host surface, present.
#include <benchmark/benchmark.h>

#include "gauge/Meter.h"
#include "platform/BitmapHost.h"
#include "tests/gauge/GaugeTestSupport.h"

namespace varnel {
namespace {

void BM_GaugeFullPaint(benchmark::State& state) {
  TBitmapHost host(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  TMeter m;
  m.SetHost(&host);
  test::ConfigureProgramGauge(m);
  int load = 0;
  for (auto _ : state) {
    load = (load + 37) % 101;
    m.SetValue(load);  // one synchronous repaint (the value always changes)
    benchmark::DoNotOptimize(host.Surface().Data());
  }
}
BENCHMARK(BM_GaugeFullPaint)->Args({332, 190})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varnel
