// TChartGradient, the colour gradient that can stand in for the panel's solid background, and
// TChartBrush, a canvas brush that may hold clAutoColor (no colour set).
#pragma once
#include "base/Color.h"
#include "base/Geometry.h"
#include "platform/canvas/Graphics.h"

namespace varnel {

class TCustomAxisPanel;
class TCanvas;

enum TGradientDirection : int { gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft };

class TChartBrush : public TBrush {
 public:
  TChartBrush() { SetColor(clAutoColor); }
};

class TChartGradient {
 public:
  explicit TChartGradient(TCustomAxisPanel* chart) : FChart(chart) {}
  TChartGradient(const TChartGradient&) = delete;
  TChartGradient& operator=(const TChartGradient&) = delete;

  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  TGradientDirection Direction() const { return FDirection; }
  void SetDirection(TGradientDirection v);
  TColor StartColor() const { return FStartColor; }
  void SetStartColor(TColor v);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor v);
  // Copies Visible, Direction, StartColor and EndColor.
  void Assign(const TChartGradient& source);

  // Paints the gradient over r on the canvas (at most 256 bands).
  void Draw(TCanvas& canvas, const TRect& r) const;

 private:
  void Changed();
  TCustomAxisPanel* FChart;
  bool FVisible = false;
  TGradientDirection FDirection = gdTopBottom;
  TColor FStartColor = clWhite;
  TColor FEndColor = clYellow;
};

}  // namespace varnel
