// TChartSeriesList: the chart's series in drawing order, with the questions the chart, its axes
// and its legend ask about them (active series, series bound to an axis, largest point count),
// and ChartPalette, the 16 default series colours. The chart-wide services built on the list
// (AttachSeries, PickFreeColor, AxisRange, paging, legend texts) are TCustomAxisPanel's and are
// implemented in SeriesList.cpp.
#pragma once
#include <vector>

#include "base/Color.h"

namespace varnel {

class TChartSeries;
class TChartAxis;
class TCustomAxisPanel;

// The default series colours, entry n mod 16.
inline constexpr TColor ChartPalette[16] = {
    0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080, 0xFF00FF, 0x808000,
    0x800000, 0x000080, 0x00FF00, 0x008080, 0x800080, 0xC0C0C0, 0xFFFF00, 0x000000};
constexpr int ChartPaletteCount = 16;

class TChartSeriesList {
 public:
  explicit TChartSeriesList(TCustomAxisPanel* chart) : FChart(chart) {}
  TChartSeriesList(const TChartSeriesList&) = delete;
  TChartSeriesList& operator=(const TChartSeriesList&) = delete;

  TCustomAxisPanel* Chart() const { return FChart; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // The series at an index (null outside the list).
  TChartSeries* Series(int index) const;
  TChartSeries* operator[](int index) const { return Series(index); }
  int IndexOf(const TChartSeries* series) const;
  bool Contains(const TChartSeries* series) const { return IndexOf(series) >= 0; }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

  // The number of series whose Active is true.
  int ActiveCount() const;
  TChartSeries* FirstActive() const;
  // The first active series whose horizontal or vertical axis is the given axis.
  TChartSeries* FirstActiveBoundTo(const TChartAxis* axis) const;
  // Largest point count over the active series, 0 when none is active.
  int MaxPointCount() const;

  // List changes (the chart's AttachSeries and DetachSeries use these).
  void Append(TChartSeries* series);
  void Remove(TChartSeries* series);

 private:
  TCustomAxisPanel* FChart;
  std::vector<TChartSeries*> FItems;
};

}  // namespace varnel
