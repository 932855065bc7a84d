// The chart pens: Visible switch, Assign between chart pens, and the variants' defaults.
#include "series/ChartPen.h"

#include <utility>

namespace varnel {

void TChartPen::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  Changed();
}

void TChartPen::Assign(const TChartPen& source) {
  if (&source == this) return;
  // Copy everything with the handler held back, so that one Assign notifies at most once.
  auto handler = std::exchange(OnChange, nullptr);
  bool changed = false;
  OnChange = [&changed] { changed = true; };
  TPen::Assign(source);
  if (FVisible != source.FVisible) {
    FVisible = source.FVisible;
    changed = true;
  }
  OnChange = std::move(handler);
  if (changed) Changed();
}

// The variants set their defaults before any owner has wired OnChange.
TChartHiddenPen::TChartHiddenPen() { SetVisible(false); }
TChartArrowPen::TChartArrowPen() { SetColor(clWhite); }
TChartAxisPen::TChartAxisPen() { SetWidth(2); }
TChartTickPen::TChartTickPen() { SetColor(clGray); }
TChartGridPen::TChartGridPen() {
  SetColor(clGray);
  SetStyle(psDot);
}

}  // namespace varnel
