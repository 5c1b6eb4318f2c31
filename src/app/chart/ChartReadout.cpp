#include "app/chart/ChartReadout.h"

#include "core/NumberText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

std::optional<double> ValueAt(const QList<QPointF>& points, double x) {
    if (points.isEmpty() || !std::isfinite(x) || x < points.front().x() || x > points.back().x())
        return std::nullopt;
    // The first point at or right of x; the one before it lies left of x.
    const auto right = std::lower_bound(points.begin(), points.end(), x,
                                        [](const QPointF& p, double v) { return p.x() < v; });
    if (right == points.end())
        return points.back().y();
    if (right->x() == x || right == points.begin())
        return right->y();
    const QPointF& a = *(right - 1);
    const QPointF& b = *right;
    if (!(b.x() > a.x()))
        return b.y();
    return a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
}

QList<OffRangeMark> OffRangeMarks(const QList<QPointF>& points, double xMin, double xMax,
                                  double yMin, double yMax) {
    std::optional<QPointF> highest, lowest;
    for (const QPointF& p : points) {
        if (p.x() < xMin || p.x() > xMax)
            continue;
        if (p.y() > yMax && (!highest || p.y() > highest->y()))
            highest = p;
        if (p.y() < yMin && (!lowest || p.y() < lowest->y()))
            lowest = p;
    }
    QList<OffRangeMark> marks;
    if (highest)
        marks.append({highest->x(), highest->y(), true});
    if (lowest)
        marks.append({lowest->x(), lowest->y(), false});
    return marks;
}

QString ChartNumber(double value, int decimals) {
    return QString::fromStdString(ostiva::FormatFixed(value, decimals));
}

QString MarkText(double value) {
    return ChartNumber(value, std::abs(value) >= 1 ? 2 : 3);
}

void DrawOffRangeMarks(QPainter& painter, const QRectF& plot, const QList<MarkDrawing>& marks,
                       double size) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double gap = size * 0.3;
    QList<QRectF> taken;
    for (const MarkDrawing& mark : marks) {
        const QPointF& tip = mark.tip;
        const double inward = mark.above ? size : -size;
        const QPolygonF triangle{tip, QPointF(tip.x() - size * 0.6, tip.y() + inward),
                                 QPointF(tip.x() + size * 0.6, tip.y() + inward)};
        // A white rim keeps the triangle apart from the cut-off curve it sits on.
        painter.setPen(QPen(Qt::white, std::max(1.0, size / 8)));
        painter.setBrush(mark.colour);
        painter.drawPolygon(triangle);

        // The value beside the triangle, on the side with room, on a white ground so that grid
        // lines and curves do not run through the digits.
        const double width = metrics.horizontalAdvance(mark.text);
        const double height = metrics.height();
        double left = tip.x() + size * 0.6 + gap;
        if (left + width > plot.right())
            left = tip.x() - size * 0.6 - gap - width;
        left = std::max(left, plot.left());
        const double top = mark.above ? tip.y() + gap : tip.y() - gap - height;
        QRectF box(left, top, width, height);
        for (int tries = 0; tries < marks.size(); ++tries) {
            const bool covers = std::any_of(taken.begin(), taken.end(),
                                            [&](const QRectF& t) { return t.intersects(box); });
            if (!covers)
                break;
            box.translate(0, mark.above ? height : -height);
        }
        taken.append(box);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 220));
        painter.drawRect(box.adjusted(-gap / 2, 0, gap / 2, 0));
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, mark.text);
    }
    painter.restore();
}
