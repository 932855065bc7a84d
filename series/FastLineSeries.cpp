// TFastLineSeries: the polyline pass with its same-pixel skip, the line pen kept together with
// the series colour, the hit test and the legend symbol.
#include "series/FastLineSeries.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/canvas/Canvas.h"
#include "series/BlockExtremes.h"
#include "series/SeriesChartLink.h"

namespace varnel {

TFastLineSeries::TFastLineSeries() {
  FLinePen = NewChartPen();
  FLinePen->OnChange = [this] { LinePenChanged(); };
  SetDrawsSinglePoint(false);
  SetIncludeEdgePoint(true);
}

TFastLineSeries::~TFastLineSeries() = default;

void TFastLineSeries::LinePenChanged() {
  // Only repaints: a colour given to the pen directly leaves SeriesColor, in which the line is
  // always drawn (SetLinePen and SetSeriesColor keep the two together).
  PenChanged();
}

void TFastLineSeries::SetLinePen(const TChartPen& pen) {
  FLinePen->Assign(pen);
  SetSeriesColor(FLinePen->Color());
}

void TFastLineSeries::SetSeriesColor(TColor v) {
  TChartSeries::SetSeriesColor(v);
  FLinePen->SetColor(v);
}

void TFastLineSeries::PrepareLinePen() {
  TCanvas* canvas = FInPass ? FPass.Canvas : (ParentChart() ? serieslink::DrawCanvas(ParentChart()) : nullptr);
  if (!canvas) return;
  canvas->Pen().Assign(static_cast<const TPen&>(*FLinePen));
  // On a printer a patterned one-pixel pen becomes the device's thinnest line.
  if (ParentChart() && serieslink::IsPrinting(ParentChart()) && canvas->Pen().Style() != psSolid &&
      canvas->Pen().Width() == 1)
    canvas->Pen().SetWidth(0);
  canvas->Pen().SetColor(SeriesColor());
}

bool TFastLineSeries::BeginPass(TPass& pass) const {
  TCustomAxisPanel* chart = ParentChart();
  pass = TPass{};
  if (!chart) return false;
  pass.Canvas = serieslink::DrawCanvas(chart);
  pass.HorizAxis = GetHorizAxis();
  pass.VertAxis = GetVertAxis();
  if (serieslink::View3D(chart) && serieslink::SeriesInDepth(chart)) {
    pass.ShiftX = DepthLevel() * serieslink::LevelDX(chart);
    pass.ShiftY = -DepthLevel() * serieslink::LevelDY(chart);
  }
  if (!pass.Canvas || !pass.HorizAxis || !pass.VertAxis) return false;
  pass.Count = Count();
  pass.XRaw = XValues().StoredValues();
  pass.YRaw = YValues().StoredValues();
  pass.YList = &YValues();
  pass.XOffset = XValues().StoredOffset();
  pass.YOffset = YValues().StoredOffset();
  pass.XMultiplier = XValues().Multiplier();
  pass.XNumbered = XValues().Numbered();
  pass.YMultiplier = YValues().Multiplier();
  pass.LinearX = serieslink::LinearMapping(chart, pass.HorizAxis, true, pass.XMap);
  pass.LinearY = serieslink::LinearMapping(chart, pass.VertAxis, false, pass.YMap);
  pass.XInvRange = pass.XMap.Range != 0 ? 1.0 / pass.XMap.Range : 0.0;
  pass.YInvRange = pass.YMap.Range != 0 ? 1.0 / pass.YMap.Range : 0.0;
  return true;
}

namespace {

// Points mapped at a time by a drawing pass.
constexpr int kBlock = 256;

constexpr double kRoundBias = 6755399441055744.0;  // 1.5 * 2^52
// Quotients at least this far from zero are left to the axis' own path.
constexpr double kFarPixels = 1e9;
// Quotients this close to a half-integer are decided by the true division.
constexpr double kNearHalf = 1e-6;

// Nearest integer with halves to even, for |q| < 2^51: adding and taking away 1.5 * 2^52 leaves
// no fraction bits, so the addition rounds in the default mode.
inline double RoundEven(double q) { return (q + kRoundBias) - kRoundBias; }

// The axis' linear mapping computed in place: pixel = start + Round(size * (v - min) / range)
// (end - ... when inverted), the same rounded operations as the axis, so the same pixel. The
// quotient is first formed with the reciprocal of the range; that differs from the true quotient
// by a few units in the last place, which can change the rounded result only next to a
// half-integer, and there the true division decides. False where the axis' own path must decide
// (a value that is not a number, or one far outside the plot).
inline bool MapLinear(const serieslink::TLinearMap& m, double invRange, double v, int& pixel) {
  if (m.Range == 0) {
    pixel = m.Centre;
    return true;
  }
  const double b = m.Size * (v - m.Minimum);
  double q = b * invRange;
  if (!(std::fabs(q) < kFarPixels)) return false;
  double r = RoundEven(q);
  if (std::fabs(std::fabs(q - r) - 0.5) < kNearHalf) r = RoundEven(b / m.Range);
  const auto f = static_cast<long long>(r);
  const long long p = m.Inverted ? m.End - f : m.Start + f;
  if (p > 2147483647LL || p < -2147483647LL - 1) return false;
  pixel = static_cast<int>(p);
  return true;
}

// MapLinear over a block of stored values (slots less the list's offset), plus the depth shift, in a form the compiler runs
// several values at a time (no branches, the flags kept as doubles): out[k] is the shifted pixel
// of raw[k] * multiplier, and undecided[k] is non-zero where MapLinear would not decide on the
// quick path (those pixels are the caller's to recompute). Returns whether any is undecided.
bool MapLinearBlock(const serieslink::TLinearMap& m, double invRange, const double* raw, double offset, double multiplier,
                    int shift, int n, int* out, double* undecided) {
  if (m.Range == 0) {
    std::fill(out, out + n, m.Centre + shift);
    return false;
  }
  const double minimum = m.Minimum, size = m.Size;
  const double base = static_cast<double>(m.Inverted ? m.End : m.Start) + shift;
  const double sign = m.Inverted ? -1.0 : 1.0;
  // Within this bound the rounded quotient, moved to the axis' end, is an int.
  const double bound = std::min(kFarPixels, 2147483646.0 - std::fabs(base));
  for (int k = 0; k < n; ++k) {
    const double q = size * ((raw[k] - offset) * multiplier - minimum) * invRange;
    const double inside = q > bound ? bound : (q >= -bound ? q : -bound);  // also for NaN
    const double r = RoundEven(inside);
    const double outside = std::fabs(q) < bound ? 0.0 : 1.0;  // also for NaN
    const double nearHalf = std::fabs(std::fabs(q - r) - 0.5) < kNearHalf ? 1.0 : 0.0;
    undecided[k] = outside + nearHalf;
    out[k] = static_cast<int>(base + sign * r);
  }
  std::uint64_t any = 0;
  for (int k = 0; k < n; ++k) any |= std::bit_cast<std::uint64_t>(undecided[k]);
  return any != 0;
}

// MapLinear of a stored value (the slot less the list's offset, times the multiplier), plus the
// depth shift: the pixel PassX or PassY gives the point, where it decides.
inline bool MapStored(const serieslink::TLinearMap& m, double invRange, double raw, double offset, double multiplier,
                      int shift, int& pixel) {
  if (!MapLinear(m, invRange, (raw - offset) * multiplier, pixel)) return false;
  pixel = serieslink::ShiftedPixel(pixel, shift);
  return true;
}

// Whether v[0] <= v[1] <= ... <= v[n - 1] (false where a value is not a number).
bool NonDecreasing(const double* v, int n) {
  int k = 0;
#if defined(__SSE2__)
  // Two pairs at a time: v[k] <= v[k + 1] and v[k + 1] <= v[k + 2], and so on.
  __m128d ok = _mm_castsi128_pd(_mm_set1_epi32(-1));
  for (; k + 4 < n; k += 4) {
    ok = _mm_and_pd(ok, _mm_cmple_pd(_mm_loadu_pd(v + k), _mm_loadu_pd(v + k + 1)));
    ok = _mm_and_pd(ok, _mm_cmple_pd(_mm_loadu_pd(v + k + 2), _mm_loadu_pd(v + k + 3)));
  }
  if (_mm_movemask_pd(ok) != 3) return false;
#endif
  bool ok1 = true;
  for (; k + 1 < n; ++k) ok1 &= v[k] <= v[k + 1];
  return ok1;
}

// Blocks whose points take fewer than this many a pixel column on average are mapped point by
// point.
constexpr int kMinRun = 8;
// Runs at least this long take their extremes from the Y list's block summary.
constexpr int kSummaryRun = 4 * static_cast<int>(TBlockExtremes::kBlock);
// Points searched for column runs at a time (a run cut at the end of one costs a second run).
constexpr int kColumnSpan = 4096;
// The largest batch of line-to points handed to the canvas in one call.
constexpr std::size_t kQueueMax = 16384;

// The queue a pass on this thread may borrow (one pass at a time), grown to what passes have
// needed (kept: a chart draws its lines every second).
struct TSharedQueue {
  std::vector<TPoint> Points;
  bool Busy = false;
};
TSharedQueue& SharedQueue() {
  thread_local TSharedQueue queue;
  return queue;
}

// The X pixels of the block of points a pass on this thread mapped last, with what they follow
// from: the chart's lines of the cores share one run of X values, so every line after the
// first takes its X pixels from here.
struct TXBlock {
  serieslink::TLinearMap Map;
  double InvRange = 0, Offset = 0, Multiplier = 0;
  int Shift = 0;
  int Count = -1;  // none held
  double Raw[kBlock];
  int Pixels[kBlock];

  // Whether this holds the pixels of the pass's n values at raw (every number the same, bit for
  // bit).
  template <class TPass>
  bool Holds(const TPass& pass, const double* raw, int n) const {
    const auto same = [](double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); };
    const serieslink::TLinearMap& m = pass.XMap;
    return Count == n && pass.ShiftX == Shift && same(pass.XInvRange, InvRange) && same(pass.XOffset, Offset) &&
           same(pass.XMultiplier, Multiplier) && same(m.Minimum, Map.Minimum) && same(m.Range, Map.Range) &&
           m.Start == Map.Start && m.End == Map.End && m.Size == Map.Size && m.Centre == Map.Centre &&
           m.Inverted == Map.Inverted && std::memcmp(raw, Raw, static_cast<std::size_t>(n) * sizeof(double)) == 0;
  }
  template <class TPass>
  void Keep(const TPass& pass, const double* raw, int n, const int* pixels) {
    Map = pass.XMap;
    InvRange = pass.XInvRange;
    Offset = pass.XOffset;
    Multiplier = pass.XMultiplier;
    Shift = pass.ShiftX;
    Count = n;
    std::copy(raw, raw + n, Raw);
    std::copy(pixels, pixels + n, Pixels);
  }
};
TXBlock& LastXBlock() {
  thread_local TXBlock block;
  return block;
}

}  // namespace

inline int TFastLineSeries::PassX(const TPass& pass, int index) const {
  if (index < 0 || index >= pass.Count) return XPixelOf(index);  // raises the list-index error
  // A numbered list's slots are the whole numbers from 0: slot i holds i (not read, so that the
  // column search of a long history does not fetch them from memory).
  const double raw = pass.XNumbered ? static_cast<double>(index) : pass.XRaw[index];
  const double v = (raw - pass.XOffset) * pass.XMultiplier;
  int pixel;
  if (!pass.LinearX || !MapLinear(pass.XMap, pass.XInvRange, v, pixel)) pixel = serieslink::XPixelOfValue(pass.HorizAxis, v);
  return serieslink::ShiftedPixel(pixel, pass.ShiftX);
}

inline int TFastLineSeries::PassY(const TPass& pass, int index) const {
  if (index < 0 || index >= pass.Count) return YPixelOf(index);
  const double v = (pass.YRaw[index] - pass.YOffset) * pass.YMultiplier;
  int pixel;
  if (!pass.LinearY || !MapLinear(pass.YMap, pass.YInvRange, v, pixel)) pixel = serieslink::YPixelOfValue(pass.VertAxis, v);
  return serieslink::ShiftedPixel(pixel, pass.ShiftY);
}

inline void TFastLineSeries::Step(int index, bool standalone) {
  TCanvas& canvas = *FPass.Canvas;
  const int x = PassX(FPass, index);
  const int y = PassY(FPass, index);
  if (index == FirstShownIndex()) {
    FlushQueue();
    if (index < 1) {
      canvas.MoveTo(x, y);
      FLastX = x;
      FLastY = y;
      return;
    }
    // The line enters the plot from the point before the first visible one.
    FLastX = PassX(FPass, index - 1);
    FLastY = PassY(FPass, index - 1);
    canvas.MoveTo(FLastX, FLastY);
  } else if (x == FLastX && y == FLastY) {
    return;
  } else if (standalone) {
    canvas.MoveTo(FLastX, FLastY);
  }
  FLastX = x;
  FLastY = y;
  if (standalone) {
    canvas.LineTo(x, y);
    return;
  }
  FQueue[static_cast<std::size_t>(FQueued++)] = TPoint{x, y};
  if (FQueued == static_cast<int>(FQueue.size())) MakeRoom(1);
}

void TFastLineSeries::MakeRoom(int n) {
  if (static_cast<int>(FQueue.size()) - FQueued >= n) return;
  // The shared queue grows (to at most kQueueMax points); a full one goes to the canvas.
  TSharedQueue& shared = SharedQueue();
  if (FQueue.data() == shared.Points.data() && shared.Points.size() < kQueueMax) {
    shared.Points.resize(std::min(kQueueMax, 2 * shared.Points.size()));
    FQueue = std::span<TPoint>(shared.Points);
    return;
  }
  FlushQueue();
}

void TFastLineSeries::FlushQueue() {
  if (FQueued == 0) return;
  FPass.Canvas->PolylineTo(std::span<const TPoint>(FQueue.data(), static_cast<std::size_t>(FQueued)));
  FQueued = 0;
}

inline void TFastLineSeries::Queue(int x, int y) {
  if (x == FLastX && y == FLastY) return;
  FLastX = x;
  FLastY = y;
  MakeRoom(1);
  FQueue[static_cast<std::size_t>(FQueued++)] = TPoint{x, y};
}

void TFastLineSeries::QueueBlock(int index, int n) {
  int xs[kBlock], ys[kBlock];
  double xUndecided[kBlock], yUndecided[kBlock];
  const double* xRaw = FPass.XRaw + index;
  const double* yRaw = FPass.YRaw + index;
  TXBlock& last = LastXBlock();
  if (last.Holds(FPass, xRaw, n)) {
    std::copy(last.Pixels, last.Pixels + n, xs);
  } else {
    // Mapped as PassX maps them; kept for the next series with the same X values where no
    // value needed the axis' own path (the block's pixels then follow from what the key holds).
    bool own = true;
    if (MapLinearBlock(FPass.XMap, FPass.XInvRange, xRaw, FPass.XOffset, FPass.XMultiplier, FPass.ShiftX, n, xs, xUndecided))
      for (int k = 0; k < n; ++k) {
        if (xUndecided[k] == 0) continue;
        int pixel;
        if (MapStored(FPass.XMap, FPass.XInvRange, xRaw[k], FPass.XOffset, FPass.XMultiplier, FPass.ShiftX, pixel)) {
          xs[k] = pixel;
        } else {
          xs[k] = PassX(FPass, index + k);
          own = false;
        }
      }
    if (own) last.Keep(FPass, xRaw, n, xs);
  }
  if (MapLinearBlock(FPass.YMap, FPass.YInvRange, yRaw, FPass.YOffset, FPass.YMultiplier, FPass.ShiftY, n, ys, yUndecided))
    for (int k = 0; k < n; ++k)
      if (yUndecided[k] != 0) ys[k] = PassY(FPass, index + k);
  // The same-pixel skip on locals.
  int lastX = FLastX, lastY = FLastY, queued = FQueued;
  TPoint* queue = FQueue.data();
  for (int k = 0; k < n; ++k) {
    const int x = xs[k], y = ys[k];
    if (x == lastX && y == lastY) continue;
    lastX = x;
    lastY = y;
    queue[queued++] = TPoint{x, y};
  }
  FLastX = lastX;
  FLastY = lastY;
  FQueued = queued;
}

bool TFastLineSeries::QueueColumns(int index, int n) {
  const double* xRaw = FPass.XRaw + index;
  // With the X values in order the pixel column of a point never turns back: the points of
  // one column are consecutive, and a point between two of one column lies in it too.
  if (!FPass.XNumbered && !NonDecreasing(xRaw, n)) return false;
  const auto columnOf = [&](int k) { return PassX(FPass, index + k); };
  const int firstX = columnOf(0), lastX = columnOf(n - 1);
  if ((std::abs(static_cast<long long>(lastX) - firstX) + 1) * kMinRun > n) return false;
  int start = 0, x = firstX, length = 1;
  while (start < n) {
    // The run's end: from a guess (as long as the run before) gallop to a point of this column
    // and one of another, then halve the gap.
    int end = n - 1, nextX = x;
    if (x != lastX) {
      int in = start, out = std::min(start + length - 1, n - 1);
      int step = 1;
      if (out > start && (nextX = columnOf(out)) != x) {
        for (;;) {  // downwards from a guess too long
          const int probe = std::max(out - step, start);
          const int probeX = probe == start ? x : columnOf(probe);
          if (probeX == x) {
            in = probe;
            break;
          }
          out = probe;
          nextX = probeX;
          step *= 2;
        }
      } else {
        in = out;
        for (;;) {  // upwards
          out = std::min(in + step, n - 1);
          nextX = columnOf(out);
          if (nextX != x) break;
          in = out;
          step *= 2;
        }
      }
      while (out - in > 1) {
        const int mid = in + (out - in) / 2;
        const int midX = columnOf(mid);
        if (midX == x) {
          in = mid;
        } else {
          out = mid;
          nextX = midX;
        }
      }
      end = in;
    }
    QueueRun(index + start, index + end, x);
    if (start > 0) length = end - start + 1;  // the first run of a block may be cut short
    start = end + 1;
    x = nextX;
  }
  return true;
}

void TFastLineSeries::QueueRun(int first, int last, int x) {
  // A short run costs less point by point.
  constexpr int kMinSummary = 5;
  if (last - first + 1 < kMinSummary) {
    for (int i = first; i <= last; ++i) Queue(x, PassY(FPass, i));
    return;
  }
  // The points at the end that share the last one's pixel: a one-pixel pen paints that pixel
  // only where a point before them reaches it (or the line runs on past it).
  const int lastY = PassY(FPass, last);
  int before = last - 1;
  // Equal values share a pixel without mapping them (a flat line, such as a core held at 100 %,
  // has whole columns of them); a long run of them is passed through the list's block summary,
  // as its extremes are below. A noisy line stops at the first point, without a call.
  const double lastValue = FPass.YRaw[last];
  if (FPass.YRaw[before] == lastValue)
    before = before - first + 1 >= kSummaryRun && FPass.YOffset == 0
                 ? FPass.YList->LastDifferentStored(first, before, lastValue)
                 : static_cast<int>(LastDifferent(FPass.YRaw, first, before, lastValue));
  while (before >= first && PassY(FPass, before) == lastY) --before;
  if (before < first) {
    Queue(x, lastY);
    return;
  }
  // The extremes of the points before those: the Y mapping keeps or reverses order, so their
  // pixels bound the pixels of every point between.
  // A long run (a day on a small plot) reads them from the list's summary of its blocks, whose
  // values are the stored ones where the list has no offset.
  double lo, hi;
  int loY, hiY;
  const bool finite = before - first + 1 >= kSummaryRun && FPass.YOffset == 0
                          ? FPass.YList->StoredExtremes(first, before, lo, hi)
                          : FiniteExtremes(FPass.YRaw + first, static_cast<std::size_t>(before - first + 1), lo, hi);
  if (!finite ||
      !MapStored(FPass.YMap, FPass.YInvRange, lo, FPass.YOffset, FPass.YMultiplier, FPass.ShiftY, loY) ||
      !MapStored(FPass.YMap, FPass.YInvRange, hi, FPass.YOffset, FPass.YMultiplier, FPass.ShiftY, hiY)) {
    for (int i = first; i <= last; ++i) Queue(x, PassY(FPass, i));
    return;
  }
  // first -> extreme -> extreme -> last covers what the run covers; the extreme on the last
  // point's pixel (if one is) goes first, so that its pixel is reached before the end.
  if (hiY == lastY) std::swap(loY, hiY);
  Queue(x, PassY(FPass, first));
  Queue(x, loY);
  Queue(x, hiY);
  Queue(x, lastY);
}

void TFastLineSeries::DrawAllPoints() {
  if (!BeginPass(FPass)) return;
  FInPass = true;
  FQueued = 0;
  PrepareLinePen();
  // The shared queue (at least two blocks; it grows as the pass needs), or the series' own
  // while another pass holds it.
  TSharedQueue& shared = SharedQueue();
  const bool borrowed = !shared.Busy;
  if (borrowed) {
    if (shared.Points.size() < FOwnQueue.size()) shared.Points.resize(FOwnQueue.size());
    shared.Busy = true;
    FQueue = std::span<TPoint>(shared.Points);
  } else {
    FQueue = std::span<TPoint>(FOwnQueue);
  }
  const auto giveBack = [&] {
    if (borrowed) shared.Busy = false;
    FQueue = std::span<TPoint>(FOwnQueue);
  };
  try {
    // The core's loop (this class draws forward and its DrawPoint is the step), without a
    // virtual call per point: after the first point's move-to, the points are mapped a block
    // at a time and the line-to calls go to the canvas in batches. A pen that paints a run of
    // points down one pixel column as the block they span is given four points a run.
    const int first = FirstShownIndex(), last = LastShownIndex();
    if (first <= last) Step(first, false);
    const bool merge = FPass.Canvas->PolylineToMergesColumns();
    const int span = merge ? kColumnSpan : kBlock;
    for (int i = first + 1; i <= last; i += span) {
      const int n = std::min(span, last - i + 1);
      if (i < 0 || i + n > FPass.Count || !FPass.LinearX || !FPass.LinearY) {
        for (int k = 0; k < n; ++k) Step(i + k, false);
        continue;
      }
      if (merge && QueueColumns(i, n)) continue;
      for (int j = i; j < i + n; j += kBlock) {
        // A block queues at most one point a point (the queue holds two blocks).
        MakeRoom(kBlock);
        QueueBlock(j, std::min(kBlock, i + n - j));
      }
    }
    FlushQueue();
  } catch (...) {
    FlushQueue();
    giveBack();
    FInPass = false;
    throw;
  }
  giveBack();
  FInPass = false;
}

void TFastLineSeries::DrawPoint(int index) {
  if (FInPass) {
    Step(index, false);
    return;
  }
  // Called on its own (several series sharing one depth level are drawn point by point, in
  // turn): set the pen up and continue from this series' own last pixel.
  if (!BeginPass(FPass)) return;
  FInPass = true;
  PrepareLinePen();
  Step(index, true);
  FInPass = false;
}

bool PixelOnSegment(TPoint p, TPoint a, TPoint b) {
  const long long dx = static_cast<long long>(b.x) - a.x;
  const long long dy = static_cast<long long>(b.y) - a.y;
  const long long cross = dy * (static_cast<long long>(p.x) - a.x) - (static_cast<long long>(p.y) - a.y) * dx;
  const long long band = std::max(std::llabs(dx), std::llabs(dy));
  if (std::llabs(cross) >= band) return false;
  if (a.x != b.x && (p.x < std::min(a.x, b.x) || p.x > std::max(a.x, b.x))) return false;
  if (a.y != b.y && (p.y < std::min(a.y, b.y) || p.y > std::max(a.y, b.y))) return false;
  return true;
}

int TFastLineSeries::PointAtPixel(int x, int y) const {
  const int first = FirstShownIndex();
  const int last = LastShownIndex();
  if (first < 0 || last < 0 || last < first) return -1;
  const TPoint p{x, y};
  TPoint previous{0, 0};
  for (int i = first; i <= last; ++i) {
    const TPoint q{XPixelOf(i), YPixelOf(i)};
    if (p == q) return i;
    if (i > first && PixelOnSegment(p, q, previous)) return i - 1;
    previous = q;
  }
  return -1;
}

void TFastLineSeries::DrawSymbolShape(int /*index*/, const TRect& rect) {
  TCanvas* canvas = ParentChart() ? serieslink::DrawCanvas(ParentChart()) : nullptr;
  if (!canvas) return;
  PrepareLinePen();
  const int m = (rect.Top + rect.Bottom) / 2;
  canvas->MoveTo(rect.Left, m);
  canvas->LineTo(rect.Right, m);
}

void TFastLineSeries::Assign(TChartSeries& source) {
  if (&source == this) return;
  if (const auto* other = dynamic_cast<const TFastLineSeries*>(&source)) FLinePen->Assign(*other->FLinePen);
  TChartSeries::Assign(source);
}

}  // namespace varnel
