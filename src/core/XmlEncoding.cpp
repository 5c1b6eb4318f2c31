#include "core/XmlEncoding.h"

#include "core/Utf8.h"

#include <stdexcept>

namespace ostiva {

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

// UTF-16 and UTF-32 by their byte order mark or by the "<?" every such file must begin with.
bool DetectWide(std::string_view b, XmlFileCharset& c) {
    using namespace std::string_view_literals;
    struct Form {
        std::string_view start;
        int unitBytes;
        bool bigEndian, byteOrderMark;
    };
    static constexpr Form kForms[] = {
        {"\0\0\xFE\xFF"sv, 4, true, true}, {"\xFF\xFE\0\0"sv, 4, false, true},
        {"\xFE\xFF"sv, 2, true, true},     {"\xFF\xFE"sv, 2, false, true},
        {"\0\0\0<"sv, 4, true, false},     {"<\0\0\0"sv, 4, false, false},
        {"\0<\0?"sv, 2, true, false},      {"<\0?\0"sv, 2, false, false}};
    for (const Form& f : kForms) {
        if (StartsWith(b, f.start)) {
            c.encoding = XmlFileEncoding::Wide;
            c.unitBytes = f.unitBytes;
            c.bigEndian = f.bigEndian;
            c.byteOrderMark = f.byteOrderMark;
            return true;
        }
    }
    return false;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The value of `encoding` in an XML declaration at the start of `bytes`; empty without one.
// The declaration's full syntax is checked later, with the rest of the document.
std::string_view DeclaredLabel(std::string_view bytes) {
    if (!StartsWith(bytes, "<?xml") || bytes.size() < 6 || !IsSpace(bytes[5]))
        return {};
    const std::string_view decl = bytes.substr(0, bytes.find("?>"));
    std::size_t i = decl.find("encoding");
    if (i == std::string_view::npos)
        return {};
    i += 8;
    while (i < decl.size() && IsSpace(decl[i]))
        ++i;
    if (i >= decl.size() || decl[i] != '=')
        return {};
    ++i;
    while (i < decl.size() && IsSpace(decl[i]))
        ++i;
    if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\''))
        return {};
    const std::size_t end = decl.find(decl[i], i + 1);
    return end == std::string_view::npos ? std::string_view() : decl.substr(i + 1, end - i - 1);
}

bool IsUtf8Label(std::string_view label) {
    std::string lower(label);
    for (char& c : lower)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return lower == "utf-8" || lower == "utf8";
}

[[noreturn]] void BadSequence(std::size_t offset) {
    throw std::runtime_error("Invalid character sequence at offset " + std::to_string(offset));
}

std::string WideToUtf8(std::string_view bytes, const XmlFileCharset& c) {
    const auto unit = static_cast<std::size_t>(c.unitBytes);
    auto unitAt = [&](std::size_t i) {
        char32_t value = 0;
        for (std::size_t k = 0; k < unit; ++k) {
            const std::size_t shift = c.bigEndian ? 8 * (unit - 1 - k) : 8 * k;
            value |= char32_t(static_cast<unsigned char>(bytes[i + k])) << shift;
        }
        return value;
    };
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = c.byteOrderMark ? unit : 0;
    for (; i + unit <= bytes.size(); i += unit) {
        char32_t ch = unitAt(i);
        if (unit == 2 && ch >= 0xD800 && ch <= 0xDBFF) {
            const char32_t low = i + 4 <= bytes.size() ? unitAt(i + 2) : 0;
            if (low < 0xDC00 || low > 0xDFFF)
                BadSequence(i);
            ch = 0x10000 + ((ch - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if ((ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF) {
            BadSequence(i);
        }
        AppendUtf8(out, ch);
    }
    if (i != bytes.size())
        BadSequence(i);
    return out;
}

void AppendUnit(std::string& out, char32_t value, const XmlFileCharset& c) {
    for (int k = 0; k < c.unitBytes; ++k) {
        const int shift = c.bigEndian ? 8 * (c.unitBytes - 1 - k) : 8 * k;
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

std::string Utf8ToWide(std::string_view utf8, const XmlFileCharset& c) {
    std::string out;
    out.reserve(utf8.size() * static_cast<std::size_t>(c.unitBytes));
    if (c.byteOrderMark)
        AppendUnit(out, 0xFEFF, c);
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t ch = 0;
        const std::size_t length = DecodeUtf8(utf8.substr(i), ch);
        if (length == 0)
            BadSequence(i);
        i += length;
        if (c.unitBytes == 2 && ch >= 0x10000) {
            AppendUnit(out, 0xD800 + ((ch - 0x10000) >> 10), c);
            AppendUnit(out, 0xDC00 + ((ch - 0x10000) & 0x3FF), c);
        } else {
            AppendUnit(out, ch, c);
        }
    }
    return out;
}

} // namespace

XmlFileCharset DetectXmlEncoding(std::string_view bytes) {
    XmlFileCharset charset;
    if (DetectWide(bytes, charset))
        return charset;
    // A UTF-8 byte order mark decides whatever the declaration says.
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return charset;
    const std::string_view label = DeclaredLabel(bytes);
    if (label.empty() || IsUtf8Label(label))
        return charset;
    if (const CharFilter direct = Windows1252LabelChars(label)) {
        charset.encoding = XmlFileEncoding::Windows1252;
        charset.direct = direct;
        return charset;
    }
    throw std::runtime_error("Unsupported encoding " + std::string(label));
}

std::string DecodeXmlFile(std::string_view bytes, const XmlFileCharset& charset) {
    switch (charset.encoding) {
    case XmlFileEncoding::Windows1252:
        return Windows1252ToUtf8(bytes);
    case XmlFileEncoding::Wide:
        return WideToUtf8(bytes, charset);
    case XmlFileEncoding::Utf8:
        break;
    }
    return std::string(bytes);
}

std::string EncodeXmlFile(std::string_view utf8, const XmlFileCharset& charset) {
    switch (charset.encoding) {
    case XmlFileEncoding::Windows1252:
        return Utf8ToWindows1252(utf8);
    case XmlFileEncoding::Wide:
        return Utf8ToWide(utf8, charset);
    case XmlFileEncoding::Utf8:
        break;
    }
    return std::string(utf8);
}

} // namespace ostiva
