// libFuzzer target: integer text and the settings file's "0x" rule. The body is shared with the corpus test.
#include <cstdlib>

#include "fuzz/FuzzBodies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!varnel::fuzz::FuzzIntText(data, size)) std::abort();
  return 0;
}
