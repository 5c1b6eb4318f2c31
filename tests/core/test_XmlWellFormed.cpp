#include "core/XmlWellFormed.h"

#include "testdata/ProfileGenerator.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace ostiva;

namespace {

// The message of the fault found, empty when the document passes. The bytes are copied to a
// buffer of their exact size so that the address sanitizer sees any read past the end.
std::string FaultOf(std::string_view document) {
    const std::vector<char> bytes(document.begin(), document.end());
    try {
        CheckWellFormedXml(std::string_view(bytes.data(), bytes.size()));
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return {};
}

struct Case {
    const char* doc;
    const char* fault; // expected within the message
};

} // namespace

TEST(XmlWellFormed, RefusesEachKindOfFault) {
    const Case cases[] = {
        {"<!DOCTYPE r><r/>", "Document type declarations"},
        {"<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e \"x\">]><r>&e;</r>", "Document type"},
        {"<r><!DOCTYPE r></r>", "Document type"},
        {"<r a=\"1\" b=\"2\" a=\"3\"/>", "Duplicate attribute a"},
        {"<r a=\"x<y\"/>", "< in an attribute value"},
        {"<r a=\"x & y\"/>", "& not starting"},
        {"<r>a &amp b</r>", "& not starting"},
        {"<r>&nbsp;</r>", "Undefined entity nbsp"},
        {"<r a=\"&Lt;\"/>", "Undefined entity Lt"},
        {"<r>&#0;</r>", "illegal character"},
        {"<r>&#x1F;</r>", "illegal character"},
        {"<r>&#xD800;</r>", "illegal character"},
        {"<r>&#xFFFE;</r>", "illegal character"},
        {"<r>&#x110000;</r>", "illegal character"},
        {"<r>&#99999999999999999999;</r>", "illegal character"},
        {"<r>&#x;</r>", "Malformed character reference"},
        {"<r>&#X41;</r>", "Malformed character reference"},
        {"<r>&#6a;</r>", "Malformed character reference"},
        {"<r>\x01</r>", "Illegal character U+0001"},
        {"<r a=\"\x1F\"/>", "Illegal character U+001F"},
        {"<r/><!-- \x0B -->", "Illegal character U+000B"},
        {"<r>\xEF\xBF\xBF</r>", "Illegal character U+FFFF"},
        {"<r>\xC3</r>", "Invalid UTF-8"},
        {"<r>\x80</r>", "Invalid UTF-8"},
        {"<r>\xC0\xAF</r>", "Invalid UTF-8"},     // overlong "/"
        {"<r>\xE0\x80\xAF</r>", "Invalid UTF-8"}, // overlong "/"
        {"<r>\xED\xA0\x80</r>", "Invalid UTF-8"}, // surrogate
        {"<r>\xF4\x90\x80\x80</r>", "Invalid UTF-8"},
        {"<r\xFF/>", "Invalid UTF-8"},
        {"<r><!-- a -- b --></r>", "-- inside a comment"},
        {"<r><!-- a ---></r>", "-- inside a comment"},
        {"<r>a]]>b</r>", "]]> in character data"},
        {"<![CDATA[x]]><r/>", "CDATA section outside"},
        {"<r/><![CDATA[x]]>", "CDATA section outside"},
        {"<?xml encoding=\"UTF-8\" version=\"1.0\"?><r/>", "without version"},
        {"<?xml version=\"1.0\" standalone=\"YES\"?><r/>", "Invalid standalone"},
        {"<?xml version=\"2.0\"?><r/>", "Invalid XML version"},
        {"<?xml version=\"1.\"?><r/>", "Invalid XML version"},
        {"<?xml version=\"1.0\" encoding=\"8bit\"?><r/>", "Invalid encoding"},
        {"<?xml version=\"1.0\" standalone=\"no\" encoding=\"UTF-8\"?><r/>", "Malformed XML"},
        {"<?xml version=\"1.0\"encoding=\"UTF-8\"?><r/>", "Malformed XML"},
        {"<?xml version\"1.0\"?><r/>", "Missing ="},
        {" <?xml version=\"1.0\"?><r/>", "Reserved processing instruction target xml"},
        {"<!-- c --><?xml version=\"1.0\"?><r/>", "Reserved processing instruction target"},
        {"<r><?XmL x?></r>", "Reserved processing instruction target XmL"},
        {"<?pi\"x\"?><r/>", "Missing whitespace after processing"},
        {"<r><a></b></r>", "does not match"},
        {"<r><a></r>", "does not match"},
        {"<r><a>", "Element a is not closed"},
        {"<r/><s/>", "More than one root"},
        {"<r/>x", "Text after the root"},
        {"<r/>&amp;", "Text after the root"},
        {"<r/></r>", "Markup after the root"},
        {"x<r/>", "Text before the root"},
        {"\xC2\xA0<r/>", "Text before the root"}, // U+00A0 is no whitespace
        {"\xEF\xBB\xBF\xEF\xBB\xBF<r/>", "Text before the root"},
        {"<r/>\x02", "Illegal character U+0002"},
        {"\xFE\xFF<r/>", "Invalid UTF-8"},
        {"", "No root element"},
        {"\xEF\xBB\xBF<!-- only -->", "No root element"},
        {"<1r/>", "Invalid element name"},
        {"<\xC2\xB7r/>", "Invalid element name"},           // U+00B7 may not start a name
        {"<r\xC3\x97/>", "Invalid character in start tag"}, // U+00D7 is no name character
        {"<r -a=\"1\"/>", "Invalid attribute name"},
        {"<r a=\"1\"b=\"2\"/>", "Missing whitespace between attributes"},
        {"<r a=1/>", "Missing quoted attribute value"},
        {"<r a/>", "Missing = after attribute a"},
        {"<r><!foo></r>", "Invalid markup declaration"},
        {"<r/><!-- x", "Unterminated comment"},
        {"<r/><!-- x --", "Unterminated comment"},
        {"<r><![CDATA[x]]</r>", "Unterminated CDATA"},
        {"<r/><?pi x?", "Unterminated processing instruction"},
        {"<r a=\"x/>", "Unterminated attribute value"},
        {"<r a=\"x\"", "Unterminated start tag"},
        {"<r/ >", "Expected />"},
        {"<r></r", "Unterminated end tag"},
    };
    for (const Case& c : cases) {
        const std::string fault = FaultOf(c.doc);
        EXPECT_NE(fault.find(c.fault), std::string::npos)
            << "document: " << c.doc << "\nexpected: " << c.fault << "\ngot: " << fault;
    }
    // A NUL inside the bytes, not the end of a C string.
    EXPECT_EQ(FaultOf(std::string_view("<r>\0</r>", 8)), "Illegal character U+0000 at offset 3");
}

TEST(XmlWellFormed, OffsetsCountBytesFromTheStart) {
    EXPECT_EQ(FaultOf("<r a=\"1\" a=\"2\"/>"), "Duplicate attribute a at offset 9");
    EXPECT_EQ(FaultOf("\xEF\xBB\xBF<r>\x01</r>"), "Illegal character U+0001 at offset 6");
    EXPECT_EQ(FaultOf("<r><a></b></r>"), "End tag </b> does not match <a> at offset 6");
    EXPECT_EQ(FaultOf("<r>\r\n <a>text"), "Element a is not closed at offset 6");
    EXPECT_EQ(FaultOf("<r>\xC3\xA9\xC3</r>"), "Invalid UTF-8 at offset 5");
    // A fault anywhere in a long run of text or of an attribute value.
    for (std::size_t k = 0; k < 12; ++k) {
        std::string text = "<r>0123456789ab</r>", value = "<r a=\"0123456789ab\"/>";
        text[3 + k] = '\x02';
        value[6 + k] = '<';
        EXPECT_EQ(FaultOf(text), "Illegal character U+0002 at offset " + std::to_string(3 + k));
        EXPECT_EQ(FaultOf(value), "< in an attribute value at offset " + std::to_string(6 + k));
        // Runs cut short by the end of the file, of every length.
        EXPECT_EQ(FaultOf("<r>" + std::string(k, '5')), "Element r is not closed at offset 0");
        EXPECT_EQ(FaultOf("<r a='" + std::string(k, '5')),
                  "Unterminated attribute value at offset 5");
    }
}

TEST(XmlWellFormed, AcceptsEveryLegalOddity) {
    const char* const documents[] = {
        "<r/>",
        "<?xml-stylesheet href=\"s.css\"?><r/>",
        "<?xml-model?>\n<r/>",
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r>\r\n</r>\r\n",
        "<?xml version = '1.1' encoding = 'ISO-8859-1' standalone = 'no' ?><r/>",
        "<?xml version=\"1.0\" standalone=\"yes\"?><r/>",
        "<?xml\tversion=\"1.0\"\r\nencoding=\"x-Win_1252.a\"?><r/>",
        "<!-- a --><?xml-stylesheet href=\"s.css\"?>\n<r/>\n<!-- b -->\n<?pi?>\n<?xmlx ?>",
        "<r><![CDATA[<a> & ]] ]> --]]><![CDATA[]]></r>",
        "<r a=\"&#9;&#xA;\">&#65;&#x10FFFF;&#xd7ff;&#xE000;&#xFFFD;&#0000065;</r>",
        "<r a=\"&lt;&gt;&amp;&apos;&quot;\">&lt;&gt;&amp;&apos;&quot;</r>",
        "<r a='say \"hi\"' b=\"it's\" c='>'/>",
        "<gr\xC3\xB6\xC3\x9F"
        "e einheit\xC2\xB7x=\"mm\" \xCE\xB1\xCC\x80=\"1\"/>", // größe, einheit·x, α + U+0300
        "<\xE5\x90\x8D\xE5\x89\x8D><\xF0\x90\x80\x80/></\xE5\x90\x8D\xE5\x89\x8D>", // 名前, U+10000
        "<_:a.b-c xmlns:x=\"u\"/>",
        "<r ><a/><b\t/><c></c ></r\n>",
        "<r>a > b ]> ]] ]</r>",
        "<r><!-- a - b --><!----><?pi  x ? y?></r>",
        "<r/> \r\n\t ",
        "<r>\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E\x7F\xC2\x80\xEF\xBB\xBF</r>", // é € 𝄞 DEL U+0080
        "<r a=\"\t\r\n x\"/>",
    };
    for (const char* doc : documents)
        EXPECT_EQ(FaultOf(doc), "") << "document: " << doc;
}

TEST(XmlWellFormed, DeepNestingNeedsNoCallStack) {
    constexpr int depth = 100000;
    std::string doc;
    for (int i = 0; i < depth; ++i)
        doc += "<e>";
    for (int i = 0; i < depth; ++i)
        doc += "</e>";
    EXPECT_EQ(FaultOf(doc), "");
    doc.pop_back();
    EXPECT_NE(FaultOf(doc), "");
}

TEST(XmlWellFormed, GeneratedProfilesPass) {
    for (std::uint32_t seed : {1u, 7u, 42u}) {
        testdata::GeneratorOptions options;
        options.seed = seed;
        EXPECT_EQ(FaultOf(testdata::GenerateProfileXml(options)), "") << "seed " << seed;
    }
}

TEST(XmlWellFormed, DuplicateAttributesAreFoundInElementsOfAnySize) {
    // Names a0 a1 ... for `count` attributes, then `extra` appended.
    const auto element = [](int count, const std::string& extra) {
        std::string xml = "<r";
        for (int i = 0; i < count; ++i)
            xml += " a" + std::to_string(i) + "=\"\"";
        return xml + extra + "/>";
    };
    EXPECT_NE(FaultOf(element(3, " a1=\"\"")).find("Duplicate attribute a1"), std::string::npos);
    EXPECT_NE(FaultOf(element(500, " a0=\"\"")).find("Duplicate attribute a0"), std::string::npos);
    EXPECT_NE(FaultOf(element(500, " a499=\"\"")).find("Duplicate attribute a499"),
              std::string::npos);
    EXPECT_EQ(FaultOf(element(500, " b=\"\"")), "");
    // Each element has its own names: a large one leaves nothing behind for the next.
    EXPECT_EQ(FaultOf("<r>" + element(100, "") + element(100, "") + "<s a0='' a0x=''/></r>"), "");
    EXPECT_NE(FaultOf("<r>" + element(100, "") + "<s a0='' a0=''/></r>").find("Duplicate"),
              std::string::npos);
}
