// The gauge's model: defaults, clamps, the value and range rules with their lamps, the loading
// bracket, the needle layout, and which setters repaint how often.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gauge/Meter.h"
#include "platform/BitmapHost.h"

namespace varnel {
namespace {

TEST(MeterModel, DefaultsOfANewGauge) {
  TMeter m;
  EXPECT_EQ(m.Caption(), "V");
  EXPECT_EQ(m.ColorBakG(), clWhite);
  EXPECT_EQ(m.ColorCover(), clSilver);
  EXPECT_EQ(m.ColorScale(), clNavy);
  EXPECT_EQ(m.ColorScheme(), csBWG);
  EXPECT_EQ(m.FrameStyle(), fsRaised);
  EXPECT_TRUE(m.LimWatchHighOn());
  EXPECT_TRUE(m.LimWatchLowOn());
  EXPECT_EQ(m.LimWatchActColor(), clRed);
  EXPECT_EQ(m.LimWatchPsvColor(), clGray);
  EXPECT_EQ(m.MeterMinValue(), 0.0);
  EXPECT_EQ(m.MeterMaxValue(), 1.0);
  EXPECT_EQ(m.MeterDecPlaces(), 1);
  EXPECT_EQ(m.MeterNrTicks(), 3);
  EXPECT_EQ(m.MeterLayout(), mlCirc90);
  EXPECT_TRUE(m.MeterShortTicks());
  EXPECT_TRUE(m.MeterScaleLine());
  EXPECT_EQ(m.RimBottom(), 10);
  EXPECT_EQ(m.RimTop(), 8);
  EXPECT_EQ(m.RimSide(), 10);
  EXPECT_EQ(m.Value(), 0.0);
  EXPECT_FALSE(m.LimHighActive());
  EXPECT_FALSE(m.LimLowActive());
  EXPECT_EQ(m.FrameShadowColor(), clGray);
  EXPECT_EQ(m.FrameHighlightColor(), clWhite);
  EXPECT_EQ(m.Width(), 297);
  EXPECT_EQ(m.Height(), 209);
  const TNeedleLayout& n = m.NeedleLayout();
  EXPECT_EQ(n.HeadSize(), 20);
  EXPECT_EQ(n.HeadAngle(), 30);
  EXPECT_EQ(n.HeadMidLeng(), 20);
  EXPECT_EQ(n.AnchorSize(), 24);
  EXPECT_TRUE(n.AnchorCovered());
  EXPECT_EQ(n.Thickness(), 0);
  EXPECT_EQ(n.ColorBody(), clSilver);
  EXPECT_EQ(n.ColorOutline(), clBlack);
  EXPECT_EQ(n.ShadowDx(), 0);
  EXPECT_EQ(n.ShadowDy(), 0);
  EXPECT_EQ(n.ShadowColor(), clGray);
}

TEST(MeterModel, ValueClampsAndLightsTheLamps) {
  TMeter m;
  m.SetMeterMaxValue(100);
  m.SetValue(150);  // above: needle at the maximum, high lamp lit
  EXPECT_EQ(m.Value(), 100);
  EXPECT_TRUE(m.LimHighActive());
  EXPECT_FALSE(m.LimLowActive());
  m.SetValue(100);  // exactly the stored value: nothing changes, the lamp stays lit
  EXPECT_TRUE(m.LimHighActive());
  m.SetValue(40);  // inside: both lamps out
  EXPECT_EQ(m.Value(), 40);
  EXPECT_FALSE(m.LimHighActive());
  EXPECT_FALSE(m.LimLowActive());
  m.SetValue(-5);  // below then above: both stay lit
  EXPECT_EQ(m.Value(), 0);
  EXPECT_TRUE(m.LimLowActive());
  m.SetValue(1e9);
  EXPECT_EQ(m.Value(), 100);
  EXPECT_TRUE(m.LimLowActive());
  EXPECT_TRUE(m.LimHighActive());
  m.SetValue(100);  // the maximum itself inside the range, but equal to the stored value
  EXPECT_TRUE(m.LimLowActive());
  EXPECT_TRUE(m.LimHighActive());
  m.SetValue(99.5);
  EXPECT_FALSE(m.LimLowActive() || m.LimHighActive());
}

TEST(MeterModel, NonNumbersAreIgnoredAndInfinityClamps) {
  TMeter m;
  m.SetMeterMaxValue(100);
  m.SetValue(30);
  m.SetValue(std::nan(""));
  EXPECT_EQ(m.Value(), 30);
  m.SetMeterMinValue(-std::numeric_limits<double>::infinity());
  m.SetMeterMaxValue(std::nan(""));
  EXPECT_EQ(m.MeterMinValue(), 0);
  EXPECT_EQ(m.MeterMaxValue(), 100);
  m.SetValue(std::numeric_limits<double>::infinity());
  EXPECT_EQ(m.Value(), 100);
  EXPECT_TRUE(m.LimHighActive());
}

TEST(MeterModel, MinimumAndMaximumPushEachOtherAndTheValue) {
  TMeter m;
  m.SetMeterMaxValue(40);
  m.SetValue(30);
  m.SetMeterMinValue(50);  // the maximum moves to 51, the value to 50, the lamps stay out
  EXPECT_EQ(m.MeterMinValue(), 50);
  EXPECT_EQ(m.MeterMaxValue(), 51);
  EXPECT_EQ(m.Value(), 50);
  EXPECT_FALSE(m.LimLowActive());

  TMeter k;
  k.SetMeterMaxValue(20);
  k.SetMeterMinValue(10);
  k.SetValue(15);
  k.SetMeterMaxValue(10);  // the minimum moves to 9, the value to 10
  EXPECT_EQ(k.MeterMinValue(), 9);
  EXPECT_EQ(k.MeterMaxValue(), 10);
  EXPECT_EQ(k.Value(), 10);
  EXPECT_FALSE(k.LimHighActive());
  k.SetMeterMinValue(-5);  // a lower minimum leaves maximum and value alone
  EXPECT_EQ(k.MeterMaxValue(), 10);
  EXPECT_EQ(k.Value(), 10);
}

TEST(MeterModel, ClampsOfDecPlacesNrTicksHeadAngleAndCaption) {
  TMeter m;
  m.SetMeterDecPlaces(9);
  EXPECT_EQ(m.MeterDecPlaces(), 4);
  m.SetMeterDecPlaces(-3);
  EXPECT_EQ(m.MeterDecPlaces(), 0);
  m.SetMeterNrTicks(1);
  EXPECT_EQ(m.MeterNrTicks(), 2);
  m.SetMeterNrTicks(50);
  EXPECT_EQ(m.MeterNrTicks(), 21);
  m.NeedleLayout().SetHeadAngle(400);
  EXPECT_EQ(m.NeedleLayout().HeadAngle(), 180);
  m.NeedleLayout().SetHeadAngle(-1);
  EXPECT_EQ(m.NeedleLayout().HeadAngle(), 0);
  m.SetCaption("CPU load now!!");
  EXPECT_EQ(m.Caption(), "CPU load n");
  m.SetCaption("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC");
  EXPECT_EQ(m.Caption(), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC");  // 10 characters, none split
}

TEST(MeterModel, ColorSchemeSetsTheFrameColours) {
  TMeter m;
  m.SetColorScheme(csSytem);
  EXPECT_EQ(m.FrameShadowColor(), clBtnShadow);
  EXPECT_EQ(m.FrameHighlightColor(), clBtnHighlight);
  m.SetColorScheme(csBWG);
  EXPECT_EQ(m.FrameShadowColor(), clGray);
  EXPECT_EQ(m.FrameHighlightColor(), clWhite);
}

TEST(MeterModel, LoadingStoresAsGivenAndLoadedClampsWithoutLamps) {
  TMeter m;
  m.BeginLoading();
  m.SetValue(150);
  m.SetMeterMaxValue(100);
  EXPECT_EQ(m.Value(), 150);
  m.Loaded();
  EXPECT_EQ(m.Value(), 100);
  EXPECT_FALSE(m.LimHighActive());
  EXPECT_FALSE(m.LimLowActive());

  TMeter k;  // a reversed range is kept as stored; the value goes below the minimum check last
  k.BeginLoading();
  k.SetMeterMinValue(10);
  k.SetMeterMaxValue(5);
  k.SetValue(7);
  k.Loaded();
  EXPECT_EQ(k.MeterMinValue(), 10);
  EXPECT_EQ(k.MeterMaxValue(), 5);
  EXPECT_EQ(k.Value(), 5);  // above the maximum first
}

TEST(MeterModel, NeedleLayoutIsCopiedNotAdopted) {
  TMeter m;
  TNeedleLayout given;
  given.SetThickness(2);
  given.SetColorBody(clOlive);
  given.SetAnchorSize(5);
  given.SetShadowDx(3);
  int givenChanges = 0;
  given.OnChange = [&](TNeedleLayout*) { ++givenChanges; };
  m.SetNeedleLayout(given);
  EXPECT_NE(&m.NeedleLayout(), &given);
  EXPECT_EQ(m.NeedleLayout().Thickness(), 2);
  EXPECT_EQ(m.NeedleLayout().ColorBody(), clOlive);
  EXPECT_EQ(m.NeedleLayout().AnchorSize(), 5);
  EXPECT_EQ(m.NeedleLayout().ShadowDx(), 3);
  given.SetThickness(7);  // later changes of the given object do not reach the gauge
  EXPECT_EQ(m.NeedleLayout().Thickness(), 2);
  EXPECT_EQ(givenChanges, 1);

  TNeedleLayout l;
  TNeedleLayout* sender = nullptr;
  int changes = 0;
  l.OnChange = [&](TNeedleLayout* s) {
    sender = s;
    ++changes;
  };
  l.SetHeadSize(20);  // unchanged: no notification
  l.SetHeadAngle(200);
  l.SetHeadAngle(180);  // equal after the clamp
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(sender, &l);
  l.Assign(m.NeedleLayout());  // several values at once: one notification
  EXPECT_EQ(changes, 2);
  l.Assign(m.NeedleLayout());
  EXPECT_EQ(changes, 2);
}

// A host that has a surface counts one Present per paint.
TEST(MeterModel, EachChangingSetterPaintsExactlyOnce) {
  TBitmapHost host(200, 150);
  TMeter m;
  m.SetHost(&host);
  int expected = 0;
  auto paints = [&] { return host.PresentCount(); };
  m.SetValue(0.5);
  EXPECT_EQ(paints(), ++expected);
  m.SetValue(0.5);
  EXPECT_EQ(paints(), expected);
  m.SetColorBakG(clYellow);
  EXPECT_EQ(paints(), ++expected);
  m.SetColorBakG(clYellow);
  m.SetFrameStyle(fsRaised);
  m.SetColorScheme(csBWG);
  m.SetRimTop(8);
  m.SetMeterLayout(mlCirc90);
  EXPECT_EQ(paints(), expected);
  m.SetCaption("V");  // always repaints
  EXPECT_EQ(paints(), ++expected);
  m.SetMeterNrTicks(21);
  EXPECT_EQ(paints(), ++expected);
  m.SetMeterNrTicks(30);  // differs from 21 before the clamp: repaints without a change
  EXPECT_EQ(paints(), ++expected);
  m.SetMeterNrTicks(21);
  EXPECT_EQ(paints(), expected);
  m.SetMeterMinValue(0.6);  // pushes the value, one paint
  EXPECT_EQ(paints(), ++expected);
  m.NeedleLayout().SetThickness(3);
  EXPECT_EQ(paints(), ++expected);
  m.NeedleLayout().SetThickness(3);
  EXPECT_EQ(paints(), expected);
  m.SetNeedleLayout(m.NeedleLayout());  // copies, then repaints
  EXPECT_EQ(paints(), ++expected);
  m.Font().SetColor(clRed);
  EXPECT_EQ(paints(), ++expected);

  m.BeginLoading();  // nothing paints while loading, Loaded paints once
  m.SetValue(3);
  m.SetColorCover(clGray);
  m.SetMeterMaxValue(10);
  EXPECT_EQ(paints(), expected);
  m.Loaded();
  EXPECT_EQ(paints(), ++expected);

  m.SetVisible(false);
  m.SetValue(4);
  EXPECT_EQ(paints(), expected);
  m.SetVisible(true);
  EXPECT_EQ(paints(), ++expected);
}

TEST(MeterModel, NoHostOrNoSurfaceMeansNoPaintAndNoError) {
  TMeter m;
  m.SetValue(0.7);
  m.Paint();
  TBitmapHost host(0, 0);
  m.SetHost(&host);
  m.SetValue(0.2);
  m.Paint();
  EXPECT_EQ(host.PresentCount(), 0);
  host.Resize(100, 80);
  m.Paint();
  EXPECT_EQ(host.PresentCount(), 1);
  EXPECT_EQ(m.OffscreenBitmap().Width(), 100);
}

}  // namespace
}  // namespace varnel
