// Bad input for the canvas: seeded random commands with coordinates anywhere in the int range,
// huge pens, empty and negative sizes, batches of line-tos as a chart sends them. Nothing may be written outside the clip (a guard band
// of marked pixels around it must stay untouched), nothing may crash (this also runs under the
// address and undefined-behaviour sanitizers), and shapes far larger than the bitmap must cost
// what their visible part costs.
#include <gtest/gtest.h>

#include <chrono>
#include <array>
#include <climits>
#include <cstdint>
#include <random>

#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"

namespace varnel {
namespace {

constexpr std::uint32_t kGuard = 0x00123456u;

class TRandomCanvas {
 public:
  explicit TRandomCanvas(std::uint32_t seed) : FRng(seed) {}

  int Coord() {
    switch (Pick(6)) {
      case 0: return INT_MIN + Pick(3);
      case 1: return INT_MAX - Pick(3);
      case 2: return static_cast<int>(FRng());  // anywhere
      case 3: return Pick(2) ? (1 << 30) : -(1 << 30);
      default: return Pick(120) - 30;  // near the bitmap
    }
  }
  int Pick(int n) { return static_cast<int>(FRng() % static_cast<std::uint32_t>(n)); }

  void Command(TCanvas& c) {
    switch (Pick(5)) {  // tools first
      case 0: c.Pen().SetWidth(std::array{0, 1, 2, 3, 7, 1000000, INT_MAX, -5}[static_cast<std::size_t>(Pick(8))]); break;
      case 1: c.Pen().SetStyle(static_cast<TPenStyle>(Pick(7))); break;
      case 2: c.Pen().SetMode(static_cast<TPenMode>(Pick(16))); break;
      case 3: c.Brush().SetStyle(static_cast<TBrushStyle>(Pick(8))); break;
      default: c.SetPolyFillMode(Pick(2) ? ALTERNATE : WINDING);
    }
    std::vector<TPoint> pts(static_cast<std::size_t>(Pick(7)));
    for (auto& p : pts) p = Point(Coord(), Coord());
    switch (Pick(17)) {
      case 0: c.MoveTo(Coord(), Coord()); c.LineTo(Coord(), Coord()); break;
      case 1: c.Polyline(pts); break;
      case 2: c.Polygon(pts); break;
      case 3: c.Rectangle(Coord(), Coord(), Coord(), Coord()); break;
      case 4: c.Ellipse(Coord(), Coord(), Coord(), Coord()); break;
      case 5: c.Arc(Coord(), Coord(), Coord(), Coord(), Coord(), Coord(), Coord(), Coord()); break;
      case 6: c.Pie(Coord(), Coord(), Coord(), Coord(), Coord(), Coord(), Coord(), Coord()); break;
      case 7: c.Chord(Coord(), Coord(), Coord(), Coord(), Coord(), Coord(), Coord(), Coord()); break;
      case 8: c.FillRect(Rect(Coord(), Coord(), Coord(), Coord())); break;
      case 9: c.FrameRect(Rect(Coord(), Coord(), Coord(), Coord())); break;
      case 10: c.PatBlt(Coord(), Coord(), Coord(), Coord(), std::array{PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS}[static_cast<std::size_t>(Pick(5))]); break;
      case 11: c.SetPixel(Coord(), Coord(), clRed); (void)c.GetPixel(Coord(), Coord()); break;
      case 12: c.Draw(Coord(), Coord(), FSource); break;
      case 13: c.CopyRect(Rect(Coord(), Coord(), Coord(), Coord()), FSource, Rect(Coord(), Coord(), Coord(), Coord())); break;
      case 14: c.PolylineTo(pts); break;
      case 15: {
        // A chart's batch: hundreds of points a few columns wide (runs down one column are
        // merged), now and then one anywhere.
        std::vector<TPoint> batch(static_cast<std::size_t>(Pick(400)));
        int x = Pick(100) - 20;
        for (auto& p : batch) {
          if (Pick(40) == 0)
            x = Coord();
          else if (Pick(6) == 0)
            x = x < INT_MAX ? x + 1 : x;
          p = Point(x, Pick(5) ? Pick(80) - 15 : Coord());
        }
        c.PolylineTo(batch);
        break;
      }
      default: {
        // Shapes of moderate size around the bitmap, so the exact paths run too.
        const int x = Pick(100) - 20, y = Pick(80) - 20;
        c.Ellipse(x, y, x + Pick(300) - 150, y + Pick(300) - 150);
        c.Pie(x, y, x + Pick(90), y + Pick(90), Coord(), Coord(), Coord(), Coord());
      }
    }
  }

 private:
  std::mt19937 FRng;
  TBitmap FSource{5, 4};
};

// Draws into a 64 x 48 bitmap clipped to its middle; the band around the clip is marked and
// checked after every command.
void RunSeed(std::uint32_t seed, bool polygonClip) {
  TBitmap bmp(64, 48);
  std::fill(bmp.Data(), bmp.Data() + 64 * 48, kGuard);
  TCanvas& c = bmp.Canvas();
  const TPoint clipPoly[] = {{16, 12}, {48, 12}, {40, 36}, {16, 30}};
  if (polygonClip)
    c.SetClipPolygon(clipPoly, ALTERNATE);
  else
    c.SetClipRect(Rect(16, 12, 48, 36));
  std::vector<bool> inside(64 * 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) inside[static_cast<std::size_t>(y * 64 + x)] = c.PtVisible(x, y);
  TRandomCanvas r(seed);
  for (int i = 0; i < 150; ++i) {
    r.Command(c);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x)
        if (!inside[static_cast<std::size_t>(y * 64 + x)]) {
          ASSERT_EQ(bmp.PixelWord(x, y), kGuard) << "seed " << seed << " command " << i << " wrote " << x << "," << y;
        }
  }
}

TEST(CanvasRobust, RandomCommandsStayInsideARectangleClip) {
  for (std::uint32_t seed = 1; seed <= 12; ++seed) RunSeed(seed, false);
}

TEST(CanvasRobust, RandomCommandsStayInsideAPolygonClip) {
  for (std::uint32_t seed = 100; seed <= 108; ++seed) RunSeed(seed, true);
}

TEST(CanvasRobust, EmptyBitmapsIgnoreEverything) {
  for (const auto& size : {std::pair{0, 0}, std::pair{0, 10}, std::pair{-3, 5}}) {
    TBitmap bmp(size.first, size.second);
    TCanvas& c = bmp.Canvas();
    TRandomCanvas r(7);
    for (int i = 0; i < 100; ++i) r.Command(c);
    EXPECT_TRUE(c.ClipBox().IsEmpty());
    EXPECT_EQ(c.GetPixel(0, 0), -1);
  }
  TBitmap src;
  TBitmap dst(4, 4);
  dst.Canvas().Draw(0, 0, src);
  dst.Canvas().StretchDraw(Rect(0, 0, 4, 4), src);
  EXPECT_EQ(dst.Pixel(0, 0), clWhite);
}

// Bitmaps far longer than wide (the address sanitizer watches every row and column).
TEST(CanvasRobust, LongThinBitmapsTakeAnyCommand) {
  for (const auto& size : {std::pair{20000, 2}, std::pair{2, 20000}, std::pair{1, 1}}) {
    TBitmap bmp(size.first, size.second);
    TRandomCanvas r(size.first);
    for (int i = 0; i < 150; ++i) r.Command(bmp.Canvas());
  }
}

// Extreme shapes over a 100 x 100 bitmap finish in a small fraction of what walking their
// unclipped extent would take (a single pass over 2^32 pixels alone takes seconds).
TEST(CanvasRobust, HugeShapesCostTheirVisiblePart) {
  TBitmap bmp(100, 100);
  TCanvas& c = bmp.Canvas();
  const auto start = std::chrono::steady_clock::now();
  for (const TPenStyle style : {psSolid, psDot}) {
    c.Pen().SetStyle(style);
    c.Pen().SetWidth(1);
    c.MoveTo(INT_MIN, INT_MIN);
    c.LineTo(INT_MAX, INT_MAX);
    c.MoveTo(INT_MIN, 50);
    c.LineTo(INT_MAX, 49);
    c.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    c.Arc(INT_MIN, -50, INT_MAX, 150, 0, INT_MIN, 0, INT_MAX);
    c.Pie(-(1 << 30), 20, 1 << 30, 1 << 30, 100, 0, -100, 0);
    const TPoint star[] = {{INT_MIN, INT_MIN}, {INT_MAX, 0}, {INT_MIN, INT_MAX}, {50, INT_MIN}, {INT_MAX, INT_MAX}};
    c.Polygon(star);
    for (const int w : {3, 1000000, INT_MAX}) {
      c.Pen().SetWidth(w);
      c.MoveTo(INT_MIN, INT_MIN + 7);
      c.LineTo(INT_MAX, INT_MAX);
      c.Polyline(star);
      c.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
      c.Ellipse(-20000, -20000, 20000, 20000);
      c.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 20.0);
  // The diagonal crossed the bitmap exactly on its pixels (x = y).
  c.Pen().SetWidth(1);
  c.Pen().SetStyle(psSolid);
  c.Pen().SetColor(clBlack);
  c.Brush().SetColor(clWhite);
  c.FillRect(Rect(0, 0, 100, 100));
  c.MoveTo(INT_MIN, INT_MIN);
  c.LineTo(INT_MAX, INT_MAX);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(bmp.Pixel(i, i), clBlack);
    if (i > 0) {
      EXPECT_EQ(bmp.Pixel(i - 1, i), clWhite);
    }
  }
}

}  // namespace
}  // namespace varnel
