// The headless window system's picture of the client area.
#include "app/HeadlessPorts.h"

namespace varnel {

TBitmap THeadlessWindowSystem::ClientPicture() {
  TBitmap out(FWidth > 0 ? FWidth : 0, FHeight > 0 ? FHeight : 0);
  if (out.Empty()) return out;
  TCanvas& c = out.Canvas();
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(clBtnFace);
  c.FillRect(Rect(0, 0, FWidth, FHeight));
  if (ChartHost.Visible()) {
    // The sunken client edge: shadow over dark shadow at the top and left, highlight over light
    // at the bottom and right.
    const int r = FWidth - 1, b = FHeight - 1;
    auto line = [&c](TColor color, int x1, int y1, int x2, int y2) {
      c.Pen().SetColor(color);
      c.Pen().SetWidth(1);
      c.MoveTo(x1, y1);
      c.LineTo(x2, y2);
    };
    line(clBtnShadow, 0, 0, r, 0);
    line(clBtnShadow, 0, 0, 0, b);
    line(clBtnHighlight, 0, b, r + 1, b);
    line(clBtnHighlight, r, 0, r, b + 1);
    line(cl3DDkShadow, 1, 1, r - 1, 1);
    line(cl3DDkShadow, 1, 1, 1, b - 1);
    line(cl3DLight, 1, b - 1, r, b - 1);
    line(cl3DLight, r - 1, 1, r - 1, b);
    c.Draw(ChartEdge, ChartEdge, ChartHost.Surface());
  } else if (MeterHost.Visible()) {
    c.Draw(0, 0, MeterHost.Surface());
  }
  return out;
}

}  // namespace varnel
