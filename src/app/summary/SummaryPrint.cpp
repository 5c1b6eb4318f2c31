#include "app/summary/SummaryPrint.h"

#include <QAbstractItemModel>
#include <QBrush>
#include <algorithm>
#include <array>

namespace {

// The columns' widths in mm, filling the band's 277 mm.
constexpr std::array<double, 13> kColumnMm = {40, 18, 28, 14, 26, 20, 16, 34, 15, 13, 15, 22, 16};
constexpr double kTitleTopMm = 0;
constexpr double kSubtitleTopMm = 8;
constexpr double kHeaderTopMm = 16;
constexpr double kRowMm = 4.6;
constexpr double kFooterTopMm = kBandHeightMm - 5;
constexpr double kCellPt = 8;

void Place(ReportPage& page, const QString& name, const QString& text, const QRectF& box,
           double pointSize, bool bold = false, Qt::Alignment align = Qt::AlignLeft,
           const QColor& colour = Qt::black) {
    ReportLabel label;
    label.text = text;
    label.box = box;
    label.pointSize = pointSize;
    label.bold = bold;
    label.align = align | Qt::AlignVCenter;
    label.colour = colour;
    label.shrink = true;
    page.labels.insert(name, label);
}

// The cells of table row `row` at `top` in the colours the table shows; row -1: the header row.
void PlaceRow(ReportPage& page, const QAbstractItemModel& table, int row, double top,
              const QString& prefix) {
    double left = 0;
    for (int column = 0; column < int(kColumnMm.size()); ++column) {
        const QRectF box(left, top, kColumnMm[std::size_t(column)] - 1, kRowMm);
        left += kColumnMm[std::size_t(column)];
        if (column >= table.columnCount())
            continue;
        const QString name = prefix + QString("c%1").arg(column, 2, 10, QChar('0'));
        if (row < 0) {
            Place(page, name, table.headerData(column, Qt::Horizontal).toString(), box, kCellPt,
                  true);
            continue;
        }
        const QModelIndex index = table.index(row, column);
        const QVariant brush = index.data(Qt::ForegroundRole);
        const QColor colour =
            brush.canConvert<QBrush>() ? brush.value<QBrush>().color() : QColor(Qt::black);
        Place(page, name, index.data().toString(), box, kCellPt, false, Qt::AlignLeft, colour);
    }
}

} // namespace

QList<ReportPage> SummaryPages(const QAbstractItemModel& table, const SummaryPrintTexts& texts) {
    const int rows = table.rowCount();
    const int pages = std::max(1, (rows + kSummaryRowsPerPage - 1) / kSummaryRowsPerPage);
    QList<ReportPage> document;
    for (int number = 1; number <= pages; ++number) {
        ReportPage page;
        page.chartVisible = false;
        Place(page, "title", texts.title, QRectF(0, kTitleTopMm, kBandWidthMm, 7), 14, true);
        Place(page, "folder", texts.folder, QRectF(0, kSubtitleTopMm, 160, 5), 9);
        Place(page, "speed", texts.speed, QRectF(165, kSubtitleTopMm, 70, 5), 9);
        Place(page, "date", texts.date, QRectF(237, kSubtitleTopMm, 40, 5), 9, false,
              Qt::AlignRight);
        PlaceRow(page, table, -1, kHeaderTopMm, "head");
        const int first = (number - 1) * kSummaryRowsPerPage;
        for (int row = first; row < std::min(rows, first + kSummaryRowsPerPage); ++row)
            PlaceRow(page, table, row, kHeaderTopMm + kRowMm * (row - first + 1.2),
                     QString("r%1").arg(row - first, 2, 10, QChar('0')));
        Place(page, "page",
              QString(texts.page)
                  .replace("%1", QString::number(number))
                  .replace("%2", QString::number(pages)),
              QRectF(kBandWidthMm - 50, kFooterTopMm, 50, 5), 8, false, Qt::AlignRight);
        document << page;
    }
    return document;
}
