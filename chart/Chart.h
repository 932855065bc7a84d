// TCustomChart and TChart: the complete chart component. TCustomChart adds the titles, walls,
// background gradient and back image to the axis panel and provides the pipeline steps that
// draw them; TChart is the class forms create.
//
//   TChart chart;  chart.SetHost(&host);  chart.AddSeries(&series);  ...  chart.Paint();
#pragma once
#include <functional>
#include <memory>

#include "chart/AxisPanel.h"
#include "chart/ChartGradient.h"
#include "chart/ChartTitle.h"
#include "chart/ChartWall.h"
#include "platform/canvas/Bitmap.h"

namespace varnel {

enum TPanningMode : int { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TChartBackImageMode : int { pbmStretch, pbmTile, pbmCenter };

class TCustomChart : public TCustomAxisPanel {
 public:
  TCustomChart();
  ~TCustomChart() override;

  int AnimatedZoomSteps() const { return FAnimatedZoomSteps; }
  void SetAnimatedZoomSteps(int v) { FAnimatedZoomSteps = v; }
  bool AnimatedZoom() const { return FAnimatedZoom; }
  void SetAnimatedZoom(bool v) { FAnimatedZoom = v; }
  bool AllowZoom() const { return FAllowZoom; }
  void SetAllowZoom(bool v) { FAllowZoom = v; }
  TPanningMode AllowPanning() const { return FAllowPanning; }
  void SetAllowPanning(TPanningMode v) { FAllowPanning = v; }
  TChartBackImageMode BackImageMode() const { return FBackImageMode; }
  void SetBackImageMode(TChartBackImageMode v) { SetProperty(FBackImageMode, v); }
  bool BackImageInside() const { return FBackImageInside; }
  void SetBackImageInside(bool v) { SetProperty(FBackImageInside, v); }
  // The background picture (empty = none). Setting it copies the pixels and invalidates.
  const TBitmap& BackImage() const { return *FBackImage; }
  void SetBackImage(const TBitmap& v);
  TChartGradient& Gradient() { return *FGradient; }
  const TChartGradient& Gradient() const { return *FGradient; }
  void SetGradient(const TChartGradient& v) { FGradient->Assign(v); }
  TChartWall& LeftWall() { return *FLeftWall; }
  const TChartWall& LeftWall() const { return *FLeftWall; }
  void SetLeftWall(const TChartWall& v) { FLeftWall->Assign(v); }
  TChartWall& BottomWall() { return *FBottomWall; }
  const TChartWall& BottomWall() const { return *FBottomWall; }
  void SetBottomWall(const TChartWall& v) { FBottomWall->Assign(v); }
  TChartTitle& Title() { return *FTitle; }
  const TChartTitle& Title() const { return *FTitle; }
  void SetTitle(const TChartTitle& v) { FTitle->Assign(v); }
  TChartTitle& Foot() { return *FFoot; }
  const TChartTitle& Foot() const { return *FFoot; }
  void SetFoot(const TChartTitle& v) { FFoot->Assign(v); }

  int WallSize(const TChartAxis& axis) const override;

  // Mouse and layout hooks (the chart is disabled in this program: only the legend's layout
  // hooks can ever run).
  std::function<void(TCustomChart* sender, TChartAxis* axis)> OnClickAxis;
  std::function<void(TCustomChart* sender)> OnClickLegend;
  std::function<void(TCustomChart* sender, TChartSeries* series, int valueIndex)> OnClickSeries;
  std::function<void(TCustomChart* sender)> OnClickBackground;
  std::function<void(TCustomChart* sender, int index, int& x, int& y, int& xColor)> OnGetLegendPos;
  std::function<void(TCustomChart* sender, TRect& rect)> OnGetLegendRect;
  std::function<void(TCustomChart* sender)> OnUndoZoom;
  std::function<void(TCustomChart* sender)> OnScroll;
  std::function<void(TCustomChart* sender)> OnZoom;
  std::function<void(TCustomChart* sender, TChartAxis* axis, double& min, double& max, bool& allow)> OnAllowScroll;

 protected:
  // Background fill of a rectangle: the gradient when visible, else the solid panel Color.
  void FillPanelBackground(const TRect& r);
  // Draws the back image into r in BackImageMode.
  void PaintBackImage(const TRect& r);

  void PaintPanelBackground(const TRect& r) override;
  void PaintTitlesAndLegend() override;
  void PaintWalls() override;
  void PaintBackImageInside() override;
  int CalcDepth() override;

 private:
  // One frame of width w in two colours, drawn inward on r (bevels and border).
  void DrawFrame(TRect& r, TColor topColor, TColor bottomColor, int width);

  int FAnimatedZoomSteps = 8;
  bool FAnimatedZoom = false;
  bool FAllowZoom = true;
  TPanningMode FAllowPanning = pmBoth;
  TChartBackImageMode FBackImageMode = pbmStretch;
  bool FBackImageInside = false;
  std::unique_ptr<TBitmap> FBackImage;
  std::unique_ptr<TChartGradient> FGradient;
  std::unique_ptr<TChartWall> FLeftWall;
  std::unique_ptr<TChartWall> FBottomWall;
  std::unique_ptr<TChartTitle> FTitle;
  std::unique_ptr<TChartTitle> FFoot;
};

// The chart forms create; it adds nothing to TCustomChart.
class TChart : public TCustomChart {
 public:
  TChart() = default;
};

}  // namespace varnel
