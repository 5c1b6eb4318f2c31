// The chart under the mouse: the readout of the position and the curves' values, the zoom into a
// dragged rectangle, the sideways pan, and the marks of the extremes the axes cut off.
#include "app/chart/AxisRule.h"
#include "app/chart/Curves.h"
#include "app/chart/TProfileChart.h"

#include <QChart>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QValueAxis>
#include <QWheelEvent>
#include <cmath>

namespace {

constexpr int kReadoutInset = 6; // pixels between the readout and the plot's edge
constexpr int kSmallestZoom = 5; // pixels: a shorter drag is a click, not a zoom
constexpr double kMarkSize = 8;  // pixels: height of a mark's triangle
constexpr int kPositionDecimals = 1;
constexpr int kValueDecimals = 3; // the short-wave ranges need thousandths of a millimetre

// A 1-2-5 step that splits `span` into at least four intervals.
double NiceStep(double span) {
    const double decade = std::pow(10.0, std::floor(std::log10(span / 4)));
    for (double factor : {5.0, 2.0, 1.0})
        if (span / (factor * decade) >= 4)
            return factor * decade;
    return decade;
}

} // namespace

void TProfileChart::CreateMouseTools() {
    viewport()->setMouseTracking(true);
    readout_ = new QLabel(viewport());
    readout_->setObjectName(QStringLiteral("lblChartReadout"));
    // The readout must never take the mouse from the chart, or leaving it would hide it.
    readout_->setAttribute(Qt::WA_TransparentForMouseEvents);
    readout_->setTextFormat(Qt::PlainText);
    readout_->setStyleSheet(QStringLiteral("QLabel { background: rgba(255, 255, 225, 230); "
                                           "border: 1px solid #a0a0a0; padding: 2px 4px; }"));
    readout_->hide();
    rubberBand_ = new QRubberBand(QRubberBand::Rectangle, viewport());
    rubberBand_->hide();
}

QRectF TProfileChart::PlotInViewport() const {
    return mapFromScene(chart()->mapRectToScene(chart()->plotArea())).boundingRect();
}

void TProfileChart::UpdateReadout(const QPointF& position) {
    const QRectF plot = PlotInViewport();
    if (!plot.contains(position)) {
        HideReadout();
        return;
    }
    readoutAt_ = position;
    const double x = chart()->mapToValue(chart()->mapFromScene(mapToScene(position.toPoint()))).x();
    QStringList lines{QStringLiteral("x = %1 mm").arg(ChartNumber(x, kPositionDecimals))};
    for (const Curve* curve : curves_) {
        if (!curve->series->isVisible())
            continue;
        const QList<QPointF> points = curve->series->points();
        if (IsPlaceholder(points))
            continue;
        if (const std::optional<double> y = ValueAt(points, x)) {
            const QString title = curve->series->name().isEmpty() ? curve->series->objectName()
                                                                  : curve->series->name();
            lines.append(QStringLiteral("%1: %2").arg(title, ChartNumber(*y, kValueDecimals)));
        }
    }
    readout_->setText(lines.join('\n'));
    readout_->adjustSize();
    // In the quarter of the plot across from the cursor, so the curves around it stay in view.
    const QSize size = readout_->size();
    const bool cursorLeft = position.x() < plot.center().x();
    const bool cursorTop = position.y() < plot.center().y();
    const int left = cursorLeft ? int(plot.right()) - kReadoutInset - size.width()
                                : int(plot.left()) + kReadoutInset;
    const int top = cursorTop ? int(plot.bottom()) - kReadoutInset - size.height()
                              : int(plot.top()) + kReadoutInset;
    readout_->move(left, top);
    readout_->show();
    readout_->raise();
}

void TProfileChart::FollowAxesWithReadout() {
    if (readout_ && readout_->isVisible())
        UpdateReadout(readoutAt_);
}

void TProfileChart::HideReadout() {
    if (readout_)
        readout_->hide();
}

void TProfileChart::ZoomTo(const QRectF& area) {
    const auto value = [this](const QPointF& p) {
        return chart()->mapToValue(chart()->mapFromScene(mapToScene(p.toPoint())));
    };
    const QPointF a = value(area.topLeft());
    const QPointF b = value(area.bottomRight());
    const double xMin = std::min(a.x(), b.x()), xMax = std::max(a.x(), b.x());
    const double yMin = std::min(a.y(), b.y()), yMax = std::max(a.y(), b.y());
    if (!(xMax > xMin) || !(yMax > yMin))
        return;
    const double xStep = NiceStep(xMax - xMin);
    axisX_->setRange(xMin, xMax);
    axisX_->setTickType(QValueAxis::TicksDynamic);
    axisX_->setTickAnchor(0);
    axisX_->setTickInterval(xStep);
    axisX_->setLabelFormat(xStep >= 1 ? QStringLiteral("%.0f") : LabelFormat(xStep));
    const double yStep = NiceStep(yMax - yMin);
    axisY_->setRange(yMin, yMax);
    axisY_->setTickType(QValueAxis::TicksDynamic);
    axisY_->setTickAnchor(0);
    axisY_->setTickInterval(yStep);
    axisY_->setMinorTickCount(1);
    axisY_->setLabelFormat(LabelFormat(yStep));
    zoomed_ = true;
    FollowAxesWithReadout();
}

void TProfileChart::RestoreAxes() {
    if (kind_)
        ScaleForKind(*kind_);
    else
        SetVerticalAxis(1, 9);
    ResetHorizontalRange();
    FitHorizontalTicks();
    FollowAxesWithReadout();
}

bool TProfileChart::IsZoomed() const {
    return zoomed_;
}

QList<TProfileChart::ShownMark> TProfileChart::ShownOffRangeMarks() const {
    QList<ShownMark> shown;
    for (const Curve* curve : curves_) {
        if (!curve->series->isVisible() || curve->def->limitLine)
            continue;
        const QList<QPointF> points = curve->series->points();
        if (IsPlaceholder(points))
            continue;
        for (const OffRangeMark& mark :
             OffRangeMarks(points, axisX_->min(), axisX_->max(), axisY_->min(), axisY_->max()))
            shown.append({curve->series->objectName(), mark});
    }
    return shown;
}

void TProfileChart::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    const QList<ShownMark> marks = ShownOffRangeMarks();
    if (marks.isEmpty())
        return;
    const QRectF plot = chart()->mapRectToScene(chart()->plotArea());
    QFont font = axisY_->labelsFont();
    font.setBold(true);
    painter->setFont(font);
    QList<MarkDrawing> drawings;
    for (const ShownMark& shown : marks) {
        const double edge = shown.mark.above ? axisY_->max() : axisY_->min();
        drawings.append({chart()->mapToScene(chart()->mapToPosition(QPointF(shown.mark.x, edge))),
                         shown.mark.above, Series(shown.curve)->pen().color(),
                         MarkText(shown.mark.y)});
    }
    DrawOffRangeMarks(*painter, plot, drawings, kMarkSize);
}

// The left button drags the zoom rectangle, the right button pans the horizontal axis.
void TProfileChart::mousePressEvent(QMouseEvent* event) {
    const QPointF position = event->position();
    if (event->button() == Qt::LeftButton && PlotInViewport().contains(position)) {
        setFocus(Qt::MouseFocusReason); // for Escape
        zoomOrigin_ = position.toPoint();
        rubberBand_->setGeometry(QRect(zoomOrigin_, QSize()));
        rubberBand_->show();
        HideReadout();
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton) {
        panning_ = true;
        lastPanX_ = position.x();
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
        FollowAxesWithReadout();
        event->accept();
        return;
    }
    if (rubberBand_->isVisible()) {
        const QRect band = QRect(zoomOrigin_, event->position().toPoint()).normalized();
        rubberBand_->setGeometry(band.intersected(PlotInViewport().toAlignedRect()));
        event->accept();
        return;
    }
    UpdateReadout(event->position());
    QChartView::mouseMoveEvent(event);
}

void TProfileChart::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && event->button() == Qt::RightButton) {
        panning_ = false;
        event->accept();
        return;
    }
    if (rubberBand_->isVisible() && event->button() == Qt::LeftButton) {
        const QRect band = QRect(zoomOrigin_, event->position().toPoint())
                               .normalized()
                               .intersected(PlotInViewport().toAlignedRect());
        rubberBand_->hide();
        if (band.width() >= kSmallestZoom && band.height() >= kSmallestZoom)
            ZoomTo(band);
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void TProfileChart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        rubberBand_->hide();
        RestoreAxes();
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}

void TProfileChart::keyPressEvent(QKeyEvent* event) {
    // Escape on the kind's own axes is left to the window.
    const bool moved = zoomed_ || axisX_->min() != kChartMinX || axisX_->max() != kChartMaxX;
    if (event->key() == Qt::Key_Escape && (moved || rubberBand_->isVisible())) {
        rubberBand_->hide();
        RestoreAxes();
        event->accept();
        return;
    }
    QChartView::keyPressEvent(event);
}

// The wheel scrolls the window around the chart, never the chart itself.
void TProfileChart::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

void TProfileChart::leaveEvent(QEvent* event) {
    HideReadout();
    QChartView::leaveEvent(event);
}

bool TProfileChart::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave)
        HideReadout();
    return QChartView::viewportEvent(event);
}
