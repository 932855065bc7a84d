// TChartSeries, the data side: construction, adding, deleting and clearing points, labels and
// value texts, property setters and Assign. The chart side (pixels, visible range, drawing loop,
// legend symbol, sample values) is in SeriesDraw.cpp, the data sources and the notifications to
// dependent series in DataSource.cpp, the drawing of marks in MarksDraw.cpp.
#include "series/Series.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/Text.h"
#include "series/ChartFunction.h"

namespace varnel {

TChartSeries::TChartSeries() {
  FXValues = AddValueList("X");
  FXValues->SetOrder(loAscending);
  FYValues = AddValueList("Y");
  FMarks = std::make_unique<TSeriesMarks>(this);
  FValueFormat = msg::DefValueFormat;
  FPercentFormat = msg::DefPercentFormat;
}

TChartSeries::~TChartSeries() {
  // Let go of the calculation and the sources; each series that depends on this one drops it
  // and reloads from the sources it has left; then the points go and the series leaves its
  // chart.
  FSeriesFunction.reset();
  DetachSources();
  const std::vector<TChartSeries*> dependents(FDependents);
  FDependents.clear();
  for (TChartSeries* d : dependents) d->UnlinkSource(this);
  EmptyLists();
  if (FParentChart) SetParentChart(nullptr);
}

TChartValueList* TChartSeries::AddValueList(const std::string& name) {
  FColumnLists.push_back(std::make_unique<TChartValueList>(this, name));
  return FColumnLists.back().get();
}

namespace {
bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}
}  // namespace

TChartValueList& TChartSeries::ValueListByName(const std::string& name) {
  for (std::size_t i = 2; i < FColumnLists.size(); ++i)
    if (SameTextIgnoringCase(FColumnLists[i]->Name(), name)) return *FColumnLists[i];
  return *FYValues;
}

bool TChartSeries::YIsPrimary() const {
  return &const_cast<TChartSeries*>(this)->PrimaryValueList() == FYValues;
}

// ---- Adding ----------------------------------------------------------------------------------

int TChartSeries::AppendXY(double x, double y, const std::string& label, TColor color) {
  FXValues->SetPendingValue(x);
  FYValues->SetPendingValue(y);
  if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
  const int i = FXValues->AddValue(FXValues->PendingValue());
  FYValues->InsertValue(i, FYValues->PendingValue());
  AddExtraValues(i);
  FPointColors.insert(static_cast<std::size_t>(i), color);
  FPointLabels.insert(static_cast<std::size_t>(i), label);
  NotifyNewValue(this, i);
  return i;
}

int TChartSeries::AppendY(double value, const std::string& label, TColor color) {
  return AppendXY(Count(), value, label, color);
}

int TChartSeries::AppendX(double value, const std::string& label, TColor color) {
  return AppendXY(value, Count(), label, color);
}

int TChartSeries::Add(double value, const std::string& label, TColor color) {
  return YIsPrimary() ? AppendY(value, label, color) : AppendX(value, label, color);
}

int TChartSeries::AppendNull(const std::string& label) { return Add(0, label, clNone); }

void TChartSeries::AddExtraValues(int index) {
  for (std::size_t k = 2; k < FColumnLists.size(); ++k)
    FColumnLists[k]->InsertValue(index, FColumnLists[k]->PendingValue());
}

void TChartSeries::NotifyNewValue(TChartSeries* sender, int index) {
  if (OnAfterAdd) OnAfterAdd(sender, index);
  NotifyDependents(dkAdd, index);
  if (FActive) Repaint();
}

// ---- Deleting and clearing -------------------------------------------------------------------

void TChartSeries::Delete(int index) {
  // The X list checks the index first; all lists have the same length, so nothing has changed
  // when it raises.
  for (auto& list : FColumnLists) list->DeleteValue(index);
  const auto i = static_cast<std::size_t>(index);
  if (i < FPointColors.size()) FPointColors.erase(i);
  if (i < FPointLabels.size()) FPointLabels.erase(i);
  NotifyDependents(dkDelete, index);
  Repaint();
}

void TChartSeries::EmptyLists() {
  for (auto& list : FColumnLists) list->ClearValues();
  FPointColors.clear();
  FPointLabels.clear();
}

void TChartSeries::Clear() {
  EmptyLists();
  if (OnClearValues) OnClearValues(this);
  NotifyDependents(dkClear, 0);
  Repaint();
}

// ---- Point data ------------------------------------------------------------------------------

std::string TChartSeries::LabelAt(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= FPointLabels.size()) return "";
  return FPointLabels[static_cast<std::size_t>(index)];
}

TColor TChartSeries::StoredPointColor(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= FPointColors.size()) return FSeriesColor;
  return FPointColors[static_cast<std::size_t>(index)];
}

std::string TChartSeries::ValueText(double value) const { return FormatFloat(FValueFormat, value); }

std::string TChartSeries::PercentTextOf(int index, bool ofTotal) {
  const double total = PrimaryValueList().AbsSum();
  const double share = total == 0 ? 100.0 : std::fabs(MarkValue(index)) * 100.0 / total;
  std::string text = FormatFloat(FPercentFormat, share);
  if (ofTotal) text = FormatMessage(msg::PercentOfTotal, {text, FormatFloat(FValueFormat, total)});
  return text;
}

std::string TChartSeries::MarkTextOf(int index) {
  auto labelOrValue = [&] {
    std::string label = LabelAt(index);
    return label.empty() ? ValueText(MarkValue(index)) : label;
  };
  std::string text;
  switch (FMarks->Style()) {
    case smsValue: text = ValueText(MarkValue(index)); break;
    case smsPercent: text = PercentTextOf(index, false); break;
    case smsLabel: text = labelOrValue(); break;
    case smsLabelPercent: text = labelOrValue() + " " + PercentTextOf(index, false); break;
    case smsLabelValue: text = labelOrValue() + " " + ValueText(MarkValue(index)); break;
    // The legend's own text of a point and the axis label of an X value belong to the chart;
    // MarkTextOfChart supplies them.
    case smsLegend:
    case smsXValue: text = MarkTextOfChart(index); break;
    case smsPercentTotal: text = PercentTextOf(index, true); break;
    case smsLabelPercentTotal: text = labelOrValue() + " " + PercentTextOf(index, true); break;
  }
  if (OnGetMarkText) OnGetMarkText(this, index, text);
  return text;
}

// ---- Properties ------------------------------------------------------------------------------

void TChartSeries::SetSeriesColor(TColor v) {
  if (v == FSeriesColor) return;
  FSeriesColor = v;
  Repaint();
}

void TChartSeries::SetColorEachPoint(bool v) {
  if (v == FColorEachPoint) return;
  FColorEachPoint = v;
  Repaint();
}

void TChartSeries::SetActive(bool v) {
  if (v == FActive) return;
  FActive = v;
  Repaint();
}

void TChartSeries::SetHorizAxis(THorizAxis v) {
  if (v == FHorizAxis) return;
  FHorizAxis = v;
  Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis v) {
  if (v == FVertAxis) return;
  FVertAxis = v;
  Repaint();
}

void TChartSeries::SetTitle(const std::string& v) {
  if (v == FTitle) return;
  FTitle = v;
  Repaint();
}

void TChartSeries::SetValueFormat(const std::string& v) {
  if (v == FValueFormat) return;
  FValueFormat = v;
  Repaint();
}

void TChartSeries::SetPercentFormat(const std::string& v) {
  if (v == FPercentFormat) return;
  FPercentFormat = v;
  Repaint();
}

void TChartSeries::SetShowInLegend(bool v) {
  if (v == FShowInLegend) return;
  FShowInLegend = v;
  Repaint();
}

void TChartSeries::SetXLabelsSource(const std::string& v) {
  if (v == FXLabelsSource) return;
  FXLabelsSource = v;
  ReloadFromSource();
}

void TChartSeries::SetColorSource(const std::string& v) {
  if (v == FColorSource) return;
  FColorSource = v;
  ReloadFromSource();
}

std::unique_ptr<TChartPen> TChartSeries::NewChartPen() {
  auto pen = std::make_unique<TChartPen>();
  pen->OnChange = [this] { PenChanged(); };
  return pen;
}

// ---- Assign ----------------------------------------------------------------------------------

void TChartSeries::Assign(TChartSeries& source) {
  if (&source == this) return;
  for (const TChartSeries* s : source.FDataSources) CheckNotCircular(s);
  FTag = source.FTag;
  DetachSources();
  // Value-list settings: X to X and Y to Y when both draw their Y values along the value axis,
  // else crosswise.
  const bool straight = YIsPrimary() && source.YIsPrimary();
  FXValues->Assign(straight ? *source.FXValues : *source.FYValues);
  FYValues->Assign(straight ? *source.FYValues : *source.FXValues);
  FXLabelsSource = source.FXLabelsSource;
  FColorSource = source.FColorSource;
  const std::size_t common = std::min(FColumnLists.size(), source.FColumnLists.size());
  for (std::size_t k = 2; k < common; ++k) FColumnLists[k]->Assign(*source.FColumnLists[k]);
  // The calculation moves over to this series when it has none of its own.
  if (!FSeriesFunction && source.FSeriesFunction) {
    FSeriesFunction = std::move(source.FSeriesFunction);
    FSeriesFunction->SetParentSeries(this);
  }

  if (!source.FDataSources.empty()) {
    for (TChartSeries* s : source.FDataSources) LinkSource(s);
  } else {
    // The points themselves: every list, colour and label as stored.
    EmptyLists();
    const int n = source.Count();
    for (int i = 0; i < n; ++i) {
      for (std::size_t k = 0; k < common; ++k) FColumnLists[k]->InsertValue(i, source.FColumnLists[k]->StoredValue(i));
      for (std::size_t k = common; k < FColumnLists.size(); ++k) FColumnLists[k]->InsertValue(i, 0.0);
      FPointColors.push_back(source.StoredPointColor(i));
      FPointLabels.push_back(source.LabelAt(i));
    }
  }
  FMarks->Assign(*source.FMarks);
  SetSeriesColor(source.FSeriesColor);
  SetColorEachPoint(source.FColorEachPoint);
  SetTitle(source.FTitle);
  SetValueFormat(source.FValueFormat);
  SetPercentFormat(source.FPercentFormat);
  SetActive(source.FActive);
  SetHorizAxis(source.FHorizAxis);
  SetVertAxis(source.FVertAxis);
  FRefreshOptions = source.FRefreshOptions;
  FCursor = source.FCursor;
  SetShowInLegend(source.FShowInLegend);
  FStyleFlags = source.FStyleFlags;
  FIdentifier = source.FIdentifier;
  ReloadFromSource();
  Repaint();
}

}  // namespace varnel
