// Reading and durably rewriting settings files with POSIX calls, through the file's folder held
// open: bounded reads of regular files only, and writes through a flushed temporary file, rename
// and a flush of the folder.
#include "platform/profile/PrivateProfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// Reads the file `entry` into `out`, at most kMaxProfileFileSize + 1 bytes. Only regular files
// are read: the open does not block on a FIFO or a device, a name that has become a symbolic
// link since it was resolved is not followed, and a directory or other special file counts as
// unreadable.
TFileRead ReadProfileFile(const TFolderEntry& entry, std::string& out, struct stat& st) {
  out.clear();
  const TFileHandle fd(::openat(entry.Folder.Get(), entry.Name.c_str(),
                                O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW));
  if (!fd) return errno == ENOENT ? frMissing : frFailed;
  TFileRead result = frOk;
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    result = frFailed;
  } else {
    const std::size_t limit = kMaxProfileFileSize + 1;
    if (st.st_size > 0) out.reserve(std::min<std::size_t>(static_cast<std::size_t>(st.st_size), limit));
    char chunk[16384];
    while (out.size() < limit) {
      const std::size_t want = std::min(sizeof chunk, limit - out.size());
      const ssize_t n = ::read(fd.Get(), chunk, want);
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

// Flushes a folder's entries to disk. File systems that cannot flush a directory say so with
// EINVAL; that is no failure.
bool SyncFolder(const TFileHandle& folder) {
  const TFileHandle fd(::openat(folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd && (::fsync(fd.Get()) == 0 || errno == EINVAL);
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view def,
                                    const std::string& path) {
  std::string content;
  struct stat st;
  const std::optional<TFolderEntry> entry = OpenFolderOf(path);
  const TFileRead r = entry ? ReadProfileFile(*entry, content, st) : frMissing;
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
  // The file and its folder, reached without following another user's link; everything below
  // works through the folder, so nothing renamed along the path meanwhile changes which file
  // is replaced.
  const std::optional<TFolderEntry> at = OpenFolderOf(path);
  if (!at) return false;
  std::string content;
  struct stat st;
  const TFileRead r = ReadProfileFile(*at, content, st);
  if (r == frFailed || r == frTooLarge) return false;
  if (r == frOk && !CanReplaceEntry(*at)) return false;  // a file the user made read-only
  for (const TProfileWrite& w : writes) {
    std::optional<std::string> updated = ProfileUpdate(content, w.Section, w.Key, w.Value);
    if (!updated) return false;
    content = std::move(*updated);
  }
  if (content.size() > kMaxProfileFileSize) return false;

  std::string temp;
  TFileHandle fd = CreateTemporaryBeside(*at, r == frOk ? (st.st_mode & 07777) : 0666, temp);
  if (!fd) return false;
  bool ok = r != frOk || MatchReplacedFile(fd.Get(), st);
  ok = ok && WriteAll(fd.Get(), content) && ::fsync(fd.Get()) == 0;
  ok = (::close(fd.Release()) == 0) && ok;
  ok = ok && ::renameat(at->Folder.Get(), temp.c_str(), at->Folder.Get(), at->Name.c_str()) == 0;
  if (!ok) {
    ::unlinkat(at->Folder.Get(), temp.c_str(), 0);
    return false;
  }
  return SyncFolder(at->Folder);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& path) {
  return WritePrivateProfileStrings({{std::string(section), std::string(key), std::string(value)}}, path);
}

int RemoveStaleProfileTemporaries(const std::string& path) {
  const std::optional<TFolderEntry> at = OpenFolderOf(path);
  if (!at) return 0;
  TFileHandle listing(::openat(at->Folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  DIR* d = listing ? ::fdopendir(listing.Get()) : nullptr;
  if (!d) return 0;
  listing.Release();
  const uid_t user = ::geteuid();
  int removed = 0;
  while (const struct dirent* e = ::readdir(d)) {
    const pid_t pid = TemporaryNamePid(e->d_name, at->Name);
    if (pid <= 0) continue;
    // A running process may be writing it now (our own process has no write under way).
    if (pid != ::getpid() && (::kill(pid, 0) == 0 || errno != ESRCH)) continue;
    // Only our own: in a shared folder a file of that name may be another user's.
    struct stat st;
    if (::fstatat(at->Folder.Get(), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        st.st_uid == user && ::unlinkat(at->Folder.Get(), e->d_name, 0) == 0)
      ++removed;
  }
  ::closedir(d);
  return removed;
}

}  // namespace varnel
