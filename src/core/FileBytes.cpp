#include "core/FileBytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace ostiva {

namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { close(fd_); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

  private:
    int fd_;
};

std::string SystemMessage() {
    return std::strerror(errno);
}

} // namespace

std::string ReadRegularFile(const std::string& path, struct stat* status) {
    // Non-blocking, so that opening a pipe cannot hang.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw FileReadError("File was not found", true);
        throw FileReadError("Could not open file: " + SystemMessage(), false);
    }
    const FileDescriptor file(fd);
    struct stat st {};
    if (fstat(fd, &st) != 0)
        throw FileReadError("Error reading from file: " + SystemMessage(), false);
    if (!S_ISREG(st.st_mode))
        throw FileReadError("Not a regular file", false);
    // One byte more than the size: a read that fills it shows the file has grown meanwhile.
    std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t length = 0;
    for (;;) {
        if (length == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = read(fd, bytes.data() + length, bytes.size() - length);
        if (n == 0)
            break;
        if (n > 0) {
            length += static_cast<std::size_t>(n);
            // Exactly the size fstat gave, and the extra byte not filled: the end of the file,
            // known without another read.
            if (length == static_cast<std::size_t>(st.st_size) && length < bytes.size())
                break;
        } else if (errno != EINTR)
            throw FileReadError("Error reading from file: " + SystemMessage(), false);
    }
    bytes.resize(length);
    if (status)
        *status = st;
    return bytes;
}

} // namespace ostiva
