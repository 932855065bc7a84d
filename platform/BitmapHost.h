// TBitmapHost: a control host without a window, whose surface is a plain TBitmap. Tests, the
// headless renderer and benchmarks put a chart or a gauge on it; OnPaint is the component's paint
// handler, run by Flush when an invalidation is pending.
//
//   TBitmapHost host(332, 190);  chart.SetHost(&host);  ...;  host.Flush();  host.Surface()
#pragma once
#include <functional>

#include "platform/ControlHost.h"
#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"

namespace varnel {

class TBitmapHost : public TControlHost {
 public:
  TBitmapHost(int width, int height) { FSurface.SetSize(width, height); }

  TRect ClientRect() const override { return TRect{0, 0, FSurface.Width(), FSurface.Height()}; }
  TCanvas* WindowCanvas() override { return FSurface.Empty() ? nullptr : &FSurface.Canvas(); }
  void Invalidate() override {
    FInvalidated = true;
    ++FInvalidateCount;
  }
  void Present() override { ++FPresentCount; }
  bool SurfaceIsBackBuffer() const override { return FBackBuffer; }
  // A surface no one sees until the paint is done, as a window's back buffer.
  void SetBackBuffer(bool v) { FBackBuffer = v; }

  // Runs the pending paint, if any: what a window system does when it delivers the paint message.
  void Flush() {
    if (!FInvalidated) return;
    FInvalidated = false;
    if (OnPaint) OnPaint();
  }
  void Resize(int width, int height) { FSurface.SetSize(width, height); }

  TBitmap& Surface() { return FSurface; }
  bool Invalidated() const { return FInvalidated; }
  int InvalidateCount() const { return FInvalidateCount; }
  int PresentCount() const { return FPresentCount; }

  std::function<void()> OnPaint;

 private:
  TBitmap FSurface;
  bool FInvalidated = false;
  bool FBackBuffer = false;
  int FInvalidateCount = 0;
  int FPresentCount = 0;
};

}  // namespace varnel
