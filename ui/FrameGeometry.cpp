// Outer and client geometry of the main window, overflow-free.
#include "ui/FrameGeometry.h"

#include <algorithm>
#include <climits>

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

}  // namespace varnel
