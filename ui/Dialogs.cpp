// The modal windows and services on FLTK.
#include "ui/Dialogs.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Color_Chooser.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Value_Input.H>
#include <FL/Fl_Window.H>
#include <FL/filename.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "app/AboutBox.h"
#include "app/ProgramIcon.h"
#include "ui/TextWrap.h"
#include "ui/X11Hints.h"

namespace varnel {

namespace {

// FLTK reads "@" in a label as the start of a symbol: "@@" shows one "@".
std::string LabelText(const std::string& s) {
  std::string out;
  for (char c : s) {
    out += c;
    if (c == '@') out += '@';
  }
  return out;
}

// A button that shows the hand cursor while the pointer is over it.
template <typename Base>
class THandButton : public Base {
 public:
  using Base::Base;
  int handle(int event) override {
    if (event == FL_ENTER && this->window()) this->window()->cursor(FL_CURSOR_HAND);
    if (event == FL_LEAVE && this->window()) this->window()->cursor(FL_CURSOR_DEFAULT);
    const int r = Base::handle(event);
    return (event == FL_ENTER || event == FL_LEAVE) ? 1 : r;
  }
};

// The error icon: a red disc with a white cross.
class TErrorIcon : public Fl_Box {
 public:
  TErrorIcon(int x, int y, const TPixelScale& k) : Fl_Box(x, y, k.Px(32), k.Px(32)), K(k) {}
  void draw() override {
    const int d = w();
    fl_color(fl_rgb_color(0xE0, 0x10, 0x10));
    fl_pie(x(), y(), d, d, 0, 360);
    fl_color(FL_BLACK);
    fl_arc(x(), y(), d, d, 0, 360);
    fl_color(FL_WHITE);
    fl_line_style(FL_SOLID | FL_CAP_ROUND, K.Px(4));
    const int a = K.Px(10), b = K.Px(21);
    fl_line(x() + a, y() + a, x() + b, y() + b);
    fl_line(x() + b, y() + a, x() + a, y() + b);
    fl_line_style(0);
  }

 private:
  TPixelScale K;
};

void HideParentWindow(Fl_Widget* w, void*) { w->window()->hide(); }

// The OK and Cancel buttons of a dialog, side by side: OK (Enter) confirms and closes, Cancel
// (Escape) closes.
struct TOkCancel {
  TOkCancel(int x, int y, int w, int h, int gap, Fl_Fontsize size)
      : Ok(x, y, w, h, "OK"), Cancel(x + w + gap, y, w, h, "Cancel") {
    Ok.labelsize(size);
    Cancel.labelsize(size);
    Cancel.shortcut(FL_Escape);
    Ok.callback([](Fl_Widget* b, void* data) {
      *static_cast<bool*>(data) = true;
      b->window()->hide();
    }, &Confirmed);
    Cancel.callback(HideParentWindow);
  }
  Fl_Return_Button Ok;
  Fl_Button Cancel;
  bool Confirmed = false;
};

const Fl_Window* DialogOwner = nullptr;

}  // namespace

void SetDialogOwner(const Fl_Window* owner) { DialogOwner = owner; }

TBounds DialogMonitor() {
  fl_open_display();
  if (DialogOwner && const_cast<Fl_Window*>(DialogOwner)->shown()) return x11::MonitorOf(DialogOwner);
  const std::vector<TBounds> monitors = x11::Monitors();
  return monitors.empty() ? TBounds{0, 0, Fl::w(), Fl::h()} : monitors.front();
}

Fl_RGB_Image* ProgramIconImage() {
  static std::vector<unsigned char> rgba;
  static std::unique_ptr<Fl_RGB_Image> image;
  if (!image) {
    const auto& px = ProgramIconPixels();
    rgba.resize(px.size() * 4);
    for (std::size_t i = 0; i < px.size(); ++i) {
      rgba[i * 4] = static_cast<unsigned char>(px[i] >> 16);
      rgba[i * 4 + 1] = static_cast<unsigned char>(px[i] >> 8);
      rgba[i * 4 + 2] = static_cast<unsigned char>(px[i]);
      rgba[i * 4 + 3] = static_cast<unsigned char>(px[i] >> 24);
    }
    image = std::make_unique<Fl_RGB_Image>(rgba.data(), ProgramIconSize, ProgramIconSize, 4);
  }
  return image.get();
}

void RunModal(Fl_Window* win, bool fixedDialog) {
  // Centred on the main window's monitor; a window larger than the monitor keeps its top-left
  // corner (and so its title bar) on it.
  const TBounds at = CentredIn(DialogMonitor(), win->w(), win->h());
  win->position(at.Left, at.Top);
  win->set_modal();
  if (fixedDialog)
    x11::ShowDialog(win, x11::fkDialog);
  else
    win->show();
  x11::FocusWindow(win);
  while (win->shown()) Fl::wait();
}

// ---- Colour dialog ----------------------------------------------------------------------

bool TFltkColorDialog::Execute(TColor& color, unsigned) {
  const TColor rgb = ColorToRGB(color);
  uchar r = static_cast<uchar>(GetRValue(rgb)), g = static_cast<uchar>(GetGValue(rgb)),
        b = static_cast<uchar>(GetBValue(rgb));
  // FLTK's chooser always shows the whole picker and takes any colour.
  if (FScale.IsDesign()) {
    if (!fl_color_chooser("Color", r, g, b, 0)) return false;
    color = RGB(r, g, b);
    return true;
  }
  // On a denser screen: the same picker in a window of our own, laid out as FLTK's at the
  // screen's scale (FLTK's own dialog has a fixed size).
  const TPixelScale& k = FScale;
  const Fl_Fontsize size = static_cast<Fl_Fontsize>(k.Px(14));
  Fl_Window win(k.Px(215), k.Px(200), "Color");
  // The picker is made at its own size, then each part is placed and sized by the scale (a
  // group's resize would only widen its hue box).
  Fl_Color_Chooser chooser(0, 0, 195, 115);
  const int x0 = chooser.x(), y0 = chooser.y();
  for (int i = 0; i < chooser.children(); ++i) {
    Fl_Widget* child = chooser.child(i);
    child->resize(k.Px(10) + k.Px(child->x() - x0), k.Px(10) + k.Px(child->y() - y0), k.Px(child->w()),
                  k.Px(child->h()));
    child->labelsize(size);
    if (auto* input = dynamic_cast<Fl_Value_Input*>(child)) input->textsize(size);
    if (auto* choice = dynamic_cast<Fl_Choice*>(child)) choice->textsize(size);
  }
  chooser.resizable(nullptr);
  chooser.Fl_Widget::resize(k.Px(10), k.Px(10), k.Px(195), k.Px(115));
  chooser.rgb(r / 255.0, g / 255.0, b / 255.0);
  Fl_Box before(FL_DOWN_BOX, k.Px(10), k.Px(130), k.Px(95), k.Px(25), nullptr);
  before.color(fl_rgb_color(r, g, b));
  Fl_Box after(FL_DOWN_BOX, k.Px(110), k.Px(130), k.Px(95), k.Px(25), nullptr);
  after.color(fl_rgb_color(r, g, b));
  chooser.callback([](Fl_Widget* w, void* data) {
    auto* c = static_cast<Fl_Color_Chooser*>(w);
    auto* box = static_cast<Fl_Box*>(data);
    box->color(fl_rgb_color(static_cast<uchar>(c->r() * 255 + 0.5), static_cast<uchar>(c->g() * 255 + 0.5),
                            static_cast<uchar>(c->b() * 255 + 0.5)));
    box->redraw();
  }, &after);
  chooser.when(FL_WHEN_CHANGED);
  TOkCancel buttons(k.Px(10), k.Px(165), k.Px(95), k.Px(25), k.Px(110) - k.Px(10) - k.Px(95), size);
  win.end();
  RunModal(&win);
  if (!buttons.Confirmed) return false;
  color = RGB(static_cast<int>(chooser.r() * 255 + 0.5), static_cast<int>(chooser.g() * 255 + 0.5),
              static_cast<int>(chooser.b() * 255 + 0.5));
  return true;
}

// ---- Text prompt ------------------------------------------------------------------------

bool TFltkPrompt::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  const TPixelScale& k = FScale;
  const Fl_Fontsize size = static_cast<Fl_Fontsize>(k.Px(12));
  fl_font(FL_HELVETICA, size);
  const int textWidth = static_cast<int>(fl_width(prompt.c_str()));
  const int margin = k.Px(12);
  const int width = std::max(k.Px(270), textWidth + 2 * margin);
  Fl_Window win(width, k.Px(112));
  win.copy_label(caption.c_str());
  const std::string promptLabel = LabelText(prompt);
  Fl_Box label(margin, k.Px(8), width - 2 * margin, k.Px(18));
  label.copy_label(promptLabel.c_str());
  label.labelsize(size);
  label.align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT);
  Fl_Input input(margin, k.Px(30), width - 2 * margin, k.Px(24));
  input.textsize(size);
  input.maximum_size(static_cast<int>(PromptMaxLength));
  input.value(value.substr(0, PromptMaxLength).c_str());
  const int bw = k.Px(75), bh = k.Px(25), gap = k.Px(8);
  const int bx = (width - 2 * bw - gap) / 2;
  TOkCancel buttons(bx, k.Px(72), bw, bh, gap, size);
  win.end();
  input.take_focus();
  input.position(input.size(), 0);  // the whole text selected
  RunModal(&win);
  if (!buttons.Confirmed) return false;
  value = input.value();
  return true;
}

// ---- Error message box ------------------------------------------------------------------

void TFltkMessageBox::ShowError(const std::string& text, const std::string& caption) {
  // The box is at most about two thirds of the screen wide: the text wraps (inside a long word
  // where it must), and a text taller than the screen is cut so that OK stays on it.
  const TPixelScale& k = FScale;
  const Fl_Fontsize size = static_cast<Fl_Fontsize>(k.Px(12));
  const int m12 = k.Px(12), icon = k.Px(32), m14 = k.Px(14), bh = k.Px(25), m10 = k.Px(10), bw = k.Px(75);
  const int Chrome = m12 + icon + m12 + k.Px(24);  // margins and icon beside the text
  const int UnderText = m12 + m14 + bh + m10;     // margins and the OK button
  fl_font(FL_HELVETICA, size);
  const TBounds monitor = DialogMonitor();
  const int maxText = std::max(k.Px(120), monitor.Width / 3 * 2 - Chrome);
  const std::string wrapped = WrapText(text, maxText, [](std::string_view piece) {
    return static_cast<int>(fl_width(piece.data(), static_cast<int>(piece.size())));
  });
  const std::string shown = LabelText(wrapped);
  int tw = 0, th = 0;
  fl_measure(shown.c_str(), tw, th, 0);
  tw = std::clamp(tw, std::min(k.Px(120), maxText), maxText);
  const int textHeight = std::clamp(th, icon, std::max(icon, monitor.Height - UnderText - k.Px(40)));
  const int width = Chrome + tw;
  const int height = UnderText + textHeight;
  Fl_Window win(width, height);
  win.copy_label(caption.c_str());
  TErrorIcon iconBox(m12, m12, k);
  Fl_Box message(m12 + icon + m12, m12, tw + m12, textHeight);
  message.copy_label(shown.c_str());
  message.labelsize(size);
  message.align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_CLIP);
  Fl_Return_Button ok((width - bw) / 2, height - bh - m10, bw, bh, "OK");
  ok.labelsize(size);
  ok.callback(HideParentWindow);
  win.end();
  ok.take_focus();
  fl_beep(FL_BEEP_ERROR);
  RunModal(&win);
}

// ---- About box --------------------------------------------------------------------------

void TFltkAboutBox::ShowModal(TAboutBox& box) {
  // The form's bounds and pixel-height fonts are the design's at 96 pixels per inch.
  const TPixelScale& k = FScale;
  Fl_Window win(k.Px(box.ClientWidth()), k.Px(box.ClientHeight()));
  win.copy_label(box.Caption().c_str());
  win.icon(ProgramIconImage());
  std::vector<std::unique_ptr<Fl_Widget>> widgets;
  std::vector<std::string> labels;
  labels.reserve(box.Controls().size());
  std::unique_ptr<Fl_RGB_Image> stretched;
  Fl_Widget* okButton = nullptr;
  struct TPress {
    TAboutBox* Box;
    std::string Name;
  };
  std::vector<std::unique_ptr<TPress>> presses;
  for (const TAboutControl& c : box.Controls()) {
    int x = c.Bounds.Left, y = c.Bounds.Top;
    if (const TAboutControl* parent = c.Parent.empty() ? nullptr : box.Control(c.Parent)) {
      x += parent->Bounds.Left;
      y += parent->Bounds.Top;
    }
    const int w = k.Px(c.Bounds.Width()), h = k.Px(c.Bounds.Height());
    x = k.Px(x);
    y = k.Px(y);
    labels.push_back(c.Kind == ckButton ? c.Text : LabelText(c.Text));
    const int size = k.Px(c.FontHeight < 0 ? -c.FontHeight : c.FontHeight);
    switch (c.Kind) {
      case ckPanel: {
        // Lowered outer bevel, raised inner bevel.
        auto p = std::make_unique<Fl_Box>(FL_ENGRAVED_FRAME, x, y, w, h, nullptr);
        widgets.push_back(std::move(p));
        break;
      }
      case ckImage: {
        auto img = std::make_unique<Fl_Box>(FL_NO_BOX, x, y, w, h, nullptr);
        stretched.reset(static_cast<Fl_RGB_Image*>(ProgramIconImage()->copy(w, h)));
        img->image(stretched.get());
        widgets.push_back(std::move(img));
        break;
      }
      case ckLabel: {
        auto l = std::make_unique<Fl_Box>(FL_NO_BOX, x, y, w, h, nullptr);
        l->copy_label(labels.back().c_str());
        l->labelsize(size);
        l->labelfont(c.Bold ? FL_HELVETICA_BOLD : FL_HELVETICA);
        l->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_TOP | (c.WordWrap ? FL_ALIGN_WRAP : 0));
        widgets.push_back(std::move(l));
        break;
      }
      case ckButton: {
        std::unique_ptr<Fl_Button> b;
        if (c.Default)
          b = std::make_unique<THandButton<Fl_Return_Button>>(x, y, w, h);
        else
          b = std::make_unique<THandButton<Fl_Button>>(x, y, w, h);
        b->copy_label(labels.back().c_str());
        b->labelsize(size);
        presses.push_back(std::make_unique<TPress>(TPress{&box, c.Name}));
        b->callback([](Fl_Widget* w, void* data) {
          auto* press = static_cast<TPress*>(data);
          press->Box->Press(press->Name);
          if (press->Box->ModalResult() != mrNone) w->window()->hide();
        }, presses.back().get());
        if (c.Name == "OKButton") okButton = b.get();
        widgets.push_back(std::move(b));
        break;
      }
    }
  }
  win.end();
  if (okButton) okButton->take_focus();  // first in the window's tab order
  RunModal(&win, true);  // a fixed dialog: close box only
  // The widgets are destroyed before the window (they were added to it).
  for (auto& w : widgets) win.remove(w.get());
}

// ---- Shell and timer --------------------------------------------------------------------

void TFltkShell::Open(const std::string& address) {
  // No error is shown in the window; where no browser could be started (no xdg-open or other
  // helper installed), one line on standard error says so, or the button would do nothing
  // without a trace.
  char msg[256] = "";
  if (!fl_open_uri(address.c_str(), msg, sizeof msg)) std::fprintf(stderr, "varnel: %s\n", msg);
}

void TFltkTimer::Start(int intervalMs, std::function<void()> onTimer) {
  Stop();
  FInterval = intervalMs / 1000.0;
  FOnTimer = std::move(onTimer);
  FRunning = true;
  Fl::add_timeout(FInterval, Tick, this);
}

void TFltkTimer::Stop() {
  if (!FRunning) return;
  Fl::remove_timeout(Tick, this);
  FRunning = false;
}

void TFltkTimer::Tick(void* data) {
  auto* timer = static_cast<TFltkTimer*>(data);
  // Re-arm first: a tick that opens a modal window keeps the timer running under it.
  Fl::repeat_timeout(timer->FInterval, Tick, data);
  if (timer->FOnTimer) timer->FOnTimer();
}

}  // namespace varnel
