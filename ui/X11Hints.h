// The window-manager hints the program needs and FLTK 1.3 lacks, through Xlib and the EWMH
// conventions: the utility window type, no taskbar entry, stay on top, the frame extents, and
// moving the window by a drag handed to the window manager. Each state is set both as a
// property on the window and, once it is mapped, as a client message to the root window, so that
// it holds with or without a running window manager.
#pragma once
#include <optional>
#include <vector>

#include "ui/FrameGeometry.h"

class Fl_Window;

namespace varnel::x11 {

using varnel::TBounds;
using varnel::TFrameExtents;

// What the window manager may do to a window and which decorations it draws, as published in
// _MOTIF_WM_HINTS: a tool window can be moved, resized and closed, and has a border, resize
// handles, a title and a window menu (no minimize, no maximize); without a border it has no
// decorations at all; a fixed dialog can be moved and closed, with border, title and menu.
enum TFrameKind { fkToolWindow, fkFrameless, fkDialog };

// Shows an FLTK window with the utility window type and the skip-taskbar state, plus the above
// state when `above` (and then on every workspace); the server is grabbed around it so the window
// manager sees the hints from the first map.
// The frame functions follow the window's border (fkToolWindow or fkFrameless).
void ShowToolWindow(Fl_Window* win, bool above);
// Publishes the functions and decorations of `kind` on a shown window (FLTK rewrites its own
// Motif hints whenever the size range changes).
void SetFrameKind(Fl_Window* win, TFrameKind kind);
// Shows a dialog window with the functions and decorations of `kind`, published before the
// window manager sees it.
void ShowDialog(Fl_Window* win, TFrameKind kind);
// Adds or removes the above state of a shown window (client message, property, raise).
void SetAbove(Fl_Window* win, bool above);
// Puts a shown window on every workspace (the sticky state and desktop 0xFFFFFFFF), or back on
// the workspace shown now, as other windows are.
void SetOnEveryWorkspace(Fl_Window* win, bool every);
// Re-asserts the skip-taskbar and skip-pager states of a shown window.
void SetSkipTaskbar(Fl_Window* win);
// The frame extents of a shown window as the window manager published them; nothing when none
// are published or their values lie outside 0..the screen size (any client can write them).
std::optional<TFrameExtents> FrameExtents(Fl_Window* win);
// Whether an X event, as an FLTK system handler receives it, tells that the window manager
// published new frame extents for the window (ShowToolWindow asks for these events).
bool FrameExtentsChanged(const void* xevent, Fl_Window* win);
// The extents a bordered utility window will get, asked of the window manager before showing
// (through a throwaway window and _NET_REQUEST_FRAME_EXTENTS); zero when no manager answers
// within `timeoutMs` or the answer lies outside 0..the screen size.
TFrameExtents RequestToolFrameExtents(int timeoutMs);
// Keeps the program's windows out of the states their frame does not offer: some window managers
// (openbox among them) keep minimize and maximize for any resizable window whatever the Motif
// hints say. Called with every X event (as an FLTK system handler receives it): a window of ours
// that the window manager made iconic is mapped again at once, and one it maximized or made
// full-screen is asked back to its size. Only windows shown through ShowToolWindow or ShowDialog
// report these changes.
void KeepNormalState(const void* xevent);
// Lets the pointer through the program's tooltips: called with every X event (as an FLTK system
// handler receives it), it gives a tooltip window that has just been mapped an empty input shape.
// A tooltip opens a little below the pointer and stays while the pointer is over the control; a
// pointer that then comes to rest on it (the window moved under a still pointer by a title toggle,
// or a quick move down) would otherwise click the tooltip, which swallows the click and closes,
// instead of the window beneath.
void PassPointerThroughTooltips(const void* xevent);
// The whole screen (the root window), all monitors together.
TBounds ScreenBounds();
// The monitors as the toolkit reads them (Xinerama), the primary first.
std::vector<TBounds> Monitors();
// The monitor that holds most of a window's client area (the first monitor when none does); the
// whole screen when the toolkit knows of no monitor.
TBounds MonitorOf(const Fl_Window* win);
// The work area of the workspace shown now, as the window manager publishes it
// (_NET_WORKAREA); nothing when none is published.
std::optional<TBounds> DesktopWorkArea();
// Asks for the root window's events that tell of a change of the screen's size or of the work
// area (read by ScreenChanged).
void WatchScreen();
// Whether an X event, as an FLTK system handler receives it, tells that the root window changed
// size or the work area changed.
bool ScreenChanged(const void* xevent);
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
