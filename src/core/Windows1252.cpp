#include "core/Windows1252.h"

#include "core/Utf8.h"

#include <array>
#include <charconv>
#include <stdexcept>
#include <utility>

namespace ostiva {

namespace {

// Characters of the bytes 0x80-0x9F; the undefined ones map to the C1 control of the same value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CharOfByte(unsigned char b) {
    return b >= 0x80 && b <= 0x9F ? kHighControls[b - 0x80] : char32_t(b);
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else
            AppendUtf8(out, CharOfByte(b));
    }
    return out;
}

std::optional<unsigned char> Windows1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out += utf8[i++];
            continue;
        }
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(utf8.substr(i), c);
        const auto byte = length > 0 ? Windows1252Byte(c) : std::nullopt;
        if (!byte) {
            std::array<char, 8> hex{};
            const auto end =
                std::to_chars(hex.data(), hex.data() + hex.size(), static_cast<unsigned>(c), 16)
                    .ptr;
            std::string code(hex.data(), end);
            for (char& h : code)
                h = h >= 'a' ? static_cast<char>(h - 'a' + 'A') : h;
            code.insert(0, code.size() < 4 ? 4 - code.size() : 0, '0');
            throw std::runtime_error(length == 0 ? "text that is not UTF-8"
                                                 : "Windows-1252 has no character U+" + code);
        }
        out += static_cast<char>(*byte);
        i += length;
    }
    return out;
}

CharFilter Windows1252LabelChars(std::string_view label) {
    static constexpr CharFilter ascii = [](char32_t c) { return c < 0x80; };
    static constexpr CharFilter latin1 = [](char32_t c) {
        return c < 0x80 || (c >= 0xA0 && c <= 0xFF);
    };
    // The labels browsers read as Windows-1252.
    static constexpr std::pair<std::string_view, CharFilter> kLabels[] = {
        {"ansi_x3.4-1968", ascii},
        {"ascii", ascii},
        {"us-ascii", ascii},
        {"cp819", latin1},
        {"csisolatin1", latin1},
        {"ibm819", latin1},
        {"iso-8859-1", latin1},
        {"iso-ir-100", latin1},
        {"iso8859-1", latin1},
        {"iso88591", latin1},
        {"iso_8859-1", latin1},
        {"iso_8859-1:1987", latin1},
        {"l1", latin1},
        {"latin1", latin1},
        {"cp1252", IsWindows1252Char},
        {"windows-1252", IsWindows1252Char},
        {"x-cp1252", IsWindows1252Char}};
    for (const auto& [known, filter] : kLabels) {
        if (known.size() != label.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < known.size() && same; ++i)
            same = AsciiLower(label[i]) == known[i];
        if (same)
            return filter;
    }
    return nullptr;
}

} // namespace ostiva
