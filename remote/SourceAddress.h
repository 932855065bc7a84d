// The address of a load source on the network, as the user writes it (--source, Source=):
//
//   http://build1:9100/metrics                   a node exporter's metrics page (https too)
//   prometheus+http://monitor:9090/?query=...    a monitoring server's instant query (and
//                                                prometheus+https), the query URL-encoded
//
//   std::string why;
//   if (auto a = ParseSourceAddress(text, why)) Fetch(a->RequestUrl); else Complain(why);
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

enum class TSourceKind { Exporter, Server };

struct TSourceAddress {
  TSourceKind Kind = TSourceKind::Exporter;
  // What is requested each second: the exporter's page (/metrics when the address has no path),
  // or the server's /api/v1/query below the address's path with the address's parameters.
  std::string RequestUrl;
  // The machine named by the address, without brackets or port: the caption's "build1".
  std::string Host;
};

// The address, or none with the reason in `why`. Refused: another scheme; a user name or
// password in the address (credentials belong in ~/.netrc, never in the settings); no host or a
// host with characters no host name has; a port outside 1..65535; control characters or bytes
// outside ASCII; a '%' without two hexadecimal digits; a server address without a non-empty
// query parameter; more than 4,096 characters. Blanks around the address are dropped; blanks
// and other characters that a URL must encode (such as the braces and quotes of a query) are
// encoded in its path and parameters; a fragment ("#...") is dropped.
std::optional<TSourceAddress> ParseSourceAddress(std::string_view text, std::string& why);

}  // namespace varnel
