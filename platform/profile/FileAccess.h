// Reaching a file through the folder that holds it, following symbolic links only where another
// user cannot have planted them; whether a save may replace such a file; and replacing an output
// file whole.
//
//   std::optional<TFolderEntry> at = OpenFolderOf("/tmp/FENDUL.INI");   // nullopt: refused
//   int fd = ::openat(at->Folder.Get(), at->Name.c_str(), O_RDONLY | O_NOFOLLOW);
//   if (!CanReplaceFile("/opt/varnel/bin/FENDUL.INI")) ...;             // save somewhere else
//   ReplaceFileWith("out.png", [&](std::FILE* f) { return WritePng(f); });
#pragma once
#include <sys/stat.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace varnel {

// An open file descriptor, closed by its owner.
class TFileHandle {
 public:
  TFileHandle() = default;
  explicit TFileHandle(int fd) : FFd(fd) {}
  TFileHandle(TFileHandle&& other) noexcept : FFd(std::exchange(other.FFd, -1)) {}
  TFileHandle& operator=(TFileHandle&& other) noexcept;
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  ~TFileHandle();

  int Get() const { return FFd; }
  explicit operator bool() const { return FFd >= 0; }
  // Hands the descriptor over: it is no longer closed here.
  int Release() { return std::exchange(FFd, -1); }

 private:
  int FFd = -1;
};

// True when a symbolic link `link` found in the folder `folder` may be followed: always, unless
// the folder is sticky and writable by everyone (as /tmp is); there only when the link belongs
// to `user` or to the folder's owner. Anyone may plant a link in such a folder, and following
// theirs would let them choose the file this process reads or rewrites.
bool MayFollowLink(const struct stat& folder, const struct stat& link, uid_t user);

// A file reached through its folder: the folder held open (a path-only descriptor), and the
// file's name in it. When resolved, the name was no symbolic link (or did not exist); opening
// it through Folder with O_NOFOLLOW then opens the file that was checked, whatever is renamed
// meanwhile along the path.
struct TFolderEntry {
  TFileHandle Folder;
  std::string Name;
  bool Exists = false;  // the name was there when resolved
};

// Walks `path` one name at a time from "/" (or the current folder for a relative path),
// following symbolic links, at any step, only where MayFollowLink allows it for this process's
// effective user, and at most 40 of them. nullopt, with errno set, when a step is missing or no
// folder, a link is refused (EACCES) or dangles, or there are too many links (ELOOP). A last name
// that does not exist is fine (Exists false) unless a link led to it.
std::optional<TFolderEntry> OpenFolderOf(const std::string& path);

// True when a save could replace the file at `path` through a temporary file and rename: the
// path resolves (OpenFolderOf); the file is a regular file that has a write bit in its mode and
// that this process may write, or does not exist; and its folder lets this process create and
// rename files. A file without any write bit counts as read-only even for root.
bool CanReplaceFile(const std::string& path);
bool CanReplaceEntry(const TFolderEntry& entry);

// Creates a new file beside `entry`, named ".<name>.<pid>-<n>.tmp" with a number no other file
// there has, open for writing with `mode` (less the umask). Its name goes to `tempName`. An
// invalid handle, with errno set, when none can be made.
TFileHandle CreateTemporaryBeside(const TFolderEntry& entry, mode_t mode, std::string& tempName);

// Gives the new file `fd` the permission bits of the file `old` it replaces (the umask may have
// taken some off) and, where this process may, its owner and group (root rewriting another
// user's file). False when the bits cannot be set.
bool MatchReplacedFile(int fd, const struct stat& old);

// The process id in a name CreateTemporaryBeside makes for the file `name`, or 0 when `entry`
// is no such name.
pid_t TemporaryNamePid(std::string_view entry, std::string_view name);

// Writes an output file through `write`, which gets a stream and says whether all went well.
// A regular file (or one not there yet) is replaced whole: the text goes to a temporary file in
// the real file's folder, which is renamed over it only when the write and the close succeed;
// otherwise only that temporary file is removed, and the old file stays as it was. It keeps
// the old file's permission bits. Anything else (a device, a pipe, a terminal, or a link to
// one) is written in place and never removed. False when the file cannot be written or
// `write` fails. A regular file nobody may write (no write bit) is never replaced, and links to
// a regular file are followed only as OpenFolderOf allows.
bool ReplaceFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write);

}  // namespace varnel
