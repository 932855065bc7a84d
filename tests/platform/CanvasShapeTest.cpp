// Pixel rules of filled shapes: rectangles (one-pixel, clear and wide pens, inside frame),
// polygon fill in both modes, ellipses, arcs, pies and chords.
#include <gtest/gtest.h>

#include "tests/platform/CanvasTestSupport.h"

namespace varnel {
namespace {

using test::PixelSet;
using test::Pixels;
using test::Rows;
using test::Runs;
using test::TPad;

TEST(CanvasRectangle, OutlineAndFillOfOneAndClearPens) {
  TPad a(8, 6), b(8, 6);
  a.C().Rectangle(1, 1, 5, 4);
  b.C().Rectangle(5, 4, 1, 1);
  EXPECT_EQ(a.Map(0, 0, 5, 4), Rows({"......", ".####.", ".#oo#.", ".####.", "......"}));
  EXPECT_EQ(b.Map(0, 0, 5, 4), a.Map(0, 0, 5, 4));

  TPad c(8, 6);
  c.C().Pen().SetStyle(psClear);
  c.C().Rectangle(1, 1, 5, 4);
  EXPECT_EQ(c.Map(0, 0, 5, 4), Rows({"......", ".ooo..", ".ooo..", "......", "......"}));

  const auto painted = [](int x1, int y1, int x2, int y2, bool clearPen) {
    TPad p(8, 8);
    if (clearPen) p.C().Pen().SetStyle(psClear);
    p.C().Rectangle(x1, y1, x2, y2);
    return p.Painted();
  };
  EXPECT_EQ(painted(0, 0, 1, 1, false), PixelSet{});
  EXPECT_EQ(painted(0, 0, 2, 2, false), Pixels({{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
  EXPECT_EQ(painted(0, 0, 2, 2, true), Pixels({{0, 0}}));
  EXPECT_EQ(painted(0, 0, 1, 5, false), Runs({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}}));
  EXPECT_EQ(painted(0, 0, 5, 0, false), PixelSet{});
  TPad r(4, 4);
  r.C().Rectangle(0, 0, 3, 3);
  EXPECT_EQ(r.Map(0, 0, 2, 2), Rows({"###", "#o#", "###"}));
}

TEST(CanvasRectangle, WidePensAndInsideFrame) {
  TPad a(12, 10);
  a.C().Pen().SetWidth(2);
  a.C().Rectangle(2, 2, 10, 8);
  EXPECT_EQ(a.Map(0, 1, 11, 7), Rows({".#########..", ".#########..", ".##ooooo##..", ".##ooooo##..",
                                      ".##ooooo##..", ".#########..", ".#########.."}));
  TPad b(10, 10);
  b.C().Pen().SetWidth(2);
  b.C().Pen().SetStyle(psInsideFrame);
  b.C().Rectangle(0, 0, 10, 10);
  EXPECT_EQ(b.Map(0, 0, 9, 9), Rows({"##########", "##########", "##oooooo##", "##oooooo##", "##oooooo##",
                                     "##oooooo##", "##oooooo##", "##oooooo##", "##########", "##########"}));
  TPad c(10, 10);
  c.C().Pen().SetWidth(3);
  c.C().Pen().SetStyle(psInsideFrame);
  c.C().Rectangle(0, 0, 10, 10);
  EXPECT_EQ(c.Map(0, 0, 9, 9), Rows({".########.", "##########", "##########", "###oooo###", "###oooo###",
                                     "###oooo###", "###oooo###", "##########", "##########", ".########."}));
  TPad d(14, 14, 2, 2);
  d.C().Pen().SetWidth(3);
  d.C().Rectangle(d.X(0), d.Y(0), d.X(10), d.Y(10));
  const PixelSet pen = d.PaintedIn(test::kPen), brush = d.PaintedIn(test::kBrush);
  EXPECT_EQ(brush, Runs({{2, 2, 7}, {3, 2, 7}, {4, 2, 7}, {5, 2, 7}, {6, 2, 7}, {7, 2, 7}}));
  for (const auto& corner : {std::pair{-1, -1}, {10, -1}, {-1, 10}, {10, 10}}) EXPECT_FALSE(pen.count(corner));
  EXPECT_TRUE(pen.count({-1, 0}) && pen.count({10, 9}) && pen.count({0, -1}) && pen.count({9, 10}));
  EXPECT_EQ(pen.size() + brush.size(), 12u * 12u - 4u);
}

// ---------------------------------------------------------------------------------------------
// Polygons

TEST(CanvasPolygon, LatticeFillWithAndWithoutOutline) {
  TPad a(10, 10);
  a.C().Pen().SetStyle(psClear);
  const TPoint tri[] = {{0, 0}, {8, 0}, {0, 8}};
  a.C().Polygon(tri);
  PixelSet want;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x <= 7 - y; ++x) want.insert({x, y});
  EXPECT_EQ(a.Painted(), want);

  TPad b(10, 10);
  b.C().Polygon(tri);
  EXPECT_EQ(b.Map(0, 0, 8, 8), Rows({"#########", "#oooooo#.", "#ooooo#..", "#oooo#...", "#ooo#....", "#oo#.....",
                                     "#o#......", "##.......", "#........"}));

  TPad c(10, 10);
  c.C().Pen().SetStyle(psClear);
  const TPoint diamond[] = {{4, 0}, {8, 4}, {4, 8}, {0, 4}};
  c.C().Polygon(diamond);
  EXPECT_EQ(c.Painted(), Runs({{1, 3, 4}, {2, 2, 5}, {3, 1, 6}, {4, 0, 7}, {5, 1, 6}, {6, 2, 5}, {7, 3, 4}}));

  TPad d(8, 8);
  const TPoint square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  d.C().Polygon(square);
  EXPECT_EQ(d.PaintedIn(test::kBrush), Runs({{1, 1, 3}, {2, 1, 3}, {3, 1, 3}}));
  EXPECT_EQ(d.Painted().size(), 25u);
}

TEST(CanvasPolygon, AlternateAndWinding) {
  const TPoint star[] = {{5, 0}, {8, 10}, {0, 4}, {10, 4}, {2, 10}};
  const auto fill = [&](TFillMode mode) {
    TPad p(12, 12);
    p.C().Pen().SetStyle(psClear);
    p.C().Brush().SetColor(test::kPen);
    p.C().SetPolyFillMode(mode);
    p.C().Polygon(star);
    return p.Map(0, 1, 10, 9);
  };
  EXPECT_EQ(fill(ALTERNATE), Rows({".....#.....", ".....#.....", ".....#.....", "####...###.", "..##...##..",
                                   "...#...#...", "...#..##...", "...##.##...", "...#...#..."}));
  EXPECT_EQ(fill(WINDING), Rows({".....#.....", ".....#.....", ".....#.....", "##########.", "..#######..",
                                 "...#####...", "...#####...", "...##.##...", "...#...#..."}));
  const TPoint twice[] = {{0, 0}, {6, 0}, {6, 6}, {0, 6}, {0, 0}, {3, 3}, {9, 3}, {9, 9}, {3, 9}, {3, 3}};
  for (const TFillMode mode : {ALTERNATE, WINDING}) {
    TPad p(12, 12);
    p.C().Pen().SetStyle(psClear);
    p.C().SetPolyFillMode(mode);
    p.C().Polygon(twice);
    EXPECT_EQ(p.At(4, 4) == test::kBrush, mode == WINDING);
    EXPECT_EQ(p.At(1, 1), test::kBrush);
    EXPECT_EQ(p.At(7, 7), test::kBrush);
  }
}

TEST(CanvasPolygon, WidePenOutline) {
  TPad p(12, 12);
  p.C().Pen().SetWidth(2);
  const TPoint tri[] = {{2, 2}, {10, 2}, {2, 10}};
  p.C().Polygon(tri);
  EXPECT_EQ(p.Map(0, 1, 11, 10), Rows({".##########.", ".##########.", ".##oooo####.", ".##ooo####..", ".##oo####...",
                                       ".##o####....", ".######.....", ".#####......", ".####.......", ".###........"}));
}

// ---------------------------------------------------------------------------------------------
// Ellipses, arcs, pies and chords

TEST(CanvasEllipse, OutlinesAndFills) {
  TPad a(10, 10);
  a.C().Ellipse(0, 0, 10, 10);
  EXPECT_EQ(a.Map(0, 0, 9, 9), Rows({"...####...", "..#oooo#..", ".#oooooo#.", "#oooooooo#", "#oooooooo#",
                                     "#oooooooo#", "#oooooooo#", ".#oooooo#.", "..#oooo#..", "...####..."}));
  TPad b(8, 8);
  b.C().Ellipse(0, 0, 7, 7);
  EXPECT_EQ(b.Map(0, 0, 6, 6), Rows({"..###..", ".#ooo#.", "#ooooo#", "#ooooo#", "#ooooo#", ".#ooo#.", "..###.."}));
  TPad c(8, 8);
  c.C().Ellipse(0, 0, 8, 6);
  EXPECT_EQ(c.Map(0, 0, 7, 5), Rows({"..####..", ".#oooo#.", "#oooooo#", "#oooooo#", ".#oooo#.", "..####.."}));
  const auto small = [](int w, int h) {
    TPad p(8, 8);
    p.C().Ellipse(0, 0, w, h);
    return p.Map(0, 0, w - 1, h - 1);
  };
  EXPECT_EQ(small(3, 3), Rows({".#.", "#o#", ".#."}));
  EXPECT_EQ(small(4, 4), Rows({".##.", "#oo#", "#oo#", ".##."}));
  EXPECT_EQ(small(5, 5), Rows({".###.", "#ooo#", "#ooo#", "#ooo#", ".###."}));
  EXPECT_EQ(small(6, 4), Rows({".####.", "#oooo#", "#oooo#", ".####."}));
  EXPECT_EQ(small(2, 2), Rows({"##", "##"}));
  TPad d(10, 10);
  d.C().Brush().SetStyle(bsClear);
  d.C().Ellipse(0, 0, 9, 9);
  EXPECT_EQ(d.Map(0, 0, 8, 8), Rows({"...###...", ".##...##.", ".#.....#.", "#.......#", "#.......#", "#.......#",
                                     ".#.....#.", ".##...##.", "...###..."}));
}

TEST(CanvasEllipse, WideAndInsideFramePens) {
  TPad a(14, 14, 2, 2);
  a.C().Pen().SetWidth(2);
  a.C().Ellipse(a.X(0), a.Y(0), a.X(10), a.Y(10));
  int minX = 99, minY = 99, maxX = -99, maxY = -99;
  for (const auto& [x, y] : a.Painted()) minX = std::min(minX, x), minY = std::min(minY, y), maxX = std::max(maxX, x), maxY = std::max(maxY, y);
  EXPECT_EQ(minX, -1);
  EXPECT_EQ(minY, -1);
  EXPECT_EQ(maxX, 9);
  EXPECT_EQ(maxY, 9);
  TPad b(14, 14, 2, 2);
  b.C().Pen().SetWidth(2);
  b.C().Pen().SetStyle(psInsideFrame);
  b.C().Ellipse(b.X(0), b.Y(0), b.X(10), b.Y(10));
  for (const auto& [x, y] : b.Painted()) EXPECT_TRUE(x >= 0 && y >= 0 && x <= 9 && y <= 9) << x << "," << y;
  EXPECT_EQ(b.At(5, 5), test::kBrush);
}

TEST(CanvasArc, ArcsRunCounterclockwiseWithExclusiveEnds) {
  const auto arc = [](int x3, int y3, int x4, int y4) {
    TPad p(10, 10);
    p.C().Arc(0, 0, 9, 9, x3, y3, x4, y4);
    return p.Painted();
  };
  EXPECT_EQ(arc(9, 4, 4, 0), Pixels({{8, 4}, {8, 3}, {7, 2}, {7, 1}, {6, 1}}));
  EXPECT_EQ(arc(4, 0, 9, 4), Runs({{0, 3, 4}, {1, 1, 2}, {2, 1, 1}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}, {5, 8, 8},
                                   {6, 1, 1}, {6, 7, 7}, {7, 1, 2}, {7, 6, 7}, {8, 3, 5}}));
  TPad full(10, 10);
  full.C().Brush().SetStyle(bsClear);
  full.C().Ellipse(0, 0, 9, 9);
  EXPECT_EQ(arc(9, 4, 9, 4), full.Painted());
  EXPECT_EQ(full.Painted().size(), 24u);
  TPad small(4, 4);
  small.C().Arc(0, 0, 3, 3, 1, -5, 1, -5);
  EXPECT_EQ(small.Painted(), Pixels({{1, 0}, {0, 1}, {1, 2}}));
}

TEST(CanvasArc, PiesAndChords) {
  TPad a(10, 10);
  a.C().Pie(0, 0, 9, 9, 9, 4, 4, 0);
  EXPECT_EQ(a.Map(0, 0, 8, 4), Rows({".....#...", ".....###.", "....#oo#.", "....#ooo#", "....#####"}));
  EXPECT_EQ(a.Painted().size(), 18u);  // nothing outside the map

  TPad b(10, 10);
  b.C().Chord(0, 0, 9, 9, 9, 4, 4, 0);
  EXPECT_EQ(b.PaintedIn(test::kPen), Pixels({{5, 0}, {6, 1}, {7, 1}, {6, 2}, {7, 2}, {7, 3}, {8, 3}, {8, 4}}));
  EXPECT_EQ(b.PaintedIn(test::kBrush), PixelSet{});  // the one fill pixel lies under the outline
  TPad bf(10, 10);
  bf.C().Pen().SetStyle(psClear);
  bf.C().Chord(0, 0, 9, 9, 9, 4, 4, 0);
  EXPECT_EQ(bf.Painted(), Pixels({{6, 1}}));

  TPad c(10, 10);
  c.C().Pie(0, 0, 9, 9, 0, 4, 9, 4);
  EXPECT_EQ(c.PaintedIn(test::kPen), Runs({{4, 0, 8}, {5, 0, 0}, {5, 8, 8}, {6, 1, 1}, {6, 7, 7}, {7, 1, 2}, {7, 6, 7}, {8, 3, 5}}));
  EXPECT_EQ(c.PaintedIn(test::kBrush), Runs({{5, 1, 7}, {6, 2, 6}, {7, 3, 5}}));

  TPad d(20, 20);
  d.C().Pie(0, 0, 20, 20, 20, 10, 0, 10);
  EXPECT_EQ(d.Map(0, 0, 19, 10),
            Rows({".......######.......", ".....##oooooo##.....", "....#oooooooooo#....", "...#oooooooooooo#...",
                  "..#oooooooooooooo#..", ".#oooooooooooooooo#.", ".#oooooooooooooooo#.", "#oooooooooooooooooo#",
                  "###oooooooooooooooo#", "...#####ooooooo#####", "........#######....."}));
}

}  // namespace
}  // namespace varnel
