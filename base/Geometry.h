// Small value types of device geometry: TPoint, TSize and the half-open TRect.
#pragma once

namespace varnel {

struct TPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle covers columns Left..Right-1 and rows Top..Bottom-1.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int x, int y) { return TPoint{x, y}; }
constexpr TRect Rect(int l, int t, int r, int b) { return TRect{l, t, r, b}; }
constexpr TRect Bounds(int l, int t, int w, int h) { return TRect{l, t, l + w, t + h}; }

// The rectangle with its corners put in order (smaller coordinates become left and top).
constexpr TRect NormalizedRect(const TRect& r) {
  return TRect{r.Left < r.Right ? r.Left : r.Right, r.Top < r.Bottom ? r.Top : r.Bottom,
               r.Left < r.Right ? r.Right : r.Left, r.Top < r.Bottom ? r.Bottom : r.Top};
}

constexpr bool PtInRect(const TRect& r, TPoint p) {
  return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

}  // namespace varnel
