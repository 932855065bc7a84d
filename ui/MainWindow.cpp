// TMainWindow: the tool window, its geometry, border, level, mouse behaviour and popup menu.
#include "ui/MainWindow.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdlib>

#include "app/PopupMenu.h"
#include "ui/ConfigureEvents.h"
#include "ui/Dialogs.h"
#include "ui/PopupMenuWindow.h"

namespace varnel {

namespace {
// A drag starts once the pointer has moved this far from the press.
constexpr int DragThreshold = 3;
// How long after a change of the screen the window's place is looked at again.
constexpr double ScreenSettleSeconds = 0.2;
// The one main window, for the toolkit's screen-change event (which has no window).
TMainWindow* ScreenWatcher = nullptr;

// The monitors' work areas as they are now.
std::vector<TBounds> WorkAreas() { return MonitorWorkAreas(x11::Monitors(), x11::DesktopWorkArea()); }
}  // namespace

TMainWindow::TMainWindow() : Fl_Window(0, 0, 520, 377) {
  fl_open_display();
  FMeter = std::make_unique<TBitmapWidget>(0, 0, w(), h(), 0);
  FChart = std::make_unique<TBitmapWidget>(0, 0, w(), h(), 2);
  FMeter->SetCoveredBy(FChart.get());
  end();
  resizable(this);  // sizeable; resize() lays the children out itself
  // Dragging the border stops at the smallest size that stays findable and keeps the menu in
  // reach; settings may still ask for a smaller window (PublishMinimum).
  size_range(FMinWidth, FMinHeight);
  callback(CloseCallback, this);
  FToolExtents = x11::RequestToolFrameExtents(300);
  Fl::add_system_handler(SystemEvent, this);
  // Monitors that come and go or change size, and panels that change the work area.
  x11::WatchScreen();
  ScreenWatcher = this;
  Fl::add_handler(ScreenEvent);
  SetDialogOwner(this);
}

TMainWindow::~TMainWindow() {
  SetDialogOwner(nullptr);
  Fl::remove_handler(ScreenEvent);
  Fl::remove_timeout(ScreenSettled, this);
  ScreenWatcher = nullptr;
  Fl::remove_system_handler(SystemEvent);
  // The children are owned by the unique pointers, not by the group.
  remove(FMeter.get());
  remove(FChart.get());
}

void TMainWindow::SetScale(const TPixelScale& scale) {
  FScale = scale;
  FChart->SetEdge(scale.Px(2));
  FMinWidth = scale.Px(MinTrackWidth);
  FMinHeight = scale.Px(MinTrackHeight);
  size_range(FMinWidth, FMinHeight);
}

TFrameExtents TMainWindow::Extents() const {
  if (FBorderStyle == bsNone) return {};
  if (IsShown()) {
    // Read once and kept until the window manager publishes new ones or the window is
    // configured (the geometry is asked for every second: no round trip to the server each time).
    if (!FExtentsKnown) {
      FExtents = x11::FrameExtents(const_cast<TMainWindow*>(this));
      FExtentsKnown = true;
    }
    if (FExtents && !FExtents->Empty()) return *FExtents;
  }
  // Not published (yet), or not believable: what the window manager said a tool window gets.
  return FToolExtents;
}

int TMainWindow::SystemEvent(void* xevent, void* data) {
  auto* self = static_cast<TMainWindow*>(data);
  if (x11::FrameExtentsChanged(xevent, self)) {
    self->FExtentsKnown = false;
    const std::optional<TFrameExtents> e = x11::FrameExtents(self);
    if (self->FPendingOuter && e && !e->Empty()) {
      const TBounds want = *self->FPendingOuter;
      self->FPendingOuter.reset();
      self->FToolExtents = *e;  // what a tool window gets, for the next show too
      if (self->Outer() != want) self->PlaceClient(want);
    }
  }
  if (x11::ScreenChanged(xevent)) self->ScreenChangedSoon();
  x11::KeepNormalState(xevent);
  x11::PassPointerThroughTooltips(xevent);
  return 0;  // FLTK handles the event as usual
}

TBounds TMainWindow::Outer() const { return IsShown() ? OuterFromClient(Client(), Extents()) : FOuter; }
int TMainWindow::Left() const { return Outer().Left; }
int TMainWindow::Top() const { return Outer().Top; }
int TMainWindow::Width() const { return Outer().Width; }
int TMainWindow::Height() const { return Outer().Height; }

void TMainWindow::PlaceClient(const TBounds& outer) {
  const TFrameExtents e = Extents();
  // Up to the whole screen, all monitors together (the toolkit's own width and height are the
  // first monitor's work area only).
  const TBounds screen = x11::ScreenBounds();
  const TBounds c = ClientFromOuter(outer, e, screen.Width, screen.Height);
  FOuter = OuterFromClient(c, e);
  PublishMinimum(c.Width, c.Height);
  resize(c.Left, c.Top, c.Width, c.Height);
}

void TMainWindow::PublishMinimum(int clientWidth, int clientHeight) {
  // A size the program sets below the minimum (a stored setting) is the user's own choice: the
  // window manager is told a minimum no larger than it, so that it does not enlarge the window.
  const int mw = std::min(FScale.Px(MinTrackWidth), clientWidth);
  const int mh = std::min(FScale.Px(MinTrackHeight), clientHeight);
  if (mw == FMinWidth && mh == FMinHeight) return;
  FMinWidth = mw;
  FMinHeight = mh;
  size_range(mw, mh);
  x11::SetFrameKind(this, FBorderStyle == bsNone ? x11::fkFrameless : x11::fkToolWindow);
}

// One side of the outer frame changed, the others kept.
void TMainWindow::SetOuter(int TBounds::*side, int v) {
  TBounds b = Outer();
  b.*side = v;
  PlaceClient(b);
}
void TMainWindow::SetLeft(int v) { SetOuter(&TBounds::Left, v); }
void TMainWindow::SetTop(int v) { SetOuter(&TBounds::Top, v); }
void TMainWindow::SetWidth(int v) { SetOuter(&TBounds::Width, v); }
void TMainWindow::SetHeight(int v) { SetOuter(&TBounds::Height, v); }

void TMainWindow::resize(int x, int y, int w, int h) {
  FExtentsKnown = false;
  FSizedSincePaint = true;
  Fl_Window::resize(x, y, w, h);
  FMeter->resize(0, 0, w, h);
  FChart->resize(0, 0, w, h);
  // The paint left out is made now, whether or not the size changed.
  if (FPaintPassed) {
    FPaintPassed = false;
    redraw();
  }
}

void TMainWindow::flush() {
  // In a storm of resizes the size the window was laid out at is often replaced already: a
  // configure event of a later one is held or waiting in the queue. Its picture would be made
  // and thrown away, and at the size of a monitor that costs milliseconds, during which a click
  // waits. The paint waits for the size that is on its way; its arrival resizes the window,
  // which paints then. Asking what the server has sent costs system calls (four reads of the
  // connection that find nothing, in a quiet second), so it is asked only when the window has
  // been laid out at a new size since it last painted; the once-a-second paint of a window whose
  // size stays looks only at the events held.
  if (shown() && (FSizedSincePaint ? ConfigurePending(fl_xid(this)) : ConfigureHeld(fl_xid(this)))) {
    FPaintPassed = true;
    return;
  }
  FSizedSincePaint = false;
  Fl_Window::flush();
}

// The tick sets the caption and hint every second: only a change goes to the window (a new
// caption is four property changes at the X server and as many events back).
void TMainWindow::SetCaption(const std::string& text) {
  if (text == FCaption && label()) return;
  FCaption = text;
  copy_label(text.c_str());
}

void TMainWindow::SetHint(const std::string& text) { FHint.Set(text); }

int TMainWindow::ScreenEvent(int event) {
  // The toolkit's own report of a RandR screen change (it has read the monitors again).
  if (event == FL_SCREEN_CONFIGURATION_CHANGED && ScreenWatcher) ScreenWatcher->ScreenChangedSoon();
  return 0;
}

void TMainWindow::ScreenChangedSoon() {
  // One look for a burst of changes, and at most a few a second under a storm of them.
  if (!Fl::has_timeout(ScreenSettled, this)) Fl::add_timeout(ScreenSettleSeconds, ScreenSettled, this);
}

void TMainWindow::ScreenSettled(void* data) {
  auto* self = static_cast<TMainWindow*>(data);
  Fl::call_screen_init();  // the monitors again: a new root size comes without a RandR report
  if (self->shown()) self->KeepFindable();
}

void TMainWindow::KeepFindable() {
  // Only a window that cannot be used where it is moves: the user's own placement, half off a
  // monitor or across two, is kept. The settings file is not written: the next save stores
  // where the window is then, as every save does.
  if (const std::optional<TBounds> place = FindablePlace(Outer(), Extents(), WorkAreas())) PlaceClient(*place);
}

void TMainWindow::DefaultPositionInWorkArea() {
  const std::vector<TBounds> areas = WorkAreas();
  if (areas.empty()) return;
  const TBounds outer = Outer();
  PlaceClient({SaturateInt(static_cast<long long>(outer.Left) + areas.front().Left),
               SaturateInt(static_cast<long long>(outer.Top) + areas.front().Top), outer.Width, outer.Height});
}

void TMainWindow::ShowFirst() {
  KeepFindable();
  Show();
}

void TMainWindow::Show() {
  const TBounds outer = FOuter;
  border(FBorderStyle != bsNone);
  PlaceClient(outer);
  const int cx = x(), cy = y();
  FExtentsKnown = false;
  x11::ShowToolWindow(this, FFormStyle == fsStayOnTop);
  // FLTK may push a bordered window down on creation: put it where it belongs.
  x11::MoveWindow(this, cx, cy);
  Fl_Window::position(cx, cy);
  FPendingOuter = FBorderStyle != bsNone ? std::optional<TBounds>(FOuter) : std::nullopt;
  x11::FocusWindow(this);
  if (OnActivate) OnActivate();
}

void TMainWindow::SetBorderStyle(TFormBorderStyle style) {
  if (style == FBorderStyle) return;
  if (!shown()) {
    FBorderStyle = style;
    border(style != bsNone);
    return;
  }
  // Keep the outer geometry across the change of frame.
  FOuter = Outer();
  FBorderStyle = style;
  hide();
  Show();  // a new X window with the new frame at the same outer place and size
}

void TMainWindow::SetFormStyle(TFormStyle style) {
  if (style == FFormStyle) return;
  FFormStyle = style;
  x11::SetAbove(this, style == fsStayOnTop);
  // Above the others and on every workspace, or on the workspace it is on now.
  x11::SetOnEveryWorkspace(this, style == fsStayOnTop);
}

void TMainWindow::Close() {
  // Keep the outer geometry for the settings written after the close.
  if (IsShown()) FOuter = Outer();
  hide();
}

void TMainWindow::HideTaskbarEntry() { x11::SetSkipTaskbar(this); }

void TMainWindow::CloseCallback(Fl_Widget* w, void*) {
  // Escape does not close the tool window; the close box and the window manager do.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  w->hide();
}

void TMainWindow::draw() {
  if ((damage() & FL_DAMAGE_ALL) && OnActivate) OnActivate();
  Fl_Window::draw();
}

int TMainWindow::handle(int event) {
  switch (event) {
    case FL_PUSH:
      if (Fl::event_button() == FL_RIGHT_MOUSE) {
        if (OnRightClick) OnRightClick();
        return 1;
      }
      if (Fl::event_button() != FL_LEFT_MOUSE) return 1;
      // Every second click of a quick series is a double click (a triple click toggles once,
      // a fourth click toggles again), as on the desktops the program comes from.
      if (Fl::event_clicks() % 2 == 1) {
        FPressed = false;
        if (OnDoubleClick) OnDoubleClick();
        return 1;
      }
      FPressed = true;
      FDragging = false;
      FPressX = Fl::event_x_root();
      FPressY = Fl::event_y_root();
      FDragLeft = x();
      FDragTop = y();
      return 1;
    case FL_DRAG: {
      if (!FPressed) return 1;
      const int dx = SaturateInt(static_cast<long long>(Fl::event_x_root()) - FPressX);
      const int dy = SaturateInt(static_cast<long long>(Fl::event_y_root()) - FPressY);
      if (!FDragging) {
        if (std::abs(dx) <= DragThreshold && std::abs(dy) <= DragThreshold) return 1;
        FDragging = true;
        FManualDrag = !x11::WindowManagerMoves();
        if (!FManualDrag) {
          // The window manager moves the window from here on.
          FPressed = false;
          x11::StartMove(this, FPressX, FPressY);
          Fl::pushed(nullptr);
          return 1;
        }
      }
      if (FManualDrag) {
        const TBounds c = ClientFromOuter(
            {SaturateInt(static_cast<long long>(FDragLeft) + dx), SaturateInt(static_cast<long long>(FDragTop) + dy), w(), h()},
            {}, w(), h());
        position(c.Left, c.Top);
      }
      return 1;
    }
    case FL_RELEASE:
      FPressed = false;
      FDragging = false;
      return 1;
    case FL_KEYBOARD:
    case FL_SHORTCUT:
      // Shift+F10 and the Menu key open the menu as a right click does.
      if ((Fl::event_key() == FL_F + 10 && Fl::event_state(FL_SHIFT)) || Fl::event_key() == FL_Menu) {
        if (OnRightClick) OnRightClick();
        return 1;
      }
      return Fl_Window::handle(event);
    case FL_SHOW:
    case FL_FOCUS: {
      const int r = Fl_Window::handle(event);
      if (OnActivate) OnActivate();
      return event == FL_FOCUS ? 1 : r;
    }
    default:
      return Fl_Window::handle(event);
  }
}

void TMainWindow::Popup(TPopupMenu& menu, int screenX, int screenY) {
  if (!shown()) return;
  // The command runs once the menu is gone (it may open a modal window of its own).
  if (TMenuItem* picked = RunPopupMenu(menu.Items(), screenX, screenY, x11::MonitorOf(this), FScale))
    picked->Click();
}

}  // namespace varnel
