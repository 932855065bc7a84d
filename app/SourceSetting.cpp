// ChooseSourceSetting: the command line's address over the settings file's.
#include "app/SourceSetting.h"

#include "app/SettingsKeys.h"
#include "platform/profile/PrivateProfile.h"

namespace varnel {

TSourceSetting ChooseSourceSetting(const std::string& commandLine, const std::string& settingsPath) {
  if (!commandLine.empty()) return {commandLine, "--source"};
  std::string stored = GetPrivateProfileString(SettingsSection, SourceKey, "", settingsPath);
  if (stored.empty()) return {};
  return {std::move(stored), std::string(SourceKey) + " in " + settingsPath};
}

}  // namespace varnel
