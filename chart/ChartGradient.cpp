// TChartGradient: the background gradient's properties.
#include "chart/ChartGradient.h"

#include "chart/AxisPanel.h"

namespace varnel {

void TChartGradient::Changed() {
  if (FChart) FChart->Invalidate();
}

void TChartGradient::SetVisible(bool v) {
  if (FVisible == v) return;
  FVisible = v;
  Changed();
}

void TChartGradient::SetDirection(TGradientDirection v) {
  if (FDirection == v) return;
  FDirection = v;
  Changed();
}

void TChartGradient::SetStartColor(TColor v) {
  if (FStartColor == v) return;
  FStartColor = v;
  Changed();
}

void TChartGradient::SetEndColor(TColor v) {
  if (FEndColor == v) return;
  FEndColor = v;
  Changed();
}

void TChartGradient::Assign(const TChartGradient& source) {
  SetVisible(source.FVisible);
  SetDirection(source.FDirection);
  SetStartColor(source.FStartColor);
  SetEndColor(source.FEndColor);
}

void TChartGradient::Draw(TCanvas& /*canvas*/, const TRect& /*r*/) const {
  // The colour bands are not painted yet.
}

}  // namespace varnel
