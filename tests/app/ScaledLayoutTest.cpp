// The program on denser screens: at 144 and 192 pixels per inch, in a window 1.5 and 2 times the
// default size, the chart's plot rectangle, legend box and axis label positions and the gauge's
// pivot, radius and needle are those of 96 pixels per inch times the factor, within 2 pixels.
// The 96 layout is worked out here from the layout rules (margins, border, tick lengths, the
// legend's gaps, the gauge's room around the dial); where an edge follows a text's width, the
// text is measured on a canvas of our own in the chart's 8-point font at the screen's density
// (the point rule gives 21 pixels at 192, not twice 11, so text runs a little short of twice its
// width at 96). Golden pictures of both views at 144 and 192 back it up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

#include "platform/canvas/Bitmap.h"
#include "tests/app/FormTestSupport.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

using test::FormFixture;

// The chart's 8-point Arial at a screen density, measured on a canvas of our own.
struct TText {
  explicit TText(int ppi) {
    probe.Canvas().Font().SetPixelsPerInch(ppi);
    probe.Canvas().Font().SetName("Arial");
    probe.Canvas().Font().SetSize(8);
  }
  int Width(const std::string& s) { return probe.Canvas().TextWidth(s); }
  int Height() { return probe.Canvas().TextHeight("W"); }
  TBitmap probe{4, 4};
};

void ExpectNear(double actual, double expected, const std::string& what) {
  EXPECT_LE(std::fabs(actual - expected), 2.0) << what << ": " << actual << " against " << expected;
}

struct TScaled {
  int Ppi;
  double F;  // Ppi / 96
};
const TScaled kScreens[] = {{144, 1.5}, {192, 2.0}};

// A started program at a screen density, its window f times 332 x 190, after one tick of 37.
struct TProgram {
  TProgram(int ppi, const std::string& ini) : Fixture(332 * ppi / 96, 190 * ppi / 96) {
    Fixture.Ws.SetPixelsPerInch(ppi);
    Fixture.WriteIni(ini + "PixelsPerInch=" + std::to_string(ppi) + "\nWidth=" + std::to_string(332 * ppi / 96) +
                     "\nHeight=" + std::to_string(190 * ppi / 96) + "\n");
    Fixture.Start();
    Fixture.Ws.ChartHost.OnPaint = [this] { Fixture.Form->Chart2.Paint(); };
    Fixture.Ws.MeterHost.OnPaint = [this] { Fixture.Form->Meter1.Paint(); };
    Form().AlignControls();
    Fixture.Tick(37);
    Fixture.Ws.Flush();
  }
  FormFixture Fixture;
  TForm1& Form() { return *Fixture.Form; }
};

TEST(ScaledLayout, ChartPlotRectangleAndAxisLabels) {
  // At 96: the chart's surface is the client area inside the 2-pixel edge, 328 x 186; the
  // 3-pixel border; the left axis takes its widest label ("100") and a blank, then its axis
  // line (1) and ticks (3), or its minor ticks (5) where longer; the bottom axis has no labels:
  // line and ticks, 4.
  const double top = 3, right = 328 - 3, bottom = 186 - 3 - 4;
  for (const TScaled& s : kScreens) {
    TText t(s.Ppi);
    const int labels = std::max(t.Width("100"), t.Width("0")) + t.Width(" ");
    const double left = (3 + 5) * s.F + labels;  // in the screen's pixels
    const int lineHeight = t.Height();
    TProgram p(s.Ppi, "DisplayAxis=1\nLegend=0\n");
    TCanvasTrace trace;
    p.Fixture.Ws.ChartHost.SetBackBuffer(true);  // the chart draws straight onto the traced surface
    TBitmap& surface = p.Fixture.Ws.ChartHost.Surface();
    surface.Canvas().SetTrace(&trace);
    p.Form().Chart2.Invalidate();
    p.Fixture.Ws.Flush();
    surface.Canvas().SetTrace(nullptr);

    const TRect r = p.Form().Chart2.PlotRect();
    const std::string at = " at " + std::to_string(s.Ppi);
    ExpectNear(r.Left, left, "plot left" + at);
    ExpectNear(r.Top, top * s.F, "plot top" + at);
    ExpectNear(r.Right, right * s.F, "plot right" + at);
    ExpectNear(r.Bottom, bottom * s.F, "plot bottom" + at);

    // The labels 0, 10, ..., 100, right-aligned at the labels' edge, centred on their values.
    int seen = 0;
    for (const TCanvasCall& c : trace.Calls) {
      if (c.Op != "TextOut") continue;
      char* end = nullptr;
      const long v = std::strtol(c.Text.c_str(), &end, 10);
      if (c.Text.empty() || *end != '\0') continue;
      ++seen;
      const double y = (bottom - (bottom - top) * v / 100.0) * s.F - lineHeight / 2;
      ExpectNear(c.Args.at(0), 3 * s.F + labels, "label x of " + c.Text + at);
      ExpectNear(c.Args.at(1), y, "label y of " + c.Text + at);
    }
    EXPECT_EQ(seen, 11) << at;
  }
}

TEST(ScaledLayout, LegendBox) {
  for (const TScaled& s : kScreens) {
    TText t(s.Ppi);
    TProgram p(s.Ppi, "DisplayAxis=0\nLegend=1\n");
    const std::string text = p.Form().Chart2.ItemText(0);
    // At 96: the box starts at the border (3) and the panel's top (0); one entry of a line's
    // height and 2 of padding; 4 to the swatch, the swatch 27 % of the text width and 10, 4 to
    // the text, 2 after it. The plot then starts 1 to the right of the border.
    const double tw = t.Width(text);
    const double swatch = std::round((tw + 10 * s.F) * 0.27);
    const double boxRight = (3 + 4 + 4 + 2) * s.F + swatch + tw;
    const TRect box = p.Form().Chart2.Legend().LegendBox();
    const std::string at = " at " + std::to_string(s.Ppi);
    ExpectNear(box.Left, 3 * s.F, "legend left" + at);
    ExpectNear(box.Top, 0, "legend top" + at);
    ExpectNear(box.Right, boxRight, "legend right" + at);
    ExpectNear(box.Bottom, 2 * s.F + t.Height(), "legend bottom" + at);
    ExpectNear(p.Form().Chart2.PlotRect().Left, 4 * s.F, "plot left" + at);
  }
}

TEST(ScaledLayout, GaugePivotRadiusAndNeedle) {
  // At 96 in 332 x 190: rims of 2, 8 below the pivot, 16 between the rims and the dial; the
  // needle R - 4 long, its head 20 long at +-15 degrees from a body 2 wide.
  const double cx = 166, cy = 190 - 2 - 8, R = std::min(166.0 - 2 - 8, 190.0 - 2 - 2 - 16);
  const double a = (180.0 - 180.0 * 37 / 100) * std::numbers::pi / 180;
  const double tipX = cx + (R - 4) * std::cos(a), tipY = cy - (R - 4) * std::sin(a);
  const double h = 15 * std::numbers::pi / 180;
  const double barbs[2][2] = {{tipX - std::cos(a + h) * 20, tipY + std::sin(a + h) * 20},
                              {tipX - std::cos(a - h) * 20, tipY + std::sin(a - h) * 20}};
  for (const TScaled& s : kScreens) {
    TProgram p(s.Ppi, "Display=1\nDisplayAxis=1\n");
    const TMeterGeometry g = p.Form().Meter1.ComputeGeometry(p.Fixture.Ws.MeterHost.Surface().Width(),
                                                             p.Fixture.Ws.MeterHost.Surface().Height());
    const std::string at = " at " + std::to_string(s.Ppi);
    ExpectNear(g.cx, cx * s.F, "pivot x" + at);
    ExpectNear(g.cy, cy * s.F, "pivot y" + at);
    ExpectNear(g.R, R * s.F, "radius" + at);
    ExpectNear(g.Needle[1].x, tipX * s.F, "tip x" + at);
    ExpectNear(g.Needle[1].y, tipY * s.F, "tip y" + at);
    ExpectNear(g.Needle[0].x, barbs[0][0] * s.F, "barb x" + at);
    ExpectNear(g.Needle[0].y, barbs[0][1] * s.F, "barb y" + at);
    ExpectNear(g.Needle[2].x, barbs[1][0] * s.F, "other barb x" + at);
    ExpectNear(g.Needle[2].y, barbs[1][1] * s.F, "other barb y" + at);
    // The body is the design's 2 pixels wide, scaled.
    const double body = std::hypot(g.Needle[5].x - g.Needle[4].x, g.Needle[5].y - g.Needle[4].y);
    ExpectNear(body, 2 * s.F, "needle body" + at);
  }
}

TEST(ScaledLayout, CoreLinesAndSecondNeedle) {
  // The core lines and the busiest core's line are 1 pixel wide at 96, the busiest needle's body
  // half the needle's 2: each scales and rounds half away from zero.
  for (const TScaled& s : kScreens) {
    TProgram p(s.Ppi, "Cores=2\n");
    p.Fixture.ReadingOverride = [] { return std::optional<TLoadReading>(TLoadReading{40, {{"cpu0", 10}, {"cpu1", 70}}}); };
    p.Fixture.Ws.Timer.Fire();
    const std::string at = " at " + std::to_string(s.Ppi);
    const int line = static_cast<int>(std::lround(1 * s.F));
    ASSERT_EQ(p.Form().CoreSeries.size(), 2u) << at;
    for (const auto& core : p.Form().CoreSeries) EXPECT_EQ(core->LinePen().Width(), line) << "core line" << at;
    EXPECT_EQ(p.Form().SeriesMax.LinePen().Width(), line) << "busiest line" << at;

    const TMeterGeometry g = p.Form().Meter1.ComputeGeometry(static_cast<int>(330 * s.F), static_cast<int>(165 * s.F));
    ASSERT_TRUE(p.Form().Meter1.SecondValue()) << at;
    const auto& n = g.SecondNeedle;
    ExpectNear(std::hypot(n[5].x - n[4].x, n[5].y - n[4].y), 1 * s.F, "second needle body" + at);
  }
}

TEST(ScaledLayout, GoldenPictures) {
  const char* samples[] = {"12", "45", "30", "80", "65", "20", "90", "37"};
  for (const TScaled& s : kScreens) {
    for (int display : {0, 1}) {
      TProgram p(s.Ppi, "DisplayAxis=1\nLegend=1\nDisplay=" + std::to_string(display) + "\n");
      for (const char* v : samples) p.Fixture.Tick(std::atoi(v));
      p.Fixture.Ws.Flush();
      const std::string name = std::string(display == 0 ? "chart" : "gauge") + "_dpi" + std::to_string(s.Ppi) + "_37";
      EXPECT_EQ(test::CompareWithGolden(p.Fixture.Ws.ClientPicture(), name), "");
    }
  }
}

}  // namespace
}  // namespace varnel
