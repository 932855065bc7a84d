// This machine's load source over recorded statistics files: each core's load worked out by hand
// from files of 1, 2, 64 and 256 cores (tests/data/procstat/cores.py says how each interval was
// made), cores going offline and coming back, and the total unchanged beside them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sampler/ProcStatLoadSource.h"
#include "tests/support/ProcStatFolder.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

class ProcStatLoadSource : public test::TProcStatFolder {
 protected:
  // The cores of a reading as "name=load" ("name=-" for none).
  static std::vector<std::string> Cores(const TLoadReading& r) {
    std::vector<std::string> out;
    for (const TCoreLoad& c : r.Cores) out.push_back(c.Name + "=" + (c.Load ? std::to_string(*c.Load) : "-"));
    return out;
  }
};

TEST_F(ProcStatLoadSource, OneAndTwoCoresByHand) {
  Use("cores1_a.txt");
  TProcStatLoadSource one(FStat);
  Use("cores1_b.txt");
  std::optional<TLoadReading> r = one.Read();
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Total, 12);  // 12 busy ticks of 100
  EXPECT_EQ(Cores(*r), (std::vector<std::string>{"cpu0=12"}));

  Use("cores2_a.txt");
  TProcStatLoadSource two(FStat);
  Use("cores2_b.txt");
  r = two.Read();
  ASSERT_TRUE(r);
  // cpu0: user 12 + nice 3 + system 6 + irq 3 + softirq 3 + steal 3 = 30 busy (guest 6 and
  // guest_nice 1 are inside user and nice), idle 53 + iowait 17 = 70: 30 %. cpu1: 81 of 100.
  // The total: 111 of 200 = 55.5 %, to the even 56.
  EXPECT_EQ(Cores(*r), (std::vector<std::string>{"cpu0=30", "cpu1=81"}));
  EXPECT_EQ(r->Total, 56);
  r = two.Read();  // no time has passed: each load repeated, as the total's
  ASSERT_TRUE(r);
  EXPECT_EQ(Cores(*r), (std::vector<std::string>{"cpu0=30", "cpu1=81"}));
  EXPECT_EQ(r->Total, 56);
}

// Without the cores wanted only the total is read; wanted again, each core's first load covers
// the same interval as the total's, from the last reading on.
TEST_F(ProcStatLoadSource, CoresOnlyWhileWanted) {
  Use("cores2_a.txt");
  TProcStatLoadSource two(FStat);
  two.SetCoresWanted(false);
  std::optional<TLoadReading> r = two.Read();
  ASSERT_TRUE(r);
  EXPECT_TRUE(r->Cores.empty());
  two.SetCoresWanted(true);
  Use("cores2_b.txt");
  r = two.Read();
  ASSERT_TRUE(r);
  EXPECT_EQ(Cores(*r), (std::vector<std::string>{"cpu0=30", "cpu1=81"}));  // as in OneAndTwoCoresByHand
  EXPECT_EQ(r->Total, 56);
  // Not wanted, then wanted again: each core starts anew from the last reading, and with no time
  // passed since, its load is the one before any, 0, by the total's rule (the total repeats its own).
  two.SetCoresWanted(false);
  two.SetCoresWanted(true);
  r = two.Read();
  ASSERT_TRUE(r);
  EXPECT_EQ(Cores(*r), (std::vector<std::string>{"cpu0=0", "cpu1=0"}));
  EXPECT_EQ(r->Total, 56);
}

TEST_F(ProcStatLoadSource, SixtyFourAndTwoHundredFiftySixCores) {
  for (int n : {64, 256}) {
    SCOPED_TRACE(n);
    Use("cores" + std::to_string(n) + "_a.txt");
    TProcStatLoadSource source(FStat);
    Use("cores" + std::to_string(n) + "_b.txt");
    const std::optional<TLoadReading> r = source.Read();
    ASSERT_TRUE(r);
    ASSERT_EQ(r->Cores.size(), static_cast<std::size_t>(n));
    long busy = 0;
    for (int i = 0; i < n; ++i) {
      // Core i was busy 37 i mod 101 ticks of 100.
      EXPECT_EQ(r->Cores[i].Name, "cpu" + std::to_string(i));
      EXPECT_EQ(r->Cores[i].Load, 37 * i % 101) << i;
      busy += 37 * i % 101;
    }
    // The total sums the cores' ticks: 64 cores give 3,185 of 6,400 (49.8 %), 256 cores 12,749
    // of 25,600 (49.8 %).
    EXPECT_EQ(busy, n == 64 ? 3185 : 12749);
    EXPECT_EQ(r->Total, 50);
  }
}

TEST_F(ProcStatLoadSource, CoresGoingOfflineAndComingBackShowNoLoadWhileAway) {
  Use("hotplug_a.txt");
  TProcStatLoadSource source(FStat);
  // b: cpu2 is gone; the others were busy 10, 20 and 40 ticks of 100.
  Use("hotplug_b.txt");
  std::optional<TLoadReading> r = source.Read();
  ASSERT_TRUE(r);
  EXPECT_EQ(Cores(*r), (std::vector<std::string>{"cpu0=10", "cpu1=20", "cpu2=-", "cpu3=40"}));
  // c: cpu2 is back and cpu4 is new (listed before cpu2): neither has a load before its second
  // snapshot, and the list stays in core order.
  Use("hotplug_c.txt");
  r = source.Read();
  ASSERT_TRUE(r);
  EXPECT_EQ(Cores(*r), (std::vector<std::string>{"cpu0=10", "cpu1=20", "cpu2=-", "cpu3=40", "cpu4=-"}));
  // d: core i busy 50 + i of 100; cpu2 measured from c, not from before it went away.
  Use("hotplug_d.txt");
  r = source.Read();
  ASSERT_TRUE(r);
  EXPECT_EQ(Cores(*r), (std::vector<std::string>{"cpu0=50", "cpu1=51", "cpu2=52", "cpu3=53", "cpu4=54"}));
  // A file that cannot be read: no reading at all; the cores start again when it is back.
  fs::remove(FStat);
  EXPECT_FALSE(source.Read());
  Use("hotplug_d.txt");
  r = source.Read();
  ASSERT_TRUE(r);
  EXPECT_EQ(Cores(*r), (std::vector<std::string>{"cpu0=-", "cpu1=-", "cpu2=-", "cpu3=-", "cpu4=-"}));
}

// The tick reads into the reading it kept from the tick before. Whatever that holds (another
// source's cores, more or fewer of them, names of other cores), what comes out is what a fresh
// read gives: here a twin source read the usual way, through cores going away and coming back,
// more cores than before, the cores not wanted, and a file that cannot be read.
TEST_F(ProcStatLoadSource, ReadingIntoTheLastReadingGivesAFreshReading) {
  Use("hotplug_a.txt");
  TProcStatLoadSource kept(FStat), fresh(FStat);
  TLoadReading into{-1, {{"alpha", 3}, {"beta", std::nullopt}}};
  for (int i = 0; i < 300; ++i) into.Cores.push_back({"cpu" + std::to_string(i + 1), i % 101});
  const auto step = [&](const std::string& what) {
    SCOPED_TRACE(what);
    const std::optional<TLoadReading> r = fresh.Read();
    const TLoadReading before = into;
    ASSERT_EQ(kept.ReadInto(into), r.has_value());
    if (!r) {
      EXPECT_EQ(Cores(into), Cores(before));  // left as it was
      EXPECT_EQ(into.Total, before.Total);
      return;
    }
    EXPECT_EQ(into.Total, r->Total);
    EXPECT_EQ(Cores(into), Cores(*r));
  };
  for (const char* name : {"hotplug_b.txt", "hotplug_c.txt", "hotplug_d.txt"}) {
    Use(name);
    step(name);
  }
  Use("cores64_a.txt");
  step("64 cores");
  Use("cores64_b.txt");
  step("64 cores, b");
  Use("cores2_a.txt");
  step("2 cores after 64");
  kept.SetCoresWanted(false);
  fresh.SetCoresWanted(false);
  step("not wanted");
  kept.SetCoresWanted(true);
  fresh.SetCoresWanted(true);
  Use("cores2_b.txt");
  step("wanted again");
  fs::remove(FStat);
  step("no file");
}

// Two sources of as many cores, read in turn into one reading, each with names of its own; and a
// reading whose names the caller changed (and whose stamp it cleared, as it must) gets them back.
TEST_F(ProcStatLoadSource, TwoSourcesInTurnIntoOneReading) {
  const std::string other = FStat + ".other";
  std::ofstream(other) << "cpu  10 0 10 80\ncpu4 5 0 5 40\ncpu9 5 0 5 40\n";
  Use("cores2_a.txt");  // cpu0 and cpu1
  TProcStatLoadSource a(FStat), b(other);
  TLoadReading into;
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(a.ReadInto(into));
    EXPECT_EQ(Cores(into), (std::vector<std::string>{"cpu0=0", "cpu1=0"}));
    ASSERT_TRUE(b.ReadInto(into));
    EXPECT_EQ(Cores(into), (std::vector<std::string>{"cpu4=0", "cpu9=0"}));
  }
  into.Cores[0].Name = "mine";
  into.NamesStamp = 0;
  ASSERT_TRUE(b.ReadInto(into));
  EXPECT_EQ(Cores(into), (std::vector<std::string>{"cpu4=0", "cpu9=0"}));
  fs::remove(other);
}

TEST_F(ProcStatLoadSource, AFileWithoutCoreLinesGivesTheTotalAlone) {
  Use("full_a.txt");  // "cpu" and "cpu0" lines
  TProcStatLoadSource source(FStat);
  std::ofstream(FStat) << "cpu  2000 100 500 8000\nintr 5 0\n";  // no "cpu0" line now
  const std::optional<TLoadReading> r = source.Read();
  ASSERT_TRUE(r);
  EXPECT_EQ(Cores(*r), (std::vector<std::string>{"cpu0=-"}));  // known before, away now
  std::ofstream(FStat) << "cpu  100 0 50 850\nintr 5 0\n";
  TProcStatLoadSource bare(FStat);
  std::ofstream(FStat) << "cpu  400 0 150 1050\nintr 9 0\n";
  const std::optional<TLoadReading> b = bare.Read();
  ASSERT_TRUE(b);
  EXPECT_EQ(b->Total, 67);  // 400 busy of 600
  EXPECT_TRUE(b->Cores.empty());
}

}  // namespace
}  // namespace varnel
