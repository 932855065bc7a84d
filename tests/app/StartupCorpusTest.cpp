// Replays the saved fuzz corpus of settings files through the start-up fuzz target's body: the
// program starts from each, saves, and starts again from what it saved with the same settings.
#include <gtest/gtest.h>

#include "fuzz/StartupBody.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

TEST(StartupCorpus, EverySavedSettingsFileStartsSavesAndStartsTheSame) {
  EXPECT_GT(test::ReplayCorpus("startup_fuzz", fuzz::FuzzStartup), 0);
}

}  // namespace
}  // namespace varnel
