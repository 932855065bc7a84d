// The control host: what a visual component (the chart, the gauge) needs from the window that
// shows it. The UI adapter implements it over a real child window; tests and the headless
// renderer implement it over a plain bitmap.
//
// A host owns the window surface (a TBitmap the size of the client area, reached through
// WindowCanvas) and puts it on the screen after Present. A component composes its picture off
// screen and copies it onto WindowCanvas (the gauge draws its needle there over the copy); where
// the surface is a back buffer, the chart draws straight into it instead.
#pragma once
#include "base/Geometry.h"

namespace varnel {

class TCanvas;

class TControlHost {
 public:
  virtual ~TControlHost() = default;
  // The client area; (0, 0, 0, 0) before the window exists.
  virtual TRect ClientRect() const = 0;
  // The canvas of the window surface, or nullptr while the window has no surface yet.
  virtual TCanvas* WindowCanvas() = 0;
  // Ask for a paint later (the chart's invalidation); the host then calls the component's
  // paint handler once, however many requests came before it.
  virtual void Invalidate() = 0;
  // The window surface changed: show it now (the gauge's synchronous repaint).
  virtual void Present() = 0;
  // Whether the surface is a back buffer: it keeps its picture between paints and reaches the
  // screen only after the paint handler returns or at Present, never half drawn. A picture
  // composed off screen and then copied onto it would only be drawn twice.
  virtual bool SurfaceIsBackBuffer() const { return false; }
};

}  // namespace varnel
