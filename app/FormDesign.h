// The design-time values of the main window's components: what the stored form gives the gauge
// Meter1, the chart Chart2 and its series Series3 before start-up applies the settings. The form
// loads them at creation; tests and benchmarks that show the program's own gauge or chart use
// the same functions.
//
//   TChart chart;  TFastLineSeries series;
//   LoadChart2Design(chart);  LoadSeries3Design(series);  series.SetParentChart(&chart);
#pragma once
#include "chart/Chart.h"
#include "gauge/Meter.h"
#include "series/FastLineSeries.h"

namespace varnel {

// Meter1, inside its loading bracket.
void LoadMeter1Design(TMeter& m);
// Chart2 with its axes, legend, walls and titles, inside its loading bracket.
void LoadChart2Design(TChart& c);
// Series3's own values (line, value format, marks, axes); it joins no chart.
void LoadSeries3Design(TFastLineSeries& s, const TPixelScale& scale = TPixelScale());
// A line of the cores (the busiest core's, each core's): one pixel wide at 96 per inch, no marks, on Series3's
// axes; its colour and value format are the caller's.
void DesignCoreLine(TFastLineSeries& s, const TPixelScale& scale);

}  // namespace varnel
