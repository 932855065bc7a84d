// Whole pictures of the program's chart at its default window size, with the axes off (the
// start-up look) and on, flat; compared with the golden PNGs.
#include <gtest/gtest.h>

#include "chart/Chart.h"
#include "platform/BitmapHost.h"
#include "tests/chart/ChartTestSupport.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

// The legend has pictures of its own; these show the frame, the axes and the line.
const TBitmap& Render(TChart& chart, TBitmapHost& host, bool axes) {
  chart.SetAxisVisible(axes);
  chart.Legend().SetVisible(false);
  chart.Invalidate();
  host.Flush();
  return host.Surface();
}

TEST(ChartGolden, ProgramChart332x190) {
  TBitmapHost host(332, 190);  // outlives the chart and its series
  TChart chart;
  test::ConfigureProgramChart(chart);
  TFastLineSeries series;
  test::ConfigureProgramSeries(chart, series);
  chart.SetHost(&host);
  host.OnPaint = [&] { chart.Paint(); };

  EXPECT_EQ(test::CompareWithGolden(Render(chart, host, false), "chart_332x190_axes_off"), "");
  EXPECT_EQ(test::CompareWithGolden(Render(chart, host, true), "chart_332x190_axes_on"), "");
  // The left axis shows 0..100 and the bottom axis the 60 points.
  EXPECT_EQ(chart.LeftAxis().ShownMaximum(), 100);
  EXPECT_EQ(chart.BottomAxis().ShownMaximum(), 59);
}

}  // namespace
}  // namespace varnel
