// Each core's load from the "cpuN" lines: core lines that are malformed, repeated, out of order or
// numbered with gaps, counters that go backwards, text cut short, and files of thousands of cores
// read through the provider's growing buffer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "platform/registry/CpuLoad.h"
#include "platform/registry/ProcStatRegistry.h"

namespace varnel {
namespace {

// The cores as "N=load" ("N=-" for none).
std::vector<std::string> Loads(const TCoreLoadMeters& m) {
  std::vector<std::string> out;
  for (const auto& c : m.Cores()) out.push_back(std::to_string(c.Number) + "=" + (c.Load ? std::to_string(*c.Load) : "-"));
  return out;
}
void Update(TCoreLoadMeters& m, const std::string& text, bool complete = true) { m.Update(text.data(), text.size(), complete); }
using Strings = std::vector<std::string>;

TEST(CoreTimes, ParsesCoreLinesAndRejectsOthers) {
  std::uint32_t n = 99;
  TCpuTimes t;
  ASSERT_TRUE(ParseCoreTimes("cpu17 1 2 3 4 5\n", 16, n, t));
  EXPECT_EQ(n, 17u);
  EXPECT_EQ(t.Count, 5);
  EXPECT_EQ(t.Ticks[3], 4u);
  ASSERT_TRUE(ParseCoreTimes("cpu2147483647 1 2 3 4", 21, n, t));
  EXPECT_EQ(n, 2147483647u);
  for (std::string_view bad : {"cpu 1 2 3 4", "cpu0 1 2 3", "cpu007 1 2 3 4", "cpu2147483648 1 2 3 4", "cpu1x 1 2 3 4",
                               "cpu-1 1 2 3 4", "cpu1", "cpu1 ", "cpuN 1 2 3 4", "Cpu1 1 2 3 4"}) {
    n = 99;
    EXPECT_FALSE(ParseCoreTimes(bad.data(), bad.size(), n, t)) << bad;
    EXPECT_EQ(n, 99u);
  }
}

// Counters of every length from 1 to 22 digits, next to each other and at the very end of the
// text, against the value worked out from the digits with 128-bit arithmetic (capped).
TEST(CoreTimes, CountersOfEveryLength) {
  std::uint64_t seed = 12345;
  auto digit = [&] { return static_cast<char>('0' + (seed = seed * 6364136223846793005u + 1442695040888963407u) % 10); };
  for (int length = 1; length <= 22; ++length) {
    std::string line = "cpu3";
    std::vector<std::uint64_t> expected;
    for (int f = 0; f < 8; ++f) {
      std::string number(1, length > 1 ? static_cast<char>('1' + f) : digit());
      while (static_cast<int>(number.size()) < length) number += digit();
      unsigned __int128 v = 0;
      for (char c : number) v = std::min<unsigned __int128>(v * 10 + static_cast<unsigned>(c - '0'), kMaxCpuTicks + 1);
      expected.push_back(v > kMaxCpuTicks ? kMaxCpuTicks : static_cast<std::uint64_t>(v));
      line += (f % 2 ? "\t" : " ") + number;
    }
    for (const std::string& text : {line, line + "\n", line + " 7 7\r\ncpu4 1 1 1 1"}) {
      SCOPED_TRACE(text);
      std::uint32_t n = 0;
      TCpuTimes t;
      ASSERT_TRUE(ParseCoreTimes(text.data(), text.size(), n, t));
      EXPECT_EQ(t.Count, 8);
      for (int f = 0; f < 8; ++f) EXPECT_EQ(t.Ticks[f], expected[f]) << f;
    }
  }
}

TEST(CoreLoadMeters, MalformedRepeatedAndOutOfOrderLines) {
  TCoreLoadMeters m;
  // Gaps in the numbers, one line out of order, cpu3 repeated (the first counts).
  Update(m, "cpu  0 0 0 0\ncpu10 0 0 0 0\ncpu3 0 0 0 0\ncpu3 900 0 0 0\ncpu0 0 0 0 0\nintr 1\ncpu5 0 0 0 0\n");
  EXPECT_EQ(Loads(m), (Strings{"0=-", "3=-", "10=-"}));  // cpu5 comes after a line that is not a core's
  Update(m, "cpu  0 0 0 0\ncpu0 25 0 0 75\ncpu3 10 0 0 10\ncpu3 0 0 0 100\ncpu10 1 2\ncpu10 3 0 0 1\n");
  // cpu10's first line is malformed and its second counts: 3 busy of 4 is 75 %.
  EXPECT_EQ(Loads(m), (Strings{"0=25", "3=50", "10=75"}));
  // cpu3's line is malformed now: it is away; the others go on.
  Update(m, "cpu  0 0 0 0\ncpu0 50 0 0 150\ncpu3 7 7\ncpu10 3 0 0 5\n");
  EXPECT_EQ(Loads(m), (Strings{"0=25", "3=-", "10=0"}));
  const unsigned generation = m.Generation();
  Update(m, "cpu  0 0 0 0\ncpu0 50 0 0 150\ncpu3 20 0 0 20\ncpu10 3 0 0 5\n");
  EXPECT_EQ(Loads(m), (Strings{"0=25", "3=-", "10=0"}));  // back: a new start for cpu3
  EXPECT_EQ(m.Generation(), generation);                   // no core was added
  Update(m, "cpu  0 0 0 0\ncpu0 50 0 0 150\ncpu3 30 0 0 30\ncpu10 3 0 0 5\ncpu1 0 0 0 0\n");
  EXPECT_EQ(Loads(m), (Strings{"0=25", "1=-", "3=50", "10=0"}));
  EXPECT_NE(m.Generation(), generation);
}

// Snapshots of cores that come and go at random, in order and out of it, with repeated and
// malformed lines, in the kernel's layout of ten counters or in others, and now and then cut short,
// against the rules kept here core by core in a map: a line that is not read leaves its core away,
// the first readable line of a number counts, a core that is back or new starts again, and cores
// stay in number order.
TEST(CoreLoadMeters, CoresComingAndGoingAgainstAModel) {
  struct TModelCore {
    bool Present = false;
    std::optional<int> Load;
    TCpuLoadMeter Meter;
  };
  std::mt19937_64 rng(77);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const auto number = [&](int digits) {  // a counter of 1 to `digits` digits
    std::uint64_t v = rng() % 10;
    for (int d = pick(digits); d > 0; --d) v = v * 10 + rng() % 10;
    return std::to_string(v);
  };
  std::map<std::uint32_t, TModelCore> model;
  std::map<std::uint32_t, std::array<std::uint64_t, 2>> clock;  // each core's busy and idle time
  TCoreLoadMeters m;
  for (int round = 0; round < 1000; ++round) {
    struct TLineText {
      std::uint32_t Number;
      std::string Text;
      bool Readable;
    };
    std::vector<TLineText> lines;
    // A calm round is the usual snapshot: every core there, in order, in the kernel's layout. A
    // round of one change has one thing otherwise at one core; a wild round anything anywhere.
    enum { kCalm, kOneChange, kWild } kind = static_cast<decltype(kCalm)>(pick(3));
    const std::uint32_t changed = static_cast<std::uint32_t>(pick(24));
    const int change = pick(5);  // away, unreadable, another layout, repeated, swapped with the next
    const auto happens = [&](std::uint32_t n, int what, int oneIn) {
      return kind == kWild ? pick(oneIn) == 0 : kind == kOneChange && n == changed && change == what;
    };
    for (std::uint32_t n = 0; n < 24; ++n) {
      if (happens(n, 0, round % 7 == 0 ? 2 : 8)) continue;  // away this time
      // Counters of a few digits to a dozen: a core's start decides.
      const auto start = n % 4 == 0 ? 0 : static_cast<std::uint64_t>(std::pow(10.0, 4 + n % 9));
      auto& [busy, idle] = clock.try_emplace(n, std::array<std::uint64_t, 2>{start, 2 * start}).first->second;
      for (std::uint64_t* c : {&busy, &idle})
        *c = pick(30) == 0 ? *c / 2 : *c + static_cast<std::uint64_t>(pick(200));  // now and then backwards
      const bool readable = !happens(n, 1, 25);
      const std::string name = "cpu" + std::to_string(n);
      std::string text;
      if (!readable) {
        text = name + " 7 7";
      } else if (happens(n, 2, 3)) {
        text = name + " " + std::to_string(busy) + (pick(2) ? " 0 0 " : "\t0 0\t") + std::to_string(idle);
      } else {
        // The kernel's layout: user nice system idle iowait irq softirq steal, then guest and
        // guest_nice (inside user and nice) of any length, or none, and now and then fields a
        // later kernel may add, which make a long line.
        text = name + " " + std::to_string(busy / 2) + " 0 " + std::to_string(busy - busy / 2) + " " +
               std::to_string(idle - idle / 4) + " " + std::to_string(idle / 4) + " 0 0 0";
        if (pick(4) != 0) text += " " + number(20) + " " + number(20);
        for (int more = pick(3) == 0 ? 3 + pick(10) : 0; more > 0; --more) text += " " + std::to_string(rng() | 1ull << 63);
      }
      lines.push_back({n, text, readable});
      if (happens(n, 3, 20)) lines.push_back({n, name + " 1 1 1 1 1 1 1 1 1 1", true});  // a repeat, not counted
    }
    if (kind == kWild && pick(4) == 0) std::shuffle(lines.begin(), lines.end(), rng);
    if (kind == kOneChange && change == 4) {
      const auto at = std::find_if(lines.begin(), lines.end(), [&](const TLineText& l) { return l.Number == changed; });
      if (at != lines.end() && at + 1 != lines.end()) std::iter_swap(at, at + 1);
    }
    const std::string first = "cpu  0 0 0 0\n";
    std::string text = first;
    std::vector<std::size_t> ends;  // where each line's text ends, its line end included
    for (const TLineText& l : lines) {
      text += l.Text + "\n";
      ends.push_back(text.size());
    }
    text += "intr 1\n";
    // Now and then the read was cut short, anywhere in a line: only the lines whose end is in the
    // text count.
    const bool complete = lines.empty() || pick(5) != 0;
    if (!complete) {
      const std::size_t i = rng() % lines.size(), start = i == 0 ? first.size() : ends[i - 1];
      text.resize(start + rng() % (ends[i] - start + 1));
    }
    // The model: the first readable line of each number.
    std::map<std::uint32_t, TCpuTimes> seen;
    for (std::size_t i = 0; i < lines.size() && ends[i] <= text.size(); ++i) {
      const TLineText& l = lines[i];
      TCpuTimes t;
      std::uint32_t n = 0;
      if (l.Readable && !seen.count(l.Number) && ParseCoreTimes(l.Text.data(), l.Text.size(), n, t)) seen[l.Number] = t;
    }
    for (auto& [n, core] : model) {
      if (!seen.count(n)) {
        core.Present = false;
        core.Load.reset();
      }
    }
    for (const auto& [n, t] : seen) {
      auto it = model.find(n);
      if (it == model.end() || !it->second.Present) {
        TModelCore& core = model[n];
        core = TModelCore{true, std::nullopt, TCpuLoadMeter(t)};
      } else {
        it->second.Load = it->second.Meter.Update(t);
      }
    }
    Update(m, text, complete);
    Strings want;
    for (const auto& [n, core] : model) want.push_back(std::to_string(n) + "=" + (core.Load ? std::to_string(*core.Load) : "-"));
    ASSERT_EQ(Loads(m), want) << "round " << round << "\n" << text;
    for (const auto& c : m.Cores()) ASSERT_EQ(c.Present, model[c.Number].Present) << "round " << round << " core " << c.Number;
  }
}

TEST(CoreLoadMeters, CountersGoingBackwardsAndTextCutShort) {
  TCoreLoadMeters m;
  Update(m, "cpu 0 0 0 0\ncpu0 100 0 100 800\ncpu1 100 0 0 100\n");
  Update(m, "cpu 0 0 0 0\ncpu0 150 0 150 900\ncpu1 200 0 0 200\n");
  EXPECT_EQ(Loads(m), (Strings{"0=50", "1=50"}));
  // cpu0: everything went back: no time passed by the clamped differences, the load repeats.
  // cpu1: busy went back, idle went on: 0 busy.
  Update(m, "cpu 0 0 0 0\ncpu0 10 0 10 10\ncpu1 100 0 0 300\n");
  EXPECT_EQ(Loads(m), (Strings{"0=50", "1=0"}));
  Update(m, "cpu 0 0 0 0\ncpu0 20 0 10 20\ncpu1 160 0 0 340\n");  // from the new base
  EXPECT_EQ(Loads(m), (Strings{"0=50", "1=60"}));
  // A read cut inside cpu1's line: that line is not read (a cut number would look like a big
  // step back); a complete text without a final line end is read to its end.
  Update(m, "cpu 0 0 0 0\ncpu0 30 0 10 30\ncpu1 160 0 0 34", false);
  EXPECT_EQ(Loads(m), (Strings{"0=50", "1=-"}));
  Update(m, "cpu 0 0 0 0\ncpu0 40 0 10 40\ncpu1 160 0 0 350", true);
  EXPECT_EQ(Loads(m), (Strings{"0=50", "1=-"}));
  Update(m, "cpu 0 0 0 0\ncpu0 40 0 10 40\ncpu1 170 0 0 360", true);
  EXPECT_EQ(Loads(m), (Strings{"0=50", "1=50"}));
  Update(m, "", true);  // nothing at all: every core away
  EXPECT_EQ(Loads(m), (Strings{"0=-", "1=-"}));
}

TEST(CoreLoadMeters, ThousandsOfCoresThroughTheProvider) {
  std::string dir = testing::TempDir() + "/varnel-corefile-XXXXXX";
  ASSERT_NE(mkdtemp(dir.data()), nullptr);
  const std::string path = dir + "/stat";
  // 10,000 core lines (over 1 MB with 18-digit counters): the provider's buffer grows to hold
  // them, and the first 8,192 cores are kept. Core i is busy i mod 101 ticks of 100 between the
  // two files.
  auto write = [&](int step) {
    std::ofstream out(path);
    out << "cpu  1 2 3 4\n";
    for (int i = 0; i < 10000; ++i)
      out << "cpu" << i << " " << 100000000000000000ull + step * (i % 101) << " 0 0 "
          << 100000000000000000ull + step * (100 - i % 101) << " 0 0 0 0 0 0\n";
    out << "intr 1 2 3\n";
  };
  write(0);
  TProcStatRegistry reg(path);
  write(1);
  ASSERT_TRUE(reg.TakeSnapshot());
  const auto& cores = reg.Cores().Cores();
  ASSERT_EQ(cores.size(), TCoreLoadMeters::kMaxCores);
  for (std::size_t i = 0; i < cores.size(); i += 997) {
    EXPECT_EQ(cores[i].Number, i);
    EXPECT_EQ(cores[i].Load, static_cast<int>(i % 101)) << i;
  }
  EXPECT_EQ(cores.back().Load, 8191 % 101);
  std::filesystem::remove_all(dir);
}

// Core lines of every shape the random source makes (counters of 1 to 20 digits, one or more
// blanks or tabs between them, 3 to 10 of them, a token that is not a number, every kind of line
// end), read both alone and followed by a long further line (where the reading may take its quick
// way), against the rules worked out here token by token.
struct TModelLine {
  bool Ok = false;
  int Count = 0;
  std::uint64_t Ticks[8] = {};
};
TModelLine ModelCounters(const std::string& text, std::size_t i) {
  TModelLine m;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (m.Count < 8) {
    while (i < text.size() && blank(text[i])) ++i;
    if (i == text.size() || text[i] < '0' || text[i] > '9') break;
    unsigned __int128 v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
      v = std::min<unsigned __int128>(v * 10 + static_cast<unsigned>(text[i] - '0'), kMaxCpuTicks + 1);
    if (i < text.size() && !blank(text[i]) && text[i] != '\n' && text[i] != '\r') break;
    m.Ticks[m.Count++] = v > kMaxCpuTicks ? kMaxCpuTicks : static_cast<std::uint64_t>(v);
  }
  m.Ok = m.Count >= 4;
  return m;
}

TEST(CoreTimes, LinesOfEveryShapeAloneAndBeforeMore) {
  std::mt19937 rng(2024);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::string more = "\ncpu9 " + std::string(300, '7') + "\n";
  for (int round = 0; round < 20000; ++round) {
    std::string line = "cpu" + std::to_string(pick(300));
    const int fields = 3 + pick(8);
    const bool usual = pick(2) == 0;  // the kernel's shape: one space, 1 to 11 digits
    for (int f = 0; f < fields; ++f) {
      line += usual ? " " : std::array<const char*, 4>{" ", "  ", "\t", " \t"}[static_cast<std::size_t>(pick(4))];
      const int digits = usual ? 1 + pick(11) : 1 + pick(20);
      for (int d = 0; d < digits; ++d) line += static_cast<char>('0' + pick(10));
      if (pick(usual ? 60 : 40) == 0) line += "ab";
    }
    line += std::array<const char*, 5>{"", " 12 34", "\r", " ", "\t9"}[static_cast<std::size_t>(pick(5))];
    const TModelLine want = ModelCounters(line, line.find_first_of(" \t"));
    for (const std::string& text : {line, line + more}) {
      std::uint32_t n = 0;
      TCpuTimes t;
      t.Count = -1;
      const bool ok = ParseCoreTimes(text.data(), text.size(), n, t);
      ASSERT_EQ(ok, want.Ok) << text;
      if (!ok) {
        ASSERT_EQ(t.Count, -1) << text;  // left as it was
        continue;
      }
      ASSERT_EQ(t.Count, want.Count) << text;
      for (int f = 0; f < want.Count; ++f) ASSERT_EQ(t.Ticks[f], want.Ticks[f]) << text << " field " << f;
    }
  }
}

}  // namespace
}  // namespace varnel
