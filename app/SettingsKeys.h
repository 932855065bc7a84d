// The settings of the program as data: the fourteen keys of section "FENDUL" in the settings
// file beside the executable, with their types and defaults, the order start-up reads them and
// the order a save writes them. The window wires each setting to its live state.
//
//   TIniFile ini(SettingsFilePath(exePath));
//   ReadSettings(ini, [&](TSettingId id, int v, bool) { Apply(id, v); }); // read order
//   WriteSettings(ini, [&](TSettingId id) { return Current(id); }, 96); // write order, then the density
#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile/IniFile.h"

namespace varnel {

enum TSettingId : int {
  siTop,
  siLeft,
  siWidth,
  siHeight,
  siStayOnTop,
  siHideTitle,
  siColorsBackground,
  siColorsLine,
  siPlotSeconds,
  siDisplayAxis,
  si3DView,
  siLegend,
  siDisplay,
  siCores,
};
inline constexpr int SettingsCount = 14;

// An integer (colours are their 32 bits as a signed integer) or a boolean stored as "1"/"0"
// and read as "not 0".
enum TSettingKind : int { skInteger, skBoolean };

struct TSettingKey {
  TSettingId Id;
  const char* Name;
  TSettingKind Kind;
  int Default;  // a boolean's default is 1 (on) or 0 (off)
};

inline constexpr const char* SettingsSection = "FENDUL";
inline constexpr const char* SettingsFileName = "FENDUL.INI";

// The keys in the order start-up reads them.
inline constexpr std::array<TSettingKey, SettingsCount> SettingsReadOrder = {{
    {siTop, "Top", skInteger, 7},
    {siLeft, "Left", skInteger, 396},
    {siWidth, "Width", skInteger, 332},
    {siHeight, "Height", skInteger, 190},
    {siStayOnTop, "StayOnTop", skBoolean, 1},
    {siHideTitle, "HideTitle", skBoolean, 0},
    {siColorsBackground, "Colors - Background", skInteger, -2147483633},  // 0x8000000F, button face
    {siColorsLine, "Colors - Line", skInteger, 128},                      // 0x000080, maroon
    {siPlotSeconds, "PlotSeconds", skInteger, 60},
    {siDisplayAxis, "DisplayAxis", skBoolean, 0},
    {si3DView, "3D View", skBoolean, 0},
    {siLegend, "Legend", skBoolean, 1},
    {siDisplay, "Display", skInteger, 0},
    {siCores, "Cores", skInteger, 0},
}};

// The order a save writes them: as read, but the line colour before the background colour.
inline constexpr std::array<TSettingId, SettingsCount> SettingsWriteOrder = {
    siTop,        siLeft,        siWidth,         siHeight, siStayOnTop, siHideTitle, siColorsLine,
    siColorsBackground, siPlotSeconds, siDisplayAxis, si3DView, siLegend, siDisplay, siCores,
};

// The key of a setting.
const TSettingKey& SettingKey(TSettingId id);

// The settings file of an executable: its directory (with the trailing "/") and "FENDUL.INI";
// just "FENDUL.INI" for a path without a directory.
std::string SettingsFilePath(std::string_view executablePath);

// One setting as the file holds it: an integer, or a boolean as 1 or 0; nothing when the key is
// missing or not a number. Never raises.
std::optional<int> ReadStoredSetting(const TIniFile& ini, TSettingId id);
// One setting read with its default. Never raises.
int ReadSetting(const TIniFile& ini, TSettingId id);
// One setting written: an integer as signed decimal text, a boolean as "1" when value is not
// 0 and "0" otherwise. Raises Exception "Unable to write to %s" when the write fails.
void WriteSetting(TIniFile& ini, TSettingId id, int value);

// The screen density a save was made at, in pixels per inch: every save writes it after the
// thirteen keys. Left, Top, Width and Height are in that screen's pixels; a file without the key
// was written at 96.
inline constexpr const char* PixelsPerInchKey = "PixelsPerInch";
// The stored density: 96 when the key is missing, not a whole number, or outside 48..480.
int ReadStoredPixelsPerInch(const TIniFile& ini);

// Reads every setting in read order, handing each to `apply` as soon as it is read, with its
// default when the file does not hold it (the third argument then false).
void ReadSettings(const TIniFile& ini, const std::function<void(TSettingId, int, bool)>& apply);
// Writes every setting in write order, taking each value from `valueOf`, then PixelsPerInch, as
// one group: the file is replaced once, with all fourteen keys and the density or (when that
// fails, raising "Unable to write to %s" once) with none of them.
void WriteSettings(TIniFile& ini, const std::function<int(TSettingId)>& valueOf, int pixelsPerInch);

}  // namespace varnel
