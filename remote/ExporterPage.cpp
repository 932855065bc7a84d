// Reading the node_cpu_seconds_total lines of a node exporter's metrics page.
#include "remote/ExporterPage.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace varnel {
namespace {

constexpr std::string_view kMetric = "node_cpu_seconds_total";
constexpr std::string_view kModeNames[kCpuModes] = {"user", "nice", "system", "idle", "iowait", "irq", "softirq", "steal"};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

// A cursor over one line (without its line end).
struct TLine {
  const char* P;
  const char* End;
  void SkipBlanks() {
    while (P < End && IsBlank(*P)) ++P;
  }
};

// A quoted label value with the format's escapes (\\, \" and \n); the cursor is on the opening
// quote. `raw` is the text between the quotes when it has no escape; otherwise `cooked` holds
// the value and `raw` views it.
bool ReadLabelValue(TLine& line, std::string_view& raw, std::string& cooked) {
  if (line.P >= line.End || *line.P != '"') return false;
  const char* start = ++line.P;
  const char* q = start;
  while (q < line.End && *q != '"' && *q != '\\') ++q;
  if (q < line.End && *q == '"') {
    raw = std::string_view(start, static_cast<std::size_t>(q - start));
    line.P = q + 1;
    return true;
  }
  cooked.assign(start, q);
  while (q < line.End && *q != '"') {
    if (*q == '\\') {
      if (++q >= line.End) return false;
      cooked.push_back(*q == 'n' ? '\n' : *q);
    } else {
      cooked.push_back(*q);
    }
    ++q;
  }
  if (q >= line.End) return false;
  line.P = q + 1;
  raw = cooked;
  return true;
}

// The label set of a sample line, from its "{"; keeps the cpu and mode values.
bool ReadLabels(TLine& line, std::string& cpu, int& mode) {
  ++line.P;  // '{'
  bool haveCpu = false;
  std::string cooked;
  mode = -1;
  for (;;) {
    line.SkipBlanks();
    if (line.P < line.End && *line.P == '}') break;
    const char* name = line.P;
    if (line.P >= line.End || !IsNameStart(*line.P)) return false;
    while (line.P < line.End && IsNameChar(*line.P)) ++line.P;
    const std::string_view labelName(name, static_cast<std::size_t>(line.P - name));
    line.SkipBlanks();
    if (line.P >= line.End || *line.P != '=') return false;
    ++line.P;
    line.SkipBlanks();
    std::string_view value;
    if (!ReadLabelValue(line, value, cooked)) return false;
    if (labelName == "cpu") {
      if (haveCpu) return false;
      cpu.assign(value);
      haveCpu = true;
    } else if (labelName == "mode") {
      if (mode != -1) return false;
      mode = kCpuModes;  // a mode of no interest, unless one of the eight
      for (int m = 0; m < kCpuModes; ++m)
        if (value == kModeNames[m]) mode = m;
    }
    line.SkipBlanks();
    if (line.P < line.End && *line.P == ',') {
      ++line.P;
      continue;
    }
    if (line.P < line.End && *line.P == '}') break;
    return false;
  }
  ++line.P;  // '}'
  return haveCpu && mode != -1;
}

// The sample value: a decimal or exponent number, or NaN and +-Inf as the format writes them.
bool ReadValue(TLine& line, double& value) {
  line.SkipBlanks();
  if (line.P < line.End && *line.P == '+') ++line.P;  // "+Inf"; from_chars takes no plus sign
  const auto [end, ec] = std::from_chars(line.P, line.End, value);
  if (ec != std::errc() || end == line.P) return false;
  line.P = end;
  return line.P == line.End || IsBlank(*line.P) || *line.P == '\r';
}

// Numbered CPUs first, by number; then the others by text.
bool CpuBefore(const TCpuCounters& a, const TCpuCounters& b) {
  auto number = [](const std::string& s) -> long long {
    if (s.empty() || s.size() > 18) return -1;
    long long n = 0;
    for (char c : s) {
      if (c < '0' || c > '9') return -1;
      n = n * 10 + (c - '0');
    }
    return n;
  };
  const long long na = number(a.Cpu), nb = number(b.Cpu);
  if ((na < 0) != (nb < 0)) return na >= 0;
  if (na >= 0 && na != nb) return na < nb;
  return a.Cpu < b.Cpu;
}

}  // namespace

bool ParseExporterPage(std::string_view text, std::vector<TCpuCounters>& out) {
  out.clear();
  std::unordered_map<std::string, std::size_t> index;  // cpu label -> entry of out
  std::string cpu;
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (!eol) eol = end;
    TLine line{p, eol};
    p = eol + (eol < end ? 1 : 0);
    line.SkipBlanks();
    const std::size_t left = static_cast<std::size_t>(line.End - line.P);
    if (left <= kMetric.size() || std::memcmp(line.P, kMetric.data(), kMetric.size()) != 0) continue;
    line.P += kMetric.size();
    if (!IsBlank(*line.P) && *line.P != '{') continue;  // a longer name that starts the same way
    line.SkipBlanks();
    int mode = -1;
    if (line.P >= line.End || *line.P != '{' || !ReadLabels(line, cpu, mode)) return false;
    double value = 0;
    if (!ReadValue(line, value) || !std::isfinite(value) || value < 0) return false;
    if (mode == kCpuModes) continue;
    // The exporter lists a CPU's modes one after another: the last entry is the usual match.
    std::size_t at;
    if (!out.empty() && out.back().Cpu == cpu) {
      at = out.size() - 1;
    } else {
      const auto [it, added] = index.try_emplace(cpu, out.size());
      at = it->second;
      if (added) {
        if (out.size() >= kMaxExporterCpus) return false;
        out.emplace_back().Cpu = cpu;
      }
    }
    TCpuCounters& c = out[at];
    const unsigned bit = 1u << mode;
    if (c.Present & bit) return false;
    c.Present |= bit;
    c.Seconds[mode] = value;
  }
  if (out.empty()) return false;
  const unsigned modes = out.front().Present;
  if (!(modes & (1u << cmIdle))) return false;
  for (const TCpuCounters& c : out)
    if (c.Present != modes) return false;
  std::sort(out.begin(), out.end(), CpuBefore);
  return true;
}

}  // namespace varnel
