// The headless window system's picture of the client area.
#include "app/HeadlessPorts.h"

#include <algorithm>

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
    // at the bottom and right; the outer ring half the edge's width, the inner one the rest.
    const int r = FWidth - 1, b = FHeight - 1, k = std::max(1, ChartEdge / 2), ki = std::max(1, ChartEdge - k);
    auto line = [&c](TColor color, int x1, int y1, int x2, int y2) {
      c.Pen().SetColor(color);
      c.Pen().SetWidth(1);
      c.MoveTo(x1, y1);
      c.LineTo(x2, y2);
    };
    for (int i = 0; i < std::max(k, ki); ++i) {
      const int o = i, p = k + i;  // the outer ring's line, the inner ring's
      if (i < k) {
        line(clBtnShadow, o, o, r - o, o);
        line(clBtnShadow, o, o, o, b - o);
        line(clBtnHighlight, o, b - o, r - o + 1, b - o);
        line(clBtnHighlight, r - o, o, r - o, b - o + 1);
      }
      if (i >= ki) continue;
      line(cl3DDkShadow, p, p, r - p, p);
      line(cl3DDkShadow, p, p, p, b - p);
      line(cl3DLight, p, b - p, r - p + 1, b - p);
      line(cl3DLight, r - p, p, r - p, b - p + 1);
    }
    c.Draw(ChartEdge, ChartEdge, ChartHost.Surface());
  } else if (MeterHost.Visible()) {
    c.Draw(0, 0, MeterHost.Surface());
  }
  return out;
}

}  // namespace varnel
