// The rules for a load source's address.
#include "remote/SourceAddress.h"

#include <cctype>

namespace varnel {
namespace {

constexpr std::size_t kMaxAddress = 4096;

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// True for the characters a path or a parameter may hold as they are.
bool IsUrlSafe(char c) {
  if (IsAlnum(c)) return true;
  switch (c) {
    case '-': case '.': case '_': case '~':                                     // unreserved
    case '!': case '$': case '&': case '\'': case '(': case ')': case '*':
    case '+': case ',': case ';': case '=':                                     // sub-delimiters
    case ':': case '@': case '/': case '?':
      return true;
    default:
      return false;
  }
}

// Path and parameters with the characters a URL must not carry bare encoded; false for a '%'
// that starts no escape.
bool EncodeRest(std::string_view rest, std::string& out, std::string& why) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const char c = rest[i];
    if (c == '%') {
      if (i + 2 >= rest.size() || !IsHex(rest[i + 1]) || !IsHex(rest[i + 2])) {
        why = "a '%' in the address must start an escape such as %7B";
        return false;
      }
      out.append(rest.substr(i, 3));
      i += 2;
    } else if (IsUrlSafe(c)) {
      out.push_back(c);
    } else {
      const unsigned char u = static_cast<unsigned char>(c);
      out.push_back('%');
      out.push_back(kDigits[u >> 4]);
      out.push_back(kDigits[u & 15]);
    }
  }
  return true;
}

// True when the parameters (after the '?') have a non-empty "query".
bool HasQuery(std::string_view params) {
  while (!params.empty()) {
    const std::size_t amp = params.find('&');
    const std::string_view one = params.substr(0, amp);
    if (one.size() > 6 && one.substr(0, 6) == "query=") return true;
    if (amp == std::string_view::npos) break;
    params.remove_prefix(amp + 1);
  }
  return false;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
  return true;
}

}  // namespace

std::optional<TSourceAddress> ParseSourceAddress(std::string_view text, std::string& why) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.size() > kMaxAddress) {
    why = "the address is longer than 4096 characters";
    return std::nullopt;
  }
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F) {
      why = "the address holds a control character or a byte outside ASCII";
      return std::nullopt;
    }
  }
  TSourceAddress a;
  std::string scheme;
  static constexpr std::string_view kSchemes[] = {"prometheus+https://", "prometheus+http://", "https://", "http://"};
  std::string_view rest;
  for (std::string_view s : kSchemes) {
    if (StartsWithNoCase(text, s)) {
      a.Kind = s.starts_with("prometheus+") ? TSourceKind::Server : TSourceKind::Exporter;
      scheme = s.substr(a.Kind == TSourceKind::Server ? 11 : 0);
      rest = text.substr(s.size());
      break;
    }
  }
  if (scheme.empty()) {
    why = "the address must begin with http://, https://, prometheus+http:// or prometheus+https://";
    return std::nullopt;
  }
  if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) rest = rest.substr(0, hash);
  const std::size_t authorityEnd = rest.find_first_of("/?");
  const std::string_view authority = rest.substr(0, authorityEnd);
  std::string_view tail = authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);
  if (authority.find('@') != std::string_view::npos) {
    why = "the address holds a user name or password; put credentials in ~/.netrc instead";
    return std::nullopt;
  }

  // Host: a name, an IPv4 address or a bracketed IPv6 address; then an optional port.
  std::string_view host, port;
  if (!authority.empty() && authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) {
      why = "the address's IPv6 host has no closing bracket";
      return std::nullopt;
    }
    host = authority.substr(1, close - 1);
    for (char c : host)
      if (!IsHex(c) && c != ':' && c != '.') host = {};
    const std::string_view after = authority.substr(close + 1);
    if (!after.empty() && after.front() != ':') host = {};
    if (!after.empty()) port = after.substr(1);
    if (!after.empty() && port.empty()) host = {};
  } else {
    const std::size_t colon = authority.find(':');
    host = authority.substr(0, colon);
    for (char c : host)
      if (!IsAlnum(c) && c != '-' && c != '.' && c != '_') host = {};
    if (colon != std::string_view::npos) {
      port = authority.substr(colon + 1);
      if (port.empty()) host = {};
    }
  }
  if (host.empty()) {
    why = "the address has no valid host name";
    return std::nullopt;
  }
  if (!port.empty()) {
    long n = 0;
    for (char c : port) {
      if (c < '0' || c > '9' || n > 65535) {
        n = 0;
        break;
      }
      n = n * 10 + (c - '0');
    }
    if (n < 1 || n > 65535) {
      why = "the address's port must be a number from 1 to 65535";
      return std::nullopt;
    }
  }
  a.Host = std::string(host);

  std::string encoded;
  if (!EncodeRest(tail, encoded, why)) return std::nullopt;
  const std::string base = scheme + std::string(authority);
  if (a.Kind == TSourceKind::Exporter) {
    a.RequestUrl = base + (encoded.empty() || encoded.front() == '?' ? "/metrics" + encoded : encoded);
    return a;
  }
  const std::size_t question = encoded.find('?');
  std::string path = encoded.substr(0, question);
  const std::string params = question == std::string::npos ? std::string() : encoded.substr(question + 1);
  if (!HasQuery(params)) {
    why = "a server address needs a query, as in prometheus+http://monitor:9090/?query=...";
    return std::nullopt;
  }
  while (!path.empty() && path.back() == '/') path.pop_back();
  a.RequestUrl = base + path + "/api/v1/query?" + params;
  return a;
}

}  // namespace varnel
