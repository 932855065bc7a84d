// Text and scale against the chosen background: on a dark background (relative luminance below
// the mid grey 0x808080's) what the program draws in black (axis labels, ticks and line, gauge
// numbers, ticks, scale line and caption) comes out white; on the default and any light
// background it stays black. Both views, through the whole program on the headless windows.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/Color.h"
#include "tests/app/FormTestSupport.h"

namespace varnel {
namespace {

using test::FormFixture;

// Relative luminance, worked out here from the sRGB definition (linear light, Rec. 709 weights).
double Luminance(int r, int g, int b) {
  auto lin = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b);
}

struct TCase {
  const char* Name;
  TColor Background;  // 0x00BBGGRR, or a system colour
  bool Dark;          // what the rule says
};

const TCase kCases[] = {
    {"white", clWhite, false},
    {"default button face", clBtnFace, false},
    {"mid grey", 0x808080, false},        // the threshold itself is not dark
    {"just below mid grey", 0x7F7F7F, true},
    {"bright green", 0x00B000, false},  // light by luminance though its channels average 59
    {"pure blue", clBlue, true},         // dark though one channel is full
    {"navy", clNavy, true},
    {"near black", 0x101010, true},
    {"black", clBlack, true},
};

TEST(Contrast, DarkMeansBelowMidGrey) {
  const double grey = Luminance(128, 128, 128);
  for (const TCase& c : kCases) {
    const TColor rgb = ColorToRGB(c.Background);
    const double l = Luminance(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    EXPECT_EQ(l < grey, c.Dark) << c.Name << " luminance " << l << " against " << grey;
    EXPECT_EQ(IsDarkColor(c.Background), c.Dark) << c.Name;
    EXPECT_EQ(ContrastInk(clBlack, c.Background), c.Dark ? clWhite : clBlack) << c.Name;
    // Colours other than black are the user's: never changed.
    EXPECT_EQ(ContrastInk(clMaroon, c.Background), clMaroon) << c.Name;
    EXPECT_EQ(ContrastInk(clGray, c.Background), clGray) << c.Name;
  }
}

// Pixels of exactly black and exactly white in a picture's rectangle.
struct TInk {
  int Black = 0;
  int White = 0;
};
TInk CountInk(const TBitmap& b, int left, int top, int right, int bottom) {
  TInk ink;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      const TColor c = b.Pixel(x, y);
      ink.Black += c == clBlack;
      ink.White += c == clWhite;
    }
  return ink;
}

// Starts the program with its children painting as the window system asks them to.
void StartPainting(FormFixture& f) {
  f.Start();
  f.Ws.ChartHost.OnPaint = [&f] { f.Form->Chart2.Paint(); };
  f.Ws.MeterHost.OnPaint = [&f] { f.Form->Meter1.Paint(); };
  f.Form->AlignControls();
}

std::string Settings(TColor background, int display, bool legend) {
  return "Colors - Background=" + std::to_string(background) + "\nDisplayAxis=1\nLegend=" + (legend ? "1" : "0") +
         "\nDisplay=" + std::to_string(display) + "\n";
}


// On a dark background the drawing is white (at least `least` pixels) and nowhere black; on a
// light one the reverse. Black or white that is the background itself does not count.
void ExpectContrast(const TInk& ink, const TCase& c, int least) {
  if (c.Dark) {
    if (c.Background != clBlack) {
      EXPECT_EQ(ink.Black, 0) << c.Name;
    }
    EXPECT_GT(ink.White, least) << c.Name;
  } else {
    EXPECT_GT(ink.Black, least) << c.Name;
    if (c.Background != clWhite) {
      EXPECT_EQ(ink.White, 0) << c.Name;
    }
  }
}

TEST(Contrast, ChartAxisLabelsTicksAndLine) {
  for (const TCase& c : kCases) {
    FormFixture f;
    f.WriteIni(Settings(c.Background, 0, false));
    StartPainting(f);
    f.Tick(37);
    f.Ws.Flush();
    const TBitmap& chart = f.Ws.ChartHost.Surface();
    // The left strip holds the labels, the ticks and the axis line; the line is maroon and the
    // grid grey, so black or white there comes only from those.
    ExpectContrast(CountInk(chart, 0, 0, 40, chart.Height()), c, 100);
  }
}

TEST(Contrast, GaugeNumbersTicksScaleAndCaption) {
  for (const TCase& c : kCases) {
    FormFixture f;
    f.WriteIni(Settings(c.Background, 1, true));
    StartPainting(f);
    f.Tick(37);
    f.Ws.Flush();
    const TBitmap& gauge = f.Ws.MeterHost.Surface();
    // Inside the rims and above the pivot cover: the dial, its scale and the caption; the
    // needle is maroon. (The frame and the cover bevel are outside this box.)
    ExpectContrast(CountInk(gauge, 8, 8, gauge.Width() - 8, gauge.Height() - 20), c, 300);
  }
}

// With the legend off the gauge's numbers and caption take the dial's own colour and vanish, on
// purpose; a dark dial does not bring them back, only the scale line and ticks turn white.
TEST(Contrast, GaugeTextHiddenWithLegendOffStaysHidden) {
  for (TColor background : {clBlack, TColor{0x101010}, TColor{0x7F7F7F}}) {
    FormFixture with, without;
    with.WriteIni(Settings(background, 1, true));
    without.WriteIni(Settings(background, 1, false));
    StartPainting(with);
    StartPainting(without);
    with.Ws.Flush();
    without.Ws.Flush();
    const TBitmap& a = with.Ws.MeterHost.Surface();
    const TBitmap& b = without.Ws.MeterHost.Surface();
    const TInk inkWith = CountInk(a, 8, 8, a.Width() - 8, a.Height() - 20);
    const TInk inkWithout = CountInk(b, 8, 8, b.Width() - 8, b.Height() - 20);
    EXPECT_GT(inkWithout.White, 50) << background;                 // the scale and ticks
    EXPECT_GT(inkWith.White, inkWithout.White + 200) << background;  // plus numbers and caption
  }
}

}  // namespace
}  // namespace varnel
