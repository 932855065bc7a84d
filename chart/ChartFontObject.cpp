// TChartFontObject: the chart default font with the chart's change handler.
#include "chart/ChartFontObject.h"

#include "chart/AxisPanel.h"

namespace varnel {

TChartFontObject::TChartFontObject(TCustomAxisPanel* chart) : FParentChart(chart) {
  FFont.Assign(DefaultChartFont());
  FFont.OnChange = [this] { Repaint(); };
}

bool TChartFontObject::IsFontStored() const { return !IsDefaultChartFont(FFont); }

void TChartFontObject::Repaint() const {
  if (FParentChart) FParentChart->NotifyChanged();
}

}  // namespace varnel
