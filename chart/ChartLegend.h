// TCustomChartLegend and TChartLegend: the legend of the chart, the box of entries (one per
// series, per point or per series' last point) drawn beside, above or below the plot area in
// the titles-and-legend step of a repaint. The chart owns one TChartLegend.
#pragma once
#include <string>
#include <vector>

#include "base/Color.h"
#include "base/Geometry.h"
#include "chart/ChartFontObject.h"
#include "series/ChartPen.h"

namespace varnel {

class TChartSeries;

enum TLegendStyle : int { lsAuto, lsSeries, lsValues, lsLastValues };
enum TLegendAlignment : int { laLeft, laRight, laTop, laBottom };
enum TLegendTextStyle : int { ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue };

class TCustomChartLegend : public TChartFontObject {
 public:
  explicit TCustomChartLegend(TCustomAxisPanel* chart);

  TLegendAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TLegendAlignment v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  int ColorWidth() const { return FColorWidth; }
  // 0..100, else LegendException "Legend Color Width must be between 0 and 100 %".
  void SetColorWidth(int v);
  int FirstValue() const { return FFirstValue; }
  // >= 0, else LegendException "First Legend Value must be > 0".
  void SetFirstValue(int v);
  TChartPen& Frame() { return FFrame; }
  const TChartPen& Frame() const { return FFrame; }
  void SetFrame(const TChartPen& v) { FFrame.Assign(v); }
  int HorizMargin() const { return FHorizMargin; }
  void SetHorizMargin(int v);
  bool Inverted() const { return FInverted; }
  void SetInverted(bool v);
  TLegendStyle LegendStyle() const { return FLegendStyle; }
  // Stores, resolves ShownStyle and invalidates.
  void SetLegendStyle(TLegendStyle v);
  bool ResizeChart() const { return FResizeChart; }
  void SetResizeChart(bool v);
  TLegendTextStyle TextStyle() const { return FTextStyle; }
  void SetTextStyle(TLegendTextStyle v);
  int TopPos() const { return FTopPos; }
  // 0..100, else LegendException "Top Legend Position must be between 0 and 100 %".
  void SetTopPos(int v);
  int VertMargin() const { return FVertMargin; }
  void SetVertMargin(int v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);

  // The style in effect: LegendStyle with lsAuto resolved (lsSeries with more than one active
  // series, else lsValues).
  TLegendStyle ShownStyle() const { return FShownStyle; }
  void ResolveShownStyle();
  const TRect& LegendBox() const { return FLegendBox; }
  int SwatchWidth() const { return FSwatchWidth; }

  // The legend's own text of entry i (before the chart's OnGetLegendText).
  std::string EntryText(int index) const;
  // The text of a point as the legend shows it, by TextStyle ("" for index -1).
  virtual std::string ValueText(const TChartSeries& series, int index) const;
  // Number of entries for ShownStyle, minus FirstValue, never below 0.
  int CountItems() const;
  // Widest entry text among FirstValue .. FirstValue + n - 1 (n = -1: all entries).
  int WidestItemText(int n) const;
  // The chart's text of entry i (ItemText) and its width in the selected font: during a draw
  // each is made once and kept to the draw's end (its layout asks for them up to three times).
  const std::string& DrawnText(int index) const;
  int DrawnWidth(int index) const;
  virtual int ItemsThatFit(int start, int step) const;
  TRect SwatchRect(int x, int top, int bottom) const {
    return Rect(x - FSwatchWidth, top + 2 * FEntryPad, x, bottom - 2 * FEntryPad);
  }
  // Draws the legend and moves the plot edge on its side.
  virtual void Draw() = 0;

  // Copies the settings and the frame (not shadow or dividing lines), then the font.
  void Assign(const TChartFontObject& source) override;

 protected:
  TRect FLegendBox{};
  int FSwatchWidth = 0;
  // The entries' padding and the gap beside the swatch, in the screen's pixels (1 and 4 at 96).
  int FEntryPad = 1;
  int FSwatchGap = 4;
  TLegendStyle FShownStyle = lsValues;
  // Set for the time of a draw: entry texts and widths are then kept in FDrawn.
  class TDrawScope {
   public:
    explicit TDrawScope(const TCustomChartLegend& l) : FLegend(l) {
      FLegend.FDrawn.clear();
      FLegend.FDrawing = true;
    }
    ~TDrawScope() {
      FLegend.FDrawing = false;
      FLegend.FDrawn.clear();
    }
    TDrawScope(const TDrawScope&) = delete;
    TDrawScope& operator=(const TDrawScope&) = delete;

   private:
    const TCustomChartLegend& FLegend;
  };

 private:
  struct TDrawnEntry {
    bool HasText = false;
    std::string Text;
    int Width = -1;  // not yet measured
  };
  TDrawnEntry& Drawn(int index) const;
  mutable std::vector<TDrawnEntry> FDrawn;  // by index - FirstValue, during a draw
  mutable std::string FUndrawn;             // the text asked for outside a draw
  mutable bool FDrawing = false;

  TLegendAlignment FAlignment = laRight;
  TColor FColor = clWhite;
  int FColorWidth = 12;
  int FFirstValue = 0;
  TChartPen FFrame;
  int FHorizMargin = 0;
  bool FInverted = false;
  TLegendStyle FLegendStyle = lsAuto;
  bool FResizeChart = true;
  TLegendTextStyle FTextStyle = ltsLeftValue;
  int FTopPos = 10;
  int FVertMargin = 0;
  bool FVisible = true;
};

class TChartLegend : public TCustomChartLegend {
 public:
  explicit TChartLegend(TCustomAxisPanel* chart);

  TChartHiddenPen& DividingLines() { return FDividingLines; }
  const TChartHiddenPen& DividingLines() const { return FDividingLines; }
  void SetDividingLines(const TChartPen& v) { FDividingLines.Assign(v); }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor v);
  int ShadowSize() const { return FShadowSize; }
  void SetShadowSize(int v);

  // Draws the legend (when it has entries) and moves the plot edge on its side: the box, its
  // shadow, one entry per line (left, right) or per column (top, bottom), and the margin.
  void Draw() override;

 private:
  // One entry: its text, its swatch and the dividing line before it.
  void DrawLegendEntry(int index, int position);
  // The swatch pen: solid, width 1, black (white on a black legend).
  void SetSwatchPen();

  // Layout of the draw in progress.
  int FEntryHeight = 0;
  int FTextWidth = 0;
  int FSwatchLeft = 0;  // xs: left edge of the swatches
  int FTextLeft = 0;    // xt: left edge of the texts
  int FEntryTop = 0;    // top of the entries: the box's top before OnGetLegendRect
  TChartHiddenPen FDividingLines;
  TColor FShadowColor = clBlack;
  int FShadowSize = 3;
};

}  // namespace varnel
