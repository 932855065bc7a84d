// The load of a machine from two readings of its exporter's CPU counters, with the rules of the
// local sampler: busy = user + nice + system + irq + softirq + steal, idle = idle + iowait, each
// counter's difference clamped at zero, a whole percentage (halves to even) clamped to 0..100,
// the previous load repeated when no time has passed.
//
//   TExporterLoadMeter meter;
//   if (ParseExporterPage(body, cpus)) reading = meter.Update(cpus);
#pragma once
#include <optional>
#include <vector>

#include "remote/ExporterPage.h"
#include "sampler/LoadSource.h"

namespace varnel {

class TExporterLoadMeter {
 public:
  // The load since the previous counters: the total over every CPU, and each CPU as a core
  // named "cpu" and its label. A CPU that was not in the previous counters has no load yet. No
  // reading, and the new counters kept for the next one, for the first counters (a load is the
  // time between two), when the time counted on a CPU went backwards (the machine restarted, or
  // another machine answers at the address) or when no CPU is in both.
  std::optional<TLoadReading> Update(const std::vector<TCpuCounters>& now);

 private:
  std::vector<TCpuCounters> FPrevious;
  std::vector<int> FLoads;  // each previous CPU's last load, beside FPrevious
  bool FHasPrevious = false;
  int FTotal = 0;
};

}  // namespace varnel
