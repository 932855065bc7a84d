// TMainWindow: the program's tool window on FLTK and Xlib, and the frame port of the main
// window's logic. It holds the two children (the gauge below, the chart with its sunken edge
// above, both filling the client area) and the popup menu, and gives the window its behaviour:
// a left-button drag anywhere moves it, a right click anywhere (or Shift+F10, or the Menu key)
// opens the menu, a double click anywhere toggles the title bar, Escape does not close it, and
// the close box ends the program.
//
// The geometry the logic sees is the outer one (frame included); the window keeps the client
// area inside the frame extents the window manager publishes.
#pragma once
#include <FL/Fl_Window.H>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Ports.h"
#include "base/PixelScale.h"
#include "ui/BitmapWidget.h"
#include "ui/FrameGeometry.h"
#include "ui/TooltipText.h"
#include "ui/X11Hints.h"

namespace varnel {

class TMainWindow : public Fl_Window, public TFramePort, public TPopupPort {
 public:
  TMainWindow();
  ~TMainWindow() override;

  // The screen's density (before the window is shown): the chart's sunken edge, the smallest
  // size and the popup menu follow it.
  void SetScale(const TPixelScale& scale);

  TBitmapWidget& ChartWidget() { return *FChart; }
  TBitmapWidget& MeterWidget() { return *FMeter; }

  // Shows the window for the first time, at the outer geometry set so far, or nearer where that
  // leaves it with no usable part on any monitor.
  void ShowFirst();

  // TFramePort
  int Left() const override;
  int Top() const override;
  int Width() const override;
  int Height() const override;
  void SetLeft(int v) override;
  void SetTop(int v) override;
  void SetWidth(int v) override;
  void SetHeight(int v) override;
  void SetCaption(const std::string& text) override;
  void SetHint(const std::string& text) override;
  void SetBorderStyle(TFormBorderStyle style) override;
  void SetFormStyle(TFormStyle style) override;
  void Close() override;
  void HideTaskbarEntry() override;
  void DefaultPositionInWorkArea() override;

  // TPopupPort
  void Popup(TPopupMenu& menu, int screenX, int screenY) override;

  // The window's events for the logic.
  std::function<void()> OnRightClick;   // a right click anywhere, Shift+F10 or the Menu key
  std::function<void()> OnDoubleClick;  // a left double click anywhere
  std::function<void()> OnActivate;     // shown, activated or exposed

  int handle(int event) override;
  void resize(int x, int y, int w, int h) override;
  // Paints, unless the size is already replaced by a later one that is on its way (the picture
  // is made at that one instead).
  void flush() override;

 protected:
  void draw() override;

 private:
  TFrameExtents Extents() const;
  // Shows the window at FOuter (a new X window) with its type, states and frame.
  void Show();
  // Moves a window of which no usable part lies on any monitor's work area to the nearest one.
  void KeepFindable();
  // The screen or the work area changed: the window's place is looked at a moment later (a
  // burst of changes is one look).
  void ScreenChangedSoon();
  static void ScreenSettled(void* data);
  static int ScreenEvent(int event);
  // FLTK 1.3's shown() is not const.
  bool IsShown() const { return const_cast<TMainWindow*>(this)->shown() != 0; }
  void PlaceClient(const TBounds& outer);
  // The minimum size for interactive resizing, published in WM_NORMAL_HINTS.
  void PublishMinimum(int clientWidth, int clientHeight);
  TBounds Outer() const;
  void SetOuter(int TBounds::*side, int v);
  TBounds Client() const { return TBounds{x(), y(), w(), h()}; }
  static void CloseCallback(Fl_Widget* w, void* data);
  // Sees every X event first: notes new frame extents.
  static int SystemEvent(void* xevent, void* data);

  std::unique_ptr<TBitmapWidget> FMeter;
  std::unique_ptr<TBitmapWidget> FChart;
  TFormBorderStyle FBorderStyle = bsSizeToolWin;
  TFormStyle FFormStyle = fsNormal;
  TFrameExtents FToolExtents;  // what the window manager gives a bordered tool window
  mutable std::optional<TFrameExtents> FExtents;  // the shown window's, as last read
  mutable bool FExtentsKnown = false;
  std::string FCaption;
  TTooltipText FHint{this};  // the window's tooltip (the hint)
  // Outer geometry while the window is not shown.
  TBounds FOuter{182, 129, 520, 377};
  // The outer bounds asked for at the last show, until the window manager's frame extents
  // arrive: a manager slower to answer than the start-up question gets the window placed again.
  std::optional<TBounds> FPendingOuter;
  int FMinWidth = MinTrackWidth, FMinHeight = MinTrackHeight;
  TPixelScale FScale;
  // Left-button press and drag.
  int FPressX = 0, FPressY = 0, FDragLeft = 0, FDragTop = 0;
  bool FPressed = false, FDragging = false, FManualDrag = false;
  bool FPaintPassed = false;  // a paint was left out for a size already replaced
  bool FSizedSincePaint = true;  // laid out (or moved) since the last paint, or not painted yet
};

}  // namespace varnel
