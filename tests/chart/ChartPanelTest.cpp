// The chart panel and its repaint pipeline: plot rectangle arithmetic, property rules and
// checks, the depth computation, the cached repaint and a failing repaint step.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "base/Exceptions.h"
#include "chart/Chart.h"
#include "chart/ChartWall.h"
#include "platform/BitmapHost.h"
#include "series/FastLineSeries.h"
#include "tests/chart/ChartTestSupport.h"

namespace varnel {
namespace {

// The plot rectangle before titles, legend, depth and axes take anything: a flat chart without
// axes and without series.
TRect BarePlotRect(TChart& chart, int w, int h) {
  chart.SetView3D(false);
  chart.SetAxisVisible(false);
  TBitmap target(w, h);
  chart.PaintTo(target.Canvas(), Rect(0, 0, w, h));
  return chart.PlotRect();
}

TEST(ChartPanel, PlotRectFromMarginsAndBorder) {
  {
    TChart chart;  // default margins of 3 percent, no border
    EXPECT_EQ(BarePlotRect(chart, 400, 250), Rect(12, 8, 388, 242));
    EXPECT_EQ(chart.PlotWidth(), 376);
    EXPECT_EQ(chart.PlotCenterY(), 125);
  }
  {
    TChart chart;
    test::ConfigureProgramChart(chart);  // margins 0, border 3
    EXPECT_EQ(BarePlotRect(chart, 332, 190), Rect(3, 3, 329, 187));
    EXPECT_EQ(BarePlotRect(chart, 100, 60), Rect(3, 3, 97, 57));
  }
  {
    TChart chart;  // margins and border cross over: never a negative size
    chart.SetBorderWidth(3);
    const TRect r = BarePlotRect(chart, 4, 4);
    EXPECT_EQ(r.Right, r.Left + 1);
    EXPECT_EQ(r.Bottom, r.Top + 1);
    EXPECT_EQ(chart.PlotWidth(), 1);
  }
}

// Pixels that differ between two pictures of one size (all of them when the sizes differ).
int DifferingPixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return a.Width() * a.Height() + 1;
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
  return n;
}

// A host whose surface is a back buffer takes the picture straight, and it is the picture the
// off-screen way gives, whatever tools the surface's canvas holds; the canvas gets its tools
// back. A 1-bit chart, a clipped canvas and a paint onto another canvas still go through
// OffscreenBitmap.
TEST(ChartPanel, ABackBufferTakesTheOffscreenPictureStraight) {
  TBitmapHost copyHost(332, 190), backBuffer(332, 190);
  backBuffer.SetBackBuffer(true);
  TChart viaCopy, straight;
  TFastLineSeries copySeries, straightSeries;
  for (auto [chart, series, host] : {std::tuple{&viaCopy, &copySeries, &copyHost}, {&straight, &straightSeries, &backBuffer}}) {
    test::ConfigureProgramChart(*chart);
    test::ConfigureProgramSeries(*chart, *series);
    chart->SetHost(host);
    host->OnPaint = [chart] { chart->Paint(); };
    // Whatever another drawing left on the surface's canvas.
    TCanvas& c = host->Surface().Canvas();
    c.Pen().SetWidth(7);
    c.Pen().SetStyle(psDot);
    c.Brush().SetStyle(bsDiagCross);
    c.Font().SetSize(30);
    c.Font().SetColor(clBlue);
    c.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    c.SetBkMode(OPAQUE);
    c.SetBkColor(clLime);
    c.MoveTo(300, 7);
  }
  const auto paintBoth = [&](const char* step) {
    SCOPED_TRACE(step);
    viaCopy.Invalidate();
    straight.Invalidate();
    copyHost.Flush();
    backBuffer.Flush();
    EXPECT_EQ(DifferingPixels(copyHost.Surface(), backBuffer.Surface()), 0);
  };
  const auto both = [&](auto change) {
    change(viaCopy, copySeries);
    change(straight, straightSeries);
  };
  paintBoth("first paint");
  EXPECT_EQ(straight.OffscreenBitmap(), nullptr);
  EXPECT_EQ(backBuffer.PresentCount(), 1);
  const TCanvas& after = backBuffer.Surface().Canvas();
  EXPECT_EQ(after.Pen().Width(), 7);
  EXPECT_EQ(after.Pen().Style(), psDot);
  EXPECT_EQ(after.Brush().Style(), bsDiagCross);
  EXPECT_EQ(after.Font().Size(), 30);
  EXPECT_EQ(after.Font().Color(), clBlue);
  EXPECT_EQ(after.TextAlign(), static_cast<unsigned>(TA_RIGHT | TA_BOTTOM));
  EXPECT_EQ(after.BkMode(), OPAQUE);
  EXPECT_EQ(after.BkColor(), clLime);
  EXPECT_EQ(after.PenPos(), (TPoint{300, 7}));
  EXPECT_FALSE(after.HasClip());

  both([](TChart&, TFastLineSeries& s) { s.Delete(0); s.AppendY(97, "", clAutoColor); });
  paintBoth("a new sample");
  both([](TChart& c, TFastLineSeries&) { c.SetView3D(true); c.SetAxisVisible(true); });
  paintBoth("3D with axes");
  both([](TChart& c, TFastLineSeries&) { c.Legend().SetVisible(false); c.SetColor(clWhite); });
  paintBoth("no legend, white");
  straight.Paint();  // nothing changed: painted again, the same
  EXPECT_EQ(DifferingPixels(copyHost.Surface(), backBuffer.Surface()), 0);
  both([](TChart& c, TFastLineSeries&) { c.SetMonochrome(true); });
  paintBoth("monochrome");
  ASSERT_NE(straight.OffscreenBitmap(), nullptr);
  EXPECT_TRUE(straight.OffscreenBitmap()->Monochrome());
  both([](TChart& c, TFastLineSeries&) { c.SetMonochrome(false); });
  paintBoth("colour again");
  EXPECT_EQ(straight.OffscreenBitmap(), nullptr);
  // A clip on the surface's canvas holds for the copy of the picture.
  for (TBitmapHost* host : {&copyHost, &backBuffer}) host->Surface().Canvas().SetClipRect(Rect(10, 10, 60, 40));
  both([](TChart& c, TFastLineSeries&) { c.SetColor(clYellow); });
  paintBoth("clipped");
  EXPECT_NE(straight.OffscreenBitmap(), nullptr);
  EXPECT_NE(backBuffer.Surface().Pixel(5, 5), clYellow);
  // Onto another canvas: through the off-screen picture.
  TBitmap other(332, 190), model(332, 190);
  straight.PaintTo(other.Canvas(), Rect(0, 0, 332, 190));
  viaCopy.PaintTo(model.Canvas(), Rect(0, 0, 332, 190));
  EXPECT_EQ(DifferingPixels(other, model), 0);
}

TEST(ChartPanel, DirectPaintUsesTheTargetRectangleAndStaysDirty) {
  TChart chart;
  test::ConfigureProgramChart(chart);
  chart.SetOffscreenDrawing(false);
  TBitmap target(400, 300);
  chart.PaintTo(target.Canvas(), Rect(50, 20, 250, 120));
  EXPECT_EQ(chart.PlotRect(), Rect(53, 23, 247, 117));
  EXPECT_TRUE(chart.NeedsRedraw());
  EXPECT_EQ(chart.OffscreenBitmap(), nullptr);
  EXPECT_EQ(&chart.DrawCanvas(), &chart.WindowCanvas());
}

TEST(ChartPanel, Chart3DPercentRange) {
  TChart chart;
  EXPECT_EQ(chart.Chart3DPercent(), 15);
  for (int bad : {0, -1, 101}) {
    try {
      chart.SetChart3DPercent(bad);
      FAIL() << bad << " accepted";
    } catch (const ChartException& e) {
      EXPECT_EQ(e.Message(), "3D effect percent must be between 1 and 100");
    }
    EXPECT_EQ(chart.Chart3DPercent(), 15);
  }
  chart.SetChart3DPercent(100);
  EXPECT_EQ(chart.Chart3DPercent(), 100);
  EXPECT_THROW(chart.SetChart3DPercent(101), ChartException);
  EXPECT_EQ(chart.Chart3DPercent(), 100);
}

TEST(ChartPanel, PropertyRuleInvalidatesOnlyOnChange) {
  TChart chart;
  TBitmapHost host(100, 80);
  chart.SetHost(&host);
  const int before = host.InvalidateCount();
  chart.SetColor(chart.Color());
  chart.SetView3D(chart.View3D());
  chart.LeftAxis().SetMaximum(chart.LeftAxis().Maximum());
  chart.Legend().SetVisible(true);
  EXPECT_EQ(host.InvalidateCount(), before);
  chart.SetColor(clRed);
  EXPECT_EQ(host.InvalidateCount(), before + 1);
  chart.LeftAxis().Grid().SetColor(clBlue);  // an owned pen
  chart.Legend().Font().SetSize(10);         // an owned font
  EXPECT_EQ(host.InvalidateCount(), before + 3);
  EXPECT_TRUE(chart.NeedsRedraw());
}

TEST(ChartPanel, DepthComputation) {
  TChart chart;
  chart.SetPlotRect(Rect(0, 0, 400, 300));
  chart.SetMaxDepthLevel(0);  // one active series
  EXPECT_EQ(ComputeDepth(chart), 1);
  EXPECT_EQ(chart.LevelDX(), 6);
  EXPECT_EQ(chart.LevelDY(), 4);  // 300 x 0.015 lies just below 4.5
  EXPECT_EQ(chart.DepthDX(), 6);
  EXPECT_EQ(chart.DepthDY(), 4);

  chart.SetMaxDepthLevel(2);  // three series: three levels deep
  EXPECT_EQ(ComputeDepth(chart), 3);
  EXPECT_EQ(chart.DepthDX(), 18);
  chart.SetMaxDepthLevel(-1);  // no series: still one level
  EXPECT_EQ(ComputeDepth(chart), 1);
  chart.SetMaxDepthLevel(2);
  chart.SetSeriesInDepth(false);
  EXPECT_EQ(ComputeDepth(chart), 1);
  EXPECT_EQ(chart.DepthDY(), 4);

  chart.SetChart3DPercent(1);
  chart.SetPlotRect(Rect(0, 0, 40, 300));
  ComputeDepth(chart);
  EXPECT_EQ(chart.LevelDX(), 0);

  chart.SetView3D(false);
  EXPECT_EQ(ComputeDepth(chart), 0);
  EXPECT_EQ(chart.DepthDX(), 0);
  EXPECT_EQ(chart.LevelDY(), 0);
}

TEST(ChartPanel, UnchangedPaintOnlyCopiesAndChangesCostOneRepaint) {
  TChart chart;
  test::ConfigureProgramChart(chart);
  TBitmapHost host(332, 190);
  chart.SetHost(&host);
  host.OnPaint = [&] { chart.Paint(); };
  int renders = 0;
  chart.OnAfterDraw = [&](TCustomAxisPanel*) { ++renders; };

  host.Flush();
  EXPECT_EQ(renders, 1);
  EXPECT_FALSE(chart.NeedsRedraw());
  ASSERT_NE(chart.OffscreenBitmap(), nullptr);
  const TBitmap* bitmap = chart.OffscreenBitmap();
  EXPECT_EQ(bitmap->Width(), 332);
  EXPECT_EQ(host.PresentCount(), 1);

  // Uncovered without a change: one plain copy of the cached picture, nothing drawn.
  TCanvasTrace trace;
  host.Surface().Canvas().SetTrace(&trace);
  chart.Paint();
  host.Surface().Canvas().SetTrace(nullptr);
  EXPECT_EQ(renders, 1);
  EXPECT_EQ(trace.Ops(), std::vector<std::string>{"Draw"});
  EXPECT_EQ(host.PresentCount(), 2);

  // Two changes before the paint: one repaint, into the same bitmap.
  chart.SetColor(clWhite);
  chart.LeftAxis().SetMaximum(50);
  host.Flush();
  host.Flush();
  EXPECT_EQ(renders, 2);
  EXPECT_EQ(chart.OffscreenBitmap(), bitmap);
  EXPECT_EQ(chart.PlotRect(), Rect(3, 3, 329, 187));

  // A new size resizes the kept bitmap.
  host.Resize(200, 100);
  chart.Invalidate();
  host.Flush();
  EXPECT_EQ(chart.OffscreenBitmap(), bitmap);
  EXPECT_EQ(bitmap->Width(), 200);
  EXPECT_EQ(bitmap->Height(), 100);
  // Resized without an invalidation: the cached picture no longer fits and is drawn afresh.
  const int before = renders;
  host.Resize(210, 100);
  chart.Paint();
  EXPECT_EQ(renders, before + 1);
  EXPECT_EQ(bitmap->Width(), 210);
}

// A handler that changes the chart while it is drawn (here: takes a series out of the legend
// once it sees the legend's place) asks for another paint; on a host whose picture the chart
// composes off screen, that paint draws the chart as it now is instead of copying the picture
// of the paint before. An ordinary paint asks for none, so there is no loop of paints.
TEST(ChartPanel, AChangeMadeWhileDrawingIsDrawnByTheNextPaint) {
  // The program's chart with a second, blue line.
  struct TTwoLines {
    TChart Chart;
    TFastLineSeries Total, Second;
    TTwoLines() {
      test::ConfigureProgramChart(Chart);
      test::ConfigureProgramSeries(Chart, Total);
      test::ConfigureProgramSeries(Chart, Second);
      Second.SetSeriesColor(clBlue);
    }
  };
  TBitmapHost host(332, 190);  // outlives the chart and its series, which tell it of changes
  TTwoLines lines;
  TChart& chart = lines.Chart;
  chart.SetHost(&host);
  host.OnPaint = [&] { chart.Paint(); };
  host.Flush();
  EXPECT_FALSE(host.Invalidated());
  EXPECT_FALSE(chart.NeedsRedraw());

  int legendLayouts = 0;
  chart.OnGetLegendRect = [&](TCustomChart*, TRect&) {
    if (++legendLayouts == 1) lines.Second.SetShowInLegend(false);
  };
  chart.Invalidate();
  host.Flush();
  EXPECT_TRUE(host.Invalidated()) << "the change asked for another paint";
  host.Flush();
  EXPECT_EQ(legendLayouts, 2);
  EXPECT_FALSE(host.Invalidated());

  // The same chart drawn once with the second series out of the legend from the start.
  TTwoLines model;
  TChart& expected = model.Chart;
  model.Second.SetShowInLegend(false);
  TBitmap picture(332, 190);
  expected.PaintTo(picture.Canvas(), Rect(0, 0, 332, 190));
  int differing = 0;
  for (int y = 0; y < 190; ++y)
    for (int x = 0; x < 332; ++x) differing += host.Surface().PixelWord(x, y) != picture.PixelWord(x, y);
  EXPECT_EQ(differing, 0);
}

TEST(ChartPanel, FailedStepLeavesTheChartReadyToRepaint) {
  TChart chart;
  test::ConfigureProgramChart(chart);
  chart.SetAxisVisible(true);
  TBitmapHost host(332, 190);
  chart.SetHost(&host);
  chart.OnGetAxisLabel = [](TChartAxis*, TChartSeries*, int, std::string&) { throw std::runtime_error("label"); };
  EXPECT_THROW(chart.Paint(), std::runtime_error);
  EXPECT_TRUE(chart.NeedsRedraw());
  EXPECT_EQ(&chart.DrawCanvas(), &chart.WindowCanvas());
  EXPECT_EQ(&chart.DrawCanvas(), host.WindowCanvas());
  EXPECT_EQ(host.PresentCount(), 0);

  chart.OnGetAxisLabel = nullptr;
  int renders = 0;
  chart.OnAfterDraw = [&](TCustomAxisPanel*) { ++renders; };
  chart.Paint();
  EXPECT_EQ(renders, 1);
  EXPECT_FALSE(chart.NeedsRedraw());
  EXPECT_EQ(host.PresentCount(), 1);
}

TEST(ChartPanel, AxisShownWithoutSeries) {
  TChart chart;
  for (const TChartAxis* a : {&chart.LeftAxis(), &chart.RightAxis(), &chart.TopAxis(), &chart.BottomAxis()})
    EXPECT_TRUE(chart.AxisShown(*a));
  chart.TopAxis().SetVisible(false);
  EXPECT_FALSE(chart.AxisShown(chart.TopAxis()));
  chart.SetAxisVisible(false);
  EXPECT_FALSE(chart.AxisShown(chart.LeftAxis()));

  // Axes off give their room to the plot; on, the left and bottom axes take theirs.
  test::ConfigureProgramChart(chart);
  TBitmap target(332, 190);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 332, 190));
  const TRect off = chart.PlotRect();
  chart.SetAxisVisible(true);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 332, 190));
  const TRect on = chart.PlotRect();
  EXPECT_GT(on.Left, off.Left);
  EXPECT_LT(on.Bottom, off.Bottom);
  EXPECT_EQ(on.Top, off.Top);      // top and right axes hidden
  EXPECT_EQ(on.Right, off.Right);
}

TEST(ChartPanel, DrawingOrderOfARepaint) {
  TChart chart;
  test::ConfigureProgramChart(chart);
  TFastLineSeries series;
  test::ConfigureProgramSeries(chart, series, 10);
  chart.SetAxisVisible(true);
  chart.Legend().SetVisible(false);
  chart.SetOffscreenDrawing(false);
  TBitmap target(332, 190);
  TCanvasTrace trace;
  target.Canvas().SetTrace(&trace);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 332, 190));
  // Background first, then the axes (labels, grid, axis lines), the series line last.
  ASSERT_FALSE(trace.Calls.empty());
  EXPECT_EQ(trace.Calls.front().Op, "FillRect");
  std::size_t lastAxis = 0;
  std::size_t firstLine = trace.Calls.size();
  for (std::size_t i = 0; i < trace.Calls.size(); ++i) {
    const TCanvasCall& c = trace.Calls[i];
    if (c.Op == "TextOut" || (c.Op == "LineTo" && c.PenColor != clMaroon)) lastAxis = i;
    if (c.Op == "LineTo" && c.PenColor == clMaroon) firstLine = std::min(firstLine, i);
  }
  EXPECT_LT(lastAxis, firstLine);
  int segments = 0;
  for (const auto& seg : test::SegmentsOf(trace))
    if (seg.Color == clMaroon) ++segments;
  EXPECT_EQ(segments, 9);  // ten points, one polyline from the first to the last
  // The line runs from the plot's left edge to its right edge.
  const auto line = test::SegmentsOf(trace);
  std::vector<test::TSegment> maroon;
  for (const auto& seg : line)
    if (seg.Color == clMaroon) maroon.push_back(seg);
  EXPECT_EQ(maroon.front().X0, chart.PlotRect().Left);
  EXPECT_EQ(maroon.back().X1, chart.PlotRect().Right);
}

TEST(ChartPanel, BackFaceAndPanelOutlines) {
  TChart chart;
  chart.SetView3D(false);
  chart.SetAxisVisible(false);
  chart.SetBevelWidth(2);
  chart.SetBevelOuter(bvLowered);
  chart.Frame().SetVisible(false);
  TBitmap target(100, 80);
  TCanvasTrace trace;
  chart.SetOffscreenDrawing(false);
  target.Canvas().SetTrace(&trace);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 100, 80));
  // No frame and no back colour: no back face.
  EXPECT_TRUE(test::CallsOf(trace, "Rectangle").empty());
  // A lowered bevel of width 2: two outlines, shadow on top and left, highlight below.
  const auto segments = test::SegmentsOf(trace);
  ASSERT_GE(segments.size(), 8u);
  EXPECT_EQ(segments[0].X0, 0);
  EXPECT_EQ(segments[0].Y0, 79);
  EXPECT_EQ(segments[0].Color, clBtnShadow);
  EXPECT_EQ(segments[2].Color, clBtnHighlight);
  EXPECT_EQ(segments[3].X1, -1);
  EXPECT_EQ(segments[4].Y0, 78);  // the second outline, one pixel in

  trace.Clear();
  chart.SetBackColor(clWhite);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 100, 80));
  const auto rects = test::CallsOf(trace, "Rectangle");
  ASSERT_EQ(rects.size(), 1u);
  const TRect p = chart.PlotRect();
  EXPECT_EQ(rects[0].Args, (std::vector<int>{p.Left, p.Top, p.Right + 1, p.Bottom}));
  EXPECT_EQ(rects[0].BrushColor, clWhite);
  EXPECT_EQ(rects[0].PenStyle, psClear);

  // A visible frame of the automatic colour outlines it in black (white on a black panel).
  trace.Clear();
  chart.Frame().SetVisible(true);
  chart.Frame().SetColor(clAutoColor);
  chart.SetColor(clBlack);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 100, 80));
  const auto framed = test::CallsOf(trace, "Rectangle");
  ASSERT_EQ(framed.size(), 1u);
  EXPECT_EQ(framed[0].PenColor, clWhite);
  EXPECT_EQ(framed[0].PenStyle, psSolid);
}

// The margin step hands every axis its series' margins, zero ones too: the axis then takes its
// shown range from the values at the plot's edges. For a vertical axis the bottom edge gives
// Maximum - PlotHeight x range / PlotHeight, which for 0.1..0.8 is not 0.1 in doubles.
TEST(ChartPanel, ZeroSeriesMarginsStillReachTheAxes) {
  TChart chart;
  chart.SetView3D(false);
  chart.SetAxisVisible(false);
  TFastLineSeries series;
  chart.AddSeries(&series);
  for (int i = 0; i < 10; ++i) series.AppendY(0.1 * i);
  chart.LeftAxis().SetRange(0.1, 0.8);
  TBitmap target(400, 250);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 400, 250));
  const double range = 0.8 - 0.1;
  const int h = chart.PlotHeight();
  EXPECT_EQ(chart.LeftAxis().ShownMaximum(), 0.8);
  EXPECT_EQ(chart.LeftAxis().ShownMinimum(), 0.8 - (h * range) / h);
  EXPECT_NE(chart.LeftAxis().ShownMinimum(), 0.1);  // the case is one where the two differ
}

// A flat chart without axes or frame, in the panel colour, with the given bevels and border,
// painted on a picture of w x h.
TBitmap PaintedFrames(TColor panel, int w, int h, int bevelWidth, int borderWidth, TPanelBevel outer,
                      TPanelBevel inner) {
  TChart chart;
  chart.SetView3D(false);
  chart.SetAxisVisible(false);
  chart.SetColor(panel);
  chart.SetBevelWidth(bevelWidth);
  chart.SetBorderWidth(borderWidth);
  chart.SetBevelOuter(outer);
  chart.SetBevelInner(inner);
  chart.Frame().SetVisible(false);
  TBitmap target(w, h);
  chart.PaintTo(target.Canvas(), Rect(0, 0, w, h));
  return target;
}

// The panel's frames, worked inward: outer bevel, border in the panel colour, inner bevel. On
// ring k of a W x H panel a bevel pixel takes its bottom colour on column W-1-k and row H-1-k,
// its top colour on the rest of the ring; lowered has the shadow on top, raised the highlight.
TEST(ChartPanel, BevelsRaisedAndLowered) {
  const TColor panel = RGB(10, 20, 30);
  const int W = 40, H = 30;
  for (const TPanelBevel outer : {bvLowered, bvRaised, bvNone}) {
    for (const TPanelBevel inner : {bvLowered, bvRaised, bvNone}) {
      const TBitmap target = PaintedFrames(panel, W, H, 2, 1, outer, inner);
      // The ring each frame pixel belongs to, and its bevel.
      std::vector<TPanelBevel> rings;
      for (int i = 0; i < 2 && outer != bvNone; ++i) rings.push_back(outer);
      rings.push_back(bvNone);  // the border
      for (int i = 0; i < 2 && inner != bvNone; ++i) rings.push_back(inner);
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
          const int k = std::min({x, y, W - 1 - x, H - 1 - y});
          TColor want = panel;
          if (k < static_cast<int>(rings.size()) && rings[k] != bvNone) {
            const bool bottom = x == W - 1 - k || y == H - 1 - k;
            const bool shadowOnTop = rings[k] == bvLowered;
            want = ColorToRGB(bottom == shadowOnTop ? clBtnHighlight : clBtnShadow);
          }
          ASSERT_EQ(target.Pixel(x, y), want) << outer << "/" << inner << " at " << x << "," << y;
        }
    }
  }
}

// A bevel of any width, up to the int range's end, is drawn in a time bounded by the picture:
// once its outlines, which keep moving after they cross, have left the picture, no later one
// paints a pixel. The model draws each outline by the line rule (the last pixel of a line left
// out) for as many outlines as it takes to leave a picture of this size.
TEST(ChartPanel, ABevelOfAnyWidthEndsWhereItsOutlinesLeaveThePicture) {
  const TColor panel = RGB(10, 20, 30);
  const int W = 23, H = 14;
  for (const int width : {W / 2, W + 3, INT_MAX}) {
    const TBitmap target = PaintedFrames(panel, W, H, width, 0, bvRaised, bvNone);

    std::vector<TColor> model(static_cast<std::size_t>(W * H), panel);
    const auto line = [&](int x0, int y0, int x1, int y1, TColor color) {
      const int dx = (x1 > x0) - (x1 < x0), dy = (y1 > y0) - (y1 < y0);
      for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy)
        if (x >= 0 && x < W && y >= 0 && y < H) model[static_cast<std::size_t>(y * W + x)] = ColorToRGB(color);
    };
    int l = 0, t = 0, r = W - 1, b = H - 1;
    for (int i = 0; i < std::min(width, 2 * (W + H)); ++i, ++l, ++t, --r, --b) {
      line(l, b, l, t, clBtnHighlight);
      line(l, t, r, t, clBtnHighlight);
      line(r, t, r, b, clBtnShadow);
      line(r, b, l - 1, b, clBtnShadow);
    }
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        ASSERT_EQ(target.Pixel(x, y), model[static_cast<std::size_t>(y * W + x)]) << width << " at " << x << "," << y;
  }
}

// Lengths at the ends of the int range (borders, bevels, margins, ticks, titles, legend margins
// and shadow, walls, mark arrows, pens) give a picture without a hang or an overflow (the
// sanitizer build runs this test too): lengths are kept within a million pixels, margins within
// a hundred panels, minor ticks within a thousand, and a mark of a point that far out is left out.
TEST(ChartPanel, LengthsAtTheEndsOfTheIntRangeStillPaint) {
  for (const int v : {INT_MAX, INT_MIN}) {
    TChart chart;
    test::ConfigureProgramChart(chart);
    TFastLineSeries series;
    test::ConfigureProgramSeries(chart, series);
    series.AppendY(1e300);
    series.Marks().SetVisible(true);
    series.Marks().SetArrowLength(v);
    series.Marks().Frame().SetWidth(v);
    chart.SetAxisVisible(true);
    chart.SetView3D(true);
    chart.SetBorderWidth(v);
    chart.SetBevelWidth(v);
    chart.SetBevelInner(bvRaised);
    chart.SetMarginLeft(v);
    chart.SetMarginBottom(v);
    for (TChartAxis* axis : {&chart.LeftAxis(), &chart.BottomAxis()}) {
      axis->SetTickLength(v);
      axis->SetTickInnerLength(v);
      axis->SetMinorTickLength(v);
      axis->SetMinorTickCount(v);
      axis->SetTitleSize(v);
      axis->SetLabelsSize(v);
      axis->Axis().SetWidth(v);
      axis->Title().SetCaption("Load");
    }
    chart.Legend().SetHorizMargin(v);
    chart.Legend().SetVertMargin(v);
    chart.Legend().SetShadowSize(v);
    chart.LeftWall().SetSize(v);
    chart.BottomWall().SetSize(v);
    chart.Title().SetText({"Title"});
    chart.Title().SetVisible(true);
    TBitmap target(120, 90);
    chart.PaintTo(target.Canvas(), Rect(0, 0, 120, 90));
    EXPECT_EQ(chart.LeftAxis().MinorTickCount(), v > 0 ? TChartAxis::kMaxMinorTicks : v);
  }
}

// A monochrome chart draws into a 1-bit picture: black and white stay, and any other colour
// becomes the opposite of the entry nearer the background colour of that moment. A solid fill
// sets the background colour to its own, so a light panel colour fills black; a yellow line on
// a white panel draws black (its brightness alone would have made it white).
TEST(ChartPanel, MonochromeDrawsInBlackAndWhite) {
  TChart chart;
  chart.SetView3D(false);
  chart.SetAxisVisible(false);
  chart.Legend().SetVisible(false);
  chart.SetBevelOuter(bvNone);
  chart.Frame().SetVisible(false);
  TFastLineSeries series;
  series.SetSeriesColor(clYellow);
  chart.AddSeries(&series);
  for (int i = 0; i < 10; ++i) series.AppendY(50);
  chart.SetMonochrome(true);
  TBitmap target(100, 80);
  chart.SetColor(clWhite);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 100, 80));
  ASSERT_NE(chart.OffscreenBitmap(), nullptr);
  EXPECT_TRUE(chart.OffscreenBitmap()->Monochrome());
  const int lineY = chart.PlotRect().Top + chart.PlotHeight() / 2;
  int black = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) {
      const TColor c = target.Pixel(x, y);
      ASSERT_TRUE(c == clBlack || c == clWhite) << x << "," << y;
      if (c == clBlack) {
        ++black;
        EXPECT_LE(std::abs(y - lineY), 1) << x << "," << y;
      }
    }
  EXPECT_GT(black, 50);
  chart.SetColor(clSilver);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 100, 80));
  EXPECT_EQ(target.Pixel(2, 2), clBlack);
  chart.SetMonochrome(false);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 100, 80));
  EXPECT_FALSE(chart.OffscreenBitmap()->Monochrome());
  EXPECT_EQ(target.Pixel(2, 2), clSilver);
}

}  // namespace
}  // namespace varnel
