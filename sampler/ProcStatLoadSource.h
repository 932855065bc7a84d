// TProcStatLoadSource: this machine's load, from /proc/stat or a file in its format. The total
// is the sampler's reading over the dynamic-data provider (ReadSample over TProcStatRegistry),
// the cores come from the "cpuN" lines of the same read of the file.
//
//   TProcStatLoadSource local;                     // /proc/stat
//   std::optional<TLoadReading> r = local.Read();  // r->Total, r->Cores[i].Load
#pragma once
#include <string>
#include <vector>

#include "platform/registry/ProcStatRegistry.h"
#include "sampler/LoadSource.h"

namespace varnel {

class TProcStatLoadSource : public TLoadSource {
 public:
  explicit TProcStatLoadSource(std::string statPath = "/proc/stat") : FRegistry(std::move(statPath)) {}

  // The total as ReadSample gives it (none when the file cannot be read or its first line is not
  // a "cpu" line), with the cores of the same snapshot while they are wanted.
  std::optional<TLoadReading> Read() override;
  // Writes the cores' names only when `reading` does not carry this source's list of them (its
  // NamesStamp).
  bool ReadInto(TLoadReading& reading) override;
  // While the cores are not wanted only the file's first line is read. When they are wanted
  // again, each core's first load is its load since the last reading, as the total's is.
  void SetCoresWanted(bool wanted) override;

 private:
  TProcStatRegistry FRegistry;
  bool FCoresWanted = true;
  std::vector<std::string> FNames;  // the cores' names, kept from one reading to the next
  unsigned FCoresGeneration = ~0u;
  std::uint64_t FNamesStamp = 0;  // the stamp of FNames: new whenever the list changes

};

}  // namespace varnel
