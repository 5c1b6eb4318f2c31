#pragma once
// Files and directories for tests: a temporary directory removed with its contents, and whole
// files read and written as bytes.
#include <functional>
#include <string>

namespace ostiva::testdata {

class ScopedTempDir {
  public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path of `name` inside the directory.
    std::string File(const std::string& name) const;

  private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Runs `write` in a child process that the file-size limit kills (SIGXFSZ) once it has written
// `bytes` bytes into one file: a write cut off for real, at a known point. Returns the child's
// wait status.
int RunCutOffAfter(long bytes, const std::function<void()>& write);

} // namespace ostiva::testdata
