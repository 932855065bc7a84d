// The load from an exporter's counters: the sampler's busy and idle modes over each CPU and over
// all of them, between two readings, CPUs that come and go, and counters that go backwards.
#include <gtest/gtest.h>

#include "remote/ExporterLoad.h"

namespace varnel {
namespace {

// A CPU's counters in seconds, in the page's mode order user, nice, system, idle, iowait, irq,
// softirq, steal.
TCpuCounters Cpu(const std::string& name, std::array<double, kCpuModes> s) {
  TCpuCounters c;
  c.Cpu = name;
  for (int m = 0; m < kCpuModes; ++m) c.Seconds[m] = s[static_cast<std::size_t>(m)];
  c.Present = (1u << kCpuModes) - 1;
  return c;
}

std::vector<std::optional<int>> Loads(const TLoadReading& r) {
  std::vector<std::optional<int>> v;
  for (const TCoreLoad& c : r.Cores) v.push_back(c.Load);
  return v;
}

TEST(ExporterLoad, BusyAndIdleModesOverEachCpuAndAllOfThem) {
  TExporterLoadMeter meter;
  // The first counters are where the first second starts: no load yet.
  EXPECT_FALSE(meter.Update({Cpu("0", {10, 2, 6, 70, 10, 1, 1, 0}), Cpu("1", {20, 0, 10, 5, 5, 0, 0, 0})}));
  // cpu0: +1 user, +1 nice, +1 system, +1 irq, +1 softirq, +0.5 steal busy; +2 idle, +1 iowait:
  // 5.5 of 8.5 -> 64.7 -> 65 %. cpu1: +0.875 steal, +0.125 iowait -> 87.5 -> 88 % (halves to
  // even); all 6.375 of 9.5 -> 67.1 -> 67 %.
  auto r = meter.Update({Cpu("0", {11, 3, 7, 72, 11, 2, 2, 0.5}), Cpu("1", {20, 0, 10, 5, 5.125, 0, 0, 0.875})});
  ASSERT_TRUE(r);
  ASSERT_EQ(r->Cores.size(), 2u);
  EXPECT_EQ(r->Cores[0].Name, "cpu0");
  EXPECT_EQ(r->Cores[1].Name, "cpu1");
  EXPECT_EQ(Loads(*r), (std::vector<std::optional<int>>{65, 88}));
  EXPECT_EQ(r->Total, 67);
  // cpu0 +0.5 user, +0.5 idle -> 50 %; cpu1 the same time again: its load stays.
  r = meter.Update({Cpu("0", {11.5, 3, 7, 72.5, 11, 2, 2, 0.5}), Cpu("1", {20, 0, 10, 5, 5.125, 0, 0, 0.875})});
  ASSERT_TRUE(r);
  EXPECT_EQ(Loads(*r), (std::vector<std::optional<int>>{50, 88}));
  EXPECT_EQ(r->Total, 50);
  // A half to the even side: cpu0 12.5 % (1 busy of 8) gives 12; nothing moved on cpu1 keeps 88;
  // all 1 of 8 -> 12.5 -> 12.
  r = meter.Update({Cpu("0", {12.5, 3, 7, 79.5, 11, 2, 2, 0.5}), Cpu("1", {20, 0, 10, 5, 5.125, 0, 0, 0.875})});
  ASSERT_TRUE(r);
  EXPECT_EQ(Loads(*r), (std::vector<std::optional<int>>{12, 88}));
  EXPECT_EQ(r->Total, 12);
  // No time at all on any CPU: every load as before.
  r = meter.Update({Cpu("0", {12.5, 3, 7, 79.5, 11, 2, 2, 0.5}), Cpu("1", {20, 0, 10, 5, 5.125, 0, 0, 0.875})});
  ASSERT_TRUE(r);
  EXPECT_EQ(Loads(*r), (std::vector<std::optional<int>>{12, 88}));
  EXPECT_EQ(r->Total, 12);
}

TEST(ExporterLoad, ACounterThatDipsIsClampedButTimeThatGoesBackIsNoReading) {
  TExporterLoadMeter meter;
  EXPECT_FALSE(meter.Update({Cpu("0", {100, 0, 0, 100, 10, 0, 0, 0})}));
  // iowait dips by 1 s while idle grows by 2 (the kernel moves time between them): the dip
  // counts as 0; busy 2 of 4 -> 50 %.
  auto r = meter.Update({Cpu("0", {102, 0, 0, 102, 9, 0, 0, 0})});
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Total, 50);
  // The machine restarted: far less time than before. No reading; the new counters are the
  // start of the next one: busy 1 of 2 -> 50 %.
  EXPECT_FALSE(meter.Update({Cpu("0", {3, 0, 0, 3, 0, 0, 0, 0})}));
  r = meter.Update({Cpu("0", {4, 0, 0, 4, 0, 0, 0, 0})});
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Total, 50);
}

TEST(ExporterLoad, CpusThatComeAndGo) {
  TExporterLoadMeter meter;
  EXPECT_FALSE(meter.Update({Cpu("0", {10, 0, 0, 10, 0, 0, 0, 0}), Cpu("1", {10, 0, 0, 10, 0, 0, 0, 0})}));
  // cpu1 goes offline and cpu2 comes: cpu0 alone makes the total (busy 3 of 4); cpu2 has no
  // load until its second reading.
  auto r = meter.Update({Cpu("0", {13, 0, 0, 11, 0, 0, 0, 0}), Cpu("2", {50, 0, 0, 50, 0, 0, 0, 0})});
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Total, 75);
  ASSERT_EQ(r->Cores.size(), 2u);
  EXPECT_EQ(r->Cores[1].Name, "cpu2");
  EXPECT_EQ(Loads(*r), (std::vector<std::optional<int>>{75, std::nullopt}));
  r = meter.Update({Cpu("0", {13, 0, 0, 12, 0, 0, 0, 0}), Cpu("2", {51, 0, 0, 50, 0, 0, 0, 0})});
  ASSERT_TRUE(r);
  EXPECT_EQ(Loads(*r), (std::vector<std::optional<int>>{0, 100}));
  EXPECT_EQ(r->Total, 50);
  // No CPU in common with the reading before: no reading.
  EXPECT_FALSE(meter.Update({Cpu("7", {1, 0, 0, 1, 0, 0, 0, 0})}));
}

}  // namespace
}  // namespace varnel
