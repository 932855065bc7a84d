// TCustomAxisPanel: the chart panel with its series list, four axes, legend, back face, frame
// pen, 3D switches and paging, and the repaint pipeline that draws them all in one fixed order
// (PaintTo, RenderChart, LayoutPlotArea). The series, axes and legend reach the chart through
// this class: AttachSeries/DetachSeries, PickFreeColor, AxisRange, the legend texts (these
// services are implemented in SeriesList.cpp).
//
//   chart.AddSeries(&series);  chart.LeftAxis().SetMaximum(100);  chart.Paint();
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "chart/ChartLegend.h"
#include "chart/ChartPanel.h"
#include "chart/SeriesList.h"
#include "series/ChartAxis.h"
#include "series/ChartPen.h"

namespace varnel {

class TChartSeries;
class TCustomAxisPanel;

// Events of the chart.
using TNotifyChartEvent = std::function<void(TCustomAxisPanel* sender)>;
using TOnGetLegendText = std::function<void(TCustomAxisPanel* sender, TLegendStyle style, int index, std::string& text)>;
using TAxisOnGetLabel = std::function<void(TChartAxis* sender, TChartSeries* series, int valueIndex, std::string& labelText)>;
using TAxisOnGetNextLabel = std::function<void(TChartAxis* sender, int labelIndex, double& labelValue, bool& stop)>;

class TCustomAxisPanel : public TCustomChartPanel {
 public:
  TCustomAxisPanel();
  ~TCustomAxisPanel() override;

  // ---- Series list and its services (SeriesList.cpp) ----------------------------------------
  TChartSeriesList& SeriesList() { return *FSeriesList; }
  const TChartSeriesList& SeriesList() const { return *FSeriesList; }
  int SeriesCount() const { return FSeriesList->Count(); }
  TChartSeries* Series(int index) const { return FSeriesList->Series(index); }
  // Puts a series into this chart (through its ParentChart setter); nothing when already in it.
  void AddSeries(TChartSeries* series);
  // Takes a series out of this chart (through its ParentChart setter); nothing when absent.
  void RemoveSeries(TChartSeries* series);
  // The list side of the series' ParentChart setter: the series leaves any other chart, gets a
  // palette colour when it has none, names this chart as its parent, is appended, and the chart
  // invalidates; nothing when already present.
  void AttachSeries(TChartSeries* series);
  // Clears the series' parent link, removes it and invalidates; nothing when absent.
  void DetachSeries(TChartSeries* series);
  // Ends the loading bracket, then fills the series whose sources were set while loading.
  void Loaded() override;
  // The first palette entry no series uses (and, with avoidBackground, neither Color nor
  // BackColor); red when every entry is taken.
  TColor PickFreeColor(bool avoidBackground) const;
  // The smallest (maximum false) or largest value an axis must show, X or Y values, from the
  // series bound to it, with paging.
  double AxisRange(const TChartAxis& axis, bool xValues, bool maximum) const;
  double MinXValue(const TChartAxis& axis) const { return AxisRange(axis, true, false); }
  double MaxXValue(const TChartAxis& axis) const { return AxisRange(axis, true, true); }
  double MinYValue(const TChartAxis& axis) const { return AxisRange(axis, false, false); }
  double MaxYValue(const TChartAxis& axis) const { return AxisRange(axis, false, true); }
  // Widest point label and widest mark text in pixels (DrawCanvas font); 0 when nothing.
  int MaxTextWidth();
  int MaxMarkWidth();
  // Number of pages (1 without paging).
  int NumPages() const;
  // Legend services: the text of legend item i (after OnGetLegendText), the series shown as
  // legend item i (the i-th active series shown in the legend, or null), and its title.
  std::string ItemText(int index);
  TChartSeries* SeriesLegend(int index) const;
  std::string SeriesTitleLegend(int index) const;

  // ---- Properties -------------------------------------------------------------------------
  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor v) { SetProperty(FBackColor, v); }
  TChartLegend& Legend() { return *FLegend; }
  const TChartLegend& Legend() const { return *FLegend; }
  void SetLegend(const TChartLegend& v) { FLegend->Assign(v); }
  TChartAxis& TopAxis() { return *FTopAxis; }
  TChartAxis& BottomAxis() { return *FBottomAxis; }
  TChartAxis& LeftAxis() { return *FLeftAxis; }
  TChartAxis& RightAxis() { return *FRightAxis; }
  const TChartAxis& TopAxis() const { return *FTopAxis; }
  const TChartAxis& BottomAxis() const { return *FBottomAxis; }
  const TChartAxis& LeftAxis() const { return *FLeftAxis; }
  const TChartAxis& RightAxis() const { return *FRightAxis; }
  void SetTopAxis(const TChartAxis& v) { FTopAxis->Assign(v); }
  void SetBottomAxis(const TChartAxis& v) { FBottomAxis->Assign(v); }
  void SetLeftAxis(const TChartAxis& v) { FLeftAxis->Assign(v); }
  void SetRightAxis(const TChartAxis& v) { FRightAxis->Assign(v); }
  bool View3D() const { return FView3D; }
  void SetView3D(bool v) { SetProperty(FView3D, v); }
  bool View3DWalls() const { return FView3DWalls; }
  void SetView3DWalls(bool v) { SetProperty(FView3DWalls, v); }
  int Chart3DPercent() const { return FChart3DPercent; }
  // 1..100, else ChartException "3D effect percent must be between 1 and 100".
  void SetChart3DPercent(int v);
  TChartPen& Frame() { return FFrame; }
  const TChartPen& Frame() const { return FFrame; }
  void SetFrame(const TChartPen& v) { FFrame.Assign(v); }
  bool ClipPoints() const { return FClipPoints; }
  void SetClipPoints(bool v) { SetProperty(FClipPoints, v); }
  bool AxisVisible() const { return FAxisVisible; }
  void SetAxisVisible(bool v) { SetProperty(FAxisVisible, v); }
  bool OffscreenDrawing() const { return FOffscreenDrawing; }
  void SetOffscreenDrawing(bool v) { SetProperty(FOffscreenDrawing, v); }
  bool Monochrome() const { return FMonochrome; }
  // Frees the off-screen bitmap, sets NeedsRedraw, then the value.
  void SetMonochrome(bool v);

  // Paging (SeriesList.cpp).
  int Page() const { return FPage; }
  virtual void SetPage(int v);
  int MaxPointsPerPage() const { return FMaxPointsPerPage; }
  // >= 0, else ChartException "MaxPointsPerPage must be >= 0"; lowers Page to the page count.
  void SetMaxPointsPerPage(int v);
  bool ScaleLastPage() const { return FScaleLastPage; }
  void SetScaleLastPage(bool v) { SetProperty(FScaleLastPage, v); }

  // ---- Events -------------------------------------------------------------------------------
  TOnGetLegendText OnGetLegendText;
  TAxisOnGetLabel OnGetAxisLabel;
  TAxisOnGetNextLabel OnGetNextAxisLabel;
  TNotifyChartEvent OnPageChange;
  TNotifyChartEvent OnAfterDraw;

  // ---- Repaint --------------------------------------------------------------------------------
  // One repaint onto a canvas and rectangle: off screen into OffscreenBitmap and copied (and then
  // NeedsRedraw is cleared), or directly. Off-screen drawing onto the host's window canvas, when
  // the host's surface is a back buffer and the rectangle is the whole client area, draws
  // straight into the surface with the off-screen picture's starting state (no clip, text at the
  // top left) and keeps no OffscreenBitmap; a Monochrome chart is always composed off screen. DrawCanvas is WindowCanvas again afterwards, also when
  // a step fails (the exception goes on and NeedsRedraw stays set).
  void PaintTo(TCanvas& canvas, const TRect& r) override;
  // The drawing order of one repaint over r.
  void RenderChart(const TRect& r);
  // Axis ranges, 3D depth, axis space: the final PlotRect.
  void LayoutPlotArea();
  // Whether an axis is drawn and takes space.
  bool AxisShown(const TChartAxis& axis) const;
  // Clip the series drawing to the plot (the rectangle remembered in step 8 of RenderChart),
  // and lift it.
  void ClipToPlot();
  void Unclip();
  // The room in pixels of the wall slab beside an axis (0 unless 3D with walls).
  virtual int WallSize(const TChartAxis& axis) const = 0;
  // The whole plot rectangle the pipeline remembered for clipping.
  const TRect& ClipRect() const { return FClipRect; }
  // Sets all four axes' ranges at once (zoom and scroll); the ranges are given per axis.
  void SetAxesRange(double leftMin, double leftMax, double rightMin, double rightMax, double topMin, double topMax,
                    double bottomMin, double bottomMax);

 protected:
  // Steps of the pipeline that TCustomChart provides.
  virtual void PaintPanelBackground(const TRect& r) = 0;
  virtual void PaintTitlesAndLegend() = 0;
  virtual void PaintWalls() = 0;
  virtual void PaintBackImageInside() {}
  // Computes LevelDX/LevelDY/DepthDX/DepthDY and returns the number of depth levels.
  virtual int CalcDepth() = 0;
  // Hands the series' margins to the axes (step 7).
  virtual void SeriesMarginsToAxes();
  // The back face of the plot box (step 10).
  virtual void PaintBackFace();
  // Depth levels of the active series (step 5).
  void AssignDepthLevels();
  // Paints every series in list order (step 13).
  void PaintAllSeries();

 private:
  void PaintSeries(int index);
  void PaintSeriesGroup(int index);

  std::unique_ptr<TChartSeriesList> FSeriesList;
  TColor FBackColor = clAutoColor;
  std::unique_ptr<TChartLegend> FLegend;
  std::unique_ptr<TChartAxis> FTopAxis;
  std::unique_ptr<TChartAxis> FBottomAxis;
  std::unique_ptr<TChartAxis> FLeftAxis;
  std::unique_ptr<TChartAxis> FRightAxis;
  bool FView3D = true;
  bool FView3DWalls = true;
  int FChart3DPercent = 15;
  TChartPen FFrame;
  bool FClipPoints = true;
  bool FAxisVisible = true;
  bool FOffscreenDrawing = true;
  bool FMonochrome = false;
  int FPage = 1;
  int FMaxPointsPerPage = 0;
  bool FScaleLastPage = true;
  TRect FClipRect{};
};

}  // namespace varnel
