// Dropping configure events that a later one of the same window supersedes.
#include "ui/ConfigureEvents.h"

#include <FL/Fl.H>
#include <FL/x.H>

namespace varnel {

namespace {
struct TScan {
  Window Win;
  bool Later = false;
};

// Notes a configure event of the scanned window; takes no event out of the queue.
Bool NoteConfigure(Display*, XEvent* e, XPointer arg) {
  auto* scan = reinterpret_cast<TScan*>(arg);
  if (e->type == ConfigureNotify && e->xconfigure.window == scan->Win) scan->Later = true;
  return False;
}

int DropSuperseded(void* event, void*) {
  const XEvent* e = static_cast<const XEvent*>(event);
  if (e->type != ConfigureNotify) return 0;
  TScan scan{e->xconfigure.window};
  XEvent none;
  XCheckIfEvent(fl_display, &none, NoteConfigure, reinterpret_cast<XPointer>(&scan));
  return scan.Later ? 1 : 0;  // 1: FLTK does not see the event
}
}  // namespace

void DropSupersededConfigureEvents() { Fl::add_system_handler(DropSuperseded, nullptr); }

}  // namespace varnel
