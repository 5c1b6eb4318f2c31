#include "app/chart/AxisRule.h"
#include "app/chart/Curves.h"
#include "app/chart/GraphKinds.h"

#include <gtest/gtest.h>

namespace {

TEST(AxisRule, FollowsTheCurveUnlessTheKindFixesTheRange) {
    struct Case {
        TGraphKind kind;
        double magnitude;
        double range;
        int minorCount;
    };
    const Case cases[] = {
        {gkTopMeas, 0.0, 1, 9},     {gkTopMeas, 1.0, 1, 9},      {gkTopMeas, 1.01, 2, 4},
        {gkTopMeas, 2.0, 2, 4},     {gkTopMeas, 7.5, 2, 1},      {gkZijMeas, 0.5, 1, 9},
        {gkTopNorm, 0.1, 2, 1},     {gkZijNorm, 3.0, 2, 1},      {gkTrend, 0.1, 1, 1},
        {gkShortWaves, 5, 0.3, 1},  {gkShortWaves1, 0, 0.06, 1}, {gkShortWaves2, 0, 0.2, 1},
        {gkShortWaves3, 0, 0.4, 1},
    };
    for (const Case& c : cases) {
        const AxisScale scale = WindowAxisScale(c.kind, c.magnitude);
        EXPECT_DOUBLE_EQ(scale.range, c.range) << c.kind << " " << c.magnitude;
        EXPECT_EQ(scale.minorCount, c.minorCount) << c.kind << " " << c.magnitude;
    }
}

TEST(AxisRule, MagnitudeIsTheFloorOrTheCurvesLargestExcursion) {
    EXPECT_DOUBLE_EQ(LargestMagnitude(-1.5, 0.2, 0), 1.5);
    EXPECT_DOUBLE_EQ(LargestMagnitude(-0.1, 0.3, 2), 2);
    EXPECT_DOUBLE_EQ(LargestMagnitude(-0.2, 0.9, 0), 0.9);
    EXPECT_DOUBLE_EQ(LargestMagnitude(-3, -2.5, 0), 3);
}

TEST(AxisRule, LabelsFallOnWholeMillimetresOrAFineStep) {
    EXPECT_DOUBLE_EQ(LabelStep(2), 1);
    EXPECT_DOUBLE_EQ(LabelStep(1), 1);
    EXPECT_DOUBLE_EQ(LabelStep(0.4), 0.2);
    EXPECT_DOUBLE_EQ(LabelStep(0.3), 0.1);
    EXPECT_DOUBLE_EQ(LabelStep(0.06), 0.02);
    EXPECT_EQ(LabelFormat(1), "%.1f");
    EXPECT_EQ(LabelFormat(0.02), "%.2f");
}

TEST(GraphKinds, EveryKindScalesByOneOfItsOwnCurves) {
    for (const GraphKindSpec& kind : GraphKinds()) {
        EXPECT_EQ(std::string(kind.tabKey), "Tab" + std::to_string(kind.kind));
        const CurveSpec* curve = FindCurve(kind.scaleCurve);
        ASSERT_NE(curve, nullptr) << kind.scaleCurve;
        EXPECT_TRUE(ShownInKind(*curve, kind.kind)) << kind.scaleCurve;
        if (kind.scalesWithSecondProfile) {
            ASSERT_NE(curve->partner, nullptr) << kind.scaleCurve;
            EXPECT_TRUE(ShownInKind(*FindCurve(curve->partner), kind.kind)) << curve->partner;
        }
    }
    EXPECT_FALSE(GraphKindAt(-1));
    EXPECT_FALSE(GraphKindAt(9));
    EXPECT_EQ(GraphKindAt(8), gkShortWaves3);
}

TEST(Curves, PartnersPairAFirstAndASecondProfileCurveOfTheSameKinds) {
    int second = 0;
    for (const CurveSpec& curve : Curves()) {
        if (curve.profile == CurveProfile::Second) {
            ++second;
            EXPECT_STREQ(curve.titleKey, "") << curve.name;
        }
        if (!curve.partner)
            continue;
        const CurveSpec* partner = FindCurve(curve.partner);
        ASSERT_NE(partner, nullptr) << curve.name;
        EXPECT_STREQ(partner->partner, curve.name);
        EXPECT_NE(partner->profile, curve.profile) << curve.name;
        EXPECT_EQ(partner->kinds, curve.kinds) << curve.name;
    }
    EXPECT_EQ(Curves().size(), 37u);
    EXPECT_EQ(second, 11);
}

} // namespace
