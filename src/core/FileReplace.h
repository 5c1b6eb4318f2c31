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
// and permissions; its old contents are read first (so it must be readable), kept in a journal
// ".<name>.ostiva-journal" beside it while it is overwritten, and written back should that
// fail. Should the process die meanwhile, the next RollBackInterruptedRewrite (every load and
// save of the file runs one) restores them. Only a folder that refuses the journal too (one
// the user may not write) sees the file rewritten without one.
//
// Before writing, temporary files that killed saves left in the folder are removed
// (RemoveStaleTemporaryFiles), and an interrupted rewrite of the file is rolled back.
//
// Throws std::runtime_error naming the file and the system's message, e.g. "Cannot write
// <path>: No space left on device"; the file then holds its old contents (should even writing
// those back fail, the message says so) and no temporary file is left behind.
void ReplaceFileContents(const std::string& path, std::string_view contents);

// Restores the file at `path` from the journal of an in-place rewrite that was cut off (the
// process killed, the machine down), and removes the journal. A rewrite still under way in
// another process is waited for. A journal that is incomplete or damaged is removed: its file
// was never touched. Nothing happens when there is no journal. Throws std::runtime_error when
// a journal cannot be read, its file cannot be restored or it cannot be removed.
void RollBackInterruptedRewrite(const std::string& path);

// Removes the hidden temporary files ".<name>.tmp<pid>_<n>" of saves whose process no longer
// exists, in `directory`. Files of a live process, files locked by a writer elsewhere, and
// anything not named exactly so are left alone. Never fails; a file it cannot remove stays.
void RemoveStaleTemporaryFiles(const std::string& directory);

} // namespace ostiva
