// The series core without a chart: adding, deleting and clearing with their events, the
// before-add veto, point colours and labels, value texts, sample values, Assign and the
// notifications to dependent series.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "series/Series.h"

namespace varnel {
namespace {

std::vector<double> Xs(const TChartSeries& s) {
  std::vector<double> v;
  for (int i = 0; i < s.Count(); ++i) v.push_back(s.XValueAt(i));
  return v;
}
std::vector<double> Ys(const TChartSeries& s) {
  std::vector<double> v;
  for (int i = 0; i < s.Count(); ++i) v.push_back(s.YValueAt(i));
  return v;
}

TEST(Series, DefaultsAtCreation) {
  TChartSeries s;
  EXPECT_EQ(s.ColumnCount(), 2);
  EXPECT_EQ(&s.ColumnList(0), &s.XValues());
  EXPECT_EQ(s.XValues().Name(), "X");
  EXPECT_EQ(s.XValues().Order(), loAscending);
  EXPECT_EQ(s.YValues().Name(), "Y");
  EXPECT_EQ(s.YValues().Order(), loNone);
  EXPECT_EQ(s.SeriesColor(), clAutoColor);
  EXPECT_EQ(s.ValueFormat(), "#,##0.###");
  EXPECT_EQ(s.PercentFormat(), "##0.## %");
  EXPECT_TRUE(s.Active());
  EXPECT_TRUE(s.ShowInLegend());
  EXPECT_EQ(s.HorizAxis(), aBottomAxis);
  EXPECT_EQ(s.VertAxis(), aLeftAxis);
  EXPECT_EQ(s.RefreshOptions(), roAll);
  EXPECT_EQ(s.FirstShownIndex(), -1);
  EXPECT_EQ(s.LastShownIndex(), -1);
  EXPECT_FALSE(s.Marks().Visible());
  EXPECT_TRUE(s.YIsPrimary());
}

TEST(Series, AppendYAddsAtTheCountWithTheSeriesColour) {
  TChartSeries s;
  s.SetSeriesColor(clMaroon);
  std::vector<int> afterAdd;
  s.OnAfterAdd = [&](TChartSeries* sender, int i) {
    EXPECT_EQ(sender, &s);
    afterAdd.push_back(i);
  };
  for (int i = 0; i < 5; ++i) s.AppendY(i * 10);
  EXPECT_EQ(s.AppendY(37, "", clAutoColor), 5);
  EXPECT_EQ(s.XValueAt(5), 5);
  EXPECT_EQ(s.YValueAt(5), 37);
  EXPECT_EQ(s.PointColor(5), clMaroon);
  EXPECT_EQ(s.LabelAt(5), "");
  EXPECT_EQ(s.LabelAt(99), "");
  EXPECT_EQ(afterAdd, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  // An X added in the middle goes in order and carries its Y, colour and label with it.
  EXPECT_EQ(s.AppendXY(2.5, 99, "mid", clRed), 3);
  EXPECT_EQ(s.YValueAt(3), 99);
  EXPECT_EQ(s.LabelAt(3), "mid");
  EXPECT_EQ(s.PointColor(3), clRed);
  EXPECT_EQ(s.PointColor(4), clMaroon);
}

TEST(Series, BeforeAddCanVetoOrChangeThePoint) {
  TChartSeries s;
  int afterAdds = 0;
  s.OnAfterAdd = [&](TChartSeries*, int) { ++afterAdds; };
  s.OnBeforeAdd = [](TChartSeries* sender) { return sender->YValues().PendingValue() >= 0; };
  EXPECT_EQ(s.AppendY(-1), -1);
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(afterAdds, 0);
  EXPECT_EQ(s.AppendY(4), 0);
  EXPECT_EQ(afterAdds, 1);
  s.OnBeforeAdd = [](TChartSeries* sender) {
    sender->YValues().SetPendingValue(sender->YValues().PendingValue() * 2);
    return true;
  };
  s.AppendY(21);
  EXPECT_EQ(s.YValueAt(1), 42);
}

TEST(Series, TheOnceASecondCycleScrollsThePoints) {
  TChartSeries s;
  for (int i = 0; i < 60; ++i) s.AppendY(100 + i, "L" + std::to_string(i), i == 1 ? clRed : clAutoColor);
  s.Delete(0);
  s.XValues().Renumber();
  EXPECT_EQ(s.AppendY(7), 59);
  ASSERT_EQ(s.Count(), 60);
  for (int i = 0; i < 60; ++i) EXPECT_EQ(s.XValueAt(i), i);
  EXPECT_EQ(s.YValueAt(0), 101);  // the former point 1
  EXPECT_EQ(s.LabelAt(0), "L1");
  EXPECT_EQ(s.StoredPointColor(0), clRed);
  EXPECT_EQ(s.YValueAt(59), 7);
  EXPECT_EQ(s.LowestX(), 1);
  EXPECT_EQ(s.HighestX(), 59);
}

TEST(Series, StatisticsFollowDeletes) {
  TChartSeries s;
  s.AppendY(10);
  s.AppendY(90);
  s.AppendY(40);
  EXPECT_EQ(s.HighestY(), 90);
  EXPECT_EQ(s.LowestY(), 10);
  s.Delete(1);
  EXPECT_EQ(s.HighestY(), 40);
  EXPECT_EQ(s.LowestY(), 10);
  EXPECT_EQ(Ys(s), (std::vector<double>{10, 40}));
}

TEST(Series, DeleteOutsideTheRangeChangesNothing) {
  TChartSeries s;
  s.AppendY(1, "a");
  s.AppendY(2, "b");
  try {
    s.Delete(2);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (2)");
  }
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(s.YValues().Count(), 2);
  EXPECT_EQ(s.LabelAt(1), "b");
  EXPECT_THROW(s.YValueAt(-1), EListError);
}

TEST(Series, ClearFiresItsEventEvenWhenEmpty) {
  TChartSeries s;
  int cleared = 0;
  s.OnClearValues = [&](TChartSeries*) { ++cleared; };
  s.Clear();
  EXPECT_EQ(cleared, 1);
  s.AppendY(3, "x", clRed);
  s.Clear();
  EXPECT_EQ(cleared, 2);
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.LabelAt(0), "");
  EXPECT_EQ(s.HighestY(), 0);
}

TEST(Series, PointColourRules) {
  TChartSeries s;
  s.SetSeriesColor(clBlue);
  for (int i = 0; i < 18; ++i) s.AppendY(i);
  s.AppendNull("gap");
  EXPECT_EQ(s.PointColor(17), clBlue);
  s.SetColorEachPoint(true);
  EXPECT_EQ(s.PointColor(17), 0x008000);  // palette entry 17 mod 16 = 1
  EXPECT_EQ(s.PointColor(0), 0x0000FF);
  EXPECT_EQ(s.PointColor(18), clNone);   // a null point keeps its marker
  EXPECT_EQ(s.PointColor(500), clBlue);  // past the colours: the series colour
  EXPECT_EQ(s.LabelAt(18), "gap");
}

TEST(Series, ValueTextsUseTheValueFormat) {
  TChartSeries s;
  EXPECT_EQ(s.ValueText(1234.5), "1,234.5");
  s.SetValueFormat("CPU ###0");
  EXPECT_EQ(s.ValueText(37), "CPU 37");
  EXPECT_EQ(s.ValueText(0), "CPU 0");
}

TEST(Series, MarkTexts) {
  TChartSeries s;
  s.AppendY(12, "A");
  s.AppendY(36);
  EXPECT_EQ(s.MarkTextOf(1), "36");  // smsLabel without a label: the value
  EXPECT_EQ(s.MarkTextOf(0), "A");
  s.Marks().SetStyle(smsLabelValue);
  EXPECT_EQ(s.MarkTextOf(0), "A 12");
  s.Marks().SetStyle(smsPercent);
  EXPECT_EQ(s.MarkTextOf(0), "25 %");
  s.Marks().SetStyle(smsPercentTotal);
  EXPECT_EQ(s.MarkTextOf(1), "75 % of 48");
  s.OnGetMarkText = [](TChartSeries*, int i, std::string& text) {
    if (i == 1) text.clear();
  };
  EXPECT_EQ(s.MarkTextOf(1), "");
  TChartSeries zeros;
  zeros.AppendY(0);
  zeros.Marks().SetStyle(smsPercent);
  EXPECT_EQ(zeros.MarkTextOf(0), "100 %");
}

TEST(Series, SampleValuesComeFromTheRandomSource) {
  TChartSeries s;
  EXPECT_THROW(
      {
        try {
          s.FillWithSamples(0);
        } catch (const Exception& e) {
          EXPECT_EQ(e.Message(), "FillSampleValues NumValues must be > 0");
          throw;
        }
      },
      Exception);
  std::vector<int> asked;
  s.SetRandomSource([&](int k) {
    asked.push_back(k);
    return k - 1;  // always the top of the range
  });
  s.FillWithSamples(5);
  // No chart: Y 0..1000 (r = 1000, q = 250), X 0..4.
  EXPECT_EQ(asked, (std::vector<int>{1000, 250, 250, 250, 250, 250}));
  EXPECT_EQ(Xs(s), (std::vector<double>{0, 1, 2, 3, 4}));
  // y starts at 999; each point adds 249 - 125.
  EXPECT_EQ(Ys(s), (std::vector<double>{1123, 1247, 1371, 1495, 1619}));
  s.SetRandomSource([](int) { return 0; });
  s.FillWithSamples(1);
  EXPECT_EQ(Ys(s), (std::vector<double>{125}));  // |0 + 0 - 125|
  EXPECT_EQ(Xs(s), (std::vector<double>{0}));
}

TEST(Series, AssignCopiesSettingsAndPoints) {
  TChartSeries a;
  a.SetSeriesColor(clRed);
  a.SetTitle("load");
  a.SetValueFormat("##0");
  a.SetColorEachPoint(true);
  a.SetHorizAxis(aTopAxis);
  a.SetIdentifier("id");
  a.XValues().SetMultiplier(2);
  a.Marks().SetVisible(true);
  a.AppendY(5, "five", clLime);
  a.AppendY(6);
  TChartSeries b;
  b.AppendY(100);
  b.Assign(a);
  EXPECT_EQ(b.SeriesColor(), clRed);
  EXPECT_EQ(b.Title(), "load");
  EXPECT_EQ(b.ValueFormat(), "##0");
  EXPECT_TRUE(b.ColorEachPoint());
  EXPECT_EQ(b.HorizAxis(), aTopAxis);
  EXPECT_EQ(b.Identifier(), "id");
  EXPECT_EQ(b.XValues().Multiplier(), 2);
  EXPECT_EQ(b.XValues().Name(), "X");
  EXPECT_TRUE(b.Marks().Visible());
  EXPECT_EQ(Xs(b), Xs(a));
  EXPECT_EQ(Ys(b), Ys(a));
  EXPECT_EQ(b.LabelAt(0), "five");
  EXPECT_EQ(b.StoredPointColor(0), clLime);
}

TEST(Series, DependentsFollowTheirSource) {
  auto a = std::make_unique<TChartSeries>();
  TChartSeries b;
  b.LinkSource(a.get());
  a->AppendY(5, "p", clRed);
  a->AppendY(6);
  EXPECT_EQ(Ys(b), (std::vector<double>{5, 6}));
  EXPECT_EQ(b.LabelAt(0), "p");
  a->Delete(0);
  EXPECT_EQ(Ys(b), (std::vector<double>{6}));
  b.SetRefreshOptions(roOnClear);
  a->AppendY(7);
  EXPECT_EQ(b.Count(), 1);  // adds no longer followed
  a->YValues().SetMultiplier(10);  // a refresh reloads everything
  EXPECT_EQ(Ys(b), (std::vector<double>{60, 70}));
  a->Clear();
  EXPECT_EQ(b.Count(), 0);
  a.reset();  // a freed source lets go of its dependents
  EXPECT_TRUE(b.DataSources().empty());
}

}  // namespace
}  // namespace varnel
