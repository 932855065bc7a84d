// Replays the saved fuzz corpora of exporter pages and query replies through the fuzz targets'
// own bodies, and checks that the query reply's reference reading is itself right.
#include <gtest/gtest.h>

#include "fuzz/RemoteBodies.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

using test::ReplayCorpus;

TEST(RemoteCorpus, EverySavedExporterPageHoldsTheInvariants) {
  EXPECT_GT(ReplayCorpus("exporter_fuzz", fuzz::FuzzExporterPage), 0);
}

TEST(RemoteCorpus, EverySavedQueryReplyAgreesWithTheReference) {
  EXPECT_GT(ReplayCorpus("query_fuzz", fuzz::FuzzQueryReply), 0);
}

TEST(RemoteCorpus, TheReferenceReadingItselfIsRight) {
  // The fuzz oracle is only as good as this: spot checks against known answers.
  std::string error;
  const auto read = [&](const char* text) {
    return fuzz::ReferenceQueryReply(fuzz::TOrderedJson::parse(text), error);
  };
  const auto two = read(R"({"status":"success","data":{"resultType":"vector","result":[)"
                        R"({"metric":{"a":"x","instance":"i"},"value":[0,"2.5"]},{"metric":{"b":"y"},"value":[0,"NaN"]}]}})");
  ASSERT_TRUE(two);
  ASSERT_EQ(two->size(), 2u);
  EXPECT_EQ((*two)[0].Name, "i");
  EXPECT_EQ((*two)[0].Value, 2.5);
  EXPECT_EQ((*two)[1].Name, "y");
  EXPECT_FALSE((*two)[1].Value);
  EXPECT_FALSE(read(R"({"status":"success","data":{"resultType":"string","result":[0,"5"]}})"));
  EXPECT_FALSE(read(R"({"status":"error","error":"boom"})"));
  EXPECT_EQ(error, "boom");
  EXPECT_TRUE(fuzz::DeepOrRepeated(R"({"a":1,"a":2})", 32));
  EXPECT_FALSE(fuzz::DeepOrRepeated(R"({"a":{"a":2}})", 32));
}

}  // namespace
}  // namespace varnel
