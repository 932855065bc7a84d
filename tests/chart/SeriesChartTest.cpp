// The series on a chart: invalidation by adds, deletes and clears (and none by renumbering),
// joining a chart, the visible range against the bottom axis, pixel mapping with the 3D depth
// shift, and the base legend box.
#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "chart/Chart.h"
#include "platform/BitmapHost.h"
#include "series/FastLineSeries.h"
#include "series/Series.h"

namespace varnel {
namespace {

// A 2D chart whose plot is (0, 0, 100, 100), with the bottom axis showing a..b and the left
// axis 0..100: a value x sits at pixel x for the range 0..100.
struct ChartFixture {
  TBitmapHost host{200, 200};
  TChart chart;
  ChartFixture() {
    chart.SetHost(&host);
    chart.SetView3D(false);
  }
  void Layout(double bottomMin, double bottomMax) {
    chart.SetPlotRect(Rect(0, 0, 100, 100));
    chart.BottomAxis().SetRange(bottomMin, bottomMax);
    chart.BottomAxis().AdjustRange();
    chart.LeftAxis().SetRange(0, 100);
    chart.LeftAxis().AdjustRange();
  }
};

TEST(SeriesChart, ChangesInvalidateTheChartButRenumberingDoesNot) {
  ChartFixture f;
  TChartSeries s;
  s.SetSeriesColor(clMaroon);
  s.SetParentChart(&f.chart);
  EXPECT_EQ(s.ParentChart(), &f.chart);
  EXPECT_TRUE(f.chart.SeriesList().Contains(&s));
  for (int i = 0; i < 10; ++i) s.AppendY(i);
  int before = f.host.InvalidateCount();
  s.XValues().Renumber();
  EXPECT_EQ(f.host.InvalidateCount(), before);
  s.Delete(0);
  EXPECT_GT(f.host.InvalidateCount(), before);
  before = f.host.InvalidateCount();
  s.AppendY(5);
  EXPECT_GT(f.host.InvalidateCount(), before);
  before = f.host.InvalidateCount();
  s.Clear();
  EXPECT_GT(f.host.InvalidateCount(), before);
  s.SetParentChart(nullptr);
  EXPECT_FALSE(f.chart.SeriesList().Contains(&s));
}

TEST(SeriesChart, AnUncolouredSeriesGetsAPaletteColourWhenItJoins) {
  ChartFixture f;
  TChartSeries s;
  s.SetParentChart(&f.chart);
  EXPECT_NE(s.SeriesColor(), clAutoColor);
}

struct RangeCase {
  double min, max;
  bool includeEdge;
  int first, last;
};

TEST(SeriesChart, VisibleRangeFollowsTheBottomAxis) {
  ChartFixture f;
  TChartSeries s;
  s.SetParentChart(&f.chart);
  for (int i = 0; i < 60; ++i) s.AppendY(i);
  const RangeCase cases[] = {
      {10, 20, false, 10, 20}, {10, 20, true, 10, 20},   {10.5, 20.5, false, 11, 20},
      {10.5, 20.5, true, 11, 21}, {0, 100, false, 0, 59}, {60.5, 70, false, -1, -1},
      {-5, 0.5, false, 0, 0},  {-5, 0.5, true, 0, 1},
  };
  for (const auto& c : cases) {
    f.Layout(c.min, c.max);
    s.SetIncludeEdgePoint(c.includeEdge);
    s.FindVisibleRange();
    EXPECT_EQ(s.FirstShownIndex(), c.first) << c.min << ".." << c.max << " edge " << c.includeEdge;
    EXPECT_EQ(s.LastShownIndex(), c.last) << c.min << ".." << c.max << " edge " << c.includeEdge;
  }
  s.SetClipToVisibleRange(false);
  f.Layout(10, 20);
  s.FindVisibleRange();
  EXPECT_EQ(s.FirstShownIndex(), 0);
  EXPECT_EQ(s.LastShownIndex(), 59);
  s.Clear();
  s.FindVisibleRange();
  EXPECT_EQ(s.FirstShownIndex(), -1);
  EXPECT_EQ(s.LastShownIndex(), -1);
}

TEST(SeriesChart, PixelsFollowTheAxesAndTheDepthShift) {
  ChartFixture f;
  TChartSeries s;
  s.SetParentChart(&f.chart);
  s.AppendXY(30, 25, "", clAutoColor);
  f.Layout(0, 100);
  EXPECT_EQ(s.XPixelOf(0), 30);
  EXPECT_EQ(s.YPixelOf(0), 75);
  f.chart.SetDepthOffsets(4, 3, 0, 0);
  s.SetDepthLevel(2);
  EXPECT_EQ(s.XPixelOf(0), 30);  // 2D: no shift
  f.chart.SetView3D(true);
  EXPECT_EQ(s.XPixelOf(0), 38);
  EXPECT_EQ(s.YPixelOf(0), 69);
  f.chart.SetSeriesInDepth(false);
  EXPECT_EQ(s.XPixelOf(0), 30);
  EXPECT_THROW(s.XPixelOf(1), EListError);
}

TEST(SeriesChart, DepthLevelsAreHandedOutIn3DOnly) {
  ChartFixture f;
  TChartSeries a, b;
  a.SetParentChart(&f.chart);
  b.SetParentChart(&f.chart);
  f.chart.SetMaxDepthLevel(-1);
  a.RequestDepthLevel();
  b.RequestDepthLevel();
  EXPECT_EQ(a.DepthLevel(), 0);
  EXPECT_EQ(b.DepthLevel(), 0);
  f.chart.SetView3D(true);
  f.chart.SetMaxDepthLevel(-1);
  a.RequestDepthLevel();
  b.RequestDepthLevel();
  EXPECT_EQ(a.DepthLevel(), 0);
  EXPECT_EQ(b.DepthLevel(), 1);
  EXPECT_EQ(f.chart.MaxDepthLevel(), 1);
}

TEST(SeriesChart, SampleValuesTakeTheRangeOfTheChartsSeries) {
  ChartFixture f;
  TChartSeries other, s;
  other.SetParentChart(&f.chart);
  s.SetParentChart(&f.chart);
  other.AppendXY(0, 10, "", clAutoColor);
  other.AppendXY(4, 50, "", clAutoColor);
  s.AppendY(999);  // cleared first: its own points do not count
  std::vector<int> asked;
  s.SetRandomSource([&](int k) {
    asked.push_back(k);
    return 0;
  });
  s.FillWithSamples(5);
  EXPECT_EQ(asked, (std::vector<int>{40, 10, 10, 10, 10, 10}));  // Y 10..50: r 40, q 10
  std::vector<double> xs, ys;
  for (int i = 0; i < s.Count(); ++i) xs.push_back(s.XValueAt(i)), ys.push_back(s.YValueAt(i));
  EXPECT_EQ(xs, (std::vector<double>{0, 1, 2, 3, 4}));
  EXPECT_EQ(ys, (std::vector<double>{5, 0, 5, 0, 5}));  // |y + 0 - 5| from 10
}

TEST(SeriesChart, LegendBoxOfThePlainSeries) {
  ChartFixture f;
  TChartSeries s;
  s.SetParentChart(&f.chart);
  s.SetSeriesColor(clRed);
  s.AppendY(1, "", clNone);
  TCanvasTrace trace;
  f.host.Surface().Canvas().SetTrace(&trace);
  s.DrawLegendSymbol(0, Rect(2, 2, 12, 8));  // a null point: no box
  EXPECT_TRUE(trace.Calls.empty());
  s.DrawLegendSymbol(-1, Rect(2, 2, 12, 8));
  ASSERT_EQ(trace.Ops(), (std::vector<std::string>{"Rectangle"}));
  EXPECT_EQ(trace.Calls[0].BrushColor, clRed);
  EXPECT_EQ(trace.Calls[0].Args, (std::vector<int>{2, 2, 12, 8}));
  // In the legend's own colour the box is outlined again with a clear brush.
  trace.Clear();
  s.SetSeriesColor(f.chart.Legend().Color());
  s.DrawLegendSymbol(-1, Rect(2, 2, 12, 8));
  ASSERT_EQ(trace.Ops(), (std::vector<std::string>{"Rectangle", "Rectangle"}));
  EXPECT_EQ(trace.Calls[1].BrushStyle, bsClear);
  // Each point in its own colour: the series as a whole has no box.
  trace.Clear();
  s.SetColorEachPoint(true);
  s.DrawLegendSymbol(-1, Rect(2, 2, 12, 8));
  EXPECT_TRUE(trace.Calls.empty());
  f.host.Surface().Canvas().SetTrace(nullptr);
}

}  // namespace
}  // namespace varnel
