// The private-profile functions: keys of a settings file read or written by path. A read never
// fails (the default stands in); a write replaces the whole file in one durable step, for one
// key or for a group of keys.
//
//   if (!WritePrivateProfileString("FENDUL", "Top", "7", path)) ...;
//   std::string top = GetPrivateProfileString("FENDUL", "Top", "", path);   // "7"
//   WritePrivateProfileStrings({{"FENDUL", "Top", "7"}, {"FENDUL", "Left", "396"}}, path);
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

// A read returns at most this many characters of a value (or of the default).
inline constexpr std::size_t kMaxProfileValueLength = 1023;
// The bound on a settings file: a read looks at no more than this many bytes, and a write never
// makes a file longer than this, so every file the program writes is read whole.
inline constexpr std::size_t kMaxProfileFileSize = 1 << 20;

// The value of `key` in `section` of the file at `path` (see ProfileText.h for the format), cut
// at its first NUL character and at kMaxProfileValueLength characters. `def` when the file, the
// section or the key is missing, or the file cannot be read (no permission, a directory or other
// non-regular file in its place); the default loses its trailing spaces and is cut the same way.
// Only the first kMaxProfileFileSize bytes of a file are read, up to the last line ending
// within them.
std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view def,
                                    const std::string& path);

// One key write: `Key` of `Section` becomes `Value`.
struct TProfileWrite {
  std::string Section, Key, Value;
};

// Applies `writes` in order to the file at `path` (as ProfileUpdate does, so each means what
// one WritePrivateProfileString would), creating the file and sections when missing, and
// replaces the file once: the new text goes to a temporary file in the same directory, which is
// flushed to disk, renamed over the file, and the directory flushed. At every moment the file is
// the old text or the new one. The new file keeps the old one's permission bits (and owner,
// where the process may set it); a new file gets 0666 less the umask. A path naming a symbolic
// link replaces the link's target and the link stays, but links are followed, for reads and
// writes alike, only as OpenFolderOf allows: in a folder that is sticky and writable by everyone
// (/tmp), only a link of this process's user or of the folder's owner. A refused link reads as
// a missing file (the defaults) and fails every write.
//
// Returns false, leaving the old file as it was and no temporary file behind, when the write
// cannot be made: the directory cannot be written; the file exists but cannot be read, is not
// a regular file, is longer than kMaxProfileFileSize, or may not be written (no write
// permission for this process, or none for anyone, which holds even for root); the new text
// would be longer than kMaxProfileFileSize; or a name or value cannot be stored (see
// ProfileUpdate). A failure to flush the directory after the rename also returns false: the
// new text is then in place but may not survive a power cut.
bool WritePrivateProfileStrings(const std::vector<TProfileWrite>& writes, const std::string& path);

// The same for one key.
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& path);

// Removes the temporary files that writes to the file at `path` left behind when their process
// was killed: only names of the form the writes use (".FENDUL.INI.<pid>-<n>.tmp" beside
// FENDUL.INI), of processes no longer running, that belong to this process's user. Returns how
// many were removed.
int RemoveStaleProfileTemporaries(const std::string& path);

}  // namespace varnel
