#include "core/XmlWellFormed.h"

#include "core/Utf8.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

namespace ostiva {

namespace {

// Byte classes. Every byte that is not a legal ASCII character (controls, and all bytes of
// multi-byte sequences) ends every run, so the fast loops only ever pass over plain ASCII.
enum : std::uint8_t {
    kEndsText = 1,   // character data: markup, references, "]]>"
    kEndsValue = 2,  // attribute values: "<", references, either quote
    kEndsMarkup = 4, // comments, processing instructions, CDATA (their terminators aside)
    kSpace = 8,
    kNameStart = 16,
    kName = 32,
};

constexpr std::array<std::uint8_t, 256> MakeByteClasses() {
    std::array<std::uint8_t, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        std::uint8_t f = 0;
        if (!(space || (c >= 0x20 && c < 0x80)))
            f |= kEndsText | kEndsValue | kEndsMarkup;
        if (c == '<' || c == '&')
            f |= kEndsText | kEndsValue;
        if (c == '>')
            f |= kEndsText;
        if (c == '"' || c == '\'')
            f |= kEndsValue;
        if (space)
            f |= kSpace;
        if (letter || c == '_' || c == ':')
            f |= kNameStart | kName;
        if ((c >= '0' && c <= '9') || c == '-' || c == '.')
            f |= kName;
        classes[c] = f;
    }
    return classes;
}

constexpr std::array<std::uint8_t, 256> kByteClass = MakeByteClasses();

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Name characters beyond ASCII, Fifth Edition ranges.
bool IsNameStartChar(char32_t c) {
    return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(char32_t c) {
    return IsNameStartChar(c) || c == 0xB7 || (c >= 0x300 && c <= 0x36F) ||
           (c >= 0x203F && c <= 0x2040);
}

std::string Concat(std::string_view before, std::string_view name, std::string_view after = {}) {
    std::string text(before);
    text += name;
    text += after;
    return text;
}

class Checker {
  public:
    explicit Checker(std::string_view document) : d_(document), n_(document.size()) {}

    void Run() {
        if (At("\xEF\xBB\xBF"))
            p_ = 3;
        if (At("<?xml") && p_ + 5 < n_ && (ClassAt(p_ + 5) & kSpace))
            XmlDeclaration();
        Misc(false);
        Element();
        Misc(true);
    }

  private:
    std::uint8_t ClassAt(std::size_t i) const {
        return kByteClass[static_cast<unsigned char>(d_[i])];
    }
    bool At(std::string_view s) const { return d_.substr(p_).starts_with(s); }
    bool AtByte(char c) const { return p_ < n_ && d_[p_] == c; }
    std::size_t OffsetOf(std::string_view inDocument) const {
        return static_cast<std::size_t>(inDocument.data() - d_.data());
    }

    [[noreturn]] void Fail(std::string_view what, std::size_t at) const {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, at).ptr;
        std::string message(what);
        message += " at offset ";
        message.append(digits, end);
        throw std::runtime_error(message);
    }

    [[noreturn]] void FailIllegalChar(char32_t c, std::size_t at) const {
        char hex[8];
        const auto end =
            std::to_chars(hex, hex + sizeof hex, static_cast<std::uint32_t>(c), 16).ptr;
        std::string text = "Illegal character U+";
        text.append(std::max<std::ptrdiff_t>(0, 4 - (end - hex)), '0');
        for (const char* h = hex; h != end; ++h)
            text += *h >= 'a' ? static_cast<char>(*h - 'a' + 'A') : *h;
        Fail(text, at);
    }

    // Moves `p_` past the character there, which must be a legal one.
    void SkipChar() {
        const auto b = static_cast<unsigned char>(d_[p_]);
        if (b < 0x80) {
            if (kByteClass[b] & kEndsMarkup)
                FailIllegalChar(b, p_);
            ++p_;
            return;
        }
        char32_t c;
        const std::size_t length = DecodeUtf8(d_.substr(p_), c);
        if (length == 0)
            Fail("Invalid UTF-8", p_);
        if (!IsXmlChar(c))
            FailIllegalChar(c, p_);
        p_ += length;
    }

    // Profile files are mostly long runs of digits and blanks: test four bytes per bounds check.
    std::size_t SkipPlain(std::size_t i, std::uint8_t stop) const {
        const auto* s = reinterpret_cast<const unsigned char*>(d_.data());
        for (; i + 4 <= n_; i += 4) {
            if ((kByteClass[s[i]] | kByteClass[s[i + 1]] | kByteClass[s[i + 2]] |
                 kByteClass[s[i + 3]]) &
                stop)
                break;
        }
        while (i < n_ && !(kByteClass[s[i]] & stop))
            ++i;
        return i;
    }

    bool SkipSpace() {
        const std::size_t start = p_;
        while (p_ < n_ && (ClassAt(p_) & kSpace))
            ++p_;
        return p_ != start;
    }

    // Empty when no name starts at `p_`.
    std::string_view Name() {
        const std::size_t start = p_;
        while (p_ < n_) {
            const auto b = static_cast<unsigned char>(d_[p_]);
            if (b < 0x80) {
                if (!(kByteClass[b] & (p_ == start ? kNameStart : kName)))
                    break;
                ++p_;
                continue;
            }
            char32_t c;
            const std::size_t length = DecodeUtf8(d_.substr(p_), c);
            if (length == 0)
                Fail("Invalid UTF-8", p_);
            if (!(p_ == start ? IsNameStartChar(c) : IsNameChar(c)))
                break;
            p_ += length;
        }
        return d_.substr(start, p_ - start);
    }

    // Inside a comment, processing instruction or CDATA section: leaves `p_` at the next
    // `terminator`, checking every character passed.
    void SkipTo(char terminator, std::size_t open, std::string_view unterminated) {
        for (;;) {
            const char* s = d_.data();
            while (p_ < n_ && s[p_] != terminator && !(ClassAt(p_) & kEndsMarkup))
                ++p_;
            if (p_ == n_)
                Fail(unterminated, open);
            if (s[p_] == terminator)
                return;
            SkipChar();
        }
    }

    // Eq and the quoted value of one pseudo-attribute.
    std::string_view DeclarationValue() {
        SkipSpace();
        if (!AtByte('='))
            Fail("Missing = in XML declaration", p_);
        ++p_;
        SkipSpace();
        if (!AtByte('"') && !AtByte('\''))
            Fail("Missing quoted value in XML declaration", p_);
        const std::size_t start = p_ + 1;
        const std::size_t end = d_.find(d_[p_], start);
        if (end == std::string_view::npos)
            Fail("Unterminated value in XML declaration", p_);
        p_ = end + 1;
        return d_.substr(start, end - start);
    }

    void XmlDeclaration() {
        p_ += 5;
        SkipSpace();
        if (!At("version"))
            Fail("XML declaration without version first", p_);
        p_ += 7;
        const std::string_view version = DeclarationValue();
        if (version.size() < 3 || !version.starts_with("1.") ||
            !std::all_of(version.begin() + 2, version.end(),
                         [](char c) { return c >= '0' && c <= '9'; }))
            Fail("Invalid XML version", OffsetOf(version));
        bool space = SkipSpace();
        if (space && At("encoding")) {
            p_ += 8;
            const std::string_view encoding = DeclarationValue();
            const auto letter = [](char c) {
                return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            };
            const auto encodingChar = [&](char c) {
                return letter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
            };
            if (encoding.empty() || !letter(encoding[0]) ||
                !std::all_of(encoding.begin(), encoding.end(), encodingChar))
                Fail("Invalid encoding name", OffsetOf(encoding));
            space = SkipSpace();
        }
        if (space && At("standalone")) {
            p_ += 10;
            const std::string_view standalone = DeclarationValue();
            if (standalone != "yes" && standalone != "no")
                Fail("Invalid standalone value", OffsetOf(standalone));
            SkipSpace();
        }
        if (!At("?>"))
            Fail("Malformed XML declaration", p_);
        p_ += 2;
    }

    void Comment() {
        const std::size_t open = p_;
        p_ += 4;
        for (;;) {
            SkipTo('-', open, "Unterminated comment");
            if (At("-->")) {
                p_ += 3;
                return;
            }
            if (At("--"))
                Fail(p_ + 2 == n_ ? "Unterminated comment" : "-- inside a comment",
                     p_ + 2 == n_ ? open : p_);
            ++p_;
        }
    }

    void ProcessingInstruction() {
        const std::size_t open = p_;
        p_ += 2;
        const std::string_view target = Name();
        if (target.empty())
            Fail("Invalid processing instruction target", p_);
        if (target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
            (target[2] | 0x20) == 'l')
            Fail(Concat("Reserved processing instruction target ", target), OffsetOf(target));
        if (!At("?>") && !SkipSpace())
            Fail("Missing whitespace after processing instruction target", p_);
        for (;;) {
            SkipTo('?', open, "Unterminated processing instruction");
            if (At("?>")) {
                p_ += 2;
                return;
            }
            ++p_;
        }
    }

    void CData() {
        const std::size_t open = p_;
        p_ += 9;
        for (;;) {
            SkipTo(']', open, "Unterminated CDATA section");
            if (At("]]>")) {
                p_ += 3;
                return;
            }
            ++p_;
        }
    }

    void Reference() {
        const std::size_t amp = p_++;
        if (AtByte('#')) {
            ++p_;
            const bool hex = AtByte('x');
            if (hex)
                ++p_;
            const std::size_t digits = p_;
            std::uint32_t value = 0;
            for (; p_ < n_; ++p_) {
                const char c = d_[p_];
                std::uint32_t digit;
                if (c >= '0' && c <= '9')
                    digit = c - '0';
                else if (hex && c >= 'a' && c <= 'f')
                    digit = c - 'a' + 10;
                else if (hex && c >= 'A' && c <= 'F')
                    digit = c - 'A' + 10;
                else
                    break;
                // Saturates just past the last code point.
                value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
            }
            if (p_ == digits || !AtByte(';'))
                Fail("Malformed character reference", amp);
            ++p_;
            if (!IsXmlChar(value))
                Fail("Character reference to an illegal character", amp);
            return;
        }
        const std::string_view name = Name();
        if (name.empty() || !AtByte(';'))
            Fail("& not starting a reference", amp);
        ++p_;
        if (name != "lt" && name != "gt" && name != "amp" && name != "apos" && name != "quot")
            Fail(Concat("Undefined entity ", name), amp);
    }

    void AttributeValue() {
        if (!AtByte('"') && !AtByte('\''))
            Fail("Missing quoted attribute value", p_);
        const char quote = d_[p_];
        const std::size_t open = p_++;
        for (;;) {
            p_ = SkipPlain(p_, kEndsValue);
            if (p_ == n_)
                Fail("Unterminated attribute value", open);
            const char c = d_[p_];
            if (c == quote) {
                ++p_;
                return;
            }
            if (c == '<')
                Fail("< in an attribute value", p_);
            if (c == '&')
                Reference();
            else
                SkipChar();
        }
    }

    void StartTag() {
        const std::size_t open = p_++;
        const std::string_view name = Name();
        if (name.empty())
            Fail("Invalid element name", p_);
        attributes_.clear();
        if (!attributeSet_.empty())
            attributeSet_ = {}; // clear() would cost the buckets a huge element left behind
        for (;;) {
            const bool space = SkipSpace();
            if (p_ == n_)
                Fail("Unterminated start tag", open);
            if (d_[p_] == '>') {
                ++p_;
                open_.push_back(name);
                return;
            }
            if (d_[p_] == '/') {
                if (!At("/>"))
                    Fail("Expected /> in start tag", p_);
                p_ += 2;
                return;
            }
            if (!space)
                Fail(ClassAt(p_) & kNameStart ? "Missing whitespace between attributes"
                                              : "Invalid character in start tag",
                     p_);
            const std::string_view attribute = Name();
            if (attribute.empty())
                Fail("Invalid attribute name", p_);
            if (IsDuplicateAttribute(attribute))
                Fail(Concat("Duplicate attribute ", attribute), OffsetOf(attribute));
            SkipSpace();
            if (!AtByte('='))
                Fail(Concat("Missing = after attribute ", attribute), p_);
            ++p_;
            SkipSpace();
            AttributeValue();
        }
    }

    // Few attributes are compared in a list; an element with many gets a hash set, so that a
    // hostile file with 100,000 attributes is checked in linear time.
    bool IsDuplicateAttribute(std::string_view attribute) {
        if (!attributeSet_.empty())
            return !attributeSet_.insert(attribute).second;
        for (const std::string_view seen : attributes_)
            if (seen == attribute)
                return true;
        attributes_.push_back(attribute);
        if (attributes_.size() > kListedAttributes)
            attributeSet_.insert(attributes_.begin(), attributes_.end());
        return false;
    }

    void EndTag() {
        const std::size_t open = p_;
        p_ += 2;
        const std::string_view name = Name();
        if (name != open_.back())
            Fail(Concat("End tag </", name, "> does not match <" + std::string(open_.back()) + ">"),
                 open);
        SkipSpace();
        if (!AtByte('>'))
            Fail("Unterminated end tag", open);
        ++p_;
        open_.pop_back();
    }

    // The root element with all its content, iteratively: nesting depth costs no stack.
    void Element() {
        StartTag();
        while (!open_.empty()) {
            p_ = SkipPlain(p_, kEndsText);
            if (p_ == n_)
                Fail(Concat("Element ", open_.back(), " is not closed"),
                     OffsetOf(open_.back()) - 1);
            switch (d_[p_]) {
            case '<':
                if (At("</"))
                    EndTag();
                else if (At("<?"))
                    ProcessingInstruction();
                else if (At("<!--"))
                    Comment();
                else if (At("<![CDATA["))
                    CData();
                else if (At("<!DOCTYPE"))
                    Fail("Document type declarations are not accepted", p_);
                else if (At("<!"))
                    Fail("Invalid markup declaration", p_);
                else
                    StartTag();
                break;
            case '&':
                Reference();
                break;
            case '>':
                // Only character data can stand before it here: markup never ends in "]".
                if (p_ >= 2 && d_[p_ - 1] == ']' && d_[p_ - 2] == ']')
                    Fail("]]> in character data", p_ - 2);
                ++p_;
                break;
            default:
                SkipChar();
            }
        }
    }

    // Comments, processing instructions and whitespace before the root element (stopping at
    // it) or after it (up to the end).
    void Misc(bool afterRoot) {
        for (;;) {
            SkipSpace();
            if (p_ == n_) {
                if (!afterRoot)
                    Fail("No root element", p_);
                return;
            }
            if (d_[p_] != '<') {
                // A stray control character or broken UTF-8 (a NUL-padded or mis-encoded
                // file) is reported as such rather than as text.
                const std::size_t text = p_;
                SkipChar();
                Fail(afterRoot ? "Text after the root element" : "Text before the root element",
                     text);
            }
            if (At("<?"))
                ProcessingInstruction();
            else if (At("<!--"))
                Comment();
            else if (At("<!DOCTYPE"))
                Fail("Document type declarations are not accepted", p_);
            else if (At("<![CDATA["))
                Fail("CDATA section outside the root element", p_);
            else if (afterRoot)
                Fail(At("<!") || At("</") ? "Markup after the root element"
                                          : "More than one root element",
                     p_);
            else
                return;
        }
    }

    std::string_view d_;
    std::size_t n_;
    std::size_t p_ = 0;
    std::vector<std::string_view> open_;
    static constexpr std::size_t kListedAttributes = 16;
    std::vector<std::string_view> attributes_;
    std::unordered_set<std::string_view> attributeSet_;
};

} // namespace

void CheckWellFormedXml(std::string_view document) {
    Checker(document).Run();
}

} // namespace ostiva
