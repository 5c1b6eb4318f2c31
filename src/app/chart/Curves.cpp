#include "app/chart/Curves.h"

#include "core/ProjectData.h"

#include <cmath>

namespace {

using ostiva::TProjectData;

constexpr double kPlaceholderY = 1000;

const QColor kBlue = Qt::blue;
const QColor kRed = Qt::red;
const QColor kFuchsia{255, 0, 255};
const QColor kOrange{255, 128, 0};

// Points whose value is not finite are left out: a broken file must not throw the painter off.
void AddPoint(QList<QPointF>& points, double x, double y) {
    if (std::isfinite(x) && std::isfinite(y))
        points.append(QPointF(x, y));
}

// Parsed sample lists: sample j+1 lies at PosX[j].
QList<QPointF> Parsed(const TProjectData& r, const ostiva::ProfileArray& values) {
    QList<QPointF> points;
    points.reserve(ostiva::kSampleCount);
    for (int j = 0; j < ostiva::kSampleCount; ++j)
        AddPoint(points, r.PosX[j], values[j + 1]);
    return points;
}

// Computed bands and constant limits: element j lies at PosX[j].
QList<QPointF> Line(const TProjectData& r, const ostiva::LineArray& values) {
    QList<QPointF> points;
    points.reserve(ostiva::kSampleCount);
    for (int j = 0; j < ostiva::kSampleCount; ++j)
        AddPoint(points, r.PosX[j], values[j]);
    return points;
}

QList<QPointF> NewNorm(const ostiva::NewNormArray& x, const ostiva::NewNormArray& y) {
    QList<QPointF> points;
    points.reserve(ostiva::kNewNormCount);
    for (int k = 0; k < ostiva::kNewNormCount; ++k)
        AddPoint(points, x[k], y[k]);
    return points;
}

constexpr unsigned K(TGraphKind kind) {
    return 1u << kind;
}

constexpr auto kFirst = CurveProfile::First;
constexpr auto kSecond = CurveProfile::Second;
constexpr bool kLimit = true;
constexpr bool kData = false;

// clang-format off
const CurveSpec kCurves[] = {
    // name, title key, colour, width, dashed, kinds, profile, partner, marks comparison,
    // titled " - I", limit line, points
    {"serProfile", "serProfile", kBlue, 2, false, K(gkTopMeas), kFirst, "serProfileAdd", false, true, kData,
     [](const TProjectData& r) { return Parsed(r, r.TopMeas); }},
    {"serZijMeas", "serZijMeas", kBlue, 2, false, K(gkZijMeas) | K(gkZijNorm), kFirst, "serZijMeasAdd", false, true, kData,
     [](const TProjectData& r) { return Parsed(r, r.ZijMeas); }},
    {"serZijMeasAdd", "", kFuchsia, 3, false, K(gkZijMeas) | K(gkZijNorm), kSecond, "serZijMeas", true, false, kData,
     [](const TProjectData& r) { return Parsed(r, r.ZijMeas); }},
    {"serTrend", "serTrend", kBlue, 2, false, K(gkTrend), kFirst, "serTrendAdd", false, true, kData,
     [](const TProjectData& r) { return Parsed(r, r.Trend); }},
    {"serShortwaves", "serShortWaves", kBlue, 2, false, K(gkShortWaves), kFirst, "serShortwavesAdd", false, true, kData,
     [](const TProjectData& r) { return Parsed(r, r.ShortWaves); }},
    {"serProfileAdd", "", kFuchsia, 3, false, K(gkTopMeas), kSecond, "serProfile", true, false, kData,
     [](const TProjectData& r) { return Parsed(r, r.TopMeas); }},
    {"serTrendAdd", "", kFuchsia, 3, false, K(gkTrend), kSecond, "serTrend", true, false, kData,
     [](const TProjectData& r) { return Parsed(r, r.Trend); }},
    {"serShortwavesAdd", "", kFuchsia, 3, false, K(gkShortWaves), kSecond, "serShortwaves", true, false, kData,
     [](const TProjectData& r) { return Parsed(r, r.ShortWaves); }},
    {"serNewNormNormLine", "serNewNormNormLine", kRed, 2, false, K(gkTopNorm), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return NewNorm(r.SamplX, r.NewNormNormLine); }},
    {"serSamplProfile", "serSamplProfile", kBlue, 2, false, K(gkTopNorm), kFirst, "serSamplProfileAdd", false, true, kData,
     [](const TProjectData& r) { return NewNorm(r.SamplX, r.SamplProfile); }},
    {"serSamplProfileAdd", "", kFuchsia, 3, false, K(gkTopNorm), kSecond, "serSamplProfile", false, false, kData,
     [](const TProjectData& r) { return NewNorm(r.SamplX, r.SamplProfile); }},
    {"serNewNormProfile", "serNewNormProfile", kOrange, 2, false, K(gkTopNorm), kFirst, "serNewNormProfileAdd", false, true, kData,
     [](const TProjectData& r) { return NewNorm(r.NewNormX, r.NewNormProfile); }},
    {"serNewNormProfileAdd", "", kOrange, 3, false, K(gkTopNorm), kSecond, "serNewNormProfile", true, false, kData,
     [](const TProjectData& r) { return NewNorm(r.NewNormX, r.NewNormProfile); }},
    {"serNormTopPos", "serNormTopPos", kRed, 2, true, K(gkTopMeas), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormTopPos); }},
    {"serNormTopNeg", "serNormTopNeg", kRed, 2, true, K(gkTopMeas), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormTopNeg); }},
    {"serNormZijPos", "serNormZijPos", kRed, 2, false, K(gkZijMeas), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormZijPos); }},
    {"serNormZijCalcPos", "serNormZijCalcPos", kRed, 2, false, K(gkZijNorm), kFirst, "serNormZijCalcPosAdd", false, true, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormZijCalcPos); }},
    {"serNormZijCalcPosAdd", "", kRed, 3, false, K(gkZijNorm), kSecond, "serNormZijCalcPos", false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormZijCalcPos); }},
    {"serNormZijNeg", "serNormZijNeg", kRed, 2, false, K(gkZijMeas), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormZijNeg); }},
    {"serNormZijCalcNeg", "serNormZijCalcNeg", kRed, 2, false, K(gkZijNorm), kFirst, "serNormZijCalcNegAdd", false, true, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormZijCalcNeg); }},
    {"serNormZijCalcNegAdd", "", kRed, 3, false, K(gkZijNorm), kSecond, "serNormZijCalcNeg", false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormZijCalcNeg); }},
    {"serNormShortWavesPos", "serNormShortWavesPos", kRed, 2, false, K(gkShortWaves), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesPos); }},
    {"serNormShortWavesNeg", "serNormShortWavesNeg", kRed, 2, false, K(gkShortWaves), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesNeg); }},
    {"serNormTrendPos", "serNormTrendPos", kRed, 2, false, K(gkTrend), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormTrendPos); }},
    {"serNormTrendNeg", "serNormTrendNeg", kRed, 2, false, K(gkTrend), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormTrendNeg); }},
    // The band curves keep their plain titles in a comparison.
    {"serShortwaves1", "serShortWaves1", kBlue, 2, false, K(gkShortWaves1), kFirst, "serShortwavesAdd1", false, false, kData,
     [](const TProjectData& r) { return Line(r, r.ShortWaves1); }},
    {"serShortwaves2", "serShortWaves2", kBlue, 2, false, K(gkShortWaves2), kFirst, "serShortwavesAdd2", false, false, kData,
     [](const TProjectData& r) { return Line(r, r.ShortWaves2); }},
    {"serShortwaves3", "serShortWaves3", kBlue, 2, false, K(gkShortWaves3), kFirst, "serShortwavesAdd3", false, false, kData,
     [](const TProjectData& r) { return Line(r, r.ShortWaves3); }},
    {"serNormShortWavesPos1", "serNormShortWavesPos", kRed, 2, false, K(gkShortWaves1), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesPos1); }},
    {"serNormShortWavesPos2", "serNormShortWavesPos", kRed, 2, false, K(gkShortWaves2), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesPos2); }},
    {"serNormShortWavesPos3", "serNormShortWavesPos", kRed, 2, false, K(gkShortWaves3), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesPos3); }},
    {"serNormShortWavesNeg1", "serNormShortWavesNeg", kRed, 2, false, K(gkShortWaves1), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesNeg1); }},
    {"serNormShortWavesNeg2", "serNormShortWavesNeg", kRed, 2, false, K(gkShortWaves2), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesNeg2); }},
    {"serNormShortWavesNeg3", "serNormShortWavesNeg", kRed, 2, false, K(gkShortWaves3), kFirst, nullptr, false, false, kLimit,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesNeg3); }},
    {"serShortwavesAdd1", "", kFuchsia, 3, false, K(gkShortWaves1), kSecond, "serShortwaves1", true, false, kData,
     [](const TProjectData& r) { return Line(r, r.ShortWaves1); }},
    {"serShortwavesAdd2", "", kFuchsia, 3, false, K(gkShortWaves2), kSecond, "serShortwaves2", true, false, kData,
     [](const TProjectData& r) { return Line(r, r.ShortWaves2); }},
    {"serShortwavesAdd3", "", kFuchsia, 3, false, K(gkShortWaves3), kSecond, "serShortwaves3", true, false, kData,
     [](const TProjectData& r) { return Line(r, r.ShortWaves3); }},
};
// clang-format on

} // namespace

std::span<const CurveSpec> Curves() {
    return kCurves;
}

const CurveSpec* FindCurve(std::string_view name) {
    for (const CurveSpec& curve : kCurves)
        if (name == curve.name)
            return &curve;
    return nullptr;
}

bool ShownInKind(const CurveSpec& curve, TGraphKind kind) {
    return (curve.kinds & K(kind)) != 0;
}

QPen CurvePen(const CurveSpec& curve) {
    QPen pen(curve.colour, curve.width, curve.dashed ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QList<QPointF> PlaceholderPoints() {
    QList<QPointF> points;
    points.reserve(200);
    for (int i = 0; i < 200; ++i)
        points.append(QPointF(kChartMinX + 5 * i, kPlaceholderY));
    return points;
}

bool IsPlaceholder(const QList<QPointF>& points) {
    return !points.isEmpty() && points.front().y() == kPlaceholderY;
}

QList<QPointF> LimitLinePoints(double value) {
    if (!std::isfinite(value))
        return {};
    return {QPointF(kChartMinX, value), QPointF(kChartMaxX, value)};
}
