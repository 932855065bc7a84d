// Axis scales: setter checks and their messages, range, value-to-pixel mapping and back, the
// label step, label texts and the room an axis takes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/Exceptions.h"
#include "chart/Chart.h"
#include "tests/chart/ChartTestSupport.h"

namespace varnel {
namespace {

template <typename F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const ChartException& e) {
    return e.Message();
  }
  return "(no exception)";
}

TEST(AxisScale, SetterChecks) {
  TChart chart;
  TChartAxis& a = chart.LeftAxis();
  a.SetMaximum(100);
  EXPECT_EQ(MessageOf([&] { a.SetMinimum(150); }), "Axis Minimum Value must be <= Maximum");
  EXPECT_EQ(a.Minimum(), 0);
  EXPECT_EQ(MessageOf([&] { a.SetMaximum(-1); }), "Axis Maximum Value must be >= Minimum");
  EXPECT_THROW(a.SetMaximum(-1), AxisException);
  EXPECT_EQ(a.Maximum(), 100);
  chart.BeginLoading();  // read from the form: no order check
  a.SetMinimum(150);
  chart.Loaded();
  EXPECT_EQ(a.Minimum(), 150);

  EXPECT_EQ(MessageOf([&] { a.SetIncrement(-0.5); }), "Axis increment must be >= 0");
  EXPECT_EQ(MessageOf([&] { a.SetLabelsSeparation(-1); }), "Labels Separation % must be greater than 0");
  a.SetLabelsSeparation(0);
  EXPECT_EQ(a.LabelsSeparation(), 0);
  a.SetLabelsAngle(360);
  EXPECT_EQ(a.LabelsAngle(), 0);
  a.SetLabelsAngle(90);
  EXPECT_EQ(MessageOf([&] { a.SetLabelsAngle(361); }), "Axis Labels Angle must be between 0 and 359 degrees");
  EXPECT_EQ(MessageOf([&] { a.Title().SetAngle(-1); }), "Axis Title Angle must be between 0 and 359 degrees");
  EXPECT_EQ(a.LabelsAngle(), 90);
  EXPECT_EQ(a.Title().Angle(), 90);  // the left axis title stands at 90 degrees

  a.SetRange(-5, 10);
  EXPECT_EQ(MessageOf([&] { a.SetLogarithmic(true); }), "Logarithmic Axis Min and Max values should be >= 0");
  EXPECT_FALSE(a.Logarithmic());
  a.SetRange(1, 1000);
  a.SetLogarithmic(true);
  EXPECT_TRUE(a.Logarithmic());
}

TEST(AxisScale, AutomaticFlags) {
  TChart chart;
  TChartAxis& a = chart.BottomAxis();
  a.SetAutomaticMaximum(false);
  EXPECT_FALSE(a.Automatic());
  EXPECT_TRUE(a.AutomaticMinimum());
  a.SetAutomatic(true);
  EXPECT_TRUE(a.AutomaticMaximum());
  chart.BeginLoading();
  a.SetAutomatic(false);  // while loading the ends keep their own values
  chart.Loaded();
  EXPECT_TRUE(a.AutomaticMinimum());

  a.SetRange(20, 10);
  EXPECT_EQ(a.Minimum(), 10);
  EXPECT_EQ(a.Maximum(), 20);
  EXPECT_FALSE(a.AutomaticMinimum());
  a.SetRange(5, 5);  // a range below 0.001 is widened
  EXPECT_EQ(a.Minimum(), 5);
  EXPECT_DOUBLE_EQ(a.Maximum(), 5.001);
  // Without series, an automatic axis shows 0..0.
  a.SetAutomatic(true);
  a.AdjustRange();
  EXPECT_EQ(a.ShownMinimum(), 0);
  EXPECT_EQ(a.ShownMaximum(), 0);
}

TEST(AxisScale, NextLabelStep) {
  EXPECT_EQ(NextLabelStep(3), 5);
  EXPECT_EQ(NextLabelStep(7), 14);
  EXPECT_EQ(NextLabelStep(0.25), 0.5);
  EXPECT_EQ(NextLabelStep(1000), 5000);
  double x = 1;
  std::vector<double> seq;
  for (int i = 0; i < 12; ++i, x = NextLabelStep(x)) seq.push_back(x);
  EXPECT_EQ(seq, (std::vector<double>{1, 2, 5, 10, 50, 100, 200, 500, 1000, 5000, 10000, 20000}));
}

// An axis 0..max over a plot rectangle set by hand.
struct AxisFixture {
  TChart chart;
  TChartAxis& left = chart.LeftAxis();
  TChartAxis& bottom = chart.BottomAxis();
  AxisFixture(const TRect& plot, double max) {
    chart.SetPlotRect(plot);
    for (TChartAxis* a : {&left, &bottom}) {
      a->SetAutomatic(false);
      a->SetMaximum(max);
      a->SetLabelStyle(talValue);  // no series: ask for value labels outright
      a->AdjustRange();
    }
  }
};

TEST(AxisScale, PixelMappingAndInverse) {
  AxisFixture f(Rect(20, 10, 320, 210), 100);
  EXPECT_EQ(f.bottom.XPixelOfValue(50), 170);
  EXPECT_EQ(f.bottom.XPixelOfValue(0), 20);
  EXPECT_EQ(f.bottom.XPixelOfValue(100), 320);
  EXPECT_EQ(f.left.YPixelOfValue(0), 210);
  EXPECT_EQ(f.left.YPixelOfValue(100), 10);
  EXPECT_EQ(f.left.YPixelOfValue(25), 160);
  for (int p : {20, 95, 170, 320}) EXPECT_EQ(f.bottom.XPixelOfValue(f.bottom.ValueAtPixel(p)), p);
  for (int p : {10, 60, 111, 210}) EXPECT_EQ(f.left.YPixelOfValue(f.left.ValueAtPixel(p)), p);
  EXPECT_DOUBLE_EQ(f.left.ValueAtPixel(60), 75);

  f.bottom.SetInverted(true);
  f.left.SetInverted(true);
  EXPECT_EQ(f.bottom.XPixelOfValue(50), 320 - 150);
  EXPECT_EQ(f.bottom.XPixelOfValue(10), 290);
  EXPECT_DOUBLE_EQ(f.bottom.ValueAtPixel(290), 10);
  EXPECT_EQ(f.left.YPixelOfValue(25), 60);
  EXPECT_DOUBLE_EQ(f.left.ValueAtPixel(60), 25);

  // Halves round to even: 0..3 over 1 pixel steps of 0.5.
  AxisFixture h(Rect(0, 0, 3, 10), 6);
  EXPECT_EQ(h.bottom.XPixelOfValue(1), 0);  // 0.5
  EXPECT_EQ(h.bottom.XPixelOfValue(3), 2);  // 1.5

  // A zero range maps every value to the centre; a plot of no height every pixel to 0.
  AxisFixture z(Rect(0, 0, 100, 50), 0);
  EXPECT_EQ(z.left.YPixelOfValue(123), z.chart.PlotCenterY());
  EXPECT_EQ(z.bottom.XPixelOfValue(-7), 50);
}

TEST(AxisScale, HugeValuesLandBeyondTheirOwnEdge) {
  // Pixels as 32-bit coordinates: a value far past one end stays on that side.
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    bool Horizontal;
    bool Inverted;
    double Value;
    int Expected;
  };
  const Case cases[] = {
      {true, false, 1e17, kMax},  {true, false, -1e17, kMin}, {true, false, inf, kMax},
      {true, true, 1e17, kMin},   {true, true, -inf, kMax},   {false, false, -1e308, kMax},
      {false, false, 1e308, kMin}, {false, true, 1e308, kMax}, {true, false, 1e6, 20 + 300000000},
  };
  for (const Case& c : cases) {
    AxisFixture f(Rect(20, 10, 320, 210), 1);
    TChartAxis& a = c.Horizontal ? f.bottom : f.left;
    a.SetInverted(c.Inverted);
    EXPECT_EQ(a.PixelOfValue(c.Value), c.Expected) << c.Horizontal << c.Inverted << " " << c.Value;
  }
  AxisFixture f(Rect(0, 0, 300, 200), 1000);
  f.bottom.SetMinimum(1);
  f.bottom.AdjustRange();
  f.bottom.SetLogarithmic(true);
  EXPECT_EQ(f.bottom.XPixelOfValue(inf), kMax);
}

TEST(AxisScale, LogarithmicMapping) {
  AxisFixture f(Rect(0, 0, 300, 200), 1000);
  f.bottom.SetMinimum(1);
  f.bottom.AdjustRange();
  f.bottom.SetLogarithmic(true);
  EXPECT_EQ(f.bottom.XPixelOfValue(10), 100);
  EXPECT_EQ(f.bottom.XPixelOfValue(100), 200);
  EXPECT_EQ(f.bottom.XPixelOfValue(-3), 0);
  EXPECT_NEAR(f.bottom.ValueAtPixel(200), 100, 1e-9);
  f.bottom.SetInverted(true);  // no effect on a logarithmic axis
  EXPECT_EQ(f.bottom.XPixelOfValue(10), 100);
}

TEST(AxisScale, LabelStepWorkedExample) {
  for (auto [height, step] : {std::pair{300, 5.0}, std::pair{150, 10.0}}) {
    AxisFixture f(Rect(0, 0, 200, height), 100);
    f.left.SetIncrement(1);
    f.chart.SelectFont(f.left.LabelsFont());
    ASSERT_EQ(f.chart.LineHeight(), 13);
    EXPECT_EQ(f.left.CalcLabelStep(), step) << height;
  }
  // Without separation the step is exactly the increment (or 1, or 0.00001).
  AxisFixture f(Rect(0, 0, 200, 100), 100);
  f.left.SetLabelsSeparation(0);
  EXPECT_EQ(f.left.CalcLabelStep(), 1);
  f.left.SetIncrement(2.5);
  EXPECT_EQ(f.left.CalcLabelStep(), 2.5);
  f.left.SetMaximum(0.5);
  f.left.SetIncrement(0);
  f.left.AdjustRange();
  EXPECT_EQ(f.left.CalcLabelStep(), 0.00001);
  // A plot too small for one label.
  AxisFixture tiny(Rect(0, 0, 10, 1), 100);
  EXPECT_EQ(tiny.left.CalcLabelStep(), 0.00001);
}

TEST(AxisScale, LabelTextsAndRoom) {
  AxisFixture f(Rect(0, 0, 200, 300), 100);
  EXPECT_EQ(f.left.LabelText(1234.5), "1,234.5");
  f.left.SetAxisValuesFormat("###0");
  EXPECT_EQ(f.left.LabelText(5), "5");
  f.chart.OnGetAxisLabel = [](TChartAxis*, TChartSeries* s, int index, std::string& text) {
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(index, -1);
    text = "<" + text + ">";
  };
  EXPECT_EQ(f.left.LabelText(5), "<5>");
  // The room for value labels is measured without the event: "100" and " ".
  f.chart.SelectFont(f.left.LabelsFont());
  const int expected = f.chart.TextWidthOf("100") + f.chart.TextWidthOf(" ");
  EXPECT_EQ(f.left.LabelsSpaceWidth(), expected);
  ASSERT_TRUE(f.chart.OnGetAxisLabel);

  // Left axis: labels, then ticks (axis width 2 + tick length 4, minor 2).
  TRect r = Rect(0, 0, 200, 300);
  f.left.ReserveSpace(r);
  EXPECT_EQ(f.left.LabelsPos(), expected);
  EXPECT_EQ(r.Left, expected + 6);
  // Bottom axis with a title: title line, label line, ticks.
  f.bottom.Title().SetCaption("seconds");
  TRect b = Rect(0, 0, 200, 300);
  f.bottom.ReserveSpace(b);
  EXPECT_EQ(f.bottom.TitlePos(), 300 - 13);
  EXPECT_EQ(f.bottom.LabelsPos(), 300 - 26);
  EXPECT_EQ(b.Bottom, 300 - 26 - 6);
  // Fixed sizes replace the measures.
  f.bottom.SetTitleSize(4);
  f.bottom.SetLabelsSize(5);
  b = Rect(0, 0, 200, 300);
  f.bottom.ReserveSpace(b);
  EXPECT_EQ(b.Bottom, 300 - 9 - 6);
}

TEST(AxisScale, EffectiveStyleAndClicks) {
  AxisFixture f(Rect(10, 10, 110, 110), 100);
  EXPECT_EQ(f.left.EffectiveLabelStyle(), talValue);
  f.left.SetLabelStyle(talAuto);
  EXPECT_EQ(f.left.EffectiveLabelStyle(), talNone);  // no series uses the axis
  f.left.DrawAxis(true);
  EXPECT_EQ(f.left.AxisPos3D(), 10);
  EXPECT_TRUE(f.left.IsClicked(10 + 11, 50));
  EXPECT_FALSE(f.left.IsClicked(10 + 12, 50));
  EXPECT_FALSE(f.left.IsClicked(12, 200));
}

TEST(AxisScale, AssignCopiesSettings) {
  TChart chart;
  TChartAxis& a = chart.LeftAxis();
  a.SetAutomatic(false);
  a.SetMaximum(100);
  a.SetIncrement(2);
  a.SetAxisValuesFormat("###0");
  a.Grid().SetVisible(false);
  a.Title().SetCaption("load");
  a.LabelsFont().SetSize(11);
  TChartAxis& b = chart.RightAxis();
  b.Assign(a);
  EXPECT_EQ(b.Maximum(), 100);
  EXPECT_EQ(b.Increment(), 2);
  EXPECT_FALSE(b.Automatic());
  EXPECT_EQ(b.AxisValuesFormat(), "###0");
  EXPECT_FALSE(b.Grid().Visible());
  EXPECT_EQ(b.Title().Caption(), "load");
  EXPECT_EQ(b.LabelsFont().Size(), 11);
  EXPECT_TRUE(b.IsOtherSide());  // the side is the chart's, not copied
}

}  // namespace
}  // namespace varnel
