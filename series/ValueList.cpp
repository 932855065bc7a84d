// TChartValueList: ordered insertion, running statistics, renumbering and the owner's
// notifications.
#include "series/ValueList.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

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

namespace {

// 0, 1, 2, ... as one run of at least n doubles, shared by every numbered list. A longer run
// takes over when one is asked for; the shorter ones stay, so a run handed out stays valid.
const double* WholeNumbers(std::size_t n) {
  static std::atomic<const double*> current{nullptr};
  static std::atomic<std::size_t> length{0};
  if (n <= length.load(std::memory_order_acquire)) return current.load(std::memory_order_acquire);
  static std::mutex mutex;
  static std::vector<std::unique_ptr<double[]>> runs;
  const std::lock_guard<std::mutex> lock(mutex);
  if (n > length.load(std::memory_order_relaxed)) {
    const std::size_t size = std::max<std::size_t>(1024, std::bit_ceil(n));
    auto run = std::make_unique<double[]>(size);
    for (std::size_t i = 0; i < size; ++i) run[i] = static_cast<double>(i);
    current.store(run.get(), std::memory_order_release);
    length.store(size, std::memory_order_release);
    runs.push_back(std::move(run));
  }
  return current.load(std::memory_order_acquire);
}

}  // namespace

const double* TChartValueList::StoredValues() const {
  return FNumbered ? WholeNumbers(FCount) : FValues.data();
}

void TChartValueList::StoreValues() {
  if (!FNumbered) return;
  FBlocks.Reset();
  FValues.clear();
  FValues.reserve(FCount);
  for (std::size_t i = 0; i < FCount; ++i) FValues.push_back(FFirst + static_cast<double>(i));
  FNumbered = false;
  FFirst = 0;
  FCount = 0;
}

bool TChartValueList::ContinuesNumbers(double stored) const {
  return FNumbered && IsPlainZeroOrWhole(stored) && (FCount == 0 || stored == FFirst + static_cast<double>(FCount));
}

void TChartValueList::PushBack(double stored) {
  if (ContinuesNumbers(stored)) {
    if (FCount == 0) FFirst = stored;
    ++FCount;
    return;
  }
  StoreValues();
  FValues.push_back(stored);
  FBlocks.Appended(FValues.data(), FValues.size());
}

void TChartValueList::SetValue(int index, double value) {
  CheckIndex(index, Count());
  FExact = false;  // the statistics are left as they were
  const auto i = static_cast<std::size_t>(index);
  if (FNumbered && value == At(i) && IsPlainZeroOrWhole(value)) return;
  StoreValues();
  FValues[i] = value;
  FBlocks.Changed(FValues.data(), FValues.size(), i);
  // A single whole number is numbered again.
  if (FValues.size() == 1 && IsPlainZeroOrWhole(value)) {
    FBlocks.Reset();
    FValues.clear();
    FNumbered = true;
    FFirst = value;
    FCount = 1;
  }
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
    PushBack(value);
  } else {
    StoreValues();
    FValues.insert(static_cast<std::size_t>(at), value);
    FBlocks.Reset();
  }
  AddStatistics(value);
  return at;
}

void TChartValueList::InsertValue(int index, double value) {
  CheckIndex(index, Count() + 1);
  if (index == Count()) {
    PushBack(value);
  } else {
    StoreValues();
    FValues.insert(static_cast<std::size_t>(index), value);
    FBlocks.Reset();
  }
  AddStatistics(value);
}

void TChartValueList::DeleteValue(int index) {
  CheckIndex(index, Count());
  const auto i = static_cast<std::size_t>(index);
  const double s = At(i);
  if (FNumbered && (i == 0 || i + 1 == FCount)) {
    if (i == 0) FFirst += 1;  // value j is now what value j + 1 was
    --FCount;
  } else {
    StoreValues();
    FValues.erase(i);
    // The history's block summary follows values dropped at either end.
    if (i == 0)
      FBlocks.DroppedFront();
    else if (i == FValues.size())
      FBlocks.DroppedBack(FValues.data(), FValues.size());
    else
      FBlocks.Reset();
  }
  if (Count() == 0) ClearStorage();
  const double v = s * FMultiplier;
  FSum -= v;
  FAbsSum -= std::fabs(v);
  // A rescan would find the extremes unchanged while another value holds each of them.
  if (FExact && !FNumbered) {
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

void TChartValueList::ClearStorage() {
  FBlocks.Reset();
  FValues.clear();
  FNumbered = true;
  FFirst = 0;
  FCount = 0;
}

void TChartValueList::ClearValues() {
  ClearStorage();
  FSum = 0.0;
  FAbsSum = 0.0;
  FHighest = 0.0;
  FLowest = 0.0;
  FExact = true;
  FHighCount = FLowCount = 0;
}

bool TChartValueList::StoredExtremes(int first, int last, double& lo, double& hi) const {
  CheckIndex(first, Count());
  CheckIndex(last, Count());
  if (last < first) throw EListError(FormatMessage(msg::ListIndexError, {IntToStr(last)}));
  if (FNumbered) {
    lo = At(static_cast<std::size_t>(first));
    hi = At(static_cast<std::size_t>(last));
    return true;
  }
  if (!FBlocks.Active()) FBlocks.Build(FValues.data(), FValues.size());
  return FBlocks.Extremes(FValues.data(), static_cast<std::size_t>(first), static_cast<std::size_t>(last), lo, hi);
}

int TChartValueList::LastDifferentStored(int first, int from, double value) const {
  if (first > from) return from;
  CheckIndex(first, Count());
  CheckIndex(from, Count());
  if (FNumbered) {
    int k = from;
    while (k >= first && At(static_cast<std::size_t>(k)) == value) --k;
    return k;
  }
  if (!FBlocks.Active()) FBlocks.Build(FValues.data(), FValues.size());
  return static_cast<int>(
      FBlocks.LastDifferent(FValues.data(), static_cast<std::size_t>(first), static_cast<std::size_t>(from), value));
}

void TChartValueList::RecomputeExtremes() {
  FHighest = 0.0;
  FLowest = 0.0;
  FHighCount = FLowCount = 0;
  FExact = true;
  const auto n = static_cast<std::size_t>(Count());
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
    lo = p[0];
    hi = lo;
    for (std::size_t i = 0; i < n; ++i) {
      const double v = p[i];
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
  // 0, 1, 2, ...: a numbered list, whatever it held.
  const auto n = static_cast<std::size_t>(Count());
  ClearStorage();
  FCount = n;
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
