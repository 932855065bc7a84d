// Replays the saved fuzz corpora of the settings file text, key writes, integer text and canvas
// commands through the fuzz targets' own bodies, so every input the fuzzers kept is checked on
// each test run.
#include <gtest/gtest.h>

#include "fuzz/CanvasBody.h"
#include "fuzz/FuzzBodies.h"
#include "fuzz/ProfileBodies.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

using test::ReplayCorpus;

TEST(FuzzCorpus, EverySavedSettingsTextHoldsTheInvariants) {
  EXPECT_GT(ReplayCorpus("profile_fuzz", fuzz::FuzzProfileText), 0);
}

TEST(FuzzCorpus, EverySavedWriteSequenceKeepsTheRestOfTheFile) {
  EXPECT_GT(ReplayCorpus("profile_write_fuzz", fuzz::FuzzProfileWrites), 0);
}

TEST(FuzzCorpus, EverySavedCanvasProgramStaysInsideTheClip) {
  EXPECT_GT(ReplayCorpus("canvas_fuzz", fuzz::FuzzCanvasCommands), 0);
}

TEST(FuzzCorpus, EverySavedIntegerTextAgreesWithTheReference) {
  EXPECT_GT(ReplayCorpus("inttext_fuzz", fuzz::FuzzIntText), 0);
}

TEST(FuzzCorpus, TheReferenceReaderItselfIsRight) {
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
