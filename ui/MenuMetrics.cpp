// The popup menu's sizes and the density at which it fits its monitor.
#include "ui/MenuMetrics.h"

#include <algorithm>

#include "app/PopupMenu.h"

namespace varnel {
namespace {

// The height of the tallest level of the menu: its own window, or a submenu's.
int TallestLevel(const TMenuItem& menu, const TMenuMetrics& m) {
  int tallest = MenuRowTops(menu, m).back() + m.Border;
  for (int i = 0; i < menu.Count(); ++i) {
    const TMenuItem& item = *menu.Item(i);
    if (item.Kind() == mkSubmenu && item.Count() > 0) tallest = std::max(tallest, TallestLevel(item, m));
  }
  return tallest;
}

}  // namespace

TMenuMetrics::TMenuMetrics(const TPixelScale& s)
    : ItemHeight(s.Px(20)), SeparatorHeight(s.Px(8)), MarkWidth(s.Px(20)), ArrowWidth(s.Px(20)), Border(s.Px(2)),
      FontSize(s.Px(12)), Unit(s.Px(1)) {}

std::vector<int> MenuRowTops(const TMenuItem& menu, const TMenuMetrics& m) {
  std::vector<int> tops;
  tops.reserve(static_cast<std::size_t>(menu.Count()) + 1);
  int y = m.Border;
  for (int i = 0; i < menu.Count(); ++i) {
    tops.push_back(y);
    y += menu.Item(i)->IsLine() ? m.SeparatorHeight : m.ItemHeight;
  }
  tops.push_back(y);
  return tops;
}

TPixelScale MenuScaleToFit(const TMenuItem& root, const TPixelScale& scale, int height) {
  // A level's height grows with the density, a step at a time where a rounded size does: the
  // first density from the screen's down that fits is the largest.
  for (int ppi = scale.PixelsPerInch(); ppi > DesignPixelsPerInch; --ppi) {
    const TPixelScale s(ppi);
    if (TallestLevel(root, TMenuMetrics(s)) <= height) return s;
  }
  return scale.PixelsPerInch() > DesignPixelsPerInch ? TPixelScale(DesignPixelsPerInch) : scale;
}

}  // namespace varnel
