#pragma once
// The summary on paper: A4 landscape pages of the table as shown (sorted and filtered), each with
// the title, the folder, the date, the speed used, its page number and the header row, placed in
// millimetres as the report's texts are, so the report's preview prints and saves them.
#include "app/report/ReportPage.h"

#include <QList>
#include <QString>

class QAbstractItemModel;

struct SummaryPrintTexts {
    QString title;  // "Summary"
    QString folder; // the project's folder
    QString date;   // the day printed
    QString speed;  // "Speed: own speed", "Speed: 120 km/h"
    QString page;   // "Page %1 of %2"
};

// Rows that fit one page below the header row.
inline constexpr int kSummaryRowsPerPage = 34;

// One page per kSummaryRowsPerPage rows of `table` (at least one page); each cell in the colour
// the table shows it in.
QList<ReportPage> SummaryPages(const QAbstractItemModel& table, const SummaryPrintTexts& texts);
