// libFuzzer target: a monitoring server's reply to an instant query, against a reference reading of the whole document. The body is shared with the corpus test.
#include <cstdlib>

#include "fuzz/RemoteBodies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!varnel::fuzz::FuzzQueryReply(data, size)) std::abort();
  return 0;
}
