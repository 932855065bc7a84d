// TFastLineSeries: the series of the scrolling graph. It joins its visible points, in X order,
// with one polyline drawn by move-to and line-to in a single pen: no markers, no shading, no
// per-point colours, and no segment whose end falls on the pixel where the previous one ended.
// The line colour is always SeriesColor; LinePen gives width, style and mode and its colour is
// kept equal to SeriesColor.
//
//   TFastLineSeries s;  s.SetSeriesColor(clMaroon);  s.LinePen().SetWidth(2);
//   s.SetParentChart(&chart);  s.AppendY(37);
#pragma once
#include <array>
#include <memory>
#include <span>

#include "series/ChartPen.h"
#include "series/Series.h"
#include "series/SeriesChartLink.h"

namespace varnel {

class TFastLineSeries final : public TChartSeries {
 public:
  TFastLineSeries();
  ~TFastLineSeries() override;

  TChartPen& LinePen() { return *FLinePen; }
  const TChartPen& LinePen() const { return *FLinePen; }
  // Copies the pen (colour, width, style, mode, Visible), then SeriesColor := its colour.
  void SetLinePen(const TChartPen& pen);

  // Stores and repaints when changed, then LinePen.Color := the colour.
  void SetSeriesColor(TColor v) override;

  // PrepareLinePen, then the core's loop over the visible range.
  void DrawAllPoints() override;
  // One step of the polyline.
  void DrawPoint(int index) override;
  // The canvas pen := LinePen (colour, width, style, mode), then its colour := SeriesColor.
  void PrepareLinePen();
  // The index of the point at the pixel, or of the segment (its first point) through it; -1.
  int PointAtPixel(int x, int y) const override;
  bool IsKindOfThis(const TChartSeries& other) const override {
    return dynamic_cast<const TFastLineSeries*>(&other) != nullptr;
  }
  // A horizontal line in the line pen across the middle of the legend box.
  void DrawSymbolShape(int index, const TRect& rect) override;

  // Copies the line pen of another fast line series, then the core's settings and points.
  void Assign(TChartSeries& source) override;

 private:
  void LinePenChanged();
  // What one drawing pass needs, looked up once: the canvas, the two axes and the depth shift.
  struct TPass {
    TCanvas* Canvas = nullptr;
    const TChartAxis* HorizAxis = nullptr;
    const TChartAxis* VertAxis = nullptr;
    int ShiftX = 0;
    int ShiftY = 0;
    // The values and the axes' linear mappings, so a point costs no lookups.
    int Count = 0;
    const double* XRaw = nullptr;
    const double* YRaw = nullptr;
    const TChartValueList* YList = nullptr;
    double XOffset = 0, YOffset = 0;  // the lists' slot offsets
    double XMultiplier = 1;
    double YMultiplier = 1;
    bool XNumbered = false;  // the X slots are 0, 1, 2, ... (a numbered list)
    bool LinearX = false;
    bool LinearY = false;
    serieslink::TLinearMap XMap;
    serieslink::TLinearMap YMap;
    double XInvRange = 0;
    double YInvRange = 0;
  };
  bool BeginPass(TPass& pass) const;
  // XPixelOf(i) and YPixelOf(i) through the pass's axes (the class is final and does not
  // change how values are read, so these equal the virtual ones).
  int PassX(const TPass& pass, int index) const;
  int PassY(const TPass& pass, int index) const;
  void Step(int index, bool standalone);
  // The points index .. index + n - 1 of a pass (n at most a block), each mapped and queued.
  void QueueBlock(int index, int n);
  // The same for a pen that merges column runs (see TCanvas::PolylineToMergesColumns) and
  // X values that do not fall: each run of points in one pixel column is found without mapping
  // every X and queued through QueueRun. False, with nothing queued, where mapping every point
  // costs less (few points a column) or the X values are not in order.
  bool QueueColumns(int index, int n);
  // The points first .. last, all in pixel column x: their first point, their two extremes and
  // their last point stand for them, ordered so that the pixels painted stay the same.
  void QueueRun(int first, int last, int x);
  // Queues the pixel point unless it repeats the last one.
  void Queue(int x, int y);
  // Hands the queued line-to points of a pass to the canvas in one call.
  void FlushQueue();
  // Room for n more points in the queue: the shared queue grows, a full one is handed over.
  void MakeRoom(int n);

  std::unique_ptr<TChartPen> FLinePen;
  int FLastX = 0;
  int FLastY = 0;
  TPass FPass;           // valid during DrawAllPoints
  bool FInPass = false;
  // Line-to points of the running pass not yet given to the canvas. A pass maps 256 points at
  // a time, or searches 4,096 for runs down one column, and hands them to the canvas in batches
  // of up to 16,384 points from a queue its thread shares (a line of a few points a pixel column
  // reaches the canvas in one call even across a wide plot, and the canvas paints it in one
  // sweep), or of 512 from its own while another pass on the thread holds the shared one.
  std::array<TPoint, 512> FOwnQueue{};
  std::span<TPoint> FQueue{FOwnQueue};
  int FQueued = 0;
};

// Whether pixel p lies on the segment from a to b: within the rounding band of the line
// through a and b, and not beyond either end in a coordinate in which a and b differ.
bool PixelOnSegment(TPoint p, TPoint a, TPoint b);

}  // namespace varnel
