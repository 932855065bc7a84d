// The cost of one tick's sample: ReadSample over the Linux provider on the real /proc/stat
// (three key opens, six value queries, one read of the statistics), and over the in-memory
// registry for the sampler's own share; this machine's load source (total and cores) over
// recorded statistics files of 2, 64 and 256 cores.
#include <benchmark/benchmark.h>

#include "platform/registry/MemoryRegistry.h"
#include "platform/registry/ProcStatRegistry.h"
#include "sampler/ProcStatLoadSource.h"
#include "sampler/ReadSample.h"

#include <string>

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

// The load source over tests/data/procstat/cores<N>_b.txt as the tick reads it (into the reading
// it keeps): one pread, the total's sample and, with the cores wanted (second argument 1, the
// views that show them), every core's line. The file does not change, so each read also asks
// whether it was replaced (fstat), and every core's counters are those of the read before: the
// meters never divide (a real reading does, about 1 % more).
void BM_LoadSourceRecorded(benchmark::State& state) {
  const std::string path =
      std::string(VARNEL_SOURCE_DIR) + "/tests/data/procstat/cores" + std::to_string(state.range(0)) + "_b.txt";
  TProcStatLoadSource source(path);
  source.SetCoresWanted(state.range(1) != 0);
  TLoadReading reading;
  for (auto _ : state) {
    benchmark::DoNotOptimize(source.ReadInto(reading));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_LoadSourceRecorded)
    ->Args({2, 1})
    ->Args({64, 1})
    ->Args({256, 1})
    ->Args({2, 0})
    ->Args({256, 0})
    ->Unit(benchmark::kMicrosecond);

void BM_LoadSourceProcStat(benchmark::State& state) {
  TProcStatLoadSource source;
  for (auto _ : state) benchmark::DoNotOptimize(source.Read());
}
BENCHMARK(BM_LoadSourceProcStat)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varnel
