#pragma once
// Reading a whole regular file in one step, for the profile files and the INI files alike.
#include <stdexcept>
#include <string>
#include <sys/stat.h>

namespace ostiva {

class FileReadError : public std::runtime_error {
  public:
    FileReadError(const std::string& message, bool notFound)
        : std::runtime_error(message), notFound_(notFound) {}
    // The file (or a directory on its path) does not exist.
    bool NotFound() const { return notFound_; }

  private:
    bool notFound_;
};

// The file's bytes. Opening never blocks, and anything but a regular file (a directory, a
// pipe, a device) is refused. `status`, when given, receives the file's stat as it was read.
// Throws FileReadError: "File was not found", "Could not open file: ...", "Not a regular
// file", "Error reading from file: ...".
std::string ReadRegularFile(const std::string& path, struct stat* status = nullptr);

} // namespace ostiva
