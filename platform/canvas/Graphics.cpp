// TPen, TBrush and TFont: setters that compare, store and notify.
#include "platform/canvas/Graphics.h"

#include "base/Numbers.h"

namespace varnel {

void TPen::SetColor(TColor v) {
  if (v == FColor) return;
  FColor = v;
  Changed();
}
void TPen::SetWidth(int v) {
  if (v == FWidth) return;
  FWidth = v;
  Changed();
}
void TPen::SetStyle(TPenStyle v) {
  if (v == FStyle) return;
  FStyle = v;
  Changed();
}
void TPen::SetMode(TPenMode v) {
  if (v == FMode) return;
  FMode = v;
  Changed();
}
void TPen::Assign(const TPen& s) {
  if (FColor == s.FColor && FWidth == s.FWidth && FStyle == s.FStyle && FMode == s.FMode) return;
  FColor = s.FColor;
  FWidth = s.FWidth;
  FStyle = s.FStyle;
  FMode = s.FMode;
  Changed();
}

void TBrush::SetColor(TColor v) {
  if (v != FColor) {
    FColor = v;
    Changed();
  }
  Touched();
}
void TBrush::SetStyle(TBrushStyle v) {
  if (v != FStyle) {
    FStyle = v;
    Changed();
  }
  Touched();
}
void TBrush::Assign(const TBrush& s) {
  if (FColor != s.FColor || FStyle != s.FStyle) {
    FColor = s.FColor;
    FStyle = s.FStyle;
    Changed();
  }
  Touched();
}

TFont::TFont() = default;

void TFont::SetName(const std::string& v) {
  if (v == FName) return;
  FName = v;
  Changed();
}
void TFont::SetHeight(int v) {
  if (v == FHeight) return;
  FHeight = v;
  Changed();
}
int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, FPixelsPerInch, 72)); }
void TFont::SetColor(TColor v) {
  if (v == FColor) return;
  FColor = v;
  Changed();
}
void TFont::SetStyle(TFontStyles v) {
  if (v == FStyle) return;
  FStyle = v;
  Changed();
}
void TFont::SetOrientation(int tenths) {
  if (tenths == FOrientation) return;
  FOrientation = tenths;
  Changed();
}
void TFont::SetPixelsPerInch(int v) {
  if (v <= 0 || v == FPixelsPerInch) return;
  const int size = Size();
  FPixelsPerInch = v;
  FHeight = -MulDiv(size, v, 72);
  Changed();
}
void TFont::Assign(const TFont& s) {
  const int height = s.FPixelsPerInch == FPixelsPerInch ? s.FHeight : -MulDiv(s.Size(), FPixelsPerInch, 72);
  if (FName == s.FName && FHeight == height && FColor == s.FColor && FStyle == s.FStyle &&
      FOrientation == s.FOrientation)
    return;
  FName = s.FName;
  FHeight = height;
  FColor = s.FColor;
  FStyle = s.FStyle;
  FOrientation = s.FOrientation;
  Changed();
}

}  // namespace varnel
