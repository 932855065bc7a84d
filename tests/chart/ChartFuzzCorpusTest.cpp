// Replays the saved corpus of the chart fuzz target through its own body: programs of chart
// engine calls with extreme values (points, ranges, pens, margins, bevels, fonts, host sizes)
// that the engine must paint without a crash or a hang.
#include <gtest/gtest.h>

#include "fuzz/ChartBody.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

TEST(FuzzCorpus, EverySavedChartProgramPaints) {
  EXPECT_GT(test::ReplayCorpus("chart_fuzz", fuzz::FuzzChartCommands), 0);
}

}  // namespace
}  // namespace varnel
