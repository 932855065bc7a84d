// TChartSeries, the chart side: joining a chart, repainting it, the axes and the value-to-pixel
// mapping with the 3D depth shift, the visible range, the drawing loop, point colours, the
// legend symbol, stacked sums over the chart's series, mouse clicks and the random sample
// values.
#include <chrono>
#include <cmath>
#include <random>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/Numbers.h"
#include "platform/canvas/Canvas.h"
#include "series/Series.h"
#include "series/SeriesChartLink.h"

namespace varnel {

namespace link = serieslink;

void TChartSeries::Repaint() {
  if (FParentChart) link::Invalidate(FParentChart);
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
  if (chart == FParentChart) return;
  // The chart's list sets and clears the link: joining a chart leaves the old one first.
  if (chart)
    link::AttachSeries(chart, this);
  else
    link::DetachSeries(FParentChart, this);
}

// ---- Axes and pixels -------------------------------------------------------------------------

TChartAxis* TChartSeries::GetHorizAxis() const {
  if (!FParentChart) return nullptr;
  return link::Axis(FParentChart, FHorizAxis == aTopAxis ? link::slotTop : link::slotBottom);
}

TChartAxis* TChartSeries::GetVertAxis() const {
  if (!FParentChart) return nullptr;
  return link::Axis(FParentChart, FVertAxis == aLeftAxis ? link::slotLeft : link::slotRight);
}

bool TChartSeries::BoundToAxis(const TChartAxis* axis) const {
  if (!axis) return false;
  return (link::IsHorizontal(axis) && axis == GetHorizAxis()) || axis == GetVertAxis();
}

int TChartSeries::XPixelOfValue(double x) const {
  const TChartAxis* axis = GetHorizAxis();
  if (!axis) return 0;
  int p = link::XPixelOfValue(axis, x);
  if (link::View3D(FParentChart) && link::SeriesInDepth(FParentChart))
    p = link::ShiftedPixel(p, FDepthLevel * link::LevelDX(FParentChart));
  return p;
}

int TChartSeries::YPixelOfValue(double y) const {
  const TChartAxis* axis = GetVertAxis();
  if (!axis) return 0;
  int p = link::YPixelOfValue(axis, y);
  if (link::View3D(FParentChart) && link::SeriesInDepth(FParentChart))
    p = link::ShiftedPixel(p, -FDepthLevel * link::LevelDY(FParentChart));
  return p;
}

int TChartSeries::PixelOfValue(double v) const { return YIsPrimary() ? YPixelOfValue(v) : XPixelOfValue(v); }

// ---- Visible range and drawing ---------------------------------------------------------------

void TChartSeries::FindVisibleRange() {
  FFirstShownIndex = -1;
  FLastShownIndex = -1;
  const int n = Count();
  if (n <= 0) return;
  const bool yPrimary = YIsPrimary();
  const TChartAxis* axis = yPrimary ? GetHorizAxis() : GetVertAxis();
  if (!FClipToVisibleRange || !axis) {
    // Without an axis to measure against, every point counts as visible.
    FFirstShownIndex = 0;
    FLastShownIndex = n - 1;
    return;
  }
  const TChartValueList& list = yPrimary ? *FXValues : *FYValues;
  const TRect plot = link::PlotRect(FParentChart);
  const bool inverted = link::Inverted(axis);
  const bool horizontal = yPrimary;
  const int nearPixel = horizontal ? (inverted ? plot.Right : plot.Left) : (inverted ? plot.Top : plot.Bottom);
  const int farPixel = horizontal ? (inverted ? plot.Left : plot.Right) : (inverted ? plot.Bottom : plot.Top);

  const double* slots = list.StoredValues();
  const double offset = list.StoredOffset();
  const auto raw = [&](int i) { return slots[i] - offset; };
  const double m = list.Multiplier();
  const double nearValue = link::ValueAtPixel(axis, nearPixel);
  int first = 0;
  while (first < n && !(raw(first) * m >= nearValue)) ++first;
  if (first == n) return;
  FFirstShownIndex = first;

  const double farValue = link::ValueAtPixel(axis, farPixel);
  int last;
  if (raw(n - 1) * m <= farValue) {
    last = n - 1;
  } else {
    last = first;
    while (last < n && !(raw(last) * m >= farValue)) ++last;
    if (last == n) last = n - 1;
    if (!FIncludeEdgePoint && raw(last) * m > farValue) --last;
  }
  FLastShownIndex = last;
}

void TChartSeries::RequestDepthLevel() {
  if (FParentChart && link::View3D(FParentChart)) {
    const int level = link::MaxDepthLevel(FParentChart) + 1;
    link::SetMaxDepthLevel(FParentChart, level);
    FDepthLevel = level;
  } else {
    FDepthLevel = 0;
  }
}

void TChartSeries::BeforeDrawPoints() {
  if (BeforeDrawValues) BeforeDrawValues(this);
}

void TChartSeries::AfterDrawPoints() {
  if (AfterDrawValues) AfterDrawValues(this);
}

void TChartSeries::DrawPoint(int /*index*/) {}

void TChartSeries::DrawAllPoints() {
  if (FLastShownIndex < FFirstShownIndex) return;
  if (DrawsForward()) {
    for (int i = FFirstShownIndex; i <= FLastShownIndex; ++i) DrawPoint(i);
  } else {
    for (int i = FLastShownIndex; i >= FFirstShownIndex; --i) DrawPoint(i);
  }
}

std::string TChartSeries::MarkTextOfChart(int index) const {
  if (FMarks->Style() == smsLegend && FParentChart) return link::LegendValueText(FParentChart, *this, index);
  const TChartAxis* axis = GetHorizAxis();
  if (FMarks->Style() == smsXValue && axis) return link::AxisLabelText(axis, XValueAt(index));
  return ValueText(FMarks->Style() == smsXValue ? XValueAt(index) : MarkValue(index));
}

int TChartSeries::PointAtPixel(int /*x*/, int /*y*/) const { return -1; }

// ---- Colours and the legend symbol -----------------------------------------------------------

TColor TChartSeries::PointColor(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= FPointColors.size()) return FSeriesColor;
  const TColor c = FPointColors[static_cast<std::size_t>(index)];
  if (c != clAutoColor) return c;
  return FColorEachPoint ? link::PaletteColor(index % 16) : FSeriesColor;
}

void TChartSeries::PrepareSymbolCanvas(int /*index*/, TColor& /*backColor*/, TBrushStyle& /*brushStyle*/) {}

void TChartSeries::DrawLegendSymbol(int index, const TRect& rect) {
  if (index == -1 && FColorEachPoint) return;
  const TColor color = index == -1 ? FSeriesColor : PointColor(index);
  if (color == clNone || !FParentChart) return;
  TColor back = link::LegendColor(FParentChart);
  TBrushStyle style = bsSolid;
  PrepareSymbolCanvas(index, back, style);
  if (back == clAutoColor) back = link::LegendColor(FParentChart);
  if (back == clAutoColor) back = link::ChartColor(FParentChart);
  link::SetPatternBrush(FParentChart, color, back, style);
  DrawSymbolShape(index, rect);
}

void TChartSeries::DrawSymbolShape(int /*index*/, const TRect& rect) {
  TCanvas* canvas = FParentChart ? link::DrawCanvas(FParentChart) : nullptr;
  if (!canvas) return;
  canvas->Rectangle(rect);
  if (canvas->Brush().Color() == link::LegendColor(FParentChart)) {
    // A box in the legend's own colour would vanish: outline it again.
    if (canvas->Brush().Color() == clBlack) canvas->Pen().SetColor(clWhite);
    canvas->Brush().SetStyle(bsClear);
    canvas->Rectangle(rect);
    canvas->Pen().SetColor(clBlack);
  }
}

// ---- Sample values ---------------------------------------------------------------------------

int TChartSeries::RandomInt(int k) {
  if (k <= 0) return 0;
  if (FRandom) return FRandom(k);
  static std::mt19937 generator(std::random_device{}());
  return std::uniform_int_distribution<int>(0, k - 1)(generator);
}

void TChartSeries::FillWithSamples(int n) {
  if (n <= 0) throw Exception(msg::FillSample);
  Clear();
  double xMin, xMax, yMin, yMax;
  if (FParentChart && link::HasSeriesWithPoints(FParentChart)) {
    TChartAxis* vert = GetVertAxis();
    TChartAxis* horiz = GetHorizAxis();
    yMin = link::AxisRange(FParentChart, vert, false, false);
    yMax = link::AxisRange(FParentChart, vert, true, false);
    if (yMax - yMin == 0) yMax = yMin == 0 ? 1000 : 2 * yMin;
    xMin = link::AxisRange(FParentChart, horiz, false, true);
    xMax = link::AxisRange(FParentChart, horiz, true, true);
    if (xMax - xMin == 0) xMax = xMin == 0 ? n : 2 * xMin;
  } else {
    yMin = 0;
    yMax = 1000;
    xMin = 0;
    if (FXValues->DateTime()) {
      // Today as days since 30 Dec 1899.
      using namespace std::chrono;
      const auto today = floor<days>(system_clock::now());
      xMin = static_cast<double>(today.time_since_epoch().count()) + 25569.0;
    }
    xMax = xMin + n - 1;
  }
  const double step = n > 1 ? (xMax - xMin) / (n - 1) : (xMax - xMin);
  double d = yMax - yMin;
  if (d > 2147483647.0) d = 2147483647.0;
  if (d < -2147483647.0) d = -2147483647.0;
  const int r = static_cast<int>(Round(d));
  const int q = r / 4;
  double y = yMin + RandomInt(r);
  double x = xMin;
  for (int i = 0; i < n; ++i) {
    y = std::fabs(y + RandomInt(q) - q / 2);
    AppendXY(x, y, "", clAutoColor);
    x += step;
  }
  NotifyDependents(dkRefresh, 0);
}

double TChartSeries::StackedSum(int index, bool includeSelf) const {
  if (!FParentChart || index < 0) return 0;  // a negative index names no point of any series
  double sum = 0;
  const int n = link::SeriesCount(FParentChart);
  for (int i = 0; i < n; ++i) {
    const TChartSeries* s = link::SeriesAt(FParentChart, i);
    const bool self = s == this;
    if (self && !includeSelf) break;
    const bool related = IsKindOfThis(*s) || s->IsKindOfThis(*this);
    if (s->Active() && related && s->Count() > index) {
      const double v = s->StackValue(index);
      if (v > 0) sum += v;
    }
    if (self) break;
  }
  return sum;
}

bool TChartSeries::SeriesClick(int valueIndex, TMouseButton button, TShiftState shift, int x, int y) {
  if ((shift & ssDouble) && OnDblClick) {
    OnDblClick(this, valueIndex, button, shift, x, y);
    return true;
  }
  if (OnClick) {
    OnClick(this, valueIndex, button, shift, x, y);
    return true;
  }
  return false;
}

}  // namespace varnel
