// The main window's geometry: the outer rectangle (frame included) that the program works with
// and stores, the client rectangle that the window system places, and the frame extents between
// them. Frame extents are a window property any X client can write, so they are accepted only
// within 0..the screen size; positions and sizes can come from the settings file as any int.
// All arithmetic here is done in 64 bits and saturates to int, so no input overflows.
//
//   TBounds client = ClientFromOuter({396, 7, 332, 190}, extents, 1280, 1024);
#pragma once
#include <optional>

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

}  // namespace varnel
