// Keeping the main window findable on the monitors of the moment: the monitors' work areas, when
// a window counts as usable where it stands, where one that does not goes, and which monitor holds
// a window (its dialogs and menus open there). Expected places follow from the rule: a grip of
// 48 x 24 (or the whole title bar or client area when smaller) inside one work area; otherwise the
// window moves, no further than it must, into the work area nearest to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <random>
#include <vector>

#include "ui/FrameGeometry.h"

namespace varnel {
namespace {

// A frame like a window manager's small tool caption: 20 pixels on top, 1 on the other sides.
constexpr TFrameExtents Tool{1, 1, 20, 1};
const std::vector<TBounds> FullHd{{0, 0, 1920, 1080}};

TEST(FindableWindow, WorkAreasAreTheMonitorsCutToTheDesktopsWorkArea) {
  const std::vector<TBounds> two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
  // A 40-pixel panel on top of the whole desktop.
  EXPECT_EQ(MonitorWorkAreas(two, TBounds{0, 40, 3200, 1040}),
            (std::vector<TBounds>{{0, 40, 1920, 1040}, {1920, 40, 1280, 984}}));
  // No work area published, one larger than the screen, one of no size, one that misses a
  // monitor: the monitors themselves.
  EXPECT_EQ(MonitorWorkAreas(two, std::nullopt), two);
  EXPECT_EQ(MonitorWorkAreas(two, TBounds{-100, -100, 99999, 99999}), two);
  EXPECT_EQ(MonitorWorkAreas(two, TBounds{0, 40, 0, 1000}), two);
  EXPECT_EQ(MonitorWorkAreas(two, TBounds{0, 0, 1920, 1080}), two);
  // Monitors of no size or negative size are left out; overlapping ones are kept as they are.
  EXPECT_EQ(MonitorWorkAreas({{0, 0, 0, 768}, {0, 0, 1024, -1}, {0, 0, 1024, 768}, {0, 0, 800, 600}}, std::nullopt),
            (std::vector<TBounds>{{0, 0, 1024, 768}, {0, 0, 800, 600}}));
  EXPECT_TRUE(MonitorWorkAreas({}, TBounds{0, 0, 10, 10}).empty());
  // At the ends of int nothing overflows: the far edge saturates.
  EXPECT_EQ(MonitorWorkAreas({{INT_MAX, INT_MAX, INT_MAX, INT_MAX}}, TBounds{INT_MIN, INT_MIN, INT_MAX, INT_MAX}),
            (std::vector<TBounds>{{INT_MAX, INT_MAX, INT_MAX, INT_MAX}}));
}

TEST(FindableWindow, AUsableWindowStaysWhereItIs) {
  // Half off the left edge, half off the bottom, the title bar just inside at the top, exactly
  // 48 pixels of title bar at the right edge, across two monitors: all stay.
  const std::vector<TBounds> two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
  for (const TBounds& w : {TBounds{-150, 7, 332, 190}, TBounds{100, 1000, 332, 190}, TBounds{100, 0, 332, 190},
                           TBounds{1920 - 48, 7, 332, 190}, TBounds{1800, 300, 332, 190}}) {
    EXPECT_TRUE(WindowUsable(w, Tool, two)) << w.Left << "," << w.Top;
    EXPECT_FALSE(FindablePlace(w, Tool, two)) << w.Left << "," << w.Top;
  }
  // A title bar only as tall as the frame's top: 20 rows of it are enough.
  EXPECT_TRUE(WindowUsable({0, 1060, 332, 190}, Tool, FullHd));
  // No work area known: nothing to move to.
  EXPECT_FALSE(FindablePlace({5000, 5000, 332, 190}, Tool, {}));
  EXPECT_FALSE(FindablePlace({5000, 5000, 332, 190}, Tool, {{0, 0, 0, 0}, {10, 10, -5, 20}}));
}

TEST(FindableWindow, AWindowOffEveryMonitorMovesIntoTheNearest) {
  struct Case {
    TBounds Window;
    TFrameExtents Frame;
    std::vector<TBounds> Areas;
    TBounds Expected;
  };
  const std::vector<TBounds> two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
  const Case cases[] = {
      // Left=3000 on a 1920-wide screen: in at the right edge, the top kept.
      {{3000, 7, 332, 190}, Tool, FullHd, {1588, 7, 332, 190}},
      // A 33-pixel strip of title bar (and 47) is not enough.
      {{1920 - 33, 7, 332, 190}, Tool, FullHd, {1588, 7, 332, 190}},
      {{1920 - 47, 7, 332, 190}, Tool, FullHd, {1588, 7, 332, 190}},
      // Far up and left: the corner of the screen; the title bar one row above the top: down by one.
      {{-5000, -3000, 332, 190}, Tool, FullHd, {0, 0, 332, 190}},
      {{100, -1, 332, 190}, Tool, FullHd, {100, 0, 332, 190}},
      // Without a frame the client area is what is held: 24 rows of it are needed.
      {{100, 1080 - 23, 332, 190}, {}, FullHd, {100, 890, 332, 190}},
      // The screen shrunk to 1280 x 720 under a window at 1500, 800.
      {{1500, 800, 332, 190}, Tool, {{0, 0, 1280, 720}}, {948, 530, 332, 190}},
      // Beside the second monitor, below the first's bottom: the second is nearer; under a panel
      // the work area's top counts, not the monitor's.
      {{3300, 100, 332, 190}, Tool, two, {2868, 100, 332, 190}},
      {{100, 1200, 332, 190}, Tool, two, {100, 890, 332, 190}},
      {{500, -400, 332, 190}, Tool, {{0, 40, 1920, 1040}}, {500, 40, 332, 190}},
      // Larger than the monitor: shrunk to it, at its corner.
      {{-4000, 50, 3000, 2000}, Tool, {{0, 0, 1024, 768}}, {0, 0, 1024, 768}},
      // Overlapping monitors (a clone): the first of equals.
      {{5000, 0, 332, 190}, Tool, {{0, 0, 1024, 768}, {0, 0, 1024, 768}}, {692, 0, 332, 190}},
  };
  for (const Case& c : cases) {
    const std::optional<TBounds> place = FindablePlace(c.Window, c.Frame, c.Areas);
    ASSERT_TRUE(place) << c.Window.Left << "," << c.Window.Top;
    EXPECT_EQ(*place, c.Expected) << c.Window.Left << "," << c.Window.Top << " -> " << place->Left << ","
                                  << place->Top << " " << place->Width << "x" << place->Height;
    EXPECT_FALSE(FindablePlace(*place, c.Frame, c.Areas)) << "moved again";
  }
}

TEST(FindableWindow, PositionsAndSizesAtTheEndsOfIntStayFindableWithoutOverflow) {
  const int values[] = {INT_MIN, INT_MIN + 1, -30001, -1, 0, 1, 30001, INT_MAX - 1, INT_MAX};
  const std::vector<TBounds> areas{{0, 40, 1920, 1040}, {-1280, 0, 1280, 1024}};
  for (int x : values)
    for (int y : values)
      for (int size : {INT_MIN, 0, 332, INT_MAX}) {
        const TBounds w{x, y, size, size};
        const std::optional<TBounds> place = FindablePlace(w, Tool, areas);
        if (!place) {
          EXPECT_TRUE(WindowUsable(w, Tool, areas));
          continue;
        }
        // Inside one of the work areas, no larger than it.
        const bool inside = std::any_of(areas.begin(), areas.end(), [&](const TBounds& a) {
          return place->Left >= a.Left && place->Top >= a.Top &&
                 static_cast<long long>(place->Left) + std::max(0, place->Width) <= static_cast<long long>(a.Left) + a.Width &&
                 static_cast<long long>(place->Top) + std::max(0, place->Height) <= static_cast<long long>(a.Top) + a.Height;
        });
        EXPECT_TRUE(inside) << x << "," << y << " size " << size;
      }
}

// An independent model of usability: slides a grip over every pixel position of the title bar
// (client area without a frame) and asks whether one lies wholly inside a work area.
bool UsableByScan(const TBounds& w, const TFrameExtents& e, const std::vector<TBounds>& areas) {
  const int gl = w.Left + (e.Top > 0 ? 0 : e.Left), gt = w.Top + (e.Top > 0 ? 0 : e.Top);
  const int gw = e.Top > 0 ? w.Width : w.Width - e.Left - e.Right, gh = e.Top > 0 ? e.Top : w.Height - e.Top - e.Bottom;
  if (gw <= 0 || gh <= 0) return false;
  const int pw = std::min(GripWidth, gw), ph = std::min(GripHeight, gh);
  for (const TBounds& a : areas)
    for (int py = gt; py + ph <= gt + gh; ++py)
      for (int px = gl; px + pw <= gl + gw; ++px)
        if (px >= a.Left && py >= a.Top && px + pw <= a.Left + a.Width && py + ph <= a.Top + a.Height) return true;
  return false;
}

TEST(FindableWindow, AgreesWithAScanOfEveryGripPositionOnRandomLayouts) {
  std::mt19937 rng(22);
  std::uniform_int_distribution<int> pos(-150, 350), size(-10, 200), frameTop(0, 30);
  for (int round = 0; round < 400; ++round) {
    std::vector<TBounds> monitors;
    const int n = round % 4;  // none to three, overlapping, of any size
    for (int i = 0; i < n; ++i) monitors.push_back({pos(rng), pos(rng), size(rng), size(rng)});
    const std::vector<TBounds> areas = MonitorWorkAreas(monitors, TBounds{pos(rng), pos(rng), 400, 400});
    const int top = frameTop(rng);
    const TFrameExtents e = top > 0 ? TFrameExtents{1, 1, top, 1} : TFrameExtents{};
    const TBounds w{pos(rng), pos(rng), size(rng), size(rng)};
    ASSERT_EQ(WindowUsable(w, e, areas), UsableByScan(w, e, areas))
        << "round " << round << " window " << w.Left << "," << w.Top << " " << w.Width << "x" << w.Height;
    const std::optional<TBounds> place = FindablePlace(w, e, areas);
    ASSERT_EQ(place.has_value(), !areas.empty() && !UsableByScan(w, e, areas)) << "round " << round;
    // A window moved into a work area big enough for its grip and frame can be used there.
    if (place && place->Width >= GripWidth && place->Height >= top + GripHeight) {
      EXPECT_TRUE(UsableByScan(*place, e, areas)) << "round " << round;
    }
  }
}

TEST(FindableWindow, TheMonitorHoldingMostOfAWindowAndWhatOpensThere) {
  const std::vector<TBounds> two{{0, 0, 800, 600}, {800, 0, 1024, 768}};
  EXPECT_EQ(MonitorHolding({700, 100, 332, 190}, two), 1);  // 100 columns on the first, 232 on the second
  EXPECT_EQ(MonitorHolding({600, 100, 332, 190}, two), 0);  // 200 against 132
  EXPECT_EQ(MonitorHolding({634, 100, 332, 190}, two), 0);  // 166 each: the first of equals
  EXPECT_EQ(MonitorHolding({5000, 5000, 332, 190}, two), 0);
  EXPECT_EQ(MonitorHolding({INT_MAX, INT_MIN, INT_MAX, INT_MAX}, two), 0);
  EXPECT_EQ(MonitorHolding({0, 0, 10, 10}, {}), -1);

  // Centred on the second monitor; a box larger than the monitor keeps its corner on it.
  EXPECT_EQ(CentredIn({800, 0, 1024, 768}, 361, 225), (TBounds{800 + 331, 271, 361, 225}));
  EXPECT_EQ(CentredIn({800, 0, 1024, 768}, 2000, 1000), (TBounds{800, 0, 2000, 1000}));
  EXPECT_EQ(CentredIn({INT_MAX, INT_MAX, INT_MAX, INT_MAX}, 10, 10).Left, INT_MAX);

  // A menu 300 high opened 10 pixels into a window low on the first monitor stays on it.
  EXPECT_EQ(ClampSpan(410, 300, 0, 600), 300);
  EXPECT_EQ(ClampSpan(-20, 300, 0, 600), 0);
  EXPECT_EQ(ClampSpan(100, 300, 0, 600), 100);
  EXPECT_EQ(ClampSpan(100, 900, 0, 600), 0);  // taller than the monitor: from its top
  EXPECT_EQ(ClampSpan(INT_MAX, INT_MAX, INT_MIN, INT_MAX), INT_MIN);  // it fills the range exactly
  EXPECT_EQ(ClampSpan(INT_MIN, 10, INT_MAX - 5, INT_MAX), INT_MAX - 5);
}

}  // namespace
}  // namespace varnel
