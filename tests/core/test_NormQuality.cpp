#include "core/NormQuality.h"

#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace ostiva;

namespace {

ProfileArray Flat(double c) {
    ProfileArray top{};
    for (int k = 1; k <= 200; ++k)
        top[k] = c;
    return top;
}

// Samples 5k-1 .. 5k+3 make up the 25 mm point k.
void SetPoint(ProfileArray& top, int k, double mm) {
    for (int j = 5 * k - 1; j <= 5 * k + 3; ++j)
        top[j] = mm;
}

std::string ErrorOf(int v, const ProfileArray& top) {
    try {
        NewNormQuality(v, top);
    } catch (const FloatingPointError& e) {
        return e.what();
    }
    return "no error";
}

std::string LateralErrorOf(int v, const char* pos, const char* neg) {
    try {
        LateralQuality(v, pos, neg);
    } catch (const FloatingPointError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(SpeedTable, ElevenSpeedsWithTheirLimits) {
    const int speeds[] = {40, 60, 80, 100, 120, 140, 160, 180, 200, 250, 300};
    const double limits[] = {3.2, 2.8, 2.4, 2.2, 2.0, 1.8, 1.6, 1.4, 1.3, 1.1, 1.0};
    const double lateral[] = {1.0, 0.7, 0.7, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(kSpeedTable[i].speed, speeds[i]);
        EXPECT_EQ(kSpeedTable[i].A, limits[i]);
        EXPECT_EQ(ParseDecimal(kSpeedTable[i].AText), limits[i]);
        EXPECT_EQ(kSpeedTable[i].L, lateral[i]);
        EXPECT_EQ(LateralLimit(speeds[i]), lateral[i]);
        EXPECT_EQ(InclinationLimit(speeds[i]), limits[i]);
        EXPECT_TRUE(IsTableSpeed(speeds[i]));
    }
    EXPECT_EQ(FormatFixed(InclinationLimit(80), 2), "2.40");
    EXPECT_EQ(FormatFixed(InclinationLimit(300), 2), "1.00");
}

TEST(SpeedTable, OtherSpeeds) {
    for (int v : {0, -40, 90, 301, 1000}) {
        EXPECT_EQ(InclinationLimit(v), 0) << v;
        EXPECT_FALSE(IsTableSpeed(v)) << v;
    }
    EXPECT_EQ(LateralLimit(-5), 1.0);
    EXPECT_EQ(LateralLimit(0), 1.0);
    EXPECT_EQ(LateralLimit(41), 0.7);
    EXPECT_EQ(LateralLimit(81), 0.5);
    EXPECT_EQ(LateralLimit(90), 0.5);
    EXPECT_EQ(LateralLimit(301), 0.0);
}

TEST(NewNormQuality, FlatProfileOnlyFirstSegmentCounts) {
    // S[1..39] = 0.1 mm, S[0] = 0: D[1] = 0.3 * 0.0001 / 0.025 = 0.0012 -> 1.2 mrad / 2.0.
    const NewNormResult r = NewNormQuality(120, Flat(0.1));
    EXPECT_NEAR(r.QualityIndex, 0.6, 1e-12);
    EXPECT_EQ(Format5_2(r.QualityIndex), " 0.60");
    EXPECT_EQ(r.SamplProfile[0], 0);
    EXPECT_EQ(r.SamplProfile[40], 0);
    for (int k = 1; k <= 39; ++k)
        EXPECT_NEAR(r.SamplProfile[k], 0.1, 1e-15) << k;
    EXPECT_NEAR(r.NewNormProfile[1], 0.6, 1e-12);
    for (int k = 2; k <= 40; ++k)
        EXPECT_EQ(r.NewNormProfile[k], 0) << k;
    EXPECT_EQ(r.NewNormProfile[0], 0);
}

TEST(NewNormQuality, GridPositions) {
    const NewNormResult r = NewNormQuality(80, Flat(0));
    EXPECT_EQ(r.SamplX[0], -500);
    EXPECT_EQ(r.SamplX[1], -475);
    EXPECT_EQ(r.SamplX[40], 500);
    EXPECT_EQ(r.NewNormX[0], -500);
    EXPECT_EQ(r.NewNormX[1], -487.5);
    EXPECT_EQ(r.NewNormX[40], 487.5);
}

TEST(NewNormQuality, ZeroProfile) {
    const NewNormResult r = NewNormQuality(80, Flat(0));
    EXPECT_EQ(r.QualityIndex, 0);
    EXPECT_EQ(Format5_2(r.QualityIndex), " 0.00");
}

TEST(NewNormQuality, SingleBumpTiesKeepTheEarlierSegment) {
    // 0.5 mm at sample 101 alone: point 20 averages 0.1 mm, rising into segment 20 and falling
    // out of segment 21 with the same magnitude 0.004 -> 4 mrad / 1.6 = 2.5.
    ProfileArray top{};
    top[101] = 0.5;
    const NewNormResult r = NewNormQuality(160, top);
    EXPECT_NEAR(r.QualityIndex, 2.5, 1e-12);
    EXPECT_NEAR(r.SamplProfile[20], 0.1, 1e-15);
    EXPECT_NEAR(r.NewNormProfile[20], 2.5, 1e-12);
    EXPECT_NEAR(r.NewNormProfile[21], 2.5, 1e-12);
    EXPECT_EQ(r.NewNormProfile[19], 0);
    EXPECT_EQ(r.NewNormProfile[22], 0);
}

TEST(NewNormQuality, QuantisesToWholeMicrometresHalvesToEven) {
    // 2.5 um becomes 2 um (half away from zero would give 3): D = 8e-5 -> 0.08 at A = 1.0.
    ProfileArray top{};
    SetPoint(top, 20, 0.0025);
    EXPECT_NEAR(NewNormQuality(300, top).QualityIndex, 0.08, 1e-12);
    SetPoint(top, 20, 0.0035); // 3.5 um becomes 4 um
    EXPECT_NEAR(NewNormQuality(300, top).QualityIndex, 0.16, 1e-12);
    SetPoint(top, 20, 0.0004); // below half a micrometre: nothing
    EXPECT_EQ(NewNormQuality(300, top).QualityIndex, 0);
}

TEST(NewNormQuality, EndSegmentsAreWeighted) {
    // 1 mm at point 1: D[1] = 0.04 * 0.3, D[2] = -0.04 * 0.7 -> 28 mrad / 2.2.
    ProfileArray top{};
    SetPoint(top, 1, 1.0);
    NewNormResult r = NewNormQuality(100, top);
    EXPECT_NEAR(r.QualityIndex, 28 / 2.2, 1e-9);
    EXPECT_NEAR(r.NewNormProfile[1], 12 / 2.2, 1e-9);
    EXPECT_NEAR(r.NewNormProfile[2], 28 / 2.2, 1e-9);

    // 1 mm at point 39: D[39] = 0.04 * 0.3 and the fall into S[40] is dropped.
    top = ProfileArray{};
    SetPoint(top, 39, 1.0);
    r = NewNormQuality(300, top);
    EXPECT_NEAR(r.QualityIndex, 12, 1e-9);
    EXPECT_EQ(r.NewNormProfile[40], 0);

    // 1 mm at point 37: D[37] full weight, D[38] at 0.7.
    top = ProfileArray{};
    SetPoint(top, 37, 1.0);
    r = NewNormQuality(120, top);
    EXPECT_NEAR(r.QualityIndex, 20, 1e-9);
    EXPECT_NEAR(r.NewNormProfile[38], 14, 1e-9);
}

TEST(NewNormQuality, SamplesOutsideThePointsAreIgnored) {
    ProfileArray top{};
    top[1] = top[2] = top[3] = 50; // before point 1
    top[199] = top[200] = 50;      // after point 39
    top[201] = 50;
    EXPECT_EQ(NewNormQuality(120, top).QualityIndex, 0);
}

TEST(NewNormQuality, SpeedOutsideTheTableIsADivisionError) {
    EXPECT_EQ(ErrorOf(90, Flat(0.1)), "Floating point division by zero");
    EXPECT_EQ(ErrorOf(0, Flat(0.1)), "Floating point division by zero");
    EXPECT_EQ(ErrorOf(90, Flat(0)), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf(400, Flat(0)), "Invalid floating point operation");
}

TEST(NewNormQuality, AbsurdSamplesAreErrorsNotInfinities) {
    ProfileArray top{};
    top[100] = 1e306; // 1e309 um
    EXPECT_EQ(ErrorOf(120, top), "Floating point overflow");
    top[100] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ErrorOf(120, top), "Invalid floating point operation");
    top[100] = 1e300; // huge but finite all the way
    EXPECT_TRUE(std::isfinite(NewNormQuality(120, top).QualityIndex));
}

TEST(LateralQuality, LargerOfTheTwoVersinesOverL) {
    EXPECT_NEAR(LateralQuality(160, "0.35", "-0.6"), 1.2, 1e-12);
    EXPECT_EQ(Format5_2(LateralQuality(160, "0.35", "-0.6")), " 1.20");
    EXPECT_NEAR(LateralQuality(40, "0.35", "-0.2"), 0.35, 1e-12);
    EXPECT_EQ(LateralQuality(80, "not found", "not found"), 0);
    EXPECT_NEAR(LateralQuality(80, "-0.2", "0.14"), -0.2, 1e-12); // both on the wrong side
}

TEST(LateralQuality, ZeroLimitAndOverflow) {
    EXPECT_EQ(LateralErrorOf(400, "0.3", "0"), "Floating point division by zero");
    EXPECT_EQ(LateralErrorOf(400, "0", "0"), "Invalid floating point operation");
    EXPECT_EQ(LateralErrorOf(100, "1.7e308", "0"), "Floating point overflow");
}
