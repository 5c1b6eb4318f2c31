#include "AtomicFile.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using ostiva::WriteFileAtomically;

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

    static mode_t ModeOf(const std::string& path) {
        struct stat st {};
        stat(path.c_str(), &st);
        return st.st_mode & 07777;
    }

    ostiva::testdata::ScopedTempDir temp_;
    const fs::path dir_{temp_.Path()};
};

TEST_F(AtomicFileTest, CreatesAndReplacesKeepingPermissions) {
    const std::string path = PathOf("data.ini");
    WriteFileAtomically(path, "first");
    EXPECT_EQ(Bytes(path), "first");

    chmod(path.c_str(), 0640);
    WriteFileAtomically(path, std::string("second\0binary", 13));
    EXPECT_EQ(Bytes(path), std::string("second\0binary", 13));
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(AtomicFileTest, WritesThroughASymbolicLink) {
    const std::string target = PathOf("real.ini");
    const std::string link = PathOf("link.ini");
    std::ofstream(target) << "old";
    fs::create_symlink(target, link);
    WriteFileAtomically(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Bytes(target), "new");
}

TEST_F(AtomicFileTest, RefusesAReadOnlyFile) {
    const std::string path = PathOf("ro.ini");
    std::ofstream(path) << "keep me";
    chmod(path.c_str(), 0444);
    try {
        WriteFileAtomically(path, "overwritten");
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
        WriteFileAtomically(path, "x");
        FAIL() << "wrote into a missing directory";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(std::strerror(ENOENT)), std::string::npos) << e.what();
    }
    EXPECT_THROW(WriteFileAtomically(dir_.string(), "x"), std::runtime_error); // a directory
}

TEST_F(AtomicFileTest, FailedWriteLeavesOldFileIntact) {
    const std::string path = PathOf("full.ini");
    const std::string original(500, 'o');
    std::ofstream(path) << original;

    // A file-size limit makes the write fail halfway, as a full disk would.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    std::string message;
    try {
        WriteFileAtomically(path, std::string(5000, 'n'));
    } catch (const std::runtime_error& e) {
        threw = true;
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(threw);
    EXPECT_NE(message.find(std::strerror(EFBIG)), std::string::npos) << message;
    EXPECT_EQ(Bytes(path), original);
    EXPECT_EQ(EntriesInDir(), 1u);
}

} // namespace
