// Pixel rules of lines: one-pixel lines in every octant (first pixel in, last out, ties up and
// left), clipping that keeps the unclipped pixels, dash styles with their phase and background
// modes, wide pens with round ends and joins, and the pen modes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <random>
#include <span>
#include <vector>

#include "tests/platform/CanvasTestSupport.h"

namespace varnel {
namespace {

using test::PixelSet;
using test::Pixels;
using test::Runs;
using test::TPad;

PixelSet Line(int x0, int y0, int x1, int y1, int width = 1) {
  TPad p(32, 24, 12, 8);
  p.C().Pen().SetWidth(width);
  p.C().MoveTo(p.X(x0), p.Y(y0));
  p.C().LineTo(p.X(x1), p.Y(y1));
  return p.Painted();
}

TEST(CanvasLine, OneStepLinesInEveryOctant) {
  const struct {
    int x0, y0, x1, y1;
    PixelSet want;
  } cases[] = {
      {0, 0, 5, 0, Pixels({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}})},
      {5, 0, 0, 0, Pixels({{5, 0}, {4, 0}, {3, 0}, {2, 0}, {1, 0}})},
      {0, 0, 0, 4, Pixels({{0, 0}, {0, 1}, {0, 2}, {0, 3}})},
      {0, 4, 0, 0, Pixels({{0, 4}, {0, 3}, {0, 2}, {0, 1}})},
      {0, 0, 4, 2, Pixels({{0, 0}, {1, 0}, {2, 1}, {3, 1}})},
      {4, 2, 0, 0, Pixels({{4, 2}, {3, 1}, {2, 1}, {1, 0}})},
      {0, 2, 4, 0, Pixels({{0, 2}, {1, 1}, {2, 1}, {3, 0}})},
      {4, 0, 0, 2, Pixels({{4, 0}, {3, 0}, {2, 1}, {1, 1}})},
      {0, 0, -4, 2, Pixels({{0, 0}, {-1, 0}, {-2, 1}, {-3, 1}})},
      {0, 0, 2, 4, Pixels({{0, 0}, {0, 1}, {1, 2}, {1, 3}})},
      {2, 4, 0, 0, Pixels({{2, 4}, {1, 3}, {1, 2}, {0, 1}})},
      {0, 0, 3, 3, Pixels({{0, 0}, {1, 1}, {2, 2}})},
      {0, 0, 5, 2, Pixels({{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}})},
      {0, 0, 7, 3, Pixels({{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 3}})},
      {0, 0, 1, 3, Pixels({{0, 0}, {0, 1}, {1, 2}})},
      {0, 0, 1, 1, Pixels({{0, 0}})},
      {3, 3, 3, 3, PixelSet{}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Line(c.x0, c.y0, c.x1, c.y1), c.want) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
}

// A line and its reverse cover the same pixels apart from their excluded ends, for slopes in
// all eight octants and the tie cases between them.
TEST(CanvasLine, ReversedLinesCoincide) {
  for (int dx = -7; dx <= 7; ++dx)
    for (int dy = -7; dy <= 7; ++dy) {
      if (dx == 0 && dy == 0) continue;
      PixelSet a = Line(0, 0, dx, dy), b = Line(dx, dy, 0, 0);
      a.insert({dx, dy});
      b.insert({0, 0});
      EXPECT_EQ(a, b) << dx << "," << dy;
      EXPECT_EQ(Line(0, 0, dx, dy).size(), static_cast<std::size_t>(std::max(std::abs(dx), std::abs(dy))));
    }
}

TEST(CanvasLine, ClippingKeepsTheUnclippedPixels) {
  TPad p(12, 8);
  p.C().SetClipRect(Rect(3, 0, 7, 10));
  p.C().MoveTo(0, 0);
  p.C().LineTo(10, 5);
  EXPECT_EQ(p.Painted(), Pixels({{3, 1}, {4, 2}, {5, 2}, {6, 3}}));
  // A steep line entering the bitmap far from its start keeps its exact pixels.
  TPad q(16, 16), r(16, 16);
  q.C().MoveTo(-1000003, -3000001);
  q.C().LineTo(1000004, 3000030);
  // The same line drawn from a point on it inside the bitmap gives the same pixels there.
  PixelSet all;
  for (const auto& px : q.Painted()) all.insert(px);
  EXPECT_FALSE(all.empty());
  for (const auto& [x, y] : all) {
    // the pixel is the nearest column to the exact line at row y, ties to the left
    const double X = -1000003.0 + (y + 3000001.0) * (1000004.0 + 1000003.0) / (3000030.0 + 3000001.0);
    EXPECT_EQ(x, static_cast<int>(std::ceil(X - 0.5))) << y;
  }
  (void)r;
}

TEST(CanvasLine, PolylineAndLineToChain) {
  TPad a(10, 10), b(10, 10);
  const TPoint pts[] = {{0, 0}, {4, 0}, {4, 3}};
  a.C().Polyline(pts);
  b.C().MoveTo(0, 0);
  b.C().LineTo(4, 0);
  b.C().LineTo(4, 3);
  const PixelSet want = Pixels({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 1}, {4, 2}});
  EXPECT_EQ(a.Painted(), want);
  EXPECT_EQ(b.Painted(), want);
  EXPECT_EQ(b.C().PenPos(), Point(4, 3));
  EXPECT_EQ(a.C().PenPos(), Point(0, 0));  // Polyline neither uses nor moves the pen position

  TPad t(8, 8);
  t.C().Brush().SetStyle(bsClear);
  const TPoint tri[] = {{0, 0}, {4, 0}, {0, 4}};
  t.C().Polygon(tri);
  EXPECT_EQ(t.Map(0, 0, 4, 4), test::Rows({"#####", "#..#.", "#.#..", "##...", "#...."}));
}

// Chains of a pen that only stores (a chart's one-pixel lines), painted by PolylineTo from the
// ends of each segment where both lie inside the clip: the same pixels as one LineTo a point,
// in every direction and at the slopes where the walk changes form (flat, diagonal, twice as
// steep as wide), over one another, with clips changing between lines and the picture read in
// between.
TEST(CanvasLine, StoringChainsMatchLineToOneByOne) {
  std::mt19937 rng(77);
  const auto r = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  const TPenMode modes[] = {pmCopy, pmBlack, pmWhite, pmNotCopy};
  for (int trial = 0; trial < 300; ++trial) {
    // Now and then a large picture with long segments (large numerators in the walk's division).
    const bool large = trial % 10 == 9;
    const int w = large ? r(300, 700) : r(1, 120), h = large ? r(300, 700) : r(1, 120);
    TBitmap want(w, h), got(w, h);
    const bool layer = trial % 2 == 1;  // the chart's line layer open around the lines
    std::optional<TLineLayer> open;
    if (layer) open.emplace(got.Canvas());
    for (int line = large ? r(1, 6) : r(1, 40); line > 0; --line) {
      const TColor colour = static_cast<TColor>(rng() & 0xFFFFFF);
      const TPenMode mode = modes[r(0, 3)];
      const int width = r(0, 1);
      const TRect clip = r(0, 2) == 0 ? Rect(r(-2, w / 2), r(-2, h / 2), r(w / 2, w + 2), r(h / 2, h + 2)) : TRect{};
      std::vector<TPoint> pts{Point(r(-3, w + 2), r(-3, h + 2))};
      for (int n = r(1, 50); n > 0; --n) {
        const TPoint at = pts.back();
        int dx = large ? r(-w, w) : r(-8, 8), dy = large ? r(-h, h) : r(-40, 40);
        switch (r(0, 7)) {
          case 0: dy = r(0, 1) ? dx : -dx; break;          // diagonal
          case 1: dy = 2 * dx * (r(0, 1) ? 1 : -1); break;  // twice as steep as wide
          case 2: dy = 0; break;                            // flat
          case 3: dx = r(0, 1) ? 1 : -1; break;             // steep, one column aside
          default: break;
        }
        TPoint next = Point(at.x + dx, at.y + dy);
        if (r(0, 40) == 0) next = Point(r(-100, w + 100), r(-100, h + 100));  // out and back
        pts.push_back(next);
      }
      for (TBitmap* bmp : {&want, &got}) {
        TCanvas& c = bmp->Canvas();
        if (clip.Right > clip.Left)
          c.SetClipRect(clip);
        else
          c.ClearClip();
        c.Pen().SetColor(colour);
        c.Pen().SetMode(mode);
        c.Pen().SetWidth(width);
        c.MoveTo(pts[0].x, pts[0].y);
      }
      for (std::size_t i = 1; i < pts.size(); ++i) want.Canvas().LineTo(pts[i].x, pts[i].y);
      got.Canvas().PolylineTo(std::span<const TPoint>(pts).subspan(1));
      ASSERT_EQ(got.Canvas().PenPos(), pts.back());
      if (r(0, 9) == 0) {
        // A read through the canvas sees every line so far.
        got.Canvas().ClearClip();
        const int x = r(0, w - 1), y = r(0, h - 1);
        ASSERT_EQ(got.Canvas().GetPixel(x, y), want.Pixel(x, y)) << "trial " << trial << " at " << x << "," << y;
      }
    }
    open.reset();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(got.Pixel(x, y), want.Pixel(x, y)) << "trial " << trial << " at " << x << "," << y;
  }
}

// ---------------------------------------------------------------------------------------------
// Dash styles

std::string Row0(TPenStyle style, TBkMode mode, int x0, int x1, int width = 30) {
  TPad p(width, 2);
  p.C().Pen().SetStyle(style);
  p.C().SetBkMode(mode);
  p.C().MoveTo(x0, 0);
  p.C().LineTo(x1, 0);
  return p.Map(0, 0, width - 1, 0);
}

TEST(CanvasLineStyle, DashTablesOverOpaqueAndTransparentBackgrounds) {
  EXPECT_EQ(Row0(psDot, OPAQUE, 0, 30), "###kkk###kkk###kkk###kkk###kkk\n");
  EXPECT_EQ(Row0(psDot, TRANSPARENT, 0, 30), "###...###...###...###...###...\n");
  EXPECT_EQ(Row0(psDash, OPAQUE, 0, 30), "##################kkkkkk######\n");
  EXPECT_EQ(Row0(psDashDot, OPAQUE, 0, 30), "#########kkkkkk###kkkkkk######\n");
  EXPECT_EQ(Row0(psDashDotDot, OPAQUE, 0, 30), "#########kkk###kkk###kkk######\n");
  EXPECT_EQ(Row0(psDashDotDot, TRANSPARENT, 0, 30), "#########...###...###...######\n");
  // Reversed: the pattern starts at the right-hand end; (-1, 0) is outside the bitmap.
  EXPECT_EQ(Row0(psDot, OPAQUE, 11, -1, 12), "kkk###kkk###\n");
}

TEST(CanvasLineStyle, PhaseRunsAlongPolylinesAndRestartsPerLineTo) {
  TPad diag(10, 5);
  diag.C().Pen().SetStyle(psDot);
  diag.C().MoveTo(0, 0);
  diag.C().LineTo(8, 3);
  EXPECT_EQ(diag.PaintedIn(test::kPen), Pixels({{0, 0}, {1, 0}, {2, 1}, {6, 2}, {7, 3}}));
  EXPECT_EQ(diag.PaintedIn(test::kBk), Pixels({{3, 1}, {4, 1}, {5, 2}}));

  TPad poly(6, 6), chain(6, 6);
  const TPoint pts[] = {{0, 0}, {4, 0}, {4, 5}};
  poly.C().Pen().SetStyle(psDot);
  poly.C().Polyline(pts);
  EXPECT_EQ(poly.PaintedIn(test::kPen), Pixels({{0, 0}, {1, 0}, {2, 0}, {4, 2}, {4, 3}, {4, 4}}));
  EXPECT_EQ(poly.PaintedIn(test::kBk), Pixels({{3, 0}, {4, 0}, {4, 1}}));
  chain.C().Pen().SetStyle(psDot);
  chain.C().MoveTo(0, 0);
  chain.C().LineTo(4, 0);
  chain.C().LineTo(4, 5);
  EXPECT_EQ(chain.PaintedIn(test::kPen), Pixels({{0, 0}, {1, 0}, {2, 0}, {4, 0}, {4, 1}, {4, 2}}));
  EXPECT_EQ(chain.PaintedIn(test::kBk), Pixels({{3, 0}, {4, 3}, {4, 4}}));
}

TEST(CanvasLineStyle, ClippedDashesKeepTheirPhase) {
  // The dot pattern of a line starting far left, seen through a 12-pixel bitmap.
  TPad p(12, 1);
  p.C().Pen().SetStyle(psDot);
  p.C().MoveTo(-1000000001, 0);  // 1000000001 = 6 * 166666666 + 5: x=0 is the 6th pixel of a period
  p.C().LineTo(100, 0);
  EXPECT_EQ(p.Map(0, 0, 11, 0), "k###kkk###kk\n");
}

TEST(CanvasLineStyle, StyledOutlinesOfRectanglesAndEllipses) {
  TPad r(6, 4);
  r.C().Pen().SetStyle(psDot);
  r.C().Brush().SetStyle(bsClear);
  r.C().SetBkMode(OPAQUE);
  r.C().Rectangle(0, 0, 6, 4);
  EXPECT_EQ(r.Map(0, 0, 5, 3), test::Rows({"kkk###", "#....k", "#....#", "#kkk##"}));

  TPad d(12, 3);
  d.C().Pen().SetStyle(psDashDot);
  d.C().Brush().SetStyle(bsClear);
  d.C().SetBkMode(OPAQUE);
  d.C().Rectangle(0, 0, 12, 3);
  EXPECT_EQ(d.Map(0, 0, 11, 2), test::Rows({"kkk#########", "k..........#", "kk###kkkkkk#"}));

  TPad e(7, 7);
  e.C().Pen().SetStyle(psDot);
  e.C().Brush().SetStyle(bsClear);
  e.C().SetBkMode(OPAQUE);
  e.C().Ellipse(0, 0, 7, 7);
  EXPECT_EQ(e.PaintedIn(test::kPen), Pixels({{6, 3}, {6, 2}, {5, 1}, {1, 1}, {0, 2}, {0, 3}, {3, 6}, {4, 6}, {5, 5}}));
  EXPECT_EQ(e.PaintedIn(test::kBk), Pixels({{4, 0}, {3, 0}, {2, 0}, {0, 4}, {1, 5}, {2, 6}, {6, 4}}));
}

// ---------------------------------------------------------------------------------------------
// Wide pens

TEST(CanvasWidePen, StraightAndZeroLengthStrokes) {
  EXPECT_EQ(Line(2, 5, 8, 5, 2), Runs({{4, 1, 8}, {5, 1, 8}}));
  EXPECT_EQ(Line(8, 5, 2, 5, 2), Runs({{4, 1, 8}, {5, 1, 8}}));
  PixelSet v;
  for (int y = 1; y <= 8; ++y) v.insert({4, y}), v.insert({5, y});
  EXPECT_EQ(Line(5, 2, 5, 8, 2), v);
  EXPECT_EQ(Line(2, 5, 8, 5, 3), Runs({{4, 2, 8}, {5, 1, 9}, {6, 2, 8}}));
  EXPECT_EQ(Line(2, 5, 8, 5, 4), Runs({{3, 1, 8}, {4, 0, 9}, {5, 0, 9}, {6, 1, 8}}));
  EXPECT_EQ(Line(3, 3, 3, 3, 2), Pixels({{2, 2}, {3, 2}, {2, 3}, {3, 3}}));
  EXPECT_EQ(Line(3, 3, 3, 3, 3), Pixels({{3, 2}, {2, 3}, {3, 3}, {4, 3}, {3, 4}}));
  // Dashed styles stroke solid once the pen is wide.
  TPad p(12, 8);
  p.C().Pen().SetWidth(2);
  p.C().Pen().SetStyle(psDot);
  p.C().MoveTo(2, 5);
  p.C().LineTo(8, 5);
  EXPECT_EQ(p.Painted(), Runs({{4, 1, 8}, {5, 1, 8}}));
}

TEST(CanvasWidePen, DiagonalStrokesAndJoins) {
  TPad p(12, 8);
  p.C().Pen().SetWidth(2);
  p.C().MoveTo(2, 2);
  p.C().LineTo(6, 6);
  EXPECT_EQ(p.Map(0, 1, 8, 6), test::Rows({".##......", ".###.....", ".####....", "..####...", "...####..", "....###.."}));
  EXPECT_EQ(Line(2, 2, 10, 5, 2), Runs({{1, 1, 2}, {2, 1, 5}, {3, 2, 8}, {4, 5, 10}, {5, 8, 10}}));
  EXPECT_EQ(Line(2, 2, 10, 5, 3), Runs({{1, 2, 5}, {2, 1, 8}, {3, 1, 10}, {4, 4, 10}, {5, 7, 11}, {6, 10, 10}}));
  TPad q(12, 10);
  q.C().Pen().SetWidth(3);
  const TPoint pts[] = {{2, 2}, {8, 2}, {8, 6}};
  q.C().Polyline(pts);
  EXPECT_EQ(q.Painted(), Runs({{1, 2, 8}, {2, 1, 9}, {3, 2, 9}, {4, 7, 9}, {5, 7, 9}, {6, 7, 9}, {7, 8, 8}}));
}

TEST(CanvasWidePen, XorStrokesPaintEachPixelOnce) {
  // Joins and overlapping segments of one wide stroke are painted once: XOR leaves no holes.
  TPad p(20, 20);
  p.C().Pen().SetWidth(5);
  p.C().Pen().SetMode(pmXor);
  p.C().Pen().SetColor(clWhite);  // white XOR white = black
  const TPoint pts[] = {{3, 3}, {15, 4}, {4, 15}, {16, 16}};
  p.C().Polyline(pts);
  for (const auto& px : p.Painted()) EXPECT_EQ(p.At(px.first, px.second), clBlack);
  EXPECT_GT(p.Painted().size(), 100u);
}

TEST(CanvasPenMode, BinaryRasterOperations) {
  const TColor d = RGB(0x0F, 0x33, 0x55), pen = RGB(0xF0, 0x35, 0x0F);
  const auto inv = [](TColor c) { return (~c) & 0xFFFFFF; };
  const struct {
    TPenMode mode;
    TColor want;
  } cases[] = {
      {pmBlack, 0},           {pmWhite, 0xFFFFFF},        {pmNop, d},
      {pmNot, inv(d)},        {pmCopy, pen},              {pmNotCopy, inv(pen)},
      {pmMergePenNot, pen | inv(d)}, {pmMaskPenNot, pen & inv(d)}, {pmMergeNotPen, inv(pen) | d},
      {pmMaskNotPen, inv(pen) & d},  {pmMerge, pen | d},            {pmNotMerge, inv(pen | d)},
      {pmMask, pen & d},      {pmNotMask, inv(pen & d)},  {pmXor, pen ^ d},
      {pmNotXor, inv(pen ^ d)},
  };
  for (const auto& c : cases) {
    TPad p(4, 1);
    p.C().Brush().SetColor(d);
    p.C().FillRect(Rect(0, 0, 4, 1));
    p.C().Pen().SetColor(pen);
    p.C().Pen().SetMode(c.mode);
    p.C().MoveTo(0, 0);
    p.C().LineTo(3, 0);
    EXPECT_EQ(p.At(1, 0), c.want) << c.mode;
    EXPECT_EQ(p.At(3, 0), d) << c.mode;
  }
}

}  // namespace
}  // namespace varnel
