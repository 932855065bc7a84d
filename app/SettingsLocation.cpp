// The settings file's location: the command line, the executable's own folder when it is the
// user's and no system folder, then the user's configuration directory.
#include "app/SettingsLocation.h"

#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
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

#ifndef VARNEL_INSTALL_FOLDERS
#define VARNEL_INSTALL_FOLDERS ""
#endif

// `path` is `folder` or lies inside it.
bool IsWithin(std::string_view path, std::string_view folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
  if (folder.empty() || path.substr(0, folder.size()) != folder) return false;
  return path.size() == folder.size() || folder == "/" || path[folder.size()] == '/';
}

// True when the settings may live beside the executable at `exe` (rule 2 above).
bool MayKeepSettingsBeside(std::string_view exe, const std::string& beside) {
  const std::size_t slash = exe.rfind('/');
  if (slash == std::string_view::npos) return false;
  char* real = ::realpath(std::string(exe.substr(0, slash + 1)).c_str(), nullptr);
  if (!real) return false;
  const std::string folder(real);
  std::free(real);
  struct stat st;
  const uid_t user = ::geteuid();
  if (IsSystemFolder(folder) || ::stat(folder.c_str(), &st) != 0 || st.st_uid != user) return false;
  if (user == 0 && !Exists(beside)) return false;  // root makes no new file beside a program
  return CanReplaceFile(beside);
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
  if (MayKeepSettingsBeside(env.ExecutablePath, beside)) return TSettingsLocation(beside);

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

bool IsSystemFolder(std::string_view folder) {
  for (const char* system : {"/usr", "/bin", "/sbin", "/opt", "/etc"})
    if (IsWithin(folder, system)) return true;
  if (folder.substr(0, 4) == "/lib") return true;  // /lib, /lib32, /lib64, /libx32, ...
  std::string_view installed = VARNEL_INSTALL_FOLDERS;
  while (!installed.empty()) {
    const std::size_t colon = std::min(installed.find(':'), installed.size());
    if (IsWithin(folder, installed.substr(0, colon))) return true;
    installed.remove_prefix(std::min(colon + 1, installed.size()));
  }
  return false;
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
