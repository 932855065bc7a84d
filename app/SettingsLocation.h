// Where the settings file lives. A copy of the program kept in a folder of its own carries its
// settings beside it (portable use); an installed program, or one run as root, keeps them in
// the user's configuration folder instead:
//
//   1. `--ini FILE` names the file.
//   2. Otherwise FENDUL.INI beside the executable, when that folder belongs to the user running
//      the program and is no system folder (IsSystemFolder); when running as root, only if the
//      file is already there; and the file can be written, or does not exist and the folder can
//      be written.
//   3. Otherwise $XDG_CONFIG_HOME/varnel/FENDUL.INI ($HOME/.config/varnel/FENDUL.INI when that
//      variable is unset, empty or not absolute). Its directory is made by the first save.
//      Until that file exists, start-up reads a FENDUL.INI beside the executable, if there is
//      one, for its starting values.
//
//   TSettingsLocation where = ChooseSettingsLocation({ini, exePath, getenv("XDG_CONFIG_HOME"), getenv("HOME")});
//   for (const std::string& w : where.Warnings) fprintf(stderr, "varnel: %s\n", w.c_str());
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

struct TSettingsLocation {
  TSettingsLocation() = default;
  // One file both read and written, and no directory to make.
  explicit TSettingsLocation(std::string path) : Path(path), StartPath(std::move(path)) {}

  std::string Path;       // the file every save writes (the path "Unable to write to" names)
  std::string StartPath;  // the file start-up reads: Path, or the read-only file it takes over from
  std::string MakeDirectory;         // made (with its parents, mode 0700) before a save; may be empty
  std::vector<std::string> Warnings;  // what the user should know about the choice, one line each
};

struct TSettingsEnvironment {
  std::string_view IniOption;       // the --ini argument; empty when not given
  std::string_view ExecutablePath;  // the executable's full path
  const char* XdgConfigHome = nullptr;  // the environment variables, or null when unset
  const char* Home = nullptr;
};

// Applies the rule above to the file system as it is now. A relative --ini path is taken from
// the current directory and made absolute.
TSettingsLocation ChooseSettingsLocation(const TSettingsEnvironment& env);

// True for a folder of the system's programs and data, which no user's settings belong in: one of
// /usr, /bin, /sbin, /lib*, /opt and /etc, one of the folders this build installs into, or
// anything inside them. `folder` is absolute and without "." or ".." steps.
bool IsSystemFolder(std::string_view folder);

// Makes `directory` and any missing parents with mode 0700. Returns false when it is not a
// directory afterwards; the save that follows then reports the failure.
bool MakeSettingsDirectory(const std::string& directory);

}  // namespace varnel
