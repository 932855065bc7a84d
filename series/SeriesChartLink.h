// The few chart and axis services a series calls, gathered in one place: invalidation, joining
// and leaving a chart, the axes' value-to-pixel mapping, the 3D depth offsets, the plot
// rectangle, the drawing canvas, the legend and chart colours, the pattern brush, the axis
// range and the default palette. Series code calls these instead of reaching into the chart's
// classes, so the series core does not depend on the chart's headers.
#pragma once
#include <algorithm>
#include <limits>
#include <string>

#include "base/Color.h"
#include "base/Geometry.h"
#include "platform/canvas/Graphics.h"

namespace varnel {

class TCanvas;
class TChartAxis;
class TChartSeries;
class TCustomAxisPanel;

namespace serieslink {

enum TAxisSlot : int { slotTop, slotBottom, slotLeft, slotRight };

void Invalidate(TCustomAxisPanel* chart);
void AttachSeries(TCustomAxisPanel* chart, TChartSeries* series);
void DetachSeries(TCustomAxisPanel* chart, TChartSeries* series);
TChartAxis* Axis(TCustomAxisPanel* chart, TAxisSlot slot);

int XPixelOfValue(const TChartAxis* axis, double v);
int YPixelOfValue(const TChartAxis* axis, double v);
// An axis pixel moved by a depth shift, held at the ends of int (a value far off the axis gives
// a pixel at an end, which a shift must not wrap round to the other).
inline int ShiftedPixel(int pixel, int shift) {
  return static_cast<int>(std::clamp<long long>(static_cast<long long>(pixel) + shift, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}
double ValueAtPixel(const TChartAxis* axis, int pixel);
bool Inverted(const TChartAxis* axis);
bool IsHorizontal(const TChartAxis* axis);

// The numbers of an axis' linear value-to-pixel mapping along the horizontal (x) or vertical
// span of the plot: pixel = centre when range is 0, else start + f (end - f when inverted) with
// f = Round(size * (v - minimum) / range). False for a logarithmic axis.
struct TLinearMap {
  double Minimum = 0;
  double Range = 0;
  int Start = 0;
  int End = 0;
  int Size = 0;
  int Centre = 0;
  bool Inverted = false;
};
bool LinearMapping(const TCustomAxisPanel* chart, const TChartAxis* axis, bool horizontal, TLinearMap& map);

bool View3D(const TCustomAxisPanel* chart);
bool SeriesInDepth(const TCustomAxisPanel* chart);
int LevelDX(const TCustomAxisPanel* chart);
int LevelDY(const TCustomAxisPanel* chart);
int MaxDepthLevel(const TCustomAxisPanel* chart);
void SetMaxDepthLevel(TCustomAxisPanel* chart, int level);
TRect PlotRect(const TCustomAxisPanel* chart);
TCanvas* DrawCanvas(TCustomAxisPanel* chart);
bool IsPrinting(const TCustomAxisPanel* chart);

TColor ChartColor(const TCustomAxisPanel* chart);
TColor LegendColor(const TCustomAxisPanel* chart);
void SetPatternBrush(TCustomAxisPanel* chart, TColor color, TColor backColor, TBrushStyle style);

// The chart's series in list order.
int SeriesCount(const TCustomAxisPanel* chart);
TChartSeries* SeriesAt(const TCustomAxisPanel* chart, int index);

// Whether some series of the chart has points, and the range an axis must show.
bool HasSeriesWithPoints(const TCustomAxisPanel* chart);
double AxisRange(TCustomAxisPanel* chart, const TChartAxis* axis, bool maximum, bool xValues);

// The legend's text of point index of a series, and an axis' label text of a value.
std::string LegendValueText(const TCustomAxisPanel* chart, const TChartSeries& series, int index);
std::string AxisLabelText(const TChartAxis* axis, double value);

// The 16 default series colours, entry index mod 16.
TColor PaletteColor(int index);

}  // namespace serieslink
}  // namespace varnel
