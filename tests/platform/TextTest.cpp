// Canvas text: font look-up, metrics, alignment and the opaque box, clipping, turned text,
// decoding, the glyph cache and the case without any font.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <new>
#include <string>

#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"
#include "platform/canvas/FontCache.h"

// Counts operator new calls, to show that a warm TextOut allocates nothing.
namespace {
std::size_t gNewCalls = 0;
}
void* operator new(std::size_t n) {
  ++gNewCalls;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
// GCC pairs the inlined free with the call to operator new above and warns; they do match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpragmas"
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace varnel {
namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;

void UseArial8(TCanvas& c) {
  c.Font().SetName("Arial");
  c.Font().SetHeight(-11);
  c.Font().SetStyle(0);
  c.Font().SetOrientation(0);
  c.Font().SetColor(clBlack);
}

// The bounding box of the pixels that satisfy pred (empty when none do).
TRect BoxOf(const TBitmap& b, const std::function<bool(std::uint32_t)>& pred) {
  TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (pred(b.PixelWord(x, y))) {
        r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1), r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r.Left == INT_MAX ? TRect{} : r;
}
TRect ChangedBox(const TBitmap& b) {
  return BoxOf(b, [](std::uint32_t p) { return p != kWhite; });
}
int CountIf(const TBitmap& b, const std::function<bool(int, int, std::uint32_t)>& pred) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += pred(x, y, b.PixelWord(x, y));
  return n;
}

// The opaque box alone: text drawn in the background colour is a solid rectangle ("H" has no
// overhang in a sans face, so no ink leaves the box).
TRect OpaqueBox(TBitmap& bmp, int x, int y, unsigned align, const std::string& s, int orientation = 0) {
  bmp.SetSize(0, 0);
  bmp.SetSize(300, 200);
  TCanvas& c = bmp.Canvas();
  UseArial8(c);
  c.Font().SetOrientation(orientation);
  c.Font().SetColor(clLime);
  c.SetBkMode(OPAQUE);
  c.SetBkColor(clLime);
  c.SetTextAlign(align);
  c.TextOut(x, y, s);
  const TRect box = ChangedBox(bmp);
  EXPECT_EQ(CountIf(bmp, [](int, int, std::uint32_t p) { return p != kWhite && p != ColorToPixel(clLime); }), 0);
  return box;
}

TEST(TextFonts, ResolvesFamiliesAndStylesThroughFontconfig) {
  auto& cache = text::TFontCache::Instance();
  std::lock_guard lock(cache.Mutex());
  EXPECT_NE(cache.ResolveFile("Arial", false, false).find("LiberationSans-Regular"), std::string::npos);
  EXPECT_NE(cache.ResolveFile("Arial", true, false).find("LiberationSans-Bold."), std::string::npos);
  EXPECT_NE(cache.ResolveFile("Arial", false, true).find("LiberationSans-Italic"), std::string::npos);
  EXPECT_NE(cache.ResolveFile("Arial", true, true).find("LiberationSans-BoldItalic"), std::string::npos);
  // The classic UI sans takes the Arial-metric face, keeping its 13-pixel line at 8 points.
  EXPECT_NE(cache.ResolveFile("MS Sans Serif", false, false).find("LiberationSans-Regular"), std::string::npos);
  EXPECT_FALSE(cache.ResolveFile("No Such Font Qwerty", false, false).empty());
}

TEST(TextFonts, MissingFontFallsBackAndStylesChangeTheFace) {
  TBitmap bmp(200, 40);
  TCanvas& c = bmp.Canvas();
  UseArial8(c);
  const int regular = c.TextWidth("rmw rmw");
  c.Font().SetStyle(fsBold);
  EXPECT_GT(c.TextWidth("rmw rmw"), regular);
  c.Font().SetStyle(0);
  c.Font().SetName("No Such Font Qwerty");
  EXPECT_GT(c.TextWidth("CPU 100"), 0);
  EXPECT_GT(c.TextHeight("CPU 100"), 0);
  c.SetBkMode(TRANSPARENT);
  c.TextOut(2, 2, "CPU 100");
  EXPECT_GT(CountIf(bmp, [](int, int, std::uint32_t p) { return p != kWhite; }), 20);
}

TEST(TextMetrics, EightPointArialIsThirteenPixelsHigh) {
  TBitmap bmp(10, 10);
  TCanvas& c = bmp.Canvas();
  UseArial8(c);
  const TTextMetric tm = c.TextMetrics();
  EXPECT_EQ(tm.Ascent, 10);
  EXPECT_EQ(tm.Descent, 3);
  EXPECT_EQ(tm.Height, 13);
  EXPECT_EQ(tm.InternalLeading, 2);
  EXPECT_EQ(tm.AveCharWidth, 5);  // the weighted mean of a-z and the space
  for (const char* s : {"x", ".", "Wg|", "CPU 100"}) EXPECT_EQ(c.TextHeight(s), 13) << s;
  // The extent is the sum of the advances, whatever the string.
  int sum = 0;
  for (char ch : std::string("CPU 100")) sum += c.TextWidth(std::string(1, ch));
  EXPECT_EQ(c.TextWidth("CPU 100"), sum);
  EXPECT_EQ(c.TextExtent("CPU 100"), (TSize{sum, 13}));
  EXPECT_EQ(c.TextExtent(""), (TSize{0, 0}));
  EXPECT_EQ(c.TextHeight(""), 0);
  // A positive height is the cell: 13 gives the same font back; 0 is a 16-pixel cell.
  c.Font().SetHeight(13);
  EXPECT_EQ(c.TextHeight("x"), 13);
  EXPECT_EQ(c.TextWidth("CPU 100"), sum);
  c.Font().SetHeight(0);
  EXPECT_LE(c.TextHeight("x"), 16);
  EXPECT_GE(c.TextHeight("x"), 15);
  // Sizes far beyond any screen are capped rather than rendered.
  c.Font().SetHeight(INT_MIN);
  EXPECT_GT(c.TextHeight("x"), 1000);
  EXPECT_LT(c.TextHeight("x"), 2000);
}

TEST(TextOut, AlignmentPlacesTheOpaqueBox) {
  TBitmap bmp;
  TCanvas& c = bmp.Canvas();
  UseArial8(c);
  const int w = c.TextWidth("HH");
  const TTextMetric tm = c.TextMetrics();
  const int a = tm.Ascent, d = tm.Descent;
  struct Case {
    unsigned align;
    TRect box;
  };
  const Case cases[] = {
      {TA_LEFT | TA_TOP, Rect(100, 50, 100 + w, 50 + a + d)},
      {TA_CENTER | TA_TOP, Rect(100 - w / 2, 50, 100 - w / 2 + w, 50 + a + d)},
      {TA_RIGHT | TA_TOP, Rect(100 - w, 50, 100, 50 + a + d)},
      {TA_LEFT | TA_BOTTOM, Rect(100, 50 - d - a, 100 + w, 50 - d + d)},
      {TA_LEFT | TA_BASELINE, Rect(100, 50 - a, 100 + w, 50 + d)},
      {TA_RIGHT | TA_BASELINE, Rect(100 - w, 50 - a, 100, 50 + d)},
  };
  for (const Case& k : cases) EXPECT_EQ(OpaqueBox(bmp, 100, 50, k.align, "HH"), k.box) << "align " << k.align;

  // Centring an odd width truncates: the extra column goes to the right.
  std::string odd;
  for (std::string s : {"H", "H.", "H..", "Hr", "H1.", "HHi"})
    if (c.TextWidth(s) % 2 == 1) {
      odd = s;
      break;
    }
  ASSERT_FALSE(odd.empty());
  const int ow = c.TextWidth(odd);
  EXPECT_EQ(OpaqueBox(bmp, 100, 50, TA_CENTER | TA_TOP, odd), Rect(100 - ow / 2, 50, 100 - ow / 2 + ow, 50 + a + d));
}

TEST(TextOut, TransparentModeDrawsGlyphsOnly) {
  TBitmap bmp(100, 30);
  TCanvas& c = bmp.Canvas();
  UseArial8(c);
  c.SetBkColor(clLime);
  c.SetBkMode(TRANSPARENT);
  c.TextOut(10, 5, "HH");
  // Black over white leaves only greys: no trace of the lime background.
  EXPECT_EQ(CountIf(bmp, [](int, int, std::uint32_t p) { return ((p >> 16) & 0xFF) != ((p >> 8) & 0xFF); }), 0);
  const TRect ink = ChangedBox(bmp);
  EXPECT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.Left, 10);
  EXPECT_LE(ink.Right, 10 + c.TextWidth("HH"));
  EXPECT_GE(ink.Top, 5);
  EXPECT_LE(ink.Bottom, 5 + 10);  // capitals stand on the baseline
  EXPECT_GT(CountIf(bmp, [](int, int, std::uint32_t p) { return p == 0; }), 10);  // solid stems
}

TEST(TextOut, UnderlineAndStrikeOutSpanTheAdvances) {
  TBitmap bmp(100, 30);
  TCanvas& c = bmp.Canvas();
  UseArial8(c);
  c.SetBkMode(TRANSPARENT);
  const int w = c.TextWidth("ace");
  auto solidRows = [&] {
    int rows = 0;
    for (int y = 0; y < 30; ++y) {
      bool all = true;
      for (int x = 10; x < 10 + w; ++x) all = all && bmp.PixelWord(x, y) == 0;
      rows += all;
    }
    return rows;
  };
  c.TextOut(10, 5, "ace");
  EXPECT_EQ(solidRows(), 0);
  bmp.SetSize(0, 0), bmp.SetSize(100, 30);
  c.Font().SetStyle(fsUnderline);
  c.TextOut(10, 5, "ace");
  EXPECT_GE(solidRows(), 1);
  // Below the baseline (row 15), inside the cell.
  EXPECT_GE(BoxOf(bmp, [](std::uint32_t p) { return p == 0; }).Bottom, 5 + 10 + 1);
  EXPECT_LE(BoxOf(bmp, [](std::uint32_t p) { return p == 0; }).Bottom, 5 + 13);
  bmp.SetSize(0, 0), bmp.SetSize(100, 30);
  c.Font().SetStyle(fsStrikeOut);
  c.TextOut(10, 5, "ace");
  EXPECT_GE(solidRows(), 1);
}

TEST(TextOut, StaysInsideTheClipAndTheBitmap) {
  TBitmap bmp(120, 60);
  TCanvas& c = bmp.Canvas();
  UseArial8(c);
  c.SetBkMode(OPAQUE);
  c.SetBkColor(clYellow);
  const TRect clip = Rect(15, 12, 40, 20);
  c.SetClipRect(clip);
  c.TextOut(10, 10, "CPU 100");
  EXPECT_GT(CountIf(bmp, [](int, int, std::uint32_t p) { return p != kWhite; }), 50);
  EXPECT_EQ(CountIf(bmp, [&](int x, int y, std::uint32_t p) { return p != kWhite && !PtInRect(clip, Point(x, y)); }),
            0);

  // A triangle clip is honoured pixel by pixel.
  bmp.SetSize(0, 0), bmp.SetSize(120, 60);
  const TPoint tri[] = {{0, 0}, {120, 0}, {0, 60}};
  c.SetClipPolygon(tri, ALTERNATE);
  for (int y = 0; y < 60; y += 12) c.TextOut(0, y, "CPU 100 CPU 100 CPU 100");
  EXPECT_GT(CountIf(bmp, [](int, int, std::uint32_t p) { return p != kWhite; }), 200);
  EXPECT_EQ(CountIf(bmp, [&](int x, int y, std::uint32_t p) { return p != kWhite && !c.PtVisible(x, y); }), 0);

  // Anywhere in the int range, every alignment and angle: nothing outside, nothing crashes.
  c.ClearClip();
  bmp.SetSize(0, 0), bmp.SetSize(120, 60);
  const int far[] = {INT_MIN, INT_MIN + 7, -100000, 1000000, INT_MAX - 3, INT_MAX};
  for (int angle : {0, 900, 1800, 2700, 450}) {
    c.Font().SetOrientation(angle);
    for (unsigned align : {TA_LEFT | TA_TOP, TA_RIGHT | TA_BOTTOM, TA_CENTER | TA_BASELINE}) {
      c.SetTextAlign(align);
      for (int x : far)
        for (int y : far) c.TextOut(x, y, "CPU 100");
    }
  }
  EXPECT_EQ(CountIf(bmp, [](int, int, std::uint32_t p) { return p != kWhite; }), 0);
  // Partly off the bitmap: the visible part is drawn.
  c.Font().SetOrientation(0);
  c.SetTextAlign(TA_LEFT | TA_TOP);
  c.TextOut(-7, -4, "CPU 100");
  EXPECT_EQ(ChangedBox(bmp).Left, 0);
  EXPECT_EQ(ChangedBox(bmp).Top, 0);
}

TEST(TextOut, RightAnglesTurnTheUprightPictureExactly) {
  TBitmap bmp;
  TCanvas& c = bmp.Canvas();
  UseArial8(c);
  const int w = c.TextWidth("HH"), h = c.TextHeight("HH");
  EXPECT_EQ(OpaqueBox(bmp, 100, 100, TA_LEFT | TA_TOP, "HH", 900), Rect(100, 100 - w, 100 + h, 100));
  EXPECT_EQ(OpaqueBox(bmp, 100, 100, TA_LEFT | TA_TOP, "HH", 2700), Rect(100 - h, 100, 100, 100 + w));
  EXPECT_EQ(OpaqueBox(bmp, 100, 100, TA_LEFT | TA_TOP, "HH", 1800), Rect(100 - w, 100 - h, 100, 100));
  EXPECT_EQ(OpaqueBox(bmp, 100, 100, TA_CENTER | TA_BASELINE, "HH", -2700),
            Rect(100 - c.TextMetrics().Ascent, 100 + w / 2 - w, 100 + c.TextMetrics().Descent, 100 + w / 2));

  // Glyph pixels: the 90-degree picture is the upright one turned about the reference corner.
  const std::string s = "CPU 100 gjy";
  TBitmap up(80, 30), turned(30, 80);
  up.Canvas().Font().SetName("Arial");
  up.Canvas().Font().SetHeight(-11);
  up.Canvas().SetBkMode(TRANSPARENT);
  up.Canvas().TextOut(0, 0, s);
  turned.Canvas().Font().SetName("Arial");
  turned.Canvas().Font().SetHeight(-11);
  turned.Canvas().Font().SetOrientation(900);
  turned.Canvas().SetBkMode(TRANSPARENT);
  turned.Canvas().TextOut(0, 80, s);
  int differences = 0, ink = 0;
  for (int j = 0; j < 30; ++j)
    for (int i = 0; i < 80; ++i) {
      differences += up.PixelWord(i, j) != turned.PixelWord(j, 79 - i);
      ink += up.PixelWord(i, j) != kWhite;
    }
  EXPECT_GT(ink, 50);
  EXPECT_EQ(differences, 0);

  // Other angles draw along the turned baseline: at 45 degrees the ink runs up and right.
  TBitmap diag(100, 100);
  UseArial8(diag.Canvas());
  diag.Canvas().Font().SetOrientation(450);
  diag.Canvas().SetBkMode(TRANSPARENT);
  diag.Canvas().SetTextAlign(TA_LEFT | TA_BASELINE);
  diag.Canvas().TextOut(10, 90, "HHHHHH");
  const TRect box = ChangedBox(diag);
  EXPECT_GE(box.Left, 2);  // the tops of the first letters lean left of the reference point
  EXPECT_LE(box.Bottom, 93);
  EXPECT_GT(box.Right, 10 + 30);
  EXPECT_LT(box.Top, 90 - 30);
}

TEST(TextOut, DecodesUtf8AndSurvivesBrokenBytes) {
  TBitmap bmp(200, 30);
  TCanvas& c = bmp.Canvas();
  UseArial8(c);
  const int replacement = c.TextWidth("\xEF\xBF\xBD");  // U+FFFD
  EXPECT_GT(replacement, 0);
  EXPECT_EQ(c.TextWidth("\xC3\xA9"), c.TextWidth("e"));  // one é, as wide as e in this face
  EXPECT_EQ(c.TextWidth("A\xC3"), c.TextWidth("A") + replacement);
  EXPECT_EQ(c.TextWidth("\xFF\xC0\xAF"), 3 * replacement);
  EXPECT_EQ(c.TextWidth("\xED\xA0\x80"), 3 * replacement);  // an encoded surrogate
  c.TextOut(0, 0, std::string("\xF4\x90\x80\x80\xE2\x82\0x", 8));
}

TEST(TextOut, EmptyStringDrawsNothingButIsTraced) {
  TBitmap bmp(50, 20);
  TCanvas& c = bmp.Canvas();
  UseArial8(c);
  TCanvasTrace trace;
  c.SetTrace(&trace);
  c.SetBkMode(OPAQUE);
  c.SetBkColor(clRed);
  c.TextOut(3, 4, "");
  c.TextOut(5, 6, "Hi");
  c.SetTrace(nullptr);
  EXPECT_EQ(CountIf(bmp, [](int x, int, std::uint32_t p) { return x < 5 && p != kWhite; }), 0);
  ASSERT_EQ(trace.Calls.size(), 2u);
  EXPECT_EQ(trace.Calls[0].Op, "TextOut");
  EXPECT_EQ(trace.Calls[0].Args, (std::vector<int>{3, 4}));
  EXPECT_EQ(trace.Calls[1].Args, (std::vector<int>{5, 6}));
  EXPECT_EQ(trace.Calls[1].Text, "Hi");
}

TEST(TextOut, WarmTextReusesGlyphsWithoutAllocating) {
  TBitmap bmp(100, 30);
  TCanvas& c = bmp.Canvas();
  UseArial8(c);
  c.TextOut(1, 1, "CPU 100");
  const std::uint8_t* coverage;
  {
    auto& cache = text::TFontCache::Instance();
    std::lock_guard lock(cache.Mutex());
    coverage = cache.Find(c.Font())->Glyph(U'C')->Coverage.data();
  }
  const std::size_t before = gNewCalls;
  c.TextOut(1, 1, "CPU 100");
  c.TextOut(3, 12, "100 UPC");
  EXPECT_EQ(c.TextWidth("CPU 100"), c.TextWidth("100 CPU"));
  EXPECT_EQ(gNewCalls, before);
  auto& cache = text::TFontCache::Instance();
  std::lock_guard lock(cache.Mutex());
  EXPECT_EQ(cache.Find(c.Font())->Glyph(U'C')->Coverage.data(), coverage);
}

// Without any font file, text measures 0 and draws nothing. Runs in a fresh process whose
// fontconfig sees an empty configuration.
TEST(TextFontsDeathTest, NoFontAtAllMeasuresZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string conf = testing::TempDir() + "/varnel-no-fonts.conf";
  std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" << testing::TempDir()
                      << "/varnel-no-fonts-cache</cachedir></fontconfig>\n";
  EXPECT_EXIT(
      {
        setenv("FONTCONFIG_FILE", conf.c_str(), 1);
        TBitmap bmp(40, 20);
        TCanvas& c = bmp.Canvas();
        c.SetBkMode(OPAQUE);
        c.SetBkColor(clRed);
        c.TextOut(0, 0, "CPU 100");
        const bool ok = c.TextWidth("CPU 100") == 0 && c.TextHeight("CPU 100") == 0 &&
                        c.TextMetrics().Height == 0 && ChangedBox(bmp).IsEmpty();
        std::exit(ok ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace varnel
