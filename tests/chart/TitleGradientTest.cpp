// Titles and the background gradient: the room a title or foot takes from the plot, framed
// blocks with and without AdjustFrame, line placement by alignment, and the gradient's bands in
// the four directions (pixels and pattern copies); a golden picture of a decorated chart.
#include <gtest/gtest.h>

#include <set>

#include "base/Numbers.h"
#include "chart/Chart.h"
#include "platform/canvas/Bitmap.h"
#include "series/FastLineSeries.h"
#include "tests/chart/ChartTestSupport.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

// A flat chart without series and axes: the plot is (3, 3, 197, 97) before the titles.
struct TitleChart {
  TChart chart;
  TBitmap target{200, 100};
  TCanvasTrace trace;
  TitleChart() {
    test::ConfigureProgramChart(chart);
    chart.SetOffscreenDrawing(false);
  }
  void Paint() {
    trace.Clear();
    target.Canvas().SetTrace(&trace);
    chart.PaintTo(target.Canvas(), Rect(0, 0, 200, 100));
    target.Canvas().SetTrace(nullptr);
  }
  int LineHeight(const TFont& font) {
    chart.SelectFont(font);
    return chart.LineHeight();
  }
  int TextWidth(const TFont& font, const std::string& s) {
    chart.SelectFont(font);
    return chart.TextWidthOf(s);
  }
};

TEST(Title, VisibleTitlesTakeTheirLinesAndFivePixels) {
  TitleChart f;
  f.Paint();
  EXPECT_EQ(f.chart.PlotRect(), Rect(3, 3, 197, 97));  // the program's titles are invisible
  EXPECT_TRUE(test::TextsOf(f.trace).empty());

  f.chart.Title().SetVisible(true);
  f.chart.Foot().SetVisible(true);  // one empty line
  f.Paint();
  const int h = f.LineHeight(f.chart.Title().Font());
  const int hf = f.LineHeight(f.chart.Foot().Font());
  EXPECT_EQ(f.chart.PlotRect(), Rect(3, 3 + h + 5, 197, 97 - hf - 5));
  const auto outs = test::CallsOf(f.trace, "TextOut");
  ASSERT_EQ(outs.size(), 2u);
  EXPECT_EQ(outs[0].Text, "TChart");
  EXPECT_EQ(outs[0].Args, (std::vector<int>{100 - f.TextWidth(f.chart.Title().Font(), "TChart") / 2, 3}));
  EXPECT_EQ(outs[1].Args[1], 97 - hf);  // the foot's last line sits just above the bottom
  EXPECT_EQ(f.chart.Title().TitleRect(), Rect(3, 3, 197, 3 + h));

  // The title fonts are blue by default; only a font that differs is stored with the form.
  EXPECT_EQ(f.chart.Title().Font().Color(), clBlue);
  EXPECT_FALSE(f.chart.Title().IsFontStored());
  EXPECT_TRUE(f.chart.Foot().IsFontStored());  // the program's red italic foot
  EXPECT_FALSE(f.chart.Legend().IsFontStored());

  // No lines and no frame: no room taken.
  f.chart.Title().SetText({});
  f.chart.Foot().SetVisible(false);
  f.Paint();
  EXPECT_EQ(f.chart.PlotRect(), Rect(3, 3, 197, 97));
}

TEST(Title, LinesFollowTheAlignment) {
  TitleChart f;
  TChartTitle& foot = f.chart.Foot();
  foot.SetVisible(true);
  foot.SetText({"first", "second"});
  foot.SetAlignment(taRightJustify);
  f.Paint();
  const int h = f.LineHeight(foot.Font());
  const auto outs = test::CallsOf(f.trace, "TextOut");
  ASSERT_EQ(outs.size(), 2u);
  EXPECT_EQ(outs[0].Text, "first");
  EXPECT_EQ(outs[0].Args, (std::vector<int>{197 - f.TextWidth(foot.Font(), "first"), 97 - 2 * h}));
  EXPECT_EQ(outs[1].Args, (std::vector<int>{197 - f.TextWidth(foot.Font(), "second"), 97 - h}));
  EXPECT_EQ(f.chart.PlotRect().Bottom, 97 - 2 * h - 5);
  foot.SetAlignment(taLeftJustify);
  f.Paint();
  EXPECT_EQ(test::CallsOf(f.trace, "TextOut")[0].Args[0], 3);
}

TEST(Title, FramedTitles) {
  TitleChart f;
  TChartTitle& t = f.chart.Title();
  t.SetVisible(true);
  t.Frame().SetVisible(true);
  t.Frame().SetColor(clRed);
  t.Frame().SetWidth(2);
  t.Brush().SetColor(clYellow);
  const int h = f.LineHeight(t.Font());
  const int m = f.TextWidth(t.Font(), "TChart");
  // AdjustFrame false (the program's value): the frame spans the plot, grown by its width.
  t.SetAdjustFrame(false);
  f.Paint();
  auto rects = test::CallsOf(f.trace, "Rectangle");
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].Args, (std::vector<int>{3, 3, 197, 3 + 2 + h + 2}));
  EXPECT_EQ(rects[0].PenColor, clRed);
  EXPECT_EQ(rects[0].PenWidth, 2);
  EXPECT_EQ(rects[0].BrushColor, clYellow);
  EXPECT_EQ(test::CallsOf(f.trace, "TextOut")[0].Args[1], 5);
  EXPECT_EQ(f.chart.PlotRect().Top, 5 + h + 4 + 5);

  // AdjustFrame true and centred: 2w + m wide plus 2w on each side, around the plot's middle.
  t.SetAdjustFrame(true);
  f.Paint();
  rects = test::CallsOf(f.trace, "Rectangle");
  ASSERT_EQ(rects.size(), 1u);
  const int d = 4 + m;
  EXPECT_EQ(rects[0].Args, (std::vector<int>{100 - d / 2 - 4, 3, 100 + d / 2 + 4, 7 + h}));
  t.SetAlignment(taLeftJustify);
  f.Paint();
  EXPECT_EQ(test::CallsOf(f.trace, "Rectangle")[0].Args[2], 3 + d);

  // A frame in clAutoColor counts as no frame; the brush alone draws nothing.
  t.Frame().SetColor(clAutoColor);
  f.Paint();
  EXPECT_TRUE(test::CallsOf(f.trace, "Rectangle").empty());
  EXPECT_EQ(f.chart.PlotRect().Top, 3 + h + 5);
}

// Colour of one pixel as a TColor.
TColor PixelAt(TBitmap& bmp, int x, int y) { return bmp.Canvas().GetPixel(x, y); }

TEST(Gradient, OneBandPerRowUpTo256) {
  TChart chart;
  TChartGradient& g = chart.Gradient();
  TBitmap bmp(10, 100);
  TCanvasTrace trace;
  bmp.Canvas().SetTrace(&trace);
  g.Draw(bmp.Canvas(), Rect(0, 0, 10, 100));  // gdTopBottom, white to yellow
  const auto bands = test::CallsOf(trace, "PatBlt");
  ASSERT_EQ(bands.size(), 100u);
  for (const auto& b : bands) EXPECT_EQ(b.Args[3], 1);
  EXPECT_EQ(PixelAt(bmp, 5, 99), clWhite);
  EXPECT_EQ(PixelAt(bmp, 5, 0), clYellow);
  EXPECT_EQ(PixelAt(bmp, 0, 49), RGB(255, 255, 255 - MulDiv(50, 255, 99)));
  // The canvas's own brush is left as it was.
  EXPECT_EQ(bmp.Canvas().Brush().Color(), clWhite);

  g.SetDirection(gdBottomTop);
  g.Draw(bmp.Canvas(), Rect(0, 0, 10, 100));
  EXPECT_EQ(PixelAt(bmp, 5, 99), clYellow);
  EXPECT_EQ(PixelAt(bmp, 5, 0), clWhite);

  // 1000 columns: 256 bands of 3 or 4 pixels, end colour at the left, start colour at the right.
  TBitmap wide(1000, 4);
  wide.Canvas().SetTrace(&trace);
  trace.Clear();
  g.SetDirection(gdLeftRight);
  g.SetStartColor(clBlack);
  g.SetEndColor(clBlue);
  g.Draw(wide.Canvas(), Rect(0, 0, 1000, 4));
  const auto columns = test::CallsOf(trace, "PatBlt");
  ASSERT_EQ(columns.size(), 256u);
  int covered = 0;
  std::set<int> widths;
  for (const auto& c : columns) {
    widths.insert(c.Args[2]);
    covered += c.Args[2];
    EXPECT_EQ(c.Args[3], 4);
  }
  EXPECT_EQ(covered, 1000);
  EXPECT_EQ(widths, (std::set<int>{3, 4}));
  EXPECT_EQ(columns[0].Args[0] + columns[0].Args[2], 1000);  // band 0 at the right edge
  EXPECT_EQ(PixelAt(wide, 999, 0), clBlack);
  EXPECT_EQ(PixelAt(wide, 0, 0), clBlue);
  g.SetDirection(gdRightLeft);
  g.Draw(wide.Canvas(), Rect(0, 0, 1000, 4));
  EXPECT_EQ(PixelAt(wide, 0, 3), clBlack);

  // Inverted across the bands only: each band keeps its negative width, which covers columns
  // R .. L-1 (here 2..5), as a fill of that rectangle does; columns 1 and 6 stay as they were.
  TBitmap narrow(8, 4);
  narrow.Canvas().SetTrace(&trace);
  trace.Clear();
  g.SetDirection(gdTopBottom);
  g.Draw(narrow.Canvas(), Rect(6, 0, 2, 4));
  const auto inverted = test::CallsOf(trace, "PatBlt");
  ASSERT_EQ(inverted.size(), 4u);
  for (const auto& b : inverted) EXPECT_EQ(b.Args[2], -4);
  const TColor rowColors[4] = {clBlue, RGB(0, 0, MulDiv(2, 255, 3)), RGB(0, 0, MulDiv(1, 255, 3)), clBlack};
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(PixelAt(narrow, 1, y), clWhite);
    EXPECT_EQ(PixelAt(narrow, 6, y), clWhite);
    for (int x = 2; x <= 5; ++x) EXPECT_EQ(PixelAt(narrow, x, y), rowColors[y]) << x << "," << y;
  }
  g.SetDirection(gdRightLeft);

  // Nothing for an empty or inverted rectangle; one band of the first colour for one pixel.
  trace.Clear();
  g.Draw(wide.Canvas(), Rect(10, 0, 10, 4));
  g.Draw(wide.Canvas(), Rect(10, 0, 5, 4));
  EXPECT_TRUE(trace.Calls.empty());
  g.Draw(wide.Canvas(), Rect(10, 0, 11, 4));
  ASSERT_EQ(trace.Calls.size(), 1u);
  EXPECT_EQ(trace.Calls[0].BrushColor, clBlue);
}

TEST(Gradient, OnlyAVisibleGradientReplacesTheSolidBackground) {
  TitleChart f;
  f.chart.Gradient().SetDirection(gdTopBottom);  // invisible: nothing changes
  f.Paint();
  EXPECT_TRUE(test::CallsOf(f.trace, "PatBlt").empty());
  EXPECT_EQ(test::CallsOf(f.trace, "FillRect").size(), 1u);
  f.chart.Gradient().SetVisible(true);
  f.Paint();
  EXPECT_EQ(test::CallsOf(f.trace, "PatBlt").size(), 100u);
  EXPECT_TRUE(test::CallsOf(f.trace, "FillRect").empty());
}

TEST(Title, GoldenDecoratedChart) {
  // Not the program's chart: default margins and bevel, a gradient, a framed title, a foot,
  // a legend of series and a line whose points show their marks. The axes are left out: their
  // drawing is checked by their own pictures.
  TChart chart;
  chart.SetView3D(false);
  chart.SetAxisVisible(false);
  chart.Gradient().SetVisible(true);
  chart.Gradient().SetStartColor(0xFFE0C0);
  chart.Gradient().SetEndColor(clWhite);
  chart.Title().SetText({"Disk load", "last eight samples"});
  chart.Title().Frame().SetVisible(true);
  chart.Title().Frame().SetColor(clNavy);
  chart.Title().Brush().SetColor(clWhite);
  chart.Foot().SetText({"seconds"});
  chart.Foot().SetAlignment(taRightJustify);
  chart.Foot().Font().SetColor(clRed);
  chart.Legend().SetLegendStyle(lsSeries);
  TFastLineSeries s;
  s.SetTitle("sda");
  s.SetSeriesColor(clGreen);
  s.SetParentChart(&chart);
  const double values[] = {12, 30, 25, 41, 37, 18, 55, 47};
  for (int i = 0; i < 8; ++i) s.AppendY(values[i], i == 6 ? "peak" : "");
  s.Marks().SetVisible(true);
  TBitmap target(332, 190);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 332, 190));
  EXPECT_EQ(test::CompareWithGolden(target, "chart_decor_332x190"), "");
}

}  // namespace
}  // namespace varnel
