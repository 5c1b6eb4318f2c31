#pragma once
// Number texts of the profile files, the language files and the windows.
// Nothing here depends on the user's locale: "." is always the decimal separator.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ostiva {

// Fixed notation with `decimals` decimals, right-aligned in `width` characters (0: shortest).
// Halves round away from zero, judged on the decimal value the number prints as with
// 15 significant digits (0.285 gives "0.29", -0.125 gives "-0.13"). A negative value that
// rounds to zero keeps its sign as in C ("-0.00"); NaN and infinities give "NAN", "INF", "-INF".
std::string FormatFixed(double value, int decimals, int width = 0);

// "%5.2f": two decimals right-aligned in five characters (0.853 gives " 0.85").
inline std::string Format5_2(double value) {
    return FormatFixed(value, 2, 5);
}

// The 23-character scientific text: sign position (blank or "-"), one digit, ".", 14 digits,
// "E", exponent sign, four exponent digits. 12.5 gives " 1.25000000000000E+0001".
std::string FormatScientific23(double value);

// Shortest text that reads back as the same double (for JSON and other machine output).
std::string FormatRoundTrip(double value);

// Reads a decimal number: leading blanks (spaces, tabs), optional sign, digits, optional "." and
// digits, optional exponent ("E" or "e", optional sign, digits). The longest such prefix is the
// value; no prefix (for example the text "Error") gives 0; a value that is not finite gives 0.
double ParseDecimal(std::string_view text);

// The quick part of ParseDecimal, for the thousands of short decimals of a sample list: reads
// an optional sign, digits, and an optional "." with digits from `p` on and moves `p` past
// them. With at most 15 digits in all the value is exact to the last bit (both operands of the
// one division are exact doubles, so it rounds correctly) and this returns true; with more it
// returns false and the text is for ParseDecimal. No digits read as +0, as ParseDecimal has it.
inline bool ReadShortDecimal(const char*& p, const char* stop, double& value) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    // Signs are a coin toss in a sample list: taken without a branch.
    const bool minus = p != stop && *p == '-';
    p += p != stop && (*p == '-' || *p == '+');
    std::uint64_t mantissa = 0; // exact while there are at most 15 digits
    const char* const first = p;
    for (; p != stop && static_cast<unsigned>(*p - '0') < 10; ++p)
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    std::size_t digits = static_cast<std::size_t>(p - first);
    std::size_t decimals = 0;
    if (p != stop && *p == '.') {
        const char* const fraction = ++p;
        for (; p != stop && static_cast<unsigned>(*p - '0') < 10; ++p)
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        decimals = static_cast<std::size_t>(p - fraction);
        digits += decimals;
    }
    if (digits > 15)
        return false;
    const double magnitude = static_cast<double>(mantissa) / kPowersOfTen[decimals];
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    bits |= static_cast<std::uint64_t>(minus && digits > 0) << 63;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

// Whole-number value of a text: leading blanks skipped, then an optional sign and decimal
// digits; reading stops at the first other character; no digits gives 0. Clamped to int.
int ParseInteger(std::string_view text);

} // namespace ostiva
