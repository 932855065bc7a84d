// TChartWall, the 3D depth arithmetic of a repaint and the painting of the left wall and the
// floor.
#include "chart/ChartWall.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/Numbers.h"
#include "chart/Chart.h"

namespace varnel {

TChartWall::TChartWall(TCustomAxisPanel* chart) : FChart(chart) {
  FPen.OnChange = [this] { if (FChart) FChart->NotifyChanged(); };
  FBrush.OnChange = [this] { if (FChart) FChart->NotifyChanged(); };
}

void TChartWall::SetColor(TColor v) {
  if (FColor == v) return;
  FColor = v;
  if (FChart) FChart->Invalidate();
}

void TChartWall::SetSize(int v) {
  v = ClampPixels(v);
  if (FSize == v) return;
  FSize = v;
  if (FChart) FChart->Invalidate();
}

void TChartWall::Assign(const TChartWall& source) {
  SetColor(source.FColor);
  FBrush.Assign(source.FBrush);
  FPen.Assign(source.FPen);
  SetSize(source.FSize);
}

void TChartWall::PrepareCanvas() const {
  if (!FChart) return;
  TCanvas& c = FChart->DrawCanvas();
  if (FPen.Visible())
    c.Pen().Assign(static_cast<const TPen&>(FPen));
  else
    c.Pen().SetStyle(psClear);
  if (FColor != clAutoColor || FBrush.Style() != bsSolid)
    FChart->SetPatternBrush(FColor, FBrush.Color(), FBrush.Style());
  else
    c.Brush().SetStyle(bsClear);
}

int ComputeDepth(TCustomAxisPanel& chart) {
  if (!chart.View3D()) {
    chart.SetDepthOffsets(0, 0, 0, 0);
    return 0;
  }
  // The factor is formed in extended precision and kept as a double (15 gives the double nearest
  // to 0.015, slightly below it); each product is formed in extended precision again and rounded
  // to the nearest integer, halves to even: 400 x 300 at 15 gives 6 and 4 (4.4999...).
  const double f = static_cast<double>(chart.Chart3DPercent() * 0.001L);
  const long double dx = static_cast<long double>(chart.PlotWidth()) * static_cast<long double>(f);
  const long double dy = static_cast<long double>(chart.PlotHeight()) * static_cast<long double>(f);
  const int levelDX = static_cast<int>(std::nearbyintl(dx));
  const int levelDY = static_cast<int>(std::nearbyintl(dy));
  const int levels = chart.SeriesInDepth() ? std::max(1, chart.MaxDepthLevel() + 1) : 1;
  chart.SetDepthOffsets(levelDX, levelDY, levels * levelDX, levels * levelDY);
  return levels;
}

void PaintChartWalls(TCustomChart& chart) {
  const TRect& p = chart.PlotRect();
  const int L = p.Left;
  const int T = p.Top;
  const int R = p.Right;
  const int B = p.Bottom;
  const int DX = chart.DepthDX();
  const int DY = chart.DepthDY();

  // The left wall: its plane from the front edge to the back face, then the slab outside L.
  chart.LeftWall().PrepareCanvas();
  chart.DrawPolygon(std::array<TPoint, 4>{Point(L + DX, T - DY), Point(L + DX, B - DY), Point(L, B + 1), Point(L, T)});
  if (const int s = chart.LeftWall().Size(); s > 0) {
    chart.DrawRectangle(L + 1, B + 1, L - s, T);
    chart.DrawPolygon(std::array<TPoint, 4>{Point(L + DX, T - DY), Point(L + DX - s, T - DY), Point(L - s, T), Point(L, T)});
  }

  // The floor: its plane, then the slab below B, which runs on under the left wall's slab.
  chart.BottomWall().PrepareCanvas();
  chart.DrawPolygon(
      std::array<TPoint, 4>{Point(L + DX, B - DY - 1), Point(R + DX, B - DY - 1), Point(R, B), Point(L, B)});
  if (const int s = chart.BottomWall().Size(); s > 0) {
    chart.DrawRectangle(L - chart.WallSize(chart.LeftAxis()), B, R, B + s + 1);
    chart.DrawPolygon(std::array<TPoint, 4>{Point(R + DX, B - DY - 1), Point(R + DX, B - DY - 1 + s), Point(R - 1, B + s),
                                            Point(R - 1, B)});
  }
}

}  // namespace varnel
