// Replays the saved fuzz corpus of /proc/stat snapshots through the fuzz target's body.
#include <gtest/gtest.h>

#include "fuzz/FuzzBodies.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

TEST(RegistryCorpus, EverySavedStatisticsPairGivesALoadInRange) {
  EXPECT_GT(test::ReplayCorpus("procstat_fuzz", fuzz::FuzzProcStat), 0);
}

}  // namespace
}  // namespace varnel
