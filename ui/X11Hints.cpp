// EWMH hints through Xlib: window type, states, frame extents and window-manager moves.
#include "ui/X11Hints.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace varnel::x11 {
namespace {

Atom A(const char* name) { return XInternAtom(fl_display, name, False); }

void SendRootMessage(Window w, Atom type, long l0, long l1, long l2, long l3, long l4) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = type;
  e.xclient.format = 32;
  e.xclient.data.l[0] = l0;
  e.xclient.data.l[1] = l1;
  e.xclient.data.l[2] = l2;
  e.xclient.data.l[3] = l3;
  e.xclient.data.l[4] = l4;
  XSendEvent(fl_display, RootWindow(fl_display, fl_screen), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

std::vector<Atom> ReadAtoms(Window w, Atom property) {
  std::vector<Atom> out;
  Atom type = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(fl_display, w, property, 0, 1024, False, XA_ATOM, &type, &format, &n, &after, &data) ==
          Success &&
      data) {
    if (type == XA_ATOM && format == 32) {
      const auto* atoms = reinterpret_cast<const Atom*>(data);
      out.assign(atoms, atoms + n);
    }
    XFree(data);
  }
  return out;
}

void WriteAtoms(Window w, Atom property, const std::vector<Atom>& atoms) {
  XChangeProperty(fl_display, w, property, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(atoms.data()), static_cast<int>(atoms.size()));
}

// The workspace number that means every workspace.
constexpr long EveryDesktop = 0xFFFFFFFFL;

void WriteCardinal(Window w, Atom property, long value) {
  XChangeProperty(fl_display, w, property, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&value), 1);
}

// Up to `count` 32-bit cardinals of a property (as longs, which is how Xlib hands them over).
std::vector<long> ReadCardinals(Window w, Atom property, long count) {
  std::vector<long> out;
  Atom type = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(fl_display, w, property, 0, count, False, XA_CARDINAL, &type, &format, &n, &after, &data) ==
          Success &&
      data) {
    if (type == XA_CARDINAL && format == 32) {
      const auto* v = reinterpret_cast<const long*>(data);
      out.assign(v, v + n);
    }
    XFree(data);
  }
  return out;
}

void SetTypeAndStates(Window w, bool above) {
  const Atom utility = A("_NET_WM_WINDOW_TYPE_UTILITY");
  XChangeProperty(fl_display, w, A("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&utility), 1);
  std::vector<Atom> states{A("_NET_WM_STATE_SKIP_TASKBAR"), A("_NET_WM_STATE_SKIP_PAGER")};
  if (above) {
    states.push_back(A("_NET_WM_STATE_ABOVE"));
    // A window that stays above the others stays on every workspace too.
    states.push_back(A("_NET_WM_STATE_STICKY"));
    WriteCardinal(w, A("_NET_WM_DESKTOP"), EveryDesktop);
  }
  WriteAtoms(w, A("_NET_WM_STATE"), states);
}

std::optional<TFrameExtents> ReadExtents(Window w) {
  std::optional<TFrameExtents> ext;
  Atom type = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(fl_display, w, A("_NET_FRAME_EXTENTS"), 0, 4, False, XA_CARDINAL, &type, &format, &n,
                         &after, &data) == Success &&
      data) {
    if (type == XA_CARDINAL && format == 32 && n == 4) {
      // Xlib hands 32-bit items over as longs.
      const auto* v = reinterpret_cast<const long*>(data);
      ext = AcceptFrameExtents(v[0], v[1], v[2], v[3], DisplayWidth(fl_display, fl_screen),
                               DisplayHeight(fl_display, fl_screen));
    }
    XFree(data);
  }
  return ext;
}

// The Motif window-manager hints: flags, functions, decorations, input mode, status.
void SetFrameFunctions(Window w, TFrameKind kind) {
  enum : long { FunctionsFlag = 1, DecorationsFlag = 2 };
  enum : long { FuncResize = 2, FuncMove = 4, FuncClose = 32 };
  enum : long { DecorBorder = 2, DecorResizeHandles = 4, DecorTitle = 8, DecorMenu = 16 };
  long hints[5] = {FunctionsFlag | DecorationsFlag, FuncMove | FuncResize | FuncClose,
                   DecorBorder | DecorResizeHandles | DecorTitle | DecorMenu, 0, 0};
  if (kind == fkFrameless) hints[2] = 0;
  if (kind == fkDialog) {
    hints[1] = FuncMove | FuncClose;
    hints[2] = DecorBorder | DecorTitle | DecorMenu;
  }
  const Atom motif = A("_MOTIF_WM_HINTS");
  XChangeProperty(fl_display, w, motif, motif, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(hints), 5);
}

// Asks for the window's property changes (frame extents, window-manager states).
void WatchProperties(Window w) {
  XWindowAttributes attributes;
  if (XGetWindowAttributes(fl_display, w, &attributes))
    XSelectInput(fl_display, w, attributes.your_event_mask | PropertyChangeMask);
}

// The ICCCM state the window manager gives a window (WM_STATE), or -1 when there is none.
long WmState(Window w) {
  const Atom wmState = A("WM_STATE");
  Atom type = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  long state = -1;
  if (XGetWindowProperty(fl_display, w, wmState, 0, 2, False, wmState, &type, &format, &n, &after, &data) == Success &&
      data) {
    if (type == wmState && format == 32 && n >= 1) state = reinterpret_cast<const long*>(data)[0];
    XFree(data);
  }
  return state;
}

}  // namespace

void KeepNormalState(const void* xevent) {
  const auto* e = static_cast<const XEvent*>(xevent);
  if (e->type != PropertyNotify || e->xproperty.state != PropertyNewValue) return;
  const Window w = e->xproperty.window;
  if (!fl_find(w)) return;  // not a window of ours
  static const Atom wmState = A("WM_STATE"), netState = A("_NET_WM_STATE");
  if (e->xproperty.atom == wmState) {
    // Mapping an iconic window brings it back to the normal state.
    if (WmState(w) == IconicState) {
      XMapWindow(fl_display, w);
      XFlush(fl_display);
    }
    return;
  }
  if (e->xproperty.atom != netState) return;
  static const Atom maxV = A("_NET_WM_STATE_MAXIMIZED_VERT"), maxH = A("_NET_WM_STATE_MAXIMIZED_HORZ"),
                    full = A("_NET_WM_STATE_FULLSCREEN"), hidden = A("_NET_WM_STATE_HIDDEN");
  const std::vector<Atom> states = ReadAtoms(w, netState);
  auto has = [&](Atom a) { return std::find(states.begin(), states.end(), a) != states.end(); };
  if (has(maxV) || has(maxH)) SendRootMessage(w, netState, 0 /* remove */, static_cast<long>(maxV), static_cast<long>(maxH), 1, 0);
  if (has(full)) SendRootMessage(w, netState, 0, static_cast<long>(full), 0, 1, 0);
  if (has(hidden) && WmState(w) == IconicState) XMapWindow(fl_display, w);
  XFlush(fl_display);
}

void PassPointerThroughTooltips(const void* xevent) {
  const auto* e = static_cast<const XEvent*>(xevent);
  if (e->type != MapNotify) return;
  const Fl_Window* win = fl_find(e->xmap.window);
  if (!win || !win->tooltip_window()) return;
  // Input shapes came with version 1.1 of the shape extension.
  static const bool inputShapes = [] {
    int event = 0, error = 0, major = 0, minor = 0;
    return XShapeQueryExtension(fl_display, &event, &error) && XShapeQueryVersion(fl_display, &major, &minor) &&
           (major > 1 || (major == 1 && minor >= 1));
  }();
  if (!inputShapes) return;
  // No rectangles: the window takes no pointer input, which goes to the window beneath.
  XShapeCombineRectangles(fl_display, e->xmap.window, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
  XFlush(fl_display);
}

void SetFrameKind(Fl_Window* win, TFrameKind kind) {
  if (!win->shown()) return;
  SetFrameFunctions(fl_xid(win), kind);
  XFlush(fl_display);
}

void ShowDialog(Fl_Window* win, TFrameKind kind) {
  fl_open_display();
  XGrabServer(fl_display);
  win->show();
  SetFrameFunctions(fl_xid(win), kind);
  WatchProperties(fl_xid(win));
  XUngrabServer(fl_display);
  XFlush(fl_display);
}

void ShowToolWindow(Fl_Window* win, bool above) {
  fl_open_display();
  XGrabServer(fl_display);
  win->show();  // FLTK publishes its own Motif hints here: ours replace them
  SetTypeAndStates(fl_xid(win), above);
  SetFrameFunctions(fl_xid(win), win->border() ? fkToolWindow : fkFrameless);
  // Property changes tell when the window manager publishes the frame extents.
  WatchProperties(fl_xid(win));
  XUngrabServer(fl_display);
  XFlush(fl_display);
}

void SetAbove(Fl_Window* win, bool above) {
  if (!win->shown()) return;
  const Window w = fl_xid(win);
  const Atom state = A("_NET_WM_STATE"), atomAbove = A("_NET_WM_STATE_ABOVE");
  SendRootMessage(w, state, above ? 1 : 0, static_cast<long>(atomAbove), 0, 1, 0);
  std::vector<Atom> states = ReadAtoms(w, state);
  std::erase(states, atomAbove);
  if (above) states.push_back(atomAbove);
  WriteAtoms(w, state, states);
  if (above) XRaiseWindow(fl_display, w);
  XFlush(fl_display);
}

void SetOnEveryWorkspace(Fl_Window* win, bool every) {
  if (!win->shown()) return;
  const Window w = fl_xid(win), root = RootWindow(fl_display, fl_screen);
  const Atom state = A("_NET_WM_STATE"), sticky = A("_NET_WM_STATE_STICKY"), desktop = A("_NET_WM_DESKTOP");
  long target = EveryDesktop;
  if (!every) {
    const std::vector<long> current = ReadCardinals(root, A("_NET_CURRENT_DESKTOP"), 1);
    target = current.empty() ? 0 : current[0];
  }
  SendRootMessage(w, state, every ? 1 : 0, static_cast<long>(sticky), 0, 1, 0);
  SendRootMessage(w, desktop, target, 1, 0, 0, 0);
  // The properties too, for when no window manager runs.
  std::vector<Atom> states = ReadAtoms(w, state);
  std::erase(states, sticky);
  if (every) states.push_back(sticky);
  WriteAtoms(w, state, states);
  WriteCardinal(w, desktop, target);
  XFlush(fl_display);
}

void SetSkipTaskbar(Fl_Window* win) {
  if (!win->shown()) return;
  const Window w = fl_xid(win);
  const Atom state = A("_NET_WM_STATE"), skip = A("_NET_WM_STATE_SKIP_TASKBAR"),
             pager = A("_NET_WM_STATE_SKIP_PAGER");
  std::vector<Atom> states = ReadAtoms(w, state);
  bool changed = false;
  for (Atom a : {skip, pager}) {
    if (std::find(states.begin(), states.end(), a) != states.end()) continue;
    states.push_back(a);
    SendRootMessage(w, state, 1, static_cast<long>(a), 0, 1, 0);
    changed = true;
  }
  if (changed) {
    WriteAtoms(w, state, states);
    XFlush(fl_display);
  }
}

std::optional<TFrameExtents> FrameExtents(Fl_Window* win) {
  if (!win->shown()) return std::nullopt;
  return ReadExtents(fl_xid(win));
}

bool FrameExtentsChanged(const void* xevent, Fl_Window* win) {
  const auto* e = static_cast<const XEvent*>(xevent);
  if (e->type != PropertyNotify || !win->shown() || e->xproperty.window != fl_xid(win)) return false;
  static const Atom extents = A("_NET_FRAME_EXTENTS");
  return e->xproperty.atom == extents;
}

TFrameExtents RequestToolFrameExtents(int timeoutMs) {
  fl_open_display();
  const Window root = RootWindow(fl_display, fl_screen);
  if (ReadAtoms(root, A("_NET_SUPPORTED")).empty()) return {};  // no window manager
  const Window probe = XCreateSimpleWindow(fl_display, root, 0, 0, 100, 100, 0, 0, 0);
  XSelectInput(fl_display, probe, PropertyChangeMask);
  SetTypeAndStates(probe, false);
  SendRootMessage(probe, A("_NET_REQUEST_FRAME_EXTENTS"), 0, 0, 0, 0, 0);
  XFlush(fl_display);
  const Atom extents = A("_NET_FRAME_EXTENTS");
  TFrameExtents result;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < until) {
    XEvent e;
    if (XCheckTypedWindowEvent(fl_display, probe, PropertyNotify, &e)) {
      if (e.xproperty.atom == extents) {
        result = ReadExtents(probe).value_or(TFrameExtents{});
        break;
      }
      continue;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  XDestroyWindow(fl_display, probe);
  XFlush(fl_display);
  return result;
}

std::vector<TBounds> Monitors() {
  fl_open_display();
  std::vector<TBounds> out;
  for (int i = 0, n = Fl::screen_count(); i < n; ++i) {
    TBounds b;
    Fl::screen_xywh(b.Left, b.Top, b.Width, b.Height, i);
    out.push_back(b);
  }
  return out;
}

TBounds ScreenBounds() {
  fl_open_display();
  return {0, 0, DisplayWidth(fl_display, fl_screen), DisplayHeight(fl_display, fl_screen)};
}

TBounds MonitorOf(const Fl_Window* win) {
  const std::vector<TBounds> monitors = Monitors();
  const int i = MonitorHolding({win->x(), win->y(), win->w(), win->h()}, monitors);
  if (i < 0) return ScreenBounds();
  return monitors[static_cast<std::size_t>(i)];
}

std::optional<TBounds> DesktopWorkArea() {
  fl_open_display();
  const Window root = RootWindow(fl_display, fl_screen);
  const std::vector<long> current = ReadCardinals(root, A("_NET_CURRENT_DESKTOP"), 1);
  // Four cardinals a workspace; a count no window manager needs is not read.
  constexpr long MaxDesktops = 1024;
  const long desktop = current.empty() || current[0] < 0 || current[0] >= MaxDesktops ? 0 : current[0];
  const std::vector<long> areas = ReadCardinals(root, A("_NET_WORKAREA"), 4 * MaxDesktops);
  std::size_t at = static_cast<std::size_t>(desktop) * 4;
  if (areas.size() < at + 4) at = 0;  // the first workspace's where the list is short
  if (areas.size() < at + 4) return std::nullopt;
  // Cardinals, which any client can write: whatever they hold is cut to the monitors later.
  return TBounds{SaturateInt(areas[at]), SaturateInt(areas[at + 1]), SaturateInt(areas[at + 2]),
                 SaturateInt(areas[at + 3])};
}

void WatchScreen() {
  fl_open_display();
  const Window root = RootWindow(fl_display, fl_screen);
  XWindowAttributes attributes;
  if (XGetWindowAttributes(fl_display, root, &attributes))
    XSelectInput(fl_display, root, attributes.your_event_mask | StructureNotifyMask | PropertyChangeMask);
}

bool ScreenChanged(const void* xevent) {
  const auto* e = static_cast<const XEvent*>(xevent);
  const Window root = RootWindow(fl_display, fl_screen);
  if (e->type == ConfigureNotify) return e->xconfigure.window == root;
  if (e->type != PropertyNotify || e->xproperty.window != root) return false;
  static const Atom workArea = A("_NET_WORKAREA"), current = A("_NET_CURRENT_DESKTOP");
  return e->xproperty.atom == workArea || e->xproperty.atom == current;
}

bool WindowManagerMoves() {
  fl_open_display();
  const std::vector<Atom> supported = ReadAtoms(RootWindow(fl_display, fl_screen), A("_NET_SUPPORTED"));
  const Atom move = A("_NET_WM_MOVERESIZE");
  return std::find(supported.begin(), supported.end(), move) != supported.end();
}

void StartMove(Fl_Window* win, int rootX, int rootY) {
  if (!win->shown()) return;
  XUngrabPointer(fl_display, CurrentTime);
  SendRootMessage(fl_xid(win), A("_NET_WM_MOVERESIZE"), rootX, rootY, 8 /* move */, 1 /* button 1 */, 1);
  XFlush(fl_display);
}

void MoveWindow(Fl_Window* win, int x, int y) {
  if (!win->shown()) return;
  XMoveWindow(fl_display, fl_xid(win), x, y);
  XFlush(fl_display);
}

void FocusWindow(Fl_Window* win) {
  if (!win->shown()) return;
  XSync(fl_display, False);
  XWindowAttributes attrs;
  // Only a viewable window can take the focus.
  for (int i = 0; i < 50; ++i) {
    if (XGetWindowAttributes(fl_display, fl_xid(win), &attrs) && attrs.map_state == IsViewable) {
      XSetInputFocus(fl_display, fl_xid(win), RevertToParent, CurrentTime);
      XFlush(fl_display);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

bool VisualIsRgb24() {
  fl_open_display();
  if (!fl_visual || fl_visual->c_class != TrueColor || fl_visual->depth != 24) return false;
  if (fl_visual->red_mask != 0xFF0000 || fl_visual->green_mask != 0xFF00 || fl_visual->blue_mask != 0xFF) return false;
  int n = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(fl_display, &n);
  bool ok = false;
  for (int i = 0; i < n; ++i)
    if (formats[i].depth == 24) ok = formats[i].bits_per_pixel == 32;
  if (formats) XFree(formats);
  return ok;
}

}  // namespace varnel::x11
