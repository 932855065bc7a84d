// varnel-render's command line: what it accepts and refuses, and the saved fuzz corpus replayed
// through the fuzz target's own body.
#include <gtest/gtest.h>

#include "fuzz/RenderArgsBody.h"
#include "tests/support/TestSupport.h"
#include "tools/RenderArgs.h"

namespace varnel {
namespace {

std::optional<TRenderArgs> Parse(std::initializer_list<std::string_view> words) {
  std::string why;
  const std::vector<std::string_view> args(words);
  auto a = ParseRenderArgs(args, why);
  EXPECT_EQ(a.has_value(), why.empty());
  return a;
}

TEST(RenderArgs, AcceptsTheOptionsInAnyOrder) {
  const auto a = Parse({"--out", "w.png", "--samples", "-1,0,100,2147483647", "--size", "8192x1", "--ini", "F.INI"});
  ASSERT_TRUE(a);
  EXPECT_FALSE(a->Help);
  EXPECT_EQ(a->Ini, "F.INI");
  EXPECT_EQ(a->Out, "w.png");
  EXPECT_EQ(a->Width, 8192);
  EXPECT_EQ(a->Height, 1);
  EXPECT_EQ(a->Samples, (std::vector<std::int32_t>{-1, 0, 100, 2147483647}));
  // The values are taken as they stand, even when they look like options.
  EXPECT_EQ(Parse({"--ini", "--help", "--size", "1x1", "--out", "-h"})->Ini, "--help");
}

TEST(RenderArgs, HelpWinsWhereAnOptionIsExpected) {
  for (auto words : {std::initializer_list<std::string_view>{"--help"}, {"-h"}, {"--ini", "F", "--help"}}) {
    const auto a = Parse(words);
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->Help);
  }
}

TEST(RenderArgs, RefusesWhatIsMissingRepeatedOrOutOfRange) {
  const std::initializer_list<std::string_view> bad[] = {
      {},
      {"--ini", "F", "--size", "10x10"},                                  // no --out
      {"--ini", "F", "--size", "10x10", "--out"},                          // no value
      {"--ini", "", "--size", "10x10", "--out", "o"},                      // empty file name
      {"--ini", "F", "--ini", "G", "--size", "10x10", "--out", "o"},       // repeated
      {"--ini", "F", "--size", "0x10", "--out", "o"},                      // below 1
      {"--ini", "F", "--size", "8193x10", "--out", "o"},                   // above the largest side
      {"--ini", "F", "--size", " 10x10", "--out", "o"},                    // blanks
      {"--ini", "F", "--size", "$Ax10", "--out", "o"},                     // hexadecimal
      {"--ini", "F", "--size", "10X10", "--out", "o"},                     // no "x"
      {"--ini", "F", "--size", "10x10", "--out", "o", "--samples", "1,,2"},
      {"--ini", "F", "--size", "10x10", "--out", "o", "--samples", "2147483648"},
      {"--ini", "F", "--size", "10x10", "--out", "o", "--colour", "1"},
  };
  for (const auto& words : bad) EXPECT_FALSE(Parse(words)) << testing::PrintToString(std::vector<std::string_view>(words));
}

TEST(RenderArgs, TakesADayOfSamplesAndNoMore) {
  std::string day = "0";
  for (std::size_t i = 1; i < RenderMaxSamples; ++i) day += ",1";
  EXPECT_EQ(Parse({"--ini", "F", "--size", "1x1", "--out", "o", "--samples", day})->Samples.size(), RenderMaxSamples);
  day += ",2";
  EXPECT_FALSE(Parse({"--ini", "F", "--size", "1x1", "--out", "o", "--samples", day}));
}

// A samples file: numbers between commas, blanks and line ends of either kind, up to a day.
TEST(RenderArgs, SamplesFileTextAndItsLimits) {
  const auto a = Parse({"--ini", "F", "--size", "1x1", "--out", "o", "--samples-file", "-"});
  ASSERT_TRUE(a);
  EXPECT_EQ(a->SamplesFile, "-");
  EXPECT_FALSE(Parse({"--ini", "F", "--size", "1x1", "--out", "o", "--samples-file", "s", "--samples", "1"}));
  EXPECT_FALSE(Parse({"--ini", "F", "--size", "1x1", "--out", "o", "--samples-file", ""}));
  const struct {
    std::string_view text;
    std::vector<std::int32_t> want;  // empty with ok false: refused
    bool ok;
  } cases[] = {
      {"", {}, true},
      {"1,2 3\n4\r\n5\t-6 , 7\n", {1, 2, 3, 4, 5, -6, 7}, true},
      {"  \n 2147483647 \n\n", {2147483647}, true},
      {"1,,2", {}, false},
      {",1", {}, false},
      {"1,", {}, false},
      {"1 2x", {}, false},
      {"1.5", {}, false},
      {"2147483648", {}, false},
  };
  for (const auto& c : cases) {
    std::vector<std::int32_t> got;
    std::string why;
    EXPECT_EQ(ParseSampleText(c.text, got, why), c.ok) << c.text;
    EXPECT_EQ(why.empty(), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(got, c.want) << c.text;
    }
  }
  std::string day;
  for (std::size_t i = 0; i < RenderMaxSamples; ++i) day += i % 7 ? "1 " : "1\n";
  std::vector<std::int32_t> got;
  std::string why;
  EXPECT_TRUE(ParseSampleText(day, got, why));
  EXPECT_EQ(got.size(), RenderMaxSamples);
  got.clear();
  EXPECT_FALSE(ParseSampleText(day + "2", got, why));
}

TEST(RenderArgs, EverySavedFuzzInputHoldsTheInvariants) {
  EXPECT_GT(test::ReplayCorpus("renderargs_fuzz", fuzz::FuzzRenderArgs), 0);
}

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

// Samples files with each tick's cores: "TOTAL: C0 C1 ..." beside plain numbers.
TEST(RenderArgs, SamplesWithCores) {
  std::vector<std::int32_t> got;
  std::vector<std::vector<std::optional<std::int32_t>>> cores;
  std::string why;
  ASSERT_TRUE(ParseSampleText("5, 6\n37: 10 100 - 4\n 8\n9:\n40:0,100\n", got, why, &cores)) << why;
  EXPECT_EQ(got, (std::vector<std::int32_t>{5, 6, 37, 8, 9, 40}));
  ASSERT_EQ(cores.size(), 6u);
  EXPECT_TRUE(cores[0].empty() && cores[1].empty() && cores[3].empty() && cores[4].empty());
  EXPECT_EQ(cores[2], (std::vector<std::optional<std::int32_t>>{10, 100, std::nullopt, 4}));
  EXPECT_EQ(cores[5], (std::vector<std::optional<std::int32_t>>{0, 100}));
  // The totals alone when the cores are not asked for.
  got.clear();
  ASSERT_TRUE(ParseSampleText("37: 10 100 - 4", got, why));
  EXPECT_EQ(got, (std::vector<std::int32_t>{37}));
  for (std::string_view bad : {"37: 101", "37: -1", "1 2: 3", ": 3", "37: x", "37: 1,", "- 3", "37: 1: 2"}) {
    got.clear();
    why.clear();
    EXPECT_FALSE(ParseSampleText(bad, got, why, &cores)) << bad;
    EXPECT_FALSE(why.empty()) << bad;
  }
}

// A bad word is quoted for the terminal: its first 20 bytes, those outside printable ASCII (an
// escape sequence, a NUL, a byte of a binary file) written as \xNN.
TEST(RenderArgs, BadSampleQuotedSafely) {
  std::vector<std::int32_t> got;
  std::string why;
  const std::string word = std::string("1\x1B[2J\0\xFF", 7) + "abcdefghijklmnopqrstuvwxyz";
  EXPECT_FALSE(ParseSampleText(word, got, why));
  EXPECT_EQ(why, "bad sample \"1\\x1B[2J\\x00\\xFFabcdefghijklm\" (whole numbers only)");
}

}  // namespace
}  // namespace varnel
