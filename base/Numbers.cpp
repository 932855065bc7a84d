// Rounding helpers shared by every layer.
#include "base/Numbers.h"

#include <cmath>
#include <limits>

namespace varnel {
namespace {

std::int64_t Saturate64(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 9.2233720368547758e18) return std::numeric_limits<std::int64_t>::max();
  if (x <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(x);
}

int Clamp32(std::int64_t v) {
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

}  // namespace

std::int64_t Round(double x) { return Saturate64(std::nearbyint(x)); }  // default mode: to even

std::int64_t Trunc(double x) { return Saturate64(std::trunc(x)); }

double Frac(double x) { return x - std::trunc(x); }

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t aa = a, cc = c;
  if (cc < 0) {
    aa = -aa;
    cc = -cc;
  }
  const std::int64_t p = aa * static_cast<std::int64_t>(b);
  const std::int64_t r = ((aa >= 0) == (b >= 0)) ? (p + cc / 2) / cc : (p - cc / 2) / cc;
  if (r > 2147483647 || r < -2147483647) return -1;
  return static_cast<int>(r);
}

int RoundInt(double x) { return Clamp32(Round(x)); }
int TruncInt(double x) { return Clamp32(Trunc(x)); }

}  // namespace varnel
