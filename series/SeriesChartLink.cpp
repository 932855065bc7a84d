// The chart and axis services of SeriesChartLink.h.
// STAND-IN until the chart's headers exist: a series without a real chart behaves as one that
// has no chart (no invalidation, no axes, no depth, no canvas).
#include "series/SeriesChartLink.h"

namespace varnel::serieslink {

void Invalidate(TCustomAxisPanel*) {}
void AttachSeries(TCustomAxisPanel*, TChartSeries*) {}
void DetachSeries(TCustomAxisPanel*, TChartSeries*) {}
TChartAxis* Axis(TCustomAxisPanel*, TAxisSlot) { return nullptr; }

int XPixelOfValue(const TChartAxis*, double) { return 0; }
int YPixelOfValue(const TChartAxis*, double) { return 0; }
double ValueAtPixel(const TChartAxis*, int) { return 0.0; }
bool Inverted(const TChartAxis*) { return false; }
bool IsHorizontal(const TChartAxis*) { return false; }

bool View3D(const TCustomAxisPanel*) { return false; }
bool SeriesInDepth(const TCustomAxisPanel*) { return false; }
int LevelDX(const TCustomAxisPanel*) { return 0; }
int LevelDY(const TCustomAxisPanel*) { return 0; }
int MaxDepthLevel(const TCustomAxisPanel*) { return 0; }
void SetMaxDepthLevel(TCustomAxisPanel*, int) {}
TRect PlotRect(const TCustomAxisPanel*) { return TRect{}; }
TCanvas* DrawCanvas(TCustomAxisPanel*) { return nullptr; }

TColor ChartColor(const TCustomAxisPanel*) { return clBtnFace; }
TColor LegendColor(const TCustomAxisPanel*) { return clWhite; }
void SetPatternBrush(TCustomAxisPanel*, TColor, TColor, TBrushStyle) {}

bool HasSeriesWithPoints(const TCustomAxisPanel*) { return false; }
double AxisRange(TCustomAxisPanel*, const TChartAxis*, bool, bool) { return 0.0; }

TColor PaletteColor(int index) {
  static constexpr TColor kPalette[16] = {0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080,
                                          0xFF00FF, 0x808000, 0x800000, 0x000080, 0x00FF00, 0x008080,
                                          0x800080, 0xC0C0C0, 0xFFFF00, 0x000000};
  return kPalette[((index % 16) + 16) % 16];
}

}  // namespace varnel::serieslink
