// TForm1 at start-up and on each tick: the settings applied, the size style, the display mode,
// the scrolling series, ticks without a reading or with an error, and bad stored values.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/Exceptions.h"
#include "tests/app/FormTestSupport.h"

namespace varnel {
namespace {

using test::FormFixture;

TEST(FormStart, DefaultsWithoutSettingsFile) {
  FormFixture f;
  TForm1& form = f.Start();
  const THeadlessFrame& frame = f.Ws.Frame;
  EXPECT_EQ(frame.Left(), 396);
  EXPECT_EQ(frame.Top(), 7);
  EXPECT_EQ(frame.Width(), 332);
  EXPECT_EQ(frame.Height(), 190);
  EXPECT_EQ(frame.FormStyle, fsStayOnTop);
  EXPECT_EQ(frame.BorderStyle, bsSizeToolWin);
  EXPECT_EQ(frame.Caption, "FENDUL");
  EXPECT_GE(frame.TaskbarHides, 1);
  EXPECT_TRUE(form.OnTop->Checked());
  EXPECT_FALSE(form.NoTitle->Checked());
  EXPECT_TRUE(form.Graph->Checked());
  EXPECT_FALSE(form.UVMeter->Checked());
  EXPECT_TRUE(form.Legend1->Checked());
  EXPECT_FALSE(form.DisplayAxis1->Checked());
  EXPECT_FALSE(form.N3DView1->Checked());
  EXPECT_TRUE(f.Ws.ChartHost.Visible());
  EXPECT_FALSE(f.Ws.MeterHost.Visible());
  EXPECT_TRUE(form.Chart2.Legend().Visible());
  EXPECT_FALSE(form.Chart2.AxisVisible());
  EXPECT_FALSE(form.Chart2.View3D());
  EXPECT_EQ(form.Chart2.Color(), clBtnFace);
  EXPECT_EQ(form.Series3.SeriesColor(), clMaroon);
  // The gauge follows the chart's colours; its numbers are black while the legend is on.
  EXPECT_EQ(form.Meter1.ColorBakG(), clBtnFace);
  EXPECT_EQ(form.Meter1.NeedleLayout().ColorBody(), clMaroon);
  EXPECT_EQ(form.Meter1.NeedleLayout().ColorOutline(), clMaroon);
  EXPECT_EQ(form.Meter1.Font().Color(), clBlack);
  EXPECT_FALSE(form.Meter1.MeterScaleLine());
  // A flat line of 60 zero points, X values 0..59.
  EXPECT_EQ(form.PlotSeconds(), 60);
  EXPECT_EQ(f.Points(), std::vector<double>(60, 0.0));
  EXPECT_EQ(form.Series3.XValues().Value(59), 59.0);
  EXPECT_TRUE(f.Ws.Timer.Running);
  EXPECT_EQ(f.Ws.Timer.Interval, 1000);
  EXPECT_FALSE(f.IniExists());  // start-up never writes
  // Without a file the default position is taken inside the work area, once, after it is set.
  const auto& log = frame.Log;
  const auto asked = std::find(log.begin(), log.end(), "DefaultPosition");
  ASSERT_NE(asked, log.end());
  EXPECT_EQ(std::count(log.begin(), log.end(), "DefaultPosition"), 1);
  EXPECT_LT(std::find(log.begin(), log.end(), "Left=396"), asked);
  EXPECT_LT(std::find(log.begin(), log.end(), "Top=7"), asked);

  // The first command creates the file with all fourteen keys, in their order, and the
  // screen's density.
  f.Choose(form.DisplayAxis1);
  f.Choose(form.DisplayAxis1);
  const std::vector<std::pair<std::string, std::string>> expected{
      {"Top", "7"},           {"Left", "396"},      {"Width", "332"},
      {"Height", "190"},      {"StayOnTop", "1"},   {"HideTitle", "0"},
      {"Colors - Line", "128"}, {"Colors - Background", "-2147483633"}, {"PlotSeconds", "60"},
      {"DisplayAxis", "0"},   {"3D View", "0"},     {"Legend", "1"},
      {"Display", "0"},       {"Cores", "0"},       {"PixelsPerInch", "96"}};
  EXPECT_EQ(f.IniEntries(), expected);
  EXPECT_TRUE(f.Ws.MessageBox.Texts.empty());
}

TEST(FormStart, StoredValuesHideTitleAndOddTexts) {
  FormFixture f;
  f.WriteIni("HideTitle=1\nStayOnTop=0\nTop=0x10\nLeft=$1E\nPlotSeconds=0x\nLegend=yes\nDisplayAxis=yes\n"
             "3D View=-1\nColors - Background=255\nColors - Line=65280\n");
  TForm1& form = f.Start();
  EXPECT_EQ(f.Ws.Frame.BorderStyle, bsNone);
  EXPECT_TRUE(form.NoTitle->Checked());
  EXPECT_EQ(f.Ws.Frame.FormStyle, fsNormal);
  EXPECT_FALSE(form.OnTop->Checked());
  EXPECT_EQ(f.Ws.Frame.Top(), 16);
  EXPECT_EQ(f.Ws.Frame.Left(), 30);
  // A settings file: its position (or the default it falls back to) counts from the screen.
  EXPECT_EQ(std::count(f.Ws.Frame.Log.begin(), f.Ws.Frame.Log.end(), "DefaultPosition"), 0);
  EXPECT_EQ(form.PlotSeconds(), 60);  // "0x" alone does not convert
  EXPECT_TRUE(form.Legend1->Checked());
  EXPECT_FALSE(form.DisplayAxis1->Checked());
  EXPECT_TRUE(form.N3DView1->Checked());
  EXPECT_TRUE(form.Chart2.View3D());
  EXPECT_EQ(form.Chart2.Color(), clRed);
  EXPECT_EQ(form.Meter1.ColorBakG(), clRed);
  EXPECT_EQ(form.Series3.SeriesColor(), clLime);
  EXPECT_EQ(form.Meter1.NeedleLayout().ColorBody(), clLime);
}

TEST(FormStart, LegendOffHidesGaugeNumbersAgainstBackground) {
  FormFixture f;
  f.WriteIni("Legend=0\nColors - Background=8421376\n");
  TForm1& form = f.Start();
  EXPECT_FALSE(form.Chart2.Legend().Visible());
  EXPECT_EQ(form.Meter1.Font().Color(), 8421376);
}

TEST(FormStart, DisplayTwoFromTheFileLeavesBothVisible) {
  FormFixture f;
  f.WriteIni("Display=2\n");
  TForm1& form = f.Start();
  EXPECT_EQ(form.Display(), 2);
  EXPECT_TRUE(f.Ws.ChartHost.Visible());
  EXPECT_TRUE(f.Ws.MeterHost.Visible());
  EXPECT_TRUE(form.Graph->Checked());
  EXPECT_FALSE(form.UVMeter->Checked());
  // The next Graph (or UV Meter) command sets mode 1.
  f.Choose(form.Graph);
  EXPECT_EQ(form.Display(), 1);
  EXPECT_FALSE(f.Ws.ChartHost.Visible());
  EXPECT_TRUE(f.Ws.MeterHost.Visible());
  EXPECT_EQ(f.Ini("Display"), "1");
}

TEST(FormStart, PlotSecondsBounds) {
  for (auto [stored, points] : std::vector<std::pair<const char*, int>>{
           {"0", 5}, {"-7", 5}, {"4", 5}, {"5", 5}, {"86400", 86400}, {"86401", 86400}, {"2147483647", 86400}}) {
    FormFixture f;
    f.WriteIni(std::string("PlotSeconds=") + stored + "\n");
    TForm1& form = f.Start();
    EXPECT_EQ(form.PlotSeconds(), points) << stored;
    EXPECT_EQ(form.Series3.Count(), points) << stored;
    f.Choose(form.N3DView1);
    EXPECT_EQ(f.Ini("PlotSeconds"), std::to_string(points)) << stored;
  }
}

TEST(FormStart, BadGeometryIsAppliedAsStored) {
  FormFixture f;
  f.WriteIni("Left=-5000\nTop=2147483647\nWidth=-50\nHeight=100000\n");
  TForm1& form = f.Start();
  EXPECT_EQ(f.Ws.Frame.Left(), -5000);
  EXPECT_EQ(f.Ws.Frame.Top(), 2147483647);
  EXPECT_EQ(f.Ws.Frame.Width(), -50);
  EXPECT_EQ(f.Ws.Frame.Height(), 100000);
  f.Tick(40);  // H > 150: full style
  EXPECT_EQ(form.Series3.LinePen().Width(), 2);
  // The menu opens 10 pixels inside the frame's corner, without overflowing.
  form.WMNCRButtonDown();
  ASSERT_EQ(f.Ws.Popup.Opened.size(), 1u);
  EXPECT_EQ(f.Ws.Popup.Opened[0], (TPoint{-4990, 2147483647}));
}

// Geometry at both ends of int, in every key at once: start-up, ticks in both views, the menu
// and a save go through without overflow (the sanitizer build checks), and the save stores the
// values as they were read.
TEST(FormStart, GeometryAtTheEndsOfIntSurvivesStartTicksMenuAndSave) {
  for (const char* stored : {"Left=2147483647\nTop=-2147483648\nWidth=2147483647\nHeight=-2147483648\n",
                             "Left=-2147483648\nTop=2147483647\nWidth=-2147483648\nHeight=2147483647\n"}) {
    FormFixture f;
    f.WriteIni(stored);
    TForm1& form = f.Start();
    f.Tick(3);
    form.WMNCRButtonDown();
    f.Choose(form.UVMeter);  // to the gauge, and saved
    f.Tick(3);
    std::string saved;
    for (const char* key : {"Left", "Top", "Width", "Height"}) saved += std::string(key) + "=" + f.Ini(key) + "\n";
    EXPECT_EQ(saved, stored);
  }
}

}  // namespace
}  // namespace varnel
