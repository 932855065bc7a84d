// The cost of one tick's sample: ReadSample over the Linux provider on the real /proc/stat
// (three key opens, six value queries, one read of the statistics), and over the in-memory
// registry for the sampler's own share.
#include <benchmark/benchmark.h>

#include "platform/registry/MemoryRegistry.h"
#include "platform/registry/ProcStatRegistry.h"
#include "sampler/ReadSample.h"

namespace varnel {
namespace {

void BM_ReadSampleProcStat(benchmark::State& state) {
  TProcStatRegistry dyn;
  for (auto _ : state) benchmark::DoNotOptimize(ReadSample(dyn));
}
BENCHMARK(BM_ReadSampleProcStat)->Unit(benchmark::kMicrosecond);

void BM_ProcStatSnapshot(benchmark::State& state) {
  TProcStatRegistry dyn;
  for (auto _ : state) benchmark::DoNotOptimize(dyn.TakeSnapshot());
}
BENCHMARK(BM_ProcStatSnapshot)->Unit(benchmark::kMicrosecond);

void BM_ReadSampleMemory(benchmark::State& state) {
  TMemoryRegistry reg;
  reg.SetBinary("PerfStats\\StartSrv", "KERNEL", {1, 0, 0, 0});
  reg.SetBinary("PerfStats\\StartStat", "KERNEL\\CPUUsage", {2, 0, 0, 0});
  reg.SetBinary("PerfStats\\StatData", "KERNEL\\CPUUsage", {37, 0, 0, 0});
  for (auto _ : state) benchmark::DoNotOptimize(ReadSample(reg));
}
BENCHMARK(BM_ReadSampleMemory)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varnel
