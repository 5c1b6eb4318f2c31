#include "core/FileReplace.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
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

// Opens a new temporary file ".<name>.tmp<pid>_<n>" beside `target`; O_EXCL keeps two writers
// from sharing one. It is locked while it is written, so that a cleaner on another machine
// (where the pid means nothing) leaves it alone. Returns -1 with errno set when the folder
// refuses it.
int CreateTemporary(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string prefix = DirectoryOf(target) + "/." + NameOf(target) + ".tmp";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = prefix + std::to_string(getpid()) + "_" + std::to_string(counter++);
        const int fd = open(tempPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            flock(fd, LOCK_EX | LOCK_NB);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The process id in a temporary file's name, or 0 when `name` is not exactly of that form.
pid_t TemporaryFileOwner(const std::string& name) {
    const auto isDigits = [](std::string_view s) {
        return !s.empty() && s.size() <= 10 && s.find_first_not_of("0123456789") == s.npos;
    };
    const std::size_t underscore = name.rfind('_');
    const std::size_t tmp = name.rfind(".tmp", underscore);
    if (name.size() < 2 || name[0] != '.' || underscore == std::string::npos ||
        tmp == std::string::npos || tmp < 2 ||
        !isDigits(std::string_view(name).substr(underscore + 1)))
        return 0;
    const std::string_view pid = std::string_view(name).substr(tmp + 4, underscore - tmp - 4);
    if (!isDigits(pid) || pid[0] == '0')
        return 0;
    const long long value = std::stoll(std::string(pid));
    return value <= INT_MAX ? static_cast<pid_t>(value) : 0;
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

// ---- Journal of an in-place rewrite ---------------------------------------------------------
//
// Before a file is overwritten in place, its old bytes go to ".<name>.ostiva-journal" beside it:
// a header (magic, length, checksum) and the bytes. The journal appears under its name only once
// it is complete on disk, and stays locked while its writer works. Whoever finds a journal whose
// writer is gone writes the old bytes back: a rewrite cut off at any moment leaves the old or the
// new file, whole. A journal that fails its checks cannot have been followed by any overwrite
// and is removed.

constexpr char kJournalMagic[] = "OSTIVA JOURNAL 1\n";
constexpr std::size_t kMagicSize = sizeof kJournalMagic - 1;
constexpr std::size_t kJournalHeaderSize = kMagicSize + 16;

std::string JournalPathOf(const std::string& path) {
    return DirectoryOf(path) + "/." + NameOf(path) + ".ostiva-journal";
}

std::uint64_t Checksum(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull; // 64-bit FNV-1a
    for (const unsigned char c : bytes)
        hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

void AppendNumber(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t NumberAt(std::string_view bytes, std::size_t offset) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value =
            (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    return value;
}

std::string JournalOf(std::string_view oldBytes) {
    std::string journal(kJournalMagic, kMagicSize);
    AppendNumber(journal, oldBytes.size());
    AppendNumber(journal, Checksum(oldBytes));
    journal += oldBytes;
    return journal;
}

// The old bytes a journal holds; false for a journal that is incomplete or damaged.
bool OldBytesOf(std::string_view journal, std::string_view& oldBytes) {
    if (journal.size() < kJournalHeaderSize || journal.substr(0, kMagicSize) != kJournalMagic)
        return false;
    oldBytes = journal.substr(kJournalHeaderSize);
    return NumberAt(journal, kMagicSize) == oldBytes.size() &&
           NumberAt(journal, kMagicSize + 8) == Checksum(oldBytes);
}

void LockWaiting(int fd) {
    // Where the file system has no locks, the journal is still read: a save is short.
    while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// Overwrites a file in place with `bytes`; returns 0 or the errno of the failure.
int Overwrite(int fd, std::string_view bytes) {
    int error = WriteAllAt(fd, bytes, 0);
    if (error == 0 && ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        error = errno;
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    return error;
}

enum class JournalState { Written, Busy, Refused };

// Writes the journal of `path` holding `oldBytes`; on Written, `journalFd` is its open, locked
// descriptor. Busy: another process's rewrite of the same file holds a journal. Refused: the
// folder takes no new file, and the rewrite goes without.
JournalState WriteJournal(const std::string& path, std::string_view oldBytes, mode_t mode,
                          int& journalFd) {
    std::string tempPath;
    const int fd = CreateTemporary(path, tempPath);
    if (fd < 0) {
        if (IsRefusal(errno) || errno == ENAMETOOLONG)
            return JournalState::Refused;
        Fail("Cannot create a journal for " + path, errno);
    }
    // The journal holds the file's contents: no one may read it who may not read the file.
    fchmod(fd, mode & 0666);
    int error = WriteAllAt(fd, JournalOf(oldBytes), 0);
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (error != 0) {
        close(fd);
        unlink(tempPath.c_str());
        Fail("Cannot write a journal for " + path, error);
    }
    // A link never replaces a journal that another writer has just put there; where the file
    // system has no hard links, a rename has to do.
    const std::string journalPath = JournalPathOf(path);
    if (link(tempPath.c_str(), journalPath.c_str()) != 0) {
        error = errno;
        if (error == EEXIST) {
            close(fd);
            unlink(tempPath.c_str());
            return JournalState::Busy;
        }
        if (rename(tempPath.c_str(), journalPath.c_str()) != 0) {
            error = errno;
            close(fd);
            unlink(tempPath.c_str());
            if (IsRefusal(error) || error == ENAMETOOLONG)
                return JournalState::Refused;
            Fail("Cannot write a journal for " + path, error);
        }
    }
    unlink(tempPath.c_str());
    SyncDirectoryOf(path);
    journalFd = fd;
    return JournalState::Written;
}

// Removes the journal of a finished rewrite and releases it.
void RemoveJournal(const std::string& path, int journalFd) {
    unlink(JournalPathOf(path).c_str());
    SyncDirectoryOf(path);
    close(journalFd);
}

// Overwrites the file itself; it keeps its inode, links, owner, group and permissions. The old
// bytes are read first, kept in the journal while the file is overwritten, and written back
// should the write fail.
void RewriteInPlace(const std::string& path, std::string_view contents) {
    for (int attempt = 0;; ++attempt) {
        // Without O_TRUNC: nothing is lost before the first new byte is written.
        const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            Fail("Cannot write " + path, errno);
        std::string oldBytes;
        struct stat st {};
        int error = ReadAll(fd, oldBytes);
        if (error == 0 && fstat(fd, &st) != 0)
            error = errno;
        if (error != 0) {
            close(fd);
            Fail("Cannot read " + path, error);
        }

        int journalFd = -1;
        JournalState state;
        try {
            state = WriteJournal(path, oldBytes, st.st_mode, journalFd);
        } catch (...) {
            close(fd);
            throw;
        }
        if (state == JournalState::Busy) {
            // Another rewrite is under way: wait for it, then start again from its result.
            close(fd);
            if (attempt == 10)
                Fail("Cannot write " + path, EBUSY);
            RollBackInterruptedRewrite(path);
            continue;
        }

        error = Overwrite(fd, contents);
        if (error == 0) {
            close(fd);
            if (journalFd >= 0)
                RemoveJournal(path, journalFd);
            return;
        }
        const bool restored = Overwrite(fd, oldBytes) == 0;
        close(fd);
        // A journal not removed restores the old bytes at the next opening of the file.
        if (restored && journalFd >= 0)
            RemoveJournal(path, journalFd);
        else if (journalFd >= 0)
            close(journalFd);
        Fail("Cannot write " + path + (restored ? "" : " (its old contents could not be restored)"),
             error);
    }
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

void RollBackInterruptedRewrite(const std::string& requestedPath) {
    const std::string path = ResolveLink(requestedPath);
    const std::string journalPath = JournalPathOf(path);
    for (;;) {
        const int fd = open(journalPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) {
            // A name too long for a journal beside it never had one.
            if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG)
                return;
            Fail("Cannot open the journal " + journalPath, errno);
        }
        // A writer still at work holds the lock: its rewrite ends before this goes on.
        LockWaiting(fd);
        struct stat held {};
        struct stat named {};
        if (fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            close(fd);
            return;
        }
        if (held.st_nlink == 0 || stat(journalPath.c_str(), &named) != 0 ||
            named.st_ino != held.st_ino || named.st_dev != held.st_dev) {
            close(fd); // finished and removed meanwhile: look again
            continue;
        }
        std::string journal;
        std::string_view oldBytes;
        if (const int error = ReadAll(fd, journal); error != 0) {
            close(fd);
            Fail("Cannot read the journal " + journalPath, error);
        }
        if (OldBytesOf(journal, oldBytes)) {
            const int target = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
            int error = target < 0 && errno != ENOENT ? errno : 0;
            if (target >= 0) {
                error = Overwrite(target, oldBytes);
                close(target);
            }
            if (error != 0) {
                close(fd);
                Fail("Cannot restore " + path + " from the journal " + journalPath, error);
            }
        }
        // Kept, it would restore these old bytes over every later save.
        if (unlink(journalPath.c_str()) != 0 && errno != ENOENT) {
            const int error = errno;
            close(fd);
            Fail("Cannot remove the journal " + journalPath, error);
        }
        SyncDirectoryOf(path);
        close(fd);
        return;
    }
}

void RemoveStaleTemporaryFiles(const std::string& directory) {
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr)
        return;
    const pid_t self = getpid();
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        const pid_t owner = TemporaryFileOwner(name);
        if (owner == 0 || owner == self || kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        const std::string path = directory + "/" + name;
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st {};
        // A lock held means a writer somewhere is still at work on it.
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlink(path.c_str());
        close(fd);
    }
    closedir(dir);
}

void ReplaceFileContents(const std::string& requestedPath, std::string_view contents) {
    const std::string path = ResolveLink(requestedPath);
    RemoveStaleTemporaryFiles(DirectoryOf(path));
    RollBackInterruptedRewrite(path);

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
