// Lines: the cosmetic one-pixel line with its dash styles (clipped analytically, keeping the
// pixels and the pattern phase of the unclipped line) and wide strokes with round ends and
// joins built as a region.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/canvas/Raster.h"

namespace varnel::raster {

namespace {

// The dash patterns over one 24-pixel period, 1 = pen, 0 = gap.
const std::uint8_t* DashPattern(TPenStyle style) {
  static std::uint8_t table[4][24];
  static const bool built = [] {
    const int runs[4][6] = {{18, 6, 0, 0, 0, 0}, {3, 3, 0, 0, 0, 0}, {9, 6, 3, 6, 0, 0}, {9, 3, 3, 3, 3, 3}};
    for (int s = 0; s < 4; ++s) {
      int pos = 0;
      while (pos < 24) {
        for (int r = 0; r < 6 && runs[s][r] > 0 && pos < 24; ++r)
          for (int k = 0; k < runs[s][r] && pos < 24; ++k) table[s][pos++] = (r % 2 == 0) ? 1 : 0;
      }
    }
    return true;
  }();
  (void)built;
  switch (style) {
    case psDash: return table[0];
    case psDot: return table[1];
    case psDashDot: return table[2];
    case psDashDotDot: return table[3];
    default: return nullptr;
  }
}

// The n pixels of a steep segment from p (majStep apart down the column, a sideways minStep
// after each run) for a pen that only stores. The walk steps sideways after k = v / twoA + 1
// pixels, v its error counted the same way whichever side it steps to; each later run is
// Q + 1 or Q + 2 long, Q and the carry following from twoM - twoA = Q twoA + R, so only the
// first run takes a division. A run of up to 8 pixels is eight stores with no branch, those past
// its end storing its first pixel again.
void StoreRuns(std::uint32_t* p, std::ptrdiff_t majStep, std::ptrdiff_t minStep, i64 n, i64 v, i64 twoA, i64 twoM,
               std::uint32_t flip) {
  i64 k = v / twoA + 1, r = v % twoA;
  const i64 q = (twoM - twoA) / twoA, rest = (twoM - twoA) % twoA;
  for (;;) {
    const i64 len = std::min(k, n);
    if (len <= 8) {
      // The offset is masked by arithmetic (all ones while j < len), which the compiler keeps
      // free of branches.
      for (i64 j = 0; j < 8; ++j) p[(j * majStep) & ((j - len) >> 63)] = flip;
    } else {
      for (i64 j = 0; j < len; ++j) p[j * majStep] = flip;
    }
    n -= len;
    if (n == 0) return;
    p += len * majStep + minStep;
    r += rest;
    const bool carry = r >= twoA;
    r -= carry ? twoA : 0;
    k = q + 1 + carry;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Cosmetic lines

TCosmeticPen::TCosmeticPen(TSurface& s, TPenStyle style, TRop on, TRop gap, bool opaque)
    : FS(s), FPattern(DashPattern(style)), FOn(on), FGap(gap), FOpaque(opaque) {}

void TCosmeticPen::Path(std::span<const TPoint64> pts, bool closed) {
  for (std::size_t i = 0; i + 1 < pts.size(); ++i) Segment(pts[i], pts[i + 1]);
  if (closed && pts.size() >= 2) Segment(pts.back(), pts.front());
}

// The segment a -> b with both ends inside a plain clip, for a solid pen that only stores: the
// pixels Segment paints, p pointing at a's pixel and rows stride words apart. False, painting
// nothing, for a segment too long for the quick division (more than 2^14 pixels).
//
// Pixel i lies i steps along the longer side and floor((2 i A + c) / 2M) steps along the
// other, A the shorter extent and c = M - 1 (M where the shorter side goes back): the same
// rounding as the walk's error, ties to the smaller coordinate. The division is a multiply by
// a reciprocal rounded up and a shift, exact for numerators below 2^31, so that each pixel is
// found on its own: no chain of dependent steps from pixel to pixel, and no branch that depends
// on the segment's shape (a chart's segments go every way, which the processor cannot guess).
bool TCosmeticPen::Inside(std::uint32_t* p, std::ptrdiff_t stride, TPoint64 a, TPoint64 b, std::uint32_t flip) {
  const i64 dx = b.x - a.x, dy = b.y - a.y;
  const i64 adx = std::llabs(dx), ady = std::llabs(dy);
  const bool xMajor = adx > ady;
  const i64 m = xMajor ? adx : ady, shorter = xMajor ? ady : adx, d = xMajor ? dy : dx;
  if (m == 0 || m > (i64{1} << 14)) return false;  // 2 M A + M < 2^31 for A <= M <= 2^14
  const std::ptrdiff_t majStep = xMajor ? (dx > 0 ? 1 : -1) : (dy > 0 ? stride : -stride);
  const std::ptrdiff_t minStep = xMajor ? (dy >= 0 ? stride : -stride) : (dx >= 0 ? 1 : -1);
  // floor(n / D) = (n R) >> shift for n < 2^31, R = ceil(2^shift / D), shift = 31 + ceil(log2 D).
  const auto D = static_cast<std::uint64_t>(2 * m);
  const unsigned shift = 31 + static_cast<unsigned>(std::bit_width(D - 1));
  const std::uint64_t R = ((std::uint64_t{1} << shift) + D - 1) / D;
  // n R for n = c, c + 2A, c + 4A, ... (below 2^63); the loop ends on b's row or column, inside
  // the picture. Unrolled by two it ran some 7 % faster on a chart's lines.
  std::uint64_t nR = static_cast<std::uint64_t>(d < 0 ? m : m - 1) * R;
  const std::uint64_t stepR = static_cast<std::uint64_t>(2 * shorter) * R;
#pragma GCC unroll 2
  for (std::uint32_t* const end = p + m * majStep; p != end; p += majStep) {
    p[static_cast<std::ptrdiff_t>(nR >> shift) * minStep] = flip;
    nR += stepR;
  }
  return true;
}

void TCosmeticPen::Chain(TPoint64 cur, std::span<const TPoint> pts) {
  // The pending run: rows [lo, hi] of column runX. Each vertical segment adds the rows from its
  // start up to (not including) its end; as it starts where the last one ended, next to or
  // inside the run, the run stays one interval.
  // The runs are painted together at the end, a row at a time (TColumnCover).
  TColumnCover cover(FS, FOn);
  bool open = false;
  i64 runX = 0, lo = 0, hi = -1;
  // A solid pen that only stores, in a plain clip, paints a segment with both ends inside the
  // box (nearly every one of a chart's line) without Segment's clipping.
  const bool quick = !FPattern && FOn.A == 0 && !FS.Region().Complex;
  const TBox& box = FS.Box();
  std::uint32_t* const origin = FS.Row(0);
  const std::ptrdiff_t stride = FS.Row(1) - origin;
  for (const TPoint& q : pts) {
    const TPoint64 next{q.x, q.y};
    if (next == cur) continue;
    if (next.x == cur.x) {
      if (!open) {
        open = true;
        runX = cur.x;
        lo = cur.y;
        hi = cur.y - 1;
      }
      // Down: rows cur .. next-1; up: rows next+1 .. cur (without branches: the direction is
      // as good as random on a noisy line).
      lo = std::min(lo, std::min(cur.y, next.y + 1));
      hi = std::max(hi, std::max(cur.y, next.y - 1));
    } else {
      if (open) cover.Add(runX, lo, hi + 1);
      open = false;
      if (!(quick && std::min(cur.x, next.x) >= box.L && std::max(cur.x, next.x) < box.R &&
            std::min(cur.y, next.y) >= box.T && std::max(cur.y, next.y) < box.B &&
            Inside(origin + cur.y * stride + cur.x, stride, cur, next, FOn.X)))
        Segment(cur, next);
    }
    cur = next;
  }
  if (open) cover.Add(runX, lo, hi + 1);
  cover.Paint();
}

// Pixel i (0 <= i < M) of a segment lies at major = maj0 + smaj * i and
// minor = min0 + ceil((2 i d - M) / 2M): the nearest pixel to the exact line, ties to the
// smaller coordinate, whatever the direction.
void TCosmeticPen::Segment(TPoint64 a, TPoint64 b) {
  const i64 dx = b.x - a.x, dy = b.y - a.y;
  if (dx == 0 && dy == 0) return;
  const i64 adx = std::llabs(dx), ady = std::llabs(dy);
  const bool xMajor = adx > ady;
  const i64 m = xMajor ? adx : ady;
  const i64 maj0 = xMajor ? a.x : a.y, min0 = xMajor ? a.y : a.x;
  const int smaj = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const i64 d = xMajor ? dy : dx;
  const TBox& box = FS.Box();
  const i64 majLo = xMajor ? box.L : box.T, majHi = (xMajor ? box.R : box.B) - 1;
  const i64 minLo = xMajor ? box.T : box.L, minHi = (xMajor ? box.B : box.R) - 1;
  i64 i0 = smaj > 0 ? majLo - maj0 : maj0 - majHi;
  i64 i1 = smaj > 0 ? majHi - maj0 : maj0 - majLo;
  i0 = std::max<i64>(i0, 0);
  i1 = std::min<i64>(i1, m - 1);
  // A segment whose two ends lie inside the box lies inside it whole: no narrowing (the common
  // case of a chart's polyline, where the search below would cost more than the pixels).
  const bool inside = std::min(a.x, b.x) >= box.L && std::max(a.x, b.x) < box.R && std::min(a.y, b.y) >= box.T &&
                      std::max(a.y, b.y) < box.B;
  if (inside) {
    i0 = 0;
    i1 = m - 1;
  } else if (i0 <= i1 && !box.Empty()) {
    const auto minorAt = [&](i64 i) { return min0 + CeilDiv(static_cast<i128>(2) * i * d - m, 2 * m); };
    // The minor coordinate is monotonic in i: narrow [i0, i1] to where it is inside.
    const auto first = [&](i64 lo, i64 hi, auto pred) {  // first i in [lo, hi] with pred, hi + 1 if none
      ++hi;
      while (lo < hi) {
        const i64 mid = lo + (hi - lo) / 2;
        if (pred(mid))
          hi = mid;
        else
          lo = mid + 1;
      }
      return lo;
    };
    if (d >= 0) {
      i0 = first(i0, i1, [&](i64 i) { return minorAt(i) >= minLo; });
      i1 = first(i0, i1, [&](i64 i) { return minorAt(i) > minHi; }) - 1;
    } else {
      i0 = first(i0, i1, [&](i64 i) { return minorAt(i) <= minHi; });
      i1 = first(i0, i1, [&](i64 i) { return minorAt(i) < minLo; }) - 1;
    }
  }
  if (i0 <= i1 && !box.Empty()) {
    if (d == 0 && xMajor && !FPattern) {  // a solid horizontal run: one span
      const i64 xa = maj0 + smaj * i0, xb = maj0 + smaj * i1;
      FS.Span(min0, std::min(xa, xb), std::max(xa, xb) + 1, SolidInk(FOn));
    } else {
      if (FPattern)
        Walk<true>(xMajor, maj0, smaj, min0, d, m, i0, i1);
      else
        Walk<false>(xMajor, maj0, smaj, min0, d, m, i0, i1);
    }
  }
  FPhase = (FPhase + m) % 24;
}

template <bool Styled>
void TCosmeticPen::Walk(bool xMajor, i64 maj0, int smaj, i64 min0, i64 d, i64 m, i64 i0, i64 i1) {
  const i128 n0 = static_cast<i128>(2) * i0 * d - m;
  const i64 twoM = 2 * m, twoD = 2 * d;
  // From the segment's first pixel (the common case) the quotient is 0 and needs no division.
  const i64 q = i0 == 0 ? 0 : CeilDiv(n0, twoM);
  i64 e = static_cast<i64>(n0 - static_cast<i128>(q) * twoM);
  i64 maj = maj0 + smaj * i0, mn = min0 + q;
  int idx = static_cast<int>((FPhase + i0 % 24) % 24);
  const bool complex = FS.Region().Complex;
  // Pointer steps along the major and minor axes (rows are FS.Row(1) - FS.Row(0) apart).
  const std::ptrdiff_t stride = FS.Row(1) - FS.Row(0);
  const std::ptrdiff_t majStep = xMajor ? smaj : smaj * stride;
  const std::ptrdiff_t minStep = (d >= 0 ? 1 : -1) * (xMajor ? stride : 1);
  std::uint32_t* p = complex ? nullptr : FS.Row(xMajor ? mn : maj) + (xMajor ? maj : mn);
  if constexpr (!Styled) {
    if (!complex) {
      // The same steps for a solid pen in a plain clip: the operation held in locals, the last
      // pixel painted after the loop so that no pointer is formed past it. The compiler makes
      // the sideways step a branch, which a steep line's long runs keep well predicted; a step
      // made by arithmetic instead put five cycles of dependent work on every pixel and was
      // slower on the chart's lines.
      const std::uint32_t keep = FOn.A, flip = FOn.X;
      const std::ptrdiff_t plain = majStep, diagonal = majStep + minStep;
      const auto walk = [&](auto paint) {
        if (d >= 0) {
          for (i64 n = i1 - i0; n > 0; --n) {
            paint(*p);
            e += twoD;
            const bool step = e > 0;
            e -= step ? twoM : 0;
            p += step ? diagonal : plain;
          }
        } else {
          for (i64 n = i1 - i0; n > 0; --n) {
            paint(*p);
            e += twoD;
            const bool step = e <= -twoM;
            e += step ? twoM : 0;
            p += step ? diagonal : plain;
          }
        }
        if (i0 <= i1) paint(*p);
      };
      // A pen that sets its pixels whatever was there (a chart's lines) only stores, a steep
      // segment a run down each column at a time.
      if (keep == 0 && !xMajor && d != 0 && 2 * std::llabs(d) <= m) {
        StoreRuns(p, majStep, minStep, i1 - i0 + 1, d > 0 ? -e : twoM + e - 1, 2 * std::llabs(d), twoM, flip);
        return;
      }
      if (keep == 0)
        walk([flip](std::uint32_t& px) { px = flip; });
      else
        walk([keep, flip](std::uint32_t& px) { px = (px & keep) ^ flip; });
      return;
    }
  }
  for (i64 i = i0; i <= i1; ++i) {
    TRop r = FOn;
    bool paint = true;
    if constexpr (Styled) {
      if (!FPattern[idx]) {
        paint = FOpaque;
        r = FGap;
      }
      if (++idx == 24) idx = 0;
    }
    bool minorStep;
    e += twoD;
    if (d >= 0) {
      minorStep = e > 0;
      if (minorStep) e -= twoM;
    } else {
      minorStep = e <= -twoM;
      if (minorStep) e += twoM;
    }
    if (complex) {
      if (paint) FS.Pixel(xMajor ? maj : mn, xMajor ? mn : maj, r);
      maj += smaj;
      if (minorStep) mn += d >= 0 ? 1 : -1;
    } else {
      if (paint) *p = r.Apply(*p);
      if (i < i1) p += majStep + (minorStep ? minStep : 0);  // never formed past the last pixel
    }
  }
}

template void TCosmeticPen::Walk<true>(bool, i64, int, i64, i64, i64, i64, i64);
template void TCosmeticPen::Walk<false>(bool, i64, int, i64, i64, i64, i64, i64);

// ---------------------------------------------------------------------------------------------
// Wide strokes

TDisc::TDisc(i64 w) : FW(w) {
  if (w > kExactEllipse) return;
  FRows = EllipseFillRows(w, w);
  // Rows shrink (or stay) outwards from the point's own row, w / 2, in both directions.
  const auto within = [&](std::size_t outer, std::size_t inner) {
    const auto o = FRows[outer], i = FRows[inner];
    return o.first > o.second || (i.first <= o.first && o.second <= i.second);
  };
  const std::size_t mid = static_cast<std::size_t>(w / 2);
  FNested = true;
  for (std::size_t r = 0; r < FRows.size(); ++r) {
    if (r < mid && !within(r, r + 1)) FNested = false;
    if (r > mid && !within(r, r - 1)) FNested = false;
  }
}

std::pair<i64, i64> TDisc::Row(i64 r) const {
  if (r < 0 || r >= FW) return {1, 0};
  if (!FRows.empty()) return FRows[static_cast<std::size_t>(r)];
  // A large disc: the circle through the box's edge pixels.
  const double c = (static_cast<double>(FW) - 1) / 2, rad = static_cast<double>(FW) / 2;
  const double dy = static_cast<double>(r) - c;
  const double h2 = rad * rad - dy * dy;
  if (h2 < 0) return {1, 0};
  const double hw = std::sqrt(h2);
  const i64 l = static_cast<i64>(std::ceil(c - hw)), rr = static_cast<i64>(std::floor(c + hw));
  return {std::max<i64>(l, 0), std::min<i64>(rr, FW - 1)};
}

namespace {

TBodyOffsets ComputeBodyOffsets(i64 dx, i64 dy, i64 w) {
  const double x = static_cast<double>(dx), y = static_cast<double>(dy);
  const double len = std::sqrt(x * x + y * y);
  const double wx = static_cast<double>(w) * std::fabs(y) / len, wy = static_cast<double>(w) * std::fabs(x) / len;
  return {{std::llround(wx / 2), std::llround(wy / 2)}, {std::llround((wx + 1) / 2), std::llround((wy + 1) / 2)}};
}

}  // namespace

TBodyOffsets BodyOffsets(i64 dx, i64 dy, i64 w) {
  // A line's segments repeat a few directions (a line of a point or a few a pixel column mostly
  // steps one column), so the offsets of recent ones are kept: a square root, two divisions
  // and four roundings saved on most segments.
  constexpr i64 kLimit = i64{1} << 24;
  if (w <= 0 || w >= (i64{1} << 16) || dx <= -kLimit || dx >= kLimit || dy <= -kLimit || dy >= kLimit)
    return ComputeBodyOffsets(dx, dy, w);
  const auto adx = static_cast<std::uint64_t>(dx < 0 ? -dx : dx), ady = static_cast<std::uint64_t>(dy < 0 ? -dy : dy);
  const std::uint64_t key = static_cast<std::uint64_t>(w) | adx << 16 | ady << 40;  // never 0: w > 0
  constexpr std::size_t kSlots = 1024;
  struct TMemo {
    std::uint64_t Key[kSlots];
    TBodyOffsets Value[kSlots];
  };
  thread_local TMemo memo{};
  const std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 54);
  if (memo.Key[slot] != key) {
    memo.Value[slot] = ComputeBodyOffsets(dx, dy, w);
    memo.Key[slot] = key;
  }
  return memo.Value[slot];
}

namespace {

// The spans of the disc of width w at v inside the box: out(y, x0, x1).
template <class Out>
void DiscSpans(const TDisc& disc, i64 w, TPoint64 v, const TBox& box, Out&& out) {
  const i64 lo = -(w / 2);
  const i64 top = v.y + lo;
  if (!box.Intersects(v.x + lo, top, v.x + lo + w, top + w)) return;
  const i64 r0 = std::max<i64>(0, box.T - top), r1 = std::min<i64>(w, box.B - top);
  for (i64 r = r0; r < r1; ++r) {
    const auto ext = disc.Row(r);
    if (ext.first <= ext.second) out(top + r, v.x + lo + ext.first, v.x + lo + ext.second + 1);
  }
}

// The body of the segment a -> b (a != b) of a stroke w wide: a horizontal or vertical one as
// the block rect(y0, y1, x0, x1) it covers, any other as the quadrilateral quad(corners) filled
// by the lattice rule. Bodies that cannot reach the box are left out.
template <class Rect, class Quad>
void SegmentBody(TPoint64 a, TPoint64 b, i64 w, const TBox& box, Rect&& rect, Quad&& quad) {
  const i64 half = w / 2;
  if (a.y == b.y) {
    const i64 y0 = a.y - half;
    if (box.Intersects(std::min(a.x, b.x), y0, std::max(a.x, b.x), y0 + w))
      rect(y0, y0 + w, std::min(a.x, b.x), std::max(a.x, b.x));
    return;
  }
  if (a.x == b.x) {
    const i64 x0 = a.x - half;
    if (box.Intersects(x0, std::min(a.y, b.y), x0 + w, std::max(a.y, b.y)))
      rect(std::min(a.y, b.y), std::max(a.y, b.y), x0, x0 + w);
    return;
  }
  const i64 dx = b.x - a.x, dy = b.y - a.y;
  const TBodyOffsets offsets = BodyOffsets(dx, dy, w);
  TPoint64 nv = offsets.N, vv = offsets.V;
  if (dx < 0) {
    nv.y = -nv.y;
    vv.y = -vv.y;
  }
  if (dy < 0) {
    std::swap(nv, vv);
    nv.x = -nv.x;
    vv.x = -vv.x;
  }
  const TPoint64 corners[4] = {{a.x - nv.x, a.y + nv.y}, {a.x + vv.x, a.y - vv.y}, {b.x + vv.x, b.y - vv.y}, {b.x - nv.x, b.y + nv.y}};
  i64 l = corners[0].x, t = corners[0].y, r = l, bt = t;
  for (const TPoint64& q : corners) {
    l = std::min(l, q.x), r = std::max(r, q.x), t = std::min(t, q.y), bt = std::max(bt, q.y);
  }
  if (box.Intersects(l, t, r + 1, bt + 1)) quad(std::span<const TPoint64>(corners));
}

}  // namespace

void WideStroke(const TSpanSink& out, const TBox& box, std::span<const TPoint64> pts, bool closed, i64 w,
                const TDisc& disc) {
  std::vector<TPoint64> p;
  p.reserve(pts.size());
  for (const TPoint64& q : pts)
    if (p.empty() || !(p.back() == q)) p.push_back(q);
  while (closed && p.size() > 1 && p.back() == p.front()) p.pop_back();
  if (p.empty()) return;
  if (box.Empty()) return;
  const i64 lo = -(w / 2);
  // Whether the disc at v holds pixel (x, y).
  const auto inDisc = [&](const TPoint64& v, i64 x, i64 y) {
    const auto ext = disc.Row(y - (v.y + lo));
    return ext.first <= ext.second && x >= v.x + lo + ext.first && x <= v.x + lo + ext.second;
  };
  for (const TPoint64& v : p) {
    // A disc (convex) holding the box's four corners covers all of it: the stroke is the box.
    if (inDisc(v, box.L, box.T) && inDisc(v, box.R - 1, box.T) && inDisc(v, box.L, box.B - 1) &&
        inDisc(v, box.R - 1, box.B - 1)) {
      for (i64 y = box.T; y < box.B; ++y) out(y, box.L, box.R);
      return;
    }
    DiscSpans(disc, w, v, box, out);
  }
  const std::size_t n = p.size();
  if (n < 2) return;
  const std::size_t segs = closed && n > 2 ? n : n - 1;
  for (std::size_t i = 0; i < segs; ++i) {
    SegmentBody(
        p[i], p[(i + 1) % n], w, box,
        [&](i64 y0, i64 y1, i64 x0, i64 x1) {
          for (i64 y = std::max(y0, box.T); y < std::min(y1, box.B); ++y) out(y, x0, x1);
        },
        [&](std::span<const TPoint64> quad) { ScanPolygon(quad, ALTERNATE, box, out); });
  }
}

void WideChain(TSurface& s, TRop rop, TPoint64 start, std::span<const TPoint> pts, i64 w, const TDisc& disc) {
  const TBox& box = s.Box();
  if (box.Empty()) return;
  const TInk ink = SolidInk(rop);
  // Whatever runs down the picture (the blocks of column runs, steep segment bodies, the discs)
  // is gathered column by column and painted a row at a time at the end; flat bodies are
  // painted at once, along their rows. The operation gives the same however often a pixel is
  // painted, so the order does not matter.
  TColumnCover cover(s, rop);
  // The disc column by column: rows discTop[j] .. discBottom[j] - 1 of column j (a nested
  // disc is convex: one run a column).
  i64 discTop[kChainWidth], discBottom[kChainWidth];
  for (i64 j = 0; j < w; ++j) discTop[j] = w, discBottom[j] = 0;
  for (i64 r = 0; r < w; ++r) {
    const auto ext = disc.Row(r);
    for (i64 j = std::max<i64>(ext.first, 0); j <= std::min(ext.second, w - 1); ++j) {
      discTop[j] = std::min(discTop[j], r);
      discBottom[j] = std::max(discBottom[j], r + 1);
    }
  }
  const i64 lo = -(w / 2);
  const auto discAt = [&](TPoint64 v) {
    if (!box.Intersects(v.x + lo, v.y + lo, v.x + lo + w, v.y + lo + w)) return;
    for (i64 j = 0; j < w; ++j) cover.Add(v.x + lo + j, v.y + lo + discTop[j], v.y + lo + discBottom[j]);
  };
  // The block of a column run: rows [Top, Bottom) of the w columns from X + lo.
  struct TBlock {
    i64 X, Top, Bottom;
    bool Valid;
  };
  // Whether the pixels of a body with corners in [xmin, xmax] x [ymin, ymax] (the lattice rule
  // fills columns xmin .. xmax - 1 and rows ymin .. ymax - 1 of it at most) all lie in blocks
  // that hold all those rows.
  const auto insideBlocks = [&](i64 xmin, i64 xmax, i64 ymin, i64 ymax, TBlock p, TBlock q) {
    if (q.Valid && (!p.Valid || q.X < p.X)) std::swap(p, q);
    i64 from = xmin;  // the first column not known to be covered
    for (const TBlock& k : {p, q})
      if (k.Valid && k.Top <= ymin && ymax <= k.Bottom && k.X + lo <= from) from = std::max(from, k.X + lo + w);
    return from >= xmax;
  };
  const auto body = [&](TPoint64 a, TPoint64 b, TBlock before, TBlock after) {
    SegmentBody(
        a, b, w, box,
        [&](i64 y0, i64 y1, i64 x0, i64 x1) {
          if (x1 - x0 > y1 - y0) {
            s.Settle(y0, y1);
            s.Narrow(y0, y1, x0, x1, rop);
            return;
          }
          for (i64 x = std::max(x0, box.L); x < std::min(x1, box.R); ++x) cover.Add(x, y0, y1);
        },
        [&](std::span<const TPoint64> quad) {
          // A body between two column runs of a dense line mostly lies inside their blocks.
          if (before.Valid || after.Valid) {
            i64 xmin = quad[0].x, xmax = xmin, ymin = quad[0].y, ymax = ymin;
            for (const TPoint64& q : quad)
              xmin = std::min(xmin, q.x), xmax = std::max(xmax, q.x), ymin = std::min(ymin, q.y), ymax = std::max(ymax, q.y);
            if (insideBlocks(xmin, xmax, ymin, ymax, before, after)) return;
          }
          // Steep bodies a column at a time (a few columns, each a run of many rows).
          if (std::llabs(b.y - a.y) >= std::llabs(b.x - a.x) && QuadColumns(quad, cover)) return;
          if (s.Late()) {
            i64 top = quad[0].y, bottom = top;
            for (const TPoint64& q : quad) top = std::min(top, q.y), bottom = std::max(bottom, q.y);
            s.Settle(top, bottom + 1);
          }
          ScanPolygon(quad, ALTERNATE, s, ink);
        });
  };
  // The open run of vertical segments: column runX, rows runLo .. runHi between its highest
  // and lowest point. Its segments' bodies together are that block; the discs of its points
  // lie inside the block but for the rows beyond its ends, where (the disc being nested) the
  // discs at the highest and the lowest point hold those of the others.
  bool open = false;
  i64 runX = 0, runLo = 0, runHi = 0;
  const auto close = [&] {
    for (i64 x = std::max(runX + lo, box.L); x < std::min(runX + lo + w, box.R); ++x) cover.Add(x, runLo, runHi);
    discAt({runX, runLo});
    discAt({runX, runHi});
    open = false;
  };
  TPoint64 cur = start;
  const std::size_t count = pts.size();
  for (std::size_t i = 0; i < count; ++i) {
    const TPoint64 next{pts[i].x, pts[i].y};
    if (next == cur) continue;
    if (next.x == cur.x) {
      if (!open) {
        open = true;
        runX = cur.x;
        runLo = runHi = cur.y;
      }
      runLo = std::min(runLo, next.y);
      runHi = std::max(runHi, next.y);
    } else {
      // The blocks of the runs the body joins: the one that ends at cur, and the one that starts
      // at next (the points after it in its column, as far as this batch shows them).
      // Only blocks that hold the rows of both ends are of use.
      const i64 ylo = std::min(cur.y, next.y), yhi = std::max(cur.y, next.y);
      const TBlock before{runX, runLo, runHi, open && runLo <= ylo && yhi <= runHi};
      i64 top = next.y, bottom = next.y;
      if (before.Valid)
        for (std::size_t j = i + 1; j < count && pts[j].x == next.x; ++j)
          top = std::min<i64>(top, pts[j].y), bottom = std::max<i64>(bottom, pts[j].y);
      // cur's disc: part of the run it ends, or its own.
      if (open)
        close();
      else
        discAt(cur);
      body(cur, next, before, TBlock{next.x, top, bottom, top < bottom && top <= ylo && yhi <= bottom});
    }
    cur = next;
  }
  if (open)
    close();
  else
    discAt(cur);
  cover.Paint();
}

}  // namespace varnel::raster
