// The bodies of the fuzz targets for what a load source on the network reads: a node exporter's
// metrics page and a monitoring server's query reply. Shared with the ordinary tests that replay
// their saved corpora; each returns false when a check fails (the fuzz target then aborts).
//
//   EXPECT_TRUE(FuzzExporterPage(bytes.data(), bytes.size()));
#pragma once
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "remote/ExporterPage.h"
#include "remote/QueryReply.h"

namespace varnel::fuzz {

// ---- Exporter page -------------------------------------------------------------------------

inline bool SameCpus(const std::vector<TCpuCounters>& a, const std::vector<TCpuCounters>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].Cpu != b[i].Cpu || a[i].Present != b[i].Present) return false;
    for (int m = 0; m < kCpuModes; ++m)
      if (a[i].Seconds[m] != b[i].Seconds[m]) return false;
  }
  return true;
}

// The counters written back as a page, the way an exporter writes them.
inline std::string WriteExporterPage(const std::vector<TCpuCounters>& cpus) {
  static constexpr const char* kModes[kCpuModes] = {"user", "nice", "system", "idle", "iowait", "irq", "softirq", "steal"};
  std::string page = "# TYPE node_cpu_seconds_total counter\n";
  for (const TCpuCounters& c : cpus) {
    std::string label;
    for (char ch : c.Cpu) {
      if (ch == '\\' || ch == '"') label.push_back('\\');
      if (ch == '\n') {
        label += "\\n";
        continue;
      }
      label.push_back(ch);
    }
    for (int m = 0; m < kCpuModes; ++m) {
      if (!(c.Present & (1u << m))) continue;
      char value[40];
      std::snprintf(value, sizeof value, "%.17g", c.Seconds[m]);
      page += "node_cpu_seconds_total{cpu=\"" + label + "\",mode=\"" + kModes[m] + "\"} " + value + "\n";
    }
  }
  return page;
}

// A page that parses gives CPUs in order, each once, all with the same modes including idle,
// with finite counters of at least zero; written back and read again it gives the same; and
// lines of other metrics and comments around it change nothing.
inline bool FuzzExporterPage(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<TCpuCounters> cpus;
  const bool parsed = ParseExporterPage(text, cpus);
  std::vector<TCpuCounters> around;
  const std::string wrapped = "# HELP node_cpu_seconds_total Seconds.\nnode_cpu_seconds_totalx{cpu=\"9\"} 1\n" +
                              std::string(text) + "\nnode_load1 0.5\n# EOF\n";
  if (ParseExporterPage(wrapped, around) != parsed) return false;
  if (!parsed) return true;
  if (!SameCpus(cpus, around)) return false;
  if (cpus.empty() || cpus.size() > kMaxExporterCpus) return false;
  std::set<std::string> names;
  for (const TCpuCounters& c : cpus) {
    if (c.Present != cpus.front().Present || !(c.Present & (1u << cmIdle))) return false;
    if (!names.insert(c.Cpu).second) return false;
    for (int m = 0; m < kCpuModes; ++m)
      if (!std::isfinite(c.Seconds[m]) || c.Seconds[m] < 0 || (!(c.Present & (1u << m)) && c.Seconds[m] != 0)) return false;
  }
  std::vector<TCpuCounters> again;
  return ParseExporterPage(WriteExporterPage(cpus), again) && SameCpus(cpus, again);
}

// ---- Query reply -----------------------------------------------------------------------------

// The reference reading: the reply as a whole document, read by the rules of ParseQueryReply
// (keys in the order the reply gives them; the last of repeated keys would win, so replies
// with repeated keys are left to the invariants alone).
using TOrderedJson = nlohmann::ordered_json;

inline std::optional<std::optional<double>> ReferenceSample(const TOrderedJson& v) {
  if (v.is_number()) {
    const double d = v.get<double>();
    return std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
  }
  if (!v.is_string()) return std::nullopt;  // not a value: nothing happens
  std::string s = v.get<std::string>();
  std::size_t from = !s.empty() && s[0] == '+' ? 1 : 0;
  double d = 0;
  const auto r = std::from_chars(s.data() + from, s.data() + s.size(), d);
  if (from == s.size() || r.ec != std::errc() || r.ptr != s.data() + s.size()) throw std::invalid_argument("sample");
  return std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
}

// The reply's series, or none for a reply ParseQueryReply must refuse; `error` gets the error
// text of a status "error" reply.
inline std::optional<std::vector<TQuerySeries>> ReferenceQueryReply(const TOrderedJson& doc, std::string& error) {
  if (!doc.is_object()) return std::nullopt;
  const auto status = doc.find("status");
  if (status != doc.end() && *status == "error") {
    const auto e = doc.find("error");
    if (e != doc.end() && e->is_string()) error = e->get<std::string>();
    return std::nullopt;
  }
  if (status == doc.end() || *status != "success") return std::nullopt;
  const auto data = doc.find("data");
  if (data == doc.end() || !data->is_object()) return std::nullopt;
  const auto result = data->find("result");
  if (result == data->end() || !result->is_array()) return std::nullopt;
  const auto typeIt = data->find("resultType");
  const std::string type = typeIt != data->end() && typeIt->is_string() ? typeIt->get<std::string>() : "";
  std::vector<TQuerySeries> series;
  bool scalarSet = false, badShape = false;
  std::optional<double> scalar;
  for (std::size_t i = 0; i < result->size(); ++i) {
    const TOrderedJson& e = (*result)[i];
    if (e.is_object()) {
      if (series.size() >= kMaxQuerySeries) return std::nullopt;
      TQuerySeries& s = series.emplace_back();
      std::optional<std::string> instance, first, name;
      for (const auto& [key, v] : e.items()) {
        if (key == "metric" && v.is_object()) {
          for (const auto& [label, text] : v.items()) {
            if (!text.is_string()) continue;
            if (label == "instance") instance = text.get<std::string>();
            else if (label == "__name__") name = text.get<std::string>();
            else if (!first) first = text.get<std::string>();
          }
        }
        const auto pair = [&](const TOrderedJson& p) {  // [time, "value"]
          if (p.is_array() && p.size() > 1 && (p[1].is_string() || p[1].is_number())) s.Value = *ReferenceSample(p[1]);
        };
        if (key == "value") pair(v);
        if (key == "values" && v.is_array())
          for (const TOrderedJson& p : v) pair(p);
      }
      s.Name = instance ? *instance : first ? *first : name.value_or("");
    } else if (e.is_array()) {
      badShape = true;
    } else if (e.is_number() || e.is_string()) {
      if (i == 1) {
        scalar = *ReferenceSample(e);
        scalarSet = true;
      } else if (i > 1) {
        badShape = true;
      }
    }
  }
  if (badShape) return std::nullopt;
  if (type == "scalar") {
    if (!scalarSet || !series.empty()) return std::nullopt;
    return std::vector<TQuerySeries>{TQuerySeries{"", scalar}};
  }
  if ((type != "vector" && type != "matrix") || scalarSet) return std::nullopt;
  return series;
}

// True when a container nests deeper than `limit` or an object repeats a key.
inline bool DeepOrRepeated(std::string_view text, int limit) {
  std::vector<std::set<std::string>> keys;
  bool found = false;
  TOrderedJson::parser_callback_t watch = [&](int depth, TOrderedJson::parse_event_t event, TOrderedJson& parsed) {
    if (event == TOrderedJson::parse_event_t::object_start || event == TOrderedJson::parse_event_t::array_start) {
      if (depth >= limit) found = true;
      keys.emplace_back();
    } else if (event == TOrderedJson::parse_event_t::object_end || event == TOrderedJson::parse_event_t::array_end) {
      keys.pop_back();
    } else if (event == TOrderedJson::parse_event_t::key) {
      if (!keys.back().insert(parsed.get<std::string>()).second) found = true;
    }
    return true;
  };
  const TOrderedJson ignored = TOrderedJson::parse(text, watch, false);
  (void)ignored;
  return found;
}

// ParseQueryReply agrees with the reference reading; its error text is short and printable.
inline bool FuzzQueryReply(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TQueryReply reply;
  const bool parsed = ParseQueryReply(text, reply);
  if (reply.Error.size() > kMaxQueryErrorText) return false;
  for (char c : reply.Error)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  if (parsed && (!reply.Error.empty() || reply.Series.size() > kMaxQuerySeries)) return false;
  for (const TQuerySeries& s : reply.Series)
    if (s.Value && !std::isfinite(*s.Value)) return false;
  if (!parsed && !reply.Series.empty()) return false;

  const TOrderedJson doc = TOrderedJson::parse(text, nullptr, false);
  if (doc.is_discarded()) return !parsed;
  if (DeepOrRepeated(text, 32)) return true;
  std::string error;
  std::optional<std::vector<TQuerySeries>> expected;
  try {
    expected = ReferenceQueryReply(doc, error);
  } catch (const std::invalid_argument&) {
    return !parsed;  // a sample that is not a number
  }
  if (expected.has_value() != parsed) return false;
  if (!parsed) {
    std::string shown = error.substr(0, kMaxQueryErrorText);
    for (char& c : shown)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return reply.Error == shown;
  }
  if (expected->size() != reply.Series.size()) return false;
  for (std::size_t i = 0; i < reply.Series.size(); ++i)
    if ((*expected)[i].Name != reply.Series[i].Name || (*expected)[i].Value != reply.Series[i].Value) return false;
  return true;
}

}  // namespace varnel::fuzz
