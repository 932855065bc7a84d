// Configure events of the program's windows: each window's last one is handled once per turn of
// the event loop, after everything else that came with it. Any client can resize our window a
// thousand times a second, and a window manager working through such a storm passes the sizes on
// at its own pace. FLTK answers each configure event with round trips to the server, and the
// window lays itself out and repaints at each size it is told; while it does, a click waits.
// Sizes that a later event has already replaced are never handled, and input that arrives with
// a burst of them is handled first.
#pragma once

namespace varnel {

// Installs the handling (once, after the display is open).
void CoalesceConfigureEvents();

// Whether a configure event of the window is on its way: held for the loop's next turn, or in the
// queue of events read from the server and not handled yet. Looks at what the server has sent
// by now, and does not wait for it.
bool ConfigurePending(unsigned long window);
// Whether a configure event of the window is held for the loop's next turn. Asks the server
// nothing (ConfigurePending reads the connection).
bool ConfigureHeld(unsigned long window);

}  // namespace varnel
