// The column cover: runs of rows gathered per pixel column and painted a row at a time, and the
// column-by-column form of a convex segment body that feeds it.
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>


#include "platform/canvas/Raster.h"

namespace varnel::raster {

namespace {

// Storage of the cover, kept between strokes (a stroke of a chart line is painted in many
// batches).
struct TCoverStore {
  std::vector<std::int32_t> Top, Bottom;
  std::vector<std::array<std::int32_t, 3>> Apart;
  std::vector<std::int32_t> Count;
  std::vector<std::uint32_t> RowStart;
  std::vector<std::int32_t> Events;
  std::vector<std::uint64_t> Bits;
};
TCoverStore& Store() {
  thread_local TCoverStore store;
  return store;
}

}  // namespace

TColumnCover::TColumnCover(TSurface& s, TRop rop)
    : FS(s), FRop(rop), FTop(Store().Top), FBottom(Store().Bottom), FApart(Store().Apart) {
  FApart.clear();
  const std::size_t width = static_cast<std::size_t>(std::max<i64>(0, s.Box().R - s.Box().L));
  if (FTop.size() < width) {
    FTop.resize(width);
    FBottom.resize(width);
  }
}

void TColumnCover::Extend(i64 x) {
  // The new columns start empty; only the columns in use are ever read.
  const i64 lo = FMinX > FMaxX ? x : std::min(x, FMinX), hi = FMinX > FMaxX ? x : std::max(x, FMaxX);
  const auto clear = [&](i64 a, i64 b) {  // columns [a, b]
    for (i64 c = a; c <= b; ++c) {
      FTop[static_cast<std::size_t>(c - FS.Box().L)] = 0;
      FBottom[static_cast<std::size_t>(c - FS.Box().L)] = 0;
    }
  };
  if (FMinX > FMaxX) {
    clear(x, x);
    FRowsT = FS.Box().B;
    FRowsB = FS.Box().T;
  } else if (x < FMinX) {
    clear(x, FMinX - 1);
  } else {
    clear(FMaxX + 1, x);
  }
  FMinX = lo;
  FMaxX = hi;
}

void TColumnCover::AddApart(i64 x, i64 t, i64 b) {
  FApart.push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(t), static_cast<std::int32_t>(b)});
  FRowsT = std::min(FRowsT, t);
  FRowsB = std::max(FRowsB, b);
  // Bounded storage: a stroke that keeps coming back to the same columns is painted in parts.
  if (FApart.size() > 4 * static_cast<std::size_t>(FMaxX - FMinX + 1) + 64) Paint();
}

void TColumnCover::Paint() {
  // The rows the columns' own intervals span (taken here rather than at each Add).
  for (i64 x = FMinX; x <= FMaxX; ++x) {
    const std::size_t k = static_cast<std::size_t>(x - FS.Box().L);
    if (FTop[k] < FBottom[k]) FRowsT = std::min<i64>(FRowsT, FTop[k]), FRowsB = std::max<i64>(FRowsB, FBottom[k]);
  }
  if (FMinX > FMaxX || FRowsT >= FRowsB) {
    FMinX = 1, FMaxX = 0;
    FApart.clear();
    return;
  }
  TCoverStore& st = Store();
  const i64 L = FS.Box().L;
  // Bit k of the row's mask is column base + k: set while the column has an interval on the
  // row. Each interval counts its column in at its top row and out at its bottom row: the
  // events (bit * 2, plus one for an end) sorted by row with a counting sort.
  const i64 base = FMinX;
  const std::size_t columns = static_cast<std::size_t>(FMaxX - FMinX + 1);
  const std::size_t words = (columns + 63) / 64;
  const std::size_t rows = static_cast<std::size_t>(FRowsB - FRowsT);
  st.RowStart.assign(rows + 2, 0);
  const auto each = [&](auto&& f) {
    for (i64 x = FMinX; x <= FMaxX; ++x) {
      const std::size_t k = static_cast<std::size_t>(x - L);
      if (FTop[k] < FBottom[k]) f(x, FTop[k], FBottom[k]);
    }
    for (const auto& a : FApart) f(a[0], a[1], a[2]);
  };
  each([&](i64, i64 t, i64 b) {
    ++st.RowStart[static_cast<std::size_t>(t - FRowsT) + 1];
    if (b < FRowsB) ++st.RowStart[static_cast<std::size_t>(b - FRowsT) + 1];
  });
  for (std::size_t r = 1; r < st.RowStart.size(); ++r) st.RowStart[r] += st.RowStart[r - 1];
  st.Events.resize(st.RowStart[rows]);
  each([&](i64 x, i64 t, i64 b) {
    const auto bit = static_cast<std::int32_t>(x - base);
    st.Events[st.RowStart[static_cast<std::size_t>(t - FRowsT)]++] = 2 * bit;
    if (b < FRowsB) st.Events[st.RowStart[static_cast<std::size_t>(b - FRowsT)]++] = 2 * bit + 1;
  });
  // The cursors now stand at the next row's start: row r's events end at RowStart[r].
  st.Bits.assign(words, 0);
  const bool counted = !FApart.empty();  // without further intervals a column is in or out
  if (counted) st.Count.assign(columns, 0);
  std::uint32_t e = 0;
  // Rows a late fill has not written get the fill and the stroke in one pass.
  TLateFill* late = FS.Region().Complex ? nullptr : FS.Late();
  if (FS.Region().Complex) FS.Settle(FRowsT, FRowsB);
  for (std::size_t r = 0; r < rows; ++r) {
    for (; e < st.RowStart[r]; ++e) {
      const auto ev = static_cast<std::uint32_t>(st.Events[e]);
      const std::uint32_t bit = ev >> 1;
      const std::uint64_t mask = std::uint64_t{1} << (bit & 63);
      if (!counted) {
        st.Bits[bit >> 6] ^= mask;
        continue;
      }
      std::int32_t& n = st.Count[bit];
      n += (ev & 1) ? -1 : 1;
      st.Bits[bit >> 6] = n > 0 ? st.Bits[bit >> 6] | mask : st.Bits[bit >> 6] & ~mask;
    }
    const i64 y = FRowsT + static_cast<i64>(r);
    if (late && late->RowDue(y)) {
      PaintLateRow(y, st.Bits.data(), words, base, *late);
      PaintRow(y, st.Bits.data(), words, base, FMinX, late->Box.L);  // the columns beside the fill
      PaintRow(y, st.Bits.data(), words, base, late->Box.R, FMaxX + 1);
      late->SetWritten(y);
    } else {
      PaintRow(y, st.Bits.data(), words, base, FMinX, FMaxX + 1);
    }
  }
  FMinX = 1, FMaxX = 0;
  FApart.clear();
}

void TColumnCover::PaintRow(i64 y, const std::uint64_t* bits, std::size_t words, i64 base, i64 from, i64 to) {
  // The runs of the row's mask: a bit that differs from the one before it starts a run (set)
  // or ends one (clear). A run is painted as a plain fill where the operation sets pixels
  // outright: stores only, without reading a picture that is seldom in the cache.
  from = std::max(from, base);
  to = std::min(to, base + static_cast<i64>(words) * 64);
  if (from >= to) return;
  const bool complex = FS.Region().Complex;
  const TRop rop = FRop;
  const TInk ink = SolidInk(rop);
  std::uint32_t* row = FS.Row(y);
  const auto run = [&](i64 a, i64 b) {
    a = std::max(a, from);
    b = std::min(b, to);
    if (a >= b) return;
    if (complex) {
      FS.Span(y, a, b, ink);
    } else if (rop.A == 0) {
      std::fill(row + a, row + b, rop.X);
    } else {
      for (std::uint32_t* p = row + a; p != row + b; ++p) *p = rop.Apply(*p);
    }
  };
  // Only the words that hold columns of [from, to); a run already open at the first of them
  // starts (clipped) at from.
  const std::size_t w0 = static_cast<std::size_t>(from - base) / 64, w1 = static_cast<std::size_t>(to - base + 63) / 64;
  i64 runStart = from;
  std::uint64_t carry = w0 > 0 ? bits[w0 - 1] >> 63 : 0;
  for (std::size_t w = w0; w < w1; ++w) {
    const std::uint64_t m = bits[w];
    std::uint64_t changes = m ^ ((m << 1) | carry);
    carry = m >> 63;
    const i64 x0 = base + static_cast<i64>(w) * 64;
    while (changes) {
      const int k = std::countr_zero(changes);
      changes &= changes - 1;
      if ((m >> k) & 1)
        runStart = x0 + k;
      else
        run(runStart, x0 + k);
    }
  }
  if (carry) run(runStart, base + static_cast<i64>(w1) * 64);
}

namespace {

// For each byte of a row's mask, eight pixel words: all ones where the bit is set.
struct TByteMasks {
  alignas(32) std::uint32_t M[256][8];
  constexpr TByteMasks() : M{} {
    for (int b = 0; b < 256; ++b)
      for (int k = 0; k < 8; ++k) M[b][k] = ((b >> k) & 1) ? ~0u : 0u;
  }
};
constexpr TByteMasks kByteMasks;

// Four pixel words at a time (the compiler's generic vectors: SSE2 and the like).
using TQuad = std::uint32_t __attribute__((vector_size(16)));

}  // namespace

void TColumnCover::PaintLateRow(i64 y, const std::uint64_t* bits, std::size_t words, i64 base, TLateFill& late) {
  // Each pixel of the fill's columns is the fill, or the operation applied to the fill where
  // the mask is set: the row is written once, left to right, without reading it.
  std::uint32_t* row = FS.Row(y);
  const i64 L = late.Box.L, R = late.Box.R, end = base + static_cast<i64>(words) * 64;
  const std::uint32_t bg = late.Pixel, diff = bg ^ FRop.Apply(bg);
  const TQuad qbg = {bg, bg, bg, bg}, qdiff = {diff, diff, diff, diff};
  const auto background = [&](i64 a, i64 b) {  // columns [a, b) of the fill (Filled is as wide)
    if (a < b) std::memcpy(row + a, late.Filled.data(), static_cast<std::size_t>(b - a) * sizeof(std::uint32_t));
  };
  const auto single = [&](i64 x) {
    const std::uint64_t bit = (bits[(x - base) >> 6] >> ((x - base) & 63)) & 1;
    row[x] = bg ^ (diff & (0u - static_cast<std::uint32_t>(bit)));
  };
  // Eight pixels at column x from a byte of the mask.
  const auto byte = [&](i64 at, std::uint64_t b) {
    const std::uint32_t* mask = kByteMasks.M[b & 0xFF];
    TQuad lo, hi;
    std::memcpy(&lo, mask, sizeof lo);
    std::memcpy(&hi, mask + 4, sizeof hi);
    lo = qbg ^ (qdiff & lo);
    hi = qbg ^ (qdiff & hi);
    std::memcpy(row + at, &lo, sizeof lo);
    std::memcpy(row + at + 4, &hi, sizeof hi);
  };
  i64 x = std::min(R, std::max(L, base));
  background(L, x);
  const i64 stop = std::min(R, end);
  for (; x < stop && ((x - base) & 7) != 0; ++x) single(x);
  // The same at column at (at - base a multiple of 8) from the mask's byte there.
  const auto eight = [&](i64 at) { byte(at, bits[(at - base) >> 6] >> ((at - base) & 63)); };
  for (; x + 8 <= stop && ((x - base) & 63) != 0; x += 8) eight(x);
  for (; x + 64 <= stop; x += 64) {
    // A whole word without a pixel of the stroke is the fill alone.
    const std::uint64_t m = bits[(x - base) >> 6];
    if (m == 0) {
      background(x, x + 64);
      continue;
    }
    for (int k = 0; k < 8; ++k) byte(x + 8 * k, m >> (8 * k));
  }
  for (; x + 8 <= stop; x += 8) eight(x);
  for (; x < stop; ++x) single(x);
  background(std::max(x, L), R);
}

void TLateFill::Begin(const TBox& box, std::uint32_t pixel) {
  Box = box;
  Pixel = pixel;
  Active = !box.Empty();
  if (!Active) return;
  Due.assign(static_cast<std::size_t>(box.B - box.T), 1);
  DueRows = box.B - box.T;
  Filled.assign(static_cast<std::size_t>(box.R - box.L), pixel);
}

void TLateFill::Write(std::uint32_t* data, int width, i64 y0, i64 y1) {
  if (!Active) return;
  // The box only ever narrows: Filled holds at least its width.
  const std::size_t bytes = static_cast<std::size_t>(Box.R - Box.L) * sizeof(std::uint32_t);
  for (i64 y = std::max(y0, Box.T); y < std::min(y1, Box.B); ++y) {
    if (!Due[static_cast<std::size_t>(y - Box.T)]) continue;
    std::memcpy(data + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(Box.L),
                Filled.data(), bytes);
    SetWritten(y);
    if (!Active) return;
  }
}

void TLateFill::Write(std::uint32_t* data, int width, const TBox& q) {
  if (!Active) return;
  const i64 t = std::max(q.T, Box.T), b = std::min(q.B, Box.B), l = std::max(q.L, Box.L), r = std::min(q.R, Box.R);
  if (t >= b || l >= r) return;
  const bool left = l == Box.L, right = r == Box.R;
  if (left != right && r - l < b - t) {
    for (i64 y = Box.T; y < Box.B; ++y) {
      if (!Due[static_cast<std::size_t>(y - Box.T)]) continue;
      std::uint32_t* row = data + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
      std::fill(row + l, row + r, Pixel);
    }
    if (left)
      Box.L = r;
    else
      Box.R = l;
    return;
  }
  Write(data, width, t, b);
}

// ---------------------------------------------------------------------------------------------
// A convex body column by column

bool QuadColumns(std::span<const TPoint64> quad, TColumnCover& cover) {
  constexpr i64 kLimit = i64{1} << 24;
  i64 xmin = quad[0].x, xmax = xmin, ymin = quad[0].y, ymax = ymin;
  i64 area2 = 0;
  const std::size_t n = quad.size();
  for (std::size_t i = 0; i < n; ++i) {
    const TPoint64 a = quad[i], b = quad[i + 1 == n ? 0 : i + 1];
    if (a.x < -kLimit || a.x > kLimit || a.y < -kLimit || a.y > kLimit) return false;
    xmin = std::min(xmin, a.x), xmax = std::max(xmax, a.x), ymin = std::min(ymin, a.y), ymax = std::max(ymax, a.y);
    area2 += a.x * b.y - b.x * a.y;
  }
  if (area2 == 0) return false;
  // The lattice rule fills, on rows ymin .. ymax - 1, the columns x with XL(y) <= x < XR(y),
  // where XL and XR are the crossings of the left and right edges. For a convex shape XL is the
  // greatest of the left edges' lines and XR the least of the right edges' lines, so in column
  // x each edge bounds the rows from one side: with the edge from (xa, ya) down to (xb, yb)
  // and f = floor((x - xa) * (yb - ya) / |xb - xa|), a left edge needs y <= ya + f when it runs
  // right and y >= ya - f when it runs left, a right edge y >= ya + f + 1 and y <= ya - f - 1;
  // a vertical edge bounds the columns instead (x >= xa on the left, x < xa on the right).
  // Edges running down in the order of the corners are on the right when the corners turn
  // clockwise on the screen (positive area). From column to column f grows by the whole
  // quotient of (yb - ya) / |xb - xa| and, as its remainder adds up, by one more: each bound is
  // stepped, not divided, a column.
  const TBox& box = cover.Box();
  i64 c0 = std::max(xmin, box.L), c1 = std::min(xmax, box.R - 1);
  struct TEdge {
    i64 xa, dy, adx, base, sign;  // the bound is base + sign * f
    bool lower;                   // y >= bound (else y <= bound)
  };
  TEdge edges[4];
  int count = 0;
  for (std::size_t i = 0; i < n; ++i) {
    TPoint64 a = quad[i], b = quad[i + 1 == n ? 0 : i + 1];
    if (a.y == b.y) continue;
    const bool down = a.y < b.y;
    if (!down) std::swap(a, b);
    const bool right = down == (area2 > 0);
    const i64 dx = b.x - a.x;
    if (dx == 0) {
      if (right)
        c1 = std::min(c1, a.x - 1);
      else
        c0 = std::max(c0, a.x);
      continue;
    }
    // Left running right: y <= ya + f; left running left: y >= ya - f; right running right:
    // y >= ya + f + 1; right running left: y <= ya - f - 1.
    const bool lower = right == (dx > 0);
    const i64 sign = dx > 0 ? 1 : -1;
    edges[count++] = TEdge{a.x, b.y - a.y, dx * sign, a.y + (right ? sign : 0), sign, lower};
  }
  if (c0 > c1) return true;
  struct TStep {
    i64 bound, rem, adx, r, step, sign;
    // On to the next column: the whole step, and one more where the remainder carries.
    void Advance() {
      rem += r;
      const bool carry = rem >= adx;
      rem -= carry ? adx : 0;
      bound += step + (carry ? sign : 0);
    }
  };
  TStep lows[4], highs[4];
  int nl = 0, nh = 0;
  for (int k = 0; k < count; ++k) {
    const TEdge& e = edges[k];
    // dy = q * adx + r; both below 2^26, so the rounded quotient cut to a whole number is q.
    // A body's caps are flat (q = 0) and its sides of a segment one column wide steep (adx = 1).
    i64 q = 0, r = e.dy;
    if (e.adx == 1) {
      q = e.dy, r = 0;
    } else if (e.dy >= e.adx) {
      q = static_cast<i64>(static_cast<double>(e.dy) / static_cast<double>(e.adx));
      r = e.dy - q * e.adx;
    }
    // f and its remainder at column c0: j q + floor(j r / adx) for j = c0 - xa (|j r| < |j| adx:
    // a few steps for a body that starts a few columns from the edge).
    const i64 j = c0 - e.xa;
    i64 t = j * r, f = j * q;
    if (j >= -8 && j <= 8) {
      for (; t < 0; t += e.adx) --f;
      for (; t >= e.adx; t -= e.adx) ++f;
    } else if (t >= e.adx || t < 0) {
      // |t| < 2^51: the rounded quotient cut to a whole number is the floor, or one above it
      // (a quotient that is not whole, or rounded up to one that is).
      i64 g = static_cast<i64>(static_cast<double>(t) / static_cast<double>(e.adx));
      if (g * e.adx > t) --g;
      f += g;
      t -= g * e.adx;
    }
    const TStep st{e.base + e.sign * f, t, e.adx, r, e.sign * q, e.sign};
    if (e.lower)
      lows[nl++] = st;
    else
      highs[nh++] = st;
  }
  for (i64 x = c0; x <= c1; ++x) {
    i64 lo = ymin, hi = ymax - 1;
    for (int k = 0; k < nl; ++k) {
      lo = std::max(lo, lows[k].bound);
      lows[k].Advance();
    }
    for (int k = 0; k < nh; ++k) {
      hi = std::min(hi, highs[k].bound);
      highs[k].Advance();
    }
    if (lo <= hi) cover.Add(x, lo, hi + 1);
  }
  return true;
}

}  // namespace varnel::raster
