// TChartAxis: one of the chart's four axes. It decides the range of values it shows (its own
// Minimum/Maximum or automatically from the series bound to it), maps values to pixels and back
// (linear or logarithmic, normal or inverted), chooses the step between labels, formats label
// texts, tells the chart how much room its title, labels and ticks need, and draws itself
// (title, labels, ticks, grid, axis line; AxisDraw.cpp). TChartAxisTitle is its title.
//
//   chart.LeftAxis().SetMaximum(100);  int y = chart.LeftAxis().YPixelOfValue(37);
#pragma once
#include <memory>
#include <string>

#include "base/Geometry.h"
#include "chart/ChartFontObject.h"
#include "series/ChartPen.h"

namespace varnel {

class TChartAxis;
class TChartSeries;

// What the labels of an axis show.
enum TAxisLabelStyle : int { talAuto, talNone, talValue, talMark, talText };

// A date-time as days since 30 December 1899, the time of day as the fraction.
using TDateTime = double;
constexpr double OneSecond = 1.0 / 86400.0;
// The date-time label steps, in days: 1, 5, 10, 15, 30 seconds; 1, 5, 10, 15, 30 minutes;
// 1, 2, 6, 12 hours; 1, 2, 3, 7, 15, 30, 60, 90, 120, 182, 365 days.
constexpr int DateTimeStepCount = 25;
extern const double DateTimeStep[DateTimeStepCount];

// The next larger label step: 1, 2, 5, 10, 50, 100, 200, 500, 1000, 5000, then doubling; below
// 1 it doubles.
double NextLabelStep(double x);

class TChartAxisTitle : public TChartFontObject {
 public:
  TChartAxisTitle(TCustomAxisPanel* chart, TChartAxis* axis);

  TChartAxis* Axis() const { return FAxis; }
  int Angle() const { return FAngle; }
  // 0..360 (360 is stored as 0); else ChartException "Axis Title Angle must be between 0 and
  // 359 degrees".
  void SetAngle(int v);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v);
  // The angle the title has on its axis unless set: 90 left, 270 right, 0 top and bottom.
  int NaturalAngle() const;
  bool IsAngleStored() const { return FAngle != NaturalAngle(); }

  // Copies axis, angle, caption and font.
  void Assign(const TChartFontObject& source) override;

 private:
  TChartAxis* FAxis;
  int FAngle = 0;
  std::string FCaption;
};

class TChartAxis : public TChartFontObject {
 public:
  // The chart sets IsHorizontal for the bottom and top axes and IsOtherSide for top and right.
  TChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide);
  ~TChartAxis() override;

  // ---- Properties (the chart's property rule unless said otherwise) ------------------------
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  bool Automatic() const { return FAutomatic; }
  // Unless the chart is loading, AutomaticMinimum and AutomaticMaximum follow.
  void SetAutomatic(bool v);
  bool AutomaticMaximum() const { return FAutomaticMaximum; }
  // false also clears Automatic.
  void SetAutomaticMaximum(bool v);
  bool AutomaticMinimum() const { return FAutomaticMinimum; }
  void SetAutomaticMinimum(bool v);
  bool Labels() const { return FLabels; }
  void SetLabels(bool v);
  int LabelsAngle() const { return FLabelsAngle; }
  // 0..360 (360 is stored as 0); else ChartException "Axis Labels Angle must be ...".
  void SetLabelsAngle(int v);
  int LabelsSeparation() const { return FLabelsSeparation; }
  // Below 0: AxisException "Labels Separation % must be greater than 0"; 0 is accepted.
  void SetLabelsSeparation(int v);
  int TitleSize() const { return FTitleSize; }
  void SetTitleSize(int v);
  int LabelsSize() const { return FLabelsSize; }
  void SetLabelsSize(int v);
  bool LabelsOnAxis() const { return FLabelsOnAxis; }
  void SetLabelsOnAxis(bool v);
  TAxisLabelStyle LabelStyle() const { return FLabelStyle; }
  void SetLabelStyle(TAxisLabelStyle v);
  TFont& LabelsFont() { return Font(); }
  const TFont& LabelsFont() const { return Font(); }
  void SetLabelsFont(const TFont& v) { SetFont(v); }

  TChartTickPen& Ticks() { return FTicks; }
  const TChartTickPen& Ticks() const { return FTicks; }
  void SetTicks(const TChartPen& v) { FTicks.Assign(v); }
  TChartTickPen& MinorTicks() { return FMinorTicks; }
  const TChartTickPen& MinorTicks() const { return FMinorTicks; }
  void SetMinorTicks(const TChartPen& v) { FMinorTicks.Assign(v); }
  TChartTickPen& TicksInner() { return FTicksInner; }
  const TChartTickPen& TicksInner() const { return FTicksInner; }
  void SetTicksInner(const TChartPen& v) { FTicksInner.Assign(v); }
  TChartAxisPen& Axis() { return FAxis; }
  const TChartAxisPen& Axis() const { return FAxis; }
  void SetAxis(const TChartPen& v) { FAxis.Assign(v); }
  TChartGridPen& Grid() { return FGrid; }
  const TChartGridPen& Grid() const { return FGrid; }
  void SetGrid(const TChartPen& v) { FGrid.Assign(v); }

  int TickInnerLength() const { return FTickInnerLength; }
  void SetTickInnerLength(int v);
  int MinorTickLength() const { return FMinorTickLength; }
  void SetMinorTickLength(int v);
  int MinorTickCount() const { return FMinorTickCount; }
  // At most kMaxMinorTicks; a larger count is kept as that.
  static constexpr int kMaxMinorTicks = 1000;
  void SetMinorTickCount(int v);
  int TickLength() const { return FTickLength; }
  void SetTickLength(int v);

  double Maximum() const { return FMaximum; }
  // Unless loading: below Minimum raises AxisException "Axis Maximum Value must be >= Minimum".
  void SetMaximum(double v);
  double Minimum() const { return FMinimum; }
  // Unless loading: above Maximum raises AxisException "Axis Minimum Value must be <= Maximum".
  void SetMinimum(double v);
  double Increment() const { return FIncrement; }
  // Below 0 raises AxisException "Axis increment must be >= 0".
  void SetIncrement(double v);

  TChartAxisTitle& Title() { return *FTitle; }
  const TChartAxisTitle& Title() const { return *FTitle; }
  void SetTitle(const TChartAxisTitle& v) { FTitle->Assign(v); }

  const std::string& AxisValuesFormat() const { return FAxisValuesFormat; }
  void SetAxisValuesFormat(const std::string& v);
  const std::string& DateTimeFormat() const { return FDateTimeFormat; }
  void SetDateTimeFormat(const std::string& v);
  bool Inverted() const { return FInverted; }
  void SetInverted(bool v);
  bool Logarithmic() const { return FLogarithmic; }
  // Turning it on: AxisException for a date-time axis, and (after AdjustRange) for a shown
  // range below 0.
  void SetLogarithmic(bool v);
  bool ExactDateTime() const { return FExactDateTime; }
  void SetExactDateTime(bool v);
  bool RoundFirstLabel() const { return FRoundFirstLabel; }
  void SetRoundFirstLabel(bool v);
  bool TickOnLabelsOnly() const { return FTickOnLabelsOnly; }
  void SetTickOnLabelsOnly(bool v);

  // ---- State of the current repaint ---------------------------------------------------------
  double ShownMaximum() const { return FShownMaximum; }
  double ShownMinimum() const { return FShownMinimum; }
  double ShownRange() const { return FShownRange; }
  bool ShowsDateTime() const { return FShowsDateTime; }
  bool IsHorizontal() const { return FIsHorizontal; }
  bool IsOtherSide() const { return FIsOtherSide; }
  int LabelsPos() const { return FLabelsPos; }
  int TitlePos() const { return FTitlePos; }
  int AxisPos() const { return FAxisPos; }
  int AxisPos3D() const { return FAxisPos3D; }

  // ---- Range --------------------------------------------------------------------------------
  // Takes the automatic ends from the chart's AxisRange, then sets the shown range.
  void AdjustRange();
  // Widens the shown range so that the series' margins (pixels) fit.
  void AdjustRangeToMargins(int left, int top, int right, int bottom);
  // Fixes the range to a..b (both ends no longer automatic).
  void SetRange(double a, double b);
  // Whether the first active series bound to the axis has date-time values.
  bool UsesDateTime() const;

  // ---- Pixels -------------------------------------------------------------------------------
  int XPixelOfValue(double v) const;
  int YPixelOfValue(double v) const;
  int PixelOfValue(double v) const { return FIsHorizontal ? XPixelOfValue(v) : YPixelOfValue(v); }
  double ValueAtPixel(int pixel) const;

  // ---- Labels and space -----------------------------------------------------------------------
  // The step between labels for the current plot size and font (at least 0.00001, or one
  // second on a date-time axis).
  double CalcLabelStep();
  // How many labels fit along the plot: its length over the label size (the larger end label,
  // or the line height, by the angle) grown by LabelsSeparation; 1 when the size is 0.
  int LabelRoom();
  std::string LabelText(double v) const;
  TAxisLabelStyle EffectiveLabelStyle() const;
  int LabelsSpaceWidth();
  // Shrinks r (the plot being laid out) by the room for title, labels, ticks and wall.
  void ReserveSpace(TRect& r);
  // Whether a pixel lies on the axis line (within 12 pixels across it, inside the plot span).
  bool IsClicked(int x, int y) const;

  // ---- Drawing (AxisDraw.cpp) -----------------------------------------------------------------
  // Title, labels, ticks, grid and axis line on the chart's DrawCanvas; with calcPosition the
  // axis first takes its position from the plot rectangle.
  void DrawAxis(bool calcPosition);

  // Copies every setting (Logarithmic and DateTimeFormat through their setters).
  void Assign(const TChartFontObject& source) override;

 private:
  bool IsLeftAxis() const { return !FIsHorizontal && !FIsOtherSide; }
  void Changed() const { Repaint(); }
  // Value-to-pixel along the horizontal or vertical span of the plot.
  int CalcPixel(double v, int start, int end, int size, int centre) const;
  // The wall size of this axis (0 unless 3D with walls).
  int WallSize() const;

  // AxisDraw.cpp
  struct TDrawState;
  void DrawDefaultLoop(TDrawState& s);
  bool DrawDecadeLabels(TDrawState& s);
  void DrawCalendarLabels(TDrawState& s);
  void DrawCustomLoop(TDrawState& s);
  void DrawSeriesLoop(TDrawState& s, TChartSeries* series, TAxisLabelStyle style);
  void DrawLabelAt(TDrawState& s, double v);
  void PutLabel(TDrawState& s, bool check, int p, const std::string& text);
  void WriteLabel(const std::string& text, int p);
  void PlaceText(int x, int y, const std::string& text, int angle);
  void DrawTicksAndGrid(TDrawState& s, int p);
  void DrawTick(int p, int o, int length, int wall);
  void DrawGridLine(int p);
  void DrawAxisLine(int wall);

  bool FVisible = true;
  bool FAutomatic = true;
  bool FAutomaticMaximum = true;
  bool FAutomaticMinimum = true;
  bool FLabels = true;
  int FLabelsAngle = 0;
  int FLabelsSeparation = 10;
  int FTitleSize = 0;
  int FLabelsSize = 0;
  bool FLabelsOnAxis = true;
  TAxisLabelStyle FLabelStyle = talAuto;
  TChartTickPen FTicks;
  TChartTickPen FMinorTicks;
  TChartTickPen FTicksInner;
  TChartAxisPen FAxis;
  TChartGridPen FGrid;
  int FTickInnerLength = 0;
  int FMinorTickLength = 2;
  int FMinorTickCount = 3;
  int FTickLength = 4;
  double FMaximum = 0;
  double FMinimum = 0;
  double FIncrement = 0;
  std::unique_ptr<TChartAxisTitle> FTitle;
  std::string FAxisValuesFormat;
  std::string FDateTimeFormat;
  bool FInverted = false;
  bool FLogarithmic = false;
  bool FExactDateTime = true;
  double FShownMaximum = 0;
  double FShownMinimum = 0;
  double FShownRange = 0;
  bool FShowsDateTime = false;
  bool FRoundFirstLabel = true;
  bool FTickOnLabelsOnly = true;
  bool FIsHorizontal = false;
  bool FIsOtherSide = false;
  int FLabelsPos = 0;
  int FTitlePos = 0;
  int FAxisPos = 0;
  int FAxisPos3D = 0;
};

}  // namespace varnel
