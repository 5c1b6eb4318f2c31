#pragma once
// The vertical axis of the project window's chart as a pure function of the graph kind and
// the largest magnitude of the deciding curve, and the tick layout of an axis -R..R. The
// printed report has a rule of its own.
#include "app/chart/GraphKinds.h"

#include <QString>

struct AxisScale {
    double range;   // the axis runs from -range to +range
    int minorCount; // minor grid lines between two labels
};

// The magnitude that decides the axis: the floor, or the curve's smallest value taken
// positive, or its largest value, whichever is larger.
double LargestMagnitude(double smallest, double largest, double floor);

// ±1 with 9 minor divisions up to 1 mm, ±2 with 4 up to 2 mm, ±2 with 1 beyond; a kind with a
// fixed range always takes it, with 1 minor division.
AxisScale WindowAxisScale(TGraphKind kind, double largestMagnitude);

// The printed report's rule: Top_Meas follows the curve as the window does; every other kind
// has a fixed range with 1 minor division: ±2 for Top_Norm, Trend and both lateral kinds, the
// short-wave kinds their band's range.
AxisScale ReportAxisScale(TGraphKind kind, double largestMagnitude);

// The step between labels: whole millimetres from ±1 mm up, otherwise a 1-2-5 step that splits
// -R..R into at least four intervals.
double LabelStep(double range);
// The printf-style label format showing the decimals of `step`: "%.1f", "%.2f", ...
QString LabelFormat(double step);
