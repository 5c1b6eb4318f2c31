#include "core/ProfileDocument.h"
#include "testdata/ProfileGenerator.h"
#include "testdata/TestFiles.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace ostiva;
using namespace ostiva::testdata;
namespace fs = std::filesystem;

class ProfileDocumentTest : public ::testing::Test {
  protected:
    // Writes `bytes` as a file and loads it.
    ProfileDocument& Load(const std::string& bytes, const std::string& name = "zq.xml") {
        path = dir.File(name);
        WriteFileBytes(path, bytes);
        doc.Load(path);
        return doc;
    }
    std::string LoadSaveAndRead(const std::string& bytes) {
        Load(bytes);
        doc.Save(path);
        return ReadFileBytes(path);
    }
    std::string LoadError(const std::string& bytes) {
        path = dir.File("bad.xml");
        WriteFileBytes(path, bytes);
        try {
            doc.Load(path);
        } catch (const std::runtime_error& e) {
            EXPECT_FALSE(doc.IsLoaded());
            return e.what();
        }
        return "loaded";
    }

    ScopedTempDir dir;
    std::string path;
    ProfileDocument doc;
};

struct Style {
    const char* name;
    std::string bytes;
};

std::string GeneratedLatin1() {
    GeneratorOptions o;
    o.encoding = FileEncoding::Latin1;
    ProfileHeader h;
    h.eigenaar = "Coöperatie Hénaut & Zn";
    h.lasSer = "É. Müller";
    o.header = h;
    return GenerateProfileXml(o);
}

// An ASCII text as UTF-16, little-endian, with its byte order mark.
std::string Utf16Le(std::string_view ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

const Style kStyles[] = {
    {"GeneratedCrLf", GenerateProfileXml({})},
    {"LineFeedsCommentsAndInstructions",
     "<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<?render mode=\"fast\"?>\n"
     "<root>\n  <!-- header -->\n  <INFO_AUTO DEVICE=\"1\" DATUM=\"x\"/>\n"
     "  <TOP_MEAS POSP=\"0.1\">\n-500 0.1\n-495 0.2\n</TOP_MEAS>\n"
     "  <TOP_DX_DY><![CDATA[raw]]></TOP_DX_DY>\n</root>\n<!-- end -->\n\n"},
    {"Latin1Declared", GeneratedLatin1()},
    {"Windows1252Declared", "<?xml version='1.0' encoding='windows-1252'?>\r\n"
                            "<r><INFO_AUTO EIGENAAR=\"\x93"
                            "Caf\xe9\x94 \x80 5\"/>\r\n</r>"},
    {"Utf8Bom", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                "<r><INFO_AUTO EIGENAAR=\"Co\xC3\xB6peratie\"/></r>\r\n"},
    {"References", "<r a=\"&lt;&amp;&#233;&#xE9;&quot;\">x &gt; y &amp; &#13;&#10;z</r>"},
    {"EveryLegalOddity",
     "\xEF\xBB\xBF<?xml version = '1.0' encoding=\"utf-8\" standalone='no' ?>\r\n"
     "<!-- before - the root -->\r\n<?tool run?>\r\n<r:oot xmlns:r=\"urn:x\">\r\n"
     "  <INFO_AUTO DEVICE = '12\"3' DATUM=\"&#x32;&#48;26\" EIGENAAR=\"A&amp;B &lt;&gt; "
     "\xC3\xA9\"/>"
     "\r\n  <TOP_DX_DY><![CDATA[<not markup> & ]]]></TOP_DX_DY><empty  />\r\n"
     "  <gr\xC3\xB6\xC3\x9F"
     "e a=\"\t\"/>\r\n</r:oot  >\r\n<?after?><!---->\r\n"},
    {"Utf16", Utf16Le("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<r>"
                      "<INFO_AUTO DEVICE = \"1\" EIGENAAR='&#233;'/></r>\r\n")},
    {"SpacesInAttributes", "<r><INFO_MANU PLAATS=\"  a\r\n\tb  \" SPOOR=\"\"/></r>"},
    // No declaration: an instruction whose name merely begins with "xml" comes first.
    {"InstructionFirst", "<?xml-stylesheet type=\"text/xsl\" href=\"p.xsl\" encoding=\"UTF-16\"?>"
                         "\r\n<r><INFO_AUTO EIGENAAR=\"Co\xC3\xB6p\"/></r>\r\n"},
};

class RoundTripTest : public ProfileDocumentTest, public ::testing::WithParamInterface<Style> {};

TEST_P(RoundTripTest, SavingWithoutChangesKeepsEveryByte) {
    const std::string& original = GetParam().bytes;
    EXPECT_EQ(LoadSaveAndRead(original), original);
}

TEST_P(RoundTripTest, RewritingTheValuesReadKeepsEveryByte) {
    const std::string& original = GetParam().bytes;
    Load(original);
    for (const char* attribute : {"DEVICE", "DATUM", "EIGENAAR"})
        doc.SetAttribute("INFO_AUTO", attribute, doc.GetAttribute("INFO_AUTO", attribute));
    for (const char* attribute : {"PLAATS", "SPOOR"})
        doc.SetAttribute("INFO_MANU", attribute, doc.GetAttribute("INFO_MANU", attribute));
    doc.SetAttribute("r", "a", doc.GetAttribute("r", "a"));
    doc.Save(path);
    EXPECT_EQ(ReadFileBytes(path), original);
}

INSTANTIATE_TEST_SUITE_P(Styles, RoundTripTest, ::testing::ValuesIn(kStyles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileDocumentTest, TextsAreReadAsUtf8WhateverTheFileEncoding) {
    Load(GeneratedLatin1());
    EXPECT_EQ(doc.GetAttribute("INFO_AUTO", "EIGENAAR"), "Coöperatie Hénaut & Zn");
    EXPECT_EQ(doc.GetAttribute("INFO_MANU", "LASSER"), "É. Müller");

    // ISO-8859-1 is read as Windows-1252: 0x80-0x9F are the euro sign, curly quotes, dashes.
    Load("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><r><INFO_AUTO EIGENAAR=\"\x80 Caf\xe9 "
         "\x96\"/></r>");
    EXPECT_EQ(doc.GetAttribute("INFO_AUTO", "EIGENAAR"), "€ Café –");

    Load("<r a=\"&lt;&amp;&#233;&#xE9;&quot;\">x &gt; y &amp; &#13;&#10;z</r>");
    EXPECT_EQ(doc.GetAttribute("r", "a"), "<&éé\"");
    EXPECT_EQ(doc.GetElementText("r"), "x > y & \r\nz");
}

TEST_F(ProfileDocumentTest, AnyDocumentTypeIsRefusedSoNoEntityIsFetchedOrExpanded) {
    for (const char* doctype :
         {"<!DOCTYPE r>", "<!DOCTYPE r [<!ENTITY ext SYSTEM \"file:///etc/passwd\">]>",
          "<!DOCTYPE r [<!ENTITY a \"&b;&b;&b;&b;\"><!ENTITY b \"xxxxxxxxxxxxxxxx\">]>"}) {
        const std::string xml = std::string("<?xml version=\"1.0\"?>\n") + doctype +
                                "<r><INFO_AUTO EIGENAAR=\"x\"/><TREND>1</TREND></r>";
        EXPECT_EQ(LoadError(xml), "Document type declarations are not accepted at offset 22");
        EXPECT_EQ(doc.GetAttribute("INFO_AUTO", "EIGENAAR"), kNotFound);
    }
}

TEST_F(ProfileDocumentTest, EveryEncodingIsWrittenBackAsItWasAndLosesNoCharacter) {
    const std::string head = "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\r\n<r><INFO_AUTO ";
    Load(head + "EIGENAAR=\"x\" DEVICE=\"\x93"
                "d\x94\"/></r>");
    doc.SetAttribute("INFO_AUTO", "EIGENAAR", "Spoorbouw € Łódź");
    doc.Save(path);
    // What the encoding holds is written as its byte, the rest as a character reference.
    EXPECT_EQ(ReadFileBytes(path), head + "EIGENAAR=\"Spoorbouw \x80 &#321;\xF3"
                                          "d&#378;\" "
                                          "DEVICE=\"\x93"
                                          "d\x94\"/></r>");
    ProfileDocument again;
    again.Load(path);
    EXPECT_EQ(again.GetAttribute("INFO_AUTO", "EIGENAAR"), "Spoorbouw € Łódź");

    // UTF-16 stays UTF-16, byte order mark and byte order included.
    Load(Utf16Le("<r a=\"\"/>"));
    doc.SetAttribute("r", "a", "é€\U0001D11E"); // the last needs two units
    doc.Save(path);
    EXPECT_EQ(ReadFileBytes(path), Utf16Le("<r a=\"") +
                                       std::string("\xE9\0\xAC\x20\x34\xD8\x1E\xDD", 8) +
                                       Utf16Le("\"/>").substr(2));

    // A file that declares plain ASCII gets no 8-bit byte at all.
    Load("<?xml version=\"1.0\" encoding=\"US-ASCII\"?><r a=\"\"/>");
    doc.SetAttribute("r", "a", "é€");
    doc.Save(path);
    EXPECT_EQ(ReadFileBytes(path),
              "<?xml version=\"1.0\" encoding=\"US-ASCII\"?><r a=\"&#233;&#8364;\"/>");
}

TEST_F(ProfileDocumentTest, TextLineEndsReachTheReaderAsLineFeeds) {
    Load("<r><TOP_MEAS>-500 0.1\r\n-495 0.2\r-490 0.3\n</TOP_MEAS></r>");
    EXPECT_EQ(doc.GetElementText("TOP_MEAS"), "-500 0.1\n-495 0.2\n-490 0.3\n");
}

TEST_F(ProfileDocumentTest, ElementsAreFoundByNameInDocumentOrderIgnoringCase) {
    Load("<Root id=\"root\"><a><deep><top_meas id=\"nested\">1</top_meas></deep></a>"
         "<TOP_MEAS id=\"later\">2</TOP_MEAS><ToP_QuAlItY id=\"q\"/></Root>");
    EXPECT_EQ(doc.GetAttribute("ROOT", "ID"), "root");
    EXPECT_EQ(doc.GetAttribute("TOP_MEAS", "id"), "nested");
    EXPECT_EQ(doc.GetElementText("TOP_MEAS"), "1");
    EXPECT_EQ(doc.GetAttribute("top_quality", "Id"), "q");
    EXPECT_EQ(doc.GetAttribute("TOP_MEAS", "id"), "nested");
    EXPECT_FALSE(doc.FindElement("TOP_MEA"));
    EXPECT_FALSE(doc.FindElement("TOP_MEAS_"));
    // Only a-z fold: "_" is not the letter after "^" (0x5E/0x7E would be).
    EXPECT_FALSE(doc.FindElement("TOP\x7fMEAS"));
}

TEST_F(ProfileDocumentTest, OnlyElementsMatchANameNotInstructionsOrText) {
    Load("<r><?INFO_AUTO DEVICE=\"pi\"?>INFO_AUTO<INFO_AUTO DEVICE=\"element\"/></r>");
    EXPECT_EQ(doc.GetAttribute("INFO_AUTO", "DEVICE"), "element");
}

TEST_F(ProfileDocumentTest, TheFirstOfTwoElementsIsReadAndWritten) {
    Load("<r><TOP_QUALITY QI=\"a\"/><TOP_QUALITY QI=\"b\"/>"
         "<TOP_DX_DY>first</TOP_DX_DY><TOP_DX_DY>second</TOP_DX_DY></r>");
    EXPECT_EQ(doc.GetAttribute("TOP_QUALITY", "QI"), "a");
    doc.SetAttribute("TOP_QUALITY", "QI", " 0.85");
    doc.SetElementText("TOP_DX_DY", "table");
    doc.Save(path);
    EXPECT_EQ(ReadFileBytes(path), "<r><TOP_QUALITY QI=\" 0.85\"/><TOP_QUALITY QI=\"b\"/>"
                                   "<TOP_DX_DY>table</TOP_DX_DY><TOP_DX_DY>second</TOP_DX_DY></r>");
}

TEST_F(ProfileDocumentTest, MissingPartsReadNotFoundAndAreNeverCreated) {
    const std::string original = "<r><INFO_AUTO DEVICE=\"\" a=\"1\" A=\"2\"/><EMPTY/>"
                                 "<COMMENTED><!-- c -->text</COMMENTED><NESTED><x/>t</NESTED></r>";
    Load(original);
    EXPECT_EQ(doc.GetAttribute("INFO_AUTO", "DEVICE"), "");
    EXPECT_EQ(doc.GetAttribute("INFO_AUTO", "DATUM"), kNotFound);
    EXPECT_EQ(doc.GetAttribute("INFO_MANU", "SPOOR"), kNotFound);
    EXPECT_EQ(doc.GetAttribute("INFO_AUTO", "A"), "1");
    EXPECT_EQ(doc.GetElementText("MISSING"), kNotFound);
    EXPECT_EQ(doc.GetElementText("EMPTY"), kNotFound);
    EXPECT_EQ(doc.GetElementText("COMMENTED"), kNotFound);
    EXPECT_EQ(doc.GetElementText("NESTED"), kNotFound);

    doc.SetAttribute("INFO_AUTO", "DATUM", "01-01-2026");
    doc.SetAttribute("INFO_MANU", "SPOOR", "1");
    doc.SetElementText("MISSING", "x");
    doc.SetElementText("EMPTY", "x");
    doc.SetElementText("COMMENTED", "x");
    doc.SetElementText("NESTED", "x");
    doc.SetAttribute("INFO_AUTO", "a", "3");
    doc.Save(path);
    EXPECT_EQ(ReadFileBytes(path),
              "<r><INFO_AUTO DEVICE=\"\" a=\"3\" A=\"2\"/><EMPTY/>"
              "<COMMENTED><!-- c -->text</COMMENTED><NESTED><x/>t</NESTED></r>");
}

TEST_F(ProfileDocumentTest, WrittenValuesAreEscapedAndReadBackUnchanged) {
    Load("<r><INFO_AUTO EIGENAAR=\"x\"/><TOP_DX_DY>0</TOP_DX_DY></r>");
    const std::string value = "A & B <\"C\"> 'd'\tline\nnext\r\x01";
    doc.SetAttribute("INFO_AUTO", "EIGENAAR", value);
    doc.SetElementText("TOP_DX_DY", "-500.00   0.00000000 \r<&>");
    doc.Save(path);
    EXPECT_EQ(ReadFileBytes(path),
              "<r><INFO_AUTO EIGENAAR=\"A &amp; B &lt;&quot;C&quot;&gt; 'd'&#9;line&#10;next"
              "&#13;\"/><TOP_DX_DY>-500.00   0.00000000 \r&lt;&amp;&gt;</TOP_DX_DY></r>");
    ProfileDocument again;
    again.Load(path);
    // The control character XML cannot hold is dropped.
    EXPECT_EQ(again.GetAttribute("INFO_AUTO", "EIGENAAR"), value.substr(0, value.size() - 1));
}

TEST_F(ProfileDocumentTest, ALatin1FileStaysLatin1AndLosesNoCharacter) {
    Load(GeneratedLatin1());
    doc.SetAttribute("INFO_AUTO", "EIGENAAR", "Spoorbouw € Zoë");
    doc.Save(path);
    const std::string saved = ReadFileBytes(path);
    EXPECT_NE(saved.find("encoding=\"ISO-8859-1\""), std::string::npos);
    EXPECT_NE(saved.find("EIGENAAR=\"Spoorbouw &#8364; Zo\xeb\""), std::string::npos);
    EXPECT_NE(saved.find("LASSER=\"\xc9. M\xfcller\""), std::string::npos);
    ProfileDocument again;
    again.Load(path);
    EXPECT_EQ(again.GetAttribute("INFO_AUTO", "EIGENAAR"), "Spoorbouw € Zoë");
}

// The characters U+0080-U+009F are controls, not the printable characters the bytes 0x80-0x9F
// stand for in Windows-1252: they are written as references, except for the five bytes that
// encoding leaves undefined, which stand for the controls themselves.
TEST_F(ProfileDocumentTest, ControlCharactersU0080ToU009FComeBackAsThemselves) {
    std::string controls;
    for (char32_t c = 0x80; c <= 0x9F; ++c)
        controls += {static_cast<char>(0xC2), static_cast<char>(c)};
    for (const char* label : {"windows-1252", "ISO-8859-1"}) {
        SCOPED_TRACE(label);
        const bool windows = std::string(label) == "windows-1252";
        std::string stored;
        for (int c = 0x80; c <= 0x9F; ++c) {
            const bool undefined = c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
            stored += windows && undefined ? std::string(1, static_cast<char>(c))
                                           : "&#" + std::to_string(c) + ";";
        }
        const std::string head = std::string("<?xml version=\"1.0\" encoding=\"") + label +
                                 "\"?><r><INFO_AUTO EIGENAAR=\"";
        Load(head + "x\"/></r>");
        doc.SetAttribute("INFO_AUTO", "EIGENAAR", controls);
        doc.Save(path);
        EXPECT_EQ(ReadFileBytes(path), head + stored + "\"/></r>");
        ProfileDocument again;
        again.Load(path);
        EXPECT_EQ(again.GetAttribute("INFO_AUTO", "EIGENAAR"), controls);
    }
}

TEST_F(ProfileDocumentTest, AValueQuotedWithApostrophesIsSavedWellFormed) {
    Load("<r><INFO_MANU PLAATS = 'de \"Hoek\"' SPOOR='1'/></r>");
    doc.SetAttribute("INFO_MANU", "SPOOR", "'t \"Veld\"");
    doc.Save(path);
    EXPECT_EQ(ReadFileBytes(path),
              "<r><INFO_MANU PLAATS = 'de \"Hoek\"' SPOOR='&apos;t &quot;Veld&quot;'/></r>");
    ProfileDocument again;
    again.Load(path);
    EXPECT_EQ(again.GetAttribute("INFO_MANU", "SPOOR"), "'t \"Veld\"");
}

TEST_F(ProfileDocumentTest, BadFilesFailToLoadWithAMessage) {
    EXPECT_NE(LoadError(""), "loaded");
    EXPECT_NE(LoadError("<r><INFO_AUTO DEVICE=\"1\"/><TOP_MEAS>-500 0.1\r\n-4").find("offset"),
              std::string::npos);
    EXPECT_NE(LoadError("<r><a></b></r>"), "loaded");
    EXPECT_NE(LoadError("<r a=\"1></r>"), "loaded");
    EXPECT_NE(LoadError(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18)), "loaded");
    EXPECT_NE(LoadError(std::string("<r>a\0b</r>", 10)), "loaded");
    EXPECT_NE(LoadError(std::string("<r/>\0<!--", 9)), "loaded");
    // pugixml takes these without a word, dropping the text or keeping only the first element.
    for (const char* outside : {"<r/><second/>", "junk<r/>", "<r/>junk", "<r><a/></r>x>",
                                "<r a='>'/>a/>", "&amp;<r/>", "<r/>]]>", "<r/><!DOCTYPE r>"})
        EXPECT_NE(LoadError(outside), "loaded") << outside;
    // Files that are not UTF-8 must say which encoding they are in.
    EXPECT_EQ(LoadError("<r a=\"Caf\xe9\"/>"), "Invalid UTF-8 at offset 9");
    EXPECT_EQ(LoadError("<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?><r/>"),
              "Unsupported encoding ISO-8859-2");

    EXPECT_THROW(doc.Load(dir.File("missing.xml")), std::runtime_error);
    try {
        doc.Load(dir.File("missing.xml"));
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "File was not found");
    }
    Load("<r><INFO_AUTO DEVICE=\"1\"/></r>");
    EXPECT_THROW(doc.Load(dir.Path()), std::runtime_error);
    EXPECT_EQ(doc.GetAttribute("INFO_AUTO", "DEVICE"), kNotFound);
    EXPECT_NE(LoadError("<r><INFO_AUTO DEVICE=\"1\"/></r>junk"), "loaded");
    EXPECT_EQ(doc.GetAttribute("INFO_AUTO", "DEVICE"), kNotFound);
    EXPECT_THROW(doc.Save(dir.File("never.xml")), std::runtime_error);
    EXPECT_FALSE(fs::exists(dir.File("never.xml")));
}

TEST_F(ProfileDocumentTest, ADeeplyNestedDocumentIsSearchedWithoutRecursion) {
    const int depth = 200000;
    std::string xml;
    for (int i = 0; i < depth; ++i)
        xml += "<a>";
    for (int i = 0; i < depth; ++i)
        xml += "</a>";
    Load(xml);
    EXPECT_FALSE(doc.FindElement("TOP_MEAS"));
    EXPECT_EQ(doc.GetElementText("TOP_MEAS"), kNotFound);
}

TEST_F(ProfileDocumentTest, AFailedSaveLeavesTheFileIntactAndASaveKeepsPermissions) {
    const std::string original = "<r><INFO_AUTO DEVICE=\"1\"/></r>";
    Load(original);
    doc.SetAttribute("INFO_AUTO", "DEVICE", "2");

    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_THROW(doc.Save(path), std::runtime_error);
    EXPECT_EQ(ReadFileBytes(path), original);

    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    doc.Save(path);
    EXPECT_EQ(ReadFileBytes(path), "<r><INFO_AUTO DEVICE=\"2\"/></r>");
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ProfileDocumentTest, ALoadReplacesTheDocumentAndItsCachedElement) {
    Load("<r><TOP_MEAS>1</TOP_MEAS></r>", "one.xml");
    EXPECT_EQ(doc.GetElementText("TOP_MEAS"), "1");
    Load("<r><TOP_MEAS>2</TOP_MEAS></r>", "two.xml");
    EXPECT_EQ(doc.GetElementText("TOP_MEAS"), "2");
}

} // namespace

namespace {

TEST_F(ProfileDocumentTest, CharacterReferencesMayHaveAnyNumberOfLeadingZeros) {
    const std::string zeros(5000, '0');
    const struct {
        std::string reference;
        std::string text;
    } cases[] = {
        {"&#000000000000000065;", "A"},      {"&#x0000000000000000041;", "A"},
        {"&#" + zeros + "233;", "é"},        {"&#x" + zeros + "10FFFF;", "\xF4\x8F\xBF\xBF"},
        {"&#01114111;", "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reference.substr(0, 30));
        Load("<r a=\"x" + c.reference + "y\">x" + c.reference + "y</r>");
        EXPECT_EQ(doc.GetAttribute("r", "a"), "x" + c.text + "y");
        EXPECT_EQ(doc.GetElementText("r"), "x" + c.text + "y");
    }
    // Past the last code point, however many digits: refused, never wrapped round.
    for (const std::string& reference :
         std::vector<std::string>{"&#1114112;", "&#x110000;", "&#x100000041;", "&#4294967361;",
                                  "&#" + zeros + "9" + zeros + ";"})
        EXPECT_NE(LoadError("<r>" + reference + "</r>"), "loaded") << reference.substr(0, 20);
}

// A save of a hard-linked profile killed halfway through its overwrite (by the file-size
// limit): the next load rolls the file back and reads the old values.
TEST_F(ProfileDocumentTest, ALoadRollsBackASaveKilledWhileRewritingInPlace) {
    const std::string original =
        "<r><INFO_AUTO DEVICE=\"1\"/><!--" + std::string(600, 'o') + "--></r>";
    Load(original);
    fs::create_hard_link(path, dir.File("link.xml"));
    const int status = ostiva::testdata::RunCutOffAfter(1000, [&] {
        doc.SetAttribute("INFO_AUTO", "DEVICE", std::string(2000, 'n'));
        doc.Save(path);
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    ASSERT_NE(ReadFileBytes(path), original);

    doc.Load(path);
    EXPECT_EQ(doc.GetAttribute("INFO_AUTO", "DEVICE"), "1");
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_FALSE(fs::exists(dir.File(".zq.xml.ostiva-journal")));
}

} // namespace

// What another program wrote since the load is told from what this document read or wrote
// itself; a modification time alone tells nothing either way.
TEST_F(ProfileDocumentTest, AChangeOnDiskIsToldFromTheBytesLoadedOrLastSaved) {
    const std::string loaded = "<P><A X=\"Jan\"/></P>";
    struct Case {
        const char* what;
        std::string bytes; // written after the load; empty: nothing written
        bool keepTime;     // the file's modification time put back as it was
        bool changed;
    };
    const Case cases[] = {
        {"untouched", "", false, false},
        {"same size, other bytes, same time", "<P><A X=\"Pim\"/></P>", true, true},
        {"same size, other bytes, new time", "<P><A X=\"Pim\"/></P>", false, true},
        {"other size", "<P><A X=\"Kees\"/></P>", true, true},
        {"same bytes written again", loaded, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load(loaded);
        const fs::file_time_type time = fs::last_write_time(path);
        if (!c.bytes.empty()) {
            WriteFileBytes(path, c.bytes);
            fs::last_write_time(path, c.keepTime ? time : time + std::chrono::seconds(5));
        }
        EXPECT_EQ(doc.ChangedOnDisk(path), c.changed);
    }

    // Its own save is no change; a load after someone else's save takes that as the new base.
    Load(loaded);
    doc.SetAttribute("A", "X", "Pieter");
    doc.Save(path);
    EXPECT_FALSE(doc.ChangedOnDisk(path));
    WriteFileBytes(path, "<P><A X=\"Anna\"/></P>");
    EXPECT_TRUE(doc.ChangedOnDisk(path));
    doc.Load(path);
    EXPECT_FALSE(doc.ChangedOnDisk(path));
    // A file that is gone cannot be compared; its save will say what is wrong.
    fs::remove(path);
    EXPECT_FALSE(doc.ChangedOnDisk(path));
}
