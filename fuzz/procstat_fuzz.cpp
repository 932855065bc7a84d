// libFuzzer target: the first line of /proc/stat, each core's line, and the loads between two snapshots. The body is shared with the corpus test.
#include <cstdlib>

#include "fuzz/FuzzBodies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!varnel::fuzz::FuzzProcStat(data, size)) std::abort();
  return 0;
}
