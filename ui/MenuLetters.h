// Menu letters as the desktops the program comes from have them: a typed letter chooses among
// the items of the open menu (or submenu) whose underlined letter it is, without regard to case.
// Where only one item has the letter, the press picks it at once; where several share it, each
// press moves the highlight to the next of them (after the highlighted one, wrapping around) and
// Enter picks the highlighted item.
//
//   TLetterAction a = MenuLetter({"&UV Meter", "Colo&ur"}, -1, 'U');   // {0, false}
//   a = MenuLetter({"&UV Meter", "Colo&ur"}, 0, 'u');                   // {1, false}
#pragma once
#include <string>
#include <vector>

#include "app/PopupMenu.h"  // MenuLetterOf

namespace varnel {

struct TLetterAction {
  int Item = -1;      // the item to highlight, or -1 when no item has the letter
  bool Pick = false;  // the only item with the letter: pick it now
};

// What typing `key` does in a menu level with these captions (separators have none) while
// item `highlighted` is highlighted (-1 for none).
TLetterAction MenuLetter(const std::vector<std::string>& captions, int highlighted, char key);

}  // namespace varnel
