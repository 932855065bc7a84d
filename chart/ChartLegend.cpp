// TCustomChartLegend and TChartLegend: the legend's properties with their checks, the resolved
// style, the entry texts and counts.
#include "chart/ChartLegend.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/Text.h"
#include "chart/AxisPanel.h"
#include "series/Series.h"

namespace varnel {

namespace {

template <typename T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

TCustomChartLegend::TCustomChartLegend(TCustomAxisPanel* chart) : TChartFontObject(chart) {
  FFrame.OnChange = [this] { Repaint(); };
}

void TCustomChartLegend::SetAlignment(TLegendAlignment v) { if (Store(FAlignment, v)) Repaint(); }
void TCustomChartLegend::SetColor(TColor v) { if (Store(FColor, v)) Repaint(); }
void TCustomChartLegend::SetHorizMargin(int v) { if (Store(FHorizMargin, v)) Repaint(); }
void TCustomChartLegend::SetInverted(bool v) { if (Store(FInverted, v)) Repaint(); }
void TCustomChartLegend::SetResizeChart(bool v) { if (Store(FResizeChart, v)) Repaint(); }
void TCustomChartLegend::SetTextStyle(TLegendTextStyle v) { if (Store(FTextStyle, v)) Repaint(); }
void TCustomChartLegend::SetVertMargin(int v) { if (Store(FVertMargin, v)) Repaint(); }
void TCustomChartLegend::SetVisible(bool v) { if (Store(FVisible, v)) Repaint(); }

void TCustomChartLegend::SetColorWidth(int v) {
  if (v < 0 || v > 100) throw LegendException(msg::LegendColorWidth);
  if (Store(FColorWidth, v)) Repaint();
}

void TCustomChartLegend::SetFirstValue(int v) {
  if (v < 0) throw LegendException(msg::LegendFirstValue);
  if (Store(FFirstValue, v)) Repaint();
}

void TCustomChartLegend::SetTopPos(int v) {
  if (v < 0 || v > 100) throw LegendException(msg::LegendTopPos);
  if (Store(FTopPos, v)) Repaint();
}

void TCustomChartLegend::SetLegendStyle(TLegendStyle v) {
  if (!Store(FLegendStyle, v)) return;
  ResolveShownStyle();
  Repaint();
}

void TCustomChartLegend::ResolveShownStyle() {
  FShownStyle = FLegendStyle;
  if (FShownStyle == lsAuto) {
    const int active = ParentChart() ? ParentChart()->SeriesList().ActiveCount() : 0;
    FShownStyle = active > 1 ? lsSeries : lsValues;
  }
}

std::string TCustomChartLegend::ValueText(const TChartSeries& series, int index) const {
  if (index == -1) return {};
  const std::string label = series.LabelAt(index);
  if (FTextStyle == ltsPlain) return label;
  if (FTextStyle == ltsXValue) {
    const double x = series.XValueAt(index);
    if (const TChartAxis* axis = series.GetHorizAxis()) return axis->LabelText(x);
    return FormatFloat(series.ValueFormat(), x);
  }
  const double v = series.YValueAt(index);
  const std::string value = FormatFloat(series.ValueFormat(), v);
  const double sum = series.YValues().AbsSum();
  const std::string percent = FormatFloat(series.PercentFormat(), sum == 0 ? 100.0 : v * 100.0 / sum);
  switch (FTextStyle) {
    case ltsLeftValue: return value + " " + label;
    case ltsRightValue: return label + " " + value;
    case ltsLeftPercent: return percent + " " + label;
    case ltsRightPercent: return label + " " + percent;
    default: return label;
  }
}

std::string TCustomChartLegend::EntryText(int index) const {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return {};
  switch (FShownStyle) {
    case lsValues: {
      const TChartSeries* s = chart->SeriesList().FirstActive();
      return s ? ValueText(*s, index) : std::string();
    }
    case lsLastValues: {
      const TChartSeries* s = chart->SeriesLegend(index);
      return s ? ValueText(*s, s->Count() - 1) : std::string();
    }
    default:
      return chart->SeriesTitleLegend(index);
  }
}

int TCustomChartLegend::CountItems() const {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return 0;
  int n = 0;
  if (FShownStyle == lsValues) {
    const TChartSeries* s = chart->SeriesList().FirstActive();
    n = s && s->ShowInLegend() ? s->Count() : 0;
  } else {
    for (TChartSeries* s : chart->SeriesList())
      if (s->Active() && s->ShowInLegend()) ++n;
  }
  return std::max(0, n - FFirstValue);
}

int TCustomChartLegend::WidestItemText(int n) const {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return 0;
  if (n == -1) n = CountItems();
  int widest = 0;
  for (int i = FFirstValue; i < FFirstValue + n; ++i) widest = std::max(widest, chart->TextWidthOf(chart->ItemText(i)));
  return widest;
}

int TCustomChartLegend::ItemsThatFit(int start, int step) const {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return 0;
  const TRect& plot = chart->PlotRect();
  const bool column = FAlignment == laLeft || FAlignment == laRight;
  const int far = column ? plot.Bottom : plot.Right;
  const int size = column ? chart->PlotHeight() : chart->PlotWidth();
  const int near = column ? plot.Top : plot.Left;
  if (far <= start || step <= 0) return 0;
  return std::min((size + near - 2 * FFrame.Width() - start) / step, CountItems());
}

void TCustomChartLegend::Assign(const TChartFontObject& source) {
  if (const auto* l = dynamic_cast<const TCustomChartLegend*>(&source)) {
    FVisible = l->FVisible;
    FLegendStyle = l->FLegendStyle;
    FFirstValue = l->FFirstValue;
    FAlignment = l->FAlignment;
    FTextStyle = l->FTextStyle;
    FColorWidth = l->FColorWidth;
    FHorizMargin = l->FHorizMargin;
    FVertMargin = l->FVertMargin;
    FResizeChart = l->FResizeChart;
    FInverted = l->FInverted;
    FTopPos = l->FTopPos;
    FColor = l->FColor;
    FFrame.Assign(static_cast<const TChartPen&>(l->FFrame));
    ResolveShownStyle();
    Repaint();
  }
  TChartFontObject::Assign(source);
}

TChartLegend::TChartLegend(TCustomAxisPanel* chart) : TCustomChartLegend(chart) {
  FDividingLines.OnChange = [this] { Repaint(); };
}

void TChartLegend::SetShadowColor(TColor v) { if (Store(FShadowColor, v)) Repaint(); }
void TChartLegend::SetShadowSize(int v) { if (Store(FShadowSize, v)) Repaint(); }

void TChartLegend::Draw() {
  // The legend box is not drawn yet and takes no room from the plot; only its style is resolved.
  ResolveShownStyle();
}

}  // namespace varnel
