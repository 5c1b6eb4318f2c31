// Where settings and language files are read and written, and the user's overlay of an
// installed language file.
#include "core/IniFile.h"
#include "core/ProgramFiles.h"

#include "testdata/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using ostiva::testdata::ReadFileBytes;
using ostiva::testdata::WriteFileBytes;

namespace {

// <temp>/bin/ostiva with <temp>/share/ostiva/ostiva_EN.ini installed beside bin/, and the user's
// folder <temp>/config/ostiva (not made yet).
class ProgramFilesTest : public ::testing::Test {
  protected:
    ProgramFilesTest() {
        fs::create_directories(bin);
        fs::create_directories(share);
        WriteFileBytes(share + "/ostiva_EN.ini", "[L]\nA=1\nB=2\n");
    }
    std::string Beside(const std::string& name) const { return bin + "/" + name; }
    std::string Mine(const std::string& name) const { return user + "/" + name; }

    ostiva::testdata::ScopedTempDir temp;
    const std::string bin = temp.Path() + "/bin";
    const std::string share = temp.Path() + "/share/ostiva";
    const std::string user = temp.Path() + "/config/ostiva";
};

TEST_F(ProgramFilesTest, FilesStayBesideOnlyForABuildFolderOrAPortableCopy) {
    struct Case {
        const char* layout;
        std::vector<std::string> beside; // files lying beside the executable
        bool writable;                   // the executable's folder (root: always)
        bool keptBeside;
    };
    const Case cases[] = {
        {"installed under ~/.local or by root", {}, true, false},
        {"installed, read-only", {}, false, false},
        {"build folder", {"ostiva_EN.ini", "ostiva_DE.ini"}, true, true},
        {"portable copy", {"ostiva.ini"}, true, true},
        {"portable copy with a language file only", {"ostiva_FR.ini"}, true, true},
        {"read-only portable copy", {"ostiva.ini", "ostiva_EN.ini"}, false, false},
        {"other files beside", {"ostiva.txt", "ostiva_XX.ini", "other.ini"}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        fs::remove_all(bin);
        fs::create_directories(bin);
        for (const std::string& name : c.beside)
            WriteFileBytes(Beside(name), "[L]\nA=beside\n");

        for (const char* name : {"ostiva.ini", "ostiva_EN.ini", "ostiva_NL.ini"})
            EXPECT_EQ(ostiva::KeepsFilesBeside(Beside(name), c.writable), c.keptBeside) << name;
        for (const char* name : {"ostiva.ini", "ostiva_EN.ini"})
            EXPECT_EQ(ostiva::WritableProgramFile(Beside(name), c.writable, user),
                      c.keptBeside ? Beside(name) : Mine(name));
        // The installed file is read unless a file beside is, and never the user's alone.
        const bool enBeside = fs::exists(Beside("ostiva_EN.ini"));
        EXPECT_EQ(ostiva::ReadableProgramFile(Beside("ostiva_EN.ini"), c.writable, user),
                  enBeside ? Beside("ostiva_EN.ini") : share + "/ostiva_EN.ini");
        EXPECT_EQ(fs::exists(user), !c.keptBeside);
        fs::remove_all(user);
    }
}

TEST_F(ProgramFilesTest, UserWritesOverlayTheInstalledFileThroughItsUpdates) {
    const std::string language = Beside("ostiva_EN.ini");
    const std::string target = ostiva::WritableProgramFile(language, true, user);
    ostiva::IniFile(target).WriteString("L", "A", "9");
    EXPECT_EQ(ReadFileBytes(target), "[L]\nA=9\n"); // only what the user wrote
    EXPECT_EQ(ReadFileBytes(share + "/ostiva_EN.ini"), "[L]\nA=1\nB=2\n");

    // A package update changes the installed file: unwritten keys follow it.
    WriteFileBytes(share + "/ostiva_EN.ini", "[L]\nA=5\nB=6\nC=7\n");
    {
        const ostiva::IniFile read(ostiva::ReadableProgramFile(language, true, user));
        EXPECT_EQ(read.ReadString("L", "a", "-"), "9");
        EXPECT_EQ(read.ReadString("L", "B", "-"), "6");
        EXPECT_EQ(read.ReadString("L", "C", "-"), "7");
        EXPECT_EQ(read.ReadString("L", "D", "-"), "-");
    }

    // A read-only copy with its own language files is overlaid the same way; once its folder may
    // be written, it is a portable copy and the user's file plays no part.
    WriteFileBytes(language, "[L]\nB=beside\n");
    for (const bool writable : {false, true}) {
        const ostiva::IniFile beside(ostiva::ReadableProgramFile(language, writable, user));
        EXPECT_EQ(beside.Path(), language);
        EXPECT_EQ(beside.ReadString("L", "A", "-"), writable ? "-" : "9");
        EXPECT_EQ(beside.ReadString("L", "B", "-"), "beside");
    }
}

TEST_F(ProgramFilesTest, UserFileAloneWhenNothingIsInstalledAndNoFolderToWrite) {
    // A settings file is never installed: the user's is read as it stands.
    EXPECT_EQ(ostiva::ReadableProgramFile(Beside("ostiva.ini"), true, user), Beside("ostiva.ini"));
    WriteFileBytes(ostiva::WritableProgramFile(Beside("ostiva.ini"), true, user), "[S]\nK=1\n");
    EXPECT_EQ(ostiva::ReadableProgramFile(Beside("ostiva.ini"), true, user), Mine("ostiva.ini"));

    EXPECT_THROW(ostiva::WritableProgramFile(Beside("ostiva.ini"), true, ""), ostiva::IniError);
    WriteFileBytes(temp.Path() + "/config/file", "");
    EXPECT_THROW(ostiva::WritableProgramFile(Beside("ostiva.ini"), true,
                                             temp.Path() + "/config/file/ostiva"),
                 ostiva::IniError);
}

} // namespace
