// The menu's density on a monitor too short for it: the largest that fits, never below 96.
#include <gtest/gtest.h>

#include <cmath>

#include "app/PopupMenu.h"
#include "ui/MenuMetrics.h"

namespace varnel {
namespace {

// The program's menu: 12 items and 4 separators at the top, a submenu of three.
void AddProgramMenu(TMenuItem& root) {
  const char* captions[] = {"&About",   "-",        "&No Title",        "Stay On &Top",  "-",       "&Graph",
                            "&UV Meter", "-",        "Seconds to &Plot", "&Display Axis", "&Legend", "&3D View",
                            "&Cores",    "Colo&ur", "-",                "E&xit"};
  for (const char* c : captions) {
    const std::string caption = c;
    const TMenuItemKind kind = caption == "-" ? mkSeparator : caption == "&Cores" ? mkSubmenu : mkCommand;
    TMenuItem* item = root.Add(caption, caption, kind);
    if (caption == "&Cores")
      for (const char* sub : {"&Total", "Total and &Busiest", "&Every Core"}) item->Add(sub, sub, mkRadio);
  }
}

// A level of `items` rows and `lines` separators at `ppi`, as designed: 20 pixels a row, 8 a
// separator and a border of 2 above and below at 96 per inch, each size rounded on its own.
int ModelHeight(int items, int lines, int ppi) {
  const auto px = [ppi](int design) { return static_cast<int>(std::lround(design * ppi / 96.0)); };
  return 2 * px(2) + items * px(20) + lines * px(8);
}

TEST(MenuScaleToFit, TheLargestDensityAtWhichEveryLevelFits) {
  TMenuItem root("", "", mkSubmenu);
  AddProgramMenu(root);
  ASSERT_EQ(ModelHeight(12, 4, 96), 276);
  struct Case {
    int ppi, height;
  };
  for (const Case c : {Case{192, 1080}, Case{480, 1080}, Case{480, 2160}, Case{480, 1380}, Case{480, 1379},
                       Case{144, 300}, Case{144, 200}, Case{72, 100}, Case{120, 276}}) {
    int want = c.ppi;
    while (want > 96 && ModelHeight(12, 4, want) > c.height) --want;
    EXPECT_EQ(MenuScaleToFit(root, TPixelScale(c.ppi), c.height).PixelsPerInch(), want)
        << c.ppi << " per inch on " << c.height << " pixels";
  }
  // 1,380 pixels at 480, 1,076 at 376 (rows of 78, separators of 31, borders of 8), 1,088 at 377.
  EXPECT_EQ(MenuScaleToFit(root, TPixelScale(480), 1080).PixelsPerInch(), 376);
  EXPECT_EQ(MenuScaleToFit(root, TPixelScale(480), 1380).PixelsPerInch(), 480);
}

TEST(MenuScaleToFit, ASubmenuTallerThanItsParentCounts) {
  TMenuItem root("", "", mkSubmenu);
  root.Add("a", "&A", mkCommand);
  TMenuItem* sub = root.Add("s", "&Sub", mkSubmenu);
  for (int i = 0; i < 20; ++i) sub->Add("i", "&Item", mkCommand);
  // 20 rows at 192: 4 * 2 + 20 * 40 = 808; the top level is 88.
  EXPECT_EQ(MenuScaleToFit(root, TPixelScale(192), 808).PixelsPerInch(), 192);
  EXPECT_LT(MenuScaleToFit(root, TPixelScale(192), 807).PixelsPerInch(), 192);
  EXPECT_EQ(MenuScaleToFit(root, TPixelScale(192), 88).PixelsPerInch(), 96);
}

}  // namespace
}  // namespace varnel
