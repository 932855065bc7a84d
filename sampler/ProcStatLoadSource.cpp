// TProcStatLoadSource: the sampler's total and the cores of the same snapshot.
#include "sampler/ProcStatLoadSource.h"

#include <atomic>
#include <string>

#include "sampler/ReadSample.h"

namespace varnel {

std::optional<TLoadReading> TProcStatLoadSource::Read() {
  TLoadReading reading;
  if (!ReadInto(reading)) return std::nullopt;
  return reading;
}

bool TProcStatLoadSource::ReadInto(TLoadReading& reading) {
  const std::optional<int> total = ReadSample(FRegistry);
  if (!total) return false;
  reading.Total = *total;
  if (!FCoresWanted) {
    reading.Cores.clear();
    reading.NamesStamp = 0;
    return true;
  }
  const TCoreLoadMeters& meters = FRegistry.Cores();
  const std::vector<TCoreLoadMeters::TCore>& cores = meters.Cores();
  if (meters.Generation() != FCoresGeneration) {
    FCoresGeneration = meters.Generation();
    FNames.resize(cores.size());
    for (std::size_t i = 0; i < FNames.size(); ++i) FNames[i] = "cpu" + std::to_string(cores[i].Number);
    // Unique in the process: no other source's list, nor an earlier one of this source, has it.
    static std::atomic<std::uint64_t> stamps{0};
    FNamesStamp = ++stamps;
  }
  // The names go in only when the reading does not carry this list of names already: comparing
  // each name costs as much as copying it.
  const bool named = reading.NamesStamp == FNamesStamp && reading.Cores.size() == cores.size();
  reading.Cores.resize(cores.size());
  for (std::size_t i = 0; i < cores.size(); ++i) {
    TCoreLoad& core = reading.Cores[i];
    if (!named) core.Name = FNames[i];
    core.Load = cores[i].Load;
  }
  reading.NamesStamp = FNamesStamp;
  return true;
}

void TProcStatLoadSource::SetCoresWanted(bool wanted) {
  FCoresWanted = wanted;
  FRegistry.SetCoresWanted(wanted);
}

}  // namespace varnel
