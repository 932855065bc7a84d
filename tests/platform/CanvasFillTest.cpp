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
  // A negative extent covers x+w .. x-1, x itself left out, rows the same (values recorded on
  // the original system by a conformance test).
  TPad b(12, 2);
  b.C().PatBlt(10, 0, -3, 1, PATCOPY);
  EXPECT_EQ(b.Painted(), Runs({{0, 7, 9}}));
  const struct {
    int x, y, w, h;
    PixelSet painted;
  } negative[] = {{2, 2, -1, 1, Runs({{2, 1, 1}})},   // column 1 only, column 2 untouched
                  {2, 2, 1, -1, Runs({{1, 2, 2}})},   // row 1 only
                  {3, 2, -2, -1, Runs({{1, 1, 2}})},  // columns 1..2 of row 1
                  {0, 3, -1, -2, PixelSet{}}};        // wholly left of the bitmap
  for (const auto& n : negative) {
    TPad p(6, 5);
    p.C().PatBlt(n.x, n.y, n.w, n.h, PATCOPY);
    EXPECT_EQ(p.Painted(), n.painted) << n.x << "," << n.y << "," << n.w << "," << n.h;
  }
  // FillRect with right before left (or bottom above top) follows: columns r .. l-1.
  TPad c(8, 3);
  c.C().FillRect(Rect(5, 2, 2, 0));
  EXPECT_EQ(c.Painted(), Runs({{0, 2, 4}, {1, 2, 4}}));
  // A clear brush fills nothing; FillRect ignores the pen mode.
  TPad d(4, 4);
  d.C().Pen().SetMode(pmXor);
  d.C().FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(d.At(0, 0), test::kBrush);
  d.C().Brush().SetStyle(bsClear);
  d.C().FillRect(Rect(0, 0, 4, 4));
  EXPECT_EQ(d.Painted().size(), 4u);
}

// The 16 raster operations of brush pattern P and destination D, by their documented codes and
// boolean meanings; an operation that needs a source draws nothing.
TEST(CanvasFill, PatBltRasterOperations) {
  const std::uint32_t D = 0x123456, P = 0xF00F33, all = 0xFFFFFF;
  const struct {
    std::uint32_t Rop;
    std::uint32_t Want;
  } cases[] = {
      {0x00000042, 0},                // BLACKNESS
      {0x000500A9, ~(D | P) & all},   // DPon
      {0x000A0329, D & ~P & all},     // DPna
      {0x000F0001, ~P & all},         // Pn
      {0x00500325, P & ~D & all},     // PDna
      {0x00550009, ~D & all},         // DSTINVERT
      {0x005A0049, D ^ P},            // PATINVERT
      {0x005F00E9, ~(D & P) & all},   // DPan
      {0x00A000C9, D & P},            // DPa
      {0x00A50065, ~(P ^ D) & all},   // PDxn
      {0x00AA0029, D},                // D
      {0x00AF0229, (D | ~P) & all},   // DPno
      {0x00F00021, P},                // PATCOPY
      {0x00F50225, (P | ~D) & all},   // PDno
      {0x00FA0089, D | P},            // DPo
      {0x00FF0062, all},              // WHITENESS
      {0x00CC0020, D},                // SRCCOPY needs a source: nothing
  };
  for (const auto& c : cases) {
    TPad p(3, 1);
    p.C().Brush().SetColor(PixelToColor(D));
    p.C().FillRect(Rect(0, 0, 3, 1));
    p.C().Brush().SetColor(PixelToColor(P));
    p.C().PatBlt(1, 0, 1, 1, c.Rop);
    EXPECT_EQ(p.Bmp.PixelWord(1, 0), c.Want) << std::hex << c.Rop;
    EXPECT_EQ(p.Bmp.PixelWord(0, 0), D);
    EXPECT_EQ(p.Bmp.PixelWord(2, 0), D);
  }
  // A hatched pattern: its lines and (opaque) gaps each go through the operation; a clear
  // brush gives no pattern, so only operations without one still draw.
  TPad h(8, 8);
  h.C().Brush().SetStyle(bsHorizontal);
  h.C().SetBkMode(OPAQUE);
  h.C().PatBlt(0, 0, 8, 8, PATINVERT);
  EXPECT_EQ(h.At(0, 3), ColorToRGB(test::kBrush) ^ clWhite);
  EXPECT_EQ(h.At(0, 2), ColorToRGB(test::kBk) ^ clWhite);
  h.C().Brush().SetStyle(bsClear);
  h.C().PatBlt(0, 0, 8, 1, PATCOPY);
  EXPECT_EQ(h.At(0, 0), ColorToRGB(test::kBk) ^ clWhite);
  h.C().PatBlt(0, 0, 8, 1, BLACKNESS);
  EXPECT_EQ(h.At(0, 0), clBlack);
}

TEST(CanvasFill, FrameRectIsOnePixelInTheBrush) {
  TPad p(7, 6);
  p.C().FrameRect(Rect(1, 1, 6, 5));
  EXPECT_EQ(p.Map(0, 0, 6, 5), Rows({".......", ".ooooo.", ".o...o.", ".o...o.", ".ooooo.", "......."}));
}

// The six hatches as the drawing system defines them, cell position (u, v) = (x mod 8, y mod 8)
// of the bitmap (brush origin 0): horizontal lines on row 3, vertical ones on column 4, the
// forward diagonal running down to the right through (0, 0), the backward one up to the right
// through (7, 0). Lines take the brush colour, gaps the background colour when opaque.
TEST(CanvasFill, HatchTables) {
  struct Case {
    TBrushStyle Style;
    bool (*OnLine)(int u, int v);
  };
  const Case cases[] = {
      {bsHorizontal, [](int, int v) { return v == 3; }},
      {bsVertical, [](int u, int) { return u == 4; }},
      {bsFDiagonal, [](int u, int v) { return u == v; }},
      {bsBDiagonal, [](int u, int v) { return u + v == 7; }},
      {bsCross, [](int u, int v) { return v == 3 || u == 4; }},
      {bsDiagCross, [](int u, int v) { return u == v || u + v == 7; }},
  };
  for (const Case& k : cases) {
    for (const TBkMode mode : {TRANSPARENT, OPAQUE}) {
      TPad p(24, 24);
      p.C().Brush().SetStyle(k.Style);
      p.C().SetBkMode(mode);
      const TRect box = Rect(3, 5, 21, 22);  // not on a cell boundary: the pattern follows the bitmap
      p.C().FillRect(box);
      for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
          const bool inside = x >= box.Left && x < box.Right && y >= box.Top && y < box.Bottom;
          const TColor want = !inside                   ? clWhite
                              : k.OnLine(x % 8, y % 8) ? test::kBrush
                              : mode == OPAQUE          ? test::kBk
                                                        : clWhite;
          ASSERT_EQ(p.At(x, y), want) << "style " << k.Style << " mode " << mode << " at " << x << "," << y;
        }
    }
  }
  // Shapes fill with hatches too: a clear-pen rectangle over 0..7 gets the line of row 3.
  TPad s(10, 10);
  s.C().Brush().SetStyle(bsHorizontal);
  s.C().Pen().SetStyle(psClear);
  s.C().Rectangle(0, 0, 9, 9);
  EXPECT_EQ(s.PaintedIn(test::kBrush), Runs({{3, 0, 7}}));
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
// Monochrome bitmaps

// Colours drawn on a 1-bit picture: black and white stay; any other colour becomes the opposite
// of the entry the background colour is nearer to; SetPixel takes the nearer entry.
TEST(CanvasMono, ColoursMapToTheTwoEntries) {
  const TColor grey = RGB(0xC0, 0xC0, 0xC0), dark = RGB(0x40, 0x40, 0x40);
  const struct {
    TColor Bk, Ink, Want;
  } cases[] = {
      {clWhite, clRed, clBlack}, {clWhite, clWhite, clWhite}, {clWhite, clBlack, clBlack},
      {clBlack, clRed, clWhite}, {clBlack, clBlack, clBlack}, {grey, grey, clBlack},  // grey is nearer white
      {dark, grey, clWhite},     {dark, clWhite, clWhite},
  };
  for (const auto& k : cases) {
    TBitmap bmp(4, 3);
    bmp.SetMonochrome(true);
    TCanvas& c = bmp.Canvas();
    c.Brush().SetColor(k.Ink);  // a solid brush also sets the background colour: set it again
    c.SetBkColor(k.Bk);
    c.FillRect(Rect(0, 0, 4, 1));
    c.Pen().SetColor(k.Ink);
    c.MoveTo(0, 1);
    c.LineTo(4, 1);
    EXPECT_EQ(bmp.Pixel(3, 0), k.Want) << std::hex << k.Bk << " " << k.Ink;
    EXPECT_EQ(bmp.Pixel(3, 1), k.Want) << std::hex << k.Bk << " " << k.Ink;
  }
  TBitmap bmp(2, 1);
  bmp.SetMonochrome(true);
  bmp.Canvas().SetPixel(0, 0, grey);
  bmp.Canvas().SetPixel(1, 0, dark);
  EXPECT_EQ(bmp.Pixel(0, 0), clWhite);
  EXPECT_EQ(bmp.Pixel(1, 0), clBlack);
  // Hatch gaps take the background's entry.
  TBitmap h(8, 8);
  h.SetMonochrome(true);
  h.Canvas().Brush().SetColor(clBlue);
  h.Canvas().Brush().SetStyle(bsVertical);
  h.Canvas().SetBkMode(OPAQUE);
  h.Canvas().SetBkColor(dark);
  h.Canvas().FillRect(Rect(0, 0, 8, 8));
  EXPECT_EQ(h.Pixel(4, 0), clWhite);  // lines: opposite of black
  EXPECT_EQ(h.Pixel(0, 0), clBlack);  // gaps: dark grey is nearer black
}

// Copies between a 1-bit picture and a colour one, and text without shades.
TEST(CanvasMono, CopiesAndText) {
  // Into colour: black takes the destination's text colour, white its background colour.
  TBitmap mono(4, 1);
  mono.SetMonochrome(true);
  mono.Canvas().SetPixel(1, 0, clBlack);
  TBitmap colour(4, 1);
  colour.Canvas().Font().SetColor(clRed);
  colour.Canvas().SetBkColor(clBlue);
  colour.Canvas().Draw(0, 0, mono);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(colour.Pixel(x, 0), x == 1 ? clRed : clBlue) << x;
  // Into monochrome: the source's background colour becomes white, every other colour black.
  TBitmap src(3, 1);
  src.Canvas().SetPixel(1, 0, clGray);
  src.Canvas().SetBkColor(clWhite);
  TBitmap dst(3, 1);
  dst.SetMonochrome(true);
  dst.Canvas().Draw(0, 0, src);
  EXPECT_EQ(dst.Pixel(0, 0), clWhite);
  EXPECT_EQ(dst.Pixel(1, 0), clBlack);
  EXPECT_EQ(dst.Pixel(2, 0), clWhite);
  // Text: every pixel is black or white, and the glyphs are there.
  TBitmap text(60, 20);
  text.SetMonochrome(true);
  text.Canvas().Font().SetColor(clRed);
  text.Canvas().Brush().SetStyle(bsClear);
  text.Canvas().TextOut(2, 2, "CPU 37");
  int black = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      const TColor c = text.Pixel(x, y);
      ASSERT_TRUE(c == clBlack || c == clWhite) << x << "," << y;
      black += c == clBlack;
    }
  EXPECT_GT(black, 20);
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

// A side given right to left (or bottom to top) covers x+w+1 .. x, w = right - left < 0, and
// mirrors the picture along that axis; reversed on both sides it is not mirrored. Shrinking
// takes the first source pixel of each step: destination pixel u shows source floor(u * S / D).
TEST(CanvasCopy, ReversedSidesMirrorAndShrinkingTakesTheFirstPixel) {
  const TBitmap src = Numbered(5, 2);
  const auto row = [](const TPad& p, int y, int x0, int x1) {
    std::vector<std::uint32_t> out;
    for (int x = x0; x <= x1; ++x) out.push_back(p.Bmp.PixelWord(x, y));
    return out;
  };
  const auto s = [&](int x, int y = 0) { return src.PixelWord(x, y); };
  const std::uint32_t white = 0xFFFFFF;
  struct Case {
    TRect Dest, Source;
    std::vector<std::uint32_t> Want;  // row 0, columns 0..5
  } cases[] = {
      {Rect(4, 0, 0, 1), Rect(0, 0, 4, 1), {white, s(3), s(2), s(1), s(0), white}},  // destination reversed
      {Rect(0, 0, 4, 1), Rect(4, 0, 0, 1), {s(4), s(3), s(2), s(1), white, white}},  // source reversed
      {Rect(4, 0, 0, 1), Rect(4, 0, 0, 1), {white, s(1), s(2), s(3), s(4), white}},  // both: no mirror
      {Rect(0, 0, 2, 1), Rect(0, 0, 5, 1), {s(0), s(2), white, white, white, white}},  // 5 -> 2: 0, 2
      {Rect(0, 0, 3, 1), Rect(0, 0, 4, 1), {s(0), s(1), s(2), white, white, white}},  // 4 -> 3: 0, 1, 2
      {Rect(2, 0, 0, 1), Rect(0, 0, 5, 1), {white, s(2), s(0), white, white, white}},  // shrunk and mirrored
  };
  for (const Case& c : cases) {
    TPad p(6, 3);
    p.C().CopyRect(c.Dest, src, c.Source);
    EXPECT_EQ(row(p, 0, 0, 5), c.Want) << c.Dest.Left << "," << c.Dest.Right << " from " << c.Source.Left << ","
                                       << c.Source.Right;
    EXPECT_EQ(row(p, 1, 0, 5), std::vector<std::uint32_t>(6, white));
  }
  // StretchDraw of a bottom-to-top rectangle: rows 1..2 upside down.
  TPad v(2, 4);
  v.C().StretchDraw(Rect(0, 2, 1, 0), Numbered(1, 2));
  EXPECT_EQ(v.Bmp.PixelWord(0, 0), white);
  EXPECT_EQ(v.Bmp.PixelWord(0, 1), Numbered(1, 2).PixelWord(0, 1));
  EXPECT_EQ(v.Bmp.PixelWord(0, 2), Numbered(1, 2).PixelWord(0, 0));
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
