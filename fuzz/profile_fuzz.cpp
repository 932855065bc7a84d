// libFuzzer target: the settings file text (lookups and key updates). The body is shared with the corpus test.
#include <cstdlib>

#include "fuzz/ProfileBodies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!varnel::fuzz::FuzzProfileText(data, size)) std::abort();
  return 0;
}
