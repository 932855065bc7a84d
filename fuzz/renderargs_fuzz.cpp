// libFuzzer target: varnel-render's command line. The body is shared with the corpus test.
#include <cstdlib>

#include "fuzz/RenderArgsBody.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!varnel::fuzz::FuzzRenderArgs(data, size)) std::abort();
  return 0;
}
