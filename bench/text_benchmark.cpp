// Canvas text: TextOut and TextWidth of a gauge-sized label in 8-point Arial with warm glyphs,
// opaque and transparent, upright and turned, and the cost of a first use of a new size.
#include <benchmark/benchmark.h>

#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"

namespace {

using namespace varnel;

void Setup(TBitmap& bmp, int orientation = 0) {
  bmp.SetSize(332, 190);
  TCanvas& c = bmp.Canvas();
  c.Font().SetName("Arial");
  c.Font().SetHeight(-11);
  c.Font().SetOrientation(orientation);
  c.TextOut(10, 100, "CPU 100");  // warms the glyphs
}

void BM_TextOutTransparent(benchmark::State& state) {
  TBitmap bmp;
  Setup(bmp);
  TCanvas& c = bmp.Canvas();
  c.SetBkMode(TRANSPARENT);
  for (auto _ : state) c.TextOut(10, 100, "CPU 100");
  benchmark::DoNotOptimize(bmp.Data());
}
BENCHMARK(BM_TextOutTransparent);

void BM_TextOutOpaque(benchmark::State& state) {
  TBitmap bmp;
  Setup(bmp);
  TCanvas& c = bmp.Canvas();
  c.SetBkMode(OPAQUE);
  for (auto _ : state) c.TextOut(10, 100, "CPU 100");
  benchmark::DoNotOptimize(bmp.Data());
}
BENCHMARK(BM_TextOutOpaque);

void BM_TextOutTurned90(benchmark::State& state) {
  TBitmap bmp;
  Setup(bmp, 900);
  TCanvas& c = bmp.Canvas();
  c.SetBkMode(TRANSPARENT);
  for (auto _ : state) c.TextOut(10, 100, "CPU 100");
  benchmark::DoNotOptimize(bmp.Data());
}
BENCHMARK(BM_TextOutTurned90);

void BM_TextOutClipped(benchmark::State& state) {
  TBitmap bmp;
  Setup(bmp);
  TCanvas& c = bmp.Canvas();
  c.SetBkMode(TRANSPARENT);
  c.SetClipRect(Rect(0, 0, 332, 104));  // cuts the label in half
  for (auto _ : state) c.TextOut(10, 100, "CPU 100");
  benchmark::DoNotOptimize(bmp.Data());
}
BENCHMARK(BM_TextOutClipped);

void BM_TextWidth(benchmark::State& state) {
  TBitmap bmp;
  Setup(bmp);
  TCanvas& c = bmp.Canvas();
  for (auto _ : state) benchmark::DoNotOptimize(c.TextWidth("CPU 100"));
}
BENCHMARK(BM_TextWidth);

void BM_TextHeight(benchmark::State& state) {
  TBitmap bmp;
  Setup(bmp);
  TCanvas& c = bmp.Canvas();
  for (auto _ : state) benchmark::DoNotOptimize(c.TextHeight("CPU 100"));
}
BENCHMARK(BM_TextHeight);

// A different size each time: fontconfig is asked once per name, but each size opens a new
// FreeType size and renders its glyphs (the cache keeps at most 64 sizes, so this cycles).
void BM_TextOutColdSize(benchmark::State& state) {
  TBitmap bmp;
  Setup(bmp);
  TCanvas& c = bmp.Canvas();
  int height = 0;
  for (auto _ : state) {
    c.Font().SetHeight(-(8 + height++ % 120));
    c.TextOut(10, 100, "CPU 100");
  }
  benchmark::DoNotOptimize(bmp.Data());
}
BENCHMARK(BM_TextOutColdSize);

}  // namespace
