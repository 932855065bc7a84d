// TCanvas: the stateful drawing surface of a TBitmap with the pixel rules of the classic desktop
// drawing system: a current pen, brush and font, background mode and colour, text alignment,
// a clip (none, a rectangle or a polygon) and the immediate operations below. Line ends are
// not painted; rectangles exclude their right and bottom edges; arcs and pies run
// counterclockwise from the radial through the start point to the radial through the end point.
// Any coordinates in the int range and any sizes are safe: nothing is written outside the
// bitmap and no loop runs over the unclipped length of a shape.
//
// On a monochrome bitmap a pen, brush or text colour that is exactly black or white paints
// itself; any other colour paints the opposite of what the background colour becomes, and the
// background colour becomes the nearer of black and white (so with a white background every
// other colour draws black). SetPixel takes the nearer of the two. Text is not smoothed there:
// a glyph pixel at least half covered is painted.
//
//   TCanvas& c = bmp.Canvas();
//   c.Pen().SetColor(clRed);  c.MoveTo(0, 0);  c.LineTo(10, 5);
//   c.Brush().SetStyle(bsClear);  c.TextOut(4, 4, "CPU 37");
#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Color.h"
#include "base/Geometry.h"
#include "platform/canvas/Graphics.h"

namespace varnel {

class TBitmap;
class TCanvasTrace;
namespace raster {
class TClipRegion;
class TLineStack;
}

// Text alignment flags (combine one horizontal with one vertical).
enum : unsigned {
  TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24
};
// Background modes.
enum TBkMode : int { TRANSPARENT = 1, OPAQUE = 2 };
// Polygon fill modes.
enum TFillMode : int { ALTERNATE = 1, WINDING = 2 };
// Raster operations of PatBlt: the named ones; PatBlt takes any of the 16 codes that combine
// only the brush pattern and the destination (bits 16..23 are the operation's truth table).
enum TPatBltRop : std::uint32_t { PATCOPY = 0x00F00021, PATINVERT = 0x005A0049, DSTINVERT = 0x00550009,
                                  BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062 };

// Font metrics in pixels.
struct TTextMetric {
  int Ascent = 0;
  int Descent = 0;
  int Height = 0;           // Ascent + Descent
  int InternalLeading = 0;  // Height - em size
  int AveCharWidth = 0;
};

class TCanvas {
 public:
  explicit TCanvas(TBitmap* target);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TBitmap* Bitmap() const { return FBitmap; }

  // Drawing tools. Setting the brush (any setter or Assign, even with the value it holds) sets
  // the background as the classic canvas did: a solid brush makes the background opaque in the
  // brush colour, any other style transparent. An explicit SetBkMode or SetBkColor afterwards
  // holds until the brush is set again.
  TPen& Pen() { return FPen; }
  TBrush& Brush() { return FBrush; }
  TFont& Font() { return FFont; }
  const TPen& Pen() const { return FPen; }
  const TBrush& Brush() const { return FBrush; }
  const TFont& Font() const { return FFont; }

  TBkMode BkMode() const { return FBkMode; }
  void SetBkMode(TBkMode mode) { FBkMode = mode; }
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor color) { FBkColor = color; }
  unsigned TextAlign() const { return FTextAlign; }
  void SetTextAlign(unsigned flags) { FTextAlign = flags; }
  TFillMode PolyFillMode() const { return FFillMode; }
  void SetPolyFillMode(TFillMode mode) { FFillMode = mode; }

  // Clipping, in device pixels. A rectangle is put in order; an empty one hides everything.
  void SetClipRect(const TRect& r);
  void SetClipPolygon(std::span<const TPoint> points, TFillMode mode);
  void ClearClip();
  bool HasClip() const { return FClipKind != ClipKind::None; }
  // The bounding box of what can be painted now: the bitmap, narrowed by the clip (empty when
  // nothing can be painted). Back ends use it with PtVisible to clip their output.
  TRect ClipBox() const;
  // Whether pixel (x, y) lies inside the bitmap and the clip.
  bool PtVisible(int x, int y) const;

  // Lines with the current pen (and its mode); the end point is not painted.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  TPoint PenPos() const { return FPenPos; }
  void Polyline(std::span<const TPoint> points);
  // LineTo each point in turn: the same pixels, pen position and trace (one LineTo a point) as
  // those calls, at a fraction of their cost on long dense lines (the pen is resolved once, and
  // a one-pixel solid pen whose mode gives the same pixel however often it is applied paints
  // consecutive segments down one column as one run).
  void PolylineTo(std::span<const TPoint> points);
  // Whether PolylineTo now paints a run of consecutive points down one pixel column as the
  // block between the run's highest and lowest point, leaving out only an end point that no
  // other point of the run reaches (as LineTo leaves it out): true when nothing is painted, and
  // for a pen whose mode gives the same pixel however often it is applied that is either solid
  // and one pixel wide or wide up to raster::kChainWidth. The points of such a run other than
  // its ends and extremes then change no pixel.
  bool PolylineToMergesColumns() const;

  // Filled shapes: outline with the pen, inside with the brush (either may be clear).
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Polygon(std::span<const TPoint> points);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

  // Fills with the brush and no outline (a clear brush fills nothing): columns l .. r-1, or
  // r .. l-1 when right is left of left; rows the same.
  void FillRect(const TRect& r);
  // One-pixel frame in the brush colour.
  void FrameRect(const TRect& r);
  // Combines (left, top, width, height) with the brush by a raster operation of pattern and
  // destination; an operation that needs a source bitmap draws nothing. A negative extent
  // covers x+w .. x-1: PatBlt(2, 2, -1, 1, ...) paints column 1 and leaves column 2.
  void PatBlt(int left, int top, int width, int height, std::uint32_t rop);

  // Text with the current font, alignment, background mode and colour. The opaque box covers
  // the advance widths and the font's whole height.
  void TextOut(int x, int y, std::string_view text);
  int TextWidth(std::string_view text);
  int TextHeight(std::string_view text);
  TSize TextExtent(std::string_view text);
  TTextMetric TextMetrics();

  // Copies a whole bitmap with its top-left corner at (x, y) (a plain source copy, clipped).
  void Draw(int x, int y, const TBitmap& source);
  // Copies the source rectangle of a bitmap onto the destination rectangle, stretching it
  // (nearest pixel) when the sizes differ.
  void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect);
  // StretchDraw of a whole bitmap into a rectangle.
  void StretchDraw(const TRect& dest, const TBitmap& source);

  // A line layer: while one is open, the one-pixel solid lines PolylineTo draws from left to
  // right (x never decreasing) with a pen that sets its pixels whatever was there (pmCopy and
  // the like), inside a rectangular clip, are gathered rather than painted, and painted
  // together, each pixel once, when the last layer closes or before anything else paints or
  // reads the picture through this canvas: the same pixels as painted one by one. A chart
  // opens one around its series, whose many crossing lines then cost their visible pixels.
  // Nothing else may read or change the bitmap's pixels while a layer is open.
  void OpenLineLayer() { ++FLineLayers; }
  void CloseLineLayer();

  // Single pixels (clipped). SetPixel writes the colour as it is (no pen mode); GetPixel gives
  // -1 for a pixel outside the bitmap or the clip.
  void SetPixel(int x, int y, TColor color);
  TColor GetPixel(int x, int y) const;

  // Call trace for tests: every drawing operation above (not the state setters and clipping) is
  // reported to the trace while one is set. Point lists are reported as x0, y0, x1, y1, ...
  void SetTrace(TCanvasTrace* trace) { FTrace = trace; }
  TCanvasTrace* Trace() const { return FTrace; }
  // Reports one operation to the trace, when one is set (for the canvas's own back ends).
  void TraceCall(const char* op, std::initializer_list<int> args, std::string_view text = {});

  // Called by TBitmap when its pixels move, change size or are converted.
  void TargetResized();
  // Counts TargetResized calls: while it stays the same, the target holds the pixels drawn
  // through this canvas (a component that redraws only what changed relies on it).
  std::uint64_t TargetGeneration() const { return FTargetGeneration; }

  // The pixel word a pen, brush or text colour paints with, and that of the background colour
  // (the colours themselves, or black and white on a monochrome bitmap).
  std::uint32_t InkPixel(TColor color) const;
  std::uint32_t BkPixel() const;
  bool MonochromeTarget() const;

 private:
  enum class ClipKind { None, Rect, Polygon };
  void OnBrushChanged();
  void TracePoints(const char* op, std::span<const TPoint> points);
  void RebuildClipRegion();
  // Paints the lines a layer holds (see OpenLineLayer).
  void PaintLines() const;
  // Reports one call to the trace without painting held lines first (a pen move paints nothing).
  void Report(const char* op, std::initializer_list<int> args, std::string_view text = {});
  void StrokeAndFill(int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

  TBitmap* FBitmap;
  TPen FPen;
  TBrush FBrush;
  TFont FFont;
  TBkMode FBkMode = OPAQUE;
  TColor FBkColor = clWhite;
  unsigned FTextAlign = TA_LEFT | TA_TOP;
  TFillMode FFillMode = ALTERNATE;
  TPoint FPenPos{0, 0};
  ClipKind FClipKind = ClipKind::None;
  TRect FClipRect{};
  std::vector<TPoint> FClipPolygon;
  TFillMode FClipFillMode = ALTERNATE;
  std::unique_ptr<raster::TClipRegion> FRegion;  // the visible pixels: bitmap and clip
  std::uint64_t FTargetGeneration = 0;
  TCanvasTrace* FTrace = nullptr;
  int FLineLayers = 0;
  std::unique_ptr<raster::TLineStack> FLines;  // made by the first line a layer holds
  friend class TCanvasAccess;  // the raster and text back ends
};

// Opens a line layer on a canvas for its lifetime.
class TLineLayer {
 public:
  explicit TLineLayer(TCanvas& canvas) : FCanvas(canvas) { canvas.OpenLineLayer(); }
  ~TLineLayer() { FCanvas.CloseLineLayer(); }
  TLineLayer(const TLineLayer&) = delete;
  TLineLayer& operator=(const TLineLayer&) = delete;

 private:
  TCanvas& FCanvas;
};

// One traced call: the operation's name ("MoveTo", "LineTo", "Rectangle", "TextOut", ...), its
// integer arguments in call order, the text for TextOut, and the pen and brush at the time.
struct TCanvasCall {
  std::string Op;
  std::vector<int> Args;
  std::string Text;
  TColor PenColor = clBlack;
  int PenWidth = 1;
  TPenStyle PenStyle = psSolid;
  TPenMode PenMode = pmCopy;
  TColor BrushColor = clWhite;
  TBrushStyle BrushStyle = bsSolid;
};

class TCanvasTrace {
 public:
  std::vector<TCanvasCall> Calls;
  void Clear() { Calls.clear(); }
  // The operations' names in order, e.g. {"MoveTo", "LineTo"}.
  std::vector<std::string> Ops() const;
};

}  // namespace varnel
