// Where a settings file is really written, and whether it can be: asked before a path is chosen
// or a save begins, so that a file the user made read-only is left alone.
//
//   if (!CanReplaceFile("/opt/varnel/bin/FENDUL.INI")) ...;   // save somewhere else
//   auto [dir, name] = SplitDirectory(*ReplaceTarget(path));   // "/opt/varnel/bin/", "FENDUL.INI"
#pragma once
#include <optional>
#include <string>
#include <utility>

namespace varnel {

// The file a replacement of `path` writes: the path itself, or the target of the symbolic link it
// is (the link stays a link). nullopt for a dangling or looping link.
std::optional<std::string> ReplaceTarget(const std::string& path);

// The directory of a path, with its trailing "/" ("" for a bare name), and the name in it.
std::pair<std::string, std::string> SplitDirectory(const std::string& path);

// True when a save could replace the file at `path` through a temporary file and rename: the
// file (or the target of the symbolic link it is) is a regular file that has a write bit in its
// mode and that this process may write, or does not exist; and its directory lets this process
// create and rename files. A file without any write bit counts as read-only even for root. A
// dangling or looping link, or a directory or other non-regular file, is false.
bool CanReplaceFile(const std::string& path);

}  // namespace varnel
