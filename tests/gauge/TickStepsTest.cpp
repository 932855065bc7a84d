// The gauge's label step choice and label text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gauge/TickSteps.h"

namespace varnel {
namespace {

struct StepCase {
  int n;
  double max, min;
  double first, step;
  int nsub;
};

TEST(TickSteps, RoundStepsForTypicalScales) {
  const StepCase cases[] = {
      {6, 100, 0, 0, 10, 5},       // this program's gauge
      {3, 100, 0, 0, 20, 4},
      {3, 1, 0, 0, 0.2, 4},        // the default gauge
      {2, 100, 0, 0, 50, 5},       // mantissa 5
      {21, 100, 0, 0, 2, 4},
      {4, 17, 3, 4, 2, 4},         // first multiple of the step at or above the minimum
      {5, 0, -50, -50, 10, 5},     // negative minimum
      {4, -3, -17, -16, 2, 4},
      {3, 0.003, 0.001, 0.001, 0.0005, 5},
      {3, 0, 100, 100, -20, 4},    // falling range: negative step
  };
  for (const StepCase& c : cases) {
    const TTickSteps s = CalcTickSteps(c.n, c.max, c.min);
    SCOPED_TRACE(testing::Message() << c.n << " " << c.min << ".." << c.max);
    EXPECT_NEAR(s.Step, c.step, 1e-9 * std::fabs(c.step));
    EXPECT_NEAR(s.First, c.first, 1e-9 * std::fabs(c.step));
    EXPECT_EQ(s.NSub, c.nsub);
  }
}

TEST(TickSteps, FirstLabelToleratesAThousandthOfAStep) {
  // A minimum 0.00005 above a multiple of 0.1 starts the labels there; 0.0002 above does not.
  EXPECT_NEAR(CalcTickSteps(5, 1.0, 0.20005).First, 0.2, 1e-12);
  EXPECT_NEAR(CalcTickSteps(5, 1.0, 0.2002).First, 0.3, 1e-12);
}

TEST(TickSteps, DegenerateInputIsSafe) {
  TTickSteps s = CalcTickSteps(3, 5, 5);
  EXPECT_EQ(s.Step, 0);
  EXPECT_EQ(s.First, 5);
  EXPECT_EQ(s.NSub, 1);
  s = CalcTickSteps(3, std::numeric_limits<double>::infinity(), 0);
  EXPECT_EQ(s.Step, 0);
  s = CalcTickSteps(0, 10, 0);  // n below 1 taken as 1
  EXPECT_NEAR(s.Step, 10, 1e-9);
  // A step below the resolution of the ends (adding it to 1e20 changes nothing) still returns.
  s = CalcTickSteps(21, std::nextafter(1e20, 2e20), 1e20);
  EXPECT_GT(s.Step, 0);
  EXPECT_LT(s.Step, 16384);
}

TEST(TickSteps, LabelText) {
  EXPECT_EQ(FormatTickLabel(0, 0), "0");
  EXPECT_EQ(FormatTickLabel(100, 0), "100");
  EXPECT_EQ(FormatTickLabel(0.6000000000000001, 1), "0.6");
  EXPECT_EQ(FormatTickLabel(0, 1), "0.0");
  EXPECT_EQ(FormatTickLabel(-2.5, 2), "-2.50");
  EXPECT_EQ(FormatTickLabel(1234567, 0), "1234567");  // no thousands separators
  EXPECT_EQ(FormatTickLabel(-1e-17, 1), "0.0");       // a rounding residue is not negative
  EXPECT_EQ(FormatTickLabel(0.12345, 4), "0.1235");
  EXPECT_EQ(FormatTickLabel(-40, 0), "-40");
}

}  // namespace
}  // namespace varnel
