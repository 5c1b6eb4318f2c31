#pragma once
// Replacing a file's contents without ever leaving it half written.
#include <stdexcept>
#include <string>
#include <string_view>

namespace ostiva {

// Writes `contents` to a temporary file in the same directory and renames it over `path`.
// A file the user may not write (read-only) is refused as an in-place write would be; the new
// file keeps the old one's permissions. Throws std::runtime_error with the system's message;
// the old file is then untouched.
void WriteFileAtomically(const std::string& path, std::string_view contents);

} // namespace ostiva
