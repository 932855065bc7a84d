// The popup menu on FLTK: the menu model shown as a stack of borderless windows (the menu and
// any open submenu), run modally until the user picks an item or closes the menu. It behaves as
// the menus of the desktops the program comes from: the mouse highlights and a click or a button
// release over an item picks it; Up, Down, Home and End move the highlight, Right or Enter opens
// a submenu, Left closes it, Escape closes the innermost level, Enter picks; a typed letter picks
// the only item with that underlined letter, or moves the highlight among the items that share it
// (MenuLetter). The timer keeps running while the menu is open.
//
//   if (TMenuItem* item = RunPopupMenu(form.PopupMenu1.Items(), left + 10, top + 10, monitor)) item->Click();
#pragma once
#include "base/PixelScale.h"
#include "ui/FrameGeometry.h"

namespace varnel {

class TMenuItem;

// Opens the items of `root` with the menu's top-left corner at the screen point and returns the
// picked item, or nullptr when the menu was closed without a choice. The menu and its submenus
// stay inside `monitor`: a level that would not fit there moves inside it. Font, rows and marks
// are sized for the screen's density, or for a smaller one where the menu would be taller than
// the monitor at the screen's (MenuScaleToFit).
TMenuItem* RunPopupMenu(TMenuItem& root, int screenX, int screenY, const TBounds& monitor,
                        const TPixelScale& scale = TPixelScale());

}  // namespace varnel
