// TMeter::Paint: the gauge's picture, composed in the off-screen bitmap in a fixed order (dial
// background, scale arc, short and labelled ticks with labels, caption, needle shadow and
// needle, cover strips, pivot cover and inner bevel, the two lamps, the outer frame): the part
// under the needle in a bitmap kept between paints, copied onto the host's window surface, the
// rest drawn there on top of it.
//
// Angles are degrees counterclockwise from the positive x axis with y pointing up; the point at
// angle t and radius r is (Round(cx + r cos t), Round(cy - r sin t)).
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <numbers>
#include <utility>

#include "base/Numbers.h"
#include "gauge/Meter.h"
#include "gauge/TickSteps.h"
#include "platform/ControlHost.h"
#include "platform/canvas/Canvas.h"

namespace varnel {

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;
// Upper bounds on the tick loops. A scale has at most about 2.5 x 21 + 2 labels; the bounds
// only matter for ranges finer than the resolution of their own end values.
constexpr int kMaxLabelTicks = 200;
constexpr int kMaxShortTicks = 1000;
// The largest rim or needle size (pixels, either sign) that is drawn.
constexpr int kMaxExtent = 1 << 20;

void SetPen(TCanvas& c, TColor color) { c.Pen().SetColor(ColorToRGB(color)); }
void SetBrush(TCanvas& c, TColor color) { c.Brush().SetColor(ColorToRGB(color)); }

}  // namespace

TPoint TMeterGeometry::At(double degrees, double r) const {
  const double t = degrees * kDegToRad;
  return TPoint{RoundInt(cx + r * std::cos(t)), RoundInt(cy - r * std::sin(t))};
}

// A needle at a value: length R - 4, arrow head of headSize at headAngle, body `thickness` wide
// meeting the head headMid behind the tip.
// `gap`: the tip's distance inside the scale (4 pixels at 96 per inch).
static std::array<TPoint, 7> NeedlePolygon(const TMeterGeometry& g, double value, int gap, int thickness, int headSize,
                                           int headMid, int headAngle) {
  const double a = g.Angle(value) * kDegToRad;
  const double L = g.R - gap;
  const double cx = g.cx, cy = g.cy;
  const int tx = RoundInt(cx + L * std::cos(a)), ty = RoundInt(cy - L * std::sin(a));
  const double h = headAngle * kDegToRad;
  const double hs = headSize, hm = headMid;
  const double dx = std::sin(a) * thickness * 0.5, dy = std::cos(a) * thickness * 0.5;
  return {
      TPoint{RoundInt(tx - std::cos(a + h / 2) * hs), RoundInt(ty + std::sin(a + h / 2) * hs)},
      TPoint{tx, ty},
      TPoint{RoundInt(tx - std::cos(a - h / 2) * hs), RoundInt(ty + std::sin(a - h / 2) * hs)},
      TPoint{RoundInt(tx - dx - std::cos(a) * hm), RoundInt(ty - dy + std::sin(a) * hm)},
      TPoint{RoundInt(cx - dx), RoundInt(cy - dy)},
      TPoint{RoundInt(cx + dx), RoundInt(cy + dy)},
      TPoint{RoundInt(tx + dx - std::cos(a) * hm), RoundInt(ty + dy + std::sin(a) * hm)},
  };
}

TMeterGeometry TMeter::ComputeGeometry(int W, int H) const {
  TMeterGeometry g;
  g.W = W;
  g.H = H;
  g.Min = FMeterMinValue;
  g.Max = FMeterMaxValue;
  // Rims and needle sizes take any int; beyond a million pixels the dial cannot be on any
  // screen and the pixel arithmetic below could overflow, so such a gauge is not drawn.
  const TNeedleLayout& n = FNeedleLayout;
  for (int v : {FRimBottom, FRimTop, FRimSide, n.AnchorSize(), n.HeadSize(), n.HeadMidLeng(), n.Thickness(),
                n.ShadowDx(), n.ShadowDy()})
    if (v < -kMaxExtent || v > kMaxExtent) return g;
  // The room around the dial is pixels at 96 per inch.
  const int p8 = FPixelScale.Px(8), p16 = FPixelScale.Px(16);
  g.cx = W / 2;
  g.cy = H - FRimBottom - p8;

  // Radius by layout; W * 0.5 is a floating-point half, not cx.
  g.R = static_cast<double>(H) - FRimBottom - FRimTop - p16;
  const double halfRoom = W * 0.5 - FRimSide - p8;
  switch (FMeterLayout) {
    case mlCirc90:
      g.S = 90.0;
      g.R = std::min(g.R, halfRoom * 1.414);
      break;
    case mlCirc120:
      g.S = 120.0;
      g.R = std::min(g.R, halfRoom * 1.1547);
      break;
    case mlCirc180:
      g.S = 180.0;
      g.R = std::min(static_cast<double>(g.cx) - FRimSide - p8, static_cast<double>(H) - FRimTop - FRimBottom - p16);
      break;
  }
  g.Ri = RoundInt(g.R);
  // A range that is empty or reversed (possible only from loading) has no scale to draw, and a
  // dial without room is not drawn at all.
  g.Paintable = W > 0 && H > 0 && g.R > 0.0 && g.Max > g.Min && std::isfinite(g.Max - g.Min);
  if (!g.Paintable) return g;

  g.Needle = NeedlePolygon(g, FValue, FPixelScale.Px(4), n.Thickness(), n.HeadSize(), n.HeadMidLeng(), n.HeadAngle());
  if (FSecondValue) {
    const double v = std::clamp(*FSecondValue, g.Min, g.Max);
    g.SecondNeedle = NeedlePolygon(g, v, FPixelScale.Px(4), std::max(1, n.Thickness() / 2), n.HeadSize() * 2 / 3,
                                   n.HeadMidLeng() * 2 / 3, n.HeadAngle());
  }
  return g;
}

TMeter::TScaleKey TMeter::ScaleKey(const TMeterGeometry& g) const {
  TScaleKey k;
  k.W = g.W, k.H = g.H, k.cx = g.cx, k.cy = g.cy, k.Ri = g.Ri;
  k.R = g.R, k.S = g.S, k.Min = g.Min, k.Max = g.Max;
  k.BakG = ColorToRGB(FColorBakG), k.Scale = ColorToRGB(FColorScale), k.FontColor = ColorToRGB(FFont.Color());
  k.FontName = FFont.Name(), k.FontHeight = FFont.Height(), k.FontPpi = FFont.PixelsPerInch();
  k.FontOrientation = FFont.Orientation(), k.FontStyle = FFont.Style(), k.Ppi = FPixelScale.PixelsPerInch();
  k.ContrastText = FContrastText;
  k.Caption = FCaption;
  k.DecPlaces = FMeterDecPlaces, k.NrTicks = FMeterNrTicks, k.Layout = FMeterLayout;
  k.ShortTicks = FMeterShortTicks, k.ScaleLine = FMeterScaleLine;
  return k;
}

void TMeter::ResetCanvas(TCanvas& c) {
  c.SetTrace(FPaintTrace);
  c.ClearClip();
  c.SetTextAlign(TA_LEFT | TA_TOP);
  c.Pen().SetWidth(FPixelScale.Px(1));
  c.Pen().SetStyle(psSolid);
  c.Pen().SetMode(pmCopy);
  c.Brush().SetStyle(bsSolid);
  c.Font().SetPixelsPerInch(FPixelScale.PixelsPerInch());
  c.Font().Assign(FFont);
  // Black numbers and caption turn white on a dark dial, unless they are meant to vanish.
  c.Font().SetColor(ColorToRGB(FContrastText ? ContrastInk(FFont.Color(), FColorBakG) : FFont.Color()));
  SetBrush(c, FColorBakG);
  SetPen(c, FColorBakG);
}

void TMeter::Paint() {
  if (!FHost || !FVisible || FLoading) return;
  TCanvas* window = FHost->WindowCanvas();
  if (!window) return;
  const TRect client = FHost->ClientRect();
  const TMeterGeometry g = ComputeGeometry(client.Width(), client.Height());
  // No room for the dial: nothing is drawn and the previous picture stays.
  if (!g.Paintable) return;

  // The picture under the needle: the kept one while nothing it depends on has changed (a
  // traced paint draws it all, so that the trace shows every call). It is drawn again in the
  // bitmap kept for it, which is reused while the size stays.
  TScaleKey key = ScaleKey(g);
  if (!FScaleKept || FPaintTrace || !(key == FScaleKey)) {
    FScale.SetSize(g.W, g.H);
    TCanvas& s = FScale.Canvas();
    ResetCanvas(s);
    s.FillRect(Rect(0, 0, g.W, g.H));
    PaintScale(s, g);
    s.SetTrace(nullptr);
    FScaleKey = std::move(key);
    FScaleKept = true;
  }
  // The rest goes straight onto the window surface, which the host shows on Present.
  TCanvas& c = *window;
  c.SetTrace(nullptr);
  c.ClearClip();
  c.Draw(0, 0, FScale);
  ResetCanvas(c);
  PaintCoreMarks(c, g);
  PaintNeedle(c, g);
  PaintCover(c, g);
  PaintLamps(c, g);
  PaintFrame(c, g);
  c.SetTrace(nullptr);
  FLast = {window, window->TargetGeneration(), MovedBounds(g), FLimHighActive, FLimLowActive, !FPaintTrace};
  FHost->Present();
}

void TMeter::RepaintMoved() {
  if (!FHost || !FVisible || FLoading) return;
  TCanvas* window = FHost->WindowCanvas();
  if (!FLast.Valid || FPaintTrace || !FScaleKept || window != FLast.Canvas || !window ||
      window->TargetGeneration() != FLast.Generation)
    return Paint();
  const TRect client = FHost->ClientRect();
  const TMeterGeometry g = ComputeGeometry(client.Width(), client.Height());
  if (!g.Paintable || !(ScaleKey(g) == FScaleKey) || FLimHighActive != FLast.LimHigh || FLimLowActive != FLast.LimLow)
    return Paint();
  // Where the needles were and where they are now, each drawn again from the kept picture up;
  // one rectangle around both when that is no larger than the two.
  const TRect now = MovedBounds(g), before = FLast.Moved;
  auto area = [](const TRect& r) { return static_cast<long long>(r.Right - r.Left) * (r.Bottom - r.Top); };
  const TRect both{std::min(before.Left, now.Left), std::min(before.Top, now.Top), std::max(before.Right, now.Right),
                   std::max(before.Bottom, now.Bottom)};
  TCanvas& c = *window;
  auto redraw = [&](const TRect& part) {
    const TRect r{std::max(0, part.Left), std::max(0, part.Top), std::min(g.W, part.Right), std::min(g.H, part.Bottom)};
    if (r.Left >= r.Right || r.Top >= r.Bottom) return;
    c.SetTrace(nullptr);
    c.ClearClip();
    c.CopyRect(r, FScale, r);
    ResetCanvas(c);
    c.SetClipRect(r);
    PaintCoreMarks(c, g);
    PaintNeedle(c, g);
    PaintCover(c, g);
    PaintLamps(c, g);
    PaintFrame(c, g);
    c.ClearClip();
  };
  if (area(both) <= area(before) + area(now)) {
    redraw(both);
  } else {
    redraw(before);
    redraw(now);
  }
  FLast.Moved = now;
  FHost->Present();
}

TRect TMeter::MovedBounds(const TMeterGeometry& g) const {
  const TNeedleLayout& n = FNeedleLayout;
  TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  auto add = [&r](TPoint p) {
    r.Left = std::min(r.Left, p.x), r.Top = std::min(r.Top, p.y);
    r.Right = std::max(r.Right, p.x), r.Bottom = std::max(r.Bottom, p.y);
  };
  for (TPoint p : g.Needle) {
    add(p);
    add(TPoint{p.x - n.ShadowDx(), p.y - n.ShadowDy()});
  }
  if (FSecondValue)
    for (TPoint p : g.SecondNeedle) add(p);
  for (const TRimMark& m : FRimMarks) {
    if (std::isnan(m.Value)) continue;
    const auto [inner, outer] = RimMarkEnds(g, m.Value);
    add(inner);
    add(outer);
  }
  // The widest pen is the rim marks' (the needle's thickness) or the outline's; a pixel more
  // each side for the rounding of wide lines.
  const int pen = std::max(FPixelScale.Px(1), n.Thickness()) + 2;
  return {r.Left - pen, r.Top - pen, r.Right + pen + 1, r.Bottom + pen + 1};
}

// Scale arc, short ticks, labelled ticks with their labels, caption.
void TMeter::PaintScale(TCanvas& c, const TMeterGeometry& g) {
  const int cx = g.cx, cy = g.cy, Ri = g.Ri;
  SetPen(c, ContrastInk(FColorScale, FColorBakG));

  if (FMeterScaleLine) {
    TPoint start, end;
    switch (FMeterLayout) {
      case mlCirc90: {
        const int d = RoundInt(0.7071 * g.R);
        start = {cx + d, cy - d};
        end = {cx - d, cy - d};
        break;
      }
      case mlCirc120: {
        const int dx = RoundInt(0.866 * g.R), dy = RoundInt(0.5 * g.R);
        start = {cx + dx, cy - dy};
        end = {cx - dx, cy - dy};
        break;
      }
      case mlCirc180:
        start = {cx + Ri, cy};
        end = {cx - Ri, cy};
        break;
    }
    // One extra pixel on the right of the box, none at the bottom.
    c.Arc(cx - Ri, cy - Ri, cx + Ri + 1, cy + Ri, start.x, start.y, end.x, end.y);
  }

  const TTickSteps steps = CalcTickSteps(FMeterNrTicks, g.Max, g.Min);
  if (steps.Step == 0.0) return;  // cannot happen for a range with max above min
  const double step = steps.Step, first = steps.First;
  const double subStep = step / steps.NSub;

  const int shortTick = FPixelScale.Px(4), longTick = FPixelScale.Px(8), labelAt = FPixelScale.Px(20);
  if (FMeterShortTicks) {
    const double start = first - step;
    for (int i = 0; i < kMaxShortTicks; ++i) {
      const double v = i * subStep + start;
      // Not on a labelled tick, and not before the start of the scale.
      if (std::fabs(Frac((v - first) / step)) > 0.00001 && !(v < g.Min)) {
        const double a = g.Angle(v);
        const TPoint p = g.At(a, g.R), q = g.At(a, g.R - shortTick);
        c.MoveTo(p.x, p.y);
        c.LineTo(q.x, q.y);
      }
      if ((i + 1) * subStep + start - g.Max > 0.001 * subStep) break;
    }
  }

  for (int i = 0; i < kMaxLabelTicks; ++i) {
    const double v = i * step + first;
    const double a = g.Angle(v);
    const TPoint p = g.At(a, g.R), q = g.At(a, g.R - longTick), l = g.At(a, g.R - labelAt);
    c.MoveTo(p.x, p.y);
    c.LineTo(q.x, q.y);
    const std::string text = FormatTickLabel(v, FMeterDecPlaces);
    const TSize ext = c.TextExtent(text);
    c.TextOut(l.x - ext.cx / 2, l.y - ext.cy / 2, text);
    if ((i + 1) * step + first - g.Max > 0.001 * step) break;
  }

  // Caption: Round(R / 8) points, 8 to 28, centred a third of the radius above the pivot; R in
  // pixels at 96 per inch, as the points then follow the screen.
  const double designR = FPixelScale.IsDesign() ? g.R : g.R * DesignPixelsPerInch / FPixelScale.PixelsPerInch();
  c.Font().SetSize(std::clamp(RoundInt(designR * 0.125), 8, 28));
  const TSize ext = c.TextExtent(FCaption);
  c.TextOut(cx - ext.cx / 2, cy - RoundInt(g.R / 3.0) - ext.cy / 2, FCaption);
}

// The needle, its shadow first when it has an offset.
void TMeter::PaintNeedle(TCanvas& c, const TMeterGeometry& g) {
  const TNeedleLayout& n = FNeedleLayout;
  if (n.ShadowDx() != 0 || n.ShadowDy() != 0) {
    std::array<TPoint, 7> shadow = g.Needle;
    for (TPoint& p : shadow) {
      p.x -= n.ShadowDx();
      p.y -= n.ShadowDy();
    }
    SetPen(c, n.ShadowColor());
    SetBrush(c, n.ShadowColor());
    c.Polygon(shadow);
  }
  SetPen(c, n.ColorOutline());
  SetBrush(c, n.ColorBody());
  c.Polygon(g.Needle);
}

std::pair<TPoint, TPoint> TMeter::RimMarkEnds(const TMeterGeometry& g, double value) const {
  const double length = std::max(static_cast<double>(FPixelScale.Px(4)), g.R / 10.0);
  const double a = g.Angle(std::clamp(value, g.Min, g.Max));
  return {g.At(a, g.R - 1 - length), g.At(a, g.R - 1)};
}

void TMeter::PaintCoreMarks(TCanvas& c, const TMeterGeometry& g) {
  if (!FRimMarks.empty()) {
    c.Pen().SetWidth(std::max(1, FNeedleLayout.Thickness()));
    for (const TRimMark& m : FRimMarks) {
      if (std::isnan(m.Value)) continue;
      const auto [inner, outer] = RimMarkEnds(g, m.Value);
      SetPen(c, m.Color);
      c.MoveTo(inner.x, inner.y);
      c.LineTo(outer.x, outer.y);
    }
    c.Pen().SetWidth(1);
  }
  if (FSecondValue) {
    SetPen(c, FSecondColor);
    SetBrush(c, FSecondColor);
    c.Polygon(g.SecondNeedle);
  }
}

// The cover strips over the rims, the pivot cover and the bevel that makes the
// dial look sunk into the cover.
void TMeter::PaintCover(TCanvas& c, const TMeterGeometry& g) {
  const int W = g.W, H = g.H, cx = g.cx, cy = g.cy;
  const int A = FNeedleLayout.AnchorSize();
  SetPen(c, FColorCover);
  SetBrush(c, FColorCover);
  c.FillRect(Rect(0, 0, FRimSide - 1, H));  // one pixel narrower than the right strip
  c.FillRect(Rect(0, 0, W, FRimTop));
  c.FillRect(Rect(W - FRimSide, 0, W, H));
  c.FillRect(Rect(0, H - FRimBottom, W, H));

  const int bottom = H - FRimBottom;
  if (FNeedleLayout.AnchorCovered()) {
    c.Pie(cx - A, cy - A, cx + A, cy + A, W, cy, 0, cy);           // the upper half disc
    c.FillRect(NormalizedRect(Rect(cx - A, bottom, cx + A, cy)));  // and the block below it
    SetPen(c, clGray);
    c.MoveTo(cx + A - 1, cy);
    c.LineTo(cx + A - 1, bottom);
    SetPen(c, clWhite);
    c.LineTo(W - FRimSide, bottom);
    c.LineTo(W - FRimSide, FRimTop);
    SetPen(c, clGray);
    c.LineTo(FRimSide - 1, FRimTop);
    c.LineTo(FRimSide - 1, bottom);
    SetPen(c, clWhite);
    c.LineTo(cx - A, bottom);
    c.LineTo(cx - A, cy - 1);
    c.Arc(cx - A, cy - A, cx + A, cy + A, W, cy, 0, cy);
    SetPen(c, clGray);
    c.Arc(cx - A, cy - A, cx + A, cy + A, W, cy, cx, FRimBottom);
  } else {
    SetPen(c, clWhite);
    c.MoveTo(FRimSide - 1, bottom);
    c.LineTo(W - FRimSide, bottom);
    c.LineTo(W - FRimSide, FRimTop);
    SetPen(c, clGray);
    c.LineTo(FRimSide - 1, FRimTop);
    c.LineTo(FRimSide - 1, bottom);
  }
}

// The high lamp at the top right, the low lamp at the top left, each a small
// sunken square lit in LimWatchActColor while its flag is set.
void TMeter::PaintLamps(TCanvas& c, const TMeterGeometry& g) {
  if (FLimWatchHighOn) {
    const int X = g.W - FRimSide, Y = FRimTop;
    SetBrush(c, FLimHighActive ? FLimWatchActColor : FLimWatchPsvColor);
    SetPen(c, clBlack);
    c.Rectangle(NormalizedRect(Rect(X - 18, Y + 18, X - 8, Y + 8)));
    SetPen(c, clWhite);
    c.MoveTo(X - 17, Y + 17);
    c.LineTo(X - 9, Y + 17);
    c.LineTo(X - 9, Y + 8);
    SetPen(c, clSilver);
    c.MoveTo(X - 16, Y + 16);
    c.LineTo(X - 10, Y + 16);
    c.LineTo(X - 10, Y + 9);
    SetPen(c, clGray);
    c.MoveTo(X - 17, Y + 16);
    c.LineTo(X - 17, Y + 9);
    c.LineTo(X - 9, Y + 9);
  }
  if (FLimWatchLowOn) {
    const int X = FRimSide, Y = FRimTop;
    SetBrush(c, FLimLowActive ? FLimWatchActColor : FLimWatchPsvColor);
    SetPen(c, clBlack);
    c.Rectangle(NormalizedRect(Rect(X + 8, Y + 18, X + 18, Y + 8)));
    SetPen(c, clWhite);
    c.MoveTo(X + 9, Y + 17);
    c.LineTo(X + 17, Y + 17);
    c.LineTo(X + 17, Y + 8);
    SetPen(c, clSilver);
    c.MoveTo(X + 10, Y + 16);
    c.LineTo(X + 16, Y + 16);
    c.LineTo(X + 16, Y + 9);
    SetPen(c, clGray);
    c.MoveTo(X + 9, Y + 16);
    c.LineTo(X + 9, Y + 9);
    c.LineTo(X + 17, Y + 9);
  }
}

// The outer frame in the scheme's shadow and highlight colours: one or two rings of one pixel
// at 96 per inch, each ring as many one-pixel lines as the screen's scale makes a pixel.
void TMeter::PaintFrame(TCanvas& c, const TMeterGeometry& g) {
  const int W = g.W, H = g.H;
  const int k = FPixelScale.Px(1);
  c.Pen().SetWidth(1);
  for (int i = 0; i < k; ++i) {
    // Ring v counted from the outside: its left, top, right and bottom lines.
    auto L = [&](int v) { return v * k + i; };
    auto R = [&](int v) { return W - 1 - (v * k + i); };
    auto B = [&](int v) { return H - 1 - (v * k + i); };
    auto lowered = [&](TColor first, TColor second) {
      SetPen(c, first);
      c.MoveTo(L(0), B(0));
      c.LineTo(L(0), L(0));
      c.LineTo(R(0), L(0));
      SetPen(c, second);
      c.LineTo(R(0), B(0));
      c.LineTo(L(0), B(0));
    };
    auto embossed = [&](TColor first, TColor second) {
      SetPen(c, first);
      c.MoveTo(L(0), L(0));
      c.LineTo(R(1), L(0));
      c.LineTo(R(1), B(1));
      c.LineTo(L(0), B(1));
      c.LineTo(L(0), L(0));
      SetPen(c, second);
      c.MoveTo(L(1), B(2));
      c.LineTo(L(1), L(1));
      c.LineTo(R(1), L(1));
      c.MoveTo(L(1), B(0));
      c.LineTo(R(0), B(0));
      c.LineTo(R(0), L(0));
    };
    switch (FFrameStyle) {
      case fsNone:
        break;
      case fsSimple:
        SetPen(c, FColorBakG);
        c.MoveTo(L(0), B(0));
        c.LineTo(L(0), L(0));
        c.LineTo(R(0), L(0));
        c.LineTo(R(0), B(0));
        c.LineTo(L(0), B(0));
        break;
      case fsLowered:
        lowered(FColorShadow, FColorHighlight);
        break;
      case fsRaised:
        lowered(FColorHighlight, FColorShadow);
        break;
      case fsEmbossed:
        embossed(FColorHighlight, FColorShadow);
        break;
      case fsEngraved:
        embossed(FColorShadow, FColorHighlight);
        break;
    }
  }
}

}  // namespace varnel
