// The modal windows and services of the program on FLTK: the colour dialog, the text prompt,
// the error message box, the About box, the shell open of an address and the 1000 ms timer.
// Each modal window runs its own loop, in which FLTK keeps running the timer. The windows are laid
// out in pixels at 96 per inch and scale with the screen's density they are given.
#pragma once
#include <functional>
#include <string>

#include "app/Ports.h"
#include "base/PixelScale.h"
#include "ui/FrameGeometry.h"

class Fl_RGB_Image;
class Fl_Window;

namespace varnel {

class TFltkColorDialog : public TColorDialogPort {
 public:
  explicit TFltkColorDialog(const TPixelScale& scale = TPixelScale()) : FScale(scale) {}
  bool Execute(TColor& color, unsigned options) override;

 private:
  TPixelScale FScale;
};

class TFltkPrompt : public TPromptPort {
 public:
  explicit TFltkPrompt(const TPixelScale& scale = TPixelScale()) : FScale(scale) {}
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;

 private:
  TPixelScale FScale;
};

class TFltkMessageBox : public TMessageBoxPort {
 public:
  explicit TFltkMessageBox(const TPixelScale& scale = TPixelScale()) : FScale(scale) {}
  void ShowError(const std::string& text, const std::string& caption) override;

 private:
  TPixelScale FScale;
};

class TFltkAboutBox : public TAboutBoxPort {
 public:
  explicit TFltkAboutBox(const TPixelScale& scale = TPixelScale()) : FScale(scale) {}
  void ShowModal(TAboutBox& box) override;

 private:
  TPixelScale FScale;
};

class TFltkShell : public TShellPort {
 public:
  void Open(const std::string& address) override;
};

class TFltkTimer : public TTimerPort {
 public:
  ~TFltkTimer() override { Stop(); }
  void Start(int intervalMs, std::function<void()> onTimer) override;
  void Stop() override;

 private:
  static void Tick(void* data);
  double FInterval = 1.0;
  std::function<void()> FOnTimer;
  bool FRunning = false;
};

// The program's icon as an FLTK image (32 x 32, with transparency), made once.
Fl_RGB_Image* ProgramIconImage();
// The window whose monitor the dialogs open on (the main window), or nullptr: then the first
// monitor.
void SetDialogOwner(const Fl_Window* owner);
// The monitor the dialogs open on: the one that holds most of the owner.
TBounds DialogMonitor();
// Shows a modal window centred on the dialogs' monitor and waits until it is hidden; a fixed
// dialog offers only moving and closing (close box only).
void RunModal(Fl_Window* win, bool fixedDialog = false);

}  // namespace varnel
