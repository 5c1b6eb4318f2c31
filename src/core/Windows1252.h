#pragma once
// The 8-bit encoding of files written by Windows programs. Files labelled ISO-8859-1 are read
// as Windows-1252, as web browsers do: the two agree except that 0x80-0x9F are printable
// characters (the euro sign, curly quotes, dashes) in Windows-1252.
#include <optional>
#include <string>
#include <string_view>

namespace ostiva {

// Every byte becomes one character; nothing is lost (the five bytes Windows-1252 leaves
// undefined become U+0081, U+008D, U+008F, U+0090 and U+009D).
std::string Windows1252ToUtf8(std::string_view bytes);

// The byte of `c` in Windows-1252, if the encoding holds it.
std::optional<unsigned char> Windows1252Byte(char32_t c);

// Whether a character may stand as itself in a file's encoding.
using CharFilter = bool (*)(char32_t);

inline bool IsWindows1252Char(char32_t c) {
    return Windows1252Byte(c).has_value();
}

// Valid UTF-8 to Windows-1252. Throws std::runtime_error naming the first character the
// encoding cannot hold ("Windows-1252 has no character U+0142"); nothing is ever replaced.
std::string Utf8ToWindows1252(std::string_view utf8);

// For an encoding label (as in an XML declaration, any case) that is read as Windows-1252: the
// characters a writer may store as bytes so that a reader of the label's own encoding reads
// them back too (ASCII for "us-ascii", no 0x80-0x9F for "ISO-8859-1"). nullptr for any other
// label.
CharFilter Windows1252LabelChars(std::string_view label);

} // namespace ostiva
