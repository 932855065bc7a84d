// libFuzzer target: programs of chart engine calls with extreme values, painted on small hosts.
// The body is shared with the corpus test.
#include <cstdlib>

#include "fuzz/ChartBody.h"

// The font configuration library loses a few hundred bytes while it reads its configuration
// files, once a process: not a leak of ours, and no input's.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!varnel::fuzz::FuzzChartCommands(data, size)) std::abort();
  return 0;
}
