#include "core/ProfileDocument.h"

#include "core/FileBytes.h"
#include "core/FileReplace.h"
#include "core/XmlEncoding.h"
#include "core/XmlEntities.h"
#include "core/XmlWellFormed.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace ostiva {

namespace {

// Values are kept as written: no line-end or whitespace normalisation and no entity
// replacement (they are decoded on reading and encoded on writing instead). Document type
// declarations never get this far: the well-formedness check refuses them.
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_pi | pugi::parse_comments |
                                   pugi::parse_declaration | pugi::parse_ws_pcdata;

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

// A written value: the markup that replaces `length` bytes of the loaded text at `offset`.
struct Edit {
    std::size_t offset = 0;
    std::size_t length = 0;
    std::string markup;
};

} // namespace

// The document is parsed in place from a copy of the file's text. A save writes the text as it
// was loaded with only the written values replaced, so every byte nobody wrote stays as it was:
// declaration, comments, whitespace inside and between tags, quotes, encoding.
struct ProfileDocument::Impl {
    XmlFileCharset charset;
    std::string onDisk; // the file's bytes as loaded or last saved
    std::string text;   // the file's text as loaded, in UTF-8
    std::string buffer; // the same, parsed in place: the document's strings live here
    pugi::xml_document doc;
    pugi::xml_node currentNode;
    // Every element in document order, gathered on the first search: a record looks up a
    // dozen elements, and walking the tree for each costs more than the parse itself.
    std::vector<pugi::xml_node> elements;
    bool loaded = false;
    // Written values by the node or attribute they belong to.
    std::map<const void*, Edit> edits;

    // Records `markup` as the new value of a node or attribute whose value is `value` now.
    // false when the value does not lie in the loaded text (nothing is written then).
    bool Record(const void* owner, const char* value, std::string markup);
    // The quote around the value at `offset` of the loaded text.
    char QuoteAt(std::size_t offset) const { return offset > 0 ? text[offset - 1] : '"'; }
    std::size_t OffsetOf(const void* owner, const char* value) const;
};

std::size_t ProfileDocument::Impl::OffsetOf(const void* owner, const char* value) const {
    if (const auto e = edits.find(owner); e != edits.end())
        return e->second.offset;
    if (value < buffer.data() || value >= buffer.data() + buffer.size())
        return std::string::npos;
    return static_cast<std::size_t>(value - buffer.data());
}

bool ProfileDocument::Impl::Record(const void* owner, const char* value, std::string markup) {
    auto e = edits.find(owner);
    if (e == edits.end()) {
        const std::size_t offset = OffsetOf(owner, value);
        if (offset == std::string::npos)
            return false;
        e = edits.emplace(owner, Edit{offset, std::strlen(value), {}}).first;
    }
    e->second.markup = std::move(markup);
    return true;
}

ProfileDocument::ProfileDocument() : impl_(std::make_unique<Impl>()) {}
ProfileDocument::~ProfileDocument() = default;

void ProfileDocument::Load(const std::string& path) {
    // A failed load leaves an empty document, not the previous one.
    impl_ = std::make_unique<Impl>();
    auto loaded = std::make_unique<Impl>();
    Impl& d = *loaded;
    // A save of this file that was cut off while rewriting it in place is undone first.
    RollBackInterruptedRewrite(path);
    d.onDisk = ReadRegularFile(path);
    d.charset = DetectXmlEncoding(d.onDisk);
    d.text = DecodeXmlFile(d.onDisk, d.charset);
    CheckWellFormedXml(d.text);
    d.buffer = d.text;
    const pugi::xml_parse_result result = d.doc.load_buffer_inplace(
        d.buffer.data(), d.buffer.size(), kParseOptions, pugi::encoding_utf8);
    if (!result)
        throw std::runtime_error(std::string(result.description()) + " at offset " +
                                 std::to_string(result.offset));
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
    std::vector<const Edit*> edits;
    for (const auto& [owner, edit] : d.edits)
        edits.push_back(&edit);
    std::sort(edits.begin(), edits.end(),
              [](const Edit* a, const Edit* b) { return a->offset < b->offset; });
    std::string out;
    out.reserve(d.text.size() + 2048);
    std::size_t done = 0;
    for (const Edit* edit : edits) {
        out.append(d.text, done, edit->offset - done);
        out += edit->markup;
        done = edit->offset + edit->length;
    }
    out.append(d.text, done);
    // Characters the encoding lacks were written as references, so this holds every one.
    std::string bytes = EncodeXmlFile(out, d.charset);
    ReplaceFileContents(path, bytes);
    impl_->onDisk = std::move(bytes);
}

bool ProfileDocument::ChangedOnDisk(const std::string& path) const {
    if (!impl_->loaded)
        return false;
    struct stat status {};
    try {
        // A torn rewrite of a killed process is not a change: it is undone before any save.
        RollBackInterruptedRewrite(path);
        if (::stat(path.c_str(), &status) != 0)
            return false;
        // The size tells most changes without reading. Equal sizes are compared byte for byte,
        // since a modification time can repeat (coarse clocks of network folders, a copy that
        // keeps it) and an unchanged one proves nothing.
        if (static_cast<std::size_t>(status.st_size) != impl_->onDisk.size())
            return true;
        return ReadRegularFile(path) != impl_->onDisk;
    } catch (const std::exception&) {
        return false;
    }
}

pugi::xml_node ProfileDocument::FindElement(const std::string& name) {
    Impl& d = *impl_;
    if (d.currentNode && EqualsIgnoringCase(d.currentNode.name(), name))
        return d.currentNode;
    if (d.elements.empty()) {
        // Depth-first in document order without recursion: files may nest arbitrarily deep.
        const pugi::xml_node root = d.doc.document_element();
        for (pugi::xml_node n = root; n;) {
            if (n.type() == pugi::node_element)
                d.elements.push_back(n);
            if (n.first_child()) {
                n = n.first_child();
                continue;
            }
            while (n && n != root && !n.next_sibling())
                n = n.parent();
            n = n == root ? pugi::xml_node() : n.next_sibling();
        }
    }
    d.currentNode = pugi::xml_node();
    for (const pugi::xml_node& element : d.elements)
        if (EqualsIgnoringCase(element.name(), name)) {
            d.currentNode = element;
            break;
        }
    return d.currentNode;
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

std::optional<std::string_view> ProfileDocument::ElementMarkup(const std::string& element) {
    const pugi::xml_node text = FirstTextChild(FindElement(element));
    if (!text)
        return std::nullopt;
    const std::string_view markup = text.value();
    if (markup.find('&') != std::string_view::npos)
        return std::nullopt;
    return markup;
}

void ProfileDocument::SetElementText(const std::string& element, const std::string& text) {
    pugi::xml_node node = FirstTextChild(FindElement(element));
    // An unchanged value keeps its original markup.
    if (!node || DecodeXmlText(node.value(), false) == text)
        return;
    std::string markup = EncodeXmlText(text, XmlContext::Text, impl_->charset.direct);
    if (impl_->Record(node.internal_object(), node.value(), markup))
        node.set_value(markup.c_str());
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
    Impl& d = *impl_;
    std::string markup = EncodeXmlText(value, XmlContext::Attribute, d.charset.direct);
    // A value between apostrophes may hold '"' but not "'".
    const std::size_t offset = d.OffsetOf(a.internal_object(), a.value());
    if (offset != std::string::npos && d.QuoteAt(offset) == '\'')
        for (std::size_t p = markup.find('\''); p != std::string::npos; p = markup.find('\'', p))
            markup.replace(p, 1, "&apos;");
    if (d.Record(a.internal_object(), a.value(), markup))
        a.set_value(markup.c_str());
}

} // namespace ostiva
