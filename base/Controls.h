// Window and control styles shared by the components and the main window: the border styles of
// a window or panel and the form styles (window level) of a top-level window.
#pragma once

namespace varnel {

// Border of a window: none, a single line (for a panel: the sunken client edge), sizeable, a
// dialog frame, or the small-caption tool-window frames (fixed and sizeable).
enum TBorderStyle : int { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// The same set as the border styles of a top-level window.
using TFormBorderStyle = TBorderStyle;
// Window level of a top-level window: an ordinary window, or one that stays above the others.
enum TFormStyle : int { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

}  // namespace varnel
