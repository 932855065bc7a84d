// TAboutBox: the model of the small modal window that names the program and its version and
// opens the home page in the browser. It holds the window's caption and size and its controls
// (kind, parent, bounds, text, font) in creation order; the window system builds the real window
// from them (TAboutBoxPort). Each About command makes a fresh instance and frees it afterwards.
//
//   TAboutBox box(&shell);  aboutPort.ShowModal(box);   // Button1Click opens HomePage()
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/Geometry.h"

namespace varnel {

class TShellPort;

enum TModalResult : int { mrNone, mrOk, mrCancel };

// The kinds of control of the About box.
enum TAboutControlKind : int { ckPanel, ckImage, ckLabel, ckButton };

struct TAboutControl {
  std::string Name;
  TAboutControlKind Kind = ckLabel;
  std::string Parent;  // "" for the window itself, else the name of the panel
  TRect Bounds;        // left, top, right, bottom in the parent's client area
  std::string Text;    // the caption ("&" marks the accelerator of a button)
  int FontHeight = -11;  // negative: character height in pixels
  bool Bold = false;
  bool WordWrap = false;
  bool Default = false;     // the default button (Enter presses it)
  bool HandCursor = false;  // hand cursor over the control
  TModalResult ModalResult = mrNone;  // a button that closes the window with this result
};

class TAboutBox {
 public:
  // The text of the Version label (also what `varnel --version` prints).
  static constexpr std::string_view VersionText = "Version 1.0     (August 1998) ";
  // The address the "Go to Home Page" button opens (at most HomePageMaxLength characters).
  static constexpr std::string_view HomePage = "https://www.example.org/varnel/";
  // The shell takes its target through a fixed buffer of 80 characters.
  static constexpr std::size_t HomePageMaxLength = 79;
  static_assert(HomePage.size() <= HomePageMaxLength);

  explicit TAboutBox(TShellPort* shell);

  const std::string& Caption() const { return FCaption; }
  int ClientWidth() const { return 361; }
  int ClientHeight() const { return 225; }
  // Controls in creation order.
  const std::vector<TAboutControl>& Controls() const { return FControls; }
  // The control of that name, or nullptr.
  const TAboutControl* Control(std::string_view name) const;

  // The "Go to Home Page" button: opens the home page through the shell; the box stays open.
  void Button1Click();
  // The window's result: mrOk after OK (or Enter), mrNone while open or after the close box.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult r) { FModalResult = r; }
  // Presses a button by name: Button1 runs Button1Click, a button with a modal result sets it.
  void Press(std::string_view name);

 private:
  TShellPort* FShell;
  std::string FCaption = "Orrick";
  std::vector<TAboutControl> FControls;
  TModalResult FModalResult = mrNone;
};

}  // namespace varnel
