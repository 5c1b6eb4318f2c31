#pragma once
// What the charts tell beyond their lines: the value of a curve at any position (the readout
// under the mouse) and the extremes of a curve that the plotted range cuts off. The window's
// chart and the printed page both mark cut-off extremes through DrawOffRangeMark, so a bad weld
// looks the same on screen and on paper.
#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>

class QPainter;

// The curve's value at `x`, linear between the two points around it; none outside the curve's
// first and last point or for an empty curve. The points run from left to right.
std::optional<double> ValueAt(const QList<QPointF>& points, double x);

// The farthest point of a curve beyond one edge of the plotted range.
struct OffRangeMark {
    double x;
    double y;
    bool above; // beyond the top edge (otherwise beyond the bottom edge)
};

// The highest point above `yMax` and the lowest point below `yMin` among the points with x in
// xMin..xMax: none, one or two marks (the one above first).
QList<OffRangeMark> OffRangeMarks(const QList<QPointF>& points, double xMin, double xMax,
                                  double yMin, double yMax);

// A number of the charts, always with "." as the decimal separator.
QString ChartNumber(double value, int decimals);
// The text of a mark: two decimals from 1 mm up, three below (the short-wave ranges).
QString MarkText(double value);

// One mark to draw: a small triangle in `colour` pointing out of the plot with its tip on the
// edge at `tip`, and the value `text` beside it.
struct MarkDrawing {
    QPointF tip;
    bool above;
    QColor colour;
    QString text;
};

// Draws the marks inside `plot`; `size` is a triangle's height in painter units, the texts take
// the painter's font. A text that would cover an earlier one (two profiles peaking at the same
// place) moves further into the plot.
void DrawOffRangeMarks(QPainter& painter, const QRectF& plot, const QList<MarkDrawing>& marks,
                       double size);
