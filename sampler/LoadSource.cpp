// TLoadSource: the out-of-line members every source shares.
#include "sampler/LoadSource.h"

namespace varnel {

TLoadSource::~TLoadSource() = default;

std::string TLoadSource::MachineName() const { return {}; }

std::string TLoadSource::FailureReason() const { return {}; }

void TLoadSource::SetCoresWanted(bool /*wanted*/) {}

}  // namespace varnel
