// Configure events held back to the event loop's next turn: the last one of each window.
#include "ui/ConfigureEvents.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <chrono>
#include <vector>

namespace varnel {

namespace {
// The last configure event of each of our windows not handled yet, in the order the windows
// first had one.
std::vector<XEvent> Held;
bool Handing = false;  // the held events are on their way to FLTK
// Sizes are handed over at most this often: a window dragged larger follows at 50 pictures a
// second, and a storm of resizes costs 50 layouts and paints a second, not a thousand. The
// first size after a quiet spell goes at once.
constexpr double MinInterval = 0.02;
std::chrono::steady_clock::time_point LastHanded{};

bool SameWindow(const XConfigureEvent& a, const XConfigureEvent& b) { return a.event == b.event && a.window == b.window; }

// At the start of a turn of the loop (timeouts run before the windows are drawn and before the
// loop waits again): FLTK handles each window's last size, once.
void HandHeld(void*) {
  std::vector<XEvent> events;
  events.swap(Held);
  LastHanded = std::chrono::steady_clock::now();
  Handing = true;
  for (const XEvent& e : events) fl_handle(e);
  Handing = false;
}

// Sees every event before FLTK does. Holding one back costs no request to the server, so the
// loop gets through a burst of them at once and handles the input that came with it first.
int Hold(void* event, void*) {
  const XEvent* e = static_cast<const XEvent*>(event);
  if (e->type != ConfigureNotify || Handing || !fl_find(e->xconfigure.window)) return 0;
  for (XEvent& held : Held)
    if (SameWindow(held.xconfigure, e->xconfigure)) {
      held = *e;  // a later size replaces the one held
      return 1;
    }
  if (Held.empty()) {
    const double since = std::chrono::duration<double>(std::chrono::steady_clock::now() - LastHanded).count();
    Fl::add_timeout(since < MinInterval ? MinInterval - since : 0.0, HandHeld);
  }
  Held.push_back(*e);
  return 1;  // 1: FLTK does not see the event now
}
struct TScan {
  Window Win;
  bool Found = false;
};

// Notes a configure event of the scanned window; takes no event out of the queue.
Bool NoteConfigure(Display*, XEvent* e, XPointer arg) {
  auto* scan = reinterpret_cast<TScan*>(arg);
  if (e->type == ConfigureNotify && e->xconfigure.window == scan->Win) scan->Found = true;
  return False;
}
}  // namespace

void CoalesceConfigureEvents() { Fl::add_system_handler(Hold, nullptr); }

bool ConfigureHeld(unsigned long window) {
  for (const XEvent& e : Held)
    if (e.xconfigure.window == window) return true;
  return false;
}

bool ConfigurePending(unsigned long window) {
  if (ConfigureHeld(window)) return true;
  TScan scan{window};
  XEvent none;
  XCheckIfEvent(fl_display, &none, NoteConfigure, reinterpret_cast<XPointer>(&scan));
  return scan.Found;
}

}  // namespace varnel
