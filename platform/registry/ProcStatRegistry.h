// TProcStatRegistry: the dynamic performance data on Linux. Publishes the three keys below
// HKEY_DYN_DATA that the sampler reads: "PerfStats\StartSrv" with the binary value "KERNEL",
// "PerfStats\StartStat" and "PerfStats\StatData" with the binary value "KERNEL\CPUUsage". The
// StatData value is the processor load in percent (4 bytes, little-endian) over the interval
// since it was last read (since the provider was made, for the first read), from the first
// line of the statistics file. When that file is missing or unreadable the value does not
// exist. The two start values hold 0.
//
// A query for the value's type and size takes the snapshot and keeps its load for the read of
// the data that follows it, so that the usual "size, then data" pair measures one interval.
// Each snapshot also measures every core from its "cpuN" line (TCoreLoadMeters), read by Cores().
//
// Cheap, because a system call is dear: the file stays open between snapshots and each snapshot
// reads it from its start into a kept buffer (one pread); nothing is allocated once the buffer
// has grown to hold the "cpu" lines. Only a read that
// finds the counters of the previous one asks whether the file was deleted or replaced by a
// rename meanwhile (one fstat), and then opens the name again.
//
//   TProcStatRegistry dyn;                 // /proc/stat
//   std::optional<int> load = ReadSample(dyn);
#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry/CpuLoad.h"
#include "platform/registry/RegistryProvider.h"

namespace varnel {

class TProcStatRegistry : public TRegistryProvider {
 public:
  explicit TProcStatRegistry(std::string statPath = "/proc/stat");
  ~TProcStatRegistry() override;
  TProcStatRegistry(const TProcStatRegistry&) = delete;
  TProcStatRegistry& operator=(const TProcStatRegistry&) = delete;

  TRegResult OpenKey(TRegKey parent, std::string_view subKey, TRegKey& result) override;
  TRegResult QueryValue(TRegKey key, std::string_view name, std::uint32_t* type, void* data,
                        std::uint32_t* size) override;
  TRegResult CloseKey(TRegKey key) override;

  // Reads the statistics file and returns the load since the previous snapshot; none when the
  // file cannot be read or its first line is not a "cpu" line.
  std::optional<int> TakeSnapshot();
  // Each core's load in the last snapshot (every core away when it gave no total, or while the
  // cores are not wanted).
  const TCoreLoadMeters& Cores() const { return FCores; }
  // Whether snapshots measure the cores (at first they do). While they do not, a snapshot reads
  // the first line alone and every core is away. When they do again, the cores start from the last
  // snapshot's lines, so the next snapshot gives each core's load since the last one.
  void SetCoresWanted(bool wanted);

  // The read buffer's first size, and the most it grows to: 4 MB holds the "cpu" lines of the
  // largest machines Linux runs on (8,192 cores of up to about 220 characters each, twice over).
  static constexpr std::size_t kStartStatBytes = 16384;
  static constexpr std::size_t kMaxStatBytes = std::size_t(4) << 20;

 private:
  // Reads up to size bytes from the start of the statistics file; fewer than 1 on failure.
  long ReadFromStart(char* buffer, unsigned long size);
  void CloseFile();

  std::string FStatPath;
  int FFile = -1;                // the open statistics file, or -1
  std::vector<char> FBuffer;       // the file as the last snapshot read it
  long FBufferRead = 0;            // how much of it (0 when the last snapshot failed)
  bool FBufferComplete = false;    // whether that was the whole file
  bool FCoresWanted = true;
  std::array<char, 512> FLast{};   // the start of what the last read found
  std::size_t FLastSize = 0;
  TCpuLoadMeter FMeter;
  TCoreLoadMeters FCores;
  std::optional<int> FPending;  // the load found by a size query, for the data read after it
};

}  // namespace varnel
