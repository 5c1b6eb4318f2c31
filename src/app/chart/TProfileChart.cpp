#include "app/chart/TProfileChart.h"

#include "app/chart/AxisRule.h"
#include "app/chart/Curves.h"
#include "core/ProjectData.h"

#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsRectItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

using ostiva::TProjectData;

// Free space between two neighbouring position labels, in pixels.
constexpr qreal kLabelGap = 12;

} // namespace

TProfileChart::TProfileChart(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("chtDisplay"));
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
    setFrameShape(QFrame::NoFrame);
    // The off-range marks are drawn over the whole plot; a partial repaint would leave old ones.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);

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
    axisX_->setRange(kChartMinX, kChartMaxX);
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

    for (const CurveSpec& def : Curves()) {
        auto* series = new QLineSeries;
        series->setObjectName(QString::fromLatin1(def.name));
        series->setPen(CurvePen(def));
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
    CreateMouseTools();
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
    // Every second-profile title is its partner's plain title, so those come first.
    for (Curve* curve : curves_) {
        if (curve->def->profile == CurveProfile::Second && curve->def->partner)
            curve->series->setName(Series(curve->def->partner)->name() + QStringLiteral(" - II"));
    }
    for (Curve* curve : curves_) {
        if (curve->def->titledFirstInComparison)
            curve->series->setName(curve->series->name() + QStringLiteral(" - I"));
    }
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
        return curve->def->marksComparison && curve->series->isVisible();
    });
}

void TProfileChart::Fill(const QString& name, QList<QPointF> points) {
    if (QLineSeries* series = Series(name))
        series->replace(points);
}

void TProfileChart::FillCurves(const TProjectData& record) {
    for (Curve* curve : curves_) {
        if (curve->def->profile == CurveProfile::First)
            curve->series->replace(curve->def->points(record));
    }
}

void TProfileChart::FillSecondCurves(const TProjectData& record) {
    for (Curve* curve : curves_) {
        if (curve->def->profile == CurveProfile::Second)
            curve->series->replace(curve->def->points(record));
    }
}

void TProfileChart::FillPlaceholders() {
    const QList<QPointF> points = PlaceholderPoints();
    for (const char* name : {"serProfile", "serTrend", "serShortwaves", "serShortwaves1",
                             "serShortwaves2", "serShortwaves3"})
        Fill(QString::fromLatin1(name), points);
}

void TProfileChart::SetLimitLine(const QString& name, double value) {
    // A value that is not finite leaves the line where it was.
    if (const QList<QPointF> points = LimitLinePoints(value); !points.isEmpty())
        Fill(name, points);
}

void TProfileChart::ApplyGraphKind(int index) {
    const std::optional<TGraphKind> kind = GraphKindAt(index);
    if (!kind)
        return;
    const bool comparison = InComparisonMode();
    for (Curve* curve : curves_) {
        const bool second = curve->def->profile == CurveProfile::Second;
        SetActive(curve->series->objectName(),
                  ShownInKind(*curve->def, *kind) && (!second || comparison));
    }
    kind_ = *kind;
    ScaleForKind(*kind);
    ResetHorizontalRange();
    HideReadout();
    LayoutLegend();
}

void TProfileChart::ScaleForKind(TGraphKind kind) {
    const GraphKindSpec& spec = GraphKindOf(kind);
    const QString curve = QString::fromLatin1(spec.scaleCurve);
    const double maximum = ScaleLeftAxis(curve, spec.scaleFloor, kind);
    if (InComparisonMode() && spec.scalesWithSecondProfile)
        ScaleLeftAxis(QString::fromLatin1(FindCurve(spec.scaleCurve)->partner), maximum, kind);
}

double TProfileChart::ScaleLeftAxis(const QString& name, double floor, TGraphKind kind) {
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
    const double m = LargestMagnitude(smallest, largest, floor);
    const AxisScale scale = WindowAxisScale(kind, m);
    SetVerticalAxis(scale.range, scale.minorCount);
    return m;
}

void TProfileChart::SetVerticalAxis(double range, int minorCount) {
    // From ±1 mm up the labels fall on whole millimetres, so the minor lines mark 0.1, 0.2 or
    // 0.5 mm; the small fixed ranges of the short-wave kinds get a finer step.
    const double step = LabelStep(range);
    zoomed_ = false;
    axisY_->setTickType(QValueAxis::TicksFixed);
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
    axisX_->setTickType(QValueAxis::TicksFixed);
    axisX_->setLabelFormat(QStringLiteral("%d"));
    axisX_->setRange(kChartMinX, kChartMaxX);
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
