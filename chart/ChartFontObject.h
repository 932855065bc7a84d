// TChartFontObject: the base of the chart's sub-objects that carry text (titles, legend, axes,
// axis titles): the owning chart (not owned) and an owned font that starts as the chart's
// default font and invalidates the chart when it changes.
#pragma once
#include "platform/canvas/Graphics.h"

namespace varnel {

class TCustomAxisPanel;

class TChartFontObject {
 public:
  explicit TChartFontObject(TCustomAxisPanel* chart);
  virtual ~TChartFontObject() = default;
  TChartFontObject(const TChartFontObject&) = delete;
  TChartFontObject& operator=(const TChartFontObject&) = delete;

  TCustomAxisPanel* ParentChart() const { return FParentChart; }
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  // Copies the given font's values (the change invalidates the chart).
  void SetFont(const TFont& v) { FFont.Assign(v); }
  // Whether the font differs from the chart's default font (and so is stored with the form).
  virtual bool IsFontStored() const;
  // Copies the font.
  virtual void Assign(const TChartFontObject& source) { FFont.Assign(source.FFont); }

 protected:
  // Invalidates the owning chart (when there is one).
  void Repaint() const;

 private:
  TCustomAxisPanel* FParentChart;
  TFont FFont;
};

}  // namespace varnel
