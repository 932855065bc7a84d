// The gauge's label step choice and label text.
#include "gauge/TickSteps.h"

#include <algorithm>
#include <cmath>

#include "base/Text.h"

namespace varnel {

TTickSteps CalcTickSteps(int n, double maxValue, double minValue) {
  TTickSteps r;
  r.First = minValue;
  const double range = std::fabs(maxValue - minValue);
  if (maxValue == minValue || !std::isfinite(range)) return r;
  const double sign = maxValue > minValue ? 1.0 : -1.0;
  const double e = std::log(range / std::max(n, 1)) / std::log(10.0);
  const double k = std::floor(e);  // Int(e), one lower when e is negative and not whole
  const double f = e - k;
  double mantissa;
  if (f < 0.30103) {
    mantissa = 1.0;
    r.NSub = 5;
  } else if (f < 0.69897) {
    mantissa = 2.0;
    r.NSub = 4;
  } else {
    mantissa = 5.0;
    r.NSub = 5;
  }
  const double step = sign * std::exp(std::log(10.0) * (k + std::log10(mantissa)));
  if (step == 0.0 || !std::isfinite(step)) return TTickSteps{minValue, 0.0, 1};
  r.Step = step;
  r.First = (std::trunc(minValue / step) - 1.0) * step;
  // Normally one or two additions; the bound keeps a step below the resolution of minValue
  // (a tiny range far from zero) from looping for ever.
  for (int i = 0; i < 8 && (minValue - r.First) * sign > 0.001 * std::fabs(step); ++i) r.First += step;
  return r;
}

std::string FormatTickLabel(double v, int decimals) {
  decimals = std::clamp(decimals, 0, 18);
  std::string pattern = "0";
  if (decimals > 0) {
    pattern.push_back('.');
    pattern.append(static_cast<std::size_t>(decimals), '0');
  }
  return FormatFloat(pattern, v);
}

}  // namespace varnel
