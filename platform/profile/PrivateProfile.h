// The private-profile functions: one key of a settings file read or written by path. A read
// never fails (the default stands in); a write replaces the whole file atomically.
//
//   if (!WritePrivateProfileString("FENDUL", "Top", "7", path)) ...;
//   std::string top = GetPrivateProfileString("FENDUL", "Top", "", path);   // "7"
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace varnel {

// A read returns at most this many characters of a value (or of the default).
inline constexpr std::size_t kMaxProfileValueLength = 1023;
// Only this much of a file is read. A longer file reads as its first complete lines within the
// limit, and is never rewritten (a write to it fails), so nothing beyond the limit is lost.
inline constexpr std::size_t kMaxProfileFileSize = 1 << 20;

// The value of `key` in `section` of the file at `path` (see ProfileText.h for the format), cut
// at its first NUL character and at kMaxProfileValueLength characters. `def` (cut the same way)
// when the file, the section or the key is missing, or the file cannot be read (no permission,
// a directory or other non-regular file in its place).
std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view def,
                                    const std::string& path);

// Sets `key` of `section` to `value` in the file at `path`, creating the file and the section
// when missing and keeping every other line as it was. The new text goes to a temporary file
// beside the old one, which then takes its place by rename: the file is at every moment either
// the old or the new text. The new file keeps the old one's permission bits (and owner, where
// the process may set it); a new file gets 0666 less the umask. A path naming a symbolic link
// writes the link's target. Returns false, leaving the old file as it was and no temporary
// file behind, when the write cannot be made: the directory cannot be written, the file
// exists but cannot be read, is not a regular file or is longer than kMaxProfileFileSize, or
// the names or value cannot be stored (see ProfileUpdate).
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& path);

}  // namespace varnel
