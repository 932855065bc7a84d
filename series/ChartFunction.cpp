// TChartFunction's period rule and the average calculation.
#include "series/ChartFunction.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "series/Series.h"

namespace varnel {

void TChartFunction::SetPeriod(int v) {
  if (v < 0) throw Exception(msg::FunctionPeriod);
  if (v == FPeriod) return;
  FPeriod = v;
  if (FSeries) FSeries->ReloadFromSource();
}

void TAverageFunction::AddPoints(TChartSeries& source) {
  TChartSeries* target = ParentSeries();
  if (!target) return;
  const int n = source.Count();
  if (n == 0) return;
  const int period = Period() > 0 ? Period() : n;
  for (int start = 0; start < n; start += period) {
    const int end = std::min(n, start + period);
    double sumX = 0;
    double sumY = 0;
    for (int i = start; i < end; ++i) {
      sumX += source.XValueAt(i);
      sumY += source.YValueAt(i);
    }
    const double count = end - start;
    target->AppendXY(sumX / count, sumY / count, "", clAutoColor);
  }
}

}  // namespace varnel
