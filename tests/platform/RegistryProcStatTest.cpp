// The processor load from /proc/stat: parsing the "cpu" line of every kernel generation, the
// busy and idle sums, counters that misbehave, and the dynamic-data provider over fixture files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "platform/registry/CpuLoad.h"
#include "platform/registry/ProcStatRegistry.h"
#include "tests/support/ProcStatFolder.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

std::optional<TCpuTimes> Parse(std::string_view line) {
  TCpuTimes t;
  if (!ParseCpuTimes(line.data(), line.size(), t)) return std::nullopt;
  return t;
}

TEST(CpuTimes, ParsesFourToTenCountersAndRejectsOtherLines) {
  auto t = Parse("cpu  1 2 3 4 5 6 7 8 9 10 11 12\ncpu0 9 9 9 9");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Count, 10);
  EXPECT_EQ(t->Ticks[0], 1u);
  EXPECT_EQ(t->Ticks[9], 10u);
  t = Parse("cpu\t5 0 3 7\r\n");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Count, 4);
  EXPECT_EQ(t->Ticks[4], 0u);
  t = Parse("cpu  5 6 7 8 12ab 9");  // stops at the first token that is not a number
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Count, 4);
  EXPECT_EQ(Parse("cpu  99999999999999999999999 1 2 3")->Ticks[0], kMaxCpuTicks);
  for (std::string_view bad : {"", "cpu", "cpu ", "cpu  1 2 3", "cpu0 1 2 3 4", "CPU 1 2 3 4", "cpu  -1 2 3 4",
                               "cpu  1 2 3\n4", "intr 1 2 3 4\ncpu 1 2 3 4"})
    EXPECT_FALSE(Parse(bad)) << "'" << bad << "'";
}

TEST(CpuLoadMeter, StealIsBusyIowaitIsIdleAndGuestIsNotCountedTwice) {
  TCpuLoadMeter meter(*Parse("cpu  0 0 0 0 0 0 0 0 0 0"));
  // Each interval gives 100 ticks of one kind against 100 ticks of plain idle.
  EXPECT_EQ(meter.Update(*Parse("cpu  0 0 0 100 0 0 0 100 0 0")), 50);    // steal: busy
  EXPECT_EQ(meter.Update(*Parse("cpu  0 0 0 200 100 0 0 100 0 0")), 0);   // iowait: idle
  EXPECT_EQ(meter.Update(*Parse("cpu  100 0 0 300 100 0 0 100 100 0")), 50);  // guest inside user
  EXPECT_EQ(meter.Update(*Parse("cpu  100 100 0 400 100 0 0 100 100 100")), 50);  // guest_nice inside nice
  EXPECT_EQ(meter.Update(*Parse("cpu  100 100 100 400 100 100 100 100 100 100")), 100);  // system, irq, softirq
  EXPECT_EQ(meter.Update(*Parse("cpu  101 100 100 407 100 100 100 100 100 100")), 12);   // 12.5 to even
  EXPECT_EQ(meter.Update(*Parse("cpu  104 100 100 407 100 100 100 100 100 100")), 100);
}

TEST(CpuLoadMeter, CountersGoingBackwardsOrStandingStillKeepTheLoadInRange) {
  TCpuLoadMeter meter(*Parse("cpu  100 0 100 800"));
  EXPECT_EQ(meter.Update(*Parse("cpu  150 0 150 900")), 50);
  EXPECT_EQ(meter.Update(*Parse("cpu  150 0 150 900")), 50);     // no time passed: repeated
  EXPECT_EQ(meter.Update(*Parse("cpu  10 0 10 10")), 50);        // everything went back
  EXPECT_EQ(meter.Update(*Parse("cpu  10 0 10 20")), 0);         // measured from the new base
  EXPECT_EQ(meter.Update(*Parse("cpu  5 0 5 30 0 0 0")), 0);     // busy went back, idle on
  const TCpuTimes huge = *Parse("cpu  99999999999999999999 99999999999999999999 99999999999999999999 1");
  EXPECT_EQ(meter.Update(huge), 100);
  EXPECT_EQ(TCpuLoadMeter().Update(*Parse("cpu  300 0 100 600")), 40);  // no start: since boot
  // Eight counters at the cap since boot: differences that sum to 2^63, six of them busy.
  std::string capped = "cpu ";
  for (int f = 0; f < 8; ++f) capped += " 99999999999999999999";
  EXPECT_EQ(TCpuLoadMeter().Update(*Parse(capped)), 75);
}

// The load against the exact fraction 100 * busy / total rounded halves to even, for intervals
// of every size: a few ticks (where halves are common), a second of many cores, and totals near
// 2^57, on both sides of where the reckoning leaves integers.
TEST(CpuLoadMeter, LoadIsTheExactFractionRoundedHalvesToEven) {
  std::mt19937_64 rng(5);
  const std::uint64_t limits[] = {16, 1000, std::uint64_t(1) << 40, (std::uint64_t(1) << 57) + 4096};
  for (const std::uint64_t limit : limits) {
    for (int i = 0; i < 20000; ++i) {
      std::uint64_t total = 1 + rng() % limit;
      if (limit > 4096 && i % 4 == 0) total = (std::uint64_t(1) << 57) - 2048 + rng() % 4096;
      const std::uint64_t busy = rng() % (total + 1);
      TCpuTimes now;
      now.Ticks[0] = busy;
      now.Ticks[3] = total - busy;
      now.Count = 4;
      const unsigned __int128 scaled = static_cast<unsigned __int128>(busy) * 100;
      std::uint64_t want = static_cast<std::uint64_t>(scaled / total);
      const unsigned __int128 twiceRest = 2 * (scaled % total);
      if (twiceRest > total || (twiceRest == total && want % 2 == 1)) ++want;
      if (total >= (std::uint64_t(1) << 57)) {
        // Past 2^57 the fraction is worked in doubles: within a whole of the exact one.
        EXPECT_LE(std::abs(TCpuLoadMeter().Update(now) - static_cast<int>(want)), 1);
        continue;
      }
      ASSERT_EQ(TCpuLoadMeter().Update(now), static_cast<int>(want)) << busy << " of " << total;
    }
  }
}

class ProcStatRegistry : public test::TProcStatFolder {
 protected:
  // The load as the sampler reads it: the size, then the data.
  static std::optional<int> Load(TRegistryProvider& reg) {
    TRegKey key = 0;
    if (reg.OpenKey(HKEY_DYN_DATA, "PerfStats\\StatData", key) != rrSuccess) return std::nullopt;
    std::uint32_t type = 0, size = 0;
    std::optional<int> result;
    if (reg.QueryValue(key, "KERNEL\\CPUUsage", &type, nullptr, &size) == rrSuccess) {
      EXPECT_EQ(type, REG_BINARY);
      EXPECT_EQ(size, 4u);
      std::uint8_t bytes[4] = {0xEE, 0xEE, 0xEE, 0xEE};
      size = 4;
      EXPECT_EQ(reg.QueryValue(key, "KERNEL\\CPUUsage", &type, bytes, &size), rrSuccess);
      result = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24;
    }
    EXPECT_EQ(reg.CloseKey(key), rrSuccess);
    return result;
  }
};

TEST_F(ProcStatRegistry, TwoSnapshotsGiveTheLoadOfTheInterval) {
  struct Pair {
    const char *First, *Second;
    int Load;
  } pairs[] = {{"full_a.txt", "full_b.txt", 50}, {"fields4_a.txt", "fields4_b.txt", 67},
               {"fields7_a.txt", "fields7_b.txt", 42}};
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.First);
    Use(p.First);
    TProcStatRegistry reg(FStat);
    Use(p.Second);
    EXPECT_EQ(Load(reg), p.Load);
    EXPECT_EQ(Load(reg), p.Load);  // no time passed since: repeated
  }
}

TEST_F(ProcStatRegistry, TheSizeQueryTakesTheSnapshotThatTheDataReadReturns) {
  Use("full_a.txt");
  TProcStatRegistry reg(FStat);
  TRegKey key = 0;
  ASSERT_EQ(reg.OpenKey(HKEY_DYN_DATA, "perfstats\\statdata", key), rrSuccess);
  Use("full_b.txt");
  std::uint32_t type = 0, size = 0;
  ASSERT_EQ(reg.QueryValue(key, "KERNEL\\CPUUsage", &type, nullptr, &size), rrSuccess);
  Use("full_c.txt");  // changes after the size query do not reach this read (c gives 100)
  std::uint8_t bytes[4] = {};
  size = 3;
  EXPECT_EQ(reg.QueryValue(key, "KERNEL\\CPUUsage", &type, bytes, &size), rrMoreData);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(reg.QueryValue(key, "KERNEL\\CPUUsage", &type, bytes, &size), rrSuccess);
  EXPECT_EQ(bytes[0], 50);
  EXPECT_EQ(reg.QueryValue(key, "KERNEL\\CPUUsage", &type, bytes, &size), rrSuccess);  // a new interval
  EXPECT_EQ(bytes[0], 100);
}

TEST_F(ProcStatRegistry, BadStatisticsGiveNoValueOrALoadInRange) {
  for (const char* bad : {"empty.txt", "truncated.txt", "nocpu_first.txt"}) {
    SCOPED_TRACE(bad);
    Use("full_a.txt");
    TProcStatRegistry reg(FStat);
    Use(bad);
    EXPECT_EQ(Load(reg), std::nullopt);
  }
  for (const char* odd : {"huge.txt", "backwards.txt"}) {
    SCOPED_TRACE(odd);
    Use("full_a.txt");
    TProcStatRegistry reg(FStat);
    Use(odd);
    const std::optional<int> load = Load(reg);
    ASSERT_TRUE(load);
    EXPECT_GE(*load, 0);
    EXPECT_LE(*load, 100);
  }
  TProcStatRegistry none(FDir + "/no-such-file");
  EXPECT_EQ(Load(none), std::nullopt);
  TProcStatRegistry dir(FDir);
  EXPECT_EQ(Load(dir), std::nullopt);
}

// The file stays open between snapshots: whichever way a writer changes it (in place, by a
// rename over it, deleting it and making it again), each snapshot reads what the name leads to.
TEST_F(ProcStatRegistry, AFileReplacedOrDeletedIsReadByItsNameAgain) {
  Use("full_a.txt");
  TProcStatRegistry reg(FStat);
  fs::copy_file(test::SourcePath("tests/data/procstat/full_b.txt"), FDir + "/next");
  fs::rename(FDir + "/next", FStat);
  EXPECT_EQ(Load(reg), 50);
  fs::remove(FStat);
  EXPECT_EQ(Load(reg), std::nullopt);
  Use("full_c.txt");
  EXPECT_EQ(Load(reg), 100);
  fs::remove(FStat);
  fs::create_directory(FStat);  // a name that no longer leads to a file
  EXPECT_EQ(Load(reg), std::nullopt);
}

TEST_F(ProcStatRegistry, PublishesExactlyTheThreeKeysAndTheirValues) {
  TProcStatRegistry reg(FDir + "/no-such-file");
  TRegKey srv = 0, stat = 0, other = 0;
  ASSERT_EQ(reg.OpenKey(HKEY_DYN_DATA, "PerfStats\\StartSrv", srv), rrSuccess);
  ASSERT_EQ(reg.OpenKey(HKEY_DYN_DATA, "PerfStats\\StartStat", stat), rrSuccess);
  EXPECT_EQ(reg.OpenKey(HKEY_DYN_DATA, "PerfStats", other), rrNotFound);
  EXPECT_EQ(reg.OpenKey(HKEY_DYN_DATA, "\\PerfStats\\StartSrv", other), rrNotFound);
  EXPECT_EQ(reg.OpenKey(0x80000002, "PerfStats\\StartSrv", other), rrInvalidHandle);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(reg.QueryValue(srv, "KERNEL", &type, nullptr, &size), rrSuccess);
  EXPECT_EQ(type, REG_BINARY);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(reg.QueryValue(srv, "KERNEL\\CPUUsage", &type, nullptr, &size), rrNotFound);
  EXPECT_EQ(reg.QueryValue(stat, "KERNEL\\CPUUsage", &type, nullptr, &size), rrSuccess);
  EXPECT_EQ(reg.QueryValue(stat, "KERNEL", &type, nullptr, &size), rrNotFound);
  EXPECT_EQ(reg.QueryValue(99, "KERNEL", &type, nullptr, &size), rrInvalidHandle);
  EXPECT_EQ(reg.CloseKey(srv), rrSuccess);
  EXPECT_EQ(reg.CloseKey(99), rrInvalidHandle);
}

TEST(ProcStatRegistryLive, TheRealStatisticsGiveALoad) {
  if (!fs::exists("/proc/stat")) GTEST_SKIP() << "no /proc/stat";
  TProcStatRegistry reg;
  usleep(20000);
  const std::optional<int> load = reg.TakeSnapshot();
  ASSERT_TRUE(load);
  EXPECT_GE(*load, 0);
  EXPECT_LE(*load, 100);
  // The kept file gives new counters on every read: a third of a second of work shows.
  const auto start = std::chrono::steady_clock::now();
  volatile unsigned spin = 0;
  while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(300)) spin = spin + 1;
  const std::optional<int> busy = reg.TakeSnapshot();
  ASSERT_TRUE(busy);
  EXPECT_GT(*busy, 0);
}

}  // namespace
}  // namespace varnel
