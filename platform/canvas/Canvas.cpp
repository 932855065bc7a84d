// TCanvas: state, clipping, the call trace and the raster operations (first, simple version:
// every operation is clipped per pixel to the bitmap and the clip).
#include "platform/canvas/Canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "base/Color.h"
#include "platform/canvas/Bitmap.h"

namespace varnel {

namespace {

bool PointInPolygon(const std::vector<TPoint>& pts, TFillMode mode, double px, double py) {
  int winding = 0;
  bool inside = false;
  const std::size_t n = pts.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const double xi = pts[i].x, yi = pts[i].y, xj = pts[j].x, yj = pts[j].y;
    if ((yi > py) != (yj > py)) {
      const double x = xj + (py - yj) * (xi - xj) / (yi - yj);
      if (px < x) {
        inside = !inside;
        winding += yi > yj ? 1 : -1;
      }
    }
  }
  return mode == ALTERNATE ? inside : winding != 0;
}

}  // namespace

std::vector<std::string> TCanvasTrace::Ops() const {
  std::vector<std::string> out;
  out.reserve(Calls.size());
  for (const auto& c : Calls) out.push_back(c.Op);
  return out;
}

TCanvas::TCanvas(TBitmap* target) : FBitmap(target) {
  FBrush.OnChange = [this] { OnBrushChanged(); };
}

TCanvas::~TCanvas() = default;

void TCanvas::OnBrushChanged() {
  if (FBrush.Style() == bsSolid) {
    FBkMode = OPAQUE;
    FBkColor = FBrush.Color();
  } else {
    FBkMode = TRANSPARENT;
  }
}

void TCanvas::TargetResized() {}

void TCanvas::TraceCall(const char* op, std::initializer_list<int> args, std::string_view text) {
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

void TCanvas::SetClipRect(const TRect& r) {
  FClipKind = ClipKind::Rect;
  FClipRect = NormalizedRect(r);
  FClipPolygon.clear();
}

void TCanvas::SetClipPolygon(std::span<const TPoint> points, TFillMode mode) {
  FClipKind = ClipKind::Polygon;
  FClipPolygon.assign(points.begin(), points.end());
  FClipFillMode = mode;
}

void TCanvas::ClearClip() {
  FClipKind = ClipKind::None;
  FClipPolygon.clear();
}

TRect TCanvas::ClipBox() const {
  if (!FBitmap || FBitmap->Empty()) return TRect{};
  TRect r{0, 0, FBitmap->Width(), FBitmap->Height()};
  if (FClipKind == ClipKind::Rect) {
    r.Left = std::max(r.Left, FClipRect.Left);
    r.Top = std::max(r.Top, FClipRect.Top);
    r.Right = std::min(r.Right, FClipRect.Right);
    r.Bottom = std::min(r.Bottom, FClipRect.Bottom);
  }
  if (r.IsEmpty()) return TRect{};
  return r;
}

bool TCanvas::PtVisible(int x, int y) const {
  if (!FBitmap || FBitmap->Empty()) return false;
  if (x < 0 || y < 0 || x >= FBitmap->Width() || y >= FBitmap->Height()) return false;
  if (FClipKind == ClipKind::Rect) return PtInRect(FClipRect, Point(x, y));
  if (FClipKind == ClipKind::Polygon) {
    if (FClipPolygon.size() < 3) return false;
    return PointInPolygon(FClipPolygon, FClipFillMode, x + 0.5, y + 0.5);
  }
  return true;
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  TraceCall("SetPixel", {x, y, color});
  if (!PtVisible(x, y)) return;
  FBitmap->ScanLine(y)[x] = ColorToPixel(ColorToRGB(color));
}

TColor TCanvas::GetPixel(int x, int y) const {
  if (!FBitmap || x < 0 || y < 0 || x >= FBitmap->Width() || y >= FBitmap->Height()) return clNone;
  return PixelToColor(FBitmap->PixelWord(x, y));
}

void TCanvas::MoveTo(int x, int y) {
  TraceCall("MoveTo", {x, y});
  FPenPos = Point(x, y);
}

void TCanvas::LineTo(int x, int y) {
  TraceCall("LineTo", {x, y});
  FPenPos = Point(x, y);
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  std::vector<int> args;
  (void)args;
  TraceCall("Polyline", {static_cast<int>(points.size())});
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) { TraceCall("Rectangle", {x1, y1, x2, y2}); }

void TCanvas::Polygon(std::span<const TPoint> points) { TraceCall("Polygon", {static_cast<int>(points.size())}); }

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) { TraceCall("Ellipse", {x1, y1, x2, y2}); }

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  TraceCall("Arc", {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  TraceCall("Pie", {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  TraceCall("Chord", {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TCanvas::FillRect(const TRect& r) {
  TraceCall("FillRect", {r.Left, r.Top, r.Right, r.Bottom});
  if (FBrush.Style() == bsClear) return;
  const TRect box = ClipBox();
  const TRect n = NormalizedRect(r);
  const int l = std::max(box.Left, n.Left), t = std::max(box.Top, n.Top);
  const int rr = std::min(box.Right, n.Right), b = std::min(box.Bottom, n.Bottom);
  const std::uint32_t px = ColorToPixel(ColorToRGB(FBrush.Color()));
  for (int y = t; y < b; ++y)
    for (int x = l; x < rr; ++x)
      if (PtVisible(x, y)) FBitmap->ScanLine(y)[x] = px;
}

void TCanvas::FrameRect(const TRect& r) { TraceCall("FrameRect", {r.Left, r.Top, r.Right, r.Bottom}); }

void TCanvas::PatBlt(int left, int top, int width, int height, TPatBltRop rop) {
  TraceCall("PatBlt", {left, top, width, height, static_cast<int>(rop)});
}

void TCanvas::Draw(int x, int y, const TBitmap& source) { TraceCall("Draw", {x, y, source.Width(), source.Height()}); }

void TCanvas::CopyRect(const TRect& dest, const TBitmap& /*source*/, const TRect& sourceRect) {
  TraceCall("CopyRect", {dest.Left, dest.Top, dest.Right, dest.Bottom, sourceRect.Left, sourceRect.Top,
                         sourceRect.Right, sourceRect.Bottom});
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& /*source*/) {
  TraceCall("StretchDraw", {dest.Left, dest.Top, dest.Right, dest.Bottom});
}

}  // namespace varnel
