// The main window's geometry: frame extents that other clients may have written, and the
// outer/client conversions for any int the settings file or the window system hands over.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "ui/FrameGeometry.h"

namespace varnel {
namespace {

TEST(FrameGeometry, AcceptsFrameExtentsOnlyWithinTheScreen) {
  struct Case {
    long long l, r, t, b;
    bool accepted;
  };
  // On a 1280 x 1024 screen: sides up to the width (left, right) and the height (top, bottom).
  const Case cases[] = {
      {1, 1, 20, 1, true},           {0, 0, 0, 0, true},
      {1280, 1280, 1024, 1024, true}, {1281, 0, 0, 0, false},
      {0, 0, 1025, 0, false},        {0, 0, 0, 1025, false},
      {-1, 0, 0, 0, false},          {0, 0, 0, -2147483648LL, false},
      {2147483647, 0, 0, 0, false},  {0, 4294967295LL, 0, 0, false},
      {0, 0, 1100, 0, false},  // 1100 fits the width but not the height
  };
  for (const Case& c : cases) {
    const std::optional<TFrameExtents> e = AcceptFrameExtents(c.l, c.r, c.t, c.b, 1280, 1024);
    EXPECT_EQ(e.has_value(), c.accepted) << c.l << " " << c.r << " " << c.t << " " << c.b;
    if (e) {
      EXPECT_EQ(e->Left + e->Right + e->Top + e->Bottom, c.l + c.r + c.t + c.b);
    }
  }
}

TEST(FrameGeometry, ConvertsOuterAndClientWithoutOverflow) {
  const TFrameExtents frame{4, 4, 22, 4};
  // Ordinary values: the client sits inside the frame, and back again gives the same outer bounds.
  const TBounds c = ClientFromOuter({396, 7, 332, 190}, frame, 1280, 1024);
  EXPECT_EQ(c.Left, 400);
  EXPECT_EQ(c.Top, 29);
  EXPECT_EQ(c.Width, 324);
  EXPECT_EQ(c.Height, 164);
  const TBounds o = OuterFromClient(c, frame);
  EXPECT_EQ(o.Left, 396);
  EXPECT_EQ(o.Top, 7);
  EXPECT_EQ(o.Width, 332);
  EXPECT_EQ(o.Height, 190);

  // Any int, with the largest frame the screen allows: the client stays placeable, and the outer
  // bounds are what 64-bit arithmetic gives, saturated.
  const int values[] = {INT_MIN, INT_MIN + 1, -30001, -1, 0, 1, 30001, INT_MAX - 1, INT_MAX};
  const TFrameExtents frames[] = {{}, frame, {1280, 1280, 1024, 1024}};
  for (const TFrameExtents& e : frames)
    for (int v : values) {
      const TBounds cl = ClientFromOuter({v, v, v, v}, e, 1280, 1024);
      EXPECT_GE(cl.Left, -PositionLimit);
      EXPECT_LE(cl.Left, PositionLimit);
      EXPECT_GE(cl.Width, 1);
      EXPECT_LE(cl.Width, 1280);
      EXPECT_GE(cl.Height, 1);
      EXPECT_LE(cl.Height, 1024);
      const TBounds ou = OuterFromClient({v, v, v, v}, e);
      const long long wide = static_cast<long long>(v) + e.Left + e.Right;
      EXPECT_EQ(ou.Width, wide > INT_MAX ? INT_MAX : wide);
      const long long left = static_cast<long long>(v) - e.Left;
      EXPECT_EQ(ou.Left, left < INT_MIN ? INT_MIN : left);
    }
}

}  // namespace
}  // namespace varnel
