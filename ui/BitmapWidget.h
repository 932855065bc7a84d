// TBitmapWidget: a child of the main window that shows a component's picture. It is the
// component's control host: the surface is a TBitmap the size of the client area (inside the
// optional 2-pixel sunken edge) but never larger than the largest monitor, or empty while the
// child is hidden; what lies beyond it shows the window's background. On a 24-bit TrueColor
// visual the surface's memory is a shared-memory image (MIT-SHM) that the server reads directly
// or, where the server shares no memory, is sent with XPutImage; on any other visual FLTK
// converts and draws it. It takes no mouse input of its own: clicks, drags and double clicks go
// to the main window.
#pragma once
#include <FL/Fl_Widget.H>

#include <chrono>
#include <functional>
#include <memory>

#include "app/Ports.h"
#include "platform/canvas/Bitmap.h"
#include "ui/TooltipText.h"
#include "ui/WindowSurface.h"

namespace varnel {

class TBitmapWidget : public Fl_Widget, public TChildPort {
 public:
  // edge: 0, or the width of the sunken client edge around the surface (2 at 96 pixels per
  // inch: two rings of one pixel; wider edges make each ring half as wide).
  TBitmapWidget(int x, int y, int w, int h, int edge);
  void SetEdge(int edge);
  ~TBitmapWidget() override;

  // TControlHost
  TRect ClientRect() const override { return TRect{0, 0, FSurface.Width(), FSurface.Height()}; }
  TCanvas* WindowCanvas() override;
  void Invalidate() override;
  void Present() override;
  // The surface reaches the screen only when it is put, after a paint or at Present.
  bool SurfaceIsBackBuffer() const override { return true; }
  // TChildPort
  void SetVisible(bool v) override;
  bool Visible() const override { return visible() != 0; }

  // The component's paint handler, run once per draw when an invalidation is pending.
  std::function<void()> OnPaint;
  // Runs after the surface changed size (before the next paint).
  std::function<void()> OnResize;

  void resize(int x, int y, int w, int h) override;
  int handle(int event) override;
  // Whether the pointer over this child shows the window's tooltip or the child's own.
  void SetOwnTooltip(bool v) { FOwnTooltip = v; }
  // The child's own tooltip text (shown at once when its tooltip is on show).
  void SetTooltipText(std::string_view text) { FTooltip.Set(text); }
  // A sibling stacked above this one: while it is visible this child is hidden behind it and
  // puts nothing on the screen.
  void SetCoveredBy(TBitmapWidget* above) { FCoveredBy = above; }
  // Sizes the surface to the client area (bounded, see BoundedSurfaceSize), or to nothing while
  // hidden; a change of size invalidates and runs OnResize.
  void SizeSurface();

 protected:
  void draw() override;

 private:
  void PutSurface();
  void DrawEdge();
  // Waits until the server has read the shared image, when it was put only just now.
  void AwaitServer();
  // Once the size has stayed a while, an image far larger than the picture is given back.
  static void TrimWhenSettled(void* data);

  // The damage of a new picture alone (Invalidate); any other damage draws the edge as well.
  static constexpr uchar PictureDamage = FL_DAMAGE_USER1;

  int FEdge;
  TWindowSurface FSurface;  // the picture, in a shared image where the server offers one
  bool FInvalidated = true;
  bool FDrawing = false;            // inside draw(): the paint's Present waits for the put
  bool FOwnTooltip = false;
  TTooltipText FTooltip{this};
  TBitmapWidget* FCoveredBy = nullptr;
  std::chrono::steady_clock::time_point FLastShmPut{};
  std::chrono::steady_clock::time_point FLastSized{};  // the surface's last change of size
};

}  // namespace varnel
