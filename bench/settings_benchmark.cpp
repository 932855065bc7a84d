// The cost of the settings file: a complete save (the thirteen keys in one durable replacement:
// a read, a flushed temporary file, a rename and a flushed directory) and a complete start-up
// read, in a temporary directory.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "app/SettingsKeys.h"

namespace varnel {
namespace {

struct TTempDir {
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "varnel-bench-XXXXXX").string();
    Path = mkdtemp(pattern.data()) ? pattern : "";
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(Path, ec);
  }
  std::string Path;
};

int DefaultOf(TSettingId id) { return SettingKey(id).Default; }

void BM_SaveThirteenKeys(benchmark::State& state) {
  TTempDir dir;
  TIniFile ini(SettingsFilePath(dir.Path + "/varnel"));
  WriteSettings(ini, DefaultOf, 96);  // the file exists, as after the first menu command
  for (auto _ : state) WriteSettings(ini, DefaultOf, 96);
}
BENCHMARK(BM_SaveThirteenKeys)->Unit(benchmark::kMicrosecond);

void BM_ReadThirteenKeys(benchmark::State& state) {
  TTempDir dir;
  TIniFile ini(SettingsFilePath(dir.Path + "/varnel"));
  WriteSettings(ini, DefaultOf, 96);
  for (auto _ : state) {
    int sum = 0;
    ReadSettings(ini, [&](TSettingId, int v, bool) { sum += v; });
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ReadThirteenKeys)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varnel
