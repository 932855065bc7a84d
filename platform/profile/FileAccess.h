// Whether a settings file can be written where it stands, asked before a path is chosen or a
// save begins, so that a file the user made read-only is left alone.
//
//   if (!CanReplaceFile("/opt/varnel/bin/FENDUL.INI")) ...;   // save somewhere else
#pragma once
#include <string>

namespace varnel {

// True when a save could replace the file at `path` through a temporary file and rename: the
// file (or the target of the symbolic link it is) is a regular file that has a write bit in its
// mode and that this process may write, or does not exist; and its directory lets this process
// create and rename files. A file without any write bit counts as read-only even for root. A
// dangling or looping link, or a directory or other non-regular file, is false.
bool CanReplaceFile(const std::string& path);

}  // namespace varnel
