// Point marks as a repaint draws them: which points get a mark, the box around each text, frame,
// fill and transparency, the arrow pen's colour rule, the chart-side texts and the widest mark.
#include <gtest/gtest.h>

#include "chart/Chart.h"
#include "platform/canvas/Bitmap.h"
#include "series/FastLineSeries.h"
#include "tests/chart/ChartTestSupport.h"

namespace varnel {
namespace {

struct MarksChart {
  TChart chart;
  TFastLineSeries s;
  TBitmap target{300, 200};
  TCanvasTrace trace;
  MarksChart() {
    chart.SetView3D(false);
    chart.SetAxisVisible(false);
    chart.Legend().SetVisible(false);
    chart.Frame().SetVisible(false);  // no back face: every rectangle is a mark
    chart.SetOffscreenDrawing(false);
    s.SetParentChart(&chart);
    s.AppendY(10, "low");
    s.AppendNull("gap");  // clNone: no mark
    s.AppendY(30);
    s.AppendY(20);
    s.Marks().SetVisible(true);
  }
  void Paint() {
    trace.Clear();
    target.Canvas().SetTrace(&trace);
    chart.PaintTo(target.Canvas(), Rect(0, 0, 300, 200));
    target.Canvas().SetTrace(nullptr);
  }
  TSize MarkSize(const std::string& text) {
    chart.SelectFont(s.Marks().Font());
    return TSize{chart.TextWidthOf(text + "W"), chart.LineHeight()};
  }
};

TEST(Marks, OneFramedBoxPerMarkedPointCentredOnIt) {
  MarksChart f;
  f.Paint();
  EXPECT_EQ(test::TextsOf(f.trace), (std::vector<std::string>{"low", "30", "20"}));
  const auto boxes = test::CallsOf(f.trace, "Rectangle");
  ASSERT_EQ(boxes.size(), 3u);
  const TSize size = f.MarkSize("30");
  const int w = size.cx + 2;  // the frame's width on both sides
  const int h = size.cy + 2;
  const int x = f.s.XPixelOf(2);
  const int y = f.s.YPixelOf(2);
  EXPECT_EQ(boxes[1].Args, (std::vector<int>{x - w / 2, y - h / 2, x - w / 2 + w, y - h / 2 + h}));
  EXPECT_EQ(boxes[1].BrushColor, clLightYellow);
  EXPECT_EQ(boxes[1].PenColor, clBlack);
  const auto outs = test::CallsOf(f.trace, "TextOut");
  EXPECT_EQ(outs[1].Args, (std::vector<int>{x, y - h / 2 + 1}));  // centred, below the frame
  EXPECT_EQ(f.target.Canvas().TextAlign(), TA_LEFT | TA_TOP);

  // The base series draws its arrow from the point to itself: a white line of no length.
  const auto segments = test::SegmentsOf(f.trace);
  int arrows = 0;
  for (const auto& sgm : segments)
    if (sgm.Color == clWhite && sgm.X0 == sgm.X1 && sgm.Y0 == sgm.Y1) ++arrows;
  EXPECT_EQ(arrows, 3);

  // An arrow in the point's colour is drawn black on a chart that is not black.
  f.s.Marks().Arrow().SetColor(f.s.SeriesColor());
  f.Paint();
  int black = 0;
  for (const auto& sgm : test::SegmentsOf(f.trace))
    if (sgm.Color == clBlack && sgm.X0 == sgm.X1) ++black;
  EXPECT_EQ(black, 3);
}

TEST(Marks, FrameFillAndTransparency) {
  MarksChart f;
  f.s.Marks().Frame().SetVisible(false);
  f.Paint();
  auto boxes = test::CallsOf(f.trace, "Rectangle");
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].PenStyle, psClear);
  EXPECT_EQ(boxes[0].BrushStyle, bsSolid);
  const TSize size = f.MarkSize("low");
  EXPECT_EQ(boxes[0].Args[2] - boxes[0].Args[0], size.cx);
  f.s.Marks().SetTransparent(true);
  f.Paint();
  EXPECT_TRUE(test::CallsOf(f.trace, "Rectangle").empty());
  EXPECT_EQ(test::TextsOf(f.trace).size(), 3u);
  f.s.Marks().Frame().SetVisible(true);
  f.Paint();
  boxes = test::CallsOf(f.trace, "Rectangle");
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].BrushStyle, bsClear);
}

TEST(Marks, TextsDecideWhichPointsGetAMark) {
  MarksChart f;
  f.s.OnGetMarkText = [](TChartSeries*, int index, std::string& text) {
    if (index == 2) text.clear();
  };
  f.Paint();
  EXPECT_EQ(test::TextsOf(f.trace), (std::vector<std::string>{"low", "20"}));
  f.s.OnGetMarkText = nullptr;
  f.s.Marks().SetVisible(false);
  f.Paint();
  EXPECT_TRUE(test::TextsOf(f.trace).empty());

  // The chart-side texts: the legend's text of the point, the axis label of its X value.
  f.s.Marks().SetStyle(smsLegend);
  f.chart.Legend().SetTextStyle(ltsRightValue);
  EXPECT_EQ(f.s.MarkTextOf(0), "low 10");
  f.s.Marks().SetStyle(smsXValue);
  EXPECT_EQ(f.s.MarkTextOf(3), "3");

  f.s.Marks().SetStyle(smsLabel);
  f.chart.SelectFont(f.chart.Legend().Font());
  const int widest = std::max({f.chart.TextWidthOf("low"), f.chart.TextWidthOf("gap"), f.chart.TextWidthOf("30")});
  EXPECT_EQ(f.s.WidestMark(), widest);
  TFastLineSeries alone;
  EXPECT_EQ(alone.WidestMark(), 0);
}

}  // namespace
}  // namespace varnel
