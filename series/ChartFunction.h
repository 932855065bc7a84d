// TChartFunction: a calculation that derives a series' points from its source series instead of
// copying them, and TAverageFunction, the mean of groups of Period source points. A series owns
// at most one calculation (TChartSeries::AttachCalculation); the series reloads through it
// whenever its source is refreshed or the Period changes.
//
//   auto avg = std::make_unique<TAverageFunction>();  avg->SetPeriod(5);
//   smooth.AttachCalculation(std::move(avg));  smooth.SetDataSource(&raw);
#pragma once

namespace varnel {

class TChartSeries;

class TChartFunction {
 public:
  TChartFunction() = default;
  virtual ~TChartFunction() = default;
  TChartFunction(const TChartFunction&) = delete;
  TChartFunction& operator=(const TChartFunction&) = delete;

  // The number of source points one computed point stands for; 0 means all of them. Below 0
  // raises Exception "Function Period should be >= 0" and keeps the old value; a changed period
  // makes the series reload from its sources.
  int Period() const { return FPeriod; }
  void SetPeriod(int v);

  // The series the computed points go to (set by AttachCalculation).
  TChartSeries* ParentSeries() const { return FSeries; }
  void SetParentSeries(TChartSeries* series) { FSeries = series; }

  // Appends the points computed from a source series to ParentSeries (which the caller has
  // cleared).
  virtual void AddPoints(TChartSeries& source) = 0;

 private:
  int FPeriod = 0;
  TChartSeries* FSeries = nullptr;
};

// The mean of each run of Period consecutive source points (a shorter last run counts too), one
// point per run at the mean X of the run; with Period 0 one point for the whole source. X and Y
// are taken as the source shows them (with its multipliers).
class TAverageFunction : public TChartFunction {
 public:
  void AddPoints(TChartSeries& source) override;
};

}  // namespace varnel
