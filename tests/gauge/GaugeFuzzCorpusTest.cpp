// Replays the saved corpus of the gauge fuzz target through its own body: programs of gauge
// calls with extreme values (values, ranges, rim marks, needle sizes, rims, ticks, fonts, host
// sizes) that the gauge must paint without a crash or a hang.
#include <gtest/gtest.h>

#include "fuzz/GaugeBody.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

TEST(FuzzCorpus, EverySavedGaugeProgramPaints) {
  EXPECT_GT(test::ReplayCorpus("gauge_fuzz", fuzz::FuzzGaugeCommands), 0);
}

}  // namespace
}  // namespace varnel
