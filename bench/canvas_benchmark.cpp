// Raster canvas primitives: FillRect of whole bitmaps against a plain fill of the same words,
// one-pixel and two-pixel lines (time per painted pixel), a dotted line and polygon, ellipse
// and pie fills at chart and screen sizes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"

namespace {

using namespace varnel;

void BM_FillRect(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  TBitmap bmp(w, h);
  TCanvas& c = bmp.Canvas();
  c.Brush().SetColor(clBtnFace);
  for (auto _ : state) {
    c.FillRect(Rect(0, 0, w, h));
    benchmark::DoNotOptimize(bmp.Data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * w * h * 4);
}
BENCHMARK(BM_FillRect)->Args({332, 190})->Args({1920, 1080});

// The reference: the same words written by std::fill and by memset.
void BM_StdFill(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  TBitmap bmp(w, h);
  for (auto _ : state) {
    std::fill(bmp.Data(), bmp.Data() + static_cast<std::size_t>(w) * h, 0x00C0C0C0u);
    benchmark::DoNotOptimize(bmp.Data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * w * h * 4);
}
BENCHMARK(BM_StdFill)->Args({332, 190})->Args({1920, 1080});

void BM_Memset(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  TBitmap bmp(w, h);
  for (auto _ : state) {
    std::memset(bmp.Data(), 0xC0, static_cast<std::size_t>(w) * h * 4);
    benchmark::DoNotOptimize(bmp.Data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * w * h * 4);
}
BENCHMARK(BM_Memset)->Args({332, 190})->Args({1920, 1080});

// Lines across a 1920 x 1080 bitmap; the counter is nanoseconds per painted pixel.
void Lines(benchmark::State& state, int width, TPenStyle style, int dx, int dy) {
  TBitmap bmp(1920, 1080);
  TCanvas& c = bmp.Canvas();
  c.Pen().SetWidth(width);
  c.Pen().SetStyle(style);
  const long pixels = std::max(std::abs(dx), std::abs(dy));
  for (auto _ : state) {
    c.MoveTo(10, 10);
    c.LineTo(10 + dx, 10 + dy);
    benchmark::DoNotOptimize(bmp.Data());
  }
  state.counters["ns_per_pixel"] = benchmark::Counter(static_cast<double>(state.iterations() * pixels),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
void BM_Line1Horizontal(benchmark::State& s) { Lines(s, 1, psSolid, 1900, 0); }
void BM_Line1Shallow(benchmark::State& s) { Lines(s, 1, psSolid, 1900, 700); }
void BM_Line1Steep(benchmark::State& s) { Lines(s, 1, psSolid, 700, 1050); }
void BM_Line1Dotted(benchmark::State& s) { Lines(s, 1, psDot, 1900, 700); }
void BM_Line2Shallow(benchmark::State& s) { Lines(s, 2, psSolid, 1900, 700); }
void BM_Line2Horizontal(benchmark::State& s) { Lines(s, 2, psSolid, 1900, 0); }
BENCHMARK(BM_Line1Horizontal);
BENCHMARK(BM_Line1Shallow);
BENCHMARK(BM_Line1Steep);
BENCHMARK(BM_Line1Dotted);
BENCHMARK(BM_Line2Shallow);
BENCHMARK(BM_Line2Horizontal);

// A 60-point polyline of a chart's plot (width 1 and 2) at 332 x 190.
void BM_ChartPolyline(benchmark::State& state) {
  TBitmap bmp(332, 190);
  TCanvas& c = bmp.Canvas();
  c.Pen().SetWidth(static_cast<int>(state.range(0)));
  std::vector<TPoint> pts;
  for (int i = 0; i < 60; ++i) pts.push_back(Point(20 + i * 5, 30 + (i * 37 % 100)));
  for (auto _ : state) {
    c.Polyline(pts);
    benchmark::DoNotOptimize(bmp.Data());
  }
}
BENCHMARK(BM_ChartPolyline)->Arg(1)->Arg(2);

// A filled star polygon (winding) covering most of the bitmap.
void BM_PolygonFill(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  TBitmap bmp(w, h);
  TCanvas& c = bmp.Canvas();
  c.SetPolyFillMode(WINDING);
  c.Brush().SetColor(clNavy);
  const TPoint star[] = {{w / 2, 0}, {w * 4 / 5, h - 1}, {0, h * 2 / 5}, {w - 1, h * 2 / 5}, {w / 5, h - 1}};
  for (auto _ : state) {
    c.Polygon(star);
    benchmark::DoNotOptimize(bmp.Data());
  }
}
BENCHMARK(BM_PolygonFill)->Args({332, 190})->Args({1920, 1080});

void BM_EllipseAndPie(benchmark::State& state) {
  TBitmap bmp(332, 190);
  TCanvas& c = bmp.Canvas();
  c.Pen().SetWidth(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    c.Ellipse(16, 10, 316, 180);
    c.Pie(16, 10, 316, 180, 300, 20, 30, 20);
    benchmark::DoNotOptimize(bmp.Data());
  }
}
BENCHMARK(BM_EllipseAndPie)->Arg(1)->Arg(3);

}  // namespace
