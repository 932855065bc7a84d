// xattack: a small hostile X client for the end-to-end tests. It sends a window what a careless or
// malicious client can send any window, where xdotool cannot:
//
//   xattack dnd-vanish WINDOW [TIMES]  drag sources that enter, move over WINDOW and vanish at once
//   xattack dnd-bogus WINDOW [TIMES]   drag messages naming a source window that does not exist
//   xattack flood WINDOW COUNT SEED     COUNT client messages of random types, formats and data
//   xattack resize WINDOW COUNT SEED RATE
//                                       COUNT resizes of random sizes up to 2^31, RATE a second
//   xattack menu WINDOW [WIDTH HEIGHT]  (a resize, then) a right click; the time to the menu
//   xattack menu-again WINDOW           the menu; then Escape and a right click in one go; the
//                                       time to the menu again
//
// It exits 0 once every request has reached the server (what the window then does is up to it),
// and 2 on a usage or connection error. X errors of its own requests (the target may be gone) are
// counted, not fatal.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>

namespace {

int OwnErrors = 0;
int CountError(Display*, XErrorEvent*) {
  ++OwnErrors;
  return 0;
}

void SendClientMessage(Display* d, Window to, Atom type, int format, const long data[5]) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.display = d;
  e.xclient.window = to;
  e.xclient.message_type = type;
  e.xclient.format = format;
  for (int i = 0; i < 5; ++i) e.xclient.data.l[i] = data[i];
  XSendEvent(d, to, False, NoEventMask, &e);
}

// Enter and Position from `source` to `target`, as a drag source sends them while the pointer
// moves over a window (protocol version 5, one offered type, the copy action).
void DragOver(Display* d, Window target, Window source) {
  const Atom enter = XInternAtom(d, "XdndEnter", False);
  const Atom position = XInternAtom(d, "XdndPosition", False);
  const Atom copy = XInternAtom(d, "XdndActionCopy", False);
  const Atom text = XInternAtom(d, "text/plain", False);
  const long enterData[5] = {static_cast<long>(source), 5L << 24, static_cast<long>(text), 0, 0};
  SendClientMessage(d, target, enter, 32, enterData);
  const long positionData[5] = {static_cast<long>(source), 0, (20L << 16) | 20L, CurrentTime, static_cast<long>(copy)};
  SendClientMessage(d, target, position, 32, positionData);
}

int DndVanish(Display* d, Window target, int times) {
  for (int i = 0; i < times; ++i) {
    const Window source = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    DragOver(d, target, source);
    XDestroyWindow(d, source);
    XSync(d, False);
  }
  return 0;
}

int DndBogus(Display* d, Window target, int times) {
  // A window made and destroyed at once: its id is surely not a window any more.
  const Window gone = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(d, gone);
  for (int i = 0; i < times; ++i) {
    DragOver(d, target, gone);
    DragOver(d, target, 0x7FFFFFF0UL - static_cast<unsigned long>(i));
    const long drop[5] = {static_cast<long>(gone), 0, CurrentTime, 0, 0};
    SendClientMessage(d, target, XInternAtom(d, "XdndDrop", False), 32, drop);
    const long leave[5] = {static_cast<long>(gone), 0, 0, 0, 0};
    SendClientMessage(d, target, XInternAtom(d, "XdndLeave", False), 32, leave);
  }
  XSync(d, False);
  return 0;
}

int Flood(Display* d, Window target, int count, unsigned seed) {
  // Any message type a client might use, except WM_PROTOCOLS (its WM_DELETE_WINDOW closes the
  // window, which is no fault), and some atoms that name nothing in particular.
  const char* names[] = {"XdndEnter",     "XdndPosition",   "XdndLeave", "XdndDrop",  "XdndStatus",
                         "XdndFinished",  "XdndSelection",  "_NET_WM_STATE", "_NET_WM_MOVERESIZE",
                         "_NET_ACTIVE_WINDOW", "_NET_CLOSE_WINDOW_NOT", "WM_CHANGE_STATE", "_XEMBED",
                         "_NET_WM_PING", "MANAGER"};
  Atom types[sizeof names / sizeof names[0]];
  const int ntypes = static_cast<int>(sizeof names / sizeof names[0]);
  for (int i = 0; i < ntypes; ++i) types[i] = XInternAtom(d, names[i], False);
  std::mt19937 rng(seed);
  const Window self = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
  const int formats[3] = {8, 16, 32};
  for (int i = 0; i < count; ++i) {
    long data[5];
    for (long& v : data) v = static_cast<long>(static_cast<std::int32_t>(rng()));
    // Half the messages name a window as their first value: ours, the target, none, or a random id.
    switch (rng() % 8) {
      case 0: data[0] = static_cast<long>(self); break;
      case 1: data[0] = static_cast<long>(target); break;
      case 2: data[0] = 0; break;
      case 3: data[0] = static_cast<long>(rng() & 0x1FFFFFFF); break;
      default: break;
    }
    const Atom type = rng() % 5 == 0 ? static_cast<Atom>(1 + rng() % 68) : types[rng() % ntypes];
    SendClientMessage(d, target, type, formats[rng() % 3], data);
    if (i % 200 == 199) XSync(d, False);
  }
  XDestroyWindow(d, self);
  XSync(d, False);
  return 0;
}

int Resize(Display* d, Window target, int count, unsigned seed, int rate) {
  std::mt19937 rng(seed);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    // Sizes up to 2^31: on the wire a width is 16 bits, so the server sees what Xlib keeps of it.
    const unsigned w = static_cast<unsigned>(rng() % 0x80000000U) + 1U;
    const unsigned h = static_cast<unsigned>(rng() % 0x80000000U) + 1U;
    // Every fourth size is a small one, so that the window keeps changing between both ends.
    if (i % 4 == 3)
      XResizeWindow(d, target, 1 + w % 2000, 1 + h % 2000);
    else
      XResizeWindow(d, target, w, h);
    XFlush(d);
    if (rate > 0) std::this_thread::sleep_until(start + std::chrono::microseconds(1000000LL * (i + 1) / rate));
  }
  XSync(d, False);
  return 0;
}

// A synthetic right click (press and release) at (40, 40) of `target`.
void SendRightClick(Display* d, Window target) {
  for (int type : {ButtonPress, ButtonRelease}) {
    XEvent e{};
    e.xbutton.type = type;
    e.xbutton.display = d;
    e.xbutton.window = target;
    e.xbutton.root = DefaultRootWindow(d);
    e.xbutton.x = e.xbutton.y = 40;
    e.xbutton.button = Button3;
    e.xbutton.state = type == ButtonRelease ? Button3Mask : 0;
    e.xbutton.same_screen = True;
    e.xbutton.time = CurrentTime;
    XSendEvent(d, target, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &e);
  }
}

// A synthetic press and release of the Escape key, sent to `target`.
void SendEscape(Display* d, Window target) {
  for (int type : {KeyPress, KeyRelease}) {
    XEvent e{};
    e.xkey.type = type;
    e.xkey.display = d;
    e.xkey.window = target;
    e.xkey.root = DefaultRootWindow(d);
    e.xkey.keycode = XKeysymToKeycode(d, XK_Escape);
    e.xkey.same_screen = True;
    e.xkey.time = CurrentTime;
    XSendEvent(d, target, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &e);
  }
}

using TClock = std::chrono::steady_clock;

// Waits up to 5 s for a menu of `target`'s client to be mapped (root's SubstructureNotify must be
// selected): prints the milliseconds since `start` and returns 0, or returns 1 when none came.
int AwaitMenu(Display* d, Window target, TClock::time_point start) {
  const auto end = start + std::chrono::seconds(5);
  while (TClock::now() < end) {
    while (XPending(d) > 0) {
      XEvent e;
      XNextEvent(d, &e);
      // A popup of the window's own client (same resource id base) taller than a tooltip. Its
      // place is not checked: while a window manager works through a backlog of resizes, the
      // frame the menu was placed by has moved on.
      XWindowAttributes a{};
      if (e.type == MapNotify && e.xmap.override_redirect && (e.xmap.window & ~0x1FFFFFUL) == (target & ~0x1FFFFFUL) &&
          XGetWindowAttributes(d, e.xmap.window, &a) && a.height > 40) {
        const auto ms = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
        std::printf("menu after %.1f ms\n", ms);
        return 0;
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  std::puts("no menu within 5 s");
  return 1;
}

// Optionally resizes `target` to w x h, then right-clicks it (a synthetic press and release at
// (40, 40)) and waits up to 5 s for the menu: prints the milliseconds from the resize (or the
// click) to the menu's map, or returns 1 when none came.
int Menu(Display* d, Window target, long w, long h) {
  XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
  XSync(d, False);
  const auto start = TClock::now();
  if (w > 0 && h > 0) XResizeWindow(d, target, static_cast<unsigned>(w), static_cast<unsigned>(h));
  SendRightClick(d, target);
  XFlush(d);
  return AwaitMenu(d, target, start);
}

// Opens the menu with a right click; then sends Escape and another right click in one go (as a
// user's quick Escape and click reach a program that is busy): the menu closes and the second
// click opens it again. Prints the time to the second menu, or returns 1 when none came.
int MenuAgain(Display* d, Window target) {
  XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
  XSync(d, False);
  SendRightClick(d, target);
  XFlush(d);
  if (AwaitMenu(d, target, TClock::now()) != 0) return 1;
  const auto start = TClock::now();
  SendEscape(d, target);
  SendRightClick(d, target);
  XFlush(d);
  return AwaitMenu(d, target, start);
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage =
      "usage: xattack dnd-vanish|dnd-bogus WINDOW [TIMES]\n"
      "       xattack flood WINDOW COUNT SEED\n"
      "       xattack resize WINDOW COUNT SEED RATE\n"
      "       xattack menu WINDOW [WIDTH HEIGHT]\n"
      "       xattack menu-again WINDOW\n";
  if (argc < 3) {
    std::fputs(usage, stderr);
    return 2;
  }
  const std::string mode = argv[1];
  const Window target = std::strtoul(argv[2], nullptr, 0);
  auto arg = [&](int i, long fallback) { return argc > i ? std::strtol(argv[i], nullptr, 0) : fallback; };
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fputs("xattack: cannot open the display\n", stderr);
    return 2;
  }
  XSetErrorHandler(CountError);
  int rc = 2;
  if (mode == "dnd-vanish")
    rc = DndVanish(d, target, static_cast<int>(arg(3, 5)));
  else if (mode == "dnd-bogus")
    rc = DndBogus(d, target, static_cast<int>(arg(3, 5)));
  else if (mode == "flood" && argc >= 5)
    rc = Flood(d, target, static_cast<int>(arg(3, 0)), static_cast<unsigned>(arg(4, 1)));
  else if (mode == "menu")
    rc = Menu(d, target, arg(3, 0), arg(4, 0));
  else if (mode == "menu-again")
    rc = MenuAgain(d, target);
  else if (mode == "resize" && argc >= 6)
    rc = Resize(d, target, static_cast<int>(arg(3, 0)), static_cast<unsigned>(arg(4, 1)), static_cast<int>(arg(5, 0)));
  else
    std::fputs(usage, stderr);
  if (OwnErrors > 0) std::fprintf(stderr, "xattack: %d errors of its own requests\n", OwnErrors);
  XCloseDisplay(d);
  return rc;
}
