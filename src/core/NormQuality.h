#pragma once
// Speed-dependent norms: the new-norm assessment of the vertical profile and the lateral
// quality index.
#include "core/fortlib.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ostiva {

struct SpeedLimit {
    int speed;         // km/h
    double A;          // inclination limit [mrad]
    const char* AText; // A as listed ("3.2")
    double L;          // lateral versine limit [mm]
};

// The eleven line speeds 40 ... 300 km/h in ascending order.
extern const std::array<SpeedLimit, 11> kSpeedTable;

// A of speed v, or 0 when v is not one of the eleven table speeds.
double InclinationLimit(int v);
// L of speed v by range: 1.0 up to 40, 0.7 up to 80, 0.5 up to 300, 0 above.
double LateralLimit(int v);
bool IsTableSpeed(int v);

// FloatingPointError, the fault of a computation, is declared in fortlib.h.

struct NewNormResult {
    double QualityIndex = 0;
    NewNormArray SamplX{}, SamplProfile{}, NewNormX{}, NewNormProfile{};
};

// The part of the new-norm computation that does not depend on the speed: the 25 mm mean
// profile and the weighted segment inclinations D[0..40] (D[40] is 0), and the steepest of them.
struct NewNormInclinations {
    NewNormArray SamplProfile{}; // mm
    NewNormArray D{};            // m/m
    double steepest = 0;         // the D of greatest magnitude, the first of equals
};

// Throws FloatingPointError when a sample or a result is not finite.
NewNormInclinations NewNormSlopes(const ProfileArray& topMeas);

// The quality index at speed v: |steepest| / A(v) * 1000. Throws FloatingPointError for a speed
// outside the table (division by zero) or a result that is not finite.
double NewNormIndex(int v, const NewNormInclinations& slopes);

// New-norm computation for speed v from topMeas[1..200] (mm). Throws FloatingPointError for a
// speed outside the table (division by zero) or a result that is not finite.
NewNormResult NewNormQuality(int v, const ProfileArray& topMeas);
// The same from the speed-independent part.
NewNormResult NewNormQuality(int v, const NewNormInclinations& slopes);

// max(value of zijPosP, -(value of zijNegP)): the lateral excursion the index is made of.
double LateralExcursion(std::string_view zijPosP, std::string_view zijNegP);

// excursion / L(v). Throws FloatingPointError when L is 0.
double LateralQuality(int v, double excursion);

// max(value of zijPosP, -(value of zijNegP)) / L(v). Throws FloatingPointError when L is 0.
double LateralQuality(int v, std::string_view zijPosP, std::string_view zijNegP);

} // namespace ostiva
