// The drawing tools of the canvas: TPen, TBrush and TFont, value types with the defaults of a
// fresh device context and an OnChange hook that fires when a setter or Assign changes a value.
//
//   TPen pen;  pen.SetColor(clRed);  pen.SetWidth(2);  canvas.Pen().Assign(pen);
#pragma once
#include <functional>
#include <string>

#include "base/Color.h"

namespace varnel {

enum TPenStyle : int { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// The binary raster operations of a pen, applied per painted pixel as D' = f(P, D).
enum TPenMode : int {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

enum TBrushStyle : int { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// Font style flags, combined with |.
enum TFontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = int;

class TPen {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  // 0 and 1 are the one-pixel cosmetic pen; 2 and more draw wide strokes with round ends.
  int Width() const { return FWidth; }
  void SetWidth(int v);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle v);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode v);
  // Copies colour, width, style and mode; fires OnChange once when something changed.
  void Assign(const TPen& source);

  std::function<void()> OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange();
  }

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

class TBrush {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle v);
  void Assign(const TBrush& source);

  // Fires when a value changed.
  std::function<void()> OnChange;
  // Fires on every setter or Assign call, changed or not: a canvas re-selects its brush (and
  // with it the background mode) whenever the brush is set, as the classic canvas did.
  std::function<void()> OnSet;

 protected:
  void Changed() {
    if (OnChange) OnChange();
  }
  void Touched() {
    if (OnSet) OnSet();
  }

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

// A font by family name and size. Height < 0 is the em height in pixels; Size is in points at
// PixelsPerInch (96), Height = -MulDiv(Size, PixelsPerInch, 72). Orientation is the angle of
// the baseline in tenths of a degree, counterclockwise.
class TFont {
 public:
  TFont();
  const std::string& Name() const { return FName; }
  void SetName(const std::string& v);
  int Height() const { return FHeight; }
  void SetHeight(int v);
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles v);
  int Orientation() const { return FOrientation; }
  void SetOrientation(int tenths);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int v);  // keeps Size, recomputes Height
  // Copies name, height, size, colour, style and orientation (the height is rescaled when the
  // two fonts differ in PixelsPerInch, as a point size is kept).
  void Assign(const TFont& source);

  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  std::string FName = "MS Sans Serif";
  int FHeight = -11;  // 8 points at 96 dpi
  TColor FColor = clWindowText;
  TFontStyles FStyle = 0;
  int FOrientation = 0;
  int FPixelsPerInch = 96;
};

}  // namespace varnel
