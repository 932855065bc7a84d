// Series data sources: a dependent follows its source's adds, deletes and clears point by point,
// reloads on a refresh, and recomputes through a calculation; the checks of the DataSource
// setter (no chart, invalid source, circular dependences) and of a calculation's period.
#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "chart/Chart.h"
#include "series/ChartFunction.h"
#include "series/DataSource.h"
#include "series/FastLineSeries.h"

namespace varnel {
namespace {

std::vector<double> YsOf(const TChartSeries& s) {
  std::vector<double> out;
  for (int i = 0; i < s.Count(); ++i) out.push_back(s.YValueAt(i));
  return out;
}

std::string ChartErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ChartException& e) {
    return e.Message();
  }
  return "";
}

struct Sources {
  TChart chart;
  TFastLineSeries a, b, c;
  Sources() {
    a.SetName("A");
    b.SetName("B");
    c.SetName("C");
    for (TChartSeries* s : {&a, &b, &c}) s->SetParentChart(&chart);
  }
};

TEST(DataSource, ADependentFollowsItsSource) {
  Sources f;
  f.a.AppendY(1, "one", clRed);
  f.a.AppendY(2);
  f.b.SetDataSource(&f.a);  // copies what is there
  EXPECT_EQ(f.b.DataSource(), &f.a);
  EXPECT_EQ(f.a.Dependents(), (std::vector<TChartSeries*>{&f.b}));
  EXPECT_EQ(YsOf(f.b), (std::vector<double>{1, 2}));
  EXPECT_EQ(f.b.LabelAt(0), "one");
  EXPECT_EQ(f.b.StoredPointColor(0), clRed);
  f.a.AppendY(5);
  EXPECT_EQ(YsOf(f.b), (std::vector<double>{1, 2, 5}));
  EXPECT_EQ(f.b.XValueAt(2), 2);
  f.a.Delete(0);
  EXPECT_EQ(YsOf(f.b), (std::vector<double>{2, 5}));
  f.a.YValues().SetMultiplier(10);  // a refresh reloads everything
  EXPECT_EQ(YsOf(f.b), (std::vector<double>{20, 50}));
  f.a.Clear();
  EXPECT_EQ(f.b.Count(), 0);

  // Followers of followers, and options that leave changes out.
  f.c.SetDataSource(&f.b);
  f.a.AppendY(7);
  EXPECT_EQ(YsOf(f.c), (std::vector<double>{70}));
  f.b.SetRefreshOptions(roOnDelete | roOnClear);
  f.a.AppendY(8);  // not followed: b keeps one point
  EXPECT_EQ(f.b.Count(), 1);
  // b has no point 1: its delete raises as the value list does.
  try {
    f.a.Delete(1);
    ADD_FAILURE() << "no list-index error";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (1)");
  }
  EXPECT_EQ(YsOf(f.b), (std::vector<double>{70}));
  f.a.Delete(0);
  EXPECT_EQ(f.b.Count(), 0);
  f.a.AppendY(8);

  // Dropping the source empties the series and ends the notifications.
  f.b.SetDataSource(nullptr);
  EXPECT_EQ(f.b.Count(), 0);
  EXPECT_TRUE(f.a.Dependents().empty());
  f.a.AppendY(9);
  EXPECT_EQ(f.b.Count(), 0);
}

TEST(DataSource, Checks) {
  Sources f;
  EXPECT_EQ(ChartErrorOf([&] { f.a.SetDataSource(&f.a); }), "No valid DataSource: A");
  EXPECT_EQ(f.a.DataSource(), nullptr);

  const std::string circular = "Circular Series dependences are not allowed";
  f.b.SetDataSource(&f.a);
  EXPECT_EQ(ChartErrorOf([&] { f.a.SetDataSource(&f.b); }), circular);
  EXPECT_EQ(f.a.DataSource(), nullptr);
  f.c.SetDataSource(&f.b);  // a <- b <- c
  EXPECT_EQ(ChartErrorOf([&] { f.a.SetDataSource(&f.c); }), circular);
  EXPECT_EQ(f.a.DataSource(), nullptr);
  EXPECT_EQ(ChartErrorOf([&] { f.c.SetDataSource(&f.a); }), "");  // not a cycle: c now reads a
  EXPECT_EQ(f.c.DataSources(), (std::vector<TChartSeries*>{&f.a}));
  EXPECT_TRUE(f.b.Dependents().empty());

  // A cycle through a second source (left by copying another series' sources) is found too.
  TFastLineSeries d;
  d.SetParentChart(&f.chart);
  d.LinkSource(&f.b);
  d.LinkSource(&f.a);
  f.b.SetDataSource(nullptr);
  EXPECT_EQ(ChartErrorOf([&] { f.a.SetDataSource(&d); }), circular);

  // Without a chart the source cannot be checked: a message, and nothing changes.
  std::vector<std::string> shown;
  SetDataSourceMessageHandler([&](const std::string& m) { shown.push_back(m); });
  TFastLineSeries loose;
  loose.SetDataSource(&f.a);
  SetDataSourceMessageHandler(nullptr);
  EXPECT_EQ(shown, (std::vector<std::string>{"No ParentChart to validate DataSource"}));
  EXPECT_EQ(loose.DataSource(), nullptr);
}

TEST(DataSource, CirclesAreRefusedOnEveryRoute) {
  Sources f;
  const std::string circular = "Circular Series dependences are not allowed";
  f.a.SetDataSource(&f.b);  // a <- b <- c
  f.b.SetDataSource(&f.c);
  f.a.SetTitle("from a");
  // Copying a's sources into c would make c take its points from b, which takes them from c.
  EXPECT_EQ(ChartErrorOf([&] { f.c.Assign(f.a); }), circular);
  EXPECT_TRUE(f.c.DataSources().empty());
  EXPECT_EQ(f.c.Title(), "");  // nothing changed
  EXPECT_EQ(ChartErrorOf([&] { f.c.LinkSource(&f.a); }), circular);
  EXPECT_EQ(ChartErrorOf([&] { f.c.LinkSource(&f.c); }), circular);
  EXPECT_TRUE(f.c.Dependents() == (std::vector<TChartSeries*>{&f.b}));
  // The chain still works and ends.
  f.c.AppendY(4);
  EXPECT_EQ(YsOf(f.a), (std::vector<double>{4}));
  // A copy that makes no circle takes the other's sources and their points.
  TFastLineSeries d;
  d.SetParentChart(&f.chart);
  d.Assign(f.a);
  EXPECT_EQ(d.DataSources(), (std::vector<TChartSeries*>{&f.b}));
  EXPECT_EQ(YsOf(d), (std::vector<double>{4}));
  // ... and follows them from now on.
  f.c.AppendY(5);
  EXPECT_EQ(YsOf(d), (std::vector<double>{4, 5}));
}

TEST(DataSource, LoadingFreeingAndCopying) {
  Sources f;
  TFastLineSeries second;
  second.SetParentChart(&f.chart);
  for (double v : {1, 2}) f.a.AppendY(v);
  second.AppendY(9);
  // Sources set while the chart loads are linked; the points come when loading ends.
  f.chart.BeginLoading();
  f.b.SetDataSource(&f.a);
  f.b.SetDataSource(&second);
  EXPECT_EQ(f.b.Count(), 0);
  f.chart.Loaded();
  EXPECT_EQ(YsOf(f.b), (std::vector<double>{1, 2}));
  EXPECT_EQ(f.b.DataSources(), (std::vector<TChartSeries*>{&f.a, &second}));

  // A freed source leaves its dependents, which reload from the sources they have left.
  {
    auto first = std::make_unique<TFastLineSeries>();
    first->SetParentChart(&f.chart);
    first->AppendY(7);
    f.c.SetDataSource(first.get());
    f.c.SetDataSource(nullptr);
    f.chart.BeginLoading();
    f.c.SetDataSource(first.get());
    f.c.SetDataSource(&second);
    f.chart.Loaded();
    EXPECT_EQ(YsOf(f.c), (std::vector<double>{7}));
  }
  EXPECT_EQ(f.c.DataSources(), (std::vector<TChartSeries*>{&second}));
  EXPECT_EQ(YsOf(f.c), (std::vector<double>{9}));

  // A copy takes over the other's calculation when it has none of its own.
  auto average = std::make_unique<TAverageFunction>();
  TAverageFunction* avg = average.get();
  f.a.AttachCalculation(std::move(average));
  TFastLineSeries copy;
  copy.SetParentChart(&f.chart);
  copy.Assign(f.a);
  EXPECT_EQ(copy.SeriesFunction(), avg);
  EXPECT_EQ(avg->ParentSeries(), &copy);
  EXPECT_EQ(f.a.SeriesFunction(), nullptr);
  copy.AttachCalculation(std::make_unique<TAverageFunction>());
  TChartFunction* own = copy.SeriesFunction();
  f.b.AttachCalculation(std::make_unique<TAverageFunction>());
  copy.Assign(f.b);
  EXPECT_EQ(copy.SeriesFunction(), own);
}

TEST(DataSource, CalculationsRecomputeInsteadOfCopying) {
  Sources f;
  for (double v : {1, 3, 5, 7, 9}) f.a.AppendY(v);
  auto average = std::make_unique<TAverageFunction>();
  TAverageFunction* avg = average.get();
  f.b.AttachCalculation(std::move(average));
  EXPECT_EQ(f.b.SeriesFunction(), avg);
  EXPECT_EQ(avg->ParentSeries(), &f.b);
  f.b.SetDataSource(&f.a);
  EXPECT_EQ(YsOf(f.b), (std::vector<double>{5}));  // period 0: the whole source
  avg->SetPeriod(2);
  EXPECT_EQ(YsOf(f.b), (std::vector<double>{2, 6, 9}));
  EXPECT_EQ(f.b.XValueAt(1), 2.5);
  try {
    avg->SetPeriod(-1);
    ADD_FAILURE() << "a negative period was accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Function Period should be >= 0");
  }
  EXPECT_EQ(avg->Period(), 2);

  // Adds and deletes are not copied point by point; a refresh recomputes, a clear clears.
  f.a.AppendY(11);
  EXPECT_EQ(f.b.Count(), 3);
  f.a.Delete(0);
  EXPECT_EQ(f.b.Count(), 3);
  f.a.YValues().SetMultiplier(2);
  EXPECT_EQ(YsOf(f.b), (std::vector<double>{8, 16, 22}));
  f.a.Clear();
  EXPECT_EQ(f.b.Count(), 0);
}

}  // namespace
}  // namespace varnel
