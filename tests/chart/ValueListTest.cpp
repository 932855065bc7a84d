// Value lists: ordered insertion, running statistics through delete and renumber, the
// list-index error, the front-removal storage behaving like a plain array, and the values of
// numbered lists (kept without storage) read through their shared run.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
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

// The list as first written: a plain array whose deletions rescan for the extremes and whose
// renumbering rewrites every value. The list's shortcuts (front removal that moves nothing,
// renumbering by an offset, deletions that skip the rescan) must be invisible beside it.
struct TPlainList {
  std::vector<double> V;
  TChartListOrder Order = loNone;
  double Mult = 1, Sum = 0, AbsSum = 0, Hi = 0, Lo = 0;
  void Stats(double stored) {
    const double v = stored * Mult;
    Sum += v;
    AbsSum += std::fabs(v);
    if (V.size() == 1) Hi = Lo = v;
    if (v < Lo) Lo = v;
    if (v > Hi) Hi = v;
  }
  void Rescan() {
    Hi = Lo = 0;
    if (V.empty()) return;
    double l = V[0], h = V[0];
    for (double x : V) l = x < l ? x : l, h = x > h ? x : h;
    const double a = l * Mult, b = h * Mult;
    Lo = a < b ? a : b;
    Hi = a < b ? b : a;
  }
  void Add(double x) {
    std::size_t at = V.size();
    if (Order == loAscending) while (at > 0 && x < V[at - 1]) --at;
    if (Order == loDescending) while (at > 0 && x > V[at - 1]) --at;
    V.insert(V.begin() + static_cast<std::ptrdiff_t>(at), x);
    Stats(x);
  }
  void Delete(std::size_t i) {
    const double s = V[i] * Mult;
    V.erase(V.begin() + static_cast<std::ptrdiff_t>(i));
    Sum -= s;
    AbsSum -= std::fabs(s);
    Rescan();
  }
};

bool Same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) || (a != a && b != b); }

TEST(ValueList, RandomEditsMatchAPlainArray) {
  std::mt19937 rng(1234);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 6; ++round) {
    TChartValueList l(nullptr, "Y");
    TPlainList ref;
    ref.Order = static_cast<TChartListOrder>(round % 3);
    l.SetOrder(ref.Order);
    for (int step = 0; step < 6000; ++step) {
      const int n = static_cast<int>(ref.V.size());
      // Mostly whole numbers and the running count (which keeps a list numbered), now and then a
      // fraction, a negative zero, a value that is not a number or one too large to offset.
      const double special[] = {0.5, -0.0, std::nan(""), 1e300, -7, 9007199254740993.0};
      const int kind = pick(20);
      const double v = kind < 12 ? n : kind < 18 ? pick(100) : special[pick(6)];
      const int op = pick(n == 0 ? 2 : 100);
      if (op < 30 && n > 0) {  // the graph's cycle
        l.DeleteValue(0), ref.Delete(0);
        l.Renumber();
        for (int i = 0; i < n - 1; ++i) ref.V[static_cast<std::size_t>(i)] = i;
        l.AddValue(v), ref.Add(v);
      } else if (op < 55) {
        l.AddValue(v), ref.Add(v);
      } else if (op < 62) {
        const int at = pick(n + 1);
        l.InsertValue(at, v), ref.V.insert(ref.V.begin() + at, v), ref.Stats(v);
      } else if (op < 80) {
        const int at = op < 70 ? 0 : op < 75 ? n - 1 : pick(n);
        l.DeleteValue(at), ref.Delete(static_cast<std::size_t>(at));
      } else if (op < 88) {
        const int at = pick(n);
        l.SetValue(at, v), ref.V[static_cast<std::size_t>(at)] = v;
      } else if (op < 96) {
        l.Renumber();
        for (int i = 0; i < n; ++i) ref.V[static_cast<std::size_t>(i)] = i;
      } else if (op < 99) {
        const double m = std::array{1.0, 2.0, -1.0, 0.0}[static_cast<std::size_t>(pick(4))];
        l.SetMultiplier(m);
        if (m != ref.Mult) ref.Mult = m, ref.Rescan();
      } else {
        l.ClearValues(), ref = TPlainList{{}, ref.Order, ref.Mult};
      }
      ASSERT_EQ(l.Count(), static_cast<int>(ref.V.size())) << step;
      ASSERT_TRUE(Same(l.Highest(), ref.Hi) && Same(l.Lowest(), ref.Lo))
          << round << "/" << step << ": " << l.Lowest() << ".." << l.Highest() << " want " << ref.Lo << ".." << ref.Hi;
      ASSERT_TRUE(Same(l.Sum(), ref.Sum) && Same(l.AbsSum(), ref.AbsSum)) << step;
      if (step % 25 == 0 || n < 3)
        for (int i = 0; i < l.Count(); ++i) {
          ASSERT_TRUE(Same(l.StoredValue(i), ref.V[static_cast<std::size_t>(i)])) << step << " at " << i;
          ASSERT_TRUE(Same(l.StoredValues()[i] - l.StoredOffset(), ref.V[static_cast<std::size_t>(i)]));
        }
      if (ref.V.size() > 300) l.ClearValues(), ref = TPlainList{{}, ref.Order, ref.Mult};
    }
  }
}

// The extremes of a stretch of stored values, which a list once asked keeps per block of values
// as the history moves on (appended at the end, dropped at the front), against a plain loop
// over the values: the same answer whether every value is a finite number, and then the same
// least and greatest, through every kind of change, with values that are not numbers, infinite
// or a negative zero among them, and stretches that start and end anywhere in a block.
TEST(ValueList, StoredExtremesMatchALoopOverTheValues) {
  std::mt19937 rng(11);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const double odd[] = {std::nan(""), HUGE_VAL, -HUGE_VAL, -0.0, 1e300, -1e300};
  TChartValueList l(nullptr, "Y");
  std::vector<double> ref;
  const auto check = [&](int first, int last, int step) {
    bool finite = true;
    double lo = ref[static_cast<std::size_t>(first)], hi = lo;
    for (int i = first; i <= last; ++i) {
      const double v = ref[static_cast<std::size_t>(i)];
      finite = finite && std::isfinite(v);
      lo = std::min(lo, v), hi = std::max(hi, v);
    }
    double a = 0, b = 0;
    ASSERT_EQ(l.StoredExtremes(first, last, a, b), finite) << step << ": " << first << ".." << last;
    if (finite) {
      ASSERT_TRUE(a == lo && b == hi) << step << ": " << first << ".." << last << " " << a << ".." << b;
    }
  };
  for (int step = 0; step < 20000; ++step) {
    const int n = static_cast<int>(ref.size());
    const int op = pick(1000);
    // Mostly the history's cycle: a value in at the end, the oldest out (a history of at least
    // 200 values, once filled); changes elsewhere (which drop the summary) now and then.
    double v = pick(1000) / 8.0 - 40;
    if (pick(400) == 0) v = odd[pick(6)];
    if (op < 450 || n < 200) {
      l.AddValue(v), ref.push_back(v);
    } else if (op < 850) {
      l.DeleteValue(0), ref.erase(ref.begin());
    } else if (op < 930) {
      l.DeleteValue(n - 1), ref.pop_back();
    } else if (op < 980) {
      const int i = pick(n);
      l.SetValue(i, v), ref[static_cast<std::size_t>(i)] = v;
    } else if (op < 988) {
      const int i = pick(n);
      l.DeleteValue(i), ref.erase(ref.begin() + i);
    } else if (op < 996) {
      const int i = pick(n + 1);
      l.InsertValue(i, v), ref.insert(ref.begin() + i, v);
    } else if (op < 998) {
      l.Renumber();
      for (int i = 0; i < n; ++i) ref[static_cast<std::size_t>(i)] = i;
    } else {
      l.ClearValues(), ref.clear();
    }
    const int count = static_cast<int>(ref.size());
    if (count == 0) continue;
    ASSERT_EQ(l.Count(), count);
    check(0, count - 1, step);
    for (int k = 0; k < 3; ++k) {
      const int first = pick(count);
      check(first, first + pick(count - first), step);
    }
    if (count > 600) {  // keep the history a few hundred values long
      for (int k = 0; k < 300; ++k) l.DeleteValue(0);
      ref.erase(ref.begin(), ref.begin() + 300);
    }
  }
  double a, b;
  EXPECT_THROW(l.StoredExtremes(0, l.Count(), a, b), EListError);
}

// The last value of a stretch that differs from a given one, which a long flat stretch (a core
// held at 100 %) answers from the blocks' extremes, against a loop over the values: histories
// mostly flat with a few other values (zeros of both signs, values that are not numbers) at any
// place in a block, moving on as the graph's history does, with changes elsewhere now and then.
TEST(ValueList, LastDifferentStoredMatchesALoopOverTheValues) {
  std::mt19937 rng(5);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const double others[] = {99, 0.0, -0.0, std::nan(""), 100.5};
  TChartValueList l(nullptr, "Y");
  std::vector<double> ref;
  for (int step = 0; step < 20000; ++step) {
    const int n = static_cast<int>(ref.size());
    const double v = pick(60) == 0 ? others[pick(5)] : 100;
    const int op = pick(100);
    if (op < 48 || n < 100) {
      l.AddValue(v), ref.push_back(v);
    } else if (op < 94) {
      l.DeleteValue(0), ref.erase(ref.begin());
    } else if (op < 97) {
      l.DeleteValue(n - 1), ref.pop_back();
    } else {
      const int i = pick(n);
      l.SetValue(i, v), ref[static_cast<std::size_t>(i)] = v;
    }
    const int count = static_cast<int>(ref.size());
    for (int k = 0; k < 3; ++k) {
      const int from = pick(count), first = pick(from + 1);
      const double value = k == 0 ? ref[static_cast<std::size_t>(from)] : k == 1 ? 100.0 : others[pick(5)];
      int want = from;
      while (want >= first && ref[static_cast<std::size_t>(want)] == value) --want;
      ASSERT_EQ(l.LastDifferentStored(first, from, value), want) << step << ": " << first << ".." << from << " " << value;
    }
    if (count > 700) {  // keep the history a few hundred values long
      for (int k = 0; k < 300; ++k) l.DeleteValue(0);
      ref.erase(ref.begin(), ref.begin() + 300);
    }
  }
}

// Numbered lists read their values from one shared run of whole numbers: a run handed to one
// list stays readable while another list asks for a longer one, and a list that stops being
// numbered reads its own values from then on.
TEST(ValueList, NumberedValuesReadThroughTheSharedRunStayValid) {
  TChartValueList a(nullptr, "X"), b(nullptr, "X");
  for (int i = 0; i < 10; ++i) a.AddValue(i + 5);
  a.DeleteValue(0);  // 6 .. 14
  ASSERT_TRUE(a.Numbered());
  const double* run = a.StoredValues();
  for (int i = 0; i < 300000; ++i) b.AddValue(i - 7);
  const double* longRun = b.StoredValues();
  EXPECT_EQ(longRun[299999] - b.StoredOffset(), 299992.0);
  for (int i = 0; i < a.Count(); ++i) EXPECT_EQ(run[i] - a.StoredOffset(), 6.0 + i);
  EXPECT_EQ(a.Highest(), 14.0);
  b.Renumber();
  EXPECT_EQ(b.StoredValues()[0] - b.StoredOffset(), 0.0);
  a.SetValue(3, 2.5);
  EXPECT_FALSE(a.Numbered());
  EXPECT_EQ(Values(a), (std::vector<double>{6, 7, 8, 2.5, 10, 11, 12, 13, 14}));
  EXPECT_EQ(a.StoredValues()[3] - a.StoredOffset(), 2.5);
}

}  // namespace
}  // namespace varnel
