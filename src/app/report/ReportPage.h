#pragma once
// One printed page of one graph kind: a description filled from one profile record (or two, for
// the comparison page) and a function that draws it onto any painter. Preview, printer, PDF file
// and the command line all draw through DrawReportPage, so what the command line writes is what
// the user prints.
//
// Positions are millimetres from the top-left corner of the band, which lies 10 mm inside the
// top-left corner of an A4 landscape sheet (297 x 210 mm).
#include "app/chart/AxisRule.h"
#include "app/chart/GraphKinds.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>

class LanguageTexts;
class QPainter;

namespace ostiva {
class TProjectData;
}

inline constexpr double kSheetWidthMm = 297;
inline constexpr double kSheetHeightMm = 210;
inline constexpr double kPageMarginMm = 10;
inline constexpr double kBandWidthMm = 277.0;
inline constexpr double kBandHeightMm = 188.4;

// The caption texts of the page, keyed by their language key of section ProjectFormLabels
// ("Label2" ... "Label21", "Label79", "Label83").
struct ReportCaptions {
    QMap<QString, QString> texts;

    // The built-in English captions, used when no language file could be read.
    static ReportCaptions BuiltIn();
    // The language file's texts; a missing key reads "Error".
    static ReportCaptions Read(const LanguageTexts& language);
};

// A placed text of the page. A text never leaves its box: what does not fit is cut with an
// ellipsis, after wrapping (up to `lines` lines) or setting it smaller where the label allows.
struct ReportLabel {
    QString text;
    QRectF box; // mm from the band's top-left corner
    Qt::Alignment align = Qt::AlignLeft;
    double pointSize = 10;
    bool bold = false;
    QColor colour = Qt::black;
    bool visible = true;
    int lines = 1;       // a longer text wraps into at most this many lines of the box
    bool shrink = false; // a longer text is first set smaller, down to a smallest size
    // A caption: the name of the value it introduces. The caption may reach into that value's
    // box up to a gap before the value's text, so a short right-aligned value leaves it room.
    QString value;
};

// A line of the chart, through its points in order.
struct ReportSeries {
    QString title; // legend text
    QColor colour;
    int width = 1; // in pen units of 0.25 mm
    bool visible = false;
    QList<QPointF> points;
};

// The labels, by name:
//   "product", "owner", "web"                   the top strip and the web address
//   "capA1".."capA7", "capB1".."capB6"          header captions; values "valA1", ... and the
//                                               second profile's "valA1_II", ...
//   "capC1".."capC4", "valC1".., "valC1_II"..   the measurement set of group C
//   "capW1".."capW5", "valW1".., "valW1_II"..   the corrugation set of group C
//   "capQI", "capSpeed", "capLimitA"            group D (bold); values "valQI", "valSpeed",
//                                               "valLimitA" and their "_II"
//   "headAI", "headAII", ... "headDII"          column heads of a comparison page
struct ReportPage {
    QString title;
    // False for a page of placed texts only (a table), without the chart and its title.
    bool chartVisible = true;
    bool legendVisible = false;
    std::array<ReportSeries, 9> series; // Series1 ... Series9; Series6 is never shown
    AxisScale axis{1, 9};
    QMap<QString, ReportLabel> labels;

    ReportSeries& Series(int number) { return series[number - 1]; }
    const ReportSeries& Series(int number) const { return series[number - 1]; }
    // The named label; an unknown name is a programming error.
    ReportLabel& Label(const QString& name);
    const ReportLabel& Label(const QString& name) const;
};

// The page as designed, before any profile is filled in.
ReportPage NewReportPage(const ReportCaptions& captions);

// First steps of a comparison page: shows the second profile's value boxes and the column heads
// "I" and "II", and halves the first profile's header boxes.
void ShowComparisonColumns(ReportPage& page);

// Fills the page from `record`: while Series2 is hidden as the single profile (or profile I),
// once Series2 is shown as profile II of a comparison page. Ends with the report's axis rule.
void FillReport(ReportPage& page, const ostiva::TProjectData& record, TGraphKind kind,
                const QString& title);

// The whole single-profile page, and the whole comparison page in its order of steps.
ReportPage SingleReportPage(const ReportCaptions& captions, const ostiva::TProjectData& record,
                            TGraphKind kind, const QString& title);
ReportPage ComparisonReportPage(const ReportCaptions& captions, const ostiva::TProjectData& first,
                                const ostiva::TProjectData& second, TGraphKind kind,
                                const QString& title);

// The inclination limit A of a line speed text, looked up by exact text; empty when no row of
// the speed table has that text.
QString ReportLimitA(const QString& speed);

// Draws the page onto `painter`. `sheet` is the whole A4 landscape sheet in the painter's
// coordinates; the page keeps its 10 mm margins inside it. Fonts are scaled with the sheet, so a
// small rectangle gives a thumbnail.
void DrawReportPage(QPainter& painter, const QRectF& sheet, const ReportPage& page);

// "Arial" when installed, otherwise the metric-compatible "Liberation Sans".
QString ReportFontFamily();
