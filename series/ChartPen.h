// The chart pens: the canvas pen (colour, width, style, mode, OnChange) plus a Visible switch,
// and the small family of variants that differ only in their defaults. Every line the chart
// draws (series lines, axis lines, ticks, grid, frames, walls, mark arrows, legend dividers) is
// described by one of these. The owner wires OnChange to its own repaint.
//
//   TChartGridPen grid;  grid.OnChange = [this] { NotifyChanged(); };
//   if (grid.Visible()) { canvas.Pen().Assign(grid); ... }   // Visible is not carried over
#pragma once
#include "platform/canvas/Graphics.h"

namespace varnel {

class TChartPen : public TPen {
 public:
  TChartPen() = default;
  // Pens are property objects: they are copied with Assign, never by value (a copy would also
  // take over the owner's change handler).
  TChartPen(const TChartPen&) = delete;
  TChartPen& operator=(const TChartPen&) = delete;
  virtual ~TChartPen() = default;

  bool Visible() const { return FVisible; }
  // Fires OnChange only when the value changes.
  void SetVisible(bool v);

  // Copies Visible, colour, width, style and mode; fires OnChange once when anything changed.
  void Assign(const TChartPen& source);
  // A plain canvas pen: copies colour, width, style and mode and leaves Visible as it is.
  void Assign(const TPen& source) { TPen::Assign(source); }

 private:
  bool FVisible = true;
};

// Hidden by default: chart title and foot frames, legend dividing lines.
class TChartHiddenPen : public TChartPen {
 public:
  TChartHiddenPen();
};

// White by default: the line from a point to its mark.
class TChartArrowPen : public TChartPen {
 public:
  TChartArrowPen();
};

// Two pixels wide by default: the axis line.
class TChartAxisPen : public TChartPen {
 public:
  TChartAxisPen();
};

// Gray by default: axis ticks, minor ticks and inner ticks.
class TChartTickPen : public TChartPen {
 public:
  TChartTickPen();
};

// Gray and dotted by default: axis grid lines.
class TChartGridPen : public TChartPen {
 public:
  TChartGridPen();
};

}  // namespace varnel
