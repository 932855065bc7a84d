// FormatFloat and integer text conversion.
#include "base/Text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "base/Exceptions.h"
#include "base/Messages.h"

namespace varnel {
namespace {

// One section of a pattern, split into its pieces.
struct Section {
  std::string_view text;
  int intPlaces = 0;   // digit placeholders before the decimal point
  int minInt = 0;      // placeholders from the first "0" to the point
  int minDec = 0;      // decimals always shown (up to the last "0" after the point)
  int maxDec = 0;      // placeholders after the point
  bool thousands = false;
  bool hasPoint = false;
};

// Splits at ";" outside quotes.
std::vector<std::string_view> SplitSections(std::string_view p) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  char quote = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const char c = p[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';' && out.size() < 2) {
      out.push_back(p.substr(start, i - start));
      start = i + 1;
    }
  }
  out.push_back(p.substr(start));
  return out;
}

Section Analyse(std::string_view text) {
  Section s;
  s.text = text;
  char quote = 0;
  int firstZero = -1;
  int decIndex = 0;
  for (char c : text) {
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ',') {
      s.thousands = true;
    } else if (c == '.' && !s.hasPoint) {
      s.hasPoint = true;
    } else if (c == '0' || c == '#') {
      if (!s.hasPoint) {
        if (c == '0' && firstZero < 0) firstZero = s.intPlaces;
        ++s.intPlaces;
      } else {
        ++decIndex;
        if (c == '0') s.minDec = decIndex;
        s.maxDec = decIndex;
      }
    }
  }
  s.minInt = firstZero < 0 ? 0 : s.intPlaces - firstZero;
  return s;
}

// The decimal digits of |value| rounded to maxDec decimals (halves away from zero, decided on
// the 15 significant digits a double holds): integer digits without leading zeros and exactly
// maxDec fraction digits.
void Digits(double value, int maxDec, std::string& intDigits, std::string& fracDigits) {
  // d.dddddddddddddde±XX, rounded as printf's "%.14e" rounds (to nearest, ties to even), and
  // several times faster: a chart formats its legend and axis labels on every repaint.
  char buf[64];
  const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(value), std::chars_format::scientific, 14);
  *(r.ec == std::errc() ? r.ptr : buf) = '\0';
  std::string mant;
  for (const char* p = buf; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') mant += *p;
  const char* e = buf;
  while (*e && *e != 'e') ++e;
  int exp10 = *e ? std::atoi(e + 1) : 0;
  // Digit k of mant has weight 10^(exp10 - k). Keep digits with weight >= 10^-maxDec.
  const int keep = exp10 + 1 + maxDec;  // number of mantissa digits kept
  std::string kept;
  if (keep >= 0) {
    kept = mant.substr(0, static_cast<std::size_t>(std::min<int>(keep, static_cast<int>(mant.size()))));
    while (static_cast<int>(kept.size()) < keep) kept += '0';
    const bool roundUp = keep < static_cast<int>(mant.size()) && mant[static_cast<std::size_t>(keep)] >= '5';
    if (roundUp) {
      int i = static_cast<int>(kept.size()) - 1;
      while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') kept[static_cast<std::size_t>(i--)] = '0';
      if (i >= 0) {
        ++kept[static_cast<std::size_t>(i)];
      } else {
        kept.insert(kept.begin(), '1');
      }
    }
  }
  // kept holds digits with weights 10^exp10 .. 10^-maxDec (possibly fewer leading ones when keep < 0).
  const int intCount = static_cast<int>(kept.size()) - maxDec;
  if (intCount > 0) {
    intDigits = kept.substr(0, static_cast<std::size_t>(intCount));
    fracDigits = kept.substr(static_cast<std::size_t>(intCount));
  } else {
    intDigits.clear();
    fracDigits = std::string(static_cast<std::size_t>(-intCount), '0') + kept;
  }
  std::size_t nz = 0;
  while (nz < intDigits.size() && intDigits[nz] == '0') ++nz;
  intDigits.erase(0, nz);
  if (static_cast<int>(fracDigits.size()) > maxDec) fracDigits.resize(static_cast<std::size_t>(maxDec));
  while (static_cast<int>(fracDigits.size()) < maxDec) fracDigits += '0';
}

std::string Apply(const Section& s, double value, bool showMinus) {
  std::string intDigits, fracDigits;
  Digits(value, s.maxDec, intDigits, fracDigits);
  while (static_cast<int>(intDigits.size()) < s.minInt) intDigits.insert(intDigits.begin(), '0');
  while (static_cast<int>(fracDigits.size()) > s.minDec && fracDigits.back() == '0') fracDigits.pop_back();
  const bool isZero = intDigits.find_first_not_of('0') == std::string::npos &&
                      fracDigits.find_first_not_of('0') == std::string::npos;
  const bool minus = showMinus && !isZero;

  std::string out;
  const int n = static_cast<int>(intDigits.size());
  int placeholder = 0;  // index of the integer placeholder being filled
  int decIndex = 0;
  bool afterPoint = false;
  bool minusDone = false;
  char quote = 0;
  auto emitInt = [&](int from, int to) {  // digits [from, to) of intDigits
    for (int i = from; i < to; ++i) {
      if (minus && !minusDone) {
        out += '-';
        minusDone = true;
      }
      out += intDigits[static_cast<std::size_t>(i)];
      const int rest = n - 1 - i;
      if (s.thousands && rest > 0 && rest % 3 == 0) out += ',';
    }
  };
  for (char c : s.text) {
    if (quote) {
      if (c == quote) quote = 0;
      else out += c;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ',') {
      // grouping is decided by digit positions
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
      // With no placeholder before the point the integer digits stand at the point: ".00"
      // shows 1.23456 as 1.23, never as .23.
      if (s.intPlaces == 0) emitInt(0, n);
      if (minus && !minusDone) {
        out += '-';
        minusDone = true;
      }
      if (!fracDigits.empty()) out += '.';
    } else if ((c == '0' || c == '#') && !afterPoint) {
      // Placeholder k takes digit n - intPlaces + k; the first one also takes all before it.
      const int idx = n - s.intPlaces + placeholder;
      if (placeholder == 0) emitInt(0, std::max(0, idx + 1));
      else if (idx >= 0) emitInt(idx, idx + 1);
      ++placeholder;
    } else if (c == '0' || c == '#') {
      if (decIndex < static_cast<int>(fracDigits.size())) out += fracDigits[static_cast<std::size_t>(decIndex)];
      ++decIndex;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string FormatFloat(std::string_view pattern, double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  const auto sections = SplitSections(pattern);
  if (pattern.empty() || std::fabs(value) >= 1e18) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    return buf;
  }
  const Section first = Analyse(sections[0]);
  if (sections.size() >= 3 && !sections[2].empty()) {
    std::string a, b;
    Digits(value, first.maxDec, a, b);
    if (a.find_first_not_of('0') == std::string::npos && b.find_first_not_of('0') == std::string::npos)
      return Apply(Analyse(sections[2]), 0.0, false);
  }
  if (value < 0 && sections.size() >= 2 && !sections[1].empty())
    return Apply(Analyse(sections[1]), value, false);
  return Apply(first, value, value < 0);
}

std::optional<int> TryStrToInt(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  if (i >= t.size()) return std::nullopt;
  if (t[i] == '$') {
    ++i;
    if (i >= t.size()) return std::nullopt;
    std::uint64_t v = 0;
    for (; i < t.size(); ++i) {
      const char c = t[i];
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else return std::nullopt;
      v = v * 16 + static_cast<std::uint64_t>(d);
      if (v > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<int>(static_cast<std::uint32_t>(v));
  }
  bool neg = false;
  if (t[i] == '+' || t[i] == '-') {
    neg = t[i] == '-';
    ++i;
  }
  if (i >= t.size()) return std::nullopt;
  std::int64_t v = 0;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return std::nullopt;
  }
  if (neg) v = -v;
  if (v > 2147483647LL || v < -2147483648LL) return std::nullopt;
  return static_cast<int>(v);
}

int StrToInt(std::string_view text) {
  if (auto v = TryStrToInt(text)) return *v;
  throw EConvertError(FormatMessage(msg::InvalidInteger, {text}));
}

std::string IntToStr(long long value) { return std::to_string(value); }

}  // namespace varnel
