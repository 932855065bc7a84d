// TChartGradient: the background gradient's properties and its painting in at most 256 colour
// bands.
#include "chart/ChartGradient.h"

#include <algorithm>

#include "base/Numbers.h"
#include "chart/AxisPanel.h"
#include "platform/canvas/Canvas.h"

namespace varnel {

void TChartGradient::Changed() {
  if (FChart) FChart->Invalidate();
}

void TChartGradient::SetVisible(bool v) {
  if (FVisible == v) return;
  FVisible = v;
  Changed();
}

void TChartGradient::SetDirection(TGradientDirection v) {
  if (FDirection == v) return;
  FDirection = v;
  Changed();
}

void TChartGradient::SetStartColor(TColor v) {
  if (FStartColor == v) return;
  FStartColor = v;
  Changed();
}

void TChartGradient::SetEndColor(TColor v) {
  if (FEndColor == v) return;
  FEndColor = v;
  Changed();
}

void TChartGradient::Assign(const TChartGradient& source) {
  SetVisible(source.FVisible);
  SetDirection(source.FDirection);
  SetStartColor(source.FStartColor);
  SetEndColor(source.FEndColor);
}

void TChartGradient::Draw(TCanvas& canvas, const TRect& r) const {
  const bool horizontal = FDirection == gdLeftRight || FDirection == gdRightLeft;
  const bool startFirst = FDirection == gdTopBottom || FDirection == gdLeftRight;
  const TColor first = ColorToRGB(startFirst ? FStartColor : FEndColor);
  const TColor second = ColorToRGB(startFirst ? FEndColor : FStartColor);
  // The span is taken in 64 bits so that extreme rectangles cannot overflow; a band edge is
  // then at most 256 steps of size / n away from the far edge.
  const long long span = horizontal ? static_cast<long long>(r.Right) - r.Left : static_cast<long long>(r.Bottom) - r.Top;
  if (span <= 0) return;
  const int size = static_cast<int>(std::min<long long>(span, 0x7FFFFFFF));
  const int n = std::min(size, 256);
  const long long across = horizontal ? static_cast<long long>(r.Bottom) - r.Top : static_cast<long long>(r.Right) - r.Left;
  // Across the bands the rectangle is taken as it is: right before left (bottom above top)
  // gives each band a negative extent, which covers R .. L-1 as a fill of that rectangle would.
  const int width = static_cast<int>(std::clamp<long long>(across, -0x7FFFFFFF, 0x7FFFFFFF));
  const int dr = GetRValue(second) - GetRValue(first);
  const int dg = GetGValue(second) - GetGValue(first);
  const int db = GetBValue(second) - GetBValue(first);
  // Each band is a pattern copy with its own solid brush; the canvas's brush is left as it was.
  const TBrush saved = canvas.Brush();
  const TBkMode savedMode = canvas.BkMode();
  const TColor savedBk = canvas.BkColor();
  canvas.Brush().SetStyle(bsSolid);
  for (int i = 0; i < n; ++i) {
    TColor c = first;
    if (n > 1)
      c = RGB(GetRValue(first) + MulDiv(i, dr, n - 1), GetGValue(first) + MulDiv(i, dg, n - 1),
              GetBValue(first) + MulDiv(i, db, n - 1));
    canvas.Brush().SetColor(c);
    const int nearEdge = MulDiv(i + 1, size, n);
    const int farEdge = MulDiv(i, size, n);
    if (horizontal)
      canvas.PatBlt(r.Right - nearEdge, r.Top, nearEdge - farEdge, width, PATCOPY);
    else
      canvas.PatBlt(r.Left, r.Bottom - nearEdge, width, nearEdge - farEdge, PATCOPY);
  }
  canvas.Brush().SetColor(saved.Color());
  canvas.Brush().SetStyle(saved.Style());
  canvas.SetBkMode(savedMode);
  canvas.SetBkColor(savedBk);
}

}  // namespace varnel
