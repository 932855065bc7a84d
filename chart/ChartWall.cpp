// TChartWall and the 3D depth arithmetic of a repaint.
#include "chart/ChartWall.h"

#include <algorithm>
#include <cmath>

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
  // The factor is kept as a double (15 gives slightly less than 0.015) and each product is
  // formed in extended precision, then rounded to the nearest integer, halves to even.
  const double f = chart.Chart3DPercent() * 0.001;
  const long double dx = static_cast<long double>(chart.PlotWidth()) * static_cast<long double>(f);
  const long double dy = static_cast<long double>(chart.PlotHeight()) * static_cast<long double>(f);
  const int levelDX = static_cast<int>(std::nearbyintl(dx));
  const int levelDY = static_cast<int>(std::nearbyintl(dy));
  const int levels = chart.SeriesInDepth() ? std::max(1, chart.MaxDepthLevel() + 1) : 1;
  chart.SetDepthOffsets(levelDX, levelDY, levels * levelDX, levels * levelDY);
  return levels;
}

void PaintChartWalls(TCustomChart& /*chart*/) {
  // The wall planes and slabs are not painted yet: the 3D box shows only its axes and series.
}

}  // namespace varnel
