// The 3D look: the depth of one level formed in extended precision, the depth levels of the
// series through a whole repaint, and the walls (planes, slabs, brushes and hatches) as the
// canvas trace shows them.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "chart/Chart.h"
#include "chart/ChartWall.h"
#include "platform/canvas/Bitmap.h"
#include "series/FastLineSeries.h"
#include "tests/chart/ChartTestSupport.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

struct DepthCase {
  int percent, width, height, levelDX, levelDY;
};

TEST(View3D, DepthOfOneLevelIsRoundedFromExtendedPrecision) {
  // The factor is the double nearest to percent / 1000; the products are rounded, halves to
  // even, only after being formed in extended precision: 500 x 0.001 lies just above 0.5 there
  // (1), while a double product would land on 0.5 exactly and give 0.
  const DepthCase cases[] = {
      {15, 400, 300, 6, 4},  // 300 x 0.015 lies just below 4.5
      {1, 500, 40, 1, 0},     {5, 100, 500, 1, 3},  {13, 500, 1500, 6, 19},
      {1, 40, 40, 0, 0},      {100, 7, 25, 1, 3},   {100, 0, 1, 0, 0},
  };
  for (const auto& c : cases) {
    TChart chart;
    chart.SetChart3DPercent(c.percent);
    chart.SetPlotRect(Rect(0, 0, c.width, c.height));
    chart.SetMaxDepthLevel(0);
    ComputeDepth(chart);
    EXPECT_EQ(chart.LevelDX(), c.levelDX) << c.percent << "% of " << c.width;
    EXPECT_EQ(chart.LevelDY(), c.levelDY) << c.percent << "% of " << c.height;
  }
}

// The program's chart in 3D with its walls, drawn directly so that the trace sees every call.
struct Chart3D {
  TChart chart;
  TFastLineSeries series;
  TBitmap target{332, 190};
  TCanvasTrace trace;
  Chart3D() {
    test::ConfigureProgramChart(chart);
    test::ConfigureProgramSeries(series, chart, 60, {20, 60, 37});
    chart.SetView3D(true);
    chart.SetOffscreenDrawing(false);
  }
  void Paint() {
    trace.Clear();
    target.Canvas().SetTrace(&trace);
    chart.PaintTo(target.Canvas(), Rect(0, 0, 332, 190));
    target.Canvas().SetTrace(nullptr);
  }
};

TEST(View3D, SeriesLevelsThroughARepaint) {
  Chart3D f;
  f.chart.Legend().SetVisible(false);
  f.Paint();
  // One series: one level deep, drawn at the front. The plot (3, 3, 329, 187) is 326 x 184
  // when the depth is computed: 4.89 and 2.76.
  EXPECT_EQ(f.chart.MaxDepthLevel(), 0);
  EXPECT_EQ(f.series.DepthLevel(), 0);
  EXPECT_EQ(f.chart.LevelDX(), 5);
  EXPECT_EQ(f.chart.LevelDY(), 3);
  EXPECT_EQ(f.chart.DepthDX(), 5);
  EXPECT_EQ(f.chart.PlotRect(), Rect(3, 6, 324, 187));
  const int front = f.series.XPixelOf(10);

  TFastLineSeries b;
  TFastLineSeries c;
  b.SetParentChart(&f.chart);
  c.SetParentChart(&f.chart);
  for (int i = 0; i < 60; ++i) {
    b.AppendY(i);
    c.AppendY(i);
  }
  f.Paint();
  EXPECT_EQ(f.chart.DepthDX(), 3 * f.chart.LevelDX());
  EXPECT_EQ(f.chart.DepthDY(), 3 * f.chart.LevelDY());
  EXPECT_EQ(f.series.DepthLevel(), 2);  // the first series lies deepest
  EXPECT_EQ(b.DepthLevel(), 1);
  EXPECT_EQ(c.DepthLevel(), 0);
  const int dx = f.chart.LevelDX();
  EXPECT_EQ(f.series.XPixelOf(10) - c.XPixelOf(10), 2 * dx);
  EXPECT_EQ(f.series.YPixelOf(59) - c.YPixelOfValue(37), -2 * f.chart.LevelDY());
  EXPECT_NE(f.series.XPixelOf(10), front);

  // Without SeriesInDepth the box is one level deep and no series is shifted.
  f.chart.SetSeriesInDepth(false);
  f.Paint();
  EXPECT_EQ(f.chart.DepthDX(), f.chart.LevelDX());
  EXPECT_EQ(f.series.XPixelOf(10), c.XPixelOf(10));

  // In 2D everything lies on level 0 and nothing is deep.
  f.chart.SetView3D(false);
  f.Paint();
  EXPECT_EQ(f.chart.DepthDX(), 0);
  EXPECT_EQ(f.series.DepthLevel(), 0);
  EXPECT_EQ(b.DepthLevel(), 0);
}

TEST(View3D, WallsPlanesAndSlabs) {
  Chart3D f;
  f.chart.Legend().SetVisible(false);
  f.Paint();
  // Worked out by hand: the plot (3, 3, 329, 187) is 326 x 184 when the depth is computed, so
  // one level is Round(4.89) = 5 across and Round(2.76) = 3 down; the front face becomes
  // L, T, R, B = 3, 6, 324, 187 with DX, DY = 5, 3. Both walls are 3 pixels thick.
  EXPECT_EQ(f.chart.PlotRect(), Rect(3, 6, 324, 187));
  const auto polygons = test::CallsOf(f.trace, "Polygon");
  ASSERT_EQ(polygons.size(), 4u);
  EXPECT_EQ(polygons[0].Args, (std::vector<int>{8, 3, 8, 184, 3, 188, 3, 6}));        // left wall plane
  EXPECT_EQ(polygons[1].Args, (std::vector<int>{8, 3, 5, 3, 0, 6, 3, 6}));            // its slab's top
  EXPECT_EQ(polygons[2].Args, (std::vector<int>{8, 183, 329, 183, 324, 187, 3, 187}));  // floor
  EXPECT_EQ(polygons[3].Args, (std::vector<int>{329, 183, 329, 186, 323, 190, 323, 187}));  // floor slab's end
  for (const auto& c : polygons) {
    EXPECT_EQ(c.BrushColor, clLightYellow);  // the floor's brush colour does not show: it is solid
    EXPECT_EQ(c.BrushStyle, bsSolid);
    EXPECT_EQ(c.PenStyle, psSolid);
  }
  const auto rects = test::CallsOf(f.trace, "Rectangle");
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].Args, (std::vector<int>{4, 188, 0, 6}));  // the left slab's front face
  // The floor's slab runs on under the left wall's slab, from 3 - 3 = 0.
  EXPECT_EQ(rects[1].Args, (std::vector<int>{0, 187, 324, 191}));

  // Hatched floor, automatic left wall without a slab: the floor is hatched in its colour over
  // its brush colour, the left wall only outlined.
  f.chart.BottomWall().Brush().SetStyle(bsCross);
  f.chart.LeftWall().SetColor(clAutoColor);
  f.chart.LeftWall().SetSize(0);
  f.chart.LeftWall().Pen().SetColor(clRed);
  f.Paint();
  const auto hatched = test::CallsOf(f.trace, "Polygon");
  ASSERT_EQ(hatched.size(), 3u);
  EXPECT_EQ(hatched[0].BrushStyle, bsClear);
  EXPECT_EQ(hatched[0].PenColor, clRed);
  EXPECT_EQ(hatched[1].BrushStyle, bsCross);
  EXPECT_EQ(hatched[1].BrushColor, clLightYellow);
  // Without a left slab the floor's slab starts at L.
  EXPECT_EQ(test::CallsOf(f.trace, "Rectangle")[0].Args[0], f.chart.PlotRect().Left);
  // A hatch in the colour of its own background becomes black.
  f.chart.BottomWall().Brush().SetColor(clLightYellow);
  f.Paint();
  EXPECT_EQ(test::CallsOf(f.trace, "Polygon")[1].BrushColor, clBlack);

  // A hidden wall pen leaves the faces without outline.
  f.chart.BottomWall().Pen().SetVisible(false);
  f.Paint();
  EXPECT_EQ(test::CallsOf(f.trace, "Polygon")[1].PenStyle, psClear);
}

TEST(View3D, NoWallsIn2DOrWithoutWalls) {
  Chart3D f;
  f.chart.SetView3DWalls(false);
  f.Paint();
  EXPECT_TRUE(test::CallsOf(f.trace, "Polygon").empty());
  EXPECT_EQ(f.chart.WallSize(f.chart.LeftAxis()), 0);
  f.chart.SetView3DWalls(true);
  EXPECT_EQ(f.chart.WallSize(f.chart.LeftAxis()), 3);
  EXPECT_EQ(f.chart.WallSize(f.chart.TopAxis()), 0);
  f.chart.SetView3D(false);
  f.Paint();
  EXPECT_TRUE(test::CallsOf(f.trace, "Polygon").empty());
  EXPECT_EQ(f.chart.WallSize(f.chart.BottomAxis()), 0);

  // One per mille of a narrow plot gives no depth; the walls are still painted, flat.
  f.chart.SetView3D(true);
  f.chart.SetChart3DPercent(1);
  f.Paint();
  EXPECT_EQ(f.chart.DepthDX(), 0);
  EXPECT_EQ(test::CallsOf(f.trace, "Polygon").size(), 4u);
}

// A series that records, while it draws its points, which pixels the clip lets through.
class TClipProbeSeries : public TChartSeries {
 public:
  std::vector<std::pair<int, int>> Probes;
  std::vector<bool> Seen;
  TRect Box{};
  void DrawAllPoints() override {
    TCanvas* c = ParentChart() ? &ParentChart()->DrawCanvas() : nullptr;
    Box = c->ClipBox();
    Seen.clear();
    for (const auto& [x, y] : Probes) Seen.push_back(c->PtVisible(x, y));
  }
};

// The series clip (ClipPoints on). In 2D it is the plot rectangle with its left and top moved in
// by 1 and its bottom up by 1, and with a visible frame of width w the right and bottom moved by
// 1 - w. In 3D it is the polygon (L+1, B-1), (L+1, T), (L+DX, T-DY+1), (R+DX, T-DY+1),
// (R+DX, B-DY+1), (R, B) under the alternate rule.
TEST(View3D, ClipRegionsIn2DAnd3D) {
  TChart chart;
  test::ConfigureProgramChart(chart);
  chart.Legend().SetVisible(false);
  chart.SetClipPoints(true);
  TClipProbeSeries s;
  chart.AddSeries(&s);
  for (int i = 0; i < 10; ++i) s.AppendY(i);
  TBitmap target(332, 190);
  // 2D: plot (3, 3, 329, 187) without axes.
  chart.PaintTo(target.Canvas(), Rect(0, 0, 332, 190));
  EXPECT_EQ(s.Box, Rect(4, 4, 329, 186));
  chart.Frame().SetVisible(true);
  chart.Frame().SetWidth(3);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 332, 190));
  EXPECT_EQ(s.Box, Rect(4, 4, 327, 184));
  chart.Frame().SetVisible(false);

  // 3D: L, T, R, B = 3, 6, 324, 187 and DX, DY = 5, 3: the polygon (4, 186), (4, 6), (8, 4),
  // (329, 4), (329, 185), (324, 187).
  chart.SetView3D(true);
  s.Probes = {{4, 5}, {6, 5}, {5, 5}, {328, 4}, {329, 10}, {326, 186}, {327, 186}, {4, 185}, {3, 100}, {200, 3}};
  chart.PaintTo(target.Canvas(), Rect(0, 0, 332, 190));
  EXPECT_EQ(chart.PlotRect(), Rect(3, 6, 324, 187));
  EXPECT_EQ(s.Box, Rect(4, 4, 329, 187));
  // (6, 5) lies on the edge from (4, 6) to (8, 4), which takes x = 6 at y = 5, so it is in and
  // (5, 5) out; on the edge from (329, 185) to (324, 187), y = 186 has x = 326.5.
  EXPECT_EQ(s.Seen, (std::vector<bool>{false, true, false, true, false, true, false, true, false, false}));
  chart.RemoveSeries(&s);
}

TEST(View3D, GoldenProgramChartIn3DWithWalls) {
  Chart3D f;
  f.chart.SetOffscreenDrawing(true);
  f.chart.PaintTo(f.target.Canvas(), Rect(0, 0, 332, 190));
  EXPECT_EQ(test::CompareWithGolden(f.target, "chart_3d_332x190_37"), "");
}

}  // namespace
}  // namespace varnel
