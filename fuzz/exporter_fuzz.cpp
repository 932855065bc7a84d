// libFuzzer target: a node exporter's metrics page, as a load source on the network reads it. The body is shared with the corpus test.
#include <cstdlib>

#include "fuzz/RemoteBodies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!varnel::fuzz::FuzzExporterPage(data, size)) std::abort();
  return 0;
}
