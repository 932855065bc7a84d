// The ports: the small interfaces through which the main window's logic (TForm1) reaches the
// window system. ui/ implements them with FLTK and Xlib; app/HeadlessPorts.h implements them
// without a display (recorded calls, scripted answers) for the tests and the render tool.
//
// Every call is made on the one user-interface thread. The modal ones (the colour dialog, the
// prompt, the error box, the About box) return when the user closes the window; the window
// system keeps running the timer meanwhile, so a tick may run inside any of them.
#pragma once
#include <functional>
#include <string>

#include "base/Color.h"
#include "base/Controls.h"
#include "base/Geometry.h"
#include "platform/ControlHost.h"

namespace varnel {

class TPopupMenu;
class TAboutBox;

// The main window's frame: outer geometry, caption, hint, border, level, closing.
class TFramePort {
 public:
  virtual ~TFramePort() = default;
  // The outer geometry in screen pixels (frame included), as the window is now.
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetLeft(int v) = 0;
  virtual void SetTop(int v) = 0;
  virtual void SetWidth(int v) = 0;
  virtual void SetHeight(int v) = 0;
  virtual void SetCaption(const std::string& text) = 0;
  // The tooltip of the window.
  virtual void SetHint(const std::string& text) = 0;
  // bsSizeToolWin (small caption, sizing border) or bsNone (no caption, no border). The window is
  // re-created at the same outer position and size.
  virtual void SetBorderStyle(TFormBorderStyle style) = 0;
  // fsStayOnTop or fsNormal.
  virtual void SetFormStyle(TFormStyle style) = 0;
  // Closes the main window, which ends the program once the current handler returns.
  virtual void Close() = 0;
  // Makes sure the program shows no taskbar button.
  virtual void HideTaskbarEntry() = 0;
  // No settings file gave the position: the window's Left and Top count from the top-left corner
  // of the primary monitor's work area (what its panels leave free) instead of the screen's.
  // Nothing where the window system has no monitors to tell of.
  virtual void DefaultPositionInWorkArea() {}
};

// A child that fills the client area and shows a component (the chart or the gauge).
class TChildPort : public TControlHost {
 public:
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
};

// Opens a popup menu with its top-left corner at a screen point. The port runs the menu; when
// the user picks an item it calls the item's Click().
class TPopupPort {
 public:
  virtual ~TPopupPort() = default;
  virtual void Popup(TPopupMenu& menu, int screenX, int screenY) = 0;
};

// Colour dialog options.
enum : unsigned { cdFullOpen = 1, cdShowHelp = 2, cdAnyColor = 4 };

// The modal colour dialog: starts at `color`; true with `color` changed when the user confirms.
class TColorDialogPort {
 public:
  virtual ~TColorDialogPort() = default;
  virtual bool Execute(TColor& color, unsigned options) = 0;
};

// The longest text the prompt's edit box takes.
inline constexpr std::size_t PromptMaxLength = 255;

// The modal text prompt, centred on the screen: `value` is shown fully selected in an edit box
// of at most PromptMaxLength characters; OK (the default button) returns true with `value`
// replaced by the edited text, Cancel or Escape returns false and leaves `value` alone.
class TPromptPort {
 public:
  virtual ~TPromptPort() = default;
  virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
};

// The modal error message box: the error icon, the text, an OK button, and the caption.
class TMessageBoxPort {
 public:
  virtual ~TMessageBoxPort() = default;
  virtual void ShowError(const std::string& text, const std::string& caption) = 0;
};

// Shows an About box modally; returns when it closes.
class TAboutBoxPort {
 public:
  virtual ~TAboutBoxPort() = default;
  virtual void ShowModal(TAboutBox& box) = 0;
};

// Opens an address in the desktop's browser; the result is not reported.
class TShellPort {
 public:
  virtual ~TShellPort() = default;
  virtual void Open(const std::string& address) = 0;
};

// A repeating message-driven timer: OnTimer runs every `intervalMs` on the user-interface thread,
// also while a modal window is open, until Stop.
class TTimerPort {
 public:
  virtual ~TTimerPort() = default;
  virtual void Start(int intervalMs, std::function<void()> onTimer) = 0;
  virtual void Stop() = 0;
};

// All ports of the main window, handed to it at construction (none owned).
struct TFormPorts {
  TFramePort* Frame = nullptr;
  TChildPort* ChartHost = nullptr;
  TChildPort* MeterHost = nullptr;
  TPopupPort* Popup = nullptr;
  TColorDialogPort* ColorDialog = nullptr;
  TPromptPort* Prompt = nullptr;
  TMessageBoxPort* MessageBox = nullptr;
  TAboutBoxPort* AboutBox = nullptr;
  TShellPort* Shell = nullptr;
  TTimerPort* Timer = nullptr;
  // The screen's pixels per inch (48..480; anything else counts as 96): sizes the form and its
  // components give in pixels scale by it / 96, fonts in points follow it.
  int PixelsPerInch = 96;
};

}  // namespace varnel
