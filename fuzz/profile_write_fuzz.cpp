// libFuzzer target: key writes and reads on a settings file text. The body is shared with the
// corpus test.
#include <cstdlib>

#include "fuzz/ProfileBodies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!varnel::fuzz::FuzzProfileWrites(data, size)) std::abort();
  return 0;
}
