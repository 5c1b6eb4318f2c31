#include "core/NormQuality.h"

#include "core/NumberText.h"

#include <algorithm>
#include <cmath>

namespace ostiva {

const std::array<SpeedLimit, 11> kSpeedTable = {{
    {40, 3.2, "3.2", 1.0},
    {60, 2.8, "2.8", 0.7},
    {80, 2.4, "2.4", 0.7},
    {100, 2.2, "2.2", 0.5},
    {120, 2.0, "2.0", 0.5},
    {140, 1.8, "1.8", 0.5},
    {160, 1.6, "1.6", 0.5},
    {180, 1.4, "1.4", 0.5},
    {200, 1.3, "1.3", 0.5},
    {250, 1.1, "1.1", 0.5},
    {300, 1.0, "1.0", 0.5},
}};

namespace {

constexpr const char* kDivisionByZero = "Floating point division by zero";
constexpr const char* kInvalidOperation = "Invalid floating point operation";

const SpeedLimit* FindSpeed(int v) {
    const auto it = std::find_if(kSpeedTable.begin(), kSpeedTable.end(),
                                 [v](const SpeedLimit& row) { return row.speed == v; });
    return it == kSpeedTable.end() ? nullptr : &*it;
}

// numerator / divisor, reporting a zero divisor as the trapping unit would.
double Divide(double numerator, double divisor) {
    if (divisor == 0)
        throw FloatingPointError(numerator == 0 ? kInvalidOperation : kDivisionByZero);
    const double quotient = numerator / divisor;
    RequireFinite(quotient);
    return quotient;
}

} // namespace

double InclinationLimit(int v) {
    const SpeedLimit* row = FindSpeed(v);
    return row ? row->A : 0.0;
}

double LateralLimit(int v) {
    if (v <= 40)
        return 1.0;
    if (v <= 80)
        return 0.7;
    if (v <= 300)
        return 0.5;
    return 0.0;
}

bool IsTableSpeed(int v) {
    return FindSpeed(v) != nullptr;
}

NewNormInclinations NewNormSlopes(const ProfileArray& topMeas) {
    constexpr int kLast = kNewNormCount - 1; // 40
    constexpr double kSegmentLength = 0.025; // m

    // Whole micrometres, halves to even; sums of them stay exact.
    std::array<double, kSampleCount> micrometres{};
    for (int j = 1; j <= 200; ++j) {
        RequireFinite(topMeas[j]);
        micrometres[j] = std::nearbyint(topMeas[j] * 1000);
        RequireFinite(micrometres[j]);
    }

    // Five-point means centred on samples 6, 11, ..., 196; the ends of the metre count as 0.
    NewNormInclinations result;
    NewNormArray S{}; // m
    for (int k = 1; k < kLast; ++k) {
        double sum = 0;
        for (int j = 5 * k - 1; j <= 5 * k + 3; ++j)
            sum += micrometres[j];
        const double meanMicrometres = sum / 5;
        RequireFinite(meanMicrometres);
        S[k] = meanMicrometres / 1e6;
        result.SamplProfile[k] = meanMicrometres / 1000;
    }

    NewNormArray& D = result.D;
    for (int k = 1; k <= kLast; ++k) {
        D[k] = (S[k] - S[k - 1]) / kSegmentLength;
        RequireFinite(D[k]);
    }
    D[1] *= 0.3;
    D[2] *= 0.7;
    D[kLast - 2] *= 0.7;
    D[kLast - 1] *= 0.3;
    D[kLast] = 0; // ends at the forced zero S[40]

    result.steepest = D[0];
    for (int k = 1; k <= kLast; ++k)
        if (std::fabs(D[k]) > std::fabs(result.steepest))
            result.steepest = D[k];
    return result;
}

double NewNormIndex(int v, const NewNormInclinations& slopes) {
    const double index = Divide(std::fabs(slopes.steepest), InclinationLimit(v)) * 1000;
    RequireFinite(index);
    return index;
}

NewNormResult NewNormQuality(int v, const ProfileArray& topMeas) {
    return NewNormQuality(v, NewNormSlopes(topMeas));
}

NewNormResult NewNormQuality(int v, const NewNormInclinations& slopes) {
    const double A = InclinationLimit(v);
    NewNormResult result;
    result.QualityIndex = NewNormIndex(v, slopes);
    result.SamplProfile = slopes.SamplProfile;
    for (int k = 0; k < kNewNormCount; ++k) {
        result.SamplX[k] = -500 + 25.0 * k;
        result.NewNormX[k] = k == 0 ? -500 : -500 + 25.0 * k - 12.5;
        result.NewNormProfile[k] = Divide(std::fabs(slopes.D[k]), A) * 1000;
        RequireFinite(result.NewNormProfile[k]);
    }
    return result;
}

double LateralExcursion(std::string_view zijPosP, std::string_view zijNegP) {
    return std::max(ParseDecimal(zijPosP), -ParseDecimal(zijNegP));
}

double LateralQuality(int v, double excursion) {
    return Divide(excursion, LateralLimit(v));
}

double LateralQuality(int v, std::string_view zijPosP, std::string_view zijNegP) {
    return LateralQuality(v, LateralExcursion(zijPosP, zijNegP));
}

} // namespace ostiva
