// Brush fills, clipping, bitmap copies, the background rules of brush changes and the call
// trace of the canvas.
#include <gtest/gtest.h>

#include "tests/platform/CanvasTestSupport.h"

namespace varnel {
namespace {

using test::PixelSet;
using test::Pixels;
using test::Rows;
using test::Runs;
using test::TPad;

TEST(CanvasFill, FillRectAndPatBltExtents) {
  TPad a(8, 6);
  a.C().FillRect(Rect(1, 1, 5, 4));
  EXPECT_EQ(a.PaintedIn(test::kBrush), Runs({{1, 1, 4}, {2, 1, 4}, {3, 1, 4}}));
  // A negative extent covers x+w+1 .. x.
  TPad b(12, 2);
  b.C().PatBlt(10, 0, -3, 1, PATCOPY);
  EXPECT_EQ(b.Painted(), Runs({{0, 8, 10}}));
  TPad c(8, 2);
  c.C().FillRect(Rect(5, 0, 2, 1));  // columns 3..5
  EXPECT_EQ(c.Painted(), Runs({{0, 3, 5}}));
  // A clear brush fills nothing; FillRect ignores the pen mode.
  TPad d(4, 4);
  d.C().Pen().SetMode(pmXor);
  d.C().FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(d.At(0, 0), test::kBrush);
  d.C().Brush().SetStyle(bsClear);
  d.C().FillRect(Rect(0, 0, 4, 4));
  EXPECT_EQ(d.Painted().size(), 4u);
}

TEST(CanvasFill, PatBltRasterOperations) {
  const TColor d = RGB(0x12, 0x34, 0x56), brush = RGB(0xF0, 0x0F, 0x33);
  const struct {
    TPatBltRop rop;
    TColor want;
  } cases[] = {{PATCOPY, brush}, {PATINVERT, brush ^ d}, {DSTINVERT, (~d) & 0xFFFFFF}, {BLACKNESS, 0}, {WHITENESS, 0xFFFFFF}};
  for (const auto& c : cases) {
    TPad p(3, 1);
    p.C().Brush().SetColor(d);
    p.C().FillRect(Rect(0, 0, 3, 1));
    p.C().Brush().SetColor(brush);
    p.C().PatBlt(1, 0, 1, 1, c.rop);
    EXPECT_EQ(p.At(1, 0), c.want) << std::hex << c.rop;
    EXPECT_EQ(p.At(0, 0), d);
    EXPECT_EQ(p.At(2, 0), d);
  }
}

TEST(CanvasFill, FrameRectIsOnePixelInTheBrush) {
  TPad p(7, 6);
  p.C().FrameRect(Rect(1, 1, 6, 5));
  EXPECT_EQ(p.Map(0, 0, 6, 5), Rows({".......", ".ooooo.", ".o...o.", ".o...o.", ".ooooo.", "......."}));
}

// Hatches are 8x8 patterns tied to the bitmap origin: lines in the brush colour, gaps in the
// background colour (opaque) or untouched (transparent).
TEST(CanvasFill, HatchBrushes) {
  const auto hatch = [](TBrushStyle style, TBkMode mode, int x0) {
    TPad p(24, 8);
    p.C().Brush().SetStyle(style);  // makes the background transparent
    p.C().SetBkMode(mode);
    p.C().FillRect(Rect(x0, 0, x0 + 8, 8));
    return p.Map(x0, 0, x0 + 7, 7);
  };
  EXPECT_EQ(hatch(bsHorizontal, OPAQUE, 0), Rows({"kkkkkkkk", "kkkkkkkk", "kkkkkkkk", "kkkkkkkk", "oooooooo", "kkkkkkkk",
                                                  "kkkkkkkk", "kkkkkkkk"}));
  EXPECT_EQ(hatch(bsVertical, TRANSPARENT, 0), Rows({"....o...", "....o...", "....o...", "....o...", "....o...",
                                                     "....o...", "....o...", "....o..."}));
  EXPECT_EQ(hatch(bsFDiagonal, TRANSPARENT, 0), Rows({"o.......", ".o......", "..o.....", "...o....", "....o...",
                                                      ".....o..", "......o.", ".......o"}));
  EXPECT_EQ(hatch(bsBDiagonal, TRANSPARENT, 0), Rows({".......o", "......o.", ".....o..", "....o...", "...o....",
                                                      "..o.....", ".o......", "o......."}));
  EXPECT_EQ(hatch(bsCross, TRANSPARENT, 0), Rows({"....o...", "....o...", "....o...", "....o...", "oooooooo",
                                                  "....o...", "....o...", "....o..."}));
  EXPECT_EQ(hatch(bsDiagCross, OPAQUE, 0), Rows({"okkkkkko", "kokkkkok", "kkokkokk", "kkkookkk", "kkkookkk",
                                                 "kkokkokk", "kokkkkok", "okkkkkko"}));
  // Aligned to the bitmap, not to the shape: a fill starting at x=3 shows the same columns.
  EXPECT_EQ(hatch(bsVertical, TRANSPARENT, 3), Rows({".o......", ".o......", ".o......", ".o......", ".o......",
                                                     ".o......", ".o......", ".o......"}));
  // Shapes fill with hatches too, under the pen mode.
  TPad s(10, 10);
  s.C().Brush().SetStyle(bsHorizontal);
  s.C().Pen().SetStyle(psClear);
  s.C().Rectangle(0, 0, 9, 9);
  EXPECT_EQ(s.PaintedIn(test::kBrush), Runs({{4, 0, 7}}));
}

TEST(CanvasFill, BrushChangesSetTheBackground) {
  TBitmap bmp(4, 4);
  TCanvas& c = bmp.Canvas();
  c.Brush().SetColor(clYellow);
  EXPECT_EQ(c.BkMode(), OPAQUE);
  EXPECT_EQ(c.BkColor(), clYellow);
  c.SetBkMode(TRANSPARENT);
  c.SetBkColor(clGreen);
  EXPECT_EQ(c.BkMode(), TRANSPARENT);
  c.Brush().SetStyle(bsCross);
  EXPECT_EQ(c.BkMode(), TRANSPARENT);
  EXPECT_EQ(c.BkColor(), clGreen);
  c.SetBkMode(OPAQUE);
  c.Brush().SetStyle(bsSolid);
  EXPECT_EQ(c.BkColor(), clYellow);
  c.Brush().SetStyle(bsClear);
  EXPECT_EQ(c.BkMode(), TRANSPARENT);
}

TEST(CanvasFill, SystemColoursResolveWhenDrawn) {
  TPad p(4, 4);
  p.C().Brush().SetColor(clBtnFace);
  p.C().FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(p.At(0, 0), ColorToRGB(clBtnFace));
  p.C().Pen().SetColor(clAutoColor);  // never expected; must still draw something defined
  p.C().MoveTo(0, 3);
  p.C().LineTo(4, 3);
  EXPECT_EQ(p.At(0, 3), ColorToRGB(clAutoColor));
  p.C().SetPixel(3, 0, clBtnShadow);
  EXPECT_EQ(p.C().GetPixel(3, 0), ColorToRGB(clBtnShadow));
}

// ---------------------------------------------------------------------------------------------
// Clipping

TEST(CanvasClip, RectangleClip) {
  for (const TRect clip : {Rect(2, 2, 5, 4), Rect(5, 4, 2, 2)}) {
    TPad p(8, 8);
    p.C().SetClipRect(clip);
    p.C().PatBlt(0, 0, 8, 8, PATCOPY);
    EXPECT_EQ(p.Painted(), Runs({{2, 2, 4}, {3, 2, 4}}));
    EXPECT_EQ(p.C().ClipBox(), Rect(2, 2, 5, 4));
    EXPECT_TRUE(p.C().PtVisible(4, 3));
    EXPECT_FALSE(p.C().PtVisible(5, 3));
    EXPECT_EQ(p.C().GetPixel(0, 0), -1);
  }
  TPad e(8, 8);
  e.C().SetClipRect(Rect(3, 3, 3, 9));  // empty: hides everything
  e.C().FillRect(Rect(0, 0, 8, 8));
  EXPECT_TRUE(e.Painted().empty());
  EXPECT_TRUE(e.C().ClipBox().IsEmpty());
  e.C().ClearClip();
  EXPECT_EQ(e.C().ClipBox(), Rect(0, 0, 8, 8));
  e.C().SetClipRect(Rect(-100, 6, 100, 100));  // narrowed to the bitmap
  EXPECT_EQ(e.C().ClipBox(), Rect(0, 6, 8, 8));
}

TEST(CanvasClip, PolygonClip) {
  TPad a(8, 8);
  const TPoint tri[] = {{0, 0}, {6, 0}, {0, 6}};
  a.C().SetClipPolygon(tri, ALTERNATE);
  a.C().FillRect(Rect(0, 0, 8, 8));
  EXPECT_EQ(a.Painted(), Runs({{0, 0, 5}, {1, 0, 4}, {2, 0, 3}, {3, 0, 2}, {4, 0, 1}, {5, 0, 0}}));
  EXPECT_EQ(a.C().ClipBox(), Rect(0, 0, 6, 6));
  EXPECT_TRUE(a.C().PtVisible(5, 0));
  EXPECT_FALSE(a.C().PtVisible(5, 1));

  TPad b(8, 8);
  const TPoint tri2[] = {{0, 0}, {6, 6}, {0, 6}};
  b.C().SetClipPolygon(tri2, ALTERNATE);
  b.C().Pen().SetWidth(3);
  b.C().Rectangle(-5, -5, 20, 20);  // brush everywhere inside, pen outside the clip
  EXPECT_EQ(b.Painted(), Runs({{1, 0, 0}, {2, 0, 1}, {3, 0, 2}, {4, 0, 3}, {5, 0, 4}}));
  EXPECT_EQ(b.C().ClipBox(), Rect(0, 1, 5, 6));
  // Lines and copies respect the polygon too.
  TPad c(8, 8);
  c.C().SetClipPolygon(tri, WINDING);
  c.C().MoveTo(0, 4);
  c.C().LineTo(8, 4);
  EXPECT_EQ(c.Painted(), Runs({{4, 0, 1}}));
  TBitmap src(8, 8);
  c.C().Draw(0, 0, src);  // white copy clears only inside the clip
  EXPECT_TRUE(c.Painted().empty());
  // Fewer than three points hide everything.
  const TPoint two[] = {{0, 0}, {8, 8}};
  c.C().SetClipPolygon(two, ALTERNATE);
  c.C().FillRect(Rect(0, 0, 8, 8));
  EXPECT_TRUE(c.Painted().empty());
  EXPECT_TRUE(c.C().ClipBox().IsEmpty());
}

TEST(CanvasClip, ClipFollowsTheBitmapSize) {
  TBitmap bmp(10, 10);
  TCanvas& c = bmp.Canvas();
  c.SetClipRect(Rect(2, 2, 50, 50));
  EXPECT_EQ(c.ClipBox(), Rect(2, 2, 10, 10));
  bmp.SetSize(30, 20);
  EXPECT_EQ(c.ClipBox(), Rect(2, 2, 30, 20));
  bmp.SetSize(0, 5);
  EXPECT_TRUE(c.ClipBox().IsEmpty());
  EXPECT_FALSE(c.PtVisible(0, 0));
  c.FillRect(Rect(0, 0, 10, 10));  // a no-op on an empty bitmap
  c.Ellipse(-5, -5, 5, 5);
}

// ---------------------------------------------------------------------------------------------
// Bitmap copies

TBitmap Numbered(int w, int h) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.ScanLine(y)[x] = static_cast<std::uint32_t>(0x010000 * (x + 1) + 0x000100 * (y + 1));
  return b;
}

TEST(CanvasCopy, DrawCopiesClipped) {
  TPad p(12, 8);
  const TBitmap src = Numbered(3, 3);
  p.C().Draw(5, 5, src);
  PixelSet want = Runs({{5, 5, 7}, {6, 5, 7}, {7, 5, 7}});
  EXPECT_EQ(p.Painted(), want);
  EXPECT_EQ(p.Bmp.PixelWord(7, 6), src.PixelWord(2, 1));
  p.C().Draw(10, -1, src);  // partly outside: only the inside part is written
  EXPECT_EQ(p.Bmp.PixelWord(10, 0), src.PixelWord(0, 1));
  EXPECT_EQ(p.Bmp.PixelWord(11, 1), src.PixelWord(1, 2));
  // A block copy reaching past the source's right edge writes only source pixels.
  TPad b(12, 8);
  b.C().CopyRect(Rect(5, 5, 9, 7), src, Rect(0, 0, 4, 2));
  EXPECT_EQ(b.Painted(), Runs({{5, 5, 7}, {6, 5, 7}}));
  p.C().Draw(INT32_MAX, INT32_MIN, src);
  p.C().Draw(INT32_MIN, INT32_MAX - 1, src);
  EXPECT_EQ(p.Painted().size(), want.size() + 4u);
}

TEST(CanvasCopy, StretchIsNearestPixelAndMirrors) {
  const TBitmap src = Numbered(2, 2);
  TPad p(8, 8);
  p.C().StretchDraw(Rect(0, 0, 4, 6), src);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(p.Bmp.PixelWord(x, y), src.PixelWord(x / 2, y / 3)) << x << "," << y;
  EXPECT_EQ(p.Bmp.Pixel(4, 0), clWhite);
  TPad q(8, 8);
  q.C().CopyRect(Rect(3, 0, 0, 1), src, Rect(0, 0, 2, 1));  // reversed destination: mirrored
  EXPECT_EQ(q.Bmp.PixelWord(0, 0), src.PixelWord(1, 0));
  EXPECT_EQ(q.Bmp.PixelWord(2, 0), src.PixelWord(0, 0));
  TPad r(8, 8);
  r.C().CopyRect(Rect(0, 0, 4, 1), src, Rect(1, 0, 5, 1));  // source beyond its bitmap: not copied
  EXPECT_EQ(r.Bmp.PixelWord(0, 0), src.PixelWord(1, 0));
  EXPECT_EQ(r.Bmp.Pixel(1, 0), clWhite);
  // Copying a bitmap onto itself works as through a temporary.
  TBitmap self = Numbered(6, 1);
  const TBitmap before = self;
  self.Canvas().Draw(1, 0, self);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(self.PixelWord(x, 0), before.PixelWord(x - 1, 0));
}

// ---------------------------------------------------------------------------------------------
// Trace

TEST(CanvasTraceTest, RecordsOperationsArgumentsAndTools) {
  TBitmap bmp(10, 10);
  TCanvas& c = bmp.Canvas();
  TCanvasTrace trace;
  c.SetTrace(&trace);
  c.Pen().SetColor(clRed);
  c.Pen().SetWidth(3);
  c.MoveTo(1, 2);
  c.LineTo(3, 4);
  c.Brush().SetStyle(bsClear);
  const TPoint pts[] = {{1, 1}, {5, 1}, {3, 4}};
  c.Polygon(pts);
  c.SetClipRect(Rect(0, 0, 5, 5));
  c.Pie(0, 0, 9, 9, 9, 4, 4, 0);
  c.PatBlt(1, 2, 3, 4, DSTINVERT);
  c.SetPixel(1, 1, clBlue);
  EXPECT_EQ(trace.Ops(), (std::vector<std::string>{"MoveTo", "LineTo", "Polygon", "Pie", "PatBlt", "SetPixel"}));
  EXPECT_EQ(trace.Calls[1].Args, (std::vector<int>{3, 4}));
  EXPECT_EQ(trace.Calls[1].PenColor, clRed);
  EXPECT_EQ(trace.Calls[1].PenWidth, 3);
  EXPECT_EQ(trace.Calls[1].BrushStyle, bsSolid);
  EXPECT_EQ(trace.Calls[2].Args, (std::vector<int>{1, 1, 5, 1, 3, 4}));
  EXPECT_EQ(trace.Calls[2].BrushStyle, bsClear);
  EXPECT_EQ(trace.Calls[3].Args, (std::vector<int>{0, 0, 9, 9, 9, 4, 4, 0}));
  EXPECT_EQ(trace.Calls[4].Args, (std::vector<int>{1, 2, 3, 4, static_cast<int>(DSTINVERT)}));
  c.SetTrace(nullptr);
  c.Rectangle(0, 0, 2, 2);
  EXPECT_EQ(trace.Calls.size(), 6u);
}

}  // namespace
}  // namespace varnel
