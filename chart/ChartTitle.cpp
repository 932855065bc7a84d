// TChartTitle: the title and foot blocks' properties.
#include "chart/ChartTitle.h"

#include "chart/AxisPanel.h"

namespace varnel {

TChartTitle::TChartTitle(TCustomAxisPanel* chart) : TChartFontObject(chart) {
  Font().SetColor(clBlue);
  FFrame.OnChange = [this] { Repaint(); };
  FBrush.OnChange = [this] { Repaint(); };
}

void TChartTitle::SetAlignment(TAlignment v) {
  FAlignment = v;
  Repaint();
}

void TChartTitle::SetText(const std::vector<std::string>& lines) {
  FText = lines;
  Repaint();
}

void TChartTitle::SetVisible(bool v) {
  if (FVisible == v) return;
  FVisible = v;
  Repaint();
}

void TChartTitle::SetAdjustFrame(bool v) {
  if (FAdjustFrame == v) return;
  FAdjustFrame = v;
  Repaint();
}

void TChartTitle::Assign(const TChartFontObject& source) {
  if (const auto* t = dynamic_cast<const TChartTitle*>(&source)) {
    FText = t->FText;
    FAlignment = t->FAlignment;
    FVisible = t->FVisible;
    FFrame.Assign(static_cast<const TChartPen&>(t->FFrame));
    FAdjustFrame = t->FAdjustFrame;
    FBrush.Assign(t->FBrush);
    Repaint();
  }
  TChartFontObject::Assign(source);
}

void TChartTitle::Draw(bool /*atTop*/) {
  // The text block is not drawn yet and takes no room from the plot.
}

}  // namespace varnel
