// TProcStatLoadSource: the sampler's total and the cores of the same snapshot.
#include "sampler/ProcStatLoadSource.h"

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
    return true;
  }
  const TCoreLoadMeters& meters = FRegistry.Cores();
  const std::vector<TCoreLoadMeters::TCore>& cores = meters.Cores();
  if (meters.Generation() != FCoresGeneration) {
    FCoresGeneration = meters.Generation();
    FNames.resize(cores.size());
    for (std::size_t i = 0; i < FNames.size(); ++i) FNames[i] = "cpu" + std::to_string(cores[i].Number);
  }
  reading.Cores.resize(cores.size());
  for (std::size_t i = 0; i < cores.size(); ++i) {
    TCoreLoad& core = reading.Cores[i];
    if (core.Name != FNames[i]) core.Name = FNames[i];
    core.Load = cores[i].Load;
  }
  return true;
}

void TProcStatLoadSource::SetCoresWanted(bool wanted) {
  FCoresWanted = wanted;
  FRegistry.SetCoresWanted(wanted);
}

}  // namespace varnel
