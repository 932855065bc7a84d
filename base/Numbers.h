// The rounding helpers every drawing rule names: Round (halves to even), Trunc, Frac and
// MulDiv (halves away from zero, -1 for a zero divisor or an overflow).
#pragma once
#include <cstdint>

namespace varnel {

// Nearest integer, halves to the even neighbour; NaN gives 0 and values beyond the 64-bit
// range saturate, so no caller meets undefined behaviour.
std::int64_t Round(double x);
// Toward zero, saturating like Round.
std::int64_t Trunc(double x);
// x - Trunc(x), computed in floating point.
double Frac(double x);
// a * b / c with a 64-bit product, rounded to nearest with halves away from zero; a zero
// divisor or a result outside +-2147483647 gives -1.
int MulDiv(int a, int b, int c);

// Round and Trunc to a 32-bit int, saturating at the int range.
int RoundInt(double x);
int TruncInt(double x);

// A length in pixels as the chart engine and the gauge keep it: within +-2^20, a million
// pixels beyond any picture, so that the sums of lengths and coordinates that lay out a picture
// never leave the int range. Lengths within it are kept as they are.
inline constexpr int kMaxPixelLength = 1 << 20;
constexpr int ClampPixels(int v) { return v < -kMaxPixelLength ? -kMaxPixelLength : v > kMaxPixelLength ? kMaxPixelLength : v; }

}  // namespace varnel
