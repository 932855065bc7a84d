// CanReplaceFile: the file's own write permission and its directory's.
#include "platform/profile/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace varnel {

bool CanReplaceFile(const std::string& path) {
  if (path.empty()) return false;
  std::string target = path;
  struct stat lst;
  if (::lstat(path.c_str(), &lst) == 0) {
    if (S_ISLNK(lst.st_mode)) {
      char* real = ::realpath(path.c_str(), nullptr);
      if (!real) return false;
      target = real;
      std::free(real);
    }
    struct stat st;
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
  } else if (errno != ENOENT) {
    return false;
  }
  const std::size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  return ::faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace varnel
