// TChartSeries: the base of every data series of the chart. It owns the point data (the X and
// Y value lists and any further columns, per-point colours and labels), adds, deletes and
// clears points and tells its chart and its dependent series about each change, reports its
// ranges to the axes, maps its points to pixels through its two axes (with the 3D depth shift),
// works out which points fall inside the visible axis range, and runs the per-point drawing
// loop whose single step (DrawPoint) each series type supplies.
//
//   series.AppendY(37, "", clAutoColor);          // X = Count, drawn in the series colour
//   series.Delete(0);  series.XValues().Renumber();
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Color.h"
#include "base/Controls.h"
#include "base/Geometry.h"
#include "series/ChartPen.h"
#include "series/SeriesMarks.h"
#include "series/ShiftVector.h"
#include "series/ValueList.h"

namespace varnel {

class TCustomAxisPanel;
class TChartAxis;
class TCanvas;
class TChartFunction;

// Which horizontal and which vertical axis of the chart a series uses.
enum THorizAxis : int { aTopAxis = 0, aBottomAxis = 1 };
enum TVertAxis : int { aLeftAxis = 0, aRightAxis = 1 };

// What changed in a series, as told to the series that take their points from it.
enum TDataKind : int { dkClear = 0, dkAdd = 1, dkDelete = 2, dkRefresh = 3 };

// Which changes of a source series a dependent follows point by point (flags, combined with |).
enum TRefreshOption : unsigned { roOnDelete = 1, roOnModify = 2, roOnInsert = 4, roOnClear = 8 };
using TRefreshOptions = unsigned;
constexpr TRefreshOptions roAll = roOnDelete | roOnModify | roOnInsert | roOnClear;

// A uniformly drawn integer 0..k-1 (0 when k <= 0): the random source of FillWithSamples.
using TRandomFunction = std::function<int(int k)>;

class TChartSeries {
 public:
  TChartSeries();
  virtual ~TChartSeries();
  TChartSeries(const TChartSeries&) = delete;
  TChartSeries& operator=(const TChartSeries&) = delete;

  // ---- Identity (what the component base gave the series) --------------------------------
  const std::string& Name() const { return FName; }
  void SetName(const std::string& v) { FName = v; }
  std::intptr_t Tag() const { return FTag; }
  void SetTag(std::intptr_t v) { FTag = v; }

  // ---- Value lists --------------------------------------------------------------------------
  TChartValueList& XValues() { return *FXValues; }
  const TChartValueList& XValues() const { return *FXValues; }
  TChartValueList& YValues() { return *FYValues; }
  const TChartValueList& YValues() const { return *FYValues; }
  // Every value list in creation order: X at 0, Y at 1, further columns from 2.
  int ColumnCount() const { return static_cast<int>(FColumnLists.size()); }
  TChartValueList& ColumnList(int index) { return *FColumnLists.at(static_cast<std::size_t>(index)); }
  const TChartValueList& ColumnList(int index) const { return *FColumnLists.at(static_cast<std::size_t>(index)); }
  // The extra list (position 2 or later) whose name equals the given one ignoring case, else
  // YValues.
  TChartValueList& ValueListByName(const std::string& name);

  int Count() const { return FXValues->Count(); }

  // ---- Adding, deleting and clearing points -------------------------------------------------
  // Adds one point: returns its index, or -1 when OnBeforeAdd vetoed it.
  virtual int AppendXY(double x, double y, const std::string& label, TColor color);
  // AppendXY(Count, value, ...) and AppendXY(value, Count, ...).
  int AppendY(double value, const std::string& label = "", TColor color = clAutoColor);
  int AppendX(double value, const std::string& label = "", TColor color = clAutoColor);
  // AppendY when YIsPrimary, else AppendX.
  virtual int Add(double value, const std::string& label = "", TColor color = clAutoColor);
  // A null point: Add(0, label, clNone).
  virtual int AppendNull(const std::string& label = "");
  // Removes one point; the list-index error outside 0..Count-1, raised before anything changes.
  virtual void Delete(int index);
  // Removes every point, fires OnClearValues, tells the dependents and repaints.
  virtual void Clear();
  // Clear, then n random points (n > 0, else Exception "FillSampleValues NumValues must be > 0").
  virtual void FillWithSamples(int n);
  virtual int SampleCount() const { return 25; }
  // Replaces the random source of FillWithSamples (null restores the default generator).
  void SetRandomSource(TRandomFunction random) { FRandom = std::move(random); }

  // ---- Point data -----------------------------------------------------------------------------
  virtual double XValueAt(int index) const { return FXValues->Value(index); }
  virtual double YValueAt(int index) const { return FYValues->Value(index); }
  // The label text, "" when absent.
  virtual std::string LabelAt(int index) const;
  // The colour a point is drawn in (SeriesColor for an automatic point colour, or the palette
  // entry index mod 16 with ColorEachPoint).
  virtual TColor PointColor(int index) const;
  // The colour stored for a point (clAutoColor, clNone or a colour); SeriesColor past the list.
  TColor StoredPointColor(int index) const;
  virtual double MarkValue(int index) const { return YValueAt(index); }
  virtual double StackValue(int index) const { return MarkValue(index); }
  // The sum of the positive StackValue(index) of the chart's active series of a related class
  // (one class is the other or derives from it) that have more than index points, in list
  // order up to this series (included only with includeSelf); 0 without a chart or for a
  // negative index.
  double StackedSum(int index, bool includeSelf) const;
  // Whether a series is of this series' class or of a class derived from it (each series class
  // answers for itself).
  virtual bool IsKindOfThis(const TChartSeries& /*other*/) const { return true; }
  // A number as the legend and the marks show it: FormatFloat(ValueFormat, value).
  std::string ValueText(double value) const;
  // The share of point index in PrimaryValueList's AbsSum, in PercentFormat (100 when the sum
  // is 0); ofTotal appends " of " and the total.
  std::string PercentTextOf(int index, bool ofTotal);
  // The mark text of a point by Marks().Style(), after OnGetMarkText.
  std::string MarkTextOf(int index);

  virtual double HighestX() const { return FXValues->Highest(); }
  virtual double LowestX() const { return FXValues->Lowest(); }
  virtual double HighestY() const { return FYValues->Highest(); }
  virtual double LowestY() const { return FYValues->Lowest(); }

  virtual TChartValueList& PrimaryValueList() { return *FYValues; }
  bool YIsPrimary() const;
  virtual bool DrawsForward() const { return true; }
  virtual bool HasAxes() const { return true; }

  // ---- Chart, axes and pixels ---------------------------------------------------------------
  TCustomAxisPanel* ParentChart() const { return FParentChart; }
  // Leaves the old chart (DetachSeries) and joins the new one (AttachSeries).
  virtual void SetParentChart(TCustomAxisPanel* chart);
  THorizAxis HorizAxis() const { return FHorizAxis; }
  void SetHorizAxis(THorizAxis v);
  TVertAxis VertAxis() const { return FVertAxis; }
  void SetVertAxis(TVertAxis v);
  // The chart's axis this series uses, or null without a chart.
  TChartAxis* GetHorizAxis() const;
  TChartAxis* GetVertAxis() const;
  // Whether the series draws along the axis (its horizontal axis, or its vertical axis).
  virtual bool BoundToAxis(const TChartAxis* axis) const;

  // Axis mapping plus the depth shift (DepthLevel x LevelDX right, x LevelDY up) in 3D with
  // SeriesInDepth. 0 without a chart.
  int XPixelOfValue(double x) const;
  int YPixelOfValue(double y) const;
  int PixelOfValue(double v) const;
  virtual int XPixelOf(int index) const { return XPixelOfValue(XValueAt(index)); }
  virtual int YPixelOf(int index) const { return YPixelOfValue(YValueAt(index)); }

  // ---- One repaint ----------------------------------------------------------------------------
  // Sets FirstShownIndex and LastShownIndex (-1 when nothing is visible).
  void FindVisibleRange();
  int FirstShownIndex() const { return FFirstShownIndex; }
  int LastShownIndex() const { return FLastShownIndex; }
  void SetShownRange(int first, int last) {
    FFirstShownIndex = first;
    FLastShownIndex = last;
  }
  virtual void RequestDepthLevel();
  int DepthLevel() const { return FDepthLevel; }
  void SetDepthLevel(int v) { FDepthLevel = v; }
  virtual void BeforeDrawPoints();
  virtual void DrawAllPoints();
  virtual void DrawPoint(int index);
  virtual void AfterDrawPoints();
  // Marks of the visible points (only called when Marks().Visible()); MarksDraw.cpp.
  void DrawAllMarks();
  // One mark: the arrow from arrowStart to arrowEnd, the box (frame and fill) and the text.
  virtual void DrawOneMark(int index, const std::string& text, TPoint arrowStart, TPoint arrowEnd, const TRect& box);
  // The widest mark text over all points, in the DrawCanvas font (0 without a chart).
  int WidestMark();
  virtual void HorizontalMarginsWanted(int& left, int& right) const {
    left = 0;
    right = 0;
  }
  virtual void VerticalMarginsWanted(int& top, int& bottom) const {
    top = 0;
    bottom = 0;
  }
  // Index of the point under a pixel, -1 for none (the base has no shape to hit).
  virtual int PointAtPixel(int x, int y) const;

  // ---- Mouse (the chart calls these for the series under the mouse) ----------------------------
  virtual void SeriesMouseMove(TShiftState /*shift*/, int /*x*/, int /*y*/) {}
  // A press on point valueIndex: OnDblClick when the shift state carries ssDouble and it is
  // assigned, else OnClick when assigned. True when a handler took the click.
  virtual bool SeriesClick(int valueIndex, TMouseButton button, TShiftState shift, int x, int y);
  virtual void SeriesMouseUp(TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/) {}

  // ---- Legend ---------------------------------------------------------------------------------
  // The colour box of legend item `index` (-1 = the series as a whole) in rect.
  virtual void DrawLegendSymbol(int index, const TRect& rect);
  virtual void DrawSymbolShape(int index, const TRect& rect);
  virtual void PrepareSymbolCanvas(int index, TColor& backColor, TBrushStyle& brushStyle);

  // ---- Properties -----------------------------------------------------------------------------
  TColor SeriesColor() const { return FSeriesColor; }
  virtual void SetSeriesColor(TColor v);
  bool ColorEachPoint() const { return FColorEachPoint; }
  void SetColorEachPoint(bool v);
  bool Active() const { return FActive; }
  virtual void SetActive(bool v);
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& v);
  const std::string& ValueFormat() const { return FValueFormat; }
  void SetValueFormat(const std::string& v);
  const std::string& PercentFormat() const { return FPercentFormat; }
  void SetPercentFormat(const std::string& v);
  bool ShowInLegend() const { return FShowInLegend; }
  void SetShowInLegend(bool v);
  int Cursor() const { return FCursor; }
  void SetCursor(int v) { FCursor = v; }
  TRefreshOptions RefreshOptions() const { return FRefreshOptions; }
  void SetRefreshOptions(TRefreshOptions v) { FRefreshOptions = v; }
  const std::string& XLabelsSource() const { return FXLabelsSource; }
  void SetXLabelsSource(const std::string& v);
  const std::string& ColorSource() const { return FColorSource; }
  void SetColorSource(const std::string& v);
  unsigned StyleFlags() const { return FStyleFlags; }
  void SetStyleFlags(unsigned v) { FStyleFlags = v & 0x3Fu; }
  const std::string& Identifier() const { return FIdentifier; }
  void SetIdentifier(const std::string& v) { FIdentifier = v; }
  bool ClipToVisibleRange() const { return FClipToVisibleRange; }
  void SetClipToVisibleRange(bool v) { FClipToVisibleRange = v; }
  bool IncludeEdgePoint() const { return FIncludeEdgePoint; }
  void SetIncludeEdgePoint(bool v) { FIncludeEdgePoint = v; }
  bool DrawsSinglePoint() const { return FDrawsSinglePoint; }
  void SetDrawsSinglePoint(bool v) { FDrawsSinglePoint = v; }

  TSeriesMarks& Marks() { return *FMarks; }
  const TSeriesMarks& Marks() const { return *FMarks; }
  void SetMarks(const TSeriesMarks& v) { FMarks->Assign(v); }

  // Copies the settings, the value-list settings and the points (or the data sources) of
  // another series, and takes over its calculation when this series has none. Sources that
  // would make a circle raise ChartException before anything changes.
  virtual void Assign(TChartSeries& source);

  // ---- Repaint and dependents -----------------------------------------------------------------
  // Invalidates the parent chart, when there is one.
  void Repaint();
  // The change handler of the series' pens and mark font.
  virtual void PenChanged() { Repaint(); }
  // A new visible black solid pen of width 1 whose change handler is PenChanged.
  std::unique_ptr<TChartPen> NewChartPen();

  // ---- Data sources (DataSource.cpp) -----------------------------------------------------------
  // Series that take their points from this one (not owned), and this series' source series.
  const std::vector<TChartSeries*>& Dependents() const { return FDependents; }
  const std::vector<TChartSeries*>& DataSources() const { return FDataSources; }
  // Tells every dependent about a change: dkClear clears it, dkAdd appends point `index` of this
  // series, dkDelete deletes its point `index`, dkRefresh reloads all points.
  void NotifyDependents(TDataKind kind, int index);
  // Appends a source series (once) and lists this series among its dependents. A source that
  // is this series or takes its points from it, directly or through its sources, raises
  // ChartException "Circular Series dependences are not allowed" and nothing changes.
  void LinkSource(TChartSeries* source);
  // Drops a source series, then reloads.
  void UnlinkSource(TChartSeries* source);
  // Reloads all points from the first source series, when there is one.
  void ReloadFromSource();
  virtual bool CanAddFrom(const TChartSeries* source) const { return source != this; }
  virtual bool AcceptsSource(const TChartSeries* /*source*/) const { return true; }
  virtual void SourcePointDeleted(TChartSeries* source, int index);
  virtual int AppendFromSource(TChartSeries* source, int index);
  virtual void AppendPointFromSource(TChartSeries* source, int index);
  virtual void CopyPointsFrom(TChartSeries* source);
  // The first source series, or null.
  TChartSeries* DataSource() const { return FDataSources.empty() ? nullptr : FDataSources.front(); }
  // Null: drop every source and clear. Otherwise, after the checks (a chart to validate against,
  // an acceptable source other than this series, no circular dependence), the series takes its
  // points from the source alone (while the chart loads, the source is added to the others).
  void SetDataSource(TChartSeries* source);
  // Whether this series takes points from `other`, directly or through its sources.
  bool DependsOn(const TChartSeries* other) const;
  // The calculation that derives the points from the sources (owned; null for a plain copy).
  TChartFunction* SeriesFunction() const { return FSeriesFunction.get(); }
  // Replaces the calculation (null removes it) and reloads.
  void AttachCalculation(std::unique_ptr<TChartFunction> calculation);

  // ---- Events -------------------------------------------------------------------------------
  std::function<bool(TChartSeries* sender)> OnBeforeAdd;
  std::function<void(TChartSeries* sender, int valueIndex)> OnAfterAdd;
  std::function<void(TChartSeries* sender)> OnClearValues;
  std::function<void(TChartSeries* sender, int valueIndex, std::string& markText)> OnGetMarkText;
  std::function<void(TChartSeries* sender)> BeforeDrawValues;
  std::function<void(TChartSeries* sender)> AfterDrawValues;
  using TSeriesClick = std::function<void(TChartSeries* sender, int valueIndex, TMouseButton button,
                                          TShiftState shift, int x, int y)>;
  TSeriesClick OnClick;
  TSeriesClick OnDblClick;

 protected:
  // After an add: OnAfterAdd, the dependents, and a repaint when Active.
  virtual void NotifyNewValue(TChartSeries* sender, int index);
  // Empties every value list, the colours and the labels.
  virtual void EmptyLists();
  // Inserts each extra list's PendingValue at the index (lists from position 2).
  virtual void AddExtraValues(int index);
  // Creates a further value list at the end of the columns (series types with more columns).
  TChartValueList* AddValueList(const std::string& name);
  // The chart-side mark texts: smsLegend (the legend's text of the point) and smsXValue (the
  // horizontal axis' label of its X value, or the value text without such an axis).
  std::string MarkTextOfChart(int index) const;
  // Extra hook of other series types; the base clears both fields.
  virtual void ExtraHook(int& a, int& b) {
    a = 0;
    b = 0;
  }

 private:
  // The chart's series list keeps the parent-chart link in step with its own membership.
  friend class TCustomAxisPanel;

  int RandomInt(int k);
  void DetachSources();
  // ChartException "Circular Series dependences are not allowed" when `source` is this series
  // or takes its points from it.
  void CheckNotCircular(const TChartSeries* source) const;

  std::string FName;
  std::intptr_t FTag = 0;
  bool FActive = true;
  THorizAxis FHorizAxis = aBottomAxis;
  TVertAxis FVertAxis = aLeftAxis;
  std::vector<std::unique_ptr<TChartValueList>> FColumnLists;
  TChartValueList* FXValues = nullptr;
  TChartValueList* FYValues = nullptr;
  // Per-point colours and labels take no room while every point has the automatic colour and
  // no label, as the lines of the scrolling graph have.
  TDefaultedShiftVector<TColor> FPointColors{clAutoColor};
  TDefaultedShiftVector<std::string> FPointLabels;  // an empty label is an absent one
  TColor FSeriesColor = clAutoColor;
  bool FShowInLegend = true;
  int FCursor = 0;
  std::unique_ptr<TSeriesMarks> FMarks;
  std::string FValueFormat;
  std::string FPercentFormat;
  std::vector<TChartSeries*> FDataSources;
  std::vector<TChartSeries*> FDependents;
  std::unique_ptr<TChartFunction> FSeriesFunction;
  TRefreshOptions FRefreshOptions = roAll;
  int FFirstShownIndex = -1;
  int FLastShownIndex = -1;
  bool FDrawsSinglePoint = true;
  bool FClipToVisibleRange = true;
  std::string FIdentifier;
  unsigned FStyleFlags = 0;
  bool FIncludeEdgePoint = false;
  bool FColorEachPoint = false;
  std::string FTitle;
  std::string FXLabelsSource;
  std::string FColorSource;
  int FDepthLevel = 0;
  TCustomAxisPanel* FParentChart = nullptr;
  TRandomFunction FRandom;
  bool FNotifying = false;  // inside NotifyDependents
};

}  // namespace varnel
