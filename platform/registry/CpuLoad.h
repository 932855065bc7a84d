// The processor load from the kernel's time counters: parsing the first line of /proc/stat
// and turning two snapshots into a whole percentage; the same for each core's "cpuN" line.
//
//   TCpuTimes t;
//   if (ParseCpuTimes(buf, n, t)) load = meter.Update(t);   // 0..100
//   cores.Update(buf, n);                                   // cores.Cores()[i].Load
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

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
  // The counters the load is made of: user to steal (guest time lies inside user and nice).
  static constexpr int kCounted = 8;

  TCpuLoadMeter() = default;
  explicit TCpuLoadMeter(const TCpuTimes& start) { std::copy(start.Ticks, start.Ticks + kCounted, FPrevious); }

  // Takes a new snapshot and returns the load since the previous one (since boot for the
  // first snapshot of a meter made without a start).
  int Update(const TCpuTimes& now) { return Update(now.Ticks); }
  // The same from a snapshot's first kCounted counters.
  int Update(const std::uint64_t* now);
  int LastLoad() const { return FLoad; }

 private:
  std::uint64_t FPrevious[kCounted] = {};  // all zeros before the first snapshot
  int FLoad = 0;
};

// Reads one core's line: "cpu", the core's number (decimal, no leading zero, below 2^31), blanks,
// and at least four counters as for the first line. False, leaving the outputs as they were, for
// anything else. Only the first eight counters are read (guest and guest_nice are inside user
// and nice, and count nowhere else).
bool ParseCoreTimes(const char* data, std::size_t size, std::uint32_t& number, TCpuTimes& out);

// Each core's load between snapshots of the whole file. A snapshot reads the "cpuN" lines that
// follow the first line, up to the first line that does not begin with "cpu" (the kernel writes
// them together). Cores are kept in ascending number and keep their place once seen, so a core's
// index (and colour) holds while others come and go. Each core follows the total's rules
// (TCpuLoadMeter), and:
// - a core whose line is missing from a snapshot (offline), or malformed, has no load while it
//   is away; when it comes back its first snapshot is a new start and its load is known again
//   from the snapshot after that, so time spent away is never counted as idle or busy;
// - a core first seen after the first snapshot starts the same way (no load since boot);
// - of two lines with the same number the first counts;
// - at most kMaxCores cores are kept; lines for more are ignored.
class TCoreLoadMeters {
 public:
  static constexpr std::size_t kMaxCores = 8192;

  struct TCore {
    std::uint32_t Number = 0;
    std::optional<int> Load;  // none while offline or before its second snapshot
    bool Present = false;     // its line was in the last snapshot
    TCpuLoadMeter Meter;
  };

  // Takes the "cpuN" lines of a whole statistics file (`size` bytes from its start; the first line
  // is skipped). When `complete` is false the text was cut short, and its last line, which may be
  // cut, is not read.
  void Update(const char* data, std::size_t size, bool complete = true);
  // A snapshot in which the file could not be read: every core is away.
  void MarkAllAway();

  const std::vector<TCore>& Cores() const { return FCores; }
  // Counts the changes to the list of cores (a core added): a cached copy of the names is stale
  // when this differs from its own count.
  unsigned Generation() const { return FGeneration; }

 private:
  struct TLine {
    std::uint32_t Number;
    std::uint32_t Order;  // its place in the file, so that of two lines for a core the first counts
    TCpuTimes Times;
  };
  // The start of a core's line as the kernel writes it ("cpu12"), as a word of its characters
  // (the first in the low byte) and the mask of those bytes; a Length of 0 when the name is longer
  // than a word.
  struct TLineHead {
    std::uint64_t Word = 0, Mask = 0;
    unsigned Length = 0;
  };
  static TLineHead LineHead(std::uint32_t number);
  // Reads the lines from p on that belong, in order, to the kept cores from the first on, while
  // each core is present and its line is in the kernel's layout, into the cores' meters. Returns
  // how many, with p after the last line read.
  std::size_t UpdateKnownLines(const char*& p, const char* end, bool complete);

  std::vector<TCore> FCores;   // ascending Number
  std::vector<TLineHead> FHeads;  // one for each of FCores
  std::vector<TLine> FLines;   // slots for a snapshot's lines, written over by the next
  std::vector<TCore> FMerged;  // the list being rebuilt when cores are added
  unsigned FGeneration = 0;
};

}  // namespace varnel
