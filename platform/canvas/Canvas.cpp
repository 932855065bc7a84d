// TCanvas: the front end of the raster canvas. It keeps the drawing state and the visible
// region, reports calls to the trace, puts shapes in order (normalised boxes, pen widths and
// styles resolved, colours resolved), drops degenerate and invisible shapes, and hands the rest
// to the raster core (Raster.h) in 64-bit coordinates.
//
// Points the drawing rules leave open, and what this canvas does:
// - Dashed pens two or more pixels wide stroke solid.
// - A reversed side of a bitmap copy (right before left) covers x+w+1 .. x, one column to the
//   right of where a negative PatBlt extent lands (x+w .. x-1).
// - Ellipses, arcs, pies and chords use the integer ellipse walk and radial search as written
//   down, including its quirks: very thin tall ellipses stop short of their box, an Arc over
//   the whole ellipse misses the pixel before its start, half pies of even boxes close with
//   slanted lines, and a clear-pen ellipse is filled as large as an outlined one.
// - The pen disc of wide strokes is the filled ellipse of a w x w box.
// - Polygon fill follows the lattice rule (grid points, left and top edges in).
// - Boxes larger than 32768 pixels cannot be walked within the visible cost: they are drawn
//   through a polygon of the real ellipse that is exact to a quarter pixel near the bitmap.
// - GetPixel answers -1 outside the clip as well as outside the bitmap.
#include "platform/canvas/Canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "base/Color.h"
#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Raster.h"

namespace varnel {

using raster::i64;
using raster::TBox;
using raster::TInk;
using raster::TPoint64;
using raster::TRop;

namespace {

std::uint32_t PixelOf(TColor c) { return ColorToPixel(ColorToRGB(c)); }

// Column intervals a line layer holds at most before it paints them (a few MB): a layer drawn
// with more lines paints in batches, which gives the same picture.
constexpr std::size_t kLineLayerLimit = std::size_t{1} << 19;

// The pen as the raster core needs it.
struct TPenSpec {
  bool None = false;
  bool Wide = false;
  i64 Width = 1;
  TPenStyle Style = psSolid;  // psSolid or a dash style (cosmetic pens only)
  bool InsideFrame = false;
  TRop On, Gap;
  bool Opaque = true;
};

// A box put in order (64-bit, so any int corners give a valid size).
TBox Ordered(int x1, int y1, int x2, int y2) {
  return TBox{std::min<i64>(x1, x2), std::min<i64>(y1, y2), std::max<i64>(x1, x2), std::max<i64>(y1, y2)};
}

// The pixels of a copy's side given as two corners: origin x and extent w = x2 - x covers
// x .. x+w-1, or x+w+1 .. x when w is negative.
TBox Extents(int x1, int y1, int x2, int y2) {
  const auto range = [](i64 a, i64 b) { return b >= a ? std::pair{a, b} : std::pair{b + 1, a + 1}; };
  const auto [l, r] = range(x1, x2);
  const auto [t, b] = range(y1, y2);
  return TBox{l, t, r, b};
}

// A wide inside-frame pen draws within the box: shrink it by the stroke's half widths.
TBox InsideFrame(TBox b, const TPenSpec& pen) {
  if (pen.Wide && pen.InsideFrame) {
    b.L += pen.Width / 2;
    b.T += pen.Width / 2;
    b.R -= (pen.Width - 1) / 2;
    b.B -= (pen.Width - 1) / 2;
  }
  return b;
}

// The points in 64 bits, after a leading point when one is given.
std::vector<TPoint64> ToPoints64(std::span<const TPoint> pts, const TPoint64* leading = nullptr) {
  std::vector<TPoint64> out;
  out.reserve(pts.size() + 1);
  if (leading) out.push_back(*leading);
  for (const TPoint& p : pts) out.push_back({p.x, p.y});
  return out;
}

}  // namespace

// The raster back end's view of a canvas (a friend of TCanvas).
class TCanvasAccess {
 public:
  explicit TCanvasAccess(TCanvas& c) : C(c) {}

  bool Visible() const { return C.FBitmap && !C.FBitmap->Empty() && !C.FRegion->Box.Empty(); }
  raster::TSurface Surface() const {
    C.PaintLines();
    return raster::TSurface(C.FBitmap->Data(), C.FBitmap->Width(), *C.FRegion);
  }
  // A surface for painting that stays inside the box reach: of a late fill only what lies
  // there is written first.
  raster::TSurface SurfaceFor(const TBox& reach) const {
    C.PaintLines();
    if (raster::TLateFill* late = C.FBitmap->LateFill()) late->Write(C.FBitmap->RawData(), C.FBitmap->Width(), reach);
    return raster::TSurface(C.FBitmap->RawData(), C.FBitmap->Width(), *C.FRegion);
  }
  // The surface of a wide chain, which writes the rows of a late fill together with its own.
  raster::TSurface ChainSurface() const {
    if (C.FRegion->Complex) return Surface();
    C.PaintLines();
    return raster::TSurface(C.FBitmap->RawData(), C.FBitmap->Width(), *C.FRegion, C.FBitmap->LateFill());
  }

  // Leaves a plain fill of a large box that sets pixels outright for later (TBitmap::FillLater):
  // a wide line drawn next writes its rows together with the line's.
  bool FillLater(const TRect& r, const TInk& ink) {
    constexpr i64 kLateArea = i64{1} << 14;
    if (ink.Nothing || ink.Hatch || ink.Fg.A != 0 || C.FRegion->Complex) return false;
    if (r.Right <= r.Left || r.Bottom <= r.Top) return false;
    const TBox& v = VisibleBox();
    const TBox b{std::max<i64>(r.Left, v.L), std::max<i64>(r.Top, v.T), std::min<i64>(r.Right, v.R),
                 std::min<i64>(r.Bottom, v.B)};
    if (b.Empty() || (b.R - b.L) * (b.B - b.T) < kLateArea) return false;
    C.PaintLines();
    C.FBitmap->FillLater(static_cast<int>(b.L), static_cast<int>(b.T), static_cast<int>(b.R), static_cast<int>(b.B),
                         ink.Fg.X);
    return true;
  }
  const TBox& VisibleBox() const { return C.FRegion->Box; }

  TPenSpec Pen() const {
    TPenSpec p;
    const TPenStyle style = C.FPen.Style();
    p.None = style == psClear;
    p.Width = C.FPen.Width() <= 1 ? 1 : C.FPen.Width();
    p.Wide = p.Width >= 2;
    p.InsideFrame = style == psInsideFrame;
    // Dashes exist only for one-pixel pens; wider dashed pens stroke solid.
    p.Style = (!p.Wide && style >= psDash && style <= psDashDotDot) ? style : psSolid;
    p.On = raster::PenRop(C.FPen.Mode(), C.InkPixel(C.FPen.Color()));
    p.Gap = raster::PenRop(C.FPen.Mode(), C.BkPixel());
    p.Opaque = C.FBkMode == OPAQUE;
    if (p.None) p.Width = 0;
    return p;
  }

  // The brush through the pen mode (shape fills) or as a plain copy (pattern fills).
  TInk Brush(TPenMode mode) const {
    TInk ink;
    if (C.FBrush.Style() == bsClear) {
      ink.Nothing = true;
      return ink;
    }
    ink.Fg = raster::PenRop(mode, C.InkPixel(C.FBrush.Color()));
    ink.Bg = raster::PenRop(mode, C.BkPixel());
    ink.Hatch = raster::HatchPattern(C.FBrush.Style());
    ink.PaintGaps = C.FBkMode == OPAQUE;
    if (!ink.Hatch) ink.Bg = ink.Fg;
    return ink;
  }
  TInk ShapeBrush() const { return Brush(C.FPen.Mode()); }

  // The part of the visible box that a wide stroke of these points can reach.
  TBox StrokeBox(std::span<const TPoint64> pts, i64 w) const {
    const TBox& vis = VisibleBox();
    if (pts.empty()) return TBox{};
    TBox b{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
    for (const TPoint64& p : pts) {
      b.L = std::min(b.L, p.x), b.R = std::max(b.R, p.x), b.T = std::min(b.T, p.y), b.B = std::max(b.B, p.y);
    }
    const i64 m = w / 2 + 2;
    TBox r{std::max(vis.L, b.L - m), std::max(vis.T, b.T - m), std::min(vis.R, b.R + m + 1), std::min(vis.B, b.B + m + 1)};
    return r.Empty() ? TBox{} : r;
  }

  // Strokes a path with the pen: one-pixel pens pixel by pixel with the dash pattern running
  // on, wide pens as a region painted once (a pen that sets pixels regardless of what is
  // there may paint overlaps twice: the result is the same).
  void Stroke(std::span<const TPoint64> pts, bool closed, const TPenSpec& pen) {
    if (pen.None || pts.empty()) return;
    const TBox reach = StrokeBox(pts, pen.Width);
    if (reach.Empty()) return;
    raster::TSurface s = SurfaceFor(reach);
    if (!pen.Wide) {
      raster::TCosmeticPen cp(s, pen.Style, pen.On, pen.Gap, pen.Opaque);
      cp.Path(pts, closed);
      return;
    }
    const TBox& sb = reach;
    const TInk ink = raster::SolidInk(pen.On);
    if (pen.On.A == 0) {
      raster::WideStroke([&](i64 y, i64 x0, i64 x1) { s.Span(y, x0, x1, ink); }, sb, pts, closed, pen.Width,
                         raster::TDisc(pen.Width));
      return;
    }
    raster::TSpanRows stroke(sb);
    raster::WideStroke([&](i64 y, i64 x0, i64 x1) { stroke.Add(y, x0, x1); }, sb, pts, closed, pen.Width,
                       raster::TDisc(pen.Width));
    stroke.Finish();
    stroke.Paint(s, ink);
  }

  // The open path from start through pts with a wide pen whose operation is idempotent: the
  // union of what its segments paint one by one.
  void Chain(TPoint64 start, std::span<const TPoint> pts, const TPenSpec& pen) {
    if (const raster::TDisc* disc = ChainDisc(pen.Width)) {
      raster::TSurface s = ChainSurface();
      raster::WideChain(s, pen.On, start, pts, pen.Width, *disc);
      return;
    }
    Stroke(ToPoints64(pts, &start), false, pen);
  }

  // The disc WideChain strokes a pen of width w with, or nullptr where it cannot (too wide, or
  // a disc that is not nested).
  static const raster::TDisc* ChainDisc(i64 w) {
    if (w > raster::kChainWidth) return nullptr;
    // The discs of the widths in use, built once.
    thread_local std::vector<std::unique_ptr<raster::TDisc>> discs(raster::kChainWidth + 1);
    auto& disc = discs[static_cast<std::size_t>(w)];
    if (!disc) disc = std::make_unique<raster::TDisc>(w);
    return disc->Nested() ? disc.get() : nullptr;
  }

  // A filled shape: the interior (given as spans by fill) minus the wide stroke, then the
  // outline. Width-1 outlines are drawn after the fill (they may cover its edge pixels).
  template <class Fill>
  void FillAndStroke(std::span<const TPoint64> outline, bool closed, const TPenSpec& pen, Fill&& fill) {
    raster::TSurface s = Surface();
    const TInk brush = ShapeBrush();
    if (pen.Wide && !pen.None && pen.On.A != 0) {
      const TBox sb = StrokeBox(outline, pen.Width);
      raster::TSpanRows stroke(sb);
      if (!sb.Empty())
        raster::WideStroke([&](i64 y, i64 x0, i64 x1) { stroke.Add(y, x0, x1); }, sb, outline, closed, pen.Width,
                           raster::TDisc(pen.Width));
      stroke.Finish();
      if (!brush.Nothing) fill([&](i64 y, i64 x0, i64 x1) { stroke.PaintOutside(s, y, x0, x1, brush); });
      stroke.Paint(s, raster::SolidInk(pen.On));
      return;
    }
    // One-pixel outlines, and wide pens that set pixels outright: the stroke painted over the
    // fill leaves what interior-minus-stroke would.
    if (!brush.Nothing) fill([&](i64 y, i64 x0, i64 x1) { s.Span(y, x0, x1, brush); });
    Stroke(outline, closed, pen);
  }

  // Rectangle rules on an ordered box (used by Rectangle and by very flat ellipses).
  void RectangleBox(TBox b, const TPenSpec& pen) {
    if (b.Empty()) return;
    const std::vector<TPoint64> path{{b.R - 1, b.T}, {b.L, b.T}, {b.L, b.B - 1}, {b.R - 1, b.B - 1}};
    const TBox vis = VisibleBox();
    const TInk brush = ShapeBrush();
    if (pen.Wide && !pen.None) {
      FillAndStroke(path, true, pen, [&](auto&& span) {
        for (i64 y = std::max(b.T, vis.T); y < std::min(b.B - 1, vis.B); ++y) span(y, b.L, b.R - 1);
      });
      return;
    }
    // One-pixel outline first, then the fill inside it (a clear pen: one pixel less right
    // and below than the outlined box).
    Stroke(path, true, pen);
    if (brush.Nothing) return;
    raster::TSurface s = SurfaceFor(b);
    const i64 w = pen.None ? 0 : 1;
    const i64 l = b.L + (w + 1) / 2, r = b.R - 1 - w / 2, t = b.T + (w + 1) / 2, bt = b.B - 1 - w / 2;
    for (i64 y = std::max(t, vis.T); y < std::min(bt, vis.B); ++y) s.Span(y, l, r, brush);
  }

  // Whether a shape of this box, stroked with the pen, can touch the visible box.
  bool MayShow(const TBox& b, const TPenSpec& pen) const {
    const i64 m = pen.Width + 1;
    return VisibleBox().Intersects(b.L - m, b.T - m, b.R + m, b.B + m);
  }

  // Ellipse (kind 0), Arc (1), Pie (2), Chord (3).
  void Curve(int kind, TBox b, TPoint64 start, TPoint64 end) {
    const TPenSpec pen = Pen();
    b = InsideFrame(b, pen);
    if (b.Empty()) return;
    if (kind == 0 && (b.R - b.L <= 2 || b.B - b.T <= 2)) {
      RectangleBox(b, pen);
      return;
    }
    if (!MayShow(b, pen)) return;
    if (kind == 1 && pen.None) return;
    const TBox vis = VisibleBox();
    raster::TEllipsePath path = raster::EllipsePath(b, kind == 0, start, end, vis, pen.Width);
    if (path.Points.empty()) return;
    if (kind == 1) {
      Stroke(path.Points, false, pen);
      return;
    }
    if (kind == 2) path.Points.push_back({b.L + (b.R - b.L) / 2, b.T + (b.B - b.T) / 2});
    if (kind == 0 && path.Exact) {
      const auto rows = raster::EllipseFillRows(b.R - b.L, b.B - b.T);
      FillAndStroke(path.Points, true, pen, [&](auto&& span) {
        for (i64 y = std::max(b.T, vis.T); y < std::min(b.B, vis.B); ++y) {
          const auto& r = rows[static_cast<std::size_t>(y - b.T)];
          if (r.first <= r.second) span(y, b.L + r.first, b.L + r.second + 1);
        }
      });
      return;
    }
    const TFillMode mode = kind == 0 ? ALTERNATE : WINDING;
    FillAndStroke(path.Points, true, pen, [&](auto&& span) { raster::ScanPolygon(path.Points, mode, vis, span); });
  }

  // Fills the PatBlt block (x, y, w, h) with the ink: columns x .. x+w-1, or x+w .. x-1 when
  // the extent is negative (x itself left out), rows the same.
  void PatFill(i64 x, i64 y, i64 w, i64 h, const TInk& ink) {
    if (w == 0 || h == 0 || ink.Nothing) return;
    const i64 x0 = std::min(x, x + w), x1 = std::max(x, x + w);
    const i64 y0 = std::min(y, y + h), y1 = std::max(y, y + h);
    SurfaceFor(TBox{x0, y0, x1, y1}).Block(y0, y1, x0, x1, ink);
  }

  // Copies the source rectangle onto the destination rectangle, stretching or shrinking it.
  // Each side is an origin and an extent: a reversed one (right before left, bottom before
  // top) covers extent+1 .. 0 from its origin (see Extents) and mirrors the
  // picture along that axis (reversing both sides mirrors twice, that is not at all). Shrinking
  // takes the first source pixel of each step; enlarging repeats each source pixel over the
  // destination pixels whose centres fall on it. Source pixels outside the source bitmap are
  // not copied.
  void Stretch(int dl, int dt, int dr, int db, const TBitmap& source, int sl, int st, int sr, int sb) {
    if (source.Empty()) return;
    const TBitmap* src = &source;
    TBitmap copy;
    if (src == C.FBitmap) {  // overlapping copies work as through a temporary
      copy = source;
      src = &copy;
    }
    const bool flipX = (dr < dl) != (sr < sl), flipY = (db < dt) != (sb < st);
    const TBox d = Extents(dl, dt, dr, db), sbx = Extents(sl, st, sr, sb);
    const i64 DW = d.R - d.L, DH = d.B - d.T, SW = sbx.R - sbx.L, SH = sbx.B - sbx.T;
    if (DW == 0 || DH == 0 || SW == 0 || SH == 0) return;
    const TBox vis = VisibleBox();
    const i64 x0 = std::max(d.L, vis.L), x1 = std::min(d.R, vis.R), y0 = std::max(d.T, vis.T), y1 = std::min(d.B, vis.B);
    if (x0 >= x1 || y0 >= y1) return;
    raster::TSurface s = Surface();
    const raster::TClipRegion& region = s.Region();
    // Between a 1-bit picture and a colour one the pixels change: into a monochrome bitmap the
    // source's background colour becomes white and every other colour black; out of one, black
    // takes this canvas's text colour and white its background colour.
    const bool toMono = C.MonochromeTarget() && !src->Monochrome();
    const bool fromMono = src->Monochrome() && !C.MonochromeTarget();
    const TCanvas* srcCanvas = source.ExistingCanvas();
    const std::uint32_t srcBk = PixelOf(srcCanvas ? srcCanvas->BkColor() : clWhite);
    const std::uint32_t monoBlack = PixelOf(C.FFont.Color()), monoWhite = PixelOf(C.FBkColor);
    const auto convert = [&](std::uint32_t v) {
      if (toMono) return v == srcBk ? raster::kAllBits : 0u;
      if (fromMono) return v == 0 ? monoBlack : monoWhite;
      return v;
    };
    if (DW == SW && DH == SH && !flipX && !flipY && !region.Complex && !toMono && !fromMono) {
      // A plain block copy (the chart's and the gauge's every repaint): whole rows at once,
      // limited to the source bitmap.
      const i64 ox = sbx.L - d.L, oy = sbx.T - d.T;
      const i64 cx0 = std::max<i64>(x0, -ox), cx1 = std::min<i64>(x1, src->Width() - ox);
      const i64 cy0 = std::max<i64>(y0, -oy), cy1 = std::min<i64>(y1, src->Height() - oy);
      if (cx0 >= cx1 || cy0 >= cy1) return;
      const auto bytes = static_cast<std::size_t>(cx1 - cx0) * sizeof(std::uint32_t);
      for (i64 y = cy0; y < cy1; ++y)
        std::memcpy(s.Row(y) + cx0, src->ScanLine(static_cast<int>(y + oy)) + (cx0 + ox), bytes);
      return;
    }
    // Source column for each visible destination column (-1: outside the source bitmap).
    const auto map = [](i64 u, i64 dn, i64 sn, i64 s0, bool flip, i64 limit) -> int {
      if (flip) u = dn - 1 - u;
      const raster::i128 step = sn > dn ? static_cast<raster::i128>(u) * sn / dn
                                        : static_cast<raster::i128>(2 * u + 1) * sn / (2 * dn);
      const i64 v = s0 + static_cast<i64>(step);
      return v < 0 || v >= limit ? -1 : static_cast<int>(v);
    };
    std::vector<int> cols(static_cast<std::size_t>(x1 - x0));
    for (i64 x = x0; x < x1; ++x) cols[static_cast<std::size_t>(x - x0)] = map(x - d.L, DW, SW, sbx.L, flipX, src->Width());
    for (i64 y = y0; y < y1; ++y) {
      const int sy = map(y - d.T, DH, SH, sbx.T, flipY, src->Height());
      if (sy < 0) continue;
      const std::uint32_t* in = src->ScanLine(sy);
      std::uint32_t* out = s.Row(y);
      for (i64 x = x0; x < x1; ++x) {
        const int sx = cols[static_cast<std::size_t>(x - x0)];
        if (sx >= 0 && (!region.Complex || region.Contains(x, y))) out[x] = convert(in[sx]);
      }
    }
  }

 private:
  TCanvas& C;
};

// ---------------------------------------------------------------------------------------------
// State, clip and trace

std::vector<std::string> TCanvasTrace::Ops() const {
  std::vector<std::string> out;
  out.reserve(Calls.size());
  for (const auto& c : Calls) out.push_back(c.Op);
  return out;
}

TCanvas::TCanvas(TBitmap* target) : FBitmap(target), FRegion(std::make_unique<raster::TClipRegion>()) {
  FBrush.OnSet = [this] { OnBrushChanged(); };
  RebuildClipRegion();
}

TCanvas::~TCanvas() = default;

void TCanvas::CloseLineLayer() {
  if (FLineLayers > 0 && --FLineLayers == 0) PaintLines();
}

void TCanvas::PaintLines() const {
  if (FLines && !FLines->Empty() && FBitmap) FLines->Paint(FBitmap->Data(), FBitmap->Width(), FBitmap->Height());
}

void TCanvas::OnBrushChanged() {
  if (FBrush.Style() == bsSolid) {
    FBkMode = OPAQUE;
    FBkColor = FBrush.Color();
  } else {
    FBkMode = TRANSPARENT;
  }
}

void TCanvas::TargetResized() {
  ++FTargetGeneration;
  RebuildClipRegion();
}

bool TCanvas::MonochromeTarget() const { return FBitmap && FBitmap->Monochrome(); }

std::uint32_t TCanvas::BkPixel() const {
  const std::uint32_t bk = PixelOf(FBkColor);
  return MonochromeTarget() ? NearestMonoPixel(bk) : bk;
}

std::uint32_t TCanvas::InkPixel(TColor color) const {
  const std::uint32_t px = PixelOf(color);
  if (!MonochromeTarget() || px == 0 || px == raster::kAllBits) return px;
  return BkPixel() ^ raster::kAllBits;
}

void TCanvas::RebuildClipRegion() {
  const int w = FBitmap ? FBitmap->Width() : 0, h = FBitmap ? FBitmap->Height() : 0;
  if (FClipKind == ClipKind::Polygon)
    raster::BuildPolygonRegion(*FRegion, w, h, FClipPolygon, FClipFillMode);
  else
    raster::BuildRectRegion(*FRegion, w, h, FClipRect, FClipKind == ClipKind::Rect);
}

// Every drawing operation reports itself here first: lines a layer holds are painted before it.
void TCanvas::TraceCall(const char* op, std::initializer_list<int> args, std::string_view text) {
  PaintLines();
  Report(op, args, text);
}

void TCanvas::Report(const char* op, std::initializer_list<int> args, std::string_view text) {
  if (!FTrace) return;
  TCanvasCall call;
  call.Op = op;
  call.Args.assign(args.begin(), args.end());
  call.Text = std::string(text);
  call.PenColor = FPen.Color();
  call.PenWidth = FPen.Width();
  call.PenStyle = FPen.Style();
  call.PenMode = FPen.Mode();
  call.BrushColor = FBrush.Color();
  call.BrushStyle = FBrush.Style();
  FTrace->Calls.push_back(std::move(call));
}

void TCanvas::TracePoints(const char* op, std::span<const TPoint> points) {
  PaintLines();
  if (!FTrace) return;
  Report(op, {});
  auto& args = FTrace->Calls.back().Args;
  args.reserve(points.size() * 2);
  for (const TPoint& p : points) {
    args.push_back(p.x);
    args.push_back(p.y);
  }
}

void TCanvas::SetClipRect(const TRect& r) {
  FClipKind = ClipKind::Rect;
  FClipRect = NormalizedRect(r);
  FClipPolygon.clear();
  RebuildClipRegion();
}

void TCanvas::SetClipPolygon(std::span<const TPoint> points, TFillMode mode) {
  FClipKind = ClipKind::Polygon;
  FClipPolygon.assign(points.begin(), points.end());
  FClipFillMode = mode;
  RebuildClipRegion();
}

void TCanvas::ClearClip() {
  FClipKind = ClipKind::None;
  FClipPolygon.clear();
  RebuildClipRegion();
}

TRect TCanvas::ClipBox() const {
  const TBox& b = FRegion->Box;
  if (b.Empty()) return TRect{};
  return TRect{static_cast<int>(b.L), static_cast<int>(b.T), static_cast<int>(b.R), static_cast<int>(b.B)};
}

bool TCanvas::PtVisible(int x, int y) const { return FRegion->Contains(x, y); }

// ---------------------------------------------------------------------------------------------
// Pixels and lines

void TCanvas::SetPixel(int x, int y, TColor color) {
  TraceCall("SetPixel", {x, y, color});
  if (!FRegion->Contains(x, y)) return;
  FBitmap->ScanLine(y)[x] = MonochromeTarget() ? NearestMonoPixel(PixelOf(color)) : PixelOf(color);
}

TColor TCanvas::GetPixel(int x, int y) const {
  PaintLines();
  if (!FRegion->Contains(x, y)) return -1;
  return PixelToColor(FBitmap->PixelWord(x, y));
}

void TCanvas::MoveTo(int x, int y) {
  Report("MoveTo", {x, y});
  FPenPos = Point(x, y);
}

void TCanvas::LineTo(int x, int y) {
  TraceCall("LineTo", {x, y});
  const TPoint64 seg[2] = {{FPenPos.x, FPenPos.y}, {x, y}};
  FPenPos = Point(x, y);
  TCanvasAccess a(*this);
  if (a.Visible()) a.Stroke(seg, false, a.Pen());
}

void TCanvas::PolylineTo(std::span<const TPoint> points) {
  if (FTrace) {
    for (const TPoint& p : points) LineTo(p.x, p.y);
    return;
  }
  if (points.empty()) return;
  const TPoint64 start{FPenPos.x, FPenPos.y};
  FPenPos = points.back();
  TCanvasAccess a(*this);
  if (!a.Visible()) return;
  const TPenSpec pen = a.Pen();
  if (pen.None) return;
  // A layer takes a dense chain (a point every two columns or more, so that its pixels in a
  // column are a few long runs); a sparse one costs less walked at once.
  if (FLineLayers > 0 && !pen.Wide && pen.Style == psSolid && pen.On.A == 0 && !FRegion->Complex &&
      2 * static_cast<i64>(points.size()) >= static_cast<i64>(points.back().x) - start.x + 1) {
    if (!FLines) FLines = std::make_unique<raster::TLineStack>();
    if (FLines->Size() > kLineLayerLimit) PaintLines();
    if (FLines->Add(start, points, FRegion->Box, pen.On.X)) return;
  }
  if (pen.On.Idempotent()) {
    // Painting a pixel twice gives what painting it once does: the segments' pixels together
    // are all that counts. A wide pen strokes them as one path (each LineTo's stroke is its
    // segment with a disc at either end; the path's is the union of those), a solid one-pixel
    // pen paints them as a chain.
    if (pen.Wide) {
      a.Chain(start, points, pen);
      return;
    }
    if (pen.Style == psSolid) {
      raster::TSurface s = a.Surface();
      raster::TCosmeticPen(s, psSolid, pen.On, pen.Gap, pen.Opaque).Chain(start, points);
      return;
    }
  }
  // Other pens: segment by segment, each as its own LineTo paints it (a dash pattern starts
  // afresh on every segment).
  TPoint64 seg[2] = {start, start};
  for (const TPoint& p : points) {
    seg[1] = {p.x, p.y};
    a.Stroke(seg, false, pen);
    seg[0] = seg[1];
  }
}

bool TCanvas::PolylineToMergesColumns() const {
  const TCanvasAccess a(const_cast<TCanvas&>(*this));
  if (!a.Visible()) return true;
  const TPenSpec pen = a.Pen();
  if (pen.None) return true;
  if (!pen.On.Idempotent()) return false;
  return pen.Wide ? TCanvasAccess::ChainDisc(pen.Width) != nullptr : pen.Style == psSolid;
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  TracePoints("Polyline", points);
  TCanvasAccess a(*this);
  if (points.size() < 2 || !a.Visible()) return;
  const TPenSpec pen = a.Pen();
  if (pen.Wide && !pen.None && pen.On.Idempotent()) {
    a.Chain({points[0].x, points[0].y}, points.subspan(1), pen);
    return;
  }
  a.Stroke(ToPoints64(points), false, pen);
}

// ---------------------------------------------------------------------------------------------
// Shapes

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  TraceCall("Rectangle", {x1, y1, x2, y2});
  TCanvasAccess a(*this);
  if (!a.Visible()) return;
  const TPenSpec pen = a.Pen();
  const TBox b = InsideFrame(Ordered(x1, y1, x2, y2), pen);
  if (b.Empty() || !a.MayShow(b, pen)) return;
  a.RectangleBox(b, pen);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  TracePoints("Polygon", points);
  TCanvasAccess a(*this);
  if (points.size() < 2 || !a.Visible()) return;
  TPenSpec pen = a.Pen();
  pen.InsideFrame = false;
  const std::vector<TPoint64> pts = ToPoints64(points);
  const TBox vis = a.VisibleBox();
  const TFillMode mode = FFillMode == WINDING ? WINDING : ALTERNATE;
  a.FillAndStroke(pts, true, pen, [&](auto&& span) { raster::ScanPolygon(pts, mode, vis, span); });
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  TraceCall("Ellipse", {x1, y1, x2, y2});
  TCanvasAccess a(*this);
  if (a.Visible()) a.Curve(0, Ordered(x1, y1, x2, y2), {}, {});
}

void TCanvas::StrokeAndFill(int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  TCanvasAccess a(*this);
  if (a.Visible()) a.Curve(kind, Ordered(x1, y1, x2, y2), {x3, y3}, {x4, y4});
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  TraceCall("Arc", {x1, y1, x2, y2, x3, y3, x4, y4});
  StrokeAndFill(1, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  TraceCall("Pie", {x1, y1, x2, y2, x3, y3, x4, y4});
  StrokeAndFill(2, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  TraceCall("Chord", {x1, y1, x2, y2, x3, y3, x4, y4});
  StrokeAndFill(3, x1, y1, x2, y2, x3, y3, x4, y4);
}

// ---------------------------------------------------------------------------------------------
// Brush fills

void TCanvas::FillRect(const TRect& r) {
  TraceCall("FillRect", {r.Left, r.Top, r.Right, r.Bottom});
  TCanvasAccess a(*this);
  if (!a.Visible()) return;
  const TInk ink = a.Brush(pmCopy);
  if (a.FillLater(r, ink)) return;
  a.PatFill(r.Left, r.Top, static_cast<i64>(r.Right) - r.Left, static_cast<i64>(r.Bottom) - r.Top, ink);
}

void TCanvas::FrameRect(const TRect& r) {
  TraceCall("FrameRect", {r.Left, r.Top, r.Right, r.Bottom});
  TCanvasAccess a(*this);
  if (!a.Visible() || r.IsEmpty()) return;
  const TInk ink = a.Brush(pmCopy);
  const i64 l = r.Left, t = r.Top, rr = r.Right, b = r.Bottom;
  a.PatFill(l, t, rr - l, 1, ink);
  if (b - 1 > t) a.PatFill(l, b - 1, rr - l, 1, ink);
  if (b - 2 > t) {
    a.PatFill(l, t + 1, 1, b - t - 2, ink);
    if (rr - 1 > l) a.PatFill(rr - 1, t + 1, 1, b - t - 2, ink);
  }
}

void TCanvas::PatBlt(int left, int top, int width, int height, std::uint32_t rop) {
  TraceCall("PatBlt", {left, top, width, height, static_cast<int>(rop)});
  // Bit (4p + 2s + d) of the truth table is the result for pattern bit p, source bit s and
  // destination bit d.
  const unsigned table = (rop >> 16) & 0xFFu;
  if ((table & 0x33u) != ((table >> 2) & 0x33u)) return;  // the result depends on a source
  TCanvasAccess a(*this);
  if (!a.Visible()) return;
  // As D' = (D and A) xor X for one pattern bit value p: X is the result over d = 0, A whether
  // d = 1 changes it.
  const auto bitRop = [table](unsigned p) {
    const unsigned r0 = (table >> (4 * p)) & 1u, r1 = (table >> (4 * p + 1)) & 1u;
    return std::pair<std::uint32_t, std::uint32_t>{(r0 ^ r1) ? raster::kAllBits : 0u, r0 ? raster::kAllBits : 0u};
  };
  // Plain names rather than structured bindings: the lambda below captures them, which not
  // every compiler accepts for bindings.
  const std::pair<std::uint32_t, std::uint32_t> op0 = bitRop(0), op1 = bitRop(1);
  const std::uint32_t a0 = op0.first, x0 = op0.second, a1 = op1.first, x1 = op1.second;
  // Each bit of the pattern pixel picks its operation.
  const auto ropOf = [&](std::uint32_t pattern) {
    return TRop{((pattern & a1) | (~pattern & a0)) & raster::kAllBits,
                ((pattern & x1) | (~pattern & x0)) & raster::kAllBits};
  };
  TInk ink;
  if (a0 == a1 && x0 == x1) {
    ink = raster::SolidInk(ropOf(0));  // the pattern plays no part: any brush, even a clear one
  } else {
    ink = a.Brush(pmCopy);
    if (ink.Nothing) return;
    ink.Fg = ropOf(ink.Fg.X);
    ink.Bg = ropOf(ink.Bg.X);
  }
  a.PatFill(left, top, width, height, ink);
}

// ---------------------------------------------------------------------------------------------
// Bitmap copies

void TCanvas::Draw(int x, int y, const TBitmap& source) {
  TraceCall("Draw", {x, y});
  TCanvasAccess a(*this);
  if (!a.Visible() || source.Empty()) return;
  const i64 r = static_cast<i64>(x) + source.Width(), b = static_cast<i64>(y) + source.Height();
  // Parts beyond the int range cannot be visible: clamp the destination there.
  const int rr = static_cast<int>(std::min<i64>(r, INT32_MAX)), bb = static_cast<int>(std::min<i64>(b, INT32_MAX));
  a.Stretch(x, y, rr, bb, source, 0, 0, rr - x, bb - y);
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
  TraceCall("CopyRect", {dest.Left, dest.Top, dest.Right, dest.Bottom, sourceRect.Left, sourceRect.Top,
                         sourceRect.Right, sourceRect.Bottom});
  TCanvasAccess a(*this);
  if (!a.Visible()) return;
  a.Stretch(dest.Left, dest.Top, dest.Right, dest.Bottom, source, sourceRect.Left, sourceRect.Top, sourceRect.Right,
            sourceRect.Bottom);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& source) {
  TraceCall("StretchDraw", {dest.Left, dest.Top, dest.Right, dest.Bottom});
  TCanvasAccess a(*this);
  if (!a.Visible()) return;
  a.Stretch(dest.Left, dest.Top, dest.Right, dest.Bottom, source, 0, 0, source.Width(), source.Height());
}

}  // namespace varnel
