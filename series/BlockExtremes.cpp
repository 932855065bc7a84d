// TBlockExtremes and FiniteExtremes: a run's extremes from the summaries of its whole blocks and
// the values of its two ends.
#include "series/BlockExtremes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace varnel {

bool FiniteExtremes(const double* v, std::size_t n, double& lo, double& hi) {
  double mn = v[0], mx = v[0], bad = 0;
  std::size_t k = 0;
#if defined(__SSE2__)
  // Minimum and maximum pass over a NaN (they give their second operand); x - x is 0 for a
  // finite x and NaN for the others, so the running sum shows any.
  __m128d mn2 = _mm_set1_pd(v[0]), mx2 = mn2, bad2 = _mm_setzero_pd();
  __m128d mn3 = mn2, mx3 = mn2, bad3 = bad2;
  for (; k + 4 <= n; k += 4) {
    const __m128d a = _mm_loadu_pd(v + k), b = _mm_loadu_pd(v + k + 2);
    mn2 = _mm_min_pd(a, mn2);
    mx2 = _mm_max_pd(a, mx2);
    bad2 = _mm_add_pd(bad2, _mm_sub_pd(a, a));
    mn3 = _mm_min_pd(b, mn3);
    mx3 = _mm_max_pd(b, mx3);
    bad3 = _mm_add_pd(bad3, _mm_sub_pd(b, b));
  }
  double m[2], x[2], d[2];
  _mm_storeu_pd(m, _mm_min_pd(mn2, mn3));
  _mm_storeu_pd(x, _mm_max_pd(mx2, mx3));
  _mm_storeu_pd(d, _mm_add_pd(bad2, bad3));
  mn = std::min(m[0], m[1]);
  mx = std::max(x[0], x[1]);
  bad = d[0] + d[1];
#endif
  for (; k < n; ++k) {
    const double x1 = v[k];
    mn = x1 < mn ? x1 : mn;
    mx = x1 > mx ? x1 : mx;
    bad += x1 - x1;
  }
  lo = mn;
  hi = mx;
  return bad == 0;
}

std::ptrdiff_t LastDifferent(const double* v, std::ptrdiff_t first, std::ptrdiff_t from, double value) {
  std::ptrdiff_t k = from;
#if defined(__SSE2__)
  const __m128d w = _mm_set1_pd(value);
  const auto equal = [&](std::ptrdiff_t at) { return _mm_cmpeq_pd(_mm_loadu_pd(v + at), w); };
  while (k - 7 >= first) {
    const __m128d all = _mm_and_pd(_mm_and_pd(equal(k - 1), equal(k - 3)), _mm_and_pd(equal(k - 5), equal(k - 7)));
    if (_mm_movemask_pd(all) != 3) break;
    k -= 8;
  }
#endif
  while (k >= first && v[k] == value) --k;
  return k;
}

TBlockExtremes::TBlock TBlockExtremes::Summary(const double* v, std::size_t n) {
  TBlock b{};
  if (!FiniteExtremes(v, n, b.Lo, b.Hi)) b.Lo = std::numeric_limits<double>::quiet_NaN();
  return b;
}

void TBlockExtremes::Reset() {
  FBlocks.clear();
  FDrop = 0;
  FCount = 0;
  FActive = false;
}

void TBlockExtremes::Build(const double* v, std::size_t n) {
  Reset();
  for (std::size_t i = 0; i < n; i += kBlock) FBlocks.push_back(Summary(v + i, std::min(kBlock, n - i)));
  FCount = n;
  FActive = true;
}

void TBlockExtremes::Appended(const double* v, std::size_t n) {
  if (!FActive) return;
  FCount = n;
  const double x = v[n - 1];
  if ((FDrop + n - 1) % kBlock == 0) {
    FBlocks.push_back(Summary(&x, 1));
    return;
  }
  TBlock& b = FBlocks[FBlocks.size() - 1];
  if (!std::isfinite(x))
    b.Lo = std::numeric_limits<double>::quiet_NaN();
  else if (!std::isnan(b.Lo))
    b.Lo = std::min(b.Lo, x), b.Hi = std::max(b.Hi, x);
}

void TBlockExtremes::DroppedFront() {
  if (!FActive) return;
  if (--FCount == 0) {
    Reset();
    FActive = true;
    return;
  }
  // The first block keeps counting the values it lost until it goes as a whole.
  if (++FDrop == kBlock) {
    FBlocks.erase(0);
    FDrop = 0;
  }
}

void TBlockExtremes::DroppedBack(const double* v, std::size_t n) {
  if (!FActive) return;
  FCount = n;
  if (n == 0) {
    Reset();
    FActive = true;
    return;
  }
  const std::size_t end = FDrop + n;  // past the last value, counted from the first block's start
  const std::size_t blocks = (end + kBlock - 1) / kBlock;
  while (FBlocks.size() > blocks) FBlocks.erase(FBlocks.size() - 1);
  Changed(v, n, n - 1);
}

void TBlockExtremes::Changed(const double* v, std::size_t n, std::size_t i) {
  if (!FActive) return;
  const std::size_t k = (FDrop + i) / kBlock;
  const std::size_t from = k == 0 ? 0 : k * kBlock - FDrop;
  const std::size_t to = std::min(n, (k + 1) * kBlock - FDrop);
  FBlocks[k] = Summary(v + from, to - from);
}

bool TBlockExtremes::Extremes(const double* v, std::size_t first, std::size_t last, double& lo, double& hi) const {
  // The whole blocks inside the run: fb .. eb - 1. The first block is never one while it has
  // lost values (its start then lies before value 0).
  const std::size_t fb = (first + FDrop + kBlock - 1) / kBlock, eb = (last + FDrop + 1) / kBlock;
  if (!FActive || fb >= eb) return FiniteExtremes(v + first, last - first + 1, lo, hi);
  double mn = FBlocks[fb].Lo, mx = FBlocks[fb].Hi;
  bool bad = false;
  for (std::size_t k = fb; k < eb; ++k) {
    const TBlock& b = FBlocks[k];
    bad |= std::isnan(b.Lo);
    mn = b.Lo < mn ? b.Lo : mn;
    mx = b.Hi > mx ? b.Hi : mx;
  }
  if (bad) return false;
  double a, z;
  const std::size_t headEnd = fb * kBlock - FDrop, tailStart = eb * kBlock - FDrop;
  if (first < headEnd) {
    if (!FiniteExtremes(v + first, headEnd - first, a, z)) return false;
    mn = std::min(mn, a), mx = std::max(mx, z);
  }
  if (tailStart <= last) {
    if (!FiniteExtremes(v + tailStart, last - tailStart + 1, a, z)) return false;
    mn = std::min(mn, a), mx = std::max(mx, z);
  }
  lo = mn;
  hi = mx;
  return true;
}

std::ptrdiff_t TBlockExtremes::LastDifferent(const double* v, std::size_t first, std::size_t from, double value) const {
  auto k = static_cast<std::ptrdiff_t>(from);
  const auto lowest = static_cast<std::ptrdiff_t>(first);
  if (FActive) {
    // Down to the end of a block value by value, then a block at a time while every value of
    // the block equals `value` (a first block that lost values to the front summarises more
    // than it holds, which cannot make it look equal when it is not).
    const auto drop = static_cast<std::ptrdiff_t>(FDrop), block = static_cast<std::ptrdiff_t>(kBlock);
    const std::ptrdiff_t blockEnd = k - (k + drop + 1) % block;  // the last value of a block, at or before k
    const std::ptrdiff_t headEnd = std::max(blockEnd + 1, lowest);
    const std::ptrdiff_t head = varnel::LastDifferent(v, headEnd, k, value);
    if (head >= headEnd) return head;
    for (k = headEnd - 1; k - block + 1 >= lowest; k -= block) {
      const TBlock& b = FBlocks[static_cast<std::size_t>((k + drop) / block)];
      if (!(b.Lo == value && b.Hi == value)) break;
    }
  }
  return varnel::LastDifferent(v, lowest, k, value);
}

}  // namespace varnel
