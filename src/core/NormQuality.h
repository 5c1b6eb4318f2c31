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

// New-norm computation for speed v from topMeas[1..200] (mm). Throws FloatingPointError for a
// speed outside the table (division by zero) or a result that is not finite.
NewNormResult NewNormQuality(int v, const ProfileArray& topMeas);

// max(value of zijPosP, -(value of zijNegP)) / L(v). Throws FloatingPointError when L is 0.
double LateralQuality(int v, std::string_view zijPosP, std::string_view zijNegP);

} // namespace ostiva
