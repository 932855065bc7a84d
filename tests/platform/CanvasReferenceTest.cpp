// Differential checks of the raster core against direct statements of the rules on random
// input: one-pixel lines against the octant error-term walk (clipped lines must paint exactly
// the unclipped pixels inside the clip), and polygon fills against the per-pixel crossing test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "tests/platform/CanvasTestSupport.h"

namespace varnel {
namespace {

using test::PixelSet;

// The line a -> b by the octant walk with its bias (first pixel in, last out).
PixelSet WalkLine(int x0, int y0, int x1, int y1) {
  PixelSet out;
  const int dx = x1 - x0, dy = y1 - y0;
  if (dx == 0 && dy == 0) return out;
  int octant;
  if (dy > 0 && dx > 0) octant = dx > dy ? 1 : 2;
  else if (dy > 0) octant = -dx > dy ? 4 : 3;
  else if (dx < 0) octant = -dx > -dy ? 5 : 6;
  else octant = dx > -dy ? 8 : 7;
  const bool xMajor = octant == 1 || octant == 4 || octant == 5 || octant == 8;
  const int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
  const int M = xMajor ? std::abs(dx) : std::abs(dy), m = xMajor ? std::abs(dy) : std::abs(dx);
  const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
  int x = x0, y = y0, err = 2 * m - M;
  for (int i = 0; i < M; ++i) {
    out.insert({x, y});
    if (err + bias > 0) {
      if (xMajor) y += sy; else x += sx;
      err += 2 * m - 2 * M;
    } else {
      err += 2 * m;
    }
    if (xMajor) x += sx; else y += sy;
  }
  return out;
}

TEST(CanvasReference, ClippedLinesMatchTheOctantWalk) {
  std::mt19937 rng(2024);
  const auto r = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  for (int n = 0; n < 3000; ++n) {
    const int x0 = r(-40, 90), y0 = r(-40, 80), x1 = r(-40, 90), y1 = r(-40, 80);
    const TRect clip = Rect(r(-5, 30), r(-5, 25), r(10, 55), r(10, 45));
    test::TPad p(48, 40);
    p.C().SetClipRect(clip);
    p.C().MoveTo(x0, y0);
    p.C().LineTo(x1, y1);
    PixelSet want;
    for (const auto& px : WalkLine(x0, y0, x1, y1))
      if (PtInRect(NormalizedRect(clip), Point(px.first, px.second)) && px.first >= 0 && px.first < 48 && px.second >= 0 && px.second < 40)
        want.insert(px);
    ASSERT_EQ(p.Painted(), want) << x0 << "," << y0 << " -> " << x1 << "," << y1;
  }
}

// A dashed polyline seen through a clip paints exactly what the unclipped one paints there:
// the pattern keeps its phase however much of the path lies outside.
TEST(CanvasReference, ClippedDashesMatchUnclipped) {
  std::mt19937 rng(99);
  const auto r = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  for (int n = 0; n < 500; ++n) {
    std::vector<TPoint> pts(static_cast<std::size_t>(r(2, 5)));
    for (auto& q : pts) q = Point(r(-60, 110), r(-60, 100));
    const TRect clip = Rect(r(0, 20), r(0, 20), r(24, 48), r(22, 40));
    test::TPad full(48, 40), cut(48, 40);
    for (test::TPad* p : {&full, &cut}) {
      p->C().Pen().SetStyle(static_cast<TPenStyle>(r(psDash, psDashDotDot)));
      p->C().SetBkMode(OPAQUE);
    }
    cut.C().Pen().SetStyle(full.C().Pen().Style());
    cut.C().SetClipRect(clip);
    full.C().Polyline(pts);
    cut.C().Polyline(pts);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 48; ++x)
        ASSERT_EQ(cut.At(x, y), PtInRect(clip, Point(x, y)) ? full.At(x, y) : clWhite) << n << ": " << x << "," << y;
  }
}

// PolylineTo and Polyline paint, leave the pen and trace exactly what one LineTo a point does,
// for every pen (widths 0 to 8 and two past the direct wide path's limit, every style, all
// sixteen modes, either background mode) and clip, on lines that run up and down columns,
// stay flat, climb steeply, stand still, leave the bitmap by far and come back.
TEST(CanvasReference, PolylinesMatchLineToOneByOne) {
  std::mt19937 rng(4242);
  const auto r = [&](int lo, int hi) {  // in 64 bits: the far points span nearly all of int
    return static_cast<int>(lo + static_cast<long long>(rng() % static_cast<unsigned long long>(static_cast<long long>(hi) - lo + 1)));
  };
  const int widths[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 64, 65};
  const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot, psInsideFrame};
  for (int n = 0; n < 3000; ++n) {
    std::vector<TPoint> pts(static_cast<std::size_t>(r(1, 60)));
    TPoint at = Point(r(-10, 50), r(-10, 50));
    const int shape = n % 6;
    for (auto& q : pts) {
      const int move = r(0, 9);
      switch (shape) {
        case 0:  // noisy: mostly up and down one column, now and then a step aside or far off
          if (move < 6) at.y += r(-12, 12);
          else if (move < 8) at = Point(at.x + r(-2, 2), at.y + r(-12, 12));
          else if (move < 9) at = Point(r(-10, 50), r(-10, 50));
          else at = Point(r(-1000000, 1000000), r(-1000000000, 1000000000));
          break;
        case 1: at.x += r(0, 3); break;                       // flat
        case 2: at.y = r(-5, 45); break;                      // vertical
        case 3: at = Point(at.x + r(-1, 1), at.y + r(-30, 30)); break;  // steep
        case 4: break;                                        // all at one point
        default:  // far outside the bitmap, some of it crossing it
          at = move < 5 ? Point(r(-2000000000, 2000000000), r(-2000000000, 2000000000)) : Point(r(-10, 50), r(-10, 50));
      }
      q = at;
    }
    const TPoint start = Point(r(-10, 50), r(-10, 50));
    test::TPad one(40, 40), all(40, 40), poly(40, 40);
    for (test::TPad* p : {&one, &all, &poly}) {
      p->Bmp.Canvas().Brush().SetColor(static_cast<TColor>(0x00A0B0C0));
      p->C().FillRect(Rect(0, 0, 20, 40));
      TPen& pen = p->C().Pen();
      pen.SetColor(static_cast<TColor>(0x00305070));
      pen.SetWidth(widths[static_cast<std::size_t>(n / 6 % std::size(widths))]);
      pen.SetStyle(styles[static_cast<std::size_t>(n / 7 % std::size(styles))]);
      pen.SetMode(static_cast<TPenMode>(n % 16));
      p->C().SetBkMode(n % 2 ? OPAQUE : TRANSPARENT);
      if (n % 3 == 1) p->C().SetClipRect(Rect(3, 5, 31, 36));
      if (n % 3 == 2) p->C().SetClipPolygon(std::vector<TPoint>{Point(0, 20), Point(20, 0), Point(40, 25), Point(15, 40)}, ALTERNATE);
      p->C().MoveTo(start.x, start.y);
    }
    for (const TPoint& q : pts) one.C().LineTo(q.x, q.y);
    // In batches, as the fast line hands its points over.
    for (std::size_t i = 0; i < pts.size();) {
      const std::size_t k = std::min(pts.size() - i, static_cast<std::size_t>(r(1, 20)));
      all.C().PolylineTo(std::span<const TPoint>(pts).subspan(i, k));
      i += k;
    }
    ASSERT_EQ(all.C().PenPos(), one.C().PenPos());
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) ASSERT_EQ(all.Bmp.Pixel(x, y), one.Bmp.Pixel(x, y)) << "line " << n << " at " << x << "," << y;
    // Polyline is one path: for a pen whose mode gives the same however often a pixel is painted
    // and that has no dash pattern to run on, that too is what the LineTo calls paint.
    const TPenMode mode = static_cast<TPenMode>(n % 16);
    const bool twiceDiffers = mode == pmNot || mode == pmMergePenNot || mode == pmMaskPenNot || mode == pmNotMerge ||
                              mode == pmNotMask || mode == pmXor || mode == pmNotXor;
    if (twiceDiffers || one.C().Pen().Style() != psSolid) continue;
    std::vector<TPoint> path{start};
    path.insert(path.end(), pts.begin(), pts.end());
    poly.C().Polyline(path);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) ASSERT_EQ(poly.Bmp.Pixel(x, y), one.Bmp.Pixel(x, y)) << "polyline " << n << " at " << x << "," << y;
  }
  TCanvasTrace trace;
  test::TPad p(8, 8);
  p.C().SetTrace(&trace);
  p.C().PolylineTo(std::vector<TPoint>{Point(1, 1), Point(1, 5)});
  EXPECT_EQ(trace.Ops(), (std::vector<std::string>{"LineTo", "LineTo"}));
  EXPECT_EQ(trace.Calls[1].Args, (std::vector<int>{1, 5}));
}

// Whether grid point (x, y) is inside the polygon by the crossing rule: edges count on rows
// ya <= y < yb, and a crossing at X counts for the columns x >= X.
bool Inside(const std::vector<TPoint>& pts, TFillMode mode, int x, int y) {
  int crossings = 0, wind = 0;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    TPoint a = pts[i], b = pts[(i + 1) % pts.size()];
    int dir = 1;
    if (a.y > b.y) std::swap(a, b), dir = -1;
    if (a.y == b.y || y < a.y || y >= b.y) continue;
    // X = a.x + (y - a.y)(b.x - a.x)/(b.y - a.y) <= x, exactly
    if (static_cast<long long>(y - a.y) * (b.x - a.x) <= static_cast<long long>(x - a.x) * (b.y - a.y)) {
      ++crossings;
      wind += dir;
    }
  }
  return mode == ALTERNATE ? (crossings % 2) != 0 : wind != 0;
}

TEST(CanvasReference, PolygonFillsMatchTheCrossingRule) {
  std::mt19937 rng(77);
  const auto r = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  for (int n = 0; n < 400; ++n) {
    std::vector<TPoint> pts(static_cast<std::size_t>(r(3, 8)));
    for (auto& q : pts) q = Point(r(-5, 45), r(-5, 45));
    const TFillMode mode = n % 2 ? WINDING : ALTERNATE;
    test::TPad p(40, 40);
    p.C().Pen().SetStyle(psClear);
    p.C().SetPolyFillMode(mode);
    p.C().Polygon(pts);
    PixelSet want;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        if (Inside(pts, mode, x, y)) want.insert({x, y});
    ASSERT_EQ(p.Painted(), want) << "polygon " << n;
    // The same polygon as a clip region holds the same pixels.
    test::TPad q(40, 40);
    q.C().SetClipPolygon(pts, mode);
    q.C().FillRect(Rect(0, 0, 40, 40));
    ASSERT_EQ(q.Painted(), want) << "clip " << n;
  }
}

}  // namespace
}  // namespace varnel
