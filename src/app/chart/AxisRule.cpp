#include "app/chart/AxisRule.h"

#include <cmath>

double LargestMagnitude(double smallest, double largest, double floor) {
    double m = floor;
    if (std::abs(smallest) > m)
        m = std::abs(smallest);
    if (largest > m)
        m = largest;
    return m;
}

AxisScale WindowAxisScale(TGraphKind kind, double largestMagnitude) {
    if (const double fixed = GraphKindOf(kind).fixedRange; fixed > 0)
        return {fixed, 1};
    if (largestMagnitude <= 1)
        return {1, 9};
    if (largestMagnitude <= 2)
        return {2, 4};
    return {2, 1};
}

AxisScale ReportAxisScale(TGraphKind kind, double largestMagnitude) {
    switch (kind) {
    case gkTopMeas:
        break;
    case gkTopNorm:
    case gkTrend:
    case gkZijMeas:
    case gkZijNorm:
        return {2, 1};
    case gkShortWaves:
        return {0.3, 1};
    case gkShortWaves1:
        return {0.06, 1};
    case gkShortWaves2:
        return {0.2, 1};
    case gkShortWaves3:
        return {0.4, 1};
    }
    if (largestMagnitude <= 1)
        return {1, 9};
    if (largestMagnitude <= 2)
        return {2, 4};
    return {2, 1};
}

double LabelStep(double range) {
    if (range >= 1)
        return 1;
    if (!(range > 0))
        return 1;
    const double decade = std::pow(10.0, std::floor(std::log10(range)));
    for (double unit = decade;; unit /= 10) {
        for (double factor : {5.0, 2.0, 1.0}) {
            if (2 * range / (factor * unit) >= 4 - 1e-9)
                return factor * unit;
        }
    }
}

QString LabelFormat(double step) {
    int decimals = 1;
    while (decimals < 6 && std::abs(step * std::pow(10.0, decimals) -
                                    std::round(step * std::pow(10.0, decimals))) > 1e-9)
        ++decimals;
    return QStringLiteral("%.%1f").arg(decimals);
}
