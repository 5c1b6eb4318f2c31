#include "core/NumberText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace ostiva {

namespace {

// Longest decimals FormatFixed honours: enough for every significant digit of the
// smallest subnormal, and a bound on the text's length.
constexpr int kMaxDecimals = 350;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string NonFiniteText(double value) {
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string PadLeft(std::string text, int width) {
    if (width > 0 && static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

// The 15 significant digits of |value| and the decimal exponent of the first one.
struct DecimalDigits {
    std::string digits; // exactly 15 digits
    int exponent = 0;
};

DecimalDigits SignificantDigits(double magnitude) {
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    // text is "d.ddddddddddddddde[+-]xx"
    DecimalDigits out;
    const auto ePos = text.find('e');
    for (char c : text.substr(0, ePos))
        if (IsDigit(c))
            out.digits.push_back(c);
    const auto exponentText = text.substr(ePos + 1);
    const bool negative = exponentText.front() == '-';
    int exponent = 0;
    std::from_chars(exponentText.data() + 1, exponentText.data() + exponentText.size(), exponent);
    out.exponent = negative ? -exponent : exponent;
    return out;
}

// Adds one to a string of decimal digits.
void Increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Skips leading blanks and an optional sign; true for "-".
bool SkipBlanksAndSign(std::string_view text, std::size_t& i) {
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        return text[i++] == '-';
    return false;
}

} // namespace

std::string FormatFixed(double value, int decimals, int width) {
    if (!std::isfinite(value))
        return PadLeft(NonFiniteText(value), width);
    decimals = std::clamp(decimals, 0, kMaxDecimals);

    // scaled holds the digits of |value| * 10^decimals, rounded half away from zero.
    std::string scaled;
    if (value != 0) {
        const DecimalDigits d = SignificantDigits(std::fabs(value));
        const int kept = d.exponent + 1 + decimals; // digits left of the rounding point
        const int available = static_cast<int>(d.digits.size());
        if (kept >= available) {
            scaled = d.digits + std::string(static_cast<std::size_t>(kept - available), '0');
        } else if (kept >= 0) {
            scaled = d.digits.substr(0, static_cast<std::size_t>(kept));
            if (d.digits[static_cast<std::size_t>(kept)] >= '5')
                Increment(scaled);
        }
    }
    const auto firstNonZero = scaled.find_first_not_of('0');
    scaled = firstNonZero == std::string::npos ? std::string() : scaled.substr(firstNonZero);
    if (scaled.size() < static_cast<std::size_t>(decimals) + 1)
        scaled.insert(0, static_cast<std::size_t>(decimals) + 1 - scaled.size(), '0');
    if (decimals > 0)
        scaled.insert(scaled.size() - static_cast<std::size_t>(decimals), 1, '.');
    // As C prints it: a negative value that rounds to zero keeps its "-".
    if (std::signbit(value))
        scaled.insert(0, 1, '-');
    return PadLeft(std::move(scaled), width);
}

std::string FormatScientific23(double value) {
    if (!std::isfinite(value))
        return PadLeft(NonFiniteText(value), 23);
    if (value == 0) // -0 as well: a sign for nothing would only confuse
        return " 0.00000000000000E+0000";
    // to_chars gives "d.dddddddddddddde[+-]xx[x]": the mantissa is kept, the exponent widened
    // to four digits. Built in place: a record formats twenty of these.
    char digits[32];
    const char* const end = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                          std::chars_format::scientific, 14)
                                .ptr;
    std::string text(23, '0');
    text[0] = value < 0 ? '-' : ' ';
    std::memcpy(text.data() + 1, digits, 16);
    text[17] = 'E';
    text[18] = digits[17];
    const std::size_t exponentDigits = static_cast<std::size_t>(end - (digits + 18));
    std::memcpy(text.data() + 23 - exponentDigits, digits + 18, exponentDigits);
    return text;
}

std::string FormatRoundTrip(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

double ParseDecimal(std::string_view text) {
    const char* p = text.data();
    const char* const stop = p + text.size();
    while (p != stop && IsBlank(*p))
        ++p;
    double value = 0;
    const char* const number = p;
    if (ReadShortDecimal(p, stop, value) && (p == stop || (*p != 'e' && *p != 'E')))
        return value;
    // An exponent or more than 15 digits: the standard reader takes the number.
    p = number;
    bool negative = false;
    if (p != stop && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    const char* const start = p;
    std::size_t mantissaDigits = 0;
    for (; p != stop && IsDigit(*p); ++p)
        ++mantissaDigits;
    if (p != stop && *p == '.')
        for (++p; p != stop && IsDigit(*p); ++p)
            ++mantissaDigits;
    if (mantissaDigits == 0)
        return 0;
    std::size_t i = static_cast<std::size_t>(p - text.data());
    std::size_t end = i;
    // The exponent belongs to the number only when it has digits.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            end = j;
        }
    }
    const auto result =
        std::from_chars(start, text.data() + end, value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0;
    return negative ? -value : value;
}

int ParseInteger(std::string_view text) {
    std::size_t i = 0;
    const bool negative = SkipBlanksAndSign(text, i);
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        magnitude = std::min(limit, magnitude * 10 + (text[i] - '0'));
    return static_cast<int>(negative ? -magnitude : magnitude);
}

} // namespace ostiva
