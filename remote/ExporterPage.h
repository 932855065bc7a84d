// Reading a node exporter's metrics page: the per-CPU time counters of the metric
// node_cpu_seconds_total, one sample line per cpu and mode, in the plain-text exposition format
//
//   # TYPE node_cpu_seconds_total counter
//   node_cpu_seconds_total{cpu="0",mode="idle"} 91234.56
//   node_cpu_seconds_total{cpu="0",mode="user"} 1234.5
//
//   std::vector<TCpuCounters> cpus;
//   if (ParseExporterPage(body, cpus)) load = meter.Update(cpus);
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

// The modes a node exporter publishes for each CPU, the /proc/stat fields they come from
// (guest time is a metric of its own there, and already inside user and nice).
enum TCpuMode { cmUser, cmNice, cmSystem, cmIdle, cmIOWait, cmIrq, cmSoftIrq, cmSteal, kCpuModes };

// One CPU's counters in seconds. Present has bit (1 << mode) set for each mode the page gave.
struct TCpuCounters {
  std::string Cpu;  // the cpu label: "0", "1", ...
  double Seconds[kCpuModes] = {};
  unsigned Present = 0;
};

// The largest number of CPUs a page may list.
inline constexpr std::size_t kMaxExporterCpus = 16384;

// Reads every node_cpu_seconds_total line of `text`; other lines are skipped unread. `out` gets
// one entry per cpu label, ordered by CPU number (labels that are not numbers after those, by
// text). Modes other than the eight above are ignored, and so are a line's other labels and its
// timestamp. False (with `out` unspecified) when the page is not a usable reading: no such
// line; a line of the metric that does not parse, lacks a cpu or mode label, or holds a value
// that is negative, not a number or infinite; the same cpu and mode twice; CPUs that do not all
// give the same modes, or give no idle time (a page cut short); more than kMaxExporterCpus CPUs.
bool ParseExporterPage(std::string_view text, std::vector<TCpuCounters>& out);

}  // namespace varnel
