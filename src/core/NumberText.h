#pragma once
// Number texts of the profile files, the language files and the windows.
// Nothing here depends on the user's locale: "." is always the decimal separator.
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

// Whole-number value of a text: leading blanks skipped, then an optional sign and decimal
// digits; reading stops at the first other character; no digits gives 0. Clamped to int.
int ParseInteger(std::string_view text);

} // namespace ostiva
