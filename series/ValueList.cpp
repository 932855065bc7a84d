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

namespace {

constexpr double kWholeLimit = 4503599627370496.0;  // 2^52: whole numbers below it add exactly

bool IsPlainZeroOrWhole(double v) {
  return std::fabs(v) < kWholeLimit && v == std::trunc(v) && !(v == 0 && std::signbit(v));
}
// A value whose place in the list changes what a rescan finds.
bool Unordered(double v) { return std::isnan(v) || (v == 0 && std::signbit(v)); }

}  // namespace

double TChartValueList::Value(int index) const {
  CheckIndex(index, Count());
  return At(static_cast<std::size_t>(index)) * FMultiplier;
}

double TChartValueList::StoredValue(int index) const {
  CheckIndex(index, Count());
  return At(static_cast<std::size_t>(index));
}

double TChartValueList::Last() const { return Value(Count() - 1); }

void TChartValueList::DropOffset() {
  if (FOffset == 0) return;
  double* p = FValues.data();
  for (std::size_t i = 0, n = FValues.size(); i < n; ++i) p[i] -= FOffset;
  FFirst -= FOffset;
  FOffset = 0;
}

double TChartValueList::Encode(double stored) {
  if (FOffset == 0) return stored;
  if (IsPlainZeroOrWhole(stored) && std::fabs(FOffset) < kWholeLimit) return stored + FOffset;
  DropOffset();
  return stored;
}

void TChartValueList::KeepNumbered(std::size_t i, double slot) {
  if (FValues.size() == 1) FFirst = slot, FNumbered = true;  // the first value starts the count
  FNumbered = FNumbered && slot == FFirst + static_cast<double>(i) && IsPlainZeroOrWhole(slot);
}

void TChartValueList::SetValue(int index, double value) {
  CheckIndex(index, Count());
  const double slot = Encode(value);
  const auto i = static_cast<std::size_t>(index);
  FValues[i] = slot;
  // One slot changed: the list stays numbered only if it was and the new slot fits.
  KeepNumbered(i, slot);
  FExact = false;  // the statistics are left as they were
}

void TChartValueList::AddStatistics(double stored) {
  const double v = stored * FMultiplier;
  FSum += v;
  FAbsSum += std::fabs(v);
  if (Count() == 1) {
    FHighest = v;
    FLowest = v;
    FHighCount = FLowCount = 1;
    FExact = true;
  } else {
    if (v < FLowest) FLowest = v, FLowCount = 0;
    if (v > FHighest) FHighest = v, FHighCount = 0;
    if (v == FLowest) ++FLowCount;
    if (v == FHighest) ++FHighCount;
  }
  if (FMultiplier != 1.0 || Unordered(stored)) FExact = false;
}

int TChartValueList::AddValue(double value) {
  int n = Count();
  int at = n;
  if (n > 0) {
    if (FOrder == loAscending && value < At(static_cast<std::size_t>(n - 1))) {
      int i = n - 1;
      while (i >= 0 && value < At(static_cast<std::size_t>(i))) --i;
      at = i + 1;
    } else if (FOrder == loDescending && value > At(static_cast<std::size_t>(n - 1))) {
      int i = n - 1;
      while (i >= 0 && value > At(static_cast<std::size_t>(i))) --i;
      at = i + 1;
    }
  }
  if (at == n) {
    const double slot = Encode(value);
    FValues.push_back(slot);
    KeepNumbered(static_cast<std::size_t>(n), slot);
  } else {
    DropOffset();
    FValues.insert(static_cast<std::size_t>(at), value);
    FNumbered = false;
  }
  AddStatistics(value);
  return at;
}

void TChartValueList::InsertValue(int index, double value) {
  CheckIndex(index, Count() + 1);
  if (index == Count()) {
    const double slot = Encode(value);
    FValues.push_back(slot);
    KeepNumbered(static_cast<std::size_t>(index), slot);
  } else {
    DropOffset();
    FValues.insert(static_cast<std::size_t>(index), value);
    FNumbered = false;
  }
  AddStatistics(value);
}

void TChartValueList::DeleteValue(int index) {
  CheckIndex(index, Count());
  const auto i = static_cast<std::size_t>(index);
  const double s = At(i);
  FValues.erase(i);
  if (FValues.empty()) {
    FOffset = FFirst = 0;
    FNumbered = true;
  } else if (FNumbered && i == 0) {
    FFirst += 1;  // slot j now holds what slot j + 1 held
  } else if (i != FValues.size()) {
    FNumbered = false;
  }
  const double v = s * FMultiplier;
  FSum -= v;
  FAbsSum -= std::fabs(v);
  // A rescan would find the extremes unchanged while another value holds each of them.
  if (FExact && !FNumbered && !FValues.empty()) {
    const int low = v == FLowest ? FLowCount - 1 : FLowCount;
    const int high = v == FHighest ? FHighCount - 1 : FHighCount;
    if (low > 0 && high > 0) {
      FLowCount = low;
      FHighCount = high;
      return;
    }
  }
  RecomputeExtremes();
}

void TChartValueList::ClearValues() {
  FValues.clear();
  FOffset = FFirst = 0;
  FNumbered = true;
  FSum = 0.0;
  FAbsSum = 0.0;
  FHighest = 0.0;
  FLowest = 0.0;
  FExact = true;
  FHighCount = FLowCount = 0;
}

void TChartValueList::RecomputeExtremes() {
  FHighest = 0.0;
  FLowest = 0.0;
  FHighCount = FLowCount = 0;
  FExact = true;
  const std::size_t n = FValues.size();
  if (n == 0) return;
  // Extremes of the raw values, then multiplied: a negative multiplier swaps them. The result
  // equals comparing the multiplied values one by one. A numbered list has them at its ends.
  double lo, hi;
  bool unordered = false;
  if (FNumbered) {
    lo = At(0);
    hi = At(n - 1);
    FLowCount = FHighCount = 1;
  } else {
    const double* p = FValues.data();
    lo = p[0] - FOffset;
    hi = lo;
    for (std::size_t i = 0; i < n; ++i) {
      const double v = p[i] - FOffset;
      if (v < lo) lo = v, FLowCount = 0;
      if (v > hi) hi = v, FHighCount = 0;
      FLowCount += v == lo ? 1 : 0;
      FHighCount += v == hi ? 1 : 0;
      unordered = unordered || Unordered(v);
    }
  }
  const double a = lo * FMultiplier;
  const double b = hi * FMultiplier;
  FLowest = a < b ? a : b;
  FHighest = a < b ? b : a;
  FExact = FMultiplier == 1.0 && !unordered;
}

void TChartValueList::Renumber() {
  const std::size_t n = FValues.size();
  if (FNumbered && std::fabs(FFirst) < kWholeLimit / 2) {
    FOffset = FFirst;  // slot i holds FFirst + i: value i
  } else {
    double* p = FValues.data();
    for (std::size_t i = 0; i < n; ++i) p[i] = static_cast<double>(i);
    FOffset = FFirst = 0;
    FNumbered = true;
  }
  FExact = false;  // the statistics are left as they were
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
