// Window and control styles shared by the components and the main window: the border styles of
// a window or panel, the form styles (window level) of a top-level window, and the mouse button
// and shift state that mouse events carry.
#pragma once

namespace varnel {

// Border of a window: none, a single line (for a panel: the sunken client edge), sizeable, a
// dialog frame, or the small-caption tool-window frames (fixed and sizeable).
enum TBorderStyle : int { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// The same set as the border styles of a top-level window.
using TFormBorderStyle = TBorderStyle;
// Window level of a top-level window: an ordinary window, or one that stays above the others.
enum TFormStyle : int { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

// The mouse button of a press or release.
enum TMouseButton : int { mbLeft, mbRight, mbMiddle };
// Keys and buttons held during a mouse event, and whether it is the second click of a double
// click (flags, combined with |).
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;

}  // namespace varnel
