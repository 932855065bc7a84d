// TProcStatLoadSource: the sampler's total and the cores of the same snapshot.
#include "sampler/ProcStatLoadSource.h"

#include <string>

#include "sampler/ReadSample.h"

namespace varnel {

std::optional<TLoadReading> TProcStatLoadSource::Read() {
  const std::optional<int> total = ReadSample(FRegistry);
  if (!total) return std::nullopt;
  TLoadReading reading;
  reading.Total = *total;
  if (!FCoresWanted) return reading;
  const TCoreLoadMeters& meters = FRegistry.Cores();
  if (meters.Generation() != FCoresGeneration) {
    FCoresGeneration = meters.Generation();
    FCores.resize(meters.Cores().size());
    for (std::size_t i = 0; i < FCores.size(); ++i) FCores[i].Name = "cpu" + std::to_string(meters.Cores()[i].Number);
  }
  for (std::size_t i = 0; i < FCores.size(); ++i) FCores[i].Load = meters.Cores()[i].Load;
  reading.Cores = FCores;
  return reading;
}

void TProcStatLoadSource::SetCoresWanted(bool wanted) {
  FCoresWanted = wanted;
  FRegistry.SetCoresWanted(wanted);
}

}  // namespace varnel
