#include "core/FileReplace.h"

#include "testdata/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <iterator>
#include <string>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using ostiva::RemoveStaleTemporaryFiles;
using ostiva::ReplaceFileContents;
using ostiva::RollBackInterruptedRewrite;

namespace {

class AtomicFileTest : public ::testing::Test {
  protected:
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    // The file's bytes; "" for a file that does not exist.
    static std::string Bytes(const std::string& path) {
        return fs::exists(path) ? ostiva::testdata::ReadFileBytes(path) : std::string();
    }

    // Only the target itself may remain: no temporary file is left behind.
    size_t EntriesInDir() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }

    static struct stat StatOf(const std::string& path) {
        struct stat st {};
        stat(path.c_str(), &st);
        return st;
    }
    static mode_t ModeOf(const std::string& path) { return StatOf(path).st_mode & 07777; }

    // Runs `body` as "nobody" where the tests run as root (root ignores folder permissions and
    // may give files away), directly otherwise. Returns what it threw, "" when it returned.
    std::string AsUnprivileged(const std::function<void()>& body) const {
        const auto run = [&]() -> std::string {
            try {
                body();
                return "";
            } catch (const std::exception& e) {
                return std::string("threw: ") + e.what();
            }
        };
        if (geteuid() != 0)
            return run();
        int fds[2];
        if (chown(dir_.c_str(), kNobody, kNobody) != 0 || pipe(fds) != 0)
            return "cannot set up the child";
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            std::string result = "cannot drop privileges";
            if (setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0)
                result = run();
            [[maybe_unused]] const auto ignored = write(fds[1], result.data(), result.size());
            _exit(0);
        }
        close(fds[1]);
        std::string result;
        char buffer[256];
        for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
            result.append(buffer, static_cast<size_t>(n));
        close(fds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? result : "child died";
    }

    static constexpr uid_t kNobody = 65534;

    ostiva::testdata::ScopedTempDir temp_;
    const fs::path dir_{temp_.Path()};
};

TEST_F(AtomicFileTest, CreatesAndReplacesKeepingPermissions) {
    const std::string path = PathOf("data.ini");
    ReplaceFileContents(path, "first");
    EXPECT_EQ(Bytes(path), "first");

    chmod(path.c_str(), 0640);
    ReplaceFileContents(path, std::string("second\0binary", 13));
    EXPECT_EQ(Bytes(path), std::string("second\0binary", 13));
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(AtomicFileTest, WritesThroughASymbolicLink) {
    const std::string target = PathOf("real.ini");
    const std::string link = PathOf("link.ini");
    std::ofstream(target) << "old";
    fs::create_symlink(target, link);
    ReplaceFileContents(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Bytes(target), "new");
}

TEST_F(AtomicFileTest, RefusesAReadOnlyFile) {
    const std::string path = PathOf("ro.ini");
    std::ofstream(path) << "keep me";
    chmod(path.c_str(), 0444);
    try {
        ReplaceFileContents(path, "overwritten");
        FAIL() << "a read-only file was replaced";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(std::strerror(EACCES)), std::string::npos) << e.what();
    }
    EXPECT_EQ(Bytes(path), "keep me");
    EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(AtomicFileTest, ReportsAMissingDirectory) {
    const std::string path = PathOf("no/such/dir/x.ini");
    try {
        ReplaceFileContents(path, "x");
        FAIL() << "wrote into a missing directory";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(std::strerror(ENOENT)), std::string::npos) << e.what();
    }
    EXPECT_THROW(ReplaceFileContents(dir_.string(), "x"), std::runtime_error); // a directory
}

// Once replaced by rename, once (hard-linked) rewritten in place: the old bytes come back.
TEST_F(AtomicFileTest, FailedWriteLeavesOldFileIntact) {
    const std::string path = PathOf("full.ini");
    const std::string original(500, 'o');
    std::ofstream(path) << original;

    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "in place" : "by rename");
        if (linked)
            fs::create_hard_link(path, PathOf("link.ini"));
        // A file-size limit makes the write fail halfway, as a full disk would.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 1000;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        std::string message;
        try {
            ReplaceFileContents(path, std::string(5000, 'n'));
        } catch (const std::runtime_error& e) {
            message = e.what();
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        EXPECT_EQ(message, "Cannot write " + path + ": " + std::strerror(EFBIG));
        EXPECT_EQ(Bytes(path), original);
        EXPECT_EQ(EntriesInDir(), linked ? 2u : 1u);
    }
}

// A shared folder the user may not write: the file itself is rewritten, without a temporary.
TEST_F(AtomicFileTest, RewritesInPlaceInAReadOnlyFolder) {
    const std::string path = PathOf("shared.ini");
    const std::string error = AsUnprivileged([&] {
        ostiva::testdata::WriteFileBytes(path, "a longer old line\n");
        chmod(path.c_str(), 0640);
        chmod(dir_.c_str(), 0555);
        ReplaceFileContents(path, "new");
    });
    chmod(dir_.c_str(), 0755);
    EXPECT_EQ(error, "");
    EXPECT_EQ(Bytes(path), "new");
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(AtomicFileTest, KeepsHardLinksOneFile) {
    const std::string path = PathOf("a.ini");
    const std::string other = PathOf("b.ini");
    ostiva::testdata::WriteFileBytes(path, "old contents");
    fs::create_hard_link(path, other);
    const ino_t inode = StatOf(path).st_ino;

    ReplaceFileContents(other, "new");
    EXPECT_EQ(Bytes(path), "new");
    EXPECT_EQ(StatOf(other).st_ino, inode);
    EXPECT_EQ(StatOf(path).st_ino, inode);
    EXPECT_EQ(EntriesInDir(), 2u);
}

TEST_F(AtomicFileTest, KeepsOwnerAndGroup) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can hand files to other users";
    // Root saving a user's file.
    const std::string theirs = PathOf("theirs.ini");
    ostiva::testdata::WriteFileBytes(theirs, "old");
    ASSERT_EQ(chown(theirs.c_str(), kNobody, kNobody), 0);
    chmod(theirs.c_str(), 0640);
    ReplaceFileContents(theirs, "by root");
    EXPECT_EQ(Bytes(theirs), "by root");
    EXPECT_EQ(StatOf(theirs).st_uid, kNobody);
    EXPECT_EQ(StatOf(theirs).st_gid, kNobody);
    EXPECT_EQ(ModeOf(theirs), 0640u);

    // A user saving their file of a group they are not in: a new file could not get that group.
    const std::string shared = PathOf("shared.ini");
    ostiva::testdata::WriteFileBytes(shared, "old shared");
    ASSERT_EQ(chown(shared.c_str(), kNobody, 0), 0);
    chmod(shared.c_str(), 0664);
    EXPECT_EQ(AsUnprivileged([&] { ReplaceFileContents(shared, "by nobody"); }), "");
    EXPECT_EQ(Bytes(shared), "by nobody");
    EXPECT_EQ(StatOf(shared).st_uid, kNobody);
    EXPECT_EQ(StatOf(shared).st_gid, 0u);
    EXPECT_EQ(ModeOf(shared), 0664u);
    EXPECT_EQ(EntriesInDir(), 2u);
}

// An in-place rewrite cut off for real: a child process is killed by the file-size limit
// (SIGXFSZ) once the journal is written and the first 1000 new bytes have gone over the old.
class InterruptedRewriteTest : public AtomicFileTest {
  protected:
    void SetUp() override {
        ostiva::testdata::WriteFileBytes(path, old);
        fs::create_hard_link(path, PathOf("link.xml"));
        const int status =
            ostiva::testdata::RunCutOffAfter(1000, [&] { ReplaceFileContents(path, now); });
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
        ASSERT_EQ(Bytes(path), std::string(1000, 'n')); // torn: the first 1000 bytes are new
        ASSERT_TRUE(fs::exists(journal));
    }

    const std::string path = PathOf("zq0001.xml");
    const std::string journal = PathOf(".zq0001.xml.ostiva-journal");
    const std::string old = std::string(500, 'o') + "\n";
    const std::string now = std::string(5000, 'n');
};

TEST_F(InterruptedRewriteTest, TheNextOpeningRollsTheFileBack) {
    RollBackInterruptedRewrite(PathOf("link.xml")); // the other link has no journal beside it
    EXPECT_EQ(Bytes(path), std::string(1000, 'n'));
    RollBackInterruptedRewrite(path);
    EXPECT_EQ(Bytes(path), old);
    EXPECT_EQ(Bytes(PathOf("link.xml")), old);
    EXPECT_EQ(EntriesInDir(), 2u);
    RollBackInterruptedRewrite(path); // nothing more to do
    EXPECT_EQ(Bytes(path), old);
}

TEST_F(InterruptedRewriteTest, TheNextSaveRollsBackFirstThenWrites) {
    ReplaceFileContents(path, "saved again");
    EXPECT_EQ(Bytes(path), "saved again");
    EXPECT_EQ(Bytes(PathOf("link.xml")), "saved again");
    EXPECT_EQ(EntriesInDir(), 2u);
}

// A journal that is not whole was cut off before the file was touched: it is removed unused.
TEST_F(InterruptedRewriteTest, AnIncompleteOrDamagedJournalIsIgnoredAndRemoved) {
    const std::string whole = Bytes(journal);
    std::string damaged = whole;
    damaged[whole.size() / 2] ^= 1;
    for (const std::string& bytes : {whole.substr(0, whole.size() - 1), whole.substr(0, 20),
                                     std::string(), damaged, whole + "x"}) {
        ostiva::testdata::WriteFileBytes(path, "current");
        ostiva::testdata::WriteFileBytes(journal, bytes);
        RollBackInterruptedRewrite(path);
        EXPECT_EQ(Bytes(path), "current") << bytes.size();
        EXPECT_FALSE(fs::exists(journal));
    }
}

// Temporary files of killed saves: only those of processes that no longer exist go.
TEST_F(AtomicFileTest, StaleTemporaryFilesOfDeadProcessesAreRemoved) {
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string dead = std::to_string(gone);
    const std::string alive = std::to_string(getppid());
    const std::vector<std::string> removed = {".zq0001.xml.tmp" + dead + "_0",
                                              ".b.tmp" + dead + "_17"};
    const std::vector<std::string> kept = {".zq0001.xml.tmp" + alive + "_0", // a live process
                                           ".zq0001.xml.tmp" + dead + "_0x",
                                           "zq0001.xml.tmp" + dead + "_0",
                                           ".tmp" + dead + "_1",
                                           ".zq0001.xml.tmp0" + dead + "_1",
                                           ".zq0001.xml.tmp" + dead + "_",
                                           ".zq.tmp_1",
                                           ".zq0001.xml.tmp99999999999_1",
                                           ".zq0001.xml.tmp" + dead + "_1.xml",
                                           ".locked.tmp" + dead +
                                               "_2", // held by a writer on another machine
                                           "zq0001.xml"};
    for (const auto& name : removed)
        ostiva::testdata::WriteFileBytes(PathOf(name), "x");
    for (const auto& name : kept)
        ostiva::testdata::WriteFileBytes(PathOf(name), "x");
    fs::create_directory(PathOf(".dir.tmp" + dead + "_3"));
    fs::create_symlink("zq0001.xml", PathOf(".link.tmp" + dead + "_4"));
    const int lockFd = open(PathOf(".locked.tmp" + dead + "_2").c_str(), O_RDONLY);
    ASSERT_EQ(flock(lockFd, LOCK_EX), 0);

    RemoveStaleTemporaryFiles(dir_.string());
    for (const auto& name : removed)
        EXPECT_FALSE(fs::exists(PathOf(name))) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(fs::exists(PathOf(name))) << name;
    EXPECT_TRUE(fs::is_directory(PathOf(".dir.tmp" + dead + "_3")));
    EXPECT_TRUE(fs::is_symlink(PathOf(".link.tmp" + dead + "_4")));
    close(lockFd);

    // Any save in the folder does the same.
    for (const auto& name : removed)
        ostiva::testdata::WriteFileBytes(PathOf(name), "x");
    ReplaceFileContents(PathOf("other.ini"), "saved");
    for (const auto& name : removed)
        EXPECT_FALSE(fs::exists(PathOf(name))) << name;
    EXPECT_FALSE(fs::exists(PathOf(".locked.tmp" + dead + "_2")));
}

} // namespace
