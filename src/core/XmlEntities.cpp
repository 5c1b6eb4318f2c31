#include "core/XmlEntities.h"

#include "core/Utf8.h"
#include "core/Windows1252.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

namespace ostiva {

namespace {

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The character of the reference `name` (the text between "&" and ";"), if it is one.
std::optional<char32_t> ReferencedChar(std::string_view name) {
    if (name == "lt")
        return U'<';
    if (name == "gt")
        return U'>';
    if (name == "amp")
        return U'&';
    if (name == "quot")
        return U'"';
    if (name == "apos")
        return U'\'';
    if (name.size() < 2 || name[0] != '#')
        return std::nullopt;
    int base = 10;
    std::string_view digits = name.substr(1);
    if (digits[0] == 'x') {
        base = 16;
        digits.remove_prefix(1);
    }
    if (digits.empty())
        return std::nullopt;
    // Leading zeros are legal in any number; what remains must fit a code point, so a
    // reference with thousands of digits can neither overflow nor be mistaken for one.
    const std::size_t significant = digits.find_first_not_of('0');
    if (significant == std::string_view::npos)
        return std::nullopt; // "&#0;" and "&#x000;" name no legal character
    digits.remove_prefix(significant);
    if (digits.size() > 7)
        return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (ec != std::errc() || end != digits.data() + digits.size() || !IsXmlChar(value))
        return std::nullopt;
    return static_cast<char32_t>(value);
}

// Length of the text between "&" and ";" when text[start...] could be a reference's name,
// else npos. Stops at the first character no reference holds, so that a text full of "&"
// without any ";" is still passed over once.
std::size_t ReferenceNameLength(std::string_view text, std::size_t start) {
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ';')
            return i - start;
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum && !(c == '#' && i == start))
            return std::string_view::npos;
    }
    return std::string_view::npos;
}

void AppendReference(std::string& out, char32_t c) {
    std::array<char, 16> digits{};
    const auto [end, ec] =
        std::to_chars(digits.data(), digits.data() + digits.size(), static_cast<std::uint32_t>(c));
    out += "&#";
    out.append(digits.data(), end);
    out += ';';
}

} // namespace

namespace {

// CR LF and a lone CR become LF, in place.
void NormaliseLineEnds(std::string& text) {
    const std::size_t first = text.find('\r');
    if (first == std::string::npos)
        return;
    char* w = text.data() + first;
    const char* end = text.data() + text.size();
    for (const char* r = w; r < end; ++r) {
        if (*r != '\r') {
            *w++ = *r;
        } else {
            *w++ = '\n';
            if (r + 1 < end && r[1] == '\n')
                ++r;
        }
    }
    text.resize(static_cast<std::size_t>(w - text.data()));
}

} // namespace

std::string DecodeXmlText(std::string_view raw, bool normaliseLineEnds) {
    std::string text(raw);
    // Line ends first: a CR written as a reference stays a CR.
    if (normaliseLineEnds)
        NormaliseLineEnds(text);
    std::size_t amp = text.find('&');
    if (amp == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    for (; amp != std::string::npos; amp = text.find('&', i)) {
        out.append(text, i, amp - i);
        i = amp + 1;
        if (const std::size_t length = ReferenceNameLength(text, i); length != std::string::npos) {
            if (const auto ch = ReferencedChar(std::string_view(text).substr(i, length))) {
                AppendUtf8(out, *ch);
                i += length + 1;
                continue;
            }
        }
        out += '&';
    }
    out.append(text, i);
    return out;
}

std::string EncodeXmlText(std::string_view value, XmlContext context, CharFilter direct) {
    const bool attribute = context == XmlContext::Attribute;
    std::string out;
    out.reserve(value.size() + value.size() / 8);
    for (std::size_t i = 0; i < value.size();) {
        char32_t c;
        std::size_t len = DecodeUtf8(value.substr(i), c);
        if (len == 0) {
            DecodeUtf8(Windows1252ToUtf8(value.substr(i, 1)), c);
            len = 1;
        }
        i += len;
        switch (c) {
        case '&':
            out += "&amp;";
            continue;
        case '<':
            out += "&lt;";
            continue;
        case '>':
            out += "&gt;";
            continue;
        case '"':
            out += attribute ? "&quot;" : "\"";
            continue;
        case '\t':
        case '\n':
        case '\r':
            if (attribute)
                AppendReference(out, c);
            else
                out += static_cast<char>(c);
            continue;
        default:
            break;
        }
        if (!IsXmlChar(c))
            continue;
        if (direct != nullptr && !direct(c))
            AppendReference(out, c);
        else
            AppendUtf8(out, c);
    }
    return out;
}

} // namespace ostiva
