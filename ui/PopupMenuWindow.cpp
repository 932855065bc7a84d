// The popup menu: its level windows, their drawing, and the modal loop with mouse and keys.
#include "ui/PopupMenuWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/PopupMenu.h"
#include "base/PixelScale.h"
#include "ui/FrameGeometry.h"
#include "ui/MenuLetters.h"
#include "ui/MenuMetrics.h"

namespace varnel {

namespace {

constexpr Fl_Font MenuFont = FL_HELVETICA;

class TPopupRun;

// One level: a borderless window listing the items of one menu item's children.
class TLevel : public Fl_Menu_Window {
 public:
  TLevel(TPopupRun& run, TMenuItem& menu);
  int handle(int event) override;
  void draw() override;

  TMenuItem& Menu() { return FMenu; }
  int Count() const { return FMenu.Count(); }
  TMenuItem* Item(int i) const { return FMenu.Item(i); }
  // The item row under the screen point, or -1 (separators included as rows of their own).
  int RowAt(int screenX, int screenY) const;
  bool Contains(int screenX, int screenY) const {
    return screenX >= x() && screenX < x() + w() && screenY >= y() && screenY < y() + h();
  }
  int RowTop(int i) const { return FTops[static_cast<std::size_t>(i)]; }
  int Highlighted() const { return FHighlighted; }
  void SetHighlighted(int i) {
    if (i == FHighlighted) return;
    FHighlighted = i;
    redraw();
  }
  // The next item from `from` in direction `step` that can be highlighted (wrapping), or -1.
  int Step(int from, int step) const;
  std::vector<std::string> Captions() const;

 private:
  TPopupRun& FRun;
  TMenuItem& FMenu;
  std::vector<int> FTops;  // each row's top, then the bottom of the last
  int FHighlighted = -1;
};

// The modal run of one popup: the open levels, innermost last.
class TPopupRun {
 public:
  TPopupRun(TMenuItem& root, int screenX, int screenY, const TBounds& monitor, const TPixelScale& scale)
      : FMonitor(monitor), FMetrics(MenuScaleToFit(root, scale, monitor.Height)) {
    Open(root, screenX, screenY, -1);
    FStartX = Fl::event_x_root();
    FStartY = Fl::event_y_root();
  }
  ~TPopupRun() { CloseAll(); }

  TMenuItem* Run() {
    Fl::grab(FLevels.front().get());
    while (!FDone && !FLevels.empty() && FLevels.front()->shown()) Fl::wait();
    CloseAll();
    return FPicked;
  }

  int Handle(int event);
  const TMenuMetrics& Metrics() const { return FMetrics; }

 private:
  void Open(TMenuItem& menu, int screenX, int screenY, int besideRight) {
    auto level = std::make_unique<TLevel>(*this, menu);
    const TBounds& m = FMonitor;
    int x = screenX;
    // A submenu opens to the right of its item, or to the left where the right has no room.
    if (besideRight >= 0 && static_cast<long long>(x) + level->w() > static_cast<long long>(m.Left) + m.Width)
      x = SaturateInt(static_cast<long long>(besideRight) - level->w());
    x = ClampSpan(x, level->w(), m.Left, m.Width);
    const int y = ClampSpan(screenY, level->h(), m.Top, m.Height);
    level->position(x, y);
    level->show();
    FLevels.push_back(std::move(level));
    if (FLevels.size() > 1) Fl::grab(FLevels.front().get());  // a new window keeps the grab where it was
  }
  // Closes the levels, innermost first, while the grab still holds (no event reaches a level
  // that is going), then gives the grab back.
  void CloseAll() {
    while (!FLevels.empty()) CloseInnermost();
    Fl::grab(nullptr);
  }
  void CloseInnermost() {
    FLevels.back()->hide();
    FLevels.pop_back();
  }
  // Closes every level deeper than `depth`.
  void CloseBelow(std::size_t depth) {
    while (FLevels.size() > depth + 1) CloseInnermost();
  }
  // Opens the submenu of the highlighted item of level `depth` (closing deeper ones first).
  void OpenSubmenu(std::size_t depth, bool highlightFirst) {
    CloseBelow(depth);
    TLevel& level = *FLevels[depth];
    const int i = level.Highlighted();
    if (i < 0 || level.Item(i)->Kind() != mkSubmenu) return;
    const int right = level.x() + level.w();
    const int border = FMetrics.Border;
    Open(*level.Item(i), right - border, level.y() + level.RowTop(i) - border, level.x());
    if (highlightFirst) FLevels.back()->SetHighlighted(FLevels.back()->Step(-1, 1));
  }
  void Pick(TMenuItem* item) {
    FPicked = item;
    Finish();
  }
  // The menu is done: its levels go from the screen and the grab is given back at once, not
  // once the toolkit's wait returns. While events keep coming (a flood of them, a busy program
  // catching up) that wait goes on handling them; a click among them then reaches the window
  // below, and a right click opens the menu again, instead of going to a menu already closed.
  // The levels themselves live until the run ends (the event being handled may be one of theirs).
  void Finish() {
    FDone = true;
    for (auto level = FLevels.rbegin(); level != FLevels.rend(); ++level) (*level)->hide();
    Fl::grab(nullptr);
  }
  // The user chose item i of level `depth`: a submenu opens, anything else is picked.
  void Choose(std::size_t depth, int i, bool byKey) {
    TLevel& level = *FLevels[depth];
    level.SetHighlighted(i);
    if (level.Item(i)->Kind() == mkSubmenu)
      OpenSubmenu(depth, byKey);
    else
      Pick(level.Item(i));
  }
  // The innermost level under the screen point, as an index into FLevels, or -1.
  int LevelAt(int sx, int sy) const {
    for (int d = static_cast<int>(FLevels.size()) - 1; d >= 0; --d)
      if (FLevels[static_cast<std::size_t>(d)]->Contains(sx, sy)) return d;
    return -1;
  }
  void Motion();
  int Key();

  TBounds FMonitor;  // the levels stay inside it
  TMenuMetrics FMetrics;
  std::vector<std::unique_ptr<TLevel>> FLevels;
  TMenuItem* FPicked = nullptr;
  bool FDone = false;
  // A release picks only after the pointer moved or a button was pressed over the menu: the
  // release of the click that opened the menu picks nothing.
  bool FArmed = false;
  int FStartX = 0, FStartY = 0;
};

TLevel::TLevel(TPopupRun& run, TMenuItem& menu) : Fl_Menu_Window(0, 0, 10, 10), FRun(run), FMenu(menu) {
  end();
  set_override();
  const TMenuMetrics& m = run.Metrics();
  fl_font(MenuFont, m.FontSize);
  int width = 0;
  for (int i = 0; i < menu.Count(); ++i) {
    const TMenuItem& item = *menu.Item(i);
    if (!item.IsLine()) width = std::max(width, static_cast<int>(fl_width(item.DisplayCaption().c_str())));
  }
  FTops = MenuRowTops(menu, m);
  size(m.Border + m.MarkWidth + width + m.ArrowWidth + m.Border, FTops.back() + m.Border);
}

int TLevel::RowAt(int screenX, int screenY) const {
  if (!Contains(screenX, screenY)) return -1;
  const int ly = screenY - y();
  for (int i = 0; i < Count(); ++i)
    if (ly >= FTops[static_cast<std::size_t>(i)] && ly < FTops[static_cast<std::size_t>(i) + 1]) return i;
  return -1;
}

int TLevel::Step(int from, int step) const {
  const int n = Count();
  for (int k = 1; k <= n; ++k) {
    const int i = ((from + step * k) % n + n) % n;
    if (!Item(i)->IsLine()) return i;
  }
  return -1;
}

std::vector<std::string> TLevel::Captions() const {
  std::vector<std::string> out;
  for (int i = 0; i < Count(); ++i) out.push_back(Item(i)->IsLine() ? std::string() : Item(i)->Caption());
  return out;
}

int TLevel::handle(int event) { return FRun.Handle(event); }

void TLevel::draw() {
  fl_draw_box(FL_UP_BOX, 0, 0, w(), h(), FL_BACKGROUND_COLOR);
  const TMenuMetrics& m = FRun.Metrics();
  const int Border = m.Border, u = m.Unit;
  fl_font(MenuFont, m.FontSize);
  for (int i = 0; i < Count(); ++i) {
    TMenuItem* item = Item(i);
    const int top = FTops[static_cast<std::size_t>(i)], bottom = FTops[static_cast<std::size_t>(i) + 1];
    if (item->IsLine()) {
      const int my = (top + bottom) / 2;
      fl_color(FL_DARK3);
      fl_xyline(Border + 1, my - 1, w() - Border - 2);
      fl_color(FL_LIGHT3);
      fl_xyline(Border + 1, my, w() - Border - 2);
      continue;
    }
    const bool lit = i == FHighlighted;
    if (lit) {
      fl_color(FL_SELECTION_COLOR);
      fl_rectf(Border, top, w() - 2 * Border, bottom - top);
    }
    const Fl_Color ink = lit ? FL_WHITE : FL_FOREGROUND_COLOR;
    fl_color(ink);
    const int midY = (top + bottom) / 2;
    if (item->Checked() && item->Kind() == mkCheck) {
      // A check mark.
      const int cx = Border + 6 * u, cy = midY;
      for (int t = 0; t < 2 * u; ++t) {
        fl_line(cx, cy - u + t, cx + 2 * u, cy + u + t);
        fl_line(cx + 2 * u, cy + u + t, cx + 7 * u, cy - 4 * u + t);
      }
    } else if (item->Checked() && item->Kind() == mkRadio) {
      fl_pie(Border + 6 * u, midY - 3 * u, 7 * u, 7 * u, 0, 360);  // a bullet
    }
    // The caption, with its letter underlined.
    const std::string text = item->DisplayCaption();
    const int tx = Border + m.MarkWidth, ty = midY + (fl_height() / 2) - fl_descent();
    fl_draw(text.c_str(), tx, ty);
    if (const char letter = item->Accelerator()) {
      // The shown text up to the letter is the display caption's prefix of the same length.
      const std::string& caption = item->Caption();
      std::size_t shownBefore = 0;
      for (std::size_t k = 0; k + 1 < caption.size(); ++k) {
        if (caption[k] == '&') {
          if (caption[k + 1] != '&') break;
          ++k;
        }
        ++shownBefore;
      }
      const int ux = tx + static_cast<int>(fl_width(text.c_str(), static_cast<int>(shownBefore)));
      const char one[2] = {letter, 0};
      for (int t = 0; t < u; ++t) fl_xyline(ux, ty + 1 + t, ux + static_cast<int>(fl_width(one)) - 1);
    }
    if (item->Kind() == mkSubmenu) {
      const int ax = w() - Border - m.ArrowWidth / 2 - 2 * u;
      fl_polygon(ax, midY - 4 * u, ax + 4 * u, midY, ax, midY + 4 * u);
    }
  }
}

void TPopupRun::Motion() {
  const int sx = Fl::event_x_root(), sy = Fl::event_y_root();
  if (sx != FStartX || sy != FStartY) FArmed = true;
  const int d = LevelAt(sx, sy);
  if (d < 0) return;  // outside: the highlight stays
  const auto depth = static_cast<std::size_t>(d);
  TLevel& level = *FLevels[depth];
  const int i = level.RowAt(sx, sy);
  if (i < 0 || level.Item(i)->IsLine()) return;
  if (i == level.Highlighted() && FLevels.size() > depth + 1) return;  // its submenu is open
  level.SetHighlighted(i);
  CloseBelow(depth);
  if (level.Item(i)->Kind() == mkSubmenu) OpenSubmenu(depth, false);
}

int TPopupRun::Key() {
  const std::size_t depth = FLevels.size() - 1;
  TLevel& level = *FLevels[depth];
  const int key = Fl::event_key();
  switch (key) {
    case FL_Escape:
      if (depth == 0)
        Finish();
      else
        CloseInnermost();
      return 1;
    case FL_Up:
    case FL_Down:
      level.SetHighlighted(level.Step(level.Highlighted() < 0 && key == FL_Up ? 0 : level.Highlighted(),
                                      key == FL_Up ? -1 : 1));
      return 1;
    case FL_Home:
      level.SetHighlighted(level.Step(-1, 1));
      return 1;
    case FL_End:
      level.SetHighlighted(level.Step(0, -1));
      return 1;
    case FL_Left:
      if (depth > 0) CloseInnermost();
      return 1;
    case FL_Right:
      OpenSubmenu(depth, true);
      return 1;
    case FL_Enter:
    case FL_KP_Enter:
      if (level.Highlighted() >= 0) Choose(depth, level.Highlighted(), true);
      return 1;
    default:
      break;
  }
  // A letter or digit: Fl::event_text() holds what the key typed.
  const char* typed = Fl::event_text();
  if (!typed || !typed[0] || typed[1]) return 1;
  const TLetterAction a = MenuLetter(level.Captions(), level.Highlighted(), typed[0]);
  if (a.Item < 0) return 1;
  if (a.Pick)
    Choose(depth, a.Item, true);
  else
    level.SetHighlighted(a.Item);
  return 1;
}

int TPopupRun::Handle(int event) {
  switch (event) {
    case FL_MOVE:
    case FL_DRAG:
      Motion();
      return 1;
    case FL_PUSH: {
      const int d = LevelAt(Fl::event_x_root(), Fl::event_y_root());
      if (d < 0) {
        Finish();  // a click outside closes the menu
        return 1;
      }
      FArmed = true;
      return 1;
    }
    case FL_RELEASE: {
      if (!FArmed) return 1;
      const int sx = Fl::event_x_root(), sy = Fl::event_y_root();
      const int d = LevelAt(sx, sy);
      if (d < 0) return 1;
      const auto depth = static_cast<std::size_t>(d);
      const int i = FLevels[depth]->RowAt(sx, sy);
      if (i < 0 || FLevels[depth]->Item(i)->IsLine()) return 1;
      Choose(depth, i, false);
      return 1;
    }
    case FL_KEYBOARD:
    case FL_SHORTCUT:
      return Key();
    case FL_ENTER:
    case FL_LEAVE:
    case FL_FOCUS:
    case FL_UNFOCUS:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

TMenuItem* RunPopupMenu(TMenuItem& root, int screenX, int screenY, const TBounds& monitor,
                        const TPixelScale& scale) {
  if (root.Count() == 0) return nullptr;
  TPopupRun run(root, screenX, screenY, monitor, scale);
  return run.Run();
}

}  // namespace varnel
