// The gauge's picture: geometry of the scale and needle, drawing order (through the canvas
// trace), lamps, frames, the cases that paint nothing, and golden pictures of this program's
// gauge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <functional>
#include <numbers>
#include <utility>
#include <string>
#include <tuple>
#include <vector>

#include "gauge/Meter.h"
#include "platform/BitmapHost.h"
#include "platform/canvas/Canvas.h"
#include "tests/gauge/GaugeTestSupport.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

std::vector<TCanvasCall> CallsOf(const TCanvasTrace& t, const std::string& op) {
  std::vector<TCanvasCall> out;
  std::copy_if(t.Calls.begin(), t.Calls.end(), std::back_inserter(out),
               [&](const TCanvasCall& c) { return c.Op == op; });
  return out;
}

// The colour (0x00BBGGRR) of a surface pixel.
TColor At(TBitmapHost& host, int x, int y) { return host.Surface().Pixel(x, y); }

class ProgramGauge : public testing::Test {
 protected:
  void SetUpAt(int w, int h) {
    host = std::make_unique<TBitmapHost>(w, h);
    meter.SetHost(host.get());
    test::ConfigureProgramGauge(meter);
  }
  std::unique_ptr<TBitmapHost> host;
  TMeter meter;
  TCanvasTrace trace;
};

TEST_F(ProgramGauge, GeometryAt512By350) {
  SetUpAt(512, 350);
  meter.SetPaintTrace(&trace);
  meter.SetValue(50);  // straight up
  const auto arcs = CallsOf(trace, "Arc");
  ASSERT_GE(arcs.size(), 1u);
  // Pivot (256, 340), R 246: box one pixel wider on the right, from the right end to the left end.
  EXPECT_EQ(arcs[0].Args, (std::vector<int>{10, 94, 503, 586, 502, 340, 10, 340}));

  EXPECT_EQ(CallsOf(trace, "Polygon").size(), 1u);  // no shadow
  // Needle 242 long: tip (256, 98); barbs 20 long at +-15 degrees; body 2 wide; head 20 deep.
  const TMeterGeometry g = meter.ComputeGeometry(512, 350);
  EXPECT_EQ(g.cx, 256);
  EXPECT_EQ(g.cy, 340);
  EXPECT_EQ(g.R, 246);
  EXPECT_EQ(g.Needle, (std::array<TPoint, 7>{{{261, 117}, {256, 98}, {251, 117}, {255, 118}, {255, 340}, {257, 340},
                                              {257, 118}}}));

  // Caption at 28 points (R / 8 = 31 clamped), centred 82 pixels above the pivot.
  TBitmap probe(10, 10);
  probe.Canvas().Font().Assign(meter.Font());
  probe.Canvas().Font().SetSize(28);
  const TSize ext = probe.Canvas().TextExtent("CPU %");
  const auto texts = CallsOf(trace, "TextOut");
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back().Text, "CPU %");
  EXPECT_EQ(texts.back().Args, (std::vector<int>{256 - ext.cx / 2, 340 - 82 - ext.cy / 2}));
}

TEST_F(ProgramGauge, ScaleOfThisProgram) {
  SetUpAt(332, 190);
  meter.SetPaintTrace(&trace);
  meter.SetValue(37);
  // Labels 0, 10, ..., 100 from the left end, then the caption.
  std::vector<std::string> texts;
  for (const auto& c : CallsOf(trace, "TextOut")) texts.push_back(c.Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"0", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100", "CPU %"}));
  // 11 labelled and 40 short ticks (every 2 units, none under a label), plus the bevel lines.
  int ticks = 0;
  for (std::size_t i = 0; i + 1 < trace.Calls.size(); ++i)
    if (trace.Calls[i].Op == "MoveTo" && trace.Calls[i + 1].Op == "LineTo" && trace.Calls[i].PenColor == clBlack) ++ticks;
  EXPECT_EQ(ticks, 51);
  // cx 166, cy 180, R = min(166 - 2 - 8, 190 - 2 - 2 - 16) = 156: the tick of 0 at the left
  // end, that of 50 straight up, 8 pixels long, each label centred 20 pixels inside the scale.
  TBitmap probe(10, 10);
  probe.Canvas().Font().Assign(meter.Font());
  probe.Canvas().Font().SetColor(clBlack);
  for (const auto& [label, tick, end, centre] :
       {std::tuple{"0", TPoint{10, 180}, TPoint{18, 180}, TPoint{30, 180}},
        std::tuple{"50", TPoint{166, 24}, TPoint{166, 32}, TPoint{166, 44}}}) {
    const auto it = std::find_if(trace.Calls.begin(), trace.Calls.end(),
                                 [&](const TCanvasCall& c) { return c.Op == "TextOut" && c.Text == label; });
    ASSERT_TRUE(it != trace.Calls.end() && it - trace.Calls.begin() >= 2);
    EXPECT_EQ((it - 2)->Op, "MoveTo");
    EXPECT_EQ((it - 2)->Args, (std::vector<int>{tick.x, tick.y}));
    EXPECT_EQ((it - 1)->Args, (std::vector<int>{end.x, end.y}));
    const TSize ext = probe.Canvas().TextExtent(label);
    EXPECT_EQ(it->Args, (std::vector<int>{centre.x - ext.cx / 2, centre.y - ext.cy / 2}));
  }
  // Drawing order: background, arc, ticks and labels, caption, needle, cover, pivot pie.
  const auto ops = trace.Ops();
  const auto pos = [&](const std::string& op) { return std::find(ops.begin(), ops.end(), op) - ops.begin(); };
  EXPECT_EQ(ops.front(), "FillRect");
  EXPECT_LT(pos("Arc"), pos("TextOut"));
  EXPECT_LT(pos("TextOut"), pos("Polygon"));
  EXPECT_LT(pos("Polygon"), pos("Pie"));
}

TEST_F(ProgramGauge, NeedleEndsAndPixels) {
  SetUpAt(332, 190);
  meter.SetPaintTrace(&trace);
  meter.SetValue(0);  // unchanged: no paint
  EXPECT_TRUE(trace.Calls.empty());
  meter.SetValue(100);
  EXPECT_EQ(meter.ComputeGeometry(332, 190).Needle[1], (TPoint{166 + 152, 180}));  // right end, 152 long
  EXPECT_EQ(At(*host, 166 + 151, 180), clMaroon);
  meter.SetValue(0);
  EXPECT_EQ(meter.ComputeGeometry(332, 190).Needle[1], (TPoint{166 - 152, 180}));
  // On the surface: maroon needle, gray pivot cover, button-face dial.
  EXPECT_EQ(At(*host, 100, 180), clMaroon);
  EXPECT_EQ(At(*host, 166, 177), clGray);  // the pivot cover hides the needle's root
  EXPECT_EQ(At(*host, 166, 60), ColorToRGB(clBtnFace));
}

TEST(MeterPaint, RadiusRulesOfTheThreeLayouts) {
  struct Case {
    TMeterLayout layout;
    int w, h;
    double r;
  };
  // Default rims (side 10, top 8, bottom 10). The half width is W * 0.5, not cx: 148.5 at 297.
  const Case cases[] = {{mlCirc90, 297, 209, 175},          {mlCirc90, 200, 209, 82 * 1.414},
                        {mlCirc120, 297, 209, 130.5 * 1.1547}, {mlCirc120, 297, 150, 116},
                        {mlCirc180, 297, 209, 130},         {mlCirc180, 297, 120, 86}};
  TMeter m;
  for (const Case& c : cases) {
    m.SetMeterLayout(c.layout);
    const TMeterGeometry g = m.ComputeGeometry(c.w, c.h);
    SCOPED_TRACE(testing::Message() << c.layout << " " << c.w << "x" << c.h);
    EXPECT_DOUBLE_EQ(g.R, c.r);
    EXPECT_EQ(g.cx, c.w / 2);
    EXPECT_EQ(g.cy, c.h - 18);
    EXPECT_TRUE(g.Paintable);
  }
}

TEST(MeterPaint, NothingAtThirtyPixelsHighWithDefaultRims) {
  TBitmapHost host(200, 30);
  TCanvasTrace trace;
  TMeter m;
  m.SetHost(&host);
  m.SetPaintTrace(&trace);
  m.SetValue(0.5);
  m.Paint();
  EXPECT_EQ(host.PresentCount(), 0);
  EXPECT_TRUE(trace.Calls.empty());
  EXPECT_EQ(host.Surface().Pixel(100, 15), clWhite);  // the surface keeps what it had
  host.Resize(200, 35);  // R = 35 - 10 - 8 - 16 = 1: paints
  m.Paint();
  EXPECT_EQ(host.PresentCount(), 1);
}

TEST(MeterPaint, ReversedRangeFromLoadingPaintsNothing) {
  TBitmapHost host(200, 150);
  TMeter m;
  m.SetHost(&host);
  m.BeginLoading();
  m.SetMeterMinValue(5);
  m.SetMeterMaxValue(5);
  m.Loaded();
  m.SetCaption("x");
  EXPECT_EQ(host.PresentCount(), 0);
  m.SetMeterMaxValue(6);  // a valid range paints again
  EXPECT_EQ(host.PresentCount(), 1);
}

TEST(MeterPaint, ShadowIsDrawnFirstAtMinusTheOffset) {
  TBitmapHost host(297, 209);
  TCanvasTrace trace;
  TMeter m;
  m.SetHost(&host);
  m.SetPaintTrace(&trace);
  m.NeedleLayout().SetShadowColor(clGreen);
  m.NeedleLayout().SetShadowDx(3);
  trace.Clear();
  m.NeedleLayout().SetShadowDy(3);
  const auto polys = CallsOf(trace, "Polygon");
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[0].PenColor, clGreen);
  EXPECT_EQ(polys[0].BrushColor, clGreen);
  EXPECT_EQ(polys[1].PenColor, clBlack);
  EXPECT_EQ(polys[1].BrushColor, clSilver);
  // The shadow's tip lies 3 pixels left of and above the needle's tip (value 0 points up-left).
  const TPoint tip = m.ComputeGeometry(297, 209).Needle[1];
  EXPECT_EQ(host.Surface().Pixel(tip.x - 3, tip.y - 3), clGreen);
  EXPECT_EQ(host.Surface().Pixel(tip.x, tip.y), clBlack);
  m.NeedleLayout().SetShadowDx(0);
  m.NeedleLayout().SetShadowDy(0);
  EXPECT_NE(host.Surface().Pixel(tip.x - 3, tip.y - 3), clGreen);
}

TEST(MeterPaint, ZeroThicknessNeedleKeepsItsHead) {
  TBitmapHost host(297, 209);
  TCanvasTrace trace;
  TMeter m;  // default: thickness 0, mlCirc90, range 0..1
  m.SetHost(&host);
  m.SetPaintTrace(&trace);
  m.SetValue(0.3);
  const auto p = m.ComputeGeometry(297, 209).Needle;
  EXPECT_EQ(p[3], p[6]);
  EXPECT_EQ(p[4], p[5]);
  EXPECT_NE(p[0], p[2]);  // the barbs
  // Default gauge labels: 0.0 to 1.0 in steps of 0.2 with one decimal.
  std::vector<std::string> texts;
  for (const auto& c : CallsOf(trace, "TextOut")) texts.push_back(c.Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0", "V"}));
  trace.Clear();
  m.SetCaption("Processor load");  // 14 characters, drawn as the first 10
  EXPECT_EQ(CallsOf(trace, "TextOut").back().Text, "Processor ");
}

TEST(MeterPaint, LampsShowTheirFlags) {
  TBitmapHost host(297, 209);
  TMeter m;
  m.SetHost(&host);
  m.SetLimWatchActColor(clLime);
  m.SetLimWatchPsvColor(clBlue);
  const int hx = 297 - 10 - 13, lx = 10 + 13, y = 8 + 13;  // inside each lamp
  EXPECT_EQ(host.Surface().Pixel(hx, y), clBlue);
  EXPECT_EQ(host.Surface().Pixel(lx, y), clBlue);
  m.SetValue(2);
  EXPECT_EQ(host.Surface().Pixel(hx, y), clLime);
  EXPECT_EQ(host.Surface().Pixel(lx, y), clBlue);
  m.SetValue(-1);
  EXPECT_EQ(host.Surface().Pixel(hx, y), clLime);
  EXPECT_EQ(host.Surface().Pixel(lx, y), clLime);
  m.SetLimWatchHighOn(false);
  EXPECT_EQ(host.Surface().Pixel(hx, y), clWhite);  // the dial shows instead
}

TEST(MeterPaint, FramesInBothSchemes) {
  TBitmapHost host(120, 100);
  TMeter m;
  m.SetHost(&host);
  m.SetColorBakG(clYellow);
  m.SetColorCover(clTeal);
  const int W = 120, H = 100;
  struct Frame {
    TFrameStyle style;
    TColor topLeft, bottomRight, inner;  // (0, 0)-ish, (W-1, H-1), (1, 1)
  };
  const TColor S = clGray, L = clWhite;
  const Frame frames[] = {{fsNone, clTeal, clTeal, clTeal},     {fsSimple, clYellow, clYellow, clTeal},
                          {fsLowered, S, L, clTeal},            {fsRaised, L, S, clTeal},
                          {fsEmbossed, L, S, S},                {fsEngraved, S, L, L}};
  for (const Frame& f : frames) {
    m.SetFrameStyle(f.style);
    SCOPED_TRACE(f.style);
    EXPECT_EQ(host.Surface().Pixel(0, H / 2), f.topLeft);
    EXPECT_EQ(host.Surface().Pixel(W - 1, H / 2), f.bottomRight);
    EXPECT_EQ(host.Surface().Pixel(1, H / 2), f.inner);
  }
  // The system scheme resolves the button shadow and highlight when it paints.
  SetSystemColor(16, clRed);
  SetSystemColor(20, clLime);
  m.SetColorScheme(csSytem);
  m.SetFrameStyle(fsLowered);
  EXPECT_EQ(host.Surface().Pixel(0, H / 2), clRed);
  EXPECT_EQ(host.Surface().Pixel(W / 2, H - 1), clLime);
  ResetSystemColors();
}

TEST(MeterPaint, OffscreenBitmapIsReusedWhileTheSizeStays) {
  TBitmapHost host(200, 150);
  TMeter m;
  m.SetHost(&host);
  m.Paint();
  const auto* pixels = m.OffscreenBitmap().Data();
  m.SetValue(0.4);
  m.SetValue(0.6);
  EXPECT_EQ(m.OffscreenBitmap().Data(), pixels);
  host.Resize(300, 150);
  m.Paint();
  EXPECT_EQ(m.OffscreenBitmap().Width(), 300);
  EXPECT_EQ(host.Surface().Pixel(150, 60), m.OffscreenBitmap().Pixel(150, 60));  // the dial, above the needle's reach
}

// The kept picture under the needle and the redraw of only what the needles moved over: after
// any change of any property, each new value shows exactly what a full repaint shows (the reference gauge paints with a trace, which always
// draws everything), for values that are not numbers or infinite too, and ranges and sizes at
// their limits. A hidden gauge keeps no picture.
TEST(MeterPaint, KeptScaleMatchesAFullRepaintAfterEveryChange) {
  TBitmapHost kept(332, 190), full(332, 190);
  TMeter a, b;
  TCanvasTrace trace;
  a.SetHost(&kept);
  b.SetHost(&full);
  b.SetPaintTrace(&trace);
  const std::vector<std::pair<const char*, std::function<void(TMeter&)>>> changes = {
      {"caption", [](TMeter& m) { m.SetCaption("CPU"); }},
      {"background", [](TMeter& m) { m.SetColorBakG(clYellow); }},
      {"cover", [](TMeter& m) { m.SetColorCover(clTeal); }},
      {"scale colour", [](TMeter& m) { m.SetColorScale(clRed); }},
      {"scheme", [](TMeter& m) { m.SetColorScheme(csSytem); }},
      {"font size", [](TMeter& m) { m.Font().SetSize(12); }},
      {"font name", [](TMeter& m) { m.Font().SetName("Arial"); }},
      {"font colour", [](TMeter& m) { m.Font().SetColor(clBlue); }},
      {"font style", [](TMeter& m) { m.Font().SetStyle(fsBold); }},
      {"frame", [](TMeter& m) { m.SetFrameStyle(fsEngraved); }},
      {"high lamp", [](TMeter& m) { m.SetLimWatchHighOn(false); }},
      {"lamp colours", [](TMeter& m) { m.SetLimWatchActColor(clLime), m.SetLimWatchPsvColor(clPurple); }},
      {"maximum", [](TMeter& m) { m.SetMeterMaxValue(250); }},
      {"minimum", [](TMeter& m) { m.SetMeterMinValue(-40); }},
      {"decimals", [](TMeter& m) { m.SetMeterDecPlaces(2); }},
      {"ticks", [](TMeter& m) { m.SetMeterNrTicks(7); }},
      {"layout 120", [](TMeter& m) { m.SetMeterLayout(mlCirc120); }},
      {"layout 180", [](TMeter& m) { m.SetMeterLayout(mlCirc180); }},
      {"short ticks", [](TMeter& m) { m.SetMeterShortTicks(false); }},
      {"scale line", [](TMeter& m) { m.SetMeterScaleLine(false); }},
      {"needle", [](TMeter& m) { m.NeedleLayout().SetThickness(5), m.NeedleLayout().SetHeadSize(9); }},
      {"shadow", [](TMeter& m) { m.NeedleLayout().SetShadowDx(3), m.NeedleLayout().SetShadowDy(-2); }},
      {"anchor", [](TMeter& m) { m.NeedleLayout().SetAnchorCovered(!m.NeedleLayout().AnchorCovered()); }},
      {"rims", [](TMeter& m) { m.SetRimBottom(20), m.SetRimTop(3), m.SetRimSide(15); }},
      {"size", [](TMeter& m) { static_cast<TBitmapHost*>(m.Host())->Resize(400, 260), m.Paint(); }},
      {"system colours", [](TMeter& m) { m.SetColorBakG(clBtnFace), SetSystemColor(15, clAqua), m.Paint(); }},
      {"hidden and shown", [](TMeter& m) { m.SetVisible(false), m.SetVisible(true); }},
      // The needles and marks alone move: what they covered before and cover now is redrawn.
      {"busiest and marks move", [](TMeter& m) {
         for (double v : {10.0, 95.0, 55.0, -20.0}) {
           m.SetSecondNeedle(v, clRed);
           m.SetRimMarks({{v, clBlue}, {100 - v, clLime}, {std::nan(""), clRed}});
         }
       }},
      {"busiest gone", [](TMeter& m) { m.SetSecondNeedle(std::nullopt, clRed), m.SetRimMarks({}); }},
      // A surface made anew at the same size holds none of the last picture.
      {"surface anew", [](TMeter& m) {
         auto* host = static_cast<TBitmapHost*>(m.Host());
         const int w = host->Surface().Width(), h = host->Surface().Height();
         host->Resize(0, 0), host->Resize(w, h);
       }},
      {"denser screen", [](TMeter& m) { m.SetScale(TPixelScale(192)), m.NeedleLayout().SetThickness(4); }},
      // Bad input: the widest finite range, a range of the smallest numbers, no room at all.
      {"largest range", [](TMeter& m) { m.SetMeterMaxValue(DBL_MAX), m.SetMeterMinValue(-DBL_MAX); }},
      {"tiny range", [](TMeter& m) { m.SetMeterMinValue(0), m.SetMeterMaxValue(4.9e-324); }},
      {"one pixel", [](TMeter& m) { static_cast<TBitmapHost*>(m.Host())->Resize(1, 1), m.Paint(); }},
      {"no pixels", [](TMeter& m) { static_cast<TBitmapHost*>(m.Host())->Resize(0, 0), m.Paint(); }},
  };
  for (TMeter* m : {&a, &b}) test::ConfigureProgramGauge(*m);
  for (const auto& [what, change] : changes) {
    int k = 0;
    for (double v : {0.0, 37.0, 300.0, std::nan(""), -100.0, 99.5, HUGE_VAL, -HUGE_VAL, 1e300}) {
      for (TMeter* m : {&a, &b}) {
        if (k == 1) change(*m);  // between two values
        m->SetValue(v);
      }
      ++k;
      ASSERT_EQ(kept.Surface().Width(), full.Surface().Width());
      for (int y = 0; y < kept.Surface().Height(); ++y)
        for (int x = 0; x < kept.Surface().Width(); ++x)
          ASSERT_EQ(kept.Surface().Pixel(x, y), full.Surface().Pixel(x, y)) << what << ", value " << v << " at " << x << "," << y;
    }
  }
  ResetSystemColors();
  a.SetVisible(false);
  EXPECT_TRUE(a.OffscreenBitmap().Empty());
}

TEST(MeterPaint, AnyRimsAndSizesAreSafe) {
  TBitmapHost host(60, 50);
  TMeter m;
  m.SetHost(&host);
  m.SetRimTop(-40);  // negative rims are drawn as given
  m.SetRimBottom(-3);
  const int painted = host.PresentCount();
  EXPECT_GT(painted, 0);
  for (int v : {INT_MIN, -100000, -5, 0, 3, 40, 1 << 30, INT_MAX}) {
    const int opposite = v == INT_MIN ? INT_MAX : -v;
    m.SetRimSide(v);
    m.SetRimTop(opposite);
    m.SetRimBottom(v / 2);
    m.NeedleLayout().SetAnchorSize(v);
    m.NeedleLayout().SetHeadSize(opposite);
    m.NeedleLayout().SetShadowDx(v);
    m.NeedleLayout().SetThickness(opposite);
    for (TMeterLayout l : {mlCirc90, mlCirc120, mlCirc180}) m.SetMeterLayout(l);
  }
  // Beyond a million pixels nothing is drawn.
  m.SetRimTop(0);
  m.SetRimBottom(0);
  m.SetRimSide(0);
  m.NeedleLayout().SetAnchorSize(3);
  m.NeedleLayout().SetHeadSize(3);
  m.NeedleLayout().SetShadowDx(0);
  m.NeedleLayout().SetThickness(2000000);
  const int before = host.PresentCount();
  m.SetValue(0.5);
  EXPECT_EQ(host.PresentCount(), before);
  m.NeedleLayout().SetThickness(1000);
  EXPECT_EQ(host.PresentCount(), before + 1);
}

// Golden pictures of this program's gauge at its default and design-time sizes.
class GaugeGolden : public testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(GaugeGolden, MatchesThePicture) {
  const auto [w, h, load] = GetParam();
  TBitmapHost host(w, h);
  TMeter m;
  m.SetHost(&host);
  test::ConfigureProgramGauge(m);
  m.SetValue(load);
  const std::string name = "gauge_" + std::to_string(w) + "x" + std::to_string(h) + "_" + std::to_string(load);
  EXPECT_EQ(test::CompareWithGolden(host.Surface(), name), "");
}

INSTANTIATE_TEST_SUITE_P(Loads, GaugeGolden,
                         testing::Combine(testing::Values(332), testing::Values(190), testing::Values(0, 37, 50, 100)));
INSTANTIATE_TEST_SUITE_P(DesignSize, GaugeGolden,
                         testing::Combine(testing::Values(512), testing::Values(350), testing::Values(0, 37, 50, 100)));

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

// The busiest core's needle and the cores' rim marks: drawn under the needle, the second needle
// thinner with a smaller head, marks on the inside of the arc at their values, values clamped.
TEST_F(ProgramGauge, SecondNeedleAndRimMarks) {
  SetUpAt(332, 190);  // pivot (166, 180), radius 156
  meter.SetValue(50);
  meter.SetPaintTrace(&trace);
  meter.SetSecondNeedle(75.0, clBlue);
  meter.SetRimMarks({{0.0, clGreen}, {25.0, clRed}, {250.0, clFuchsia}});
  const auto polys = CallsOf(trace, "Polygon");
  const auto second = std::find_if(polys.begin(), polys.end(), [](const TCanvasCall& c) { return c.BrushColor == clBlue; });
  const auto main = std::find_if(polys.begin(), polys.end(), [](const TCanvasCall& c) { return c.BrushColor == clMaroon; });
  ASSERT_NE(second, polys.end());
  ASSERT_NE(main, polys.end());
  EXPECT_LT(second - polys.begin(), main - polys.begin());  // under the main needle
  // 75 is 45 degrees: the tip 4 pixels inside the radius, the head two thirds of 20 (13) long.
  const TMeterGeometry g = meter.ComputeGeometry(332, 190);
  const double c45 = std::cos(std::numbers::pi / 4);
  EXPECT_EQ(g.SecondNeedle[1], (TPoint{166 + static_cast<int>(std::lround(152 * c45)), 180 - static_cast<int>(std::lround(152 * c45))}));
  EXPECT_NEAR(std::hypot(g.SecondNeedle[3].x - g.SecondNeedle[1].x, g.SecondNeedle[3].y - g.SecondNeedle[1].y), 13.0, 1.0);
  EXPECT_EQ(At(*host, 166 + static_cast<int>(std::lround(90 * c45)), 180 - static_cast<int>(std::lround(90 * c45))), clBlue);
  // Each mark runs from a tenth of the radius (15.6 pixels) inside the arc to one pixel inside it.
  EXPECT_EQ(At(*host, 166 - 145, 180), clGreen);  // 0: left
  const auto on25 = [&](double r) {
    return At(*host, 166 - static_cast<int>(std::lround(r * c45)), 180 - static_cast<int>(std::lround(r * c45)));
  };
  EXPECT_EQ(on25(145), clRed);  // 25: up and left
  EXPECT_NE(on25(128), clRed);  // no deeper than its length
  EXPECT_EQ(At(*host, 166 + 145, 180), clFuchsia);  // 250: clamped to 100, right
  // No second needle and no marks: the dial is as before.
  meter.SetSecondNeedle(std::nullopt, clBlue);
  meter.SetRimMarks({});
  EXPECT_NE(At(*host, 166 + static_cast<int>(std::lround(90 * c45)), 180 - static_cast<int>(std::lround(90 * c45))), clBlue);
  EXPECT_NE(At(*host, 166 - 145, 180), clGreen);
}

}  // namespace
}  // namespace varnel
