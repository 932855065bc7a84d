// The load of another machine, or of many, read over the network once a tick without ever
// making the window wait: TExporterLoadSource reads a node exporter's CPU counters and works
// out the load with the local sampler's rules; TQueryLoadSource asks a monitoring server's
// query API, one series giving the total and several giving one "core" each.
//
// Each tick takes the reply to the request the tick before started and starts the next one, so
// a reading is at most a second old. A reply that has not come by then, a refused connection,
// an HTTP error, a reply that does not read or counters that go backwards are a tick without a
// reading; a server that comes back is simply read again.
//
//   std::string why;
//   std::unique_ptr<TLoadSource> s = MakeNetworkLoadSource("http://build1:9100/metrics", why);
//   if (auto r = s->Read()) Plot(r->Total);          // s->MachineName() == "build1"
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "remote/ExporterLoad.h"
#include "remote/HttpFetcher.h"
#include "remote/SourceAddress.h"
#include "sampler/LoadSource.h"

namespace varnel {

// What both kinds share: the fetcher, the machine's name, the reason of the last failure.
class TNetworkLoadSource : public TLoadSource {
 public:
  // Starts the first request at once, so that the first tick has a reply.
  TNetworkLoadSource(const TSourceAddress& address, THttpOptions options);

  std::optional<TLoadReading> Read() override;
  std::string MachineName() const override { return FHost; }
  std::string FailureReason() const override { return FFailure; }

  // For tests: waits until the request under way has ended.
  void WaitForReply() const { FFetch.Wait(); }

 protected:
  // The reading a whole 2xx reply gives; none, with a reason, when it gives none.
  virtual std::optional<TLoadReading> Interpret(const std::string& body, std::string& why) = 0;
  // What the body of an HTTP error reply says, in a few words; empty when it says nothing.
  virtual std::string Explain(const std::string& body) const;

 private:
  THttpFetcher FFetch;
  std::string FHost;
  std::string FFailure;
};

class TExporterLoadSource : public TNetworkLoadSource {
 public:
  TExporterLoadSource(const TSourceAddress& address, THttpOptions options);

 protected:
  // The load since the previous page's counters, total and per CPU ("cpu0", "cpu1", ...); none
  // for the first page, which the first tick reads: the second tick has the first load.
  std::optional<TLoadReading> Interpret(const std::string& body, std::string& why) override;

 private:
  std::vector<TCpuCounters> FCpus;  // kept between pages, so its memory is reused
  TExporterLoadMeter FMeter;
  bool FHaveCounters = false;
};

class TQueryLoadSource : public TNetworkLoadSource {
 public:
  TQueryLoadSource(const TSourceAddress& address, THttpOptions options);

 protected:
  // One series: its value is the total, with no cores. Several: each is a core named as the
  // reply names it ("series N" for one without labels), and the total is the mean of those with
  // a value. Values are whole percentages, halves to even, clamped to 0..100.
  std::optional<TLoadReading> Interpret(const std::string& body, std::string& why) override;
  // The server's reason for refusing a query (HTTP 400 or 422 with its JSON error).
  std::string Explain(const std::string& body) const override;
};

// The source for an address (ParseSourceAddress's rules), or none with the reason in `why`.
std::unique_ptr<TLoadSource> MakeNetworkLoadSource(std::string_view address, std::string& why,
                                                   THttpOptions options = {});

}  // namespace varnel
