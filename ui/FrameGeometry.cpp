// Outer and client geometry of the main window, overflow-free.
#include "ui/FrameGeometry.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace varnel {

int SaturateInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

std::optional<TFrameExtents> AcceptFrameExtents(long long left, long long right, long long top, long long bottom,
                                                int screenWidth, int screenHeight) {
  auto within = [](long long v, int limit) { return v >= 0 && v <= limit; };
  if (!within(left, screenWidth) || !within(right, screenWidth) || !within(top, screenHeight) ||
      !within(bottom, screenHeight))
    return std::nullopt;
  return TFrameExtents{static_cast<int>(left), static_cast<int>(right), static_cast<int>(top),
                       static_cast<int>(bottom)};
}

TBounds OuterFromClient(const TBounds& client, const TFrameExtents& e) {
  return TBounds{SaturateInt(static_cast<long long>(client.Left) - e.Left),
                 SaturateInt(static_cast<long long>(client.Top) - e.Top),
                 SaturateInt(static_cast<long long>(client.Width) + e.Left + e.Right),
                 SaturateInt(static_cast<long long>(client.Height) + e.Top + e.Bottom)};
}

TBounds ClientFromOuter(const TBounds& outer, const TFrameExtents& e, int screenWidth, int screenHeight) {
  auto position = [](long long v) { return static_cast<int>(std::clamp<long long>(v, -PositionLimit, PositionLimit)); };
  auto size = [](long long v, int screen) { return static_cast<int>(std::clamp<long long>(v, 1, std::max(screen, 1))); };
  return TBounds{position(static_cast<long long>(outer.Left) + e.Left),
                 position(static_cast<long long>(outer.Top) + e.Top),
                 size(static_cast<long long>(outer.Width) - e.Left - e.Right, screenWidth),
                 size(static_cast<long long>(outer.Height) - e.Top - e.Bottom, screenHeight)};
}

// ---- Monitors -------------------------------------------------------------------------------

namespace {

// A rectangle in 64 bits: sums and differences of ints cannot overflow here.
struct TSpan {
  long long Left, Top, Right, Bottom;
  explicit TSpan(const TBounds& b)
      : Left(b.Left), Top(b.Top), Right(static_cast<long long>(b.Left) + b.Width),
        Bottom(static_cast<long long>(b.Top) + b.Height) {}
  TSpan(long long l, long long t, long long r, long long b) : Left(l), Top(t), Right(r), Bottom(b) {}
  long long Width() const { return std::max(0LL, Right - Left); }
  long long Height() const { return std::max(0LL, Bottom - Top); }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  TSpan Meet(const TSpan& o) const {
    return {std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right), std::min(Bottom, o.Bottom)};
  }
  // The area as a double: a product of two 33-bit lengths does not fit 64 bits.
  double Area() const { return static_cast<double>(Width()) * static_cast<double>(Height()); }
  TBounds ToBounds() const {
    return {SaturateInt(Left), SaturateInt(Top), SaturateInt(Right - Left), SaturateInt(Bottom - Top)};
  }
};

// The gap between two spans along one axis (0 where they overlap).
long long Gap(long long lo1, long long hi1, long long lo2, long long hi2) {
  return std::max({0LL, lo2 - hi1, lo1 - hi2});
}

}  // namespace

std::vector<TBounds> MonitorWorkAreas(const std::vector<TBounds>& monitors, const std::optional<TBounds>& workArea) {
  std::vector<TBounds> out;
  for (const TBounds& m : monitors) {
    const TSpan monitor(m);
    if (monitor.Empty()) continue;
    TSpan area = monitor;
    if (workArea) {
      const TSpan cut = monitor.Meet(TSpan(*workArea));
      if (!cut.Empty()) area = cut;
    }
    out.push_back(area.ToBounds());
  }
  return out;
}

namespace {

// The title bar, or the client area of a window without one.
TSpan GripArea(const TBounds& outer, const TFrameExtents& e) {
  const TSpan o(outer);
  if (e.Top > 0) return {o.Left, o.Top, o.Right, o.Top + e.Top};
  return {o.Left + e.Left, o.Top + e.Top, o.Right - e.Right, o.Bottom - e.Bottom};
}

}  // namespace

bool WindowUsable(const TBounds& outer, const TFrameExtents& e, const std::vector<TBounds>& workAreas) {
  const TSpan grip = GripArea(outer, e);
  if (grip.Empty()) return false;
  const long long needW = std::min<long long>(GripWidth, grip.Width());
  const long long needH = std::min<long long>(GripHeight, grip.Height());
  return std::any_of(workAreas.begin(), workAreas.end(), [&](const TBounds& a) {
    const TSpan piece = grip.Meet(TSpan(a));
    return piece.Width() >= needW && piece.Height() >= needH;
  });
}

std::optional<TBounds> FindablePlace(const TBounds& outer, const TFrameExtents& e,
                                     const std::vector<TBounds>& workAreas) {
  const TSpan window(outer);
  const TSpan* nearest = nullptr;
  std::vector<TSpan> areas;
  for (const TBounds& a : workAreas)
    if (!TSpan(a).Empty()) areas.emplace_back(a);
  if (areas.empty() || WindowUsable(outer, e, workAreas)) return std::nullopt;
  double bestGap = 0, bestOverlap = 0;
  for (const TSpan& a : areas) {
    const double gx = static_cast<double>(Gap(window.Left, window.Right, a.Left, a.Right));
    const double gy = static_cast<double>(Gap(window.Top, window.Bottom, a.Top, a.Bottom));
    const double gap = gx * gx + gy * gy, overlap = window.Meet(a).Area();
    if (!nearest || gap < bestGap || (gap == bestGap && overlap > bestOverlap)) {
      nearest = &a;
      bestGap = gap;
      bestOverlap = overlap;
    }
  }
  const TSpan& a = *nearest;
  const long long w = std::min(static_cast<long long>(outer.Width), a.Width());
  const long long h = std::min(static_cast<long long>(outer.Height), a.Height());
  const long long left = std::clamp(window.Left, a.Left, a.Right - std::max(0LL, w));
  const long long top = std::clamp(window.Top, a.Top, a.Bottom - std::max(0LL, h));
  return TBounds{SaturateInt(left), SaturateInt(top), SaturateInt(w), SaturateInt(h)};
}

int MonitorHolding(const TBounds& r, const std::vector<TBounds>& monitors) {
  if (monitors.empty()) return -1;
  const TSpan window(r);
  int best = 0;
  double most = 0;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const double shared = window.Meet(TSpan(monitors[i])).Area();
    if (shared > most) {
      most = shared;
      best = static_cast<int>(i);
    }
  }
  return best;
}

int ClampSpan(int start, int size, int lo, int extent) {
  const long long hi = static_cast<long long>(lo) + std::max(0, extent) - std::max(0, size);
  return SaturateInt(std::clamp<long long>(start, lo, std::max<long long>(lo, hi)));
}

TBounds CentredIn(const TBounds& area, int w, int h) {
  const long long left = static_cast<long long>(area.Left) + (static_cast<long long>(area.Width) - w) / 2;
  const long long top = static_cast<long long>(area.Top) + (static_cast<long long>(area.Height) - h) / 2;
  return TBounds{SaturateInt(std::max<long long>(left, area.Left)), SaturateInt(std::max<long long>(top, area.Top)), w,
                 h};
}

}  // namespace varnel
