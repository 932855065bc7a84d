// The window-manager hints the program needs and FLTK 1.3 lacks, through Xlib and the EWMH
// conventions: the utility window type, no taskbar entry, stay on top, the frame extents, and
// moving the window by a drag handed to the window manager. Each state is set both as a
// property on the window and, once it is mapped, as a client message to the root window, so that
// it holds with or without a running window manager.
#pragma once

class Fl_Window;

namespace varnel::x11 {

// The frame the window manager puts around a window (0 without one, or for a borderless window).
struct TFrameExtents {
  int Left = 0, Right = 0, Top = 0, Bottom = 0;
};

// Shows an FLTK window with the utility window type and the skip-taskbar state, plus the above
// state when `above`; the server is grabbed around it so the window manager sees the hints from
// the first map.
void ShowToolWindow(Fl_Window* win, bool above);
// Adds or removes the above state of a shown window (client message, property, raise).
void SetAbove(Fl_Window* win, bool above);
// Re-asserts the skip-taskbar and skip-pager states of a shown window.
void SetSkipTaskbar(Fl_Window* win);
// The frame extents of a shown window as the window manager published them.
TFrameExtents FrameExtents(Fl_Window* win);
// Whether an X event, as an FLTK system handler receives it, tells that the window manager
// published new frame extents for the window (ShowToolWindow asks for these events).
bool FrameExtentsChanged(const void* xevent, Fl_Window* win);
// The extents a bordered utility window will get, asked of the window manager before showing
// (through a throwaway window and _NET_REQUEST_FRAME_EXTENTS); zero when no manager answers
// within `timeoutMs`.
TFrameExtents RequestToolFrameExtents(int timeoutMs);
// Whether a window manager runs that supports moving a window by _NET_WM_MOVERESIZE.
bool WindowManagerMoves();
// Hands a left-button drag that started at the root point (x, y) to the window manager.
void StartMove(Fl_Window* win, int rootX, int rootY);
// Moves the X window to (x, y) at once (the client's position).
void MoveWindow(Fl_Window* win, int x, int y);
// Gives the keyboard focus to a shown window (needed without a window manager).
void FocusWindow(Fl_Window* win);
// Whether the default visual is 24-bit TrueColor with the 0x00RRGGBB layout.
bool VisualIsRgb24();

}  // namespace varnel::x11
