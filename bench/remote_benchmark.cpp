// The cost of one tick's work for a load source on the network, on the window's thread: reading
// a node exporter's page of a 64-CPU machine (8 modes a CPU, guest time and the exporter's other
// metrics around them: about 1,000 sample lines, as a full exporter page of such a machine has
// for its CPUs) and the load of two such pages; and a server's reply of 64 series.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "remote/ExporterLoad.h"
#include "remote/ExporterPage.h"
#include "remote/QueryReply.h"

namespace varnel {
namespace {

// The page as an exporter writes it: its metrics in name order, a CPU's modes together.
std::string ExporterPage(int cpus, double seconds) {
  static const char* kModes[] = {"idle", "iowait", "irq", "nice", "softirq", "steal", "system", "user"};
  std::string page;
  page += "# HELP node_cpu_guest_seconds_total Seconds the CPUs spent in guests (VMs) for each mode.\n"
          "# TYPE node_cpu_guest_seconds_total counter\n";
  for (int c = 0; c < cpus; ++c)
    for (const char* m : {"nice", "user"})
      page += "node_cpu_guest_seconds_total{cpu=\"" + std::to_string(c) + "\",mode=\"" + m + "\"} 0\n";
  page += "# HELP node_cpu_seconds_total Seconds the CPUs spent in each mode.\n"
          "# TYPE node_cpu_seconds_total counter\n";
  for (int c = 0; c < cpus; ++c)
    for (int m = 0; m < 8; ++m)
      page += "node_cpu_seconds_total{cpu=\"" + std::to_string(c) + "\",mode=\"" + kModes[m] + "\"} " +
              std::to_string(seconds * (m + 1) + c * 0.37) + "\n";
  for (int c = 0; c < cpus; ++c) {  // the frequency and thermal metrics of each CPU
    page += "node_cpu_scaling_frequency_hertz{cpu=\"" + std::to_string(c) + "\"} 2.4e+09\n";
    page += "node_cpu_core_throttles_total{core=\"" + std::to_string(c) + "\",package=\"0\"} 0\n";
    page += "node_cpu_frequency_max_hertz{cpu=\"" + std::to_string(c) + "\"} 3.5e+09\n";
    page += "node_cpu_frequency_min_hertz{cpu=\"" + std::to_string(c) + "\"} 8e+08\n";
  }
  return page;
}

void BM_ExporterPage64Cpus(benchmark::State& state) {
  const std::string page = ExporterPage(64, 12345.67);
  std::vector<TCpuCounters> cpus;
  for (auto _ : state) benchmark::DoNotOptimize(ParseExporterPage(page, cpus));
  state.counters["lines"] = static_cast<double>(std::count(page.begin(), page.end(), '\n'));
  state.counters["bytes"] = static_cast<double>(page.size());
}
BENCHMARK(BM_ExporterPage64Cpus)->Unit(benchmark::kMicrosecond);

void BM_ExporterLoad64Cpus(benchmark::State& state) {
  const std::string pages[2] = {ExporterPage(64, 12345.67), ExporterPage(64, 12346.67)};
  std::vector<TCpuCounters> cpus;
  TExporterLoadMeter meter;
  int i = 0;
  for (auto _ : state) {
    ParseExporterPage(pages[i ^= 1], cpus);
    benchmark::DoNotOptimize(meter.Update(cpus));
  }
}
BENCHMARK(BM_ExporterLoad64Cpus)->Unit(benchmark::kMicrosecond);

void BM_QueryReply64Series(benchmark::State& state) {
  std::string body = R"({"status":"success","data":{"resultType":"vector","result":[)";
  for (int i = 0; i < 64; ++i)
    body += std::string(i ? "," : "") + R"({"metric":{"instance":"node)" + std::to_string(i) +
            R"(:9100","job":"node"},"value":[1733834521.123,")" + std::to_string(i * 1.5) + "\"]}";
  body += "]}}";
  TQueryReply reply;
  for (auto _ : state) benchmark::DoNotOptimize(ParseQueryReply(body, reply));
}
BENCHMARK(BM_QueryReply64Series)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varnel
