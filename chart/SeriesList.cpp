// The chart's series list and the chart-wide services built on it: joining and leaving the
// chart, the free palette colour, the range an axis must show (with paging), the page count,
// and the texts and widths the legend and the axes measure.
#include "chart/SeriesList.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/Text.h"
#include "chart/AxisPanel.h"
#include "series/Series.h"

namespace varnel {

// ---- TChartSeriesList -----------------------------------------------------------------------------

TChartSeries* TChartSeriesList::Series(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(index)];
}

int TChartSeriesList::IndexOf(const TChartSeries* series) const {
  const auto it = std::find(FItems.begin(), FItems.end(), series);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TChartSeriesList::ActiveCount() const {
  return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](TChartSeries* s) { return s->Active(); }));
}

TChartSeries* TChartSeriesList::FirstActive() const {
  for (TChartSeries* s : FItems)
    if (s->Active()) return s;
  return nullptr;
}

TChartSeries* TChartSeriesList::FirstActiveBoundTo(const TChartAxis* axis) const {
  for (TChartSeries* s : FItems)
    if (s->Active() && (s->GetHorizAxis() == axis || s->GetVertAxis() == axis)) return s;
  return nullptr;
}

int TChartSeriesList::MaxPointCount() const {
  int n = 0;
  for (TChartSeries* s : FItems)
    if (s->Active()) n = std::max(n, s->Count());
  return n;
}

void TChartSeriesList::Append(TChartSeries* series) {
  if (series && !Contains(series)) FItems.push_back(series);
}

void TChartSeriesList::Remove(TChartSeries* series) {
  const auto it = std::find(FItems.begin(), FItems.end(), series);
  if (it != FItems.end()) FItems.erase(it);
}

// ---- Joining and leaving ----------------------------------------------------------------------------

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
  if (series) series->SetParentChart(this);
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
  if (series && FSeriesList->Contains(series)) series->SetParentChart(nullptr);
}

void TCustomAxisPanel::AttachSeries(TChartSeries* series) {
  if (!series || FSeriesList->Contains(series)) return;
  // A series belongs to one chart at a time: it leaves the chart it was in.
  if (series->FParentChart && series->FParentChart != this) series->FParentChart->DetachSeries(series);
  if (series->SeriesColor() == clAutoColor) series->SetSeriesColor(PickFreeColor(true));
  series->FParentChart = this;
  if (!series->DataSources().empty()) series->ReloadFromSource();
  FSeriesList->Append(series);
  Invalidate();
}

void TCustomAxisPanel::DetachSeries(TChartSeries* series) {
  if (!series || !FSeriesList->Contains(series)) return;
  series->FParentChart = nullptr;
  if (Cursor() == series->Cursor()) SetCursor(RestingCursor());
  FSeriesList->Remove(series);
  Invalidate();
}

void TCustomAxisPanel::Loaded() {
  TCustomChartPanel::Loaded();
  // Sources set while the chart was loading were linked without copying: fill the series now.
  for (TChartSeries* s : *FSeriesList)
    if (s->DataSource()) s->ReloadFromSource();
}

TColor TCustomAxisPanel::PickFreeColor(bool avoidBackground) const {
  for (TColor c : ChartPalette) {
    bool used = std::any_of(FSeriesList->begin(), FSeriesList->end(),
                            [c](TChartSeries* s) { return s->SeriesColor() == c; });
    if (!used && avoidBackground) used = c == Color() || c == FBackColor;
    if (!used) return c;
  }
  return ChartPalette[0];
}

// ---- Ranges and paging ---------------------------------------------------------------------------------

double TCustomAxisPanel::AxisRange(const TChartAxis& axis, bool xValues, bool maximum) const {
  TChartSeries* first = FSeriesList->FirstActiveBoundTo(&axis);
  const int p = FMaxPointsPerPage;
  const bool paging = p > 0 && (first ? xValues == first->YIsPrimary() : xValues);
  if (paging) {
    if (!first || first->Count() == 0) return 0;
    // 64-bit index arithmetic: p x (Page - 1) and first + p - 1 may pass the int range.
    const std::int64_t n = first->Count();
    std::int64_t from = std::int64_t{p} * (FPage - 1);
    if (from >= n) from = std::max<std::int64_t>(0, n / p - 1) * p;
    std::int64_t to = from + p - 1;
    if (to >= n) to = from + n % p - 1;
    const auto value = [&](std::int64_t i) {
      return xValues ? first->XValueAt(static_cast<int>(i)) : first->YValueAt(static_cast<int>(i));
    };
    if (!maximum) return value(from);
    const std::int64_t shown = to - from + 1;
    if (!FScaleLastPage && shown < p) return value(from) + (value(to) - value(from)) * p / static_cast<double>(shown);
    return value(to);
  }
  bool found = false;
  double result = 0;
  for (TChartSeries* s : *FSeriesList) {
    if (!s->Active() || s->Count() == 0) continue;
    if ((xValues ? s->GetHorizAxis() : s->GetVertAxis()) != &axis) continue;
    const double v = xValues ? (maximum ? s->HighestX() : s->LowestX()) : (maximum ? s->HighestY() : s->LowestY());
    if (!found)
      result = v;
    else
      result = maximum ? std::max(result, v) : std::min(result, v);
    found = true;
  }
  return result;
}

int TCustomAxisPanel::NumPages() const {
  if (FMaxPointsPerPage == 0 || FSeriesList->Count() == 0) return 1;
  const bool otherWay = !FSeriesList->Series(0)->YIsPrimary();
  const TChartAxis* a = otherWay ? FLeftAxis.get() : FBottomAxis.get();
  const TChartAxis* b = otherWay ? FRightAxis.get() : FTopAxis.get();
  int pages = 0;
  for (const TChartAxis* axis : {a, b}) {
    const TChartSeries* s = FSeriesList->FirstActiveBoundTo(axis);
    // Rounded up without adding first: Count + MaxPointsPerPage may pass the int range.
    const int n = s ? s->Count() / FMaxPointsPerPage + (s->Count() % FMaxPointsPerPage != 0) : 1;
    pages = std::max(pages, n);
  }
  return pages;
}

void TCustomAxisPanel::SetPage(int v) {
  const int pages = NumPages();
  if (v > pages) v = pages;
  if (v <= 0) v = 1;
  if (v == FPage) return;
  FPage = v;
  Invalidate();
  if (OnPageChange) OnPageChange(this);
}

void TCustomAxisPanel::SetMaxPointsPerPage(int v) {
  if (v < 0) throw ChartException(msg::MaxPointsPerPage);
  SetProperty(FMaxPointsPerPage, v);
  if (NumPages() < FPage) SetPage(NumPages());
}

// ---- Texts and widths ----------------------------------------------------------------------------------

int TCustomAxisPanel::MaxTextWidth() {
  int widest = 0;
  for (TChartSeries* s : *FSeriesList) {
    for (int i = 0; i < s->Count(); ++i) {
      const std::string label = s->LabelAt(i);
      if (!label.empty()) widest = std::max(widest, TextWidthOf(label));
    }
  }
  return widest;
}

int TCustomAxisPanel::MaxMarkWidth() {
  int widest = 0;
  for (TChartSeries* s : *FSeriesList) {
    if (!s->Active()) continue;
    widest = std::max(widest, s->WidestMark());
  }
  return widest;
}

std::string TCustomAxisPanel::ItemText(int index) {
  std::string text = FLegend->EntryText(index);
  if (OnGetLegendText) OnGetLegendText(this, FLegend->ShownStyle(), index, text);
  return text;
}

TChartSeries* TCustomAxisPanel::SeriesLegend(int index) const {
  int n = 0;
  for (TChartSeries* s : *FSeriesList) {
    if (!s->Active() || !s->ShowInLegend()) continue;
    if (n == index) return s;
    ++n;
  }
  return nullptr;
}

std::string TCustomAxisPanel::SeriesTitleLegend(int index) const {
  const TChartSeries* s = SeriesLegend(index);
  if (!s) return "?";
  if (!s->Title().empty()) return s->Title();
  if (!s->Name().empty()) return s->Name();
  return "Series " + IntToStr(index);
}

}  // namespace varnel
