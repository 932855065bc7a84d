// The settings file's location: the command line, the executable's directory, then the user's
// configuration directory.
#include "app/SettingsLocation.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "app/SettingsKeys.h"
#include "platform/profile/FileAccess.h"

namespace varnel {
namespace {

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A path without "." and ".." steps and with one "/" between names.
std::string Normal(const std::filesystem::path& p) { return p.lexically_normal().string(); }

}  // namespace

TSettingsLocation ChooseSettingsLocation(const TSettingsEnvironment& env) {
  if (!env.IniOption.empty()) {
    std::error_code ec;
    const std::filesystem::path given(env.IniOption);
    std::filesystem::path full = std::filesystem::absolute(given, ec);
    if (ec) full = given;
    TSettingsLocation where(Normal(full));
    if (IsDirectory(where.Path))
      where.Warnings.push_back("--ini names a directory, " + where.Path + ": settings cannot be saved");
    return where;
  }

  const std::string beside = SettingsFilePath(env.ExecutablePath);
  if (CanReplaceFile(beside)) return TSettingsLocation(beside);

  TSettingsLocation where;
  std::string configHome;
  if (IsAbsolute(env.XdgConfigHome)) {
    configHome = env.XdgConfigHome;
  } else {
    if (env.XdgConfigHome && *env.XdgConfigHome)
      where.Warnings.push_back("XDG_CONFIG_HOME is not an absolute path and is ignored");
    if (IsAbsolute(env.Home)) configHome = std::string(env.Home) + "/.config";
  }
  if (configHome.empty()) {
    // Nowhere else to go: the file beside the executable, whose saves will report the failure.
    where.Path = where.StartPath = beside;
    where.Warnings.push_back("HOME is not set to an absolute path, so " + beside +
                             " is the settings file, and it cannot be written");
    return where;
  }
  where.MakeDirectory = Normal(std::filesystem::path(configHome) / "varnel");
  where.Path = where.MakeDirectory + "/" + SettingsFileName;
  where.StartPath = !Exists(where.Path) && Exists(beside) ? beside : where.Path;
  return where;
}

bool MakeSettingsDirectory(const std::string& directory) {
  if (directory.empty()) return false;
  if (IsDirectory(directory)) return true;
  const std::size_t slash = directory.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeSettingsDirectory(directory.substr(0, slash))) return false;
  if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) return false;
  return IsDirectory(directory);
}

}  // namespace varnel
