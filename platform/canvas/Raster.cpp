// The raster core: pixel operations, inks, the visible region, span painting, the span
// accumulator and the polygon lattice scan converter.
#include "platform/canvas/Raster.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace varnel::raster {

// ---------------------------------------------------------------------------------------------
// Pixel operations and inks

TRop PenRop(TPenMode mode, std::uint32_t p) {
  p &= kAllBits;
  const std::uint32_t np = ~p & kAllBits;
  switch (mode) {
    case pmBlack: return {0, 0};
    case pmWhite: return {0, kAllBits};
    case pmNop: return {kAllBits, 0};
    case pmNot: return {kAllBits, kAllBits};
    case pmCopy: return {0, p};
    case pmNotCopy: return {0, np};
    case pmMergePenNot: return {np, kAllBits};  // P | ~D
    case pmMaskPenNot: return {p, p};           // P & ~D
    case pmMergeNotPen: return {p, np};         // ~P | D
    case pmMaskNotPen: return {np, 0};          // ~P & D
    case pmMerge: return {np, p};               // P | D
    case pmNotMerge: return {np, np};           // ~(P | D)
    case pmMask: return {p, 0};                 // P & D
    case pmNotMask: return {p, kAllBits};       // ~(P & D)
    case pmXor: return {kAllBits, p};           // P ^ D
    case pmNotXor: return {kAllBits, np};       // ~(P ^ D)
  }
  return {0, p};
}

const std::uint8_t* HatchPattern(TBrushStyle style) {
  // Rows top to bottom, bit 7 is column 0 of each 8-pixel cell. The horizontal lines lie on
  // row 3 of the cell, the vertical ones on column 4.
  static const std::uint8_t kHatches[6][8] = {
      {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // horizontal
      {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
      {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal: down to the right
      {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal: up to the right
      {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // cross
      {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
  };
  switch (style) {
    case bsHorizontal: return kHatches[0];
    case bsVertical: return kHatches[1];
    case bsFDiagonal: return kHatches[2];
    case bsBDiagonal: return kHatches[3];
    case bsCross: return kHatches[4];
    case bsDiagCross: return kHatches[5];
    default: return nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// The visible region

bool TClipRegion::Contains(i64 x, i64 y) const {
  if (x < Box.L || x >= Box.R || y < Box.T || y >= Box.B) return false;
  if (!Complex) return true;
  const std::size_t r = static_cast<std::size_t>(y - Box.T);
  for (std::uint32_t i = RowStart[r]; i < RowStart[r + 1]; ++i) {
    if (x < Spans[i].first) return false;
    if (x < Spans[i].second) return true;
  }
  return false;
}

void BuildRectRegion(TClipRegion& out, int width, int height, const TRect& clip, bool hasClip) {
  out = TClipRegion{};
  if (width <= 0 || height <= 0) return;
  TBox b{0, 0, width, height};
  if (hasClip) {
    const TRect c = NormalizedRect(clip);
    b.L = std::max<i64>(b.L, c.Left);
    b.T = std::max<i64>(b.T, c.Top);
    b.R = std::min<i64>(b.R, c.Right);
    b.B = std::min<i64>(b.B, c.Bottom);
  }
  if (!b.Empty()) out.Box = b;
}

void BuildPolygonRegion(TClipRegion& out, int width, int height, std::span<const TPoint> pts, TFillMode mode) {
  out = TClipRegion{};
  if (width <= 0 || height <= 0 || pts.size() < 3) return;
  std::vector<TPoint64> p;
  p.reserve(pts.size());
  for (const TPoint& q : pts) p.push_back({q.x, q.y});
  const TBox bitmap{0, 0, width, height};
  std::vector<std::vector<std::pair<int, int>>> rows(static_cast<std::size_t>(height));
  ScanPolygon(p, mode, bitmap, [&](i64 y, i64 x0, i64 x1) {
    rows[static_cast<std::size_t>(y)].emplace_back(static_cast<int>(x0), static_cast<int>(x1));
  });
  TBox box{width, height, 0, 0};
  for (int y = 0; y < height; ++y) {
    auto& r = rows[static_cast<std::size_t>(y)];
    if (r.empty()) continue;
    box.T = std::min<i64>(box.T, y);
    box.B = std::max<i64>(box.B, y + 1);
    box.L = std::min<i64>(box.L, r.front().first);
    box.R = std::max<i64>(box.R, r.back().second);
  }
  if (box.Empty()) return;  // nothing visible: an empty box hides everything
  out.Box = box;
  out.Complex = true;
  out.RowStart.reserve(static_cast<std::size_t>(box.B - box.T + 1));
  for (i64 y = box.T; y < box.B; ++y) {
    out.RowStart.push_back(static_cast<std::uint32_t>(out.Spans.size()));
    for (auto& s : rows[static_cast<std::size_t>(y)]) out.Spans.push_back(s);
  }
  out.RowStart.push_back(static_cast<std::uint32_t>(out.Spans.size()));
}

// ---------------------------------------------------------------------------------------------
// Span painting

namespace {

// Fills n words with v. Long fills copy a filled 16 KB block over the rest: the C library's copy
// uses the widest stores the processor has, where a loop compiled for the baseline processor
// stores 16 bytes at a time (up to twice as fast on a large picture).
void FillWords(std::uint32_t* p, std::size_t n, std::uint32_t v) {
  constexpr std::size_t kBlock = 4096;
  if (n < 2 * kBlock) {
    std::fill(p, p + n, v);
    return;
  }
  std::fill(p, p + kBlock, v);
  for (std::size_t done = kBlock; done < n;) {
    const std::size_t k = std::min(kBlock, n - done);
    std::memcpy(p + done, p, k * sizeof(std::uint32_t));
    done += k;
  }
}

}  // namespace

void TSurface::Run(std::uint32_t* row, i64 y, i64 a, i64 b, const TInk& ink) {
  std::uint32_t* p = row + a;
  std::uint32_t* const end = row + b;
  if (!ink.Hatch) {
    const TRop r = ink.Fg;
    if (r.A == 0) {
      std::fill(p, end, r.X);
    } else if (!r.IsNop()) {
      for (; p != end; ++p) *p = (*p & r.A) ^ r.X;
    }
    return;
  }
  const unsigned bits = ink.Hatch[static_cast<std::size_t>(y & 7)];
  for (i64 x = a; p != end; ++p, ++x) {
    if (bits & (0x80u >> (x & 7)))
      *p = ink.Fg.Apply(*p);
    else if (ink.PaintGaps)
      *p = ink.Bg.Apply(*p);
  }
}

void TSurface::Span(i64 y, i64 x0, i64 x1, const TInk& ink) {
  const TBox& b = FRegion.Box;
  if (ink.Nothing || y < b.T || y >= b.B) return;
  x0 = std::max(x0, b.L);
  x1 = std::min(x1, b.R);
  if (x0 >= x1) return;
  std::uint32_t* row = Row(y);
  if (!FRegion.Complex) {
    Run(row, y, x0, x1, ink);
    return;
  }
  const std::size_t r = static_cast<std::size_t>(y - b.T);
  for (std::uint32_t i = FRegion.RowStart[r]; i < FRegion.RowStart[r + 1]; ++i) {
    const i64 a = std::max<i64>(x0, FRegion.Spans[i].first);
    const i64 e = std::min<i64>(x1, FRegion.Spans[i].second);
    if (a < e) Run(row, y, a, e, ink);
  }
}

void TSurface::Column(i64 x, i64 y0, i64 y1, TRop rop) {
  const TBox& b = FRegion.Box;
  if (x < b.L || x >= b.R) return;
  y0 = std::max(y0, b.T);
  y1 = std::min(y1, b.B);
  if (y0 >= y1) return;
  if (FRegion.Complex) {
    for (i64 y = y0; y < y1; ++y) Pixel(x, y, rop);
    return;
  }
  std::uint32_t* p = Row(y0) + x;
  for (i64 y = y0; y < y1; ++y, p += FWidth) *p = rop.Apply(*p);
}

void TSurface::Block(i64 y0, i64 y1, i64 x0, i64 x1, const TInk& ink) {
  const TBox& b = FRegion.Box;
  y0 = std::max(y0, b.T);
  y1 = std::min(y1, b.B);
  if (y0 >= y1 || ink.Nothing) return;
  if (!FRegion.Complex && !ink.Hatch && ink.Fg.A == 0 && x0 <= 0 && x1 >= FWidth && b.L == 0 && b.R == FWidth) {
    FillWords(Row(y0), static_cast<std::size_t>(y1 - y0) * static_cast<std::size_t>(FWidth), ink.Fg.X);  // contiguous rows
    return;
  }
  for (i64 y = y0; y < y1; ++y) Span(y, x0, x1, ink);
}

void TSurface::Narrow(i64 y0, i64 y1, i64 x0, i64 x1, TRop rop) {
  const TBox& b = FRegion.Box;
  y0 = std::max(y0, b.T);
  y1 = std::min(y1, b.B);
  x0 = std::max(x0, b.L);
  x1 = std::min(x1, b.R);
  if (y0 >= y1 || x0 >= x1) return;
  if (FRegion.Complex) {
    const TInk ink = SolidInk(rop);
    for (i64 y = y0; y < y1; ++y) Span(y, x0, x1, ink);
    return;
  }
  const i64 n = x1 - x0;
  std::uint32_t* p = Row(y0) + x0;
  if (rop.A == 0) {
    for (i64 y = y0; y < y1; ++y, p += FWidth)
      for (i64 k = 0; k < n; ++k) p[k] = rop.X;
    return;
  }
  for (i64 y = y0; y < y1; ++y, p += FWidth)
    for (i64 k = 0; k < n; ++k) p[k] = rop.Apply(p[k]);
}

// ---------------------------------------------------------------------------------------------
// Span accumulator

TSpanRows::TSpanRows(const TBox& box) : FBox(box) {
  if (FBox.Empty()) FBox = TBox{};
  FRows.resize(static_cast<std::size_t>(FBox.B - FBox.T));
}

void TSpanRows::Merge(std::vector<std::pair<int, int>>& row) {
  if (row.size() < 2) return;
  std::sort(row.begin(), row.end());
  std::size_t o = 0;
  for (std::size_t i = 1; i < row.size(); ++i) {
    if (row[i].first <= row[o].second)
      row[o].second = std::max(row[o].second, row[i].second);
    else
      row[++o] = row[i];
  }
  row.resize(o + 1);
}

void TSpanRows::Add(i64 y, i64 x0, i64 x1) {
  if (y < FBox.T || y >= FBox.B) return;
  x0 = std::max(x0, FBox.L);
  x1 = std::min(x1, FBox.R);
  if (x0 >= x1) return;
  auto& row = FRows[static_cast<std::size_t>(y - FBox.T)];
  row.emplace_back(static_cast<int>(x0), static_cast<int>(x1));
  ++FCount;
  if (row.size() >= 64 && (row.size() & (row.size() - 1)) == 0) Merge(row);  // keep rows short
}

void TSpanRows::Finish() {
  for (auto& row : FRows) Merge(row);
}

void TSpanRows::Paint(TSurface& s, const TInk& ink) const {
  for (i64 y = FBox.T; y < FBox.B; ++y)
    for (const auto& sp : RowSpans(y)) s.Span(y, sp.first, sp.second, ink);
}

void TSpanRows::PaintOutside(TSurface& s, i64 y, i64 x0, i64 x1, const TInk& ink) const {
  if (y < FBox.T || y >= FBox.B) {
    s.Span(y, x0, x1, ink);
    return;
  }
  for (const auto& sp : RowSpans(y)) {
    if (sp.second <= x0) continue;
    if (sp.first >= x1) break;
    if (sp.first > x0) s.Span(y, x0, sp.first, ink);
    x0 = std::max<i64>(x0, sp.second);
  }
  if (x0 < x1) s.Span(y, x0, x1, ink);
}

// ---------------------------------------------------------------------------------------------
// Polygon lattice fill

namespace {

struct TEdge {
  i64 ya, yb;      // rows ya .. yb-1
  i64 xa;          // x at ya
  i64 dx, dy;      // dy > 0
  int dir;         // +1 downwards in vertex order, -1 upwards
  i64 q = 0, e = 0, qstep = 0, rstep = 0;  // crossing ceil(k*dx/dy) and its error
  // Places the edge at row y: crossing xa + ceil((y - ya) * dx / dy).
  void Start(i64 y) {
    const i128 n = static_cast<i128>(y - ya) * dx;
    q = CeilDiv(n, dy);
    e = static_cast<i64>(n - static_cast<i128>(q) * dy);
    qstep = FloorDiv(dx, dy);
    rstep = dx - qstep * dy;
  }
  void Step() {
    // Without a branch: whether the error carries over is as good as random from row to row.
    e += rstep;
    const i64 carry = e > 0 ? 1 : 0;
    q += qstep + carry;
    e -= carry * dy;
  }
  i64 X() const { return xa + q; }
};

}  // namespace

namespace {

template <class Emit>
void ScanPolygonTo(std::span<const TPoint64> pts, TFillMode mode, const TBox& box, Emit&& emit) {
  const std::size_t n = pts.size();
  if (n < 3 || box.Empty()) return;
  // Scratch storage kept between calls (no call reenters this function).
  thread_local std::vector<TEdge> edges;
  thread_local std::vector<TEdge*> active;
  thread_local std::vector<std::pair<i64, int>> cross;
  edges.clear();
  active.clear();
  for (std::size_t i = 0; i < n; ++i) {
    const TPoint64 a = pts[i];
    const TPoint64 b = pts[(i + 1) % n];
    if (a.y == b.y) continue;
    TEdge e;
    if (a.y < b.y) {
      e = TEdge{a.y, b.y, a.x, b.x - a.x, b.y - a.y, 1};
    } else {
      e = TEdge{b.y, a.y, b.x, a.x - b.x, a.y - b.y, -1};
    }
    if (e.yb <= box.T || e.ya >= box.B) continue;
    edges.push_back(e);
  }
  if (edges.empty()) return;
  std::sort(edges.begin(), edges.end(), [](const TEdge& a, const TEdge& b) { return a.ya < b.ya; });
  std::size_t next = 0;
  i64 y = std::max(box.T, edges.front().ya);
  i64 firstEnd = std::numeric_limits<i64>::max();  // the first row past an active edge
  while (y < box.B) {
    // Activate edges starting at or before this row.
    while (next < edges.size() && std::max(edges[next].ya, box.T) <= y) {
      edges[next].Start(y);
      active.push_back(&edges[next]);
      firstEnd = std::min(firstEnd, edges[next].yb);
      ++next;
    }
    if (y >= firstEnd) {
      active.erase(std::remove_if(active.begin(), active.end(), [y](const TEdge* e) { return e->yb <= y; }),
                   active.end());
      firstEnd = std::numeric_limits<i64>::max();
      for (const TEdge* e : active) firstEnd = std::min(firstEnd, e->yb);
    }
    if (active.empty()) {
      if (next >= edges.size()) break;
      y = std::max(box.T, edges[next].ya);
      continue;
    }
    if (active.size() == 2) {
      // The common case (any convex shape): one span between the two crossings in either fill
      // mode (the winding number between them is never 0), on every row until an edge ends or
      // the next one starts. The two edges are stepped as local copies.
      i64 stop = std::min(firstEnd, box.B);
      if (next < edges.size()) stop = std::min(stop, std::max(edges[next].ya, box.T));
      TEdge a = *active[0], b = *active[1];
      for (; y < stop; ++y) {
        i64 x0 = a.X(), x1 = b.X();
        if (x1 < x0) std::swap(x0, x1);
        x0 = std::max(x0, box.L);
        x1 = std::min(x1, box.R);
        if (x0 < x1) emit(y, x0, x1);
        a.Step();
        b.Step();
      }
      *active[0] = a;
      *active[1] = b;
      continue;
    }
    cross.clear();
    for (TEdge* e : active) cross.emplace_back(e->X(), e->dir);
    std::sort(cross.begin(), cross.end());
    if (mode == WINDING) {
      int wind = 0;
      for (std::size_t i = 0; i + 1 < cross.size(); ++i) {
        wind += cross[i].second;
        if (wind != 0) {
          const i64 x0 = std::max(cross[i].first, box.L), x1 = std::min(cross[i + 1].first, box.R);
          if (x0 < x1) emit(y, x0, x1);
        }
      }
    } else {
      for (std::size_t i = 0; i + 1 < cross.size(); i += 2) {
        const i64 x0 = std::max(cross[i].first, box.L), x1 = std::min(cross[i + 1].first, box.R);
        if (x0 < x1) emit(y, x0, x1);
      }
    }
    for (TEdge* e : active) e->Step();
    ++y;
  }
}

}  // namespace

void ScanPolygon(std::span<const TPoint64> pts, TFillMode mode, const TBox& box, const TSpanSink& emit) {
  ScanPolygonTo(pts, mode, box, emit);
}

void ScanPolygon(std::span<const TPoint64> pts, TFillMode mode, TSurface& s, const TInk& ink) {
  ScanPolygon(pts, mode, s, ink, s.Box().T, s.Box().B);
}

void ScanPolygon(std::span<const TPoint64> pts, TFillMode mode, TSurface& s, const TInk& ink, i64 top, i64 bottom) {
  TBox rows = s.Box();
  rows.T = std::max(rows.T, top);
  rows.B = std::min(rows.B, bottom);
  if (rows.T >= rows.B) return;
  ScanPolygonTo(pts, mode, rows, [&](i64 y, i64 x0, i64 x1) { s.Span(y, x0, x1, ink); });
}

}  // namespace varnel::raster
