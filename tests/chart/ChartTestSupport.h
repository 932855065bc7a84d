// Helpers of the chart tests: the program's chart configuration (Chart2 with Series3), and
// filters over a canvas trace.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "app/FormDesign.h"
#include "chart/Chart.h"
#include "platform/canvas/Canvas.h"
#include "series/FastLineSeries.h"

namespace varnel::test {

// The design-time values of the program's chart, its axes, legend and walls, and the run-time
// values the main window sets at start-up with the default settings (axes off, 2D, legend on).
inline void ConfigureProgramChart(TChart& chart) {
  LoadChart2Design(chart);
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
  LoadSeries3Design(s);
  s.SetParentChart(&chart);
  const int zeros = points - static_cast<int>(loads.size());
  for (int i = 0; i < zeros; ++i) s.AppendY(0, "", clAutoColor);
  for (double v : loads) s.AppendY(v, "", clAutoColor);
}

// The program's series: maroon line 2 pixels wide, "CPU ###0", no marks, on the chart, with n
// points of a fixed load pattern (whole percentages 0..100) on X = 0..n-1.
inline void ConfigureProgramSeries(TChart& chart, TFastLineSeries& series, int n = 60) {
  LoadSeries3Design(series);
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
