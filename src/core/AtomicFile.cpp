#include "AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace ostiva {

namespace {

[[noreturn]] void Fail(const std::string& what, int error) {
    throw std::runtime_error(what + ": " + std::strerror(error));
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A symbolic link stays a link: the file it points at is the one replaced.
std::string ResolveLink(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr)
        return path; // dangling link: replaced by a file, as a plain write would create one
    return resolved;
}

// Opens a new temporary file beside `target`; O_EXCL keeps two writers from sharing one.
int CreateTemporary(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string prefix = DirectoryOf(target) + "/." + NameOf(target) + ".tmp";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = prefix + std::to_string(getpid()) + "_" + std::to_string(counter++);
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            Fail("Cannot create a temporary file in " + DirectoryOf(target), errno);
    }
    Fail("Cannot create a temporary file in " + DirectoryOf(target), EEXIST);
}

// Returns 0 or the errno of the failed write.
int WriteAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        contents.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

// Fills the temporary file; returns 0 or the errno of the failed step, named in `step`.
int FillTemporary(int fd, const std::string& path, std::string_view contents,
                  const struct stat* old, std::string& step) {
    if (old != nullptr) {
        step = "Cannot keep the permissions of " + path;
        if (fchmod(fd, old->st_mode & 07777) != 0)
            return errno;
        // Keeps the owner when root rewrites someone else's file; failing is harmless.
        if (geteuid() == 0) {
            [[maybe_unused]] const int ignored = fchown(fd, old->st_uid, old->st_gid);
        }
    }
    step = "Cannot write " + path;
    if (const int error = WriteAll(fd, contents); error != 0)
        return error;
    return fsync(fd) == 0 ? 0 : errno;
}

// Refuses a file the user may not write. Root passes access() whatever the mode, so for
// root a file without any write bit counts as read-only as well.
void CheckWritable(const std::string& path, const struct stat& st) {
    if (!S_ISREG(st.st_mode))
        throw std::runtime_error("Cannot write " + path + ": not a regular file");
    if (access(path.c_str(), W_OK) != 0)
        Fail("Cannot write " + path, errno);
    if (geteuid() == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        Fail("Cannot write " + path, EACCES);
}

} // namespace

void WriteFileAtomically(const std::string& requestedPath, std::string_view contents) {
    const std::string path = ResolveLink(requestedPath);

    struct stat old {};
    bool exists = false;
    if (stat(path.c_str(), &old) == 0) {
        exists = true;
        CheckWritable(path, old);
    } else if (errno != ENOENT) {
        Fail("Cannot write " + path, errno);
    }

    std::string tempPath;
    const int fd = CreateTemporary(path, tempPath);
    std::string step;
    int error = FillTemporary(fd, path, contents, exists ? &old : nullptr, step);
    if (close(fd) != 0 && error == 0) {
        error = errno;
        step = "Cannot write " + path;
    }
    if (error == 0 && rename(tempPath.c_str(), path.c_str()) != 0) {
        error = errno;
        step = "Cannot replace " + path;
    }
    if (error != 0) {
        unlink(tempPath.c_str());
        Fail(step, error);
    }

    // Makes the rename itself durable; a failure here leaves a complete file either way.
    const int dirFd = open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
}

} // namespace ostiva
