#pragma once
// Where the program keeps its settings and language files. While the executable's folder is
// writable (a build folder, a portable copy) they lie beside the executable. An installed
// program reads them from beside the executable or from <exe dir>/../share/ostiva and keeps
// everything the user changes in the user's configuration folder, never elsewhere.
#include <string>

namespace ostiva {

// $XDG_CONFIG_HOME/ostiva, or ~/.config/ostiva when that is unset or not absolute; empty when
// neither is known.
std::string UserConfigFolder();

// Whether this process may create files in `folder` (root may, wherever it likes).
bool FolderWritable(const std::string& folder);

// Read-only program data (language files, manuals): `besidePath`, a file beside the executable,
// when it exists, otherwise the file of that name in <exe dir>/../share/ostiva when that exists,
// otherwise `besidePath`.
std::string ProgramDataFile(const std::string& besidePath);

// The file to read for the program file `besidePath`: the user's copy when the program's folder
// is not writable and the copy exists, otherwise ProgramDataFile(besidePath).
std::string ReadableProgramFile(const std::string& besidePath, bool folderWritable,
                                const std::string& userFolder);

// The file to write for the program file `besidePath`: `besidePath` itself when the program's
// folder is writable, otherwise the file of that name in `userFolder` (created when missing).
// A file that does not exist yet starts as a copy of the file read so far, so that writing one
// key keeps all the others. Throws IniError "Unable to write to <path>: <reason>".
std::string WritableProgramFile(const std::string& besidePath, bool folderWritable,
                                const std::string& userFolder);

} // namespace ostiva
