// Value lists: ordered insertion, running statistics through delete and renumber, the
// list-index error, and the front-removal storage behaving like a plain array.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "base/Exceptions.h"
#include "series/ValueList.h"

namespace varnel {
namespace {

std::vector<double> Values(const TChartValueList& l) {
  std::vector<double> v;
  for (int i = 0; i < l.Count(); ++i) v.push_back(l.Value(i));
  return v;
}

TEST(ValueList, OrderedInsertionPutsEqualValuesAfter) {
  TChartValueList up(nullptr, "X");
  up.SetOrder(loAscending);
  for (double v : {1.0, 3.0, 5.0}) up.AddValue(v);
  EXPECT_EQ(up.AddValue(2), 1);
  EXPECT_EQ(Values(up), (std::vector<double>{1, 2, 3, 5}));
  EXPECT_EQ(up.AddValue(5), 4);  // after the equal 5
  EXPECT_EQ(up.AddValue(0), 0);
  EXPECT_EQ(up.AddValue(3), 4);  // after the 3 at index 3

  TChartValueList down(nullptr, "Y");
  down.SetOrder(loDescending);
  for (double v : {5.0, 3.0, 1.0}) down.AddValue(v);
  EXPECT_EQ(down.AddValue(4), 1);
  EXPECT_EQ(Values(down), (std::vector<double>{5, 4, 3, 1}));
  EXPECT_EQ(down.AddValue(3), 3);

  TChartValueList none(nullptr, "Y");
  for (double v : {5.0, 1.0, 3.0}) {
    const int at = none.AddValue(v);
    EXPECT_EQ(at, none.Count() - 1);
  }
  EXPECT_EQ(Values(none), (std::vector<double>{5, 1, 3}));
}

TEST(ValueList, StatisticsFollowAddsInsertsAndDeletes) {
  TChartValueList l(nullptr, "Y");
  l.AddValue(10);
  l.AddValue(90);
  l.InsertValue(0, -40);
  EXPECT_DOUBLE_EQ(l.Sum(), 60);
  EXPECT_DOUBLE_EQ(l.AbsSum(), 140);
  EXPECT_DOUBLE_EQ(l.Highest(), 90);
  EXPECT_DOUBLE_EQ(l.Lowest(), -40);
  l.DeleteValue(2);
  EXPECT_DOUBLE_EQ(l.Highest(), 10);
  EXPECT_DOUBLE_EQ(l.Lowest(), -40);
  EXPECT_DOUBLE_EQ(l.Sum(), -30);
  EXPECT_DOUBLE_EQ(l.AbsSum(), 50);
  l.DeleteValue(0);
  l.DeleteValue(0);
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(l.Highest(), 0);
  EXPECT_EQ(l.Lowest(), 0);
  // The first value of an empty list sets both extremes, whatever they were.
  l.AddValue(7);
  EXPECT_EQ(l.Highest(), 7);
  EXPECT_EQ(l.Lowest(), 7);
  l.ClearValues();
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(l.Sum(), 0);
  EXPECT_EQ(l.AbsSum(), 0);
  EXPECT_EQ(l.Highest(), 0);
  EXPECT_EQ(l.Lowest(), 0);
}

TEST(ValueList, RenumberKeepsTheStatisticsOfTheDeletion) {
  TChartValueList x(nullptr, "X");
  x.SetOrder(loAscending);
  for (int i = 0; i < 60; ++i) x.AddValue(i);
  x.DeleteValue(0);
  EXPECT_EQ(x.Lowest(), 1);
  EXPECT_EQ(x.Highest(), 59);
  x.Renumber();
  EXPECT_EQ(x.Value(0), 0);
  EXPECT_EQ(x.Value(58), 58);
  EXPECT_EQ(x.Lowest(), 1);  // renumbering does no statistics work
  EXPECT_EQ(x.Highest(), 59);
  EXPECT_EQ(x.AddValue(59), 59);
  EXPECT_EQ(x.Highest(), 59);
  EXPECT_EQ(x.Count(), 60);
  // Many cycles: the list stays 0..59 and the extremes stay 1 and 59.
  for (int k = 0; k < 1000; ++k) {
    x.DeleteValue(0);
    x.Renumber();
    x.AddValue(x.Count());
  }
  for (int i = 0; i < 60; ++i) ASSERT_EQ(x.Value(i), i);
  EXPECT_EQ(x.Lowest(), 1);
  EXPECT_EQ(x.Highest(), 59);
  // Sum is a running total: each cycle removes a stored 0 and adds 59; renumbering is not seen.
  EXPECT_EQ(x.Sum(), 59 * 60 / 2 + 1001 * 59);
}

TEST(ValueList, MultiplierScalesReadsAndStatistics) {
  TChartValueList l(nullptr, "Y");
  l.SetMultiplier(2);
  l.AddValue(3);
  EXPECT_EQ(l.Value(0), 6);
  EXPECT_EQ(l.StoredValue(0), 3);
  EXPECT_EQ(l.Sum(), 6);
  l.AddValue(-1);
  l.SetMultiplier(-1);  // extremes recomputed (and swapped), sums left as accumulated
  EXPECT_EQ(l.Highest(), 1);
  EXPECT_EQ(l.Lowest(), -3);
  EXPECT_EQ(l.Sum(), 4);
  EXPECT_EQ(l.AbsSum(), 8);
}

TEST(ValueList, IndexErrorsNameTheIndexAndChangeNothing) {
  TChartValueList l(nullptr, "Y");
  l.AddValue(1);
  auto message = [](auto&& f) {
    try {
      f();
    } catch (const EListError& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { l.Value(1); }), "List index out of bounds (1)");
  EXPECT_EQ(message([&] { l.StoredValue(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(message([&] { l.SetValue(5, 0); }), "List index out of bounds (5)");
  EXPECT_EQ(message([&] { l.DeleteValue(1); }), "List index out of bounds (1)");
  EXPECT_EQ(message([&] { l.InsertValue(2, 0); }), "List index out of bounds (2)");
  l.InsertValue(1, 2);  // Count itself is a valid insert position
  EXPECT_EQ(l.Count(), 2);
  EXPECT_EQ(l.Sum(), 3);
  TChartValueList empty(nullptr, "Y");
  EXPECT_EQ(message([&] { empty.Last(); }), "List index out of bounds (-1)");
}

TEST(ValueList, AssignCopiesSettingsButNotNameOrValues) {
  TChartValueList a(nullptr, "A"), b(nullptr, "B");
  a.SetOrder(loDescending);
  a.SetDateTime(true);
  a.SetMultiplier(3);
  a.SetValueSource("Field");
  a.AddValue(1);
  b.Assign(a);
  EXPECT_EQ(b.Order(), loDescending);
  EXPECT_TRUE(b.DateTime());
  EXPECT_EQ(b.Multiplier(), 3);
  EXPECT_EQ(b.ValueSource(), "Field");
  EXPECT_EQ(b.Name(), "B");
  EXPECT_EQ(b.Count(), 0);
}

// The storage drops front values without moving the rest; seeded random edits must leave the
// same values and statistics as a plain vector does.
TEST(ValueList, RandomEditsMatchAPlainArray) {
  std::mt19937 rng(1234);
  TChartValueList l(nullptr, "Y");
  std::vector<double> ref;
  for (int step = 0; step < 20000; ++step) {
    const int op = static_cast<int>(rng() % 10);
    const int n = static_cast<int>(ref.size());
    if (op < 4 || n == 0) {
      const double v = static_cast<double>(rng() % 1000);
      const int at = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
      l.InsertValue(at, v);
      ref.insert(ref.begin() + at, v);
    } else if (op < 6) {
      l.DeleteValue(0);
      ref.erase(ref.begin());
    } else if (op < 8) {
      const int at = static_cast<int>(rng() % static_cast<unsigned>(n));
      l.DeleteValue(at);
      ref.erase(ref.begin() + at);
    } else {
      const double v = static_cast<double>(rng() % 1000);
      l.AddValue(v);
      ref.push_back(v);
    }
    ASSERT_EQ(l.Count(), static_cast<int>(ref.size()));
  }
  ASSERT_EQ(Values(l), ref);
  double sum = 0, lo = ref.empty() ? 0 : ref[0], hi = lo;
  for (double v : ref) {
    sum += v;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  EXPECT_EQ(l.Sum(), sum);  // whole numbers: exact
  if (!ref.empty()) l.DeleteValue(0), ref.erase(ref.begin());
  lo = ref[0], hi = ref[0];
  for (double v : ref) lo = std::min(lo, v), hi = std::max(hi, v);
  EXPECT_EQ(l.Lowest(), lo);
  EXPECT_EQ(l.Highest(), hi);
}

}  // namespace
}  // namespace varnel
