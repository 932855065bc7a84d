// ReplaceTarget, SplitDirectory and CanReplaceFile: the file a save replaces, and the file's own
// write permission and its directory's.
#include "platform/profile/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace varnel {

std::optional<std::string> ReplaceTarget(const std::string& path) {
  struct stat lst;
  if (::lstat(path.c_str(), &lst) != 0 || !S_ISLNK(lst.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return std::nullopt;
  std::string target(real);
  std::free(real);
  return target;
}

std::pair<std::string, std::string> SplitDirectory(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {"", path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

bool CanReplaceFile(const std::string& path) {
  if (path.empty()) return false;
  const std::optional<std::string> target = ReplaceTarget(path);
  if (!target) return false;
  struct stat st;
  if (::stat(target->c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return false;
    if ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0) return false;
  } else if (errno != ENOENT) {
    return false;
  }
  const std::string dir = SplitDirectory(*target).first;
  return ::faccessat(AT_FDCWD, dir.empty() ? "." : dir.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace varnel
