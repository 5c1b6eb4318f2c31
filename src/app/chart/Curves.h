#pragma once
// Every curve of the graph views, in drawing and legend order: its name (the series'
// objectName), its legend title key, its pen, the graph kinds that show it, which profile it
// belongs to, its partner in the other profile and how its points come from the record. The
// window's chart and the printed report draw from this one table.
#include "app/chart/GraphKinds.h"

#include <QColor>
#include <QList>
#include <QPen>
#include <QPointF>
#include <span>
#include <string_view>

namespace ostiva {
class TProjectData;
}

enum class CurveProfile {
    First,  // the shown profile
    Second, // the compared profile of a comparison window
};

struct CurveSpec {
    const char* name;
    const char* titleKey; // section ChartSeriesNames; empty for second-profile curves
    QColor colour;
    int width;
    bool dashed;
    unsigned kinds; // bit k: shown in graph kind k
    CurveProfile profile;
    // The curve of the same quantity of the other profile; nullptr when there is none.
    const char* partner;
    // Second profile: an active one of these means the chart compares two profiles.
    bool marksComparison;
    // First profile: its legend title gets " - I" in a comparison.
    bool titledFirstInComparison;
    // A limit line: the readout gives its value, but it gets no mark when the axes cut it off
    // (a whole line beyond a zoomed range would be marked at an arbitrary place).
    bool limitLine;
    QList<QPointF> (*points)(const ostiva::TProjectData& record);
};

std::span<const CurveSpec> Curves();
// nullptr for an unknown name.
const CurveSpec* FindCurve(std::string_view name);

bool ShownInKind(const CurveSpec& curve, TGraphKind kind);
QPen CurvePen(const CurveSpec& curve);

// Placeholder points of an empty project window: 200 points far above the plot.
QList<QPointF> PlaceholderPoints();
// Whether a curve holds those placeholder points rather than a profile.
bool IsPlaceholder(const QList<QPointF>& points);
// A constant limit drawn across the whole metre.
QList<QPointF> LimitLinePoints(double value);

// The horizontal extent of every chart, in mm.
inline constexpr double kChartMinX = -500;
inline constexpr double kChartMaxX = 500;
