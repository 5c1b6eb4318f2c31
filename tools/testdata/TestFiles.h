#pragma once
// Files and directories for tests: a temporary directory removed with its contents, and whole
// files read and written as bytes.
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

} // namespace ostiva::testdata
