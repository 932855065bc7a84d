// Series data sources: the dependents of a source series and what each change tells them, the
// DataSource property with its checks (no chart, an unacceptable source, circular dependences),
// and the copying of points from a source, directly or through a calculation.
#include "series/DataSource.h"

#include <algorithm>
#include <iostream>
#include <unordered_set>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "chart/AxisPanel.h"
#include "series/ChartFunction.h"
#include "series/Series.h"

namespace varnel {

namespace {

TShowMessageHandler& MessageHandler() {
  static TShowMessageHandler handler;
  return handler;
}

bool Contains(const std::vector<TChartSeries*>& list, const TChartSeries* s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

}  // namespace

void SetDataSourceMessageHandler(TShowMessageHandler handler) { MessageHandler() = std::move(handler); }

void ShowDataSourceMessage(const std::string& message) {
  if (MessageHandler())
    MessageHandler()(message);
  else
    std::cerr << message << '\n';
}

// ---- Notifications -------------------------------------------------------------------------------

void TChartSeries::NotifyDependents(TDataKind kind, int index) {
  // Sources never form a circle (LinkSource refuses one); should a dependent change this series
  // while it is being told about a change, that change is not passed round again, so a
  // notification ends on any graph of series.
  if (FNotifying) return;
  struct Guard {
    bool& flag;
    ~Guard() { flag = false; }
  } guard{FNotifying};
  FNotifying = true;
  // A dependent may change the list while it reacts (it may drop this series); walk a copy.
  const std::vector<TChartSeries*> dependents(FDependents);
  for (TChartSeries* d : dependents) {
    if (!d || !Contains(d->FDataSources, this)) continue;
    switch (kind) {
      case dkClear:
        if (d->FRefreshOptions & roOnClear) d->Clear();
        break;
      case dkAdd:
        if ((d->FRefreshOptions & roOnInsert) && !d->FSeriesFunction) d->AppendPointFromSource(this, index);
        break;
      case dkDelete:
        if ((d->FRefreshOptions & roOnDelete) && !d->FSeriesFunction) d->SourcePointDeleted(this, index);
        break;
      case dkRefresh:
        d->CopyPointsFrom(this);
        break;
    }
  }
}

// ---- Linking -----------------------------------------------------------------------------------------

void TChartSeries::CheckNotCircular(const TChartSeries* source) const {
  if (source && (source == this || source->DependsOn(this))) throw ChartException(msg::CircularSeries);
}

void TChartSeries::LinkSource(TChartSeries* source) {
  if (!source) return;
  CheckNotCircular(source);
  FDataSources.push_back(source);
  auto& deps = source->FDependents;
  if (!Contains(deps, this)) deps.push_back(this);
}

void TChartSeries::UnlinkSource(TChartSeries* source) {
  FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), source), FDataSources.end());
  if (source && !Contains(FDataSources, source)) {
    auto& deps = source->FDependents;
    deps.erase(std::remove(deps.begin(), deps.end(), this), deps.end());
  }
  ReloadFromSource();
}

void TChartSeries::DetachSources() {
  for (TChartSeries* s : FDataSources) {
    auto& deps = s->FDependents;
    deps.erase(std::remove(deps.begin(), deps.end(), this), deps.end());
  }
  FDataSources.clear();
}

void TChartSeries::ReloadFromSource() {
  if (FParentChart && FParentChart->Loading()) return;
  if (!FDataSources.empty() && FDataSources.front()) CopyPointsFrom(FDataSources.front());
}

bool TChartSeries::DependsOn(const TChartSeries* other) const {
  // Every path through the sources, each series visited once (a cycle left by loading or copying
  // cannot make the walk run forever).
  std::vector<const TChartSeries*> pending(FDataSources.begin(), FDataSources.end());
  std::unordered_set<const TChartSeries*> seen;
  while (!pending.empty()) {
    const TChartSeries* s = pending.back();
    pending.pop_back();
    if (!s || !seen.insert(s).second) continue;
    if (s == other) return true;
    pending.insert(pending.end(), s->FDataSources.begin(), s->FDataSources.end());
  }
  return false;
}

void TChartSeries::SetDataSource(TChartSeries* source) {
  if (!source) {
    DetachSources();
    Clear();
    return;
  }
  if (!FParentChart) {
    ShowDataSourceMessage(msg::NoParentChart);
    return;
  }
  if (source == this || !AcceptsSource(source))
    throw ChartException(FormatMessage(msg::NoValidDataSource, {source->Name()}));
  if (Contains(FDataSources, source)) return;
  // A source that takes its points from this series, directly or through its own sources,
  // would send every change round in a circle.
  CheckNotCircular(source);
  const bool loading = FParentChart->Loading();
  if (!loading) DetachSources();
  LinkSource(source);
  if (!loading) ReloadFromSource();
}

// ---- Calculations ------------------------------------------------------------------------------------

void TChartSeries::AttachCalculation(std::unique_ptr<TChartFunction> calculation) {
  FSeriesFunction = std::move(calculation);
  if (FSeriesFunction) FSeriesFunction->SetParentSeries(this);
  ReloadFromSource();
}

// ---- Taking points from a source ---------------------------------------------------------------------

void TChartSeries::SourcePointDeleted(TChartSeries* /*source*/, int index) {
  // The source has already dropped its point; this series deletes its own at that index, with
  // the list-index error when it has no such point.
  Delete(index);
}

int TChartSeries::AppendFromSource(TChartSeries* source, int index) {
  double x = source->FXValues->Value(index);
  double y = source->FYValues->Value(index);
  if (!(YIsPrimary() && source->YIsPrimary())) std::swap(x, y);
  const int j = FXValues->AddValue(x);
  FYValues->InsertValue(j, y);
  for (std::size_t k = 2; k < FColumnLists.size(); ++k) {
    const double v = k < source->FColumnLists.size() ? source->FColumnLists[k]->Value(index) : 0.0;
    FColumnLists[k]->InsertValue(j, v);
  }
  return j;
}

void TChartSeries::AppendPointFromSource(TChartSeries* source, int index) {
  const int j = AppendFromSource(source, index);
  const auto i = static_cast<std::size_t>(index);
  // Every point keeps a colour and a label entry, so the parallel lists stay the same length.
  FPointColors.insert(static_cast<std::size_t>(j), i < source->FPointColors.size() ? source->FPointColors[i] : clAutoColor);
  FPointLabels.insert(static_cast<std::size_t>(j), i < source->FPointLabels.size() ? source->FPointLabels[i] : std::string());
  NotifyNewValue(this, j);
}

void TChartSeries::CopyPointsFrom(TChartSeries* source) {
  if (!source || !CanAddFrom(source)) return;
  Clear();
  if (FSeriesFunction) {
    FXValues->SetDateTime(source->FXValues->DateTime());
    FYValues->SetDateTime(source->FYValues->DateTime());
    FSeriesFunction->AddPoints(*source);
  } else {
    for (int i = 0; i < source->Count(); ++i) AppendPointFromSource(source, i);
  }
  NotifyDependents(dkRefresh, 0);
}

}  // namespace varnel
