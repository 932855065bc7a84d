// Configure events of the program's windows: only the last one queued for a window is handled.
// Any client can resize our window a thousand times a second, and a window manager working through
// such a storm passes the sizes on at its own pace; FLTK answers each configure event with two
// round trips to the server and the window repaints at each size it is told. Earlier events of a
// window with a later one in the queue describe sizes it no longer has, and are dropped.
#pragma once

namespace varnel {

// Installs the filter (once, after the display is open).
void DropSupersededConfigureEvents();

}  // namespace varnel
