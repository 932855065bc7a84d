// The tick with the cores shown, side by side with the total alone at the same size and history:
// the program's real pens (the total's 2-pixel line, the 1-pixel busiest and core lines), the
// window's repaint included, 64 cores whose loads change every second. Arguments: the Cores
// choice (0 the total, 1 the busiest, 2 every core), width, height, seconds of history. The
// history is filled before timing. BM_CoresDayMemory gives the resident memory a window with a
// day of history takes (run it alone for each choice, so that one run's freed memory does not
// serve the next).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "bench/ProgramRig.h"

namespace {

using namespace varnel;

// The readings of 64 cores (or another count): each core a random load, one of them busy, the
// total their mean; made before the program that reads them.
class TCoreReadings {
 public:
  explicit TCoreReadings(int coreCount) : FRng(11), FCoreCount(coreCount) {}
  std::optional<TLoadReading> Next() {
    TLoadReading r;
    int sum = 0;
    for (int i = 0; i < FCoreCount; ++i) {
      const int load = i == FBusy ? 100 : static_cast<int>(FRng() % 40);
      r.Cores.push_back({"cpu" + std::to_string(i), load});
      sum += load;
    }
    FBusy = (FBusy + 7) % FCoreCount;
    r.Total = FCoreCount ? sum / FCoreCount : static_cast<int>(FRng() % 101);
    return r;
  }

 private:
  std::mt19937 FRng;
  int FCoreCount;
  int FBusy = 0;
};

// The program with a Cores choice and its history filled before timing.
class TCoresRig : private TCoreReadings, public TProgramRig {
 public:
  TCoresRig(int cores, int width, int height, int seconds, int coreCount = 64)
      : TCoreReadings(coreCount),
        TProgramRig(width, height, 96,
                    "[FENDUL]\nPlotSeconds=" + std::to_string(seconds) + "\nCores=" + std::to_string(cores) + "\n",
                    [this] { return Next(); }) {
    for (int i = 0; i < seconds; ++i) Ws.Timer.Fire();
    Ws.Flush();
    Ws.Flush();
  }
};

void BM_CoresTick(benchmark::State& state) {
  TCoresRig rig(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)),
                static_cast<int>(state.range(3)));
  for (auto _ : state) rig.Tick();
  if (!rig.Ws.MessageBox.Texts.empty()) state.SkipWithError(rig.Ws.MessageBox.Texts.front().c_str());
}
BENCHMARK(BM_CoresTick)
    ->Args({0, 332, 190, 60})
    ->Args({1, 332, 190, 60})
    ->Args({2, 332, 190, 60})
    ->Args({0, 1920, 1080, 3600})
    ->Args({1, 1920, 1080, 3600})
    ->Args({2, 1920, 1080, 3600})
    ->Args({0, 332, 190, 600})
    ->Args({1, 332, 190, 600})
    ->Args({0, 1920, 1080, 600})
    ->Args({1, 1920, 1080, 600})
    ->Args({0, 332, 190, 86400})
    ->Args({1, 332, 190, 86400})
    ->Args({0, 1920, 1080, 86400})
    ->Args({1, 1920, 1080, 86400})
    ->Unit(benchmark::kMicrosecond);

long ResidentKiB() {
  long pages = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void BM_CoresDayMemory(benchmark::State& state) {
  for (auto _ : state) {
    const long before = ResidentKiB();
    TCoresRig rig(static_cast<int>(state.range(0)), 332, 190, 86400);
    state.counters["resident_MB"] = static_cast<double>(ResidentKiB() - before) / 1024.0;
  }
}
BENCHMARK(BM_CoresDayMemory)->Arg(0)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
