// The raster core under TCanvas: pixel operations (D' = (D and A) xor X), inks (solid or 8x8
// hatch), the visible region (bitmap narrowed by a clip rectangle or polygon), a row-wise span
// accumulator for strokes that must paint each pixel once, and the scan converters (polygon
// lattice fill, cosmetic lines with dash styles, wide strokes, the integer ellipse walk).
// Everything takes 64-bit coordinates and works only on the rows and columns that can be seen.
//
//   raster::TSurface s(bmp.Data(), bmp.Width(), bmp.Height(), region);
//   s.Span(y, x0, x1, raster::SolidInk(raster::PenRop(pmCopy, px)));
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "base/Geometry.h"
#include "platform/canvas/Canvas.h"
#include "platform/canvas/Graphics.h"

namespace varnel::raster {

using i64 = std::int64_t;
using i128 = __int128;

constexpr std::uint32_t kAllBits = 0x00FFFFFFu;

// A half-open box of pixels, in 64-bit so that shape extents never overflow.
struct TBox {
  i64 L = 0, T = 0, R = 0, B = 0;
  bool Empty() const { return R <= L || B <= T; }
  bool Intersects(i64 l, i64 t, i64 r, i64 b) const { return l < R && r > L && t < B && b > T; }
};

struct TPoint64 {
  i64 x = 0, y = 0;
  friend bool operator==(const TPoint64&, const TPoint64&) = default;
};

// Receives spans [x0, x1) of row y.
using TSpanSink = std::function<void(i64 y, i64 x0, i64 x1)>;

// One per-pixel operation: D' = (D & A) ^ X, all on 0x00RRGGBB words.
struct TRop {
  std::uint32_t A = 0, X = 0;
  bool IsNop() const { return A == kAllBits && X == 0; }
  // Whether applying it twice gives what applying it once does (copy, or, and, black, white).
  bool Idempotent() const { return (A & X) == 0; }
  std::uint32_t Apply(std::uint32_t d) const { return (d & A) ^ X; }
};

// floor(n / d) and ceil(n / d) for d > 0 and a quotient that fits in 64 bits; in 64-bit
// arithmetic when n does (a shape inside the picture), which costs a fraction of the wide one.
inline i64 FloorDiv(i128 n, i64 d) {
  if (n >= INT64_MIN && n <= INT64_MAX) {
    const i64 m = static_cast<i64>(n);
    const i64 q = m / d;
    return q * d > m ? q - 1 : q;
  }
  const i128 q = n / d;
  return static_cast<i64>(q * d > n ? q - 1 : q);
}
inline i64 CeilDiv(i128 n, i64 d) { return -FloorDiv(-n, d); }

// The operation of a pen mode with pen pixel P.
TRop PenRop(TPenMode mode, std::uint32_t p);

// What a span paints: one operation everywhere, or an 8x8 hatch aligned to the bitmap origin
// with one operation on the hatch lines and another (or none) between them.
struct TInk {
  TRop Fg;
  TRop Bg;
  const std::uint8_t* Hatch = nullptr;  // 8 rows, bit 7 = column 0
  bool PaintGaps = true;
  bool Nothing = false;  // a clear brush
};

inline TInk SolidInk(TRop r) { return TInk{r, r, nullptr, true, false}; }
// The hatch pattern rows of a brush style, or nullptr for solid and clear.
const std::uint8_t* HatchPattern(TBrushStyle style);

// The visible pixels: a box inside the bitmap and, for a polygon clip, the spans of each row.
class TClipRegion {
 public:
  TBox Box;                                    // bounding box of every visible pixel
  bool Complex = false;                        // rows hold spans
  std::vector<std::uint32_t> RowStart;         // Box rows + 1 offsets into Spans
  std::vector<std::pair<int, int>> Spans;      // [x0, x1) sorted per row

  bool Contains(i64 x, i64 y) const;
};

// A visible region from a bitmap size and the canvas clip.
void BuildRectRegion(TClipRegion& out, int width, int height, const TRect& clip, bool hasClip);
void BuildPolygonRegion(TClipRegion& out, int width, int height, std::span<const TPoint> pts, TFillMode mode);

// A plain fill of a box whose rows are written late: when anything else needs the picture, or
// row by row together with a stroke's rows (TColumnCover), so that a picture larger than the
// cache is written once and not filled first and then walked again, cold, by the stroke.
struct TLateFill {
  TBox Box;
  std::uint32_t Pixel = 0;
  bool Active = false;
  std::vector<std::uint8_t> Due;      // per row of the box: not yet written
  i64 DueRows = 0;
  std::vector<std::uint32_t> Filled;  // one row of the box's width, all Pixel (copied from)
  // Starts a fill of the box (rows of the picture are written only from now on by Write).
  void Begin(const TBox& box, std::uint32_t pixel);
  // Writes the rows of [y0, y1) still due into the picture of the given row width.
  void Write(std::uint32_t* data, int width, i64 y0, i64 y1);
  // Writes at least the part of the fill inside q: a strip down the box's left or right side
  // (a frame's edge) column by column for every row due, taking it off the box; else the rows.
  void Write(std::uint32_t* data, int width, const TBox& q);
  bool RowDue(i64 y) const { return Active && y >= Box.T && y < Box.B && Due[static_cast<std::size_t>(y - Box.T)]; }
  // Marks row y (a row due) written by the caller.
  void SetWritten(i64 y) {
    Due[static_cast<std::size_t>(y - Box.T)] = 0;
    if (--DueRows == 0) Active = false;
  }
};

// The bitmap under a region: painting primitives that never leave the region. Where a late
// fill is still due, whoever paints straight onto its rows settles them first (Settle); only
// the wide chain is given such a surface.
class TSurface {
 public:
  TSurface(std::uint32_t* data, int width, const TClipRegion& region, TLateFill* late = nullptr)
      : FData(data), FWidth(width), FRegion(region), FLate(late && late->Active ? late : nullptr) {}
  const TClipRegion& Region() const { return FRegion; }
  // The late fill whose rows are not all written yet, or null.
  TLateFill* Late() const { return FLate; }
  // Writes the late fill's rows in [y0, y1) before something else paints there.
  void Settle(i64 y0, i64 y1) {
    if (FLate) FLate->Write(FData, FWidth, y0, y1);
  }
  const TBox& Box() const { return FRegion.Box; }
  // Paints [x0, x1) of row y with the ink, clipped.
  void Span(i64 y, i64 x0, i64 x1, const TInk& ink);
  // Paints rows [y0, y1) x columns [x0, x1), clipped (whole rows of a plain fill at once).
  void Block(i64 y0, i64 y1, i64 x0, i64 x1, const TInk& ink);
  // Rows [y0, y1) x columns [x0, x1), clipped, row by row for a block a few columns wide (a
  // stroke down a pixel column).
  void Narrow(i64 y0, i64 y1, i64 x0, i64 x1, TRop rop);
  // Rows [y0, y1) of column x, clipped.
  void Column(i64 x, i64 y0, i64 y1, TRop rop);
  // One pixel, clipped.
  void Pixel(i64 x, i64 y, TRop rop) {
    if (!FRegion.Contains(x, y)) return;
    std::uint32_t& d = FData[static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth) + static_cast<std::size_t>(x)];
    d = rop.Apply(d);
  }
  std::uint32_t* Row(i64 y) { return FData + static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth); }

 private:
  void Run(std::uint32_t* row, i64 y, i64 a, i64 b, const TInk& ink);
  std::uint32_t* FData;
  int FWidth;
  const TClipRegion& FRegion;
  TLateFill* FLate;
};

// Rows of pixel columns gathered for a stroke that many columns share (at most one interval a
// column), then painted a row at a time: a line down thousands of columns walks the picture
// as it lies in memory instead of down the whole picture once per column. Only for an operation that gives the same
// result however often a pixel is painted; one cover at a time on a thread (its storage is
// kept between uses).
//
//   TColumnCover cover(s, rop);  cover.Add(x, top, bottom);  ...  cover.Paint();
class TColumnCover {
 public:
  TColumnCover(TSurface& s, TRop rop);
  TColumnCover(const TColumnCover&) = delete;
  TColumnCover& operator=(const TColumnCover&) = delete;
  // Rows [t, b) of column x, clipped to the surface's box.
  void Add(i64 x, i64 t, i64 b) {
    const TBox& box = FS.Box();
    if (x < box.L || x >= box.R) return;
    t = std::max(t, box.T);
    b = std::min(b, box.B);
    if (t >= b) return;
    if (x < FMinX || x > FMaxX) Extend(x);
    std::int32_t& top = FTop[static_cast<std::size_t>(x - box.L)];
    std::int32_t& bottom = FBottom[static_cast<std::size_t>(x - box.L)];
    if (top >= bottom) {
      top = static_cast<std::int32_t>(t);
      bottom = static_cast<std::int32_t>(b);
    } else if (t <= bottom && b >= top) {
      top = std::min(top, static_cast<std::int32_t>(t));
      bottom = std::max(bottom, static_cast<std::int32_t>(b));
    } else {
      AddApart(x, t, b);
    }
  }
  // Paints every interval gathered, row by row, and empties the cover.
  void Paint();
  const TBox& Box() const { return FS.Box(); }

 private:
  void Extend(i64 x);
  // An interval apart from its column's: kept beside the columns' own (painting them all once
  // there are more than a few a column).
  void AddApart(i64 x, i64 t, i64 b);
  // Paints the runs of the row's mask within columns [from, to).
  void PaintRow(i64 y, const std::uint64_t* bits, std::size_t words, i64 base, i64 from, i64 to);
  // Writes a row the late fill has not written: its fill, and the mask's pixels inside it.
  void PaintLateRow(i64 y, const std::uint64_t* bits, std::size_t words, i64 base, TLateFill& late);
  TSurface& FS;
  TRop FRop;
  std::vector<std::int32_t>& FTop;     // per column of the box; empty where top >= bottom
  std::vector<std::int32_t>& FBottom;
  std::vector<std::array<std::int32_t, 3>>& FApart;  // further intervals: column, top, bottom
  i64 FMinX = 1, FMaxX = 0;            // the columns in use (none while FMinX > FMaxX)
  i64 FRowsT = 0, FRowsB = 0;          // the rows the further intervals span (Paint adds the columns')
};

// Adds the pixels of a segment body (a parallelogram with its corners in order) to the cover,
// column by column: in each column the lattice rule's pixels of a convex shape are one run of
// rows, bounded by the lines of its left and right edges. False, adding nothing, for a body
// without area or with coordinates beyond 2^24 (the quick arithmetic's range).
bool QuadColumns(std::span<const TPoint64> quad, TColumnCover& cover);

// Spans gathered row by row inside a box (e.g. a wide stroke), merged so that each pixel is
// painted once. Rows are kept compact while spans arrive.
class TSpanRows {
 public:
  explicit TSpanRows(const TBox& box);
  const TBox& Box() const { return FBox; }
  void Add(i64 y, i64 x0, i64 x1);
  // Sorts and merges every row; call once before reading.
  void Finish();
  const std::vector<std::pair<int, int>>& RowSpans(i64 y) const { return FRows[static_cast<std::size_t>(y - FBox.T)]; }
  bool Empty() const { return FCount == 0; }
  // Paints every span.
  void Paint(TSurface& s, const TInk& ink) const;
  // Paints [x0, x1) of row y minus this set's spans of that row.
  void PaintOutside(TSurface& s, i64 y, i64 x0, i64 x1, const TInk& ink) const;

 private:
  static void Merge(std::vector<std::pair<int, int>>& row);
  TBox FBox;
  std::vector<std::vector<std::pair<int, int>>> FRows;
  std::size_t FCount = 0;
};

// Polygon lattice fill: calls emit(y, x0, x1) for each filled span inside the box (rows and
// columns clipped). Grid point (x, y) is inside under the half-open crossing rule.
void ScanPolygon(std::span<const TPoint64> pts, TFillMode mode, const TBox& box, const TSpanSink& emit);
// The same, painting the spans inside the surface's visible region with the ink.
void ScanPolygon(std::span<const TPoint64> pts, TFillMode mode, TSurface& s, const TInk& ink);
// The same on the rows top .. bottom - 1 only.
void ScanPolygon(std::span<const TPoint64> pts, TFillMode mode, TSurface& s, const TInk& ink, i64 top, i64 bottom);

// Cosmetic (one-pixel) line drawing with an optional dash style, continuing the pattern
// across segments of one call.
class TCosmeticPen {
 public:
  // style psSolid..psDashDotDot; opaque gaps are painted with gapRop.
  TCosmeticPen(TSurface& s, TPenStyle style, TRop on, TRop gap, bool opaque);
  // Paints a -> b without b (the first pixel in, the last out).
  void Segment(TPoint64 a, TPoint64 b);
  // A polyline (closed adds the last -> first segment), the pattern running on.
  void Path(std::span<const TPoint64> pts, bool closed);
  // The segments from start through each point in turn, each painted as Segment paints it,
  // for a solid pen whose operation is idempotent: consecutive segments down one column are
  // taken as the single run they cover together, and the runs are painted a row at a time at
  // the end, so a dense polyline paints each of those pixels once and in memory order.
  void Chain(TPoint64 start, std::span<const TPoint> pts);
  void ResetPhase() { FPhase = 0; }

 private:
  template <bool Styled>
  void Walk(bool xMajor, i64 maj0, int smaj, i64 min0, i64 d, i64 m, i64 i0, i64 i1);
  static bool Inside(std::uint32_t* p, std::ptrdiff_t stride, TPoint64 a, TPoint64 b, std::uint32_t flip);
  TSurface& FS;
  const std::uint8_t* FPattern;  // 24 entries, 1 = on; nullptr for solid
  TRop FOn, FGap;
  bool FOpaque;
  i64 FPhase = 0;
};

// Boxes at most this large in both directions use the exact integer ellipse; larger ones an
// approximating polygon refined only near the visible box.
constexpr i64 kExactEllipse = 1 << 15;

// The pen disc of width w (the filled ellipse of a w x w box): Row(r) gives the inclusive
// column offsets from the box's left edge of row r (first > second when the row is empty).
// Large discs are an analytic circle computed row by row.
class TDisc {
 public:
  explicit TDisc(i64 w);
  std::pair<i64, i64> Row(i64 r) const;
  // Whether each row holds every row further from the point's own row (the disc at a point
  // then holds, on every row beyond it, the disc at any point further in): true for the
  // exact discs.
  bool Nested() const { return FNested; }

 private:
  i64 FW;
  std::vector<std::pair<i64, i64>> FRows;
  bool FNested = false;
};

// A wide stroke (round ends and joins) of a path: its spans inside the box, overlapping where
// segments and discs meet (gather them in a TSpanRows to paint each pixel once).
void WideStroke(const TSpanSink& out, const TBox& box, std::span<const TPoint64> pts, bool closed, i64 width,
                const TDisc& disc);

// The corner offsets of the body of a segment (dx, dy) of a pen w wide, where neither dx nor dy
// is 0: with the segment's length L, wx = w |dy| / L and wy = w |dx| / L, N = (round(wx / 2),
// round(wy / 2)) and V = (round((wx + 1) / 2), round((wy + 1) / 2)), halves away from zero
// (the signs of dx and dy are for the caller to apply).
struct TBodyOffsets {
  TPoint64 N, V;
};
TBodyOffsets BodyOffsets(i64 dx, i64 dy, i64 w);

// Pens up to this width stroke an open path with an idempotent operation through WideChain.
constexpr i64 kChainWidth = 64;

// The wide stroke of the open path from start through pts (round ends and joins), painted
// straight onto the surface for an operation that gives the same result however often a pixel
// is painted: the union of the discs at the points and the segments' bodies, with each run of
// segments down one pixel column taken as the block it covers and the discs at its two ends.
// What runs down the picture (blocks, discs, steep bodies) goes through a TColumnCover, so it
// is painted a row at a time. disc must be Nested().
void WideChain(TSurface& s, TRop rop, TPoint64 start, std::span<const TPoint> pts, i64 w, const TDisc& disc);

// One-pixel solid lines of a pen that sets its pixels whatever was there, gathered as the rows
// each covers in each pixel column and painted together later: the last line added on top, as
// if each had been painted when it was added, but every pixel painted once however many lines
// cross it. A chain whose x never decreases covers one interval of rows a column (its pixels
// are 8-connected and never come back to a column they left), so a line costs a few words a
// column to gather and its visible pixels to paint.
//
//   TLineStack lines;  lines.Add(start, pts, box, pixel);  ...  lines.Paint(data, width, height);
class TLineStack {
 public:
  // Adds the chain from start through pts (each segment's pixels as the cosmetic line paints
  // them, its end left out) inside box, to be painted with the pixel word value. False, adding
  // nothing, when x decreases somewhere along it.
  bool Add(TPoint64 start, std::span<const TPoint> pts, const TBox& box, std::uint32_t value);
  bool Empty() const { return FEntries.empty(); }
  // Column intervals held (each line holds at most one a column it reaches).
  std::size_t Size() const { return FEntries.size(); }
  // Paints what is held onto a width x height picture of pixel words (clipped to it) and
  // empties the stack.
  void Paint(std::uint32_t* data, int width, int height);
  void Clear();

 private:
  struct TEntry {
    std::int32_t X, T, B;  // rows [T, B) of column X
  };
  struct TLine {
    std::uint32_t First;  // its first entry
    std::uint32_t Value;
  };
  struct TPiece {
    std::int32_t T, B;
    std::uint32_t Value;
  };
  void Segment(TPoint64 a, TPoint64 b, const TBox& box);
  // Rows [t, b) of column x of the line being added (already inside the box).
  void Rows(i64 x, i64 t, i64 b) {
    if (FEntries.size() > FLineFirst && FEntries.back().X == x) {
      TEntry& e = FEntries.back();
      e.T = std::min(e.T, static_cast<std::int32_t>(t));
      e.B = std::max(e.B, static_cast<std::int32_t>(b));
      return;
    }
    FEntries.push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(t), static_cast<std::int32_t>(b)});
  }
  std::vector<TEntry> FEntries;
  std::vector<TLine> FLines;
  std::size_t FLineFirst = 0;
  // Storage of Paint, kept between uses.
  std::vector<std::uint32_t> FStart;
  std::vector<TPiece> FPieces;
  std::vector<std::pair<std::int32_t, std::int32_t>> FCovered;
};

// The filled ellipse of a W x H box (both at most kExactEllipse): per row the inclusive column
// range, first > second for a row the outline does not reach.
std::vector<std::pair<i64, i64>> EllipseFillRows(i64 w, i64 h);

// The ellipse walk of a W x H box: the lower-right quarter points (x, y) in the box's local
// frame, from the right end of the middle row downwards and leftwards.
std::vector<TPoint64> QuadrantPoints(i64 w, i64 h);


// The outline of an ellipse box (exclusive right/bottom) as a point sequence: counter-clockwise
// from (R-1, B-1-H/2) upwards for the whole outline (full), else the arc from the radial
// through s to the radial through e (start inclusive, end exclusive; the whole outline when
// both lie on one radial). Giant boxes give an approximating polygon (Exact false) that is
// fine only within margin of the visible box.
struct TEllipsePath {
  std::vector<TPoint64> Points;
  bool Exact = true;
};
TEllipsePath EllipsePath(const TBox& box, bool full, TPoint64 s, TPoint64 e, const TBox& visible, i64 margin);

}  // namespace varnel::raster
