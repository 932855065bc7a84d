// Helpers of the chart tests: the program's chart configuration (Chart2 with Series3), and
// filters over a canvas trace.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "chart/Chart.h"
#include "series/FastLineSeries.h"
#include "platform/canvas/Canvas.h"
#include "series/FastLineSeries.h"

namespace varnel::test {

// The design-time values of the program's chart, its axes, legend and walls, and the run-time
// values the main window sets at start-up with the default settings (axes off, 2D, legend on).
inline void ConfigureProgramChart(TChart& chart) {
  chart.BeginLoading();
  chart.SetAlign(alClient);
  chart.SetEnabled(false);
  chart.SetCursor(crHandPoint);
  chart.SetAllowZoom(false);
  chart.SetBevelOuter(bvNone);
  chart.SetBevelWidth(0);
  chart.SetBorderWidth(3);
  chart.SetBorderStyle(bsSingle);
  chart.SetMarginLeft(0);
  chart.SetMarginTop(0);
  chart.SetMarginRight(0);
  chart.SetMarginBottom(0);
  chart.Frame().SetVisible(false);
  chart.Frame().SetWidth(0);
  chart.SetClipPoints(false);
  chart.Gradient().SetDirection(gdLeftRight);
  chart.Title().SetText({"TChart"});
  chart.Title().SetVisible(false);
  chart.Title().SetAdjustFrame(false);
  chart.Foot().SetText({""});
  chart.Foot().SetVisible(false);
  chart.Foot().SetAdjustFrame(false);
  chart.Foot().Font().SetName("Arial");
  chart.Foot().Font().SetHeight(-11);
  chart.Foot().Font().SetColor(clRed);
  chart.Foot().Font().SetStyle(fsItalic);
  chart.LeftWall().SetColor(0x80FFFF);
  chart.LeftWall().SetSize(3);
  chart.BottomWall().SetColor(0x80FFFF);
  chart.BottomWall().Brush().SetColor(0x808040);
  chart.BottomWall().SetSize(3);
  TChartLegend& legend = chart.Legend();
  legend.SetAlignment(laLeft);
  legend.SetColorWidth(27);
  legend.Frame().SetVisible(false);
  legend.SetHorizMargin(1);
  legend.SetLegendStyle(lsLastValues);
  legend.SetResizeChart(false);
  legend.SetTextStyle(ltsRightValue);
  legend.SetTopPos(0);
  TChartAxis& left = chart.LeftAxis();
  left.SetAutomatic(false);
  left.SetAutomaticMaximum(false);
  left.SetAutomaticMinimum(false);
  left.Axis().SetWidth(1);
  left.SetAxisValuesFormat("###0");
  left.SetIncrement(1.0);
  left.SetMaximum(100.0);
  left.SetMinorTickCount(1);
  left.SetMinorTickLength(5);
  left.SetTickLength(3);
  left.SetExactDateTime(false);
  TChartAxis& bottom = chart.BottomAxis();
  bottom.SetAutomatic(false);
  bottom.SetAutomaticMinimum(false);
  bottom.Axis().SetWidth(1);
  bottom.SetLabels(false);
  bottom.SetMinorTickCount(1);
  bottom.SetMinorTickLength(3);
  bottom.SetTickLength(3);
  bottom.SetTickOnLabelsOnly(false);
  bottom.SetRoundFirstLabel(false);
  chart.TopAxis().SetVisible(false);
  chart.RightAxis().SetVisible(false);
  chart.Loaded();
  // Run time, default settings.
  chart.SetColor(clBtnFace);
  chart.SetAxisVisible(false);
  chart.SetView3D(false);
  chart.Legend().SetVisible(true);
  chart.SetOffscreenDrawing(true);
}

// The design-time values of the program's series Series3 (maroon line 2 pixels wide, values
// shown as "CPU ###0"), put on the chart, and a load history of `points` samples: zeros, then
// the given loads, the last of them newest.
inline void ConfigureProgramSeries(TFastLineSeries& s, TChart& chart, int points = 60,
                                   const std::vector<double>& loads = {}) {
  s.SetName("Series3");
  s.Marks().SetVisible(false);
  s.Marks().SetArrowLength(8);
  s.SetValueFormat("CPU ###0");
  s.XValues().SetOrder(loAscending);
  s.YValues().SetOrder(loNone);
  s.SetSeriesColor(clMaroon);
  s.LinePen().SetColor(clMaroon);
  s.LinePen().SetWidth(2);
  s.SetHorizAxis(aBottomAxis);
  s.SetVertAxis(aLeftAxis);
  s.SetParentChart(&chart);
  const int zeros = points - static_cast<int>(loads.size());
  for (int i = 0; i < zeros; ++i) s.AppendY(0, "", clAutoColor);
  for (double v : loads) s.AppendY(v, "", clAutoColor);
}

// The program's series: maroon line 2 pixels wide, "CPU ###0", no marks, on the chart, with n
// points of a fixed load pattern (whole percentages 0..100) on X = 0..n-1.
inline void ConfigureProgramSeries(TChart& chart, TFastLineSeries& series, int n = 60) {
  series.SetName("Series3");
  series.LinePen().SetColor(clMaroon);
  series.LinePen().SetWidth(2);
  series.SetSeriesColor(clMaroon);
  series.SetValueFormat("CPU ###0");
  series.Marks().SetVisible(false);
  series.Marks().SetArrowLength(8);
  chart.AddSeries(&series);
  series.Clear();
  for (int i = 0; i < n; ++i) {
    const int wave = (i * 7) % 60;                  // a slow saw
    const int jitter = (i * 37) % 23;               // and a fast, irregular part
    series.AppendY(std::min(100, 10 + wave + jitter), "", clAutoColor);
  }
}

// The calls of one operation.
inline std::vector<TCanvasCall> CallsOf(const TCanvasTrace& trace, const std::string& op) {
  std::vector<TCanvasCall> out;
  for (const TCanvasCall& c : trace.Calls)
    if (c.Op == op) out.push_back(c);
  return out;
}

// The texts written, in order.
inline std::vector<std::string> TextsOf(const TCanvasTrace& trace) {
  std::vector<std::string> out;
  for (const TCanvasCall& c : trace.Calls)
    if (c.Op == "TextOut") out.push_back(c.Text);
  return out;
}

// Line segments drawn with a given pen style and colour: (x0, y0, x1, y1) from each MoveTo or
// previous LineTo end to the LineTo.
struct TSegment {
  int X0, Y0, X1, Y1;
  TPenStyle Style;
  TColor Color;
};
inline std::vector<TSegment> SegmentsOf(const TCanvasTrace& trace) {
  std::vector<TSegment> out;
  int x = 0;
  int y = 0;
  for (const TCanvasCall& c : trace.Calls) {
    if (c.Op == "MoveTo") {
      x = c.Args[0];
      y = c.Args[1];
    } else if (c.Op == "LineTo") {
      out.push_back(TSegment{x, y, c.Args[0], c.Args[1], c.PenStyle, c.PenColor});
      x = c.Args[0];
      y = c.Args[1];
    }
  }
  return out;
}

}  // namespace varnel::test
