// The settings file accessor over the private-profile functions, with the integer text rules
// of the settings file and the grouping of writes.
#include "platform/profile/IniFile.h"

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/Text.h"
#include "platform/profile/PrivateProfile.h"

namespace varnel {

std::optional<int> IniTextToNumber(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::string hex = "$";
    hex.append(text.substr(2));
    return TryStrToInt(hex);
  }
  return TryStrToInt(text);
}

int IniTextToInt(std::string_view text, int def) { return IniTextToNumber(text).value_or(def); }

std::string TIniFile::ReadString(std::string_view section, std::string_view ident, std::string_view def) const {
  return GetPrivateProfileString(section, ident, def, FFileName);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view ident, int def) const {
  return IniTextToInt(ReadString(section, ident, ""), def);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view ident, bool def) const {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value) {
  if (FGrouping) {
    FGroup.push_back({std::string(section), std::string(ident), std::string(value)});
    return;
  }
  if (!WritePrivateProfileString(section, ident, value, FFileName))
    throw Exception(FormatMessage(msg::UnableToWrite, {FFileName}));
}

void TIniFile::BeginGroup() {
  FGroup.clear();
  FGrouping = true;
}

void TIniFile::CommitGroup() {
  std::vector<TProfileWrite> writes = std::move(FGroup);
  CancelGroup();
  if (!WritePrivateProfileStrings(writes, FFileName)) throw Exception(FormatMessage(msg::UnableToWrite, {FFileName}));
}

void TIniFile::CancelGroup() {
  FGroup.clear();
  FGrouping = false;
}

void TIniFile::WriteInteger(std::string_view section, std::string_view ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

}  // namespace varnel
