// The fast line series: its move-to/line-to sequence (through the canvas trace), the entry from
// the point before the first visible one, the pen and colour kept together, the hit test, the
// legend symbol, and differential checks of its pixels against a plain polyline and, for bad
// values and pens, against one LineTo a point.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

#include "chart/Chart.h"
#include "platform/BitmapHost.h"
#include "series/FastLineSeries.h"

namespace varnel {
namespace {

// A 2D chart with plot (0, 0, 100, 100) and both axes 0..100: the point (x, y) is drawn at pixel
// (x, 100 - y).
struct LineFixture {
  TBitmapHost host{200, 200};
  TChart chart;
  TFastLineSeries line;
  TCanvasTrace trace;
  LineFixture() {
    chart.SetHost(&host);
    chart.SetView3D(false);
    line.SetParentChart(&chart);
    line.SetSeriesColor(clMaroon);
    Layout(0, 100, 0, 100);
  }
  void Layout(double xMin, double xMax, double yMin, double yMax, TRect plot = Rect(0, 0, 100, 100)) {
    chart.SetPlotRect(plot);
    chart.BottomAxis().SetRange(xMin, xMax);
    chart.BottomAxis().AdjustRange();
    chart.LeftAxis().SetRange(yMin, yMax);
    chart.LeftAxis().AdjustRange();
  }
  TCanvas& Canvas() { return host.Surface().Canvas(); }
  void Draw() {
    Canvas().SetTrace(&trace);
    line.DrawAllPoints();
    Canvas().SetTrace(nullptr);
  }
  // Points first .. last as the axes map them, a pixel repeated in a row kept once: what the
  // line must hand the canvas.
  std::vector<TPoint> Mapped(int first, int last) {
    std::vector<TPoint> want;
    for (int i = first; i <= last; ++i) {
      const TPoint p{line.XPixelOf(i), line.YPixelOf(i)};
      if (want.empty() || !(want.back() == p)) want.push_back(p);
    }
    return want;
  }
  // The points the last Draw handed the canvas.
  std::vector<TPoint> Traced() const {
    std::vector<TPoint> got;
    for (const auto& call : trace.Calls) got.push_back(TPoint{call.Args[0], call.Args[1]});
    return got;
  }
};

TEST(FastLine, Defaults) {
  TFastLineSeries s;
  EXPECT_TRUE(s.IncludeEdgePoint());
  EXPECT_FALSE(s.DrawsSinglePoint());
  EXPECT_EQ(s.LinePen().Color(), clBlack);
  EXPECT_EQ(s.LinePen().Width(), 1);
  EXPECT_TRUE(s.LinePen().Visible());
}

TEST(FastLine, SkipsSegmentsEndingOnThePreviousPixel) {
  LineFixture f;
  f.line.LinePen().SetWidth(2);
  f.line.AppendXY(10, 50, "", clAutoColor);
  f.line.AppendXY(20, 60, "", clAutoColor);
  f.line.AppendXY(20, 60, "", clAutoColor);
  f.line.FindVisibleRange();
  ASSERT_EQ(f.line.FirstShownIndex(), 0);
  f.Draw();
  ASSERT_EQ(f.trace.Ops(), (std::vector<std::string>{"MoveTo", "LineTo"}));
  EXPECT_EQ(f.trace.Calls[0].Args, (std::vector<int>{10, 50}));
  EXPECT_EQ(f.trace.Calls[1].Args, (std::vector<int>{20, 40}));
  EXPECT_EQ(f.trace.Calls[1].PenColor, clMaroon);
  EXPECT_EQ(f.trace.Calls[1].PenWidth, 2);
}

TEST(FastLine, EntersFromThePointBeforeTheFirstVisibleOne) {
  LineFixture f;
  for (int i = 0; i < 10; ++i) f.line.AppendY(i * 10);
  f.line.SetShownRange(5, 7);
  f.Draw();
  ASSERT_EQ(f.trace.Ops(), (std::vector<std::string>{"MoveTo", "LineTo", "LineTo", "LineTo"}));
  EXPECT_EQ(f.trace.Calls[0].Args, (std::vector<int>{4, 60}));
  EXPECT_EQ(f.trace.Calls[1].Args, (std::vector<int>{5, 50}));
  EXPECT_EQ(f.trace.Calls[3].Args, (std::vector<int>{7, 30}));
  // One point draws nothing but the pen position.
  f.trace.Clear();
  f.line.Clear();
  f.line.AppendY(50);
  f.line.FindVisibleRange();
  f.Draw();
  EXPECT_EQ(f.trace.Ops(), (std::vector<std::string>{"MoveTo"}));
}

TEST(FastLine, PointsDrawnOneByOneContinueTheirOwnLine) {
  LineFixture f;
  for (int i = 0; i < 3; ++i) f.line.AppendY(i * 10);
  f.line.SetShownRange(0, 2);
  f.Canvas().SetTrace(&f.trace);
  for (int i = 0; i <= 2; ++i) {
    f.line.DrawPoint(i);
    f.Canvas().MoveTo(99, 99);  // another series drawing in between
  }
  f.Canvas().SetTrace(nullptr);
  std::vector<std::vector<int>> lines;
  for (const auto& c : f.trace.Calls)
    if (c.Op == "LineTo") {
      EXPECT_EQ(c.PenColor, clMaroon);
      lines.push_back(c.Args);
    }
  EXPECT_EQ(lines, (std::vector<std::vector<int>>{{1, 90}, {2, 80}}));
  EXPECT_EQ(f.trace.Calls[2].Op, "MoveTo");  // back to its own last pixel
  EXPECT_EQ(f.trace.Calls[2].Args, (std::vector<int>{0, 100}));
}

TEST(FastLine, PenAndSeriesColourStayTogether) {
  LineFixture f;
  int before = f.host.InvalidateCount();
  f.line.SetSeriesColor(clRed);
  EXPECT_EQ(f.line.LinePen().Color(), clRed);
  EXPECT_GT(f.host.InvalidateCount(), before);

  TChartPen blue;
  blue.SetColor(clBlue);
  blue.SetWidth(3);
  blue.SetVisible(false);
  before = f.host.InvalidateCount();
  f.line.SetLinePen(blue);
  EXPECT_EQ(f.line.SeriesColor(), clBlue);
  EXPECT_EQ(f.line.LinePen().Width(), 3);
  EXPECT_FALSE(f.line.LinePen().Visible());
  EXPECT_GT(f.host.InvalidateCount(), before);

  // A colour given to the pen itself only repaints: the line keeps the series colour.
  before = f.host.InvalidateCount();
  f.line.LinePen().SetColor(clGreen);
  EXPECT_EQ(f.line.SeriesColor(), clBlue);
  EXPECT_GT(f.host.InvalidateCount(), before);

  // A hidden pen still draws: the fast line uses only its attributes.
  f.line.AppendY(10);
  f.line.AppendY(20);
  f.line.FindVisibleRange();
  f.Draw();
  ASSERT_EQ(f.trace.Ops(), (std::vector<std::string>{"MoveTo", "LineTo"}));
  EXPECT_EQ(f.trace.Calls[1].PenColor, clBlue);
  EXPECT_EQ(f.trace.Calls[1].PenWidth, 3);
}

TEST(FastLine, AssignCopiesTheLinePen) {
  TFastLineSeries a, b;
  a.LinePen().SetWidth(2);
  a.SetSeriesColor(clNavy);
  a.AppendY(3);
  b.Assign(a);
  EXPECT_EQ(b.LinePen().Width(), 2);
  EXPECT_EQ(b.SeriesColor(), clNavy);
  EXPECT_EQ(b.LinePen().Color(), clNavy);
  EXPECT_EQ(b.Count(), 1);
}

TEST(FastLine, PointAtPixelFindsPointsAndSegments) {
  LineFixture f;
  EXPECT_EQ(f.line.PointAtPixel(10, 50), -1);  // nothing shown
  f.line.AppendXY(10, 50, "", clAutoColor);   // pixel (10, 50)
  f.line.AppendXY(20, 60, "", clAutoColor);   // pixel (20, 40)
  f.line.AppendXY(40, 60, "", clAutoColor);   // pixel (40, 40)
  f.line.FindVisibleRange();
  EXPECT_EQ(f.line.PointAtPixel(10, 50), 0);
  EXPECT_EQ(f.line.PointAtPixel(20, 40), 1);
  EXPECT_EQ(f.line.PointAtPixel(15, 45), 0);  // on the first segment
  EXPECT_EQ(f.line.PointAtPixel(30, 40), 1);  // on the horizontal one
  EXPECT_EQ(f.line.PointAtPixel(15, 50), -1);
  EXPECT_EQ(f.line.PointAtPixel(45, 40), -1);  // beyond the end
  EXPECT_EQ(f.line.PointAtPixel(30, 41), -1);
}

TEST(FastLine, LegendSymbolIsALineAcrossTheBox) {
  LineFixture f;
  f.line.LinePen().SetWidth(2);
  f.Canvas().SetTrace(&f.trace);
  f.line.DrawLegendSymbol(-1, Rect(4, 10, 31, 21));
  f.Canvas().SetTrace(nullptr);
  ASSERT_EQ(f.trace.Ops(), (std::vector<std::string>{"MoveTo", "LineTo"}));
  EXPECT_EQ(f.trace.Calls[0].Args, (std::vector<int>{4, 15}));
  EXPECT_EQ(f.trace.Calls[1].Args, (std::vector<int>{31, 15}));
  EXPECT_EQ(f.trace.Calls[1].PenColor, clMaroon);
  EXPECT_EQ(f.trace.Calls[1].PenWidth, 2);
}

// The pass maps values itself; on seeded random data, ranges, inverted axes and a depth shift its
// move-to and line-to points are exactly XPixelOf/YPixelOf of the points, repeats taken out.
TEST(FastLine, PassPointsEqualTheSeriesPixels) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    LineFixture f;
    const int n = 2 + static_cast<int>(rng() % 300);
    for (int i = 0; i < n; ++i) f.line.AppendY(static_cast<double>(static_cast<int>(rng() % 20001) - 10000) / 37.0);
    const double from = static_cast<double>(rng() % static_cast<unsigned>(n)) - 0.5 * (rng() % 3);
    const double to = from + 0.25 + static_cast<double>(rng() % static_cast<unsigned>(n));
    f.chart.BottomAxis().SetInverted(rng() % 2 == 0);
    f.chart.LeftAxis().SetInverted(rng() % 2 == 0);
    f.Layout(from, to, -300, 250 + static_cast<double>(rng() % 100) / 3.0, Rect(3, 7, 3 + static_cast<int>(rng() % 500), 400));
    if (rng() % 2) {
      f.chart.SetView3D(true);
      f.chart.SetDepthOffsets(5, 4, 0, 0);
      f.line.SetDepthLevel(static_cast<int>(rng() % 3));
    }
    f.line.LinePen().SetMode(pmXor);  // a pen that is given every point
    f.line.FindVisibleRange();
    if (f.line.FirstShownIndex() < 0) continue;
    f.Draw();
    const std::vector<TPoint> want = f.Mapped(std::max(0, f.line.FirstShownIndex() - 1), f.line.LastShownIndex());
    for (std::size_t k = 0; k < f.trace.Calls.size(); ++k) ASSERT_EQ(f.trace.Calls[k].Op, k == 0 ? "MoveTo" : "LineTo");
    ASSERT_EQ(f.Traced(), want) << "round " << round;
  }
}

// Lines drawn one after another with the same X values (a chart's lines of the cores) and with
// X values, axes, plots or depth shifts that differ in one thing from the line before: each
// line's points are still its own XPixelOf/YPixelOf.
TEST(FastLine, LinesSharingTheirXValuesKeepTheirOwnPixels) {
  std::mt19937 rng(31);
  std::vector<double> xs;
  for (int i = 0; i < 61; ++i) xs.push_back(i * 1.0);
  for (int round = 0; round < 120; ++round) {
    LineFixture f;
    std::vector<double> x = xs;
    switch (round % 6) {
      case 1: x[static_cast<std::size_t>(rng() % x.size())] += 0.5; break;  // one value apart
      case 2: x[static_cast<std::size_t>(rng() % x.size())] = 1e300; break;  // one far outside
      case 3: f.chart.BottomAxis().SetInverted(true); break;
      case 4: f.chart.SetView3D(true), f.chart.SetDepthOffsets(5, 4, 0, 0), f.line.SetDepthLevel(1); break;
      default: break;
    }
    for (double v : x) f.line.AppendXY(v, static_cast<double>(rng() % 101), "", clAutoColor);
    // Plots of a few widths, so that neighbouring rounds share some mappings and not others.
    f.Layout(0, 60, 0, 100, Rect(2, 3, 2 + 321 + static_cast<int>(round / 6 % 3), 180));
    f.line.SetShownRange(0, f.line.Count() - 1);
    f.Draw();
    const std::vector<TPoint> want = f.Mapped(0, f.line.Count() - 1), got = f.Traced();
    ASSERT_EQ(got, want) << "round " << round;
  }
}

// An automatic axis over values that are all the same spans no range: the axis puts every point
// on the plot's centre line, and so must the line.
TEST(FastLine, AFlatAutomaticAxisDrawsOnTheCentre) {
  LineFixture f;
  for (int i = 0; i < 600; ++i) f.line.AppendY(42);
  f.chart.LeftAxis().SetAutomatic(true);
  f.chart.LeftAxis().AdjustRange();
  f.line.SetShownRange(0, f.line.Count() - 1);
  f.Draw();
  ASSERT_FALSE(f.trace.Calls.empty());
  for (const auto& call : f.trace.Calls) EXPECT_EQ(call.Args[1], f.line.YPixelOf(0)) << call.Op << " " << call.Args[0];
  EXPECT_EQ(f.line.YPixelOf(0), 50);  // the centre of the 0..100 plot
}

// Values that land halfway between two pixels (or a rounding error away) must round as the axis
// rounds them.
TEST(FastLine, HalfwayValuesRoundLikeTheAxis) {
  const struct {
    int width;
    double range;
  } cases[] = {{100, 1000}, {7, 30}, {1920, 86399}, {333, 0.1}, {64, 3}};
  for (const auto& c : cases) {
    LineFixture f;
    for (int k = 0; k < 400; ++k) f.line.AppendXY((k * 0.5) * c.range / c.width, (k % 7) * 0.5, "", clAutoColor);
    f.Layout(0, c.range, 0, 3, Rect(0, 0, c.width, 6));
    f.line.SetShownRange(0, f.line.Count() - 1);
    f.Draw();
    const std::vector<TPoint> want = f.Mapped(0, f.line.Count() - 1), got = f.Traced();
    EXPECT_EQ(got, want) << c.width << " px for " << c.range;
  }
}

// The pixel points the line runs through: from the point before the first visible one (the
// line to the first visible one is drawn even where it has no length), with later repeats
// taken out.
std::vector<TPoint> PixelPath(const TFastLineSeries& line) {
  std::vector<TPoint> points;
  const int first = line.FirstShownIndex();
  for (int i = std::max(0, first - 1); i <= line.LastShownIndex(); ++i) {
    const TPoint p{line.XPixelOf(i), line.YPixelOf(i)};
    if (points.empty() || !(points.back() == p) || i == first) points.push_back(p);
  }
  return points;
}

// On seeded random and adversarial data (noisy, a few levels, levels jittered within a pixel,
// saw teeth whose extreme comes last or first in a column, spikes, NaN and huge values, X out of
// order) and a random part of it in view, with dozens to hundreds of points a pixel column, the
// fast line paints exactly what one LineTo a point paints through the axes' own pixels: pens 1
// to 8 wide, solid, dashed and inside-frame, in modes that paint once and in modes that do not,
// inverted and logarithmic axes, a depth shift, and a clip.
TEST(FastLine, PaintsThePixelsOfItsSegmentsOneByOne) {
  std::mt19937 rng(20240611);
  const auto uniform = [&](double lo, double hi) { return lo + (hi - lo) * (static_cast<double>(rng()) / 4294967296.0); };
  const TPenMode modes[] = {pmCopy, pmCopy, pmMask, pmMerge, pmXor, pmNot, pmNotXor};
  const TPenStyle styles[] = {psSolid, psSolid, psSolid, psDash, psDot, psInsideFrame};
  const double pixel = 100.0 / 140;  // a pixel of the plot's height in values
  for (int round = 0; round < 180; ++round) {
    LineFixture f;
    const int shape = round % 9;
    const bool log = round % 11 == 3 && shape != 5;
    int n = 50 + static_cast<int>(rng() % (round % 4 == 0 ? 400 : round % 4 == 1 ? 60000 : 12000));
    if (shape == 7) f.line.XValues().SetOrder(loNone);
    if (shape == 8) n = 3000 + static_cast<int>(rng() % 9000);
    double y = 50;
    for (int i = 0; i < n; ++i) {
      switch (shape) {
        case 0: y = std::clamp(y + static_cast<double>(static_cast<int>(rng() % 21) - 10) * 0.7, 0.0, 100.0); break;
        case 1: y = uniform(0, 100); break;
        case 2: y = static_cast<double>(rng() % 4) * 25; break;
        case 3: y = 50 + (static_cast<double>(rng() % 3) + uniform(-0.3, 0.3)) * pixel; break;
        case 4: y = (i / 200) % 2 ? 10 + (i % 23) * 3.5 : 90 - (i % 31) * 2.5; break;  // saw teeth
        case 5: {
          const unsigned pick = rng() % 100;
          y = pick < 3 ? std::nan("") : pick < 4 ? 1e300 : pick < 5 ? -1e12 : pick < 6 ? 1e-300 : uniform(0, 100);
          break;
        }
        case 6: y = rng() % 97 == 0 ? uniform(0, 100) : 50; break;  // a flat line with spikes
        case 7: y = uniform(0, 100); break;
        default:  // noise, and at the end a fall to the lowest point, repeated, reached twice or within a pixel
          y = i < n - 60 ? uniform(0, 100) : 90 - (i - (n - 60)) * 1.3;
          if (round % 4 == 1 && i >= n - 3) y = 90 - 56 * 1.3;
          if (round % 4 == 2 && i >= n - 20 && i < n - 10) y = 90 - 59 * 1.3;
          if (round % 4 == 3 && i == n - 1) y = 90 - 58 * 1.3 - uniform(0, 0.3) * pixel;
          if (round / 36 % 2) y = 100 - y;  // or a rise to the highest
      }
      if (log) y = 1 + std::fabs(y) * 9;
      if (shape == 7) {  // X out of order, or in order but not numbered; Y following X
        const double x = round % 2 ? i + uniform(-40, 40) : i * 1.25 - 0.1;
        f.line.AppendXY(x, 50 + 45 * std::sin(x * 0.02), "", clAutoColor);
      }
      else
        f.line.AppendY(y);
    }
    const double from = static_cast<double>(rng() % static_cast<unsigned>(shape == 8 ? 100 : n / 2)) + 0.5;
    // The view ends at the last point now and then, so that the line ends in a full column.
    const double to = shape == 8 || round % 7 == 0 ? n - 1 : from + 10 + static_cast<double>(rng() % static_cast<unsigned>(n));
    f.chart.BottomAxis().SetInverted(rng() % 4 == 0);
    f.chart.LeftAxis().SetInverted(rng() % 4 == 0);
    f.chart.LeftAxis().SetLogarithmic(log);
    f.Layout(from, to, log ? 1 : 0, log ? 1000 : 100, Rect(10, 10, 190, 150));
    if (round % 5 == 2) {
      f.chart.SetView3D(true);
      f.chart.SetDepthOffsets(5, 4, 0, 0);
      f.line.SetDepthLevel(1 + static_cast<int>(rng() % 2));
    }
    f.line.LinePen().SetWidth(shape == 8 ? 1 : 1 + static_cast<int>(rng() % 8));
    f.line.LinePen().SetMode(shape == 8 ? pmCopy : modes[rng() % std::size(modes)]);
    f.line.LinePen().SetStyle(shape == 8 ? psSolid : styles[rng() % std::size(styles)]);
    f.line.FindVisibleRange();
    ASSERT_GE(f.line.FirstShownIndex(), 0);
    const bool clip = round % 3 == 1;
    const auto prepare = [&](TCanvas& c) {
      c.Brush().SetColor(static_cast<TColor>(0x00A0B0C0));
      c.FillRect(Rect(0, 0, 200, 200));
      if (clip) c.SetClipRect(Rect(25, 18, 170, 131));
    };
    prepare(f.Canvas());
    f.line.DrawAllPoints();

    TBitmap reference;
    reference.SetSize(200, 200);
    TCanvas& c = reference.Canvas();
    prepare(c);
    c.Pen().SetColor(clMaroon);
    c.Pen().SetWidth(f.line.LinePen().Width());
    c.Pen().SetMode(f.line.LinePen().Mode());
    c.Pen().SetStyle(f.line.LinePen().Style());
    const std::vector<TPoint> points = PixelPath(f.line);
    c.MoveTo(points[0].x, points[0].y);
    for (std::size_t i = 1; i < points.size(); ++i) c.LineTo(points[i].x, points[i].y);
    int painted = 0;
    for (int py = 0; py < 200; ++py)
      for (int px = 0; px < 200; ++px) {
        const TColor want = c.GetPixel(px, py);
        ASSERT_EQ(f.Canvas().GetPixel(px, py), want) << "round " << round << " at " << px << "," << py << " pen " << c.Pen().Width() << " mode " << c.Pen().Mode();
        painted += want != static_cast<TColor>(0x00A0B0C0);
      }
    if (f.line.LinePen().Mode() == pmCopy) {
      EXPECT_GT(painted, 20) << "round " << round;
    }
  }
}

// A dense line with a pen that paints each pixel the same however often is handed to the canvas
// as at most four points a pixel column (first, two extremes, last), all of them points of the
// line; a pen that does not (XOR) gets every point.
TEST(FastLine, DenseColumnsAreHandedOverAsTheirEndsAndExtremes) {
  std::mt19937 rng(5);
  for (const TPenMode mode : {pmCopy, pmXor}) {
    LineFixture f;
    for (int i = 0; i < 5000; ++i) f.line.AppendY(static_cast<double>(rng() % 1001) / 10);
    f.Layout(0, 4999, 0, 100);
    f.line.LinePen().SetMode(mode);
    f.line.FindVisibleRange();
    f.Draw();
    const std::vector<TPoint> path = PixelPath(f.line), got = f.Traced();
    if (mode == pmXor) {
      EXPECT_EQ(got, path);
      continue;
    }
    // (a column split between two blocks of points is handed over as two runs)
    EXPECT_LE(got.size(), 4u * (101 + 5000 / 256 + 1));
    EXPECT_EQ(got.front(), path.front());
    EXPECT_EQ(got.back(), path.back());
    for (const TPoint& p : got) EXPECT_NE(std::find(path.begin(), path.end(), p), path.end()) << p.x << "," << p.y;
  }
}

// Values that are not numbers, infinite or far off the axis, with pens from nothing to a million
// pixels wide: the batched pass paints what one LineTo a point at the series' own pixels paints
// (the reference), finishes, and writes nothing outside the bitmap (the sanitizer build checks
// the memory).
TEST(FastLine, BadValuesAndPensPaintWhatOneLineToAPointPaints) {
  const double inf = std::numeric_limits<double>::infinity();
  const double bad[] = {std::nan(""), inf, -inf, 1e300, -1e300, 1e12, -3e9, DBL_MAX, -DBL_MAX, 4.9e-324, 100.0, 0.0};
  std::mt19937 rng(1998);
  for (const int width : {0, 2, 64, 65, 1000000}) {  // none, the program's, either side of the chain's limit, huge
    for (int round = 0; round < 3; ++round) {
      LineFixture f;
      const int n = 700;  // several of the pass's blocks
      for (int i = 0; i < n; ++i)
        f.line.AppendY(rng() % 3 == 0 ? bad[rng() % std::size(bad)] : static_cast<double>(rng() % 101));
      f.line.LinePen().SetWidth(width);
      // The plot inside the bitmap, then over its edges, then far beyond them.
      const TRect plots[] = {Rect(10, 10, 190, 150), Rect(-50, -20, 260, 230), Rect(-(1 << 30), 5, 1 << 30, 195)};
      f.Layout(0, n - 1, 0, 100, plots[round]);
      f.line.FindVisibleRange();
      ASSERT_GE(f.line.FirstShownIndex(), 0);
      TCanvas& c = f.Canvas();
      c.Brush().SetColor(clWhite);
      c.FillRect(Rect(0, 0, 200, 200));
      f.line.DrawAllPoints();

      TBitmap reference(200, 200);
      TCanvas& r = reference.Canvas();
      r.Brush().SetColor(clWhite);
      r.FillRect(Rect(0, 0, 200, 200));
      r.Pen().SetColor(clMaroon);
      r.Pen().SetWidth(width);
      TPoint last{f.line.XPixelOf(0), f.line.YPixelOf(0)};
      r.MoveTo(last.x, last.y);
      for (int i = 1; i < n; ++i) {
        const TPoint p{f.line.XPixelOf(i), f.line.YPixelOf(i)};
        if (p == last) continue;  // the series leaves out a segment that ends where it starts
        r.LineTo(p.x, p.y);
        last = p;
      }
      for (int py = 0; py < 200; ++py)
        for (int px = 0; px < 200; ++px)
          ASSERT_EQ(c.GetPixel(px, py), r.GetPixel(px, py)) << "width " << width << ", round " << round << " at " << px
                                                            << "," << py;
    }
  }
}

}  // namespace
}  // namespace varnel
