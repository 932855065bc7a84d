// Replays the saved fuzz corpora of the settings file text and of integer text through the
// fuzz targets' own bodies, so every input the fuzzers kept is checked on each test run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/FuzzBodies.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

// Runs `body` over every file of fuzz/corpus/<target>; returns how many there were.
template <typename Body>
int ReplayCorpus(const std::string& target, Body body) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test::SourcePath("fuzz/corpus/" + target))) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(body(bytes.data(), bytes.size())) << entry.path();
    ++count;
  }
  return count;
}

TEST(ProfileCorpus, EverySavedSettingsTextHoldsTheInvariants) {
  EXPECT_GT(ReplayCorpus("profile_fuzz", fuzz::FuzzProfileText), 0);
}

TEST(ProfileCorpus, EverySavedIntegerTextAgreesWithTheReference) {
  EXPECT_GT(ReplayCorpus("inttext_fuzz", fuzz::FuzzIntText), 0);
}

TEST(ProfileCorpus, TheReferenceReaderItselfIsRight) {
  // The fuzz oracle is only as good as this: spot checks against known answers.
  EXPECT_EQ(fuzz::ReferenceStrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(fuzz::ReferenceStrToInt("  -2147483648"), -2147483647 - 1);
  EXPECT_EQ(fuzz::ReferenceStrToInt("2147483648"), std::nullopt);
  EXPECT_EQ(fuzz::ReferenceStrToInt("+$1"), std::nullopt);
  EXPECT_EQ(fuzz::ReferenceStrToInt("1 "), std::nullopt);
  EXPECT_EQ(fuzz::ReferenceStrToInt("$1e"), 30);
}

}  // namespace
}  // namespace varnel
