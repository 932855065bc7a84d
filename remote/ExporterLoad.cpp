// The load between two readings of an exporter's CPU counters.
#include "remote/ExporterLoad.h"

#include <unordered_map>
#include <utility>

#include "base/Numbers.h"

namespace varnel {
namespace {

constexpr bool kBusy[kCpuModes] = {true, true, true, false, false, true, true, true};
constexpr bool kIdle[kCpuModes] = {false, false, false, true, true, false, false, false};

// The counters are written to a hundredth of a second (the kernel's clock tick): a CPU's time
// that shrinks by less is the rounding of the text, not a restart.
constexpr double kBackwardsSlack = 0.011;

int Percent(double busy, double total) {
  const std::int64_t load = Round(100.0 * busy / total);
  return static_cast<int>(load < 0 ? 0 : load > 100 ? 100 : load);
}

}  // namespace

std::optional<TLoadReading> TExporterLoadMeter::Update(const std::vector<TCpuCounters>& now) {
  if (!FHasPrevious) {
    FPrevious = now;
    FLoads.assign(now.size(), 0);
    FHasPrevious = true;
    return std::nullopt;
  }
  // The previous counters of each CPU of `now`; by position while the CPUs are the same ones.
  std::unordered_map<std::string, std::size_t> byName;
  auto previousOf = [&](std::size_t i) -> std::ptrdiff_t {
    if (i < FPrevious.size() && FPrevious[i].Cpu == now[i].Cpu) return static_cast<std::ptrdiff_t>(i);
    if (byName.empty())
      for (std::size_t k = 0; k < FPrevious.size(); ++k) byName.emplace(FPrevious[k].Cpu, k);
    const auto it = byName.find(now[i].Cpu);
    return it == byName.end() ? -1 : static_cast<std::ptrdiff_t>(it->second);
  };

  TLoadReading reading;
  reading.Cores.reserve(now.size());
  std::vector<int> loads(now.size(), 0);
  double busyAll = 0, totalAll = 0;
  bool anyCommon = false, backwards = false;
  for (std::size_t i = 0; i < now.size(); ++i) {
    const TCpuCounters& c = now[i];
    TCoreLoad& core = reading.Cores.emplace_back();
    core.Name = "cpu" + c.Cpu;
    const std::ptrdiff_t p = previousOf(i);
    if (p < 0) continue;  // a CPU that came online: no load until its second reading
    const TCpuCounters& before = FPrevious[static_cast<std::size_t>(p)];
    const unsigned modes = c.Present & before.Present;
    double busy = 0, idle = 0, sumNow = 0, sumBefore = 0;
    for (int m = 0; m < kCpuModes; ++m) {
      if (!(modes & (1u << m))) continue;
      sumNow += c.Seconds[m];
      sumBefore += before.Seconds[m];
      const double d = c.Seconds[m] > before.Seconds[m] ? c.Seconds[m] - before.Seconds[m] : 0.0;
      if (kBusy[m]) busy += d;
      if (kIdle[m]) idle += d;
    }
    if (sumNow < sumBefore - kBackwardsSlack) backwards = true;
    anyCommon = true;
    const double total = busy + idle;
    loads[i] = total > 0 ? Percent(busy, total) : FLoads[static_cast<std::size_t>(p)];
    core.Load = loads[i];
    busyAll += busy;
    totalAll += total;
  }
  FPrevious = now;
  FLoads = std::move(loads);
  FHasPrevious = true;
  if (backwards || !anyCommon) return std::nullopt;
  if (totalAll > 0) FTotal = Percent(busyAll, totalAll);
  reading.Total = FTotal;
  return reading;
}

}  // namespace varnel
