// The exporter's and the server's load sources over the shared fetch plumbing.
#include "remote/NetworkLoadSource.h"

#include <cmath>
#include <utility>

#include "base/Numbers.h"
#include "remote/QueryReply.h"

namespace varnel {
namespace {

THttpOptions WithAccept(THttpOptions options, const char* accept) {
  options.Accept = accept;
  return options;
}

int WholePercent(double v) {
  const std::int64_t p = Round(v);
  return static_cast<int>(p < 0 ? 0 : p > 100 ? 100 : p);
}

}  // namespace

TNetworkLoadSource::TNetworkLoadSource(const TSourceAddress& address, THttpOptions options)
    : FFetch(address.RequestUrl, std::move(options)), FHost(address.Host) {
  FFetch.Start();
}

std::optional<TLoadReading> TNetworkLoadSource::Read() {
  std::optional<THttpReply> reply = FFetch.Take();
  FFetch.Start();  // nothing while the request before is still under way: one at a time
  if (!reply) {
    FFailure = "no reply within a second";
    return std::nullopt;
  }
  if (!reply->Ok) {
    FFailure = reply->Error;
    if (const std::string more = reply->Body.empty() ? std::string() : Explain(reply->Body); !more.empty())
      FFailure += ": " + more;
    return std::nullopt;
  }
  std::string why;
  std::optional<TLoadReading> reading = Interpret(reply->Body, why);
  FFailure = reading ? std::string() : why;
  return reading;
}

std::string TNetworkLoadSource::Explain(const std::string&) const { return {}; }

// ---- Exporter -------------------------------------------------------------------------------

TExporterLoadSource::TExporterLoadSource(const TSourceAddress& address, THttpOptions options)
    // The plain-text format, not the newer ones an exporter may offer instead.
    : TNetworkLoadSource(address, WithAccept(std::move(options), "text/plain;version=0.0.4;q=1,*/*;q=0.1")) {}

std::optional<TLoadReading> TExporterLoadSource::Interpret(const std::string& body, std::string& why) {
  if (!ParseExporterPage(body, FCpus)) {
    why = "the page holds no complete node_cpu_seconds_total counters";
    return std::nullopt;
  }
  const bool first = !FHaveCounters;
  FHaveCounters = true;
  std::optional<TLoadReading> reading = FMeter.Update(FCpus);
  if (!reading) why = first ? "the first counters; a load is the time between two" : "the CPU counters went backwards (the machine restarted?)";
  return reading;
}

// ---- Server ---------------------------------------------------------------------------------

TQueryLoadSource::TQueryLoadSource(const TSourceAddress& address, THttpOptions options)
    : TNetworkLoadSource(address, WithAccept(std::move(options), "application/json")) {}

std::optional<TLoadReading> TQueryLoadSource::Interpret(const std::string& body, std::string& why) {
  TQueryReply reply;
  if (!ParseQueryReply(body, reply)) {
    why = reply.Error.empty() ? "the reply is not a query result" : "the server says: " + reply.Error;
    return std::nullopt;
  }
  TLoadReading reading;
  if (reply.Series.size() == 1) {
    if (!reply.Series[0].Value) {
      why = "the query's value is not a number";
      return std::nullopt;
    }
    reading.Total = WholePercent(*reply.Series[0].Value);
    return reading;
  }
  double sum = 0;
  int count = 0;
  for (std::size_t i = 0; i < reply.Series.size(); ++i) {
    const TQuerySeries& s = reply.Series[i];
    TCoreLoad& core = reading.Cores.emplace_back();
    core.Name = s.Name.empty() ? "series " + std::to_string(i + 1) : s.Name;
    if (!s.Value) continue;
    core.Load = WholePercent(*s.Value);
    sum += *s.Value;
    ++count;
  }
  if (count == 0) {
    why = reply.Series.empty() ? "the query gives no series" : "no series of the query has a value";
    return std::nullopt;
  }
  reading.Total = WholePercent(sum / count);
  return reading;
}

std::string TQueryLoadSource::Explain(const std::string& body) const {
  TQueryReply reply;
  ParseQueryReply(body, reply);
  return reply.Error;
}

std::unique_ptr<TLoadSource> MakeNetworkLoadSource(std::string_view address, std::string& why,
                                                   THttpOptions options) {
  const std::optional<TSourceAddress> a = ParseSourceAddress(address, why);
  if (!a) return nullptr;
  if (a->Kind == TSourceKind::Exporter) return std::make_unique<TExporterLoadSource>(*a, std::move(options));
  return std::make_unique<TQueryLoadSource>(*a, std::move(options));
}

}  // namespace varnel
