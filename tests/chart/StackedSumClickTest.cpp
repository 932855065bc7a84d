// A series' stacked sum over the chart's series (related classes, active, long enough, positive
// values, up to the series itself) and its click hooks (click, double click).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/Chart.h"
#include "series/FastLineSeries.h"

namespace varnel {
namespace {

// A series class unrelated to the fast line: neither derives from the other.
class TOtherSeries : public TChartSeries {
 public:
  bool IsKindOfThis(const TChartSeries& other) const override {
    return dynamic_cast<const TOtherSeries*>(&other) != nullptr;
  }
};

TEST(StackedSum, SumsThePositiveValuesOfRelatedActiveSeriesUpToThisOne) {
  TChart chart;
  TFastLineSeries a, b, inactive, shortOne, d;
  TOtherSeries other;
  TChartSeries base;  // the base class: related to every series class
  const std::vector<std::pair<TChartSeries*, std::vector<double>>> data = {
      {&a, {5, -2, 7}},   {&other, {100, 100, 100}}, {&b, {3, 4, 0.5}}, {&inactive, {10, 10, 10}},
      {&shortOne, {9}},   {&base, {2, 2, 2}},        {&d, {1, 1, 1}},
  };
  for (const auto& [s, values] : data) {
    chart.AddSeries(s);
    for (double v : values) s->AppendY(v);
  }
  inactive.SetActive(false);
  struct Case {
    const TChartSeries* Series;
    int Index;
    bool IncludeSelf;
    double Want;
  } cases[] = {
      {&a, 0, false, 0},                 // nothing before the first series
      {&a, 0, true, 5},
      {&b, 0, false, 5},                 // the unrelated series in between does not count
      {&b, 1, true, 4},                  // a's -2 is not positive
      {&d, 0, false, 5 + 3 + 9 + 2},     // inactive skipped; the short series has index 0
      {&d, 2, true, 7 + 0.5 + 2 + 1},    // the short series has no index 2
      {&d, 3, true, 0},                  // no series has four points
      {&other, 0, true, 100},            // only itself is of its class before it
      {&d, -1, true, 0},                 // no point
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.Series->StackedSum(c.Index, c.IncludeSelf), c.Want) << c.Index << " " << c.IncludeSelf;
  TFastLineSeries alone;
  alone.AppendY(4);
  EXPECT_EQ(alone.StackedSum(0, true), 0);  // no chart
  for (const auto& entry : data) chart.RemoveSeries(entry.first);
}

TEST(SeriesClick, DoubleClickFlagPicksTheHandler) {
  TFastLineSeries s;
  EXPECT_FALSE(s.SeriesClick(0, mbLeft, ssLeft, 1, 2));  // no handler: not taken
  std::vector<std::string> calls;
  s.OnClick = [&](TChartSeries* sender, int index, TMouseButton button, TShiftState shift, int x, int y) {
    EXPECT_EQ(sender, &s);
    calls.push_back("click " + std::to_string(index) + " " + std::to_string(button) + " " + std::to_string(shift) +
                    " " + std::to_string(x) + "," + std::to_string(y));
  };
  EXPECT_TRUE(s.SeriesClick(3, mbRight, ssRight | ssShift, 10, 20));
  EXPECT_TRUE(s.SeriesClick(4, mbLeft, ssLeft | ssDouble, 5, 6));  // no double-click handler: a click
  s.OnDblClick = [&](TChartSeries*, int index, TMouseButton, TShiftState, int, int) {
    calls.push_back("double " + std::to_string(index));
  };
  EXPECT_TRUE(s.SeriesClick(5, mbLeft, ssLeft | ssDouble, 5, 6));
  EXPECT_TRUE(s.SeriesClick(6, mbLeft, ssLeft, 5, 6));
  EXPECT_EQ(calls, (std::vector<std::string>{"click 3 1 17 10,20", "click 4 0 72 5,6", "double 5", "click 6 0 8 5,6"}));
}

}  // namespace
}  // namespace varnel
