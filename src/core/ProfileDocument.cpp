#include "ProfileDocument.h"

#include "AtomicFile.h"
#include "FileBytes.h"
#include "Utf8.h"
#include "XmlEntities.h"

#include <pugixml.hpp>

#include <cstring>

namespace ostiva {

namespace {

// Everything is kept as written: no line-end or whitespace normalisation, no entity
// replacement (values are decoded on reading and encoded on writing instead, so references
// the program does not understand survive a save untouched).
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_pi | pugi::parse_comments |
                                   pugi::parse_declaration | pugi::parse_doctype |
                                   pugi::parse_ws_pcdata;
constexpr unsigned kWriteOptions = pugi::format_raw | pugi::format_no_escapes;

bool EqualsIgnoringCase(const char* a, std::string_view b) {
    for (char cb : b) {
        char ca = *a++;
        if (ca >= 'a' && ca <= 'z')
            ca = static_cast<char>(ca - 'a' + 'A');
        if (cb >= 'a' && cb <= 'z')
            cb = static_cast<char>(cb - 'a' + 'A');
        if (ca != cb || ca == '\0')
            return false;
    }
    return *a == '\0';
}

bool IsEightBit(pugi::xml_encoding encoding) {
    return encoding == pugi::encoding_utf8 || encoding == pugi::encoding_latin1;
}

bool StartsWithBom(std::string_view bytes) {
    static constexpr std::string_view boms[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF",
                                                std::string_view("\0\0\xFE\xFF", 4)};
    for (std::string_view bom : boms)
        if (bytes.substr(0, bom.size()) == bom)
            return true;
    return false;
}

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// End of the document type declaration starting at `pos`, or npos.
std::size_t SkipDoctype(std::string_view s, std::size_t pos) {
    int depth = 0;
    char quote = 0;
    for (std::size_t i = pos + 2; i < s.size(); ++i) {
        const char c = s[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (depth > 0 && s.compare(i, 4, "<!--") == 0) {
            i = s.find("-->", i + 4);
            if (i == std::string_view::npos)
                return i;
            i += 2;
        } else if (depth > 0 && s.compare(i, 2, "<?") == 0) {
            i = s.find("?>", i + 2);
            if (i == std::string_view::npos)
                return i;
            i += 1;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++depth;
        } else if (c == ']') {
            --depth;
        } else if (c == '>' && depth <= 0) {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// Start of the document element behind the prolog (byte order mark, declaration, processing
// instructions, comments, document type, whitespace), counting the prolog's nodes; npos when
// the prolog is not understood.
std::size_t FindElementStart(std::string_view s, int& nodes) {
    std::size_t i = s.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    nodes = 0;
    for (;;) {
        while (i < s.size() && IsXmlSpace(s[i]))
            ++i;
        if (i + 1 >= s.size() || s[i] != '<')
            return std::string_view::npos;
        std::size_t end;
        if (s.compare(i, 2, "<?") == 0) {
            end = s.find("?>", i + 2);
            end = end == std::string_view::npos ? end : end + 2;
        } else if (s.compare(i, 4, "<!--") == 0) {
            end = s.find("-->", i + 4);
            end = end == std::string_view::npos ? end : end + 3;
        } else if (s.compare(i, 2, "<!") == 0) {
            end = SkipDoctype(s, i);
        } else {
            return i;
        }
        if (end == std::string_view::npos)
            return end;
        i = end;
        ++nodes;
    }
}

// End of the document element in front of the epilog (comments, processing instructions,
// whitespace), counting the epilog's nodes; npos when the epilog is not understood.
std::size_t FindElementEnd(std::string_view s, int& nodes) {
    std::size_t j = s.size();
    nodes = 0;
    for (;;) {
        while (j > 0 && IsXmlSpace(s[j - 1]))
            --j;
        const std::string_view head = s.substr(0, j);
        std::size_t start;
        if (head.ends_with("-->") && j >= 7) {
            start = head.rfind("<!--", j - 7);
        } else if (head.ends_with("?>") && j >= 4) {
            start = head.rfind("<?", j - 4);
        } else {
            return head.ends_with(">") ? j : std::string_view::npos;
        }
        if (start == std::string_view::npos)
            return start;
        j = start;
        ++nodes;
    }
}

// Position just after the first ">" of `s` that is not inside a quoted attribute value.
std::size_t EndOfFirstTag(std::string_view s) {
    char quote = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (quote) {
            quote = s[i] == quote ? 0 : quote;
        } else if (s[i] == '"' || s[i] == '\'') {
            quote = s[i];
        } else if (s[i] == '>') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// Whether `element` (the bytes from the document element's "<" to the last ">" before the
// epilog) ends where the element ends. pugixml skips text outside the document element without
// a word; such text shows up here as bytes behind the element's last tag.
bool EndsWithElement(std::string_view element) {
    if (element.ends_with("/>") && EndOfFirstTag(element) == element.size())
        return true;
    const std::size_t lastTag = element.rfind('<');
    return lastTag != std::string_view::npos && element.compare(lastTag, 2, "</") == 0 &&
           element.find('>', lastTag) == element.size() - 1;
}

class StringWriter : public pugi::xml_writer {
  public:
    explicit StringWriter(std::string& out) : out_(out) {}
    void write(const void* data, size_t size) override {
        out_.append(static_cast<const char*>(data), size);
    }

  private:
    std::string& out_;
};

// The file's layout around the document element. pugixml drops the whitespace outside the
// document element, so the bytes of prolog and epilog are written back instead of their
// serialisation. Taken before parsing, which overwrites the bytes.
struct Frame {
    bool understood = false;
    int prologNodes = 0, epilogNodes = 0;
    std::string prolog, epilog;
};

Frame ReadFrame(std::string_view bytes) {
    Frame f;
    const std::size_t start = FindElementStart(bytes, f.prologNodes);
    const std::size_t end = FindElementEnd(bytes, f.epilogNodes);
    if (start == std::string_view::npos || end == std::string_view::npos || start >= end ||
        !EndsWithElement(bytes.substr(start, end - start)))
        return f;
    f.prolog.assign(bytes.substr(0, start));
    f.epilog.assign(bytes.substr(end));
    f.understood = true;
    return f;
}

} // namespace

struct ProfileDocument::Impl {
    // The file's bytes, parsed in place: the document's texts live here.
    std::string buffer;
    pugi::xml_document doc;
    pugi::xml_node currentNode;
    bool loaded = false;
    pugi::xml_encoding encoding = pugi::encoding_utf8;
    bool hasBom = false;
    // Prolog and epilog as loaded (8-bit encodings only).
    bool keepsFrame = false;
    std::string prolog, epilog;

    // Takes prolog and epilog from `frame`; false when the file holds more around the document
    // element than the parsed nodes (text or a second element, which pugixml silently drops).
    bool KeepFrame(Frame& frame);
    void QuoteAttributeQuotes();
    char32_t LargestDirectChar() const {
        return encoding == pugi::encoding_latin1 ? U'\xFF' : U'\x10FFFF';
    }
};

bool ProfileDocument::Impl::KeepFrame(Frame& frame) {
    int parsedProlog = 0, parsedEpilog = 0;
    const pugi::xml_node root = doc.document_element();
    for (pugi::xml_node n = doc.first_child(); n != root; n = n.next_sibling())
        ++parsedProlog;
    for (pugi::xml_node n = root.next_sibling(); n; n = n.next_sibling())
        ++parsedEpilog;
    if (!frame.understood || frame.prologNodes != parsedProlog || frame.epilogNodes != parsedEpilog)
        return false;
    prolog = std::move(frame.prolog);
    epilog = std::move(frame.epilog);
    keepsFrame = true;
    return true;
}

// A value quoted with apostrophes may hold a '"', which would end the value once it is written
// between double quotes.
void ProfileDocument::Impl::QuoteAttributeQuotes() {
    struct Walker : pugi::xml_tree_walker {
        bool for_each(pugi::xml_node& node) override {
            for (pugi::xml_attribute a : node.attributes()) {
                if (std::strchr(a.value(), '"')) {
                    std::string value = a.value();
                    for (std::size_t p = value.find('"'); p != std::string::npos;
                         p = value.find('"', p))
                        value.replace(p, 1, "&quot;");
                    a.set_value(value.c_str());
                }
            }
            return true;
        }
    } walker;
    doc.traverse(walker);
}

ProfileDocument::ProfileDocument() : impl_(std::make_unique<Impl>()) {}
ProfileDocument::~ProfileDocument() = default;

void ProfileDocument::Load(const std::string& path) {
    // A failed load leaves an empty document, not the previous one.
    impl_ = std::make_unique<Impl>();
    auto loaded = std::make_unique<Impl>();
    Impl& d = *loaded;
    d.buffer = ReadRegularFile(path);
    const std::string_view bytes = d.buffer;

    const std::size_t nul = bytes.find('\0');
    d.hasBom = StartsWithBom(bytes);
    Frame frame = ReadFrame(bytes);

    pugi::xml_parse_result result;
    if (IsValidUtf8(bytes)) {
        result = d.doc.load_buffer_inplace(d.buffer.data(), d.buffer.size(), kParseOptions,
                                           pugi::encoding_auto);
    } else {
        result = d.doc.load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_auto);
        // Without a usable declaration pugixml takes UTF-8; bytes that are not UTF-8 come
        // from an 8-bit code page, read (and later written) as Latin-1 so that no byte is lost.
        if (result && result.encoding == pugi::encoding_utf8)
            result =
                d.doc.load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_latin1);
    }
    if (!result)
        throw std::runtime_error(std::string(result.description()) + " at offset " +
                                 std::to_string(result.offset));
    d.encoding = result.encoding;
    if (IsEightBit(d.encoding)) {
        // pugixml ends an 8-bit document at a NUL byte; what followed would be lost on saving.
        if (nul != std::string_view::npos)
            throw std::runtime_error("NUL character at offset " + std::to_string(nul));
        if (!d.KeepFrame(frame))
            throw std::runtime_error("Text or markup outside the document element");
    }
    d.QuoteAttributeQuotes();
    d.loaded = true;
    impl_ = std::move(loaded);
}

bool ProfileDocument::IsLoaded() const {
    return impl_->loaded;
}

void ProfileDocument::Save(const std::string& path) const {
    const Impl& d = *impl_;
    if (!d.loaded)
        throw std::runtime_error("No document is loaded");
    std::string out;
    StringWriter writer(out);
    if (d.keepsFrame) {
        out = d.prolog;
        d.doc.document_element().print(writer, "", kWriteOptions, d.encoding);
        out += d.epilog;
    } else {
        const unsigned bom = d.hasBom ? pugi::format_write_bom : 0u;
        d.doc.save(writer, "", kWriteOptions | pugi::format_no_declaration | bom, d.encoding);
    }
    WriteFileAtomically(path, out);
}

pugi::xml_node ProfileDocument::FindElement(const std::string& name) {
    pugi::xml_node& current = impl_->currentNode;
    if (current && EqualsIgnoringCase(current.name(), name))
        return current;
    current = pugi::xml_node();
    // Depth-first in document order without recursion: files may nest arbitrarily deep.
    const pugi::xml_node root = impl_->doc.document_element();
    for (pugi::xml_node n = root; n;) {
        if (n.type() == pugi::node_element && EqualsIgnoringCase(n.name(), name)) {
            current = n;
            break;
        }
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && n != root && !n.next_sibling())
            n = n.parent();
        n = n == root ? pugi::xml_node() : n.next_sibling();
    }
    return current;
}

namespace {

pugi::xml_node FirstTextChild(pugi::xml_node element) {
    const pugi::xml_node child = element.first_child();
    return child.type() == pugi::node_pcdata ? child : pugi::xml_node();
}

pugi::xml_attribute FindAttribute(pugi::xml_node element, std::string_view name) {
    for (pugi::xml_attribute a : element.attributes())
        if (EqualsIgnoringCase(a.name(), name))
            return a;
    return {};
}

} // namespace

std::string ProfileDocument::GetElementText(const std::string& element) {
    const pugi::xml_node text = FirstTextChild(FindElement(element));
    if (!text)
        return kNotFound;
    return DecodeXmlText(text.value(), true);
}

void ProfileDocument::SetElementText(const std::string& element, const std::string& text) {
    pugi::xml_node node = FirstTextChild(FindElement(element));
    // An unchanged value keeps its original markup.
    if (!node || DecodeXmlText(node.value(), false) == text)
        return;
    node.set_value(EncodeXmlText(text, XmlContext::Text, impl_->LargestDirectChar()).c_str());
}

std::string ProfileDocument::GetAttribute(const std::string& element,
                                          const std::string& attribute) {
    const pugi::xml_attribute a = FindAttribute(FindElement(element), attribute);
    if (!a)
        return kNotFound;
    return DecodeXmlText(a.value(), false);
}

void ProfileDocument::SetAttribute(const std::string& element, const std::string& attribute,
                                   const std::string& value) {
    pugi::xml_attribute a = FindAttribute(FindElement(element), attribute);
    if (!a || DecodeXmlText(a.value(), false) == value)
        return;
    a.set_value(EncodeXmlText(value, XmlContext::Attribute, impl_->LargestDirectChar()).c_str());
}

} // namespace ostiva
