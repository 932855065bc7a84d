// Parsing the "cpu" line of /proc/stat and the load between two snapshots.
#include "platform/registry/CpuLoad.h"

#include "base/Numbers.h"

namespace varnel {

bool ParseCpuTimes(const char* data, std::size_t size, TCpuTimes& out) {
  std::size_t i = 0;
  auto blank = [&](std::size_t k) { return data[k] == ' ' || data[k] == '\t'; };
  if (size < 4 || data[0] != 'c' || data[1] != 'p' || data[2] != 'u' || !blank(3)) return false;
  i = 3;
  TCpuTimes t;
  while (t.Count < TCpuTimes::kFields) {
    while (i < size && blank(i)) ++i;
    if (i >= size || data[i] < '0' || data[i] > '9') break;
    std::uint64_t v = 0;
    for (; i < size && data[i] >= '0' && data[i] <= '9'; ++i) {
      v = v * 10 + static_cast<std::uint64_t>(data[i] - '0');
      if (v > kMaxCpuTicks) v = kMaxCpuTicks;  // stays below 2^61, so the next step cannot wrap
    }
    if (i < size && !blank(i) && data[i] != '\n' && data[i] != '\r') break;  // "12ab": not a number
    t.Ticks[t.Count++] = v;
  }
  if (t.Count < 4) return false;
  out = t;
  return true;
}

int TCpuLoadMeter::Update(const TCpuTimes& now) {
  static constexpr bool kBusy[TCpuTimes::kFields] = {true, true, true, false, false, true, true, true, false, false};
  static constexpr bool kIdle[TCpuTimes::kFields] = {false, false, false, true, true, false, false, false, false, false};
  std::uint64_t busy = 0, idle = 0;
  for (int f = 0; f < TCpuTimes::kFields; ++f) {
    const std::uint64_t before = FHasPrevious ? FPrevious.Ticks[f] : 0;
    const std::uint64_t d = now.Ticks[f] > before ? now.Ticks[f] - before : 0;
    if (kBusy[f]) busy += d;
    if (kIdle[f]) idle += d;
  }
  FPrevious = now;
  FHasPrevious = true;
  const std::uint64_t total = busy + idle;  // at most 8 * 2^60
  if (total == 0) return FLoad;
  const std::int64_t load = Round(100.0 * static_cast<double>(busy) / static_cast<double>(total));
  FLoad = static_cast<int>(load < 0 ? 0 : load > 100 ? 100 : load);
  return FLoad;
}

}  // namespace varnel
