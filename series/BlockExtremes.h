// TBlockExtremes: the least and the greatest value of each block of 32 consecutive values of a
// list that grows at its end and shrinks at its front (a series' history), so that the extremes
// of a long stretch cost a look at its blocks and at the values of its two ends rather than at
// every value. FiniteExtremes and LastDifferent: the extremes of a run of values, and its last
// value that differs from a given one, looked at one by one.
//
//   TBlockExtremes b;  b.Build(v, n);  ...  b.Appended(v, n);  b.DroppedFront();
//   double lo, hi;  if (b.Extremes(v, first, last, lo, hi)) ...
#pragma once
#include <cstddef>

#include "series/ShiftVector.h"

namespace varnel {

// The least and the greatest of v[0 .. n - 1] (n > 0); false where one of them is not a finite
// number (lo and hi are then of no use).
bool FiniteExtremes(const double* v, std::size_t n, double& lo, double& hi);
// The greatest k in [first, from] with v[k] != value, first - 1 if there is none (looked at
// eight values a step while they all equal it).
std::ptrdiff_t LastDifferent(const double* v, std::ptrdiff_t first, std::ptrdiff_t from, double value);

class TBlockExtremes {
 public:
  static constexpr std::size_t kBlock = 32;

  // Whether the summary stands for the list's values (the owner keeps it so, or resets it).
  bool Active() const { return FActive; }
  // No summary (the next user builds one).
  void Reset();
  // The summary of v[0 .. n - 1].
  void Build(const double* v, std::size_t n);
  // v[n - 1] was appended (the list now holds n values).
  void Appended(const double* v, std::size_t n);
  // The first value was removed.
  void DroppedFront();
  // The last value was removed; the list now holds v[0 .. n - 1].
  void DroppedBack(const double* v, std::size_t n);
  // Value i of the list's n values changed.
  void Changed(const double* v, std::size_t n, std::size_t i);
  // FiniteExtremes of v[first .. last] (first <= last < the list's length).
  bool Extremes(const double* v, std::size_t first, std::size_t last, double& lo, double& hi) const;
  // The greatest k in [first, from] with v[k] != value (from < the list's length), first - 1 if
  // there is none: a block whose least and greatest value both equal `value` is passed over whole.
  std::ptrdiff_t LastDifferent(const double* v, std::size_t first, std::size_t from, double value) const;

 private:
  // A block's extremes; Lo is not a number where one of its values is not a finite number.
  struct TBlock {
    double Lo, Hi;
  };
  static TBlock Summary(const double* v, std::size_t n);
  // Block k holds the values from k * kBlock - FDrop on: the first block has lost FDrop values
  // to the front (its summary may still count them, so it is never taken whole while FDrop > 0).
  TShiftVector<TBlock> FBlocks;
  std::size_t FDrop = 0;
  std::size_t FCount = 0;  // values summarised
  bool FActive = false;
};

}  // namespace varnel
