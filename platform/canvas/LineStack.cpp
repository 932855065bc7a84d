// The line stack: one-pixel lines gathered as rows per pixel column and painted together, each
// pixel once, the last line added on top.
#include <cstdint>
#include <cstdlib>

#include "platform/canvas/Raster.h"

namespace varnel::raster {

bool TLineStack::Add(TPoint64 cur, std::span<const TPoint> pts, const TBox& box, std::uint32_t value) {
  const std::size_t mark = FEntries.size();
  FLineFirst = mark;
  for (const TPoint& q : pts) {
    const TPoint64 next{q.x, q.y};
    if (next.x < cur.x) {
      FEntries.resize(mark);
      return false;
    }
    Segment(cur, next, box);
    cur = next;
  }
  if (FEntries.size() > mark) FLines.push_back({static_cast<std::uint32_t>(mark), value});
  return true;
}

// The segment a -> b without b (b.x >= a.x): pixel i (0 <= i < M, M the longer side) lies at
// major = start + i along the longer side and minor = start + ceil((2 i d - M) / 2M) along the
// other, d the signed extent along it, as the cosmetic line walks it.
void TLineStack::Segment(TPoint64 a, TPoint64 b, const TBox& box) {
  const i64 dx = b.x - a.x, dy = b.y - a.y;
  if ((dx == 0 && dy == 0) || box.Empty()) return;
  const i64 ady = std::llabs(dy);
  if (dx > ady) {
    // Across: one pixel a column; only the columns inside the box are walked.
    const i64 m = dx;
    const i64 i0 = std::max<i64>(0, box.L - a.x), i1 = std::min<i64>(m - 1, box.R - 1 - a.x);
    if (i0 > i1) return;
    const i128 n0 = static_cast<i128>(2) * i0 * dy - m;
    const i64 twoM = 2 * m, twoD = 2 * dy;
    // From the first pixel (a segment that starts inside the box) the quotient is 0.
    const i64 q = i0 == 0 ? 0 : CeilDiv(n0, twoM);
    i64 e = static_cast<i64>(n0 - static_cast<i128>(q) * twoM);
    i64 y = a.y + q;
    for (i64 i = i0; i <= i1; ++i) {
      if (y >= box.T && y < box.B) Rows(a.x + i, y, y + 1);
      e += twoD;
      if (dy >= 0) {
        if (e > 0) e -= twoM, ++y;
      } else if (e <= -twoM) {
        e += twoM, --y;
      }
    }
    return;
  }
  // Down (or up): the pixels of column a.x + k are those with f(k - 1) < i <= f(k), where
  // f(k) = floor((2k + 1) M / 2 dx) is the last i whose minor offset is at most k.
  const i64 m = ady;
  const i64 s = dy > 0 ? 1 : -1;
  // The i whose rows lie inside the box.
  i64 iLo = s > 0 ? box.T - a.y : a.y - (box.B - 1);
  i64 iHi = s > 0 ? box.B - 1 - a.y : a.y - box.T;
  iLo = std::max<i64>(iLo, 0);
  iHi = std::min<i64>(iHi, m - 1);
  if (iLo > iHi) return;
  const auto rows = [&](i64 x, i64 first, i64 last) {
    const i64 y0 = a.y + s * first, y1 = a.y + s * last;
    Rows(x, std::min(y0, y1), std::max(y0, y1) + 1);
  };
  if (dx == 0) {
    if (a.x >= box.L && a.x < box.R) rows(a.x, iLo, iHi);
    return;
  }
  const i64 twoM = 2 * m, twoDx = 2 * dx;
  // The column of pixel i; that of the first is 0, and that of the last dx, or dx - 1 where
  // 2 dx >= M. A segment whose ends lie inside the box (a dense chart line's, nearly all of
  // them one column wide) takes no division for these.
  const auto columnOf = [&](i64 i) {
    if (i == 0) return i64{0};
    if (i == m - 1) return dx - (2 * dx >= m ? 1 : 0);
    return CeilDiv(static_cast<i128>(2) * i * dx - m, twoM);
  };
  const i64 kLo = std::max({box.L - a.x, columnOf(iLo), i64{0}});
  const i64 kHi = std::min({box.R - 1 - a.x, columnOf(iHi), dx});
  if (kLo > kHi) return;
  // f(kLo - 1) with its remainder, then stepped a column at a time: (2k + 1) M grows by 2M.
  const i64 qStep = m / dx, rStep = 2 * (m % dx);
  i64 f, r;
  if (kLo == 0) {
    // f(0) = floor(M / 2dx) = qStep / 2 (rounded down) with remainder (qStep odd ? dx : 0) +
    // M mod dx, and f(-1) one step before it.
    const i64 f0 = qStep >> 1, r0 = (qStep & 1) * dx + rStep / 2;
    const bool carry = r0 < rStep;
    f = f0 - qStep - (carry ? 1 : 0);
    r = r0 - rStep + (carry ? twoDx : 0);
  } else {
    const i128 num = static_cast<i128>(2 * kLo - 1) * m;
    f = FloorDiv(num, twoDx);
    r = static_cast<i64>(num - static_cast<i128>(f) * twoDx);
  }
  for (i64 k = kLo; k <= kHi; ++k) {
    const i64 first = std::max(f + 1, iLo);
    f += qStep;
    r += rStep;
    if (r >= twoDx) r -= twoDx, ++f;
    const i64 last = std::min(f, iHi);
    if (first <= last) rows(a.x + k, first, last);
  }
}

void TLineStack::Paint(std::uint32_t* data, int width, int height) {
  std::int32_t minX = INT32_MAX, maxX = INT32_MIN;
  for (const TEntry& e : FEntries) minX = std::min(minX, e.X), maxX = std::max(maxX, e.X);
  minX = std::max(minX, 0);
  maxX = std::min(maxX, width - 1);
  if (FEntries.empty() || minX > maxX || height <= 0) {
    Clear();
    return;
  }
  // The entries sorted by column, the last line first in each (a counting sort).
  const std::size_t cols = static_cast<std::size_t>(maxX - minX) + 1;
  FStart.assign(cols + 1, 0);
  for (const TEntry& e : FEntries)
    if (e.X >= minX && e.X <= maxX) ++FStart[static_cast<std::size_t>(e.X - minX) + 1];
  for (std::size_t c = 1; c <= cols; ++c) FStart[c] += FStart[c - 1];
  FPieces.resize(FStart[cols]);
  for (std::size_t l = FLines.size(); l-- > 0;) {
    const std::size_t end = l + 1 < FLines.size() ? FLines[l + 1].First : FEntries.size();
    for (std::size_t i = FLines[l].First; i < end; ++i) {
      const TEntry& e = FEntries[i];
      if (e.X >= minX && e.X <= maxX) FPieces[FStart[static_cast<std::size_t>(e.X - minX)]++] = {e.T, e.B, FLines[l].Value};
    }
  }
  // Each column from the top line down: a line paints only the rows no line above it covers.
  const std::ptrdiff_t stride = width;
  std::size_t begin = 0;
  for (std::size_t c = 0; c < cols; ++c) {
    const std::size_t end = FStart[c];
    const i64 x = minX + static_cast<i64>(c);
    FCovered.clear();
    const auto paint = [&](std::int32_t t, std::int32_t b, std::uint32_t v) {
      std::uint32_t* p = data + static_cast<std::ptrdiff_t>(t) * stride + x;
      for (std::int32_t y = t; y < b; ++y, p += stride) *p = v;
    };
    for (std::size_t i = begin; i < end; ++i) {
      const std::int32_t t = std::max(FPieces[i].T, 0), b = std::min(FPieces[i].B, height);
      if (t >= b) continue;
      // The covered intervals are sorted and apart; paint the gaps of [t, b) between them and
      // merge [t, b) with those it meets or touches.
      auto& cv = FCovered;
      std::size_t j = 0;
      while (j < cv.size() && cv[j].second < t) ++j;
      const std::size_t from = j;
      std::int32_t y = t, lo = t, hi = b;
      for (; j < cv.size() && cv[j].first <= b; ++j) {
        if (cv[j].first > y) paint(y, std::min(cv[j].first, b), FPieces[i].Value);
        y = std::max(y, cv[j].second);
        lo = std::min(lo, cv[j].first);
        hi = std::max(hi, cv[j].second);
      }
      if (y < b) paint(y, b, FPieces[i].Value);
      if (from == j) {
        cv.insert(cv.begin() + static_cast<std::ptrdiff_t>(from), {t, b});
      } else {
        cv[from] = {lo, hi};
        cv.erase(cv.begin() + static_cast<std::ptrdiff_t>(from) + 1, cv.begin() + static_cast<std::ptrdiff_t>(j));
      }
    }
    begin = end;
  }
  Clear();
}

void TLineStack::Clear() {
  FEntries.clear();
  FLines.clear();
  FLineFirst = 0;
}

}  // namespace varnel::raster
