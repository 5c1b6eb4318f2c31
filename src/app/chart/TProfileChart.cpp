#include "app/chart/TProfileChart.h"

#include "core/ProjectData.h"

#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsRectItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

using ostiva::TProjectData;
using PointSource = QList<QPointF> (*)(const TProjectData&);

constexpr double kMinX = -500;
constexpr double kMaxX = 500;
constexpr double kPlaceholderY = 1000;
// Free space between two neighbouring position labels, in pixels.
constexpr qreal kLabelGap = 12;

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

enum class Role {
    First,       // filled from the shown profile
    Second,      // filled from the compared profile
    SecondProbe, // a second-profile curve whose activity means comparison mode
};

struct CurveDef {
    const char* name;
    const char* titleKey; // empty: second-profile curve
    QColor colour;
    int width;
    bool dashed;
    unsigned kinds; // bit k: active in graph kind k
    Role role;
    PointSource source;
};

constexpr unsigned K(int kind) {
    return 1u << kind;
}

// The chart's curves in drawing and legend order.
const CurveDef kCurves[] = {
    {"serProfile", "serProfile", kBlue, 2, false, K(0), Role::First,
     [](const TProjectData& r) { return Parsed(r, r.TopMeas); }},
    {"serZijMeas", "serZijMeas", kBlue, 2, false, K(4) | K(5), Role::First,
     [](const TProjectData& r) { return Parsed(r, r.ZijMeas); }},
    {"serZijMeasAdd", "", kFuchsia, 3, false, K(4) | K(5), Role::SecondProbe,
     [](const TProjectData& r) { return Parsed(r, r.ZijMeas); }},
    {"serTrend", "serTrend", kBlue, 2, false, K(3), Role::First,
     [](const TProjectData& r) { return Parsed(r, r.Trend); }},
    {"serShortwaves", "serShortWaves", kBlue, 2, false, K(2), Role::First,
     [](const TProjectData& r) { return Parsed(r, r.ShortWaves); }},
    {"serProfileAdd", "", kFuchsia, 3, false, K(0), Role::SecondProbe,
     [](const TProjectData& r) { return Parsed(r, r.TopMeas); }},
    {"serTrendAdd", "", kFuchsia, 3, false, K(3), Role::SecondProbe,
     [](const TProjectData& r) { return Parsed(r, r.Trend); }},
    {"serShortwavesAdd", "", kFuchsia, 3, false, K(2), Role::SecondProbe,
     [](const TProjectData& r) { return Parsed(r, r.ShortWaves); }},
    {"serNewNormNormLine", "serNewNormNormLine", kRed, 2, false, K(1), Role::First,
     [](const TProjectData& r) { return NewNorm(r.SamplX, r.NewNormNormLine); }},
    {"serSamplProfile", "serSamplProfile", kBlue, 2, false, K(1), Role::First,
     [](const TProjectData& r) { return NewNorm(r.SamplX, r.SamplProfile); }},
    {"serSamplProfileAdd", "", kFuchsia, 3, false, K(1), Role::Second,
     [](const TProjectData& r) { return NewNorm(r.SamplX, r.SamplProfile); }},
    {"serNewNormProfile", "serNewNormProfile", kOrange, 2, false, K(1), Role::First,
     [](const TProjectData& r) { return NewNorm(r.NewNormX, r.NewNormProfile); }},
    {"serNewNormProfileAdd", "", kOrange, 3, false, K(1), Role::SecondProbe,
     [](const TProjectData& r) { return NewNorm(r.NewNormX, r.NewNormProfile); }},
    {"serNormTopPos", "serNormTopPos", kRed, 2, true, K(0), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormTopPos); }},
    {"serNormTopNeg", "serNormTopNeg", kRed, 2, true, K(0), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormTopNeg); }},
    {"serNormZijPos", "serNormZijPos", kRed, 2, false, K(4), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormZijPos); }},
    {"serNormZijCalcPos", "serNormZijCalcPos", kRed, 2, false, K(5), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormZijCalcPos); }},
    {"serNormZijCalcPosAdd", "", kRed, 3, false, K(5), Role::Second,
     [](const TProjectData& r) { return Line(r, r.NormZijCalcPos); }},
    {"serNormZijNeg", "serNormZijNeg", kRed, 2, false, K(4), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormZijNeg); }},
    {"serNormZijCalcNeg", "serNormZijCalcNeg", kRed, 2, false, K(5), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormZijCalcNeg); }},
    {"serNormZijCalcNegAdd", "", kRed, 3, false, K(5), Role::Second,
     [](const TProjectData& r) { return Line(r, r.NormZijCalcNeg); }},
    {"serNormShortWavesPos", "serNormShortWavesPos", kRed, 2, false, K(2), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesPos); }},
    {"serNormShortWavesNeg", "serNormShortWavesNeg", kRed, 2, false, K(2), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesNeg); }},
    {"serNormTrendPos", "serNormTrendPos", kRed, 2, false, K(3), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormTrendPos); }},
    {"serNormTrendNeg", "serNormTrendNeg", kRed, 2, false, K(3), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormTrendNeg); }},
    {"serShortwaves1", "serShortWaves1", kBlue, 2, false, K(6), Role::First,
     [](const TProjectData& r) { return Line(r, r.ShortWaves1); }},
    {"serShortwaves2", "serShortWaves2", kBlue, 2, false, K(7), Role::First,
     [](const TProjectData& r) { return Line(r, r.ShortWaves2); }},
    {"serShortwaves3", "serShortWaves3", kBlue, 2, false, K(8), Role::First,
     [](const TProjectData& r) { return Line(r, r.ShortWaves3); }},
    {"serNormShortWavesPos1", "serNormShortWavesPos", kRed, 2, false, K(6), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesPos1); }},
    {"serNormShortWavesPos2", "serNormShortWavesPos", kRed, 2, false, K(7), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesPos2); }},
    {"serNormShortWavesPos3", "serNormShortWavesPos", kRed, 2, false, K(8), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesPos3); }},
    {"serNormShortWavesNeg1", "serNormShortWavesNeg", kRed, 2, false, K(6), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesNeg1); }},
    {"serNormShortWavesNeg2", "serNormShortWavesNeg", kRed, 2, false, K(7), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesNeg2); }},
    {"serNormShortWavesNeg3", "serNormShortWavesNeg", kRed, 2, false, K(8), Role::First,
     [](const TProjectData& r) { return Line(r, r.NormShortWavesNeg3); }},
    {"serShortwavesAdd1", "", kFuchsia, 3, false, K(6), Role::SecondProbe,
     [](const TProjectData& r) { return Line(r, r.ShortWaves1); }},
    {"serShortwavesAdd2", "", kFuchsia, 3, false, K(7), Role::SecondProbe,
     [](const TProjectData& r) { return Line(r, r.ShortWaves2); }},
    {"serShortwavesAdd3", "", kFuchsia, 3, false, K(8), Role::SecondProbe,
     [](const TProjectData& r) { return Line(r, r.ShortWaves3); }},
};

// Per graph kind: the curve and floor of the first scaling, and the second-profile curve of
// the second scaling (none for kind 1).
struct KindScaling {
    const char* curve;
    double floor;
    const char* secondCurve;
};
const KindScaling kScaling[] = {
    {"serProfile", 0, "serProfileAdd"},         {"serNewNormProfile", 2, nullptr},
    {"serShortwaves", 0, "serShortwavesAdd"},   {"serTrend", 0, "serTrendAdd"},
    {"serZijMeas", 2, "serZijMeasAdd"},         {"serZijMeas", 2, "serZijMeasAdd"},
    {"serShortwaves1", 0, "serShortwavesAdd1"}, {"serShortwaves2", 0, "serShortwavesAdd2"},
    {"serShortwaves3", 0, "serShortwavesAdd3"},
};
constexpr int kKindCount = int(std::size(kScaling));

// Fixed vertical ranges of the kinds that do not follow the curve; 0 for "follow the curve".
double FixedRange(int kind) {
    switch (kind) {
    case gkShortWaves:
        return 0.3;
    case gkShortWaves1:
        return 0.06;
    case gkShortWaves2:
        return 0.2;
    case gkShortWaves3:
        return 0.4;
    case gkTrend:
        return 1.0;
    case gkTopNorm:
    case gkZijNorm:
        return 2.0;
    default:
        return 0;
    }
}

// A 1-2-5 step that splits -R..R into at least four intervals.
double MajorStep(double range) {
    if (!(range > 0))
        return 1;
    double decade = std::pow(10.0, std::floor(std::log10(range)));
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

} // namespace

struct TProfileChart::Curve {
    const CurveDef* def;
    QLineSeries* series;
};

TProfileChart::TProfileChart(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("chtDisplay"));
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
    setFrameShape(QFrame::NoFrame);

    auto* chart = new QChart;
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundPen(Qt::NoPen);
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    chart->setMargins(QMargins(4, 4, 8, 4));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setPlotAreaBackgroundVisible(true);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundPen(QPen(Qt::darkGray, 1));

    QFont labelFont = font();
    labelFont.setPointSizeF(std::max(7.0, labelFont.pointSizeF() - 1));
    const QPen gridPen(QColor(200, 200, 200), 1);

    axisX_ = new QValueAxis;
    axisX_->setRange(kMinX, kMaxX);
    axisX_->setTickCount(11);
    axisX_->setLabelFormat(QStringLiteral("%d"));
    axisX_->setLabelsFont(labelFont);
    axisX_->setLineVisible(false); // no tick marks, the plot frame is the axis line
    axisX_->setGridLinePen(gridPen);
    chart->addAxis(axisX_, Qt::AlignBottom);

    axisY_ = new QValueAxis;
    axisY_->setLabelsFont(labelFont);
    // A cut "-..." hides which side of zero a level lies; the axis takes the room it needs.
    axisY_->setTruncateLabels(false);
    axisY_->setLineVisible(false);
    axisY_->setGridLinePen(gridPen);
    axisY_->setMinorGridLineVisible(true);
    axisY_->setMinorGridLinePen(QPen(Qt::gray, 1, Qt::DotLine));
    chart->addAxis(axisY_, Qt::AlignLeft);

    // The zero line comes first so that every curve is drawn over it.
    zeroLine_ = new QLineSeries;
    zeroLine_->setObjectName(QStringLiteral("zeroLine"));
    zeroLine_->setPen(QPen(Qt::black, 1));
    chart->addSeries(zeroLine_);
    zeroLine_->attachAxis(axisX_);
    zeroLine_->attachAxis(axisY_);

    for (const CurveDef& def : kCurves) {
        auto* series = new QLineSeries;
        series->setObjectName(QString::fromLatin1(def.name));
        QPen pen(def.colour, def.width, def.dashed ? Qt::DashLine : Qt::SolidLine);
        pen.setCapStyle(Qt::FlatCap);
        series->setPen(pen);
        chart->addSeries(series);
        series->attachAxis(axisX_);
        series->attachAxis(axisY_);
        auto* curve = new Curve{&def, series};
        curves_.append(curve);
        byName_.insert(series->objectName(), curve);
    }

    QLegend* legend = chart->legend();
    legend->setAlignment(Qt::AlignLeft); // one column, markers left-aligned
    legend->setFont(labelFont);
    legend->setBackgroundVisible(false);
    legend->setMarkerShape(QLegend::MarkerShapeFromSeries);
    legend->detachFromChart();
    legend->setZValue(101);
    legendFrame_ = new QGraphicsRectItem(chart);
    legendFrame_->setBrush(QColor(255, 255, 255, 210));
    legendFrame_->setPen(QPen(QColor(160, 160, 160), 1));
    legendFrame_->setZValue(100);

    setChart(chart);
    for (Curve* curve : curves_)
        SetActive(curve->series->objectName(), false);
    for (QLegendMarker* marker : legend->markers(zeroLine_))
        marker->setVisible(false);

    SetVerticalAxis(1, 9);
    UpdateZeroLine();
    connect(axisX_, &QValueAxis::rangeChanged, this, [this] { UpdateZeroLine(); });
    connect(chart, &QChart::plotAreaChanged, this, [this] {
        FitHorizontalTicks();
        LayoutLegend();
    });
}

TProfileChart::~TProfileChart() {
    qDeleteAll(curves_);
}

TProfileChart::Curve* TProfileChart::Find(const QString& name) const {
    return byName_.value(name, nullptr);
}

QLineSeries* TProfileChart::Series(const QString& name) const {
    Curve* curve = Find(name);
    return curve ? curve->series : nullptr;
}

QStringList TProfileChart::SeriesNames() const {
    QStringList names;
    for (const Curve* curve : curves_)
        names.append(curve->series->objectName());
    return names;
}

QString TProfileChart::TitleKey(const QString& name) const {
    Curve* curve = Find(name);
    return curve ? QString::fromLatin1(curve->def->titleKey) : QString();
}

void TProfileChart::SetTitles(const std::function<QString(const QString& key)>& lookup) {
    for (Curve* curve : curves_) {
        const QString key = QString::fromLatin1(curve->def->titleKey);
        if (!key.isEmpty())
            curve->series->setName(lookup(key));
    }
    LayoutLegend();
}

void TProfileChart::AppendComparisonSuffixes() {
    static const char* const kPairs[][2] = {
        {"serProfileAdd", "serProfile"},
        {"serSamplProfileAdd", "serSamplProfile"},
        {"serNewNormProfileAdd", "serNewNormProfile"},
        {"serTrendAdd", "serTrend"},
        {"serShortwavesAdd", "serShortwaves"},
        {"serShortwavesAdd1", "serShortwaves1"},
        {"serShortwavesAdd2", "serShortwaves2"},
        {"serShortwavesAdd3", "serShortwaves3"},
        {"serZijMeasAdd", "serZijMeas"},
        {"serNormZijCalcPosAdd", "serNormZijCalcPos"},
        {"serNormZijCalcNegAdd", "serNormZijCalcNeg"},
    };
    for (const auto& pair : kPairs)
        Series(pair[0])->setName(Series(pair[1])->name() + QStringLiteral(" - II"));
    // The band curves keep their plain titles.
    for (const char* first :
         {"serProfile", "serSamplProfile", "serNewNormProfile", "serTrend", "serShortwaves",
          "serZijMeas", "serNormZijCalcPos", "serNormZijCalcNeg"})
        Series(first)->setName(Series(first)->name() + QStringLiteral(" - I"));
    LayoutLegend();
}

bool TProfileChart::IsActive(const QString& name) const {
    Curve* curve = Find(name);
    return curve && curve->series->isVisible();
}

void TProfileChart::SetActive(const QString& name, bool active) {
    Curve* curve = Find(name);
    if (!curve)
        return;
    curve->series->setVisible(active);
    if (QChart* c = chart()) {
        for (QLegendMarker* marker : c->legend()->markers(curve->series))
            marker->setVisible(active);
    }
}

bool TProfileChart::InComparisonMode() const {
    return std::any_of(curves_.begin(), curves_.end(), [](const Curve* curve) {
        return curve->def->role == Role::SecondProbe && curve->series->isVisible();
    });
}

void TProfileChart::Fill(const QString& name, QList<QPointF> points) {
    if (QLineSeries* series = Series(name))
        series->replace(points);
}

void TProfileChart::FillCurves(const TProjectData& record) {
    for (Curve* curve : curves_) {
        if (curve->def->role == Role::First)
            curve->series->replace(curve->def->source(record));
    }
}

void TProfileChart::FillSecondCurves(const TProjectData& record) {
    for (Curve* curve : curves_) {
        if (curve->def->role != Role::First)
            curve->series->replace(curve->def->source(record));
    }
}

void TProfileChart::FillPlaceholders() {
    QList<QPointF> points;
    points.reserve(200);
    for (int i = 0; i < 200; ++i)
        points.append(QPointF(kMinX + 5 * i, kPlaceholderY));
    for (const char* name : {"serProfile", "serTrend", "serShortwaves", "serShortwaves1",
                             "serShortwaves2", "serShortwaves3"})
        Fill(QString::fromLatin1(name), points);
}

void TProfileChart::SetLimitLine(const QString& name, double value) {
    if (!std::isfinite(value))
        return;
    Fill(name, {QPointF(kMinX, value), QPointF(kMaxX, value)});
}

void TProfileChart::ApplyGraphKind(int kind) {
    if (kind < 0 || kind >= kKindCount)
        return;
    const bool comparison = InComparisonMode();
    for (Curve* curve : curves_) {
        const bool ofKind = (curve->def->kinds & K(kind)) != 0;
        const bool second = curve->def->role != Role::First;
        SetActive(curve->series->objectName(), ofKind && (!second || comparison));
    }
    const KindScaling& scaling = kScaling[kind];
    const double maximum = ScaleLeftAxis(QString::fromLatin1(scaling.curve), scaling.floor, kind);
    if (comparison && scaling.secondCurve)
        ScaleLeftAxis(QString::fromLatin1(scaling.secondCurve), maximum, kind);
    ResetHorizontalRange();
    LayoutLegend();
}

double TProfileChart::ScaleLeftAxis(const QString& name, double floor, int kind) {
    double smallest = 0;
    double largest = 0;
    if (QLineSeries* series = Series(name)) {
        const QList<QPointF> points = series->points();
        if (!points.isEmpty()) {
            smallest = largest = points.front().y();
            for (const QPointF& p : points) {
                smallest = std::min(smallest, p.y());
                largest = std::max(largest, p.y());
            }
        }
    }
    double m = floor;
    if (std::abs(smallest) > m)
        m = std::abs(smallest);
    if (largest > m)
        m = largest;

    double range = 2;
    int minorCount = 1;
    if (m <= 1) {
        range = 1;
        minorCount = 9;
    } else if (m <= 2) {
        minorCount = 4;
    }
    if (const double fixed = FixedRange(kind); fixed > 0) {
        range = fixed;
        minorCount = 1;
    }
    SetVerticalAxis(range, minorCount);
    return m;
}

void TProfileChart::SetVerticalAxis(double range, int minorCount) {
    // From ±1 mm up the labels fall on whole millimetres, so the minor lines mark 0.1, 0.2 or
    // 0.5 mm; the small fixed ranges of the short-wave kinds get a finer step.
    const double step = range >= 1 ? 1.0 : MajorStep(range);
    axisY_->setRange(-range, range);
    axisY_->setTickCount(int(std::lround(2 * range / step)) + 1);
    axisY_->setMinorTickCount(minorCount);
    axisY_->setLabelFormat(LabelFormat(step));
}

double TProfileChart::VerticalRange() const {
    return axisY_->max();
}

int TProfileChart::MinorCount() const {
    return axisY_->minorTickCount();
}

void TProfileChart::ResetHorizontalRange() {
    axisX_->setRange(kMinX, kMaxX);
}

// A narrow plot labels every 250 mm, or only the ends and the middle, instead of cutting
// every position label short.
void TProfileChart::FitHorizontalTicks() {
    const QFontMetricsF metrics(axisX_->labelsFont());
    const qreal needed = metrics.horizontalAdvance(QStringLiteral("-500")) + kLabelGap;
    const qreal width = chart()->plotArea().width();
    int count = 3;
    for (int candidate : {11, 5}) {
        if (width / (candidate - 1) >= needed) {
            count = candidate;
            break;
        }
    }
    if (axisX_->tickCount() != count)
        axisX_->setTickCount(count);
}

void TProfileChart::UpdateZeroLine() {
    zeroLine_->replace({QPointF(axisX_->min(), 0), QPointF(axisX_->max(), 0)});
}

void TProfileChart::SetLegendAtBottom(bool bottom) {
    legendAtBottom_ = bottom;
    // Rows from the top or one column from the left; LayoutLegend moves them into place.
    chart()->legend()->setAlignment(bottom ? Qt::AlignTop : Qt::AlignLeft);
    LayoutLegend();
}

QStringList TProfileChart::LegendTitles() const {
    QStringList titles;
    // A marker's own visibility reads false while the legend is hidden; its series tells.
    for (QLegendMarker* marker : chart()->legend()->markers()) {
        if (marker->series() != zeroLine_ && marker->series()->isVisible())
            titles.append(marker->label());
    }
    return titles;
}

// The legend is detached from the chart's layout so that it never shrinks the plot. Its own
// layout stacks the visible markers from one edge of the rectangle it is given: it gets the
// whole plot, and is then moved sideways so that the markers it placed sit at the right (or
// centred at the bottom). Its own background would cover the whole plot, so a frame of our
// own is drawn behind the markers instead.
void TProfileChart::LayoutLegend() {
    QChart* c = chart();
    if (!c || !legendFrame_)
        return;
    QLegend* legend = c->legend();
    constexpr qreal kInset = 6;
    constexpr qreal kPad = 2;
    const QRectF area = c->plotArea().adjusted(kInset, kInset, -kInset, -kInset);
    const bool shown = !LegendTitles().isEmpty() && area.width() > 0 && area.height() > 0;
    legend->setVisible(shown);
    legendFrame_->setVisible(shown);
    if (!shown)
        return;
    legend->setGeometry(area);
    legend->layout()->setGeometry(QRectF(QPointF(0, 0), area.size()));

    QRectF used; // in the legend's coordinates
    for (QGraphicsItem* group : legend->childItems()) {
        for (QGraphicsItem* item : group->childItems()) {
            if (item->isVisible())
                used |= item->mapRectToItem(legend, item->boundingRect());
        }
    }
    if (used.isEmpty()) {
        legendFrame_->setVisible(false);
        return;
    }
    const QPointF shift = legendAtBottom_ ? QPointF(area.width() / 2 - used.center().x(),
                                                    area.height() - kPad - used.bottom())
                                          : QPointF(area.width() - kPad - used.right(), 0);
    legend->setGeometry(area.translated(shift));
    legendFrame_->setRect(
        used.translated(area.topLeft() + shift).adjusted(-kPad, -kPad, kPad, kPad));
}

void TProfileChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    LayoutLegend();
}

// Dragging with the left button pans the horizontal axis; the vertical range stays.
void TProfileChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        panning_ = true;
        lastPanX_ = event->position().x();
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void TProfileChart::mouseMoveEvent(QMouseEvent* event) {
    if (panning_) {
        const double x = event->position().x();
        chart()->scroll(lastPanX_ - x, 0);
        lastPanX_ = x;
        event->accept();
        return;
    }
    QChartView::mouseMoveEvent(event);
}

void TProfileChart::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && event->button() == Qt::LeftButton) {
        panning_ = false;
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void TProfileChart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        ResetHorizontalRange();
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}
