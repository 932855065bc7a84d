// Full repaints of the needle gauge as this program configures it, at the default window size
// and at full-screen size: compose off screen, copy onto the host surface, present.
#include <benchmark/benchmark.h>

#include "gauge/Meter.h"
#include "platform/BitmapHost.h"

namespace varnel {
namespace {

void ConfigureProgramGauge(TMeter& m) {
  m.BeginLoading();
  m.SetCaption("CPU %");
  m.SetColorCover(clGray);
  m.SetColorScale(clBlack);
  m.SetColorScheme(csSytem);
  m.Font().SetName("MS Sans Serif");
  m.Font().SetHeight(-11);
  m.Font().SetColor(clBlack);
  m.SetFrameStyle(fsEmbossed);
  m.SetLimWatchHighOn(false);
  m.SetLimWatchLowOn(false);
  m.SetMeterMaxValue(100.0);
  m.SetMeterDecPlaces(0);
  m.SetMeterNrTicks(6);
  m.SetMeterLayout(mlCirc180);
  m.NeedleLayout().SetAnchorSize(5);
  m.NeedleLayout().SetThickness(2);
  m.NeedleLayout().SetColorBody(clMaroon);
  m.NeedleLayout().SetColorOutline(clMaroon);
  m.SetRimBottom(2);
  m.SetRimTop(2);
  m.SetRimSide(2);
  m.SetColorBakG(clBtnFace);
  m.Loaded();
}

void BM_GaugeFullPaint(benchmark::State& state) {
  TBitmapHost host(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  TMeter m;
  m.SetHost(&host);
  ConfigureProgramGauge(m);
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
