// Helpers of the canvas pixel tests: a small white bitmap with a known pen and brush, painted
// pixel sets, and pictures as ASCII maps ('#' pen, 'o' brush, 'k' background colour, '.'
// untouched white, '?' anything else).
#pragma once
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"

namespace varnel::test {

constexpr TColor kPen = clBlack;
constexpr TColor kBrush = clRed;
constexpr TColor kBk = clBlue;

using PixelSet = std::set<std::pair<int, int>>;

// A white bitmap whose canvas origin is shifted by (ox, oy), so shapes may reach negative
// coordinates and still be seen: pixel (x, y) of the drawing is bitmap pixel (x+ox, y+oy).
struct TPad {
  TBitmap Bmp;
  int Ox, Oy;
  TPad(int w, int h, int ox = 0, int oy = 0) : Bmp(w, h), Ox(ox), Oy(oy) {
    TCanvas& c = Bmp.Canvas();
    c.Pen().SetColor(kPen);
    c.Brush().SetColor(kBrush);
    c.SetBkColor(kBk);
  }
  TCanvas& C() { return Bmp.Canvas(); }
  int X(int x) const { return x + Ox; }
  int Y(int y) const { return y + Oy; }
  TColor At(int x, int y) const { return Bmp.Pixel(x + Ox, y + Oy); }
  // Every pixel (in drawing coordinates) that is no longer white.
  PixelSet Painted() const {
    PixelSet s;
    for (int y = 0; y < Bmp.Height(); ++y)
      for (int x = 0; x < Bmp.Width(); ++x)
        if (Bmp.Pixel(x, y) != clWhite) s.insert({x - Ox, y - Oy});
    return s;
  }
  PixelSet PaintedIn(TColor c) const {
    PixelSet s;
    for (int y = 0; y < Bmp.Height(); ++y)
      for (int x = 0; x < Bmp.Width(); ++x)
        if (Bmp.Pixel(x, y) == c) s.insert({x - Ox, y - Oy});
    return s;
  }
  // Rows y0..y1, columns x0..x1 (inclusive, drawing coordinates) as text, one line a row.
  std::string Map(int x0, int y0, int x1, int y1) const {
    std::string out;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const TColor c = At(x, y);
        out += c == kPen ? '#' : c == kBrush ? 'o' : c == kBk ? 'k' : c == clWhite ? '.' : '?';
      }
      out += '\n';
    }
    return out;
  }
};

// Joins map rows written one string per row.
inline std::string Rows(std::initializer_list<const char*> rows) {
  std::string out;
  for (const char* r : rows) {
    out += r;
    out += '\n';
  }
  return out;
}

// A pixel set from a list of points.
inline PixelSet Pixels(std::initializer_list<std::pair<int, int>> pts) { return PixelSet(pts); }

// A pixel set from row runs: {y, x0, x1} inclusive.
inline PixelSet Runs(std::initializer_list<std::vector<int>> runs) {
  PixelSet s;
  for (const auto& r : runs)
    for (int x = r[1]; x <= r[2]; ++x) s.insert({x, r[0]});
  return s;
}

}  // namespace varnel::test
