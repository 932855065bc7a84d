// TProcStatLoadSource: the sampler's total and the cores of the same snapshot.
#include "sampler/ProcStatLoadSource.h"

#include "sampler/ReadSample.h"

namespace varnel {

std::optional<TLoadReading> TProcStatLoadSource::Read() {
  const std::optional<int> total = ReadSample(FRegistry);
  if (!total) return std::nullopt;
  TLoadReading reading;
  reading.Total = *total;
  return reading;
}

}  // namespace varnel
