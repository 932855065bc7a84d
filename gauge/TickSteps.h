// The scale arithmetic of the needle gauge: the choice of a round label step (1, 2 or 5 times a
// power of ten) with its first labelled value and short-tick subdivisions, and the text of a
// label value.
//
//   TTickSteps s = CalcTickSteps(6, 100.0, 0.0);   // s.First 0, s.Step 10, s.NSub 5
//   FormatTickLabel(0.2, 1) == "0.2"
#pragma once
#include <cstdint>
#include <string>

namespace varnel {

struct TTickSteps {
  double First = 0.0;      // the first labelled value
  double Step = 0.0;       // the distance between labels (negative for a falling range)
  std::uint16_t NSub = 1;  // short-tick intervals per label interval
};

// The largest step of the form 1, 2 or 5 times a power of ten not above |max - min| / n, so that
// the range gets at least n label intervals, and the first multiple of it that is not below
// minValue by more than a thousandth of a step. Equal ends give Step 0 and First = minValue.
// A range that is not finite, and n below 1, are handled safely (Step 0, n taken as 1).
TTickSteps CalcTickSteps(int n, double maxValue, double minValue);

// v in fixed-point notation with exactly `decimals` digits after the point (none and no point
// for 0), rounded to that many digits, with a minus sign only for values that stay negative.
std::string FormatTickLabel(double v, int decimals);

}  // namespace varnel
