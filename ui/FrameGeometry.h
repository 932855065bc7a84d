// The main window's geometry: the outer rectangle (frame included) that the program works with
// and stores, the client rectangle that the window system places, and the frame extents between
// them. Frame extents are a window property any X client can write, so they are accepted only
// within 0..the screen size; positions and sizes can come from the settings file as any int.
// All arithmetic here is done in 64 bits and saturates to int, so no input overflows.
//
//   TBounds client = ClientFromOuter({396, 7, 332, 190}, extents, 1280, 1024);
//
// It also keeps the window findable on the monitors of the moment: a window of which no piece big
// enough to take hold of (GripWidth x GripHeight of its title bar, of its client area without
// one) lies inside some monitor's work area is moved to the nearest one (FindablePlace); and it
// says which monitor holds a window, for the dialogs and menus that open there.
#pragma once
#include <optional>
#include <vector>

namespace varnel {

// The frame the window manager puts around the client (all 0 without one).
struct TFrameExtents {
  int Left = 0, Right = 0, Top = 0, Bottom = 0;
  bool Empty() const { return Left == 0 && Right == 0 && Top == 0 && Bottom == 0; }
};

struct TBounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TBounds&) const = default;
};

// A client window's position is kept within +-PositionLimit (X positions are 16-bit on the wire).
inline constexpr int PositionLimit = 30000;

// The smallest client size interactive resizing gives (published to the window manager): big
// enough to find the window again without its title bar and to right-click it for the menu.
inline constexpr int MinTrackWidth = 100;
inline constexpr int MinTrackHeight = 50;

// v saturated to the int range.
int SaturateInt(long long v);

// Frame extents as read from the property: each side within 0..the screen's size in its
// direction (left and right to the width, top and bottom to the height); otherwise unknown.
std::optional<TFrameExtents> AcceptFrameExtents(long long left, long long right, long long top, long long bottom,
                                                int screenWidth, int screenHeight);

// The outer bounds of a client inside the extents.
TBounds OuterFromClient(const TBounds& client, const TFrameExtents& e);

// Where the client goes for the outer bounds: its position within +-PositionLimit, its size at
// least 1 and at most the screen's (as top-level windows are limited on the desktops the program
// comes from).
TBounds ClientFromOuter(const TBounds& outer, const TFrameExtents& e, int screenWidth, int screenHeight);

// The smallest piece of the title bar (of the client area without one) that must lie inside a
// monitor's work area for the window to be found, taken hold of and right-clicked.
inline constexpr int GripWidth = 48;
inline constexpr int GripHeight = 24;

// The work area of each monitor: the monitor cut to the desktop's work area (what the panels
// leave free), or the whole monitor where the two do not meet or no work area is known. Monitors
// of no size are left out; the order is kept (the primary monitor comes first).
std::vector<TBounds> MonitorWorkAreas(const std::vector<TBounds>& monitors, const std::optional<TBounds>& workArea);

// Whether a window with these outer bounds and frame has a grip-sized piece of its title bar
// (the frame's top side; the client area when the frame has none) inside one of the work areas.
// A title bar or client area smaller than the grip must lie inside whole, in that direction.
bool WindowUsable(const TBounds& outer, const TFrameExtents& e, const std::vector<TBounds>& workAreas);

// Where a window that is not usable goes: into the nearest work area (the one it overlaps most,
// else the one at the least distance; the first of equals), its size kept or shrunk to the work
// area, moved no further than it must to lie inside it. Nothing when the window is usable where it
// stands or no work area is known.
std::optional<TBounds> FindablePlace(const TBounds& outer, const TFrameExtents& e,
                                     const std::vector<TBounds>& workAreas);

// The index of the monitor that holds most of `r` (the first of equals), or 0 when none holds any
// of it; -1 for an empty list.
int MonitorHolding(const TBounds& r, const std::vector<TBounds>& monitors);

// A w x h rectangle centred on `area`; one larger than the area keeps its top-left corner in it.
TBounds CentredIn(const TBounds& area, int w, int h);

// The start of a span of `size` moved into [lo, lo + extent): as far as it must and no further;
// one larger than the range starts at lo.
int ClampSpan(int start, int size, int lo, int extent);

}  // namespace varnel
