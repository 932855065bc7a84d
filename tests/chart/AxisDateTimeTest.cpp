// Date-time axes: the format language of their labels (each specifier as the language defines
// it), the calendar helpers, the step a date-time axis chooses, and the labels it draws on whole
// months and years.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "chart/Chart.h"
#include "platform/BitmapHost.h"
#include "series/AxisDateTime.h"
#include "series/FastLineSeries.h"
#include "tests/chart/ChartTestSupport.h"

namespace varnel {
namespace {

// Day numbers counted from 30 December 1899 by hand: 31 December 2023 (a Sunday) is day 45291.
constexpr double kNewYearsEve2023 = 45291;
constexpr double kMSec = 1.0 / 86400000;

double At(double day, int h, int n, int s, int ms = 0) {
  return day + ((h * 60 + n) * 60 + s) * 1000.0 * kMSec + ms * kMSec;
}

TEST(AxisDateTime, FormatSpecifiers) {
  const double afternoon = At(kNewYearsEve2023, 13, 45, 7, 89);  // Sun 31 Dec 2023 13:45:07.089
  const double morning = At(kNewYearsEve2023 - 364 + 4, 9, 5, 3);  // Fri 5 Jan 2023 09:05:03
  struct Case {
    const char* Pattern;
    double Value;
    const char* Expected;
  };
  const Case cases[] = {
      {"d dd", morning, "5 05"},
      {"ddd dddd", afternoon, "Sun Sunday"},
      {"ddd dddd", morning, "Thu Thursday"},
      {"ddddd", afternoon, "2023-12-31"},
      {"dddddd", afternoon, "Sunday, 31 December 2023"},
      {"m mm mmm mmmm", morning, "1 01 Jan January"},
      {"dd mmm yyyy", afternoon, "31 Dec 2023"},
      {"yy yyyy", morning, "23 2023"},
      {"h hh", morning, "9 09"},
      {"hh:mm", afternoon, "13:45"},      // m after h: minutes
      {"h:m", morning, "9:5"},
      {"hh mm", afternoon, "13 45"},
      {"mm hh", afternoon, "12 13"},      // m before h: the month
      {"hh:nn mmm", afternoon, "13:45 Dec"},
      {"n nn s ss", morning, "5 05 3 03"},
      {"z zzz", afternoon, "89 089"},
      {"t|tt", afternoon, "13:45:07|13:45:07"},
      {"c", afternoon, "2023-12-31 13:45:07"},
      {"c", kNewYearsEve2023, "2023-12-31"},  // midnight: no time
      {"", afternoon, "2023-12-31 13:45:07"},
      {"h:nn am/pm", afternoon, "1:45 pm"},
      {"h:nn AM/PM", morning, "9:05 AM"},
      {"h:nn Am/pM", afternoon, "1:45 pM"},
      {"h a/p", afternoon, "1 p"},
      {"hh A/P", morning, "09 A"},
      {"h ampm", afternoon, "1 PM"},
      {"h am/pm", kNewYearsEve2023, "12 am"},
      {"h am/pm", At(kNewYearsEve2023, 12, 0, 0), "12 pm"},
      {"HH:NN:SS", afternoon, "13:45:07"},  // letters in either case
      {"dd/mm/yy", afternoon, "31-12-23"},  // "/" is the locale's date separator
      {"'dd' \"hh\" dd", afternoon, "dd hh 31"},
      {"yyyy 'quote", afternoon, "2023 quote"},
      {"x,y", morning, "x,23"},
      {"yyyy-mm-dd hh:nn", -1.25, "1899-12-29 06:00"},  // before day 0: date back, time forward
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.Pattern, c.Value), c.Expected) << c.Pattern;
}

TEST(AxisDateTime, TimesRoundToTheMillisecondAndCarryIntoTheNextDay) {
  const double almostMidnight = kNewYearsEve2023 + 1 - 0.0004 * kMSec;
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", almostMidnight), "2024-01-01 00:00:00.000");
  EXPECT_EQ(FormatDateTime("ddd", almostMidnight), "Mon");
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", kNewYearsEve2023 + 1 - 0.6 * kMSec), "23:59:59.999");
  // Midnight built from 24 steps of an hour, which are not exact in binary.
  double v = kNewYearsEve2023;
  for (int i = 0; i < 24; ++i) v += 1.0 / 24;
  EXPECT_EQ(FormatDateTime("dd hh:nn", v), "01 00:00");
}

TEST(AxisDateTime, CalendarHelpers) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(2023, 12, 31), kNewYearsEve2023);
  EXPECT_EQ(EncodeDate(2023, 13, 1), kNewYearsEve2023 + 1);  // month 13 is next January
  EXPECT_EQ(EncodeDate(2023, 2, 31), EncodeDate(2023, 2, 28));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  const TDateParts d = DecodeDate(kNewYearsEve2023 + 0.99);
  EXPECT_EQ((std::vector<int>{d.Year, d.Month, d.Day}), (std::vector<int>{2023, 12, 31}));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 3, 31), 1), EncodeDate(2024, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 15), 1), EncodeDate(2023, 12, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 15), -13), EncodeDate(2025, 2, 15));
}

// A bottom axis showing date-times (its series' X values are date-times) over a plot set by
// hand, drawn into a traced canvas.
struct DateAxis {
  TBitmapHost host{1200, 300};  // outlives the chart, which it serves
  TCanvasTrace trace;
  TChart chart;
  TFastLineSeries series;
  TChartAxis& axis = chart.BottomAxis();
  DateAxis(double from, double to, int plotWidth) {
    chart.SetHost(&host);
    chart.SetView3D(false);
    series.XValues().SetDateTime(true);
    chart.AddSeries(&series);
    series.AppendXY(from, 1, "", clAutoColor);
    series.AppendXY(to, 2, "", clAutoColor);
    chart.SetPlotRect(Rect(10, 10, 10 + plotWidth, 250));
    host.Surface().Canvas().SetTrace(&trace);
  }
  // Room for labels as the label-step rule measures it: the wider end label plus 10 percent.
  int LabelSize(const std::string& widest) {
    chart.SelectFont(axis.LabelsFont());
    const int w = chart.TextWidthOf(widest);
    return w + static_cast<int>(std::nearbyint(0.1 * w));
  }
  std::vector<std::string> Labels() {
    axis.AdjustRange();
    trace.Clear();
    axis.DrawAxis(true);
    return test::TextsOf(trace);
  }
};

TEST(AxisDateTime, StepWalksTheTableUntilTheLabelsFit) {
  // One day of labels in the short time format over plots of 2 to 40 label sizes.
  const double table[] = {1.0 / 86400, 5.0 / 86400, 10.0 / 86400, 15.0 / 86400, 30.0 / 86400,
                          1.0 / 1440,  5.0 / 1440,  10.0 / 1440,  15.0 / 1440,  30.0 / 1440,
                          1.0 / 24,    2.0 / 24,    6.0 / 24,     12.0 / 24,    1};
  for (int fit : {2, 3, 5, 9, 25, 40}) {
    DateAxis f(kNewYearsEve2023, kNewYearsEve2023 + 1, 100);
    const int size = f.LabelSize("00:00:00");
    f.chart.SetPlotRect(Rect(10, 10, 10 + fit * size, 250));
    f.axis.AdjustRange();
    TRect unused{};
    f.axis.ReserveSpace(unused);  // takes ShowsDateTime from the series
    ASSERT_TRUE(f.axis.ShowsDateTime());
    double expected = table[0];
    for (double e : table) {
      expected = e;
      if (std::nearbyint(1 / e) <= fit) break;
    }
    f.chart.SelectFont(f.axis.LabelsFont());
    EXPECT_DOUBLE_EQ(f.axis.CalcLabelStep(), expected) << fit;
  }
}

TEST(AxisDateTime, MonthlyLabelsFallOnTheFirstOfEachMonth) {
  DateAxis f(EncodeDate(2024, 1, 10), EncodeDate(2024, 6, 20), 1000);
  f.axis.SetIncrement(30);
  f.axis.SetDateTimeFormat("d mmm");
  EXPECT_EQ(f.Labels(), (std::vector<std::string>{"1 Jun", "1 May", "1 Apr", "1 Mar", "1 Feb"}));
  // Half months: the 15th and the 1st.
  f.axis.SetIncrement(15);
  EXPECT_EQ(f.Labels().front(), "15 Jun");
  EXPECT_EQ(f.Labels().back(), "15 Jan");
  EXPECT_EQ(f.Labels().size(), 11u);
}

TEST(AxisDateTime, YearlyLabelsKeepTheStepTheyWereGiven) {
  const double from = EncodeDate(2000, 1, 1);
  const double to = EncodeDate(2030, 1, 1);
  for (int fit : {40, 20, 8, 4}) {
    DateAxis f(from, to, 100);
    f.axis.SetIncrement(365);
    f.axis.SetDateTimeFormat("yyyy");
    f.chart.SetPlotRect(Rect(10, 10, 10 + fit * f.LabelSize("2030"), 250));
    // The step doubles from a year until the labels fit; labels go on whole multiples of it.
    double step = 365;
    while (std::nearbyint((to - from) / step) > fit) step *= 2;
    const int years = static_cast<int>(std::nearbyint(step / 365));
    std::vector<std::string> expected;
    for (int y = 2030 - 2030 % years; y >= 2000; y -= years) expected.push_back(std::to_string(y));
    const auto labels = f.Labels();
    EXPECT_EQ(labels, expected) << fit;
    EXPECT_LE(static_cast<int>(labels.size()), fit + 1);
  }
}

TEST(AxisDateTime, HourlyLabelsReadMidnightAsTheNextDay) {
  DateAxis f(kNewYearsEve2023 + 0.5, kNewYearsEve2023 + 1.5, 3000);
  f.axis.SetIncrement(1.0 / 24);
  f.axis.SetExactDateTime(false);
  f.axis.SetDateTimeFormat("dd hh:nn");
  const auto labels = f.Labels();
  ASSERT_EQ(labels.size(), 25u);
  EXPECT_EQ(labels.front(), "01 12:00");
  EXPECT_EQ(labels[12], "01 00:00");
  EXPECT_EQ(labels[13], "31 23:00");
  EXPECT_EQ(labels.back(), "31 12:00");
}

}  // namespace
}  // namespace varnel
