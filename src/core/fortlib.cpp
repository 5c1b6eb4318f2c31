#include "core/fortlib.h"

#include "core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace ostiva {

namespace {

constexpr int kCurveLast = 200; // 200-sample curves use index 1..200
constexpr int kWaveFirst = 10;  // half-waves are scanned over v[10..189]
constexpr int kWaveEnd = 190;
constexpr int kPeakFirst = 9; // top-top amplitude over v[9..189]
constexpr int kPeakLast = 189;

void RequireCurve(std::span<const double> curve, const char* what) {
    if (curve.size() < kCurveLast + 1)
        throw std::invalid_argument(std::string(what) + " needs index 1..200");
}

} // namespace

void ThrowNotFinite(double value) {
    throw FloatingPointError(std::isnan(value) ? "Invalid floating point operation"
                                               : "Floating point overflow");
}

namespace {

// Calls visit(token) for every non-empty run of characters between separators, as views into
// `text`, so that the sample lists are read without building a string per token.
template <typename Visit>
void ForEachToken(std::string_view text, std::string_view separators, Visit visit) {
    std::array<bool, 256> isSeparator{};
    for (char c : separators)
        isSeparator[static_cast<unsigned char>(c)] = true;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || isSeparator[static_cast<unsigned char>(text[i])]) {
            if (i > start)
                visit(text.substr(start, i - start));
            start = i + 1;
        }
    }
}

} // namespace

std::vector<std::string> SplitTokens(std::string_view text, std::string_view separators) {
    std::vector<std::string> tokens;
    ForEachToken(text, separators,
                 [&tokens](std::string_view token) { tokens.emplace_back(token); });
    return tokens;
}

namespace {

// The characters that separate the tokens of a sample list: blank, tab, line feed and, in a
// list as it stands in the file, CR.
template <bool kCarriageReturnSeparates> constexpr bool IsListSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || (kCarriageReturnSeparates && c == '\r');
}

// Reads the position/value pairs of a sample list in one pass over its characters. A plain
// short decimal ends at a separator; any other token is read whole by ParseDecimal.
template <bool kCarriageReturnSeparates>
int ReadValueList(std::string_view text, std::span<double> array) {
    const auto nextSeparator = [](const char* p, const char* end) {
        while (p != end && !IsListSeparator<kCarriageReturnSeparates>(*p))
            ++p;
        return p;
    };
    const auto nextToken = [](const char* p, const char* end) {
        while (p != end && IsListSeparator<kCarriageReturnSeparates>(*p))
            ++p;
        return p;
    };
    // Never write past the caller's array, whatever the list holds.
    const std::size_t lastIndex =
        std::min<std::size_t>(kSampleCount, array.empty() ? 0 : array.size() - 1);
    std::size_t stored = 0;
    bool isValue = false; // tokens alternate: position, value, position, ...
    const char* const end = text.data() + text.size();
    for (const char* p = nextToken(text.data(), end); p != end; p = nextToken(p, end)) {
        const char* const token = p;
        if (isValue && stored < lastIndex) {
            double value = 0;
            if (!ReadShortDecimal(p, end, value) ||
                (p != end && !IsListSeparator<kCarriageReturnSeparates>(*p))) {
                p = nextSeparator(p, end);
                value = ParseDecimal(std::string_view(token, static_cast<std::size_t>(p - token)));
            }
            array[++stored] = value;
        } else {
            p = nextSeparator(p, end);
        }
        isValue = !isValue;
    }
    return static_cast<int>(stored);
}

} // namespace

int ParseValueList(std::string_view text, std::span<double> array) {
    return ReadValueList<false>(text, array);
}

int ParseValueListMarkup(std::string_view markup, std::span<double> array) {
    return ReadValueList<true>(markup, array);
}

void TrendAndResidual(std::span<const double> input, int m, std::span<double> trend,
                      std::span<double> residual) {
    RequireCurve(input, "input");
    RequireCurve(trend, "trend");
    RequireCurve(residual, "residual");
    // The last full value T[200-m] must lie right of the first one T[m+1].
    if (m < 1 || 2 * m + 1 > kCurveLast)
        throw std::invalid_argument("half-window out of range");

    // Copy first: trend or residual may share storage with input.
    std::array<double, kCurveLast + 1> L{};
    std::copy(input.begin() + 1, input.begin() + kCurveLast + 1, L.begin() + 1);
    std::array<double, kCurveLast + 1> T{};

    double sum = 0;
    for (int k = 1; k <= 2 * m; ++k)
        sum += L[k];
    T[m + 1] = sum / (2 * m);
    for (int i = m + 2; i <= kCurveLast - m; ++i)
        T[i] = T[i - 1] + (L[i + m] - L[i - m - 1]) / (2 * m + 1);
    const double firstFull = T[m + 1];
    const double lastFull = T[kCurveLast - m];
    for (int k = 1; k <= m; ++k) {
        T[k] = (k - 1) * firstFull / m;
        T[kCurveLast + 1 - k] = (k - 1) * lastFull / m;
    }
    for (int k = 1; k <= kCurveLast; ++k) {
        trend[k] = T[k];
        residual[k] = L[k] - T[k];
    }
}

LineArray ShortWaveBand(const ProfileArray& topMeas, int m1, int m2) {
    LineArray trend{}, firstResidual{}, band{};
    TrendAndResidual(topMeas, m1, trend, firstResidual);
    TrendAndResidual(firstResidual, m2, trend, band);
    band[0] = 0;
    return band;
}

Corrugation CorrugationParameters(std::span<const double> v, std::string_view upperLimit,
                                  std::string_view lowerLimit) {
    RequireCurve(v, "band");
    // A NaN would stall the half-wave scan below; infinities cannot give finite results.
    for (std::size_t j = 0; j <= kCurveLast; ++j)
        RequireFinite(v[j]);

    // Extremes kept as values, not as positions: comparing each sample with the value a
    // position points to would make every step wait for the load of the step before.
    Corrugation result;
    double highest = v[1];
    for (int k = 2; k <= kCurveLast; ++k)
        highest = v[k] > highest ? v[k] : highest;
    result.GSD = std::max(0.0, highest);

    double low = v[kPeakFirst], high = v[kPeakFirst];
    for (int k = kPeakFirst + 1; k <= kPeakLast; ++k) {
        low = v[k] < low ? v[k] : low;
        high = v[k] < high ? high : v[k]; // the last of equal highs, as minmax_element has it
    }
    result.APP = high - low;

    // Half-waves come in pairs, positive then negative; an empty one still counts.
    int j = kWaveFirst;
    int halfWaves = 0;
    double positiveSum = 0, negativeSum = 0;
    for (;;) {
        double peak = 0;
        for (; j < kWaveEnd && v[j] >= 0; ++j)
            peak = std::max(peak, v[j]);
        ++halfWaves;
        double trough = 0;
        for (; j < kWaveEnd && v[j] <= 0; ++j)
            trough = std::min(trough, v[j]);
        ++halfWaves;
        positiveSum += peak;
        negativeSum += trough;
        if (j >= kWaveEnd)
            break;
    }
    result.GA = (positiveSum - negativeSum) / halfWaves;
    result.GG = (200.0 - 2 * 10) / (halfWaves + 1);

    const double upper = ParseDecimal(upperLimit);
    const double lower = ParseDecimal(lowerLimit);
    int outside = 0;
    for (int k = 1; k <= 199; ++k)
        outside += (v[k] < lower) + (v[k] > upper);
    result.Loss = outside / 2.0 / 200.0 * 100.0;

    if (!std::isfinite(result.APP) || !std::isfinite(result.GA))
        throw FloatingPointError("Floating point overflow");
    return result;
}

} // namespace ostiva
