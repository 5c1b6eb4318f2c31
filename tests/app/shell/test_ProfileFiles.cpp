// Copying and moving profile files never replaces a file that exists and never leaves a part
// of one behind.
#include "TestSupport.h"
#include "app/shell/ProfileFileCommands.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(ProfileFiles, CopyKeepsTheDateStaysWritableAndNeverReplacesOrLeavesAPart) {
    QTemporaryDir dir;
    const QString source = dir.path() + "/zq1.xml", target = dir.path() + "/project/";
    ASSERT_TRUE(QDir().mkdir(target));
    WriteBytes(source, "measured");
    const QDateTime measured(QDate(2024, 3, 5), QTime(8, 1, 29));
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(measured, QFileDevice::FileModificationTime);
    }
    ASSERT_EQ(chmod(qPrintable(source), 0444), 0);
    EXPECT_TRUE(CopyWithoutReplacing(source, target + "zq1.xml"));
    EXPECT_EQ(FileBytes(target + "zq1.xml"), "measured");
    EXPECT_EQ(QFileInfo(target + "zq1.xml").lastModified(), measured);
    EXPECT_TRUE(QFileInfo(target + "zq1.xml").permissions() & QFileDevice::WriteOwner);

    WriteBytes(target + "zq2.xml", "older");
    EXPECT_FALSE(CopyWithoutReplacing(source, target + "zq2.xml"));
    EXPECT_EQ(FileBytes(target + "zq2.xml"), "older");
    EXPECT_FALSE(CopyWithoutReplacing(dir.path() + "/project", target + "zq3.xml"))
        << "a folder cannot be read as a file";
    EXPECT_FALSE(CopyWithoutReplacing(source, dir.path() + "/missing/zq1.xml"));
    // A name taken by a link to nothing is found only when the copy is already written.
    ASSERT_TRUE(QFile::link(dir.path() + "/nowhere", target + "zq4.xml"));
    EXPECT_FALSE(CopyWithoutReplacing(source, target + "zq4.xml"));
    EXPECT_TRUE(QFileInfo(target + "zq4.xml").isSymLink());
    EXPECT_EQ(FilesIn(target), (QStringList{"zq1.xml", "zq2.xml"}));
}

TEST(ProfileFiles, MoveNeverReplacesAlsoAcrossFileSystems) {
    QTemporaryDir dir;
    const QString first = dir.path() + "/zq1.xml", second = dir.path() + "/zq2.xml";
    WriteBytes(first, "first");
    WriteBytes(second, "second");
    EXPECT_FALSE(MoveWithoutReplacing(first, second));
    EXPECT_EQ(FileBytes(first), "first");
    EXPECT_EQ(FileBytes(second), "second");

    QTemporaryDir memory("/dev/shm/ostiva-XXXXXX");
    struct stat here {
    }, there{};
    if (!memory.isValid() || stat(qPrintable(dir.path()), &here) != 0 ||
        stat(qPrintable(memory.path()), &there) != 0 || here.st_dev == there.st_dev)
        GTEST_SKIP() << "no second file system";
    WriteBytes(memory.path() + "/zq2.xml", "taken");
    EXPECT_FALSE(MoveWithoutReplacing(first, memory.path() + "/zq2.xml"));
    EXPECT_EQ(FileBytes(memory.path() + "/zq2.xml"), "taken");
    EXPECT_TRUE(MoveWithoutReplacing(first, memory.path() + "/zq1.xml"));
    EXPECT_EQ(FileBytes(memory.path() + "/zq1.xml"), "first");
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_EQ(FilesIn(memory.path()), (QStringList{"zq1.xml", "zq2.xml"}));
}

} // namespace
