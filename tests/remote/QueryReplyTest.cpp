// A monitoring server's reply to an instant query: the series and values read from it, their
// names, and the replies that are refused, whatever they hold.
#include <gtest/gtest.h>

#include "remote/QueryReply.h"

namespace varnel {
namespace {

TQueryReply Parse(std::string_view body) {
  TQueryReply reply;
  EXPECT_TRUE(ParseQueryReply(body, reply)) << body;
  return reply;
}

std::string Vector(const std::string& series) {
  return R"({"status":"success","data":{"resultType":"vector","result":[)" + series + "]}}";
}

TEST(QueryReply, AVectorGivesEachSeriesNamedByItsInstance) {
  // As the server sends it for 100*(1-avg by(instance)(rate(...{mode="idle"}[5s]))).
  const TQueryReply r = Parse(Vector(
      R"({"metric":{"instance":"alpha"},"value":[1796906159.018,"37.25"]},)"
      R"({"metric":{"job":"node","instance":"beta:9100"},"value":[1796906159.018,"100"]})"));
  ASSERT_EQ(r.Series.size(), 2u);
  EXPECT_EQ(r.Series[0].Name, "alpha");
  EXPECT_EQ(r.Series[0].Value, 37.25);
  EXPECT_EQ(r.Series[1].Name, "beta:9100");
  EXPECT_EQ(r.Series[1].Value, 100.0);
  EXPECT_TRUE(r.Error.empty());
}

TEST(QueryReply, WithoutAnInstanceTheFirstLabelNamesTheSeries) {
  const TQueryReply r = Parse(Vector(
      R"({"metric":{"__name__":"load","zone":"b","cpu":"1"},"value":[1,"1"]},)"
      R"({"metric":{"__name__":"load"},"value":[1,"2"]},)"
      R"({"metric":{},"value":[1,"3"]},)"
      R"({"metric":{"n":7,"host":"c"},"value":[1,"4"]})"));  // a label that is not text is no label
  ASSERT_EQ(r.Series.size(), 4u);
  EXPECT_EQ(r.Series[0].Name, "b");     // the first label in the reply's order, not by name
  EXPECT_EQ(r.Series[1].Name, "load");  // only the metric's name
  EXPECT_EQ(r.Series[2].Name, "");
  EXPECT_EQ(r.Series[3].Name, "c");
}

TEST(QueryReply, ValuesThatAreNoNumberLeaveTheSeriesWithout) {
  const TQueryReply r = Parse(Vector(
      R"({"metric":{"instance":"a"},"value":[1,"NaN"]},{"metric":{"instance":"b"},"value":[1,"+Inf"]},)"
      R"({"metric":{"instance":"c"},"value":[1,"-Inf"]},{"metric":{"instance":"d"},"value":[1,"1e1"]},)"
      R"({"metric":{"instance":"e"}})"));
  ASSERT_EQ(r.Series.size(), 5u);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(r.Series[i].Value) << i;
  EXPECT_EQ(r.Series[3].Value, 10.0);
  EXPECT_FALSE(r.Series[4].Value);
}

TEST(QueryReply, AScalarIsOneSeriesAndAMatrixGivesEachSeriesItsLastValue) {
  const TQueryReply s = Parse(R"({"status":"success","data":{"resultType":"scalar","result":[1796906147.83,"42"]}})");
  ASSERT_EQ(s.Series.size(), 1u);
  EXPECT_EQ(s.Series[0].Name, "");
  EXPECT_EQ(s.Series[0].Value, 42.0);
  // Keys in any order: the type may come after the result.
  const TQueryReply m = Parse(
      R"({"data":{"result":[{"values":[[1,"5"],[2,"6"],[3,"7.5"]],"metric":{"instance":"x"}}],"resultType":"matrix"},)"
      R"("status":"success"})");
  ASSERT_EQ(m.Series.size(), 1u);
  EXPECT_EQ(m.Series[0].Name, "x");
  EXPECT_EQ(m.Series[0].Value, 7.5);
  EXPECT_TRUE(Parse(Vector("")).Series.empty());  // no series: a valid, empty answer
}

TEST(QueryReply, AnErrorReplyIsRefusedWithTheServersWordsMadeSafe) {
  TQueryReply r;
  EXPECT_FALSE(ParseQueryReply(
      R"({"status":"error","errorType":"bad_data","error":"invalid parameter \"query\":\n1:7: parse error"})", r));
  EXPECT_EQ(r.Error, "invalid parameter \"query\": 1:7: parse error");
  EXPECT_TRUE(r.Series.empty());
  const std::string longText(1000, 'x');
  EXPECT_FALSE(ParseQueryReply(R"({"status":"error","error":")" + longText + "\"}", r));
  EXPECT_EQ(r.Error, std::string(kMaxQueryErrorText, 'x'));
}

TEST(QueryReply, RefusesWhatIsNoAnswerOfTheRightShape) {
  const std::string ok = Vector(R"({"metric":{},"value":[1,"1"]})");
  const struct {
    const char* Why;
    std::string Body;
  } cases[] = {
      {"empty", ""},
      {"a web page", "<html><body>It works</body></html>"},
      {"cut short", ok.substr(0, ok.size() - 3)},
      {"trailing garbage", ok + "x"},
      {"no status", R"({"data":{"resultType":"vector","result":[]}})"},
      {"no data", R"({"status":"success"})"},
      {"a string result", R"({"status":"success","data":{"resultType":"string","result":[1,"hi"]}})"},
      {"an unknown type", R"({"status":"success","data":{"resultType":"table","result":[]}})"},
      {"a scalar shaped as a vector", R"({"status":"success","data":{"resultType":"scalar","result":[{"value":[1,"1"]}]}})"},
      {"a vector shaped as a scalar", R"({"status":"success","data":{"resultType":"vector","result":[1,"1"]}})"},
      {"a value that is not a number", Vector(R"({"metric":{},"value":[1,"fast"]})")},
      {"an array in the result", Vector(R"([1,"1"])")},
      {"a second result", R"({"status":"success","data":{"resultType":"vector","result":[],"result":[]}})"},
      {"nested deeper than any reply", std::string(40, '[') + std::string(40, ']')},
      {"invalid UTF-8", Vector(R"({"metric":{"instance":"\xff"},"value":[1,"1"]})")},
  };
  for (const auto& c : cases) {
    TQueryReply r;
    EXPECT_FALSE(ParseQueryReply(c.Body, r)) << c.Why;
    EXPECT_TRUE(r.Series.empty()) << c.Why;
  }
}

TEST(QueryReply, RefusesMoreSeriesThanTheLimit) {
  std::string series;
  for (std::size_t i = 0; i <= kMaxQuerySeries; ++i) series += std::string(i ? "," : "") + R"({"value":[1,"1"]})";
  TQueryReply r;
  EXPECT_FALSE(ParseQueryReply(Vector(series), r));
  series.resize(series.rfind(",{"));
  EXPECT_TRUE(ParseQueryReply(Vector(series), r));
  EXPECT_EQ(r.Series.size(), kMaxQuerySeries);
}

}  // namespace
}  // namespace varnel
