// Helper of bench/resources.sh: starts a program and reports how long it took until its window
// first showed on the screen, painted. It polls (every millisecond) the top-level windows for a
// viewable one of the given name (other than the windows there before it started) and then the
// screen under it until its centre is no longer the black of the empty root window. Prints
// "PID MILLISECONDS" and leaves the program running.
//
//   firstpaint 'CPU Usage|FENDUL' ./varnel
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <regex>
#include <string>
#include <vector>
#include <thread>

extern char** environ;

namespace {

bool NameMatches(Display* d, Window w, const std::regex& re) {
  char* name = nullptr;
  if (!XFetchName(d, w, &name) || !name) return false;
  const bool ok = std::regex_search(name, re);
  XFree(name);
  return ok;
}

// The top-level windows now.
std::vector<Window> TopLevel(Display* d) {
  Window root = DefaultRootWindow(d), parent, *children = nullptr;
  unsigned n = 0;
  std::vector<Window> out;
  if (XQueryTree(d, root, &root, &parent, &children, &n)) out.assign(children, children + n);
  if (children) XFree(children);
  return out;
}

// A viewable top-level window of that name, not one of before, whose centre is painted.
bool Painted(Display* d, const std::regex& re, const std::vector<Window>& before) {
  Window root = DefaultRootWindow(d), parent, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(d, root, &root, &parent, &children, &n)) return false;
  bool painted = false;
  for (unsigned i = 0; i < n && !painted; ++i) {
    XWindowAttributes a;
    if (std::find(before.begin(), before.end(), children[i]) != before.end()) continue;
    if (!XGetWindowAttributes(d, children[i], &a) || a.map_state != IsViewable) continue;
    if (!NameMatches(d, children[i], re)) continue;
    XImage* img = XGetImage(d, root, a.x + a.width / 2 - 2, a.y + a.height / 2 - 2, 4, 4, AllPlanes, ZPixmap);
    if (!img) continue;
    for (int y = 0; y < 4 && !painted; ++y)
      for (int x = 0; x < 4 && !painted; ++x) painted = (XGetPixel(img, x, y) & 0xFFFFFF) != 0;
    XDestroyImage(img);
  }
  if (children) XFree(children);
  return painted;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: firstpaint NAME-REGEX PROGRAM [ARGS...]\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "firstpaint: no display\n");
    return 1;
  }
  const std::regex re(argv[1]);
  const std::vector<Window> before = TopLevel(d);
  const auto t0 = std::chrono::steady_clock::now();
  pid_t pid = 0;
  // The program's output goes nowhere: it must not hold the caller's pipe open.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  if (posix_spawnp(&pid, argv[2], &actions, nullptr, argv + 2, environ) != 0) {
    std::fprintf(stderr, "firstpaint: cannot start %s\n", argv[2]);
    return 1;
  }
  while (!Painted(d, re, before)) {
    if (std::chrono::steady_clock::now() - t0 > std::chrono::seconds(20)) {
      std::printf("%d -1\n", static_cast<int>(pid));
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  std::printf("%d %.1f\n", static_cast<int>(pid), ms);
  XCloseDisplay(d);
  return 0;
}
