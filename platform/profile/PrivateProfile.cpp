// Reading and durably rewriting settings files with POSIX calls: bounded reads of regular files
// only, and writes through a flushed temporary file, rename and a flush of the directory.
#include "platform/profile/PrivateProfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/profile/FileAccess.h"
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

// Temporary files are ".<name>.<pid>-<n>.tmp" beside the file <name>.
constexpr std::string_view kTempSuffix = ".tmp";

std::string TempName(const std::string& dir, const std::string& name, unsigned n) {
  return dir + "." + name + "." + std::to_string(::getpid()) + "-" + std::to_string(n) + std::string(kTempSuffix);
}

// The process id in a temporary file's name of `name`, or 0 when the entry is not one.
pid_t TempNamePid(std::string_view entry, std::string_view name) {
  const std::size_t prefix = 1 + name.size() + 1;
  if (entry.size() <= prefix + kTempSuffix.size() || entry[0] != '.' || entry.substr(1, name.size()) != name ||
      entry[prefix - 1] != '.' || entry.substr(entry.size() - kTempSuffix.size()) != kTempSuffix)
    return 0;
  const std::string_view middle = entry.substr(prefix, entry.size() - prefix - kTempSuffix.size());
  const std::size_t dash = middle.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == middle.size() || dash > 9) return 0;
  if (middle.find_first_not_of("0123456789-") != std::string_view::npos || middle.find('-', dash + 1) != std::string_view::npos)
    return 0;
  pid_t pid = 0;
  for (char c : middle.substr(0, dash)) pid = pid * 10 + (c - '0');
  return pid;
}

// Flushes a directory's entries to disk. File systems that cannot flush a directory say so
// with EINVAL; that is no failure.
bool SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
  ::close(fd);
  return ok;
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
    const std::size_t lastEnd = text.find_last_of("\r\n");
    text = lastEnd == std::string_view::npos ? std::string_view() : text.substr(0, lastEnd + 1);
  }
  std::optional<std::string_view> value;
  if (r == frOk || r == frTooLarge) value = ProfileLookup(text, section, key);
  if (!value) {
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    value = def;
  }
  return std::string(CutValue(*value));
}

bool WritePrivateProfileStrings(const std::vector<TProfileWrite>& writes, const std::string& path) {
  if (path.empty()) return false;
  const std::optional<std::string> target = ReplaceTarget(path);
  if (!target) return false;
  std::string content;
  struct stat st;
  const TFileRead r = ReadProfileFile(*target, content, st);
  if (r == frFailed || r == frTooLarge) return false;
  if (r == frOk && !CanReplaceFile(*target)) return false;  // a file the user made read-only
  for (const TProfileWrite& w : writes) {
    std::optional<std::string> updated = ProfileUpdate(content, w.Section, w.Key, w.Value);
    if (!updated) return false;
    content = std::move(*updated);
  }
  if (content.size() > kMaxProfileFileSize) return false;

  // A temporary file beside the target, with a name no one else uses.
  const auto [dir, name] = SplitDirectory(*target);
  const mode_t mode = r == frOk ? (st.st_mode & 07777) : 0666;
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temp = TempName(dir, name, tempCounter++);
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
  ok = ok && WriteAll(fd, content) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), target->c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  return SyncDirectory(dir);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& path) {
  return WritePrivateProfileStrings({{std::string(section), std::string(key), std::string(value)}}, path);
}

int RemoveStaleProfileTemporaries(const std::string& path) {
  const std::optional<std::string> target = ReplaceTarget(path);
  if (!target || target->empty()) return 0;
  const auto [dir, name] = SplitDirectory(*target);
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return 0;
  int removed = 0;
  while (const struct dirent* e = ::readdir(d)) {
    const pid_t pid = TempNamePid(e->d_name, name);
    if (pid <= 0) continue;
    // A running process may be writing it now (our own process has no write under way).
    if (pid != ::getpid() && (::kill(pid, 0) == 0 || errno != ESRCH)) continue;
    struct stat st;
    const std::string full = dir + e->d_name;
    if (::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(full.c_str()) == 0) ++removed;
  }
  ::closedir(d);
  return removed;
}

}  // namespace varnel
