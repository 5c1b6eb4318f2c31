#pragma once
// TfrmReport: the report form of one printed page. Every print builds its own form: create it
// (FormCreate reads the captions of the current language), call FillReport once for a single
// profile; for a comparison page call ShowComparisonColumns, FillReport with profile I,
// ShowSeries2, FillReport with profile II. Then preview, print or save the page QuickRep1.
//
// The form is never shown; it is a QObject so that it can be owned by a preview or a composite.
// Its page is a plain description (app/report/ReportPage.h); PaintReportPages and WriteReportPdf
// put any number of such pages, one sheet each, onto a printer or into a PDF file.
#include "app/report/ReportPage.h"

#include <QByteArray>
#include <QList>
#include <QObject>

class QPagedPaintDevice;
class QPrinter;

class TfrmReport : public QObject {
    Q_OBJECT
  public:
    // Reads the captions from the current language file; when it cannot be opened, shows the
    // error "Can't open ini-file %s" through the dialogs and keeps the built-in captions.
    explicit TfrmReport(QObject* parent = nullptr);
    // With captions read by the caller (the command line).
    explicit TfrmReport(const ReportCaptions& captions, QObject* parent = nullptr);

    void FillReport(const ostiva::TProjectData& record, TGraphKind kind, const QString& title);
    void ShowComparisonColumns();
    void ShowSeries2();

    // The page.
    const ReportPage& QuickRep1() const { return page_; }
    ReportPage& QuickRep1() { return page_; }

    // Prints the page as one sheet; false when the printer could not be started.
    bool Print(QPrinter* printer) const;
    // Writes the page as a one-page PDF file; throws std::runtime_error (nothing is written).
    void WritePdf(const QString& path) const;

  private:
    void FormCreate();

    ReportPage page_;
};

// Paints the pages onto a printer or PDF writer, A4 landscape, each page on a sheet of its own.
// False when the painter could not be started on the device.
bool PaintReportPages(QPagedPaintDevice& device, const QList<ReportPage>& pages);
// The PDF document of the pages (text stays text), with `title` as the document's title.
QByteArray ReportPdf(const QList<ReportPage>& pages, const QString& title = "report");
// Writes ReportPdf to `path`, never leaving a half-written file; throws std::runtime_error.
void WriteReportPdf(const QString& path, const QList<ReportPage>& pages,
                    const QString& title = "report");
