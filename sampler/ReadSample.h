// ReadSample: the processor load, read once per tick from the dynamic performance data of the
// registry. Three reads, each after opening its key: the start values of the statistics server
// and of the CPU statistic (their data is not used), then the statistic itself.
//
//   TProcStatRegistry dyn;
//   if (std::optional<int> load = ReadSample(dyn)) Plot(*load);
#pragma once
#include <optional>

#include "platform/registry/RegistryProvider.h"

namespace varnel {

// Reads "KERNEL" of "\PerfStats\StartSrv" and "KERNEL\CPUUsage" of "\PerfStats\StartStat"
// into a 4-byte scratch buffer, then "KERNEL\CPUUsage" of "\PerfStats\StatData" into the
// sample: a signed 32-bit little-endian integer, returned unchecked. A key that does not open
// leaves the previous key current, and a read that finds no value changes nothing, both
// silently. No value when the last read finds none (or a binary value of 0 bytes); a value
// shorter than 4 bytes fills the low bytes of a sample that starts at 0. Raises
// ERegistryException "Invalid data type for '%s'" for a value that is not binary or longer
// than 4 bytes, and "Failed to get data for '%s'" when a value's data cannot be read; the
// open key is closed in every case.
std::optional<int> ReadSample(TRegistryProvider& registry);

}  // namespace varnel
