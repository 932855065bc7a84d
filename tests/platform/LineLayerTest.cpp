// The line layer against one LineTo a point: whatever is drawn while a layer is open (many
// crossing one-pixel lines in many colours, lines that go back left, other pen modes and
// styles, clips that change between lines, points far outside, other drawing in between, the
// picture read or resized half-way) leaves the same picture as drawing each segment at once.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"

namespace varnel {
namespace {

struct TLine {
  TColor Color;
  TPenMode Mode;
  TPenStyle Style;
  int Width;
  std::vector<TPoint> Points;  // the first is the pen's start
  TRect Clip;                  // empty: no clip
  bool PolygonClip;
  int Between;                 // something else drawn before the line: 0 nothing, 1 a box, 2 text
};

void Prepare(TCanvas& c, const TLine& l) {
  if (l.PolygonClip) {
    const TPoint poly[] = {Point(l.Clip.Left, l.Clip.Bottom), Point(l.Clip.Right / 2, l.Clip.Top),
                           Point(l.Clip.Right, l.Clip.Bottom)};
    c.SetClipPolygon(poly, ALTERNATE);
  } else if (l.Clip.Right > l.Clip.Left) {
    c.SetClipRect(l.Clip);
  } else {
    c.ClearClip();
  }
  if (l.Between == 1) {
    c.Brush().SetColor(clYellow);
    c.FillRect(Rect(l.Points[0].x, 2, l.Points[0].x + 9, 11));
  }
  if (l.Between == 2) c.TextOut(l.Points[0].x, l.Points[0].y, "Ag");
  c.Pen().SetColor(l.Color);
  c.Pen().SetMode(l.Mode);
  c.Pen().SetStyle(l.Style);
  c.Pen().SetWidth(l.Width);
  c.MoveTo(l.Points[0].x, l.Points[0].y);
}

// Lines as a chart draws them (left to right, noisy, now and then a run down one column or a
// point far away), with now and then one that breaks the layer's conditions.
std::vector<TLine> RandomLines(std::mt19937& rng, int w, int h) {
  const auto r = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  std::vector<TLine> lines(static_cast<std::size_t>(r(1, 70)));
  for (TLine& l : lines) {
    l.Color = static_cast<TColor>(rng() & 0xFFFFFF);
    l.Mode = r(0, 12) == 0 ? (r(0, 1) ? pmXor : pmMask) : (r(0, 8) == 0 ? pmBlack : pmCopy);
    l.Style = r(0, 15) == 0 ? psDot : psSolid;
    l.Width = r(0, 20) == 0 ? 2 : r(0, 1);
    l.Clip = r(0, 3) == 0 ? Rect(r(-3, w / 2), r(-3, h / 2), r(w / 2, w + 3), r(h / 2, h + 3)) : TRect{};
    l.PolygonClip = r(0, 25) == 0;
    l.Between = r(0, 15) == 0 ? r(1, 2) : 0;
    const int n = r(1, 90);
    int x = r(-20, w / 3);
    int y = r(-5, h + 5);
    l.Points.push_back(Point(x, y));
    const bool backwards = r(0, 12) == 0;
    for (int i = 0; i < n; ++i) {
      x += backwards ? r(-6, 6) : r(0, 1) == 0 ? 0 : r(1, 12);
      y = r(0, 4) == 0 ? y + r(-2, 2) : r(-10, h + 10);
      if (r(0, 60) == 0) y = r(0, 1) ? 2000000000 : -2000000000;
      if (r(0, 80) == 0 && x < 100000000) x += r(0, 1) ? 1500000000 : 0;
      l.Points.push_back(Point(x, y));
    }
  }
  return lines;
}

void ExpectSamePicture(const TBitmap& want, const TBitmap& got, int trial) {
  ASSERT_EQ(want.Width(), got.Width());
  ASSERT_EQ(want.Height(), got.Height());
  for (int y = 0; y < want.Height(); ++y)
    for (int x = 0; x < want.Width(); ++x)
      ASSERT_EQ(want.Pixel(x, y), got.Pixel(x, y)) << "trial " << trial << " at " << x << "," << y;
}

TEST(LineLayer, LinesDrawnInALayerMatchLineToOneByOne) {
  std::mt19937 rng(4242);
  for (int trial = 0; trial < 250; ++trial) {
    const int w = 1 + static_cast<int>(rng() % 220), h = 1 + static_cast<int>(rng() % 130);
    const std::vector<TLine> lines = RandomLines(rng, w, h);
    const int blocks = 1 + static_cast<int>(rng() % 4);  // a chart hands its points over in blocks
    const int readAt = static_cast<int>(rng() % lines.size());
    TBitmap want(w, h), got(w, h);
    {
      TLineLayer layer(got.Canvas());
      for (int k = 0; k < static_cast<int>(lines.size()); ++k) {
        const TLine& l = lines[static_cast<std::size_t>(k)];
        Prepare(want.Canvas(), l);
        for (std::size_t i = 1; i < l.Points.size(); ++i) want.Canvas().LineTo(l.Points[i].x, l.Points[i].y);
        Prepare(got.Canvas(), l);
        std::span<const TPoint> rest(l.Points.data() + 1, l.Points.size() - 1);
        const std::size_t step = rest.size() / static_cast<std::size_t>(blocks) + 1;
        while (!rest.empty()) {
          const std::size_t n = std::min(step, rest.size());
          got.Canvas().PolylineTo(rest.first(n));
          rest = rest.subspan(n);
        }
        if (k == readAt) {
          // Reading the picture through the canvas half-way sees every line drawn so far.
          got.Canvas().ClearClip();
          for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(got.Canvas().GetPixel(x, y), want.Pixel(x, y)) << "trial " << trial;
        }
      }
    }
    ExpectSamePicture(want, got, trial);
    if (HasFatalFailure()) return;
  }
}

TEST(LineLayer, ManyLinesPaintInBatchesAndNestedLayersCloseOnce) {
  // More column intervals than a layer holds at once, over a large fill: it paints in batches,
  // with the same result.
  const int w = 2100, h = 40;
  TBitmap want(w, h), got(w, h);
  std::mt19937 rng(9);
  std::vector<std::pair<TPoint, TPoint>> lines;
  for (int i = 0; i < 300; ++i)
    lines.push_back({Point(-5, static_cast<int>(rng() % h)), Point(w + 5, static_cast<int>(rng() % h))});
  // Over a plain fill of the whole picture, as a chart's lines lie over its background.
  for (TBitmap* bmp : {&want, &got}) {
    bmp->Canvas().Brush().SetColor(clTeal);
    bmp->Canvas().FillRect(Rect(0, 0, w, h));
  }
  for (auto [a, b] : lines) {
    want.Canvas().Pen().SetColor(static_cast<TColor>(a.y * 977 + b.y));
    want.Canvas().MoveTo(a.x, a.y);
    want.Canvas().LineTo(b.x, b.y);
  }
  {
    TLineLayer outer(got.Canvas());
    TLineLayer inner(got.Canvas());
    for (auto [a, b] : lines) {
      got.Canvas().Pen().SetColor(static_cast<TColor>(a.y * 977 + b.y));
      got.Canvas().MoveTo(a.x, a.y);
      const TPoint end[] = {b};
      got.Canvas().PolylineTo(end);
    }
  }
  ExpectSamePicture(want, got, 0);
}

TEST(LineLayer, APictureResizedUnderAnOpenLayerTakesWhatFits) {
  TBitmap bmp(300, 200);
  {
    TLineLayer layer(bmp.Canvas());
    bmp.Canvas().MoveTo(0, 150);
    const TPoint pts[] = {Point(290, 190), Point(299, 0)};
    bmp.Canvas().PolylineTo(pts);
    bmp.SetSize(40, 30);
  }
  // Painted where the lines fall inside the smaller picture, nowhere else (the sanitizers watch
  // the writes).
  TBitmap want(40, 30);
  want.Canvas().MoveTo(0, 150);
  want.Canvas().LineTo(290, 190);
  want.Canvas().LineTo(299, 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) EXPECT_EQ(bmp.Pixel(x, y) == clBlack, want.Pixel(x, y) == clBlack);
}

}  // namespace
}  // namespace varnel
