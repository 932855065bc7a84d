// The processor load from the kernel's time counters: parsing the first line of /proc/stat
// and turning two snapshots into a whole percentage.
//
//   TCpuTimes t;
//   if (ParseCpuTimes(buf, n, t)) load = meter.Update(t);   // 0..100
#pragma once
#include <cstddef>
#include <cstdint>

namespace varnel {

// The counters of the "cpu" line in clock ticks, in kernel order: user, nice, system, idle,
// iowait, irq, softirq, steal, guest, guest_nice. Kernels give 4 to 10 of them; missing ones
// are 0. Each is capped at kMaxCpuTicks so sums never overflow.
struct TCpuTimes {
  static constexpr int kFields = 10;
  std::uint64_t Ticks[kFields] = {};
  int Count = 0;
};
inline constexpr std::uint64_t kMaxCpuTicks = std::uint64_t(1) << 60;

// Reads the first line of `data` (`size` bytes, no terminator needed): "cpu", blanks, and at
// least four decimal counters separated by blanks. Counters after the tenth, and everything
// from the first token that is not a number, are ignored. False, leaving `out` as it was,
// when the line is not such a line.
bool ParseCpuTimes(const char* data, std::size_t size, TCpuTimes& out);

// The load of the interval between two snapshots: busy = user + nice + system + irq + softirq
// + steal, idle = idle + iowait (guest time is already inside user and nice). Each counter's
// difference is clamped at zero, so counters that go backwards cannot give a negative or huge
// load; a whole percentage (halves to even) clamped to 0..100. When no time has passed the
// previous load is repeated (0 before the first).
class TCpuLoadMeter {
 public:
  TCpuLoadMeter() = default;
  explicit TCpuLoadMeter(const TCpuTimes& start) : FPrevious(start), FHasPrevious(true) {}

  // Takes a new snapshot and returns the load since the previous one (since boot for the
  // first snapshot of a meter made without a start).
  int Update(const TCpuTimes& now);
  int LastLoad() const { return FLoad; }

 private:
  TCpuTimes FPrevious;
  bool FHasPrevious = false;
  int FLoad = 0;
};

}  // namespace varnel
