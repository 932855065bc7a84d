// The popup menu's sizes (rows, marks, font: pixels at 96 per inch, scaled to the screen), where
// its rows lie, and the density at which a menu fits its monitor's height. No display needed.
//
//   const TPixelScale s = MenuScaleToFit(root, screenScale, monitor.Height);
//   const TMenuMetrics m(s);  const std::vector<int> tops = MenuRowTops(root, m);
#pragma once
#include <vector>

#include "base/PixelScale.h"

namespace varnel {

class TMenuItem;

struct TMenuMetrics {
  explicit TMenuMetrics(const TPixelScale& s);
  int ItemHeight;
  int SeparatorHeight;
  int MarkWidth;   // the column of check marks and bullets
  int ArrowWidth;  // the column of the submenu arrow
  int Border;
  int FontSize;
  int Unit;  // one pixel at 96: the strokes of the marks
};

// The top of each of the menu's rows in its window (a separator is a row of its own), then the
// bottom of the last; the window is one border taller than that.
std::vector<int> MenuRowTops(const TMenuItem& menu, const TMenuMetrics& m);

// The screen's scale, or the largest smaller one, down to 96 per inch, at which every level of
// the menu (its own items and each submenu's) is at most `height` pixels tall: a level taller
// than its monitor would leave its last items out of the mouse's reach. Below 96 a level is
// never made smaller than designed, so a screen's scale of 96 or less is kept as it is.
TPixelScale MenuScaleToFit(const TMenuItem& root, const TPixelScale& scale, int height);

}  // namespace varnel
