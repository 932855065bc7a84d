// TCustomChartLegend and TChartLegend: the legend's properties with their checks, the resolved
// style, the entry texts and counts, and the drawing of the box and its entries.
#include "chart/ChartLegend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "chart/AxisPanel.h"
#include "chart/Chart.h"
#include "platform/canvas/Canvas.h"
#include "series/Series.h"

namespace varnel {

namespace {

template <typename T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// The legend's percentages (ColorWidth, TopPos) are applied in extended precision and rounded to
// the nearest integer, halves to even; the result saturates at the int range.
int RoundPercentOf(long double product) {
  const long double r = std::nearbyintl(product);
  if (!(r > -2147483648.0L)) return INT32_MIN;
  if (r > 2147483647.0L) return INT32_MAX;
  return static_cast<int>(r);
}

}  // namespace

TCustomChartLegend::TCustomChartLegend(TCustomAxisPanel* chart) : TChartFontObject(chart) {
  FFrame.OnChange = [this] { Repaint(); };
}

void TCustomChartLegend::SetAlignment(TLegendAlignment v) { if (Store(FAlignment, v)) Repaint(); }
void TCustomChartLegend::SetColor(TColor v) { if (Store(FColor, v)) Repaint(); }
void TCustomChartLegend::SetHorizMargin(int v) { if (Store(FHorizMargin, ClampPixels(v))) Repaint(); }
void TCustomChartLegend::SetInverted(bool v) { if (Store(FInverted, v)) Repaint(); }
void TCustomChartLegend::SetResizeChart(bool v) { if (Store(FResizeChart, v)) Repaint(); }
void TCustomChartLegend::SetTextStyle(TLegendTextStyle v) { if (Store(FTextStyle, v)) Repaint(); }
void TCustomChartLegend::SetVertMargin(int v) { if (Store(FVertMargin, ClampPixels(v))) Repaint(); }
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
  // Only the text the style shows is formatted: the legend asks for it on every repaint.
  const auto percent = [&] {
    const double sum = series.YValues().AbsSum();
    return FormatFloat(series.PercentFormat(), sum == 0 ? 100.0 : v * 100.0 / sum);
  };
  switch (FTextStyle) {
    case ltsLeftValue: return FormatFloat(series.ValueFormat(), v) + " " + label;
    case ltsRightValue: return label + " " + FormatFloat(series.ValueFormat(), v);
    case ltsLeftPercent: return percent() + " " + label;
    case ltsRightPercent: return label + " " + percent();
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
  for (int i = FFirstValue; i < FFirstValue + n; ++i) widest = std::max(widest, DrawnWidth(i));
  return widest;
}

TCustomChartLegend::TDrawnEntry& TCustomChartLegend::Drawn(int index) const {
  const std::size_t k = static_cast<std::size_t>(index - FFirstValue);
  if (FDrawn.size() <= k) FDrawn.resize(k + 1);
  return FDrawn[k];
}

const std::string& TCustomChartLegend::DrawnText(int index) const {
  TCustomAxisPanel* chart = ParentChart();
  if (!FDrawing || index < FFirstValue) {
    FUndrawn = chart ? chart->ItemText(index) : std::string();
    return FUndrawn;
  }
  TDrawnEntry& e = Drawn(index);
  if (!e.HasText) {
    e.Text = chart ? chart->ItemText(index) : std::string();
    e.HasText = true;
  }
  return e.Text;
}

int TCustomChartLegend::DrawnWidth(int index) const {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return 0;
  if (!FDrawing || index < FFirstValue) return chart->TextWidthOf(DrawnText(index));
  TDrawnEntry& e = Drawn(index);
  if (e.Width < 0) e.Width = chart->TextWidthOf(DrawnText(index));
  return e.Width;
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
void TChartLegend::SetShadowSize(int v) { if (Store(FShadowSize, ClampPixels(v))) Repaint(); }

void TChartLegend::SetSwatchPen() {
  TPen& pen = ParentChart()->DrawCanvas().Pen();
  pen.SetStyle(psSolid);
  pen.SetWidth(1);
  pen.SetMode(pmCopy);
  pen.SetColor(Color() == clBlack ? clWhite : clBlack);
}

void TChartLegend::Draw() {
  ResolveShownStyle();
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return;
  const TDrawScope scope(*this);
  TCustomChart* fullChart = dynamic_cast<TCustomChart*>(chart);
  TCanvas& c = chart->DrawCanvas();
  chart->SelectFont(Font());
  // Gaps and paddings are pixels at 96 per inch.
  const TPixelScale& k = chart->Scale();
  const int p1 = k.Px(1), p2 = k.Px(2), p4 = k.Px(4), p8 = k.Px(8), p10 = k.Px(10);
  const int h = chart->LineHeight();
  FEntryHeight = h;
  FEntryPad = p1;
  FSwatchGap = p4;
  int tw = WidestItemText(-1) + p4;
  FSwatchWidth = RoundPercentOf(static_cast<long double>(ColorWidth()) * tw * 0.01L);
  const int fw = Frame().Width();
  const int frameGap = Frame().Visible() ? fw + 1 : 0;
  const TRect plot = chart->PlotRect();
  const TLegendAlignment align = Alignment();
  const bool column = align == laLeft || align == laRight;

  // Vertical placement and the number of entries that fit.
  int top = 0;
  int bottom = 0;
  int n = 0;
  if (align == laTop) {
    top = plot.Top + frameGap;
    bottom = top + p2 + h;
    n = ItemsThatFit(p8, tw + FSwatchWidth + p4);
  } else if (align == laBottom) {
    bottom = plot.Bottom - FShadowSize - frameGap;
    top = bottom - p2 - h;
    n = ItemsThatFit(p8, tw + FSwatchWidth + p4);
  } else {
    const TRect& panel = chart->PanelRect();
    top = panel.Top + RoundPercentOf(static_cast<long double>(TopPos()) * (panel.Bottom - panel.Top) * 0.01L);
    n = std::max(0, ItemsThatFit(top, h));
    bottom = top + p2 + h * n;
  }
  n = std::max(0, n);

  // Horizontal placement: xs the swatches' left edge, xt the texts'.
  int left = 0;
  int right = 0;
  if (align == laLeft) {
    tw = WidestItemText(n);
    left = plot.Left + frameGap;
    FSwatchLeft = left + p4;
    FSwatchWidth = RoundPercentOf(static_cast<long double>(tw + p10) * ColorWidth() * 0.01L);
    FTextLeft = FSwatchLeft + FSwatchWidth + p4;
    right = FTextLeft + tw + p2;
  } else if (align == laRight) {
    tw = WidestItemText(n);
    right = plot.Right - frameGap - FShadowSize;
    FTextLeft = right - tw - p2;
    FSwatchWidth = RoundPercentOf(static_cast<long double>(tw + p10) * ColorWidth() * 0.01L);
    FSwatchLeft = FTextLeft - FSwatchWidth - p4;
    left = FSwatchLeft - p4;
  } else {
    const int w = std::min(chart->PlotWidth(), 2 * FShadowSize + (FSwatchWidth + tw + p4) * n + p8);
    const int half = w / 2;
    left = chart->PlotCenterX() - half;
    right = chart->PlotCenterX() + half;
    FSwatchLeft = left + p4;
    FTextLeft = FSwatchLeft + FSwatchWidth + p4;
  }
  FTextWidth = tw;
  FEntryTop = top;
  FLegendBox = Rect(left, top, right, bottom);
  if (fullChart && fullChart->OnGetLegendRect) {
    // The event may move the box (its frame, shadow and the plot edge beside it); the entries
    // stay where the layout put them.
    fullChart->OnGetLegendRect(fullChart, FLegendBox);
    left = FLegendBox.Left;
    top = FLegendBox.Top;
    right = FLegendBox.Right;
    bottom = FLegendBox.Bottom;
  }
  if (n < 1) return;

  // The box and its shadow.
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(Color());
  int d = 0;
  if (Frame().Visible()) {
    c.Pen().Assign(static_cast<const TPen&>(Frame()));
    if (Frame().Color() == clAutoColor) c.Pen().SetColor(clBlack);
    d = fw;
  } else {
    c.Pen().SetStyle(psClear);
  }
  c.Rectangle(left - d, top - d, right + d, bottom + d);
  const int s = FShadowSize;
  if (s > 0) {
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(FShadowColor);
    const int o = d == 0 ? -1 : d + d / 2 - (d % 2 == 0 ? 1 : 0);
    c.FillRect(Rect(left + s, bottom + o, right + o + s, bottom + o + s));
    c.FillRect(Rect(right + o, top + s, right + o + s, bottom + o + s));
  }

  // The entries.
  const int first = FirstValue();
  const int last = first + n - 1;
  if (Inverted()) {
    for (int i = last; i >= first; --i) DrawLegendEntry(i, last - i);
  } else {
    for (int i = first; i <= last; ++i) DrawLegendEntry(i, i - first);
  }

  // The plot gives up the legend's side, then the margin: 3 percent of the plot's size as it
  // was before the box took its share (the size is recomputed only at the end).
  TRect p = chart->PlotRect();
  if (ResizeChart()) {
    switch (align) {
      case laLeft: p.Left = FLegendBox.Right; break;
      case laRight: p.Right = FLegendBox.Left; break;
      case laTop: p.Top = FLegendBox.Bottom + s; break;
      case laBottom: p.Bottom = FLegendBox.Top; break;
    }
  }
  if (column) {
    const int margin = HorizMargin() != 0 ? HorizMargin() : MulDiv(3, chart->PlotWidth(), 100);
    if (align == laLeft) p.Left += margin; else p.Right -= margin;
  } else {
    const int margin = VertMargin() != 0 ? VertMargin() : MulDiv(3, chart->PlotHeight(), 100);
    if (align == laTop) p.Top += margin; else p.Bottom -= margin;
  }
  chart->SetPlotRect(p);
}

void TChartLegend::DrawLegendEntry(int index, int position) {
  TCustomAxisPanel* chart = ParentChart();
  TCustomChart* fullChart = dynamic_cast<TCustomChart*>(chart);
  TCanvas& c = chart->DrawCanvas();
  const int h = FEntryHeight;
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(Color());
  const bool column = Alignment() == laLeft || Alignment() == laRight;
  int x = column ? FTextLeft : (FTextWidth + FSwatchWidth + FSwatchGap) * position + FTextLeft;
  int y = column ? FEntryTop + FEntryPad + h * position : FEntryTop + FEntryPad;
  int xs = FSwatchLeft;
  if (fullChart && fullChart->OnGetLegendPos) fullChart->OnGetLegendPos(fullChart, index, x, y, xs);

  c.Brush().SetStyle(bsClear);
  // The text sits on the box: black text turns white only when the box itself is dark.
  c.Font().SetColor(ContrastInk(Font().Color(), Color()));
  chart->OutText(x, y, DrawnText(index));

  const TRect swatch = SwatchRect(x - FSwatchGap, y, y + h);
  SetSwatchPen();
  if (FShownStyle == lsValues) {
    if (TChartSeries* s = chart->SeriesList().FirstActive()) {
      s->DrawLegendSymbol(index, swatch);
    } else {
      c.Brush().SetStyle(bsSolid);
      c.Brush().SetColor(clWhite);
      c.Rectangle(swatch);
    }
  } else if (TChartSeries* s = chart->SeriesLegend(index)) {
    s->DrawLegendSymbol(-1, swatch);
  }

  if (position > 0 && FDividingLines.Visible()) {
    c.Pen().Assign(static_cast<const TPen&>(FDividingLines));
    c.SetBkMode(TRANSPARENT);
    if (column)
      chart->DrawHorizLine(FLegendBox.Left, FLegendBox.Right, y);
    else
      chart->DrawVertLine(swatch.Left - FSwatchGap, FLegendBox.Top, FLegendBox.Bottom);
  }
}

}  // namespace varnel
