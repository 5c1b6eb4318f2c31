#include "core/fortlib.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>

using namespace ostiva;

namespace {

using Curve = std::array<double, 201>; // index 1..200 used

Curve Constant(double c) {
    Curve curve{};
    for (int k = 1; k <= 200; ++k)
        curve[k] = c;
    return curve;
}

// Trend of running windows written out in closed form: after the first window of 2m samples
// every step adds (new - old) / (2m+1), which sums to (W(i) - W(m+1)) / (2m+1) with W(i) the
// full window of 2m+1 samples around i.
double ClosedFormTrend(const Curve& L, int m, int i) {
    auto window = [&](int centre) {
        double sum = 0;
        for (int t = centre - m; t <= centre + m; ++t)
            sum += L[t];
        return sum;
    };
    double first = 0;
    for (int t = 1; t <= 2 * m; ++t)
        first += L[t];
    first /= 2 * m;
    if (i <= m)
        return (i - 1) * first / m;
    if (i > 200 - m)
        return (200 - i) * ClosedFormTrend(L, m, 200 - m) / m;
    return first + (window(i) - window(m + 1)) / (2 * m + 1);
}

} // namespace

TEST(SplitTokens, RunsOfSeparatorsGiveNoEmptyTokens) {
    const auto tokens = SplitTokens("  -500 0.12\n-495\t0.15  ", " \t\n");
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0], "-500");
    EXPECT_EQ(tokens[1], "0.12");
    EXPECT_EQ(tokens[2], "-495");
    EXPECT_EQ(tokens[3], "0.15");
    EXPECT_EQ(SplitTokens(",,a,,b,", ","), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SplitTokens("", " ").empty());
    EXPECT_TRUE(SplitTokens(" \t\n ", " \t\n").empty());
    EXPECT_EQ(SplitTokens("a b", ""), (std::vector<std::string>{"a b"}));
}

TEST(ParseValueList, SkipsPositionsAndStoresValuesFromIndexOne) {
    ProfileArray array{};
    array[3] = 7;
    ParseValueList("  -500 0.12\n-495\t0.15  ", array);
    EXPECT_EQ(array[0], 0);
    EXPECT_EQ(array[1], 0.12);
    EXPECT_EQ(array[2], 0.15);
    EXPECT_EQ(array[3], 7); // not reached: untouched
}

TEST(ParseValueList, MissingListAndOddTokens) {
    ProfileArray array{};
    array.fill(7);
    ParseValueList("not found", array); // "found" is a value that reads as 0
    EXPECT_EQ(array[1], 0);
    EXPECT_EQ(array[2], 7);

    ProfileArray odd{};
    ParseValueList("-500 1.5 -495 x -490", odd);
    EXPECT_EQ(odd[1], 1.5);
    EXPECT_EQ(odd[2], 0); // "x"
    EXPECT_EQ(odd[3], 0); // a trailing position alone stores nothing
}

TEST(ParseValueList, MarkupListsTakeCrAsALineEnd) {
    // A list as it stands in the file reads as its normalised text does; in normalised text a
    // CR (from a reference) is no separator but ends the number it follows.
    struct Case {
        std::string_view text;
        std::array<double, 3> markup, decoded; // values 1..3 read from each
    };
    const Case cases[] = {
        {"\r\n-500 0.00244\r\n-495 -0.01530\r\n", {0.00244, -0.0153, 9}, {-500, -495, 9}},
        {"-500 1.5\r-495 2.5\r-490 -3", {1.5, 2.5, -3}, {1.5, -3, 9}},
        {"-500 +7\t-495 -0\n-490 .5", {7, -0.0, 0.5}, {7, -0.0, 0.5}},
        {"-500 1e2 -495 12345678901234567 -490 1.5x",
         {100, 12345678901234567.0, 1.5},
         {100, 12345678901234567.0, 1.5}},
        {"-500 - -495 abc -490", {0, 0, 9}, {0, 0, 9}},
    };
    for (const Case& c : cases) {
        ProfileArray markup{}, decoded{};
        markup.fill(9);
        decoded.fill(9);
        ParseValueListMarkup(c.text, markup);
        ParseValueList(c.text, decoded);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(markup[i + 1], c.markup[i]) << c.text << " value " << i + 1;
            EXPECT_EQ(decoded[i + 1], c.decoded[i]) << c.text << " value " << i + 1;
        }
        EXPECT_EQ(std::signbit(markup[2]), std::signbit(c.markup[1])) << c.text;
    }
}

TEST(ParseValueList, AMarkupListReadsAsItsNormalisedText) {
    // Random lists of number characters, separators and junk: read as they stand in the file,
    // they give the values their text gives once CR LF and CR are line feeds.
    std::mt19937 random(7);
    const std::string alphabet = "0123456789-+.eE \t\r\nx";
    for (int n = 0; n < 20000; ++n) {
        std::string markup, text;
        for (int i = int(random() % 60); i > 0; --i)
            markup += alphabet[random() % alphabet.size()];
        for (std::size_t i = 0; i < markup.size(); ++i) {
            text += markup[i] == '\r' ? '\n' : markup[i];
            if (markup[i] == '\r' && i + 1 < markup.size() && markup[i + 1] == '\n')
                ++i;
        }
        ProfileArray fromMarkup{}, fromText{};
        fromMarkup.fill(7);
        fromText.fill(7);
        ASSERT_EQ(ParseValueListMarkup(markup, fromMarkup), ParseValueList(text, fromText))
            << markup;
        for (std::size_t k = 0; k < fromText.size(); ++k)
            ASSERT_EQ(std::bit_cast<std::uint64_t>(fromMarkup[k]),
                      std::bit_cast<std::uint64_t>(fromText[k]))
                << markup;
    }
}

TEST(ParseValueList, KeepsAtMost201Values) {
    std::string text;
    for (int n = 1; n <= 202; ++n)
        text += std::to_string(-505 + 5 * n) + " " + std::to_string(n) + "\n";
    ProfileArray array{};
    ParseValueList(text, array);
    EXPECT_EQ(array[1], 1);
    EXPECT_EQ(array[200], 200);
    EXPECT_EQ(array[201], 201);

    // A shorter array takes what fits and nothing beyond it.
    std::array<double, 12> guarded{};
    guarded.fill(-1);
    ParseValueList(text, std::span<double>(guarded.data(), 10));
    EXPECT_EQ(guarded[9], 9);
    EXPECT_EQ(guarded[10], -1);
    EXPECT_EQ(guarded[11], -1);
    ParseValueList(text, std::span<double>()); // nothing to fill, nothing written
}

TEST(TrendAndResidual, ConstantCurveGetsLinearEndRamps) {
    const double c = 3;
    const Curve input = Constant(c);
    Curve T{}, R{};
    TrendAndResidual(input, 3, T, R);
    EXPECT_DOUBLE_EQ(T[1], 0);
    EXPECT_DOUBLE_EQ(T[2], 1);
    EXPECT_DOUBLE_EQ(T[3], 2);
    for (int k = 4; k <= 197; ++k)
        EXPECT_DOUBLE_EQ(T[k], c) << k;
    EXPECT_DOUBLE_EQ(T[198], 2);
    EXPECT_DOUBLE_EQ(T[199], 1);
    EXPECT_DOUBLE_EQ(T[200], 0);
    for (int k = 1; k <= 200; ++k)
        EXPECT_DOUBLE_EQ(R[k], c - T[k]) << k;
    EXPECT_EQ(T[0], 0); // element 0 is not written
}

TEST(TrendAndResidual, FirstWindowOfTwoMSamplesBiasesTheRunningMean) {
    Curve input{};
    for (int k = 1; k <= 200; ++k)
        input[k] = k;
    Curve T{}, R{};
    TrendAndResidual(input, 1, T, R);
    EXPECT_DOUBLE_EQ(T[1], 0);
    EXPECT_DOUBLE_EQ(T[2], 1.5); // mean of L[1], L[2]
    EXPECT_DOUBLE_EQ(T[3], 2.5); // 0.5 below the true mean 3
    EXPECT_DOUBLE_EQ(T[199], 198.5);
    EXPECT_DOUBLE_EQ(T[200], 0);
    EXPECT_DOUBLE_EQ(R[1], 1); // the ramps leave the ends as they are
    EXPECT_DOUBLE_EQ(R[200], 200);
}

TEST(TrendAndResidual, MatchesClosedFormForRandomCurves) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-2, 2);
    Curve input{};
    for (int k = 1; k <= 200; ++k)
        input[k] = value(random);
    for (int m : {1, 3, 10, 30, 99}) {
        Curve T{}, R{};
        TrendAndResidual(input, m, T, R);
        for (int i = 1; i <= 200; ++i) {
            const double expected = ClosedFormTrend(input, m, i);
            EXPECT_NEAR(T[i], expected, 1e-12) << "m=" << m << " i=" << i;
            EXPECT_NEAR(R[i], input[i] - expected, 1e-12) << "m=" << m << " i=" << i;
        }
    }
}

TEST(TrendAndResidual, OutputsMayShareTheInput) {
    Curve input{};
    for (int k = 1; k <= 200; ++k)
        input[k] = std::sin(k * 0.3) + 0.01 * k;
    Curve T{}, R{};
    TrendAndResidual(input, 10, T, R);

    Curve inPlaceTrend = input, scratch{};
    TrendAndResidual(inPlaceTrend, 10, inPlaceTrend, scratch);
    Curve inPlaceResidual = input;
    TrendAndResidual(inPlaceResidual, 10, scratch, inPlaceResidual);
    for (int k = 1; k <= 200; ++k) {
        EXPECT_EQ(inPlaceTrend[k], T[k]) << k;
        EXPECT_EQ(inPlaceResidual[k], R[k]) << k;
    }
}

TEST(TrendAndResidual, RejectsBadHalfWindowsAndShortSpans) {
    Curve input = Constant(1), T{}, R{};
    EXPECT_THROW(TrendAndResidual(input, 0, T, R), std::invalid_argument);
    EXPECT_THROW(TrendAndResidual(input, -3, T, R), std::invalid_argument);
    EXPECT_THROW(TrendAndResidual(input, 100, T, R), std::invalid_argument);
    std::array<double, 200> tooShort{};
    EXPECT_THROW(TrendAndResidual(tooShort, 3, T, R), std::invalid_argument);
    EXPECT_THROW(TrendAndResidual(input, 3, tooShort, R), std::invalid_argument);
}

TEST(ShortWaveBand, ConstantProfileThroughBandOne) {
    // First pass (m=3) leaves R1 = c, 2c/3, c/3, 0 ... 0, c/3, 2c/3, c. The second pass (m=1)
    // starts with the 2-sample mean 5c/6 and its running mean settles at c/6, not 0.
    const double c = 1.8;
    ProfileArray top{};
    for (int k = 1; k <= 200; ++k)
        top[k] = c;
    top[201] = 99; // sample 201 is never analysed
    const LineArray band = ShortWaveBand(top, 3, 1);
    EXPECT_EQ(band[0], 0);
    EXPECT_NEAR(band[1], c, 1e-12);
    EXPECT_NEAR(band[2], -0.3, 1e-12);
    EXPECT_NEAR(band[3], -0.3, 1e-12);
    EXPECT_NEAR(band[4], -0.5, 1e-12);
    for (int k = 5; k <= 196; ++k)
        EXPECT_NEAR(band[k], -0.3, 1e-12) << k;
    EXPECT_NEAR(band[197], -0.5, 1e-12);
    EXPECT_NEAR(band[198], -0.3, 1e-12);
    EXPECT_NEAR(band[199], -0.3, 1e-12);
    EXPECT_NEAR(band[200], c, 1e-12);
}

TEST(ShortWaveBand, ZeroProfileGivesZeroBands) {
    ProfileArray top{};
    for (auto [m1, m2] : {std::pair{3, 1}, {10, 3}, {30, 10}}) {
        const LineArray band = ShortWaveBand(top, m1, m2);
        for (double value : band)
            EXPECT_EQ(value, 0);
    }
}

TEST(CorrugationParameters, AllZeroBand) {
    const LineArray v{};
    for (const char* limit : {"0", "Error"}) {
        const Corrugation c = CorrugationParameters(v, limit, limit);
        EXPECT_EQ(c.GSD, 0);
        EXPECT_EQ(c.APP, 0);
        EXPECT_EQ(c.GA, 0);
        EXPECT_EQ(c.GG, 60);
        EXPECT_EQ(c.Loss, 0);
    }
}

TEST(CorrugationParameters, PositiveBandIsOnePairOfHalfWaves) {
    LineArray v{};
    for (int j = 10; j < 190; ++j)
        v[j] = 0.25;
    v[120] = 0.7;
    v[100] = 0; // an exact zero stays in the positive half-wave
    const Corrugation c = CorrugationParameters(v, "1", "-1");
    EXPECT_DOUBLE_EQ(c.GA, 0.35);
    EXPECT_DOUBLE_EQ(c.GG, 60);
    EXPECT_DOUBLE_EQ(c.GSD, 0.7);
}

TEST(CorrugationParameters, TriangleWaveWithExactZeros) {
    // Nine periods of 20 samples from v[10]: 0, .25, ... 1.25 ... .25, 0, -.25, ... -1.25 ...
    // The zeros at the turns join the half-wave being scanned, so 9 passes count 18.
    LineArray v{};
    const int shape[20] = {0, 1, 2, 3, 4, 5, 4, 3, 2, 1, 0, -1, -2, -3, -4, -5, -4, -3, -2, -1};
    for (int j = 10; j < 190; ++j)
        v[j] = 0.25 * shape[(j - 10) % 20];
    const Corrugation c = CorrugationParameters(v, "2", "-2");
    EXPECT_DOUBLE_EQ(c.GA, 1.25);
    EXPECT_DOUBLE_EQ(c.GG, 180.0 / 19);
    EXPECT_DOUBLE_EQ(c.APP, 2.5);
    EXPECT_DOUBLE_EQ(c.GSD, 1.25);
    EXPECT_EQ(c.Loss, 0);
}

TEST(CorrugationParameters, EmptyHalfWavesStillCount) {
    LineArray v{};
    for (int j = 10; j < 100; ++j)
        v[j] = -1;
    for (int j = 100; j < 190; ++j)
        v[j] = 2;
    // Empty positive, negative -1, positive 2, empty negative: n = 4.
    Corrugation c = CorrugationParameters(v, "5", "-5");
    EXPECT_DOUBLE_EQ(c.GA, 0.75);
    EXPECT_DOUBLE_EQ(c.GG, 36);

    LineArray spike{};
    spike[50] = -3;
    // Zeros then one negative half-wave that takes the zeros after the spike: n = 2.
    c = CorrugationParameters(spike, "5", "-5");
    EXPECT_DOUBLE_EQ(c.GA, 1.5);
    EXPECT_DOUBLE_EQ(c.GG, 60);
    EXPECT_EQ(c.GSD, 0); // never negative
}

TEST(CorrugationParameters, RangesOfTopTopAmplitudeAndGrindingIndex) {
    LineArray v{};
    v[8] = 100; // outside 9..189
    v[190] = -100;
    v[9] = 5;
    v[189] = -1;
    v[0] = 500; // the grinding index reads 1..200
    Corrugation c = CorrugationParameters(v, "1000", "-1000");
    EXPECT_DOUBLE_EQ(c.APP, 6);
    EXPECT_DOUBLE_EQ(c.GSD, 100);

    LineArray last{};
    last[200] = 7;
    last[100] = 3;
    c = CorrugationParameters(last, "1000", "-1000");
    EXPECT_DOUBLE_EQ(c.GSD, 7);
    EXPECT_DOUBLE_EQ(c.APP, 3);
}

TEST(CorrugationParameters, LossCountsStrictlyOutsideSamplesOfOneTo199) {
    LineArray v{};
    v[0] = 9;   // outside 1..199
    v[200] = 9; // outside 1..199
    v[1] = 0.6;
    v[199] = -0.6;
    v[50] = 0.5;  // on the limit: inside
    v[60] = -0.5; // on the limit: inside
    v[70] = 0.51;
    EXPECT_DOUBLE_EQ(CorrugationParameters(v, "0.5", "-0.5").Loss, 0.75);
    // Missing limits read as 0: every non-zero sample of 1..199 counts.
    EXPECT_DOUBLE_EQ(CorrugationParameters(v, "Error", "Error").Loss, 1.25);
    // Crossed limits count a sample on both sides.
    const LineArray zero{};
    EXPECT_DOUBLE_EQ(CorrugationParameters(zero, "-1", "1").Loss, 99.5);
}

TEST(CorrugationParameters, HugeButFiniteSamples) {
    LineArray v{};
    v[20] = 1e300;
    v[30] = -1e300;
    const Corrugation c = CorrugationParameters(v, "0", "0");
    EXPECT_DOUBLE_EQ(c.APP, 2e300);
    EXPECT_DOUBLE_EQ(c.GA, 1e300); // two half-waves, peaks 1e300 and -1e300

    LineArray overflow{};
    overflow[20] = 1.7e308;
    overflow[30] = -1.7e308;
    try {
        CorrugationParameters(overflow, "0", "0");
        FAIL() << "no error";
    } catch (const FloatingPointError& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
}

TEST(CorrugationParameters, NonFiniteSamplesAreErrorsNotHangs) {
    LineArray v{};
    v[50] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(CorrugationParameters(v, "0", "0"), FloatingPointError);
    v[50] = std::numeric_limits<double>::infinity();
    EXPECT_THROW(CorrugationParameters(v, "0", "0"), FloatingPointError);
    std::array<double, 200> tooShort{};
    EXPECT_THROW(CorrugationParameters(tooShort, "0", "0"), std::invalid_argument);
}
