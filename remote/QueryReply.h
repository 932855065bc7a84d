// Reading a monitoring server's answer to an instant query (its HTTP API's /api/v1/query), e.g.
//
//   {"status":"success","data":{"resultType":"vector","result":[
//     {"metric":{"instance":"build1:9100"},"value":[1733834521.5,"37.25"]}]}}
//
//   TQueryReply reply;
//   if (ParseQueryReply(body, reply)) for (auto& s : reply.Series) Show(s.Name, s.Value);
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

// One series of the result: its name, the value of its "instance" label, else of its first
// label other than the metric name, else the metric name, else empty; and its value, none when
// the server sent NaN or an infinity.
struct TQuerySeries {
  std::string Name;
  std::optional<double> Value;
};

struct TQueryReply {
  std::vector<TQuerySeries> Series;
  // The server's own words when it refused the query (status "error"), at most
  // kMaxQueryErrorText bytes with control characters made blanks.
  std::string Error;
};

// The largest number of series a reply may hold, and the longest error text kept.
inline constexpr std::size_t kMaxQuerySeries = 16384;
inline constexpr std::size_t kMaxQueryErrorText = 200;

// True for a reply of status "success" whose result is a vector or a matrix (each series with
// its last value) or a scalar (one series without a name). False for anything else: JSON that
// does not parse or nests deeper than any reply does, status "error" (Error then says why),
// another result type, a result whose shape does not match its type, a value that is not a
// number, more than kMaxQuerySeries series. Parsing keeps nothing of the reply but the above.
bool ParseQueryReply(std::string_view body, TQueryReply& out);

}  // namespace varnel
