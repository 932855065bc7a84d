// Which machine's load the window shows: the address given with --source, else the settings
// file's Source key, else this machine's. The program never writes the key: an address given on
// the command line stays out of the file, and one read from the file is kept as the user wrote it.
// The file holds no credentials; a server that needs them finds them in ~/.netrc.
//
//   TSourceSetting s = ChooseSourceSetting(cl.Source, settings.StartPath);
//   if (s.Address.empty()) UseThisMachine(); else Connect(s.Address);   // s.Origin for messages
#pragma once
#include <string>

namespace varnel {

inline constexpr const char* SourceKey = "Source";

struct TSourceSetting {
  std::string Address;  // empty: this machine
  std::string Origin;   // where the address came from: "--source" or "Source in FILE"
};

// The address from the command line when it gives one, else the Source value of section FENDUL
// of the settings file at `settingsPath` (as the file reader gives it).
TSourceSetting ChooseSourceSetting(const std::string& commandLine, const std::string& settingsPath);

}  // namespace varnel
