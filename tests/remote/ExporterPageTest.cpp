// The node exporter's metrics page: the CPU counters found in it, in the forms the text format
// allows, and the pages that are no usable reading.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "remote/ExporterPage.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

constexpr unsigned kAllModes = (1u << kCpuModes) - 1;

std::vector<TCpuCounters> Parse(std::string_view page) {
  std::vector<TCpuCounters> cpus;
  EXPECT_TRUE(ParseExporterPage(page, cpus)) << page;
  return cpus;
}

TEST(ExporterPage, ReadsEveryModeOfEveryCpuOfARealPage) {
  // Saved from Debian's prometheus-node-exporter 1.5 (cpu collector only) on a 2-CPU machine;
  // the expected values are the ones its node_cpu_seconds_total lines give.
  std::ifstream in(test::SourcePath("tests/data/remote/exporter-2cpu.txt"));
  std::stringstream page;
  page << in.rdbuf();
  const std::vector<TCpuCounters> cpus = Parse(page.str());
  ASSERT_EQ(cpus.size(), 2u);
  EXPECT_EQ(cpus[0].Cpu, "0");
  EXPECT_EQ(cpus[1].Cpu, "1");
  for (const TCpuCounters& c : cpus) EXPECT_EQ(c.Present, kAllModes);
  // Each value as the page has it, found by a plain text search here.
  const std::string text = page.str();
  const char* modes[] = {"user", "nice", "system", "idle", "iowait", "irq", "softirq", "steal"};
  for (const TCpuCounters& c : cpus)
    for (int m = 0; m < kCpuModes; ++m) {
      const std::string key = "node_cpu_seconds_total{cpu=\"" + c.Cpu + "\",mode=\"" + modes[m] + "\"} ";
      const std::size_t at = text.find(key);
      ASSERT_NE(at, std::string::npos) << key;
      EXPECT_DOUBLE_EQ(c.Seconds[m], std::stod(text.substr(at + key.size()))) << key;
    }
}

TEST(ExporterPage, TakesEveryFormTheTextFormatAllows) {
  // Labels in any order and with others beside them, blanks, a trailing comma, escapes in a
  // label, a time stamp, CR LF line ends, exponents; comments, guest time and metrics whose
  // names only begin the same way are not counters of this metric.
  const std::vector<TCpuCounters> cpus = Parse(
      "# HELP node_cpu_seconds_total Seconds the CPUs spent in each mode.\n"
      "node_cpu_seconds_total_created{cpu=\"0\",mode=\"idle\"} 99\n"
      "node_cpu_guest_seconds_total{cpu=\"0\",mode=\"user\"} 77\n"
      "node_cpu_seconds_total{mode=\"idle\",cpu=\"0\"} 1.5e2\r\n"
      "  node_cpu_seconds_total { host = \"a\\\"b\" , cpu = \"0\" , mode = \"user\" , } 20 1733834521000\n"
      "node_cpu_seconds_total{cpu=\"0\",mode=\"guest\"} 5\n"
      "node_cpu_seconds_total{cpu=\"1\",mode=\"user\"}\t0.25\n"
      "node_cpu_seconds_total{cpu=\"1\",mode=\"idle\"} 0\n");
  ASSERT_EQ(cpus.size(), 2u);
  EXPECT_EQ(cpus[0].Present, (1u << cmIdle) | (1u << cmUser));
  EXPECT_EQ(cpus[0].Seconds[cmIdle], 150.0);
  EXPECT_EQ(cpus[0].Seconds[cmUser], 20.0);
  EXPECT_EQ(cpus[1].Seconds[cmUser], 0.25);
}

TEST(ExporterPage, OrdersCpusByNumberThenByName) {
  std::string page;
  for (const char* cpu : {"10", "b", "2", "a", "0", "1"})
    page += std::string("node_cpu_seconds_total{cpu=\"") + cpu + "\",mode=\"idle\"} 1\n";
  std::vector<std::string> order;
  for (const TCpuCounters& c : Parse(page)) order.push_back(c.Cpu);
  EXPECT_EQ(order, (std::vector<std::string>{"0", "1", "2", "10", "a", "b"}));
}

TEST(ExporterPage, RefusesPagesThatAreNoUsableReading) {
  const std::string idle0 = "node_cpu_seconds_total{cpu=\"0\",mode=\"idle\"} 1\n";
  const std::string user0 = "node_cpu_seconds_total{cpu=\"0\",mode=\"user\"} 1\n";
  const std::string idle1 = "node_cpu_seconds_total{cpu=\"1\",mode=\"idle\"} 1\n";
  const struct {
    const char* Why;
    std::string Page;
  } cases[] = {
      {"empty", ""},
      {"another program's page", "go_goroutines 7\nnode_load1 0.5\n"},
      {"only comments", "# TYPE node_cpu_seconds_total counter\n"},
      {"no cpu label", "node_cpu_seconds_total{mode=\"idle\"} 1\n"},
      {"no mode label", "node_cpu_seconds_total{cpu=\"0\"} 1\n"},
      {"no labels", "node_cpu_seconds_total 1\n"},
      {"no value", "node_cpu_seconds_total{cpu=\"0\",mode=\"idle\"}\n"},
      {"a word for a value", "node_cpu_seconds_total{cpu=\"0\",mode=\"idle\"} lots\n"},
      {"value glued to text", "node_cpu_seconds_total{cpu=\"0\",mode=\"idle\"} 12x\n"},
      {"negative", "node_cpu_seconds_total{cpu=\"0\",mode=\"idle\"} -1\n"},
      {"not a number", "node_cpu_seconds_total{cpu=\"0\",mode=\"idle\"} NaN\n"},
      {"infinite", "node_cpu_seconds_total{cpu=\"0\",mode=\"idle\"} +Inf\n"},
      {"unclosed labels", "node_cpu_seconds_total{cpu=\"0\",mode=\"idle\" 1\n"},
      {"unclosed quote", "node_cpu_seconds_total{cpu=\"0,mode=idle} 1\n"},
      {"cut in a line", idle0 + "node_cpu_seconds_total{cpu=\"0\",mo"},
      {"a cpu twice in one mode", idle0 + idle0},
      {"a cpu label twice", "node_cpu_seconds_total{cpu=\"0\",cpu=\"1\",mode=\"idle\"} 1\n"},
      {"cpus with different modes (cut short)", idle0 + user0 + idle1},
      {"no idle time", user0},
  };
  for (const auto& c : cases) {
    std::vector<TCpuCounters> cpus;
    EXPECT_FALSE(ParseExporterPage(c.Page, cpus)) << c.Why;
  }
}

TEST(ExporterPage, RefusesMoreCpusThanTheLimit) {
  std::string page;
  for (std::size_t i = 0; i <= kMaxExporterCpus; ++i)
    page += "node_cpu_seconds_total{cpu=\"" + std::to_string(i) + "\",mode=\"idle\"} 1\n";
  std::vector<TCpuCounters> cpus;
  EXPECT_FALSE(ParseExporterPage(page, cpus));
  page.resize(page.rfind("node_cpu"));  // one fewer: at the limit
  EXPECT_TRUE(ParseExporterPage(page, cpus));
  EXPECT_EQ(cpus.size(), kMaxExporterCpus);
}

}  // namespace
}  // namespace varnel
