// TLoadSource: the out-of-line members every source shares.
#include "sampler/LoadSource.h"

#include <utility>

namespace varnel {

TLoadSource::~TLoadSource() = default;

std::string TLoadSource::MachineName() const { return {}; }

std::string TLoadSource::FailureReason() const { return {}; }

bool TLoadSource::ReadInto(TLoadReading& reading) {
  std::optional<TLoadReading> r = Read();
  if (!r) return false;
  reading = std::move(*r);
  return true;
}

void TLoadSource::SetCoresWanted(bool /*wanted*/) {}

}  // namespace varnel
