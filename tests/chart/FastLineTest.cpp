// The fast line series: its move-to/line-to sequence (through the canvas trace), the entry from
// the point before the first visible one, the pen and colour kept together, the hit test, the
// legend symbol, and a differential check of its pixels against a plain polyline.
#include <gtest/gtest.h>

#include <random>

#include "chart/Chart.h"
#include "platform/BitmapHost.h"
#include "series/FastLineSeries.h"

namespace varnel {
namespace {

// A 2D chart with plot (0, 0, 100, 100) and both axes 0..100: the point (x, y) is drawn at pixel
// (x, 100 - y).
struct LineFixture {
  TBitmapHost host{200, 200};
  TChart chart;
  TFastLineSeries line;
  TCanvasTrace trace;
  LineFixture() {
    chart.SetHost(&host);
    chart.SetView3D(false);
    line.SetParentChart(&chart);
    line.SetSeriesColor(clMaroon);
    Layout(0, 100, 0, 100);
  }
  void Layout(double xMin, double xMax, double yMin, double yMax, TRect plot = Rect(0, 0, 100, 100)) {
    chart.SetPlotRect(plot);
    chart.BottomAxis().SetRange(xMin, xMax);
    chart.BottomAxis().AdjustRange();
    chart.LeftAxis().SetRange(yMin, yMax);
    chart.LeftAxis().AdjustRange();
  }
  TCanvas& Canvas() { return host.Surface().Canvas(); }
  void Draw() {
    Canvas().SetTrace(&trace);
    line.DrawAllPoints();
    Canvas().SetTrace(nullptr);
  }
};

TEST(FastLine, Defaults) {
  TFastLineSeries s;
  EXPECT_TRUE(s.IncludeEdgePoint());
  EXPECT_FALSE(s.DrawsSinglePoint());
  EXPECT_EQ(s.LinePen().Color(), clBlack);
  EXPECT_EQ(s.LinePen().Width(), 1);
  EXPECT_TRUE(s.LinePen().Visible());
}

TEST(FastLine, SkipsSegmentsEndingOnThePreviousPixel) {
  LineFixture f;
  f.line.LinePen().SetWidth(2);
  f.line.AppendXY(10, 50, "", clAutoColor);
  f.line.AppendXY(20, 60, "", clAutoColor);
  f.line.AppendXY(20, 60, "", clAutoColor);
  f.line.FindVisibleRange();
  ASSERT_EQ(f.line.FirstShownIndex(), 0);
  f.Draw();
  ASSERT_EQ(f.trace.Ops(), (std::vector<std::string>{"MoveTo", "LineTo"}));
  EXPECT_EQ(f.trace.Calls[0].Args, (std::vector<int>{10, 50}));
  EXPECT_EQ(f.trace.Calls[1].Args, (std::vector<int>{20, 40}));
  EXPECT_EQ(f.trace.Calls[1].PenColor, clMaroon);
  EXPECT_EQ(f.trace.Calls[1].PenWidth, 2);
}

TEST(FastLine, EntersFromThePointBeforeTheFirstVisibleOne) {
  LineFixture f;
  for (int i = 0; i < 10; ++i) f.line.AppendY(i * 10);
  f.line.SetShownRange(5, 7);
  f.Draw();
  ASSERT_EQ(f.trace.Ops(), (std::vector<std::string>{"MoveTo", "LineTo", "LineTo", "LineTo"}));
  EXPECT_EQ(f.trace.Calls[0].Args, (std::vector<int>{4, 60}));
  EXPECT_EQ(f.trace.Calls[1].Args, (std::vector<int>{5, 50}));
  EXPECT_EQ(f.trace.Calls[3].Args, (std::vector<int>{7, 30}));
  // One point draws nothing but the pen position.
  f.trace.Clear();
  f.line.Clear();
  f.line.AppendY(50);
  f.line.FindVisibleRange();
  f.Draw();
  EXPECT_EQ(f.trace.Ops(), (std::vector<std::string>{"MoveTo"}));
}

TEST(FastLine, PointsDrawnOneByOneContinueTheirOwnLine) {
  LineFixture f;
  for (int i = 0; i < 3; ++i) f.line.AppendY(i * 10);
  f.line.SetShownRange(0, 2);
  f.Canvas().SetTrace(&f.trace);
  for (int i = 0; i <= 2; ++i) {
    f.line.DrawPoint(i);
    f.Canvas().MoveTo(99, 99);  // another series drawing in between
  }
  f.Canvas().SetTrace(nullptr);
  std::vector<std::vector<int>> lines;
  for (const auto& c : f.trace.Calls)
    if (c.Op == "LineTo") {
      EXPECT_EQ(c.PenColor, clMaroon);
      lines.push_back(c.Args);
    }
  EXPECT_EQ(lines, (std::vector<std::vector<int>>{{1, 90}, {2, 80}}));
  EXPECT_EQ(f.trace.Calls[2].Op, "MoveTo");  // back to its own last pixel
  EXPECT_EQ(f.trace.Calls[2].Args, (std::vector<int>{0, 100}));
}

TEST(FastLine, PenAndSeriesColourStayTogether) {
  LineFixture f;
  int before = f.host.InvalidateCount();
  f.line.SetSeriesColor(clRed);
  EXPECT_EQ(f.line.LinePen().Color(), clRed);
  EXPECT_GT(f.host.InvalidateCount(), before);

  TChartPen blue;
  blue.SetColor(clBlue);
  blue.SetWidth(3);
  blue.SetVisible(false);
  before = f.host.InvalidateCount();
  f.line.SetLinePen(blue);
  EXPECT_EQ(f.line.SeriesColor(), clBlue);
  EXPECT_EQ(f.line.LinePen().Width(), 3);
  EXPECT_FALSE(f.line.LinePen().Visible());
  EXPECT_GT(f.host.InvalidateCount(), before);

  // A colour given to the pen itself only repaints: the line keeps the series colour.
  before = f.host.InvalidateCount();
  f.line.LinePen().SetColor(clGreen);
  EXPECT_EQ(f.line.SeriesColor(), clBlue);
  EXPECT_GT(f.host.InvalidateCount(), before);

  // A hidden pen still draws: the fast line uses only its attributes.
  f.line.AppendY(10);
  f.line.AppendY(20);
  f.line.FindVisibleRange();
  f.Draw();
  ASSERT_EQ(f.trace.Ops(), (std::vector<std::string>{"MoveTo", "LineTo"}));
  EXPECT_EQ(f.trace.Calls[1].PenColor, clBlue);
  EXPECT_EQ(f.trace.Calls[1].PenWidth, 3);
}

TEST(FastLine, AssignCopiesTheLinePen) {
  TFastLineSeries a, b;
  a.LinePen().SetWidth(2);
  a.SetSeriesColor(clNavy);
  a.AppendY(3);
  b.Assign(a);
  EXPECT_EQ(b.LinePen().Width(), 2);
  EXPECT_EQ(b.SeriesColor(), clNavy);
  EXPECT_EQ(b.LinePen().Color(), clNavy);
  EXPECT_EQ(b.Count(), 1);
}

TEST(FastLine, PointAtPixelFindsPointsAndSegments) {
  LineFixture f;
  EXPECT_EQ(f.line.PointAtPixel(10, 50), -1);  // nothing shown
  f.line.AppendXY(10, 50, "", clAutoColor);   // pixel (10, 50)
  f.line.AppendXY(20, 60, "", clAutoColor);   // pixel (20, 40)
  f.line.AppendXY(40, 60, "", clAutoColor);   // pixel (40, 40)
  f.line.FindVisibleRange();
  EXPECT_EQ(f.line.PointAtPixel(10, 50), 0);
  EXPECT_EQ(f.line.PointAtPixel(20, 40), 1);
  EXPECT_EQ(f.line.PointAtPixel(15, 45), 0);  // on the first segment
  EXPECT_EQ(f.line.PointAtPixel(30, 40), 1);  // on the horizontal one
  EXPECT_EQ(f.line.PointAtPixel(15, 50), -1);
  EXPECT_EQ(f.line.PointAtPixel(45, 40), -1);  // beyond the end
  EXPECT_EQ(f.line.PointAtPixel(30, 41), -1);
}

TEST(FastLine, LegendSymbolIsALineAcrossTheBox) {
  LineFixture f;
  f.line.LinePen().SetWidth(2);
  f.Canvas().SetTrace(&f.trace);
  f.line.DrawLegendSymbol(-1, Rect(4, 10, 31, 21));
  f.Canvas().SetTrace(nullptr);
  ASSERT_EQ(f.trace.Ops(), (std::vector<std::string>{"MoveTo", "LineTo"}));
  EXPECT_EQ(f.trace.Calls[0].Args, (std::vector<int>{4, 15}));
  EXPECT_EQ(f.trace.Calls[1].Args, (std::vector<int>{31, 15}));
  EXPECT_EQ(f.trace.Calls[1].PenColor, clMaroon);
  EXPECT_EQ(f.trace.Calls[1].PenWidth, 2);
}

// The pass maps values itself; on seeded random data, ranges, inverted axes and a depth shift its
// move-to and line-to points are exactly XPixelOf/YPixelOf of the points, repeats taken out.
TEST(FastLine, PassPointsEqualTheSeriesPixels) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    LineFixture f;
    const int n = 2 + static_cast<int>(rng() % 300);
    for (int i = 0; i < n; ++i) f.line.AppendY(static_cast<double>(static_cast<int>(rng() % 20001) - 10000) / 37.0);
    const double from = static_cast<double>(rng() % static_cast<unsigned>(n)) - 0.5 * (rng() % 3);
    const double to = from + 0.25 + static_cast<double>(rng() % static_cast<unsigned>(n));
    f.chart.BottomAxis().SetInverted(rng() % 2 == 0);
    f.chart.LeftAxis().SetInverted(rng() % 2 == 0);
    f.Layout(from, to, -300, 250 + static_cast<double>(rng() % 100) / 3.0, Rect(3, 7, 3 + static_cast<int>(rng() % 500), 400));
    if (rng() % 2) {
      f.chart.SetView3D(true);
      f.chart.SetDepthOffsets(5, 4, 0, 0);
      f.line.SetDepthLevel(static_cast<int>(rng() % 3));
    }
    f.line.FindVisibleRange();
    if (f.line.FirstShownIndex() < 0) continue;
    f.Draw();
    std::vector<TPoint> want;
    for (int i = std::max(0, f.line.FirstShownIndex() - 1); i <= f.line.LastShownIndex(); ++i) {
      const TPoint p{f.line.XPixelOf(i), f.line.YPixelOf(i)};
      if (want.empty() || !(want.back() == p)) want.push_back(p);
    }
    std::vector<TPoint> got;
    for (const auto& c : f.trace.Calls) {
      ASSERT_EQ(c.Op, got.empty() ? "MoveTo" : "LineTo");
      got.push_back(TPoint{c.Args[0], c.Args[1]});
    }
    ASSERT_EQ(got, want) << "round " << round;
  }
}

// An automatic axis over values that are all the same spans no range: the axis puts every point
// on the plot's centre line, and so must the line.
TEST(FastLine, AFlatAutomaticAxisDrawsOnTheCentre) {
  LineFixture f;
  for (int i = 0; i < 600; ++i) f.line.AppendY(42);
  f.chart.LeftAxis().SetAutomatic(true);
  f.chart.LeftAxis().AdjustRange();
  f.line.SetShownRange(0, f.line.Count() - 1);
  f.Draw();
  ASSERT_FALSE(f.trace.Calls.empty());
  for (const auto& call : f.trace.Calls) EXPECT_EQ(call.Args[1], f.line.YPixelOf(0)) << call.Op << " " << call.Args[0];
  EXPECT_EQ(f.line.YPixelOf(0), 50);  // the centre of the 0..100 plot
}

// Values that land halfway between two pixels (or a rounding error away) must round as the axis
// rounds them.
TEST(FastLine, HalfwayValuesRoundLikeTheAxis) {
  const struct {
    int width;
    double range;
  } cases[] = {{100, 1000}, {7, 30}, {1920, 86399}, {333, 0.1}, {64, 3}};
  for (const auto& c : cases) {
    LineFixture f;
    for (int k = 0; k < 400; ++k) f.line.AppendXY((k * 0.5) * c.range / c.width, (k % 7) * 0.5, "", clAutoColor);
    f.Layout(0, c.range, 0, 3, Rect(0, 0, c.width, 6));
    f.line.SetShownRange(0, f.line.Count() - 1);
    f.Draw();
    std::vector<TPoint> want;
    for (int i = 0; i < f.line.Count(); ++i) {
      const TPoint p{f.line.XPixelOf(i), f.line.YPixelOf(i)};
      if (want.empty() || !(want.back() == p)) want.push_back(p);
    }
    std::vector<TPoint> got;
    for (const auto& call : f.trace.Calls) got.push_back(TPoint{call.Args[0], call.Args[1]});
    EXPECT_EQ(got, want) << c.width << " px for " << c.range;
  }
}

// On seeded random data and a random part of it in view, the fast line paints exactly the
// pixels of a plain polyline through the same pixel points (from the point before the first
// visible one) with its repeated points taken out.
TEST(FastLine, PaintsThePixelsOfAPlainPolyline) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 20; ++round) {
    LineFixture f;
    // Up to some sixty points a pixel column, as a long plot on a narrow chart has.
    const int n = 50 + static_cast<int>(rng() % (round % 2 ? 400 : 12000));
    double y = 50;
    for (int i = 0; i < n; ++i) {
      y = std::clamp(y + static_cast<double>(static_cast<int>(rng() % 21) - 10) * 0.7, 0.0, 100.0);
      f.line.AppendY(y);
    }
    const double from = static_cast<double>(rng() % static_cast<unsigned>(n / 2)) + 0.5;
    const double to = from + 10 + static_cast<double>(rng() % static_cast<unsigned>(n));
    f.Layout(from, to, 0, 100, Rect(10, 10, 190, 150));
    f.line.FindVisibleRange();
    ASSERT_GE(f.line.FirstShownIndex(), 0);
    f.host.Surface().Canvas().Brush().SetColor(clWhite);
    f.host.Surface().Canvas().FillRect(Rect(0, 0, 200, 200));
    f.line.DrawAllPoints();

    std::vector<TPoint> points;
    for (int i = std::max(0, f.line.FirstShownIndex() - 1); i <= f.line.LastShownIndex(); ++i) {
      const TPoint p{f.line.XPixelOf(i), f.line.YPixelOf(i)};
      if (points.empty() || !(points.back() == p)) points.push_back(p);
    }
    TBitmap reference;
    reference.SetSize(200, 200);
    TCanvas& c = reference.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, 200, 200));
    c.Pen().SetColor(clMaroon);
    c.Polyline(points);
    int painted = 0;
    for (int py = 0; py < 200; ++py)
      for (int px = 0; px < 200; ++px) {
        const TColor want = c.GetPixel(px, py);
        ASSERT_EQ(f.host.Surface().Canvas().GetPixel(px, py), want) << "round " << round << " at " << px << "," << py;
        painted += want != clWhite;
      }
    EXPECT_GT(painted, 50);
  }
}

}  // namespace
}  // namespace varnel
