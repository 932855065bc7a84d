// The legend: its checks, its texts by style and text style, and its layout as the canvas trace
// and the plot rectangle show it (the program's one-entry legend at the top left, the automatic
// style, percentages, zero-width swatches, no room, inverted order, the layout events).
#include <gtest/gtest.h>

#include <algorithm>
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

// The layout of a two-entry legend on each side of a default 400 x 250 chart (margins of 3
// percent: the plot is (12, 8, 388, 242), 376 x 234 pixels, centre x 200; no axes, 2D), with
// visible and hidden frames of several widths and several shadow sizes, worked out from the
// legend's arithmetic. ResizeChart is on: the plot gives up the box's side, then a margin of 3
// percent of the plot's size before the box took its share (11 across, 7 down).
TEST(Legend, LayoutOnEachSideWithFramesAndShadows) {
  struct Case {
    TLegendAlignment Align;
    bool FrameVisible;
    int FrameWidth, Shadow;
  };
  const Case cases[] = {{laRight, false, 1, 3}, {laLeft, true, 1, 0}, {laTop, true, 2, 5},
                        {laBottom, false, 1, 1}, {laRight, true, 3, 2}, {laBottom, true, 2, 4}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "alignment " << k.Align << " frame " << k.FrameVisible << "/" << k.FrameWidth
                                    << " shadow " << k.Shadow);
    TChart chart;
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    TFastLineSeries a, b;
    a.SetTitle("Alpha");
    b.SetTitle("Beta 22");
    for (TFastLineSeries* s : {&a, &b}) {
      chart.AddSeries(s);
      s->AppendY(1);
    }
    TChartLegend& l = chart.Legend();
    l.SetLegendStyle(lsSeries);
    l.SetAlignment(k.Align);
    l.Frame().SetVisible(k.FrameVisible);
    l.Frame().SetWidth(k.FrameWidth);
    l.SetShadowSize(k.Shadow);
    TBitmap target(400, 250);
    TCanvasTrace trace;
    chart.SetOffscreenDrawing(false);
    target.Canvas().SetTrace(&trace);
    chart.PaintTo(target.Canvas(), Rect(0, 0, 400, 250));
    target.Canvas().SetTrace(nullptr);

    chart.SelectFont(l.Font());
    const int h = chart.LineHeight();
    const int widest = std::max(chart.TextWidthOf("Alpha"), chart.TextWidthOf("Beta 22"));
    const auto round = [](long double v) { return static_cast<int>(std::nearbyintl(v)); };
    const int s = k.Shadow, fw = k.FrameWidth, gap = k.FrameVisible ? fw + 1 : 0;
    int top = 0, bottom = 0, left = 0, right = 0, xt = 0, sw = 0, step = 0;
    if (k.Align == laLeft || k.Align == laRight) {
      top = round(10 * 250 * 0.01L);                    // TopPos 10 of the whole height
      ASSERT_GE((234 + 8 - 2 * fw - top) / h, 2);      // both entries fit
      bottom = top + 2 + 2 * h;
      sw = round((widest + 10) * 12 * 0.01L);
      if (k.Align == laLeft) {
        left = 12 + gap;
        xt = left + 4 + sw + 4;
        right = xt + widest + 2;
      } else {
        right = 388 - gap - s;
        xt = right - widest - 2;
        left = xt - sw - 4 - 4;
      }
    } else {
      const int tw = widest + 4;
      sw = round(12 * tw * 0.01L);
      step = tw + sw + 4;
      ASSERT_GE((376 + 12 - 2 * fw - 8) / step, 2);
      top = k.Align == laTop ? 8 + gap : 242 - s - gap - 2 - h;
      bottom = top + 2 + h;
      const int half = std::min(376, 2 * s + step * 2 + 8) / 2;
      left = 200 - half;
      right = 200 + half;
      xt = left + 4 + sw + 4;
    }
    EXPECT_EQ(l.LegendBox(), Rect(left, top, right, bottom));
    EXPECT_EQ(l.SwatchWidth(), sw);

    // The box, grown by a visible frame; the shadow s pixels thick, set off by s.
    const int d = k.FrameVisible ? fw : 0;
    const auto rects = test::CallsOf(trace, "Rectangle");
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects[0].Args, (std::vector<int>{left - d, top - d, right + d, bottom + d}));
    EXPECT_EQ(rects[0].PenStyle, k.FrameVisible ? psSolid : psClear);
    EXPECT_EQ(rects[0].PenWidth, fw);
    std::vector<std::vector<int>> shadow;
    for (const auto& f : test::CallsOf(trace, "FillRect"))
      if (f.BrushColor == clBlack) shadow.push_back(f.Args);
    const int o = d == 0 ? -1 : d + d / 2 - (d % 2 == 0 ? 1 : 0);
    if (s > 0)
      EXPECT_EQ(shadow, (std::vector<std::vector<int>>{{left + s, bottom + o, right + o + s, bottom + o + s},
                                                       {right + o, top + s, right + o + s, bottom + o + s}}));
    else
      EXPECT_TRUE(shadow.empty());

    // The entries: one above the other at xt, or side by side one step apart.
    const auto outs = test::CallsOf(trace, "TextOut");
    ASSERT_EQ(outs.size(), 2u);
    for (int p = 0; p < 2; ++p) {
      const bool column = k.Align == laLeft || k.Align == laRight;
      EXPECT_EQ(outs[p].Args, (std::vector<int>{column ? xt : xt + step * p, column ? top + 1 + h * p : top + 1}));
    }

    TRect plot = Rect(12, 8, 388, 242);
    switch (k.Align) {
      case laLeft: plot.Left = right + 11; break;
      case laRight: plot.Right = left - 11; break;
      case laTop: plot.Top = bottom + s + 7; break;
      case laBottom: plot.Bottom = top - 7; break;
    }
    EXPECT_EQ(chart.PlotRect(), plot);
  }
}

// The legend-rectangle event moves the box (its outline, shadow and the plot edge beside it),
// not the entries; the position event moves one entry and its swatch; the text event rewrites
// the texts.
TEST(Legend, LayoutEvents) {
  ProgramChart p;
  p.chart.Legend().SetResizeChart(true);
  p.chart.OnGetLegendText = [](TCustomAxisPanel*, TLegendStyle style, int index, std::string& text) {
    EXPECT_EQ(style, lsLastValues);
    EXPECT_EQ(index, 0);
    text = "load" + text;
  };
  p.Paint();
  const TRect before = p.chart.Legend().LegendBox();
  const auto unmoved = test::CallsOf(p.trace, "TextOut");
  ASSERT_EQ(unmoved.size(), 1u);
  EXPECT_EQ(unmoved[0].Text, "load CPU 37");

  p.chart.OnGetLegendRect = [](TCustomChart*, TRect& r) { r = Rect(r.Left + 100, r.Top + 50, r.Right + 100, r.Bottom + 50); };
  p.Paint();
  const TRect box = p.chart.Legend().LegendBox();
  EXPECT_EQ(box, Rect(before.Left + 100, before.Top + 50, before.Right + 100, before.Bottom + 50));
  EXPECT_EQ(test::CallsOf(p.trace, "Rectangle")[0].Args, (std::vector<int>{box.Left, box.Top, box.Right, box.Bottom}));
  EXPECT_EQ(test::CallsOf(p.trace, "TextOut")[0].Args, unmoved[0].Args);
  EXPECT_EQ(p.chart.PlotRect().Left, box.Right + 1);  // the box's right edge plus HorizMargin 1

  int posCalls = 0;
  p.chart.OnGetLegendPos = [&](TCustomChart*, int index, int& x, int& y, int&) {
    EXPECT_EQ(index, 0);
    ++posCalls;
    x += 20;
    y += 7;
  };
  p.Paint();
  EXPECT_EQ(posCalls, 1);
  const auto moved = test::CallsOf(p.trace, "TextOut");
  EXPECT_EQ(moved[0].Args, (std::vector<int>{unmoved[0].Args[0] + 20, unmoved[0].Args[1] + 7}));
  // The swatch's line (the fast line's legend symbol) ends 4 pixels left of the moved text.
  for (const auto& seg : test::SegmentsOf(p.trace)) {
    if (seg.Color != clMaroon) continue;
    EXPECT_EQ(seg.X1, moved[0].Args[0] - 4);
    break;
  }
}

TEST(Legend, GoldenProgramChartWithLegend) {
  ProgramChart p({12, 30, 25, 41, 37});
  p.Paint(false);
  EXPECT_EQ(test::CompareWithGolden(p.target, "chart_legend_332x190_37"), "");
}

}  // namespace
}  // namespace varnel
