// TChartWall: the left wall and the floor (bottom wall) of the 3D box, and the 3D depth
// arithmetic of a repaint: the pixel shift of one depth level and of the back face.
#pragma once
#include "base/Color.h"
#include "chart/ChartGradient.h"
#include "series/ChartPen.h"

namespace varnel {

class TCustomAxisPanel;
class TCustomChart;

class TChartWall {
 public:
  explicit TChartWall(TCustomAxisPanel* chart);
  TChartWall(const TChartWall&) = delete;
  TChartWall& operator=(const TChartWall&) = delete;

  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TChartPen& Pen() { return FPen; }
  const TChartPen& Pen() const { return FPen; }
  void SetPen(const TChartPen& v) { FPen.Assign(v); }
  // Brush.Style is the fill pattern, Brush.Color the colour between hatch lines.
  TBrush& Brush() { return FBrush; }
  const TBrush& Brush() const { return FBrush; }
  void SetBrush(const TBrush& v) { FBrush.Assign(v); }
  int Size() const { return FSize; }
  void SetSize(int v);
  // Copies Color, Brush, Pen and Size.
  void Assign(const TChartWall& source);

  // Sets the chart's DrawCanvas pen and brush for painting this wall.
  void PrepareCanvas() const;

 private:
  TCustomAxisPanel* FChart;
  TColor FColor = clAutoColor;
  TChartPen FPen;
  TBrush FBrush;
  int FSize = 0;
};

// The depth computation of a repaint: sets the chart's LevelDX, LevelDY, DepthDX and DepthDY
// from the plot size of this moment, Chart3DPercent and MaxDepthLevel, and returns the number of
// depth levels (0 in 2D).
int ComputeDepth(TCustomAxisPanel& chart);

// Paints the left wall and the floor of the 3D box around the final plot rectangle.
void PaintChartWalls(TCustomChart& chart);

}  // namespace varnel
