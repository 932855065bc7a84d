// libFuzzer target: canvas commands with extreme coordinates. The body is shared with the corpus
// test.
#include <cstdlib>

#include "fuzz/CanvasBody.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!varnel::fuzz::FuzzCanvasCommands(data, size)) std::abort();
  return 0;
}
