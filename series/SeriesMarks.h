// TSeriesMarks: the point marks of a series (a small text box next to each visible point). This
// holds the marks' settings with their defaults and change rules; the series repaints when one
// changes. Mark texts and mark drawing are built on top of it (TChartSeries::DrawAllMarks is
// the hook the chart calls when Visible is on).
//
//   series.Marks().SetVisible(false);  series.Marks().SetArrowLength(8);
#pragma once
#include <functional>
#include <memory>

#include "base/Color.h"
#include "platform/canvas/Graphics.h"
#include "series/ChartPen.h"

namespace varnel {

class TChartSeries;

enum TSeriesMarksStyle : int {
  smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend, smsPercentTotal,
  smsLabelPercentTotal, smsXValue
};

class TSeriesMarks {
 public:
  // Marks of a series (may be null); their pens and font repaint the series when changed.
  explicit TSeriesMarks(TChartSeries* series);
  TSeriesMarks(const TSeriesMarks&) = delete;
  TSeriesMarks& operator=(const TSeriesMarks&) = delete;

  TChartSeries* ParentSeries() const { return FSeries; }

  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  TSeriesMarksStyle Style() const { return FStyle; }
  void SetStyle(TSeriesMarksStyle v);
  TChartPen& Frame() { return FFrame; }
  const TChartPen& Frame() const { return FFrame; }
  TChartArrowPen& Arrow() { return FArrow; }
  const TChartArrowPen& Arrow() const { return FArrow; }
  bool Clip() const { return FClip; }
  void SetClip(bool v);
  int ArrowLength() const { return FArrowLength; }
  void SetArrowLength(int v);

  // Copies every value except the owning series.
  void Assign(const TSeriesMarks& source);

 private:
  void Changed();

  TChartSeries* FSeries;
  bool FVisible = false;
  TColor FBackColor = clLightYellow;
  bool FTransparent = false;
  TFont FFont;
  TSeriesMarksStyle FStyle = smsLabel;
  TChartPen FFrame;
  TChartArrowPen FArrow;
  bool FClip = false;
  int FArrowLength = 8;
};

}  // namespace varnel
