// The body of the canvas fuzz target, shared with the ordinary test that replays its saved
// corpus. The bytes are a program of canvas commands with coordinates anywhere in the int range
// (the extremes, ±2^30, any 32-bit value, or near the bitmap), drawn into a small bitmap clipped
// to its middle by a rectangle or a polygon. Whatever the commands, no pixel outside the clip
// may change (ASan and UBSan in the fuzz build catch the rest).
//
//   EXPECT_TRUE(FuzzCanvasCommands(bytes.data(), bytes.size()));
#pragma once
#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"

namespace varnel::fuzz {

inline bool FuzzCanvasCommands(const std::uint8_t* data, std::size_t size) {
  constexpr int kW = 40, kH = 30;
  constexpr std::uint32_t kGuard = 0x00123456u;
  TFuzzBytes in(data, size);
  TBitmap bmp(kW, kH);
  std::fill(bmp.Data(), bmp.Data() + kW * kH, kGuard);
  TBitmap source(5, 4);
  TCanvas& c = bmp.Canvas();
  const TPoint clipPoly[] = {{10, 7}, {30, 7}, {25, 22}, {10, 19}};
  if (in.Byte() & 1)
    c.SetClipPolygon(clipPoly, ALTERNATE);
  else
    c.SetClipRect(Rect(10, 7, 30, 22));
  std::vector<bool> inside(kW * kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) inside[static_cast<std::size_t>(y * kW + x)] = c.PtVisible(x, y);

  for (int command = 0; command < 64 && !in.Empty(); ++command) {
    switch (in.Pick(6)) {  // a tool change first
      case 0: c.Pen().SetWidth(std::array{0, 1, 2, 3, 7, 1000000, INT_MAX, -5}[static_cast<std::size_t>(in.Pick(8))]); break;
      case 1: c.Pen().SetStyle(static_cast<TPenStyle>(in.Pick(7))); break;
      case 2: c.Pen().SetMode(static_cast<TPenMode>(in.Pick(16))); break;
      case 3: c.Brush().SetStyle(static_cast<TBrushStyle>(in.Pick(8))); break;
      case 4: c.SetPolyFillMode(in.Pick(2) ? ALTERNATE : WINDING); break;
      default: c.Font().SetOrientation(std::array{0, 900, 2700}[static_cast<std::size_t>(in.Pick(3))]);
    }
    std::vector<TPoint> pts(static_cast<std::size_t>(in.Pick(8)));
    for (TPoint& p : pts) p = Point(in.Coord(), in.Coord());
    switch (in.Pick(17)) {
      case 0: c.MoveTo(in.Coord(), in.Coord()); c.LineTo(in.Coord(), in.Coord()); break;
      case 1: c.Polyline(pts); break;
      case 2: c.Polygon(pts); break;
      case 3: c.PolylineTo(pts); break;
      case 4: c.Rectangle(in.Coord(), in.Coord(), in.Coord(), in.Coord()); break;
      case 5: c.Ellipse(in.Coord(), in.Coord(), in.Coord(), in.Coord()); break;
      case 6: c.Arc(in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord()); break;
      case 7: c.Pie(in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord()); break;
      case 8: c.Chord(in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord()); break;
      case 9: c.FillRect(Rect(in.Coord(), in.Coord(), in.Coord(), in.Coord())); break;
      case 10: c.FrameRect(Rect(in.Coord(), in.Coord(), in.Coord(), in.Coord())); break;
      case 11: c.PatBlt(in.Coord(), in.Coord(), in.Coord(), in.Coord(), std::array{PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS}[static_cast<std::size_t>(in.Pick(5))]); break;
      case 12: c.SetPixel(in.Coord(), in.Coord(), clRed); (void)c.GetPixel(in.Coord(), in.Coord()); break;
      case 13: c.Draw(in.Coord(), in.Coord(), source); break;
      case 14: c.CopyRect(Rect(in.Coord(), in.Coord(), in.Coord(), in.Coord()), source, Rect(in.Coord(), in.Coord(), in.Coord(), in.Coord())); break;
      case 15: c.TextOut(in.Coord(), in.Coord(), "CPU 37"); break;
      default: {
        // Shapes of moderate size around the bitmap, so the exact paths run too.
        const int x = in.Pick(60) - 10, y = in.Pick(50) - 10;
        c.Ellipse(x, y, x + in.Pick(200) - 100, y + in.Pick(200) - 100);
      }
    }
  }
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (!inside[static_cast<std::size_t>(y * kW + x)] && bmp.PixelWord(x, y) != kGuard) return false;
  return true;
}

}  // namespace varnel::fuzz
