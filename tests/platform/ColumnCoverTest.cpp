// The column cover and the column-by-column segment body against direct statements of the
// rules: a cover paints exactly the union of the row runs it was given (inside the visible
// region), however they overlap or lie apart; a parallelogram added column by column paints
// exactly the pixels of the polygon crossing rule; and a chart-like wide line painted through
// them in batches matches one LineTo a point on a plot wide and tall enough for long steep
// segments, thousands of columns of runs and several batches, also over a fill left for later.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <vector>

#include "platform/canvas/Raster.h"
#include "tests/platform/CanvasTestSupport.h"

namespace varnel {
namespace {

using raster::i64;
using raster::TPoint64;

constexpr std::uint32_t kWhite = 0x00FFFFFFu;

struct TTarget {
  int W, H;
  std::vector<std::uint32_t> Pixels;
  raster::TClipRegion Region;
  TTarget(int w, int h, int clip, std::mt19937& rng) : W(w), H(h), Pixels(static_cast<std::size_t>(w) * h, kWhite) {
    if (clip == 0) raster::BuildRectRegion(Region, w, h, TRect{}, false);
    if (clip == 1) raster::BuildRectRegion(Region, w, h, Rect(static_cast<int>(rng() % 10), 3, w - 4, h - static_cast<int>(rng() % 10)), true);
    if (clip == 2) {
      const TPoint poly[] = {Point(0, h / 2), Point(w / 2, 0), Point(w, h / 3), Point(w / 3, h)};
      raster::BuildPolygonRegion(Region, w, h, poly, ALTERNATE);
    }
  }
  std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * W + x]; }
};

TEST(ColumnCover, PaintsTheUnionOfItsRunsInsideTheRegion) {
  std::mt19937 rng(77);
  const auto r = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  for (int n = 0; n < 300; ++n) {
    TTarget t(r(1, 140), r(1, 50), n % 3, rng);
    const raster::TRop rop = raster::PenRop(n % 2 ? pmCopy : pmMask, 0x00102030u);
    std::vector<bool> want(t.Pixels.size());
    {
      raster::TSurface s(t.Pixels.data(), t.W, t.Region);
      raster::TColumnCover cover(s, rop);
      // Runs near one another (meeting, overlapping, apart), a few far outside, and now and
      // then so many in a few columns that the cover paints them in parts.
      const int count = n % 25 == 0 ? 2000 : r(0, 60);
      const int x0 = r(-5, t.W);
      for (int k = 0; k < count; ++k) {
        const int x = n % 25 == 0 ? x0 + r(0, 3) : r(-5, t.W + 5);
        int top = r(-8, t.H + 8), bottom = top + r(-2, 20);
        if (r(0, 30) == 0) top = -2000000000, bottom = r(-5, 2000000000);
        cover.Add(x, top, bottom);
        for (int y = std::max(top, 0); y < std::min(bottom, t.H); ++y)
          if (x >= 0 && x < t.W && t.Region.Contains(x, y)) want[static_cast<std::size_t>(y) * t.W + x] = true;
      }
      cover.Paint();
    }
    const std::uint32_t painted = rop.Apply(kWhite);
    for (int y = 0; y < t.H; ++y)
      for (int x = 0; x < t.W; ++x)
        ASSERT_EQ(t.At(x, y), want[static_cast<std::size_t>(y) * t.W + x] ? painted : kWhite)
            << "case " << n << " at " << x << "," << y;
  }
}

// Whether grid point (x, y) is inside the polygon by the crossing rule (ALTERNATE): edges count
// on rows ya <= y < yb, a crossing at X for the columns x >= X.
bool Inside(std::span<const TPoint64> pts, i64 x, i64 y) {
  int crossings = 0;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    TPoint64 a = pts[i], b = pts[(i + 1) % pts.size()];
    if (a.y > b.y) std::swap(a, b);
    if (a.y == b.y || y < a.y || y >= b.y) continue;
    if (static_cast<__int128>(y - a.y) * (b.x - a.x) <= static_cast<__int128>(x - a.x) * (b.y - a.y)) ++crossings;
  }
  return crossings % 2 != 0;
}

TEST(ColumnCover, ParallelogramsColumnByColumnFollowTheCrossingRule) {
  std::mt19937 rng(31);
  const auto r = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  int added = 0;
  for (int n = 0; n < 1500; ++n) {
    TTarget t(48, 64, n % 3, rng);
    // A corner, the side and the cap of a parallelogram (either turn, any slope, now and then
    // without area or far beyond the quick arithmetic's range).
    // (Every third one across the picture's left edge, where its columns start inside it.)
    const TPoint64 a{n % 3 == 1 ? r(-14, 1) : r(-20, 60), r(-20, 80)};
    TPoint64 side{r(-6, 6), r(-90, 90)}, cap{r(-5, 5), r(-3, 3)};
    if (n % 4 == 0) side = {r(-90, 90), r(-6, 6)};
    if (n % 97 == 0) cap = {side.x * 2, side.y * 2};
    TPoint64 quad[4] = {a, {a.x + cap.x, a.y + cap.y}, {a.x + cap.x + side.x, a.y + cap.y + side.y}, {a.x + side.x, a.y + side.y}};
    if (n % 50 == 0) quad[2].x += 40000000;  // beyond 2^24: left to the polygon scan
    bool ok;
    {
      raster::TSurface s(t.Pixels.data(), t.W, t.Region);
      raster::TColumnCover cover(s, raster::PenRop(pmCopy, 0));
      ok = raster::QuadColumns(quad, cover);
      cover.Paint();
    }
    const bool flat = (quad[1].x - quad[0].x) * (quad[3].y - quad[0].y) == (quad[1].y - quad[0].y) * (quad[3].x - quad[0].x);
    ASSERT_EQ(ok, !flat && quad[2].x < 1000) << "case " << n;
    added += ok;
    for (int y = 0; y < t.H; ++y)
      for (int x = 0; x < t.W; ++x) {
        const bool in = ok && t.Region.Contains(x, y) && Inside(quad, x, y);
        ASSERT_EQ(t.At(x, y), in ? 0u : kWhite) << "case " << n << " at " << x << "," << y;
      }
  }
  EXPECT_GT(added, 1250);
  // Every small parallelogram starting left of the picture, so that each edge's bound is first
  // taken some columns into the edge.
  std::vector<std::uint32_t> pixels(16 * 24);
  raster::TClipRegion region;
  raster::BuildRectRegion(region, 16, 24, TRect{}, false);
  for (i64 ax = -6; ax < 0; ++ax)
    for (i64 sx = -6; sx <= 6; ++sx)
      for (i64 sy = -9; sy <= 9; ++sy)
        for (i64 cx = -2; cx <= 2; ++cx)
          for (i64 cy = -2; cy <= 2; ++cy) {
            const TPoint64 a{ax, 10}, quad[4] = {a, {a.x + cx, a.y + cy}, {a.x + cx + sx, a.y + cy + sy}, {a.x + sx, a.y + sy}};
            std::fill(pixels.begin(), pixels.end(), kWhite);
            {
              raster::TSurface s(pixels.data(), 16, region);
              raster::TColumnCover cover(s, raster::PenRop(pmCopy, 0));
              if (!raster::QuadColumns(quad, cover)) continue;
              cover.Paint();
            }
            for (int y = 0; y < 24; ++y)
              for (int x = 0; x < 8; ++x)
                ASSERT_EQ(pixels[static_cast<std::size_t>(y * 16 + x)], Inside(quad, x, y) ? 0u : kWhite)
                    << ax << " " << sx << "," << sy << " " << cx << "," << cy << " at " << x << "," << y;
          }
}

// The corner offsets of a segment body, for every direction of small segments and pens up to the
// chain's limit, then far and huge ones, against the rule in whole numbers: with a = w |dy| and
// L the length, round(a / 2L) (halves away from zero) is the greatest k with (2k - 1) L <= a, and
// round((a / L + 1) / 2) the greatest k with (2k - 2) L <= a (compared as squares). Asked in an
// order that makes recent directions repeat and others take their place.
TEST(ColumnCover, SegmentBodyOffsetsFollowTheRoundingRule) {
  using i128 = __int128;
  // The greatest k >= 0 with k == 0 or (2k - c) L <= a, for c = 1 or 2.
  const auto greatest = [](i128 a, i128 l2, int c) {
    const auto holds = [&](i64 k) { return 2 * k - c <= 0 || static_cast<i128>(2 * k - c) * (2 * k - c) * l2 <= a * a; };
    i64 lo = 0, hi = 1;  // holds(lo), and then the first hi that does not
    while (holds(hi)) lo = hi, hi *= 2;
    while (hi - lo > 1) (holds(lo + (hi - lo) / 2) ? lo : hi) = lo + (hi - lo) / 2;
    return lo;
  };
  const auto check = [&](i64 dx, i64 dy, i64 w) {
    const i128 l2 = static_cast<i128>(dx) * dx + static_cast<i128>(dy) * dy;
    const i128 ax = static_cast<i128>(w) * (dy < 0 ? -dy : dy), ay = static_cast<i128>(w) * (dx < 0 ? -dx : dx);
    const raster::TBodyOffsets o = raster::BodyOffsets(dx, dy, w);
    ASSERT_TRUE(o.N.x == greatest(ax, l2, 1) && o.N.y == greatest(ay, l2, 1) && o.V.x == greatest(ax, l2, 2) &&
                o.V.y == greatest(ay, l2, 2))
        << dx << "," << dy << " w " << w << ": " << o.N.x << "," << o.N.y << " " << o.V.x << "," << o.V.y;
  };
  for (int pass = 0; pass < 2; ++pass)
    for (const i64 w : {1, 2, 3, 4, 5, 7, 8, 13, 32, 64})
      for (i64 dx = 1; dx <= 40; ++dx)
        for (i64 dy = 1; dy <= 300; ++dy) {
          const i64 sx = (dy + pass) % 2 ? -1 : 1, sy = (dx + dy / 7) % 2 ? -1 : 1;
          check(sx * dx, sy * dy, w);
          check(sy * dy, sx * dx, w);
        }
  std::mt19937_64 rng(9);
  for (int n = 0; n < 20000; ++n) {
    const int bits = 1 + static_cast<int>(rng() % 32);  // past the kept directions' 2^24
    const auto coordinate = [&] { return static_cast<i64>(rng() % (std::uint64_t{1} << bits) + 1) * (rng() % 2 ? 1 : -1); };
    const i64 w = n % 5 == 0 ? 1 + static_cast<i64>(rng() % 1000000) : 1 + static_cast<i64>(rng() % 64);  // past 2^16
    const i64 dx = coordinate(), dy = coordinate();
    check(dx, dy, w);
    check(dx, dy, w);
  }
}

// The program's kind of line, but larger than the canvas tests' 40 x 40 pads: a history of
// noisy loads across a 400 x 150 plot, at one to three points a column (each segment a steep
// stroke most of the plot high), many points a column (runs), and a few points far apart; some
// points far off the plot. Batches of up to 512 points, as the fast line hands them over.
// A chart line's pen on a 400 x 150 pad, with no clip (0), a rectangle (1) or a polygon (2).
void LinePen(TCanvas& c, int width, TPenMode mode, int clip) {
  c.Pen().SetColor(static_cast<TColor>(0x00305070));
  c.Pen().SetWidth(width);
  c.Pen().SetMode(mode);
  if (clip == 1) c.SetClipRect(Rect(7, 5, 391, 140));
  if (clip == 2) c.SetClipPolygon(std::vector<TPoint>{Point(0, 75), Point(200, 0), Point(400, 75), Point(200, 150)}, ALTERNATE);
}

TEST(ColumnCover, ChartLinesMatchLineToOneByOne) {
  std::mt19937 rng(8);
  const auto r = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  const int widths[] = {2, 3, 4, 5, 8, 64};
  const TPenMode modes[] = {pmCopy, pmBlack, pmMerge, pmMask, pmNotCopy};
  for (int n = 0; n < 30; ++n) {
    const int perColumn[] = {1, 2, 3, 12};
    const int count = 400 * perColumn[n % 4] / (n % 8 < 4 ? 1 : 20);
    std::vector<TPoint> pts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      pts[static_cast<std::size_t>(i)] = Point(i * 400 / count, r(0, 149));
      if (r(0, 300) == 0) pts[static_cast<std::size_t>(i)].y = r(0, 1) ? 2000000000 : -1500000000;
    }
    test::TPad one(400, 150), all(400, 150);
    for (test::TPad* p : {&one, &all}) {
      LinePen(p->C(), widths[static_cast<std::size_t>(n % 6)], modes[static_cast<std::size_t>(n / 6 % 5)], n % 3);
      p->C().MoveTo(pts[0].x, pts[0].y);
    }
    for (std::size_t i = 1; i < pts.size(); ++i) one.C().LineTo(pts[i].x, pts[i].y);
    for (std::size_t i = 1; i < pts.size(); i += 512)
      all.C().PolylineTo(std::span<const TPoint>(pts).subspan(i, std::min<std::size_t>(512, pts.size() - i)));
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 400; ++x) ASSERT_EQ(all.Bmp.Pixel(x, y), one.Bmp.Pixel(x, y)) << "line " << n << " at " << x << "," << y;
  }
}

// A line drawn over a large fill that the canvas leaves for later (a chart's background) writes
// the fill's rows together with its own. Neither a frame drawn along the fill's edges first, nor
// a box and a text, nor
// a read of the picture between batches, nor a clip set after the fill, nor a pen that goes
// segment by segment changes a pixel: the picture equals the fill written straight into the
// pixels and then one LineTo a point.
// A line of a few points a column, close together and wandering a few rows from column to
// column, or anywhere in the column: the segment from one column's run to the next lies inside
// the two runs' blocks, or beyond them by a row or a column or more, at every width.
TEST(ColumnCover, SegmentsBetweenRunsMatchLineToOneByOne) {
  std::mt19937 rng(12);
  const auto r = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  for (int n = 0; n < 42; ++n) {
    const int width = 2 + n % 7;
    std::vector<TPoint> pts;
    int base = 75;
    for (int x = 0; x < 400; x += 1 + (n / 7 == 3 ? r(0, 2) : 0)) {
      base = std::clamp(base + r(-4, 4), 5, 145);
      for (int k = r(1, 4); k > 0; --k) pts.push_back(Point(x, n / 7 >= 4 ? r(0, 149) : base + r(-2, 2)));
    }
    test::TPad one(400, 150), all(400, 150);
    for (test::TPad* p : {&one, &all}) {
      LinePen(p->C(), width, pmCopy, n % 3);
      p->C().MoveTo(pts[0].x, pts[0].y);
    }
    for (std::size_t i = 1; i < pts.size(); ++i) one.C().LineTo(pts[i].x, pts[i].y);
    all.C().PolylineTo(std::span<const TPoint>(pts).subspan(1));
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 400; ++x) ASSERT_EQ(all.Bmp.Pixel(x, y), one.Bmp.Pixel(x, y)) << "line " << n << " at " << x << "," << y;
  }
}

TEST(ColumnCover, LinesOverALateFillMatchFillThenLineTo) {
  std::mt19937 rng(9);
  const auto r = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  const int widths[] = {1, 2, 3, 4, 5, 8};
  const TPenMode modes[] = {pmCopy, pmMerge, pmMask, pmNotCopy, pmXor};
  const TColor fill = static_cast<TColor>(0x00A0B0C0);  // red C0, green B0, blue A0
  const std::uint32_t fillWord = 0x00C0B0A0u;
  for (int n = 0; n < 36; ++n) {
    const int perColumn[] = {1, 2, 3, 12};
    const int count = 400 * perColumn[n % 4] / (n % 8 < 4 ? 1 : 20);
    std::vector<TPoint> pts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      pts[static_cast<std::size_t>(i)] = Point(i * 400 / count, r(-5, 154));
      if (r(0, 300) == 0) pts[static_cast<std::size_t>(i)].y = r(0, 1) ? 2000000000 : -1500000000;
    }
    const TRect box = n % 3 == 0 ? Rect(-20, -10, 420, 160) : Rect(r(0, 60), r(0, 30), r(300, 400), r(110, 150));
    test::TPad late(400, 150), once(400, 150);
    late.C().Brush().SetColor(fill);
    late.C().FillRect(box);
    for (int y = std::max(0, box.Top); y < std::min(150, box.Bottom); ++y)
      for (int x = std::max(0, box.Left); x < std::min(400, box.Right); ++x) once.Bmp.Data()[y * 400 + x] = fillWord;
    for (test::TPad* p : {&late, &once}) {
      if (n % 2 == 1) {  // a frame along the fill's edges, one pixel wide
        p->C().MoveTo(box.Left, box.Top);
        p->C().LineTo(box.Right - 1, box.Top);
        p->C().LineTo(box.Right - 1, box.Bottom - 1);
        p->C().LineTo(box.Left, box.Bottom - 1);
        p->C().LineTo(box.Left, box.Top);
      }
      if (n % 4 == 2) {  // a legend's box without a frame, and a text elsewhere
        p->C().Pen().SetStyle(psClear);
        p->C().Brush().SetColor(clWhite);
        p->C().Rectangle(Rect(300, 8, 380, 30));
        p->C().Pen().SetStyle(psSolid);
        p->C().Brush().SetStyle(bsClear);
        p->C().TextOut(40, 100, "CPU 42");
      }
      LinePen(p->C(), widths[static_cast<std::size_t>(n % 6)], modes[static_cast<std::size_t>(n / 6 % 5)], n % 3);
      p->C().MoveTo(pts[0].x, pts[0].y);
    }
    for (std::size_t i = 1; i < pts.size(); ++i) once.C().LineTo(pts[i].x, pts[i].y);
    for (std::size_t i = 1; i < pts.size(); i += 700) {
      late.C().PolylineTo(std::span<const TPoint>(pts).subspan(i, std::min<std::size_t>(700, pts.size() - i)));
      if (n % 5 == 0) (void)late.Bmp.Pixel(r(0, 399), r(0, 149));  // a reader between batches
    }
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 400; ++x) ASSERT_EQ(late.Bmp.Pixel(x, y), once.Bmp.Pixel(x, y)) << "line " << n << " at " << x << "," << y;
  }
}

}  // namespace
}  // namespace varnel
