#pragma once
// Numeric routines: sample lists, moving-average trends and the corrugation parameters
// of a short-wave band. Pure functions, no state, no file access.
#include <array>
#include <cmath>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ostiva {

constexpr int kSampleCount = 201; // samples of one metre, 5 mm apart
constexpr int kNewNormCount = 41; // points of the 25 mm new-norm grid

// Parsed sample lists: index 1..201 hold the samples, index 0 stays 0.
using ProfileArray = std::array<double, kSampleCount + 1>;
// Computed curves and constant norm lines: index 0..200.
using LineArray = std::array<double, kSampleCount>;
// New-norm arrays: index 0..40.
using NewNormArray = std::array<double, kNewNormCount>;

// A floating-point fault of the computation, carrying the message the user sees
// ("Floating point division by zero", "Invalid floating point operation", ...).
class FloatingPointError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Our arithmetic does not trap, so a value that left the finite range is reported the way a
// trapping unit would have: "Invalid floating point operation" for NaN, "Floating point
// overflow" for an infinity. The test stays inline for loops over samples, the throw out of it.
[[noreturn]] void ThrowNotFinite(double value);
inline void RequireFinite(double value) {
    if (!std::isfinite(value)) [[unlikely]]
        ThrowNotFinite(value);
}

// Splits `text` at any of `separators`; runs of separators give no empty tokens.
std::vector<std::string> SplitTokens(std::string_view text, std::string_view separators);

// Fills array[1..201] (at most) from a list of position/value pairs separated by blanks, tabs
// and line feeds. Positions are skipped; values after the 201st are dropped; elements the list
// does not reach are not touched. A shorter `array` takes only the values it has room for.
// Returns the number of values stored.
int ParseValueList(std::string_view text, std::span<double> array);

// The same for a list as it stands between the tags of a file, before its line ends are
// normalised: a CR separates as a line feed does. Only for text without references.
int ParseValueListMarkup(std::string_view markup, std::span<double> array);

// Moving-average trend with half-window m of the 200-sample curve input[1..200], with linear
// ramps to 0 at both ends, and the residual input - trend. The first full window holds 2m
// samples. All spans need index 1..200; input is read completely before anything is written,
// so trend or residual may share storage with input.
void TrendAndResidual(std::span<const double> input, int m, std::span<double> trend,
                      std::span<double> residual);

// One short-wave band of topMeas[1..200]: the residual of the residual of two moving averages
// with half-windows m1 and m2. Element 0 is 0.
LineArray ShortWaveBand(const ProfileArray& topMeas, int m1, int m2);

struct Corrugation {
    double GA = 0;   // average amplitude [mm]
    double GG = 0;   // average wavelength [cm]
    double GSD = 0;  // grinding index [mm]
    double APP = 0;  // maximum top-top amplitude [mm]
    double Loss = 0; // loss [%]
};

// The five corrugation parameters of band v[0..200] against the limit texts (read as decimal
// numbers; "Error" reads as 0). v needs index 0..200 (std::invalid_argument otherwise). Throws
// FloatingPointError when a sample is not finite or a result overflows.
Corrugation CorrugationParameters(std::span<const double> v, std::string_view upperLimit,
                                  std::string_view lowerLimit);

} // namespace ostiva
