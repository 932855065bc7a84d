// The sampler: three opens and reads over one registry accessor, freed on every path.
#include "sampler/ReadSample.h"

#include <cstdint>

#include "platform/registry/RegistryAccessor.h"

namespace varnel {

std::optional<int> ReadSample(TRegistryProvider& registry) {
  TRegistryAccessor reg(registry);  // its destructor closes the current key, also on a raise
  reg.SetRootKey(HKEY_DYN_DATA);
  std::uint8_t scratch[4] = {0, 0, 0, 0};
  std::uint8_t sample[4] = {0, 0, 0, 0};

  reg.OpenKey("\\PerfStats\\StartSrv");  // success or failure is not looked at
  reg.ReadBinaryData("KERNEL", scratch, sizeof scratch);
  reg.OpenKey("\\PerfStats\\StartStat");
  reg.ReadBinaryData("KERNEL\\CPUUsage", scratch, sizeof scratch);
  reg.OpenKey("\\PerfStats\\StatData");
  const std::optional<std::uint32_t> got = reg.ReadBinaryData("KERNEL\\CPUUsage", sample, sizeof sample);
  if (!got || *got == 0) return std::nullopt;

  const std::uint32_t v = std::uint32_t(sample[0]) | std::uint32_t(sample[1]) << 8 | std::uint32_t(sample[2]) << 16 |
                          std::uint32_t(sample[3]) << 24;
  return static_cast<std::int32_t>(v);
}

}  // namespace varnel
