// Reading and writing the settings keys through the settings file accessor.
#include "app/SettingsKeys.h"

#include "base/PixelScale.h"

namespace varnel {

const TSettingKey& SettingKey(TSettingId id) {
  for (const TSettingKey& k : SettingsReadOrder)
    if (k.Id == id) return k;
  return SettingsReadOrder[0];  // unreachable for a valid id
}

std::string SettingsFilePath(std::string_view executablePath) {
  const std::size_t slash = executablePath.rfind('/');
  std::string path(slash == std::string_view::npos ? std::string_view() : executablePath.substr(0, slash + 1));
  return path + SettingsFileName;
}

std::optional<int> ReadStoredSetting(const TIniFile& ini, TSettingId id) {
  const TSettingKey& k = SettingKey(id);
  const std::optional<int> v = IniTextToNumber(ini.ReadString(SettingsSection, k.Name, ""));
  if (v && k.Kind == skBoolean) return *v != 0 ? 1 : 0;
  return v;
}

int ReadSetting(const TIniFile& ini, TSettingId id) { return ReadStoredSetting(ini, id).value_or(SettingKey(id).Default); }

void WriteSetting(TIniFile& ini, TSettingId id, int value) {
  const TSettingKey& k = SettingKey(id);
  if (k.Kind == skBoolean) ini.WriteBool(SettingsSection, k.Name, value != 0);
  else ini.WriteInteger(SettingsSection, k.Name, value);
}

void ReadSettings(const TIniFile& ini, const std::function<void(TSettingId, int, bool)>& apply) {
  for (const TSettingKey& k : SettingsReadOrder) {
    const std::optional<int> v = ReadStoredSetting(ini, k.Id);
    apply(k.Id, v.value_or(k.Default), v.has_value());
  }
}

int ReadStoredPixelsPerInch(const TIniFile& ini) {
  const std::string text = ini.ReadString(SettingsSection, PixelsPerInchKey, "");
  const std::optional<int> v = ParsePixelsPerInch(text);
  return v && *v >= MinPixelsPerInch && *v <= MaxPixelsPerInch ? *v : DesignPixelsPerInch;
}

void WriteSettings(TIniFile& ini, const std::function<int(TSettingId)>& valueOf, int pixelsPerInch) {
  ini.BeginGroup();
  try {
    for (TSettingId id : SettingsWriteOrder) WriteSetting(ini, id, valueOf(id));
    ini.WriteInteger(SettingsSection, PixelsPerInchKey, pixelsPerInch);
  } catch (...) {
    ini.CancelGroup();
    throw;
  }
  ini.CommitGroup();
}

}  // namespace varnel
