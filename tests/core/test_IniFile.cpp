#include "core/IniFile.h"

#include "testdata/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using ostiva::IniError;
using ostiva::IniFile;

namespace {

class IniFileTest : public ::testing::Test {
  protected:
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    std::string Make(const std::string& name, const std::string& bytes) const {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // The file's bytes; "" for a file that does not exist.
    static std::string Bytes(const std::string& path) {
        return fs::exists(path) ? ostiva::testdata::ReadFileBytes(path) : std::string();
    }

    ostiva::testdata::ScopedTempDir temp_;
    const fs::path dir_{temp_.Path()};
};

TEST_F(IniFileTest, ReadsTheDialect) {
    const std::string path = Make("a.ini", "; settings\n"
                                           "orphan=before any section\n"
                                           "[Main]\n"
                                           "  Name \t=\t  Ostiva GUI  \n"
                                           "Double=\"  quoted  \"\n"
                                           "Single='x'\n"
                                           "Unmatched=\"x'\n"
                                           "Lone=\"\n"
                                           "Empty=\n"
                                           "Blanks=   \n"
                                           "Formula=a=b=c\n"
                                           ";Hidden=comment\n"
                                           "#Also=comment\n"
                                           "just some text\n"
                                           "[ Other ]\n"
                                           "key=other\n");
    const IniFile ini(path);
    EXPECT_TRUE(ini.Exists());
    EXPECT_EQ(ini.ReadString("MAIN", "name", "-"), "Ostiva GUI");
    EXPECT_EQ(ini.ReadString("main", "DOUBLE", "-"), "  quoted  ");
    EXPECT_EQ(ini.ReadString("Main", "Single", "-"), "x");
    EXPECT_EQ(ini.ReadString("Main", "Unmatched", "-"), "\"x'");
    EXPECT_EQ(ini.ReadString("Main", "Lone", "-"), "\"");
    EXPECT_EQ(ini.ReadString("Main", "Empty", "Error"), "");
    EXPECT_EQ(ini.ReadString("Main", "Blanks", "Error"), "");
    EXPECT_EQ(ini.ReadString("Main", "Formula", "-"), "a=b=c");
    EXPECT_EQ(ini.ReadString("Main", "Hidden", "-"), "-");
    EXPECT_EQ(ini.ReadString("Main", "#Also", "-"), "-");
    EXPECT_EQ(ini.ReadString("Main", "just some text", "-"), "-");
    EXPECT_EQ(ini.ReadString("Main", "orphan", "-"), "-");
    EXPECT_EQ(ini.ReadString("OTHER", "Key", "-"), "other");
    EXPECT_EQ(ini.ReadString("Main", "missing", "Error"), "Error");
    EXPECT_EQ(ini.ReadString("Missing", "Name", "Error"), "Error");
}

TEST_F(IniFileTest, MissingFileGivesDefaults) {
    const IniFile ini(PathOf("none.ini"));
    EXPECT_FALSE(ini.Exists());
    EXPECT_EQ(ini.ReadString("Software", "Language", "EN"), "EN");
    const IniFile underFile(Make("plain", "x") + "/below.ini");
    EXPECT_FALSE(underFile.Exists());
}

TEST_F(IniFileTest, FirstOccurrenceOfSectionAndKeyWins) {
    const std::string path =
        Make("dup.ini", "[A]\nk=first\nk=second\n[B]\nk=b\n[a]\nk=third\nonly=later\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("A", "k", "-"), "first");
    EXPECT_EQ(ini.ReadString("A", "only", "-"), "-");
    ini.WriteString("a", "K", "new");
    EXPECT_EQ(Bytes(path), "[A]\nk=new\nk=second\n[B]\nk=b\n[a]\nk=third\nonly=later\n");
    EXPECT_EQ(IniFile(path).ReadString("A", "k", "-"), "new");
}

TEST_F(IniFileTest, LongValuesAreCutAt2047Characters) {
    const std::string ascii(3000, 'x');
    std::string umlauts;
    for (int i = 0; i < 2100; ++i)
        umlauts += "\xC3\xBC"; // ü
    IniFile ini(Make("long.ini", "[S]\nascii=" + ascii + "\numl=" + umlauts + "\n"));
    EXPECT_EQ(ini.ReadString("S", "ascii", ""), std::string(2047, 'x'));
    EXPECT_EQ(ini.ReadString("S", "uml", ""), umlauts.substr(0, 2 * 2047));
}

TEST_F(IniFileTest, WritesInPlaceAppendsKeysAndSectionsAndKeepsOtherLines) {
    const std::string original = "; language file\n"
                                 "[Menu1]\n"
                                 "Caption = &File\n"
                                 "\n"
                                 "some unknown line\n"
                                 "; trailing comment\n"
                                 "\n"
                                 "[Menu2]\n"
                                 "Caption=&Edit";
    const std::string path = Make("w.ini", original);
    IniFile ini(path);
    ini.WriteString("MENU1", "caption", "&Bestand");
    ini.WriteString("Menu1", "Hint", "File menu");
    ini.WriteString("Menu2", "Hint", "Edit menu");
    ini.WriteString("Paths", "CurDir", "/data/");
    EXPECT_EQ(Bytes(path), "; language file\n"
                           "[Menu1]\n"
                           "Caption = &Bestand\n"
                           "\n"
                           "some unknown line\n"
                           "Hint=File menu\n"
                           "; trailing comment\n"
                           "\n"
                           "[Menu2]\n"
                           "Caption=&Edit\n"
                           "Hint=Edit menu\n"
                           "\n"
                           "[Paths]\n"
                           "CurDir=/data/\n");
    EXPECT_EQ(ini.ReadString("menu1", "caption", "-"), "&Bestand");
}

TEST_F(IniFileTest, CreatesAMissingFile) {
    const std::string path = PathOf("new.ini");
    IniFile ini(path);
    ini.WriteString("Software", "Language", "NL");
    EXPECT_TRUE(ini.Exists());
    EXPECT_EQ(Bytes(path), "[Software]\nLanguage=NL\n");
}

TEST_F(IniFileTest, WrittenValuesReadBackAsWritten) {
    IniFile ini(PathOf("v.ini"));
    ini.WriteString("S", "blanks", "  padded  ");
    ini.WriteString("S", "quoted", "'as typed'");
    ini.WriteString("S", "broken", "one\r\ntwo=2\n[Evil]");
    ini.WriteString("S", "latin", std::string("M\xFCller")); // not UTF-8: taken as Windows-1252
    const IniFile again(ini.Path());
    EXPECT_EQ(again.ReadString("S", "blanks", "-"), "padded");
    EXPECT_EQ(again.ReadString("S", "quoted", "-"), "'as typed'");
    EXPECT_EQ(again.ReadString("S", "broken", "-"), "one  two=2 [Evil]");
    EXPECT_EQ(again.ReadString("S", "two", "-"), "-");
    EXPECT_EQ(again.ReadString("Evil", "two", "-"), "-");
    EXPECT_EQ(again.ReadString("S", "latin", "-"), "M\xC3\xBCller");
}

TEST_F(IniFileTest, KeepsCrLfLineEnds) {
    const std::string path = Make("crlf.ini", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("A", "x", "-"), "1");
    EXPECT_EQ(ini.ReadString("B", "y", "-"), "2");
    ini.WriteString("A", "x", "10");
    ini.WriteString("A", "z", "3");
    ini.WriteString("C", "w", "4");
    EXPECT_EQ(Bytes(path), "[A]\r\nx=10\r\nz=3\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nw=4\r\n");
}

TEST_F(IniFileTest, EightBitFileIsWindows1252BothWays) {
    // 0x93/0x94 are curly quotes and 0x80 the euro sign in Windows-1252.
    const std::string path = Make("ansi.ini", "[Labels]\nName=Gr\xF6\xDF"
                                              "e\nOther=\x93"
                                              "caf\xE9\x94\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("labels", "name", "-"), "Gr\xC3\xB6\xC3\x9F"
                                                     "e");
    EXPECT_EQ(ini.ReadString("Labels", "Other", "-"), "\xE2\x80\x9C"
                                                      "caf\xC3\xA9\xE2\x80\x9D");
    ini.WriteString("Labels", "Name", "\xC3\x84nderung \xE2\x82\xAC"); // "Änderung €"
    EXPECT_EQ(Bytes(path), "[Labels]\nName=\xC4nderung \x80\nOther=\x93"
                           "caf\xE9\x94\n");

    // "ł" has no byte in Windows-1252: refused, never written as "?".
    try {
        ini.WriteString("Labels", "Name", "\xC5\x82");
        FAIL() << "an unencodable value was written";
    } catch (const IniError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path +
                                             ": the file is 8-bit text and Windows-1252 "
                                             "has no character U+0142");
    }
    EXPECT_EQ(Bytes(path), "[Labels]\nName=\xC4nderung \x80\nOther=\x93"
                           "caf\xE9\x94\n");
}

TEST_F(IniFileTest, Utf8FileStaysUtf8AndKeepsItsBom) {
    const std::string path = Make("bom.ini", "\xEF\xBB\xBF[Sect]\nText=\xC3\xA9t\xC3\xA9\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("Sect", "Text", "-"), "\xC3\xA9t\xC3\xA9");
    ini.WriteString("Sect", "More", "\xE2\x82\xAC");
    EXPECT_EQ(Bytes(path), "\xEF\xBB\xBF[Sect]\nText=\xC3\xA9t\xC3\xA9\nMore=\xE2\x82\xAC\n");
}

// Files whose bytes are not all of one encoding. A write changes the line it writes and no
// other, and leaves every other key reading what it read before.
TEST_F(IniFileTest, MixedEncodingsKeepEveryLineNobodyWrote) {
    const struct {
        const char* what;
        std::string before;
        const char* key;
        std::string value; // UTF-8
        std::string after;
        std::string aReads; // key "a" of [S] afterwards, UTF-8; "-" when absent
    } cases[] = {
        {"BOM, a comment's byte is not UTF-8", "\xEF\xBB\xBF; caf\xE9\n[S]\nk=1\n", "k", "2",
         "\xEF\xBB\xBF; caf\xE9\n[S]\nk=2\n", "-"},
        {"BOM, another key's bytes are not UTF-8", "\xEF\xBB\xBF[S]\na=\xE9t\xE9\n", "b",
         "\xC3\xA9", "\xEF\xBB\xBF[S]\na=\xE9t\xE9\nb=\xC3\xA9\n", "\xC3\xA9t\xC3\xA9"},
        {"BOM, the written key's name is not UTF-8", "\xEF\xBB\xBF[S]\ncl\xE9=1\na=x\n",
         "cl\xC3\xA9", "2", "\xEF\xBB\xBF[S]\ncl\xE9=2\na=x\n", "x"},
        {"8-bit, another byte stays not UTF-8", "; \xE9t\xE9\n[S]\na=\xC3\xA4\nb=\xE9\n", "b",
         "\xC3\xBC", "; \xE9t\xE9\n[S]\na=\xC3\xA4\nb=\xFC\n", "\xC3\x83\xC2\xA4"},
        {"8-bit, the last byte that is not UTF-8 is written away", "[S]\na=\xC3\xA4\nb=\xE9\n", "b",
         "x", "[S]\na=\xC3\x83\xC2\xA4\nb=x\n", "\xC3\x83\xC2\xA4"},
        {"8-bit, the written value would read as UTF-8", "[S]\nb=\xE9\n", "b", "\xC3\x83\xC2\xA9",
         "[S]\nb=\xC3\x83\xC2\xA9\n", "-"},
        {"8-bit, only ASCII is left", "[S]\na=1\r\nb=\xE9\r\n", "b", "x", "[S]\na=1\r\nb=x\r\n",
         "1"},
        {"UTF-8 without BOM", "[S]\na=\xC3\xA4\n", "b", "\xC3\xA9", "[S]\na=\xC3\xA4\nb=\xC3\xA9\n",
         "\xC3\xA4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = Make("mixed.ini", c.before);
        IniFile(path).WriteString("S", c.key, c.value);
        EXPECT_EQ(Bytes(path), c.after);
        const IniFile again(path);
        EXPECT_EQ(again.ReadString("S", c.key, "-"), c.value);
        EXPECT_EQ(again.ReadString("S", "a", "-"), c.aReads);
        // A second write of the same value changes nothing more.
        IniFile(path).WriteString("S", c.key, c.value);
        EXPECT_EQ(Bytes(path), c.after);
    }
}

// A write of a hard-linked file (rewritten in place) killed by the file-size limit halfway
// through: the next reader finds the old file.
TEST_F(IniFileTest, AWriteKilledHalfwayIsRolledBackAtTheNextOpening) {
    const std::string old = "[S]\nk=" + std::string(600, 'o') + "\n";
    const std::string path = Make("linked.ini", old);
    fs::create_hard_link(path, PathOf("other.ini"));
    const int status = ostiva::testdata::RunCutOffAfter(
        1000, [&] { IniFile(path).WriteString("S", "k", std::string(2000, 'n')); });
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    ASSERT_NE(Bytes(path), old);
    EXPECT_EQ(IniFile(path).ReadString("S", "k", "-"), std::string(600, 'o'));
    EXPECT_EQ(Bytes(path), old);
    EXPECT_FALSE(fs::exists(PathOf(".linked.ini.ostiva-journal")));
}

TEST_F(IniFileTest, UnreadablePathsThrow) {
    try {
        IniFile ini(dir_.string());
        FAIL() << "a directory opened as ini-file";
    } catch (const IniError& e) {
        EXPECT_EQ(std::string(e.what()), "Can't open ini-file " + dir_.string());
    }
    if (geteuid() != 0) { // root reads whatever the mode says
        const std::string path = Make("secret.ini", "[A]\nb=c\n");
        chmod(path.c_str(), 0);
        EXPECT_THROW(IniFile{path}, IniError);
    }
}

TEST_F(IniFileTest, ReadOnlyFileIsNotWritten) {
    const std::string original = "[A]\nb=c\n";
    const std::string path = Make("ro.ini", original);
    chmod(path.c_str(), 0444);
    IniFile ini(path);
    try {
        ini.WriteString("A", "b", "changed");
        FAIL() << "a read-only file was written";
    } catch (const IniError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
    EXPECT_EQ(Bytes(path), original);
    EXPECT_EQ(ini.ReadString("A", "b", "-"), "c");

    IniFile nowhere(PathOf("missing/dir/x.ini"));
    EXPECT_THROW(nowhere.WriteString("A", "b", "c"), IniError);
    EXPECT_FALSE(fs::exists(PathOf("missing")));
}

TEST_F(IniFileTest, ChangedFileIsSeenAtNextOpen) {
    const std::string path = Make("c.ini", "[A]\nk=one\n");
    EXPECT_EQ(IniFile(path).ReadString("A", "k", "-"), "one");

    // Another writer rewrites the file in place, same size, within the same clock tick
    // (file times tick coarsely, so most of these rewrites keep the file's stamp).
    for (int round = 0; round < 20; ++round) {
        const std::string value = round % 2 ? "one" : "two";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << "[A]\nk=" << value << "\n";
        ASSERT_EQ(IniFile(path).ReadString("A", "k", "-"), value) << "round " << round;
    }

    // ... or replaces it by a new file.
    const std::string other = Make("c2.ini", "[A]\nk=six\n");
    fs::rename(other, path);
    EXPECT_EQ(IniFile(path).ReadString("A", "k", "-"), "six");

    IniFile writer(path);
    writer.WriteString("A", "k", "ten");
    EXPECT_EQ(writer.ReadString("A", "k", "-"), "ten");
    EXPECT_EQ(IniFile(path).ReadString("A", "k", "-"), "ten");

    fs::remove(path);
    EXPECT_FALSE(IniFile(path).Exists());
}

TEST_F(IniFileTest, WriterSeesChangesMadeAfterItOpened) {
    const std::string path = Make("late.ini", "[A]\nk=1\n");
    IniFile early(path);
    IniFile(path).WriteString("A", "other", "2");
    early.WriteString("A", "k", "3");
    EXPECT_EQ(Bytes(path), "[A]\nk=3\nother=2\n");
}

TEST(IniFilePaths, SettingsAndLanguageFileNames) {
    using ostiva::LanguageFilePath;
    using ostiva::SettingsFilePath;
    EXPECT_EQ(SettingsFilePath("C:\\Prog\\zq_gui.exe"), "C:\\Prog\\zq_gui.ini");
    EXPECT_EQ(SettingsFilePath("/opt/ostiva/OSTIVA.EXE"), "/opt/ostiva/OSTIVA.ini");
    // A ".exe" in a folder's name is part of the name.
    EXPECT_EQ(SettingsFilePath("/a.exe.d/prog.exe"), "/a.exe.d/prog.ini");
    EXPECT_EQ(SettingsFilePath("/home/u/my.exercises/ostiva"), "/home/u/my.exercises/ostiva.ini");
    EXPECT_EQ(SettingsFilePath("/x/ostiva"), "/x/ostiva.ini");
    EXPECT_EQ(LanguageFilePath("/home/u/my.exercises/ostiva", "EN"),
              "/home/u/my.exercises/ostiva_EN.ini");
    EXPECT_EQ(LanguageFilePath("/x/prog.exec", "DE"), "/x/prog.exec_DE.ini");
    EXPECT_EQ(LanguageFilePath("C:\\Prog\\zq_gui.exe", "EN"), "C:\\Prog\\zq_gui_EN.ini");
    EXPECT_EQ(LanguageFilePath("/x/Ostiva.Exe", "NL"), "/x/Ostiva_NL.ini");
    EXPECT_EQ(LanguageFilePath("/x/ostiva", "FR"), "/x/ostiva_FR.ini");
}

} // namespace
