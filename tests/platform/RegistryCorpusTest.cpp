// Replays the saved fuzz corpus of /proc/stat snapshots through the fuzz target's body.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/FuzzBodies.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

TEST(RegistryCorpus, EverySavedStatisticsPairGivesALoadInRange) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test::SourcePath("fuzz/corpus/procstat_fuzz"))) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(fuzz::FuzzProcStat(bytes.data(), bytes.size())) << entry.path();
    ++count;
  }
  EXPECT_GT(count, 0);
}

}  // namespace
}  // namespace varnel
