// TChartValueList: one column of numbers of a series (its X values, its Y values, ...), kept in
// the order its Order asks for, with running statistics (Sum, AbsSum, Highest, Lowest) so that
// the axes find their range without a scan, and the Renumber step of the scrolling graph.
//
// Stored values are raw; Value(i) reads raw x Multiplier, and the statistics are in multiplied
// units. A list that holds consecutive whole numbers (the X values of the scrolling graph) keeps
// only its first value and its length, and takes room for its values only once they stop being
// consecutive. The once-a-second "drop the oldest, renumber, append" cycle of the scrolling
// graph touches no more than the values at the ends, whatever the plot's length: removing the
// first value moves nothing, renumbering a list of consecutive numbers changes its first value
// alone, and deleting a value rescans for the extremes only when it was the last one holding
// one of them.
//
//   TChartValueList& x = series.XValues();
//   x.DeleteValue(0);  x.Renumber();  x.AddValue(x.Count());
#pragma once
#include <cstddef>
#include <string>

#include "series/BlockExtremes.h"
#include "series/ShiftVector.h"

namespace varnel {

class TChartSeries;

enum TChartListOrder : unsigned char { loNone = 0, loAscending = 1, loDescending = 2 };

class TChartValueList {
 public:
  // A list of the given series (may be null for a free-standing list) with the given name.
  // The series registers the list among its columns (TChartSeries::AddValueList).
  TChartValueList(TChartSeries* owner, std::string name);
  TChartValueList(const TChartValueList&) = delete;
  TChartValueList& operator=(const TChartValueList&) = delete;

  TChartSeries* OwnerSeries() const { return FOwner; }

  int Count() const { return FNumbered ? static_cast<int>(FCount) : static_cast<int>(FValues.size()); }
  // Stored value x Multiplier; raises EListError "List index out of bounds (%d)" outside
  // 0..Count-1.
  double Value(int index) const;
  double StoredValue(int index) const;
  // Value(Count - 1); on an empty list the list-index error with index -1.
  double Last() const;
  // The raw stored values as one contiguous run of Count() doubles, each StoredOffset() above
  // the value it stands for: StoredValue(i) == StoredValues()[i] - StoredOffset(), exactly
  // (valid until the next change). The offset is 0 unless the list holds whole numbers only
  // (a numbered list hands out a run of whole numbers shared by every such list).
  const double* StoredValues() const;
  double StoredOffset() const { return FNumbered ? 0.0 - FFirst : 0.0; }

  // Overwrites the stored value; statistics and everyone else are left alone.
  void SetValue(int index, double value);
  // Ordered insertion (equal values go after the ones already there); returns the index.
  int AddValue(double value);
  // Inserts at 0..Count.
  void InsertValue(int index, double value);
  void DeleteValue(int index);
  // Removes every value and the storage; all statistics 0.
  void ClearValues();
  void RecomputeExtremes();
  // Whether the stored values first .. last (0 <= first <= last < Count) are all finite
  // numbers, and then the least and the greatest of them. A list asked once keeps the extremes
  // of each block of 32 values from then on, as values come and go at its ends, so that a long
  // stretch costs its blocks and its two ends (a change anywhere else drops that summary until
  // the next call).
  bool StoredExtremes(int first, int last, double& lo, double& hi) const;
  // The greatest stored index k in [first, from] (0 <= first, from < Count) whose value is not
  // equal to `value`, first - 1 if there is none; a long flat stretch (a core held at 100 %)
  // costs its blocks through the same summary.
  int LastDifferentStored(int first, int from, double value) const;
  // SetValue(i, i) for every i: no statistics work, no notification.
  void Renumber();
  // Copies Order, DateTime, Multiplier and ValueSource (not the name, not the values).
  void Assign(const TChartValueList& source);

  // Whether the stored values rise by exactly one from the first, all whole numbers (none of
  // them a negative zero); such a list keeps no values, only the first and the count. False
  // may also mean "not known" for a list whose values were once out of step.
  bool Numbered() const { return FNumbered; }
  TChartListOrder Order() const { return FOrder; }
  void SetOrder(TChartListOrder v) { FOrder = v; }
  bool DateTime() const { return FDateTime; }
  // Repaints the owner series when changed.
  void SetDateTime(bool v);
  double Multiplier() const { return FMultiplier; }
  // When changed: recomputes Highest and Lowest (Sum and AbsSum stay as accumulated), sends the
  // owner's dependents a refresh and repaints the owner series.
  void SetMultiplier(double v);
  double PendingValue() const { return FPendingValue; }
  void SetPendingValue(double v) { FPendingValue = v; }
  const std::string& Name() const { return FName; }
  void SetName(const std::string& v) { FName = v; }
  const std::string& ValueSource() const { return FValueSource; }
  // Makes the owner series reload from its source when changed.
  void SetValueSource(const std::string& v);

  double Sum() const { return FSum; }
  double AbsSum() const { return FAbsSum; }
  double Highest() const { return FHighest; }
  double Lowest() const { return FLowest; }

 private:
  void CheckIndex(int index, int limit) const;
  void AddStatistics(double stored);
  // The stored value at i.
  double At(std::size_t i) const { return FNumbered ? FFirst + static_cast<double>(i) : FValues[i]; }
  // Whether appending the value keeps the list numbered.
  bool ContinuesNumbers(double stored) const;
  // Appends to a list kept numbered or stored, whichever the value allows.
  void PushBack(double stored);
  // Empty and numbered, the storage given back.
  void ClearStorage();
  // Gives a numbered list room for its values (FFirst, FFirst + 1, ...); it is stored from then on.
  void StoreValues();

  TChartSeries* FOwner;
  // Numbered: value i is FFirst + i for i < FCount (whole numbers below 2^52, no negative zero),
  // and FValues is empty. Otherwise FValues holds the values.
  bool FNumbered = true;
  double FFirst = 0.0;
  std::size_t FCount = 0;
  TShiftVector<double> FValues;
  mutable TBlockExtremes FBlocks;  // of FValues, once asked for (never of a numbered list)
  // Highest and Lowest are those of a rescan and FHighCount / FLowCount values hold them (kept
  // only with multiplier 1 and while no value that is not a number or a negative zero is there,
  // where the scan's outcome depends on where such a value stands).
  bool FExact = true;
  int FHighCount = 0, FLowCount = 0;
  TChartListOrder FOrder = loNone;
  bool FDateTime = false;
  double FMultiplier = 1.0;
  double FPendingValue = 0.0;
  std::string FName;
  std::string FValueSource;
  double FSum = 0.0;
  double FAbsSum = 0.0;
  double FHighest = 0.0;
  double FLowest = 0.0;
};

}  // namespace varnel
