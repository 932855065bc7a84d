// Menu letters: case-insensitive; a unique letter picks, a shared one moves the highlight.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/MenuLetters.h"

namespace varnel {
namespace {

// The program's menu, top level (separators have no letter).
const std::vector<std::string> Menu = {"&About",           "-",          "&No Title", "Stay On &Top",
                                       "-",                "&Graph",     "&UV Meter", "-",
                                       "Seconds to &Plot", "&Display Axis", "&Legend", "&3D View",
                                       "Colo&ur",          "-",          "E&xit"};

TEST(MenuLetters, PicksUniqueLettersAndCyclesSharedOnes) {
  struct Case {
    int highlighted;
    char key;
    int item;
    bool pick;
  };
  const Case cases[] = {
      {-1, 'g', 5, true},  {-1, 'G', 5, true},   {3, 'x', 14, true},  {-1, '3', 11, true},
      {-1, 't', 3, true},  {-1, 'q', -1, false}, {-1, '-', -1, false}, {-1, 0, -1, false},
      // u is shared by UV Meter and Colour: each press moves on, wrapping; case does not matter.
      {-1, 'u', 6, false}, {6, 'u', 12, false},  {12, 'U', 6, false}, {8, 'u', 12, false},
      {13, 'u', 6, false},
  };
  for (const Case& c : cases) {
    const TLetterAction a = MenuLetter(Menu, c.highlighted, c.key);
    EXPECT_EQ(a.Item, c.item) << "'" << c.key << "' after " << c.highlighted;
    EXPECT_EQ(a.Pick, c.pick) << "'" << c.key << "' after " << c.highlighted;
  }
}

TEST(MenuLetters, ReadsTheLetterAfterASingleAmpersand) {
  EXPECT_EQ(MenuLetterOf("Colo&ur"), 'u');
  EXPECT_EQ(MenuLetterOf("Salt && &Pepper"), 'P');
  EXPECT_EQ(MenuLetterOf("A&&B"), 0);
  EXPECT_EQ(MenuLetterOf("Trailing&"), 0);
  EXPECT_EQ(MenuLetterOf("-"), 0);
  // A submenu level: Line and Background each pick at once.
  EXPECT_EQ(MenuLetter({"&Line", "&Background"}, -1, 'B').Item, 1);
  EXPECT_TRUE(MenuLetter({"&Line", "&Background"}, -1, 'l').Pick);
}

}  // namespace
}  // namespace varnel
