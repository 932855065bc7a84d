// Reading and atomically rewriting settings files with POSIX calls: bounded reads of regular
// files only, and writes through a temporary file and rename.
#include "platform/profile/PrivateProfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>

#include "platform/profile/ProfileText.h"

namespace varnel {
namespace {

enum TFileRead { frOk, frMissing, frFailed, frTooLarge };

// Reads the file at `path` into `out`, at most kMaxProfileFileSize + 1 bytes. Only regular
// files are read: the open does not block on a FIFO or a device, and a directory or other
// special file counts as unreadable.
TFileRead ReadProfileFile(const std::string& path, std::string& out, struct stat& st) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return (errno == ENOENT || errno == ENOTDIR) ? frMissing : frFailed;
  TFileRead result = frOk;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    result = frFailed;
  } else {
    const std::size_t limit = kMaxProfileFileSize + 1;
    if (st.st_size > 0) out.reserve(std::min<std::size_t>(static_cast<std::size_t>(st.st_size), limit));
    char chunk[16384];
    while (out.size() < limit) {
      const std::size_t want = std::min(sizeof chunk, limit - out.size());
      const ssize_t n = ::read(fd, chunk, want);
      if (n < 0) {
        if (errno == EINTR) continue;
        result = frFailed;
        break;
      }
      if (n == 0) break;
      out.append(chunk, static_cast<std::size_t>(n));
    }
    if (result == frOk && out.size() > kMaxProfileFileSize) result = frTooLarge;
  }
  ::close(fd);
  if (result == frFailed) out.clear();
  return result;
}

std::string_view CutValue(std::string_view v) {
  v = v.substr(0, v.find('\0'));
  return v.substr(0, kMaxProfileValueLength);
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The file a write goes to: the path itself, or the target of a symbolic link.
std::optional<std::string> WriteTarget(const std::string& path) {
  struct stat lst;
  if (::lstat(path.c_str(), &lst) != 0 || !S_ISLNK(lst.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return std::nullopt;  // a dangling or looping link
  std::string target(real);
  std::free(real);
  return target;
}

std::atomic<unsigned> tempCounter{0};

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view def,
                                    const std::string& path) {
  std::string content;
  struct stat st;
  const TFileRead r = ReadProfileFile(path, content, st);
  std::string_view text = content;
  if (r == frTooLarge) {
    // Only the complete lines within the limit.
    text = text.substr(0, kMaxProfileFileSize);
    const std::size_t lastNl = text.rfind('\n');
    text = lastNl == std::string_view::npos ? std::string_view() : text.substr(0, lastNl + 1);
  }
  std::optional<std::string_view> value;
  if (r == frOk || r == frTooLarge) value = ProfileLookup(text, section, key);
  return std::string(CutValue(value ? *value : def));
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& path) {
  if (path.empty()) return false;
  const std::optional<std::string> target = WriteTarget(path);
  if (!target) return false;
  std::string content;
  struct stat st;
  const TFileRead r = ReadProfileFile(*target, content, st);
  if (r == frFailed || r == frTooLarge) return false;
  const std::optional<std::string> updated = ProfileUpdate(content, section, key, value);
  if (!updated) return false;

  // A temporary file beside the target, with a name no one else uses.
  const mode_t mode = r == frOk ? (st.st_mode & 07777) : 0666;
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temp = *target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(tempCounter++);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  bool ok = true;
  if (r == frOk) {
    // The umask may have taken bits off; the owner matters when root writes someone's file.
    struct stat made;
    ok = ::fstat(fd, &made) == 0;
    if (ok && (made.st_mode & 07777) != mode) ok = ::fchmod(fd, mode) == 0;
    if (ok && (made.st_uid != st.st_uid || made.st_gid != st.st_gid)) (void)!::fchown(fd, st.st_uid, st.st_gid);
  }
  ok = ok && WriteAll(fd, *updated);
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), target->c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace varnel
