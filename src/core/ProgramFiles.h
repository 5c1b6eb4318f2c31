#pragma once
// Where the program keeps its settings and language files. A program run from a build folder or
// a portable copy (its settings file or a language file already lies beside the executable, and
// that folder may be written) reads and writes them beside the executable. Any other program,
// whoever runs it, reads the installed files from beside the executable or from
// <exe dir>/../share/ostiva and writes only into the user's configuration folder: a file there
// holds just the keys the user wrote and is read before the installed file of the same name
// (IniOverlay.h), so that unwritten keys follow updates of the installed file.
#include <string>

namespace ostiva {

// $XDG_CONFIG_HOME/ostiva, or ~/.config/ostiva when that is unset or not absolute; empty when
// neither is known.
std::string UserConfigFolder();

// Whether this process may create files in `folder` (root may, wherever it likes).
bool FolderWritable(const std::string& folder);

// Whether the settings and language files are kept beside the executable: `besidePath` is one of
// them (settings or language file, beside the executable); true when that folder is writable and
// the settings file or a language file lies in it.
bool KeepsFilesBeside(const std::string& besidePath, bool folderWritable);

// Read-only program data (language files, manuals): `besidePath`, a file beside the executable,
// when it exists, otherwise the file of that name in <exe dir>/../share/ostiva when that exists,
// otherwise `besidePath`.
std::string ProgramDataFile(const std::string& besidePath);

// The file to open for reading the program file `besidePath`. Kept beside the executable:
// ProgramDataFile(besidePath). Otherwise the installed file with the user's file of that name
// in `userFolder` as its overlay, or the user's file alone when nothing is installed.
std::string ReadableProgramFile(const std::string& besidePath, bool folderWritable,
                                const std::string& userFolder);

// The file to write for the program file `besidePath`: `besidePath` itself when the files are
// kept beside the executable, otherwise the file of that name in `userFolder` (the folder is
// created when missing; the file holds only what is written into it). Throws IniError
// "Unable to write to <path>: <reason>".
std::string WritableProgramFile(const std::string& besidePath, bool folderWritable,
                                const std::string& userFolder);

} // namespace ostiva
