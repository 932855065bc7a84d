// Files reached through their folders: the walk along a path that follows only links no other
// user can have planted, the checks a save makes before replacing a file, the temporary files
// of a replacement, and the whole replacement of an output file.
#include "platform/profile/FileAccess.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <deque>

namespace varnel {
namespace {

constexpr int kMaxLinks = 40;  // as many as the kernel follows in one path

// One name of a path still to walk; `EndsLink` marks the last name of a link that was itself the
// last name of the path, which must exist (a dangling link is no place to create a file).
struct TStep {
  std::string Name;
  bool EndsLink;
};

// Puts the names of `path` in front of `steps`, in order; empty names (from "//" or a trailing
// "/") are dropped.
void PushFront(std::deque<TStep>& steps, const std::string& path, bool endsLink) {
  std::deque<TStep> names;
  for (std::size_t at = 0; at <= path.size();) {
    std::size_t slash = path.find('/', at);
    if (slash == std::string::npos) slash = path.size();
    if (slash > at) names.push_back({path.substr(at, slash - at), false});
    at = slash + 1;
  }
  if (!names.empty()) names.back().EndsLink = endsLink;
  steps.insert(steps.begin(), names.begin(), names.end());
}

// The text of the symbolic link `link` (a path-only descriptor of the link itself).
std::optional<std::string> LinkText(int link) {
  std::string text(256, '\0');
  for (;;) {
    const ssize_t n = ::readlinkat(link, "", text.data(), text.size());
    if (n < 0) return std::nullopt;
    if (static_cast<std::size_t>(n) < text.size()) {
      text.resize(static_cast<std::size_t>(n));
      return text;
    }
    if (text.size() >= 65536) {
      errno = ENAMETOOLONG;
      return std::nullopt;
    }
    text.resize(text.size() * 2);
  }
}

TFileHandle OpenRoot(const char* where, struct stat& st) {
  TFileHandle folder(::open(where, O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (folder && ::fstat(folder.Get(), &st) != 0) return TFileHandle();
  return folder;
}

bool WriteThrough(TFileHandle fd, const std::function<bool(std::FILE*)>& write) {
  std::FILE* f = ::fdopen(fd.Get(), "wb");
  if (!f) return false;
  fd.Release();
  const bool ok = write(f);
  return std::fclose(f) == 0 && ok;  // a full disk shows up at the close
}

std::atomic<unsigned> tempCounter{0};

}  // namespace

TFileHandle& TFileHandle::operator=(TFileHandle&& other) noexcept {
  if (this != &other) {
    if (FFd >= 0) ::close(FFd);
    FFd = std::exchange(other.FFd, -1);
  }
  return *this;
}

TFileHandle::~TFileHandle() {
  if (FFd >= 0) ::close(FFd);
}

bool MayFollowLink(const struct stat& folder, const struct stat& link, uid_t user) {
  const bool openToAll = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  return !openToAll || link.st_uid == user || link.st_uid == folder.st_uid;
}

std::optional<TFolderEntry> OpenFolderOf(const std::string& path) {
  if (path.empty()) {
    errno = ENOENT;
    return std::nullopt;
  }
  const uid_t user = ::geteuid();
  struct stat folderStat;
  TFileHandle folder = OpenRoot(path[0] == '/' ? "/" : ".", folderStat);
  if (!folder) return std::nullopt;
  std::deque<TStep> steps;
  PushFront(steps, path, false);
  if (steps.empty()) return TFolderEntry{std::move(folder), ".", true};  // "/" itself
  for (int links = 0;;) {
    const TStep step = std::move(steps.front());
    steps.pop_front();
    const bool last = steps.empty();
    TFileHandle node(::openat(folder.Get(), step.Name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!node) {
      if (last && errno == ENOENT && !step.EndsLink) return TFolderEntry{std::move(folder), step.Name, false};
      return std::nullopt;
    }
    struct stat st;
    if (::fstat(node.Get(), &st) != 0) return std::nullopt;
    if (S_ISLNK(st.st_mode)) {
      if (!MayFollowLink(folderStat, st, user)) {
        errno = EACCES;
        return std::nullopt;
      }
      if (++links > kMaxLinks) {
        errno = ELOOP;
        return std::nullopt;
      }
      const std::optional<std::string> text = LinkText(node.Get());
      if (!text || text->empty()) {
        if (text) errno = ENOENT;
        return std::nullopt;
      }
      PushFront(steps, *text, last);
      if ((*text)[0] == '/' && !(folder = OpenRoot("/", folderStat))) return std::nullopt;
      if (steps.empty()) return TFolderEntry{std::move(folder), ".", true};  // a link to "/"
      continue;
    }
    if (last) return TFolderEntry{std::move(folder), step.Name, true};
    if (!S_ISDIR(st.st_mode)) {
      errno = ENOTDIR;
      return std::nullopt;
    }
    folder = std::move(node);
    folderStat = st;
  }
}

bool CanReplaceEntry(const TFolderEntry& entry) {
  const int folder = entry.Folder.Get();
  struct stat st;
  if (::fstatat(folder, entry.Name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    if (!S_ISREG(st.st_mode)) return false;
    if ((st.st_mode & 0222) == 0 || ::faccessat(folder, entry.Name.c_str(), W_OK, AT_EACCESS) != 0) return false;
  } else if (errno != ENOENT) {
    return false;
  }
  return ::faccessat(folder, ".", W_OK | X_OK, AT_EACCESS) == 0;
}

bool CanReplaceFile(const std::string& path) {
  const std::optional<TFolderEntry> entry = OpenFolderOf(path);
  return entry && CanReplaceEntry(*entry);
}

TFileHandle CreateTemporaryBeside(const TFolderEntry& entry, mode_t mode, std::string& tempName) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    tempName = "." + entry.Name + "." + std::to_string(::getpid()) + "-" + std::to_string(tempCounter++) + ".tmp";
    TFileHandle fd(::openat(entry.Folder.Get(), tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                            mode));
    if (fd || errno != EEXIST) return fd;
  }
  return TFileHandle();
}

bool MatchReplacedFile(int fd, const struct stat& old) {
  struct stat made;
  if (::fstat(fd, &made) != 0) return false;
  if ((made.st_mode & 07777) != (old.st_mode & 07777) && ::fchmod(fd, old.st_mode & 07777) != 0) return false;
  if (made.st_uid != old.st_uid || made.st_gid != old.st_gid) (void)!::fchown(fd, old.st_uid, old.st_gid);
  return true;
}

pid_t TemporaryNamePid(std::string_view entry, std::string_view name) {
  constexpr std::string_view suffix = ".tmp";
  const std::size_t prefix = 1 + name.size() + 1;
  if (entry.size() <= prefix + suffix.size() || entry[0] != '.' || entry.substr(1, name.size()) != name ||
      entry[prefix - 1] != '.' || entry.substr(entry.size() - suffix.size()) != suffix)
    return 0;
  const std::string_view middle = entry.substr(prefix, entry.size() - prefix - suffix.size());
  const std::size_t dash = middle.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == middle.size() || dash > 9) return 0;
  if (middle.find_first_not_of("0123456789-") != std::string_view::npos || middle.find('-', dash + 1) != std::string_view::npos)
    return 0;
  pid_t pid = 0;
  for (char c : middle.substr(0, dash)) pid = pid * 10 + (c - '0');
  return pid;
}

bool ReplaceFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write) {
  if (path.empty()) return false;
  // Opened as named, without truncating: what is there decides how it is written.
  TFileHandle existing(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
  struct stat st;
  if (existing) {
    if (::fstat(existing.Get(), &st) != 0) return false;
    if (!S_ISREG(st.st_mode)) return WriteThrough(std::move(existing), write);
    existing = TFileHandle();
  } else if (errno != ENOENT) {
    return false;
  }
  std::optional<TFolderEntry> at = OpenFolderOf(path);
  if (!at) return false;
  mode_t mode = 0666;
  if (at->Exists) {
    if (::fstatat(at->Folder.Get(), at->Name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
        !CanReplaceEntry(*at))
      return false;
    mode = st.st_mode & 07777;
  }
  std::string temp;
  TFileHandle fd = CreateTemporaryBeside(*at, mode, temp);
  if (!fd) return false;
  bool ok = true;
  if (at->Exists) ok = MatchReplacedFile(fd.Get(), st);
  ok = ok && WriteThrough(std::move(fd), write);
  ok = ok && ::renameat(at->Folder.Get(), temp.c_str(), at->Folder.Get(), at->Name.c_str()) == 0;
  if (!ok) ::unlinkat(at->Folder.Get(), temp.c_str(), 0);
  return ok;
}

}  // namespace varnel
