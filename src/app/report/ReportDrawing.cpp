// Drawing a report page: everything is placed in millimetres of the band and mapped onto the
// sheet rectangle the caller gives, so a printer, a PDF file and a preview get the same page.
#include "app/report/ReportPage.h"

#include "app/chart/ChartReadout.h"
#include "app/chart/Curves.h"
#include "core/NumberText.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <cmath>
#include <functional>
#include <limits>

namespace {

// The chart inside the band, and the plot inside the chart (room for title, legend, labels).
const QRectF kChart(3.4, 4.2, 274.1, 133.3);
const QRectF kPlot(kChart.left() + 13, kChart.top() + 14.5, kChart.width() - 17,
                   kChart.height() - 21);
constexpr double kPenUnitMm = 0.25;  // one unit of a series' line width
constexpr double kHairlineMm = 0.12; // grid lines
constexpr double kLabelPt = 9;       // axis labels and legend
constexpr double kXLabelStep = 100;  // mm along the rail
constexpr double kMarkMm = 2.2;      // height of the triangle marking a cut-off extreme
constexpr double kMarkPt = 7;

// Millimetres of the band to the painter's coordinates.
class BandMap {
  public:
    BandMap(const QPainter& painter, const QRectF& sheet)
        : scale_(sheet.width() / kSheetWidthMm),
          origin_(sheet.left() + kPageMarginMm * scale_, sheet.top() + kPageMarginMm * scale_) {
        // Point sizes are taken at the device's resolution; scale them with the sheet too.
        const double dpi = painter.device() ? painter.device()->logicalDpiY() : 72;
        fontScale_ = scale_ * 25.4 / dpi;
    }
    double Length(double mm) const { return mm * scale_; }
    QPointF Point(double x, double y) const { return origin_ + QPointF(x, y) * scale_; }
    QRectF Rect(const QRectF& mm) const {
        return QRectF(Point(mm.left(), mm.top()), mm.size() * scale_);
    }
    QFont Font(double pointSize, bool bold) const {
        QFont f(ReportFontFamily());
        f.setPointSizeF(pointSize * fontScale_);
        f.setBold(bold);
        f.setKerning(false);
        return f;
    }
    QPen Pen(const QColor& colour, double widthMm, Qt::PenStyle style = Qt::SolidLine) const {
        QPen pen(colour, Length(widthMm), style);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::RoundJoin);
        return pen;
    }

  private:
    double scale_;
    QPointF origin_;
    double fontScale_ = 1;
};

// Left-aligned text ends this far before the next box (a caption: before its value's text).
constexpr double kCellGapMm = 1.0;
constexpr double kTitleGapMm = 3.0;    // between the chart title and the owner
constexpr double kSmallestShare = 0.7; // a shrinking text keeps at least 70 % of its size
constexpr double kTitlePt = 11;

// A label's text as it is drawn: its font and lines, and the area (painter coordinates) it
// stays inside.
struct PlacedText {
    QFont font;
    QStringList lines;
    QRectF area;
    double lineHeight = 0;
    Qt::Alignment align;
    double firstWidth = 0; // of the first line
};

// Breaks `text` into at most `maxLines` lines of `width`, at blanks where it can and anywhere
// where a word is longer than a line; the last line is cut with an ellipsis.
QStringList WrappedLines(const QString& text, const QFont& font, QPaintDevice* device, double width,
                         int maxLines) {
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const QFontMetricsF metrics(font, device);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() + 1 == maxLines) {
            lines << metrics.elidedText(text.mid(line.textStart()).trimmed(), Qt::ElideRight,
                                        width);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

// Fits the label's text into `area`: smaller where the label may shrink, wrapped where it has
// lines for it, and cut with an ellipsis where it still does not fit.
PlacedText Place(const QPainter& p, const BandMap& map, const ReportLabel& label,
                 const QRectF& area) {
    PlacedText t;
    t.area = area;
    if (!(label.align & (Qt::AlignRight | Qt::AlignHCenter)))
        t.area.setRight(std::max(area.left(), area.right() - map.Length(kCellGapMm)));
    t.align = label.align;
    t.font = map.Font(label.pointSize, label.bold);
    QPaintDevice* device = p.device();
    const double width = std::max(0.0, t.area.width());
    if (label.shrink) {
        const double natural = QFontMetricsF(t.font, device).horizontalAdvance(label.text);
        if (natural > width) {
            // A little under the exact share: font sizes do not scale advances exactly.
            const double share = std::max(kSmallestShare, 0.98 * width / natural);
            t.font.setPointSizeF(t.font.pointSizeF() * share);
        }
    }
    const QFontMetricsF metrics(t.font, device);
    t.lineHeight = metrics.lineSpacing();
    t.lines = label.lines > 1 ? WrappedLines(label.text, t.font, device, width, label.lines)
                              : QStringList{metrics.elidedText(label.text, Qt::ElideRight, width)};
    t.firstWidth = t.lines.isEmpty() ? 0 : metrics.horizontalAdvance(t.lines.first());
    return t;
}

// Where the first line of a placed text begins, in painter coordinates.
double TextLeft(const PlacedText& t) {
    if (t.align & Qt::AlignRight)
        return t.area.right() - t.firstWidth;
    if (t.align & Qt::AlignHCenter)
        return t.area.center().x() - t.firstWidth / 2;
    return t.area.left();
}

void DrawPlaced(QPainter& p, const PlacedText& t, const QColor& colour) {
    p.save();
    p.setClipRect(t.area);
    p.setFont(t.font);
    p.setPen(colour);
    for (qsizetype i = 0; i < t.lines.size(); ++i)
        p.drawText(
            QRectF(t.area.left(), t.area.top() + i * t.lineHeight, t.area.width(), t.lineHeight),
            int(t.align) | Qt::AlignTop | Qt::TextSingleLine, t.lines[i]);
    p.restore();
}

bool Shown(const ReportLabel& label) {
    return label.visible && !label.text.isEmpty();
}

QString AxisNumber(double value, int decimals) {
    if (std::abs(value) < 1e-12)
        value = 0;
    return QString::fromStdString(ostiva::FormatFixed(value, decimals));
}

int Decimals(double step) {
    int decimals = 0;
    while (decimals < 6 && std::abs(step * std::pow(10.0, decimals) -
                                    std::round(step * std::pow(10.0, decimals))) > 1e-9)
        ++decimals;
    return decimals;
}

void DrawAxes(QPainter& p, const BandMap& map, const ReportPage& page,
              const std::function<QPointF(double, double)>& at) {
    const double range = page.axis.range;
    const double step = LabelStep(range);
    const int majors = int(std::lround(2 * range / step));
    const int minors = page.axis.minorCount;
    const int decimals = std::max(1, Decimals(step));
    p.setFont(map.Font(kLabelPt, false));
    const double labelHeight = 4;
    for (int i = 0; i <= majors; ++i) {
        const double y = -range + i * step;
        if (i < majors) {
            p.setPen(map.Pen(Qt::gray, kHairlineMm, Qt::DotLine));
            for (int m = 1; m <= minors; ++m) {
                const double ym = y + m * step / (minors + 1);
                p.drawLine(at(kChartMinX, ym), at(kChartMaxX, ym));
            }
        }
        p.setPen(map.Pen(Qt::black, kHairlineMm));
        p.drawLine(at(kChartMinX, y), at(kChartMaxX, y));
        p.setPen(Qt::black);
        const QPointF left = at(kChartMinX, y);
        p.drawText(QRectF(left.x() - map.Length(12.5), left.y() - map.Length(labelHeight / 2),
                          map.Length(11.5), map.Length(labelHeight)),
                   Qt::AlignRight | Qt::AlignVCenter, AxisNumber(y, decimals));
    }
    for (double x = kChartMinX; x <= kChartMaxX + 1e-9; x += kXLabelStep) {
        p.setPen(map.Pen(QColor(160, 160, 160), kHairlineMm, Qt::DotLine));
        p.drawLine(at(x, -range), at(x, range));
        p.setPen(Qt::black);
        const QPointF bottom = at(x, -range);
        // Low enough to stay clear of the lowest label of the vertical axis.
        p.drawText(QRectF(bottom.x() - map.Length(10), bottom.y() + map.Length(2.2), map.Length(20),
                          map.Length(labelHeight)),
                   Qt::AlignHCenter | Qt::AlignTop, AxisNumber(x, 0));
    }
    // The vertical axis line, and the second horizontal axis across the middle.
    p.setPen(map.Pen(Qt::black, kPenUnitMm));
    p.drawLine(at(kChartMinX, -range), at(kChartMinX, range));
    p.drawLine(at(kChartMinX, 0), at(kChartMaxX, 0));
}

void DrawLegend(QPainter& p, const BandMap& map, const ReportPage& page) {
    const QFont font = map.Font(kLabelPt, false);
    p.setFont(font);
    const QFontMetricsF metrics(font, p.device());
    const double sample = 7, gap = 1.5, spacing = 5;
    struct Entry {
        const ReportSeries* series;
        double width;
    };
    QList<Entry> entries;
    double total = 0;
    for (const ReportSeries& s : page.series) {
        if (!s.visible)
            continue;
        const double w = sample + gap + metrics.horizontalAdvance(s.title) / map.Length(1);
        entries.append({&s, w});
        total += w + (entries.size() > 1 ? spacing : 0);
    }
    const double top = kChart.top() + 7.5, height = 4.5;
    double x = kChart.center().x() - total / 2;
    for (const Entry& e : entries) {
        p.setPen(map.Pen(e.series->colour, e.series->width * kPenUnitMm));
        p.drawLine(map.Point(x, top + height / 2), map.Point(x + sample, top + height / 2));
        p.setPen(Qt::black);
        p.drawText(map.Rect(QRectF(x + sample + gap, top, e.width, height)),
                   Qt::AlignLeft | Qt::AlignVCenter, e.series->title);
        x += e.width + spacing;
    }
}

// The chart title, one line centred above the plot.
ReportLabel TitleLabel(const ReportPage& page) {
    ReportLabel title;
    title.text = page.title;
    title.box = QRectF(kChart.left(), kChart.top() + 1.5, kChart.width(), 5.5);
    title.align = Qt::AlignHCenter;
    title.pointSize = kTitlePt;
    title.bold = true;
    return title;
}

void DrawChart(QPainter& p, const BandMap& map, const ReportPage& page) {
    const QRectF plot = map.Rect(kPlot);
    const double range = page.axis.range;
    const auto at = [&](double x, double y) {
        return QPointF(plot.left() + (x - kChartMinX) / (kChartMaxX - kChartMinX) * plot.width(),
                       plot.bottom() - (y + range) / (2 * range) * plot.height());
    };
    const ReportLabel title = TitleLabel(page);
    DrawPlaced(p, Place(p, map, title, map.Rect(title.box)), title.colour);
    if (page.legendVisible)
        DrawLegend(p, map, page);
    DrawAxes(p, map, page, at);

    p.save();
    p.setClipRect(plot);
    p.setRenderHint(QPainter::Antialiasing);
    for (const ReportSeries& s : page.series) {
        if (!s.visible || s.points.size() < 2)
            continue;
        QPainterPath path(at(s.points.front().x(), s.points.front().y()));
        for (qsizetype i = 1; i < s.points.size(); ++i)
            path.lineTo(at(s.points[i].x(), s.points[i].y()));
        p.setPen(map.Pen(s.colour, s.width * kPenUnitMm));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.restore();
    // The page's fixed ranges cut off a high peak; its extreme is printed at the edge it crosses.
    p.setFont(map.Font(kMarkPt, true));
    QList<MarkDrawing> marks;
    for (const ReportSeries& s : page.series) {
        if (!s.visible)
            continue;
        for (const OffRangeMark& mark :
             OffRangeMarks(s.points, kChartMinX, kChartMaxX, -range, range))
            marks.append(
                {at(mark.x, mark.above ? range : -range), mark.above, s.colour, MarkText(mark.y)});
    }
    DrawOffRangeMarks(p, plot, marks, map.Length(kMarkMm));
}

} // namespace

QString ReportFontFamily() {
    static const QString family =
        QFontDatabase::families().contains("Arial") ? QString("Arial") : "Liberation Sans";
    return family;
}

void DrawReportPage(QPainter& painter, const QRectF& sheet, const ReportPage& page) {
    painter.save();
    const BandMap map(painter, sheet);
    if (page.chartVisible)
        DrawChart(painter, map, page);
    // The owner stands in the same strip as the chart title: it ends short of the title.
    const ReportLabel title = TitleLabel(page);
    const PlacedText placedTitle = Place(painter, map, title, map.Rect(title.box));
    const double titleRight = page.title.isEmpty() ? -std::numeric_limits<double>::infinity()
                                                   : TextLeft(placedTitle) + placedTitle.firstWidth;
    for (auto it = page.labels.begin(); it != page.labels.end(); ++it) {
        const ReportLabel& label = it.value();
        if (!Shown(label))
            continue;
        QRectF area = map.Rect(label.box);
        if (it.key() == "owner")
            area.setLeft(std::max(area.left(), titleRight + map.Length(kTitleGapMm)));
        if (!label.value.isEmpty()) {
            // A caption may reach up to its value's text, inside or before the value's box.
            const ReportLabel& value = page.Label(label.value);
            const QRectF valueBox = map.Rect(value.box);
            const double valueLeft =
                Shown(value) ? TextLeft(Place(painter, map, value, valueBox)) : valueBox.right();
            area.setRight(std::max(area.left(), valueLeft));
        }
        DrawPlaced(painter, Place(painter, map, label, area), label.colour);
    }
    painter.restore();
}
