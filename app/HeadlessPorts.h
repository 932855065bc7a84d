// Headless ports: the window system without a display. Every call is recorded; the modal
// windows answer from scripts the caller fills beforehand. The tests drive the main window's
// logic through them, and the render tool uses them to draw the client area into a picture.
//
//   THeadlessWindowSystem ws(332, 190);
//   ws.Prompt.Answers.push_back("90");            // the next prompt answers "90" with OK
//   TForm1 form(ws.Ports(), ...);
#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/AboutBox.h"
#include "app/Ports.h"
#include "base/PixelScale.h"
#include "platform/canvas/Bitmap.h"
#include "platform/canvas/Canvas.h"

namespace varnel {

// The frame: outer geometry as set (no border, no clamping), and every change recorded in Log.
class THeadlessFrame : public TFramePort {
 public:
  int Left() const override { return FLeft; }
  int Top() const override { return FTop; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetLeft(int v) override { FLeft = v; Log.push_back("Left=" + std::to_string(v)); }
  void SetTop(int v) override { FTop = v; Log.push_back("Top=" + std::to_string(v)); }
  void SetWidth(int v) override {
    FWidth = v;
    Log.push_back("Width=" + std::to_string(v));
    if (OnResize) OnResize();
  }
  void SetHeight(int v) override {
    FHeight = v;
    Log.push_back("Height=" + std::to_string(v));
    if (OnResize) OnResize();
  }
  void SetCaption(const std::string& text) override { Caption = text; }
  void SetHint(const std::string& text) override { Hint = text; }
  void SetBorderStyle(TFormBorderStyle style) override {
    BorderStyle = style;
    Log.push_back(style == bsNone ? "Border=none" : "Border=tool");
  }
  void SetFormStyle(TFormStyle style) override {
    FormStyle = style;
    Log.push_back(style == fsStayOnTop ? "Level=top" : "Level=normal");
  }
  void Close() override { Closed = true; }
  void HideTaskbarEntry() override { ++TaskbarHides; }
  // Headless, there are no monitors: the position stays as set, and the request is only noted.
  void DefaultPositionInWorkArea() override { Log.push_back("DefaultPosition"); }

  // What the user does to the window: move and resize it.
  void UserSetBounds(int l, int t, int w, int h) {
    FLeft = l;
    FTop = t;
    FWidth = w;
    FHeight = h;
    if (OnResize) OnResize();
  }

  std::string Caption;
  std::string Hint;
  TFormBorderStyle BorderStyle = bsSizeToolWin;
  TFormStyle FormStyle = fsNormal;
  bool Closed = false;
  int TaskbarHides = 0;
  std::vector<std::string> Log;
  std::function<void()> OnResize;

 private:
  int FLeft = 182;
  int FTop = 129;
  int FWidth = 520;
  int FHeight = 377;
};

// A child over a bitmap of the client area's size. OnPaint is the component's paint handler,
// run by Flush when an invalidation is pending and the child is visible (what the window system
// does with a paint message). As the program's child windows, a hidden child holds no picture
// (an empty client area) and gets one, at its size then, when it is shown.
class THeadlessChild : public TChildPort {
 public:
  THeadlessChild(int width, int height) { Resize(width, height); }
  TRect ClientRect() const override { return TRect{0, 0, FSurface.Width(), FSurface.Height()}; }
  TCanvas* WindowCanvas() override { return FSurface.Empty() || FHeld ? nullptr : &FSurface.Canvas(); }
  void Invalidate() override {
    FInvalidated = true;
    ++InvalidateCount;
  }
  void Present() override { ++PresentCount; }
  bool SurfaceIsBackBuffer() const override { return FBackBuffer; }
  // While held, nothing paints: the component finds no canvas, as a window not yet mapped, and
  // Flush waits. Released, the child is due a paint of what it shows then.
  void HoldPaints(bool held) {
    FHeld = held;
    if (!held) FInvalidated = true;
  }
  // A surface no one sees until the paint is done, as the program's child windows' are.
  void SetBackBuffer(bool v) { FBackBuffer = v; }
  void SetVisible(bool v) override {
    FVisible = v;
    SizeSurface();
  }
  bool Visible() const override { return FVisible; }

  // A hidden child is not painted; its invalidation waits until it is shown.
  void Flush() {
    if (!FInvalidated || !FVisible || FHeld) return;
    FInvalidated = false;
    if (OnPaint) OnPaint();
  }
  // Sizes the child; zero or negative sizes give an empty surface.
  void Resize(int width, int height) {
    FWidth = width > 0 ? width : 0;
    FHeight = height > 0 ? height : 0;
    SizeSurface();
  }
  TBitmap& Surface() { return FSurface; }
  bool Invalidated() const { return FInvalidated; }

  int InvalidateCount = 0;
  int PresentCount = 0;
  std::function<void()> OnPaint;

 private:
  // A new picture has no paint yet: it is due, as a window's is after a resize.
  void SizeSurface() {
    const int w = FVisible ? FWidth : 0, h = FVisible ? FHeight : 0;
    if (w == FSurface.Width() && h == FSurface.Height()) return;
    FSurface.SetSize(w, h);
    if (!FSurface.Empty()) FInvalidated = true;
  }

  TBitmap FSurface;
  int FWidth = 0;
  int FHeight = 0;
  bool FInvalidated = false;
  bool FVisible = true;
  bool FBackBuffer = false;
  bool FHeld = false;
};

class THeadlessPopup : public TPopupPort {
 public:
  void Popup(TPopupMenu& menu, int x, int y) override {
    Opened.push_back(TPoint{x, y});
    if (OnPopup) OnPopup(menu);
  }
  std::vector<TPoint> Opened;
  // Plays the user: picks an item (calls its Click) or does nothing.
  std::function<void(TPopupMenu&)> OnPopup;
};

class THeadlessColorDialog : public TColorDialogPort {
 public:
  bool Execute(TColor& color, unsigned options) override {
    Shown.push_back(color);
    LastOptions = options;
    if (OnShow) OnShow();
    if (Answers.empty()) return false;
    std::optional<TColor> a = Answers.front();
    Answers.pop_front();
    if (!a) return false;
    color = *a;
    return true;
  }
  std::deque<std::optional<TColor>> Answers;  // nullopt (or nothing left) cancels
  std::vector<TColor> Shown;                  // the colour each dialog started with
  unsigned LastOptions = 0;
  std::function<void()> OnShow;               // runs while the dialog is "open"
};

class THeadlessPrompt : public TPromptPort {
 public:
  struct TShown {
    std::string Caption, Prompt, Value;
  };
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override {
    Shown.push_back({caption, prompt, value});
    if (OnShow) OnShow();
    if (Answers.empty()) return false;
    std::optional<std::string> a = Answers.front();
    Answers.pop_front();
    if (!a) return false;
    value = a->substr(0, PromptMaxLength);  // the edit box takes no more
    return true;
  }
  std::deque<std::optional<std::string>> Answers;  // nullopt (or nothing left) cancels
  std::vector<TShown> Shown;
  std::function<void()> OnShow;
};

class THeadlessMessageBox : public TMessageBoxPort {
 public:
  void ShowError(const std::string& text, const std::string& caption) override {
    Texts.push_back(text);
    Captions.push_back(caption);
    ++Open;
    if (Open > MaxOpen) MaxOpen = Open;
    if (OnShow) OnShow();
    --Open;
  }
  std::vector<std::string> Texts;
  std::vector<std::string> Captions;
  int Open = 0;
  int MaxOpen = 0;
  std::function<void()> OnShow;  // runs while the box is "open" (e.g. timer ticks)
};

class THeadlessAboutBox : public TAboutBoxPort {
 public:
  void ShowModal(TAboutBox& box) override {
    Instances.push_back(&box);
    for (const std::string& name : Presses) box.Press(name);
    Results.push_back(box.ModalResult());
    if (OnShow) OnShow(box);
  }
  std::vector<const TAboutBox*> Instances;
  std::vector<TModalResult> Results;
  std::vector<std::string> Presses;  // buttons pressed in each box, in order
  std::function<void(TAboutBox&)> OnShow;
};

class THeadlessShell : public TShellPort {
 public:
  void Open(const std::string& address) override { Opened.push_back(address); }
  std::vector<std::string> Opened;
};

class THeadlessTimer : public TTimerPort {
 public:
  void Start(int intervalMs, std::function<void()> onTimer) override {
    Interval = intervalMs;
    FOnTimer = std::move(onTimer);
    Running = true;
  }
  void Stop() override { Running = false; }
  // One tick, as the window system would deliver it.
  void Fire() {
    if (Running && FOnTimer) FOnTimer();
  }
  int Interval = 0;
  bool Running = false;

 private:
  std::function<void()> FOnTimer;
};

// All headless ports together. The frame has no border, so the client area is the outer size;
// the gauge fills it and the chart fills it inside its 2-pixel sunken edge.
class THeadlessWindowSystem {
 public:
  // The sunken edge around the chart: 2 pixels at 96 per inch.
  int ChartEdge = 2;

  THeadlessWindowSystem(int clientWidth = 332, int clientHeight = 190, int pixelsPerInch = 96)
      : ChartEdge(TPixelScale(pixelsPerInch).Px(2)),
        ChartHost(clientWidth - 2 * ChartEdge, clientHeight - 2 * ChartEdge),
        MeterHost(clientWidth, clientHeight),
        PixelsPerInch(pixelsPerInch) {
    FWidth = clientWidth;
    FHeight = clientHeight;
  }
  // A screen of another density (before the form is created): the edge follows it.
  void SetPixelsPerInch(int pixelsPerInch) {
    PixelsPerInch = pixelsPerInch;
    ChartEdge = TPixelScale(pixelsPerInch).Px(2);
    ResizeClient(FWidth, FHeight);
  }
  TFormPorts Ports() {
    return TFormPorts{&Frame, &ChartHost, &MeterHost, &Popup, &ColorDialog, &Prompt, &MessageBox,
                      &AboutBox, &Shell, &Timer, PixelsPerInch};
  }
  // Resizes the client area (both children); the caller tells the form (AlignControls).
  void ResizeClient(int width, int height) {
    FWidth = width;
    FHeight = height;
    ChartHost.Resize(width - 2 * ChartEdge, height - 2 * ChartEdge);
    MeterHost.Resize(width, height);
  }
  // Runs the pending paints of both children.
  void Flush() {
    MeterHost.Flush();
    ChartHost.Flush();
  }
  // The client area as the window shows it: the chart with its sunken edge when the chart is
  // visible (it lies above the gauge), else the gauge, else the window's button-face colour.
  TBitmap ClientPicture();

  THeadlessFrame Frame;
  THeadlessChild ChartHost;
  THeadlessChild MeterHost;
  THeadlessPopup Popup;
  THeadlessColorDialog ColorDialog;
  THeadlessPrompt Prompt;
  THeadlessMessageBox MessageBox;
  THeadlessAboutBox AboutBox;
  THeadlessShell Shell;
  THeadlessTimer Timer;
  // The screen's density the form is given (SetPixelsPerInch changes it).
  int PixelsPerInch = 96;

 private:
  int FWidth = 0;
  int FHeight = 0;
};

}  // namespace varnel
