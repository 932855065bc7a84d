// libFuzzer target: the program's start-up from a settings file, a save, and a second start
// from what was saved. The body is shared with the corpus test.
#include <cstdlib>

#include "fuzz/StartupBody.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!varnel::fuzz::FuzzStartup(data, size)) std::abort();
  return 0;
}
