// The bodies of the fuzz targets, shared with the ordinary tests that replay the saved corpora.
// Each takes arbitrary bytes, drives one parser of outside input and checks what must hold for
// every input; it returns false when a check fails (the fuzz target then aborts).
//
//   for (auto& file : corpus) EXPECT_TRUE(FuzzIntText(bytes.data(), bytes.size()));
#pragma once
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Text.h"
#include "platform/profile/IniFile.h"
#include "platform/registry/CpuLoad.h"

namespace varnel::fuzz {

// Integer text: TryStrToInt against an independent reading of the same grammar, and the
// settings rule that reads "0x" as "$".
inline std::optional<int> ReferenceStrToInt(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  t.remove_prefix(i);
  if (t.empty()) return std::nullopt;
  std::uint64_t v = 0;
  if (t[0] == '$') {
    t.remove_prefix(1);
    if (t.empty() || t.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) return std::nullopt;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v, 16);
    if (r.ec != std::errc() || v > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<int>(static_cast<std::uint32_t>(v));
  }
  const bool negative = t[0] == '-';
  if (t[0] == '-' || t[0] == '+') t.remove_prefix(1);
  if (t.empty() || t.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), v, 10);
  if (r.ec != std::errc() || v > (negative ? 2147483648ull : 2147483647ull)) return std::nullopt;
  return static_cast<int>(negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v));
}

inline bool FuzzIntText(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<int> v = TryStrToInt(text);
  if (v != ReferenceStrToInt(text)) return false;
  if (v && TryStrToInt(IntToStr(*v)) != v) return false;
  constexpr int kDefault = 424242;
  const bool hexPrefix = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::optional<int> expected = hexPrefix ? ReferenceStrToInt("$" + std::string(text.substr(2))) : v;
  return IniTextToInt(text, kDefault) == (expected ? *expected : kDefault);
}

// /proc/stat: the input, split at its first NUL byte into two snapshots, gives loads in 0..100
// and never reads outside the bytes given.
inline bool FuzzProcStat(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  std::size_t split = 0;
  while (split < size && data[split] != 0) ++split;
  TCpuLoadMeter meter;
  TCoreLoadMeters cores;
  TCpuTimes times;
  const std::pair<std::size_t, std::size_t> parts[] = {{0, split}, {split < size ? split + 1 : size, size}};
  for (const auto& [from, to] : parts) {
    // The core lines of every snapshot, read whole or as a read cut short (the input's last byte
    // chooses): cores in strictly ascending order, no more than kept, a load only while present.
    cores.Update(text + from, to - from, size == 0 || (data[size - 1] & 1) != 0);
    if (cores.Cores().size() > TCoreLoadMeters::kMaxCores) return false;
    for (std::size_t i = 0; i < cores.Cores().size(); ++i) {
      const TCoreLoadMeters::TCore& core = cores.Cores()[i];
      if (i > 0 && core.Number <= cores.Cores()[i - 1].Number) return false;
      if (core.Load && (!core.Present || *core.Load < 0 || *core.Load > 100)) return false;
    }
    if (!ParseCpuTimes(text + from, to - from, times)) continue;
    if (times.Count < 4 || times.Count > TCpuTimes::kFields) return false;
    for (std::uint64_t t : times.Ticks)
      if (t > kMaxCpuTicks) return false;
    const int load = meter.Update(times);
    if (load < 0 || load > 100) return false;
  }
  return true;
}

}  // namespace varnel::fuzz
