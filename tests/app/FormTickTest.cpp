// TForm1's tick and the window-size style: scrolling, caption and hint, the gauge value, ticks
// without a reading or with an error, and the compact and full styles.
#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "tests/app/FormTestSupport.h"

namespace varnel {
namespace {

using test::FormFixture;

TEST(FormTick, ScrollsTheSeriesAndFeedsTheGauge) {
  FormFixture f;
  f.WriteIni("PlotSeconds=6\n");
  TForm1& form = f.Start();
  f.Tick(37);
  EXPECT_EQ(f.Ws.Frame.Caption, "CPU Usage");
  EXPECT_EQ(f.Ws.Frame.Hint, "CPU Usage: 37 %");  // the hint carries the reading
  EXPECT_EQ(form.Meter1.Hint(), "CPU %: 37");
  f.Tick(120);  // no clamping of the sample: the gauge keeps it inside its range
  f.Tick(5);
  EXPECT_EQ(f.Points(), (std::vector<double>{0, 0, 0, 37, 120, 5}));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(form.Series3.XValues().Value(i), i);
  EXPECT_EQ(form.Meter1.Value(), 5.0);
  f.Tick(150);
  EXPECT_EQ(form.Meter1.Value(), 100.0);
  EXPECT_EQ(form.Series3.Count(), 6);
}

TEST(FormTick, NoReadingChangesNothing) {
  FormFixture f;
  TForm1& form = f.Start();
  f.Ws.Flush();
  const int invalidations = f.Ws.ChartHost.InvalidateCount;
  f.Tick(std::nullopt);
  f.Tick(std::nullopt);
  EXPECT_EQ(f.Reads, 2);
  EXPECT_EQ(f.Ws.Frame.Caption, "FENDUL");
  EXPECT_EQ(f.Ws.Frame.Hint, "");
  EXPECT_EQ(form.Series3.Count(), 60);
  EXPECT_EQ(f.Ws.ChartHost.InvalidateCount, invalidations);
  EXPECT_TRUE(f.Ws.MessageBox.Texts.empty());
}

TEST(FormTick, LastingFaultShowsOneBoxAtATime) {
  FormFixture f;
  TForm1& form = f.Start();
  f.SampleOverride = []() -> std::optional<std::int32_t> {
    throw ERegistryException("Invalid data type for 'KERNEL'");
  };
  // While the box is open the timer keeps firing and the fault comes again each second.
  int ticksUnderBox = 0;
  f.Ws.MessageBox.OnShow = [&] {
    for (int i = 0; i < 5; ++i) {
      ++ticksUnderBox;
      f.Ws.Timer.Fire();
    }
  };
  f.Ws.Timer.Fire();
  EXPECT_EQ(ticksUnderBox, 5);
  EXPECT_EQ(f.Ws.MessageBox.MaxOpen, 1);
  ASSERT_EQ(f.Ws.MessageBox.Texts.size(), 1u);
  EXPECT_EQ(f.Ws.MessageBox.Texts[0], "Invalid data type for 'KERNEL'");
  EXPECT_EQ(f.Ws.MessageBox.Captions[0], "Varnel");
  // The failed ticks changed nothing; the next one, after the box closed, reports again.
  EXPECT_EQ(f.Ws.Frame.Caption, "FENDUL");
  EXPECT_EQ(form.Series3.Count(), 60);
  f.Ws.MessageBox.OnShow = nullptr;
  f.Ws.Timer.Fire();
  EXPECT_EQ(f.Ws.MessageBox.Texts.size(), 2u);
  EXPECT_TRUE(f.Ws.Timer.Running);
}

// The six values of ApplySizeStyle, as a tuple.
struct TStyle {
  int Pen, Thickness, HeadMid, HeadSize, Anchor;
  bool ShortTicks;
  friend bool operator==(const TStyle&, const TStyle&) = default;
};
TStyle StyleOf(const TForm1& form) {
  const TNeedleLayout& n = form.Meter1.NeedleLayout();
  return {form.Series3.LinePen().Width(), n.Thickness(), n.HeadMidLeng(), n.HeadSize(), n.AnchorSize(),
          form.Meter1.MeterShortTicks()};
}
constexpr TStyle Compact{1, 1, 10, 10, 2, false};
constexpr TStyle Full{2, 2, 20, 20, 5, true};

TEST(FormTick, SizeStyleByOuterSize) {
  FormFixture f;
  TForm1& form = f.Start();
  auto tickAt = [&](int w, int h) {
    f.Ws.Frame.UserSetBounds(10, 10, w, h);
    f.Tick(50);
    return StyleOf(form);
  };
  EXPECT_EQ(tickAt(250, 200), Full);      // H > 150
  EXPECT_EQ(tickAt(300, 100), Compact);   // both small
  EXPECT_EQ(tickAt(300, 150), Compact);   // exactly 300 x 150 keeps the compact style
  EXPECT_EQ(tickAt(400, 100), Full);      // W > 300 wins over H < 150
  EXPECT_EQ(tickAt(300, 150), Full);      // ...and keeps the full style
  EXPECT_EQ(tickAt(299, 150), Compact);
}

TEST(FormTick, DisplayAxisThenTickOnSmallWindow) {
  FormFixture f;
  f.WriteIni("Width=250\nHeight=120\n");
  TForm1& form = f.Start();
  f.Choose(form.DisplayAxis1);
  EXPECT_TRUE(form.DisplayAxis1->Checked());
  EXPECT_TRUE(form.Chart2.AxisVisible());
  EXPECT_TRUE(form.Meter1.MeterScaleLine());
  EXPECT_TRUE(form.Meter1.MeterShortTicks());
  EXPECT_EQ(f.Ini("DisplayAxis"), "1");
  // The size rule takes the short ticks away again; the axes and the scale line stay.
  f.Tick(20);
  EXPECT_FALSE(form.Meter1.MeterShortTicks());
  EXPECT_TRUE(form.Meter1.MeterScaleLine());
  EXPECT_TRUE(form.Chart2.AxisVisible());
}

TEST(FormTick, RightClickAndDoubleClick) {
  FormFixture f;
  f.WriteIni("Left=100\nTop=50\n");
  TForm1& form = f.Start();
  form.WMNCRButtonDown();
  ASSERT_EQ(f.Ws.Popup.Opened.size(), 1u);
  EXPECT_EQ(f.Ws.Popup.Opened[0], (TPoint{110, 60}));
  // A double click toggles the title bar and is not written until the next command.
  const std::string before = f.IniText();
  form.WMNCLButtonDblClk();
  EXPECT_EQ(f.Ws.Frame.BorderStyle, bsNone);
  EXPECT_TRUE(form.NoTitle->Checked());
  EXPECT_EQ(f.IniText(), before);
  form.WMNCLButtonDblClk();
  EXPECT_EQ(f.Ws.Frame.BorderStyle, bsSizeToolWin);
  form.WMNCLButtonDblClk();
  f.Choose(form.Legend1);
  EXPECT_EQ(f.Ini("HideTitle"), "1");
}

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

// What the headless window shows: the chart inside its sunken edge, or the gauge alone.
TEST(FormPicture, ChartInItsEdgeOrTheGauge) {
  test::FormFixture f;
  TForm1& form = f.Start();
  f.Ws.ChartHost.OnPaint = [&form] { form.Chart2.Paint(); };
  f.Ws.MeterHost.OnPaint = [&form] { form.Meter1.Paint(); };
  for (int load : {10, 90, 40}) f.Tick(load);
  f.Ws.Flush();
  TBitmap graph = f.Ws.ClientPicture();
  ASSERT_EQ(graph.Width(), 332);
  ASSERT_EQ(graph.Height(), 190);
  EXPECT_EQ(graph.Pixel(0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(graph.Pixel(1, 1), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(graph.Pixel(331, 189), ColorToRGB(clBtnHighlight));
  for (int y = 0; y < 186; y += 7)
    for (int x = 0; x < 328; x += 9) ASSERT_EQ(graph.Pixel(x + 2, y + 2), f.Ws.ChartHost.Surface().Pixel(x, y));
  // The line colour reaches the screen somewhere inside the plot.
  bool maroon = false;
  for (int y = 0; y < 190 && !maroon; ++y)
    for (int x = 0; x < 332 && !maroon; ++x) maroon = graph.Pixel(x, y) == clMaroon;
  EXPECT_TRUE(maroon);

  f.Choose(form.Graph);  // the gauge: no edge, the gauge's own picture
  f.Ws.Flush();
  TBitmap gauge = f.Ws.ClientPicture();
  for (int y = 0; y < 190; y += 5)
    for (int x = 0; x < 332; x += 5) ASSERT_EQ(gauge.Pixel(x, y), f.Ws.MeterHost.Surface().Pixel(x, y));
  EXPECT_EQ(form.Meter1.Value(), 40.0);
}

}  // namespace
}  // namespace varnel
