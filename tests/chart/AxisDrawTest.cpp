// Axis drawing, read from the canvas trace: label positions and texts, ticks, minor ticks and
// grid lines of the program's left and bottom axes, the label limit and the custom loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <limits>

#include "chart/Chart.h"
#include "platform/BitmapHost.h"
#include "series/FastLineSeries.h"
#include "tests/chart/ChartTestSupport.h"

namespace varnel {
namespace {

// The program's chart on a host whose window canvas is traced; the plot rectangle set by hand.
struct DrawFixture {
  TChart chart;
  TBitmapHost host{700, 400};
  TCanvasTrace trace;
  explicit DrawFixture(const TRect& plot) {
    test::ConfigureProgramChart(chart);
    chart.SetHost(&host);
    chart.SetPlotRect(plot);
    chart.LeftAxis().SetLabelStyle(talValue);  // no series: ask for value labels outright
    chart.BottomAxis().SetLabelStyle(talValue);
    host.Surface().Canvas().SetTrace(&trace);
  }
  void Draw(TChartAxis& axis) {
    axis.AdjustRange();
    trace.Clear();
    axis.DrawAxis(true);
  }
};

TEST(AxisDraw, LeftAxisLabelsTicksAndGrid) {
  DrawFixture f(Rect(40, 10, 340, 310));  // 300 pixels high: step 5
  TChartAxis& left = f.chart.LeftAxis();
  f.Draw(left);
  std::vector<std::string> expected;
  for (int v = 100; v >= 0; v -= 5) expected.push_back(std::to_string(v));
  EXPECT_EQ(test::TextsOf(f.trace), expected);

  // Labels right-aligned left of the ticks, centred on their value's pixel.
  const auto texts = test::CallsOf(f.trace, "TextOut");
  EXPECT_EQ(texts[0].Args, (std::vector<int>{left.LabelsPos(), 10 - 13 / 2}));
  EXPECT_EQ(texts[20].Args[1], 310 - 6);

  const auto segments = test::SegmentsOf(f.trace);
  std::vector<int> gridRows;
  int ticks = 0;
  int minor = 0;
  for (const auto& s : segments) {
    if (s.Style == psDot) {
      gridRows.push_back(s.Y0);
      EXPECT_EQ(s.X0, 41);
      EXPECT_EQ(s.X1, 340);
    } else if (s.Color == clGray && s.X0 - s.X1 == 3) {
      ++ticks;  // major: 3 pixels outside the axis line
      EXPECT_EQ(s.X0, 39);
    } else if (s.Color == clGray && s.X0 - s.X1 == 5) {
      ++minor;  // minor: 5 pixels, halfway between two labels
      EXPECT_EQ((s.Y0 - 10) % 15, 7) << s.Y0;  // 7.5 rounds to 8 above the label
    }
  }
  EXPECT_EQ(ticks, 21);
  EXPECT_EQ(minor, 20);
  ASSERT_EQ(gridRows.size(), 19u);  // none at 0 and 100
  EXPECT_EQ(gridRows.front(), left.YPixelOfValue(95));
  EXPECT_EQ(gridRows.back(), left.YPixelOfValue(5));
  // The axis line, black and one pixel wide, last.
  const auto& line = segments.back();
  EXPECT_EQ(line.Color, clBlack);
  EXPECT_EQ((std::vector<int>{line.X0, line.Y0, line.X1, line.Y1}), (std::vector<int>{40, 11, 40, 310}));

  left.SetLabelsOnAxis(false);
  f.Draw(left);
  const auto inner = test::TextsOf(f.trace);
  ASSERT_EQ(inner.size(), 19u);
  EXPECT_EQ(inner.front(), "95");
  EXPECT_EQ(inner.back(), "5");
}

TEST(AxisDraw, BottomAxisTicksWithoutLabels) {
  DrawFixture f(Rect(40, 10, 600, 310));
  TChartAxis& bottom = f.chart.BottomAxis();
  bottom.SetMaximum(59);
  bottom.SetAutomaticMaximum(false);
  bottom.AdjustRange();
  f.chart.SelectFont(bottom.LabelsFont());
  ASSERT_EQ(bottom.CalcLabelStep(), 2);
  f.Draw(bottom);
  EXPECT_TRUE(test::TextsOf(f.trace).empty());
  std::vector<int> tickXs;
  std::vector<int> gridXs;
  for (const auto& s : test::SegmentsOf(f.trace)) {
    if (s.Style == psDot) {
      gridXs.push_back(s.X0);
      EXPECT_EQ(s.Y0, 309);
      EXPECT_EQ(s.Y1, 10);
    } else if (s.Color == clGray && s.Y0 == 311 && s.Y1 == 314) {
      tickXs.push_back(s.X0);
    }
  }
  std::vector<int> expected;
  for (int v = 59; v >= 1; v -= 2) expected.push_back(bottom.XPixelOfValue(v));
  // Ticks and minor ticks are both 3 pixels long here: the major ones are at the value pixels.
  std::vector<int> majors;
  for (int x : tickXs)
    if (std::find(expected.begin(), expected.end(), x) != expected.end()) majors.push_back(x);
  EXPECT_EQ(majors, expected);
  EXPECT_EQ(tickXs.size(), expected.size() * 2 - 1);  // one minor tick between neighbours
  ASSERT_EQ(gridXs.size(), expected.size() - 1);      // none at 59, the maximum
  EXPECT_EQ(gridXs.front(), bottom.XPixelOfValue(57));
}

TEST(AxisDraw, TooManyLabelPositionsDrawOnlyTheLine) {
  DrawFixture f(Rect(40, 10, 600, 310));
  TChartAxis& left = f.chart.LeftAxis();
  left.SetMaximum(1);
  left.SetIncrement(0.00001);
  left.SetLabelsSeparation(0);  // 100000 positions
  f.Draw(left);
  EXPECT_TRUE(test::TextsOf(f.trace).empty());
  left.SetMaximum(10000);
  left.SetIncrement(1);  // 10000 steps
  f.Draw(left);
  EXPECT_TRUE(test::TextsOf(f.trace).empty());
  const auto segments = test::SegmentsOf(f.trace);
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0].Color, clBlack);
  // 9999 steps are still drawn: 10000 labels.
  left.SetMaximum(9999);
  f.Draw(left);
  EXPECT_EQ(test::TextsOf(f.trace).size(), 10000u);
}

TEST(AxisDraw, DecimalStepsKeepBothEndLabels) {
  // Ranges and steps in tenths; the labels are the multiples of the step inside the range,
  // each end included, and grid lines at all but the ends.
  struct Case {
    int Lo, Hi, Step;
  };
  for (const Case& c : {Case{0, 3, 1}, Case{0, 7, 1}, Case{-3, 3, 1}, Case{1, 9, 2}, Case{-9, -3, 3}}) {
    DrawFixture f(Rect(40, 10, 340, 310));
    TChartAxis& left = f.chart.LeftAxis();
    left.SetRange(c.Lo / 10.0, c.Hi / 10.0);
    left.SetIncrement(c.Step / 10.0);
    left.SetLabelsSeparation(0);
    left.SetAxisValuesFormat("0.0");
    f.Draw(left);
    std::vector<std::string> expected;
    int inner = 0;
    for (int k = c.Hi; k >= c.Lo; --k) {
      if (k % c.Step != 0) continue;
      char text[16];
      std::snprintf(text, sizeof text, "%.1f", k / 10.0);
      expected.push_back(text);
      inner += k != c.Hi && k != c.Lo;
    }
    EXPECT_EQ(test::TextsOf(f.trace), expected) << c.Lo << ".." << c.Hi;
    int grid = 0;
    for (const auto& s : test::SegmentsOf(f.trace)) grid += s.Style == psDot;
    EXPECT_EQ(grid, inner) << c.Lo << ".." << c.Hi;
  }
}

TEST(AxisDraw, LogarithmicLabelsOnPowersOfTen) {
  struct Case {
    double Min, Max;
    int Height;
    std::vector<std::string> Expected;
  };
  // 13-pixel lines plus 10 percent: 14 pixels a label; 28 pixels hold two, so every other power.
  const Case cases[] = {
      {1, 1000, 300, {"1000", "100", "10", "1"}},
      {0, 1000, 300, {"1000", "100", "10", "1"}},  // nothing at or below 0
      {1, 1000, 28, {"1000", "10"}},
      {0.01, 50, 300, {"10", "1", "0.1", "0.01"}},
      {2, 8, 300, {"8", "7", "6", "5", "4", "3", "2"}},  // within a decade: the value step
  };
  for (const Case& c : cases) {
    DrawFixture f(Rect(40, 10, 340, 10 + c.Height));
    TChartAxis& left = f.chart.LeftAxis();
    left.SetMaximum(c.Max);
    left.SetMinimum(c.Min);
    left.SetAxisValuesFormat("0.##");
    left.AdjustRange();
    left.SetLogarithmic(true);
    f.Draw(left);
    EXPECT_EQ(test::TextsOf(f.trace), c.Expected) << c.Min << ".." << c.Max;
  }
}

TEST(AxisDraw, SeriesLoopSkipsValuesThatAreNotNumbersAndOverlappingLabels) {
  DrawFixture f(Rect(40, 10, 340, 310));
  TFastLineSeries series;
  f.chart.AddSeries(&series);
  for (double y : {10.0, std::nan(""), 30.0, 31.0}) series.AppendY(y);
  series.Marks().SetStyle(smsValue);
  f.chart.BottomAxis().AdjustRange();
  TChartAxis& left = f.chart.LeftAxis();
  left.SetLabelStyle(talMark);
  f.Draw(left);
  // 31 is 3 pixels above 30: its label would overlap and is skipped.
  EXPECT_EQ(test::TextsOf(f.trace), (std::vector<std::string>{"10", "30"}));
  left.SetLabelsSeparation(std::numeric_limits<int>::max());  // no label fits beside another
  f.Draw(left);
  EXPECT_EQ(test::TextsOf(f.trace), (std::vector<std::string>{"10"}));
  // A custom loop that hands out a value that is not a number ends there.
  left.SetLabelStyle(talValue);
  left.SetLabelsSeparation(10);
  int calls = 0;
  f.chart.OnGetNextAxisLabel = [&](TChartAxis*, int index, double& value, bool& stop) {
    ++calls;
    stop = false;
    value = index == 0 ? 50 : std::nan("");
  };
  f.Draw(left);
  EXPECT_EQ(test::TextsOf(f.trace), (std::vector<std::string>{"50"}));
  EXPECT_EQ(calls, 2);
}

TEST(AxisDraw, TextLabelsComeFromThePointLabels) {
  DrawFixture f(Rect(40, 10, 340, 310));
  TFastLineSeries series;
  f.chart.AddSeries(&series);
  for (const char* label : {"mon", "tue", "wed", "thu"}) series.AppendY(5, label);
  TChartAxis& bottom = f.chart.BottomAxis();
  bottom.SetLabelStyle(talAuto);  // a horizontal axis whose series' first point has a label
  bottom.SetLabels(true);
  bottom.SetAutomatic(true);
  EXPECT_EQ(bottom.EffectiveLabelStyle(), talText);
  f.Draw(bottom);
  EXPECT_EQ(test::TextsOf(f.trace), (std::vector<std::string>{"mon", "tue", "wed", "thu"}));
  std::vector<int> xs;
  for (const auto& t : test::CallsOf(f.trace, "TextOut")) xs.push_back(t.Args[0]);
  EXPECT_EQ(xs, (std::vector<int>{40, 140, 240, 340}));  // X 0..3 over 300 pixels
  // Without a label on the first point the axis shows values.
  TFastLineSeries plain;
  f.chart.RemoveSeries(&series);
  f.chart.AddSeries(&plain);
  plain.AppendY(5);
  plain.AppendY(6, "late");
  EXPECT_EQ(bottom.EffectiveLabelStyle(), talValue);
}

TEST(AxisDraw, PrintingThinsPatternedOnePixelGridPens) {
  struct Case {
    TPenStyle Style;
    int Width;
    bool Printing;
    int Drawn;
  };
  const Case cases[] = {{psDot, 1, true, 0},  {psDash, 1, true, 0},  {psSolid, 1, true, 1},
                        {psDot, 2, true, 2},  {psDot, 1, false, 1}};
  for (const Case& c : cases) {
    DrawFixture f(Rect(40, 10, 340, 310));
    TChartAxis& left = f.chart.LeftAxis();
    left.Grid().SetStyle(c.Style);
    left.Grid().SetWidth(c.Width);
    f.chart.SetPrinting(c.Printing);
    f.Draw(left);
    const auto lines = test::CallsOf(f.trace, "LineTo");
    const auto grid = std::find_if(lines.begin(), lines.end(), [](const TCanvasCall& l) { return l.Args[0] == 340; });
    ASSERT_NE(grid, lines.end());
    EXPECT_EQ(grid->PenWidth, c.Drawn) << c.Style << " " << c.Width << " " << c.Printing;
  }
}

// One label at 50 on an axis 0..100, given by the custom loop.
void OneLabelAt50(TChart& chart) {
  chart.OnGetNextAxisLabel = [](TChartAxis*, int index, double& value, bool& stop) {
    stop = index > 0;
    value = 50;
  };
}

enum Side { kBottom, kTop, kLeft, kRight };

// The axis on one side of a 3D chart (depth 6 right and 4 up), showing 0..100.
TChartAxis& DepthAxis(DrawFixture& f, Side side) {
  f.chart.SetView3D(true);
  f.chart.SetDepthOffsets(6, 4, 6, 4);
  TChartAxis* axes[] = {&f.chart.BottomAxis(), &f.chart.TopAxis(), &f.chart.LeftAxis(), &f.chart.RightAxis()};
  axes[side]->SetRange(0, 100);
  return *axes[side];
}

TEST(AxisDraw, TopAndRightAxesIn3DWithInnerTicks) {
  struct Case {
    bool Top;
    std::vector<std::vector<int>> Segments;  // tick, grid, inner tick, axis line
  };
  // Plot 40..340 x 30..310, depth 6 right and 4 up; 50 lies at x 190 and at y 170.
  const Case cases[] = {
      {true, {{196, 25, 196, 21}, {196, 26, 196, 306}, {196, 27, 196, 32}, {46, 26, 346, 26}}},
      {false, {{347, 166, 351, 166}, {346, 166, 46, 166}, {345, 166, 340, 166}, {346, 27, 346, 306}}},
  };
  for (const Case& c : cases) {
    DrawFixture f(Rect(40, 30, 340, 310));
    TChartAxis& axis = DepthAxis(f, c.Top ? kTop : kRight);
    axis.SetLabelStyle(talValue);
    axis.SetTickInnerLength(5);
    OneLabelAt50(f.chart);
    f.Draw(axis);
    std::vector<std::vector<int>> got;
    for (const auto& s : test::SegmentsOf(f.trace)) got.push_back({s.X0, s.Y0, s.X1, s.Y1});
    EXPECT_EQ(got, c.Segments) << (c.Top ? "top" : "right");
    EXPECT_EQ(test::TextsOf(f.trace), (std::vector<std::string>{"50"}));
  }
}

TEST(AxisDraw, LabelAndTitleAnchorsByAxisAndAngle) {
  // Label anchors: (p, LabelsPos) on the bottom, (LabelsPos, p) on the left, shifted by the
  // depth (6 right, 4 up) on the top and right; then moved by half the text height (horizontal
  // axes at 90 and 270 degrees) or half the line height (vertical axes at 0 and 180 degrees).
  // 13-pixel text; 50 lies at x 190 and y 170.
  struct Case {
    Side Axis;
    int Angle;
    int DX, DY;
  };
  const int h = 13 / 2;
  const Case cases[] = {
      {kBottom, 0, 0, 0}, {kBottom, 90, -h, 0}, {kBottom, 180, 0, 0}, {kBottom, 270, h, 0}, {kTop, 0, 0, 0},
      {kTop, 90, -h, 0},  {kTop, 270, h, 0},    {kLeft, 0, 0, -h},    {kLeft, 90, 0, 0},    {kLeft, 180, 0, h},
      {kLeft, 270, 0, 0}, {kRight, 0, 0, -h},   {kRight, 180, 0, h},  {kRight, 270, 0, 0},
  };
  for (const Case& c : cases) {
    DrawFixture f(Rect(40, 30, 340, 310));
    TChartAxis& axis = DepthAxis(f, c.Axis);
    axis.SetLabelStyle(talValue);
    axis.SetLabels(true);
    axis.SetLabelsSize(30);
    axis.SetLabelsAngle(c.Angle);
    TRect r = Rect(40, 30, 340, 310);
    axis.ReserveSpace(r);
    OneLabelAt50(f.chart);
    f.Draw(axis);
    const auto texts = test::CallsOf(f.trace, "TextOut");
    ASSERT_EQ(texts.size(), 1u);
    const int pos = axis.LabelsPos();
    const std::vector<int> base[] = {{190, pos}, {196, pos - 4}, {pos, 170}, {pos + 6, 166}};
    const std::vector<int> expected{base[c.Axis][0] + c.DX, base[c.Axis][1] + c.DY};
    EXPECT_EQ(texts[0].Args, expected) << c.Axis << " at " << c.Angle;
  }

  // Titles: centred on the plot on their side, the top and right shifted by the depth, each at
  // its natural angle (the left and right titles read along the axis without adjustment).
  struct TitleCase {
    Side Axis;
    int Angle;
    int X, Y;
  };
  const TitleCase titles[] = {{kBottom, 0, 190, -20}, {kTop, 0, 196, 16}, {kLeft, 90, 20, 170}, {kRight, 270, -14, 166}};
  for (const TitleCase& c : titles) {
    DrawFixture f(Rect(40, 30, 340, 310));
    TChartAxis& axis = DepthAxis(f, c.Axis);
    axis.SetLabels(false);
    axis.Title().SetCaption("load");
    axis.SetTitleSize(20);
    TRect r{};
    axis.ReserveSpace(r);
    ASSERT_EQ(axis.Title().Angle(), c.Angle);
    f.Draw(axis);
    EXPECT_EQ(test::TextsOf(f.trace).front(), "load");
    EXPECT_EQ(test::CallsOf(f.trace, "TextOut")[0].Args, (std::vector<int>{c.X, c.Y})) << c.Axis;
  }
}

TEST(AxisDraw, AdjustRangeToMarginsWidensTheRange) {
  // 0..100 over 300 pixels (20..320) and 200 pixels (10..210).
  struct Case {
    bool Horizontal;
    bool Inverted;
    int Near, Far;  // left and right, or bottom and top, margins
    double Min, Max;
  };
  const Case cases[] = {
      {true, false, 10, 20, -10 * 100.0 / 270, 290 * 100.0 / 270},
      {true, true, 10, 20, -20 * 100.0 / 270, 280 * 100.0 / 270},
      {false, false, 15, 5, 100 - 195 * 100.0 / 180, 100 + 5 * 100.0 / 180},
      {true, false, 0, 0, 0, 100},
  };
  for (const Case& c : cases) {
    DrawFixture f(Rect(20, 10, 320, 210));
    TChartAxis& axis = c.Horizontal ? f.chart.BottomAxis() : f.chart.LeftAxis();
    axis.SetRange(0, 100);
    axis.SetInverted(c.Inverted);
    axis.AdjustRange();
    if (c.Horizontal)
      axis.AdjustRangeToMargins(c.Near, 0, c.Far, 0);
    else
      axis.AdjustRangeToMargins(0, c.Far, 0, c.Near);
    EXPECT_NEAR(axis.ShownMinimum(), c.Min, 1e-9) << c.Horizontal << c.Inverted;
    EXPECT_NEAR(axis.ShownMaximum(), c.Max, 1e-9) << c.Horizontal << c.Inverted;
    EXPECT_NEAR(axis.ShownRange(), c.Max - c.Min, 1e-9);
    const TRect plot = f.chart.PlotRect();  // restored
    EXPECT_EQ((std::vector<int>{plot.Left, plot.Top, plot.Right, plot.Bottom}), (std::vector<int>{20, 10, 320, 210}));
  }
}

TEST(AxisDraw, CustomLabelLoop) {
  DrawFixture f(Rect(40, 10, 340, 310));
  TChartAxis& left = f.chart.LeftAxis();
  int calls = 0;
  f.chart.OnGetNextAxisLabel = [&](TChartAxis*, int index, double& value, bool& stop) {
    ++calls;
    if (index == 0) {
      stop = false;
      value = 10;
    } else if (index == 1) {
      value = 60;
    } else {
      value = 150;  // outside the range: the loop ends without drawing it
    }
  };
  f.Draw(left);
  EXPECT_EQ(test::TextsOf(f.trace), (std::vector<std::string>{"10", "60"}));
  EXPECT_EQ(calls, 3);

  // Stop on the first call: the default loop draws instead.
  f.chart.OnGetNextAxisLabel = [&](TChartAxis*, int, double&, bool&) {};
  f.Draw(left);
  EXPECT_EQ(test::TextsOf(f.trace).size(), 21u);

  // A handler that never stops and stays in range is called at most 1001 times.
  calls = 0;
  f.chart.OnGetNextAxisLabel = [&](TChartAxis*, int, double& value, bool& stop) {
    ++calls;
    stop = false;
    value = 50;
  };
  f.Draw(left);
  EXPECT_EQ(calls, 1001);
}

TEST(AxisDraw, WallsShiftTheAxesIn3D) {
  DrawFixture f(Rect(40, 30, 340, 310));
  f.chart.SetView3D(true);  // walls of size 3 from the program's configuration
  f.chart.SetDepthOffsets(6, 4, 6, 4);
  TChartAxis& bottom = f.chart.BottomAxis();
  bottom.SetMaximum(59);
  bottom.SetAutomaticMaximum(false);
  f.Draw(bottom);
  const auto segments = test::SegmentsOf(f.trace);
  const auto& line = segments.back();
  EXPECT_EQ((std::vector<int>{line.X0, line.Y0, line.X1, line.Y1}), (std::vector<int>{37, 313, 340, 313}));
  // Ticks start at AxisPos3D + 4; grid lines run solid across the floor, dotted up the back.
  bool tick = false;
  bool floor = false;
  for (const auto& s : segments) {
    if (s.Color == clGray && s.Y0 == 314) tick = true;
    if (s.Style == psSolid && s.Color == clGray && s.Y0 == 309 && s.Y1 == 305 && s.X1 == s.X0 + 6) floor = true;
  }
  EXPECT_TRUE(tick);
  EXPECT_TRUE(floor);
}

}  // namespace
}  // namespace varnel
