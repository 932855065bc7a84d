// The chart and axis services of SeriesChartLink.h, forwarded to the chart and its axes.
#include "series/SeriesChartLink.h"

#include "chart/AxisPanel.h"
#include "chart/SeriesList.h"
#include "series/ChartAxis.h"
#include "series/Series.h"

namespace varnel::serieslink {

void Invalidate(TCustomAxisPanel* chart) {
  // A chart being freed is not repainted any more.
  if (chart && !chart->Destroying()) chart->Invalidate();
}
void AttachSeries(TCustomAxisPanel* chart, TChartSeries* series) { chart->AttachSeries(series); }
int SeriesCount(const TCustomAxisPanel* chart) { return chart->SeriesCount(); }
TChartSeries* SeriesAt(const TCustomAxisPanel* chart, int index) { return chart->Series(index); }
void DetachSeries(TCustomAxisPanel* chart, TChartSeries* series) { chart->DetachSeries(series); }

TChartAxis* Axis(TCustomAxisPanel* chart, TAxisSlot slot) {
  switch (slot) {
    case slotTop: return &chart->TopAxis();
    case slotBottom: return &chart->BottomAxis();
    case slotLeft: return &chart->LeftAxis();
    case slotRight: return &chart->RightAxis();
  }
  return nullptr;
}

int XPixelOfValue(const TChartAxis* axis, double v) { return axis->XPixelOfValue(v); }
int YPixelOfValue(const TChartAxis* axis, double v) { return axis->YPixelOfValue(v); }
double ValueAtPixel(const TChartAxis* axis, int pixel) { return axis->ValueAtPixel(pixel); }
bool Inverted(const TChartAxis* axis) { return axis->Inverted(); }
bool IsHorizontal(const TChartAxis* axis) { return axis->IsHorizontal(); }

bool LinearMapping(const TCustomAxisPanel* chart, const TChartAxis* axis, bool horizontal, TLinearMap& map) {
  if (axis->Logarithmic()) return false;
  const TRect& r = chart->PlotRect();
  map.Minimum = axis->ShownMinimum();
  map.Range = axis->ShownRange();
  map.Inverted = axis->Inverted();
  if (horizontal) {
    map.Start = r.Left;
    map.End = r.Right;
    map.Size = chart->PlotWidth();
    map.Centre = chart->PlotCenterX();
  } else {
    map.Start = r.Bottom;
    map.End = r.Top;
    map.Size = -chart->PlotHeight();
    map.Centre = chart->PlotCenterY();
  }
  return true;
}

bool View3D(const TCustomAxisPanel* chart) { return chart->View3D(); }
bool SeriesInDepth(const TCustomAxisPanel* chart) { return chart->SeriesInDepth(); }
int LevelDX(const TCustomAxisPanel* chart) { return chart->LevelDX(); }
int LevelDY(const TCustomAxisPanel* chart) { return chart->LevelDY(); }
int MaxDepthLevel(const TCustomAxisPanel* chart) { return chart->MaxDepthLevel(); }
void SetMaxDepthLevel(TCustomAxisPanel* chart, int level) { chart->SetMaxDepthLevel(level); }
TRect PlotRect(const TCustomAxisPanel* chart) { return chart->PlotRect(); }
TCanvas* DrawCanvas(TCustomAxisPanel* chart) { return &chart->DrawCanvas(); }
bool IsPrinting(const TCustomAxisPanel* chart) { return chart->IsPrinting(); }

TColor ChartColor(const TCustomAxisPanel* chart) { return chart->Color(); }
TColor LegendColor(const TCustomAxisPanel* chart) { return chart->Legend().Color(); }
void SetPatternBrush(TCustomAxisPanel* chart, TColor color, TColor backColor, TBrushStyle style) {
  chart->SetPatternBrush(color, backColor, style);
}

bool HasSeriesWithPoints(const TCustomAxisPanel* chart) {
  for (const TChartSeries* s : chart->SeriesList())
    if (s && s->Count() > 0) return true;
  return false;
}
double AxisRange(TCustomAxisPanel* chart, const TChartAxis* axis, bool maximum, bool xValues) {
  return axis ? chart->AxisRange(*axis, xValues, maximum) : 0.0;
}

std::string LegendValueText(const TCustomAxisPanel* chart, const TChartSeries& series, int index) {
  return chart->Legend().ValueText(series, index);
}
std::string AxisLabelText(const TChartAxis* axis, double value) { return axis->LabelText(value); }

TColor PaletteColor(int index) { return ChartPalette[((index % ChartPaletteCount) + ChartPaletteCount) % ChartPaletteCount]; }

}  // namespace varnel::serieslink
