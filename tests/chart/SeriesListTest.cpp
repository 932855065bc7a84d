// The series list and the chart's series services: joining and leaving, palette colours,
// axis ranges with paging, legend titles, axes shown by their series, and depth levels.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "base/Exceptions.h"
#include "chart/Chart.h"
#include "platform/BitmapHost.h"
#include "series/FastLineSeries.h"
#include "tests/chart/ChartTestSupport.h"

namespace varnel {
namespace {

// A series of n points with Y = 2 x i on X = 0..n-1.
std::unique_ptr<TFastLineSeries> MakeSeries(TChart& chart, int n) {
  auto s = std::make_unique<TFastLineSeries>();
  s->SetSeriesColor(clMaroon);
  chart.AddSeries(s.get());
  for (int i = 0; i < n; ++i) s->AppendY(2.0 * i);
  return s;
}

std::string MessageOfPaging(TChart& chart) {
  try {
    chart.SetMaxPointsPerPage(-1);
  } catch (const ChartException& e) {
    return e.Message();
  }
  return "(no exception)";
}

TEST(SeriesList, JoiningAndLeaving) {
  TChart chart;
  TBitmapHost host(50, 50);
  chart.SetHost(&host);
  TFastLineSeries a;
  TFastLineSeries b;
  chart.SetColor(clRed);
  chart.AddSeries(&a);
  chart.AddSeries(&a);  // twice: ignored
  EXPECT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(a.ParentChart(), &chart);
  EXPECT_EQ(a.SeriesColor(), clGreen);  // red is the panel colour: skipped
  chart.AddSeries(&b);
  EXPECT_EQ(b.SeriesColor(), clYellow);
  EXPECT_EQ(chart.SeriesList().IndexOf(&b), 1);

  const int before = host.InvalidateCount();
  chart.RemoveSeries(&a);
  EXPECT_EQ(a.ParentChart(), nullptr);
  EXPECT_EQ(chart.SeriesCount(), 1);
  EXPECT_GT(host.InvalidateCount(), before);
  chart.RemoveSeries(&a);  // absent: ignored
  EXPECT_EQ(chart.SeriesCount(), 1);

  // A chart freed before its series lets go of them.
  auto other = std::make_unique<TChart>();
  other->AddSeries(&a);
  other.reset();
  EXPECT_EQ(a.ParentChart(), nullptr);
}

TEST(SeriesList, PickFreeColor) {
  TChart chart;
  std::vector<std::unique_ptr<TFastLineSeries>> all;
  for (int i = 0; i < 16; ++i) {
    all.push_back(std::make_unique<TFastLineSeries>());
    all.back()->SetSeriesColor(ChartPalette[i]);
    chart.AddSeries(all.back().get());
  }
  EXPECT_EQ(chart.PickFreeColor(false), clRed);  // all taken: entry 0 again
  all[3]->SetSeriesColor(clMaroon);                // frees blue
  EXPECT_EQ(chart.PickFreeColor(true), clBlue);
  chart.SetBackColor(clBlue);
  EXPECT_EQ(chart.PickFreeColor(true), clRed);
  EXPECT_EQ(chart.PickFreeColor(false), clBlue);
}

TEST(SeriesList, AxisRangeFollowsTheSeries) {
  TChart chart;
  auto s = MakeSeries(chart, 60);
  EXPECT_EQ(chart.MinXValue(chart.BottomAxis()), 0);
  EXPECT_EQ(chart.MaxXValue(chart.BottomAxis()), 59);
  EXPECT_EQ(chart.MaxYValue(chart.LeftAxis()), 118);
  EXPECT_EQ(chart.MinXValue(chart.TopAxis()), 0);  // no series bound to it
  EXPECT_EQ(chart.MaxXValue(chart.TopAxis()), 0);
  EXPECT_EQ(chart.SeriesList().MaxPointCount(), 60);

  // One tick of the program: the X statistics keep what the deletion left.
  s->Delete(0);
  s->XValues().Renumber();
  s->AppendY(37);
  EXPECT_EQ(chart.MinXValue(chart.BottomAxis()), 1);
  EXPECT_EQ(chart.MaxXValue(chart.BottomAxis()), 59);

  s->SetActive(false);  // inactive series count for nothing
  EXPECT_EQ(chart.MaxYValue(chart.LeftAxis()), 0);
  EXPECT_EQ(chart.SeriesList().MaxPointCount(), 0);
}

TEST(SeriesList, Paging) {
  TChart chart;
  auto s = MakeSeries(chart, 25);
  EXPECT_EQ(chart.NumPages(), 1);
  EXPECT_EQ(MessageOfPaging(chart), "MaxPointsPerPage must be >= 0");
  EXPECT_EQ(chart.MaxPointsPerPage(), 0);
  chart.SetMaxPointsPerPage(10);
  EXPECT_EQ(chart.NumPages(), 3);
  int changes = 0;
  chart.OnPageChange = [&](TCustomAxisPanel*) { ++changes; };
  chart.SetPage(7);
  EXPECT_EQ(chart.Page(), 3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(chart.MinXValue(chart.BottomAxis()), 20);
  EXPECT_EQ(chart.MaxXValue(chart.BottomAxis()), 24);
  EXPECT_EQ(chart.MaxYValue(chart.LeftAxis()), 48);  // Y is not paged
  chart.SetScaleLastPage(false);
  EXPECT_EQ(chart.MaxXValue(chart.BottomAxis()), 20 + (24 - 20) * 10 / 5);
  chart.SetPage(0);
  EXPECT_EQ(chart.Page(), 1);
  EXPECT_EQ(chart.MaxXValue(chart.BottomAxis()), 9);
  chart.SetPage(3);
  chart.SetMaxPointsPerPage(20);  // two pages now: the page follows
  EXPECT_EQ(chart.Page(), 2);
  chart.SetPage(1);
  EXPECT_EQ(changes, 5);
  chart.SetPage(1);
  EXPECT_EQ(changes, 5);
  // Pages of nearly 2^31 points: one page, counted without overflow.
  chart.SetScaleLastPage(true);
  chart.SetMaxPointsPerPage(std::numeric_limits<int>::max());
  EXPECT_EQ(chart.NumPages(), 1);
  EXPECT_EQ(chart.MaxXValue(chart.BottomAxis()), 24);
}

TEST(SeriesList, DirectAttachAndDetachKeepTheParentLink) {
  auto chart = std::make_unique<TChart>();
  auto series = std::make_unique<TFastLineSeries>();
  chart->AttachSeries(series.get());
  EXPECT_EQ(series->ParentChart(), chart.get());
  EXPECT_NE(series->SeriesColor(), clAutoColor);
  // Attached to a second chart, it leaves the first.
  TChart second;
  second.AttachSeries(series.get());
  EXPECT_EQ(series->ParentChart(), &second);
  EXPECT_EQ(chart->SeriesCount(), 0);
  second.DetachSeries(series.get());
  EXPECT_EQ(series->ParentChart(), nullptr);
  EXPECT_EQ(second.SeriesCount(), 0);
  // Detached directly, then the chart freed before the series: the series no longer names the
  // freed chart (the sanitizer build catches a use after free here).
  chart->AddSeries(series.get());
  chart->DetachSeries(series.get());
  chart.reset();
  series->AppendY(1);
  series.reset();
}

TEST(SeriesList, LegendTitles) {
  TChart chart;
  TFastLineSeries a;
  TFastLineSeries b;
  TFastLineSeries c;
  TFastLineSeries hidden;
  hidden.SetShowInLegend(false);
  a.SetTitle("load");
  b.SetName("Series3");
  for (TFastLineSeries* s : {&a, &hidden, &b, &c}) chart.AddSeries(s);
  EXPECT_EQ(chart.SeriesLegend(1), &b);
  EXPECT_EQ(chart.SeriesTitleLegend(0), "load");
  EXPECT_EQ(chart.SeriesTitleLegend(1), "Series3");
  EXPECT_EQ(chart.SeriesTitleLegend(2), "Series 2");
  EXPECT_EQ(chart.SeriesTitleLegend(3), "?");
  chart.Legend().SetLegendStyle(lsSeries);
  chart.OnGetLegendText = [](TCustomAxisPanel*, TLegendStyle style, int index, std::string& text) {
    if (style == lsSeries && index == 0) text += "!";
  };
  EXPECT_EQ(chart.ItemText(0), "load!");
  EXPECT_EQ(chart.ItemText(1), "Series3");
}

TEST(SeriesList, AxesShownByTheirSeries) {
  TChart chart;
  auto s = MakeSeries(chart, 5);
  EXPECT_TRUE(chart.AxisShown(chart.LeftAxis()));
  EXPECT_TRUE(chart.AxisShown(chart.BottomAxis()));
  EXPECT_FALSE(chart.AxisShown(chart.TopAxis()));    // visible, but no series on it
  EXPECT_FALSE(chart.AxisShown(chart.RightAxis()));
  s->SetVertAxis(aRightAxis);
  EXPECT_TRUE(chart.AxisShown(chart.RightAxis()));
  EXPECT_FALSE(chart.AxisShown(chart.LeftAxis()));
  s->SetActive(false);  // no active series: every visible axis
  EXPECT_TRUE(chart.AxisShown(chart.TopAxis()));
}

TEST(SeriesList, DepthLevelsOfARepaint) {
  TChart chart;
  auto a = MakeSeries(chart, 5);
  auto b = MakeSeries(chart, 5);
  auto c = MakeSeries(chart, 5);
  TBitmap target(400, 300);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 400, 300));
  EXPECT_EQ(chart.MaxDepthLevel(), 2);
  EXPECT_EQ(a->DepthLevel(), 2);
  EXPECT_EQ(b->DepthLevel(), 1);
  EXPECT_EQ(c->DepthLevel(), 0);
  EXPECT_EQ(chart.DepthDX(), 3 * chart.LevelDX());
  chart.SetView3D(false);
  chart.PaintTo(target.Canvas(), Rect(0, 0, 400, 300));
  EXPECT_EQ(a->DepthLevel(), 0);
  EXPECT_EQ(chart.DepthDX(), 0);
}

}  // namespace
}  // namespace varnel
