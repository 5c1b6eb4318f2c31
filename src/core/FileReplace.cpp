#include "core/FileReplace.h"

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

// The folder refuses new entries, or the entry may not be replaced (a sticky folder).
bool IsRefusal(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

// Opens a new temporary file beside `target`; O_EXCL keeps two writers from sharing one.
// Returns -1 with errno set when the folder refuses it.
int CreateTemporary(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string prefix = DirectoryOf(target) + "/." + NameOf(target) + ".tmp";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = prefix + std::to_string(getpid()) + "_" + std::to_string(counter++);
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Writes all of `contents` at `offset`; returns 0 or the errno of the failed write.
int WriteAllAt(int fd, std::string_view contents, off_t offset) {
    while (!contents.empty()) {
        const ssize_t written = pwrite(fd, contents.data(), contents.size(), offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        contents.remove_prefix(static_cast<size_t>(written));
        offset += written;
    }
    return 0;
}

// Reads the whole file from offset 0; returns 0 or the errno of the failed read.
int ReadAll(int fd, std::string& bytes) {
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t n = pread(fd, buffer, sizeof buffer, offset);
        if (n == 0)
            return 0;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
}

// Gives the temporary file the old file's owner, group and permissions. False where the
// process may not: the file would change hands (or lose a set-id bit) by the rename.
bool TakeOver(int fd, const struct stat& old) {
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return false;
    // A user may give a file only to a group of their own; fstat shows what was really done,
    // also on file systems that ignore the request.
    if ((st.st_uid != old.st_uid || st.st_gid != old.st_gid) &&
        fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    // After fchown, which clears set-id bits.
    if (fchmod(fd, old.st_mode & 07777) != 0 || fstat(fd, &st) != 0)
        return false;
    return st.st_uid == old.st_uid && st.st_gid == old.st_gid &&
           (st.st_mode & 07777) == (old.st_mode & 07777);
}

void SyncDirectoryOf(const std::string& path) {
    // A failure here leaves a complete file either way.
    const int dirFd = open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
}

// Writes a temporary file and renames it over `path`. For an existing file (`old` given),
// returns false, leaving nothing behind, where the replacement could not be what the file was.
bool ReplaceByRename(const std::string& path, std::string_view contents, const struct stat* old) {
    std::string tempPath;
    const int fd = CreateTemporary(path, tempPath);
    if (fd < 0) {
        if (old != nullptr && IsRefusal(errno))
            return false;
        Fail("Cannot create a temporary file in " + DirectoryOf(path), errno);
    }
    if (old != nullptr && !TakeOver(fd, *old)) {
        close(fd);
        unlink(tempPath.c_str());
        return false;
    }
    int error = WriteAllAt(fd, contents, 0);
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        unlink(tempPath.c_str());
        Fail("Cannot write " + path, error);
    }
    if (rename(tempPath.c_str(), path.c_str()) != 0) {
        error = errno;
        unlink(tempPath.c_str());
        if (old != nullptr && IsRefusal(error))
            return false;
        Fail("Cannot replace " + path, error);
    }
    SyncDirectoryOf(path);
    return true;
}

// Overwrites the file itself; it keeps its inode, links, owner, group and permissions. The old
// bytes are read first so that a failed write can be undone.
void RewriteInPlace(const std::string& path, std::string_view contents) {
    // Without O_TRUNC: nothing is lost before the first new byte is written.
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        Fail("Cannot write " + path, errno);
    std::string oldBytes;
    if (const int error = ReadAll(fd, oldBytes); error != 0) {
        close(fd);
        Fail("Cannot read " + path, error);
    }

    int error = WriteAllAt(fd, contents, 0);
    if (error == 0 && ftruncate(fd, static_cast<off_t>(contents.size())) != 0)
        error = errno;
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (error == 0) {
        close(fd);
        return;
    }

    const bool restored = WriteAllAt(fd, oldBytes, 0) == 0 &&
                          ftruncate(fd, static_cast<off_t>(oldBytes.size())) == 0 && fsync(fd) == 0;
    close(fd);
    Fail("Cannot write " + path + (restored ? "" : " (its old contents could not be restored)"),
         error);
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

void ReplaceFileContents(const std::string& requestedPath, std::string_view contents) {
    const std::string path = ResolveLink(requestedPath);

    struct stat old {};
    if (stat(path.c_str(), &old) != 0) {
        if (errno != ENOENT)
            Fail("Cannot write " + path, errno);
        ReplaceByRename(path, contents, nullptr);
        return;
    }
    CheckWritable(path, old);
    // A rename would split a hard link off into a file of its own.
    if (old.st_nlink == 1 && ReplaceByRename(path, contents, &old))
        return;
    RewriteInPlace(path, contents);
}

} // namespace ostiva
