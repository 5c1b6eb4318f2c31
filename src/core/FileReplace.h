#pragma once
// Replacing a file's contents without ever leaving it half written.
#include <stdexcept>
#include <string>
#include <string_view>

namespace ostiva {

// Makes the file at `path` hold exactly `contents`. A symbolic link is followed and stays a
// link; a file that is not regular, or that the user may not write (for root: one without any
// write bit), is refused.
//
// A new file, and an existing one that can be replaced without becoming a different file
// (its folder is writable, it has a single link, and the replacement can be given its owner,
// group and permissions), is written to a temporary file beside it that is then renamed over
// it: the old contents stay whole until the new ones are complete on disk.
//
// Otherwise (a folder the user may not write, hard links, another owner or group the user
// cannot give away) the file is rewritten in place, so that it keeps its inode, owner, group
// and permissions; its old contents are read first (so it must be readable) and written back
// should that fail.
//
// Throws std::runtime_error naming the file and the system's message, e.g. "Cannot write
// <path>: No space left on device"; the file then holds its old contents (should even writing
// those back fail, the message says so) and no temporary file is left behind.
void ReplaceFileContents(const std::string& path, std::string_view contents);

} // namespace ostiva
