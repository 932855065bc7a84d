// TChartValueList: ordered insertion, running statistics, renumbering and the owner's
// notifications.
#include "series/ValueList.h"

#include <cmath>
#include <utility>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/Text.h"
#include "series/Series.h"

namespace varnel {

TChartValueList::TChartValueList(TChartSeries* owner, std::string name) : FOwner(owner), FName(std::move(name)) {}

void TChartValueList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw EListError(FormatMessage(msg::ListIndexError, {IntToStr(index)}));
}

double TChartValueList::Value(int index) const {
  CheckIndex(index, Count());
  return FValues[static_cast<std::size_t>(index)] * FMultiplier;
}

double TChartValueList::StoredValue(int index) const {
  CheckIndex(index, Count());
  return FValues[static_cast<std::size_t>(index)];
}

double TChartValueList::Last() const { return Value(Count() - 1); }

void TChartValueList::SetValue(int index, double value) {
  CheckIndex(index, Count());
  FValues[static_cast<std::size_t>(index)] = value;
}

void TChartValueList::AddStatistics(double stored) {
  const double v = stored * FMultiplier;
  FSum += v;
  FAbsSum += std::fabs(v);
  if (Count() == 1) {
    FHighest = v;
    FLowest = v;
  } else {
    if (v < FLowest) FLowest = v;
    if (v > FHighest) FHighest = v;
  }
}

int TChartValueList::AddValue(double value) {
  int n = Count();
  int at = n;
  if (n > 0) {
    if (FOrder == loAscending && value < FValues[static_cast<std::size_t>(n - 1)]) {
      int i = n - 1;
      while (i >= 0 && value < FValues[static_cast<std::size_t>(i)]) --i;
      at = i + 1;
    } else if (FOrder == loDescending && value > FValues[static_cast<std::size_t>(n - 1)]) {
      int i = n - 1;
      while (i >= 0 && value > FValues[static_cast<std::size_t>(i)]) --i;
      at = i + 1;
    }
  }
  if (at == n)
    FValues.push_back(value);
  else
    FValues.insert(static_cast<std::size_t>(at), value);
  AddStatistics(value);
  return at;
}

void TChartValueList::InsertValue(int index, double value) {
  CheckIndex(index, Count() + 1);
  if (index == Count())
    FValues.push_back(value);
  else
    FValues.insert(static_cast<std::size_t>(index), value);
  AddStatistics(value);
}

void TChartValueList::DeleteValue(int index) {
  CheckIndex(index, Count());
  const double s = FValues[static_cast<std::size_t>(index)];
  FValues.erase(static_cast<std::size_t>(index));
  const double v = s * FMultiplier;
  FSum -= v;
  FAbsSum -= std::fabs(v);
  RecomputeExtremes();
}

void TChartValueList::ClearValues() {
  FValues.clear();
  FSum = 0.0;
  FAbsSum = 0.0;
  FHighest = 0.0;
  FLowest = 0.0;
}

void TChartValueList::RecomputeExtremes() {
  FHighest = 0.0;
  FLowest = 0.0;
  const std::size_t n = FValues.size();
  if (n == 0) return;
  // Extremes of the raw values, then multiplied: a negative multiplier swaps them. The result
  // equals comparing the multiplied values one by one.
  const double* p = FValues.data();
  double lo = p[0];
  double hi = p[0];
  for (std::size_t i = 1; i < n; ++i) {
    const double v = p[i];
    lo = v < lo ? v : lo;
    hi = v > hi ? v : hi;
  }
  const double a = lo * FMultiplier;
  const double b = hi * FMultiplier;
  FLowest = a < b ? a : b;
  FHighest = a < b ? b : a;
}

void TChartValueList::Renumber() {
  double* p = FValues.data();
  const std::size_t n = FValues.size();
  for (std::size_t i = 0; i < n; ++i) p[i] = static_cast<double>(i);
}

void TChartValueList::Assign(const TChartValueList& source) {
  if (&source == this) return;
  FOrder = source.FOrder;
  FDateTime = source.FDateTime;
  FMultiplier = source.FMultiplier;
  FValueSource = source.FValueSource;
}

void TChartValueList::SetDateTime(bool v) {
  if (v == FDateTime) return;
  FDateTime = v;
  if (FOwner) FOwner->Repaint();
}

void TChartValueList::SetMultiplier(double v) {
  if (v == FMultiplier) return;
  FMultiplier = v;
  RecomputeExtremes();
  if (FOwner) {
    FOwner->NotifyDependents(dkRefresh, 0);
    FOwner->Repaint();
  }
}

void TChartValueList::SetValueSource(const std::string& v) {
  if (v == FValueSource) return;
  FValueSource = v;
  if (FOwner) FOwner->ReloadFromSource();
}

}  // namespace varnel
