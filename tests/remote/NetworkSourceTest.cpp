// The exporter and server load sources as the tick reads them, against a scripted server: each
// tick's reading comes from the reply the tick before asked for; a server that fails, falls
// silent or goes away gives ticks without a reading, and one that comes back is read again.
#include <gtest/gtest.h>

#include <mutex>
#include <queue>

#include "remote/NetworkLoadSource.h"
#include "tests/remote/TestServer.h"

namespace varnel {
namespace {

using test::HttpReply;
using test::TTestServer;

// A server that answers each request with the next reply of a script (the last one again when
// the script is through).
class TScriptedServer {
 public:
  TScriptedServer()
      : FServer([this](TTestServer::TConnection& c) {
          std::string reply;
          {
            std::lock_guard<std::mutex> lock(FMutex);
            reply = FScript.front();
            if (FScript.size() > 1) FScript.pop();
          }
          if (reply == "silence") c.Sleep(5000);
          else c.Send(reply);
        }) {}
  void Then(const std::string& reply) {
    std::lock_guard<std::mutex> lock(FMutex);
    FScript.push(reply);
  }
  std::string Url(const std::string& path) const { return FServer.Url(path); }
  const TTestServer& Server() const { return FServer; }

 private:
  std::mutex FMutex;
  std::queue<std::string> FScript;
  TTestServer FServer;  // last: answers only once the script exists
};

std::string Page(double user0, double idle0, double user1, double idle1) {
  std::string page = "# TYPE node_cpu_seconds_total counter\n";
  const auto line = [&](int cpu, const char* mode, double v) {
    page += "node_cpu_seconds_total{cpu=\"" + std::to_string(cpu) + "\",mode=\"" + mode + "\"} " + std::to_string(v) + "\n";
  };
  line(0, "idle", idle0);
  line(0, "user", user0);
  line(1, "idle", idle1);
  line(1, "user", user1);
  return HttpReply(200, page);
}

// What the tick does: read; then, for the test, wait until the request it started has ended, as
// a second's wait would.
std::optional<TLoadReading> Tick(TLoadSource& source) {
  std::optional<TLoadReading> r = source.Read();
  static_cast<TNetworkLoadSource&>(source).WaitForReply();
  return r;
}

std::unique_ptr<TLoadSource> Make(const std::string& address) {
  std::string why;
  std::unique_ptr<TLoadSource> s = MakeNetworkLoadSource(address, why);
  EXPECT_TRUE(s) << why;
  if (s) static_cast<TNetworkLoadSource&>(*s).WaitForReply();  // the first request, made at once
  return s;
}

std::vector<std::optional<int>> Loads(const TLoadReading& r) {
  std::vector<std::optional<int>> v;
  for (const TCoreLoad& c : r.Cores) v.push_back(c.Load);
  return v;
}
using TLoads = std::vector<std::optional<int>>;

TEST(NetworkSource, AnExporterGivesTheLoadOfEachSecondAndComesBackAfterFaults) {
  TScriptedServer server;
  server.Then(Page(10, 30, 0, 40));          // where the first second starts
  server.Then(Page(10.5, 30.5, 1, 40));      // cpu0 0.5 of 1, cpu1 1 of 1
  server.Then(HttpReply(500, "down"));
  server.Then(Page(9, 30, 1, 40));           // cpu0's time went back from 41 to 39 s
  server.Then(Page(9.25, 30.75, 1, 40));     // cpu0 0.25 of 1, cpu1 nothing
  server.Then(HttpReply(200, "<html>maintenance</html>"));
  server.Then(Page(9.25, 30.75, 1.5, 40.5)); // cpu0 nothing, cpu1 0.5 of 1
  const std::unique_ptr<TLoadSource> source = Make(server.Url("/metrics"));
  EXPECT_EQ(source->MachineName(), "127.0.0.1");

  EXPECT_FALSE(Tick(*source));  // one page: no load yet
  EXPECT_NE(source->FailureReason().find("first"), std::string::npos) << source->FailureReason();
  std::optional<TLoadReading> r = Tick(*source);
  ASSERT_TRUE(r) << source->FailureReason();
  EXPECT_EQ(r->Cores[0].Name, "cpu0");
  EXPECT_EQ(Loads(*r), (TLoads{50, 100}));
  EXPECT_EQ(r->Total, 75);
  EXPECT_FALSE(Tick(*source));
  EXPECT_EQ(source->FailureReason(), "HTTP status 500");
  EXPECT_FALSE(Tick(*source));
  EXPECT_NE(source->FailureReason().find("backwards"), std::string::npos) << source->FailureReason();
  r = Tick(*source);  // measured from the counters that went back
  ASSERT_TRUE(r) << source->FailureReason();
  EXPECT_EQ(Loads(*r), (TLoads{25, 100}));
  EXPECT_EQ(r->Total, 25);
  EXPECT_FALSE(Tick(*source));
  EXPECT_NE(source->FailureReason().find("node_cpu_seconds_total"), std::string::npos);
  r = Tick(*source);
  ASSERT_TRUE(r) << source->FailureReason();
  EXPECT_EQ(Loads(*r), (TLoads{25, 50}));
  EXPECT_EQ(r->Total, 50);
  EXPECT_TRUE(source->FailureReason().empty());
}

TEST(NetworkSource, AReplyNotThereByTheNextTickIsNoReading) {
  TScriptedServer server;
  server.Then(Page(1, 1, 1, 1));
  server.Then("silence");  // accepts, never answers
  server.Then(Page(2, 2, 2, 2));
  const std::unique_ptr<TLoadSource> source = Make(server.Url("/metrics"));
  EXPECT_FALSE(source->Read()); // the first page (no load yet); asks the silent one
  EXPECT_FALSE(source->Read()); // at once: nothing yet, and no second request meanwhile
  EXPECT_EQ(source->FailureReason(), "no reply within a second");
  static_cast<TNetworkLoadSource&>(*source).WaitForReply();
  EXPECT_EQ(server.Server().Requests(), 2);
  EXPECT_FALSE(Tick(*source));  // the silent one was given up
  EXPECT_NE(source->FailureReason().find("Timeout"), std::string::npos) << source->FailureReason();
  const std::optional<TLoadReading> r = Tick(*source);
  ASSERT_TRUE(r) << source->FailureReason();
  EXPECT_EQ(r->Total, 50);
}

std::string Vector(const std::string& series) {
  return HttpReply(200, R"({"status":"success","data":{"resultType":"vector","result":[)" + series + "]}}");
}

TEST(NetworkSource, AServerQueryGivesATotalOrOneCorePerSeries) {
  TScriptedServer server;
  server.Then(Vector(R"({"metric":{},"value":[1,"37.5"]})"));
  server.Then(Vector(R"({"metric":{"instance":"alpha"},"value":[1,"20.4"]},)"
                     R"({"metric":{"instance":"beta"},"value":[1,"NaN"]},)"
                     R"({"metric":{"job":"node"},"value":[1,"61"]},)"
                     R"({"metric":{},"value":[1,"250"]})"));
  server.Then(Vector(R"({"metric":{"instance":"alpha"},"value":[1,"NaN"]},{"metric":{"instance":"beta"},"value":[1,"NaN"]})"));
  server.Then(Vector(""));
  server.Then(HttpReply(400, R"({"status":"error","errorType":"bad_data","error":"parse error"})"));
  server.Then(HttpReply(200, R"({"status":"error","errorType":"bad_data","error":"parse error"})"));
  const std::unique_ptr<TLoadSource> source = Make("prometheus+" + server.Url("/?query=avg(up)"));
  EXPECT_EQ(source->MachineName(), "127.0.0.1");
  EXPECT_NE(server.Server().LastRequest().find("GET /api/v1/query?query=avg(up) "), std::string::npos)
      << server.Server().LastRequest();

  std::optional<TLoadReading> r = Tick(*source);
  ASSERT_TRUE(r) << source->FailureReason();
  EXPECT_EQ(r->Total, 38);  // 37.5, halves to even
  EXPECT_TRUE(r->Cores.empty());
  r = Tick(*source);
  ASSERT_TRUE(r) << source->FailureReason();
  ASSERT_EQ(r->Cores.size(), 4u);
  EXPECT_EQ(r->Cores[0].Name, "alpha");
  EXPECT_EQ(r->Cores[1].Name, "beta");
  EXPECT_EQ(r->Cores[2].Name, "node");
  EXPECT_EQ(r->Cores[3].Name, "series 4");
  EXPECT_EQ(Loads(*r), (TLoads{20, std::nullopt, 61, 100}));
  EXPECT_EQ(r->Total, 100);  // (20.4 + 61 + 250) / 3 = 110.5, at most 100
  EXPECT_FALSE(Tick(*source));
  EXPECT_EQ(source->FailureReason(), "no series of the query has a value");
  EXPECT_FALSE(Tick(*source));
  EXPECT_EQ(source->FailureReason(), "the query gives no series");
  EXPECT_FALSE(Tick(*source));
  EXPECT_EQ(source->FailureReason(), "HTTP status 400: parse error");
  EXPECT_FALSE(Tick(*source));
  EXPECT_EQ(source->FailureReason(), "the server says: parse error");
}

TEST(NetworkSource, TheMeanOfSeveralSeriesIsTheTotal) {
  TScriptedServer server;
  server.Then(Vector(R"({"metric":{"instance":"a"},"value":[1,"10"]},{"metric":{"instance":"b"},"value":[1,"15"]})"));
  const std::unique_ptr<TLoadSource> source = Make("prometheus+" + server.Url("/?query=x"));
  const std::optional<TLoadReading> r = Tick(*source);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Total, 12);  // 12.5, halves to even
  EXPECT_EQ(Loads(*r), (TLoads{10, 15}));
}

}  // namespace
}  // namespace varnel
