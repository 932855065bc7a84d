// TChartTitle: a block of text lines above (Title) or below (Foot) the plot area, with an
// optional frame and fill, which takes the room it needs from the plot rectangle.
#pragma once
#include <string>
#include <vector>

#include "base/Geometry.h"
#include "chart/ChartFontObject.h"
#include "chart/ChartGradient.h"
#include "series/ChartPen.h"

namespace varnel {

enum TAlignment : int { taLeftJustify, taRightJustify, taCenter };

class TChartTitle : public TChartFontObject {
 public:
  explicit TChartTitle(TCustomAxisPanel* chart);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  const std::vector<std::string>& Text() const { return FText; }
  void SetText(const std::vector<std::string>& lines);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  TChartHiddenPen& Frame() { return FFrame; }
  const TChartHiddenPen& Frame() const { return FFrame; }
  void SetFrame(const TChartPen& v) { FFrame.Assign(v); }
  bool AdjustFrame() const { return FAdjustFrame; }
  void SetAdjustFrame(bool v);
  TChartBrush& Brush() { return FBrush; }
  const TChartBrush& Brush() const { return FBrush; }
  void SetBrush(const TBrush& v) { FBrush.Assign(v); }
  // The block's rectangle from the last repaint in which the title was visible.
  const TRect& TitleRect() const { return FTitleRect; }
  // Whether a point lies on the visible title.
  bool Clicked(int x, int y) const { return FVisible && PtInRect(FTitleRect, Point(x, y)); }

  // Draws the block at the top (Title) or bottom (Foot) of the plot and moves that plot edge
  // past it.
  void Draw(bool atTop);

  // A title's font is stored unless it is the default font in blue.
  bool IsFontStored() const override;

  // Copies Text, Alignment, Visible, Frame, AdjustFrame, Brush and the font.
  void Assign(const TChartFontObject& source) override;

 private:
  TAlignment FAlignment = taCenter;
  std::vector<std::string> FText;
  bool FVisible = true;
  TChartHiddenPen FFrame;
  bool FAdjustFrame = true;
  TChartBrush FBrush;
  TRect FTitleRect{};
};

}  // namespace varnel
