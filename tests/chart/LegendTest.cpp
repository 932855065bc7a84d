// The legend: its checks, its texts by style and text style, and its layout as the canvas trace
// and the plot rectangle show it (the program's one-entry legend at the top left, the automatic
// style, percentages, zero-width swatches, no room, inverted order, the layout events).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "base/Exceptions.h"
#include "base/Numbers.h"
#include "chart/Chart.h"
#include "platform/canvas/Bitmap.h"
#include "series/FastLineSeries.h"
#include "tests/chart/ChartTestSupport.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

// The program's chart (legend on, axes off, 2D) with Series3, drawn directly onto a target so
// that the trace sees every call.
struct ProgramChart {
  TChart chart;
  TFastLineSeries series;
  TBitmap target{332, 190};
  TCanvasTrace trace;
  explicit ProgramChart(std::vector<double> loads = {5, 17, 37}) {
    test::ConfigureProgramChart(chart);
    test::ConfigureProgramSeries(series, chart, 60, loads);
  }
  void Paint(bool direct = true) {
    trace.Clear();
    chart.SetOffscreenDrawing(!direct);
    target.Canvas().SetTrace(direct ? &trace : nullptr);
    chart.PaintTo(target.Canvas(), Rect(0, 0, target.Width(), target.Height()));
    target.Canvas().SetTrace(nullptr);
  }
  // The chart's text metrics in the legend font.
  int LineHeight() {
    chart.SelectFont(chart.Legend().Font());
    return chart.LineHeight();
  }
  int TextWidth(const std::string& s) {
    chart.SelectFont(chart.Legend().Font());
    return chart.TextWidthOf(s);
  }
};

std::string LegendErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const LegendException& e) {
    return e.Message();
  }
  return "";
}

TEST(Legend, ValidatingSettersKeepTheOldValue) {
  TChart chart;
  TChartLegend& l = chart.Legend();
  const std::string topPos = "Top Legend Position must be between 0 and 100 %";
  const std::string colorWidth = "Legend Color Width must be between 0 and 100 %";
  EXPECT_EQ(LegendErrorOf([&] { l.SetTopPos(101); }), topPos);
  EXPECT_EQ(LegendErrorOf([&] { l.SetTopPos(-1); }), topPos);
  EXPECT_EQ(l.TopPos(), 10);
  EXPECT_EQ(LegendErrorOf([&] { l.SetColorWidth(101); }), colorWidth);
  EXPECT_EQ(LegendErrorOf([&] { l.SetColorWidth(-1); }), colorWidth);
  EXPECT_EQ(l.ColorWidth(), 12);
  EXPECT_EQ(LegendErrorOf([&] { l.SetFirstValue(-1); }), "First Legend Value must be > 0");
  EXPECT_EQ(l.FirstValue(), 0);
  for (int v : {0, 100}) {
    EXPECT_EQ(LegendErrorOf([&] { l.SetTopPos(v); }), "");
    EXPECT_EQ(LegendErrorOf([&] { l.SetColorWidth(v); }), "");
    EXPECT_EQ(l.TopPos(), v);
    EXPECT_EQ(l.ColorWidth(), v);
  }
  EXPECT_EQ(LegendErrorOf([&] { l.SetFirstValue(0); }), "");
}

TEST(Legend, AssignCopiesTheSettingsButNotTheShadow) {
  TChart a;
  TChart b;
  TChartLegend& l = a.Legend();
  l.SetAlignment(laBottom);
  l.SetColorWidth(40);
  l.SetTopPos(50);
  l.SetInverted(true);
  l.SetColor(clYellow);
  l.Frame().SetColor(clRed);
  l.SetShadowSize(7);
  l.Font().SetColor(clBlue);
  b.SetLegend(l);
  const TChartLegend& m = b.Legend();
  EXPECT_EQ(m.Alignment(), laBottom);
  EXPECT_EQ(m.ColorWidth(), 40);
  EXPECT_EQ(m.TopPos(), 50);
  EXPECT_TRUE(m.Inverted());
  EXPECT_EQ(m.Color(), clYellow);
  EXPECT_EQ(m.Frame().Color(), clRed);
  EXPECT_EQ(m.Font().Color(), clBlue);
  EXPECT_EQ(m.ShadowSize(), 3);
}

TEST(Legend, TheProgramsLegendShowsTheNewestLoad) {
  ProgramChart p;
  p.Paint();
  TChartLegend& l = p.chart.Legend();
  EXPECT_EQ(l.ShownStyle(), lsLastValues);
  EXPECT_EQ(p.chart.ItemText(0), " CPU 37");
  const auto texts = test::TextsOf(p.trace);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], " CPU 37");
  l.SetTextStyle(ltsLeftValue);
  EXPECT_EQ(p.chart.ItemText(0), "CPU 37 ");
  l.SetTextStyle(ltsPlain);
  EXPECT_EQ(p.chart.ItemText(0), "");
  l.SetTextStyle(ltsXValue);  // the bottom axis shows no labels, but labels its value all the same
  EXPECT_EQ(p.chart.ItemText(0), "59");

  // Layout: the box starts at the top of the whole chart, at the plot's left edge (3, inside the
  // border); the swatch is 27 percent of the text width plus 10.
  l.SetTextStyle(ltsRightValue);
  p.Paint();
  const int h = p.LineHeight();
  const int tw = p.TextWidth(" CPU 37");
  const int sw = static_cast<int>(std::nearbyint((tw + 10) * 0.27));
  EXPECT_EQ(l.SwatchWidth(), sw);
  EXPECT_EQ(l.LegendBox(), Rect(3, 0, 3 + 4 + sw + 4 + tw + 2, 2 + h));
  const auto rects = test::CallsOf(p.trace, "Rectangle");
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].Args, (std::vector<int>{3, 0, l.LegendBox().Right, 2 + h}));
  EXPECT_EQ(rects[0].PenStyle, psClear);
  EXPECT_EQ(rects[0].BrushColor, clWhite);
  // The swatch (x - 4 - sw, y + 2, x - 4, y + h - 2): the fast line draws its symbol, a line in
  // its pen across the middle.
  std::vector<test::TSegment> maroon;
  for (const auto& s : test::SegmentsOf(p.trace))
    if (s.Color == clMaroon) maroon.push_back(s);
  ASSERT_FALSE(maroon.empty());
  const int middle = (3 + 1 + h - 2) / 2;
  EXPECT_EQ(maroon[0].X0, 7);  // the legend's swatch comes before the series' line
  EXPECT_EQ(maroon[0].X1, 7 + sw);
  EXPECT_EQ(maroon[0].Y0, middle);
  // The shadow: 3 pixels under and right of the box, in black.
  const auto fills = test::CallsOf(p.trace, "FillRect");
  ASSERT_GE(fills.size(), 3u);  // the background first
  const int r = l.LegendBox().Right;
  EXPECT_EQ(fills[1].Args, (std::vector<int>{6, 1 + h, r + 2, 4 + h}));
  EXPECT_EQ(fills[2].Args, (std::vector<int>{r - 1, 3, r + 2, 4 + h}));
  EXPECT_EQ(fills[2].BrushColor, clBlack);
  // ResizeChart is off: only the margin of 1 pixel is taken from the plot's left side.
  EXPECT_EQ(p.chart.PlotRect(), Rect(4, 3, 329, 187));
  // The text is drawn at xt, one pixel below the box top, on a transparent background.
  const auto outs = test::CallsOf(p.trace, "TextOut");
  EXPECT_EQ(outs[0].Args, (std::vector<int>{7 + sw + 4, 1}));
}

TEST(Legend, AutomaticStyleAndSeriesEntries) {
  ProgramChart p({20, 40});
  TChartLegend& l = p.chart.Legend();
  l.SetLegendStyle(lsAuto);
  l.SetTextStyle(ltsLeftValue);
  p.Paint();
  EXPECT_EQ(l.ShownStyle(), lsValues);  // one series: one entry per point
  EXPECT_EQ(l.CountItems(), 60);
  EXPECT_EQ(p.chart.ItemText(59), "CPU 40 ");
  // Entries that fit below the top: (plot height + plot top - start) div line height.
  EXPECT_EQ(test::TextsOf(p.trace).size(), static_cast<std::size_t>((184 + 3) / p.LineHeight()));

  TFastLineSeries other;
  other.SetTitle("Disk");
  other.SetParentChart(&p.chart);
  other.AppendY(1);
  p.Paint();
  EXPECT_EQ(l.ShownStyle(), lsSeries);
  EXPECT_EQ(test::TextsOf(p.trace), (std::vector<std::string>{"Series3", "Disk"}));
  // Each series draws its own symbol (a fast line draws a line) in its colour.
  EXPECT_EQ(l.CountItems(), 2);
  other.SetShowInLegend(false);
  EXPECT_EQ(l.CountItems(), 1);
  l.SetFirstValue(1);
  EXPECT_EQ(l.CountItems(), 0);
  p.Paint();
  EXPECT_TRUE(test::TextsOf(p.trace).empty());
}

TEST(Legend, PercentTexts) {
  TChart chart;
  TFastLineSeries s;
  s.SetParentChart(&chart);
  for (double v : {25.0, 25.0, -50.0}) s.AppendY(v);
  TChartLegend& l = chart.Legend();
  l.SetLegendStyle(lsValues);
  l.SetTextStyle(ltsLeftPercent);
  EXPECT_EQ(l.ValueText(s, 0), "25 % ");
  EXPECT_EQ(l.ValueText(s, 2), "-50 % ");
  l.SetTextStyle(ltsRightPercent);
  s.SetPercentFormat("0.0%");
  EXPECT_EQ(l.ValueText(s, 1), " 25.0%");
  EXPECT_EQ(l.ValueText(s, -1), "");
  TFastLineSeries zeros;
  zeros.SetParentChart(&chart);
  zeros.AppendY(0);
  zeros.AppendY(0, "idle");
  EXPECT_EQ(l.ValueText(zeros, 1), "idle 100 %");
}

TEST(Legend, ZeroColourWidthAndNoRoom) {
  ProgramChart p;
  TChartLegend& l = p.chart.Legend();
  l.SetColorWidth(0);
  p.Paint();
  EXPECT_EQ(l.SwatchWidth(), 0);
  EXPECT_EQ(test::CallsOf(p.trace, "TextOut")[0].Args[0], l.LegendBox().Left + 8);

  // A top at the bottom of the plot leaves no room: nothing drawn, no margin taken.
  l.SetTopPos(100);
  p.Paint();
  EXPECT_TRUE(test::TextsOf(p.trace).empty());
  EXPECT_EQ(p.chart.PlotRect(), Rect(3, 3, 329, 187));
}

TEST(Legend, InvertedAndDividedEntries) {
  ProgramChart p({1, 2});
  TChartLegend& l = p.chart.Legend();
  l.SetLegendStyle(lsValues);
  l.SetFirstValue(57);
  p.Paint();
  EXPECT_EQ(test::TextsOf(p.trace), (std::vector<std::string>{" CPU 0", " CPU 1", " CPU 2"}));
  l.SetInverted(true);
  l.DividingLines().SetVisible(true);
  l.DividingLines().SetColor(clRed);
  p.Paint();
  const auto outs = test::CallsOf(p.trace, "TextOut");
  ASSERT_EQ(outs.size(), 3u);
  EXPECT_EQ(outs[0].Text, " CPU 2");
  EXPECT_EQ(outs[2].Text, " CPU 0");
  const int h = p.LineHeight();
  EXPECT_EQ(outs[2].Args[1], 1 + 2 * h);
  // Dividing lines above the second and third entries, across the box.
  std::vector<test::TSegment> red;
  for (const auto& s : test::SegmentsOf(p.trace))
    if (s.Color == clRed) red.push_back(s);
  ASSERT_EQ(red.size(), 2u);
  EXPECT_EQ(red[0].Y0, 1 + h);
  EXPECT_EQ(red[0].X0, l.LegendBox().Left);
  EXPECT_EQ(red[0].X1, l.LegendBox().Right);

  // A top legend puts its entries side by side; inverted, the last one is at the left.
  l.SetAlignment(laTop);
  p.Paint();
  const auto row = test::CallsOf(p.trace, "TextOut");
  ASSERT_EQ(row.size(), 3u);
  EXPECT_EQ(row[0].Text, " CPU 2");
  EXPECT_LT(row[0].Args[0], row[1].Args[0]);
  EXPECT_EQ(row[0].Args[1], row[1].Args[1]);
}

TEST(Legend, ResizeChartAndMarginsOnEachSide) {
  ProgramChart p;
  TChartLegend& l = p.chart.Legend();
  l.SetResizeChart(true);
  l.SetHorizMargin(0);
  p.Paint();
  // The plot starts at the box's right edge plus 3 percent of the remaining plot width.
  const int right = l.LegendBox().Right;
  EXPECT_EQ(p.chart.PlotRect().Left, right + MulDiv(3, 329 - right, 100));

  l.SetAlignment(laBottom);
  l.SetVertMargin(5);
  p.Paint();
  EXPECT_EQ(l.LegendBox().Bottom, 187 - 3);
  EXPECT_EQ(p.chart.PlotRect().Bottom, l.LegendBox().Top - 5);
  l.SetAlignment(laRight);
  p.Paint();
  EXPECT_EQ(l.LegendBox().Right, 329 - 3);
  EXPECT_EQ(p.chart.PlotRect().Right, l.LegendBox().Left - MulDiv(3, l.LegendBox().Left - 3, 100));
}

TEST(Legend, LayoutEventsMoveTheBoxAndTheEntries) {
  ProgramChart p;
  p.chart.OnGetLegendText = [](TCustomAxisPanel*, TLegendStyle style, int index, std::string& text) {
    EXPECT_EQ(style, lsLastValues);
    EXPECT_EQ(index, 0);
    text = "load" + text;
  };
  p.chart.OnGetLegendRect = [](TCustomChart*, TRect& r) {
    r.Left += 100;
    r.Right += 100;
    r.Top += 50;
    r.Bottom += 50;
  };
  int posCalls = 0;
  p.chart.OnGetLegendPos = [&](TCustomChart*, int index, int& x, int& y, int&) {
    EXPECT_EQ(index, 0);
    ++posCalls;
    y += 1;
    EXPECT_GT(x, 100);
  };
  p.Paint();
  EXPECT_EQ(posCalls, 1);
  const TRect box = p.chart.Legend().LegendBox();
  EXPECT_EQ(box.Left, 103);
  EXPECT_EQ(box.Top, 50);
  const auto outs = test::CallsOf(p.trace, "TextOut");
  ASSERT_EQ(outs.size(), 1u);
  EXPECT_EQ(outs[0].Text, "load CPU 37");
  EXPECT_EQ(outs[0].Args[1], 52);
  EXPECT_EQ(test::CallsOf(p.trace, "Rectangle")[0].Args[0], 103);
}

TEST(Legend, GoldenProgramChartWithLegend) {
  ProgramChart p({12, 30, 25, 41, 37});
  p.Paint(false);
  EXPECT_EQ(test::CompareWithGolden(p.target, "chart_legend_332x190_37"), "");
}

}  // namespace
}  // namespace varnel
